// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Widgets/IToolTip.h"
#include "Widgets/SLeafWidget.h"

/**
 * The tooltip SWidget::SetToolTipText makes (the engine's application makes an SToolTip). It only
 * holds the text: tooltips are opened by the application on hover, never painted with the widget.
 */
class SHostTextToolTip : public SLeafWidget, public IToolTip
{
public:
	SLATE_BEGIN_ARGS(SHostTextToolTip)
	{
	}
	SLATE_ARGUMENT(FText, Text)
	SLATE_END_ARGS()

	SHostTextToolTip();
	virtual ~SHostTextToolTip() override;

	void Construct(const FArguments& InArgs) { Text = InArgs._Text; }

	const FText& GetText() const { return Text; }

	/** The tooltip as this type, when it is one. */
	static const SHostTextToolTip* Find(const IToolTip* ToolTip);

	// IToolTip
	virtual TSharedRef<SWidget> AsWidget() override { return AsShared(); }
	virtual TSharedRef<SWidget> GetContentWidget() override { return AsShared(); }
	virtual void SetContentWidget(const TSharedRef<SWidget>& InContentWidget) override {}
	virtual bool IsEmpty() const override { return Text.IsEmpty(); }
	virtual bool IsInteractive() const override { return false; }
	virtual void OnOpening() override {}
	virtual void OnClosed() override {}

	virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override
	{
		return LayerId;
	}

protected:
	virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override { return FVector2D(0.0, 0.0); }

private:
	FText Text;
};
