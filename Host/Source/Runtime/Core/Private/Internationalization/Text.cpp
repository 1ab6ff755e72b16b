// Copyright Quarn. All Rights Reserved.

#include "Internationalization/Text.h"
#include "Internationalization/Internationalization.h"
#include "Internationalization/Culture.h"
#include "Logging/LogMacros.h"
#include "Misc/CoreGlobals.h"
#include "TextData.h"
#include "Math/UnrealMathUtility.h"
#include <string>
#include <cfloat>
#include <cmath>
#include <cstdio>

namespace
{
	TSharedRef<FText::FTextData, ESPMode::ThreadSafe> MakeData(FString&& Display)
	{
		TSharedRef<FText::FTextData, ESPMode::ThreadSafe> Data = MakeShared<FText::FTextData, ESPMode::ThreadSafe>();
		Data->DisplayString = MoveTemp(Display);
		return Data;
	}
} // namespace

FNumberFormattingOptions::FNumberFormattingOptions()
	: AlwaysSign(false)
	, UseGrouping(true)
	, RoundingMode(ERoundingMode::HalfToEven)
	, MinimumIntegralDigits(1)
	, MaximumIntegralDigits(DBL_MAX_10_EXP + DBL_DIG + 1)
	, MinimumFractionalDigits(0)
	, MaximumFractionalDigits(3)
{
}

bool FNumberFormattingOptions::IsIdentical(const FNumberFormattingOptions& Other) const
{
	return AlwaysSign == Other.AlwaysSign && UseGrouping == Other.UseGrouping && RoundingMode == Other.RoundingMode && MinimumIntegralDigits == Other.MinimumIntegralDigits && MaximumIntegralDigits == Other.MaximumIntegralDigits && MinimumFractionalDigits == Other.MinimumFractionalDigits && MaximumFractionalDigits == Other.MaximumFractionalDigits;
}

const FNumberFormattingOptions& FNumberFormattingOptions::DefaultWithGrouping()
{
	static const FNumberFormattingOptions Options = FNumberFormattingOptions().SetUseGrouping(true);
	return Options;
}

const FNumberFormattingOptions& FNumberFormattingOptions::DefaultNoGrouping()
{
	static const FNumberFormattingOptions Options = FNumberFormattingOptions().SetUseGrouping(false);
	return Options;
}

namespace UE::Text::Private
{
	namespace
	{
		// Rounds X (already scaled) to an integer by the mode; LastDigitEven says whether the digit
		// before the cut is even, for ties to even.
		double RoundScaled(double X, ERoundingMode Mode, bool bNegative, bool bLastDigitEven)
		{
			const double Floor = std::floor(X);
			const double Diff = X - Floor;
			switch (Mode)
			{
				case ERoundingMode::HalfToEven:
					if (Diff > 0.5)
					{
						return Floor + 1;
					}
					if (Diff < 0.5)
					{
						return Floor;
					}
					return bLastDigitEven ? Floor : Floor + 1;
				case ERoundingMode::HalfFromZero:
					return Diff >= 0.5 ? Floor + 1 : Floor;
				case ERoundingMode::HalfToZero:
					return Diff > 0.5 ? Floor + 1 : Floor;
				case ERoundingMode::FromZero:
					return Diff > 0.0 ? Floor + 1 : Floor;
				case ERoundingMode::ToZero:
					return Floor;
				case ERoundingMode::ToNegativeInfinity:
					return (bNegative && Diff > 0.0) ? Floor + 1 : Floor;
				case ERoundingMode::ToPositiveInfinity:
					return (!bNegative && Diff > 0.0) ? Floor + 1 : Floor;
			}
			return Floor;
		}

		void AppendDigits(FString& Out, const char* Digits, const FDecimalNumberFormattingRules& Rules)
		{
			for (const char* P = Digits; *P; ++P)
			{
				Out.AppendChar(Rules.DigitCharacters[*P - '0']);
			}
		}

