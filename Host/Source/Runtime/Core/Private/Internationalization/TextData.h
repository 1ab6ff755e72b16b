// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Internationalization/Text.h"
#include "Internationalization/Culture.h"

struct FText::FTextData
{
	FString DisplayString;
	FString SourceString;
	FString Namespace;
	FString Key;
	bool bHasId = false;
};

namespace UE::Text::Private
{
	// Formats a number with a culture's rules (the engine's FastDecimalFormat algorithm).
	FString FormatDouble(double Value, const FNumberFormattingOptions& Options, const FDecimalNumberFormattingRules& Rules);
	FString FormatInteger(bool bNegative, uint64 Magnitude, const FNumberFormattingOptions& Options, const FDecimalNumberFormattingRules& Rules);
	FCultureRef ResolveCulture(const FCulturePtr& TargetCulture);
}
