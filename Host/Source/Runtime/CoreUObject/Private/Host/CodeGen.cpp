// The registration calls of generated code: properties, functions, structs, enums, classes and packages.
#include "Host/CodeGen.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/ObjectPrivate.h"

namespace UE::Host::CodeGen
{
	namespace
	{
		constexpr EObjectFlags NativeFieldFlags = (EObjectFlags)(RF_Public | RF_Transient | RF_MarkAsNative);

		FNumericProperty* MakeNumeric(FFieldVariant Owner, FName Name, EPropertyKind Kind)
		{
			switch (Kind)
			{
			case EPropertyKind::Int8: return new FInt8Property(Owner, Name, NativeFieldFlags);
			case EPropertyKind::Int16: return new FInt16Property(Owner, Name, NativeFieldFlags);
			case EPropertyKind::Int: return new FIntProperty(Owner, Name, NativeFieldFlags);
			case EPropertyKind::Int64: return new FInt64Property(Owner, Name, NativeFieldFlags);
			case EPropertyKind::Byte: return new FByteProperty(Owner, Name, NativeFieldFlags);
			case EPropertyKind::UInt16: return new FUInt16Property(Owner, Name, NativeFieldFlags);
			case EPropertyKind::UInt32: return new FUInt32Property(Owner, Name, NativeFieldFlags);
			case EPropertyKind::UInt64: return new FUInt64Property(Owner, Name, NativeFieldFlags);
			case EPropertyKind::Float: return new FFloatProperty(Owner, Name, NativeFieldFlags);
			case EPropertyKind::Double: return new FDoubleProperty(Owner, Name, NativeFieldFlags);
			default: return nullptr;
			}
		}

		void ApplyMetaData(FField* Field, const FMetaDataPairParam* MetaData, int32 Num)
		{
#if WITH_METADATA
			for (int32 I = 0; I < Num; ++I)
			{
				Field->SetMetaData(MetaData[I].Key, MetaData[I].Value);
			}
#else
			// Generated code passes none where the target keeps no metadata.
			(void)Field;
			(void)MetaData;
			(void)Num;
#endif
		}

		void ApplyMetaData(UField* Field, const FMetaDataPairParam* MetaData, int32 Num)
		{
#if WITH_METADATA
			for (int32 I = 0; I < Num; ++I)
			{
				Field->SetMetaData(MetaData[I].Key, MetaData[I].Value);
			}
#else
			// Generated code passes none where the target keeps no metadata.
			(void)Field;
			(void)MetaData;
			(void)Num;
#endif
		}

