// Copyright Quarn. All Rights Reserved.

#include "Widgets/SNullWidget.h"
#include "Layout/Children.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SWidget.h"

/** The content of SNullWidget::NullWidget: nothing to arrange, nothing to paint, no size. */
class SNullWidgetContent : public SWidget
{
public:
	SLATE_BEGIN_ARGS(SNullWidgetContent)
	{
		_Visibility = EVisibility::SelfHitTestInvisible;
	}
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs) {}

	SNullWidgetContent()
	{
		SetCanTick(false);
		bCanSupportFocus = false;
		bCanHaveChildren = false;
	}

	virtual void SetVisibility(EVisibility InVisibility) override final
	{
		ensureMsgf(!IsConstructed(), TEXT("Attempting to SetVisibility() on SNullWidget. Mutating SNullWidget is not allowed."));
	}

	virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override
	{
		return LayerId;
	}

	virtual FChildren* GetChildren() override final { return &FNoChildren::NoChildrenInstance; }

	virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const override final {}

protected:
	virtual FVector2D ComputeDesiredSize(float) const override final { return FVector2D(0.0, 0.0); }
};

namespace NullWidgetPrivate
{
	TSharedRef<SWidget> Construct()
	{
		static TSharedRef<SWidget> Result = SNew(SNullWidgetContent).Visibility(EVisibility::Hidden);
		return Result;
	}
}

TSharedRef<SWidget> SNullWidget::NullWidget = NullWidgetPrivate::Construct();
