// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanel.h"
#include "QuarnUIStats.h"
#include "QuarnClient.h"
#include "QuarnEnsureContainer.h"
#include "QuarnLog.h"
#include "QuarnSession.h"
#include "QuarnStashPanelJson.h"
#include "QuarnStashPanelLayout.h"
#include "QuarnStashPanelReader.h"
#include "QuarnItemIds.h"
#include "Dom/JsonObject.h"

namespace QuarnStashPanelLoading
{
	/** The ensure answer as read on a worker: the container, or the whole answer refused. */
	struct FEnsureRead
	{
		FQuarnContainer Container;
		bool bRefused = false;
	};
}

void UQuarnStashPanel::LoadStash()
{
	if (bLoading)
	{
		return;
	}
	if (bUseGameSession)
	{
		LoadWithGameSession();
		return;
	}
	bLoading = true;
	const int32 Serial = ++LoadSerial;
	SetStatus(NSLOCTEXT("QuarnStashPanel", "SigningIn", "Signing in\u2026"), false);

	const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("provider"), Provider);
	Body->SetStringField(TEXT("ticket"), Ticket);

	TWeakObjectPtr<UQuarnStashPanel> WeakThis(this);
	FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/sessions"), QuarnStashPanelJson::Write(Body), FString(), FString(),
		[WeakThis, Serial](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			UQuarnStashPanel* Panel = WeakThis.Get();
			if (Panel != nullptr && Panel->LoadSerial == Serial)
			{
				Panel->HandleSignIn(Serial, bOk, Json, Error);
			}
		});
}

void UQuarnStashPanel::HandleSignIn(int32 Serial, bool bOk, const TSharedPtr<FJsonObject>& Json, const FQuarnError& Error)
{
	if (!bOk || !Json.IsValid())
	{
		bLoading = false;
		ShowFailure(Error);
		return;
	}

	FString Token;
	const TSharedPtr<FJsonObject>* Tokens = nullptr;
	if (Json->TryGetObjectField(TEXT("tokens"), Tokens) && Tokens != nullptr && Tokens->IsValid())
	{
		(*Tokens)->TryGetStringField(TEXT("access_token"), Token);
	}
	const TSharedPtr<FJsonObject>* Player = nullptr;
	if (Json->TryGetObjectField(TEXT("player"), Player) && Player != nullptr && Player->IsValid())
	{
		(*Player)->TryGetStringField(TEXT("id"), PlayerId);
	}
	AccessToken = Token;

	if (AccessToken.IsEmpty())
	{
		bLoading = false;
		SetStatus(NSLOCTEXT("QuarnStashPanel", "NoToken", "Signed in but received no token"), true);
		return;
	}

	StartSession(Json);
	RequestContainer(Serial);
}

void UQuarnStashPanel::RequestContainer(int32 Serial)
{
	SetStatus(NSLOCTEXT("QuarnStashPanel", "Loading", "Loading stash\u2026"), false);

	// The same body the "Ensure Container" node sends for these settings.
	const FString Body = UQuarnEnsureContainer::MakeRequestBody(ContainerKind, Layout, SlotCount, GridWidth, GridHeight);

	// A large container document is read on a worker; the game thread only shows the records.
	TWeakObjectPtr<UQuarnStashPanel> WeakThis(this);
	FQuarnClient::SendAndRead<QuarnStashPanelLoading::FEnsureRead>(this, TEXT("POST"), TEXT("/v1/game/containers/ensure"), Body, AccessToken, FString(),
		[](const FJsonObject& Document)
		{
			QuarnStashPanelLoading::FEnsureRead Read;
			Read.bRefused = !QuarnStashPanelReader::TryRead(Document, Read.Container);
			return Read;
		},
		[WeakThis, Serial](bool bEnsured, QuarnStashPanelLoading::FEnsureRead& Read, const FQuarnError& EnsureError)
		{
			UQuarnStashPanel* Panel = WeakThis.Get();
			if (Panel == nullptr || Panel->LoadSerial != Serial)
			{
				// Gone, or a newer load has started since: this answer is already out of date.
				return;
			}
			Panel->bLoading = false;
			if (!bEnsured || Read.bRefused)
			{
				Panel->ShowFailure(bEnsured ? QuarnItemIds::TooLongError() : EnsureError);
				return;
			}
			const FQuarnContainer& Container = Read.Container;
			Panel->ContainerId = Container.ContainerId;
			UE_LOG(LogQuarn, Display, TEXT("Stash panel loaded %d stack(s) for %s"), Container.Items.Num(), *Panel->PlayerId);
			Panel->ShowContainer(Container);
		});
}

