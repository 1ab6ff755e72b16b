// Copyright Quarn. All Rights Reserved.

#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Misc/CoreGlobals.h"
#include "Internationalization/Text.h"
#include "Logging/LogMacros.h"
#include <mutex>

namespace
{
	// A quoted value loses its quotes; \" and \\ inside it are unescaped.
	FString UnquoteValue(const FString& Value)
	{
		if (Value.Len() >= 2 && Value[0] == TEXT('"'))
		{
			FString Result;
			for (int32 Index = 1; Index < Value.Len(); ++Index)
			{
				const TCHAR Char = Value[Index];
				if (Char == TEXT('\\') && Index + 1 < Value.Len() && (Value[Index + 1] == TEXT('"') || Value[Index + 1] == TEXT('\\')))
				{
					Result += Value[++Index];
				}
				else if (Char == TEXT('"'))
				{
					return Result;
				}
				else
				{
					Result += Char;
				}
			}
			return Result;
		}
		return Value;
	}
} // namespace

void FConfigFile::ProcessInputFileContents(FStringView Contents, const FString& FileHint)
{
	TArray<FString> Lines;
	FString(Contents).ParseIntoArrayLines(Lines, false);
	FConfigSection* CurrentSection = nullptr;
	int32 LineNumber = 0;
	for (FString& RawLine : Lines)
	{
		++LineNumber;
		const FString Line = RawLine.TrimStartAndEnd();
		if (Line.IsEmpty() || Line[0] == TEXT(';') || Line[0] == TEXT('#') || Line.StartsWith(TEXT("//")))
		{
			continue;
		}
		if (Line[0] == TEXT('['))
		{
			if (Line.EndsWith(TEXT("]")))
			{
				const FString SectionName = Line.Mid(1, Line.Len() - 2);
				CurrentSection = &FindOrAdd(SectionName);
			}
			else
			{
				UE_LOG(LogConfig, Warning, TEXT("%s(%d): section header without a closing ']' ignored."), *FileHint, LineNumber);
				CurrentSection = nullptr;
			}
			continue;
		}
		if (!CurrentSection)
		{
			UE_LOG(LogConfig, Warning, TEXT("%s(%d): a value outside any section is ignored."), *FileHint, LineNumber);
			continue;
		}
		TCHAR Command = 0;
		FString Body = Line;
		if (Body[0] == TEXT('+') || Body[0] == TEXT('-') || Body[0] == TEXT('.') || Body[0] == TEXT('!'))
		{
			Command = Body[0];
			Body.RightChopInline(1);
		}
		FString KeyText;
		FString ValueText;
		if (!Body.Split(TEXT("="), &KeyText, &ValueText, ESearchCase::CaseSensitive))
		{
			if (Command == TEXT('!'))
			{
				KeyText = Body;
			}
			else
			{
				UE_LOG(LogConfig, Warning, TEXT("%s(%d): line without '=' ignored."), *FileHint, LineNumber);
				continue;
			}
		}
		const FName Key(*KeyText.TrimStartAndEnd());
		const FString Value = UnquoteValue(ValueText.TrimStartAndEnd());
		switch (Command)
		{
			case TEXT('+'):
			{
				bool bExists = false;
				for (const auto& Pair : *CurrentSection)
				{
					bExists |= Pair.Key == Key && Pair.Value.Equals(Value);
				}
				if (!bExists)
				{
					CurrentSection->Add(Key, Value);
				}
				break;
			}
			case TEXT('.'):
				CurrentSection->Add(Key, Value);
				break;
			case TEXT('-'):
				CurrentSection->Remove(Key, Value);
				break;
			case TEXT('!'):
				CurrentSection->Remove(Key);
				break;
			default:
				CurrentSection->Remove(Key);
				CurrentSection->Add(Key, Value);
				break;
		}
	}
}

bool FConfigFile::Combine(const FString& Filename)
{
	FString Contents;
	if (!FFileHelper::LoadFileToString(Contents, *Filename))
	{
		return false;
	}
	ProcessInputFileContents(Contents, Filename);
	return true;
}

struct FConfigCacheIni::FState
{
	std::recursive_mutex Mutex;
	TMap<FString, FConfigFile> Files;
};

