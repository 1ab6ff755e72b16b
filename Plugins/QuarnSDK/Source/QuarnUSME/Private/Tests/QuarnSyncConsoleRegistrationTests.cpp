// Copyright Quarn. All Rights Reserved.

// Quarn.Sync.Status belongs to the running adapter: gone once its commands are unregistered, back
// when they are registered again. What the command prints is tested over the scripted transport in
// the test module (Quarn.USME.Console).

#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "HAL/IConsoleManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/OutputDevice.h"
#include "QuarnSyncConsoleCommands.h"

namespace QuarnSyncConsoleRegistrationSpecs
{
	/** Swallows what a command writes. */
	class FNoOutput : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR*, ELogVerbosity::Type, const FName&) override
		{
		}
	};
}

BEGIN_DEFINE_SPEC(FQuarnSyncConsoleRegistrationSpec, "Quarn.USME.ConsoleRegistration", EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext | EAutomationTestFlags::ServerContext | EAutomationTestFlags::ProductFilter)
END_DEFINE_SPEC(FQuarnSyncConsoleRegistrationSpec)

void FQuarnSyncConsoleRegistrationSpec::Define()
{
	It(TEXT("Quarn.Sync.Status is gone once the adapter's commands are unregistered, and back when registered"), [this]()
	{
		TestNotNull(TEXT("registered while the module runs"), IConsoleManager::Get().FindConsoleObject(TEXT("Quarn.Sync.Status")));
		QuarnSyncConsoleCommands::Unregister();
		TestNull(TEXT("gone after unregistering"), IConsoleManager::Get().FindConsoleObject(TEXT("Quarn.Sync.Status")));
		QuarnSyncConsoleRegistrationSpecs::FNoOutput Output;
		TestFalse(TEXT("the console no longer knows it"), IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Quarn.Sync.Status"), Output, nullptr));
		QuarnSyncConsoleCommands::Register();
		TestNotNull(TEXT("back after registering"), IConsoleManager::Get().FindConsoleObject(TEXT("Quarn.Sync.Status")));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
