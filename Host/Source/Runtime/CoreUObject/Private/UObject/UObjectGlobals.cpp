// Object construction, names, packages, lookup and loading.
#include "UObject/UObjectGlobals.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/ObjectPrivate.h"
#include "Host/ObjectLoading.h"

DEFINE_LOG_CATEGORY(LogUObjectGlobals);
DEFINE_LOG_CATEGORY(LogGarbage);

using namespace UE::CoreUObject::Private;

namespace
{
	// The initializers of the constructors running now, innermost last.
	thread_local FObjectInitializer* GCurrentInitializer = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Allocation

namespace UE::CoreUObject::Private
{
	UObjectBase* AllocateObject(UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags, int32 Size, int32 Alignment, FPendingObject& OutPending)
	{
		void* Memory = FMemory::Malloc(Size, Alignment);
		// Engine objects start from zeroed memory: members without initialisers read as zero.
		FMemory::Memzero(Memory, Size);
		UObjectBase* Object = (UObjectBase*)Memory;
		OutPending.Memory = Object;
		OutPending.Class = Class;
		OutPending.Outer = Outer;
		OutPending.Name = Name;
		OutPending.Flags = Flags;
		OutPending.Index = GUObjectArray.AllocateIndex(Object);
		GUObjectArray.IndexToObject(OutPending.Index)->SetFlags(EInternalObjectFlags::PendingConstruction);
		return Object;
	}

	void CheckIsClassChildOf(const UClass* Parent, const UClass* Child)
	{
		checkf(Child, TEXT("NewObject called with a nullptr class object"));
		checkf(Child->IsChildOf(Parent), TEXT("NewObject called with invalid class, %s must be a child of %s"), *Child->GetName(), *Parent->GetName());
	}
}

FStaticConstructObjectParameters::FStaticConstructObjectParameters(const UClass* InClass)
	: Class(InClass)
	, Name(NAME_None)
{
}

FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName)
{
	check(Class);
	const FName Base = BaseName.IsNone() ? Class->GetFName() : BaseName;
	UClass* MutableClass = const_cast<UClass*>(Class);
	FName TestName;
	do
	{
		// FName numbers are stored one higher than written: the first unique name is "Base_0".
		TestName = FName(Base, ++MutableClass->ClassUnique);
	} while (FindObjectFast(Outer, TestName, nullptr, false));
	return TestName;
}

UObject* StaticAllocateObjectForOperatorNew(const UClass* Class, UObject* InOuter, FName Name, EObjectFlags SetFlags)
{
	FPendingObject Pending;
	UClass* MutableClass = const_cast<UClass*>(Class);
	if (Name.IsNone())
	{
		Name = MakeUniqueObjectName(InOuter, Class);
	}
	UObjectBase* Object = AllocateObject(MutableClass, InOuter, Name, SetFlags, Class->GetPropertiesSize(), Class->GetMinAlignment(), Pending);
	HashObject(Object, InOuter, Name);
	static thread_local FPendingObject Stored;
	Stored = Pending;
	SetPendingObject(&Stored);
	return (UObject*)Object;
}

UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params)
{
	UClass* Class = const_cast<UClass*>(Params.Class);
	checkf(Class, TEXT("StaticConstructObject called with a null class"));
	UObject* Outer = Params.Outer;
	if (!Outer)
	{
		checkf(Class->IsChildOf(UPackage::StaticClass()), TEXT("Object is not packaged: %s %s"), *Class->GetName(), *Params.Name.ToString());
	}
	if (Class->HasAnyClassFlags(CLASS_Abstract) && !(Params.SetFlags & RF_ClassDefaultObject))
	{
		UE_LOG(LogUObjectGlobals, Fatal, TEXT("Unable to create new object: %s %s.%s. Creating an instance of an abstract class is not allowed!"),
			*Class->GetName(), *GetPathNameSafe(Outer), *Params.Name.ToString());
		return nullptr;
	}
	if (!Params.Name.IsNone())
	{
		if (UObject* Existing = FindObjectFast(Outer, Params.Name, nullptr, false))
		{
			UE_LOG(LogUObjectGlobals, Fatal, TEXT("Cannot create %s %s: an object of that name already exists in %s (%s)"), *Class->GetName(),
				*Params.Name.ToString(), *GetPathNameSafe(Outer), *Existing->GetFullName());
			return nullptr;
		}
	}
	const FName Name = Params.Name.IsNone() ? MakeUniqueObjectName(Outer, Class) : Params.Name;
	const bool bIsCDO = (Params.SetFlags & RF_ClassDefaultObject) != 0;

	// Instances take their defaults from the class default object.
	UObject* Archetype = Params.Template;
	if (!Archetype && !bIsCDO && Class->HasAnyClassFlags(CLASS_Config))
	{
		Archetype = Class->GetDefaultObject();
	}

	FPendingObject Pending;
	UObjectBase* Memory = AllocateObject(Class, Outer, Name, (EObjectFlags)(Params.SetFlags | RF_NeedInitialization), Class->GetPropertiesSize(),
		Class->GetMinAlignment(), Pending);
	HashObject(Memory, Outer, Name);
	SetPendingObject(&Pending);
	{
		FObjectInitializer Initializer((UObject*)Memory, Archetype, Params.bCopyTransientsFromClassDefaults);
		(*Class->ClassConstructor)(Initializer);
	}
	return (UObject*)Memory;
}