FConfigCacheIni::FConfigCacheIni() : State(new FState()) {}

FConfigCacheIni::~FConfigCacheIni()
{
	delete State;
}

FConfigFile* FConfigCacheIni::FindConfigFile(const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	if (FConfigFile* File = State->Files.Find(Filename))
	{
		return File;
	}
	// Short names ("Game") find the file of that base name, as the engine's known files do.
	for (auto& Pair : State->Files)
	{
		if (FPaths::GetBaseFilename(Pair.Key) == Filename || Pair.Value.Name == Filename)
		{
			return &Pair.Value;
		}
	}
	return nullptr;
}

FConfigFile& FConfigCacheIni::FindOrAddConfigFile(const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	if (FConfigFile* File = FindConfigFile(Filename))
	{
		return *File;
	}
	FConfigFile& File = State->Files.Add(Filename);
	File.Name = FPaths::GetBaseFilename(Filename);
	return File;
}

bool FConfigCacheIni::LoadProjectFile(const FString& Filename, const TCHAR* BaseName, const FString& ConfigDir)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	FConfigFile NewFile;
	NewFile.Name = BaseName;
	const FString Path = ConfigDir / FString::Printf(TEXT("Default%s.ini"), BaseName);
	const bool bLoaded = NewFile.Combine(Path);
	// A project change replaces the files of the previous project.
	for (auto It = State->Files.CreateIterator(); It; ++It)
	{
		if (It.Value().Name == NewFile.Name)
		{
			It.RemoveCurrent();
		}
	}
	State->Files.Add(Filename, MoveTemp(NewFile));
	return bLoaded;
}

namespace
{
	const FString* FindValue(FConfigCacheIni& Cache, const TCHAR* Section, const TCHAR* Key, const FString& Filename)
	{
		FConfigFile* File = Cache.FindConfigFile(Filename);
		if (!File || !Section || !Key)
		{
			return nullptr;
		}
		const FConfigSection* ConfigSection = File->Find(Section);
		return ConfigSection ? ConfigSection->Find(FName(Key)) : nullptr;
	}
} // namespace

bool FConfigCacheIni::GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	if (const FString* Found = FindValue(*this, Section, Key, Filename))
	{
		Value = *Found;
		return true;
	}
	return false;
}

bool FConfigCacheIni::GetText(const TCHAR* Section, const TCHAR* Key, FText& Value, const FString& Filename)
{
	FString Text;
	if (GetString(Section, Key, Text, Filename))
	{
		Value = FText::FromString(Text);
		return true;
	}
	return false;
}

bool FConfigCacheIni::GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename)
{
	FString Text;
	if (GetString(Section, Key, Text, Filename))
	{
		Value = FCString::Atoi(*Text);
		return true;
	}
	return false;
}

bool FConfigCacheIni::GetInt64(const TCHAR* Section, const TCHAR* Key, int64& Value, const FString& Filename)
{
	FString Text;
	if (GetString(Section, Key, Text, Filename))
	{
		Value = FCString::Atoi64(*Text);
		return true;
	}
	return false;
}

bool FConfigCacheIni::GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename)
{
	FString Text;
	if (GetString(Section, Key, Text, Filename))
	{
		Value = FCString::Atof(*Text);
		return true;
	}
	return false;
}

bool FConfigCacheIni::GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename)
{
	FString Text;
	if (GetString(Section, Key, Text, Filename))
	{
		Value = FCString::Atod(*Text);
		return true;
	}
	return false;
}

bool FConfigCacheIni::GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename)
{
	FString Text;
	if (GetString(Section, Key, Text, Filename))
	{
		Value = FCString::ToBool(*Text);
		return true;
	}
	return false;
}

int32 FConfigCacheIni::GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& OutArr, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	OutArr.Reset();
	FConfigFile* File = FindConfigFile(Filename);
	const FConfigSection* ConfigSection = File ? File->Find(Section) : nullptr;
	if (ConfigSection)
	{
		ConfigSection->MultiFind(FName(Key), OutArr, true);
	}
	return OutArr.Num();
}

