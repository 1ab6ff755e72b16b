// The FProperty family: value operations, text import/export (config files) and references.
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"
#include "Host/CodeGen.h"

IMPLEMENT_FIELD(FProperty)
IMPLEMENT_FIELD(FNumericProperty)
IMPLEMENT_FIELD(FInt8Property)
IMPLEMENT_FIELD(FInt16Property)
IMPLEMENT_FIELD(FIntProperty)
IMPLEMENT_FIELD(FInt64Property)
IMPLEMENT_FIELD(FUInt16Property)
IMPLEMENT_FIELD(FUInt32Property)
IMPLEMENT_FIELD(FUInt64Property)
IMPLEMENT_FIELD(FFloatProperty)
IMPLEMENT_FIELD(FDoubleProperty)
IMPLEMENT_FIELD(FByteProperty)
IMPLEMENT_FIELD(FBoolProperty)
IMPLEMENT_FIELD(FEnumProperty)
IMPLEMENT_FIELD(FStrProperty)
IMPLEMENT_FIELD(FNameProperty)
IMPLEMENT_FIELD(FTextProperty)
IMPLEMENT_FIELD(FObjectPropertyBase)
IMPLEMENT_FIELD(FObjectProperty)
IMPLEMENT_FIELD(FClassProperty)
IMPLEMENT_FIELD(FWeakObjectProperty)
IMPLEMENT_FIELD(FSoftObjectProperty)
IMPLEMENT_FIELD(FSoftClassProperty)
IMPLEMENT_FIELD(FInterfaceProperty)
IMPLEMENT_FIELD(FStructProperty)
IMPLEMENT_FIELD(FArrayProperty)
IMPLEMENT_FIELD(FMapProperty)
IMPLEMENT_FIELD(FSetProperty)
IMPLEMENT_FIELD(FDelegateProperty)
IMPLEMENT_FIELD(FMulticastDelegateProperty)
IMPLEMENT_FIELD(FMulticastInlineDelegateProperty)

namespace
{
	void SkipSpaces(const TCHAR*& Buffer)
	{
		while (*Buffer == TCHAR(' ') || *Buffer == TCHAR('\t'))
		{
			++Buffer;
		}
	}

	// One value of a text list: a quoted string or everything up to a top-level ',' or ')'.
	FString ReadToken(const TCHAR*& Buffer)
	{
		SkipSpaces(Buffer);
		FString Out;
		if (*Buffer == TCHAR('"'))
		{
			++Buffer;
			while (*Buffer && *Buffer != TCHAR('"'))
			{
				if (*Buffer == TCHAR('\\') && Buffer[1])
				{
					++Buffer;
				}
				Out.AppendChar(*Buffer++);
			}
			if (*Buffer == TCHAR('"'))
			{
				++Buffer;
			}
			return Out;
		}
		int32 Depth = 0;
		while (*Buffer)
		{
			const TCHAR C = *Buffer;
			if (Depth == 0 && (C == TCHAR(',') || C == TCHAR(')')))
			{
				break;
			}
			if (C == TCHAR('('))
			{
				++Depth;
			}
			else if (C == TCHAR(')'))
			{
				--Depth;
			}
			Out.AppendChar(C);
			++Buffer;
		}
		return Out.TrimStartAndEnd();
	}
}

// ---------------------------------------------------------------------------------------------
// FProperty

FProperty::FProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FField(InOwner, InName, InObjectFlags)
{
}

FProperty::FProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, int32 InOffset, EPropertyFlags InFlags)
	: FField(InOwner, InName, InObjectFlags)
	, PropertyFlags(InFlags)
	, Offset_Internal(InOffset)
{
}

bool FProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return A && B && FMemory::Memcmp(A, B, ElementSize) == 0;
}

bool FProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	return false;
}

void FProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
}

const TCHAR* FProperty::ImportText_Direct(const TCHAR* Buffer, void* PropertyPtr, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	return ImportTextItem(Buffer, PropertyPtr) ? Buffer : nullptr;
}

void FProperty::ExportText_Direct(FString& ValueStr, const void* Data, const void* Delta, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ExportTextItem(ValueStr, Data);
}

FString FProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString();
}

void FProperty::AddReferencedObjects_InContainer(void* Container, FReferenceCollector& Collector, const UObject* Referencer) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		VisitReferences(ContainerPtrToValuePtr<void>(Container, I), Collector, Referencer);
	}
}

void FProperty::InitializeValueInternal(void* Dest) const
{
	FMemory::Memzero(Dest, GetSize());
}

void FProperty::ClearValueInternal(void* Data) const
{
	FMemory::Memzero(Data, ElementSize);
}

void FProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	FMemory::Memcpy(Dest, Src, (SIZE_T)ElementSize * Count);
}

// ---------------------------------------------------------------------------------------------
// Numbers