		FString BuildNumber(bool bNegative, std::string IntegralDigits, std::string FractionalDigits, const FNumberFormattingOptions& Options, const FDecimalNumberFormattingRules& Rules)
		{
			// Integral digits: strip leading zeros, then apply the minimum and maximum counts.
			size_t FirstNonZero = IntegralDigits.find_first_not_of('0');
			IntegralDigits = FirstNonZero == std::string::npos ? std::string() : IntegralDigits.substr(FirstNonZero);
			const int32 MinIntegral = FMath::Max(Options.MinimumIntegralDigits, 0);
			while ((int32)IntegralDigits.size() < MinIntegral)
			{
				IntegralDigits.insert(IntegralDigits.begin(), '0');
			}
			if (Options.MaximumIntegralDigits >= 0 && (int32)IntegralDigits.size() > Options.MaximumIntegralDigits)
			{
				IntegralDigits = IntegralDigits.substr(IntegralDigits.size() - Options.MaximumIntegralDigits);
			}
			// Fractional digits: trailing zeros go, down to the minimum.
			const int32 MinFractional = FMath::Max(Options.MinimumFractionalDigits, 0);
			while ((int32)FractionalDigits.size() > MinFractional && !FractionalDigits.empty() && FractionalDigits.back() == '0')
			{
				FractionalDigits.pop_back();
			}
			while ((int32)FractionalDigits.size() < MinFractional)
			{
				FractionalDigits.push_back('0');
			}

			FString Result;
			Result.Reserve((int32)(IntegralDigits.size() + FractionalDigits.size()) * 2 + 4);
			if (bNegative)
			{
				Result += Rules.NegativePrefixString;
			}
			else if (Options.AlwaysSign)
			{
				Result += Rules.PlusString;
			}
			else
			{
				Result += Rules.PositivePrefixString;
			}
			const int32 NumIntegral = (int32)IntegralDigits.size();
			for (int32 Index = 0; Index < NumIntegral; ++Index)
			{
				Result.AppendChar(Rules.DigitCharacters[IntegralDigits[Index] - '0']);
				const int32 Remaining = NumIntegral - Index - 1;
				if (Options.UseGrouping && Remaining > 0 && Rules.PrimaryGroupingSize > 0)
				{
					bool bSeparate;
					if (Remaining == Rules.PrimaryGroupingSize)
					{
						bSeparate = true;
					}
					else if (Remaining > Rules.PrimaryGroupingSize)
					{
						const int32 Secondary = Rules.SecondaryGroupingSize > 0 ? Rules.SecondaryGroupingSize : Rules.PrimaryGroupingSize;
						bSeparate = ((Remaining - Rules.PrimaryGroupingSize) % Secondary) == 0;
					}
					else
					{
						bSeparate = false;
					}
					if (bSeparate)
					{
						Result.AppendChar(Rules.GroupingSeparatorCharacter);
					}
				}
			}
			if (!FractionalDigits.empty())
			{
				Result.AppendChar(Rules.DecimalSeparatorCharacter);
				AppendDigits(Result, FractionalDigits.c_str(), Rules);
			}
			Result += bNegative ? Rules.NegativeSuffixString : Rules.PositiveSuffixString;
			return Result;
		}
	} // namespace

	FString FormatInteger(bool bNegative, uint64 Magnitude, const FNumberFormattingOptions& Options, const FDecimalNumberFormattingRules& Rules)
	{
		char Buffer[32];
		std::snprintf(Buffer, sizeof(Buffer), "%llu", (unsigned long long)Magnitude);
		return BuildNumber(bNegative, Buffer, std::string(), Options, Rules);
	}

	FString FormatDouble(double Value, const FNumberFormattingOptions& Options, const FDecimalNumberFormattingRules& Rules)
	{
		if (std::isnan(Value))
		{
			return Rules.NaNString;
		}
		const bool bNegative = Value < 0.0;
		if (std::isinf(Value))
		{
			return (bNegative ? Rules.NegativePrefixString : FString()) + Rules.InfinityString;
		}
		const double AbsValue = std::fabs(Value);
		double IntegralPart;
		const double FractionalPart = std::modf(AbsValue, &IntegralPart);
		const int32 MaxFractional = FMath::Clamp(Options.MaximumFractionalDigits, 0, 15);
		const double Scale = std::pow(10.0, MaxFractional);
		const bool bIntegralEven = std::fmod(IntegralPart, 2.0) == 0.0;
		const double ScaledFraction = FractionalPart * Scale;
		const bool bLastDigitEven = MaxFractional == 0 ? bIntegralEven : std::fmod(std::floor(ScaledFraction), 2.0) == 0.0;
		double RoundedFraction = RoundScaled(ScaledFraction, Options.RoundingMode, bNegative, bLastDigitEven);
		if (RoundedFraction >= Scale)
		{
			RoundedFraction -= Scale;
			IntegralPart += 1.0;
		}
		char IntegralBuffer[400];
		std::snprintf(IntegralBuffer, sizeof(IntegralBuffer), "%.0f", IntegralPart);
		std::string Fraction;
		if (MaxFractional > 0)
		{
			char FractionBuffer[32];
			std::snprintf(FractionBuffer, sizeof(FractionBuffer), "%0*.0f", MaxFractional, RoundedFraction);
			Fraction = FractionBuffer;
		}
		return BuildNumber(bNegative, IntegralBuffer, Fraction, Options, Rules);
	}

