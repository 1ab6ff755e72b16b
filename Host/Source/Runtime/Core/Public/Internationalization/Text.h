// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Containers/SortedMap.h"
#include "Containers/Array.h"
#include "Misc/Optional.h"
#include "Templates/SharedPointer.h"
#include "UObject/NameTypes.h"
#include "Internationalization/CulturePointer.h"
#include <cfloat>

// Display text. A localizable text (LOCTEXT/NSLOCTEXT) keeps its namespace, key and source; with no
// translation tables its display string is the source. Generated texts (Format, AsNumber) are
// formatted once, with the culture current when they are made.

class FText;
class FTextFormat;
class FFormatArgumentValue;

namespace ETextFlag
{
	enum Type
	{
		Transient = (1 << 0),
		CultureInvariant = (1 << 1),
		ConvertedProperty = (1 << 2),
		Immutable = (1 << 3),
		InitializedFromString = (1 << 4),
	};
}

namespace ETextComparisonLevel
{
	enum Type
	{
		Default,
		Primary,
		Secondary,
		Tertiary,
		Quaternary,
		Quinary,
	};
}

enum class ETextIdenticalModeFlags : uint8
{
	None = 0,
	DeepCompare = 1 << 0,
	LexicalCompareInvariants = 1 << 1,
};
ENUM_CLASS_FLAGS(ETextIdenticalModeFlags);

enum class ETextFormatFlags : uint8
{
	None = 0,
	EvaluateArgumentModifiers = 1 << 0,
	Default = EvaluateArgumentModifiers,
};
ENUM_CLASS_FLAGS(ETextFormatFlags);

enum class ETextGender : uint8
{
	Masculine,
	Feminine,
	Neuter,
};

enum ERoundingMode
{
	HalfToEven,
	HalfFromZero,
	HalfToZero,
	FromZero,
	ToZero,
	ToNegativeInfinity,
	ToPositiveInfinity,
};

enum class EFormatArgumentType : uint8
{
	Int,
	UInt,
	Float,
	Double,
	Text,
	Gender,
};

struct CORE_API FNumberFormattingOptions
{
	FNumberFormattingOptions();

	bool AlwaysSign;
	FNumberFormattingOptions& SetAlwaysSign(bool InValue)
	{
		AlwaysSign = InValue;
		return *this;
	}
	bool UseGrouping;
	FNumberFormattingOptions& SetUseGrouping(bool InValue)
	{
		UseGrouping = InValue;
		return *this;
	}
	ERoundingMode RoundingMode;
	FNumberFormattingOptions& SetRoundingMode(ERoundingMode InValue)
	{
		RoundingMode = InValue;
		return *this;
	}
	int32 MinimumIntegralDigits;
	FNumberFormattingOptions& SetMinimumIntegralDigits(int32 InValue)
	{
		MinimumIntegralDigits = InValue;
		return *this;
	}
	int32 MaximumIntegralDigits;
	FNumberFormattingOptions& SetMaximumIntegralDigits(int32 InValue)
	{
		MaximumIntegralDigits = InValue;
		return *this;
	}
	int32 MinimumFractionalDigits;
	FNumberFormattingOptions& SetMinimumFractionalDigits(int32 InValue)
	{
		MinimumFractionalDigits = InValue;
		return *this;
	}
	int32 MaximumFractionalDigits;
	FNumberFormattingOptions& SetMaximumFractionalDigits(int32 InValue)
	{
		MaximumFractionalDigits = InValue;
		return *this;
	}

	bool IsIdentical(const FNumberFormattingOptions& Other) const;

	static const FNumberFormattingOptions& DefaultWithGrouping();
	static const FNumberFormattingOptions& DefaultNoGrouping();
};

struct FLocKeySortedMapLess
{
	bool operator()(const FString& A, const FString& B) const { return A.Compare(B, ESearchCase::CaseSensitive) < 0; }
};

typedef TArray<FFormatArgumentValue> FFormatOrderedArguments;
typedef TSortedMap<FString, FFormatArgumentValue, FDefaultAllocator, FLocKeySortedMapLess> FFormatNamedArguments;

class CORE_API FText
{
public:
	FText();
	FText(const FText&) = default;
	FText(FText&&) = default;
	FText& operator=(const FText&) = default;
	FText& operator=(FText&&) = default;

	static const FText& GetEmpty();

	const FString& ToString() const;
	FString BuildSourceString() const;

	[[nodiscard]] bool IsEmpty() const;
	[[nodiscard]] bool IsEmptyOrWhitespace() const;
	bool IsNumeric() const;
	bool IsTransient() const { return (Flags & ETextFlag::Transient) != 0; }
	bool IsCultureInvariant() const { return (Flags & ETextFlag::CultureInvariant) != 0; }
	bool IsInitializedFromString() const { return (Flags & ETextFlag::InitializedFromString) != 0; }
	bool IsFromStringTable() const { return false; }
	bool ShouldGatherForLocalization() const;