// ---------------------------------------------------------------------------------------------
// Initializer

FObjectInitializer::FObjectInitializer()
{
	// The engine's default form: an initializer that owns nothing.
}

FObjectInitializer::FObjectInitializer(UObject* InObj, UObject* InObjectArchetype, bool bInCopyTransientsFromClassDefaults)
	: Obj(InObj)
	, ObjectArchetype(InObjectArchetype)
	, bCopyTransientsFromClassDefaults(bInCopyTransientsFromClassDefaults)
	, bOwnsConstruction(true)
	, Previous(GCurrentInitializer)
{
	GCurrentInitializer = this;
}

FObjectInitializer::~FObjectInitializer()
{
	if (!bOwnsConstruction)
	{
		return;
	}
	GCurrentInitializer = Previous;
	UClass* Class = Obj->GetClass();
	const bool bIsCDO = Obj->HasAnyFlags(RF_ClassDefaultObject);

	// Properties the C++ constructor does not set come from the archetype: config values for
	// instances of config classes, everything for an explicit template.
	if (ObjectArchetype && ObjectArchetype != Obj)
	{
		const bool bExplicitTemplate = !ObjectArchetype->HasAnyFlags(RF_ClassDefaultObject);
		for (TFieldIterator<FProperty> It(Class); It; ++It)
		{
			FProperty* Property = *It;
			if (bExplicitTemplate || Property->HasAnyPropertyFlags(CPF_Config))
			{
				if (Property->IsInContainer(ObjectArchetype->GetClass()->GetPropertiesSize()))
				{
					Property->CopyCompleteValue_InContainer(Obj, ObjectArchetype);
				}
			}
		}
	}
	if (Class->HasAnyClassFlags(CLASS_Config) && (bIsCDO || Class->HasAnyClassFlags(CLASS_PerObjectConfig)))
	{
		Obj->LoadConfig();
	}
	Obj->ClearInternalFlags(EInternalObjectFlags::PendingConstruction);
	Obj->PostInitProperties();
	Obj->ClearFlags(RF_NeedInitialization);
}

UClass* FObjectInitializer::GetClass() const
{
	return Obj->GetClass();
}

FObjectInitializer& FObjectInitializer::Get()
{
	checkf(GCurrentInitializer, TEXT("FObjectInitializer::Get() can only be used inside of UObject-derived class constructor."));
	return *GCurrentInitializer;
}

UObject* FObjectInitializer::CreateDefaultSubobject(UObject* Outer, FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault,
	bool bIsRequired, bool bIsTransient) const
{
	checkf(Outer, TEXT("CreateDefaultSubobject called without an outer"));
	EObjectFlags Flags = (EObjectFlags)(Outer->GetMaskedFlags(RF_PropagateToSubObjects) | RF_DefaultSubObject);
	if (Outer->HasAnyFlags(RF_ClassDefaultObject | RF_ArchetypeObject))
	{
		Flags |= RF_ArchetypeObject;
	}
	if (bIsTransient)
	{
		Flags |= RF_Transient;
	}
	(void)ReturnType;
	(void)bIsRequired;
	FStaticConstructObjectParameters Params(ClassToCreateByDefault);
	Params.Outer = Outer;
	Params.Name = SubobjectFName;
	Params.SetFlags = Flags;
	return StaticConstructObject_Internal(Params);
}

// ---------------------------------------------------------------------------------------------
// Packages

UPackage* CreatePackage(const TCHAR* PackageName)
{
	const FName Name(PackageName);
	if (UObject* Existing = FindObjectFast(nullptr, Name, UPackage::StaticClass(), false))
	{
		return (UPackage*)Existing;
	}
	FStaticConstructObjectParameters Params(UPackage::StaticClass());
	Params.Outer = nullptr;
	Params.Name = Name;
	Params.SetFlags = RF_Public;
	return (UPackage*)StaticConstructObject_Internal(Params);
}

UPackage* GetTransientPackage()
{
	static UPackage* TransientPackage = nullptr;
	if (!TransientPackage)
	{
		TransientPackage = CreatePackage(TEXT("/Engine/Transient"));
		TransientPackage->SetFlags(RF_Transient);
		TransientPackage->AddToRoot();
	}
	return TransientPackage;
}

UObject* UE_Host_GetClassDefaultObject(const UClass* Class)
{
	check(Class);
	return Class->GetDefaultObject();
}

UObject* GetTransientPackageAsObject()
{
	return GetTransientPackage();
}

