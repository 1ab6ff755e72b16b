// Reflection objects: UField, UStruct, UScriptStruct, UClass, UFunction and UEnum.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/Script.h"

class FField;
class FProperty;
class FObjectInitializer;

namespace UE::Host
{
	struct FScriptFunction;
}

// Metadata of UObject fields, kept as an editor build keeps it.
class COREUOBJECT_API UField : public UObject
{
	DECLARE_CLASS(UField, UObject, CLASS_Abstract | CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UField)
	static void StaticRegisterNativesUField() {}

	UField() = default;
	UField(const FObjectInitializer& ObjectInitializer) : UObject(ObjectInitializer) {}
	virtual ~UField() override;

	UField* Next = nullptr;

	UClass* GetOwnerClass() const;
	UStruct* GetOwnerStruct() const;

#if WITH_METADATA
	// Metadata exists only where the target keeps it, as in the engine.
	const FString* FindMetaData(const TCHAR* Key) const;
	const FString* FindMetaData(const FName& Key) const;
	const FString& GetMetaData(const TCHAR* Key) const;
	const FString& GetMetaData(const FName& Key) const;
	bool HasMetaData(const TCHAR* Key) const { return FindMetaData(Key) != nullptr; }
	bool HasMetaData(const FName& Key) const { return FindMetaData(Key) != nullptr; }
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue);
	void SetMetaData(const FName& Key, FString&& InValue);
	void RemoveMetaData(const TCHAR* Key);
	bool GetBoolMetaData(const TCHAR* Key) const;
	const TMap<FName, FString>* GetMetaDataMap() const { return MetaDataMap; }
#endif // WITH_METADATA

	FText GetDisplayNameText() const;
#if WITH_EDITORONLY_DATA
	// Editor-only in the engine, as the tool tip texts are; metadata alone does not bring it.
	FText GetToolTipText(bool bShortTooltip = false) const;
#endif

protected:
	TMap<FName, FString>* MetaDataMap = nullptr;
};

class COREUOBJECT_API UStruct : public UField
{
	DECLARE_CLASS(UStruct, UField, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UStruct)
	static void StaticRegisterNativesUStruct() {}

	UStruct() = default;
	UStruct(const FObjectInitializer& ObjectInitializer) : UField(ObjectInitializer) {}
	virtual ~UStruct() override;

	UStruct* GetSuperStruct() const { return SuperStruct; }
	UStruct* GetInheritanceSuper() const { return SuperStruct; }
	void SetSuperStruct(UStruct* NewSuperStruct) { SuperStruct = NewSuperStruct; }
	bool IsChildOf(const UStruct* SomeBase) const;
	template<class T>
	bool IsChildOf() const { return IsChildOf(T::StaticClass()); }

	int32 GetPropertiesSize() const { return PropertiesSize; }
	int32 GetStructureSize() const { return PropertiesSize; }
	int32 GetMinAlignment() const { return MinAlignment; }
	void SetPropertiesSize(int32 NewSize) { PropertiesSize = NewSize; }

	// Appends a property in declaration order (the engine prepends while registering backwards).
	virtual void AddCppProperty(FProperty* Property);
	// Builds the property chains after every property was added.
	virtual void StaticLink(bool bRelinkExistingProperties = false);
	virtual void Link(bool bRelinkExistingProperties);

	// Values laid out as this struct, through its properties.
	virtual void InitializeStruct(void* Dest, int32 ArrayDim = 1) const;
	virtual void DestroyStruct(void* Dest, int32 ArrayDim = 1) const;
	void CopyProperties(void* Dest, const void* Src) const;
	bool ContainsObjectReference() const { return RefLink != nullptr; }

	// Fields
	UStruct* SuperStruct = nullptr;
	UField* Children = nullptr;         // functions of a class, in declaration order
	FField* ChildProperties = nullptr;  // own properties, in declaration order
	int32 PropertiesSize = 0;
	int32 MinAlignment = 1;
	FProperty* PropertyLink = nullptr;  // own properties then the supers'
	FProperty* RefLink = nullptr;       // properties holding strong object references
	TArray<FProperty*> ReferenceProperties;

	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);
};

// A struct's C++ operations, for native USTRUCTs.
class COREUOBJECT_API UScriptStruct : public UStruct
{
	DECLARE_CLASS(UScriptStruct, UStruct, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UScriptStruct)
	static void StaticRegisterNativesUScriptStruct() {}

