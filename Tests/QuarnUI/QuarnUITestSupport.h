// Helpers for the stash panel suites that need the host (the emulator, the PNG renderer, a laid-out
// viewport, the designer flag, user-defined structs): panels made and kept for one test, their
// private widgets read through reflection, a Blueprint subclass whose events are recorded, and
// answers of the platform written as the platform writes them. The plug-in's automation tests have
// their own helpers in QuarnUI/Private/Tests.
#pragma once

#include "QuarnTest/EmulatorProcess.h"
#include "QuarnTest/PluginTestSupport.h"
#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/TextBlock.h"
#include "Engine/DataTable.h"
#include "Engine/GameInstance.h"
#include "Engine/Texture2D.h"
#include "Engine/World.h"
#include "Host/RuntimeTypes.h"
#include "Host/UMGHost.h"
#include "QuarnStashPanel.h"
#include "Tests/QuarnStashPanelWatcher.h"
#include "UObject/UnrealType.h"

namespace QuarnUITest
{
	using namespace QuarnTest;

	inline const FLinearColor ErrorColour(0.94f, 0.42f, 0.35f, 1.0f);

	/** A widget pointer the panel keeps in a private reflected property. */
	template<class T>
	T* Member(const UQuarnStashPanel* Panel, const TCHAR* Name)
	{
		const FObjectProperty* Property = FindFProperty<FObjectProperty>(UQuarnStashPanel::StaticClass(), Name);
		return Property ? Cast<T>(Property->GetObjectPropertyValue_InContainer(Panel)) : nullptr;
	}

	inline TArray<UWidget*> ItemWidgetsOf(const UQuarnStashPanel* Panel)
	{
		const FArrayProperty* Property = FindFProperty<FArrayProperty>(UQuarnStashPanel::StaticClass(), TEXT("ItemWidgets"));
		return Property ? *Property->ContainerPtrToValuePtr<TArray<UWidget*>>(Panel) : TArray<UWidget*>();
	}

	inline TArray<FQuarnItemInstance> ContentsOf(const UQuarnStashPanel* Panel)
	{
		const FArrayProperty* Property = FindFProperty<FArrayProperty>(UQuarnStashPanel::StaticClass(), TEXT("Contents"));
		return Property ? *Property->ContainerPtrToValuePtr<TArray<FQuarnItemInstance>>(Panel) : TArray<FQuarnItemInstance>();
	}

	inline FString StatusOf(const UQuarnStashPanel* Panel)
	{
		const UTextBlock* Status = Member<UTextBlock>(Panel, TEXT("StatusText"));
		return Status ? Status->GetText().ToString() : FString(TEXT("<no status widget>"));
	}

	inline FLinearColor StatusColourOf(const UQuarnStashPanel* Panel)
	{
		const UTextBlock* Status = Member<UTextBlock>(Panel, TEXT("StatusText"));
		return Status ? Status->GetColorAndOpacity().GetSpecifiedColor() : FLinearColor::Transparent;
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
	 * A Blueprint subclass of the panel whose three events write "Deposited <item> <quantity>
	 * <slot>", "Withdrawn <instance>" and "Transferred <instance>" into the watcher of the panel
	 * that fired them.
	 */
	UClass* RecordingPanelClass();

	/** The watcher a panel of RecordingPanelClass writes its events to. */
	TMap<const UObject*, UQuarnStashPanelWatcher*>& EventWatchers();

	/** Panels and watchers for one test, kept alive until its end, over a scripted transport. */
	class FPanelTest : public FClientTest
	{
	protected:
		virtual void SetUp() override;
		virtual void TearDown() override;

		/** A panel of the recording class that does not load by itself, watched, not yet constructed. */
		UQuarnStashPanel* MakePanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid);

		/** MakePanel, then its Slate widget: the tree is built and NativeConstruct has run. */
		UQuarnStashPanel* MakeBuiltPanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid);

		UQuarnStashPanelWatcher* WatcherOf(const UQuarnStashPanel* Panel) const;

		/** Lets the collector take a panel made here. */
		void Release(UQuarnStashPanel* Panel);

		/** Answers the sign-in and then the ensure, so that the panel is loaded. */
		void LoadWith(UQuarnStashPanel* Panel, const FString& Document, const FString& Token = TEXT("tok_1"));

		UGameInstance* GameInstance() const { return Engine().GetGameInstance(); }
		UWorld* World() const { return Engine().GetWorld(); }

		TArray<UQuarnStashPanel*> Panels;
		TArray<UQuarnStashPanelWatcher*> Watchers;
		bool bMadeViewport = false;
	};

	/** Over the emulator: real HTTP to a fresh emulator for each test. */
	class FEmulatorPanelTest : public FPanelTest
	{
	protected:
		virtual void SetUp() override;
		virtual void TearDown() override;

		/** Loads the panel from the emulator and waits for the draw; false on a failure. */
		bool LoadAndWait(UQuarnStashPanel* Panel);

		/** Waits until the watcher has Count more "Loaded" lines than Before. */
		bool WaitForLoads(UQuarnStashPanel* Panel, int32 Before, int32 Count = 1);

		EmulatorProcess Emulator;
	};
}