// ---------------------------------------------------------------------------------------------
// Lookup

namespace
{
	// "Class'/Path.Object'" (the export text form) to "/Path.Object".
	FString StripClassPrefix(FStringView Name)
	{
		FString Result(Name);
		int32 Quote = INDEX_NONE;
		if (Result.FindChar(TCHAR('\''), Quote) && Result.EndsWith(TEXT("'")) && Quote > 0)
		{
			Result = Result.Mid(Quote + 1, Result.Len() - Quote - 2);
		}
		return Result;
	}

	UObject* FindPath(UClass* Class, UObject* Outer, const FString& Path, bool bExactClass)
	{
		// Split "Package.Object:Sub.Sub" into its parts; the package part keeps its slashes.
		TArray<FString> Parts;
		FString Current;
		for (int32 I = 0; I < Path.Len(); ++I)
		{
			const TCHAR C = Path[I];
			if (C == TCHAR('.') || C == TCHAR(':'))
			{
				Parts.Add(Current);
				Current.Reset();
			}
			else
			{
				Current.AppendChar(C);
			}
		}
		Parts.Add(Current);
		UObject* Scope = Outer;
		for (int32 I = 0; I < Parts.Num(); ++I)
		{
			const bool bLast = I == Parts.Num() - 1;
			UObject* Found = FindObjectFast(Scope, FName(*Parts[I]), bLast ? Class : nullptr, bLast && bExactClass);
			if (!Found)
			{
				return nullptr;
			}
			Scope = Found;
		}
		return Scope;
	}

	TArray<TPair<FDelegateHandle, UE::Host::FAssetLoader>>& GetAssetLoaders()
	{
		static TArray<TPair<FDelegateHandle, UE::Host::FAssetLoader>>* Loaders = new TArray<TPair<FDelegateHandle, UE::Host::FAssetLoader>>();
		return *Loaders;
	}
}

UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool bExactClass)
{
	return FindObjectFast(InOuter, InName, Class, bExactClass);
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, FStringView InName, bool bExactClass)
{
	const FString Name = StripClassPrefix(InName);
	if (Name.IsEmpty() || Name == TEXT("None"))
	{
		return nullptr;
	}
	return FindPath(Class, InOuter, Name, bExactClass);
}

namespace UE::CoreUObject::Private
{
	UObject* LoadViaAssetLoaders(UClass* Class, const FString& Path)
	{
		for (const TPair<FDelegateHandle, UE::Host::FAssetLoader>& Loader : GetAssetLoaders())
		{
			if (UObject* Loaded = Loader.Value(Class, Path))
			{
				if (!Class || Loaded->IsA(Class))
				{
					return Loaded;
				}
			}
		}
		return nullptr;
	}
}

UObject* StaticLoadObject(UClass* Class, UObject* InOuter, FStringView Name, FStringView Filename, uint32 LoadFlags, UPackageMap* Sandbox,
	bool bAllowObjectReconciliation, const FLinkerInstancingContext* InstancingContext)
{
	(void)Filename;
	(void)Sandbox;
	(void)bAllowObjectReconciliation;
	(void)InstancingContext;
	const FString Path = StripClassPrefix(Name);
	if (UObject* Found = StaticFindObject(Class, InOuter, Path))
	{
		return Found;
	}
	if (UObject* Loaded = LoadViaAssetLoaders(Class, InOuter ? InOuter->GetPathName() + TEXT(".") + Path : Path))
	{
		return Loaded;
	}
	if (!(LoadFlags & (LOAD_NoWarn | LOAD_Quiet)))
	{
		UE_LOG(LogUObjectGlobals, Warning, TEXT("Failed to find object '%s %s'"), Class ? *Class->GetName() : TEXT("Object"), *Path);
	}
	return nullptr;
}

UClass* StaticLoadClass(UClass* BaseClass, UObject* InOuter, FStringView Name, FStringView Filename, uint32 LoadFlags, UPackageMap* Sandbox)
{
	UClass* Class = (UClass*)StaticLoadObject(UClass::StaticClass(), InOuter, Name, Filename, LoadFlags, Sandbox);
	if (Class && BaseClass && !Class->IsChildOf(BaseClass))
	{
		UE_LOG(LogUObjectGlobals, Error, TEXT("LoadClass<%s>: '%s' is not a child class"), *BaseClass->GetName(), *Class->GetName());
		return nullptr;
	}
	return Class;
}

namespace UE::Host
{
	FDelegateHandle RegisterAssetLoader(FAssetLoader Loader)
	{
		const FDelegateHandle Handle(FDelegateHandle::GenerateNewHandle);
		GetAssetLoaders().Emplace(Handle, MoveTemp(Loader));
		return Handle;
	}

	void UnregisterAssetLoader(FDelegateHandle Handle)
	{
		GetAssetLoaders().RemoveAll([Handle](const TPair<FDelegateHandle, FAssetLoader>& Entry) { return Entry.Key == Handle; });
	}
}
