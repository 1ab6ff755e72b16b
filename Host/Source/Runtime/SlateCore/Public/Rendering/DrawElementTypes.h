// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/WeakObjectPtr.h"
#include "Fonts/SlateFontInfo.h"
#include "Layout/Margin.h"
#include "Layout/PaintGeometry.h"
#include "Rendering/RenderingCommon.h"
#include "Styling/SlateBrush.h"

class FSlateWindowElementList;

/** One thing to draw: a box (a brush over a rectangle) or a line of text, on a layer. */
class FSlateDrawElement
{
public:
	enum class EElementType : uint8
	{
		ET_Box,
		ET_DebugQuad,
		ET_Text,
		ET_ShapedText,
		ET_Spline,
		ET_Line,
		ET_Gradient,
		ET_Viewport,
		ET_Border,
		ET_Custom,
		ET_CustomVerts,
		ET_PostProcessPass,
		ET_RoundedBox,
		ET_Count,
	};

	/** A brush drawn over the paint geometry's box, tinted by InTint. Nothing for a null or NoDrawType brush. */
	static SLATECORE_API void MakeBox(FSlateWindowElementList& ElementList, uint32 InLayer, const FPaintGeometry& PaintGeometry, const FSlateBrush* InBrush, ESlateDrawEffect InDrawEffects = ESlateDrawEffect::None, const FLinearColor& InTint = FLinearColor::White);

	/** A line of text with its top-left corner at the paint geometry's origin. Nothing for empty text. */
	static SLATECORE_API void MakeText(FSlateWindowElementList& ElementList, uint32 InLayer, const FPaintGeometry& PaintGeometry, const FString& InText, const FSlateFontInfo& InFontInfo, ESlateDrawEffect InDrawEffects = ESlateDrawEffect::None, const FLinearColor& InTint = FLinearColor::White);

	EElementType GetElementType() const { return ElementType; }
	int32 GetLayer() const { return LayerId; }
	ESlateDrawEffect GetDrawEffects() const { return DrawEffects; }
	const FSlateRenderTransform& GetRenderTransform() const { return RenderTransform; }
	const FVector2f& GetLocalSize() const { return LocalSize; }
	float GetScale() const { return Scale; }
	const FLinearColor& GetTint() const { return Tint; }

	/** Box payload. */
	UObject* GetResourceObject() const { return ResourceObject.Get(); }
	ESlateBrushDrawType::Type GetBrushDrawType() const { return BrushDrawType; }
	const FMargin& GetBrushMargin() const { return BrushMargin; }
	const FVector2f& GetBrushImageSize() const { return BrushImageSize; }

	/** Text payload. */
	const FString& GetText() const { return Text; }
	const FSlateFontInfo& GetFontInfo() const { return FontInfo; }

private:
	void Init(uint32 InLayer, const FPaintGeometry& PaintGeometry, ESlateDrawEffect InDrawEffects, const FLinearColor& InTint);

	EElementType ElementType = EElementType::ET_Box;
	int32 LayerId = 0;
	ESlateDrawEffect DrawEffects = ESlateDrawEffect::None;
	FSlateRenderTransform RenderTransform;
	FVector2f LocalSize = FVector2f(0.0f, 0.0f);
	float Scale = 1.0f;
	FLinearColor Tint = FLinearColor::White;

	TWeakObjectPtr<UObject> ResourceObject;
	ESlateBrushDrawType::Type BrushDrawType = ESlateBrushDrawType::Image;
	FMargin BrushMargin;
	FVector2f BrushImageSize = FVector2f(0.0f, 0.0f);

	FString Text;
	FSlateFontInfo FontInfo;
};
