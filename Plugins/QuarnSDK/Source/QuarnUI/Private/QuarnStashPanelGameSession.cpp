// Copyright Quarn. All Rights Reserved.

// A panel that uses the game's session (bUseGameSession): its player is the one signed in through
// its game instance with Quarn - Authenticate Player, its token is that session's, and the session,
// not the panel, signs in again when the token expires.

#include "QuarnStashPanel.h"
#include "QuarnErrorLibrary.h"
#include "QuarnLog.h"
#include "QuarnSession.h"
#include "QuarnSubsystem.h"

namespace QuarnStashPanelGameSession
{
	/** The players of the panel's game instance whose session holds a token. */
	static TArray<FString> SignedInPlayers(const UQuarnSubsystem* Subsystem)
	{
		TArray<FString> Players;
		if (Subsystem == nullptr)
		{
			return Players;
		}
		for (const FString& Candidate : Subsystem->GetAuthenticatedPlayerIds())
		{
			const TSharedPtr<FQuarnSession> Session = Subsystem->FindSession(Candidate);
			if (Session.IsValid() && !Session->GetAccessToken().IsEmpty())
			{
				Players.Add(Candidate);
			}
		}
		return Players;
	}
}

void UQuarnStashPanel::LoadWithGameSession()
{
	// Answers of an earlier load, still on their way, no longer apply, whatever happens here.
	const int32 Serial = ++LoadSerial;
	const UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(this);
	const TArray<FString> Players = QuarnStashPanelGameSession::SignedInPlayers(Subsystem);

	// The panel keeps its player while that player stays signed in; otherwise it takes the one
	// player of its game instance, and never guesses between several.
	FString Chosen;
	if (!PlayerId.IsEmpty() && Players.Contains(PlayerId))
	{
		Chosen = PlayerId;
	}
	else if (Players.Num() == 1)
	{
		Chosen = Players[0];
	}

	if (Chosen.IsEmpty())
	{
		// Whatever token the panel held belongs to a session that has ended.
		AccessToken.Reset();
		FQuarnError Refusal;
		if (Players.Num() == 0)
		{
			UE_LOG(LogQuarn, Warning, TEXT("Load Stash refused: the stash panel uses the game's session, and no player is signed in through its game instance. Call Quarn - Authenticate Player first, or turn off Use Game Session so that the panel signs in with its own Provider and Ticket."));
			Refusal = UQuarnErrorLibrary::MakePluginError(TEXT("not_authenticated"), 0, TEXT("No player is signed in for this stash."));
		}
		else
		{
			UE_LOG(LogQuarn, Warning, TEXT("Load Stash refused: the stash panel uses the game's session, and %d players are signed in through its game instance, so it cannot tell which one is its player. Sign in one player per game instance, or turn off Use Game Session and give the panel its own Provider and Ticket."), Players.Num());
			Refusal = UQuarnErrorLibrary::MakePluginError(TEXT("ambiguous_player"), 0, FString::Printf(TEXT("%d players are signed in; the stash panel cannot tell which one is its player."), Players.Num()));
		}
		ShowFailure(Refusal);
		return;
	}

	const TSharedPtr<FQuarnSession> GameSession = Subsystem->FindSession(Chosen);
	PlayerId = Chosen;
	AccessToken = GameSession->GetAccessToken();
	// A session of the panel's own, from loads made without the option, would renew with the
	// panel's ticket: the game's session serves the token from now on.
	Session.Reset();
	bLoading = true;
	RequestContainer(Serial);
}

void UQuarnStashPanel::FollowGameSession()
{
	if (!bUseGameSession)
	{
		return;
	}
	// The session may have renewed its token since the load, or ended: an ended one leaves the
	// panel without a token, so that the operation is refused instead of sent with a dead one.
	const UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(this);
	const TSharedPtr<FQuarnSession> GameSession = (Subsystem != nullptr && !PlayerId.IsEmpty()) ? Subsystem->FindSession(PlayerId) : nullptr;
	AccessToken = GameSession.IsValid() ? GameSession->GetAccessToken() : FString();
}
