// Copyright Quarn. All Rights Reserved.

#include "UMGTestSupport.h"
#include "UMGTestWidgets.h"
#include "Blueprint/GameViewportSubsystem.h"
#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/CanvasPanel.h"
#include "Components/Image.h"
#include "UObject/WeakObjectPtr.h"
#include "UObject/GarbageCollection.h"

namespace
{
	int32 CountTreeWidgets(const UUserWidget& Widget)
	{
		int32 Count = 0;
		Widget.WidgetTree->ForEachWidget([&Count](UWidget*) { ++Count; });
		return Count;
	}
}

using HostUMGTree = UMGTest::FEngineFixture;

TEST_F(HostUMGTree, RebuildingTheSlateWidgetReusesTheTreeAndConstructsAgain)
{
	UHostTestPanel* Panel = CreateWidget<UHostTestPanel>(GameInstance);
	ASSERT_NE(Panel, nullptr);
	EXPECT_EQ(Panel->BuildCount, 0);

	const TSharedRef<SWidget> First = Panel->TakeWidget();
	EXPECT_EQ(Panel->BuildCount, 1);
	EXPECT_EQ(Panel->PreConstructCount, 1);
	EXPECT_EQ(Panel->ConstructCount, 1);
	UBorder* const FirstRoot = Panel->Root;
	const int32 WidgetCount = CountTreeWidgets(*Panel);
	EXPECT_EQ(WidgetCount, 6);

	// A second take while the Slate widget lives returns it without rebuilding.
	EXPECT_EQ(&Panel->TakeWidget().Get(), &First.Get());
	EXPECT_EQ(Panel->ConstructCount, 1);

	// Released and taken again: RebuildWidget runs again, the tree is kept, Construct runs again.
	Panel->ReleaseSlateResources(true);
	const TSharedRef<SWidget> Second = Panel->TakeWidget();
	EXPECT_NE(&Second.Get(), &First.Get());
	EXPECT_EQ(Panel->BuildCount, 1);
	EXPECT_EQ(Panel->ConstructCount, 2);
	EXPECT_EQ(Panel->PreConstructCount, 2);
	EXPECT_EQ(Panel->Root, FirstRoot);
	EXPECT_EQ(CountTreeWidgets(*Panel), WidgetCount);
	EXPECT_EQ(Panel->GetRootWidget(), FirstRoot);
	EXPECT_EQ(Panel->GetWidgetFromName(TEXT("Canvas")), Panel->Canvas);
}

TEST_F(HostUMGTree, DesignTimeSkipsConstructUnlessPreConstructIsAskedFor)
{
	UHostTestPanel* Designed = CreateWidget<UHostTestPanel>(GameInstance);
	UE::Host::SetDesignerFlags(Designed, EWidgetDesignFlags::Designing);
	EXPECT_TRUE(Designed->IsDesignTime());
	Designed->TakeWidget();
	EXPECT_EQ(Designed->ConstructCount, 0);
	EXPECT_EQ(Designed->PreConstructCount, 0);
	// The tree built in RebuildWidget takes the designer flags when they are set again.
	UE::Host::SetDesignerFlags(Designed, EWidgetDesignFlags::Designing);
	EXPECT_TRUE(Designed->Swatch->IsDesignTime());

	UHostTestPanel* Previewed = CreateWidget<UHostTestPanel>(GameInstance);
	UE::Host::SetDesignerFlags(Previewed, EWidgetDesignFlags::Designing | EWidgetDesignFlags::ExecutePreConstruct);
	Previewed->TakeWidget();
	EXPECT_EQ(Previewed->PreConstructCount, 1);
	EXPECT_EQ(Previewed->ConstructCount, 0);

	UHostTestPanel* Game = CreateWidget<UHostTestPanel>(GameInstance);
	EXPECT_FALSE(Game->IsDesignTime());
}

