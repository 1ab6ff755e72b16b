// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include <gtest/gtest.h>

TEST(HostCoreMath, RoundingRules)
{
	EXPECT_EQ(FMath::RoundHalfFromZero(2.5), 3.0);
	EXPECT_EQ(FMath::RoundHalfFromZero(-2.5), -3.0);
	EXPECT_EQ(FMath::RoundHalfFromZero(2.4999), 2.0);
	EXPECT_EQ(FMath::RoundHalfToZero(2.5), 2.0);
	EXPECT_EQ(FMath::RoundToInt(2.5f), 3);
	EXPECT_EQ(FMath::RoundToInt(-2.5f), -2);
	EXPECT_EQ(FMath::FloorToInt(-1.5f), -2);
	EXPECT_EQ(FMath::CeilToInt(1.1f), 2);
	EXPECT_EQ(FMath::TruncToInt(-1.9f), -1);
	EXPECT_EQ(FMath::Clamp(5, 0, 3), 3);
	EXPECT_EQ(FMath::Sign(-4.0), -1.0);
	EXPECT_EQ(FMath::Lerp(0.0, 10.0, 0.25), 2.5);
	EXPECT_TRUE(FMath::IsNaN(std::nan("")));
	EXPECT_FALSE(FMath::IsFinite(INFINITY));
	EXPECT_TRUE(FMath::IsNearlyEqual(1.0f, 1.00001f, UE_KINDA_SMALL_NUMBER));
	EXPECT_EQ(FMath::RoundUpToPowerOfTwo(17), 32u);
}

TEST(HostCoreMath, RandomNumbersStayInRange)
{
	FMath::RandInit(42);
	const int32 First = FMath::Rand();
	FMath::RandInit(42);
	EXPECT_EQ(FMath::Rand(), First);
	bool bSawMin = false;
	bool bSawMax = false;
	for (int32 Index = 0; Index < 2000; ++Index)
	{
		const int32 Value = FMath::RandRange(1, 3);
		ASSERT_GE(Value, 1);
		ASSERT_LE(Value, 3);
		bSawMin |= Value == 1;
		bSawMax |= Value == 3;
		const float F = FMath::FRand();
		ASSERT_GE(F, 0.0f);
		ASSERT_LT(F, 1.0f);
		const float R = FMath::RandRange(-2.0f, 2.0f);
		ASSERT_GE(R, -2.0f);
		ASSERT_LE(R, 2.0f);
	}
	EXPECT_TRUE(bSawMin && bSawMax);
}

TEST(HostCoreMath, VectorsAndPoints)
{
	static_assert(std::is_same_v<decltype(FVector2D::X), double>, "FVector2D has double components");
	static_assert(std::is_same_v<decltype(FVector2f::X), float>, "FVector2f has float components");
	const FVector2D A(3.0, 4.0);
	EXPECT_EQ(A.Size(), 5.0);
	EXPECT_EQ(A + FVector2D(1, 1), FVector2D(4, 5));
	EXPECT_EQ(A * 2.0, FVector2D(6, 8));
	EXPECT_EQ(2.0 * A, FVector2D(6, 8));
	EXPECT_EQ(A | FVector2D(1, 0), 3.0);
	EXPECT_TRUE(A.GetSafeNormal().Equals(FVector2D(0.6, 0.8)));
	EXPECT_EQ(FVector2D::ZeroVector, FVector2D(0, 0));
	EXPECT_EQ(A.ToString(), FString(TEXT("X=3.000 Y=4.000")));
	EXPECT_EQ(FVector2f(A), FVector2f(3.0f, 4.0f));
	const FIntPoint P(2, 3);
	EXPECT_EQ(P + FIntPoint(1, 1), FIntPoint(3, 4));
	EXPECT_EQ(FVector2D(P), FVector2D(2, 3));
	EXPECT_EQ(P.ToString(), FString(TEXT("X=2 Y=3")));
	EXPECT_EQ(FVector2D(1.6, -1.6).IntPoint(), FIntPoint(2, -2));
}

TEST(HostCoreMath, ColorsConvertThroughSRGB)
{
	const FLinearColor FromColor(FColor(255, 128, 0, 51));
	EXPECT_FLOAT_EQ(FromColor.R, 1.0f);
	EXPECT_NEAR(FromColor.G, 0.2158605f, 1e-6f);
	EXPECT_FLOAT_EQ(FromColor.B, 0.0f);
	EXPECT_FLOAT_EQ(FromColor.A, 0.2f);
	EXPECT_EQ(FromColor.ToFColor(true), FColor(255, 128, 0, 51));
	EXPECT_EQ(FLinearColor(0.5f, 0.5f, 0.5f).ToFColor(false), FColor(127, 127, 127));
	EXPECT_FLOAT_EQ(FColor(255, 0, 0).ReinterpretAsLinear().R, 1.0f);
	EXPECT_EQ(FLinearColor(ForceInit), FLinearColor(0, 0, 0, 0));
	EXPECT_EQ(FLinearColor::White, FLinearColor(1, 1, 1, 1));
	EXPECT_EQ(FLinearColor::Gray.CopyWithNewOpacity(0.5f).A, 0.5f);
	EXPECT_EQ(FColor::FromHex(TEXT("#FF8000")), FColor(255, 128, 0));
	EXPECT_EQ(sizeof(FColor), 4u);
}

TEST(HostCoreMath, TransformInverseFollowsTheFloatRecipe)
{
	const float Scale = 1.25f;
	const FVector2f Offset(10.0f, 20.0f);
	const FTransform2f Transform(Scale, Offset);
	const FVector2f Local(7.0f, 3.0f);
	const FVector2f Absolute = Transform.TransformPoint(Local);
	EXPECT_EQ(Absolute, FVector2f(7.0f * Scale + 10.0f, 3.0f * Scale + 20.0f));

	// Inverse factor k = s * (1 / (s*s)), inverse translation (-T) * k, each rounded to float.
	const float InvDet = 1.0f / (Scale * Scale);
	const float K = Scale * InvDet;
	const FVector2f Expected(Absolute.X * K + (-Offset.X) * K, Absolute.Y * K + (-Offset.Y) * K);
	const FVector2f Back = TransformPoint(Inverse(Transform), Absolute);
	EXPECT_EQ(Back, Expected);
	EXPECT_TRUE(Back.Equals(Local, 1e-5f));

	const FTransform2f Child(2.0f, FVector2f(1.0f, 1.0f));
	const FTransform2f Combined = Concatenate(Child, Transform);
	EXPECT_EQ(Combined.TransformPoint(Local), Transform.TransformPoint(Child.TransformPoint(Local)));
	EXPECT_TRUE(Concatenate(Transform, Inverse(Transform)).GetMatrix().IsNearlyEqual(FMatrix2x2f()));
	EXPECT_EQ(TransformPoint(2.0f, FVector2f(1, 2)), FVector2f(2, 4));
}