void FNumericProperty::SetNumericPropertyValueFromString(void* Data, const TCHAR* Value) const
{
	if (IsFloatingPoint())
	{
		SetFloatingPointPropertyValue(Data, FCString::Atod(Value));
	}
	else
	{
		SetIntPropertyValue(Data, (int64)FCString::Atoi64(Value));
	}
}

FString FNumericProperty::GetNumericPropertyValueToString(void const* Data) const
{
	if (IsFloatingPoint())
	{
		return FString::SanitizeFloat(GetFloatingPointPropertyValue(Data));
	}
	return FString::Printf(TEXT("%lld"), (long long)GetSignedIntPropertyValue(Data));
}

FString FByteProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return Enum ? FString::Printf(TEXT("TEnumAsByte<%s>"), *Enum->CppType()) : FString(TEXT("uint8"));
}

bool FByteProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	const FString Token = ReadToken(Buffer);
	if (Enum && !Token.IsNumeric())
	{
		const int64 Value = Enum->GetValueByNameString(Token);
		if (Value == INDEX_NONE)
		{
			return false;
		}
		*(uint8*)Data = (uint8)Value;
		return true;
	}
	if (!Token.IsNumeric())
	{
		return false;
	}
	*(uint8*)Data = (uint8)FCString::Atoi(*Token);
	return true;
}

void FByteProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	const uint8 Value = *(const uint8*)PropertyValue;
	ValueStr += Enum ? Enum->GetNameStringByValue(Value) : FString::Printf(TEXT("%u"), (uint32)Value);
}

// ---------------------------------------------------------------------------------------------
// Bool

FBoolProperty::FBoolProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
	ElementSize = 1;
	PropertyFlags |= CPF_IsPlainOldData | CPF_NoDestructor | CPF_ZeroConstructor | CPF_HasGetValueTypeHash;
}

void FBoolProperty::SetBoolSize(uint32 InSize, bool bIsNativeBool, uint32 InBitMask)
{
	FieldSize = (uint8)InSize;
	ElementSize = (int32)InSize;
	if (bIsNativeBool)
	{
		ByteOffset = 0;
		ByteMask = 1;
		FieldMask = 0xFF;
		return;
	}
	// InBitMask is the bit within the storage unit; find its byte.
	uint32 Mask = InBitMask ? InBitMask : 1;
	ByteOffset = 0;
	while (Mask > 0xFF)
	{
		Mask >>= 8;
		++ByteOffset;
	}
	ByteMask = (uint8)Mask;
	FieldMask = (uint8)Mask;
}

bool FBoolProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return GetPropertyValue(A) == (B ? GetPropertyValue(B) : false);
}

bool FBoolProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	const FString Token = ReadToken(Buffer);
	if (Token == TEXT("True") || Token == TEXT("Yes") || Token == TEXT("On") || Token == TEXT("1"))
	{
		SetPropertyValue(Data, true);
		return true;
	}
	if (Token == TEXT("False") || Token == TEXT("No") || Token == TEXT("Off") || Token == TEXT("0"))
	{
		SetPropertyValue(Data, false);
		return true;
	}
	return false;
}

void FBoolProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	ValueStr += GetPropertyValue(PropertyValue) ? TEXT("True") : TEXT("False");
}

FString FBoolProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	if (IsNativeBool())
	{
		return TEXT("bool");
	}
	return FieldSize == 1 ? TEXT("uint8") : FieldSize == 2 ? TEXT("uint16") : FieldSize == 4 ? TEXT("uint32") : TEXT("uint64");
}

void FBoolProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		SetPropertyValue((uint8*)Dest + I * ElementSize, false);
	}
}

void FBoolProperty::ClearValueInternal(void* Data) const
{
	SetPropertyValue(Data, false);
}

void FBoolProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	for (int32 I = 0; I < Count; ++I)
	{
		SetPropertyValue((uint8*)Dest + I * ElementSize, GetPropertyValue((const uint8*)Src + I * ElementSize));
	}
}

// ---------------------------------------------------------------------------------------------
// Enum

FEnumProperty::FEnumProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
	PropertyFlags |= CPF_IsPlainOldData | CPF_NoDestructor | CPF_ZeroConstructor | CPF_HasGetValueTypeHash;
}

FEnumProperty::~FEnumProperty()
{
	delete UnderlyingProp;
}

void FEnumProperty::AddCppProperty(FProperty* Inner)
{
	check(!UnderlyingProp);
	UnderlyingProp = CastFieldChecked<FNumericProperty>(Inner);
	ElementSize = UnderlyingProp->ElementSize;
}

bool FEnumProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return UnderlyingProp->Identical(A, B, PortFlags);
}

bool FEnumProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	const FString Token = ReadToken(Buffer);
	int64 Value = INDEX_NONE;
	if (Token.IsNumeric())
	{
		Value = FCString::Atoi64(*Token);
	}
	else if (Enum)
	{
		Value = Enum->GetValueByNameString(Token);
	}
	if (Value == INDEX_NONE || (Enum && !Enum->IsValidEnumValue(Value)))
	{
		return false;
	}
	UnderlyingProp->SetIntPropertyValue(Data, Value);
	return true;
}

void FEnumProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	ValueStr += Enum ? Enum->GetNameStringByValue(UnderlyingProp->GetSignedIntPropertyValue(PropertyValue)) : FString();
}

FString FEnumProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return Enum ? Enum->CppType() : FString();
}

void FEnumProperty::InitializeValueInternal(void* Dest) const
{
	FMemory::Memzero(Dest, GetSize());
}

void FEnumProperty::ClearValueInternal(void* Data) const
{
	FMemory::Memzero(Data, ElementSize);
}

void FEnumProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	FMemory::Memcpy(Dest, Src, (SIZE_T)ElementSize * Count);
}

// ---------------------------------------------------------------------------------------------
// Strings

bool FStrProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	SkipSpaces(Buffer);
	if (*Buffer == TCHAR('"'))
	{
		*(FString*)Data = ReadToken(Buffer);
		return true;
	}
	// An unquoted config value is the whole rest of the line.
	*(FString*)Data = FString(Buffer);
	Buffer += FCString::Strlen(Buffer);
	return true;
}

void FStrProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	ValueStr += TEXT("\"") + ((const FString*)PropertyValue)->ReplaceCharWithEscapedChar() + TEXT("\"");
}

bool FNameProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	*(FName*)Data = FName(*ReadToken(Buffer));
	return true;
}

void FNameProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	ValueStr += ((const FName*)PropertyValue)->ToString();
}

bool FTextProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	const FText& TextA = *(const FText*)A;
	if (!B)
	{
		return TextA.IsEmpty();
	}
	return TextA.IdenticalTo(*(const FText*)B) || TextA.ToString().Equals(((const FText*)B)->ToString(), ESearchCase::CaseSensitive);
}

bool FTextProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	SkipSpaces(Buffer);
	const FString Token = *Buffer == TCHAR('"') ? ReadToken(Buffer) : FString(Buffer);
	if (*Buffer != TCHAR('\0') && Token.Len() == FCString::Strlen(Buffer))
	{
		Buffer += FCString::Strlen(Buffer);
	}
	*(FText*)Data = FText::FromString(Token);
	return true;
}

void FTextProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	ValueStr += TEXT("\"") + ((const FText*)PropertyValue)->ToString() + TEXT("\"");
}

// ---------------------------------------------------------------------------------------------
// Object references

FObjectPropertyBase::FObjectPropertyBase(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
}

bool FObjectPropertyBase::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	const FString Token = ReadToken(Buffer);
	if (Token.IsEmpty() || Token == TEXT("None"))
	{
		SetObjectPropertyValue(Data, nullptr);
		return true;
	}
	UObject* Object = StaticLoadObject(PropertyClass, nullptr, Token);
	SetObjectPropertyValue(Data, Object);
	return Object != nullptr;
}

void FObjectPropertyBase::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	UObject* Object = GetObjectPropertyValue(PropertyValue);
	ValueStr += Object ? Object->GetPathName() : FString(TEXT("None"));
}

bool FObjectPropertyBase::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return GetObjectPropertyValue(A) == (B ? GetObjectPropertyValue(B) : nullptr);
}

FObjectProperty::FObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FObjectPropertyBase(InOwner, InName, InObjectFlags)
{
	ElementSize = sizeof(UObject*);
	PropertyFlags |= CPF_IsPlainOldData | CPF_NoDestructor | CPF_ZeroConstructor | CPF_HasGetValueTypeHash;
}

void FObjectProperty::VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const
{
	Collector.AddReferencedObject(*(UObject**)Value, Referencer, this);
}

FString FObjectProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	const FString ClassName = PropertyClass ? FString(TEXT("U")) + PropertyClass->GetName() : FString(TEXT("UObject"));
	return HasAnyPropertyFlags(CPF_TObjectPtr) ? FString::Printf(TEXT("TObjectPtr<%s>"), *ClassName) : ClassName + TEXT("*");
}

void FObjectProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	FMemory::Memcpy(Dest, Src, sizeof(UObject*) * Count);
}

FString FClassProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	if (HasAnyPropertyFlags(CPF_UObjectWrapper) && MetaClass)
	{
		return FString::Printf(TEXT("TSubclassOf<U%s>"), *MetaClass->GetName());
	}
	return TEXT("UClass*");
}

FWeakObjectProperty::FWeakObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FObjectPropertyBase(InOwner, InName, InObjectFlags)
{
	ElementSize = sizeof(FWeakObjectPtr);
	PropertyFlags |= CPF_IsPlainOldData | CPF_NoDestructor | CPF_HasGetValueTypeHash;
}

UObject* FWeakObjectProperty::GetObjectPropertyValue(const void* PropertyValueAddress) const
{
	return ((const FWeakObjectPtr*)PropertyValueAddress)->Get();
}

