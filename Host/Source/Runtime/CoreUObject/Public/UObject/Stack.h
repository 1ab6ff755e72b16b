// The frame a native function is called with: the object and the function's parameter memory.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Script.h"

class UFunction;
class FProperty;

COREUOBJECT_API DECLARE_LOG_CATEGORY_EXTERN(LogScript, Warning, All);

class COREUOBJECT_API FFrame
{
public:
	UFunction* Node = nullptr;
	UObject* Object = nullptr;
	uint8* Code = nullptr;   // script bytecode; always null in the host, whose functions are native
	uint8* Locals = nullptr; // the parameter struct
	FProperty* MostRecentProperty = nullptr;
	uint8* MostRecentPropertyAddress = nullptr;
	FFrame* PreviousFrame = nullptr;
	FProperty* PropertyChainForCompiledIn = nullptr;

	FFrame(UObject* InObject, UFunction* InNode, void* InLocals, FFrame* InPreviousFrame = nullptr);

	// Blueprint-style runtime messages (LogScript).
	static void KismetExecutionMessage(const TCHAR* Message, ELogVerbosity::Type Verbosity, FName WarningId = FName());

	// Reads the next parameter of the function into Result (by copy).
	template<class TProperty>
	void StepCompiledIn(void* Result);
	// The address of the next parameter in the frame (for by-reference parameters).
	template<class TProperty, typename TNativeType>
	TNativeType& StepCompiledInRef(void* TemporaryBuffer);

	void StepCompiledInImpl(void* Result, bool bCopy, uint8*& OutAddress);
};

template<class TProperty>
void FFrame::StepCompiledIn(void* Result)
{
	uint8* Address = nullptr;
	StepCompiledInImpl(Result, true, Address);
}

template<class TProperty, typename TNativeType>
TNativeType& FFrame::StepCompiledInRef(void* TemporaryBuffer)
{
	uint8* Address = nullptr;
	StepCompiledInImpl(TemporaryBuffer, false, Address);
	return *(TNativeType*)Address;
}
