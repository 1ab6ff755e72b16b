// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

namespace UE::Host::Launch
{
	// Loading phases in the order the engine loop reaches them.
	enum class ELoadingPhase : int32
	{
		EarliestPossible,
		PostConfigInit,
		PostSplashScreen,
		PreEarlyLoadingScreen,
		PreLoadingScreen,
		PreDefault,
		Default,
		PostDefault,
		PostEngineInit,
		None,
	};

	struct FPluginModuleEntry
	{
		FName Name;
		ELoadingPhase Phase = ELoadingPhase::Default;
		// False for module types a game does not load (editor, program, server and cooked-only modules).
		bool bLoadsInGame = true;
	};

	// Reads the "Modules" list of a .uplugin file. False, with OutError set, when the file cannot be
	// read, is not a JSON object, or a module entry lacks a name or names an unknown type or phase.
	bool ReadPluginModules(const FString& DescriptorPath, TArray<FPluginModuleEntry>& OutModules, FString& OutError);
}
