// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/ArrangedWidget.h"
#include "Layout/Visibility.h"

/** The children a panel arranged, filtered by visibility. */
class FArrangedChildren
{
public:
	typedef TArray<FArrangedWidget, TInlineAllocator<16>> FArrangedWidgetArray;

	/** Only widgets whose visibility matches the filter are kept. */
	explicit FArrangedChildren(EVisibility InVisibilityFilter, bool bInAllow3DWidgets = false)
		: VisibilityFilter(InVisibilityFilter), bAllow3DWidgets(bInAllow3DWidgets)
	{
	}

	/** Adds the arranged widget if VisibilityOverride passes the filter. */
	void AddWidget(EVisibility VisibilityOverride, const FArrangedWidget& InWidgetGeometry)
	{
		if (Accepts(VisibilityOverride))
		{
			Array.Add(InWidgetGeometry);
		}
	}

	/** Adds the arranged widget if its own visibility passes the filter. */
	SLATECORE_API void AddWidget(const FArrangedWidget& InWidgetGeometry);

	bool Accepts(EVisibility InVisibility) const { return 0 != (InVisibility.Value & VisibilityFilter.Value); }

	EVisibility GetFilter() const { return VisibilityFilter; }
	bool Allows3DWidgets() const { return bAllow3DWidgets; }

	int32 Num() const { return Array.Num(); }
	FArrangedWidget& operator[](int32 Index) { return Array[Index]; }
	const FArrangedWidget& operator[](int32 Index) const { return Array[Index]; }
	FArrangedWidget& Last() { return Array.Last(); }
	const FArrangedWidgetArray& GetInternalArray() const { return Array; }
	FArrangedWidgetArray& GetInternalArray() { return Array; }
	void Empty() { Array.Empty(); }

	auto begin() { return Array.begin(); }
	auto end() { return Array.end(); }
	auto begin() const { return Array.begin(); }
	auto end() const { return Array.end(); }

private:
	FArrangedWidgetArray Array;
	EVisibility VisibilityFilter;
	bool bAllow3DWidgets;
};
