// Copyright Quarn. All Rights Reserved.

// ShippingTestTypes --plugin <QuarnSDK.uplugin> --binaries <dir> --test-module <Module>
//                   --test-types <Module>.reflection
//
// Built only in the Shipping configuration. Checks that the plug-in's test module was not built
// (no library in <dir>), then starts the host engine with the plug-in, so that its modules load as
// this configuration built them; checks the test module is not loaded, lists every class, structure
// and enumeration a module of the plug-in registered, and fails, naming each, on any that exists
// only for tests: one of the test module's package, or one whose name the test module declares
// (its header tool manifest), wherever it is registered. Prints one line per check and exits 0 only
// when all hold.

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Host/CoreHost.h"
#include "Host/HostEngineLoop.h"
#include "Misc/FileHelper.h"
#include "Modules/ModuleManager.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectIterator.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

static_assert(UE_BUILD_SHIPPING, "this program checks the Shipping configuration");

namespace
{
	int32 Failures = 0;

	void Expect(bool bHolds, const FString& What)
	{
		std::printf("%s %s\n", bHolds ? "[ PASSED ]" : "[ FAILED ]", TCHAR_TO_UTF8(*What));
		std::fflush(stdout);
		Failures += bHolds ? 0 : 1;
	}

	/** The names of the modules a plug-in descriptor lists, in its order; empty when it cannot be read. */
	TArray<FString> ReadModuleNames(const FString& Descriptor)
	{
		TArray<FString> Names;
		FString Text;
		TSharedPtr<FJsonObject> Root;
		if (!FFileHelper::LoadFileToString(Text, *Descriptor) || !FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Root) || !Root.IsValid())
		{
			return Names;
		}
		const TArray<TSharedPtr<FJsonValue>>* Modules = nullptr;
		if (Root->TryGetArrayField(TEXT("Modules"), Modules))
		{
			for (const TSharedPtr<FJsonValue>& Value : *Modules)
			{
				const TSharedPtr<FJsonObject>* Entry = nullptr;
				FString Name;
				if (Value.IsValid() && Value->TryGetObject(Entry) && (*Entry)->TryGetStringField(TEXT("Name"), Name))
				{
					Names.Add(Name);
				}
			}
		}
		return Names;
	}

	/**
	 * The reflected types a header tool manifest declares, as the engine registers their names:
	 * classes and structures without their C++ prefix, enumerations as written.
	 */
	bool ReadManifestTypes(const FString& Manifest, TSet<FString>& OutNames)
	{
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, *Manifest))
		{
			return false;
		}
		TArray<FString> Lines;
		Text.ParseIntoArrayLines(Lines);
		for (const FString& Line : Lines)
		{
			TArray<FString> Fields;
			Line.ParseIntoArray(Fields, TEXT("\t"));
			if (Fields.Num() < 2 || !Fields[1].StartsWith(TEXT("name=")))
			{
				continue;
			}
			const FString Name = Fields[1].Mid(5);
			if (Fields[0] == TEXT("class") || Fields[0] == TEXT("struct") || Fields[0] == TEXT("interface"))
			{
				OutNames.Add(Name.Mid(1));
			}
			else if (Fields[0] == TEXT("enum"))
			{
				OutNames.Add(Name);
			}
		}
		return true;
	}

	struct FRegisteredType
	{
		FString Kind;
		FString Name;
		FString Module;
	};

	/** The module a compiled-in type belongs to, from its package (/Script/<Module>); empty for any other. */
	FString ModuleOf(const UObject* Type)
	{
		const FString Package = Type->GetOutermost()->GetName();
		return Package.StartsWith(TEXT("/Script/")) ? Package.Mid(8) : FString();
	}

	template <typename TType>
	void Collect(const TCHAR* Kind, const TArray<FString>& PluginModules, TArray<FRegisteredType>& Out)
	{
		for (TObjectIterator<TType> It; It; ++It)
		{
			const FString Module = ModuleOf(*It);
			if (PluginModules.Contains(Module))
			{
				Out.Add({ Kind, It->GetName(), Module });
			}
		}
	}
}

