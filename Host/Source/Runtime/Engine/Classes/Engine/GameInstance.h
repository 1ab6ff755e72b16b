// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Templates/SubclassOf.h"
#include "Engine/NetworkDelegates.h"
#include "Subsystems/GameInstanceSubsystem.h"
#include "Subsystems/SubsystemCollection.h"
#include "GameInstance.generated.h"

class UEngine;
class UPackage;
class UWorld;
struct FWorldContext;

/**
 * GameInstance: high-level manager object for an instance of the running game.
 * Spawned at game creation and not destroyed until game instance is shut down.
 * Running as a standalone game, there will be one of these.
 */
UCLASS(config=Game, transient, BlueprintType, Blueprintable, MinimalAPI)
class UGameInstance : public UObject
{
	GENERATED_UCLASS_BODY()

protected:
	struct FWorldContext* WorldContext;

	/** List of objects that are being kept alive by this game instance. Stored as array for fast iteration, should not be modified every frame */
	UPROPERTY()
	TArray<TObjectPtr<UObject>> ReferencedObjects;

public:
	ENGINE_API UEngine* GetEngine() const;

	//~ Begin UObject Interface
	ENGINE_API virtual class UWorld* GetWorld() const final;
	ENGINE_API static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);
	//~ End UObject Interface

	/** virtual function to allow custom GameInstances an opportunity to set up what it needs */
	ENGINE_API virtual void Init();

	/** Opportunity for blueprints to handle the game instance being initialized. */
	UFUNCTION(BlueprintImplementableEvent, meta=(DisplayName="Init"))
	ENGINE_API void ReceiveInit();

	/** virtual function to allow custom GameInstances an opportunity to do cleanup when shutting down */
	ENGINE_API virtual void Shutdown();

	/** Opportunity for blueprints to handle the game instance being shutdown. */
	UFUNCTION(BlueprintImplementableEvent, meta=(DisplayName="Shutdown"))
	ENGINE_API void ReceiveShutdown();

	/** Creates the world context and a world with this game instance, then initializes the game instance. */
	ENGINE_API void InitializeStandalone(const FName InPackageName = NAME_None, UPackage* InWorldPackage = nullptr);

	/** Starts the game: the host has no maps to load, so play begins in the world made by InitializeStandalone. */
	ENGINE_API virtual void StartGameInstance();

	FWorldContext* GetWorldContext() const { return WorldContext; }

	/** Called on a server when a client asks for an encryption key; answers that there is none unless overridden. */
	ENGINE_API virtual void ReceivedNetworkEncryptionToken(const FString& EncryptionToken, const FOnEncryptionKeyResponse& Delegate);

	/** Called on a client when the server has acknowledged encryption; answers that there is none unless overridden. */
	ENGINE_API virtual void ReceivedNetworkEncryptionAck(const FOnEncryptionKeyResponse& Delegate);

	/** Called when a connecting client fails to set up encryption. */
	ENGINE_API virtual EEncryptionFailureAction ReceivedNetworkEncryptionFailure(UNetConnection* Connection);

	/** Adds an object to the list of objects kept alive by this game instance; adding it twice keeps one entry. */
	ENGINE_API virtual void RegisterReferencedObject(UObject* ObjectToReference);

	/** Removes an object from the list of objects kept alive by this game instance. */
	ENGINE_API virtual void UnregisterReferencedObject(UObject* ObjectToReference);

	/**
	 * Get a Subsystem of specified type
	 */
	UGameInstanceSubsystem* GetSubsystemBase(TSubclassOf<UGameInstanceSubsystem> SubsystemClass) const
	{
		return SubsystemCollection.GetSubsystem<UGameInstanceSubsystem>(SubsystemClass);
	}

	/**
	 * Get a Subsystem of specified type
	 */
	template <typename TSubsystemClass>
	TSubsystemClass* GetSubsystem() const
	{
		return SubsystemCollection.GetSubsystem<TSubsystemClass>(TSubsystemClass::StaticClass());
	}

	/**
	 * Get a Subsystem of specified type from the provided GameInstance
	 * returns nullptr if the Subsystem cannot be found or the GameInstance is null
	 */
	template <typename TSubsystemClass>
	static FORCEINLINE TSubsystemClass* GetSubsystem(const UGameInstance* GameInstance)
	{
		if (GameInstance)
		{
			return GameInstance->GetSubsystem<TSubsystemClass>();
		}
		return nullptr;
	}

	/**
	 * Get all Subsystem of specified type, this is only necessary for interfaces that can have multiple implementations instanced at a time.
	 *
	 * Do not hold onto this Array reference unless you are sure the lifetime is less than that of UGameInstance
	 */
	template <typename TSubsystemClass>
	const TArray<TSubsystemClass*>& GetSubsystemArray() const
	{
		return SubsystemCollection.GetSubsystemArray<TSubsystemClass>(TSubsystemClass::StaticClass());
	}

	/** Returns a copy of every Subsystem of the specified type. */
	template <typename TSubsystemClass>
	TArray<TSubsystemClass*> GetSubsystemArrayCopy() const
	{
		return SubsystemCollection.GetSubsystemArray<TSubsystemClass>(TSubsystemClass::StaticClass());
	}

	/** Calls Operation on every Subsystem of the specified type. */
	template <typename TSubsystemClass>
	void ForEachSubsystem(TFunctionRef<void(TSubsystemClass*)> Operation) const
	{
		for (TSubsystemClass* Subsystem : GetSubsystemArrayCopy<TSubsystemClass>())
		{
			Operation(Subsystem);
		}
	}

private:
	FObjectSubsystemCollection<UGameInstanceSubsystem> SubsystemCollection;
};
