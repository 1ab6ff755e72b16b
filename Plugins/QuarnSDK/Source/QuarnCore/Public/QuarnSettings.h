// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "UObject/SoftObjectPtr.h"
#include "QuarnSettings.generated.h"

class UDataTable;

/**
 * Project-wide settings of the Quarn SDK, under Project Settings > Plugins > Quarn SDK, saved to
 * the project's DefaultGame.ini.
 */
UCLASS(config = Game, defaultconfig, meta = (DisplayName = "Quarn SDK"))
class QUARNCORE_API UQuarnSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	/** The settings as the project configured them. */
	static const UQuarnSettings* Get();

	/**
	 * Where the Velmora platform answers, for example https://api.example.com. For the local
	 * emulator, the address it prints when it starts.
	 */
	UPROPERTY(config, EditAnywhere, BlueprintReadOnly, Category = "Velmora|Service")
	FString BaseUrl;

	/**
	 * Allows a plain-HTTP address that is not on this machine. Access tokens would then cross the
	 * network unencrypted, so leave it off outside a development network. Has no effect in
	 * Shipping builds, which say so once in the log when it is set.
	 */
	UPROPERTY(config, EditAnywhere, BlueprintReadOnly, Category = "Velmora|Service")
	bool bAllowInsecureHttp = false;

	/** Seconds a request may take before it fails with "timeout". */
	UPROPERTY(config, EditAnywhere, BlueprintReadOnly, Category = "Velmora|Service", meta = (ClampMin = "1", UIMin = "1"))
	float RequestTimeoutSeconds = 10.0f;

	/**
	 * How many times in a row Velmora - Keep Container In Sync tries a container again after the
	 * platform did not answer, failed (5xx) or asked it to slow down (429), before it stops that
	 * container and says why. 0 keeps trying, with growing waits, for as long as the game runs.
	 */
	UPROPERTY(config, EditAnywhere, BlueprintReadOnly, Category = "Velmora|Service", meta = (ClampMin = "0", UIMin = "0"))
	int32 SyncRetryLimit = 0;

	/**
	 * The project's item data table. Stash panels draw a stack with the texture found in the
	 * row named like the item id (a column called Icon, ItemIcon, Thumbnail or Image).
	 */
	UPROPERTY(config, EditAnywhere, BlueprintReadOnly, Category = "Velmora|Appearance")
	TSoftObjectPtr<UDataTable> ItemIconTable;

	virtual FName GetCategoryName() const override;
};