	FCultureRef ResolveCulture(const FCulturePtr& TargetCulture)
	{
		return TargetCulture.IsValid() ? TargetCulture.ToSharedRef() : FInternationalization::Get().GetCurrentCulture();
	}
} // namespace UE::Text::Private

FText::FText() : TextData(GetEmpty().TextData), Flags(0) {}

FText::FText(TSharedRef<FTextData, ESPMode::ThreadSafe> InData, uint32 InFlags) : TextData(MoveTemp(InData)), Flags(InFlags) {}

const FText& FText::GetEmpty()
{
	static const FText* Empty = new FText(MakeShared<FTextData, ESPMode::ThreadSafe>(), ETextFlag::Immutable);
	return *Empty;
}

const FString& FText::ToString() const
{
	return TextData->DisplayString;
}

FString FText::BuildSourceString() const
{
	return TextData->bHasId ? TextData->SourceString : TextData->DisplayString;
}

bool FText::IsEmpty() const
{
	return TextData->DisplayString.IsEmpty();
}

bool FText::IsEmptyOrWhitespace() const
{
	for (TCHAR Char : TextData->DisplayString)
	{
		if (!TChar<TCHAR>::IsWhitespace(Char))
		{
			return false;
		}
	}
	return true;
}

bool FText::IsNumeric() const
{
	return TextData->DisplayString.IsNumeric();
}

bool FText::ShouldGatherForLocalization() const
{
	return TextData->bHasId && !IsCultureInvariant() && !IsTransient();
}

FText FText::MakeGenerated(FString&& Display)
{
	return FText(MakeData(MoveTemp(Display)), ETextFlag::Transient);
}

FText FText::ToLower() const
{
	return FText(MakeData(TextData->DisplayString.ToLower()), ETextFlag::Transient);
}

FText FText::ToUpper() const
{
	return FText(MakeData(TextData->DisplayString.ToUpper()), ETextFlag::Transient);
}

FText FText::TrimPreceding(const FText& InText)
{
	FString Trimmed = InText.ToString().TrimStart();
	return Trimmed.Equals(InText.ToString()) ? InText : FText(MakeData(MoveTemp(Trimmed)), InText.Flags & ~ETextFlag::Immutable);
}

FText FText::TrimTrailing(const FText& InText)
{
	FString Trimmed = InText.ToString().TrimEnd();
	return Trimmed.Equals(InText.ToString()) ? InText : FText(MakeData(MoveTemp(Trimmed)), InText.Flags & ~ETextFlag::Immutable);
}

FText FText::TrimPrecedingAndTrailing(const FText& InText)
{
	FString Trimmed = InText.ToString().TrimStartAndEnd();
	return Trimmed.Equals(InText.ToString()) ? InText : FText(MakeData(MoveTemp(Trimmed)), InText.Flags & ~ETextFlag::Immutable);
}

bool FText::EqualTo(const FText& Other, const ETextComparisonLevel::Type ComparisonLevel) const
{
	if (ComparisonLevel == ETextComparisonLevel::Primary)
	{
		return EqualToCaseIgnored(Other);
	}
	return TextData->DisplayString.Equals(Other.TextData->DisplayString, ESearchCase::CaseSensitive);
}

bool FText::EqualToCaseIgnored(const FText& Other) const
{
	return TextData->DisplayString.Equals(Other.TextData->DisplayString, ESearchCase::IgnoreCase);
}

int32 FText::CompareTo(const FText& Other, const ETextComparisonLevel::Type ComparisonLevel) const
{
	return TextData->DisplayString.Compare(Other.TextData->DisplayString, ComparisonLevel == ETextComparisonLevel::Primary ? ESearchCase::IgnoreCase : ESearchCase::CaseSensitive);
}

int32 FText::CompareToCaseIgnored(const FText& Other) const
{
	return TextData->DisplayString.Compare(Other.TextData->DisplayString, ESearchCase::IgnoreCase);
}

