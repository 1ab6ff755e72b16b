// Copyright Quarn. All Rights Reserved.

#include "Components/Visual.h"

UVisual::UVisual(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

void UVisual::ReleaseSlateResources(bool bReleaseChildren)
{
}

void UVisual::BeginDestroy()
{
	Super::BeginDestroy();
	// Slate widgets must not outlive what they show; children go with their own objects.
	const bool bReleaseChildren = false;
	ReleaseSlateResources(bReleaseChildren);
}
