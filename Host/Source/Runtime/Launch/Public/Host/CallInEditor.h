// Copyright Quarn. All Rights Reserved.

// Host-only: what pressing a CallInEditor function's button in the details panel does.
#pragma once

#include "CoreMinimal.h"

class UObject;

namespace UE::Host
{
	enum class ECallInEditorResult : uint8
	{
		Called,
		NullObject,
		FunctionNotFound,
		// The function exists but carries no CallInEditor metadata, so the panel shows no button for it.
		NotCallInEditor,
		// The panel only offers buttons for functions without parameters or return value.
		HasParameters,
	};

	LAUNCH_API const TCHAR* LexToString(ECallInEditorResult Result);

	/** Finds FunctionName on Object's class and runs it through ProcessEvent; any other result is refused with a warning. */
	LAUNCH_API ECallInEditorResult CallInEditor(UObject* Object, FName FunctionName);
}
