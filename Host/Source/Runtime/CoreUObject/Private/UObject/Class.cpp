// Reflection objects, the native class bootstrap and class default objects.
#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "UObject/Package.h"
#include "UObject/Interface.h"
#include "UObject/Stack.h"
#include "StructUtils/UserDefinedStruct.h"
#include "UObject/ObjectPrivate.h"
#include "UObject/MetaDataMap.h"

using namespace UE::CoreUObject::Private;

namespace
{
	// The editor's display form of a name: words split at case changes, a bool's leading 'b' dropped.
	FString NameToDisplayString(const FString& InName, bool bIsBool)
	{
		FString Source = InName;
		if (bIsBool && Source.Len() > 1 && Source[0] == TCHAR('b') && FChar::IsUpper(Source[1]))
		{
			Source.RightChopInline(1);
		}
		FString Out;
		for (int32 I = 0; I < Source.Len(); ++I)
		{
			const TCHAR C = Source[I];
			if (C == TCHAR('_'))
			{
				Out.AppendChar(TCHAR(' '));
				continue;
			}
			if (I > 0)
			{
				const TCHAR P = Source[I - 1];
				const bool bNextLower = I + 1 < Source.Len() && FChar::IsLower(Source[I + 1]);
				if ((FChar::IsUpper(C) && (FChar::IsLower(P) || (FChar::IsUpper(P) && bNextLower))) || (FChar::IsDigit(C) && !FChar::IsDigit(P)))
				{
					if (Out.Len() > 0 && Out[Out.Len() - 1] != TCHAR(' '))
					{
						Out.AppendChar(TCHAR(' '));
					}
				}
			}
			Out.AppendChar(C);
		}
		return Out;
	}
}

// ---------------------------------------------------------------------------------------------
// Intrinsic classes: registered by hand, as the engine registers its own.

#define HOST_IMPLEMENT_INTRINSIC_CLASS(TClass, TName) \
	UClass* TClass::GetPrivateStaticClass() \
	{ \
		static UClass* Class = nullptr; \
		if (!Class) \
		{ \
			GetPrivateStaticClassBody(TEXT("/Script/CoreUObject"), TEXT(TName), Class, &TClass::StaticRegisterNatives##TClass, sizeof(TClass), alignof(TClass), \
				(EClassFlags)(TClass::StaticClassFlags | CLASS_Native), TClass::StaticClassCastFlags(), TClass::StaticConfigName(), &InternalConstructor<TClass>, \
				&TClass::AddReferencedObjects, &TClass::Super::StaticClass, &TClass::WithinClass::StaticClass); \
		} \
		return Class; \
	} \
	COREUOBJECT_API UClass* Z_Construct_UClass_##TClass##_NoRegister() \
	{ \
		return TClass::StaticClass(); \
	}

HOST_IMPLEMENT_INTRINSIC_CLASS(UObject, "Object")
HOST_IMPLEMENT_INTRINSIC_CLASS(UField, "Field")
HOST_IMPLEMENT_INTRINSIC_CLASS(UStruct, "Struct")
HOST_IMPLEMENT_INTRINSIC_CLASS(UScriptStruct, "ScriptStruct")
HOST_IMPLEMENT_INTRINSIC_CLASS(UFunction, "Function")
HOST_IMPLEMENT_INTRINSIC_CLASS(UDelegateFunction, "DelegateFunction")
HOST_IMPLEMENT_INTRINSIC_CLASS(UEnum, "Enum")
HOST_IMPLEMENT_INTRINSIC_CLASS(UClass, "Class")
HOST_IMPLEMENT_INTRINSIC_CLASS(UPackage, "Package")
HOST_IMPLEMENT_INTRINSIC_CLASS(UInterface, "Interface")
HOST_IMPLEMENT_INTRINSIC_CLASS(UUserDefinedStruct, "UserDefinedStruct")

