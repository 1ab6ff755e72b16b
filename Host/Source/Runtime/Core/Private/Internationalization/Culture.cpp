// Copyright Quarn. All Rights Reserved.

#include "Internationalization/Culture.h"
#include "Internationalization/Internationalization.h"
#include "Containers/StringConv.h"
#include "Logging/LogMacros.h"
#include "TextData.h"
#include <map>
#include <mutex>
#include <string>
#include <unicode/uloc.h>
#include <unicode/unum.h>
#include <unicode/upluralrules.h>

namespace
{
	std::string ToIcuLocale(const FString& Name)
	{
		std::string Result(FTCHARToUTF8(*Name).Get());
		for (char& Char : Result)
		{
			if (Char == '-')
			{
				Char = '_';
			}
		}
		return Result;
	}

	FString FromUChars(const UChar* Chars, int32 Len)
	{
		return FString(Len, (const TCHAR*)Chars);
	}

	FString GetSymbol(UNumberFormat* Format, UNumberFormatSymbol Symbol, const FString& Fallback)
	{
		UChar Buffer[32];
		UErrorCode Status = U_ZERO_ERROR;
		const int32 Len = unum_getSymbol(Format, Symbol, Buffer, 32, &Status);
		return U_SUCCESS(Status) && Len > 0 && Len < 32 ? FromUChars(Buffer, Len) : Fallback;
	}

	FString GetTextAttribute(UNumberFormat* Format, UNumberFormatTextAttribute Attribute)
	{
		UChar Buffer[32];
		UErrorCode Status = U_ZERO_ERROR;
		const int32 Len = unum_getTextAttribute(Format, Attribute, Buffer, 32, &Status);
		return U_SUCCESS(Status) && Len > 0 && Len < 32 ? FromUChars(Buffer, Len) : FString();
	}

	bool IsKnownLocale(const std::string& Locale)
	{
		const int32 Count = uloc_countAvailable();
		for (int32 Index = 0; Index < Count; ++Index)
		{
			if (Locale == uloc_getAvailable(Index))
			{
				return true;
			}
		}
		return false;
	}
} // namespace

FCulture::FCulture(const FString& InName) : Name(InName)
{
	if (InName.IsEmpty())
	{
		// The invariant culture keeps the culture-agnostic rules.
		return;
	}
	const std::string Locale = ToIcuLocale(InName);
	UErrorCode Status = U_ZERO_ERROR;
	UNumberFormat* Format = unum_open(UNUM_DECIMAL, nullptr, 0, Locale.c_str(), nullptr, &Status);
	if (U_FAILURE(Status) || !Format)
	{
		return;
	}
	const FString Grouping = GetSymbol(Format, UNUM_GROUPING_SEPARATOR_SYMBOL, TEXT(","));
	const FString Decimal = GetSymbol(Format, UNUM_DECIMAL_SEPARATOR_SYMBOL, TEXT("."));
	DecimalRules.GroupingSeparatorCharacter = Grouping.Len() == 1 ? Grouping[0] : TEXT(',');
	DecimalRules.DecimalSeparatorCharacter = Decimal.Len() == 1 ? Decimal[0] : TEXT('.');
	DecimalRules.NaNString = GetSymbol(Format, UNUM_NAN_SYMBOL, TEXT("NaN"));
	DecimalRules.InfinityString = GetSymbol(Format, UNUM_INFINITY_SYMBOL, TEXT("\u221E"));
	DecimalRules.PlusString = GetSymbol(Format, UNUM_PLUS_SIGN_SYMBOL, TEXT("+"));
	DecimalRules.MinusString = GetSymbol(Format, UNUM_MINUS_SIGN_SYMBOL, TEXT("-"));
	DecimalRules.NegativePrefixString = GetTextAttribute(Format, UNUM_NEGATIVE_PREFIX);
	DecimalRules.NegativeSuffixString = GetTextAttribute(Format, UNUM_NEGATIVE_SUFFIX);
	DecimalRules.PositivePrefixString = GetTextAttribute(Format, UNUM_POSITIVE_PREFIX);
	DecimalRules.PositiveSuffixString = GetTextAttribute(Format, UNUM_POSITIVE_SUFFIX);
	const int32 Primary = unum_getAttribute(Format, UNUM_GROUPING_SIZE);
	const int32 Secondary = unum_getAttribute(Format, UNUM_SECONDARY_GROUPING_SIZE);
	DecimalRules.PrimaryGroupingSize = (uint8)(Primary > 0 ? Primary : 3);
	DecimalRules.SecondaryGroupingSize = (uint8)(Secondary > 0 ? Secondary : DecimalRules.PrimaryGroupingSize);
	const UNumberFormatSymbol DigitSymbols[10] = { UNUM_ZERO_DIGIT_SYMBOL, UNUM_ONE_DIGIT_SYMBOL, UNUM_TWO_DIGIT_SYMBOL, UNUM_THREE_DIGIT_SYMBOL, UNUM_FOUR_DIGIT_SYMBOL, UNUM_FIVE_DIGIT_SYMBOL, UNUM_SIX_DIGIT_SYMBOL, UNUM_SEVEN_DIGIT_SYMBOL, UNUM_EIGHT_DIGIT_SYMBOL, UNUM_NINE_DIGIT_SYMBOL };
	for (int32 Digit = 0; Digit < 10; ++Digit)
	{
		const FString Symbol = GetSymbol(Format, DigitSymbols[Digit], FString::Chr((TCHAR)('0' + Digit)));
		DecimalRules.DigitCharacters[Digit] = Symbol.Len() == 1 ? Symbol[0] : (TCHAR)('0' + Digit);
	}
	unum_close(Format);
}

