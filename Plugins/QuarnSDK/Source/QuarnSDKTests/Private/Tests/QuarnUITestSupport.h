// Copyright Quarn. All Rights Reserved.

// What the stash panel's tests share: panels of the recording class made in a game instance of
// the test's own and watched, their private widgets read through reflection, a log capture that
// keeps each line's verbosity, and answers of the platform written as the platform writes them.

#pragma once

#include "CoreMinimal.h"
#include "QuarnRecordingStashPanel.h"
#include "Tests/QuarnStashPanelWatcher.h"
#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/SizeBox.h"
#include "Components/TextBlock.h"
#include "Containers/Ticker.h"
#include "Framework/Application/SlateApplication.h"
#include "HAL/PlatformTime.h"
#include "Misc/AutomationTest.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"
#include "UObject/GarbageCollection.h"

namespace QuarnUITests
{
	using namespace QuarnTests;

	inline const FLinearColor StatusColour(1.0f, 1.0f, 1.0f, 0.55f);
	inline const FLinearColor ErrorColour(0.94f, 0.42f, 0.35f, 1.0f);
	inline const FLinearColor AccentColour(0.94f, 0.64f, 0.19f, 1.0f);

	/**
	 * The panel builds Slate widgets. An editor (with -nullrhi too) and a game have Slate; a
	 * dedicated server or a commandlet may not, and there the case says so and stops.
	 */
	inline bool HasSlate(FAutomationTestBase& Test)
	{
		if (FSlateApplication::IsInitialized())
		{
			return true;
		}
		Test.AddWarning(TEXT("Skipped: the stash panel builds Slate widgets and Slate is not initialized in this process (a server or a commandlet)."));
		return false;
	}

	/**
	 * Calls Then(true) on the game thread on the first frame Condition holds, or Then(false) once
	 * TimeoutSeconds have passed without it. Bound it below the case's own time-out, so that the
	 * case, not the frame after it, sees a hang.
	 */
	inline void WhenTrue(TFunction<bool()> Condition, double TimeoutSeconds, TFunction<void(bool)> Then)
	{
		WaitUntil(MoveTemp(Condition), TimeoutSeconds, [Then]() { Then(true); }, [Then]() { Then(false); });
	}

	/** A widget pointer the panel keeps in a private reflected property. */
	template<class T>
	T* Member(const UQuarnStashPanel* Panel, const TCHAR* Name)
	{
		const FObjectProperty* const Property = FindFProperty<FObjectProperty>(UQuarnStashPanel::StaticClass(), Name);
		return Property != nullptr ? Cast<T>(Property->GetObjectPropertyValue_InContainer(Panel)) : nullptr;
	}

	inline TArray<UWidget*> ItemWidgetsOf(const UQuarnStashPanel* Panel)
	{
		const FArrayProperty* const Property = FindFProperty<FArrayProperty>(UQuarnStashPanel::StaticClass(), TEXT("ItemWidgets"));
		return Property != nullptr ? *Property->ContainerPtrToValuePtr<TArray<UWidget*>>(Panel) : TArray<UWidget*>();
	}

	inline TArray<FQuarnItemInstance> ContentsOf(const UQuarnStashPanel* Panel)
	{
		const FArrayProperty* const Property = FindFProperty<FArrayProperty>(UQuarnStashPanel::StaticClass(), TEXT("Contents"));
		return Property != nullptr ? *Property->ContainerPtrToValuePtr<TArray<FQuarnItemInstance>>(Panel) : TArray<FQuarnItemInstance>();
	}

	inline FString StatusOf(const UQuarnStashPanel* Panel)
	{
		const UTextBlock* const Status = Member<UTextBlock>(Panel, TEXT("StatusText"));
		return Status != nullptr ? Status->GetText().ToString() : FString(TEXT("<no status widget>"));
	}

	inline FLinearColor StatusColourOf(const UQuarnStashPanel* Panel)
	{
		const UTextBlock* const Status = Member<UTextBlock>(Panel, TEXT("StatusText"));
		return Status != nullptr ? Status->GetColorAndOpacity().GetSpecifiedColor() : FLinearColor::Transparent;
	}

	/** A body as the pretty printer writes it on this platform (LINE_TERMINATOR), given with "\n" line ends. */
	inline FString PrettyLines(const TCHAR* Text)
	{
		return FString(Text).Replace(TEXT("\n"), LINE_TERMINATOR);
	}

	inline FString SignInAnswer(const FString& Token, const FString& Player = TEXT("plr_1"))
	{
		return FString::Printf(TEXT("{\"player\": {\"id\": \"%s\", \"provider\": \"anonymous\"}, \"tokens\": {\"access_token\": \"%s\", \"token_type\": \"Bearer\", \"expires_in\": 3600}}"), *Player, *Token);
	}

	/** One item object; X and Y of -1 and a slot index make a slot stack. */
	inline FString ItemJson(const TCHAR* Instance, const TCHAR* ItemId, int32 Quantity, int32 X, int32 Y, int32 SlotIndex = -1, int32 W = 1, int32 H = 1)
	{
		return FString::Printf(TEXT("{\"id\": \"%s\", \"item_id\": \"%s\", \"quantity\": %d, \"slot_index\": %d, \"slot_key\": \"\", \"x\": %d, \"y\": %d, \"grid_w\": %d, \"grid_h\": %d, \"rotated\": false, \"properties\": {\"__qnid\": \"%s\"}}"),
			Instance, ItemId, Quantity, SlotIndex, X, Y, W, H, Instance);
	}