void GetPrivateStaticClassBody(const TCHAR* PackageName, const TCHAR* Name, UClass*& ReturnClass, void (*RegisterNativeFunc)(), uint32 InSize,
	uint32 InAlignment, EClassFlags InClassFlags, EClassCastFlags InClassCastFlags, const TCHAR* InConfigName,
	UClass::ClassConstructorType InClassConstructor, UClass::ClassAddReferencedObjectsType InClassAddReferencedObjects,
	UClass::StaticClassFunctionType InSuperClassFn, UClass::StaticClassFunctionType InWithinClassFn)
{
	// The class object exists (and ReturnClass points at it) before anything that may come back
	// here: the class of classes, the super class and the package are all looked up afterwards.
	FPendingObject Pending;
	UObjectBase* Memory = AllocateObject(nullptr, nullptr, FName(Name), (EObjectFlags)(RF_Public | RF_Standalone | RF_Transient | RF_MarkAsNative),
		sizeof(UClass), alignof(UClass), Pending);
	SetPendingObject(&Pending);
	UClass* Class = new ((EInternal*)Memory) UClass();
	ReturnClass = Class;
	Class->ClassConstructor = InClassConstructor;
	Class->ClassAddReferencedObjects = InClassAddReferencedObjects;
	Class->ClassFlags = InClassFlags | CLASS_Native;
	Class->ClassCastFlags = InClassCastFlags;
	Class->ClassConfigName = InConfigName ? FName(InConfigName) : NAME_None;
	Class->PropertiesSize = (int32)InSize;
	Class->MinAlignment = (int32)InAlignment;
	Class->AddToRoot();
	Class->ClearInternalFlags(EInternalObjectFlags::PendingConstruction);

	SetObjectClass(Class, UClass::StaticClass());
	UClass* Super = InSuperClassFn();
	if (Super != Class)
	{
		Class->SetSuperStruct(Super);
		Class->ClassFlags |= Super->ClassFlags & CLASS_Inherit;
	}
	UClass* Within = InWithinClassFn();
	Class->ClassWithin = Within;
	SetObjectOuter(Class, CreatePackage(PackageName));
	RegisterNativeFunc();
}

void FNativeFunctionRegistrar::RegisterFunction(UClass* Class, const char* InName, FNativeFuncPtr InPointer)
{
	Class->AddNativeFunction(InName, InPointer);
}

void FNativeFunctionRegistrar::RegisterFunctions(UClass* Class, const FNameNativePtrPair* InArray, int32 NumFunctions)
{
	for (int32 I = 0; I < NumFunctions; ++I)
	{
		Class->AddNativeFunction(InArray[I].NameUTF8, InArray[I].Pointer);
	}
}

// ---------------------------------------------------------------------------------------------
// UField

UField::~UField()
{
	delete MetaDataMap;
}

UClass* UField::GetOwnerClass() const
{
	for (UObject* It = const_cast<UField*>(this); It; It = It->GetOuter())
	{
		if (UClass* Class = Cast<UClass>(It))
		{
			return Class;
		}
	}
	return nullptr;
}

UStruct* UField::GetOwnerStruct() const
{
	for (UObject* It = const_cast<UField*>(this); It; It = It->GetOuter())
	{
		if (UStruct* Struct = Cast<UStruct>(It))
		{
			return Struct;
		}
	}
	return nullptr;
}

#if WITH_METADATA
const FString* UField::FindMetaData(const TCHAR* Key) const
{
	return MetaData::Find(MetaDataMap, Key);
}

const FString* UField::FindMetaData(const FName& Key) const
{
	return MetaData::Find(MetaDataMap, Key);
}

const FString& UField::GetMetaData(const TCHAR* Key) const
{
	return MetaData::Get(MetaDataMap, Key);
}

const FString& UField::GetMetaData(const FName& Key) const
{
	return MetaData::Get(MetaDataMap, Key);
}

void UField::SetMetaData(const TCHAR* Key, const TCHAR* InValue)
{
	MetaData::Set(MetaDataMap, FName(Key), FString(InValue));
}

