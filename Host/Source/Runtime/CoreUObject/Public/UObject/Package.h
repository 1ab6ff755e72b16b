// UPackage: the outermost object of a module's script types ("/Script/<Module>") or of an asset.
#pragma once

#include "UObject/Object.h"

class COREUOBJECT_API UPackage : public UObject
{
	DECLARE_CLASS(UPackage, UObject, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UPackage)
	static void StaticRegisterNativesUPackage() {}

	UPackage() = default;
	UPackage(const FObjectInitializer& ObjectInitializer) : UObject(ObjectInitializer) {}

	void SetPackageFlags(uint32 NewFlags) { PackageFlags |= NewFlags; }
	uint32 GetPackageFlags() const { return PackageFlags; }
	bool HasAnyPackageFlags(uint32 Flags) const { return (PackageFlags & Flags) != 0; }
	void SetDirtyFlag(bool bIsDirty) { bDirty = bIsDirty; }
	bool IsDirty() const { return bDirty; }

private:
	uint32 PackageFlags = 0;
	bool bDirty = false;
};

enum EPackageFlags : uint32
{
	PKG_None = 0x00000000,
	PKG_CompiledIn = 0x00000010,
	PKG_ContainsScript = 0x00200000,
	PKG_RuntimeGenerated = 0x00008000,
};
