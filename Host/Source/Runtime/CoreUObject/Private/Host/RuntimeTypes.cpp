// Classes and structs made at run time: Blueprint-generated classes and user-defined structs.
#include "Host/RuntimeTypes.h"
#include "Host/ObjectLoading.h"
#include "StructUtils/UserDefinedStruct.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "Misc/Guid.h"
#include "UObject/UObjectHash.h"

DEFINE_LOG_CATEGORY_STATIC(LogHostRuntimeTypes, Log, All);

namespace UE::Host
{
	FBlueprintClassBuilder::FBlueprintClassBuilder(UClass* Parent, const TCHAR* Name)
	{
		check(Parent);
		UPackage* Package = CreatePackage(*(FString(TEXT("/Game/")) + Name));
		Package->AddToRoot();
		FStaticConstructObjectParameters Params(UClass::StaticClass());
		Params.Outer = Package;
		Params.Name = FName(*(FString(Name) + TEXT("_C")));
		Params.SetFlags = (EObjectFlags)(RF_Public | RF_Transient);
		Class = (UClass*)StaticConstructObject_Internal(Params);
		Class->AddToRoot();
		Class->SetSuperStruct(Parent);
		Class->ClassConstructor = Parent->ClassConstructor;
		Class->ClassAddReferencedObjects = Parent->ClassAddReferencedObjects;
		// A generated class is not native: events it overrides are found on it and run as script.
		Class->ClassFlags = (EClassFlags)((Parent->ClassFlags & CLASS_ScriptInherit) | CLASS_CompiledFromBlueprint | CLASS_Constructed);
		Class->ClassCastFlags = Parent->ClassCastFlags;
		Class->ClassWithin = Parent->ClassWithin;
		Class->ClassConfigName = Parent->ClassConfigName;
		Class->PropertiesSize = Parent->PropertiesSize;
		Class->MinAlignment = Parent->MinAlignment;
#if WITH_METADATA
		Class->SetMetaData(TEXT("BlueprintType"), TEXT("true"));
#endif
	}

	FBlueprintClassBuilder& FBlueprintClassBuilder::OverrideEvent(FName EventName, TFunction<void(UObject* Self, void* Parms)> Body)
	{
		UClass* Parent = Class->GetSuperClass();
		UFunction* ParentFunction = Parent->FindFunctionByName(EventName);
		if (!ParentFunction || !ParentFunction->HasAnyFunctionFlags(FUNC_BlueprintEvent))
		{
			UE_LOG(LogHostRuntimeTypes, Error, TEXT("%s has no Blueprint event %s to override"), *Parent->GetName(), *EventName.ToString());
			return *this;
		}
		FStaticConstructObjectParameters Params(UFunction::StaticClass());
		Params.Outer = Class;
		Params.Name = EventName;
		Params.SetFlags = (EObjectFlags)(RF_Public | RF_Transient);
		UFunction* Function = (UFunction*)StaticConstructObject_Internal(Params);
		Function->AddToRoot();
		// The override keeps the parent's signature: its parameters are found through the super.
		Function->SetSuperStruct(ParentFunction);
		Function->FunctionFlags = (EFunctionFlags)(ParentFunction->FunctionFlags & ~FUNC_Native);
		Function->ParmsSize = ParentFunction->ParmsSize;
		Function->PropertiesSize = ParentFunction->PropertiesSize;
		Function->MinAlignment = ParentFunction->MinAlignment;
		Function->NumParms = ParentFunction->NumParms;
		Function->ReturnValueOffset = ParentFunction->ReturnValueOffset;
		Function->SetScriptFunction(new FScriptFunction{MoveTemp(Body)});
		UField** Tail = &Class->Children;
		while (*Tail)
		{
			Tail = &(*Tail)->Next;
		}
		*Tail = Function;
		Class->AddFunctionToFunctionMap(Function, EventName);
		return *this;
	}

	UClass* FBlueprintClassBuilder::Finish()
	{
		Class->StaticLink();
		return Class;
	}

	// ------------------------------------------------------------------------------------------

	FUserDefinedStructBuilder::FUserDefinedStructBuilder(const TCHAR* Name)
	{
		UPackage* Package = CreatePackage(*(FString(TEXT("/Game/")) + Name));
		Package->AddToRoot();
		FStaticConstructObjectParameters Params(UUserDefinedStruct::StaticClass());
		Params.Outer = Package;
		Params.Name = FName(Name);
		Params.SetFlags = (EObjectFlags)(RF_Public | RF_Transient);
		Struct = (UUserDefinedStruct*)StaticConstructObject_Internal(Params);
		Struct->AddToRoot();
		Struct->PropertiesSize = 0;
		Struct->MinAlignment = 1;
	}

