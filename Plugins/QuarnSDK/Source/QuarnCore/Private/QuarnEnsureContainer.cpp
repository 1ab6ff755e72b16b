// Copyright Quarn. All Rights Reserved.

#include "QuarnEnsureContainer.h"
#include "QuarnClient.h"
#include "QuarnErrorLibrary.h"
#include "QuarnContainerJson.h"
#include "QuarnItemIds.h"
#include "QuarnJsonBody.h"
#include "QuarnSubsystem.h"
#include "Dom/JsonObject.h"
#include "UObject/Package.h"

namespace QuarnEnsureContainer
{
	/** The answer as read on a worker: the container, or the whole answer refused. */
	struct FRead
	{
		FQuarnContainer Container;
		bool bRefused = false;
	};
}

UQuarnEnsureContainer* UQuarnEnsureContainer::EnsureContainer(UObject* WorldContextObject, const FString& PlayerId, const FString& Kind, EQuarnContainerLayout Layout, int32 SlotCount, int32 GridWidth, int32 GridHeight)
{
	UQuarnEnsureContainer* Action = NewObject<UQuarnEnsureContainer>(GetTransientPackage());
	Action->Context = WorldContextObject;
	Action->RequestedPlayerId = PlayerId;
	Action->RequestedKind = Kind;
	Action->RequestedLayout = Layout;
	Action->RequestedSlotCount = SlotCount;
	Action->RequestedGridWidth = GridWidth;
	Action->RequestedGridHeight = GridHeight;
	Action->RegisterWithGameInstance(WorldContextObject);
	return Action;
}

FString UQuarnEnsureContainer::MakeRequestBody(const FString& Kind, EQuarnContainerLayout Layout, int32 SlotCount, int32 GridWidth, int32 GridHeight)
{
	const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("kind"), Kind);
	if (Layout == EQuarnContainerLayout::Slots)
	{
		Body->SetStringField(TEXT("layout"), TEXT("slots"));
		Body->SetNumberField(TEXT("slot_count"), FMath::Max(SlotCount, 1));
	}
	else
	{
		// A grid's size goes as given: the platform names the member it refuses.
		Body->SetStringField(TEXT("layout"), TEXT("grid"));
		Body->SetNumberField(TEXT("grid_width"), GridWidth);
		Body->SetNumberField(TEXT("grid_height"), GridHeight);
	}
	return QuarnJsonBody::Write(Body);
}

void UQuarnEnsureContainer::Activate()
{
	if (bActivated)
	{
		return;
	}
	bActivated = true;

	const UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(Context);
	const FString AccessToken = Subsystem ? Subsystem->GetAccessToken(RequestedPlayerId) : FString();
	if (AccessToken.IsEmpty())
	{
		// A player may see the hint; which node to call first is the code's advice to the developer.
		Finish(false, FQuarnContainer(), UQuarnErrorLibrary::MakePluginError(TEXT("not_authenticated"), 0, TEXT("Player is not authenticated")));
		return;
	}

	TWeakObjectPtr<UQuarnEnsureContainer> WeakThis(this);
	FQuarnClient::SendAndRead<QuarnEnsureContainer::FRead>(Context, TEXT("POST"), TEXT("/v1/game/containers/ensure"),
		MakeRequestBody(RequestedKind, RequestedLayout, RequestedSlotCount, RequestedGridWidth, RequestedGridHeight),
		AccessToken, FString(),
		// A large document is read on a worker: the game thread gets the container, not the tree.
		[](const FJsonObject& Json)
		{
			QuarnEnsureContainer::FRead Read;
			Read.bRefused = !QuarnContainerJson::TryReadContainer(Json, Read.Container);
			return Read;
		},
		[WeakThis](bool bOk, QuarnEnsureContainer::FRead& Read, const FQuarnError& Error)
		{
			UQuarnEnsureContainer* Action = WeakThis.Get();
			if (Action == nullptr)
			{
				return;
			}
			if (!bOk || Read.bRefused)
			{
				Action->Finish(false, FQuarnContainer(), bOk ? QuarnItemIds::TooLongError() : Error);
				return;
			}
			Action->Finish(true, Read.Container, FQuarnError());
		});
}

void UQuarnEnsureContainer::Finish(bool bSucceeded, const FQuarnContainer& Container, const FQuarnError& Error)
{
	if (bFinished)
	{
		return;
	}
	bFinished = true;
	if (bSucceeded)
	{
		OnSuccess.Broadcast(Container, Error);
	}
	else
	{
		OnFailure.Broadcast(Container, Error);
	}
	SetReadyToDestroy();
}
