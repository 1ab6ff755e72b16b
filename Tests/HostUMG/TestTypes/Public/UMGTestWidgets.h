// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "UMGTestWidgets.generated.h"

class UBorder;
class UCanvasPanel;
class UImage;
class USizeBox;
class UTextBlock;
class UTexture2D;
class UVerticalBox;

/**
 * A panel that builds its tree in code the first time its Slate widget is built:
 * a padded border around a column of a title and a fixed-size canvas holding one image.
 */
UCLASS()
class HOSTUMGTESTTYPES_API UHostTestPanel : public UUserWidget
{
	GENERATED_BODY()

public:
	UHostTestPanel(const FObjectInitializer& ObjectInitializer);

	UPROPERTY()
	TObjectPtr<UBorder> Root;

	UPROPERTY()
	TObjectPtr<UVerticalBox> Column;

	UPROPERTY()
	TObjectPtr<UTextBlock> Title;

	UPROPERTY()
	TObjectPtr<USizeBox> CanvasSizer;

	UPROPERTY()
	TObjectPtr<UCanvasPanel> Canvas;

	UPROPERTY()
	TObjectPtr<UImage> Swatch;

	/** Drawn into the canvas when set before the tree is built. */
	UPROPERTY()
	TObjectPtr<UTexture2D> SwatchTexture;

	int32 BuildCount = 0;
	int32 PreConstructCount = 0;
	int32 ConstructCount = 0;

protected:
	virtual TSharedRef<SWidget> RebuildWidget() override;
	virtual void NativePreConstruct() override;
	virtual void NativeConstruct() override;

private:
	void BuildTree();
};

/** Abstract: CreateWidget must refuse it. */
UCLASS(Abstract)
class HOSTUMGTESTTYPES_API UHostTestAbstractWidget : public UUserWidget
{
	GENERATED_BODY()

public:
	UHostTestAbstractWidget(const FObjectInitializer& ObjectInitializer);
};