	struct ICppStructOps
	{
		ICppStructOps(int32 InSize, int32 InAlignment) : Size(InSize), Alignment(InAlignment) {}
		virtual ~ICppStructOps() = default;
		virtual bool HasZeroConstructor() const = 0;
		virtual void Construct(void* Dest) = 0;
		virtual bool HasDestructor() const = 0;
		virtual void Destruct(void* Dest) = 0;
		virtual bool HasCopy() const = 0;
		virtual bool Copy(void* Dest, void const* Src, int32 ArrayDim) = 0;
		virtual bool HasIdentical() const = 0;
		virtual bool Identical(const void* A, const void* B, uint32 PortFlags, bool& bOutResult) = 0;
		int32 GetSize() const { return Size; }
		int32 GetAlignment() const { return Alignment; }

	private:
		const int32 Size;
		const int32 Alignment;
	};

	template<class CPPSTRUCT>
	struct TCppStructOps : public ICppStructOps
	{
		TCppStructOps() : ICppStructOps(sizeof(CPPSTRUCT), alignof(CPPSTRUCT)) {}
		virtual bool HasZeroConstructor() const override { return false; }
		virtual void Construct(void* Dest) override { new (Dest) CPPSTRUCT(); }
		virtual bool HasDestructor() const override { return !std::is_trivially_destructible_v<CPPSTRUCT>; }
		virtual void Destruct(void* Dest) override { ((CPPSTRUCT*)Dest)->~CPPSTRUCT(); }
		virtual bool HasCopy() const override { return std::is_copy_assignable_v<CPPSTRUCT>; }
		virtual bool Copy(void* Dest, void const* Src, int32 ArrayDim) override
		{
			if constexpr (std::is_copy_assignable_v<CPPSTRUCT>)
			{
				for (int32 I = 0; I < ArrayDim; ++I)
				{
					((CPPSTRUCT*)Dest)[I] = ((const CPPSTRUCT*)Src)[I];
				}
				return true;
			}
			return false;
		}
		virtual bool HasIdentical() const override { return requires(const CPPSTRUCT& A, const CPPSTRUCT& B) { A == B; }; }
		virtual bool Identical(const void* A, const void* B, uint32 PortFlags, bool& bOutResult) override
		{
			if constexpr (requires(const CPPSTRUCT& X, const CPPSTRUCT& Y) { X == Y; })
			{
				bOutResult = *(const CPPSTRUCT*)A == *(const CPPSTRUCT*)B;
				return true;
			}
			return false;
		}
	};

	UScriptStruct() = default;
	UScriptStruct(const FObjectInitializer& ObjectInitializer) : UStruct(ObjectInitializer) {}
	virtual ~UScriptStruct() override;

	EStructFlags StructFlags = STRUCT_NoFlags;
	ICppStructOps* GetCppStructOps() const { return CppStructOps; }
	void SetCppStructOps(ICppStructOps* InOps) { CppStructOps = InOps; }
	bool HasStructOps() const { return CppStructOps != nullptr; }

	virtual void InitializeStruct(void* Dest, int32 ArrayDim = 1) const override;
	virtual void DestroyStruct(void* Dest, int32 ArrayDim = 1) const override;
	void CopyScriptStruct(void* Dest, void const* Src, int32 ArrayDim = 1) const;
	bool CompareScriptStruct(const void* A, const void* B, uint32 PortFlags) const;
	void ClearScriptStruct(void* Dest, int32 ArrayDim = 1) const;
	virtual FString GetStructCPPName() const;

protected:
	ICppStructOps* CppStructOps = nullptr;
};

// How a script override stands in for a Blueprint graph: called with the object and the parameters.
namespace UE::Host
{
	struct FScriptFunction
	{
		TFunction<void(UObject* Context, void* Parms)> Body;
	};
}

class COREUOBJECT_API UFunction : public UStruct
{
	DECLARE_CLASS(UFunction, UStruct, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UFunction)
	static void StaticRegisterNativesUFunction() {}

	UFunction() = default;
	UFunction(const FObjectInitializer& ObjectInitializer) : UStruct(ObjectInitializer) {}
	virtual ~UFunction() override;

	EFunctionFlags FunctionFlags = FUNC_None;
	uint8 NumParms = 0;
	uint16 ParmsSize = 0;
	uint16 ReturnValueOffset = MAX_uint16;
	FProperty* FirstPropertyToInit = nullptr;

	bool HasAnyFunctionFlags(EFunctionFlags FlagsToCheck) const { return (FunctionFlags & FlagsToCheck) != 0 || FlagsToCheck == FUNC_AllFlags; }
	bool HasAllFunctionFlags(EFunctionFlags FlagsToCheck) const { return (FunctionFlags & FlagsToCheck) == FlagsToCheck; }
	UClass* GetOuterUClass() const;
	UClass* GetOwnerClass() const;
	UFunction* GetSuperFunction() const;
	FProperty* GetReturnProperty() const;

