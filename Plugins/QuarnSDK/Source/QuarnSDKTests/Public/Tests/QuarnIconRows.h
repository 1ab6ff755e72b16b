// Copyright Quarn. All Rights Reserved.

// Item table rows for the panel's icon tests. Reflected types cannot sit inside
// WITH_DEV_AUTOMATION_TESTS (the header tool refuses them there), so these small structs are
// compiled in every configuration. Public, with the module's API, because the picture suite uses
// them as well.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DataTable.h"
#include "Engine/Texture2D.h"
#include "UObject/SoftObjectPtr.h"
#include "QuarnIconRows.generated.h"

/** An item table row as most projects write one: a name and a soft icon reference. */
USTRUCT(BlueprintType)
struct QUARNUI_API FQuarnTestIconRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	FString DisplayName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	TSoftObjectPtr<UTexture2D> Item_Icon;
};

/** An icon-named column that holds text comes before the real picture. */
USTRUCT(BlueprintType)
struct QUARNUI_API FQuarnTestTextFirstRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	FString Icon;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	TObjectPtr<UTexture2D> Thumbnail;
};

/** Two picture columns: the first one decides even when it is empty. */
USTRUCT(BlueprintType)
struct QUARNUI_API FQuarnTestTwoPictureRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	TObjectPtr<UTexture2D> Icon;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	TObjectPtr<UTexture2D> Image;
};

/** A base row with a picture column, for field order across inheritance. */
USTRUCT(BlueprintType)
struct QUARNUI_API FQuarnTestBaseIconRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	TObjectPtr<UTexture2D> Icon;
};

/** Its own picture column (of any object) comes before the inherited one in the engine's field order. */
USTRUCT(BlueprintType)
struct QUARNUI_API FQuarnTestDerivedIconRow : public FQuarnTestBaseIconRow
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Test")
	TObjectPtr<UObject> Image;
};
