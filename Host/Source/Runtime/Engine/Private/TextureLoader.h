// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "PixelFormat.h"

class UClass;
class UObject;
class UTexture2D;

namespace UE::Engine::Private
{
	// The asset loader for textures: "/Game/<Dir>/<Name>.<Name>" loads Content/<Dir>/<Name>.png as a
	// UTexture2D named <Name> in package "/Game/<Dir>/<Name>". Null for other paths and classes.
	UObject* LoadTextureAsset(UClass* Class, const FString& ObjectPath);

	void SetTexturePixels(UTexture2D* Texture, int32 SizeX, int32 SizeY, EPixelFormat Format, TArray<uint8>&& Pixels);
}
