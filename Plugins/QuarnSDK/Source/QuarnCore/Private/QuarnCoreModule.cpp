// Copyright Quarn. All Rights Reserved.

#include "QuarnCoreModule.h"
#include "QuarnConsoleCommands.h"
#include "QuarnHttpTransport.h"
#include "QuarnLog.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY(LogQuarn);

namespace QuarnCoreModule
{
	/** A plain pointer: it needs no destruction, and it is cleared when the module shuts down. */
	static FQuarnCoreModule* Running = nullptr;
}

void FQuarnCoreModule::StartupModule()
{
	// Loaded here, on the game thread, it is guaranteed to be there until after ShutdownModule,
	// and the first request never has to load it.
	FModuleManager::Get().LoadModuleChecked(TEXT("HTTP"));
	DefaultTransport = MakeShared<FQuarnHttpTransport>();
	QuarnCoreModule::Running = this;
	QuarnConsoleCommands::Register();
}

void FQuarnCoreModule::ShutdownModule()
{
	QuarnConsoleCommands::Unregister();
	QuarnCoreModule::Running = nullptr;
	// Requests still waiting to be retried go with the retry manager; the HTTP module unbinds
	// the completions of those still on the wire when it shuts down after this one.
	OverrideTransport.Reset();
	DefaultTransport.Reset();
}

bool FQuarnCoreModule::SupportsDynamicReloading()
{
	return false;
}

FQuarnCoreModule* FQuarnCoreModule::Get()
{
	return QuarnCoreModule::Running;
}

TSharedRef<IQuarnTransport> FQuarnCoreModule::GetTransport() const
{
	return OverrideTransport.IsValid() ? OverrideTransport.ToSharedRef() : DefaultTransport.ToSharedRef();
}

void FQuarnCoreModule::SetOverrideTransport(TSharedPtr<IQuarnTransport> Transport)
{
	OverrideTransport = MoveTemp(Transport);
}

IMPLEMENT_MODULE(FQuarnCoreModule, QuarnCore)
