// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Templates/SharedPointer.h"
#include "QuarnTypes.h"
#include "QuarnStashPanel.generated.h"

class FJsonObject;
class FQuarnSession;
class UBorder;
class UCanvasPanel;
class UDataTable;
class USizeBox;
class UTextBlock;
class UTexture2D;
class UWidget;

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FQuarnStashLoaded, int32, StackCount);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FQuarnStashFailed, const FQuarnError&, Error);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_ThreeParams(FQuarnDepositAccepted, FName, ItemId, int32, Quantity, int32, SourceSlot);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FQuarnWithdrawAccepted, const FQuarnItemInstance&, Instance);

/**
 * A player's out-of-raid stash, drawn at the grid coordinates the platform stores.
 *
 * The entire widget tree is built in code, so a customer adds one widget to a menu and it works,
 * instead of having to name a canvas panel StashCanvas correctly by hand. Everything worth
 * restyling is an exposed property, and a Blueprint subclass can override anything. Icons come from
 * the project's own data table and not from the platform: the platform keeps only a small thumbnail
 * for its dashboard, while the game already has the real art.
 */
UCLASS(meta = (DisplayName = "Velmora Stash Panel"))
class QUARNUI_API UQuarnStashPanel : public UUserWidget
{
	GENERATED_BODY()

public:
	UQuarnStashPanel(const FObjectInitializer& ObjectInitializer);

	UPROPERTY(BlueprintAssignable, Category = "Velmora")
	FQuarnStashLoaded OnStashLoaded;

	UPROPERTY(BlueprintAssignable, Category = "Velmora")
	FQuarnStashFailed OnStashFailed;

	/**
	 * The platform accepted a deposit. Remove the item from the character now.
	 *
	 * This fires only after the server has the item: taking it locally first and pushing afterwards
	 * would lose the item outright if the push failed, whereas this order risks at worst a duplicate
	 * that a resync corrects.
	 */
	UPROPERTY(BlueprintAssignable, Category = "Velmora")
	FQuarnDepositAccepted OnDepositAccepted;

	/** The platform released an item. Put it into the character's inventory now. */
	UPROPERTY(BlueprintAssignable, Category = "Velmora")
	FQuarnWithdrawAccepted OnWithdrawAccepted;

	/** A stack moved into this panel from another one. */
	UPROPERTY(BlueprintAssignable, Category = "Velmora")
	FQuarnWithdrawAccepted OnTransferAccepted;

	/** Loads as soon as the widget is constructed. Turn off to drive it yourself. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	bool bLoadOnConstruct = true;

	/**
	 * Identity provider. `anonymous` is refused on production environments, so a shipping game sets
	 * this to `steam` and supplies a real ticket.
	 */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Identity")
	FString Provider = TEXT("anonymous");

	/** For `anonymous`, simply the identifier to claim. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Identity")
	FString Ticket = TEXT("menu_preview");

	/**
	 * Use the player the game signed in with Quarn - Authenticate Player instead of signing in with
	 * Provider and Ticket. The panel then takes that player's id and token from its game instance's
	 * Quarn subsystem, an expired token is renewed by the game's session, and the panel never signs
	 * in by itself. Load Stash is refused while no player, or more than one, is signed in there.
	 */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Identity")
	bool bUseGameSession = false;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Container")
	FString ContainerKind = TEXT("stash");

	/**
	 * Match this to the inventory the game already has. The USME template and most games whose
	 * inventory is a flat run of equal squares are `Slots`; games whose items take up rectangles of
	 * cells are `Grid`. Getting it wrong is not subtle: the container is created with this layout,
	 * and a grid container has no slot indices for a slot-based display to draw.
	 */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Container")
	EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Container", meta = (ClampMin = "1", EditCondition = "Layout == EQuarnContainerLayout::Grid", EditConditionHides))
	int32 GridWidth = 10;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Container", meta = (ClampMin = "1", EditCondition = "Layout == EQuarnContainerLayout::Grid", EditConditionHides))
	int32 GridHeight = 8;

