// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

class SWidget;

/** What a paint pass passes down: the parent painting, the window's desktop offset and the time. */
class FPaintArgs
{
public:
	FPaintArgs(const SWidget* PaintParent, const UE::Math::TVector2<float> InWindowOffset, double InCurrentTime, float InDeltaTime)
		: PaintParentPtr(PaintParent), WindowOffset(InWindowOffset), CurrentTime(InCurrentTime), DeltaTime(InDeltaTime)
	{
	}

	FPaintArgs WithNewParent(const SWidget* PaintParent) const
	{
		FPaintArgs Args(*this);
		Args.PaintParentPtr = PaintParent;
		return Args;
	}

	const SWidget* GetPaintParent() const { return PaintParentPtr; }
	/** The offset from window space to desktop space. */
	UE::Math::TVector2<float> GetWindowToDesktopTransform() const { return WindowOffset; }
	double GetCurrentTime() const { return CurrentTime; }
	float GetDeltaTime() const { return DeltaTime; }

private:
	const SWidget* PaintParentPtr;
	UE::Math::TVector2<float> WindowOffset;
	double CurrentTime;
	float DeltaTime;
};