	FNativeFuncPtr GetNativeFunc() const { return Func; }
	void SetNativeFunc(FNativeFuncPtr InFunc) { Func = InFunc; }
	void Invoke(UObject* Obj, FFrame& Stack, RESULT_DECL);
	// Looks up the native thunk registered for this function's name on its class.
	void Bind();

	virtual void Link(bool bRelinkExistingProperties) override;

	// Host: the stand-in for a Blueprint graph of a run-time class.
	const UE::Host::FScriptFunction* GetScriptFunction() const { return ScriptFunction; }
	void SetScriptFunction(UE::Host::FScriptFunction* InScript) { ScriptFunction = InScript; }

private:
	FNativeFuncPtr Func = nullptr;
	UE::Host::FScriptFunction* ScriptFunction = nullptr;
};

class COREUOBJECT_API UDelegateFunction : public UFunction
{
	DECLARE_CLASS(UDelegateFunction, UFunction, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UDelegateFunction)
	static void StaticRegisterNativesUDelegateFunction() {}
	UDelegateFunction() = default;
	UDelegateFunction(const FObjectInitializer& ObjectInitializer) : UFunction(ObjectInitializer) {}
};

/** Optional flags for the UEnum::Get*ByName() functions. */
enum class EGetByNameFlags
{
	None = 0,

	/** Outputs an warning if the enum lookup fails */
	ErrorIfNotFound = 0x01,

	/** Does a case sensitive match */
	CaseSensitive = 0x02,

	/** Checks the GetAuthoredNameStringByIndex value as well as normal names */
	CheckAuthoredName = 0x04,
};

ENUM_CLASS_FLAGS(EGetByNameFlags)

class COREUOBJECT_API UEnum : public UField
{
	DECLARE_CLASS(UEnum, UField, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UEnum)
	static void StaticRegisterNativesUEnum() {}

	enum class ECppForm
	{
		Regular,
		Namespaced,
		EnumClass
	};

	enum class EEnumFlags
	{
		None = 0,
		Flags = 1 << 0,
		NewerVersionExists = 1 << 1,
	};

	UEnum() = default;
	UEnum(const FObjectInitializer& ObjectInitializer) : UField(ObjectInitializer) {}

	// Sets the entries; the engine's _MAX entry is added after the last one.
	bool SetEnums(TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, EEnumFlags InFlags = EEnumFlags::None, bool bAddMaxKeyIfMissing = true);

	ECppForm GetCppForm() const { return CppForm; }
	bool HasAnyEnumFlags(EEnumFlags InFlags) const { return ((int32)EnumFlags & (int32)InFlags) != 0; }
	const FString& CppType() const { return CppTypeName; }
	void SetCppType(const FString& InType) { CppTypeName = InType; }

	int32 NumEnums() const { return Names.Num(); }
	FName GetNameByIndex(int32 Index) const;
	int64 GetValueByIndex(int32 Index) const;
	FString GetNameStringByIndex(int32 Index) const;
	FName GetNameByValue(int64 InValue) const;
	FString GetNameStringByValue(int64 InValue) const;
	int32 GetIndexByName(const FName InName) const;
	int32 GetIndexByNameString(const FString& SearchString) const;
	int32 GetIndexByValue(int64 InValue) const;
	/**
	 * The value of a name (full or short), or INDEX_NONE. ErrorIfNotFound logs a warning when there
	 * is none; CaseSensitive accepts only the name as the enum spells it.
	 */
	int64 GetValueByName(FName InName, EGetByNameFlags Flags = EGetByNameFlags::None) const;
	int64 GetValueByNameString(const FString& SearchString, EGetByNameFlags Flags = EGetByNameFlags::None) const;
	int64 GetMaxEnumValue() const;
	bool IsValidEnumValue(int64 InValue) const;
	bool IsValidEnumName(FName InName) const;
	FText GetDisplayNameTextByIndex(int32 Index) const;
	FText GetDisplayNameTextByValue(int64 Value) const;
	FString GetAuthoredNameStringByIndex(int32 Index) const { return GetNameStringByIndex(Index); }

#if WITH_METADATA
	// Entry metadata is stored under "<Entry>.<Key>", as the header tool writes it.
	FString GetMetaData(const TCHAR* Key, int32 NameIndex = INDEX_NONE) const;
	bool HasMetaData(const TCHAR* Key, int32 NameIndex = INDEX_NONE) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex = INDEX_NONE);
#endif // WITH_METADATA

	TArray<TPair<FName, int64>> Names;

protected:
	ECppForm CppForm = ECppForm::Regular;
	EEnumFlags EnumFlags = EEnumFlags::None;
	FString CppTypeName;
};
ENUM_CLASS_FLAGS(UEnum::EEnumFlags);

// ---------------------------------------------------------------------------------------------

