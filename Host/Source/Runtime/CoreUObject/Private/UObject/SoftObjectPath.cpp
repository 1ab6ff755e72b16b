#include "UObject/SoftObjectPath.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/UObjectGlobals.h"

bool FTopLevelAssetPath::TrySetPath(FStringView Path)
{
	Reset();
	const FString Text(Path);
	if (Text.IsEmpty() || Text == TEXT("None"))
	{
		return false;
	}
	int32 Dot = INDEX_NONE;
	if (Text.FindChar(TCHAR('.'), Dot))
	{
		PackageName = FName(*Text.Left(Dot));
		AssetName = FName(*Text.RightChop(Dot + 1));
	}
	else
	{
		PackageName = FName(*Text);
	}
	return true;
}

FString FTopLevelAssetPath::ToString() const
{
	if (PackageName.IsNone())
	{
		return FString();
	}
	if (AssetName.IsNone())
	{
		return PackageName.ToString();
	}
	return PackageName.ToString() + TEXT(".") + AssetName.ToString();
}

FSoftObjectPath::FSoftObjectPath(const UObject* InObject)
{
	if (InObject)
	{
		SetPath(InObject->GetPathName());
	}
}

void FSoftObjectPath::SetPath(FStringView Path)
{
	FString Text(Path);
	// "Class'/Path.Object'" export text form.
	int32 Quote = INDEX_NONE;
	if (Text.FindChar(TCHAR('\''), Quote) && Text.EndsWith(TEXT("'")) && Quote > 0)
	{
		Text = Text.Mid(Quote + 1, Text.Len() - Quote - 2);
	}
	SubPathString.Reset();
	int32 Colon = INDEX_NONE;
	if (Text.FindChar(TCHAR(':'), Colon))
	{
		SubPathString = Text.RightChop(Colon + 1);
		Text = Text.Left(Colon);
	}
	if (!AssetPath.TrySetPath(Text))
	{
		SubPathString.Reset();
	}
}

FString FSoftObjectPath::ToString() const
{
	FString Result = AssetPath.ToString();
	if (!SubPathString.IsEmpty())
	{
		Result += TEXT(":") + SubPathString;
	}
	return Result;
}

UObject* FSoftObjectPath::ResolveObject() const
{
	if (IsNull())
	{
		return nullptr;
	}
	return StaticFindObject(UObject::StaticClass(), nullptr, ToString());
}

UObject* FSoftObjectPath::TryLoad(FUObjectSerializeContext* InLoadContext, uint32 LoadFlags) const
{
	if (IsNull())
	{
		return nullptr;
	}
	if (UObject* Loaded = ResolveObject())
	{
		return Loaded;
	}
	return StaticLoadObject(UObject::StaticClass(), nullptr, ToString(), {}, LoadFlags);
}

bool FSoftObjectPath::ImportTextItem(const TCHAR*& Buffer)
{
	FString Text;
	while (*Buffer && *Buffer != TCHAR(',') && *Buffer != TCHAR(')'))
	{
		Text.AppendChar(*Buffer++);
	}
	SetPath(Text.TrimStartAndEnd().TrimQuotes());
	return true;
}

UClass* FSoftClassPath::ResolveClass() const
{
	return Cast<UClass>(ResolveObject());
}

UClass* FSoftClassPath::TryLoadClass() const
{
	return Cast<UClass>(TryLoad());
}

// ---------------------------------------------------------------------------------------------

void FSoftObjectPtr::operator=(const UObject* Object)
{
	ObjectID = FSoftObjectPath(Object);
	WeakPtr = Object;
}

UObject* FSoftObjectPtr::Get() const
{
	UObject* Object = WeakPtr.Get();
	if (!Object && !IsNull())
	{
		Object = ObjectID.ResolveObject();
		WeakPtr = Object;
	}
	return GetValid(Object);
}

UObject* FSoftObjectPtr::LoadSynchronous(ELoadFlags LoadFlags) const
{
	UObject* Object = Get();
	if (!Object && !IsNull())
	{
		ObjectID.TryLoad(nullptr, LoadFlags);
		Object = Get();
	}
	return Object;
}

UClass* UE_Host_SoftClassFilter(UObject* Object, UClass* MetaClass)
{
	UClass* Class = Cast<UClass>(Object);
	return Class && Class->IsChildOf(MetaClass) ? Class : nullptr;
}

void UE_Host_CastCheckFailed(const UObject* Object, const UClass* To)
{
	if (!Object)
	{
		UE_LOG(LogUObjectGlobals, Fatal, TEXT("Cast of nullptr to %s failed"), *To->GetName());
	}
	else
	{
		UE_LOG(LogUObjectGlobals, Fatal, TEXT("Cast of %s to %s failed"), *Object->GetFullName(), *To->GetName());
	}
}
