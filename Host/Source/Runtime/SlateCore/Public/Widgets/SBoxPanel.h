// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Layout/Children.h"
#include "Widgets/SPanel.h"

/** How a box panel slot is sized along the panel's direction. */
struct FSizeParam
{
	enum ESizeRule
	{
		SizeRule_Auto,
		SizeRule_Stretch,
	};

	ESizeRule SizeRule = SizeRule_Auto;
	float Value = 1.0f;
};

/** Lays its children out one after another along one direction. */
class SLATECORE_API SBoxPanel : public SPanel
{
public:
	/** A slot of a box panel: padding, alignment, an automatic or stretching size and an optional maximum. */
	class FSlot : public TBasicLayoutWidgetSlot<FSlot>
	{
	public:
		// A new slot stretches with coefficient 1, as the engine's does.
		FSlot() : TBasicLayoutWidgetSlot<FSlot>(HAlign_Fill, VAlign_Fill)
		{
			SizeParam.SizeRule = FSizeParam::SizeRule_Stretch;
			SizeParam.Value = 1.0f;
		}

		FSizeParam::ESizeRule GetSizeRule() const { return SizeParam.SizeRule; }
		float GetSizeValue() const { return SizeParam.Value; }
		float GetMaxSize() const { return MaxSize; }

		void SetSizeToAuto() { SizeParam.SizeRule = FSizeParam::SizeRule_Auto; }
		void SetSizeToStretch(float StretchCoefficient)
		{
			SizeParam.SizeRule = FSizeParam::SizeRule_Stretch;
			SizeParam.Value = StretchCoefficient;
		}
		void SetMaxSize(float InMaxSize) { MaxSize = InMaxSize; }

	protected:
		FSizeParam SizeParam;
		float MaxSize = 0.0f;
	};

	SLATECORE_API virtual FChildren* GetChildren() override;

	int32 NumSlots() const { return Children.Num(); }
	bool IsValidSlotIndex(int32 Index) const { return Children.IsValidIndex(Index); }
	/** Removes the slot holding the widget; its index, or INDEX_NONE. */
	SLATECORE_API int32 RemoveSlot(const TSharedRef<SWidget>& SlotWidget);
	SLATECORE_API void ClearChildren();

protected:
	SLATECORE_API explicit SBoxPanel(EOrientation InOrientation);

	SLATECORE_API virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const override;
	SLATECORE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

	TPanelChildren<FSlot> Children;
	const EOrientation Orientation;
};

/** A box panel that stacks its children from top to bottom. */
class SLATECORE_API SVerticalBox : public SBoxPanel
{
public:
	class FSlot : public SBoxPanel::FSlot
	{
	public:
		FSlot& AutoHeight()
		{
			SetSizeToAuto();
			return *this;
		}
		FSlot& FillHeight(float StretchCoefficient)
		{
			SetSizeToStretch(StretchCoefficient);
			return *this;
		}
		FSlot& MaxHeight(float InMaxHeight)
		{
			SetMaxSize(InMaxHeight);
			return *this;
		}
		FSlot& Padding(const FMargin& InPadding)
		{
			SetPadding(InPadding);
			return *this;
		}
		FSlot& HAlign(EHorizontalAlignment InHAlignment)
		{
			SetHorizontalAlignment(InHAlignment);
			return *this;
		}
		FSlot& VAlign(EVerticalAlignment InVAlignment)
		{
			SetVerticalAlignment(InVAlignment);
			return *this;
		}
		FSlot& operator[](const TSharedRef<SWidget>& InWidget)
		{
			AttachWidget(InWidget);
			return *this;
		}
	};

	SLATE_BEGIN_ARGS(SVerticalBox)
	{
	}
	SLATE_END_ARGS()

	SVerticalBox() : SBoxPanel(Orient_Vertical) {}

	void Construct(const FArguments& InArgs) {}

	/** Appends a slot (stretching, as the engine's slot starts) and returns it for its setters. */
	SLATECORE_API FSlot& AddSlot();
	/** Inserts a slot before Index (INDEX_NONE appends). */
	SLATECORE_API FSlot& InsertSlot(int32 Index = INDEX_NONE);

	FSlot& GetSlot(int32 SlotIndex) { return static_cast<FSlot&>(Children[SlotIndex]); }
	const FSlot& GetSlot(int32 SlotIndex) const { return static_cast<const FSlot&>(Children[SlotIndex]); }
};

/** A box panel that lines its children up from left to right. */
class SLATECORE_API SHorizontalBox : public SBoxPanel
{
public:
	class FSlot : public SBoxPanel::FSlot
	{
	public:
		FSlot& AutoWidth()
		{
			SetSizeToAuto();
			return *this;
		}
		FSlot& FillWidth(float StretchCoefficient)
		{
			SetSizeToStretch(StretchCoefficient);
			return *this;
		}
		FSlot& MaxWidth(float InMaxWidth)
		{
			SetMaxSize(InMaxWidth);
			return *this;
		}
		FSlot& Padding(const FMargin& InPadding)
		{
			SetPadding(InPadding);
			return *this;
		}
		FSlot& HAlign(EHorizontalAlignment InHAlignment)
		{
			SetHorizontalAlignment(InHAlignment);
			return *this;
		}
		FSlot& VAlign(EVerticalAlignment InVAlignment)
		{
			SetVerticalAlignment(InVAlignment);
			return *this;
		}
		FSlot& operator[](const TSharedRef<SWidget>& InWidget)
		{
			AttachWidget(InWidget);
			return *this;
		}
	};

	SLATE_BEGIN_ARGS(SHorizontalBox)
	{
	}
	SLATE_END_ARGS()

	SHorizontalBox() : SBoxPanel(Orient_Horizontal) {}

	void Construct(const FArguments& InArgs) {}

	SLATECORE_API FSlot& AddSlot();
	SLATECORE_API FSlot& InsertSlot(int32 Index = INDEX_NONE);

	FSlot& GetSlot(int32 SlotIndex) { return static_cast<FSlot&>(Children[SlotIndex]); }
	const FSlot& GetSlot(int32 SlotIndex) const { return static_cast<const FSlot&>(Children[SlotIndex]); }
};
