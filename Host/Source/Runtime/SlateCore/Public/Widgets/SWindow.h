// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Widgets/SCompoundWidget.h"

class FHittestGrid;
class FSlateWindowElementList;

/**
 * A top-level window: a client area of a size in screen pixels at a desktop position, with a DPI
 * scale. Its content is laid out in local units (pixels divided by the scale). The host has no
 * operating-system windows; a window is a root to lay out and paint.
 */
class SLATECORE_API SWindow : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SWindow)
		: _Title()
		, _ScreenPosition(FVector2D(0.0, 0.0))
		, _ClientSize(FVector2D(0.0, 0.0))
		, _DPIScaleFactor(1.0f)
	{
	}
	SLATE_ARGUMENT(FText, Title)
	/** Desktop position of the client area's top-left corner, in screen pixels. */
	SLATE_ARGUMENT(FVector2D, ScreenPosition)
	/** Size of the client area in screen pixels. */
	SLATE_ARGUMENT(FVector2D, ClientSize)
	SLATE_ARGUMENT(float, DPIScaleFactor)
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_END_ARGS()

	SLATECORE_API SWindow();
	SLATECORE_API virtual ~SWindow() override;

	SLATECORE_API void Construct(const FArguments& InArgs);

	SLATECORE_API void SetContent(TSharedRef<SWidget> InContent);
	SLATECORE_API TSharedRef<const SWidget> GetContent() const;

	/** The window in desktop space: local size in units, scaled by the DPI and placed at its position. */
	SLATECORE_API FGeometry GetWindowGeometryInScreen() const;
	/** The window in its own space, where it paints: as above without the position. */
	SLATECORE_API FGeometry GetWindowGeometryInWindow() const;
	SLATECORE_API FSlateRect GetClippingRectangleInWindow() const;

	FVector2D GetSizeInScreen() const { return Size; }
	FVector2D GetPositionInScreen() const { return ScreenPosition; }
	float GetDPIScaleFactor() const { return DPIScaleFactor; }
	const FText& GetTitle() const { return Title; }

	SLATECORE_API void Resize(FVector2D NewClientSize);
	SLATECORE_API void MoveWindowTo(FVector2D NewPosition);
	SLATECORE_API void SetDPIScaleFactor(float Factor);

	/** The grid the window's widgets are hit-tested in; a paint pass of the window carries it. */
	FHittestGrid& GetHittestGrid() { return *HittestGrid; }

	/** Lays out (prepass at the DPI scale) and paints the window into an element list; returns the top layer used. */
	SLATECORE_API int32 PaintWindow(double CurrentTime, float DeltaTime, FSlateWindowElementList& OutDrawElements, const FWidgetStyle& InWidgetStyle, bool bParentEnabled);

private:
	FText Title;
	FVector2D ScreenPosition;
	FVector2D Size;
	float DPIScaleFactor;
	TUniquePtr<FHittestGrid> HittestGrid;
};
