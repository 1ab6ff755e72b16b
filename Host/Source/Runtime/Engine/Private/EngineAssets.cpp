// Copyright Quarn. All Rights Reserved.

#include "Host/EngineAssets.h"
#include "EngineLogs.h"
#include "Misc/Paths.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/UObjectGlobals.h"

namespace UE::Host
{
	namespace
	{
		const TCHAR* const GamePrefix = TEXT("/Game/");

		// "/Game/A/B.B" style: a long package name, a dot, an asset name, no sub-object.
		bool IsAssetPath(const FSoftObjectPath& Path)
		{
			const FString PackageName = Path.GetLongPackageName();
			const FString AssetName = Path.GetAssetName();
			return PackageName.StartsWith(TEXT("/")) && PackageName.Len() > 1 && !PackageName.EndsWith(TEXT("/")) && !AssetName.IsEmpty()
				&& !AssetName.Contains(TEXT("/")) && Path.GetSubPathString().IsEmpty() && !PackageName.Contains(TEXT("//"));
		}
	}

	UObject* CreateAsset(UClass* Class, const FString& ObjectPath)
	{
		const FSoftObjectPath Path(ObjectPath);
		if (!Class || !IsAssetPath(Path))
		{
			UE_LOG(LogEngine, Warning, TEXT("CreateAsset: '%s' is not an asset path of the form /Package/Path.AssetName"), *ObjectPath);
			return nullptr;
		}
		if (Class->HasAnyClassFlags(CLASS_Abstract))
		{
			UE_LOG(LogEngine, Warning, TEXT("CreateAsset: class %s is abstract"), *Class->GetName());
			return nullptr;
		}
		if (UObject* Existing = StaticFindObject(nullptr, nullptr, Path.ToString()))
		{
			UE_LOG(LogEngine, Warning, TEXT("CreateAsset: %s already exists"), *Existing->GetFullName());
			return nullptr;
		}
		UPackage* Package = CreatePackage(*Path.GetLongPackageName());
		UObject* Asset = NewObject<UObject>(Package, Class, FName(*Path.GetAssetName()), RF_Public | RF_Standalone);
		Asset->AddToRoot();
		return Asset;
	}

	void ReleaseAsset(UObject* Asset)
	{
		if (Asset && Asset->IsRooted())
		{
			Asset->RemoveFromRoot();
		}
	}

	FString GetContentFilename(const FString& ObjectPath, const TCHAR* Extension)
	{
		const FSoftObjectPath Path(ObjectPath);
		const FString PackageName = Path.GetLongPackageName();
		if (!PackageName.StartsWith(GamePrefix, ESearchCase::CaseSensitive) || !IsAssetPath(Path))
		{
			return FString();
		}
		const FString Relative = PackageName.RightChop(FCString::Strlen(GamePrefix));
		TArray<FString> Parts;
		Relative.ParseIntoArray(Parts, TEXT("/"), true);
		for (const FString& Part : Parts)
		{
			// A package name never climbs out of its mount point.
			if (Part == TEXT("..") || Part == TEXT("."))
			{
				return FString();
			}
		}
		return FPaths::Combine(FPaths::ProjectContentDir(), Relative + TEXT(".") + Extension);
	}
}