void FWeakObjectProperty::SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const
{
	*(FWeakObjectPtr*)PropertyValueAddress = Value;
}

FString FWeakObjectProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TWeakObjectPtr<U%s>"), PropertyClass ? *PropertyClass->GetName() : TEXT("Object"));
}

void FWeakObjectProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		new ((FWeakObjectPtr*)Dest + I) FWeakObjectPtr();
	}
}

void FWeakObjectProperty::DestroyValueInternal(void* Dest) const
{
}

void FWeakObjectProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	for (int32 I = 0; I < Count; ++I)
	{
		((FWeakObjectPtr*)Dest)[I] = ((const FWeakObjectPtr*)Src)[I];
	}
}

FSoftObjectProperty::FSoftObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FObjectPropertyBase(InOwner, InName, InObjectFlags)
{
	ElementSize = sizeof(FSoftObjectPtr);
	PropertyFlags |= CPF_HasGetValueTypeHash;
}

UObject* FSoftObjectProperty::GetObjectPropertyValue(const void* PropertyValueAddress) const
{
	return ((const FSoftObjectPtr*)PropertyValueAddress)->Get();
}

void FSoftObjectProperty::SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const
{
	*(FSoftObjectPtr*)PropertyValueAddress = Value;
}

UObject* FSoftObjectProperty::LoadObjectPropertyValue(const void* PropertyValueAddress) const
{
	return ((const FSoftObjectPtr*)PropertyValueAddress)->LoadSynchronous();
}

bool FSoftObjectProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	const FString Token = ReadToken(Buffer);
	if (Token.IsEmpty() || Token == TEXT("None"))
	{
		*(FSoftObjectPtr*)Data = FSoftObjectPtr();
		return true;
	}
	FSoftObjectPath Path;
	Path.SetPath(Token);
	*(FSoftObjectPtr*)Data = FSoftObjectPtr(Path);
	return Path.IsValid();
}

void FSoftObjectProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	const FSoftObjectPtr& Ptr = *(const FSoftObjectPtr*)PropertyValue;
	ValueStr += Ptr.IsNull() ? FString(TEXT("None")) : Ptr.ToString();
}

bool FSoftObjectProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return B ? *(const FSoftObjectPtr*)A == *(const FSoftObjectPtr*)B : ((const FSoftObjectPtr*)A)->IsNull();
}

FString FSoftObjectProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TSoftObjectPtr<U%s>"), PropertyClass ? *PropertyClass->GetName() : TEXT("Object"));
}

void FSoftObjectProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		new ((FSoftObjectPtr*)Dest + I) FSoftObjectPtr();
	}
}

void FSoftObjectProperty::DestroyValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		((FSoftObjectPtr*)Dest + I)->~FSoftObjectPtr();
	}
}

void FSoftObjectProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	for (int32 I = 0; I < Count; ++I)
	{
		((FSoftObjectPtr*)Dest)[I] = ((const FSoftObjectPtr*)Src)[I];
	}
}

FString FSoftClassProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TSoftClassPtr<U%s>"), MetaClass ? *MetaClass->GetName() : TEXT("Object"));
}

void FInterfaceProperty::VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const
{
	FScriptInterface* Interface = (FScriptInterface*)Value;
	Collector.AddReferencedObject(Interface->GetObjectRef(), Referencer, this);
}

// ---------------------------------------------------------------------------------------------
// Struct

FStructProperty::FStructProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
}

FStructProperty::FStructProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, int32 InOffset, EPropertyFlags InFlags, UScriptStruct* InStruct)
	: FProperty(InOwner, InName, InObjectFlags, InOffset, InFlags)
	, Struct(InStruct)
{
	ElementSize = Struct->GetPropertiesSize();
}

void FStructProperty::Link()
{
	ElementSize = Struct->GetPropertiesSize();
}

bool FStructProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	if (!B)
	{
		return false;
	}
	return Struct->CompareScriptStruct(A, B, PortFlags);
}

bool FStructProperty::ContainsObjectReference() const
{
	for (TFieldIterator<FProperty> It(Struct); It; ++It)
	{
		if (It->ContainsObjectReference())
		{
			return true;
		}
	}
	return false;
}

void FStructProperty::VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const
{
	for (TFieldIterator<FProperty> It(Struct); It; ++It)
	{
		if (It->ContainsObjectReference())
		{
			It->AddReferencedObjects_InContainer(Value, Collector, Referencer);
		}
	}
}

