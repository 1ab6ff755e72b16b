// Copyright Quarn. All Rights Reserved.

#include "QuarnUITestSupport.h"
#include "UObject/Package.h"

namespace QuarnUITest
{
	TMap<const UObject*, UQuarnStashPanelWatcher*>& EventWatchers()
	{
		static TMap<const UObject*, UQuarnStashPanelWatcher*> Watchers;
		return Watchers;
	}

	namespace
	{
		void RecordEvent(UObject* Self, const FString& Line)
		{
			if (UQuarnStashPanelWatcher* const* Watcher = EventWatchers().Find(Self))
			{
				(*Watcher)->Record(Line);
			}
		}

		const FQuarnItemInstance& InstanceParm(UObject* Self, const TCHAR* Event, void* Parms)
		{
			const UFunction* Function = Self->FindFunctionChecked(Event);
			return *FindFProperty<FStructProperty>(Function, TEXT("Instance"))->ContainerPtrToValuePtr<FQuarnItemInstance>(Parms);
		}
	}

	UClass* RecordingPanelClass()
	{
		static UClass* Class = UE::Host::FBlueprintClassBuilder(UQuarnStashPanel::StaticClass(), TEXT("WBP_RecordedStash"))
			.OverrideEvent(TEXT("OnDeposited"), [](UObject* Self, void* Parms)
			{
				const UFunction* Function = Self->FindFunctionChecked(TEXT("OnDeposited"));
				const FName ItemId = *FindFProperty<FNameProperty>(Function, TEXT("ItemId"))->ContainerPtrToValuePtr<FName>(Parms);
				const int32 Quantity = *FindFProperty<FIntProperty>(Function, TEXT("Quantity"))->ContainerPtrToValuePtr<int32>(Parms);
				const int32 SourceSlot = *FindFProperty<FIntProperty>(Function, TEXT("SourceSlot"))->ContainerPtrToValuePtr<int32>(Parms);
				RecordEvent(Self, FString::Printf(TEXT("Deposited %s %d %d"), *ItemId.ToString(), Quantity, SourceSlot));
			})
			.OverrideEvent(TEXT("OnWithdrawn"), [](UObject* Self, void* Parms)
			{
				RecordEvent(Self, TEXT("Withdrawn ") + InstanceParm(Self, TEXT("OnWithdrawn"), Parms).InstanceId);
			})
			.OverrideEvent(TEXT("OnTransferred"), [](UObject* Self, void* Parms)
			{
				RecordEvent(Self, TEXT("Transferred ") + InstanceParm(Self, TEXT("OnTransferred"), Parms).InstanceId);
			})
			.Finish();
		return Class;
	}

	void FPanelTest::SetUp()
	{
		FClientTest::SetUp();
	}

	void FPanelTest::TearDown()
	{
		for (UQuarnStashPanel* Panel : Panels)
		{
			if (Panel != nullptr)
			{
				Panel->RemoveFromParent();
				Panel->RemoveFromRoot();
				EventWatchers().Remove(Panel);
			}
		}
		for (UQuarnStashPanelWatcher* Watcher : Watchers)
		{
			Watcher->Probe = nullptr;
			Watcher->RemoveFromRoot();
		}
		Panels.Reset();
		Watchers.Reset();
		if (bMadeViewport)
		{
			UE::Host::DestroyGameViewport(World());
		}
		FClientTest::TearDown();
		Engine().CollectGarbage();
	}

	UQuarnStashPanel* FPanelTest::MakePanel(EQuarnContainerLayout Layout)
	{
		UQuarnStashPanel* Panel = CreateWidget<UQuarnStashPanel>(GameInstance(), RecordingPanelClass());
		check(Panel != nullptr);
		Panel->AddToRoot();
		Panel->bLoadOnConstruct = false;
		Panel->Layout = Layout;
		Panels.Add(Panel);

		UQuarnStashPanelWatcher* Watcher = NewObject<UQuarnStashPanelWatcher>(GetTransientPackage());
		Watcher->AddToRoot();
		Watcher->Watch(Panel);
		Watchers.Add(Watcher);
		EventWatchers().Add(Panel, Watcher);
		return Panel;
	}

	UQuarnStashPanel* FPanelTest::MakeBuiltPanel(EQuarnContainerLayout Layout)
	{
		UQuarnStashPanel* Panel = MakePanel(Layout);
		Panel->TakeWidget();
		return Panel;
	}

	UQuarnStashPanelWatcher* FPanelTest::WatcherOf(const UQuarnStashPanel* Panel) const
	{
		UQuarnStashPanelWatcher* const* Watcher = EventWatchers().Find(Panel);
		return Watcher ? *Watcher : nullptr;
	}

	void FPanelTest::Release(UQuarnStashPanel* Panel)
	{
		Panel->RemoveFromParent();
		Panel->RemoveFromRoot();
		EventWatchers().Remove(Panel);
		Panels.Remove(Panel);
	}

	void FPanelTest::LoadWith(UQuarnStashPanel* Panel, const FString& Document, const FString& Token)
	{
		Panel->LoadStash();
		ASSERT_TRUE(Transport->Answer(200, SignInAnswer(Token)));
		ASSERT_TRUE(Transport->Answer(200, Document));
	}

	void FEmulatorPanelTest::SetUp()
	{
		FPanelTest::SetUp();
		ASSERT_TRUE(Emulator.Start()) << Emulator.LastError();
		UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
		Settings->BaseUrl = UTF8_TO_TCHAR(Emulator.BaseUrl().c_str());
		Settings->bAllowInsecureHttp = true;
		FQuarnClient::SetTransport(nullptr);
	}

	void FEmulatorPanelTest::TearDown()
	{
		FPanelTest::TearDown();
		Emulator.Stop();
	}

	bool FEmulatorPanelTest::WaitForLoads(UQuarnStashPanel* Panel, int32 Before, int32 Count)
	{
		UQuarnStashPanelWatcher* Watcher = WatcherOf(Panel);
		return PumpUntil([Watcher, Before, Count]
		{
			return Watcher->CountStartingWith(TEXT("Loaded ")) >= Before + Count || Watcher->CountStartingWith(TEXT("Failed")) > 0;
		}) && Watcher->CountStartingWith(TEXT("Failed")) == 0;
	}

	bool FEmulatorPanelTest::LoadAndWait(UQuarnStashPanel* Panel)
	{
		const int32 Before = WatcherOf(Panel)->CountStartingWith(TEXT("Loaded "));
		Panel->LoadStash();
		return WaitForLoads(Panel, Before);
	}
}
