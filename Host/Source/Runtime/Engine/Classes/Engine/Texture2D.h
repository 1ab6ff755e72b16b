// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Containers/ArrayView.h"
#include "PixelFormat.h"
#include "Engine/Texture.h"
#include "Texture2D.generated.h"

/**
 * A two-dimensional texture. The host keeps one mip of 8-bit pixels in memory: what a PNG file
 * under the project's Content folder decodes to, or what CreateTransient was given.
 */
UCLASS(hidecategories=Object, MinimalAPI, BlueprintType)
class UTexture2D : public UTexture
{
	GENERATED_UCLASS_BODY()

public:
	/** Trivial accessors. */
	ENGINE_API int32 GetSizeX() const;
	ENGINE_API int32 GetSizeY() const;
	ENGINE_API int32 GetNumMips() const;
	ENGINE_API EPixelFormat GetPixelFormat(uint32 LayerIndex = 0u) const;

	/** Gets the X size of the texture, in pixels */
	UFUNCTION(BlueprintCallable, meta=(DisplayName="GetSizeX"), Category="Rendering|Texture")
	ENGINE_API int32 Blueprint_GetSizeX() const;

	/** Gets the Y size of the texture, in pixels */
	UFUNCTION(BlueprintCallable, meta=(DisplayName="GetSizeY"), Category="Rendering|Texture")
	ENGINE_API int32 Blueprint_GetSizeY() const;

	//~ Begin UTexture Interface.
	virtual float GetSurfaceWidth() const override { return (float)GetSizeX(); }
	virtual float GetSurfaceHeight() const override { return (float)GetSizeY(); }
	//~ End UTexture Interface.

	/**
	 * Creates and initializes a new Texture2D with the requested settings
	 * @param InSizeX - width of the texture
	 * @param InSizeY - height of the texture
	 * @param InFormat - format of the texture
	 * @param InName - name of the texture
	 * @param InImageData - optional image data, in the given format
	 */
	static ENGINE_API UTexture2D* CreateTransient(int32 InSizeX, int32 InSizeY, EPixelFormat InFormat = PF_B8G8R8A8, const FName InName = NAME_None, TConstArrayView64<uint8> InImageData = TConstArrayView64<uint8>());

private:
	friend struct FTexture2DHostAccess;

	int32 SizeX = 0;
	int32 SizeY = 0;
	EPixelFormat PixelFormat = PF_Unknown;
	TArray<uint8> Pixels;
};
