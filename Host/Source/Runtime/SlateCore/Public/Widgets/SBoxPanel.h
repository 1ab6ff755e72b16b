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
	/**
	 * A slot of a box panel: padding, alignment, an automatic or stretching size and an optional
	 * maximum. The vertical and horizontal boxes' slots derive from it and name the size setters
	 * along their direction.
	 */
	class FSlot : public TBasicLayoutWidgetSlot<FSlot>
	{
	public:
		// A new slot stretches with coefficient 1, as the engine's does.
		FSlot() : TBasicLayoutWidgetSlot<FSlot>(HAlign_Fill, VAlign_Fill)
		{
			SizeParam.SizeRule = FSizeParam::SizeRule_Stretch;
			SizeParam.Value = 1.0f;
		}

		SLATE_SLOT_BEGIN_ARGS(FSlot, TBasicLayoutWidgetSlot<FSlot>)
			TOptional<FSizeParam> _SizeParam;
			TOptional<float> _MaxSize;
		SLATE_SLOT_END_ARGS()

		SLATECORE_API void Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs);

		FSizeParam::ESizeRule GetSizeRule() const { return SizeParam.SizeRule; }
		float GetSizeValue() const { return SizeParam.Value; }
		float GetMaxSize() const { return MaxSize; }

		void SetSizeToAuto()
		{
			SizeParam.SizeRule = FSizeParam::SizeRule_Auto;
			Invalidate(EInvalidateWidgetReason::Layout);
		}
		void SetSizeToStretch(float StretchCoefficient)
		{
			SizeParam.SizeRule = FSizeParam::SizeRule_Stretch;
			SizeParam.Value = StretchCoefficient;
			Invalidate(EInvalidateWidgetReason::Layout);
		}
		void SetMaxSize(float InMaxSize)
		{
			MaxSize = InMaxSize;
			Invalidate(EInvalidateWidgetReason::Layout);
		}

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

	/** A slot being declared; it joins the box (at Index, or at the end) at the end of the statement that declares it. */
	template <typename SlotType>
	struct FScopedWidgetSlotArguments : public SlotType::FSlotArguments
	{
	public:
		FScopedWidgetSlotArguments(TUniquePtr<SlotType> InSlot, TPanelChildren<FSlot>& InChildren, int32 InIndex)
			: SlotType::FSlotArguments(MoveTemp(InSlot))
			, Children(InChildren)
			, Index(InIndex)
		{
		}

		FScopedWidgetSlotArguments() = delete;
		FScopedWidgetSlotArguments(const FScopedWidgetSlotArguments&) = delete;
		FScopedWidgetSlotArguments& operator=(const FScopedWidgetSlotArguments&) = delete;
		FScopedWidgetSlotArguments(FScopedWidgetSlotArguments&&) = default;

		virtual ~FScopedWidgetSlotArguments()
		{
			// A moved-from argument holds no slot.
			if (this->GetSlot())
			{
				if (Index == INDEX_NONE)
				{
					Children.AddSlot(MoveTemp(*this));
				}
				else
				{
					Children.InsertSlot(MoveTemp(*this), Index);
				}
			}
		}

	private:
		TPanelChildren<FSlot>& Children;
		int32 Index;
	};

	TPanelChildren<FSlot> Children;
	const EOrientation Orientation;
};

/**
 * The arguments every box slot declares with, typed as the derived slot's so that the setters
 * chain: padding, alignment, content and Expose.
 */
#define HOST_BOX_SLOT_COMMON_ARGUMENTS(SlotType) \
	FSlotArguments(TUniquePtr<SlotType> InSlot) \
		: SBoxPanel::FSlot::FSlotArguments(TUniquePtr<SBoxPanel::FSlot>(MoveTemp(InSlot))) \
	{ \
	} \
	FSlotArguments& Padding(const FMargin& InPadding) { SBoxPanel::FSlot::FSlotArguments::Padding(InPadding); return *this; } \
	FSlotArguments& Padding(float Uniform) { return Padding(FMargin(Uniform)); } \
	FSlotArguments& Padding(float Horizontal, float Vertical) { return Padding(FMargin(Horizontal, Vertical)); } \
	FSlotArguments& Padding(float Left, float Top, float Right, float Bottom) { return Padding(FMargin(Left, Top, Right, Bottom)); } \
	FSlotArguments& HAlign(EHorizontalAlignment InHAlignment) { SBoxPanel::FSlot::FSlotArguments::HAlign(InHAlignment); return *this; } \
	FSlotArguments& VAlign(EVerticalAlignment InVAlignment) { SBoxPanel::FSlot::FSlotArguments::VAlign(InVAlignment); return *this; } \
	FSlotArguments& operator[](const TSharedRef<SWidget>& InChildWidget) { this->AttachWidget(InChildWidget); return *this; } \
	FSlotArguments& Expose(SlotType*& OutVarToInit) { OutVarToInit = static_cast<SlotType*>(this->GetSlot()); return *this; }

