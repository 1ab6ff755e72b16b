// Copyright Quarn. All Rights Reserved.

#include "Components/Image.h"
#include "Engine/Texture2D.h"
#include "Widgets/Images/SImage.h"

UImage::UImage(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, ColorAndOpacity(FLinearColor::White)
	, bFlipForRightToLeftFlowDirection(false)
{
}

void UImage::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	MyImage.Reset();
}

TSharedRef<SWidget> UImage::RebuildWidget()
{
	MyImage = SNew(SImage).FlipForRightToLeftFlowDirection(bFlipForRightToLeftFlowDirection);
	return MyImage.ToSharedRef();
}

void UImage::SynchronizeProperties()
{
	Super::SynchronizeProperties();
	if (MyImage.IsValid())
	{
		MyImage->SetImage(&Brush);
		MyImage->SetColorAndOpacity(ColorAndOpacity);
	}
}

void UImage::SetColorAndOpacity(FLinearColor InColorAndOpacity)
{
	ColorAndOpacity = InColorAndOpacity;
	if (MyImage.IsValid())
	{
		MyImage->SetColorAndOpacity(ColorAndOpacity);
	}
}

const FLinearColor& UImage::GetColorAndOpacity() const
{
	return ColorAndOpacity;
}

void UImage::SetOpacity(float InOpacity)
{
	ColorAndOpacity.A = InOpacity;
	if (MyImage.IsValid())
	{
		MyImage->SetColorAndOpacity(ColorAndOpacity);
	}
}

void UImage::SetDesiredSizeOverride(FVector2D DesiredSize)
{
	// Only a built image takes the override, as in the engine.
	if (MyImage.IsValid())
	{
		MyImage->SetDesiredSizeOverride(DesiredSize);
	}
}

void UImage::SetBrushTintColor(FSlateColor TintColor)
{
	if (Brush.TintColor != TintColor)
	{
		Brush.TintColor = TintColor;
		if (MyImage.IsValid())
		{
			MyImage->InvalidateImage();
		}
	}
}

void UImage::SetBrushResourceObject(UObject* ResourceObject)
{
	if (Brush.GetResourceObject() != ResourceObject)
	{
		Brush.SetResourceObject(ResourceObject);
		if (MyImage.IsValid())
		{
			MyImage->InvalidateImage();
		}
	}
}

void UImage::SetBrush(const FSlateBrush& InBrush)
{
	if (Brush != InBrush)
	{
		Brush = InBrush;
		if (MyImage.IsValid())
		{
			MyImage->InvalidateImage();
		}
	}
}

const FSlateBrush& UImage::GetBrush() const
{
	return Brush;
}

void UImage::SetBrushFromTexture(UTexture2D* Texture, bool bMatchSize)
{
	// The same texture again changes nothing, not even the size.
	if (Brush.GetResourceObject() == Texture)
	{
		return;
	}
	Brush.SetResourceObject(Texture);
	if (bMatchSize)
	{
		if (Texture)
		{
			Brush.ImageSize.X = (float)Texture->GetSizeX();
			Brush.ImageSize.Y = (float)Texture->GetSizeY();
		}
		else
		{
			Brush.ImageSize = FVector2f(0.0f, 0.0f);
		}
	}
	if (MyImage.IsValid())
	{
		MyImage->InvalidateImage();
	}
}
