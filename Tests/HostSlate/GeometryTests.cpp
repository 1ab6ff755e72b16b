// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Layout/Geometry.h"
#include "SlateTestSupport.h"

#include <gtest/gtest.h>

using SlateTest::ExpectVector;

TEST(HostSlateGeometry, DefaultIsIdentityOfSizeZero)
{
	const FGeometry Geometry;
	ExpectVector(Geometry.GetLocalSize(), 0.0f, 0.0f);
	EXPECT_EQ(Geometry.Scale, 1.0f);
	ExpectVector(Geometry.GetAbsolutePosition(), 0.0f, 0.0f);
	ExpectVector(Geometry.AbsoluteToLocal(FVector2D(12.5, -3.0)), 12.5f, -3.0f);
}

TEST(HostSlateGeometry, ChildOffsetsAreInTheParentsUnitsAndScalesMultiply)
{
	const FGeometry Root = FGeometry::MakeRoot(FVector2D(1280.0, 720.0), FSlateLayoutTransform(1.5f, FVector2D(100.0, 50.0)));
	const FGeometry Child = Root.MakeChild(FVector2D(200.0, 100.0), FSlateLayoutTransform(2.0f, FVector2D(10.0, 20.0)));
	const FGeometry GrandChild = Child.MakeChild(FVector2D(5.0, 5.0), FSlateLayoutTransform(FVector2D(3.0, 4.0)));

	EXPECT_FLOAT_EQ(Child.Scale, 3.0f);
	// 10 * 1.5 + 100, 20 * 1.5 + 50
	ExpectVector(Child.AbsolutePosition, 115.0f, 80.0f);
	ExpectVector(Child.Position, 10.0f, 20.0f);
	ExpectVector(Child.GetAbsoluteSize(), 600.0f, 300.0f);
	// 3 * 3 + 115, 4 * 3 + 80
	ExpectVector(GrandChild.GetAbsolutePosition(), 124.0f, 92.0f);
	ExpectVector(GrandChild.GetDrawSize(), 15.0f, 15.0f);
	ExpectVector(GrandChild.GetAccumulatedLayoutTransform().GetTranslation(), 124.0f, 92.0f);
}

TEST(HostSlateGeometry, AbsoluteToLocalIsExactForPowerOfTwoScales)
{
	for (const float Scale : {0.5f, 1.0f, 2.0f, 4.0f})
	{
		const FGeometry Geometry = FGeometry::MakeRoot(FVector2D(100.0, 100.0), FSlateLayoutTransform(Scale, FVector2D(37.0, 91.0)));
		const FVector2f Local = Geometry.AbsoluteToLocal(FVector2D(37.0 + 10.25 * Scale, 91.0 + 3.5 * Scale));
		ExpectVector(Local, 10.25f, 3.5f);
	}
}

TEST(HostSlateGeometry, AbsoluteToLocalUsesTheFloatInverseOfTheRenderTransform)
{
	// Scale 1.5 has no exact float inverse: the engine inverts as adjugate * (1 / determinant).
	const float Scale = 1.5f;
	const FVector2f Translation(333.3f, 77.7f);
	const FGeometry Geometry = FGeometry::MakeRoot(FVector2D(1280.0, 720.0), FSlateLayoutTransform(Scale, Translation));

	const FVector2D Absolute(1000.7, 615.3);
	const FVector2f Local = Geometry.AbsoluteToLocal(Absolute);

	const float InvDet = 1.0f / (Scale * Scale - 0.0f * 0.0f);
	const float K = Scale * InvDet;
	const FVector2f P((float)Absolute.X, (float)Absolute.Y);
	const FVector2f InvTranslation(-Translation.X * K + -Translation.Y * 0.0f, -Translation.X * 0.0f + -Translation.Y * K);
	EXPECT_EQ(Local.X, P.X * K + P.Y * 0.0f + InvTranslation.X);
	EXPECT_EQ(Local.Y, P.X * 0.0f + P.Y * K + InvTranslation.Y);

	// And it agrees with the exact answer to a few float steps.
	EXPECT_NEAR(Local.X, (Absolute.X - Translation.X) / Scale, 1e-3);
	EXPECT_NEAR(Local.Y, (Absolute.Y - Translation.Y) / Scale, 1e-3);
}