bool FText::IdenticalTo(const FText& Other, const ETextIdenticalModeFlags CompareModeFlags) const
{
	if (&TextData.Get() == &Other.TextData.Get())
	{
		return true;
	}
	if (EnumHasAnyFlags(CompareModeFlags, ETextIdenticalModeFlags::LexicalCompareInvariants) && IsCultureInvariant() && Other.IsCultureInvariant())
	{
		return TextData->DisplayString.Equals(Other.TextData->DisplayString, ESearchCase::CaseSensitive);
	}
	if (EnumHasAnyFlags(CompareModeFlags, ETextIdenticalModeFlags::DeepCompare))
	{
		const FTextData& A = TextData.Get();
		const FTextData& B = Other.TextData.Get();
		if (A.bHasId || B.bHasId)
		{
			return A.bHasId && B.bHasId && A.Namespace.Equals(B.Namespace) && A.Key.Equals(B.Key) && A.SourceString.Equals(B.SourceString);
		}
		return (Flags & ETextFlag::Transient) && (Other.Flags & ETextFlag::Transient) && A.DisplayString.Equals(B.DisplayString);
	}
	return false;
}

FText FText::FromString(const FString& String)
{
	return FromString(FString(String));
}

FText FText::FromString(FString&& String)
{
	if (String.IsEmpty())
	{
		return GetEmpty();
	}
	uint32 NewFlags = ETextFlag::InitializedFromString;
	if (!GIsEditor)
	{
		NewFlags |= ETextFlag::CultureInvariant;
	}
	return FText(MakeData(MoveTemp(String)), NewFlags);
}

FText FText::FromStringView(FStringView InString)
{
	return FromString(FString(InString));
}

FText FText::FromName(const FName& Val)
{
	return FromString(Val.ToString());
}

FText FText::AsCultureInvariant(const FString& String)
{
	return AsCultureInvariant(FString(String));
}

FText FText::AsCultureInvariant(FString&& String)
{
	if (String.IsEmpty())
	{
		return GetEmpty();
	}
	return FText(MakeData(MoveTemp(String)), ETextFlag::CultureInvariant);
}

FText FText::AsCultureInvariant(FText Text)
{
	Text.Flags |= ETextFlag::CultureInvariant;
	return Text;
}

FText FText::AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* String)
{
	TSharedRef<FTextData, ESPMode::ThreadSafe> Data = MakeData(FString(String));
	Data->SourceString = Data->DisplayString;
	Data->Namespace = Namespace ? Namespace : TEXT("");
	Data->Key = Key ? Key : TEXT("");
	Data->bHasId = !Data->Key.IsEmpty();
	return FText(Data, 0);
}

FText FText::TrueText()
{
	static const FText Text = NSLOCTEXT("Core", "True", "True");
	return Text;
}

FText FText::FalseText()
{
	static const FText Text = NSLOCTEXT("Core", "False", "False");
	return Text;
}

namespace
{
	template <typename IntType>
	FString AsInteger(IntType Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture)
	{
		const FCultureRef Culture = UE::Text::Private::ResolveCulture(TargetCulture);
		const FNumberFormattingOptions& Used = Options ? *Options : FNumberFormattingOptions::DefaultWithGrouping();
		if (Used.MinimumFractionalDigits > 0)
		{
			// Whole numbers still show the minimum fraction digits ("2.00").
			return UE::Text::Private::FormatDouble((double)Val, Used, Culture->GetDecimalNumberFormattingRules());
		}
		const bool bNegative = Val < 0;
		const uint64 Magnitude = bNegative ? (uint64)(-(int64)(Val + 1)) + 1 : (uint64)Val;
		return UE::Text::Private::FormatInteger(bNegative, Magnitude, Used, Culture->GetDecimalNumberFormattingRules());
	}

	FString AsFloating(double Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture)
	{
		const FCultureRef Culture = UE::Text::Private::ResolveCulture(TargetCulture);
		const FNumberFormattingOptions& Used = Options ? *Options : FNumberFormattingOptions::DefaultWithGrouping();
		return UE::Text::Private::FormatDouble(Val, Used, Culture->GetDecimalNumberFormattingRules());
	}
} // namespace

