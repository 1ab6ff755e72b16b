// FSoftObjectPath: "/Package/Path.AssetName[:SubPath]", resolved to a loaded object or loaded on request.
#pragma once

#include "CoreMinimal.h"

class UObject;
class UClass;

struct COREUOBJECT_API FTopLevelAssetPath
{
	FTopLevelAssetPath() = default;
	FTopLevelAssetPath(FName InPackageName, FName InAssetName) : PackageName(InPackageName), AssetName(InAssetName) {}
	explicit FTopLevelAssetPath(FStringView Path) { TrySetPath(Path); }

	bool TrySetPath(FStringView Path);
	FName GetPackageName() const { return PackageName; }
	FName GetAssetName() const { return AssetName; }
	FString ToString() const;
	bool IsValid() const { return !PackageName.IsNone(); }
	bool IsNull() const { return PackageName.IsNone(); }
	void Reset() { PackageName = NAME_None; AssetName = NAME_None; }
	bool operator==(const FTopLevelAssetPath& Other) const { return PackageName == Other.PackageName && AssetName == Other.AssetName; }
	bool operator!=(const FTopLevelAssetPath& Other) const { return !(*this == Other); }
	friend uint32 GetTypeHash(const FTopLevelAssetPath& Path) { return HashCombine(GetTypeHash(Path.PackageName), GetTypeHash(Path.AssetName)); }

private:
	FName PackageName;
	FName AssetName;
};

struct COREUOBJECT_API FSoftObjectPath
{
	FSoftObjectPath() = default;
	FSoftObjectPath(const FSoftObjectPath&) = default;
	FSoftObjectPath& operator=(const FSoftObjectPath&) = default;
	FSoftObjectPath(const FString& Path) { SetPath(Path); }
	explicit FSoftObjectPath(const TCHAR* Path) { SetPath(FString(Path)); }
	explicit FSoftObjectPath(FTopLevelAssetPath InAssetPath, FString InSubPathString = FString()) : AssetPath(InAssetPath), SubPathString(MoveTemp(InSubPathString)) {}
	FSoftObjectPath(const UObject* InObject);
	FSoftObjectPath(TYPE_OF_NULLPTR) {}

	void SetPath(FStringView Path);
	FString ToString() const;
	FString GetAssetPathString() const { return AssetPath.ToString(); }
	FTopLevelAssetPath GetAssetPath() const { return AssetPath; }
	FString GetLongPackageName() const { return AssetPath.GetPackageName().ToString(); }
	FName GetLongPackageFName() const { return AssetPath.GetPackageName(); }
	FString GetAssetName() const { return AssetPath.GetAssetName().ToString(); }
	FName GetAssetFName() const { return AssetPath.GetAssetName(); }
	const FString& GetSubPathString() const { return SubPathString; }
	bool IsValid() const { return AssetPath.IsValid(); }
	bool IsNull() const { return AssetPath.IsNull(); }
	bool IsAsset() const { return AssetPath.IsValid() && !AssetPath.GetAssetName().IsNone() && SubPathString.IsEmpty(); }
	bool IsSubobject() const { return !SubPathString.IsEmpty(); }
	void Reset() { AssetPath.Reset(); SubPathString.Reset(); }

	// An object already in memory under this path, or null; never loads.
	UObject* ResolveObject() const;
	// Loads the object if needed (through the asset loader the engine module registers).
	UObject* TryLoad(class FUObjectSerializeContext* InLoadContext = nullptr, uint32 LoadFlags = 0) const;

	bool operator==(const FSoftObjectPath& Other) const { return AssetPath == Other.AssetPath && SubPathString == Other.SubPathString; }
	bool operator!=(const FSoftObjectPath& Other) const { return !(*this == Other); }
	friend uint32 GetTypeHash(const FSoftObjectPath& Path) { return HashCombine(GetTypeHash(Path.AssetPath), GetTypeHash(Path.SubPathString)); }

	bool ImportTextItem(const TCHAR*& Buffer);

private:
	FTopLevelAssetPath AssetPath;
	FString SubPathString;
};

struct COREUOBJECT_API FSoftClassPath : public FSoftObjectPath
{
	using FSoftObjectPath::FSoftObjectPath;
	FSoftClassPath() = default;
	UClass* ResolveClass() const;
	UClass* TryLoadClass() const;
};
