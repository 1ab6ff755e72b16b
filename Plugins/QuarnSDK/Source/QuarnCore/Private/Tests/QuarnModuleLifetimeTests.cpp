// Copyright Quarn. All Rights Reserved.

// The modules' lifetimes: none of the three may be unloaded and freed while the engine runs
// (tickers, HTTP completions and worker tasks point into their code), and the core module owns
// the transport: it is released when the module shuts down, so nothing of it waits for static
// destruction, and a request sent after that ends as "cancelled" without going out.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"
#include "QuarnSettings.h"

using namespace QuarnTests;

BEGIN_DEFINE_SPEC(FQuarnModuleLifetimeSpec, "Quarn.Core.Modules", QuarnTests::TestFlags)
END_DEFINE_SPEC(FQuarnModuleLifetimeSpec)

void FQuarnModuleLifetimeSpec::Define()
{
	It(TEXT("refuses dynamic unloading in each of the plug-in's modules"), [this]()
	{
		// The test module too: it is built and loaded wherever these tests are compiled.
		for (const TCHAR* Name : {TEXT("QuarnCore"), TEXT("QuarnUSME"), TEXT("QuarnUI"), TEXT("QuarnSDKTests")})
		{
			IModuleInterface* const Module = FModuleManager::Get().GetModule(Name);
			if (TestNotNull(FString::Printf(TEXT("%s is loaded"), Name), Module))
			{
				TestFalse(FString::Printf(TEXT("%s supports dynamic reloading"), Name), Module->SupportsDynamicReloading());
			}
		}
	});

	LatentIt(TEXT("releases the transport when the core module shuts down, and cancels what is sent after"), FTimespan::FromSeconds(20), [this](const FDoneDelegate& Done)
	{
		IModuleInterface* const Core = FModuleManager::Get().GetModule(TEXT("QuarnCore"));
		if (!TestNotNull(TEXT("the core module"), Core))
		{
			Done.Execute();
			return;
		}
		// An address that passes the client's checks; nothing may reach it.
		UQuarnSettings* const Settings = GetMutableDefault<UQuarnSettings>();
		const FString SavedBaseUrl = Settings->BaseUrl;
		Settings->BaseUrl = TEXT("https://platform.example.com");

		const TWeakPtr<IQuarnTransport> EngineTransport = FQuarnClient::GetTransport();
		Core->ShutdownModule();
		const bool bReleased = !EngineTransport.IsValid();
		const TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/c1"), FString(), FString(), FString(), FOutcome::Into(Outcome));
		Core->StartupModule();
		Settings->BaseUrl = SavedBaseUrl;
		TestTrue(TEXT("the engine transport was released at shutdown"), bReleased);

		Await(*this, TEXT("the request sent while the module was down"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Done]()
		{
			TestEqual(TEXT("callbacks"), Outcome->Calls, 1);
			TestFalse(TEXT("succeeded"), Outcome->bOk);
			TestEqualSensitive(TEXT("code"), Outcome->Error.Code, FString(TEXT("cancelled")));
			Done.Execute();
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