void UField::SetMetaData(const FName& Key, FString&& InValue)
{
	MetaData::Set(MetaDataMap, Key, MoveTemp(InValue));
}

void UField::RemoveMetaData(const TCHAR* Key)
{
	MetaData::Remove(MetaDataMap, Key);
}

bool UField::GetBoolMetaData(const TCHAR* Key) const
{
	return GetMetaData(Key) == TEXT("true");
}

#endif // WITH_METADATA

FText UField::GetDisplayNameText() const
{
#if WITH_METADATA
	if (const FString* DisplayName = MetaData::Find(MetaDataMap, TEXT("DisplayName")))
	{
		return FText::FromString(*DisplayName);
	}
#endif
	return FText::FromString(NameToDisplayString(GetName(), false));
}

#if WITH_EDITORONLY_DATA
FText UField::GetToolTipText(bool bShortTooltip) const
{
	if (bShortTooltip)
	{
		if (const FString* Short = MetaData::Find(MetaDataMap, TEXT("ShortTooltip")))
		{
			return FText::FromString(*Short);
		}
	}
	if (const FString* ToolTip = MetaData::Find(MetaDataMap, TEXT("ToolTip")))
	{
		return FText::FromString(*ToolTip);
	}
	return GetDisplayNameText();
}
#endif

// ---------------------------------------------------------------------------------------------
// UStruct

UStruct::~UStruct()
{
	for (FField* Field = ChildProperties; Field;)
	{
		FField* Next = Field->Next;
		delete Field;
		Field = Next;
	}
	ChildProperties = nullptr;
}

bool UStruct::IsChildOf(const UStruct* SomeBase) const
{
	if (!SomeBase)
	{
		return false;
	}
	for (const UStruct* It = this; It; It = It->GetSuperStruct())
	{
		if (It == SomeBase)
		{
			return true;
		}
	}
	return false;
}

void UStruct::AddCppProperty(FProperty* Property)
{
	FField** Tail = &ChildProperties;
	while (*Tail)
	{
		Tail = &(*Tail)->Next;
	}
	*Tail = Property;
	Property->Next = nullptr;
}

void UStruct::StaticLink(bool bRelinkExistingProperties)
{
	Link(bRelinkExistingProperties);
}

void UStruct::Link(bool bRelinkExistingProperties)
{
	(void)bRelinkExistingProperties;
	PropertyLink = nullptr;
	RefLink = nullptr;
	ReferenceProperties.Reset();
	FProperty** LinkTail = &PropertyLink;
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		FProperty* Property = *It;
		Property->Link();
		*LinkTail = Property;
		LinkTail = &Property->PropertyLinkNext;
		*LinkTail = nullptr;
		if (Property->ContainsObjectReference())
		{
			ReferenceProperties.Add(Property);
		}
	}
	RefLink = ReferenceProperties.Num() ? ReferenceProperties[0] : nullptr;
}

void UStruct::InitializeStruct(void* Dest, int32 ArrayDim) const
{
	FMemory::Memzero(Dest, (SIZE_T)PropertiesSize * ArrayDim);
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		uint8* Element = (uint8*)Dest + Index * PropertiesSize;
		for (TFieldIterator<FProperty> It(this); It; ++It)
		{
			It->InitializeValue_InContainer(Element);
		}
	}
}

void UStruct::DestroyStruct(void* Dest, int32 ArrayDim) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		uint8* Element = (uint8*)Dest + Index * PropertiesSize;
		for (TFieldIterator<FProperty> It(this); It; ++It)
		{
			It->DestroyValue_InContainer(Element);
		}
	}
}

void UStruct::CopyProperties(void* Dest, const void* Src) const
{
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		It->CopyCompleteValue_InContainer(Dest, Src);
	}
}

void UStruct::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UObject::AddReferencedObjects(InThis, Collector);
}

// ---------------------------------------------------------------------------------------------
// UScriptStruct

UScriptStruct::~UScriptStruct()
{
}

