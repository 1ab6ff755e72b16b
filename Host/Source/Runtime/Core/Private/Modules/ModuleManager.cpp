// Copyright Quarn. All Rights Reserved.

#include "Modules/ModuleManager.h"
#include "Logging/LogMacros.h"
#include "Containers/StringConv.h"
#include "Host/CoreHost.h"
#include <algorithm>
#include <dlfcn.h>
#include <mutex>
#include <vector>

namespace
{
	FModuleInitializerEntry*& FirstInitializer()
	{
		static FModuleInitializerEntry* First = nullptr;
		return First;
	}

	std::mutex& InitializerMutex()
	{
		static std::mutex Mutex;
		return Mutex;
	}

	struct FModuleInfo
	{
		FName Name;
		IModuleInterface* Module = nullptr;
		int32 LoadOrder = INDEX_NONE;
	};

	struct FModuleRegistry
	{
		std::recursive_mutex Mutex;
		std::vector<FModuleInfo> Modules;
		int32 CurrentLoadOrder = 1;

		FModuleInfo* Find(FName Name)
		{
			for (FModuleInfo& Info : Modules)
			{
				if (Info.Name == Name)
				{
					return &Info;
				}
			}
			return nullptr;
		}
	};

	FModuleRegistry& GetRegistry()
	{
		static FModuleRegistry* Registry = new FModuleRegistry();
		return *Registry;
	}

	// A module not linked in may be a library beside Core, as the engine's Binaries folder has.
	bool TryLoadModuleLibrary(FName ModuleName)
	{
		Dl_info Info;
		if (dladdr((void*)&GetRegistry, &Info) == 0 || !Info.dli_fname)
		{
			return false;
		}
		std::string Directory(Info.dli_fname);
		const size_t Slash = Directory.rfind('/');
		Directory = Slash == std::string::npos ? std::string(".") : Directory.substr(0, Slash);
		const std::string Path = Directory + "/libHost-" + std::string(FTCHARToUTF8(*ModuleName.ToString()).Get()) + ".so";
		return dlopen(Path.c_str(), RTLD_NOW | RTLD_GLOBAL) != nullptr;
	}
} // namespace

FModuleInitializerEntry::FModuleInitializerEntry(const TCHAR* InName, FInitializeModuleFunctionPtr InFunction, const TCHAR* InModuleName)
	: Next(nullptr), Name(InName), Function(InFunction), ModuleName(InModuleName)
{
	std::lock_guard<std::mutex> Lock(InitializerMutex());
	Next = FirstInitializer();
	FirstInitializer() = this;
}

FModuleInitializerEntry::~FModuleInitializerEntry()
{
	std::lock_guard<std::mutex> Lock(InitializerMutex());
	for (FModuleInitializerEntry** Link = &FirstInitializer(); *Link; Link = &(*Link)->Next)
	{
		if (*Link == this)
		{
			*Link = Next;
			break;
		}
	}
}

FInitializeModuleFunctionPtr FModuleInitializerEntry::FindModule(const TCHAR* InName)
{
	std::lock_guard<std::mutex> Lock(InitializerMutex());
	for (FModuleInitializerEntry* Entry = FirstInitializer(); Entry; Entry = Entry->Next)
	{
		if (TCString<TCHAR>::Stricmp(Entry->Name, InName) == 0)
		{
			return Entry->Function;
		}
	}
	return nullptr;
}

FModuleManager& FModuleManager::Get()
{
	static FModuleManager* Manager = new FModuleManager();
	return *Manager;
}

IModuleInterface* FModuleManager::LoadModule(const FName InModuleName, ELoadModuleFlags InLoadModuleFlags)
{
	EModuleLoadResult Result;
	return LoadModuleWithFailureReason(InModuleName, Result, InLoadModuleFlags);
}

IModuleInterface* FModuleManager::LoadModuleWithFailureReason(const FName InModuleName, EModuleLoadResult& OutFailureReason, ELoadModuleFlags InLoadModuleFlags)
{
	FModuleRegistry& Registry = GetRegistry();
	std::lock_guard<std::recursive_mutex> Lock(Registry.Mutex);
	if (FModuleInfo* Existing = Registry.Find(InModuleName))
	{
		if (Existing->Module)
		{
			OutFailureReason = EModuleLoadResult::Success;
			return Existing->Module;
		}
	}

	const FString NameString = InModuleName.ToString();
	FInitializeModuleFunctionPtr Initialize = FModuleInitializerEntry::FindModule(*NameString);
	if (!Initialize && TryLoadModuleLibrary(InModuleName))
	{
		Initialize = FModuleInitializerEntry::FindModule(*NameString);
	}
	if (!Initialize)
	{
		OutFailureReason = EModuleLoadResult::FileNotFound;
		UE_CLOG(EnumHasAnyFlags(InLoadModuleFlags, ELoadModuleFlags::LogFailures), LogModuleManager, Warning, TEXT("ModuleManager: Unable to load module '%s' because the module was not found."), *NameString);
		return nullptr;
	}

	IModuleInterface* Module = Initialize();
	if (!Module)
	{
		OutFailureReason = EModuleLoadResult::FailedToInitialize;
		UE_LOG(LogModuleManager, Warning, TEXT("ModuleManager: Unable to load module '%s' because its initializer returned nothing."), *NameString);
		return nullptr;
	}
	{
		FModuleInfo Info;
		Info.Name = InModuleName;
		Info.Module = Module;
		if (FModuleInfo* Existing = Registry.Find(InModuleName))
		{
			*Existing = Info;
		}
		else
		{
			Registry.Modules.push_back(Info);
		}
	}
	Module->StartupModule();
	// Modules that this one loaded during its start-up got earlier numbers, so they shut down after it.
	Registry.Find(InModuleName)->LoadOrder = Registry.CurrentLoadOrder++;
	ModulesChangedEvent.Broadcast(InModuleName, 0);
	OutFailureReason = EModuleLoadResult::Success;
	return Module;
}