FCulture::~FCulture() = default;

FString FCulture::GetDisplayName() const
{
	const std::string Locale = ToIcuLocale(Name);
	UChar Buffer[128];
	UErrorCode Status = U_ZERO_ERROR;
	const int32 Len = uloc_getDisplayName(Locale.c_str(), Locale.c_str(), Buffer, 128, &Status);
	return U_SUCCESS(Status) && Len < 128 ? FromUChars(Buffer, Len) : Name;
}

FString FCulture::GetEnglishName() const
{
	const std::string Locale = ToIcuLocale(Name);
	UChar Buffer[128];
	UErrorCode Status = U_ZERO_ERROR;
	const int32 Len = uloc_getDisplayName(Locale.c_str(), "en", Buffer, 128, &Status);
	return U_SUCCESS(Status) && Len < 128 ? FromUChars(Buffer, Len) : Name;
}

FString FCulture::GetTwoLetterISOLanguageName() const
{
	char Buffer[16];
	UErrorCode Status = U_ZERO_ERROR;
	const int32 Len = uloc_getLanguage(ToIcuLocale(Name).c_str(), Buffer, 16, &Status);
	return U_SUCCESS(Status) && Len < 16 ? FString(Len, Buffer) : FString();
}

FString FCulture::GetRegion() const
{
	char Buffer[16];
	UErrorCode Status = U_ZERO_ERROR;
	const int32 Len = uloc_getCountry(ToIcuLocale(Name).c_str(), Buffer, 16, &Status);
	return U_SUCCESS(Status) && Len < 16 ? FString(Len, Buffer) : FString();
}

FString FCulture::GetPluralForm(double Value, bool bOrdinal) const
{
	UErrorCode Status = U_ZERO_ERROR;
	UPluralRules* Rules = uplrules_openForType(Name.IsEmpty() ? "en" : ToIcuLocale(Name).c_str(), bOrdinal ? UPLURAL_TYPE_ORDINAL : UPLURAL_TYPE_CARDINAL, &Status);
	if (U_FAILURE(Status) || !Rules)
	{
		return TEXT("other");
	}
	UChar Keyword[32];
	const int32 Len = uplrules_select(Rules, Value, Keyword, 32, &Status);
	uplrules_close(Rules);
	return U_SUCCESS(Status) && Len < 32 ? FromUChars(Keyword, Len) : FString(TEXT("other"));
}

struct FInternationalization::FState
{
	std::mutex Mutex;
	std::map<std::string, FCultureRef> Cultures;
	FCulturePtr Current;
	FCultureRef Invariant = MakeShared<FCulture, ESPMode::ThreadSafe>(FString());
};

FInternationalization::FInternationalization() : State(new FState())
{
	State->Current = GetCulture(TEXT("en"));
	if (!State->Current.IsValid())
	{
		State->Current = State->Invariant;
	}
}

FInternationalization& FInternationalization::Get()
{
	static FInternationalization* Instance = new FInternationalization();
	return *Instance;
}

FCulturePtr FInternationalization::GetCulture(const FString& InCultureName)
{
	const std::string Locale = ToIcuLocale(InCultureName);
	std::lock_guard<std::mutex> Lock(State->Mutex);
	auto It = State->Cultures.find(Locale);
	if (It != State->Cultures.end())
	{
		return It->second;
	}
	if (Locale.empty() || !IsKnownLocale(Locale))
	{
		return nullptr;
	}
	FCultureRef Culture = MakeShared<FCulture, ESPMode::ThreadSafe>(InCultureName);
	State->Cultures.emplace(Locale, Culture);
	return Culture;
}

bool FInternationalization::SetCurrentCulture(const FString& InCultureName)
{
	FCulturePtr Culture = GetCulture(InCultureName);
	if (!Culture.IsValid())
	{
		UE_LOG(LogInternationalization, Warning, TEXT("Culture '%s' is not available; the current culture stays '%s'."), *InCultureName, *GetCurrentCulture()->GetName());
		return false;
	}
	std::lock_guard<std::mutex> Lock(State->Mutex);
	State->Current = Culture;
	return true;
}

FCultureRef FInternationalization::GetCurrentCulture() const
{
	std::lock_guard<std::mutex> Lock(State->Mutex);
	return State->Current.ToSharedRef();
}

FCultureRef FInternationalization::GetInvariantCulture() const
{
	return State->Invariant;
}

FCultureRef FInternationalization::GetDefaultCulture() const
{
	FCulturePtr English = const_cast<FInternationalization*>(this)->GetCulture(TEXT("en"));
	return English.IsValid() ? English.ToSharedRef() : State->Invariant;
}

FText FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(const TCHAR* InTextLiteral, const TCHAR* InNamespace, const TCHAR* InKey)
{
	return FText::AsLocalizable_Advanced(InNamespace, InKey, InTextLiteral);
}
