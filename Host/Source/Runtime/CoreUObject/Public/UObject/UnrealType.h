// The FProperty family: what reflection knows about a member or parameter, and how to read,
// copy, compare and collect references through it.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "UObject/Field.h"
#include "UObject/ObjectPtr.h"
#include "UObject/WeakObjectPtr.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/ScriptInterface.h"
#include "UObject/ScriptDelegates.h"

class FReferenceCollector;

namespace UE::Host::CodeGen
{
	struct FContainerOps;
}

class COREUOBJECT_API FProperty : public FField
{
	DECLARE_FIELD(FProperty, FField, CASTCLASS_FProperty)

public:
	FProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	FProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, int32 InOffset, EPropertyFlags InFlags);

	int32 ArrayDim = 1;
	int32 ElementSize = 0;
	EPropertyFlags PropertyFlags = CPF_None;
	FName RepNotifyFunc;
	int32 Offset_Internal = 0;
	// All properties of a struct, this struct's and its supers', in iteration order.
	FProperty* PropertyLinkNext = nullptr;

	int32 GetSize() const { return ArrayDim * ElementSize; }
	int32 GetElementSize() const { return ElementSize; }
	void SetElementSize(int32 NewSize) { ElementSize = NewSize; }
	int32 GetOffset_ForInternal() const { return Offset_Internal; }
	int32 GetOffset_ForUFunction() const { return Offset_Internal; }
	int32 GetOffset_ForGC() const { return Offset_Internal; }
	EPropertyFlags GetPropertyFlags() const { return PropertyFlags; }
	bool HasAnyPropertyFlags(uint64 FlagsToCheck) const { return (PropertyFlags & FlagsToCheck) != 0 || FlagsToCheck == CPF_AllFlags; }
	bool HasAllPropertyFlags(uint64 FlagsToCheck) const { return (PropertyFlags & FlagsToCheck) == FlagsToCheck; }
	void SetPropertyFlags(EPropertyFlags NewFlags) { PropertyFlags |= NewFlags; }
	void ClearPropertyFlags(EPropertyFlags Flags) { PropertyFlags &= ~Flags; }
	FName GetRepNotifyFunc() const { return RepNotifyFunc; }

	template<typename ValueType>
	FORCEINLINE ValueType* ContainerPtrToValuePtr(void* ContainerPtr, int32 ArrayIndex = 0) const
	{
		checkf(ArrayIndex >= 0 && ArrayIndex < ArrayDim, TEXT("Array index out of bounds: %i from an array of size %i"), ArrayIndex, ArrayDim);
		check(ContainerPtr);
		return (ValueType*)((uint8*)ContainerPtr + Offset_Internal + ElementSize * ArrayIndex);
	}
	template<typename ValueType>
	FORCEINLINE const ValueType* ContainerPtrToValuePtr(const void* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return ContainerPtrToValuePtr<ValueType>(const_cast<void*>(ContainerPtr), ArrayIndex);
	}
	template<typename ValueType>
	FORCEINLINE ValueType* ContainerPtrToValuePtr(UObject* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return ContainerPtrToValuePtr<ValueType>((void*)ContainerPtr, ArrayIndex);
	}
	template<typename ValueType>
	FORCEINLINE const ValueType* ContainerPtrToValuePtr(const UObject* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return ContainerPtrToValuePtr<ValueType>((void*)ContainerPtr, ArrayIndex);
	}

	// Value operations over all ArrayDim elements at Dest (a value address, not a container).
	void InitializeValue(void* Dest) const { InitializeValueInternal(Dest); }
	void InitializeValue_InContainer(void* Container) const { InitializeValueInternal(ContainerPtrToValuePtr<void>(Container)); }
	void DestroyValue(void* Dest) const { DestroyValueInternal(Dest); }
	void DestroyValue_InContainer(void* Container) const { DestroyValueInternal(ContainerPtrToValuePtr<void>(Container)); }
	void ClearValue(void* Data) const { ClearValueInternal(Data); }
	void CopySingleValue(void* Dest, const void* Src) const { CopyValuesInternal(Dest, Src, 1); }
	void CopyCompleteValue(void* Dest, const void* Src) const { CopyValuesInternal(Dest, Src, ArrayDim); }
	void CopyCompleteValue_InContainer(void* Dest, const void* Src) const
	{
		CopyCompleteValue(ContainerPtrToValuePtr<void>(Dest), ContainerPtrToValuePtr<void>(Src));
	}
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const;
	bool Identical_InContainer(const void* A, const void* B, int32 ArrayIndex = 0, uint32 PortFlags = 0) const
	{
		return Identical(ContainerPtrToValuePtr<void>(A, ArrayIndex), ContainerPtrToValuePtr<void>(B, ArrayIndex), PortFlags);
	}

	// Text forms (config files): one element.
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const;
	const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* PropertyPtr, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const;
	void ExportText_Direct(FString& ValueStr, const void* Data, const void* Delta, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const;

	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const;

	// Garbage collection: does a value hold strong object references, and report them.
	virtual bool ContainsObjectReference() const { return false; }
	virtual void VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const {}
	void AddReferencedObjects_InContainer(void* Container, FReferenceCollector& Collector, const UObject* Referencer) const;

	virtual void Link() {}
	bool IsInContainer(int32 ContainerSize) const { return Offset_Internal + GetSize() <= ContainerSize; }

protected:
	virtual void InitializeValueInternal(void* Dest) const;
	virtual void DestroyValueInternal(void* Dest) const {}
	virtual void ClearValueInternal(void* Data) const;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const;
};

