// Copyright Quarn. All Rights Reserved.

// ShippingInsecureHttp --plugin <QuarnSDK.uplugin>
//
// Built only in the Shipping configuration, where automation tests are compiled out: starts the
// host engine with the plug-in, sends requests through the plug-in's client with Allow Insecure
// Http off and on, and checks that the setting changes nothing (plain HTTP to another machine is
// refused either way, to this machine and over https allowed either way) and that the log says so
// exactly once, the first time a request meets the setting. Prints one line per check and exits 0
// only when all hold.

#include "CoreMinimal.h"
#include "Containers/Ticker.h"
#include "HAL/PlatformTime.h"
#include "Host/CoreHost.h"
#include "Host/HostEngineLoop.h"
#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"
#include "QuarnClient.h"
#include "QuarnSettings.h"
#include "QuarnTransport.h"

#include <atomic>
#include <cstdio>
#include <cstring>

static_assert(UE_BUILD_SHIPPING, "this program checks the Shipping configuration");
static_assert(!NO_LOGGING, "the Shipping preset keeps logging so that the warning can be read");

namespace
{
	const TCHAR* const SettingWarning = TEXT("Allow Insecure Http is set but has no effect in Shipping builds");

	/** Counts the log lines that carry the setting's warning, at Warning verbosity. */
	class FWarningCount : public FOutputDevice
	{
	public:
		std::atomic<int32> Count{ 0 };

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			if ((Verbosity & ELogVerbosity::VerbosityMask) == ELogVerbosity::Warning && FCString::Strstr(V, SettingWarning) != nullptr)
			{
				++Count;
			}
		}

		virtual bool CanBeUsedOnMultipleThreads() const override
		{
			return true;
		}
	};

	/** Answers every request at once with an empty object, and remembers the addresses it was given. */
	class FAnsweringTransport : public IQuarnTransport
	{
	public:
		TArray<FString> Urls;

		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			Urls.Add(Request.Url);
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = 200;
			Response.Body = TEXT("{}");
			// Never from inside Send: on the next tick, as the engine's HTTP module answers.
			FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([OnDone = MoveTemp(OnDone), Response](float)
			{
				OnDone(Response);
				return false;
			}));
		}
	};

	struct FOutcome
	{
		bool bDone = false;
		bool bOk = false;
		FString Code;
	};

	int32 Failures = 0;

	void Expect(bool bHolds, const FString& What)
	{
		std::printf("%s %s\n", bHolds ? "[ PASSED ]" : "[ FAILED ]", TCHAR_TO_UTF8(*What));
		std::fflush(stdout);
		Failures += bHolds ? 0 : 1;
	}
}

int main(int argc, char** argv)
{
	UE::Host::FEngineLoopSettings Settings;
	for (int Index = 1; Index + 1 < argc; ++Index)
	{
		if (std::strcmp(argv[Index], "--plugin") == 0)
		{
			Settings.PluginDescriptors.Add(UTF8_TO_TCHAR(argv[++Index]));
		}
	}
	if (Settings.PluginDescriptors.Num() == 0)
	{
		std::fprintf(stderr, "usage: ShippingInsecureHttp --plugin <QuarnSDK.uplugin>\n");
		return 2;
	}
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Fatal);
	Settings.bWithSlate = false;

	UE::Host::FHostEngineLoop Loop;
	if (!Loop.PreInit(Settings) || !Loop.Init())
	{
		std::fprintf(stderr, "The engine did not start.\n");
		return 2;
	}

	FWarningCount Warnings;
	GLog->AddOutputDevice(&Warnings);
	const TSharedRef<FAnsweringTransport> Transport = MakeShared<FAnsweringTransport>();
	FQuarnClient::SetTransport(Transport);
	UQuarnSettings* const Quarn = GetMutableDefault<UQuarnSettings>();

	// One request to Base with the setting as given; ticks until it completes, ten seconds at most.
	auto Send = [&Loop, Quarn](const TCHAR* Base, bool bAllowInsecure)
	{
		Quarn->BaseUrl = Base;
		Quarn->bAllowInsecureHttp = bAllowInsecure;
		const TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/health"), FString(), FString(), FString(), [Outcome](bool bOk, TSharedPtr<FJsonObject>, const FQuarnError& Error)
		{
			Outcome->bDone = true;
			Outcome->bOk = bOk;
			Outcome->Code = Error.Code;
		});
		const double Deadline = FPlatformTime::Seconds() + 10.0;
		while (!Outcome->bDone && FPlatformTime::Seconds() < Deadline)
		{
			Loop.Tick(0.01f);
		}
		if (!Outcome->bDone)
		{
			Outcome->Code = TEXT("(no answer within ten seconds)");
		}
		return *Outcome;
	};

	const FOutcome Off = Send(TEXT("http://192.0.2.10/"), false);
	Expect(!Off.bOk && Off.Code == TEXT("insecure_base_address"), FString::Printf(TEXT("setting off: plain HTTP to another machine is refused (%s)"), *Off.Code));
	Expect(Warnings.Count == 0, FString::Printf(TEXT("setting off: no warning about it (%d)"), Warnings.Count.load()));

	const FOutcome On = Send(TEXT("http://192.0.2.10/"), true);
	Expect(!On.bOk && On.Code == TEXT("insecure_base_address"), FString::Printf(TEXT("setting on: plain HTTP to another machine is still refused (%s)"), *On.Code));
	Expect(Warnings.Count == 1, FString::Printf(TEXT("setting on: one warning that it has no effect (%d)"), Warnings.Count.load()));

	const FOutcome Again = Send(TEXT("http://192.0.2.10/"), true);
	Expect(!Again.bOk && Again.Code == TEXT("insecure_base_address"), FString::Printf(TEXT("setting on, again: refused (%s)"), *Again.Code));
	Expect(Warnings.Count == 1, FString::Printf(TEXT("setting on, again: still one warning (%d)"), Warnings.Count.load()));
	Expect(Transport->Urls.Num() == 0, FString::Printf(TEXT("nothing refused reached the transport (%d requests)"), Transport->Urls.Num()));

	const FOutcome Loopback = Send(TEXT("http://127.0.0.1:8080"), true);
	Expect(Loopback.bOk, FString::Printf(TEXT("plain HTTP to this machine is allowed (%s)"), *Loopback.Code));
	const FOutcome Secure = Send(TEXT("https://api.example.com"), true);
	Expect(Secure.bOk, FString::Printf(TEXT("https to another machine is allowed (%s)"), *Secure.Code));
	Expect(Transport->Urls.Num() == 2, FString::Printf(TEXT("the allowed requests reached the transport (%d)"), Transport->Urls.Num()));
	Expect(Warnings.Count == 1, FString::Printf(TEXT("one warning in the whole run (%d)"), Warnings.Count.load()));

	GLog->RemoveOutputDevice(&Warnings);
	FQuarnClient::SetTransport(nullptr);
	Loop.Exit();
	UE::Host::FHostEngineLoop::ShutdownModules();
	std::printf("%d failed\n", Failures);
	return Failures == 0 ? 0 : 1;
}
