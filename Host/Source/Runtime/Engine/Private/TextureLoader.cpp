// Copyright Quarn. All Rights Reserved.

#include "TextureLoader.h"
#include "Engine/Texture2D.h"
#include "EngineLogs.h"
#include "Host/EngineAssets.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "PngImage.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPath.h"

namespace UE::Engine::Private
{
	UObject* LoadTextureAsset(UClass* Class, const FString& ObjectPath)
	{
		if (Class && !UTexture2D::StaticClass()->IsChildOf(Class))
		{
			return nullptr;
		}
		const FSoftObjectPath Path(ObjectPath);
		const FString PackageName = Path.GetLongPackageName();
		const FString AssetName = Path.GetAssetName();
		// A package file holds the asset named after it; sub-objects of textures do not exist here.
		if (!Path.GetSubPathString().IsEmpty() || AssetName != FPaths::GetBaseFilename(PackageName))
		{
			return nullptr;
		}
		const FString Filename = UE::Host::GetContentFilename(ObjectPath, TEXT("png"));
		if (Filename.IsEmpty() || !FPaths::FileExists(Filename))
		{
			return nullptr;
		}

		TArray<uint8> FileData;
		FDecodedImage Image;
		FString Error;
		if (!FFileHelper::LoadFileToArray(FileData, *Filename))
		{
			Error = TEXT("the file could not be read");
		}
		else if (DecodePng(FileData, Image, Error))
		{
			UPackage* Package = CreatePackage(*PackageName);
			UTexture2D* Texture = NewObject<UTexture2D>(Package, FName(*AssetName), RF_Public | RF_Standalone);
			SetTexturePixels(Texture, Image.SizeX, Image.SizeY, PF_B8G8R8A8, MoveTemp(Image.BGRA));
			return Texture;
		}
		UE_LOG(LogTexture, Warning, TEXT("Failed to load texture '%s' from '%s': %s"), *ObjectPath, *Filename, *Error);
		return nullptr;
	}
}
