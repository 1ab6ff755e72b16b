// Copyright Quarn. All Rights Reserved.

#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "Styling/WidgetStyle.h"

const FLinearColor& FSlateColor::GetColor(const FWidgetStyle& InWidgetStyle) const
{
	switch (ColorUseRule)
	{
	case ESlateColorStylingMode::UseColor_Specified:
		return SpecifiedColor;
	case ESlateColorStylingMode::UseColor_ColorTable:
		return LinkedSpecifiedColor.IsValid() ? *LinkedSpecifiedColor : SpecifiedColor;
	case ESlateColorStylingMode::UseColor_Foreground_Subdued:
		return InWidgetStyle.GetSubduedForegroundColor();
	case ESlateColorStylingMode::UseColor_Foreground:
	case ESlateColorStylingMode::UseColor_UseStyle:
	default:
		return InWidgetStyle.GetForegroundColor();
	}
}

FSlateBrush::FSlateBrush()
	: ImageSize(SlateBrushDefs::DefaultImageSize, SlateBrushDefs::DefaultImageSize)
	, Margin(0.0f)
	, TintColor(FLinearColor::White)
	, ResourceObject(nullptr)
	, ResourceName(NAME_None)
	, DrawAs(ESlateBrushDrawType::Image)
	, Tiling(ESlateBrushTileType::NoTile)
	, Mirroring(ESlateBrushMirrorType::NoMirror)
	, ImageType(ESlateBrushImageType::NoImage)
{
}

void FSlateBrush::SetResourceObject(UObject* InResourceObject)
{
	if (ResourceObject != InResourceObject)
	{
		ResourceObject = InResourceObject;
		// A brush with a texture draws it in full colour; without one it is a plain box of its tint.
		ImageType = InResourceObject ? ESlateBrushImageType::FullColor : ESlateBrushImageType::NoImage;
	}
}

FLinearColor FSlateBrush::GetTint(const FWidgetStyle& InWidgetStyle) const
{
	return TintColor.GetColor(InWidgetStyle);
}
