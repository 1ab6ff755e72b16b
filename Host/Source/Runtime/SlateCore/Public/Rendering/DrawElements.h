// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Rendering/DrawElementTypes.h"

class SWindow;

/** The draw elements one window produced in a paint pass, in the order they were made. */
class FSlateWindowElementList
{
public:
	explicit FSlateWindowElementList(const TSharedPtr<SWindow>& InPaintWindow)
		: PaintWindow(InPaintWindow)
	{
	}

	FSlateWindowElementList(const FSlateWindowElementList&) = delete;
	FSlateWindowElementList& operator=(const FSlateWindowElementList&) = delete;

	SWindow* GetPaintWindow() const { return PaintWindow.Pin().Get(); }

	const TArray<FSlateDrawElement>& GetUncachedDrawElements() const { return DrawElements; }

	FSlateDrawElement& AddUninitialized()
	{
		return DrawElements.AddDefaulted_GetRef();
	}

	void ResetElementList() { DrawElements.Reset(); }

private:
	TWeakPtr<SWindow> PaintWindow;
	TArray<FSlateDrawElement> DrawElements;
};
