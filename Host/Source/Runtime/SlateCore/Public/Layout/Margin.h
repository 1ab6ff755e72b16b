// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Types/SlateEnums.h"
#include "Types/SlateVector2.h"
#include "Margin.generated.h"

/** Describes the space around a Slate widget. */
USTRUCT(BlueprintType)
struct FMargin
{
	GENERATED_BODY()

	/** Holds the margin to the left. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance)
	float Left;

	/** Holds the margin at the top. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance)
	float Top;

	/** Holds the margin to the right. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance)
	float Right;

	/** Holds the margin at the bottom. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance)
	float Bottom;

public:
	FMargin() : Left(0.0f), Top(0.0f), Right(0.0f), Bottom(0.0f) {}
	FMargin(float UniformMargin) : Left(UniformMargin), Top(UniformMargin), Right(UniformMargin), Bottom(UniformMargin) {}
	FMargin(float Horizontal, float Vertical) : Left(Horizontal), Top(Vertical), Right(Horizontal), Bottom(Vertical) {}
	FMargin(const FVector2f& InVector) : Left(InVector.X), Top(InVector.Y), Right(InVector.X), Bottom(InVector.Y) {}
	FMargin(const FVector2d& InVector) : Left((float)InVector.X), Top((float)InVector.Y), Right((float)InVector.X), Bottom((float)InVector.Y) {}
	FMargin(float InLeft, float InTop, float InRight, float InBottom) : Left(InLeft), Top(InTop), Right(InRight), Bottom(InBottom) {}
	FMargin(const FVector4f& InVector) : Left(InVector.X), Top(InVector.Y), Right(InVector.Z), Bottom(InVector.W) {}
	FMargin(const FVector4d& InVector) : Left((float)InVector.X), Top((float)InVector.Y), Right((float)InVector.Z), Bottom((float)InVector.W) {}

	FMargin operator*(float Scale) const { return FMargin(Left * Scale, Top * Scale, Right * Scale, Bottom * Scale); }
	FMargin operator*(const FMargin& InScale) const { return FMargin(Left * InScale.Left, Top * InScale.Top, Right * InScale.Right, Bottom * InScale.Bottom); }
	FMargin operator+(const FMargin& Other) const { return FMargin(Left + Other.Left, Top + Other.Top, Right + Other.Right, Bottom + Other.Bottom); }
	FMargin operator-(const FMargin& Other) const { return FMargin(Left - Other.Left, Top - Other.Top, Right - Other.Right, Bottom - Other.Bottom); }

	bool operator==(const FMargin& Other) const
	{
		return Left == Other.Left && Right == Other.Right && Top == Other.Top && Bottom == Other.Bottom;
	}
	bool operator!=(const FMargin& Other) const { return !(*this == Other); }

	/** The top-left corner offset. */
	UE::Slate::FDeprecateVector2DResult GetTopLeft() const { return FVector2f(Left, Top); }

	/** The total horizontal and vertical space the margin takes. */
	UE::Slate::FDeprecateVector2DResult GetDesiredSize() const { return FVector2f(Left + Right, Top + Bottom); }

	/** The space the margin takes along one axis. */
	template <EOrientation Orientation>
	float GetTotalSpaceAlong() const
	{
		return Orientation == Orient_Horizontal ? (Left + Right) : (Top + Bottom);
	}

	bool IsUniform() const { return Left == Right && Left == Top && Left == Bottom; }

	FString ToString() const
	{
		return FString::Printf(TEXT("(Left=%f,Top=%f,Right=%f,Bottom=%f)"), (double)Left, (double)Top, (double)Right, (double)Bottom);
	}
};

template <> struct TIsPODType<FMargin> { enum { Value = true }; };
