// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Geometry.h"

class SWidget;

/** A widget together with the geometry a parent arranged it at. */
struct FArrangedWidget
{
	FArrangedWidget(TSharedRef<SWidget> InWidget, const FGeometry& InGeometry)
		: Geometry(InGeometry), Widget(MoveTemp(InWidget))
	{
	}

	SWidget* GetWidgetPtr() const { return &Widget.Get(); }

	bool operator==(const FArrangedWidget& Other) const { return Widget == Other.Widget; }

	SLATECORE_API FString ToString() const;

	/** The widget's geometry. */
	FGeometry Geometry;
	/** The widget being arranged. */
	TSharedRef<SWidget> Widget;
};