bool FStructProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	// "(Name=Value,Name=Value)"
	SkipSpaces(Buffer);
	if (*Buffer != TCHAR('('))
	{
		return false;
	}
	++Buffer;
	while (*Buffer && *Buffer != TCHAR(')'))
	{
		SkipSpaces(Buffer);
		FString Name;
		while (*Buffer && *Buffer != TCHAR('=') && *Buffer != TCHAR(',') && *Buffer != TCHAR(')'))
		{
			Name.AppendChar(*Buffer++);
		}
		if (*Buffer != TCHAR('='))
		{
			return false;
		}
		++Buffer;
		FProperty* Member = FindFProperty<FProperty>(Struct, FName(*Name.TrimStartAndEnd()));
		if (!Member || !Member->ImportTextItem(Buffer, Member->ContainerPtrToValuePtr<void>(Data)))
		{
			return false;
		}
		SkipSpaces(Buffer);
		if (*Buffer == TCHAR(','))
		{
			++Buffer;
		}
	}
	if (*Buffer == TCHAR(')'))
	{
		++Buffer;
	}
	return true;
}

void FStructProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	ValueStr += TEXT("(");
	bool bFirst = true;
	for (TFieldIterator<FProperty> It(Struct); It; ++It)
	{
		if (!bFirst)
		{
			ValueStr += TEXT(",");
		}
		bFirst = false;
		ValueStr += It->GetName() + TEXT("=");
		It->ExportTextItem(ValueStr, It->ContainerPtrToValuePtr<void>(PropertyValue));
	}
	ValueStr += TEXT(")");
}

FString FStructProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return Struct->GetStructCPPName();
}

void FStructProperty::InitializeValueInternal(void* Dest) const
{
	Struct->InitializeStruct(Dest, ArrayDim);
}

void FStructProperty::DestroyValueInternal(void* Dest) const
{
	Struct->DestroyStruct(Dest, ArrayDim);
}

void FStructProperty::ClearValueInternal(void* Data) const
{
	Struct->ClearScriptStruct(Data, 1);
}

void FStructProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	Struct->CopyScriptStruct(Dest, Src, Count);
}

// ---------------------------------------------------------------------------------------------
// Array

FArrayProperty::FArrayProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
	ElementSize = sizeof(FScriptArray);
	PropertyFlags |= CPF_ZeroConstructor;
}

FArrayProperty::~FArrayProperty()
{
	delete Inner;
}

void FArrayProperty::AddCppProperty(FProperty* Property)
{
	check(!Inner);
	Inner = Property;
}

bool FArrayProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	FScriptArrayHelper ArrayA(this, A);
	const int32 NumB = B ? ((const FScriptArray*)B)->ArrayNum : 0;
	if (ArrayA.Num() != NumB)
	{
		return false;
	}
	if (NumB == 0)
	{
		return true;
	}
	FScriptArrayHelper ArrayB(this, B);
	for (int32 I = 0; I < NumB; ++I)
	{
		if (!Inner->Identical(ArrayA.GetRawPtr(I), ArrayB.GetRawPtr(I), PortFlags))
		{
			return false;
		}
	}
	return true;
}

void FArrayProperty::VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const
{
	FScriptArrayHelper Helper(this, Value);
	for (int32 I = 0; I < Helper.Num(); ++I)
	{
		Inner->VisitReferences(Helper.GetRawPtr(I), Collector, Referencer);
	}
}

bool FArrayProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	SkipSpaces(Buffer);
	if (*Buffer != TCHAR('('))
	{
		return false;
	}
	++Buffer;
	FScriptArrayHelper Helper(this, Data);
	Helper.EmptyValues();
	while (*Buffer && *Buffer != TCHAR(')'))
	{
		const int32 Index = Helper.AddValue();
		if (!Inner->ImportTextItem(Buffer, Helper.GetRawPtr(Index)))
		{
			return false;
		}
		SkipSpaces(Buffer);
		if (*Buffer == TCHAR(','))
		{
			++Buffer;
		}
	}
	if (*Buffer == TCHAR(')'))
	{
		++Buffer;
	}
	return true;
}

void FArrayProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	FScriptArrayHelper Helper(this, PropertyValue);
	ValueStr += TEXT("(");
	for (int32 I = 0; I < Helper.Num(); ++I)
	{
		if (I > 0)
		{
			ValueStr += TEXT(",");
		}
		Inner->ExportTextItem(ValueStr, Helper.GetRawPtr(I));
	}
	ValueStr += TEXT(")");
}

FString FArrayProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TArray<%s>"), Inner ? *Inner->GetCPPType() : TEXT(""));
}

void FArrayProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		new ((FScriptArray*)Dest + I) FScriptArray();
	}
}

void FArrayProperty::DestroyValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		FScriptArray* Array = (FScriptArray*)Dest + I;
		FScriptArrayHelper Helper(this, Array);
		Helper.EmptyValues();
		FMemory::Free(Array->Data);
		Array->Data = nullptr;
		Array->ArrayMax = 0;
	}
}

void FArrayProperty::ClearValueInternal(void* Data) const
{
	FScriptArrayHelper Helper(this, Data);
	Helper.EmptyValues();
}

void FArrayProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	for (int32 I = 0; I < Count; ++I)
	{
		void* DestArray = (FScriptArray*)Dest + I;
		const void* SrcArray = (const FScriptArray*)Src + I;
		if (DestArray == SrcArray)
		{
			continue;
		}
		FScriptArrayHelper DestHelper(this, DestArray);
		FScriptArrayHelper SrcHelper(this, SrcArray);
		DestHelper.EmptyValues();
		const int32 Num = SrcHelper.Num();
		DestHelper.AddValues(Num);
		for (int32 E = 0; E < Num; ++E)
		{
			Inner->CopySingleValue(DestHelper.GetRawPtr(E), SrcHelper.GetRawPtr(E));
		}
	}
}

FScriptArrayHelper::FScriptArrayHelper(const FArrayProperty* InProperty, const void* InArray)
	: FScriptArrayHelper(InProperty->Inner, InArray, true)
{
}

FScriptArrayHelper::FScriptArrayHelper(const FProperty* InInner, const void* InArray, bool)
	: InnerProperty(InInner)
	, Array((FScriptArray*)InArray)
	, ElementSize(InInner->GetSize())
	, ElementAlignment(8)
{
	if (const FStructProperty* StructInner = CastField<FStructProperty>(InInner))
	{
		ElementAlignment = FMath::Max(StructInner->Struct->GetMinAlignment(), 1);
	}
}

FScriptArrayHelper FScriptArrayHelper::CreateHelperFormInnerProperty(const FProperty* InInnerProperty, const void* InArray)
{
	return FScriptArrayHelper(InInnerProperty, InArray, true);
}

uint8* FScriptArrayHelper::GetRawPtr(int32 Index) const
{
	if (Array->ArrayNum == 0 && Index == 0)
	{
		return (uint8*)Array->Data;
	}
	check(IsValidIndex(Index));
	return (uint8*)Array->Data + (SIZE_T)Index * ElementSize;
}

void FScriptArrayHelper::Reserve(int32 NewMax)
{
	if (NewMax <= Array->ArrayMax)
	{
		return;
	}
	// TArray's default allocator: one FMemory block, grown with the engine's policy.
	int32 Grown = Array->ArrayMax ? Array->ArrayMax + 3 * Array->ArrayMax / 8 + 16 : 4;
	Grown = FMath::Max(Grown, NewMax);
	void* NewData = FMemory::Malloc((SIZE_T)Grown * ElementSize, ElementAlignment > 16 ? ElementAlignment : 0);
	// Elements are relocated bitwise, as TArray does.
	if (Array->Data)
	{
		FMemory::Memcpy(NewData, Array->Data, (SIZE_T)Array->ArrayNum * ElementSize);
		FMemory::Free(Array->Data);
	}
	Array->Data = NewData;
	Array->ArrayMax = Grown;
}

int32 FScriptArrayHelper::AddUninitializedValues(int32 Count)
{
	const int32 Old = Array->ArrayNum;
	Reserve(Old + Count);
	Array->ArrayNum += Count;
	return Old;
}

int32 FScriptArrayHelper::AddValues(int32 Count)
{
	const int32 Old = AddUninitializedValues(Count);
	for (int32 I = Old; I < Old + Count; ++I)
	{
		uint8* Element = (uint8*)Array->Data + (SIZE_T)I * ElementSize;
		FMemory::Memzero(Element, ElementSize);
		InnerProperty->InitializeValue(Element);
	}
	return Old;
}

int32 FScriptArrayHelper::AddValue()
{
	return AddValues(1);
}

void FScriptArrayHelper::InsertValues(int32 Index, int32 Count)
{
	check(Index >= 0 && Index <= Num());
	const int32 OldNum = Num();
	AddUninitializedValues(Count);
	uint8* Base = (uint8*)Array->Data;
	FMemory::Memmove(Base + (SIZE_T)(Index + Count) * ElementSize, Base + (SIZE_T)Index * ElementSize, (SIZE_T)(OldNum - Index) * ElementSize);
	for (int32 I = Index; I < Index + Count; ++I)
	{
		uint8* Element = Base + (SIZE_T)I * ElementSize;
		FMemory::Memzero(Element, ElementSize);
		InnerProperty->InitializeValue(Element);
	}
}

void FScriptArrayHelper::RemoveValues(int32 Index, int32 Count)
{
	check(Index >= 0 && Count >= 0 && Index + Count <= Num());
	uint8* Base = (uint8*)Array->Data;
	for (int32 I = Index; I < Index + Count; ++I)
	{
		InnerProperty->DestroyValue(Base + (SIZE_T)I * ElementSize);
	}
	FMemory::Memmove(Base + (SIZE_T)Index * ElementSize, Base + (SIZE_T)(Index + Count) * ElementSize, (SIZE_T)(Num() - Index - Count) * ElementSize);
	Array->ArrayNum -= Count;
}

void FScriptArrayHelper::EmptyValues(int32 Slack)
{
	if (Num() > 0)
	{
		RemoveValues(0, Num());
	}
	(void)Slack;
}

