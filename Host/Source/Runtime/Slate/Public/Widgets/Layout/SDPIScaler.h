// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Widgets/SPanel.h"

/** Scales its child's layout: the child is laid out in a space DPIScale times smaller and drawn scaled up. */
class SLATE_API SDPIScaler : public SPanel
{
public:
	SLATE_BEGIN_ARGS(SDPIScaler)
		: _DPIScale(1.0f)
	{
		_Visibility = EVisibility::SelfHitTestInvisible;
	}
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_ATTRIBUTE(float, DPIScale)
	SLATE_END_ARGS()

	SLATE_API SDPIScaler();

	SLATE_API void Construct(const FArguments& InArgs);

	SLATE_API void SetContent(TSharedRef<SWidget> InContent);
	SLATE_API void SetDPIScale(float InDPIScale);
	float GetDPIScale() const { return DPIScale; }

	SLATE_API virtual FChildren* GetChildren() override;
	SLATE_API virtual float GetRelativeLayoutScale(int32 ChildIndex, float LayoutScaleMultiplier) const override;

protected:
	SLATE_API virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const override;
	SLATE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

private:
	TSingleWidgetChildrenWithBasicLayoutSlot<> ChildSlot;
	float DPIScale;
};
