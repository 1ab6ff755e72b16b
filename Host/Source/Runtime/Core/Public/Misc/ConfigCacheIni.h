// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Misc/CoreGlobals.h"
#include "UObject/NameTypes.h"

// One section: keys (ignoring case) with one or more values each, in file order.
class FConfigSection : public TMultiMap<FName, FString>
{
public:
	const FString* FindValue(FName Key) const { return this->Find(Key); }
};

class CORE_API FConfigFile : public TMap<FString, FConfigSection>
{
public:
	FString Name;

	// Reads "[Section]" headers and Key=Value lines with the engine's +, -, . and ! prefixes.
	void ProcessInputFileContents(FStringView Contents, const FString& FileHint);
	bool Combine(const FString& Filename);
	const FConfigSection* FindSection(const FString& SectionName) const { return Find(SectionName); }
};

// Config values by section and key for each config file name (GGameIni, GEngineIni, ...). The
// host loads a project's Config/Default<Name>.ini files.
class CORE_API FConfigCacheIni
{
public:
	FConfigCacheIni();
	~FConfigCacheIni();

	bool GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename);
	bool GetText(const TCHAR* Section, const TCHAR* Key, class FText& Value, const FString& Filename);
	bool GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename);
	bool GetInt64(const TCHAR* Section, const TCHAR* Key, int64& Value, const FString& Filename);
	bool GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename);
	bool GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename);
	bool GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename);
	int32 GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& OutArr, const FString& Filename);
	bool GetSection(const TCHAR* Section, TArray<FString>& Result, const FString& Filename);
	bool DoesSectionExist(const TCHAR* Section, const FString& Filename);

	FString GetStr(const TCHAR* Section, const TCHAR* Key, const FString& Filename);
	int32 GetIntOrDefault(const TCHAR* Section, const TCHAR* Key, int32 DefaultValue, const FString& Filename);
	bool GetBoolOrDefault(const TCHAR* Section, const TCHAR* Key, bool DefaultValue, const FString& Filename);

	void SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename);
	void SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename);
	void SetFloat(const TCHAR* Section, const TCHAR* Key, float Value, const FString& Filename);
	void SetDouble(const TCHAR* Section, const TCHAR* Key, double Value, const FString& Filename);
	void SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename);
	void SetArray(const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Value, const FString& Filename);
	bool RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename);
	bool EmptySection(const TCHAR* Section, const FString& Filename);

	void Flush(bool bRemoveFromCache, const FString& Filename = FString()) {}

	FConfigFile* FindConfigFile(const FString& Filename);
	FConfigFile& FindOrAddConfigFile(const FString& Filename);

	// Reads <ConfigDir>/Default<BaseName>.ini into the file named Filename (replacing it).
	bool LoadProjectFile(const FString& Filename, const TCHAR* BaseName, const FString& ConfigDir);

	struct FState;

private:
	FState* State;
};