/** Whether a look-up also searches the super classes. */
namespace EIncludeSuperFlag
{
	enum Type
	{
		ExcludeSuper,
		IncludeSuper
	};
}

class COREUOBJECT_API UClass : public UStruct
{
	DECLARE_CLASS(UClass, UStruct, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UClass)
	static void StaticRegisterNativesUClass() {}

	typedef void (*ClassConstructorType)(const FObjectInitializer&);
	typedef void (*ClassAddReferencedObjectsType)(UObject*, FReferenceCollector&);
	typedef UClass* (*StaticClassFunctionType)();

	UClass() = default;
	UClass(const FObjectInitializer& ObjectInitializer) : UStruct(ObjectInitializer) {}
	virtual ~UClass() override;

	ClassConstructorType ClassConstructor = nullptr;
	ClassAddReferencedObjectsType ClassAddReferencedObjects = nullptr;
	EClassFlags ClassFlags = CLASS_None;
	EClassCastFlags ClassCastFlags = CASTCLASS_None;
	UClass* ClassWithin = nullptr;
	FName ClassConfigName;
	int32 ClassUnique = 0;
	// Functions by name, this class's own (lookups walk the supers).
	TMap<FName, UFunction*> FuncMap;

	struct FNativeFunctionLookup
	{
		FName Name;
		FNativeFuncPtr Pointer;
	};
	TArray<FNativeFunctionLookup> NativeFunctionLookupTable;

	UClass* GetSuperClass() const { return (UClass*)GetSuperStruct(); }
	bool HasAnyClassFlags(EClassFlags FlagsToCheck) const { return EnumHasAnyFlags(ClassFlags, FlagsToCheck); }
	bool HasAllClassFlags(EClassFlags FlagsToCheck) const { return EnumHasAllFlags(ClassFlags, FlagsToCheck); }
	EClassFlags GetClassFlags() const { return ClassFlags; }
	bool IsNative() const { return HasAnyClassFlags(CLASS_Native); }
	FName GetConfigName() const { return ClassConfigName; }

	// The class default object, created (and given its config) on first use.
	UObject* GetDefaultObject(bool bCreateIfNeeded = true) const;
	template<class T>
	T* GetDefaultObject() const
	{
		UObject* Ret = GetDefaultObject();
		check(Ret->IsA(T::StaticClass()));
		return (T*)Ret;
	}
	UObject* GetDefaultObjectIfCreated() const { return ClassDefaultObject; }

	UFunction* FindFunctionByName(FName InName, EIncludeSuperFlag::Type IncludeSuper = EIncludeSuperFlag::IncludeSuper) const;
	void AddFunctionToFunctionMap(UFunction* Function, FName FuncName);
	void AddNativeFunction(const char* InName, FNativeFuncPtr InPointer);
	UClass* GetAuthoritativeClass() { return this; }
	bool ImplementsInterface(const UClass* SomeInterface) const;

	void CallAddReferencedObjects(UObject* Obj, FReferenceCollector& Collector) const { ClassAddReferencedObjects(Obj, Collector); }

	static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

private:
	friend class UObject;
	UObject* CreateDefaultObject() const;
	mutable UObject* ClassDefaultObject = nullptr;
	mutable bool bCreatingDefaultObject = false;
};

// Fills in a native class: the engine's compiled-in registration entry point.
COREUOBJECT_API void GetPrivateStaticClassBody(const TCHAR* PackageName, const TCHAR* Name, UClass*& ReturnClass, void (*RegisterNativeFunc)(),
	uint32 InSize, uint32 InAlignment, EClassFlags InClassFlags, EClassCastFlags InClassCastFlags, const TCHAR* InConfigName,
	UClass::ClassConstructorType InClassConstructor, UClass::ClassAddReferencedObjectsType InClassAddReferencedObjects,
	UClass::StaticClassFunctionType InSuperClassFn, UClass::StaticClassFunctionType InWithinClassFn);

// Reflected core structs (NoExportTypes.h).
template<class T>
struct TBaseStructure
{
	static UScriptStruct* Get() { return T::StaticStruct(); }
};

#define HOST_DECLARE_BASE_STRUCTURE(Type) \
	template<> struct TBaseStructure<Type> { COREUOBJECT_API static UScriptStruct* Get(); };

HOST_DECLARE_BASE_STRUCTURE(FVector2D)
HOST_DECLARE_BASE_STRUCTURE(FLinearColor)
HOST_DECLARE_BASE_STRUCTURE(FColor)
HOST_DECLARE_BASE_STRUCTURE(FGuid)
HOST_DECLARE_BASE_STRUCTURE(FIntPoint)
#undef HOST_DECLARE_BASE_STRUCTURE