// Value operations from the C++ type itself.
template<typename InTCppType, class TInPropertyBaseClass>
class TProperty : public TInPropertyBaseClass
{
public:
	typedef InTCppType TCppType;

	TProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
		: TInPropertyBaseClass(InOwner, InName, InObjectFlags)
	{
		this->ElementSize = sizeof(TCppType);
		if constexpr (std::is_trivially_destructible_v<TCppType>)
		{
			this->PropertyFlags |= CPF_NoDestructor;
		}
	}

	static FORCEINLINE TCppType GetDefaultPropertyValue() { return TCppType(); }
	static FORCEINLINE const TCppType* GetPropertyValuePtr(const void* A) { return (const TCppType*)A; }
	static FORCEINLINE TCppType* GetPropertyValuePtr(void* A) { return (TCppType*)A; }
	static FORCEINLINE const TCppType& GetPropertyValue(const void* A) { return *GetPropertyValuePtr(A); }
	static FORCEINLINE void SetPropertyValue(void* A, const TCppType& Value) { *GetPropertyValuePtr(A) = Value; }

	FORCEINLINE TCppType* GetPropertyValuePtr_InContainer(void* A, int32 ArrayIndex = 0) const
	{
		return GetPropertyValuePtr(this->template ContainerPtrToValuePtr<void>(A, ArrayIndex));
	}
	FORCEINLINE const TCppType* GetPropertyValuePtr_InContainer(const void* A, int32 ArrayIndex = 0) const
	{
		return GetPropertyValuePtr(this->template ContainerPtrToValuePtr<void>(A, ArrayIndex));
	}
	FORCEINLINE TCppType const& GetPropertyValue_InContainer(const void* A, int32 ArrayIndex = 0) const
	{
		return *GetPropertyValuePtr_InContainer(A, ArrayIndex);
	}
	FORCEINLINE void SetPropertyValue_InContainer(void* A, const TCppType& Value, int32 ArrayIndex = 0) const
	{
		*GetPropertyValuePtr_InContainer(A, ArrayIndex) = Value;
	}

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override
	{
		if constexpr (requires(const TCppType& X, const TCppType& Y) { X == Y; })
		{
			return GetPropertyValue(A) == (B ? GetPropertyValue(B) : GetDefaultPropertyValue());
		}
		else
		{
			return A == B;
		}
	}

protected:
	virtual void InitializeValueInternal(void* Dest) const override
	{
		for (int32 I = 0; I < this->ArrayDim; ++I)
		{
			new ((uint8*)Dest + I * sizeof(TCppType)) TCppType();
		}
	}
	virtual void DestroyValueInternal(void* Dest) const override
	{
		for (int32 I = 0; I < this->ArrayDim; ++I)
		{
			((TCppType*)((uint8*)Dest + I * sizeof(TCppType)))->~TCppType();
		}
	}
	virtual void ClearValueInternal(void* Data) const override
	{
		*(TCppType*)Data = TCppType();
	}
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override
	{
		for (int32 I = 0; I < Count; ++I)
		{
			((TCppType*)Dest)[I] = ((const TCppType*)Src)[I];
		}
	}
};

// ---------------------------------------------------------------------------------------------
// Numbers

class COREUOBJECT_API FNumericProperty : public FProperty
{
	DECLARE_FIELD(FNumericProperty, FProperty, CASTCLASS_FNumericProperty)

public:
	using FProperty::FProperty;