	namespace
	{
		void SizeOfKind(CodeGen::EPropertyKind Kind, UObject* TypeObject, int32& OutSize, int32& OutAlign)
		{
			using CodeGen::EPropertyKind;
			switch (Kind)
			{
			case EPropertyKind::Int8: case EPropertyKind::Byte: case EPropertyKind::Bool: OutSize = 1; OutAlign = 1; return;
			case EPropertyKind::Int16: case EPropertyKind::UInt16: OutSize = 2; OutAlign = 2; return;
			case EPropertyKind::Int: case EPropertyKind::UInt32: case EPropertyKind::Float: OutSize = 4; OutAlign = 4; return;
			case EPropertyKind::Int64: case EPropertyKind::UInt64: case EPropertyKind::Double: OutSize = 8; OutAlign = 8; return;
			case EPropertyKind::Str: OutSize = sizeof(FString); OutAlign = alignof(FString); return;
			case EPropertyKind::Name: OutSize = sizeof(FName); OutAlign = alignof(FName); return;
			case EPropertyKind::Text: OutSize = sizeof(FText); OutAlign = alignof(FText); return;
			case EPropertyKind::Enum: OutSize = 1; OutAlign = 1; return;
			case EPropertyKind::Object: case EPropertyKind::Class: OutSize = sizeof(UObject*); OutAlign = alignof(UObject*); return;
			case EPropertyKind::WeakObject: OutSize = sizeof(FWeakObjectPtr); OutAlign = alignof(FWeakObjectPtr); return;
			case EPropertyKind::SoftObject: case EPropertyKind::SoftClass: OutSize = sizeof(FSoftObjectPtr); OutAlign = alignof(FSoftObjectPtr); return;
			case EPropertyKind::Array: OutSize = sizeof(FScriptArray); OutAlign = alignof(FScriptArray); return;
			case EPropertyKind::Struct:
			{
				UScriptStruct* Inner = CastChecked<UScriptStruct>(TypeObject);
				OutSize = Inner->GetPropertiesSize();
				OutAlign = FMath::Max(Inner->GetMinAlignment(), 1);
				return;
			}
			default:
				OutSize = 0;
				OutAlign = 1;
				return;
			}
		}

		// Run-time members name their type through an object rather than a singleton function.
		thread_local UObject* GTypeObject = nullptr;
		UScriptStruct* TypeObjectAsStruct() { return CastChecked<UScriptStruct>(GTypeObject); }
		UEnum* TypeObjectAsEnum() { return CastChecked<UEnum>(GTypeObject); }
		UClass* TypeObjectAsClass() { return GTypeObject ? CastChecked<UClass>(GTypeObject) : UObject::StaticClass(); }
	}

	FName FUserDefinedStructBuilder::AddMember(const TCHAR* BaseName, CodeGen::EPropertyKind Kind, const CodeGen::FPropertyParams* Inner, UObject* TypeObject)
	{
		using CodeGen::EPropertyKind;
		int32 Size = 0;
		int32 Align = 1;
		SizeOfKind(Kind, TypeObject, Size, Align);
		checkf(Size > 0, TEXT("FUserDefinedStructBuilder: unsupported member kind"));
		const int32 Offset = Align > 1 ? (Struct->PropertiesSize + Align - 1) / Align * Align : Struct->PropertiesSize;

		const FString MemberName = FString::Printf(TEXT("%s_%u_%s"), BaseName, Counter++, *FGuid::NewGuid().ToString(EGuidFormats::Digits));
		CodeGen::FPropertyParams Params;
		Params.Kind = Kind;
		Params.Name = *MemberName;
		Params.Offset = Offset;
		Params.Flags = CPF_Edit | CPF_BlueprintVisible | CPF_DisableEditOnInstance;
		Params.bNativeBool = Kind == EPropertyKind::Bool;
		GTypeObject = TypeObject;
		if (Kind == EPropertyKind::Struct)
		{
			Params.StructFunc = &TypeObjectAsStruct;
		}
		else if (Kind == EPropertyKind::Enum)
		{
			Params.EnumFunc = &TypeObjectAsEnum;
			Params.UnderlyingKind = EPropertyKind::Byte;
		}
		else if (Kind == EPropertyKind::Object || Kind == EPropertyKind::WeakObject || Kind == EPropertyKind::SoftObject)
		{
			Params.ClassFunc = &TypeObjectAsClass;
		}
		FProperty* Property = CodeGen::AddProperty(Struct, Params);
		if (Kind == EPropertyKind::Array)
		{
			checkf(Inner, TEXT("FUserDefinedStructBuilder: an array member needs its element"));
			CodeGen::FPropertyParams InnerParams = *Inner;
			InnerParams.Name = *MemberName;
			InnerParams.Offset = 0;
			if (InnerParams.Kind == EPropertyKind::Bool)
			{
				InnerParams.bNativeBool = true;
			}
			CodeGen::AddProperty(Property, InnerParams);
		}
		GTypeObject = nullptr;
		Struct->PropertiesSize = Offset + Size;
		Struct->MinAlignment = FMath::Max(Struct->MinAlignment, Align);
		return Property->GetFName();
	}

	UUserDefinedStruct* FUserDefinedStructBuilder::Finish()
	{
		const int32 Align = Struct->MinAlignment;
		Struct->PropertiesSize = (Struct->PropertiesSize + Align - 1) / Align * Align;
		Struct->StaticLink();
		return Struct;
	}

	void CreatePendingDefaultObjects()
	{
		TArray<UClass*> Classes;
		GetDerivedClasses(UObject::StaticClass(), Classes, true);
		for (UClass* Class : Classes)
		{
			if (Class->ClassConstructor && Class->HasAnyClassFlags(CLASS_Constructed) && !Class->IsChildOf(UField::StaticClass()) && !Class->IsChildOf(UPackage::StaticClass()))
			{
				Class->GetDefaultObject();
			}
		}
	}
}
