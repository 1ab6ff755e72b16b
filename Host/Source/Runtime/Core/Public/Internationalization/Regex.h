// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Templates/SharedPointer.h"

enum class ERegexPatternFlags
{
	None = 0,
	CaseInsensitive = (1 << 0),
};
ENUM_CLASS_FLAGS(ERegexPatternFlags);

class FRegexPatternImplementation;
class FRegexMatcherImplementation;

// An ICU regular expression. Indices are in TCHAR (UTF-16) units; match ends are exclusive. An
// invalid pattern is reported in the log and never matches.
class CORE_API FRegexPattern
{
	friend class FRegexMatcher;

public:
	explicit FRegexPattern(const FString& SourceString, ERegexPatternFlags Flags = ERegexPatternFlags::None);

	FRegexPattern(const FRegexPattern&) = default;
	FRegexPattern& operator=(const FRegexPattern&) = default;
	FRegexPattern(FRegexPattern&&) = default;
	FRegexPattern& operator=(FRegexPattern&&) = default;

private:
	TSharedRef<FRegexPatternImplementation, ESPMode::ThreadSafe> Implementation;
};

class CORE_API FRegexMatcher
{
public:
	FRegexMatcher(const FRegexPattern& Pattern, const FString& Input);
	FRegexMatcher(FRegexPattern&& Pattern, const FString& Input);
	FRegexMatcher(FRegexMatcher&&) = default;
	FRegexMatcher& operator=(FRegexMatcher&&) = default;
	FRegexMatcher(const FRegexMatcher&) = delete;
	FRegexMatcher& operator=(const FRegexMatcher&) = delete;
	~FRegexMatcher();

	bool FindNext();
	int32 GetMatchBeginning();
	int32 GetMatchEnding();
	int32 GetCaptureGroupBeginning(const int32 Index);
	int32 GetCaptureGroupEnding(const int32 Index);
	FString GetCaptureGroup(const int32 Index);
	int32 GetBeginLimit();
	int32 GetEndLimit();
	void SetLimits(const int32 BeginIndex, const int32 EndIndex);
	FString ReplaceFirst(FStringView ReplaceString);
	FString ReplaceAll(FStringView ReplaceString);

private:
	TSharedRef<FRegexMatcherImplementation> Implementation;
};