	virtual bool IsFloatingPoint() const { return false; }
	virtual bool IsInteger() const { return true; }
	virtual UEnum* GetIntPropertyEnum() const { return nullptr; }
	bool IsEnum() const { return GetIntPropertyEnum() != nullptr; }
	virtual void SetIntPropertyValue(void* Data, uint64 Value) const = 0;
	virtual void SetIntPropertyValue(void* Data, int64 Value) const = 0;
	virtual void SetFloatingPointPropertyValue(void* Data, double Value) const = 0;
	virtual int64 GetSignedIntPropertyValue(void const* Data) const = 0;
	virtual uint64 GetUnsignedIntPropertyValue(void const* Data) const = 0;
	virtual double GetFloatingPointPropertyValue(void const* Data) const = 0;
	virtual void SetNumericPropertyValueFromString(void* Data, const TCHAR* Value) const;
	virtual FString GetNumericPropertyValueToString(void const* Data) const;
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
};

template<typename InTCppType>
class TProperty_Numeric : public TProperty<InTCppType, FNumericProperty>
{
public:
	typedef TProperty<InTCppType, FNumericProperty> Super;
	typedef InTCppType TCppType;

	TProperty_Numeric(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
		: Super(InOwner, InName, InObjectFlags)
	{
		this->PropertyFlags |= CPF_IsPlainOldData | CPF_NoDestructor | CPF_ZeroConstructor | CPF_HasGetValueTypeHash;
	}

	virtual bool IsFloatingPoint() const override { return std::is_floating_point_v<TCppType>; }
	virtual bool IsInteger() const override { return std::is_integral_v<TCppType>; }
	virtual void SetIntPropertyValue(void* Data, uint64 Value) const override { *(TCppType*)Data = (TCppType)Value; }
	virtual void SetIntPropertyValue(void* Data, int64 Value) const override { *(TCppType*)Data = (TCppType)Value; }
	virtual void SetFloatingPointPropertyValue(void* Data, double Value) const override { *(TCppType*)Data = (TCppType)Value; }
	virtual int64 GetSignedIntPropertyValue(void const* Data) const override { return (int64)*(const TCppType*)Data; }
	virtual uint64 GetUnsignedIntPropertyValue(void const* Data) const override { return (uint64)*(const TCppType*)Data; }
	virtual double GetFloatingPointPropertyValue(void const* Data) const override { return (double)*(const TCppType*)Data; }
};

#define HOST_DECLARE_NUMERIC_PROPERTY(TName, TType, TCast) \
	class COREUOBJECT_API TName : public TProperty_Numeric<TType> \
	{ \
		DECLARE_FIELD(TName, FNumericProperty, TCast) \
	public: \
		TName(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags) : TProperty_Numeric<TType>(InOwner, InName, InObjectFlags) {} \
		virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override { return TEXT(#TType); } \
	};

HOST_DECLARE_NUMERIC_PROPERTY(FInt8Property, int8, CASTCLASS_FInt8Property)
HOST_DECLARE_NUMERIC_PROPERTY(FInt16Property, int16, CASTCLASS_FInt16Property)
HOST_DECLARE_NUMERIC_PROPERTY(FIntProperty, int32, CASTCLASS_FIntProperty)
HOST_DECLARE_NUMERIC_PROPERTY(FInt64Property, int64, CASTCLASS_FInt64Property)
HOST_DECLARE_NUMERIC_PROPERTY(FUInt16Property, uint16, CASTCLASS_FUInt16Property)
HOST_DECLARE_NUMERIC_PROPERTY(FUInt32Property, uint32, CASTCLASS_FUInt32Property)
HOST_DECLARE_NUMERIC_PROPERTY(FUInt64Property, uint64, CASTCLASS_FUInt64Property)
HOST_DECLARE_NUMERIC_PROPERTY(FFloatProperty, float, CASTCLASS_FFloatProperty)
HOST_DECLARE_NUMERIC_PROPERTY(FDoubleProperty, double, CASTCLASS_FDoubleProperty)
#undef HOST_DECLARE_NUMERIC_PROPERTY

// uint8, optionally naming the enum it holds (TEnumAsByte).
class COREUOBJECT_API FByteProperty : public TProperty_Numeric<uint8>
{
	DECLARE_FIELD(FByteProperty, FNumericProperty, CASTCLASS_FByteProperty)

public:
	FByteProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags) : TProperty_Numeric<uint8>(InOwner, InName, InObjectFlags) {}
	UEnum* Enum = nullptr;
	virtual UEnum* GetIntPropertyEnum() const override { return Enum; }
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
};

class COREUOBJECT_API FBoolProperty : public FProperty
{
	DECLARE_FIELD(FBoolProperty, FProperty, CASTCLASS_FBoolProperty)

public:
	typedef bool TCppType;
	FBoolProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);