	inline FString ContainerAnswer(const TCHAR* Id, const TCHAR* Layout, const TArray<FString>& Items)
	{
		return FString::Printf(TEXT("{\"id\": \"%s\", \"kind\": \"stash\", \"layout\": \"%s\", \"version\": 1, \"items\": [%s]}"), Id, Layout, *FString::Join(Items, TEXT(", ")));
	}

	inline FString ErrorAnswer(const TCHAR* Code, const TCHAR* Message, const TCHAR* Hint)
	{
		return FString::Printf(TEXT("{\"error\": {\"code\": \"%s\", \"message\": \"%s\", \"hint\": \"%s\", \"request_id\": \"req_1\"}}"), Code, Message, Hint);
	}

	inline FQuarnItemInstance Stack(const TCHAR* ItemId, int32 Quantity, int32 X, int32 Y, int32 W = 1, int32 H = 1)
	{
		FQuarnItemInstance Item;
		Item.ItemId = ItemId;
		Item.InstanceId = FString(TEXT("ins_")) + ItemId;
		Item.Quantity = Quantity;
		Item.X = X;
		Item.Y = Y;
		Item.GridW = W;
		Item.GridH = H;
		return Item;
	}

	inline FQuarnContainer Container(const TCHAR* Layout, const TArray<FQuarnItemInstance>& Items)
	{
		FQuarnContainer Result;
		Result.ContainerId = TEXT("ctr_shown");
		Result.Kind = TEXT("stash");
		Result.Layout = Layout;
		Result.Items = Items;
		return Result;
	}

	/**
	 * Panels and their watchers for one case, in a game instance of its own and over a scripted
	 * transport. Going, it takes the panels off the root, shuts the game instance down, restores
	 * the transport and settings and collects, so that the next test in the process starts clean.
	 */
	class FPanelFixture
	{
	public:
		FPanelFixture()
			: Client(MakeUnique<FClientFixture>())
			, Game(MakeUnique<FTestGame>())
		{
		}

		~FPanelFixture()
		{
			SlateWidgets.Reset();
			for (UQuarnRecordingStashPanel* Panel : Panels)
			{
				Panel->Watcher = nullptr;
				Panel->RemoveFromParent();
				Panel->RemoveFromRoot();
			}
			for (UQuarnStashPanelWatcher* Watcher : Watchers)
			{
				Watcher->Probe = nullptr;
				Watcher->RemoveFromRoot();
			}
			Panels.Reset();
			Watchers.Reset();
			Game.Reset();
			Client.Reset();
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}

		FPanelFixture(const FPanelFixture&) = delete;
		FPanelFixture& operator=(const FPanelFixture&) = delete;

		FScriptedTransport& Transport() const
		{
			return *Client->Transport;
		}

		UGameInstance* GetGameInstance() const
		{
			return Game->GetGameInstance();
		}

		/** A panel of the recording class that does not load by itself, watched, not yet constructed. */
		UQuarnRecordingStashPanel* MakePanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid)
		{
			UQuarnRecordingStashPanel* const Panel = CreateWidget<UQuarnRecordingStashPanel>(Game->GetGameInstance(), UQuarnRecordingStashPanel::StaticClass());
			check(Panel != nullptr);
			Panel->AddToRoot();
			Panel->bLoadOnConstruct = false;
			Panel->Layout = Layout;
			Panels.Add(Panel);

			UQuarnStashPanelWatcher* const Watcher = NewObject<UQuarnStashPanelWatcher>(GetTransientPackage());
			Watcher->AddToRoot();
			Watcher->Watch(Panel);
			Watchers.Add(Watcher);
			Panel->Watcher = Watcher;
			return Panel;
		}

		/**
		 * MakePanel, then its Slate widget: the tree is built and NativeConstruct has run. The Slate
		 * widget is held until the case ends, as a viewport would hold it (a widget keeps only a weak
		 * reference to its own).
		 */
		UQuarnRecordingStashPanel* MakeBuiltPanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid)
		{
			UQuarnRecordingStashPanel* const Panel = MakePanel(Layout);
			Hold(Panel, Panel->TakeWidget());
			return Panel;
		}

		void Hold(const UQuarnStashPanel* Panel, const TSharedRef<SWidget>& Widget)
		{
			SlateWidgets.Add(TPair<const UQuarnStashPanel*, TSharedRef<SWidget>>(Panel, Widget));
		}

		static UQuarnStashPanelWatcher* WatcherOf(const UQuarnRecordingStashPanel* Panel)
		{
			return Panel->Watcher;
		}

		/** Lets the collector take a panel made here; its watcher stays. */
		void Release(UQuarnRecordingStashPanel* Panel)
		{
			// A live Slate widget of a user widget keeps it from the collector.
			SlateWidgets.RemoveAll([Panel](const TPair<const UQuarnStashPanel*, TSharedRef<SWidget>>& Held) { return Held.Key == Panel; });
			Panel->RemoveFromParent();
			Panel->RemoveFromRoot();
			Panels.Remove(Panel);
		}

		/** Answers the sign-in and then the ensure, so that the panel is loaded. */
		void LoadWith(UQuarnStashPanel* Panel, const FString& Document, const FString& Token = TEXT("tok_1"))
		{
			Panel->LoadStash();
			Transport().Answer(200, SignInAnswer(Token));
			Transport().Answer(200, Document);
		}

	private:
		TUniquePtr<FClientFixture> Client;
		TUniquePtr<FTestGame> Game;
		TArray<UQuarnRecordingStashPanel*> Panels;
		TArray<UQuarnStashPanelWatcher*> Watchers;
		TArray<TPair<const UQuarnStashPanel*, TSharedRef<SWidget>>> SlateWidgets;
	};
}

#endif // WITH_DEV_AUTOMATION_TESTS
