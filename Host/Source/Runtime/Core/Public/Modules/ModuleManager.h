// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Modules/ModuleInterface.h"
#include "Modules/Boilerplate/ModuleBoilerplate.h"
#include "UObject/NameTypes.h"
#include "Containers/UnrealString.h"
#include "Delegates/Delegate.h"

enum class ELoadModuleFlags
{
	None = 0,
	LogFailures = 1 << 0,
};
ENUM_CLASS_FLAGS(ELoadModuleFlags)

enum class EModuleLoadResult
{
	Success,
	FileNotFound,
	FileIncompatible,
	CouldNotBeLoadedByOS,
	FailedToInitialize,
};

typedef IModuleInterface* (*FInitializeModuleFunctionPtr)(void);

// Registers a module's factory during static initialisation, before anything loads it.
class CORE_API FModuleInitializerEntry
{
public:
	FModuleInitializerEntry(const TCHAR* InName, FInitializeModuleFunctionPtr InFunction, const TCHAR* InModuleName);
	~FModuleInitializerEntry();

	// The module whose library registered the entry (UE_MODULE_NAME), if known.
	const TCHAR* GetOwnerModuleName() const { return ModuleName; }

	static FInitializeModuleFunctionPtr FindModule(const TCHAR* Name);
	friend class FModuleManager;

private:
	FModuleInitializerEntry* Next;
	const TCHAR* Name;
	FInitializeModuleFunctionPtr Function;
	const TCHAR* ModuleName;
};

// Loads modules on request, starts each once, and shuts them down in reverse start-up order.
class CORE_API FModuleManager
{
public:
	static FModuleManager& Get();

	IModuleInterface* LoadModule(const FName InModuleName, ELoadModuleFlags InLoadModuleFlags = ELoadModuleFlags::None);
	IModuleInterface& LoadModuleChecked(const FName InModuleName);
	IModuleInterface* LoadModuleWithFailureReason(const FName InModuleName, EModuleLoadResult& OutFailureReason, ELoadModuleFlags InLoadModuleFlags = ELoadModuleFlags::None);
	bool IsModuleLoaded(const FName InModuleName) const;
	bool ModuleExists(const TCHAR* ModuleName) const;
	IModuleInterface* GetModule(const FName InModuleName);
	bool UnloadModule(const FName InModuleName, bool bIsShutdown = false, bool bAllowUnloadCode = true);
	void UnloadModulesAtShutdown();
	int32 GetModuleCount() const;
	void FindModules(const TCHAR* WildcardWithoutExtension, TArray<FName>& OutModules) const;

	// The order in which loaded modules finished starting up.
	TArray<FName> GetLoadedModuleNamesInLoadOrder() const;

	template <typename TModuleInterface>
	static TModuleInterface& GetModuleChecked(const FName ModuleName)
	{
		FModuleManager& ModuleManager = FModuleManager::Get();
		checkf(ModuleManager.IsModuleLoaded(ModuleName), TEXT("Tried to get module interface for unloaded module: '%s'"), *ModuleName.ToString());
		return static_cast<TModuleInterface&>(*ModuleManager.GetModule(ModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface* GetModulePtr(const FName ModuleName)
	{
		return static_cast<TModuleInterface*>(FModuleManager::Get().GetModule(ModuleName));
	}

	template <typename TModuleInterface>
	static TModuleInterface& LoadModuleChecked(const FName InModuleName)
	{
		IModuleInterface& ModuleInterface = FModuleManager::Get().LoadModuleChecked(InModuleName);
		return static_cast<TModuleInterface&>(ModuleInterface);
	}

	template <typename TModuleInterface>
	static TModuleInterface* LoadModulePtr(const FName InModuleName)
	{
		return static_cast<TModuleInterface*>(FModuleManager::Get().LoadModule(InModuleName));
	}

	DECLARE_EVENT_TwoParams(FModuleManager, FModulesChangedEvent, FName, int32);
	FModulesChangedEvent& OnModulesChanged() { return ModulesChangedEvent; }

private:
	FModuleManager() = default;
	FModulesChangedEvent ModulesChangedEvent;
};

#ifdef UE_MODULE_NAME
	#define UE_IMPLEMENT_MODULE_OWNER_NAME TEXT(UE_MODULE_NAME)
#else
	#define UE_IMPLEMENT_MODULE_OWNER_NAME nullptr
#endif

// Registers the module's factory under its name during static initialisation (the engine's
// modular form) and marks the library as a module.
#define IMPLEMENT_MODULE(ModuleImplClass, ModuleName) \
	static IModuleInterface* Initialize##ModuleName##Module() \
	{ \
		return new ModuleImplClass(); \
	} \
	static FModuleInitializerEntry ModuleName##InitializerEntry(TEXT(#ModuleName), Initialize##ModuleName##Module, UE_IMPLEMENT_MODULE_OWNER_NAME); \
	extern "C" void IMPLEMENT_MODULE_##ModuleName() {} \
	UE_IMPLEMENT_MODULE_MARKER \
	PER_MODULE_BOILERPLATE_ANYLINK(ModuleImplClass, ModuleName)

#define IMPLEMENT_GAME_MODULE(ModuleImplClass, ModuleName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
#define IMPLEMENT_PRIMARY_GAME_MODULE(ModuleImplClass, ModuleName, GameName) IMPLEMENT_GAME_MODULE(ModuleImplClass, ModuleName)

class FDefaultModuleImpl : public IModuleInterface
{
};

class FDefaultGameModuleImpl : public FDefaultModuleImpl
{
	virtual bool IsGameModule() const override { return true; }
};
