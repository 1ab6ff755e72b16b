// Copyright Quarn. All Rights Reserved.

#include "PluginDescriptor.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Misc/FileHelper.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

namespace UE::Host::Launch
{
	namespace
	{
		bool ParsePhase(const FString& Text, ELoadingPhase& OutPhase)
		{
			static const TCHAR* const Names[] = {
				TEXT("EarliestPossible"), TEXT("PostConfigInit"), TEXT("PostSplashScreen"), TEXT("PreEarlyLoadingScreen"),
				TEXT("PreLoadingScreen"), TEXT("PreDefault"), TEXT("Default"), TEXT("PostDefault"), TEXT("PostEngineInit"), TEXT("None") };
			for (int32 Index = 0; Index < UE_ARRAY_COUNT(Names); ++Index)
			{
				// The engine matches phase and type names ignoring case.
				if (Text.Equals(Names[Index], ESearchCase::IgnoreCase))
				{
					OutPhase = (ELoadingPhase)Index;
					return true;
				}
			}
			return false;
		}

		bool ParseType(const FString& Text, bool& bOutLoadsInGame)
		{
			// Developer tools are built and loaded only where the target has them, as
			// FModuleDescriptor::IsCompiledInCurrentConfiguration decides from WITH_UNREAL_DEVELOPER_TOOLS.
			if (Text.Equals(TEXT("DeveloperTool"), ESearchCase::IgnoreCase))
			{
				bOutLoadsInGame = !!WITH_UNREAL_DEVELOPER_TOOLS;
				return true;
			}
			// What a game started from an editor build loads: runtime modules and uncooked-only ones.
			static const TCHAR* const GameTypes[] = {
				TEXT("Runtime"), TEXT("RuntimeNoCommandlet"), TEXT("RuntimeAndProgram"), TEXT("ClientOnly"),
				TEXT("ClientOnlyNoCommandlet"), TEXT("UncookedOnly"), TEXT("Developer") };
			static const TCHAR* const OtherTypes[] = {
				TEXT("CookedOnly"), TEXT("ServerOnly"), TEXT("Editor"), TEXT("EditorNoCommandlet"), TEXT("EditorAndProgram"),
				TEXT("Program") };
			for (const TCHAR* Type : GameTypes)
			{
				if (Text.Equals(Type, ESearchCase::IgnoreCase))
				{
					bOutLoadsInGame = true;
					return true;
				}
			}
			for (const TCHAR* Type : OtherTypes)
			{
				if (Text.Equals(Type, ESearchCase::IgnoreCase))
				{
					bOutLoadsInGame = false;
					return true;
				}
			}
			return false;
		}
	}

	bool ReadPluginModules(const FString& DescriptorPath, TArray<FPluginModuleEntry>& OutModules, FString& OutError)
	{
		OutModules.Reset();
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, *DescriptorPath))
		{
			OutError = FString::Printf(TEXT("Unable to read plugin descriptor '%s'."), *DescriptorPath);
			return false;
		}
		TSharedPtr<FJsonObject> Root;
		const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(Text);
		if (!FJsonSerializer::Deserialize(Reader, Root) || !Root.IsValid())
		{
			OutError = FString::Printf(TEXT("Plugin descriptor '%s' is not a valid JSON object: %s"), *DescriptorPath, *Reader->GetErrorMessage());
			return false;
		}
		const TArray<TSharedPtr<FJsonValue>>* Modules = nullptr;
		if (!Root->HasField(TEXT("Modules")))
		{
			return true;
		}
		if (!Root->TryGetArrayField(TEXT("Modules"), Modules))
		{
			OutError = FString::Printf(TEXT("Plugin descriptor '%s': Modules is not an array."), *DescriptorPath);
			return false;
		}
		for (const TSharedPtr<FJsonValue>& Value : *Modules)
		{
			const TSharedPtr<FJsonObject>* Entry = nullptr;
			if (!Value.IsValid() || !Value->TryGetObject(Entry) || !Entry || !Entry->IsValid())
			{
				OutError = FString::Printf(TEXT("Plugin descriptor '%s': a module entry is not an object."), *DescriptorPath);
				return false;
			}
			FString Name;
			if (!(*Entry)->TryGetStringField(TEXT("Name"), Name) || Name.IsEmpty())
			{
				OutError = FString::Printf(TEXT("Plugin descriptor '%s': a module entry has no Name."), *DescriptorPath);
				return false;
			}
			FPluginModuleEntry Module;
			Module.Name = FName(*Name);
			if (Module.Name.IsNone())
			{
				OutError = FString::Printf(TEXT("Plugin descriptor '%s': module name '%s' is not a valid name."), *DescriptorPath, *Name);
				return false;
			}
			FString Type;
			if (!(*Entry)->TryGetStringField(TEXT("Type"), Type))
			{
				OutError = FString::Printf(TEXT("Module entry '%s' does not specify a module type."), *Name);
				return false;
			}
			if (!ParseType(Type, Module.bLoadsInGame))
			{
				OutError = FString::Printf(TEXT("Module entry '%s' specified an unrecognized module Type '%s'"), *Name, *Type);
				return false;
			}
			FString Phase;
			if ((*Entry)->TryGetStringField(TEXT("LoadingPhase"), Phase) && !ParsePhase(Phase, Module.Phase))
			{
				OutError = FString::Printf(TEXT("Module entry '%s' specified an unrecognized module LoadingPhase '%s'"), *Name, *Phase);
				return false;
			}
			OutModules.Add(Module);
		}
		return true;
	}
}