		FProperty* CreateProperty(FFieldVariant Owner, const FPropertyParams& Params)
		{
			const FName Name(Params.Name);
			FProperty* Property = nullptr;
			switch (Params.Kind)
			{
			case EPropertyKind::Int8:
			case EPropertyKind::Int16:
			case EPropertyKind::Int:
			case EPropertyKind::Int64:
			case EPropertyKind::UInt16:
			case EPropertyKind::UInt32:
			case EPropertyKind::UInt64:
			case EPropertyKind::Float:
			case EPropertyKind::Double:
				Property = MakeNumeric(Owner, Name, Params.Kind);
				break;
			case EPropertyKind::Byte:
			{
				FByteProperty* Byte = new FByteProperty(Owner, Name, NativeFieldFlags);
				Byte->Enum = Params.EnumFunc ? Params.EnumFunc() : nullptr;
				Property = Byte;
				break;
			}
			case EPropertyKind::Bool:
			{
				FBoolProperty* Bool = new FBoolProperty(Owner, Name, NativeFieldFlags);
				if (Params.bNativeBool || !Params.SetBit)
				{
					Bool->SetBoolSize(sizeof(bool), true);
				}
				else
				{
					// Find the bit the compiler chose: set it in a zeroed copy of the container.
					TArray<uint8> Buffer;
					Buffer.SetNumZeroed((int32)Params.ContainerSize);
					Params.SetBit(Buffer.GetData());
					int32 ByteIndex = 0;
					while (ByteIndex < Buffer.Num() && Buffer[ByteIndex] == 0)
					{
						++ByteIndex;
					}
					checkf(ByteIndex < Buffer.Num(), TEXT("Bitfield %s: no bit set"), Params.Name);
					Bool->FieldSize = (uint8)Params.ElementSize;
					Bool->ByteOffset = 0;
					Bool->ByteMask = Buffer[ByteIndex];
					Bool->FieldMask = Buffer[ByteIndex];
					Bool->ElementSize = 1;
					Bool->Offset_Internal = ByteIndex;
				}
				Property = Bool;
				break;
			}
			case EPropertyKind::Str:
				Property = new FStrProperty(Owner, Name, NativeFieldFlags);
				break;
			case EPropertyKind::Name:
				Property = new FNameProperty(Owner, Name, NativeFieldFlags);
				break;
			case EPropertyKind::Text:
				Property = new FTextProperty(Owner, Name, NativeFieldFlags);
				break;
			case EPropertyKind::Enum:
			{
				FEnumProperty* Enum = new FEnumProperty(Owner, Name, NativeFieldFlags);
				Enum->SetEnum(Params.EnumFunc ? Params.EnumFunc() : nullptr);
				FNumericProperty* Underlying = MakeNumeric(FFieldVariant(Enum), FName(TEXT("UnderlyingType")), Params.UnderlyingKind);
				checkf(Underlying, TEXT("Enum property %s needs an integer underlying type"), Params.Name);
				Enum->AddCppProperty(Underlying);
				Property = Enum;
				break;
			}
			case EPropertyKind::Struct:
			{
				FStructProperty* Struct = new FStructProperty(Owner, Name, NativeFieldFlags);
				Struct->Struct = Params.StructFunc();
				Struct->ElementSize = Struct->Struct->GetPropertiesSize();
				Property = Struct;
				break;
			}
			case EPropertyKind::Object:
			{
				FObjectProperty* Object = new FObjectProperty(Owner, Name, NativeFieldFlags);
				Object->PropertyClass = Params.ClassFunc ? Params.ClassFunc() : UObject::StaticClass();
				Property = Object;
				break;
			}
			case EPropertyKind::Class:
			{
				FClassProperty* Class = new FClassProperty(Owner, Name, NativeFieldFlags);
				Class->PropertyClass = UClass::StaticClass();
				Class->MetaClass = Params.MetaClassFunc ? Params.MetaClassFunc() : UObject::StaticClass();
				Property = Class;
				break;
			}
			case EPropertyKind::WeakObject:
			{
				FWeakObjectProperty* Weak = new FWeakObjectProperty(Owner, Name, NativeFieldFlags);
				Weak->PropertyClass = Params.ClassFunc ? Params.ClassFunc() : UObject::StaticClass();
				Property = Weak;
				break;
			}
			case EPropertyKind::SoftObject:
			{
				FSoftObjectProperty* Soft = new FSoftObjectProperty(Owner, Name, NativeFieldFlags);
				Soft->PropertyClass = Params.ClassFunc ? Params.ClassFunc() : UObject::StaticClass();
				Property = Soft;
				break;
			}
			case EPropertyKind::SoftClass:
			{
				FSoftClassProperty* SoftClass = new FSoftClassProperty(Owner, Name, NativeFieldFlags);
				SoftClass->PropertyClass = UClass::StaticClass();
				SoftClass->MetaClass = Params.MetaClassFunc ? Params.MetaClassFunc() : UObject::StaticClass();
				Property = SoftClass;
				break;
			}
			case EPropertyKind::Interface:
			{
				FInterfaceProperty* Interface = new FInterfaceProperty(Owner, Name, NativeFieldFlags);
				Interface->InterfaceClass = Params.ClassFunc ? Params.ClassFunc() : nullptr;
				Property = Interface;
				break;
			}
			case EPropertyKind::Array:
				Property = new FArrayProperty(Owner, Name, NativeFieldFlags);
				break;
			case EPropertyKind::Map:
			{
				FMapProperty* Map = new FMapProperty(Owner, Name, NativeFieldFlags);
				checkf(Params.ContainerOps, TEXT("Map property %s needs its container operations"), Params.Name);
				Map->Ops = Params.ContainerOps;
				Map->ElementSize = Params.ContainerOps->Size;
				Property = Map;
				break;
			}
			case EPropertyKind::Set:
			{
				FSetProperty* Set = new FSetProperty(Owner, Name, NativeFieldFlags);
				checkf(Params.ContainerOps, TEXT("Set property %s needs its container operations"), Params.Name);
				Set->Ops = Params.ContainerOps;
				Set->ElementSize = Params.ContainerOps->Size;
				Property = Set;
				break;
			}
			case EPropertyKind::Delegate:
			{
				FDelegateProperty* Delegate = new FDelegateProperty(Owner, Name, NativeFieldFlags);
				Delegate->SignatureFunction = Params.SignatureFunc ? Params.SignatureFunc() : nullptr;
				Property = Delegate;
				break;
			}
			case EPropertyKind::MulticastDelegate:
			{
				FMulticastInlineDelegateProperty* Delegate = new FMulticastInlineDelegateProperty(Owner, Name, NativeFieldFlags);
				Delegate->SignatureFunction = Params.SignatureFunc ? Params.SignatureFunc() : nullptr;
				Property = Delegate;
				break;
			}
			}
			check(Property);
			Property->PropertyFlags |= (EPropertyFlags)Params.Flags;
			if (!(Params.Kind == EPropertyKind::Bool && !Params.bNativeBool && Params.SetBit))
			{
				Property->Offset_Internal = Params.Offset;
			}
			Property->ArrayDim = Params.ArrayDim;
			if (Params.RepNotify)
			{
				Property->RepNotifyFunc = FName(Params.RepNotify);
			}
			ApplyMetaData(Property, Params.MetaData, Params.NumMetaData);
			return Property;
		}

