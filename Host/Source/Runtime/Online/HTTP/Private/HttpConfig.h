// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/**
 * The HTTP module's access to the ini files: the [HTTP] settings of the engine ini and the retry
 * domain remembered in the game user settings. Each getter leaves Value alone and returns false
 * when the key is not set (or there is no config system).
 */
namespace UE::Http::Private
{
	bool EngineConfigGetFloat(const TCHAR* Section, const TCHAR* Key, float& Value);
	bool EngineConfigGetInt(const TCHAR* Section, const TCHAR* Key, int32& Value);
	bool EngineConfigGetBool(const TCHAR* Section, const TCHAR* Key, bool& Value);
	bool EngineConfigGetString(const TCHAR* Section, const TCHAR* Key, FString& Value);
	bool EngineConfigGetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value);

	void GameUserSettingsRemoveKey(const TCHAR* Section, const TCHAR* Key);
	void GameUserSettingsSetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value);
}