	// A native bool (mask 0xFF) or one bit of an integer bitfield.
	void SetBoolSize(uint32 InSize, bool bIsNativeBool = false, uint32 InBitMask = 0);
	uint8 FieldSize = 1;
	uint8 ByteOffset = 0;
	uint8 ByteMask = 1;
	uint8 FieldMask = 0xFF;

	FORCEINLINE bool IsNativeBool() const { return FieldMask == 0xFF; }
	FORCEINLINE bool GetPropertyValue(void const* A) const { return !!(*((const uint8*)A + ByteOffset) & FieldMask); }
	FORCEINLINE void SetPropertyValue(void* A, bool Value) const
	{
		uint8* Byte = (uint8*)A + ByteOffset;
		*Byte = IsNativeBool() ? (Value ? 1 : 0) : (uint8)((*Byte & ~FieldMask) | (Value ? ByteMask : 0));
	}
	FORCEINLINE bool GetPropertyValue_InContainer(void const* A, int32 ArrayIndex = 0) const { return GetPropertyValue(ContainerPtrToValuePtr<void>(A, ArrayIndex)); }
	FORCEINLINE void SetPropertyValue_InContainer(void* A, bool Value, int32 ArrayIndex = 0) const { SetPropertyValue(ContainerPtrToValuePtr<void>(A, ArrayIndex), Value); }
	static bool GetDefaultPropertyValue() { return false; }

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

// An enum class held in its underlying integer type.
class COREUOBJECT_API FEnumProperty : public FProperty
{
	DECLARE_FIELD(FEnumProperty, FProperty, CASTCLASS_FEnumProperty)

public:
	FEnumProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual ~FEnumProperty() override;

	FNumericProperty* GetUnderlyingProperty() const { return UnderlyingProp; }
	UEnum* GetEnum() const { return Enum; }
	void SetEnum(UEnum* InEnum) { Enum = InEnum; }
	virtual void AddCppProperty(FProperty* Inner) override;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

	FNumericProperty* UnderlyingProp = nullptr;
	UEnum* Enum = nullptr;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

// ---------------------------------------------------------------------------------------------
// Strings

class COREUOBJECT_API FStrProperty : public TProperty<FString, FProperty>
{
	DECLARE_FIELD(FStrProperty, FProperty, CASTCLASS_FStrProperty)

public:
	FStrProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags) : TProperty<FString, FProperty>(InOwner, InName, InObjectFlags)
	{
		PropertyFlags |= CPF_ZeroConstructor | CPF_HasGetValueTypeHash;
	}
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override { return TEXT("FString"); }
};

class COREUOBJECT_API FNameProperty : public TProperty<FName, FProperty>
{
	DECLARE_FIELD(FNameProperty, FProperty, CASTCLASS_FNameProperty)

public:
	FNameProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags) : TProperty<FName, FProperty>(InOwner, InName, InObjectFlags)
	{
		PropertyFlags |= CPF_ZeroConstructor | CPF_IsPlainOldData | CPF_NoDestructor | CPF_HasGetValueTypeHash;
	}
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override { return TEXT("FName"); }
};

class COREUOBJECT_API FTextProperty : public TProperty<FText, FProperty>
{
	DECLARE_FIELD(FTextProperty, FProperty, CASTCLASS_FTextProperty)

public:
	FTextProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags) : TProperty<FText, FProperty>(InOwner, InName, InObjectFlags) {}
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override { return TEXT("FText"); }
};

// ---------------------------------------------------------------------------------------------
// Object references

class COREUOBJECT_API FObjectPropertyBase : public FProperty
{
	DECLARE_FIELD(FObjectPropertyBase, FProperty, CASTCLASS_FObjectPropertyBase)

public:
	FObjectPropertyBase(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);

	UClass* PropertyClass = nullptr;
	void SetPropertyClass(UClass* NewPropertyClass) { PropertyClass = NewPropertyClass; }

