// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Rendering/DrawElements.h"
#include "Widgets/SWindow.h"

#include <gtest/gtest.h>

namespace SlateTest
{
	/** A window of a pixel size, DPI scale and desktop position holding Content. */
	inline TSharedRef<SWindow> MakeWindow(const TSharedRef<SWidget>& Content, FVector2D PixelSize = FVector2D(800.0, 600.0), float DPIScale = 1.0f, FVector2D Position = FVector2D(0.0, 0.0))
	{
		return SNew(SWindow).ClientSize(PixelSize).DPIScaleFactor(DPIScale).ScreenPosition(Position)[Content];
	}

	/** One frame: prepass and paint. */
	inline void Frame(const TSharedRef<SWindow>& Window, FSlateWindowElementList& Elements)
	{
		Elements.ResetElementList();
		Window->PaintWindow(0.0, 0.016f, Elements, FWidgetStyle(), true);
	}

	inline void ExpectVector(const FVector2f& Actual, float X, float Y)
	{
		EXPECT_FLOAT_EQ(Actual.X, X);
		EXPECT_FLOAT_EQ(Actual.Y, Y);
	}

	/** The absolute top-left corner and size of a widget's last tick-space geometry. */
	inline void ExpectTickRect(const SWidget& Widget, float X, float Y, float Width, float Height)
	{
		const FGeometry& Geometry = Widget.GetTickSpaceGeometry();
		SCOPED_TRACE(TCHAR_TO_UTF8(*Geometry.ToString()));
		ExpectVector(Geometry.GetAbsolutePosition(), X, Y);
		ExpectVector(Geometry.GetAbsoluteSize(), Width, Height);
	}

	inline int32 CountElements(const FSlateWindowElementList& Elements, FSlateDrawElement::EElementType Type)
	{
		int32 Count = 0;
		for (const FSlateDrawElement& Element : Elements.GetUncachedDrawElements())
		{
			Count += Element.GetElementType() == Type ? 1 : 0;
		}
		return Count;
	}
}
