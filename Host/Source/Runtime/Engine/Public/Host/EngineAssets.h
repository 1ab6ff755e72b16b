// Copyright Quarn. All Rights Reserved.

// Host-only: assets without package files. Textures load from PNG files under the project's
// Content folder ("/Game/Icons/Bandage.Bandage" is Content/Icons/Bandage.png); other assets (data
// tables, for example) are made in code at an object path and then load like saved ones.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Templates/Casts.h"

namespace UE::Host
{
	// Makes an object of Class at ObjectPath ("/Game/Data/Items.Items"), inside a package of the
	// path's package name, and keeps it (rooted) until ReleaseAsset. Refused (null, with a warning)
	// when the path is malformed or an object already exists there.
	ENGINE_API UObject* CreateAsset(UClass* Class, const FString& ObjectPath);

	template<class T>
	T* CreateAsset(const FString& ObjectPath)
	{
		return Cast<T>(CreateAsset(T::StaticClass(), ObjectPath));
	}

	// Lets the collector take an asset made by CreateAsset once nothing else references it.
	ENGINE_API void ReleaseAsset(UObject* Asset);

	// The file a "/Game/..." object path maps to, "<Content>/<package path>.<Extension>"; empty for
	// paths outside "/Game/".
	ENGINE_API FString GetContentFilename(const FString& ObjectPath, const TCHAR* Extension);
}
