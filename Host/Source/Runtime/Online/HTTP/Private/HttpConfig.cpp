// Copyright Quarn. All Rights Reserved.

#include "HttpConfig.h"

// The config system arrives with a later part of Core; until then every setting has its default.
#if __has_include("Misc/ConfigCacheIni.h")
#include "Misc/ConfigCacheIni.h"
#define UE_HTTP_WITH_CONFIG 1
#else
#define UE_HTTP_WITH_CONFIG 0
#endif

namespace UE::Http::Private
{
	bool EngineConfigGetFloat(const TCHAR* Section, const TCHAR* Key, float& Value)
	{
#if UE_HTTP_WITH_CONFIG
		return GConfig && GConfig->GetFloat(Section, Key, Value, GEngineIni);
#else
		return false;
#endif
	}

	bool EngineConfigGetInt(const TCHAR* Section, const TCHAR* Key, int32& Value)
	{
#if UE_HTTP_WITH_CONFIG
		return GConfig && GConfig->GetInt(Section, Key, Value, GEngineIni);
#else
		return false;
#endif
	}

	bool EngineConfigGetBool(const TCHAR* Section, const TCHAR* Key, bool& Value)
	{
#if UE_HTTP_WITH_CONFIG
		return GConfig && GConfig->GetBool(Section, Key, Value, GEngineIni);
#else
		return false;
#endif
	}

	bool EngineConfigGetString(const TCHAR* Section, const TCHAR* Key, FString& Value)
	{
#if UE_HTTP_WITH_CONFIG
		return GConfig && GConfig->GetString(Section, Key, Value, GEngineIni);
#else
		return false;
#endif
	}

	bool EngineConfigGetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value)
	{
#if UE_HTTP_WITH_CONFIG
		return GConfig && GConfig->GetArray(Section, Key, Value, GEngineIni) > 0;
#else
		return false;
#endif
	}

	void GameUserSettingsRemoveKey(const TCHAR* Section, const TCHAR* Key)
	{
#if UE_HTTP_WITH_CONFIG
		if (GConfig)
		{
			GConfig->RemoveKey(Section, Key, GGameUserSettingsIni);
		}
#endif
	}

	void GameUserSettingsSetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value)
	{
#if UE_HTTP_WITH_CONFIG
		if (GConfig)
		{
			GConfig->SetString(Section, Key, Value, GGameUserSettingsIni);
		}
#endif
	}
}
