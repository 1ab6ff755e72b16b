#include "UObject/Field.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "UObject/MetaDataMap.h"

using namespace UE::CoreUObject::Private;

FFieldClass::FFieldClass(const TCHAR* InCPPName, FFieldClass* InSuperClass)
	: Name(FString(InCPPName).RightChop(1)) // FIntProperty -> IntProperty
	, SuperClass(InSuperClass)
{
}

FFieldClass* FField::StaticClass()
{
	static FFieldClass Class(TEXT("FField"), nullptr);
	return &Class;
}

FField::FField(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: Owner(InOwner)
	, NamePrivate(InName)
	, FlagsPrivate(InObjectFlags)
{
}

FField::~FField()
{
	delete MetaDataMap;
}

UObject* FField::GetOwnerUObject() const
{
	FFieldVariant Current = Owner;
	while (!Current.IsUObject() && Current.IsValid())
	{
		Current = Current.ToField()->GetOwnerVariant();
	}
	return Current.ToUObject();
}

UStruct* FField::GetOwnerStruct() const
{
	return Cast<UStruct>(GetOwnerUObject());
}

UClass* FField::GetOwnerClass() const
{
	UObject* OwnerObject = GetOwnerUObject();
	return OwnerObject ? (OwnerObject->IsA<UClass>() ? (UClass*)OwnerObject : Cast<UField>(OwnerObject) ? ((UField*)OwnerObject)->GetOwnerClass() : nullptr) : nullptr;
}

FString FField::GetPathName() const
{
	FString Path;
	if (Owner.IsUObject())
	{
		Path = Owner.ToUObject() ? Owner.ToUObject()->GetPathName() : FString();
	}
	else if (Owner.IsValid())
	{
		Path = Owner.ToField()->GetPathName();
	}
	return Path + TEXT(":") + GetName();
}

FString FField::GetFullName() const
{
	return GetClass()->GetName() + TEXT(" ") + GetPathName();
}

FString FField::GetAuthoredName() const
{
	return GetName();
}

#if WITH_METADATA
const FString* FField::FindMetaData(const TCHAR* Key) const
{
	return MetaData::Find(MetaDataMap, Key);
}

const FString* FField::FindMetaData(const FName& Key) const
{
	return MetaData::Find(MetaDataMap, Key);
}

const FString& FField::GetMetaData(const TCHAR* Key) const
{
	return MetaData::Get(MetaDataMap, Key);
}

const FString& FField::GetMetaData(const FName& Key) const
{
	return MetaData::Get(MetaDataMap, Key);
}

void FField::SetMetaData(const TCHAR* Key, const TCHAR* InValue)
{
	MetaData::Set(MetaDataMap, FName(Key), FString(InValue));
}

void FField::SetMetaData(const FName& Key, FString&& InValue)
{
	MetaData::Set(MetaDataMap, Key, MoveTemp(InValue));
}

void FField::RemoveMetaData(const TCHAR* Key)
{
	MetaData::Remove(MetaDataMap, Key);
}

bool FField::GetBoolMetaData(const TCHAR* Key) const
{
	return GetMetaData(Key) == TEXT("true");
}

int32 FField::GetIntMetaData(const TCHAR* Key) const
{
	return FCString::Atoi(*GetMetaData(Key));
}

#endif // WITH_METADATA

FText FField::GetDisplayNameText() const
{
#if WITH_METADATA
	if (const FString* DisplayName = FindMetaData(TEXT("DisplayName")))
	{
		return FText::FromString(*DisplayName);
	}
#endif
	return FText::FromString(GetName());
}

#if WITH_EDITORONLY_DATA
FText FField::GetToolTipText(bool bShortTooltip) const
{
	if (bShortTooltip)
	{
		if (const FString* Short = FindMetaData(TEXT("ShortTooltip")))
		{
			return FText::FromString(*Short);
		}
	}
	if (const FString* ToolTip = FindMetaData(TEXT("ToolTip")))
	{
		return FText::FromString(*ToolTip);
	}
	return GetDisplayNameText();
}
#endif

void FField::AddCppProperty(FProperty* Property)
{
	checkf(false, TEXT("%s cannot hold inner properties"), *GetFullName());
}
