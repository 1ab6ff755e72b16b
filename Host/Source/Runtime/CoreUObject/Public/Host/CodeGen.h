// Host-only: the registration calls the header tool's generated code makes. Offsets, sizes and
// enum values come from the C++ types through the generated code; kinds and flags from the tool.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

class UPackage;

namespace UE::Host::CodeGen
{
	enum class EPropertyKind : uint8
	{
		Int8,
		Int16,
		Int,
		Int64,
		Byte,
		UInt16,
		UInt32,
		UInt64,
		Float,
		Double,
		Bool,
		Str,
		Name,
		Text,
		Enum,
		Struct,
		Object,
		Class,
		WeakObject,
		SoftObject,
		SoftClass,
		Interface,
		Array,
		Map,
		Set,
		Delegate,
		MulticastDelegate
	};

	struct FMetaDataPairParam
	{
		const TCHAR* Key;
		const TCHAR* Value;
	};

	// Operations on a TMap or TSet, instantiated from its C++ type.
	struct FContainerOps
	{
		int32 Size;
		int32 Alignment;
		void (*Construct)(void* Dest);
		void (*Destruct)(void* Dest);
		void (*Copy)(void* Dest, const void* Src);
		void (*Empty)(void* Dest);
		int32 (*Num)(const void* Container);
		// Visit(Key or element, Value or null, Context) for every entry.
		void (*ForEach)(void* Container, void (*Visit)(void* Key, void* Value, void* Context), void* Context);
	};

	template<typename T>
	struct TContainerOpsFor;

	template<typename K, typename V, typename A, typename F>
	struct TContainerOpsFor<TMap<K, V, A, F>>
	{
		using Type = TMap<K, V, A, F>;
		static void ForEach(void* Container, void (*Visit)(void*, void*, void*), void* Context)
		{
			for (auto& Pair : *(Type*)Container)
			{
				Visit((void*)&Pair.Key, (void*)&Pair.Value, Context);
			}
		}
	};

	template<typename E, typename F, typename A>
	struct TContainerOpsFor<TSet<E, F, A>>
	{
		using Type = TSet<E, F, A>;
		static void ForEach(void* Container, void (*Visit)(void*, void*, void*), void* Context)
		{
			for (auto& Element : *(Type*)Container)
			{
				Visit((void*)&Element, nullptr, Context);
			}
		}
	};

	template<typename T>
	const FContainerOps* GetContainerOps()
	{
		static const FContainerOps Ops = {
			(int32)sizeof(T),
			(int32)alignof(T),
			[](void* Dest) { new (Dest) T(); },
			[](void* Dest) { ((T*)Dest)->~T(); },
			[](void* Dest, const void* Src) { *(T*)Dest = *(const T*)Src; },
			[](void* Dest) { ((T*)Dest)->Empty(); },
			[](const void* Container) { return (int32)((const T*)Container)->Num(); },
			&TContainerOpsFor<T>::ForEach,
		};
		return &Ops;
	}

	struct FPropertyParams
	{
		EPropertyKind Kind = EPropertyKind::Int;
		const TCHAR* Name = nullptr;
		uint64 Flags = 0;
		int32 Offset = 0;
		int32 ArrayDim = 1;
		const TCHAR* RepNotify = nullptr;
		UClass* (*ClassFunc)() = nullptr;
		UClass* (*MetaClassFunc)() = nullptr;
		UScriptStruct* (*StructFunc)() = nullptr;
		UEnum* (*EnumFunc)() = nullptr;
		UFunction* (*SignatureFunc)() = nullptr;
		EPropertyKind UnderlyingKind = EPropertyKind::Byte;
		bool bObjectPtr = false;
		// Bools: storage size, native or a bitfield set through SetBit.
		uint32 ElementSize = 0;
		bool bNativeBool = false;
		void (*SetBit)(void* Container) = nullptr;
		uint32 ContainerSize = 0;
		const FContainerOps* ContainerOps = nullptr;
		const FMetaDataPairParam* MetaData = nullptr;
		int32 NumMetaData = 0;
	};

	// Adds a property to a struct, class or function, or the inner property of a container.
	COREUOBJECT_API FProperty* AddProperty(UStruct* Owner, const FPropertyParams& Params);
	COREUOBJECT_API FProperty* AddProperty(FProperty* Container, const FPropertyParams& Params);

	struct FFunctionParams
	{
		UObject* (*OuterFunc)() = nullptr;
		const TCHAR* Name = nullptr;
		uint32 FunctionFlags = 0;
		uint16 ParmsSize = 0;
		uint16 ParmsAlignment = 1;
		void (*AddProperties)(UStruct* Outer) = nullptr;
		bool bDelegateSignature = false;
		const FMetaDataPairParam* MetaData = nullptr;
		int32 NumMetaData = 0;
	};
	COREUOBJECT_API void ConstructFunction(UFunction*& OutFunction, const FFunctionParams& Params);

	struct FStructParams
	{
		UPackage* (*PackageFunc)() = nullptr;
		UScriptStruct* (*SuperFunc)() = nullptr;
		const TCHAR* Name = nullptr;
		UScriptStruct::ICppStructOps* StructOps = nullptr;
		uint32 StructFlags = 0;
		void (*AddProperties)(UStruct* Outer) = nullptr;
		const FMetaDataPairParam* MetaData = nullptr;
		int32 NumMetaData = 0;
	};
	COREUOBJECT_API void ConstructScriptStruct(UScriptStruct*& OutStruct, const FStructParams& Params);

	struct FEnumeratorParam
	{
		const TCHAR* NameUTF8;
		int64 Value;
	};

	struct FEnumParams
	{
		UPackage* (*PackageFunc)() = nullptr;
		const TCHAR* Name = nullptr;
		const TCHAR* CppType = nullptr;
		const FEnumeratorParam* Enumerators = nullptr;
		int32 NumEnumerators = 0;
		UEnum::ECppForm CppForm = UEnum::ECppForm::EnumClass;
		bool bFlags = false;
		const FMetaDataPairParam* MetaData = nullptr;
		int32 NumMetaData = 0;
	};
	COREUOBJECT_API void ConstructEnum(UEnum*& OutEnum, const FEnumParams& Params);

	struct FClassParams
	{
		UClass* (*ClassFunc)() = nullptr;
		void (*AddProperties)(UStruct* Outer) = nullptr;
		UFunction* (*const* Functions)() = nullptr;
		int32 NumFunctions = 0;
		const FMetaDataPairParam* MetaData = nullptr;
		int32 NumMetaData = 0;
	};
	COREUOBJECT_API void ConstructClass(UClass*& OutClass, const FClassParams& Params);

	struct FPackageParams
	{
		const TCHAR* Name = nullptr;
		UFunction* (*const* Singletons)() = nullptr;
		int32 NumSingletons = 0;
	};
	COREUOBJECT_API void ConstructPackage(UPackage*& OutPackage, const FPackageParams& Params);

	// One header's types, constructed during the module's static initialisation.
	struct COREUOBJECT_API FRegisterCompiledInInfo
	{
		FRegisterCompiledInInfo(const TCHAR* PackageName, void (*const* Constructors)(), int32 NumConstructors);
	};

	struct COREUOBJECT_API FRegisterCompiledInPackage
	{
		explicit FRegisterCompiledInPackage(UPackage* (*PackageFunc)());
	};
}