	virtual UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const = 0;
	virtual void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const = 0;
	UObject* GetObjectPropertyValue_InContainer(const void* ContainerAddress, int32 ArrayIndex = 0) const
	{
		return GetObjectPropertyValue(ContainerPtrToValuePtr<void>(ContainerAddress, ArrayIndex));
	}
	void SetObjectPropertyValue_InContainer(void* ContainerAddress, UObject* Value, int32 ArrayIndex = 0) const
	{
		SetObjectPropertyValue(ContainerPtrToValuePtr<void>(ContainerAddress, ArrayIndex), Value);
	}
	virtual UObject* LoadObjectPropertyValue(const void* PropertyValueAddress) const { return GetObjectPropertyValue(PropertyValueAddress); }
	UObject* LoadObjectPropertyValue_InContainer(const void* ContainerAddress, int32 ArrayIndex = 0) const
	{
		return LoadObjectPropertyValue(ContainerPtrToValuePtr<void>(ContainerAddress, ArrayIndex));
	}
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
};

class COREUOBJECT_API FObjectProperty : public FObjectPropertyBase
{
	DECLARE_FIELD(FObjectProperty, FObjectPropertyBase, CASTCLASS_FObjectProperty)

public:
	typedef UObject* TCppType;
	FObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);

	virtual UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const override { return *(UObject* const*)PropertyValueAddress; }
	virtual void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const override { *(UObject**)PropertyValueAddress = Value; }
	static UObject* GetDefaultPropertyValue() { return nullptr; }
	UObject* GetPropertyValue(const void* A) const { return GetObjectPropertyValue(A); }
	UObject* GetPropertyValue_InContainer(const void* A, int32 ArrayIndex = 0) const { return GetObjectPropertyValue_InContainer(A, ArrayIndex); }
	void SetPropertyValue_InContainer(void* A, UObject* Value, int32 ArrayIndex = 0) const { SetObjectPropertyValue_InContainer(A, Value, ArrayIndex); }

	virtual bool ContainsObjectReference() const override { return true; }
	virtual void VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

class COREUOBJECT_API FClassProperty : public FObjectProperty
{
	DECLARE_FIELD(FClassProperty, FObjectProperty, CASTCLASS_FClassProperty)

public:
	using FObjectProperty::FObjectProperty;
	UClass* MetaClass = nullptr;
	void SetMetaClass(UClass* NewMetaClass) { MetaClass = NewMetaClass; }
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
};

class COREUOBJECT_API FWeakObjectProperty : public FObjectPropertyBase
{
	DECLARE_FIELD(FWeakObjectProperty, FObjectPropertyBase, CASTCLASS_FWeakObjectProperty)

public:
	typedef FWeakObjectPtr TCppType;
	FWeakObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const override;
	virtual void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

class COREUOBJECT_API FSoftObjectProperty : public FObjectPropertyBase
{
	DECLARE_FIELD(FSoftObjectProperty, FObjectPropertyBase, CASTCLASS_FSoftObjectProperty)

public:
	typedef FSoftObjectPtr TCppType;
	FSoftObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);

	// Resolves only objects already loaded.
	virtual UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const override;
	virtual void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const override;
	virtual UObject* LoadObjectPropertyValue(const void* PropertyValueAddress) const override;
	FSoftObjectPtr GetPropertyValue(const void* A) const { return *(const FSoftObjectPtr*)A; }
	FSoftObjectPtr GetPropertyValue_InContainer(const void* A, int32 ArrayIndex = 0) const { return GetPropertyValue(ContainerPtrToValuePtr<void>(A, ArrayIndex)); }
	const FSoftObjectPtr* GetPropertyValuePtr_InContainer(const void* A, int32 ArrayIndex = 0) const { return ContainerPtrToValuePtr<FSoftObjectPtr>(A, ArrayIndex); }
	FSoftObjectPtr* GetPropertyValuePtr_InContainer(void* A, int32 ArrayIndex = 0) const { return ContainerPtrToValuePtr<FSoftObjectPtr>(A, ArrayIndex); }
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

class COREUOBJECT_API FSoftClassProperty : public FSoftObjectProperty
{
	DECLARE_FIELD(FSoftClassProperty, FSoftObjectProperty, CASTCLASS_FSoftClassProperty)

public:
	using FSoftObjectProperty::FSoftObjectProperty;
	UClass* MetaClass = nullptr;
	void SetMetaClass(UClass* NewMetaClass) { MetaClass = NewMetaClass; }
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
};

class COREUOBJECT_API FInterfaceProperty : public TProperty<FScriptInterface, FProperty>
{
	DECLARE_FIELD(FInterfaceProperty, FProperty, CASTCLASS_FInterfaceProperty)

public:
	FInterfaceProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags) : TProperty<FScriptInterface, FProperty>(InOwner, InName, InObjectFlags) {}
	UClass* InterfaceClass = nullptr;
	virtual bool ContainsObjectReference() const override { return true; }
	virtual void VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const override;
};