void FScriptArrayHelper::Resize(int32 NewNum)
{
	if (NewNum > Num())
	{
		AddValues(NewNum - Num());
	}
	else if (NewNum < Num())
	{
		RemoveValues(NewNum, Num() - NewNum);
	}
}

// ---------------------------------------------------------------------------------------------
// Map and set: operations come from the C++ type.

FMapProperty::FMapProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
}

FMapProperty::~FMapProperty()
{
	delete KeyProp;
	delete ValueProp;
}

void FMapProperty::AddCppProperty(FProperty* Property)
{
	if (!KeyProp)
	{
		KeyProp = Property;
	}
	else
	{
		check(!ValueProp);
		ValueProp = Property;
	}
}

int32 FMapProperty::Num(const void* Map) const
{
	return Ops ? Ops->Num(Map) : 0;
}

void FMapProperty::ForEachPair(void* Map, TFunctionRef<void(void* Key, void* Value)> Visit) const
{
	if (!Ops)
	{
		return;
	}
	Ops->ForEach(Map, [](void* Key, void* Value, void* Context) { (*(TFunctionRef<void(void*, void*)>*)Context)(Key, Value); }, &Visit);
}

bool FMapProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	if (!B)
	{
		return Num(A) == 0;
	}
	if (Num(A) != Num(B))
	{
		return false;
	}
	TArray<TPair<void*, void*>> PairsA;
	TArray<TPair<void*, void*>> PairsB;
	ForEachPair(const_cast<void*>(A), [&PairsA](void* K, void* V) { PairsA.Emplace(K, V); });
	ForEachPair(const_cast<void*>(B), [&PairsB](void* K, void* V) { PairsB.Emplace(K, V); });
	for (const TPair<void*, void*>& PairA : PairsA)
	{
		bool bFound = false;
		for (const TPair<void*, void*>& PairB : PairsB)
		{
			if (KeyProp->Identical(PairA.Key, PairB.Key, PortFlags))
			{
				bFound = ValueProp->Identical(PairA.Value, PairB.Value, PortFlags);
				break;
			}
		}
		if (!bFound)
		{
			return false;
		}
	}
	return true;
}

bool FMapProperty::ContainsObjectReference() const
{
	return (KeyProp && KeyProp->ContainsObjectReference()) || (ValueProp && ValueProp->ContainsObjectReference());
}

void FMapProperty::VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const
{
	ForEachPair(Value, [this, &Collector, Referencer](void* Key, void* PairValue)
	{
		KeyProp->VisitReferences(Key, Collector, Referencer);
		ValueProp->VisitReferences(PairValue, Collector, Referencer);
	});
}

FString FMapProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TMap<%s, %s>"), KeyProp ? *KeyProp->GetCPPType() : TEXT(""), ValueProp ? *ValueProp->GetCPPType() : TEXT(""));
}

void FMapProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		Ops->Construct((uint8*)Dest + I * ElementSize);
	}
}

void FMapProperty::DestroyValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		Ops->Destruct((uint8*)Dest + I * ElementSize);
	}
}

void FMapProperty::ClearValueInternal(void* Data) const
{
	Ops->Empty(Data);
}

void FMapProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	for (int32 I = 0; I < Count; ++I)
	{
		Ops->Copy((uint8*)Dest + I * ElementSize, (const uint8*)Src + I * ElementSize);
	}
}

FSetProperty::FSetProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
}

FSetProperty::~FSetProperty()
{
	delete ElementProp;
}

void FSetProperty::AddCppProperty(FProperty* Property)
{
	check(!ElementProp);
	ElementProp = Property;
}

int32 FSetProperty::Num(const void* Set) const
{
	return Ops ? Ops->Num(Set) : 0;
}

void FSetProperty::ForEachElement(void* Set, TFunctionRef<void(void* Element)> Visit) const
{
	if (!Ops)
	{
		return;
	}
	Ops->ForEach(Set, [](void* Key, void*, void* Context) { (*(TFunctionRef<void(void*)>*)Context)(Key); }, &Visit);
}

bool FSetProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	if (!B)
	{
		return Num(A) == 0;
	}
	if (Num(A) != Num(B))
	{
		return false;
	}
	TArray<void*> ElementsB;
	ForEachElement(const_cast<void*>(B), [&ElementsB](void* E) { ElementsB.Add(E); });
	bool bAll = true;
	ForEachElement(const_cast<void*>(A), [&](void* E)
	{
		bool bFound = false;
		for (void* Other : ElementsB)
		{
			bFound |= ElementProp->Identical(E, Other, PortFlags);
		}
		bAll &= bFound;
	});
	return bAll;
}

bool FSetProperty::ContainsObjectReference() const
{
	return ElementProp && ElementProp->ContainsObjectReference();
}

