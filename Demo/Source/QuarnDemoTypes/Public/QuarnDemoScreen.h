// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "QuarnDemoScreen.generated.h"

class UCanvasPanel;
class UQuarnStashPanel;
class UTextBlock;

/**
 * The demo game's stash screen: a 10 x 8 grid stash on the left and a 24-slot loadout on the
 * right, both of one player, with a heading and a caption line for what is happening.
 */
UCLASS()
class QUARNDEMOTYPES_API UQuarnDemoScreen : public UUserWidget
{
	GENERATED_BODY()

public:
	/** Sign-in ticket both panels use, so that they show containers of the same player. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Demo")
	FString Ticket = TEXT("demo_player");

	UQuarnStashPanel* GetStash() const { return Stash; }
	UQuarnStashPanel* GetLoadout() const { return Loadout; }

	void SetCaption(const FText& Text);

protected:
	virtual TSharedRef<SWidget> RebuildWidget() override;

private:
	void BuildTree();

	UPROPERTY()
	TObjectPtr<UCanvasPanel> Layout;

	UPROPERTY()
	TObjectPtr<UTextBlock> Caption;

	UPROPERTY()
	TObjectPtr<UQuarnStashPanel> Stash;

	UPROPERTY()
	TObjectPtr<UQuarnStashPanel> Loadout;
};
