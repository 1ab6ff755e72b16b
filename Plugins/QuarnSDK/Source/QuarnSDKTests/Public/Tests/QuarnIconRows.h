// Copyright Quarn. All Rights Reserved.

// Item table rows for the panel's icon tests, in the plug-in's test module, which is built only
// where development tools are (the editor and Development targets), never for Test or Shipping.
// Not Blueprint types, so no graph offers them. Rows must derive from FTableRowBase, and the
// editor's Data Table picker offers every loaded one: "Test" in each name and the module's
// /Script/QuarnSDKTests package tell a designer what they are. Public, with the module's API,
// because the picture suite uses them as well.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DataTable.h"
#include "Engine/Texture2D.h"
#include "UObject/SoftObjectPtr.h"
#include "QuarnIconRows.generated.h"

/** An item table row as most projects write one: a name and a soft icon reference. */
USTRUCT()
struct QUARNSDKTESTS_API FQuarnTestIconRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "Test")
	FString DisplayName;

	UPROPERTY(EditAnywhere, Category = "Test")
	TSoftObjectPtr<UTexture2D> Item_Icon;
};

/** An icon-named column that holds text comes before the real picture. */
USTRUCT()
struct QUARNSDKTESTS_API FQuarnTestTextFirstRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "Test")
	FString Icon;

	UPROPERTY(EditAnywhere, Category = "Test")
	TObjectPtr<UTexture2D> Thumbnail;
};

/** Two picture columns: the first one decides even when it is empty. */
USTRUCT()
struct QUARNSDKTESTS_API FQuarnTestTwoPictureRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "Test")
	TObjectPtr<UTexture2D> Icon;

	UPROPERTY(EditAnywhere, Category = "Test")
	TObjectPtr<UTexture2D> Image;
};

/** A base row with a picture column, for field order across inheritance. */
USTRUCT()
struct QUARNSDKTESTS_API FQuarnTestBaseIconRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "Test")
	TObjectPtr<UTexture2D> Icon;
};

/** Its own picture column (of any object) comes before the inherited one in the engine's field order. */
USTRUCT()
struct QUARNSDKTESTS_API FQuarnTestDerivedIconRow : public FQuarnTestBaseIconRow
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "Test")
	TObjectPtr<UObject> Image;
};
