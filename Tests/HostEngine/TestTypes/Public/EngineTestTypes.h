// Reflected types the engine tests drive: actors, an async action, subsystems, settings and rows.
#pragma once

#include "CoreMinimal.h"
#include "Engine/DataTable.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/Texture2D.h"
#include "GameFramework/Actor.h"
#include "Kismet/BlueprintAsyncActionBase.h"
#include "Subsystems/GameInstanceSubsystem.h"
#include "UObject/SoftObjectPtr.h"
#include "EngineTestTypes.generated.h"

// What the test types did, in order ("BeginPlay:Name", "Tick:Name", ...); tests reset it.
HOSTENGINETESTTYPES_API TArray<FString>& EngineTestEvents();

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FTestPingSignature, int32, Value);

/** Broadcasts a dynamic multicast delegate that actors bind to. */
UCLASS()
class HOSTENGINETESTTYPES_API UTestBroadcaster : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(BlueprintAssignable, Category="Test")
	FTestPingSignature OnPing;
};

/** An actor that records its play events and optionally ticks. */
UCLASS()
class HOSTENGINETESTTYPES_API ATestActor : public AActor
{
	GENERATED_BODY()

public:
	ATestActor();

	UFUNCTION()
	void HandlePing(int32 Value);

	UFUNCTION(CallInEditor, Category="Test")
	void ResetCounters();

	UFUNCTION(CallInEditor, Category="Test")
	void AddToTotal(int32 Amount);

	UFUNCTION(BlueprintCallable, Category="Test")
	void NotForTheEditor();

	int32 PingTotal = 0;
	int32 PingCalls = 0;
	int32 TickCount = 0;
	float TickedSeconds = 0.0f;

	virtual void Tick(float DeltaSeconds) override;

protected:
	virtual void BeginPlay() override;
	virtual void EndPlay(const EEndPlayReason::Type EndPlayReason) override;
};

/** The same actor, with ticking turned on. */
UCLASS()
class HOSTENGINETESTTYPES_API ATestTickingActor : public ATestActor
{
	GENERATED_BODY()

public:
	ATestTickingActor();
};

/** An async action as a plug-in writes one: a static factory, Activate, and a completion. */
UCLASS()
class HOSTENGINETESTTYPES_API UTestAsyncAction : public UBlueprintAsyncActionBase
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category="Test", meta=(BlueprintInternalUseOnly="true", WorldContext="WorldContextObject"))
	static UTestAsyncAction* StartTestAction(UObject* WorldContextObject);

	virtual void Activate() override;

	/** Ends the action: it asks to be destroyed. */
	void Complete();

	bool bActivated = false;
};

/** A subsystem created for every game instance. */
UCLASS()
class HOSTENGINETESTTYPES_API UTestGameInstanceSubsystem : public UGameInstanceSubsystem
{
	GENERATED_BODY()

public:
	virtual void Initialize(FSubsystemCollectionBase& Collection) override;
	virtual void Deinitialize() override;

	/** Whether GetSubsystem found this subsystem from inside its own Initialize. */
	bool bFoundItselfDuringInitialize = false;
	bool bInitialized = false;
};

/** Abstract: never created. */
UCLASS(Abstract)
class HOSTENGINETESTTYPES_API UTestAbstractSubsystem : public UGameInstanceSubsystem
{
	GENERATED_BODY()
};

/** A concrete subclass of the abstract one: created, and found through its base class. */
UCLASS()
class HOSTENGINETESTTYPES_API UTestConcreteSubsystem : public UTestAbstractSubsystem
{
	GENERATED_BODY()
};

/** Declines to be created. */
UCLASS()
class HOSTENGINETESTTYPES_API UTestDeclinedSubsystem : public UGameInstanceSubsystem
{
	GENERATED_BODY()

public:
	virtual bool ShouldCreateSubsystem(UObject* Outer) const override { return false; }
};

/** Project settings read from DefaultGame.ini. */
UCLASS(config=Game, defaultconfig, meta=(DisplayName="Engine Test Settings"))
class HOSTENGINETESTTYPES_API UTestEngineSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category="Test")
	int32 MaxStacks = 1;

	UPROPERTY(config, EditAnywhere, Category="Test")
	FString Endpoint;

	UPROPERTY(config, EditAnywhere, Category="Test")
	TArray<FString> Regions;

	UPROPERTY(config, EditAnywhere, Category="Test")
	TSoftObjectPtr<UTexture2D> DefaultIcon;

	UPROPERTY(EditAnywhere, Category="Test")
	int32 NotFromConfig = 3;
};

/** A data table row as a plug-in declares one. */
USTRUCT(BlueprintType)
struct HOSTENGINETESTTYPES_API FTestItemRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Test")
	FString DisplayName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Test")
	int32 Weight = 0;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Test")
	TObjectPtr<UObject> Payload;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Test")
	TSoftObjectPtr<UTexture2D> Icon;
};

/** A row struct that is not FTestItemRow, for type checks. */
USTRUCT(BlueprintType)
struct HOSTENGINETESTTYPES_API FTestOtherRow : public FTableRowBase
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category="Test")
	int32 Other = 0;
};