bool FConfigCacheIni::GetSection(const TCHAR* Section, TArray<FString>& Result, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	Result.Reset();
	FConfigFile* File = FindConfigFile(Filename);
	const FConfigSection* ConfigSection = File ? File->Find(Section) : nullptr;
	if (!ConfigSection)
	{
		return false;
	}
	for (const auto& Pair : *ConfigSection)
	{
		Result.Add(FString::Printf(TEXT("%s=%s"), *Pair.Key.ToString(), *Pair.Value));
	}
	return true;
}

bool FConfigCacheIni::DoesSectionExist(const TCHAR* Section, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	FConfigFile* File = FindConfigFile(Filename);
	return File && File->Contains(Section);
}

FString FConfigCacheIni::GetStr(const TCHAR* Section, const TCHAR* Key, const FString& Filename)
{
	FString Result;
	GetString(Section, Key, Result, Filename);
	return Result;
}

int32 FConfigCacheIni::GetIntOrDefault(const TCHAR* Section, const TCHAR* Key, int32 DefaultValue, const FString& Filename)
{
	int32 Value = DefaultValue;
	GetInt(Section, Key, Value, Filename);
	return Value;
}

bool FConfigCacheIni::GetBoolOrDefault(const TCHAR* Section, const TCHAR* Key, bool DefaultValue, const FString& Filename)
{
	bool Value = DefaultValue;
	GetBool(Section, Key, Value, Filename);
	return Value;
}

void FConfigCacheIni::SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	FConfigSection& ConfigSection = FindOrAddConfigFile(Filename).FindOrAdd(Section);
	ConfigSection.Remove(FName(Key));
	ConfigSection.Add(FName(Key), Value ? FString(Value) : FString());
}

void FConfigCacheIni::SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename)
{
	SetString(Section, Key, *FString::Printf(TEXT("%d"), Value), Filename);
}

void FConfigCacheIni::SetFloat(const TCHAR* Section, const TCHAR* Key, float Value, const FString& Filename)
{
	SetString(Section, Key, *FString::Printf(TEXT("%.6f"), Value), Filename);
}

void FConfigCacheIni::SetDouble(const TCHAR* Section, const TCHAR* Key, double Value, const FString& Filename)
{
	SetString(Section, Key, *FString::Printf(TEXT("%.6f"), Value), Filename);
}

void FConfigCacheIni::SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename)
{
	SetString(Section, Key, Value ? TEXT("True") : TEXT("False"), Filename);
}

void FConfigCacheIni::SetArray(const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Value, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	FConfigSection& ConfigSection = FindOrAddConfigFile(Filename).FindOrAdd(Section);
	ConfigSection.Remove(FName(Key));
	for (const FString& Item : Value)
	{
		ConfigSection.Add(FName(Key), Item);
	}
}

bool FConfigCacheIni::RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	FConfigFile* File = FindConfigFile(Filename);
	FConfigSection* ConfigSection = File ? File->Find(Section) : nullptr;
	return ConfigSection && ConfigSection->Remove(FName(Key)) > 0;
}

bool FConfigCacheIni::EmptySection(const TCHAR* Section, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	FConfigFile* File = FindConfigFile(Filename);
	return File && File->Remove(Section) > 0;
}

namespace UE::Host
{
	// Names the config files after the project and reads its Config/Default*.ini files.
	void ReloadProjectConfig()
	{
		if (!GConfig)
		{
			GConfig = new FConfigCacheIni();
		}
		const FString GeneratedDir = FPaths::GeneratedConfigDir() + TEXT("Linux/");
		GEngineIni = GeneratedDir + TEXT("Engine.ini");
		GGameIni = GeneratedDir + TEXT("Game.ini");
		GInputIni = GeneratedDir + TEXT("Input.ini");
		GGameUserSettingsIni = GeneratedDir + TEXT("GameUserSettings.ini");
		const FString ConfigDir = FPaths::ProjectConfigDir();
		GConfig->LoadProjectFile(GEngineIni, TEXT("Engine"), ConfigDir);
		GConfig->LoadProjectFile(GGameIni, TEXT("Game"), ConfigDir);
		GConfig->LoadProjectFile(GInputIni, TEXT("Input"), ConfigDir);
		GConfig->LoadProjectFile(GGameUserSettingsIni, TEXT("GameUserSettings"), ConfigDir);
	}
} // namespace UE::Host