		void LinkChild(UStruct* Owner, UField* Child)
		{
			UField** Tail = &Owner->Children;
			while (*Tail)
			{
				if (*Tail == Child)
				{
					return;
				}
				Tail = &(*Tail)->Next;
			}
			*Tail = Child;
			Child->Next = nullptr;
		}
	}

	FProperty* AddProperty(UStruct* Owner, const FPropertyParams& Params)
	{
		FProperty* Property = CreateProperty(FFieldVariant(Owner), Params);
		Owner->AddCppProperty(Property);
		return Property;
	}

	FProperty* AddProperty(FProperty* Container, const FPropertyParams& Params)
	{
		FProperty* Property = CreateProperty(FFieldVariant(Container), Params);
		Container->AddCppProperty(Property);
		return Property;
	}

	void ConstructFunction(UFunction*& OutFunction, const FFunctionParams& Params)
	{
		UObject* Outer = Params.OuterFunc();
		if (OutFunction)
		{
			return;
		}
		FStaticConstructObjectParameters ObjectParams(Params.bDelegateSignature ? UDelegateFunction::StaticClass() : UFunction::StaticClass());
		ObjectParams.Outer = Outer;
		ObjectParams.Name = FName(Params.Name);
		ObjectParams.SetFlags = NativeFieldFlags;
		UFunction* Function = (UFunction*)StaticConstructObject_Internal(ObjectParams);
		OutFunction = Function;
		Function->AddToRoot();
		Function->FunctionFlags = (EFunctionFlags)Params.FunctionFlags;
		Function->ParmsSize = Params.ParmsSize;
		Function->PropertiesSize = Params.ParmsSize;
		Function->MinAlignment = Params.ParmsAlignment;
		if (Params.AddProperties)
		{
			Params.AddProperties(Function);
		}
		ApplyMetaData(Function, Params.MetaData, Params.NumMetaData);
		Function->StaticLink();
		if (Cast<UClass>(Outer))
		{
			Function->Bind();
		}
	}

