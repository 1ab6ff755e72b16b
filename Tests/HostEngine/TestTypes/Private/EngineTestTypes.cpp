#include "EngineTestTypes.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"

TArray<FString>& EngineTestEvents()
{
	static TArray<FString> Events;
	return Events;
}

ATestActor::ATestActor()
{
	PrimaryActorTick.bCanEverTick = false;
}

void ATestActor::BeginPlay()
{
	Super::BeginPlay();
	EngineTestEvents().Add(FString::Printf(TEXT("BeginPlay:%s"), *GetName()));
}

void ATestActor::EndPlay(const EEndPlayReason::Type EndPlayReason)
{
	EngineTestEvents().Add(FString::Printf(TEXT("EndPlay:%s"), *GetName()));
	Super::EndPlay(EndPlayReason);
}

void ATestActor::Tick(float DeltaSeconds)
{
	Super::Tick(DeltaSeconds);
	++TickCount;
	TickedSeconds += DeltaSeconds;
}

void ATestActor::HandlePing(int32 Value)
{
	++PingCalls;
	PingTotal += Value;
}

void ATestActor::ResetCounters()
{
	PingCalls = 0;
	PingTotal = 0;
	TickCount = 0;
	EngineTestEvents().Add(FString::Printf(TEXT("ResetCounters:%s"), *GetName()));
}

void ATestActor::AddToTotal(int32 Amount)
{
	PingTotal += Amount;
}

void ATestActor::NotForTheEditor()
{
	EngineTestEvents().Add(TEXT("NotForTheEditor"));
}

ATestTickingActor::ATestTickingActor()
{
	PrimaryActorTick.bCanEverTick = true;
}

UTestAsyncAction* UTestAsyncAction::StartTestAction(UObject* WorldContextObject)
{
	UTestAsyncAction* Action = NewObject<UTestAsyncAction>();
	Action->RegisterWithGameInstance(WorldContextObject);
	return Action;
}

void UTestAsyncAction::Activate()
{
	bActivated = true;
}

void UTestAsyncAction::Complete()
{
	SetReadyToDestroy();
}

void UTestGameInstanceSubsystem::Initialize(FSubsystemCollectionBase& Collection)
{
	Super::Initialize(Collection);
	bFoundItselfDuringInitialize = GetGameInstance() && GetGameInstance()->GetSubsystem<UTestGameInstanceSubsystem>() == this;
	bInitialized = true;
	EngineTestEvents().Add(TEXT("Subsystem.Initialize"));
}

void UTestGameInstanceSubsystem::Deinitialize()
{
	bInitialized = false;
	EngineTestEvents().Add(TEXT("Subsystem.Deinitialize"));
	Super::Deinitialize();
}