FText FText::AsNumber(float Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsFloating(Val, Options, TargetCulture)); }
FText FText::AsNumber(double Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsFloating(Val, Options, TargetCulture)); }
FText FText::AsNumber(int8 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(int16 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(int32 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(int64 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(uint8 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(uint16 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(uint32 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(uint64 Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger(Val, Options, TargetCulture)); }
FText FText::AsNumber(long Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture) { return MakeGenerated(AsInteger((int64)Val, Options, TargetCulture)); }

FText FText::AsPercent(double Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture)
{
	FNumberFormattingOptions Used = Options ? *Options : FNumberFormattingOptions::DefaultWithGrouping();
	if (!Options)
	{
		Used.MaximumFractionalDigits = 0;
	}
	const FCultureRef Culture = UE::Text::Private::ResolveCulture(TargetCulture);
	return MakeGenerated(UE::Text::Private::FormatDouble(Val * 100.0, Used, Culture->GetDecimalNumberFormattingRules()) + TEXT("%"));
}

FText FText::AsPercent(float Val, const FNumberFormattingOptions* const Options, const FCulturePtr& TargetCulture)
{
	return AsPercent((double)Val, Options, TargetCulture);
}

FText FText::Join(const FText& Delimiter, const FFormatOrderedArguments& Args)
{
	FString Result;
	for (int32 Index = 0; Index < Args.Num(); ++Index)
	{
		if (Index > 0)
		{
			Result += Delimiter.ToString();
		}
		Args[Index].ToFormattedString(false, false, Result);
	}
	return MakeGenerated(MoveTemp(Result));
}

FText FText::Join(const FText& Delimiter, const TArray<FText>& Args)
{
	FString Result;
	for (int32 Index = 0; Index < Args.Num(); ++Index)
	{
		if (Index > 0)
		{
			Result += Delimiter.ToString();
		}
		Result += Args[Index].ToString();
	}
	return MakeGenerated(MoveTemp(Result));
}

bool FFormatArgumentValue::IdenticalTo(const FFormatArgumentValue& Other, const ETextIdenticalModeFlags CompareModeFlags) const
{
	if (Type != Other.Type)
	{
		return false;
	}
	switch (Type)
	{
		case EFormatArgumentType::Int: return IntValue == Other.IntValue;
		case EFormatArgumentType::UInt: return UIntValue == Other.UIntValue;
		case EFormatArgumentType::Float: return FloatValue == Other.FloatValue;
		case EFormatArgumentType::Double: return DoubleValue == Other.DoubleValue;
		case EFormatArgumentType::Text: return GetTextValue().IdenticalTo(Other.GetTextValue(), CompareModeFlags);
		case EFormatArgumentType::Gender: return UIntValue == Other.UIntValue;
	}
	return false;
}

void FFormatArgumentValue::ToFormattedString(const bool bInRebuildText, const bool bInRebuildAsSource, FString& OutResult) const
{
	// Numbers use the current culture's default formatting (grouping on).
	const FCultureRef Culture = FInternationalization::Get().GetCurrentCulture();
	const FDecimalNumberFormattingRules& Rules = Culture->GetDecimalNumberFormattingRules();
	const FNumberFormattingOptions& Options = FNumberFormattingOptions::DefaultWithGrouping();
	switch (Type)
	{
		case EFormatArgumentType::Int:
			OutResult += UE::Text::Private::FormatInteger(IntValue < 0, IntValue < 0 ? (uint64)(-(IntValue + 1)) + 1 : (uint64)IntValue, Options, Rules);
			break;
		case EFormatArgumentType::UInt:
			OutResult += UE::Text::Private::FormatInteger(false, UIntValue, Options, Rules);
			break;
		case EFormatArgumentType::Float:
			OutResult += UE::Text::Private::FormatDouble(FloatValue, Options, Rules);
			break;
		case EFormatArgumentType::Double:
			OutResult += UE::Text::Private::FormatDouble(DoubleValue, Options, Rules);
			break;
		case EFormatArgumentType::Text:
			OutResult += bInRebuildAsSource ? GetTextValue().BuildSourceString() : GetTextValue().ToString();
			break;
		case EFormatArgumentType::Gender:
			break;
	}
}

FString FFormatArgumentValue::ToFormattedString(const bool bInRebuildText, const bool bInRebuildAsSource) const
{
	FString Result;
	ToFormattedString(bInRebuildText, bInRebuildAsSource, Result);
	return Result;
}

FString FFormatArgumentValue::ToExportedString(const bool bStripPackageNamespace) const
{
	return ToFormattedString(false, true);
}

TOptional<FString> FTextInspector::GetNamespace(const FText& Text)
{
	if (Text.TextData->bHasId)
	{
		return Text.TextData->Namespace;
	}
	return TOptional<FString>();
}

TOptional<FString> FTextInspector::GetKey(const FText& Text)
{
	if (Text.TextData->bHasId)
	{
		return Text.TextData->Key;
	}
	return TOptional<FString>();
}

const FString* FTextInspector::GetSourceString(const FText& Text)
{
	return Text.TextData->bHasId ? &Text.TextData->SourceString : &Text.TextData->DisplayString;
}

const FString& FTextInspector::GetDisplayString(const FText& Text)
{
	return Text.TextData->DisplayString;
}