void UScriptStruct::InitializeStruct(void* Dest, int32 ArrayDim) const
{
	if (!CppStructOps)
	{
		UStruct::InitializeStruct(Dest, ArrayDim);
		return;
	}
	const int32 Stride = PropertiesSize;
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		CppStructOps->Construct((uint8*)Dest + I * Stride);
	}
}

void UScriptStruct::DestroyStruct(void* Dest, int32 ArrayDim) const
{
	if (!CppStructOps)
	{
		UStruct::DestroyStruct(Dest, ArrayDim);
		return;
	}
	if (CppStructOps->HasDestructor())
	{
		for (int32 I = 0; I < ArrayDim; ++I)
		{
			CppStructOps->Destruct((uint8*)Dest + I * PropertiesSize);
		}
	}
}

void UScriptStruct::CopyScriptStruct(void* Dest, void const* Src, int32 ArrayDim) const
{
	if (CppStructOps && CppStructOps->HasCopy() && CppStructOps->Copy(Dest, Src, ArrayDim))
	{
		return;
	}
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		CopyProperties((uint8*)Dest + I * PropertiesSize, (const uint8*)Src + I * PropertiesSize);
	}
}

bool UScriptStruct::CompareScriptStruct(const void* A, const void* B, uint32 PortFlags) const
{
	if (CppStructOps && CppStructOps->HasIdentical())
	{
		bool bResult = false;
		if (CppStructOps->Identical(A, B, PortFlags, bResult))
		{
			return bResult;
		}
	}
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		for (int32 I = 0; I < It->ArrayDim; ++I)
		{
			if (!It->Identical_InContainer(A, B, I, PortFlags))
			{
				return false;
			}
		}
	}
	return true;
}

void UScriptStruct::ClearScriptStruct(void* Dest, int32 ArrayDim) const
{
	DestroyStruct(Dest, ArrayDim);
	InitializeStruct(Dest, ArrayDim);
}

FString UScriptStruct::GetStructCPPName() const
{
	return TEXT("F") + GetName();
}

// ---------------------------------------------------------------------------------------------
// UFunction

UFunction::~UFunction()
{
	delete ScriptFunction;
}

UClass* UFunction::GetOuterUClass() const
{
	return Cast<UClass>(GetOuter());
}

UClass* UFunction::GetOwnerClass() const
{
	return UField::GetOwnerClass();
}

UFunction* UFunction::GetSuperFunction() const
{
	return (UFunction*)GetSuperStruct();
}

FProperty* UFunction::GetReturnProperty() const
{
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		if (It->HasAnyPropertyFlags(CPF_ReturnParm))
		{
			return *It;
		}
	}
	return nullptr;
}

void UFunction::Invoke(UObject* Obj, FFrame& Stack, RESULT_DECL)
{
	checkSlow(Func);
	(*Func)(Obj, Stack, RESULT_PARAM);
}

void UFunction::Bind()
{
	const FName Name = GetFName();
	for (UClass* Class = GetOwnerClass(); Class; Class = Class->GetSuperClass())
	{
		for (const UClass::FNativeFunctionLookup& Lookup : Class->NativeFunctionLookupTable)
		{
			if (Lookup.Name == Name)
			{
				Func = Lookup.Pointer;
				return;
			}
		}
	}
}

void UFunction::Link(bool bRelinkExistingProperties)
{
	UStruct::Link(bRelinkExistingProperties);
	NumParms = 0;
	ReturnValueOffset = MAX_uint16;
	FirstPropertyToInit = nullptr;
	for (TFieldIterator<FProperty> It(this, EFieldIterationFlags::None); It; ++It)
	{
		if (It->HasAnyPropertyFlags(CPF_Parm))
		{
			++NumParms;
		}
		if (It->HasAnyPropertyFlags(CPF_ReturnParm))
		{
			ReturnValueOffset = (uint16)It->GetOffset_ForUFunction();
		}
	}
}

// ---------------------------------------------------------------------------------------------
// UEnum

