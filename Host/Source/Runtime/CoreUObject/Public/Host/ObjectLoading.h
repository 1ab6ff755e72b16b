// Host-only: how objects that are not in memory get loaded. The host has no package files; the
// Engine module registers loaders (textures, data tables) that make an object for a path.
#pragma once

#include "CoreMinimal.h"

class UObject;
class UClass;

namespace UE::Host
{
	// Returns the object for Path (e.g. "/Game/Icons/Sword.Sword"), of Class or a subclass, or null
	// when this loader does not know the path. Loaders are asked in registration order.
	using FAssetLoader = TFunction<UObject*(UClass* Class, const FString& Path)>;

	COREUOBJECT_API FDelegateHandle RegisterAssetLoader(FAssetLoader Loader);
	COREUOBJECT_API void UnregisterAssetLoader(FDelegateHandle Handle);

	// Creates every pending class default object now (the engine does this after a module
	// loads); otherwise they are created on first use.
	COREUOBJECT_API void CreatePendingDefaultObjects();

	// Destroys every object that is not rooted, as a final collection would, for clean exits.
	COREUOBJECT_API void PurgeAllUnrootedObjects();
}