	void ConstructScriptStruct(UScriptStruct*& OutStruct, const FStructParams& Params)
	{
		if (OutStruct)
		{
			return;
		}
		UPackage* Package = Params.PackageFunc();
		// Making the package constructs its file-scope delegates, whose parameters may be this very
		// struct: it can exist by now.
		if (OutStruct)
		{
			return;
		}
		FStaticConstructObjectParameters ObjectParams(UScriptStruct::StaticClass());
		ObjectParams.Outer = Package;
		ObjectParams.Name = FName(Params.Name);
		ObjectParams.SetFlags = NativeFieldFlags;
		UScriptStruct* Struct = (UScriptStruct*)StaticConstructObject_Internal(ObjectParams);
		OutStruct = Struct;
		Struct->AddToRoot();
		if (Params.SuperFunc)
		{
			Struct->SetSuperStruct(Params.SuperFunc());
		}
		Struct->StructFlags = (EStructFlags)(Params.StructFlags | STRUCT_Native);
		Struct->SetCppStructOps(Params.StructOps);
		if (Params.StructOps)
		{
			Struct->PropertiesSize = Params.StructOps->GetSize();
			Struct->MinAlignment = Params.StructOps->GetAlignment();
		}
		if (Params.AddProperties)
		{
			Params.AddProperties(Struct);
		}
		ApplyMetaData(Struct, Params.MetaData, Params.NumMetaData);
		Struct->StaticLink();
	}

	void ConstructEnum(UEnum*& OutEnum, const FEnumParams& Params)
	{
		if (OutEnum)
		{
			return;
		}
		UPackage* Package = Params.PackageFunc();
		if (OutEnum)
		{
			return;
		}
		FStaticConstructObjectParameters ObjectParams(UEnum::StaticClass());
		ObjectParams.Outer = Package;
		ObjectParams.Name = FName(Params.Name);
		ObjectParams.SetFlags = NativeFieldFlags;
		UEnum* Enum = (UEnum*)StaticConstructObject_Internal(ObjectParams);
		OutEnum = Enum;
		Enum->AddToRoot();
		TArray<TPair<FName, int64>> Names;
		for (int32 I = 0; I < Params.NumEnumerators; ++I)
		{
			Names.Emplace(FName(Params.Enumerators[I].NameUTF8), Params.Enumerators[I].Value);
		}
		Enum->SetEnums(Names, Params.CppForm, Params.bFlags ? UEnum::EEnumFlags::Flags : UEnum::EEnumFlags::None, true);
		Enum->SetCppType(Params.CppType);
		ApplyMetaData(Enum, Params.MetaData, Params.NumMetaData);
	}

	void ConstructClass(UClass*& OutClass, const FClassParams& Params)
	{
		if (OutClass)
		{
			return;
		}
		UClass* Class = Params.ClassFunc();
		OutClass = Class;
		if (Params.AddProperties)
		{
			Params.AddProperties(Class);
		}
		for (int32 I = 0; I < Params.NumFunctions; ++I)
		{
			UFunction* Function = Params.Functions[I]();
			LinkChild(Class, Function);
			Class->AddFunctionToFunctionMap(Function, Function->GetFName());
		}
		ApplyMetaData(Class, Params.MetaData, Params.NumMetaData);
		Class->ClassFlags |= CLASS_Constructed;
		Class->StaticLink();
	}

	void ConstructPackage(UPackage*& OutPackage, const FPackageParams& Params)
	{
		if (OutPackage)
		{
			return;
		}
		UPackage* Package = CreatePackage(Params.Name);
		OutPackage = Package;
		Package->SetPackageFlags(PKG_CompiledIn | PKG_ContainsScript);
		Package->AddToRoot();
		for (int32 I = 0; I < Params.NumSingletons; ++I)
		{
			Params.Singletons[I]();
		}
	}

	FRegisterCompiledInInfo::FRegisterCompiledInInfo(const TCHAR* PackageName, void (*const* Constructors)(), int32 NumConstructors)
	{
		(void)PackageName;
		for (int32 I = 0; I < NumConstructors; ++I)
		{
			Constructors[I]();
		}
	}

	FRegisterCompiledInPackage::FRegisterCompiledInPackage(UPackage* (*PackageFunc)())
	{
		PackageFunc();
	}
}
