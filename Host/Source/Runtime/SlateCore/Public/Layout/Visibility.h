// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/** Whether a widget is drawn, takes layout space and takes part in hit testing. */
struct EVisibility
{
	/** Default widget visibility: visible and hit-testable (self and children). */
	static SLATECORE_API const EVisibility Visible;
	/** Not visible and takes up no space in the layout. */
	static SLATECORE_API const EVisibility Collapsed;
	/** Not visible but occupies layout space. */
	static SLATECORE_API const EVisibility Hidden;
	/** Visible, neither the widget nor its children can be hit. */
	static SLATECORE_API const EVisibility HitTestInvisible;
	/** Visible, the widget cannot be hit but its children can. */
	static SLATECORE_API const EVisibility SelfHitTestInvisible;
	/** Any visibility will do, used as a filter. */
	static SLATECORE_API const EVisibility All;

	constexpr EVisibility() : Value(VIS_Visible) {}

	bool operator==(const EVisibility& Other) const { return Value == Other.Value; }
	bool operator!=(const EVisibility& Other) const { return Value != Other.Value; }

	bool AreChildrenHitTestVisible() const { return 0 != (Value & VISPRIVATE_ChildrenHitTestVisible); }
	bool IsHitTestVisible() const { return 0 != (Value & VISPRIVATE_SelfHitTestVisible); }
	bool IsVisible() const { return 0 != (Value & VIS_Visible); }

	SLATECORE_API FString ToString() const;

private:
	enum Private
	{
		VISPRIVATE_Visible = 0x1 << 0,
		VISPRIVATE_Collapsed = 0x1 << 1,
		VISPRIVATE_Hidden = 0x1 << 2,
		VISPRIVATE_SelfHitTestVisible = 0x1 << 3,
		VISPRIVATE_ChildrenHitTestVisible = 0x1 << 4,

		VIS_Visible = VISPRIVATE_Visible | VISPRIVATE_SelfHitTestVisible | VISPRIVATE_ChildrenHitTestVisible,
		VIS_Collapsed = VISPRIVATE_Collapsed,
		VIS_Hidden = VISPRIVATE_Hidden,
		VIS_HitTestInvisible = VISPRIVATE_Visible,
		VIS_SelfHitTestInvisible = VISPRIVATE_Visible | VISPRIVATE_ChildrenHitTestVisible,
		VIS_All = VISPRIVATE_Visible | VISPRIVATE_Hidden | VISPRIVATE_Collapsed | VISPRIVATE_SelfHitTestVisible | VISPRIVATE_ChildrenHitTestVisible,
	};

	constexpr EVisibility(Private InValue) : Value(InValue) {}

public:
	Private Value;
};
