// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

class FOutputDevice;
class UWorld;

// Host-only: what the engine's launch code and game console do with console variables.
namespace UE::Host
{
	// One ini entry as the engine's config utilities apply it: "True"/"Yes"/"On" and their
	// opposites become 1 and 0; a variable that does not exist yet gets a placeholder whose value
	// and priority it takes when it is registered.
	CORE_API void SetConsoleVariableFromIni(const TCHAR* IniFile, const TCHAR* Key, const TCHAR* Value, uint32 SetBy);

	// Every Key=Value of a section of a config file (GEngineIni, ...), at the SetBy priority.
	CORE_API void ApplyCVarSettingsFromIni(const TCHAR* SectionName, const FString& IniFilename, uint32 SetBy);

	// [SystemSettings] and [ConsoleVariables] of the engine ini, by SystemSettingsIni, as the engine
	// loop applies them at start-up.
	CORE_API void ApplyConsoleVariablesFromConfig();

	// One line typed into the game console; "Command not recognized: ..." goes to Ar when nothing
	// took it.
	CORE_API bool ExecuteConsoleCommand(const FString& Command, FOutputDevice& Ar, UWorld* World = nullptr);

	// A comma-separated list, as the engine runs -ExecCmds="a, b"; returns how many were recognized.
	CORE_API int32 ExecuteCommandList(const FString& Commands, FOutputDevice& Ar, UWorld* World = nullptr);
}
