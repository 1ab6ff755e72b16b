// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Visual.generated.h"

/** The base of widgets and slots: UObjects that own Slate resources they can release. */
UCLASS(Abstract, MinimalAPI)
class UVisual : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** Releases the Slate widgets this object built (and, when asked, those of its children). */
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren);

	UMG_API virtual void BeginDestroy() override;
};
