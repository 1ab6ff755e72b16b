// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Styling/SlateColor.h"
#include "Widgets/SWidget.h"

/** A widget with one child in a padded, aligned slot, which it tints and passes a foreground colour to. */
class SLATECORE_API SCompoundWidget : public SWidget
{
public:
	const FLinearColor& GetColorAndOpacity() const { return ColorAndOpacity; }
	void SetColorAndOpacity(const FLinearColor& InColorAndOpacity) { ColorAndOpacity = InColorAndOpacity; }

	const FSlateColor& GetForegroundColor() const { return ForegroundColor; }
	void SetForegroundColor(const FSlateColor& InForegroundColor) { ForegroundColor = InForegroundColor; }

	FVector2D GetContentScale() const { return ContentScale; }
	void SetContentScale(const FVector2D& InContentScale) { ContentScale = InContentScale; }

	SLATECORE_API virtual FChildren* GetChildren() override;
	SLATECORE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

protected:
	SLATECORE_API SCompoundWidget();

	SLATECORE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;
	SLATECORE_API virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const override;

	/** The one child. */
	FCompoundWidgetOneChildSlot ChildSlot;

private:
	FVector2D ContentScale = FVector2D(1.0, 1.0);
	FLinearColor ColorAndOpacity = FLinearColor::White;
	FSlateColor ForegroundColor = FSlateColor::UseForeground();
};