TEST_F(HostUMGTree, CreateWidgetRefusesAbstractAndNullClassesAndPicksTheOuterFromTheOwner)
{
	EXPECT_EQ(CreateWidget<UUserWidget>(GameInstance, UHostTestAbstractWidget::StaticClass()), nullptr);
	EXPECT_EQ(CreateWidget<UUserWidget>(GameInstance, UUserWidget::StaticClass()), nullptr);
	EXPECT_EQ(CreateWidget<UUserWidget>(GameInstance, TSubclassOf<UUserWidget>()), nullptr);
	EXPECT_EQ(CreateWidget<UHostTestPanel>(static_cast<UGameInstance*>(nullptr)), nullptr);

	UHostTestPanel* const FromGameInstance = CreateWidget<UHostTestPanel>(GameInstance, UHostTestPanel::StaticClass(), TEXT("Outer"));
	ASSERT_NE(FromGameInstance, nullptr);
	EXPECT_EQ(FromGameInstance->GetOuter(), GameInstance);
	EXPECT_EQ(FromGameInstance->GetFName(), FName(TEXT("Outer")));
	EXPECT_EQ(FromGameInstance->GetWorld(), World);
	ASSERT_NE(FromGameInstance->WidgetTree, nullptr);
	EXPECT_EQ(FromGameInstance->WidgetTree->GetOuter(), FromGameInstance);

	// Made from the world: the world's game instance is the outer.
	UHostTestPanel* const FromWorld = CreateWidget<UHostTestPanel>(World);
	EXPECT_EQ(FromWorld->GetOuter(), GameInstance);

	// Made from a widget of a tree: the owning user widget's tree is the outer.
	FromGameInstance->TakeWidget();
	UHostTestPanel* const Nested = CreateWidget<UHostTestPanel>(FromGameInstance->Swatch);
	ASSERT_NE(Nested, nullptr);
	EXPECT_EQ(Nested->GetOuter(), FromGameInstance->WidgetTree);
	EXPECT_EQ(Nested->GetWorld(), World);

	// Constructing a user widget class through a tree goes through CreateWidget.
	UHostTestPanel* const Constructed = FromGameInstance->WidgetTree->ConstructWidget<UHostTestPanel>();
	ASSERT_NE(Constructed, nullptr);
	EXPECT_EQ(Constructed->GetOuter(), FromGameInstance->WidgetTree);
	EXPECT_NE(Constructed->WidgetTree, nullptr);
}

TEST_F(HostUMGTree, TheCollectorKeepsAShownTreeAndFreesItOnceRemoved)
{
	UHostTestPanel* Panel = CreateWidget<UHostTestPanel>(GameInstance);
	ASSERT_NE(UE::Host::CreateGameViewport(World, FVector2D(200.0, 160.0)), nullptr);
	Panel->AddToViewport();
	ASSERT_TRUE(UGameViewportSubsystem::Get()->IsWidgetAdded(Panel));

	// Held only by a canvas slot: no member of the panel points at it.
	UImage* const SlotOnly = Panel->WidgetTree->ConstructWidget<UImage>();
	Panel->Canvas->AddChildToCanvas(SlotOnly);
	// Made in the tree but never added anywhere.
	UImage* const Orphan = Panel->WidgetTree->ConstructWidget<UImage>();

	const TWeakObjectPtr<UHostTestPanel> WeakPanel(Panel);
	const TWeakObjectPtr<UBorder> WeakRoot(Panel->Root.Get());
	const TWeakObjectPtr<UImage> WeakSlotOnly(SlotOnly);
	const TWeakObjectPtr<UImage> WeakOrphan(Orphan);
	const TWeakObjectPtr<UWidgetTree> WeakTree(Panel->WidgetTree.Get());
	Panel = nullptr;

	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_TRUE(WeakPanel.IsValid());
	EXPECT_TRUE(WeakRoot.IsValid());
	EXPECT_TRUE(WeakSlotOnly.IsValid());
	EXPECT_TRUE(WeakTree.IsValid());
	EXPECT_FALSE(WeakOrphan.IsValid());

	WeakPanel->RemoveFromParent();
	EXPECT_FALSE(UGameViewportSubsystem::Get()->IsWidgetAdded(WeakPanel.Get()));
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_FALSE(WeakPanel.IsValid());
	EXPECT_FALSE(WeakRoot.IsValid());
	EXPECT_FALSE(WeakSlotOnly.IsValid());
	EXPECT_FALSE(WeakTree.IsValid());
}

TEST_F(HostUMGTree, RemovingAWidgetFromItsParentDetachesItsSlot)
{
	UHostTestPanel* Panel = CreateWidget<UHostTestPanel>(GameInstance);
	Panel->TakeWidget();
	UImage* const Swatch = Panel->Swatch;
	ASSERT_EQ(Swatch->GetParent(), Panel->Canvas);
	EXPECT_EQ(Panel->Canvas->GetChildrenCount(), 1);

	Swatch->RemoveFromParent();
	EXPECT_EQ(Swatch->GetParent(), nullptr);
	EXPECT_EQ(Swatch->Slot, nullptr);
	EXPECT_EQ(Panel->Canvas->GetChildrenCount(), 0);
	// Removing again is harmless.
	Swatch->RemoveFromParent();
	EXPECT_EQ(Panel->Canvas->GetChildrenCount(), 0);
}