void FSetProperty::VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const
{
	// Collected references to garbage are cleared in place; a set element is its own key, so the
	// engine treats set references as non-nullable: they are only reported.
	ForEachElement(Value, [this, &Collector, Referencer](void* Element) { ElementProp->VisitReferences(Element, Collector, Referencer); });
}

FString FSetProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TSet<%s>"), ElementProp ? *ElementProp->GetCPPType() : TEXT(""));
}

void FSetProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		Ops->Construct((uint8*)Dest + I * ElementSize);
	}
}

void FSetProperty::DestroyValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		Ops->Destruct((uint8*)Dest + I * ElementSize);
	}
}

void FSetProperty::ClearValueInternal(void* Data) const
{
	Ops->Empty(Data);
}

void FSetProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	for (int32 I = 0; I < Count; ++I)
	{
		Ops->Copy((uint8*)Dest + I * ElementSize, (const uint8*)Src + I * ElementSize);
	}
}

// ---------------------------------------------------------------------------------------------
// Delegates

FString FDelegateProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return SignatureFunction ? FString(TEXT("F")) + SignatureFunction->GetName().LeftChop(FCString::Strlen(TEXT("__DelegateSignature"))) : FString(TEXT("FScriptDelegate"));
}

FString FMulticastDelegateProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return SignatureFunction ? FString(TEXT("F")) + SignatureFunction->GetName().LeftChop(FCString::Strlen(TEXT("__DelegateSignature"))) : FString(TEXT("FMulticastScriptDelegate"));
}

FMulticastInlineDelegateProperty::FMulticastInlineDelegateProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FMulticastDelegateProperty(InOwner, InName, InObjectFlags)
{
	ElementSize = sizeof(FMulticastScriptDelegate);
}

const FMulticastScriptDelegate* FMulticastInlineDelegateProperty::GetMulticastDelegate(const void* PropertyValue) const
{
	return (const FMulticastScriptDelegate*)PropertyValue;
}

void FMulticastInlineDelegateProperty::SetMulticastDelegate(void* PropertyValue, FMulticastScriptDelegate ScriptDelegate) const
{
	*(FMulticastScriptDelegate*)PropertyValue = MoveTemp(ScriptDelegate);
}

void FMulticastInlineDelegateProperty::AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent, void* PropertyValue) const
{
	check(PropertyValue || Parent);
	FMulticastScriptDelegate* Delegate = (FMulticastScriptDelegate*)(PropertyValue ? PropertyValue : ContainerPtrToValuePtr<void>(Parent));
	Delegate->AddUnique(MoveTemp(ScriptDelegate));
}

void FMulticastInlineDelegateProperty::RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent, void* PropertyValue) const
{
	check(PropertyValue || Parent);
	FMulticastScriptDelegate* Delegate = (FMulticastScriptDelegate*)(PropertyValue ? PropertyValue : ContainerPtrToValuePtr<void>(Parent));
	Delegate->Remove(ScriptDelegate);
}

void FMulticastInlineDelegateProperty::ClearDelegate(UObject* Parent, void* PropertyValue) const
{
	check(PropertyValue || Parent);
	FMulticastScriptDelegate* Delegate = (FMulticastScriptDelegate*)(PropertyValue ? PropertyValue : ContainerPtrToValuePtr<void>(Parent));
	Delegate->Clear();
}

bool FMulticastInlineDelegateProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return B ? *(const FMulticastScriptDelegate*)A == *(const FMulticastScriptDelegate*)B : !((const FMulticastScriptDelegate*)A)->IsBound();
}

void FMulticastInlineDelegateProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		new ((FMulticastScriptDelegate*)Dest + I) FMulticastScriptDelegate();
	}
}

void FMulticastInlineDelegateProperty::DestroyValueInternal(void* Dest) const
{
	for (int32 I = 0; I < ArrayDim; ++I)
	{
		((FMulticastScriptDelegate*)Dest + I)->~FMulticastScriptDelegate();
	}
}

void FMulticastInlineDelegateProperty::ClearValueInternal(void* Data) const
{
	((FMulticastScriptDelegate*)Data)->Clear();
}

void FMulticastInlineDelegateProperty::CopyValuesInternal(void* Dest, const void* Src, int32 Count) const
{
	for (int32 I = 0; I < Count; ++I)
	{
		((FMulticastScriptDelegate*)Dest)[I] = ((const FMulticastScriptDelegate*)Src)[I];
	}
}

bool FNumericProperty::ImportTextItem(const TCHAR*& Buffer, void* Data) const
{
	const FString Token = ReadToken(Buffer);
	if (Token.IsEmpty() || (!IsFloatingPoint() && !Token.IsNumeric()))
	{
		return false;
	}
	SetNumericPropertyValueFromString(Data, *Token);
	return true;
}

void FNumericProperty::ExportTextItem(FString& ValueStr, const void* PropertyValue) const
{
	ValueStr += GetNumericPropertyValueToString(PropertyValue);
}
