// Copyright Quarn. All Rights Reserved.

#include "Internationalization/Regex.h"
#include "Logging/LogMacros.h"
#include "Math/UnrealMathUtility.h"
#include <unicode/uregex.h>

class FRegexPatternImplementation
{
public:
	FRegexPatternImplementation(const FString& Source, ERegexPatternFlags Flags) : SourceString(Source)
	{
		UParseError ParseError;
		UErrorCode Status = U_ZERO_ERROR;
		const uint32 IcuFlags = EnumHasAnyFlags(Flags, ERegexPatternFlags::CaseInsensitive) ? UREGEX_CASE_INSENSITIVE : 0;
		Compiled = uregex_open((const UChar*)*SourceString, SourceString.Len(), IcuFlags, &ParseError, &Status);
		if (U_FAILURE(Status))
		{
			UE_LOG(LogInternationalization, Warning, TEXT("Invalid regular expression \"%s\" (error at offset %d): it will not match anything."), *SourceString, (int32)ParseError.offset);
			Compiled = nullptr;
		}
	}
	~FRegexPatternImplementation()
	{
		if (Compiled)
		{
			uregex_close(Compiled);
		}
	}

	FString SourceString;
	URegularExpression* Compiled = nullptr;
};

class FRegexMatcherImplementation
{
public:
	FRegexMatcherImplementation(const TSharedRef<FRegexPatternImplementation, ESPMode::ThreadSafe>& InPattern, const FString& InInput) : Pattern(InPattern), Input(InInput)
	{
		if (Pattern->Compiled)
		{
			UErrorCode Status = U_ZERO_ERROR;
			Matcher = uregex_clone(Pattern->Compiled, &Status);
			if (U_SUCCESS(Status))
			{
				uregex_setText(Matcher, (const UChar*)*Input, Input.Len(), &Status);
			}
			if (U_FAILURE(Status))
			{
				if (Matcher)
				{
					uregex_close(Matcher);
				}
				Matcher = nullptr;
			}
		}
		EndLimit = Input.Len();
	}
	~FRegexMatcherImplementation()
	{
		if (Matcher)
		{
			uregex_close(Matcher);
		}
	}

	TSharedRef<FRegexPatternImplementation, ESPMode::ThreadSafe> Pattern;
	FString Input;
	URegularExpression* Matcher = nullptr;
	bool bHasMatch = false;
	int32 BeginLimit = 0;
	int32 EndLimit = 0;
};

FRegexPattern::FRegexPattern(const FString& SourceString, ERegexPatternFlags Flags)
	: Implementation(MakeShared<FRegexPatternImplementation, ESPMode::ThreadSafe>(SourceString, Flags))
{
}

FRegexMatcher::FRegexMatcher(const FRegexPattern& Pattern, const FString& Input)
	: Implementation(MakeShared<FRegexMatcherImplementation>(Pattern.Implementation, Input))
{
}

FRegexMatcher::FRegexMatcher(FRegexPattern&& Pattern, const FString& Input)
	: Implementation(MakeShared<FRegexMatcherImplementation>(Pattern.Implementation, Input))
{
}

FRegexMatcher::~FRegexMatcher() = default;

bool FRegexMatcher::FindNext()
{
	if (!Implementation->Matcher)
	{
		return false;
	}
	UErrorCode Status = U_ZERO_ERROR;
	Implementation->bHasMatch = uregex_findNext(Implementation->Matcher, &Status) && U_SUCCESS(Status);
	return Implementation->bHasMatch;
}

int32 FRegexMatcher::GetMatchBeginning()
{
	return GetCaptureGroupBeginning(0);
}

int32 FRegexMatcher::GetMatchEnding()
{
	return GetCaptureGroupEnding(0);
}

int32 FRegexMatcher::GetCaptureGroupBeginning(const int32 Index)
{
	if (!Implementation->Matcher || !Implementation->bHasMatch)
	{
		return INDEX_NONE;
	}
	UErrorCode Status = U_ZERO_ERROR;
	const int32 Result = uregex_start(Implementation->Matcher, Index, &Status);
	return U_SUCCESS(Status) ? Result : INDEX_NONE;
}

int32 FRegexMatcher::GetCaptureGroupEnding(const int32 Index)
{
	if (!Implementation->Matcher || !Implementation->bHasMatch)
	{
		return INDEX_NONE;
	}
	UErrorCode Status = U_ZERO_ERROR;
	const int32 Result = uregex_end(Implementation->Matcher, Index, &Status);
	return U_SUCCESS(Status) ? Result : INDEX_NONE;
}

FString FRegexMatcher::GetCaptureGroup(const int32 Index)
{
	const int32 Begin = GetCaptureGroupBeginning(Index);
	const int32 End = GetCaptureGroupEnding(Index);
	if (Begin == INDEX_NONE || End == INDEX_NONE)
	{
		return FString();
	}
	return Implementation->Input.Mid(Begin, End - Begin);
}

int32 FRegexMatcher::GetBeginLimit()
{
	return Implementation->BeginLimit;
}

int32 FRegexMatcher::GetEndLimit()
{
	return Implementation->EndLimit;
}

void FRegexMatcher::SetLimits(const int32 BeginIndex, const int32 EndIndex)
{
	Implementation->BeginLimit = FMath::Clamp(BeginIndex, 0, Implementation->Input.Len());
	Implementation->EndLimit = FMath::Clamp(EndIndex, Implementation->BeginLimit, Implementation->Input.Len());
	if (Implementation->Matcher)
	{
		UErrorCode Status = U_ZERO_ERROR;
		uregex_setRegion(Implementation->Matcher, Implementation->BeginLimit, Implementation->EndLimit, &Status);
	}
	Implementation->bHasMatch = false;
}

namespace
{
	FString Replace(URegularExpression* Matcher, const FString& Input, FStringView ReplaceString, bool bAll)
	{
		if (!Matcher)
		{
			return Input;
		}
		UErrorCode Status = U_ZERO_ERROR;
		const int32 Needed = bAll ? uregex_replaceAll(Matcher, (const UChar*)ReplaceString.GetData(), ReplaceString.Len(), nullptr, 0, &Status) : uregex_replaceFirst(Matcher, (const UChar*)ReplaceString.GetData(), ReplaceString.Len(), nullptr, 0, &Status);
		if (Status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(Status))
		{
			return Input;
		}
		TArray<TCHAR> Buffer;
		Buffer.SetNumUninitialized(Needed + 1);
		Status = U_ZERO_ERROR;
		if (bAll)
		{
			uregex_replaceAll(Matcher, (const UChar*)ReplaceString.GetData(), ReplaceString.Len(), (UChar*)Buffer.GetData(), Buffer.Num(), &Status);
		}
		else
		{
			uregex_replaceFirst(Matcher, (const UChar*)ReplaceString.GetData(), ReplaceString.Len(), (UChar*)Buffer.GetData(), Buffer.Num(), &Status);
		}
		return U_SUCCESS(Status) ? FString(Needed, Buffer.GetData()) : Input;
	}
} // namespace

FString FRegexMatcher::ReplaceFirst(FStringView ReplaceString)
{
	Implementation->bHasMatch = false;
	return Replace(Implementation->Matcher, Implementation->Input, ReplaceString, false);
}

FString FRegexMatcher::ReplaceAll(FStringView ReplaceString)
{
	Implementation->bHasMatch = false;
	return Replace(Implementation->Matcher, Implementation->Input, ReplaceString, true);
}