void UQuarnStashPanel::StartSession(const TSharedPtr<FJsonObject>& SignInAnswer)
{
	double ExpiresInSeconds = 0.0;
	const TSharedPtr<FJsonObject>* Tokens = nullptr;
	if (SignInAnswer.IsValid() && SignInAnswer->TryGetObjectField(TEXT("tokens"), Tokens) && Tokens != nullptr && Tokens->IsValid())
	{
		(*Tokens)->TryGetNumberField(TEXT("expires_in"), ExpiresInSeconds);
	}
	if (!Session.IsValid() || Session->GetPlayerId() != PlayerId)
	{
		// The panel's own session: operations sent with its token are renewed and resent by the
		// core, and the panel follows the token it now holds.
		TWeakObjectPtr<UQuarnStashPanel> WeakThis(this);
		Session = FQuarnSession::Create(this, PlayerId,
			[WeakThis](const FString& NewToken)
			{
				if (UQuarnStashPanel* Panel = WeakThis.Get())
				{
					Panel->AccessToken = NewToken;
				}
			},
			[WeakThis](const FQuarnError&)
			{
				// The operation that met the expiry reports it; until the next load, the panel refuses.
				if (UQuarnStashPanel* Panel = WeakThis.Get())
				{
					Panel->AccessToken.Reset();
				}
			});
	}
	Session->Start(AccessToken, ExpiresInSeconds, Provider, Ticket);
}

void UQuarnStashPanel::ShowFailure(const FQuarnError& Error)
{
	SetStatus(FText::FromString(Error.Hint.IsEmpty() ? Error.Message : Error.Hint), true);
	OnStashFailed.Broadcast(Error);
}

void UQuarnStashPanel::Reload()
{
	bLoading = false;
	LoadStash();
}

bool UQuarnStashPanel::IsReady() const
{
	return !AccessToken.IsEmpty() && !ContainerId.IsEmpty();
}

bool UQuarnStashPanel::LayOutForDisplay(FQuarnContainer& Container) const
{
	if (!(Container.Layout == TEXT("slots")))
	{
		return false;
	}
	// A slot container is drawn as a flat run of squares wrapped at SlotColumns, whatever
	// coordinates the platform stored.
	const int32 Columns = FMath::Max(SlotColumns, 1);
	for (FQuarnItemInstance& Item : Container.Items)
	{
		if (Item.SlotIndex >= 0)
		{
			Item.X = Item.SlotIndex % Columns;
			Item.Y = Item.SlotIndex / Columns;
			Item.GridW = 1;
			Item.GridH = 1;
		}
	}
	return true;
}

void UQuarnStashPanel::ShowContainer(const FQuarnContainer& Container)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::ShowContainer);
	SCOPE_CYCLE_COUNTER(STAT_QuarnShowContainer);
	FQuarnContainer Shown = Container;
	bShowingSlots = LayOutForDisplay(Shown);

	int32 Columns = 1;
	int32 Rows = 1;
	if (bShowingSlots)
	{
		Columns = FMath::Max(SlotColumns, 1);
		Rows = QuarnStashPanelLayout::SlotRows(SlotCount, Columns);
	}
	else
	{
		// A grid always takes its size from the panel, never from the container.
		Columns = FMath::Max(GridWidth, 1);
		Rows = FMath::Max(GridHeight, 1);
	}
	DrawnColumns = Columns;

	if (!Shown.Layout.IsEmpty() && (Layout == EQuarnContainerLayout::Slots) != bShowingSlots)
	{
		UE_LOG(LogQuarn, Warning, TEXT("Stash panel asked for a %s container but '%s' already exists as %s. A container's layout is fixed when it is created; use a different kind, or a different player, to see the other one."),
			Layout == EQuarnContainerLayout::Slots ? TEXT("slots") : TEXT("grid"), *ContainerKind, *Shown.Layout);
	}

	Contents = Shown.Items;
	DrawGrid(Columns, Rows, bShowingSlots ? SlotCount : 0);
	DrawItems(Shown);
}
