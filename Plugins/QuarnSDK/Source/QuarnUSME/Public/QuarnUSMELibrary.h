// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "QuarnTypes.h"
#include "QuarnUSMELibrary.generated.h"

/**
 * Converts between USME's S_InventoryItem and the platform's item instances.
 *
 * S_InventoryItem is a Blueprint user-defined struct, so native code cannot name its type; these
 * functions therefore take and return its fields individually: a graph does Break S_InventoryItem
 * into one node and Make S_InventoryItem out of the other. That keeps the fiddly, error-prone part,
 * the instance id hidden in the DataKeys/DataValues pair, in one tested place rather than copied
 * through every graph that touches an item.
 */
UCLASS()
class QUARNUSME_API UQuarnUSMELibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	static const FName InstanceIdKey;

	/** Builds a platform item instance from the fields of a USME S_InventoryItem. */
	UFUNCTION(BlueprintPure, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Item From USME Fields"))
	static FQuarnItemInstance MakeItemFromUSME(FName ID, int32 Amount, int32 CachedIndex, float Durability, const TArray<FName>& DataKeys, const TArray<FString>& DataValues);

	/**
	 * Splits a platform item instance back into USME's fields.
	 *
	 * The instance id is written into DataKeys/DataValues automatically, so the item that goes back
	 * into the template carries its identity with it.
	 */
	UFUNCTION(BlueprintPure, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Item To USME Fields"))
	static void BreakItemToUSME(const FQuarnItemInstance& Item, FName& ID, int32& Amount, int32& CachedIndex, float& Durability, TArray<FName>& DataKeys, TArray<FString>& DataValues);

	/** Reads the platform instance id out of a USME key/value pair. Empty when absent. */
	UFUNCTION(BlueprintPure, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Read Instance Id"))
	static FString ReadInstanceId(const TArray<FName>& DataKeys, const TArray<FString>& DataValues);

	/** Writes (or replaces) the platform instance id in a USME key/value pair. */
	UFUNCTION(BlueprintCallable, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Write Instance Id"))
	static void WriteInstanceId(UPARAM(ref) TArray<FName>& DataKeys, UPARAM(ref) TArray<FString>& DataValues, const FString& InstanceId);

	/**
	 * True for keys the platform reserves.
	 *
	 * Reserved keys are namespaced __qn so a game is free to use any other key without colliding with us.
	 */
	UFUNCTION(BlueprintPure, Category = "Velmora|USME")
	static bool IsReservedKey(FName Key);
};
