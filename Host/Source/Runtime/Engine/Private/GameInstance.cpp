// Copyright Quarn. All Rights Reserved.

#include "Engine/GameInstance.h"
#include "Engine/Engine.h"
#include "Engine/World.h"
#include "UObject/WeakObjectPtr.h"

UGameInstance::UGameInstance(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, WorldContext(nullptr)
{
}

UEngine* UGameInstance::GetEngine() const
{
	return CastChecked<UEngine>(GetOuter());
}

UWorld* UGameInstance::GetWorld() const
{
	return WorldContext ? WorldContext->World() : nullptr;
}

void UGameInstance::Init()
{
	ReceiveInit();

	// The encryption hand-shake has one handler per process: the newest game instance takes it over.
	FNetDelegates::OnReceivedNetworkEncryptionToken.BindUObject(this, &ThisClass::ReceivedNetworkEncryptionToken);
	FNetDelegates::OnReceivedNetworkEncryptionAck.BindUObject(this, &ThisClass::ReceivedNetworkEncryptionAck);
	FNetDelegates::OnReceivedNetworkEncryptionFailure.BindUObject(this, &ThisClass::ReceivedNetworkEncryptionFailure);

	// Subsystems come last, so that they find the game instance initialized.
	SubsystemCollection.Initialize(this);
}

void UGameInstance::Shutdown()
{
	ReceiveShutdown();
	SubsystemCollection.Deinitialize();

	// Token and ack are released; the failure handler stays bound, as in the engine.
	FNetDelegates::OnReceivedNetworkEncryptionToken.Unbind();
	FNetDelegates::OnReceivedNetworkEncryptionAck.Unbind();

	// Clear the world context pointer to prevent further access.
	WorldContext = nullptr;
}

void UGameInstance::ReceivedNetworkEncryptionToken(const FString& EncryptionToken, const FOnEncryptionKeyResponse& Delegate)
{
	const FEncryptionKeyResponse Response(EEncryptionResponse::Failure, TEXT("ReceivedNetworkEncryptionToken not implemented"));
	Delegate.ExecuteIfBound(Response);
}

void UGameInstance::ReceivedNetworkEncryptionAck(const FOnEncryptionKeyResponse& Delegate)
{
	const FEncryptionKeyResponse Response(EEncryptionResponse::Failure, TEXT("ReceivedNetworkEncryptionAck not implemented"));
	Delegate.ExecuteIfBound(Response);
}

EEncryptionFailureAction UGameInstance::ReceivedNetworkEncryptionFailure(UNetConnection* Connection)
{
	return EEncryptionFailureAction::Default;
}

void UGameInstance::InitializeStandalone(const FName InPackageName, UPackage* InWorldPackage)
{
	// Creates the world context. This should be the only WorldContext that ever gets created for this GameInstance.
	WorldContext = &GetEngine()->CreateNewWorldContext(EWorldType::Game);
	WorldContext->OwningGameInstance = this;

	// In standalone create a dummy world from the beginning to avoid issues of not having a world until LoadMap gets us our real world
	UWorld* DummyWorld = UWorld::CreateWorld(EWorldType::Game, false, InPackageName, InWorldPackage);
	DummyWorld->SetGameInstance(this);
	WorldContext->SetCurrentWorld(DummyWorld);

	Init();
}

void UGameInstance::StartGameInstance()
{
	if (UWorld* World = GetWorld())
	{
		World->BeginPlay();
	}
}

void UGameInstance::RegisterReferencedObject(UObject* ObjectToReference)
{
	ReferencedObjects.AddUnique(ObjectToReference);
}

void UGameInstance::UnregisterReferencedObject(UObject* ObjectToReference)
{
	ReferencedObjects.RemoveSingleSwap(ObjectToReference);
}

void UGameInstance::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UGameInstance* This = CastChecked<UGameInstance>(InThis);
	This->SubsystemCollection.AddReferencedObjects(This, Collector);
	Super::AddReferencedObjects(This, Collector);
}