int main(int argc, char** argv)
{
	FString Descriptor;
	FString Binaries;
	FString TestModule;
	FString Manifest;
	for (int Index = 1; Index + 1 < argc; Index += 2)
	{
		const FString Value = UTF8_TO_TCHAR(argv[Index + 1]);
		if (std::strcmp(argv[Index], "--plugin") == 0)
		{
			Descriptor = Value;
		}
		else if (std::strcmp(argv[Index], "--binaries") == 0)
		{
			Binaries = Value;
		}
		else if (std::strcmp(argv[Index], "--test-module") == 0)
		{
			TestModule = Value;
		}
		else if (std::strcmp(argv[Index], "--test-types") == 0)
		{
			Manifest = Value;
		}
		else
		{
			std::fprintf(stderr, "unknown option %s\n", argv[Index]);
			return 2;
		}
	}
	if (Descriptor.IsEmpty() || Binaries.IsEmpty() || TestModule.IsEmpty() || Manifest.IsEmpty())
	{
		std::fprintf(stderr, "usage: ShippingTestTypes --plugin <file.uplugin> --binaries <dir> --test-module <Module> --test-types <manifest>\n");
		return 2;
	}

	const TArray<FString> PluginModules = ReadModuleNames(Descriptor);
	Expect(PluginModules.Contains(TestModule), FString::Printf(TEXT("the descriptor lists %s among its %d modules"), *TestModule, PluginModules.Num()));
	TSet<FString> TestTypes;
	// Without the names, a double put back into a runtime module would pass unseen.
	Expect(ReadManifestTypes(Manifest, TestTypes) && TestTypes.Num() > 0, FString::Printf(TEXT("%s declares its test types (%d, %s)"), *TestModule, TestTypes.Num(), *Manifest));

	const FString Library = Binaries / FString::Printf(TEXT("libHost-%s.so"), *TestModule);
	Expect(access(TCHAR_TO_UTF8(*Library), F_OK) != 0, FString::Printf(TEXT("%s is not built in Shipping (no %s)"), *TestModule, *Library));

	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);
	UE::Host::FEngineLoopSettings Settings;
	Settings.PluginDescriptors.Add(Descriptor);
	Settings.bWithSlate = false;
	UE::Host::FHostEngineLoop Loop;
	const bool bStarted = Loop.PreInit(Settings) && Loop.Init();
	Expect(bStarted, TEXT("the engine starts with the plug-in's modules as Shipping built them"));
	if (!bStarted)
	{
		std::printf("%d failed\n", Failures);
		return 1;
	}

	Expect(!FModuleManager::Get().IsModuleLoaded(FName(*TestModule)), FString::Printf(TEXT("%s is not loaded"), *TestModule));

	TArray<FRegisteredType> Types;
	Collect<UClass>(TEXT("class"), PluginModules, Types);
	Collect<UScriptStruct>(TEXT("struct"), PluginModules, Types);
	Collect<UEnum>(TEXT("enum"), PluginModules, Types);
	Types.Sort([](const FRegisteredType& A, const FRegisteredType& B)
	{
		return A.Module != B.Module ? A.Module < B.Module : A.Kind != B.Kind ? A.Kind < B.Kind : A.Name < B.Name;
	});

	int32 TestTypeCount = 0;
	for (const FRegisteredType& Type : Types)
	{
		const bool bTestType = Type.Module == TestModule || TestTypes.Contains(Type.Name);
		std::printf("  %-12s %-6s %s%s\n", TCHAR_TO_UTF8(*Type.Module), TCHAR_TO_UTF8(*Type.Kind), TCHAR_TO_UTF8(*Type.Name), bTestType ? "   <- exists only for tests" : "");
		if (bTestType)
		{
			Expect(false, FString::Printf(TEXT("%s registers %s %s, which exists only for tests"), *Type.Module, *Type.Kind, *Type.Name));
			++TestTypeCount;
		}
	}
	for (const FString& Module : PluginModules)
	{
		if (Module != TestModule)
		{
			const int32 Count = Types.FilterByPredicate([&Module](const FRegisteredType& Type) { return Type.Module == Module; }).Num();
			Expect(Count > 0, FString::Printf(TEXT("%s registers its reflected types (%d)"), *Module, Count));
		}
	}
	Expect(TestTypeCount == 0, FString::Printf(TEXT("no module of the plug-in registers a type that exists only for tests (%d of %d listed)"), TestTypeCount, Types.Num()));

	Loop.Exit();
	UE::Host::FHostEngineLoop::ShutdownModules();
	std::printf("%d failed\n", Failures);
	return Failures == 0 ? 0 : 1;
}
