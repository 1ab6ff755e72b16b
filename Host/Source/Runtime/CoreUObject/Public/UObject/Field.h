// FField: the base of properties, which are not objects, and the field classes CastField uses.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Templates/Casts.h"

class FField;
class UStruct;
class UClass;

// The class of a field type (FIntProperty, FArrayProperty, ...): a name and a parent.
class COREUOBJECT_API FFieldClass
{
public:
	FFieldClass(const TCHAR* InCPPName, FFieldClass* InSuperClass);

	FName GetFName() const { return Name; }
	FString GetName() const { return Name.ToString(); }
	FFieldClass* GetSuperClass() const { return SuperClass; }
	bool IsChildOf(const FFieldClass* InClass) const
	{
		for (const FFieldClass* Current = this; Current; Current = Current->SuperClass)
		{
			if (Current == InClass)
			{
				return true;
			}
		}
		return false;
	}

private:
	FName Name;
	FFieldClass* SuperClass;
};

// The owner of a field: a UObject (struct, class, function) or another field (a container).
class COREUOBJECT_API FFieldVariant
{
public:
	FFieldVariant() = default;
	FFieldVariant(const FField* InField) : Field(const_cast<FField*>(InField)), bIsUObject(false) {}
	FFieldVariant(const UObject* InObject) : Object(const_cast<UObject*>(InObject)), bIsUObject(true) {}
	FFieldVariant(TYPE_OF_NULLPTR) {}

	bool IsUObject() const { return bIsUObject; }
	bool IsValid() const { return bIsUObject ? Object != nullptr : Field != nullptr; }
	FField* ToField() const { return bIsUObject ? nullptr : Field; }
	UObject* ToUObject() const { return bIsUObject ? Object : nullptr; }

private:
	union
	{
		FField* Field;
		UObject* Object = nullptr;
	};
	bool bIsUObject = false;
};

#define DECLARE_FIELD(TClass, TSuperClass, TStaticFlags) \
public: \
	typedef TSuperClass Super; \
	typedef TClass ThisClass; \
	static FFieldClass* StaticClass(); \
	virtual FFieldClass* GetFieldClassPrivate() const override { return StaticClass(); }

#define IMPLEMENT_FIELD(TClass) \
	FFieldClass* TClass::StaticClass() \
	{ \
		static FFieldClass Class(TEXT(#TClass), TClass::Super::StaticClass()); \
		return &Class; \
	}

class COREUOBJECT_API FField
{
public:
	typedef FField ThisClass;

	FField(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual ~FField();
	FField(const FField&) = delete;
	FField& operator=(const FField&) = delete;

	static FFieldClass* StaticClass();
	virtual FFieldClass* GetFieldClassPrivate() const { return StaticClass(); }
	FFieldClass* GetClass() const { return GetFieldClassPrivate(); }

	bool IsA(const FFieldClass* FieldType) const { return GetClass()->IsChildOf(FieldType); }
	template<typename T>
	bool IsA() const { return IsA(T::StaticClass()); }

	FName GetFName() const { return NamePrivate; }
	FString GetName() const { return NamePrivate.ToString(); }
	FString GetPathName() const;
	FString GetFullName() const;
	FString GetAuthoredName() const;

	FFieldVariant GetOwnerVariant() const { return Owner; }
	UObject* GetOwnerUObject() const;
	UStruct* GetOwnerStruct() const;
	UClass* GetOwnerClass() const;
	template<typename T>
	T* GetOwner() const
	{
		return Cast<T>(GetOwnerUObject());
	}

	EObjectFlags GetFlags() const { return FlagsPrivate; }
	bool HasAnyFlags(EObjectFlags Flags) const { return (FlagsPrivate & Flags) != 0; }

#if WITH_METADATA
	// Metadata, only where the target keeps it, as in the engine.
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
	int32 GetIntMetaData(const TCHAR* Key) const;
	const TMap<FName, FString>* GetMetaDataMap() const { return MetaDataMap; }
#endif // WITH_METADATA

	FText GetDisplayNameText() const;
#if WITH_EDITORONLY_DATA
	// Editor-only in the engine, as the tool tip texts are; metadata alone does not bring it.
	FText GetToolTipText(bool bShortTooltip = false) const;
#endif

	// Containers own their inner properties through this.
	virtual void AddCppProperty(class FProperty* Property);

	FField* Next = nullptr;

protected:
	FFieldVariant Owner;
	FName NamePrivate;
	EObjectFlags FlagsPrivate;
	TMap<FName, FString>* MetaDataMap = nullptr;
};

template<typename FieldType>
FORCEINLINE FieldType* CastField(FField* Src)
{
	return Src && Src->IsA(FieldType::StaticClass()) ? static_cast<FieldType*>(Src) : nullptr;
}

template<typename FieldType>
FORCEINLINE const FieldType* CastField(const FField* Src)
{
	return Src && Src->IsA(FieldType::StaticClass()) ? static_cast<const FieldType*>(Src) : nullptr;
}

template<typename FieldType>
FORCEINLINE FieldType* CastFieldChecked(FField* Src)
{
	FieldType* Result = CastField<FieldType>(Src);
	checkf(Result, TEXT("CastFieldChecked failed for %s"), Src ? *Src->GetName() : TEXT("None"));
	return Result;
}

template<typename FieldType>
FORCEINLINE const FieldType* CastFieldChecked(const FField* Src)
{
	const FieldType* Result = CastField<FieldType>(Src);
	checkf(Result, TEXT("CastFieldChecked failed for %s"), Src ? *Src->GetName() : TEXT("None"));
	return Result;
}

template<typename FieldType>
FORCEINLINE FieldType* ExactCastField(FField* Src)
{
	return Src && Src->GetClass() == FieldType::StaticClass() ? static_cast<FieldType*>(Src) : nullptr;
}
