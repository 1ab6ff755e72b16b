// Structures defined in the editor; their member names carry a counter and a GUID.
#pragma once

#include "UObject/Class.h"

class COREUOBJECT_API UUserDefinedStruct : public UScriptStruct
{
	DECLARE_CLASS(UUserDefinedStruct, UScriptStruct, CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UUserDefinedStruct)
	static void StaticRegisterNativesUUserDefinedStruct() {}

	UUserDefinedStruct() = default;
	UUserDefinedStruct(const FObjectInitializer& ObjectInitializer) : UScriptStruct(ObjectInitializer) {}

	// The name a designer typed: the member name without "_<N>_<GUID>" (the cooked-build rule).
	FString GetAuthoredNameForField(const FField* Field) const;
	FProperty* CustomFindProperty(const FName InName) const;
};
