// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Subsystem.generated.h"

class FSubsystemCollectionBase;

/**
 * Subsystems are auto instanced classes that share the lifetime of certain engine constructs
 *
 *	Currently supported Subsystem lifetimes are:
 *		Engine		 -> inherit UEngineSubsystem
 *		Editor		 -> inherit UEditorSubsystem
 *		GameInstance -> inherit UGameInstanceSubsystem
 *		World		 -> inherit UWorldSubsystem
 *		LocalPlayer	 -> inherit ULocalPlayerSubsystem
 *
 *	Normal Example:
 *		class UMySystem : public UGameInstanceSubsystem
 *	Which can be accessed by:
 *		UGameInstance* GameInstance = ...;
 *		UMySystem* MySystem = GameInstance->GetSubsystem<UMySystem>();
 */
UCLASS(Abstract, MinimalAPI)
class USubsystem : public UObject
{
	GENERATED_BODY()

public:
	// Out of line, so that the class's virtual table stays in this module (the class is not
	// exported) while subclasses in other modules construct through it.
	ENGINE_API USubsystem(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Override to control if the Subsystem should be created at all. For example you could only have your system created on servers. It's important to note that if using this is becomes very important to null check whenever getting the Subsystem. */
	virtual bool ShouldCreateSubsystem(UObject* Outer) const { return true; }

	/** Implement this for initialization of instances of the system */
	virtual void Initialize(FSubsystemCollectionBase& Collection) {}

	/** Implement this for deinitialization of instances of the system */
	virtual void Deinitialize() {}

private:
	friend class FSubsystemCollectionBase;
	FSubsystemCollectionBase* InternalOwningSubsystem = nullptr;
};