bool UEnum::SetEnums(TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, EEnumFlags InFlags, bool bAddMaxKeyIfMissing)
{
	Names = InNames;
	CppForm = InCppForm;
	EnumFlags = InFlags;
	if (bAddMaxKeyIfMissing)
	{
		const FString MaxShort = GetName() + TEXT("_MAX");
		bool bHasMax = false;
		for (int32 I = 0; I < Names.Num(); ++I)
		{
			if (GetNameStringByIndex(I) == MaxShort)
			{
				bHasMax = true;
			}
		}
		if (!bHasMax)
		{
			const FString MaxName = CppForm == ECppForm::Regular ? MaxShort : GetName() + TEXT("::") + MaxShort;
			Names.Emplace(FName(*MaxName), GetMaxEnumValue() + 1);
		}
	}
	return true;
}

FName UEnum::GetNameByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Key : NAME_None;
}

int64 UEnum::GetValueByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Value : INDEX_NONE;
}

FString UEnum::GetNameStringByIndex(int32 Index) const
{
	if (!Names.IsValidIndex(Index))
	{
		return FString();
	}
	FString Full = Names[Index].Key.ToString();
	if (CppForm != ECppForm::Regular)
	{
		const int32 Scope = Full.Find(TEXT("::"));
		if (Scope != INDEX_NONE)
		{
			return Full.RightChop(Scope + 2);
		}
	}
	return Full;
}

FName UEnum::GetNameByValue(int64 InValue) const
{
	for (const TPair<FName, int64>& Pair : Names)
	{
		if (Pair.Value == InValue)
		{
			return Pair.Key;
		}
	}
	return NAME_None;
}

FString UEnum::GetNameStringByValue(int64 InValue) const
{
	const int32 Index = GetIndexByValue(InValue);
	return Index == INDEX_NONE ? FString() : GetNameStringByIndex(Index);
}

int32 UEnum::GetIndexByName(const FName InName) const
{
	for (int32 I = 0; I < Names.Num(); ++I)
	{
		if (Names[I].Key == InName)
		{
			return I;
		}
	}
	// A short name finds the entry of an enum class.
	for (int32 I = 0; I < Names.Num(); ++I)
	{
		if (GetNameStringByIndex(I) == InName.ToString())
		{
			return I;
		}
	}
	return INDEX_NONE;
}

int32 UEnum::GetIndexByNameString(const FString& SearchString) const
{
	for (int32 I = 0; I < Names.Num(); ++I)
	{
		if (Names[I].Key.ToString() == SearchString || GetNameStringByIndex(I) == SearchString)
		{
			return I;
		}
	}
	return INDEX_NONE;
}

int32 UEnum::GetIndexByValue(int64 InValue) const
{
	for (int32 I = 0; I < Names.Num(); ++I)
	{
		if (Names[I].Value == InValue)
		{
			return I;
		}
	}
	return INDEX_NONE;
}

DEFINE_LOG_CATEGORY_STATIC(LogClass, Log, All);

namespace UE::Host::EnumLookup
{
	// Index found ignoring case: kept only when the caller asked for case and the spelling matches
	// the entry's full or short name exactly; logged when asked for and nothing was found.
	int32 FilterByFlags(const UEnum& Enum, int32 Index, const FString& Searched, EGetByNameFlags Flags)
	{
		if (Index != INDEX_NONE && EnumHasAnyFlags(Flags, EGetByNameFlags::CaseSensitive))
		{
			const FString FullName = Enum.GetNameByIndex(Index).ToString();
			const FString ShortName = Enum.GetNameStringByIndex(Index);
			if (!FullName.Equals(Searched, ESearchCase::CaseSensitive) && !ShortName.Equals(Searched, ESearchCase::CaseSensitive))
			{
				Index = INDEX_NONE;
			}
		}
		if (Index == INDEX_NONE && EnumHasAnyFlags(Flags, EGetByNameFlags::ErrorIfNotFound))
		{
			UE_LOG(LogClass, Warning, TEXT("In Enum %s, GetValueByName failed for name %s"), *Enum.GetName(), *Searched);
		}
		return Index;
	}
}

