#include "UObject/Stack.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

DEFINE_LOG_CATEGORY(LogScript);

FFrame::FFrame(UObject* InObject, UFunction* InNode, void* InLocals, FFrame* InPreviousFrame)
	: Node(InNode)
	, Object(InObject)
	, Locals((uint8*)InLocals)
	, PreviousFrame(InPreviousFrame)
	, PropertyChainForCompiledIn(InNode ? (FProperty*)InNode->ChildProperties : nullptr)
{
}

void FFrame::StepCompiledInImpl(void* Result, bool bCopy, uint8*& OutAddress)
{
	FProperty* Property = PropertyChainForCompiledIn;
	checkf(Property, TEXT("Native function read more parameters than it has"));
	PropertyChainForCompiledIn = (FProperty*)Property->Next;
	uint8* Address = Property->ContainerPtrToValuePtr<uint8>(Locals);
	MostRecentProperty = Property;
	MostRecentPropertyAddress = Address;
	if (bCopy && Result)
	{
		Property->CopyCompleteValue(Result, Address);
	}
	OutAddress = Address;
}

void FFrame::KismetExecutionMessage(const TCHAR* Message, ELogVerbosity::Type Verbosity, FName WarningId)
{
	switch (Verbosity)
	{
	case ELogVerbosity::Fatal:
		UE_LOG(LogScript, Fatal, TEXT("Script Msg: %s"), Message);
		break;
	case ELogVerbosity::Error:
		UE_LOG(LogScript, Error, TEXT("Script Msg: %s"), Message);
		break;
	case ELogVerbosity::Warning:
		UE_LOG(LogScript, Warning, TEXT("Script Msg: %s"), Message);
		break;
	default:
		UE_LOG(LogScript, Log, TEXT("Script Msg: %s"), Message);
		break;
	}
}
