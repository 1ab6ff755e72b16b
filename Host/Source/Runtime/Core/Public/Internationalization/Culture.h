// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Internationalization/CulturePointer.h"

// A culture's number formatting rules, read from ICU when the culture is created.
struct FDecimalNumberFormattingRules
{
	FString NaNString = TEXT("NaN");
	FString InfinityString = TEXT("\u221E");
	FString NegativePrefixString = TEXT("-");
	FString NegativeSuffixString;
	FString PositivePrefixString;
	FString PositiveSuffixString;
	FString PlusString = TEXT("+");
	FString MinusString = TEXT("-");
	TCHAR GroupingSeparatorCharacter = TEXT(',');
	TCHAR DecimalSeparatorCharacter = TEXT('.');
	uint8 PrimaryGroupingSize = 3;
	uint8 SecondaryGroupingSize = 3;
	TCHAR DigitCharacters[10] = { '0', '1', '2', '3', '4', '5', '6', '7', '8', '9' };
};

class CORE_API FCulture
{
public:
	explicit FCulture(const FString& InName);
	~FCulture();

	const FString& GetName() const { return Name; }
	FString GetDisplayName() const;
	FString GetEnglishName() const;
	FString GetTwoLetterISOLanguageName() const;
	FString GetRegion() const;
	const FDecimalNumberFormattingRules& GetDecimalNumberFormattingRules() const { return DecimalRules; }

	// CLDR plural category ("zero", "one", "two", "few", "many", "other") of a number.
	FString GetPluralForm(double Value, bool bOrdinal) const;

private:
	FString Name;
	FDecimalNumberFormattingRules DecimalRules;
};