int64 UEnum::GetValueByName(FName InName, EGetByNameFlags Flags) const
{
	const int32 Index = UE::Host::EnumLookup::FilterByFlags(*this, GetIndexByName(InName), InName.ToString(), Flags);
	return Index == INDEX_NONE ? INDEX_NONE : Names[Index].Value;
}

int64 UEnum::GetValueByNameString(const FString& SearchString, EGetByNameFlags Flags) const
{
	const int32 Index = UE::Host::EnumLookup::FilterByFlags(*this, GetIndexByNameString(SearchString), SearchString, Flags);
	return Index == INDEX_NONE ? INDEX_NONE : Names[Index].Value;
}

int64 UEnum::GetMaxEnumValue() const
{
	int64 Max = 0;
	bool bAny = false;
	for (const TPair<FName, int64>& Pair : Names)
	{
		if (!bAny || Pair.Value > Max)
		{
			Max = Pair.Value;
			bAny = true;
		}
	}
	return Max;
}

bool UEnum::IsValidEnumValue(int64 InValue) const
{
	return GetIndexByValue(InValue) != INDEX_NONE;
}

bool UEnum::IsValidEnumName(FName InName) const
{
	return GetIndexByName(InName) != INDEX_NONE;
}

#if WITH_METADATA
FString UEnum::GetMetaData(const TCHAR* Key, int32 NameIndex) const
{
	FString FullKey = Key;
	if (NameIndex != INDEX_NONE)
	{
		FullKey = GetNameStringByIndex(NameIndex) + TEXT(".") + Key;
	}
	return UField::GetMetaData(*FullKey);
}

bool UEnum::HasMetaData(const TCHAR* Key, int32 NameIndex) const
{
	FString FullKey = Key;
	if (NameIndex != INDEX_NONE)
	{
		FullKey = GetNameStringByIndex(NameIndex) + TEXT(".") + Key;
	}
	return UField::HasMetaData(*FullKey);
}

void UEnum::SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex)
{
	FString FullKey = Key;
	if (NameIndex != INDEX_NONE)
	{
		FullKey = GetNameStringByIndex(NameIndex) + TEXT(".") + Key;
	}
	UField::SetMetaData(*FullKey, InValue);
}

#endif // WITH_METADATA

FText UEnum::GetDisplayNameTextByIndex(int32 Index) const
{
#if WITH_METADATA
	const FString DisplayName = GetMetaData(TEXT("DisplayName"), Index);
	if (!DisplayName.IsEmpty())
	{
		return FText::FromString(DisplayName);
	}
#endif
	return FText::FromString(GetNameStringByIndex(Index));
}

FText UEnum::GetDisplayNameTextByValue(int64 Value) const
{
	const int32 Index = GetIndexByValue(Value);
	return Index == INDEX_NONE ? FText::GetEmpty() : GetDisplayNameTextByIndex(Index);
}

// ---------------------------------------------------------------------------------------------
// UClass

UClass::~UClass()
{
}

UFunction* UClass::FindFunctionByName(FName InName, EIncludeSuperFlag::Type IncludeSuper) const
{
	const bool bIncludeSuper = IncludeSuper == EIncludeSuperFlag::IncludeSuper;
	for (const UClass* Class = this; Class; Class = bIncludeSuper ? Class->GetSuperClass() : nullptr)
	{
		if (UFunction* const* Found = Class->FuncMap.Find(InName))
		{
			return *Found;
		}
	}
	return nullptr;
}

void UClass::AddFunctionToFunctionMap(UFunction* Function, FName FuncName)
{
	FuncMap.Add(FuncName, Function);
}