	/** Slots only: how many squares the container holds. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Container", meta = (ClampMin = "1", EditCondition = "Layout == EQuarnContainerLayout::Slots", EditConditionHides))
	int32 SlotCount = 24;

	/**
	 * Slots only: how many to draw per row. Purely visual: the container is a flat list either way,
	 * so changing it rearranges the panel without touching a single item.
	 */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Container", meta = (ClampMin = "1", EditCondition = "Layout == EQuarnContainerLayout::Slots", EditConditionHides))
	int32 SlotColumns = 6;

	/** Pixels per grid cell before layout scaling. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Appearance", meta = (ClampMin = "16"))
	float CellSize = 64.0f;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Appearance")
	FLinearColor PanelColour = FLinearColor(0.055f, 0.086f, 0.098f, 0.94f);

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Appearance")
	FLinearColor CellColour = FLinearColor(1.0f, 1.0f, 1.0f, 0.04f);

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Appearance")
	FLinearColor AccentColour = FLinearColor(0.94f, 0.64f, 0.19f, 1.0f);

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora|Appearance")
	FText Title = NSLOCTEXT("Velmora", "StashTitle", "STASH");

	/**
	 * Signs the player in, ensures their stash exists, and draws it.
	 *
	 * Safe to call again: a second call replaces what is drawn rather than stacking a second grid on
	 * top of the first.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora")
	void LoadStash();

	/** True once a player is signed in and their stash has been read. */
	UFUNCTION(BlueprintPure, Category = "Velmora")
	bool IsReady() const;

	/** Draws a stash already in hand, for a caller doing its own auth. */
	UFUNCTION(BlueprintCallable, Category = "Velmora")
	void ShowContainer(const FQuarnContainer& Container);

	/**
	 * Puts an item into the stash, then asks the game to remove its own copy.
	 *
	 * Pass -1 for X and Y to let the server place it in the first space that fits. Naming a cell asks
	 * for that cell and is refused if it is occupied, which is what a player dropping an item onto a
	 * square means.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora")
	void DepositItem(FName ItemId, int32 Quantity = 1, int32 X = -1, int32 Y = -1, int32 SourceSlot = -1);

	/** Takes an item out of the stash, then asks the game to add it. */
	UFUNCTION(BlueprintCallable, Category = "Velmora")
	void WithdrawInstance(const FQuarnItemInstance& Instance);

	/**
	 * Moves a stack out of another panel into this one.
	 *
	 * Both panels show containers of the same player, so this is a single move on the server rather
	 * than a withdraw followed by a deposit: two calls would leave the item nowhere if the second one
	 * failed, and no game inventory holds it in between. This is what a loadout-and-stash screen is
	 * made of, and nothing in it is specific to a game template, since neither container belongs to
	 * the game.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora")
	void TransferFrom(UQuarnStashPanel* Source, const FQuarnItemInstance& Instance, int32 X = -1, int32 Y = -1);

	/** The grid cell under a screen position, for a UI placing something where the player let go. */
	UFUNCTION(BlueprintPure, Category = "Velmora")
	bool CellAtScreenPosition(const FVector2D& ScreenPosition, int32& OutX, int32& OutY) const;

	/** The stack under a screen position, for a UI picking one up. */
	UFUNCTION(BlueprintPure, Category = "Velmora")
	bool InstanceAtScreenPosition(const FVector2D& ScreenPosition, FQuarnItemInstance& OutInstance) const;

	/**
	 * The platform accepted a deposit: remove the game's own copy now. The same moment as
	 * OnDepositAccepted, offered as an overridable event because a subclass binding to its own
	 * delegate is ceremony. SourceSlot is whatever was passed to DepositItem, handed back so that the
	 * subclass need not remember what it sent.
	 */
	UFUNCTION(BlueprintImplementableEvent, Category = "Velmora|Interaction")
	void OnDeposited(FName ItemId, int32 Quantity, int32 SourceSlot);

