// Copyright Quarn. All Rights Reserved.

#include "Engine/Texture.h"
#include "EngineLogs.h"

UTexture::UTexture(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	SRGB = true;
}

// Both are pure virtual in the engine: every concrete texture class says how large its surface is.
float UTexture::GetSurfaceWidth() const
{
	UE_LOG(LogTexture, Fatal, TEXT("Pure virtual not implemented (UTexture::GetSurfaceWidth)"));
	return 0.0f;
}

float UTexture::GetSurfaceHeight() const
{
	UE_LOG(LogTexture, Fatal, TEXT("Pure virtual not implemented (UTexture::GetSurfaceHeight)"));
	return 0.0f;
}
