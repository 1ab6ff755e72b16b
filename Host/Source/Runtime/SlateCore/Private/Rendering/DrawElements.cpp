// Copyright Quarn. All Rights Reserved.

#include "Rendering/DrawElements.h"

void FSlateDrawElement::Init(uint32 InLayer, const FPaintGeometry& PaintGeometry, ESlateDrawEffect InDrawEffects, const FLinearColor& InTint)
{
	LayerId = (int32)InLayer;
	DrawEffects = InDrawEffects;
	RenderTransform = PaintGeometry.GetAccumulatedRenderTransform();
	LocalSize = PaintGeometry.GetLocalSize().ToVector2f();
	Scale = PaintGeometry.DrawScale;
	Tint = InTint;
}

void FSlateDrawElement::MakeBox(FSlateWindowElementList& ElementList, uint32 InLayer, const FPaintGeometry& PaintGeometry, const FSlateBrush* InBrush, ESlateDrawEffect InDrawEffects, const FLinearColor& InTint)
{
	if (InBrush == nullptr || InBrush->DrawAs == ESlateBrushDrawType::NoDrawType)
	{
		return;
	}
	FSlateDrawElement& Element = ElementList.AddUninitialized();
	switch (InBrush->DrawAs)
	{
	case ESlateBrushDrawType::Border:
		Element.ElementType = EElementType::ET_Border;
		break;
	case ESlateBrushDrawType::RoundedBox:
		Element.ElementType = EElementType::ET_RoundedBox;
		break;
	default:
		Element.ElementType = EElementType::ET_Box;
		break;
	}
	Element.Init(InLayer, PaintGeometry, InDrawEffects, InTint);
	Element.ResourceObject = InBrush->GetResourceObject();
	Element.BrushDrawType = InBrush->GetDrawType();
	Element.BrushMargin = InBrush->GetMargin();
	Element.BrushImageSize = InBrush->GetImageSize().ToVector2f();
}

void FSlateDrawElement::MakeText(FSlateWindowElementList& ElementList, uint32 InLayer, const FPaintGeometry& PaintGeometry, const FString& InText, const FSlateFontInfo& InFontInfo, ESlateDrawEffect InDrawEffects, const FLinearColor& InTint)
{
	if (InText.IsEmpty())
	{
		return;
	}
	FSlateDrawElement& Element = ElementList.AddUninitialized();
	Element.ElementType = EElementType::ET_Text;
	Element.Init(InLayer, PaintGeometry, InDrawEffects, InTint);
	Element.Text = InText;
	Element.FontInfo = InFontInfo;
}