	/** The platform released an item; the game must now take ownership of it. */
	UFUNCTION(BlueprintImplementableEvent, Category = "Velmora|Interaction")
	void OnWithdrawn(const FQuarnItemInstance& Instance);

	/**
	 * A stack arrived from another panel, and both panels have already refreshed. Nothing is owed
	 * here: the item never left the platform, so this is a notification, unlike OnWithdrawn.
	 */
	UFUNCTION(BlueprintImplementableEvent, Category = "Velmora|Interaction")
	void OnTransferred(const FQuarnItemInstance& Instance);

protected:
	virtual void NativeConstruct() override;
	virtual TSharedRef<SWidget> RebuildWidget() override;

private:
	void BuildTree();
	void DrawGrid(int32 Columns, int32 Rows, int32 CellCount);
	void SetStatus(const FText& Text, bool bIsError);
	void DrawItems(const FQuarnContainer& Container);
	void ClearItems();
	UTexture2D* FindIcon(const FString& ItemId) const;
	int32 SlotIndexAt(int32 X, int32 Y) const;
	bool LayOutForDisplay(FQuarnContainer& Container) const;
	void Reload();

	void HandleSignIn(int32 Serial, bool bOk, const TSharedPtr<FJsonObject>& Json, const FQuarnError& Error);
	void ShowFailure(const FQuarnError& Error);
	void StartSession(const TSharedPtr<FJsonObject>& SignInAnswer);
	/** Shows "Loading stash…" and sends the ensure for the load Serial with AccessToken. */
	void RequestContainer(int32 Serial);
	/** LoadStash with bUseGameSession: the ensure with the game's token, or a refusal. */
	void LoadWithGameSession();
	/**
	 * With bUseGameSession, before an operation: AccessToken becomes the token the game's session
	 * holds for PlayerId now, or empty once that session has ended.
	 */
	void FollowGameSession();

	UPROPERTY(meta = (EditInline = "true"))
	UBorder* Root = nullptr;

	/**
	 * Holds the grid at an explicit size. A canvas panel reports no desired size, so a panel built on
	 * one vanishes inside any parent that asks its children how big they are (an overlay, a vertical
	 * box, most menus); the size box is what makes the widget work wherever somebody drops it.
	 */
	UPROPERTY(meta = (EditInline = "true"))
	USizeBox* GridSizer = nullptr;

	UPROPERTY(meta = (EditInline = "true"))
	UCanvasPanel* GridCanvas = nullptr;

	UPROPERTY(meta = (EditInline = "true"))
	UBorder* GridFrame = nullptr;

	UPROPERTY(meta = (EditInline = "true"))
	UTextBlock* TitleText = nullptr;

	UPROPERTY(meta = (EditInline = "true"))
	UTextBlock* StatusText = nullptr;

	/** Widgets drawn for the current contents, cleared before a redraw. */
	UPROPERTY(meta = (EditInline = "true"))
	TArray<UWidget*> ItemWidgets;

	UPROPERTY()
	UDataTable* ItemTable = nullptr;

	FString PlayerId;
	FString AccessToken;
	FString ContainerId;

	/**
	 * Renews AccessToken with Provider and Ticket when it expires; created by the first sign-in.
	 * Null while the panel uses the game's session, which renews the token instead.
	 */
	TSharedPtr<FQuarnSession> Session;

	/** The contents as last read, so a hit test does not have to re-parse widgets. */
	UPROPERTY()
	TArray<FQuarnItemInstance> Contents;

	bool bLoading = false;
	/**
	 * Counts the loads started. Only the newest load's answers are applied: an operation's reload
	 * may overtake a load in flight, and answers need not come back in the order they were asked.
	 */
	int32 LoadSerial = 0;
	bool bShowingSlots = false;
	int32 DrawnColumns = 1;
};