// ---------------------------------------------------------------------------------------------
// Structs and containers

class COREUOBJECT_API FStructProperty : public FProperty
{
	DECLARE_FIELD(FStructProperty, FProperty, CASTCLASS_FStructProperty)

public:
	FStructProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	FStructProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, int32 InOffset, EPropertyFlags InFlags, UScriptStruct* InStruct);

	UScriptStruct* Struct = nullptr;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual bool ContainsObjectReference() const override;
	virtual void VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const override;
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual void Link() override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

// Any TArray with the default allocator: { Data, Num, Max }.
struct FScriptArray
{
	void* Data = nullptr;
	int32 ArrayNum = 0;
	int32 ArrayMax = 0;
};

class COREUOBJECT_API FArrayProperty : public FProperty
{
	DECLARE_FIELD(FArrayProperty, FProperty, CASTCLASS_FArrayProperty)

public:
	FArrayProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual ~FArrayProperty() override;

	FProperty* Inner = nullptr;
	virtual void AddCppProperty(FProperty* Property) override;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual bool ContainsObjectReference() const override { return Inner && Inner->ContainsObjectReference(); }
	virtual void VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const override;
	virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data) const override;
	virtual void ExportTextItem(FString& ValueStr, const void* PropertyValue) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

// Element access to an array through its property, as the engine's helper offers it.
class COREUOBJECT_API FScriptArrayHelper
{
public:
	FScriptArrayHelper(const FArrayProperty* InProperty, const void* InArray);

	int32 Num() const { return Array->ArrayNum; }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	uint8* GetRawPtr(int32 Index = 0) const;
	int32 AddValue();
	int32 AddValues(int32 Count);
	void InsertValues(int32 Index, int32 Count = 1);
	void RemoveValues(int32 Index, int32 Count = 1);
	void EmptyValues(int32 Slack = 0);
	void Resize(int32 NewNum);
	int32 AddUninitializedValues(int32 Count);

	static FScriptArrayHelper CreateHelperFormInnerProperty(const FProperty* InInnerProperty, const void* InArray);

private:
	FScriptArrayHelper(const FProperty* InInner, const void* InArray, bool);
	void Reserve(int32 NewMax);

	const FProperty* InnerProperty;
	FScriptArray* Array;
	int32 ElementSize;
	int32 ElementAlignment;
};

class COREUOBJECT_API FMapProperty : public FProperty
{
	DECLARE_FIELD(FMapProperty, FProperty, CASTCLASS_FMapProperty)

public:
	FMapProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual ~FMapProperty() override;

	FProperty* KeyProp = nullptr;
	FProperty* ValueProp = nullptr;
	const UE::Host::CodeGen::FContainerOps* Ops = nullptr;
	virtual void AddCppProperty(FProperty* Property) override;

	int32 Num(const void* Map) const;
	// Calls Visit(Key, Value) for every pair, in iteration order.
	void ForEachPair(void* Map, TFunctionRef<void(void* Key, void* Value)> Visit) const;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual bool ContainsObjectReference() const override;
	virtual void VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

class COREUOBJECT_API FSetProperty : public FProperty
{
	DECLARE_FIELD(FSetProperty, FProperty, CASTCLASS_FSetProperty)

public:
	FSetProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual ~FSetProperty() override;

	FProperty* ElementProp = nullptr;
	const UE::Host::CodeGen::FContainerOps* Ops = nullptr;
	virtual void AddCppProperty(FProperty* Property) override;

	int32 Num(const void* Set) const;
	void ForEachElement(void* Set, TFunctionRef<void(void* Element)> Visit) const;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual bool ContainsObjectReference() const override;
	virtual void VisitReferences(void* Value, FReferenceCollector& Collector, const UObject* Referencer) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

// ---------------------------------------------------------------------------------------------
// Delegates: the bound objects are weak, so they are no references for the collector.

class COREUOBJECT_API FDelegateProperty : public TProperty<FScriptDelegate, FProperty>
{
	DECLARE_FIELD(FDelegateProperty, FProperty, CASTCLASS_FDelegateProperty)

public:
	FDelegateProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags) : TProperty<FScriptDelegate, FProperty>(InOwner, InName, InObjectFlags) {}
	UFunction* SignatureFunction = nullptr;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
};

class COREUOBJECT_API FMulticastDelegateProperty : public FProperty
{
	DECLARE_FIELD(FMulticastDelegateProperty, FProperty, CASTCLASS_FMulticastDelegateProperty)

public:
	using FProperty::FProperty;
	UFunction* SignatureFunction = nullptr;

