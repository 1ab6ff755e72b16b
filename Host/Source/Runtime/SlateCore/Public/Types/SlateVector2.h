// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "SlateVector2.generated.h"

// Slate stores positions and sizes in single precision. These types let an API take and return
// either precision, as the engine's do, so that code written against FVector2D still compiles.

struct FDeprecateSlateVector2D;

namespace UE::Slate
{
	inline const FVector2f& CastToVector2f(const FVector2f& InValue)
	{
		return InValue;
	}

	inline FVector2f CastToVector2f(const FVector2d& InValue)
	{
		return FVector2f((float)InValue.X, (float)InValue.Y);
	}

	inline FVector2f CastToVector2f(const FIntPoint& InValue)
	{
		return FVector2f((float)InValue.X, (float)InValue.Y);
	}

	/** A parameter that accepts a vector of either precision; a double vector is rounded to float. */
	struct FDeprecateVector2DParameter : public FVector2f
	{
		FDeprecateVector2DParameter() = default;
		FDeprecateVector2DParameter(float InX, float InY) : FVector2f(InX, InY) {}
		FDeprecateVector2DParameter(const FVector2f& InValue) : FVector2f(InValue) {}
		FDeprecateVector2DParameter(const FVector2d& InValue) : FVector2f(CastToVector2f(InValue)) {}
		FDeprecateVector2DParameter(const FIntPoint& InValue) : FVector2f(CastToVector2f(InValue)) {}

		const FVector2f& ToVector2f() const { return *this; }
	};

	/** A result that converts to a vector of either precision. */
	struct FDeprecateVector2DResult : public FVector2f
	{
		FDeprecateVector2DResult() = default;
		FDeprecateVector2DResult(const FVector2f& InValue) : FVector2f(InValue) {}

		operator FVector2d() const { return FVector2d((double)X, (double)Y); }
		const FVector2f& ToVector2f() const { return *this; }
		FVector2d ToVector2d() const { return FVector2d((double)X, (double)Y); }

		FVector2d operator+(const FVector2d& Other) const { return ToVector2d() + Other; }
		FVector2d operator-(const FVector2d& Other) const { return ToVector2d() - Other; }
		FVector2d operator*(const FVector2d& Other) const { return ToVector2d() * Other; }
		FVector2d operator/(const FVector2d& Other) const { return ToVector2d() / Other; }
		FVector2f operator+(const FVector2f& Other) const { return ToVector2f() + Other; }
		FVector2f operator-(const FVector2f& Other) const { return ToVector2f() - Other; }
		FVector2f operator*(const FVector2f& Other) const { return ToVector2f() * Other; }
		FVector2f operator/(const FVector2f& Other) const { return ToVector2f() / Other; }
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FVector2f operator*(FArg Scale) const { return ToVector2f() * Scale; }
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FVector2f operator/(FArg Scale) const { return ToVector2f() / Scale; }
		bool operator==(const FVector2f& Other) const { return X == Other.X && Y == Other.Y; }
		bool operator!=(const FVector2f& Other) const { return !(*this == Other); }
		bool operator==(const FVector2d& Other) const { return ToVector2d() == Other; }
		bool operator!=(const FVector2d& Other) const { return !(*this == Other); }
	};
}

/** A float vector stored in Slate structures, readable as either precision. */
USTRUCT(BlueprintType)
struct FDeprecateSlateVector2D : public FVector2f
{
	GENERATED_BODY()

	FDeprecateSlateVector2D() = default;
	FDeprecateSlateVector2D(float InX, float InY) : FVector2f(InX, InY) {}
	FDeprecateSlateVector2D(const FVector2f& InValue) : FVector2f(InValue) {}
	FDeprecateSlateVector2D(const FVector2d& InValue) : FVector2f(UE::Slate::CastToVector2f(InValue)) {}

	operator FVector2d() const { return FVector2d((double)X, (double)Y); }

	FDeprecateSlateVector2D& operator=(const FVector2f& InValue)
	{
		X = InValue.X;
		Y = InValue.Y;
		return *this;
	}
	FDeprecateSlateVector2D& operator=(const FVector2d& InValue)
	{
		*this = UE::Slate::CastToVector2f(InValue);
		return *this;
	}

	bool operator==(const FDeprecateSlateVector2D& Other) const { return X == Other.X && Y == Other.Y; }
	bool operator!=(const FDeprecateSlateVector2D& Other) const { return !(*this == Other); }
};

namespace UE::Slate
{
	inline const FVector2f& CastToVector2f(const FDeprecateSlateVector2D& InValue)
	{
		return InValue;
	}
}
