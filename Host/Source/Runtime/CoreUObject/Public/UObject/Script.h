// Native function thunks: the signature every exec function has.
#pragma once

#include "CoreMinimal.h"

class UObject;
class FFrame;

#define RESULT_PARAM Z_Param__Result
#define RESULT_DECL void* const RESULT_PARAM

typedef void (*FNativeFuncPtr)(UObject* Context, FFrame& TheStack, RESULT_DECL);

// An exec function: a static member taking the object, the call frame and the result address.
#define DECLARE_FUNCTION(func) static void func(UObject* Context, FFrame& Stack, RESULT_DECL)
#define DEFINE_FUNCTION(func) void func(UObject* Context, FFrame& Stack, RESULT_DECL)

struct FNameNativePtrPair
{
	const char* NameUTF8;
	FNativeFuncPtr Pointer;
};

class COREUOBJECT_API FNativeFunctionRegistrar
{
public:
	static void RegisterFunction(class UClass* Class, const char* InName, FNativeFuncPtr InPointer);
	static void RegisterFunctions(class UClass* Class, const FNameNativePtrPair* InArray, int32 NumFunctions);
};
