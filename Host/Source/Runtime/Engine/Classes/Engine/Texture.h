// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Texture.generated.h"

/** The base of every texture asset: something a brush or material can draw, with a surface size. */
UCLASS(abstract, MinimalAPI, BlueprintType)
class UTexture : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** This should be unchecked if using alpha channels individually as masks. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Texture, meta=(DisplayName="sRGB"), AssetRegistrySearchable)
	uint8 SRGB : 1;

	/** Textures have size but it's not always in pixels; the width in the units that surfaces use. */
	ENGINE_API virtual float GetSurfaceWidth() const;

	/** The height in the units that surfaces use. */
	ENGINE_API virtual float GetSurfaceHeight() const;
};