IModuleInterface& FModuleManager::LoadModuleChecked(const FName InModuleName)
{
	IModuleInterface* Module = LoadModule(InModuleName, ELoadModuleFlags::LogFailures);
	checkf(Module != nullptr, TEXT("Module '%s' could not be loaded"), *InModuleName.ToString());
	return *Module;
}

bool FModuleManager::IsModuleLoaded(const FName InModuleName) const
{
	FModuleRegistry& Registry = GetRegistry();
	std::lock_guard<std::recursive_mutex> Lock(Registry.Mutex);
	const FModuleInfo* Info = Registry.Find(InModuleName);
	return Info && Info->Module && Info->LoadOrder != INDEX_NONE;
}

bool FModuleManager::ModuleExists(const TCHAR* ModuleName) const
{
	return FModuleInitializerEntry::FindModule(ModuleName) != nullptr;
}

IModuleInterface* FModuleManager::GetModule(const FName InModuleName)
{
	FModuleRegistry& Registry = GetRegistry();
	std::lock_guard<std::recursive_mutex> Lock(Registry.Mutex);
	const FModuleInfo* Info = Registry.Find(InModuleName);
	return Info ? Info->Module : nullptr;
}

bool FModuleManager::UnloadModule(const FName InModuleName, bool bIsShutdown, bool bAllowUnloadCode)
{
	FModuleRegistry& Registry = GetRegistry();
	std::lock_guard<std::recursive_mutex> Lock(Registry.Mutex);
	FModuleInfo* Info = Registry.Find(InModuleName);
	if (!Info || !Info->Module)
	{
		return false;
	}
	IModuleInterface* Module = Info->Module;
	Module->ShutdownModule();
	Info = Registry.Find(InModuleName);
	Info->Module = nullptr;
	Info->LoadOrder = INDEX_NONE;
	delete Module;
	ModulesChangedEvent.Broadcast(InModuleName, 1);
	return true;
}

void FModuleManager::UnloadModulesAtShutdown()
{
	FModuleRegistry& Registry = GetRegistry();
	std::lock_guard<std::recursive_mutex> Lock(Registry.Mutex);
	std::vector<FModuleInfo> ToUnload;
	for (const FModuleInfo& Info : Registry.Modules)
	{
		if (Info.Module && Info.Module->SupportsAutomaticShutdown())
		{
			ToUnload.push_back(Info);
		}
	}
	std::sort(ToUnload.begin(), ToUnload.end(), [](const FModuleInfo& A, const FModuleInfo& B) { return A.LoadOrder > B.LoadOrder; });
	for (const FModuleInfo& Info : ToUnload)
	{
		Info.Module->PreUnloadCallback();
	}
	for (const FModuleInfo& Info : ToUnload)
	{
		UnloadModule(Info.Name, true);
	}
}

int32 FModuleManager::GetModuleCount() const
{
	FModuleRegistry& Registry = GetRegistry();
	std::lock_guard<std::recursive_mutex> Lock(Registry.Mutex);
	int32 Count = 0;
	for (const FModuleInfo& Info : Registry.Modules)
	{
		Count += Info.Module ? 1 : 0;
	}
	return Count;
}

void FModuleManager::FindModules(const TCHAR* WildcardWithoutExtension, TArray<FName>& OutModules) const
{
	std::lock_guard<std::mutex> Lock(InitializerMutex());
	for (FModuleInitializerEntry* Entry = FirstInitializer(); Entry; Entry = Entry->Next)
	{
		if (FString(Entry->Name).MatchesWildcard(WildcardWithoutExtension))
		{
			OutModules.AddUnique(FName(Entry->Name));
		}
	}
}

TArray<FName> FModuleManager::GetLoadedModuleNamesInLoadOrder() const
{
	FModuleRegistry& Registry = GetRegistry();
	std::lock_guard<std::recursive_mutex> Lock(Registry.Mutex);
	std::vector<FModuleInfo> Loaded;
	for (const FModuleInfo& Info : Registry.Modules)
	{
		if (Info.Module && Info.LoadOrder != INDEX_NONE)
		{
			Loaded.push_back(Info);
		}
	}
	std::sort(Loaded.begin(), Loaded.end(), [](const FModuleInfo& A, const FModuleInfo& B) { return A.LoadOrder < B.LoadOrder; });
	TArray<FName> Result;
	for (const FModuleInfo& Info : Loaded)
	{
		Result.Add(Info.Name);
	}
	return Result;
}

namespace UE::Host
{
	void ShutdownModules()
	{
		FModuleManager::Get().UnloadModulesAtShutdown();
	}
} // namespace UE::Host
