// Copyright Quarn. All Rights Reserved.

#include "Host/CallInEditor.h"
#include "UObject/Class.h"
#include "UObject/Object.h"

DEFINE_LOG_CATEGORY_STATIC(LogHostEditor, Log, All);

namespace UE::Host
{
	const TCHAR* LexToString(ECallInEditorResult Result)
	{
		switch (Result)
		{
		case ECallInEditorResult::Called: return TEXT("Called");
		case ECallInEditorResult::NullObject: return TEXT("NullObject");
		case ECallInEditorResult::FunctionNotFound: return TEXT("FunctionNotFound");
		case ECallInEditorResult::NotCallInEditor: return TEXT("NotCallInEditor");
		case ECallInEditorResult::HasParameters: return TEXT("HasParameters");
		}
		return TEXT("Unknown");
	}

	ECallInEditorResult CallInEditor(UObject* Object, FName FunctionName)
	{
		if (!IsValid(Object))
		{
			UE_LOG(LogHostEditor, Warning, TEXT("CallInEditor: no object to call %s on."), *FunctionName.ToString());
			return ECallInEditorResult::NullObject;
		}
		UFunction* const Function = Object->FindFunction(FunctionName);
		if (Function == nullptr)
		{
			UE_LOG(LogHostEditor, Warning, TEXT("CallInEditor: %s has no function %s."), *Object->GetClass()->GetName(), *FunctionName.ToString());
			return ECallInEditorResult::FunctionNotFound;
		}
		// The marker is metadata: a target that keeps none has no button to press.
#if WITH_METADATA
		const bool bCallInEditor = Function->GetBoolMetaData(TEXT("CallInEditor"));
#else
		const bool bCallInEditor = false;
#endif
		if (!bCallInEditor)
		{
			UE_LOG(LogHostEditor, Warning, TEXT("CallInEditor: %s::%s is not marked CallInEditor."), *Object->GetClass()->GetName(), *FunctionName.ToString());
			return ECallInEditorResult::NotCallInEditor;
		}
		if (Function->NumParms != 0 || Function->ParmsSize != 0)
		{
			UE_LOG(LogHostEditor, Warning, TEXT("CallInEditor: %s::%s takes parameters; only functions without any get a button."), *Object->GetClass()->GetName(), *FunctionName.ToString());
			return ECallInEditorResult::HasParameters;
		}
		Object->ProcessEvent(Function, nullptr);
		return ECallInEditorResult::Called;
	}
}
