// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Margin.h"
#include "SlotBase.h"
#include "Types/SlateEnums.h"

/** The padding of a slot. */
template <typename MixedIntoType>
class TPaddingWidgetSlotMixin
{
public:
	TPaddingWidgetSlotMixin() : SlotPadding(0.0f) {}
	TPaddingWidgetSlotMixin(const FMargin& InPadding) : SlotPadding(InPadding) {}

	MixedIntoType& Padding(const FMargin& InPadding)
	{
		SlotPadding = InPadding;
		return static_cast<MixedIntoType&>(*this);
	}
	MixedIntoType& Padding(float Uniform) { return Padding(FMargin(Uniform)); }
	MixedIntoType& Padding(float Horizontal, float Vertical) { return Padding(FMargin(Horizontal, Vertical)); }
	MixedIntoType& Padding(float Left, float Top, float Right, float Bottom) { return Padding(FMargin(Left, Top, Right, Bottom)); }

	void SetPadding(const FMargin& InPadding) { SlotPadding = InPadding; }
	const FMargin& GetPadding() const { return SlotPadding; }

protected:
	FMargin SlotPadding;
};

/** The alignment of a slot. */
template <typename MixedIntoType>
class TAlignmentWidgetSlotMixin
{
public:
	TAlignmentWidgetSlotMixin() : HAlignment(HAlign_Fill), VAlignment(VAlign_Fill) {}
	TAlignmentWidgetSlotMixin(EHorizontalAlignment InHAlign, EVerticalAlignment InVAlign) : HAlignment(InHAlign), VAlignment(InVAlign) {}

	MixedIntoType& HAlign(EHorizontalAlignment InHAlignment)
	{
		HAlignment = InHAlignment;
		return static_cast<MixedIntoType&>(*this);
	}
	MixedIntoType& VAlign(EVerticalAlignment InVAlignment)
	{
		VAlignment = InVAlignment;
		return static_cast<MixedIntoType&>(*this);
	}

	void SetHorizontalAlignment(EHorizontalAlignment Alignment) { HAlignment = Alignment; }
	EHorizontalAlignment GetHorizontalAlignment() const { return HAlignment; }
	void SetVerticalAlignment(EVerticalAlignment Alignment) { VAlignment = Alignment; }
	EVerticalAlignment GetVerticalAlignment() const { return VAlignment; }

protected:
	EHorizontalAlignment HAlignment;
	EVerticalAlignment VAlignment;
};

/** A slot with content, padding and alignment. */
template <typename SlotType>
class TBasicLayoutWidgetSlot : public TSlotBase<SlotType>, public TPaddingWidgetSlotMixin<SlotType>, public TAlignmentWidgetSlotMixin<SlotType>
{
public:
	TBasicLayoutWidgetSlot() = default;
	TBasicLayoutWidgetSlot(EHorizontalAlignment InHAlign, EVerticalAlignment InVAlign)
		: TAlignmentWidgetSlotMixin<SlotType>(InHAlign, InVAlign)
	{
	}

	/** A declaration's padding and alignment; what it leaves unset keeps the slot's defaults. */
	struct FSlotArguments : public TSlotBase<SlotType>::FSlotArguments
	{
		FSlotArguments(TUniquePtr<SlotType> InSlot)
			: TSlotBase<SlotType>::FSlotArguments(MoveTemp(InSlot))
		{
		}

		typename SlotType::FSlotArguments& Padding(const FMargin& InPadding)
		{
			_Padding = InPadding;
			return this->Me();
		}
		typename SlotType::FSlotArguments& Padding(float Uniform) { return Padding(FMargin(Uniform)); }
		typename SlotType::FSlotArguments& Padding(float Horizontal, float Vertical) { return Padding(FMargin(Horizontal, Vertical)); }
		typename SlotType::FSlotArguments& Padding(float Left, float Top, float Right, float Bottom) { return Padding(FMargin(Left, Top, Right, Bottom)); }

		typename SlotType::FSlotArguments& HAlign(EHorizontalAlignment InHAlignment)
		{
			_HAlignment = InHAlignment;
			return this->Me();
		}
		typename SlotType::FSlotArguments& VAlign(EVerticalAlignment InVAlignment)
		{
			_VAlignment = InVAlignment;
			return this->Me();
		}

		TOptional<FMargin> _Padding;
		TOptional<EHorizontalAlignment> _HAlignment;
		TOptional<EVerticalAlignment> _VAlignment;
	};

	void Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs)
	{
		TSlotBase<SlotType>::Construct(SlotOwner, MoveTemp(InArgs));
		if (InArgs._Padding.IsSet())
		{
			this->SetPadding(InArgs._Padding.GetValue());
		}
		if (InArgs._HAlignment.IsSet())
		{
			this->SetHorizontalAlignment(InArgs._HAlignment.GetValue());
		}
		if (InArgs._VAlignment.IsSet())
		{
			this->SetVerticalAlignment(InArgs._VAlignment.GetValue());
		}
	}
};