TEST(HostSlateGeometry, LocalToAbsoluteAndBackRoundTrip)
{
	const FGeometry Root = FGeometry::MakeRoot(FVector2D(800.0, 600.0), FSlateLayoutTransform(1.25f, FVector2D(12.0, 34.0)));
	const FGeometry Child = Root.MakeChild(FVector2D(64.0, 64.0), FSlateLayoutTransform(FVector2D(129.0, 65.0)));
	for (const FVector2f Point : {FVector2f(0.0f, 0.0f), FVector2f(63.9f, 1.0f), FVector2f(32.5f, 64.0f)})
	{
		const FVector2f Back = Child.AbsoluteToLocal(Child.LocalToAbsolute(Point));
		EXPECT_NEAR(Back.X, Point.X, 1e-4);
		EXPECT_NEAR(Back.Y, Point.Y, 1e-4);
	}
}

TEST(HostSlateGeometry, DoublePrecisionInputIsRoundedToFloatFirst)
{
	const FGeometry Geometry = FGeometry::MakeRoot(FVector2D(10.0, 10.0), FSlateLayoutTransform(1.0f));
	// 0.1 is not a float; the result is the float nearest to it, not the double.
	const FVector2D Local = Geometry.AbsoluteToLocal(FVector2D(0.1, 0.1));
	EXPECT_EQ(Local.X, (double)0.1f);
	EXPECT_NE(Local.X, 0.1);
}

TEST(HostSlateGeometry, IsUnderLocationIncludesEdges)
{
	const FGeometry Root = FGeometry::MakeRoot(FVector2D(100.0, 50.0), FSlateLayoutTransform(2.0f, FVector2D(10.0, 10.0)));
	EXPECT_TRUE(Root.IsUnderLocation(FVector2D(10.0, 10.0)));
	EXPECT_TRUE(Root.IsUnderLocation(FVector2D(210.0, 110.0)));
	EXPECT_TRUE(Root.IsUnderLocation(FVector2D(100.0, 60.0)));
	EXPECT_FALSE(Root.IsUnderLocation(FVector2D(9.9, 50.0)));
	EXPECT_FALSE(Root.IsUnderLocation(FVector2D(100.0, 110.5)));
}

TEST(HostSlateGeometry, AppendTransformMovesToDesktopSpace)
{
	FGeometry Geometry = FGeometry::MakeRoot(FVector2D(100.0, 100.0), FSlateLayoutTransform(1.5f)).MakeChild(FVector2D(10.0, 10.0), FSlateLayoutTransform(FVector2D(4.0, 6.0)));
	Geometry.AppendTransform(FSlateLayoutTransform(FVector2D(200.0, 300.0)));
	ExpectVector(Geometry.GetAbsolutePosition(), 206.0f, 309.0f);
	EXPECT_FLOAT_EQ(Geometry.Scale, 1.5f);
	ExpectVector(Geometry.AbsoluteToLocal(FVector2D(206.0, 309.0)), 0.0f, 0.0f);
}

TEST(HostSlateGeometry, LayoutTransformInverseAndConcatenate)
{
	const FSlateLayoutTransform A(2.0f, FVector2D(3.0, 4.0));
	const FSlateLayoutTransform B(0.5f, FVector2D(-1.0, 1.0));
	const FSlateLayoutTransform AB = Concatenate(A, B);
	ExpectVector(AB.TransformPoint(FVector2f(1.0f, 1.0f)), B.TransformPoint(A.TransformPoint(FVector2f(1.0f, 1.0f))).X, B.TransformPoint(A.TransformPoint(FVector2f(1.0f, 1.0f))).Y);
	ExpectVector(A.Inverse().TransformPoint(A.TransformPoint(FVector2f(7.0f, -2.0f))), 7.0f, -2.0f);
	EXPECT_TRUE(Concatenate(A, A.Inverse()).IsIdentity());
}