void UClass::AddNativeFunction(const char* InName, FNativeFuncPtr InPointer)
{
	const FName Name(UTF8_TO_TCHAR(InName));
	for (FNativeFunctionLookup& Lookup : NativeFunctionLookupTable)
	{
		if (Lookup.Name == Name)
		{
			Lookup.Pointer = InPointer;
			return;
		}
	}
	NativeFunctionLookupTable.Add(FNativeFunctionLookup{Name, InPointer});
}

bool UClass::ImplementsInterface(const UClass* SomeInterface) const
{
	return SomeInterface && IsChildOf(SomeInterface);
}

void UClass::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UClass* This = (UClass*)InThis;
	if (This->ClassDefaultObject)
	{
		Collector.AddReferencedObject(This->ClassDefaultObject, This);
	}
	UStruct::AddReferencedObjects(InThis, Collector);
}

UObject* UClass::GetDefaultObject(bool bCreateIfNeeded) const
{
	if (!ClassDefaultObject && bCreateIfNeeded)
	{
		CreateDefaultObject();
	}
	return ClassDefaultObject;
}

UObject* UClass::CreateDefaultObject() const
{
	if (ClassDefaultObject || bCreatingDefaultObject)
	{
		return ClassDefaultObject;
	}
	checkf(ClassConstructor, TEXT("Class %s has no constructor"), *GetName());
	bCreatingDefaultObject = true;
	// Parents first, as the engine builds them.
	if (UClass* Parent = GetSuperClass())
	{
		Parent->GetDefaultObject();
	}
	FStaticConstructObjectParameters Params(this);
	Params.Outer = GetOuter();
	Params.Name = FName(*(TEXT("Default__") + GetName()));
	Params.SetFlags = (EObjectFlags)(RF_Public | RF_ClassDefaultObject | RF_ArchetypeObject);
	UObject* Object = StaticConstructObject_Internal(Params);
	Object->AddToRoot();
	ClassDefaultObject = Object;
	bCreatingDefaultObject = false;
	return ClassDefaultObject;
}

// ---------------------------------------------------------------------------------------------
// UUserDefinedStruct

FString UUserDefinedStruct::GetAuthoredNameForField(const FField* Field) const
{
	if (!Field)
	{
		return FString();
	}
	FString Name = Field->GetName();
	// "<Base>_<N>_<32 hex digits>": drop the GUID part, then the counter.
	if (Name.Len() > 35)
	{
		Name = Name.LeftChop(33);
		int32 Underscore = INDEX_NONE;
		if (Name.FindLastChar(TCHAR('_'), Underscore) && Underscore > 0)
		{
			Name = Name.Left(Underscore);
		}
	}
	return Name;
}

FProperty* UUserDefinedStruct::CustomFindProperty(const FName InName) const
{
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		if (It->GetFName() == InName || GetAuthoredNameForField(*It) == InName.ToString())
		{
			return *It;
		}
	}
	return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Core structs declared in NoExportTypes.h

extern COREUOBJECT_API UScriptStruct* Z_Construct_UScriptStruct_FVector2D();
extern COREUOBJECT_API UScriptStruct* Z_Construct_UScriptStruct_FLinearColor();
extern COREUOBJECT_API UScriptStruct* Z_Construct_UScriptStruct_FColor();
extern COREUOBJECT_API UScriptStruct* Z_Construct_UScriptStruct_FGuid();
extern COREUOBJECT_API UScriptStruct* Z_Construct_UScriptStruct_FIntPoint();

UScriptStruct* TBaseStructure<FVector2D>::Get() { return Z_Construct_UScriptStruct_FVector2D(); }
UScriptStruct* TBaseStructure<FLinearColor>::Get() { return Z_Construct_UScriptStruct_FLinearColor(); }
UScriptStruct* TBaseStructure<FColor>::Get() { return Z_Construct_UScriptStruct_FColor(); }
UScriptStruct* TBaseStructure<FGuid>::Get() { return Z_Construct_UScriptStruct_FGuid(); }
UScriptStruct* TBaseStructure<FIntPoint>::Get() { return Z_Construct_UScriptStruct_FIntPoint(); }
