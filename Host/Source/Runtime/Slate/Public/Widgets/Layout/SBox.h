// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Types/SlateStructs.h"
#include "Widgets/SPanel.h"

/** One child, with optional overrides of the desired width and height and limits on them. */
class SLATE_API SBox : public SPanel
{
public:
	SLATE_BEGIN_ARGS(SBox)
		: _HAlign(HAlign_Fill)
		, _VAlign(VAlign_Fill)
		, _Padding(0.0f)
		, _WidthOverride(FOptionalSize())
		, _HeightOverride(FOptionalSize())
		, _MinDesiredWidth(FOptionalSize())
		, _MinDesiredHeight(FOptionalSize())
		, _MaxDesiredWidth(FOptionalSize())
		, _MaxDesiredHeight(FOptionalSize())
		, _MinAspectRatio(FOptionalSize())
		, _MaxAspectRatio(FOptionalSize())
	{
	}
	SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
	SLATE_ARGUMENT(EVerticalAlignment, VAlign)
	SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_DEFAULT_SLOT(FArguments, Content)
	/** When specified, ignore the content's desired size and report the WidthOverride as the Box's desired width. */
	SLATE_ATTRIBUTE(FOptionalSize, WidthOverride)
	/** When specified, ignore the content's desired size and report the HeightOverride as the Box's desired height. */
	SLATE_ATTRIBUTE(FOptionalSize, HeightOverride)
	SLATE_ATTRIBUTE(FOptionalSize, MinDesiredWidth)
	SLATE_ATTRIBUTE(FOptionalSize, MinDesiredHeight)
	SLATE_ATTRIBUTE(FOptionalSize, MaxDesiredWidth)
	SLATE_ATTRIBUTE(FOptionalSize, MaxDesiredHeight)
	SLATE_ATTRIBUTE(FOptionalSize, MinAspectRatio)
	SLATE_ATTRIBUTE(FOptionalSize, MaxAspectRatio)
	SLATE_END_ARGS()

	SLATE_API SBox();

	SLATE_API void Construct(const FArguments& InArgs);

	SLATE_API virtual FChildren* GetChildren() override;
	SLATE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

	SLATE_API void SetContent(const TSharedRef<SWidget>& InContent);
	SLATE_API void SetHAlign(EHorizontalAlignment HAlign);
	SLATE_API void SetVAlign(EVerticalAlignment VAlign);
	SLATE_API void SetPadding(const FMargin& InPadding);
	SLATE_API void SetWidthOverride(FOptionalSize InWidthOverride);
	SLATE_API void SetHeightOverride(FOptionalSize InHeightOverride);
	SLATE_API void SetMinDesiredWidth(FOptionalSize InMinDesiredWidth);
	SLATE_API void SetMinDesiredHeight(FOptionalSize InMinDesiredHeight);
	SLATE_API void SetMaxDesiredWidth(FOptionalSize InMaxDesiredWidth);
	SLATE_API void SetMaxDesiredHeight(FOptionalSize InMaxDesiredHeight);
	SLATE_API void SetMinAspectRatio(FOptionalSize InMinAspectRatio);
	SLATE_API void SetMaxAspectRatio(FOptionalSize InMaxAspectRatio);

	FOptionalSize GetWidthOverride() const { return WidthOverride; }
	FOptionalSize GetHeightOverride() const { return HeightOverride; }

protected:
	SLATE_API virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const override;
	SLATE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

	float ComputeDesiredWidth() const;
	float ComputeDesiredHeight() const;

	/** The one child. */
	TSingleWidgetChildrenWithBasicLayoutSlot<> ChildSlot;

private:
	FOptionalSize WidthOverride;
	FOptionalSize HeightOverride;
	FOptionalSize MinDesiredWidth;
	FOptionalSize MinDesiredHeight;
	FOptionalSize MaxDesiredWidth;
	FOptionalSize MaxDesiredHeight;
	FOptionalSize MinAspectRatio;
	FOptionalSize MaxAspectRatio;
};
