// Copyright Quarn. All Rights Reserved.

#include "Engine/Texture2D.h"
#include "EngineLogs.h"
#include "Host/TextureData.h"
#include "TextureLoader.h"
#include "UObject/Package.h"

UTexture2D::UTexture2D(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

int32 UTexture2D::GetSizeX() const
{
	return SizeX;
}

int32 UTexture2D::GetSizeY() const
{
	return SizeY;
}

int32 UTexture2D::GetNumMips() const
{
	return Pixels.Num() > 0 ? 1 : 0;
}

EPixelFormat UTexture2D::GetPixelFormat(uint32 LayerIndex) const
{
	return PixelFormat;
}

int32 UTexture2D::Blueprint_GetSizeX() const
{
	return GetSizeX();
}

int32 UTexture2D::Blueprint_GetSizeY() const
{
	return GetSizeY();
}

UTexture2D* UTexture2D::CreateTransient(int32 InSizeX, int32 InSizeY, EPixelFormat InFormat, const FName InName, TConstArrayView64<uint8> InImageData)
{
	const int32 BytesPerPixel = UE::Host::GetBytesPerPixel(InFormat);
	const int64 ImageBytes = (int64)InSizeX * (int64)InSizeY * BytesPerPixel;
	if (InSizeX <= 0 || InSizeY <= 0 || BytesPerPixel == 0 || (InImageData.Num() != 0 && InImageData.Num() != ImageBytes) || ImageBytes > MAX_int32)
	{
		UE_LOG(LogTexture, Warning, TEXT("Invalid parameters specified for UTexture2D::CreateTransient()"));
		return nullptr;
	}

	UTexture2D* NewTexture = NewObject<UTexture2D>(GetTransientPackage(), InName, RF_Transient);
	NewTexture->SizeX = InSizeX;
	NewTexture->SizeY = InSizeY;
	NewTexture->PixelFormat = InFormat;
	// A new transient texture's mip is zero-filled until data is given, as a locked new mip is.
	NewTexture->Pixels.SetNumZeroed((int32)ImageBytes);
	if (InImageData.Num() > 0)
	{
		FMemory::Memcpy(NewTexture->Pixels.GetData(), InImageData.GetData(), (SIZE_T)ImageBytes);
	}
	return NewTexture;
}

// The Engine module's private access to a texture's pixels.
struct FTexture2DHostAccess
{
	static void SetPixels(UTexture2D* Texture, int32 InSizeX, int32 InSizeY, EPixelFormat Format, TArray<uint8>&& InPixels)
	{
		Texture->SizeX = InSizeX;
		Texture->SizeY = InSizeY;
		Texture->PixelFormat = Format;
		Texture->Pixels = MoveTemp(InPixels);
	}

	static UE::Host::FTexturePixels GetPixels(const UTexture2D* Texture)
	{
		UE::Host::FTexturePixels Result;
		Result.SizeX = Texture->SizeX;
		Result.SizeY = Texture->SizeY;
		Result.Format = Texture->PixelFormat;
		Result.Data = TConstArrayView<uint8>(Texture->Pixels);
		return Result;
	}
};

namespace UE::Host
{
	FTexturePixels GetTexturePixels(const UTexture2D* Texture)
	{
		return Texture ? FTexture2DHostAccess::GetPixels(Texture) : FTexturePixels();
	}

	int32 GetBytesPerPixel(EPixelFormat Format)
	{
		switch (Format)
		{
		case PF_B8G8R8A8:
		case PF_R8G8B8A8:
			return 4;
		case PF_G8:
			return 1;
		default:
			return 0;
		}
	}
}

namespace UE::Engine::Private
{
	void SetTexturePixels(UTexture2D* Texture, int32 SizeX, int32 SizeY, EPixelFormat Format, TArray<uint8>&& Pixels)
	{
		FTexture2DHostAccess::SetPixels(Texture, SizeX, SizeY, Format, MoveTemp(Pixels));
	}
}