	virtual const FMulticastScriptDelegate* GetMulticastDelegate(const void* PropertyValue) const = 0;
	virtual void SetMulticastDelegate(void* PropertyValue, FMulticastScriptDelegate ScriptDelegate) const = 0;
	virtual void AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const = 0;
	virtual void RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const = 0;
	virtual void ClearDelegate(UObject* Parent = nullptr, void* PropertyValue = nullptr) const = 0;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
};

class COREUOBJECT_API FMulticastInlineDelegateProperty : public FMulticastDelegateProperty
{
	DECLARE_FIELD(FMulticastInlineDelegateProperty, FMulticastDelegateProperty, CASTCLASS_FMulticastInlineDelegateProperty)

public:
	typedef FMulticastScriptDelegate TCppType;
	FMulticastInlineDelegateProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);

	virtual const FMulticastScriptDelegate* GetMulticastDelegate(const void* PropertyValue) const override;
	virtual void SetMulticastDelegate(void* PropertyValue, FMulticastScriptDelegate ScriptDelegate) const override;
	virtual void AddDelegate(FScriptDelegate ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;
	virtual void RemoveDelegate(const FScriptDelegate& ScriptDelegate, UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;
	virtual void ClearDelegate(UObject* Parent = nullptr, void* PropertyValue = nullptr) const override;
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;

protected:
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
	virtual void CopyValuesInternal(void* Dest, const void* Src, int32 Count) const override;
};

// ---------------------------------------------------------------------------------------------
// Iteration

enum class EFieldIterationFlags : uint8
{
	None = 0,
	IncludeSuper = 1 << 0,
	IncludeDeprecated = 1 << 1,
	IncludeInterfaces = 1 << 2,
	IncludeAll = IncludeSuper | IncludeDeprecated | IncludeInterfaces,
	Default = IncludeSuper | IncludeDeprecated,
};
ENUM_CLASS_FLAGS(EFieldIterationFlags);

namespace EFieldIteratorFlags
{
	enum SuperClassFlags
	{
		ExcludeSuper = (uint8)EFieldIterationFlags::None,
		IncludeSuper = (uint8)EFieldIterationFlags::IncludeSuper
	};
	enum DeprecatedPropertyFlags
	{
		ExcludeDeprecated = (uint8)EFieldIterationFlags::None,
		IncludeDeprecated = (uint8)EFieldIterationFlags::IncludeDeprecated
	};
	enum InterfaceClassFlags
	{
		ExcludeInterfaces = (uint8)EFieldIterationFlags::None,
		IncludeInterfaces = (uint8)EFieldIterationFlags::IncludeInterfaces
	};
}

// Walks a struct's own fields in declaration order, then (with IncludeSuper) its super's.
template<class T>
class TFieldIterator
{
	static constexpr bool bIsUField = std::is_base_of_v<UField, T>;
	using FieldBase = std::conditional_t<bIsUField, UField, FField>;

public:
	TFieldIterator(const UStruct* InStruct, EFieldIterationFlags InIterationFlags = EFieldIterationFlags::Default)
		: Struct(InStruct)
		, Field(nullptr)
		, IterationFlags(InIterationFlags)
	{
		Field = Struct ? First(Struct) : nullptr;
		IterateToNext();
	}
	TFieldIterator(const UStruct* InStruct, EFieldIteratorFlags::SuperClassFlags InSuperClassFlags,
		EFieldIteratorFlags::DeprecatedPropertyFlags InDeprecatedFieldFlags = EFieldIteratorFlags::IncludeDeprecated,
		EFieldIteratorFlags::InterfaceClassFlags InInterfaceFieldFlags = EFieldIteratorFlags::ExcludeInterfaces)
		: TFieldIterator(InStruct, (EFieldIterationFlags)((uint8)InSuperClassFlags | (uint8)InDeprecatedFieldFlags | (uint8)InInterfaceFieldFlags))
	{
	}

	FORCEINLINE explicit operator bool() const { return Field != nullptr; }
	FORCEINLINE bool operator!() const { return Field == nullptr; }
	FORCEINLINE bool operator==(const TFieldIterator& Rhs) const { return Field == Rhs.Field; }
	FORCEINLINE bool operator!=(const TFieldIterator& Rhs) const { return Field != Rhs.Field; }
	FORCEINLINE void operator++()
	{
		checkSlow(Field);
		Field = Field->Next;
		IterateToNext();
	}
	FORCEINLINE T* operator*() { return (T*)Field; }
	FORCEINLINE const T* operator*() const { return (const T*)Field; }
	FORCEINLINE T* operator->() { return (T*)Field; }
	FORCEINLINE const UStruct* GetStruct() { return Struct; }

private:
	static FieldBase* First(const UStruct* InStruct);

	void IterateToNext()
	{
		while (Struct)
		{
			while (Field)
			{
				if (IsMatch(Field))
				{
					return;
				}
				Field = Field->Next;
			}
			if (!EnumHasAnyFlags(IterationFlags, EFieldIterationFlags::IncludeSuper))
			{
				Struct = nullptr;
				break;
			}
			Struct = Struct->GetInheritanceSuper();
			Field = Struct ? First(Struct) : nullptr;
		}
	}

	bool IsMatch(const FieldBase* Candidate) const
	{
		if constexpr (bIsUField)
		{
			return Candidate->IsA(T::StaticClass());
		}
		else
		{
			if (!Candidate->IsA(T::StaticClass()))
			{
				return false;
			}
			if constexpr (std::is_base_of_v<FProperty, T>)
			{
				if (!EnumHasAnyFlags(IterationFlags, EFieldIterationFlags::IncludeDeprecated) && static_cast<const FProperty*>(Candidate)->HasAnyPropertyFlags(CPF_Deprecated))
				{
					return false;
				}
			}
			return true;
		}
	}

	const UStruct* Struct;
	FieldBase* Field;
	EFieldIterationFlags IterationFlags;
};

template<class T>
typename TFieldIterator<T>::FieldBase* TFieldIterator<T>::First(const UStruct* InStruct)
{
	if constexpr (bIsUField)
	{
		return InStruct->Children;
	}
	else
	{
		return InStruct->ChildProperties;
	}
}

template<class T>
struct TFieldRange
{
	TFieldRange(const UStruct* InStruct, EFieldIterationFlags InIterationFlags = EFieldIterationFlags::Default)
		: Begin(InStruct, InIterationFlags)
	{
	}
	TFieldRange(const UStruct* InStruct, EFieldIteratorFlags::SuperClassFlags InSuperClassFlags,
		EFieldIteratorFlags::DeprecatedPropertyFlags InDeprecatedFieldFlags = EFieldIteratorFlags::IncludeDeprecated,
		EFieldIteratorFlags::InterfaceClassFlags InInterfaceFieldFlags = EFieldIteratorFlags::ExcludeInterfaces)
		: Begin(InStruct, InSuperClassFlags, InDeprecatedFieldFlags, InInterfaceFieldFlags)
	{
	}

	friend TFieldIterator<T> begin(const TFieldRange& Range) { return Range.Begin; }
	friend TFieldIterator<T> end(const TFieldRange& Range) { return TFieldIterator<T>(nullptr); }

	TFieldIterator<T> Begin;
};

template<typename T>
T* FindFProperty(const UStruct* Owner, FName FieldName, EFieldIterationFlags IterationFlags = EFieldIterationFlags::Default)
{
	if (FieldName.IsNone())
	{
		return nullptr;
	}
	for (TFieldIterator<T> It(Owner, IterationFlags); It; ++It)
	{
		if (It->GetFName() == FieldName)
		{
			return *It;
		}
	}
	return nullptr;
}

template<typename T>
T* FindFProperty(const UStruct* Owner, const TCHAR* FieldName, EFieldIterationFlags IterationFlags = EFieldIterationFlags::Default)
{
	return FindFProperty<T>(Owner, FName(FieldName, FNAME_Find), IterationFlags);
}

template<typename T>
T* FindUField(const UStruct* Owner, FName FieldName, EFieldIterationFlags IterationFlags = EFieldIterationFlags::Default)
{
	for (TFieldIterator<T> It(Owner, IterationFlags); It; ++It)
	{
		if (It->GetFName() == FieldName)
		{
			return *It;
		}
	}
	return nullptr;
}