	FText ToLower() const;
	FText ToUpper() const;
	static FText TrimPreceding(const FText& InText);
	static FText TrimTrailing(const FText& InText);
	static FText TrimPrecedingAndTrailing(const FText& InText);

	// Culture-aware comparison of the display strings.
	bool EqualTo(const FText& Other, const ETextComparisonLevel::Type ComparisonLevel = ETextComparisonLevel::Default) const;
	bool EqualToCaseIgnored(const FText& Other) const;
	int32 CompareTo(const FText& Other, const ETextComparisonLevel::Type ComparisonLevel = ETextComparisonLevel::Default) const;
	int32 CompareToCaseIgnored(const FText& Other) const;
	// Identical means the same shared text unless flags ask for more.
	bool IdenticalTo(const FText& Other, const ETextIdenticalModeFlags CompareModeFlags = ETextIdenticalModeFlags::None) const;

	static FText FromString(const FString& String);
	static FText FromString(FString&& String);
	static FText FromStringView(FStringView InString);
	static FText FromName(const FName& Val);
	static FText AsCultureInvariant(const FString& String);
	static FText AsCultureInvariant(FString&& String);
	static FText AsCultureInvariant(FText Text);
	static FText AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* String);
	static FText TrueText();
	static FText FalseText();

	static FText AsNumber(float Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(double Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(int8 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(int16 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(int32 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(int64 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(uint8 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(uint16 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(uint32 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(uint64 Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsNumber(long Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsPercent(float Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);
	static FText AsPercent(double Val, const FNumberFormattingOptions* const Options = nullptr, const FCulturePtr& TargetCulture = nullptr);

	static FText Format(FTextFormat Fmt, const FFormatNamedArguments& InArguments);
	static FText Format(FTextFormat Fmt, FFormatNamedArguments&& InArguments);
	static FText Format(FTextFormat Fmt, const FFormatOrderedArguments& InArguments);
	static FText Format(FTextFormat Fmt, FFormatOrderedArguments&& InArguments);

	template <typename... ArgTypes>
	static FText Format(FTextFormat Fmt, ArgTypes... Args);

	template <typename... ArgTypes>
	static FText FormatNamed(FTextFormat Fmt, ArgTypes&&... Args);

	template <typename... ArgTypes>
	static FText FormatOrdered(FTextFormat Fmt, ArgTypes&&... Args);

	static FText Join(const FText& Delimiter, const FFormatOrderedArguments& Args);
	static FText Join(const FText& Delimiter, const TArray<FText>& Args);

	static void GetFormatPatternParameters(const FTextFormat& Fmt, TArray<FString>& ParameterNames);

	struct FTextData;

private:
	friend class FTextInspector;
	friend class FInternationalization;
	friend class FTextFormat;

	explicit FText(TSharedRef<FTextData, ESPMode::ThreadSafe> InData, uint32 InFlags);
	static FText MakeGenerated(FString&& Display);
	static FText FormatImpl(const FTextFormat& Fmt, const FFormatOrderedArguments* Ordered, const FFormatNamedArguments* Named);

	TSharedRef<FTextData, ESPMode::ThreadSafe> TextData;
	uint32 Flags;
};

// A value an FText::Format argument takes: numbers, texts and genders (not strings).
class CORE_API FFormatArgumentValue
{
public:
	FFormatArgumentValue() : Type(EFormatArgumentType::Text), TextValue(MakeShared<FText, ESPMode::ThreadSafe>()) {}
	FFormatArgumentValue(const int32 Value) : Type(EFormatArgumentType::Int) { IntValue = Value; }
	FFormatArgumentValue(const uint32 Value) : Type(EFormatArgumentType::UInt) { UIntValue = Value; }
	FFormatArgumentValue(const int64 Value) : Type(EFormatArgumentType::Int) { IntValue = Value; }
	FFormatArgumentValue(const uint64 Value) : Type(EFormatArgumentType::UInt) { UIntValue = Value; }
	FFormatArgumentValue(const long Value) : Type(EFormatArgumentType::Int) { IntValue = Value; }
	FFormatArgumentValue(const float Value) : Type(EFormatArgumentType::Float) { FloatValue = Value; }
	FFormatArgumentValue(const double Value) : Type(EFormatArgumentType::Double) { DoubleValue = Value; }
	FFormatArgumentValue(const FText& Value) : Type(EFormatArgumentType::Text), TextValue(MakeShared<FText, ESPMode::ThreadSafe>(Value)) {}
	FFormatArgumentValue(FText&& Value) : Type(EFormatArgumentType::Text), TextValue(MakeShared<FText, ESPMode::ThreadSafe>(MoveTemp(Value))) {}
	FFormatArgumentValue(ETextGender Value) : Type(EFormatArgumentType::Gender) { UIntValue = (uint64)Value; }

	bool IdenticalTo(const FFormatArgumentValue& Other, const ETextIdenticalModeFlags CompareModeFlags) const;
	FString ToFormattedString(const bool bInRebuildText, const bool bInRebuildAsSource) const;
	void ToFormattedString(const bool bInRebuildText, const bool bInRebuildAsSource, FString& OutResult) const;
	FString ToExportedString(const bool bStripPackageNamespace = false) const;

	EFormatArgumentType GetType() const { return Type; }
	int64 GetIntValue() const { return IntValue; }
	uint64 GetUIntValue() const { return UIntValue; }
	float GetFloatValue() const { return FloatValue; }
	double GetDoubleValue() const { return DoubleValue; }
	const FText& GetTextValue() const { return TextValue.IsValid() ? *TextValue : FText::GetEmpty(); }
	ETextGender GetGenderValue() const { return (ETextGender)UIntValue; }

	EFormatArgumentType Type;
	union
	{
		int64 IntValue;
		uint64 UIntValue;
		float FloatValue;
		double DoubleValue;
	};
	TSharedPtr<FText, ESPMode::ThreadSafe> TextValue;
};

// A format pattern; an FText converts implicitly.
class CORE_API FTextFormat
{
public:
	FTextFormat();
	FTextFormat(const FText& InText, ETextFormatFlags InFormatFlags = ETextFormatFlags::Default);
	static FTextFormat FromString(const FString& InString, ETextFormatFlags InFormatFlags = ETextFormatFlags::Default);
	static FTextFormat FromString(FString&& InString, ETextFormatFlags InFormatFlags = ETextFormatFlags::Default);

	bool IsValid() const { return true; }
	FText GetSourceText() const { return SourceText; }
	const FString& GetSourceString() const { return SourceText.ToString(); }
	ETextFormatFlags GetFormatFlags() const { return FormatFlags; }
	void GetFormatArgumentNames(TArray<FString>& OutArgumentNames) const;

private:
	FText SourceText;
	ETextFormatFlags FormatFlags;
};

class CORE_API FTextInspector
{
public:
	static bool ShouldGatherForLocalization(const FText& Text) { return Text.ShouldGatherForLocalization(); }
	static TOptional<FString> GetNamespace(const FText& Text);
	static TOptional<FString> GetKey(const FText& Text);
	static const FString* GetSourceString(const FText& Text);
	static const FString& GetDisplayString(const FText& Text);
	static uint32 GetFlags(const FText& Text) { return Text.Flags; }
};

namespace UE::Text::Private
{
	template <typename T>
	inline constexpr bool TIsFormatArgument = std::is_constructible_v<FFormatArgumentValue, T>;

	inline void AddNamed(FFormatNamedArguments&) {}
	template <typename NameType, typename ValueType, typename... Rest>
	void AddNamed(FFormatNamedArguments& Args, NameType&& Name, ValueType&& Value, Rest&&... More)
	{
		Args.Emplace(FString(Forward<NameType>(Name)), FFormatArgumentValue(Forward<ValueType>(Value)));
		AddNamed(Args, Forward<Rest>(More)...);
	}
} // namespace UE::Text::Private

template <typename... ArgTypes>
FText FText::Format(FTextFormat Fmt, ArgTypes... Args)
{
	static_assert(sizeof...(ArgTypes) > 0, "FText::Format expects at least one extra argument");
	static_assert((UE::Text::Private::TIsFormatArgument<ArgTypes> && ...), "Invalid argument type passed to FText::Format");
	FFormatOrderedArguments FormatArguments;
	FormatArguments.Reserve(sizeof...(Args));
	(FormatArguments.Emplace(MoveTemp(Args)), ...);
	return Format(MoveTemp(Fmt), MoveTemp(FormatArguments));
}

template <typename... ArgTypes>
FText FText::FormatNamed(FTextFormat Fmt, ArgTypes&&... Args)
{
	static_assert(sizeof...(ArgTypes) % 2 == 0, "FormatNamed should be called with an even number of arguments (name, value pairs)");
	FFormatNamedArguments FormatArguments;
	UE::Text::Private::AddNamed(FormatArguments, Forward<ArgTypes>(Args)...);
	return Format(MoveTemp(Fmt), MoveTemp(FormatArguments));
}

template <typename... ArgTypes>
FText FText::FormatOrdered(FTextFormat Fmt, ArgTypes&&... Args)
{
	FFormatOrderedArguments FormatArguments;
	(FormatArguments.Emplace(FFormatArgumentValue(Forward<ArgTypes>(Args))), ...);
	return Format(MoveTemp(Fmt), MoveTemp(FormatArguments));
}

inline FString LexToString(const FText& Text) { return Text.ToString(); }
