// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DataTable.h"
#include "Engine/Texture2D.h"
#include "UObject/SoftObjectPtr.h"
#include "QuarnDemoItemRow.generated.h"

/** One item of the demo game's item table: the row name is the item id the platform stores. */
USTRUCT(BlueprintType)
struct QUARNDEMOTYPES_API FQuarnDemoItemRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = "Item")
	FText DisplayName;

	/** The art the stash panels draw for this item. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = "Item")
	TSoftObjectPtr<UTexture2D> Icon;
};
