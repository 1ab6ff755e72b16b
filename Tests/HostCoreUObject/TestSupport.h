// Helpers shared by the CoreUObject tests.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "ReflectionTestTypes.h"

#include <gtest/gtest.h>
#include <string>

// FString is UTF-16; tests compare through std::string.
inline std::string Str(const FString& S)
{
	return std::string(TCHAR_TO_UTF8(*S));
}

inline std::string Str(FName N)
{
	return Str(N.ToString());
}

// Parameter memory laid out as a function's signature, initialised and destroyed through reflection.
class FParms
{
public:
	explicit FParms(UFunction* InFunction)
		: Function(InFunction)
	{
		Memory = (uint8*)FMemory::Malloc(FMath::Max<int32>(Function->ParmsSize, 1), 16);
		Function->InitializeStruct(Memory);
	}
	~FParms()
	{
		Function->DestroyStruct(Memory);
		FMemory::Free(Memory);
	}
	FParms(const FParms&) = delete;
	FParms& operator=(const FParms&) = delete;

	template<typename T>
	T& Get(const TCHAR* Name)
	{
		FProperty* Property = FindFProperty<FProperty>(Function, Name);
		check(Property);
		return *Property->ContainerPtrToValuePtr<T>(Memory);
	}
	void* Data() { return Memory; }

private:
	UFunction* Function;
	uint8* Memory;
};
