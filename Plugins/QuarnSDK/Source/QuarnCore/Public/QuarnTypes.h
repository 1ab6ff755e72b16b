// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

#include "QuarnTypes.generated.h"

/** How a container arranges its stacks: a grid of cells, or a flat run of slots. */
UENUM(BlueprintType)
enum class EQuarnContainerLayout : uint8
{
	/** Items take up rectangles of cells, placed by column and row. */
	Grid = 0,
	/** Items sit in numbered slots of equal size. */
	Slots = 1,
};

/**
 * One stack of items as the platform stores it.
 *
 * The defaults describe "no place": a slot index and coordinates of -1, as the platform writes them
 * for the coordinate system a container does not use, so that a record built from a game's own
 * fields compares as the same place as the platform's copy of it.
 */
USTRUCT(BlueprintType)
struct QUARNCORE_API FQuarnItemInstance
{
	GENERATED_BODY()

	/** The platform's id of this stack. Empty for an item the platform has not seen yet. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString InstanceId;

	/** The catalogue id of the item, such as Bandage. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FName ItemId;

	/** How many units the stack holds. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 Quantity = 0;

	/** Slot of a slot container; -1 when the stack has no slot. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 SlotIndex = -1;

	/** Column of a grid container; -1 when the stack has no cell. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 X = -1;

	/** Row of a grid container; -1 when the stack has no cell. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 Y = -1;

	/** Width of the stack's footprint, in cells. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 GridW = 1;

	/** Height of the stack's footprint, in cells. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 GridH = 1;

	/** A named equipment slot, such as "head"; empty when the stack is not in one. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString SlotKey;

	/** Whether the stack lies rotated in its grid cells. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	bool bRotated = false;

	/** Wear of the item, as the game counts it. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	float Durability = 0.0f;
};

/** A container of one player: its identity, layout and stacks. */
USTRUCT(BlueprintType)
struct QUARNCORE_API FQuarnContainer
{
	GENERATED_BODY()

	/** The platform's id of the container. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString ContainerId;

	/** What the container is for, such as "stash"; one container per kind and player. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString Kind;

	/** The platform's name of the layout: "grid" or "slots". */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString Layout;

	/** The stacks, in the platform's order. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	TArray<FQuarnItemInstance> Items;
};

/** Why a request to the platform failed. A default error means success. */
USTRUCT(BlueprintType)
struct QUARNCORE_API FQuarnError
{
	GENERATED_BODY()

	/** HTTP status of the platform's answer; 0 when no answer arrived. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 HttpStatus = 0;

	/** A stable lower-case word naming the refusal, such as "version_conflict". */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString Code;

	/** What happened, in a sentence. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString Message;

	/** What to do about it; shown to players in place of the message when it is not empty. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString Hint;

	/** The platform's id of the request, for support. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString RequestId;

	/** Seconds the platform asked to be left alone before the next try (its Retry-After); 0 when it named none. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	float RetryAfterSeconds = 0.0f;
};

/** A player the platform has signed in. */
USTRUCT(BlueprintType)
struct QUARNCORE_API FQuarnPlayer
{
	GENERATED_BODY()

	/** The platform's id of the player. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString PlayerId;
};
