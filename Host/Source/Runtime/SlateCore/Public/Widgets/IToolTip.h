// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

class SWidget;

/** A tooltip a widget carries; it is shown by the application on hover and is never part of the widget's own paint. */
class IToolTip
{
public:
	virtual ~IToolTip() {}

	virtual TSharedRef<SWidget> AsWidget() = 0;
	virtual TSharedRef<SWidget> GetContentWidget() = 0;
	virtual void SetContentWidget(const TSharedRef<SWidget>& InContentWidget) = 0;
	virtual void ResetContentWidget() {}
	virtual bool IsEmpty() const = 0;
	virtual bool IsInteractive() const = 0;
	virtual void OnOpening() = 0;
	virtual void OnClosed() = 0;
};
