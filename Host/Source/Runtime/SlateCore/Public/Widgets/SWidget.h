// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Internationalization/Text.h"
#include "Layout/ArrangedChildren.h"
#include "Layout/Geometry.h"
#include "Layout/SlateRect.h"
#include "Layout/Visibility.h"
#include "Styling/WidgetStyle.h"
#include "Types/PaintArgs.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/InvalidateWidgetReason.h"

class FChildren;
class FSlateWindowElementList;
class IToolTip;

/**
 * The base of every Slate widget. A frame runs two passes over a tree: the prepass caches each
 * widget's desired size bottom-up (ComputeDesiredSize), then the paint pass arranges children
 * top-down (OnArrangeChildren), caches each painted widget's geometry and builds draw elements.
 */
class SLATECORE_API SWidget : public TSharedFromThis<SWidget>
{
public:
	SLATECORE_API SWidget();
	SLATECORE_API virtual ~SWidget();

	SWidget(const SWidget&) = delete;
	SWidget& operator=(const SWidget&) = delete;

	/** Applies the arguments every widget takes; SNew calls it before Construct. */
	SLATECORE_API void SWidgetConstruct(const FSlateBaseNamedArgs& Args);

	// Layout

	/** Caches the desired size of this widget and every visible descendant, at a layout scale. */
	SLATECORE_API void SlatePrepass();
	SLATECORE_API void SlatePrepass(float InLayoutScaleMultiplier);

	/** The size this widget asked for in the last prepass, in its local units. */
	SLATECORE_API FVector2D GetDesiredSize() const;

	/** The layout scale the last prepass saw, 1 if none ran. */
	float GetPrepassLayoutScaleMultiplier() const { return PrepassLayoutScaleMultiplier; }

	/** Places this widget's children in the given geometry. */
	SLATECORE_API void ArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren, bool bUpdateAttributes = false) const;

	/** The children, for layout and paint. */
	virtual FChildren* GetChildren() = 0;
	virtual FChildren* GetAllChildren() { return GetChildren(); }

	/** The scale a child is laid out at relative to this widget (a DPI scaler changes it). */
	virtual float GetRelativeLayoutScale(int32 ChildIndex, float LayoutScaleMultiplier) const { return 1.0f; }

	// Paint

	/** Paints the widget: caches its geometry in paint (window) and tick (desktop) space, then calls OnPaint. */
	SLATECORE_API int32 Paint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const;

	/** The geometry of the last paint, in desktop space; a default geometry before the first. */
	const FGeometry& GetTickSpaceGeometry() const { return DesktopGeometry; }
	/** The geometry of the last paint, in window space. */
	const FGeometry& GetPaintSpaceGeometry() const { return AllottedGeometry; }
	/** The older name of GetTickSpaceGeometry. */
	const FGeometry& GetCachedGeometry() const { return GetTickSpaceGeometry(); }

	// State

	EVisibility GetVisibility() const { return Visibility; }
	SLATECORE_API virtual void SetVisibility(EVisibility InVisibility);

	bool IsEnabled() const { return bIsEnabled; }
	SLATECORE_API void SetEnabled(bool bInIsEnabled);

	/** The opacity the widget and its children are painted with, multiplied into the widget style. */
	float GetRenderOpacity() const { return RenderOpacity; }
	SLATECORE_API void SetRenderOpacity(float InRenderOpacity);

	/** A text tooltip; empty text clears it. Tooltips are shown on hover, never painted with the widget. */
	SLATECORE_API void SetToolTipText(const FText& InToolTipText);
	SLATECORE_API void SetToolTip(const TSharedPtr<IToolTip>& InToolTip);
	SLATECORE_API TSharedPtr<IToolTip> GetToolTip();

	FName GetTag() const { return Tag; }
	void SetTag(FName InTag) { Tag = InTag; }

	/** The widget type named in SNew ("SWidget" for a widget made otherwise). */
	FName GetType() const { return TypeOfWidget; }
	SLATECORE_API FString GetTypeAsString() const;
	SLATECORE_API FString ToString() const;
	SLATECORE_API void SetDebugInfo(const ANSICHAR* InType, const ANSICHAR* InFile, int32 OnLine);

	/** The widget that holds this one in a slot, if any. */
	TSharedPtr<SWidget> GetParentWidget() const { return ParentWidgetPtr.Pin(); }
	SLATECORE_API void AssignParentWidget(TSharedPtr<SWidget> InParent);
	SLATECORE_API bool ConditionallyDetatchParentWidget(SWidget* InExpectedParent);
	bool IsParentValid() const { return ParentWidgetPtr.IsValid(); }

	/** Marks the widget for another layout or paint; the host lays out and paints every frame, so this only counts. */
	SLATECORE_API void Invalidate(EInvalidateWidgetReason InvalidateReason);
	int32 GetInvalidationCount() const { return InvalidationCount; }

	bool IsConstructed() const { return bIsConstructed; }

protected:
	/** The size the widget wants, given its children's cached desired sizes. */
	virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const = 0;

	virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const = 0;

	virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const = 0;

	bool ShouldBeEnabled(bool bParentEnabled) const { return bParentEnabled && IsEnabled(); }

	/** Whether a child lies wholly outside the culling rectangle and need not be painted. */
	SLATECORE_API bool IsChildWidgetCulled(const FSlateRect& MyCullingRect, const FArrangedWidget& ArrangedChild) const;

	SLATECORE_API void CacheDesiredSize(float InLayoutScaleMultiplier);

	void SetCanTick(bool bInCanTick) { bCanTick = bInCanTick; }

	bool bCanSupportFocus = true;
	bool bCanHaveChildren = true;
	bool bHasRelativeLayoutScale = false;

private:
	void Prepass_Internal(float InLayoutScaleMultiplier);

	EVisibility Visibility;
	bool bIsEnabled = true;
	float RenderOpacity = 1.0f;
	bool bCanTick = true;
	bool bIsConstructed = false;
	int32 InvalidationCount = 0;
	float PrepassLayoutScaleMultiplier = 1.0f;
	FVector2D DesiredSize = FVector2D(0.0, 0.0);
	FName TypeOfWidget;
	FName Tag;
	TSharedPtr<IToolTip> ToolTip;
	TWeakPtr<SWidget> ParentWidgetPtr;

	mutable FGeometry AllottedGeometry;
	mutable FGeometry DesktopGeometry;
};