/** A box panel that stacks its children from top to bottom. */
class SLATECORE_API SVerticalBox : public SBoxPanel
{
public:
	class FSlot : public SBoxPanel::FSlot
	{
	public:
		struct FSlotArguments : public SBoxPanel::FSlot::FSlotArguments
		{
			HOST_BOX_SLOT_COMMON_ARGUMENTS(FSlot)

			/** The content's desired height. */
			FSlotArguments& AutoHeight()
			{
				_SizeParam = FSizeParam{ FSizeParam::SizeRule_Auto, 1.0f };
				return *this;
			}
			/** A share of the height left over, in proportion to the other stretching slots' coefficients. */
			FSlotArguments& FillHeight(float InStretchCoefficient)
			{
				_SizeParam = FSizeParam{ FSizeParam::SizeRule_Stretch, InStretchCoefficient };
				return *this;
			}
			FSlotArguments& MaxHeight(float InMaxHeight)
			{
				_MaxSize = InMaxHeight;
				return *this;
			}
		};

		void SetAutoHeight() { SetSizeToAuto(); }
		void SetFillHeight(float InStretchCoefficient) { SetSizeToStretch(InStretchCoefficient); }
		void SetMaxHeight(float InMaxHeight) { SetMaxSize(InMaxHeight); }
	};

	static FSlot::FSlotArguments Slot() { return FSlot::FSlotArguments(MakeUnique<FSlot>()); }

	SLATE_BEGIN_ARGS(SVerticalBox)
	{
	}
	SLATE_END_ARGS()

	SVerticalBox() : SBoxPanel(Orient_Vertical) {}

	void Construct(const FArguments& InArgs) {}

	using FScopedWidgetSlotArguments = SBoxPanel::FScopedWidgetSlotArguments<SVerticalBox::FSlot>;
	/** Declares a slot (stretching, as the engine's slot starts); it joins the box at the end of the statement. */
	SLATECORE_API FScopedWidgetSlotArguments AddSlot();
	/** Declares a slot that goes before Index (INDEX_NONE appends). */
	SLATECORE_API FScopedWidgetSlotArguments InsertSlot(int32 Index = INDEX_NONE);

	SLATECORE_API FSlot& GetSlot(int32 SlotIndex);
	SLATECORE_API const FSlot& GetSlot(int32 SlotIndex) const;
};

/** A box panel that lines its children up from left to right. */
class SLATECORE_API SHorizontalBox : public SBoxPanel
{
public:
	class FSlot : public SBoxPanel::FSlot
	{
	public:
		struct FSlotArguments : public SBoxPanel::FSlot::FSlotArguments
		{
			HOST_BOX_SLOT_COMMON_ARGUMENTS(FSlot)

			/** The content's desired width. */
			FSlotArguments& AutoWidth()
			{
				_SizeParam = FSizeParam{ FSizeParam::SizeRule_Auto, 1.0f };
				return *this;
			}
			/** A share of the width left over, in proportion to the other stretching slots' coefficients. */
			FSlotArguments& FillWidth(float InStretchCoefficient)
			{
				_SizeParam = FSizeParam{ FSizeParam::SizeRule_Stretch, InStretchCoefficient };
				return *this;
			}
			FSlotArguments& MaxWidth(float InMaxWidth)
			{
				_MaxSize = InMaxWidth;
				return *this;
			}
		};

		void SetAutoWidth() { SetSizeToAuto(); }
		void SetFillWidth(float InStretchCoefficient) { SetSizeToStretch(InStretchCoefficient); }
		void SetMaxWidth(float InMaxWidth) { SetMaxSize(InMaxWidth); }
	};

	static FSlot::FSlotArguments Slot() { return FSlot::FSlotArguments(MakeUnique<FSlot>()); }

	SLATE_BEGIN_ARGS(SHorizontalBox)
	{
	}
	SLATE_END_ARGS()

	SHorizontalBox() : SBoxPanel(Orient_Horizontal) {}

	void Construct(const FArguments& InArgs) {}

	using FScopedWidgetSlotArguments = SBoxPanel::FScopedWidgetSlotArguments<SHorizontalBox::FSlot>;
	SLATECORE_API FScopedWidgetSlotArguments AddSlot();
	SLATECORE_API FScopedWidgetSlotArguments InsertSlot(int32 Index = INDEX_NONE);

	SLATECORE_API FSlot& GetSlot(int32 SlotIndex);
	SLATECORE_API const FSlot& GetSlot(int32 SlotIndex) const;
};

#undef HOST_BOX_SLOT_COMMON_ARGUMENTS
