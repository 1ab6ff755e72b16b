// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Containers/ArrayView.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "QuarnTypes.h"
#include "QuarnErrorLibrary.generated.h"

/** What a game can do about a failed request. */
UENUM(BlueprintType)
enum class EQuarnErrorKind : uint8
{
	/** Not an error: a default FQuarnError, as a success carries. */
	None = 0 UMETA(DisplayName = "No Error"),
	/** The container changed since it was read: read it again, work the change out again and send that. */
	Conflict = 1 UMETA(DisplayName = "Conflict"),
	/** The platform failed, was busy or did not answer: the same request may succeed in a while. */
	Retry = 2 UMETA(DisplayName = "Worth Retrying"),
	/** The player's sign-in is missing, unknown or expired: sign in again, then repeat what failed. */
	SignIn = 3 UMETA(DisplayName = "Needs Sign-In"),
	/** The same request would be refused again: tell the player, or change what the game sends. */
	Refused = 4 UMETA(DisplayName = "Refused For Good"),
};

/** One error code the plug-in or the platform gives, and what it means to a game. */
struct QUARNCORE_API FQuarnErrorCode
{
	/** The code, a stable lower-case word. */
	const TCHAR* Code = TEXT("");
	/** The HTTP status it comes with; 0 for the plug-in's own codes that no answer carries. */
	int32 HttpStatus = 0;
	/** What to do about it. */
	EQuarnErrorKind Kind = EQuarnErrorKind::Refused;
	/**
	 * The words of errors with this code are the plug-in's own, written for the game's developer
	 * (a node's hint may name the node to call), so a player is shown PlayerText instead.
	 */
	bool bDeveloperWords = false;
	/** The kind follows the HTTP status rather than the code (a failure without an error body). */
	bool bKindFromStatus = false;
	/** What a player is shown when the error's own words are not for them, or are empty. */
	FText PlayerText;
	/**
	 * What the game's developer should fix or call (a setting, a node); never shown to players.
	 * Empty when the error's own words say all there is.
	 */
	const TCHAR* DeveloperAdvice = TEXT("");
};

/**
 * Tells a Blueprint what a failed request means: whether to re-read, retry, sign in again or give
 * up, and which text to put in front of a player.
 *
 * Codes are matched without regard to letter case; a code this version does not know is judged by
 * its HTTP status, so that an older game still reacts sensibly to a newer platform.
 */
UCLASS()
class QUARNCORE_API UQuarnErrorLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** What the error asks of the game. No Error for a default error, as a success carries. */
	UFUNCTION(BlueprintPure, Category = "Velmora", meta = (DisplayName = "Velmora - Error Kind"))
	static EQuarnErrorKind GetErrorKind(const FQuarnError& Error);

	/** The container changed since it was read (version_conflict): read it again and sync again. */
	UFUNCTION(BlueprintPure, Category = "Velmora", meta = (DisplayName = "Velmora - Is Conflict"))
	static bool IsConflict(const FQuarnError& Error);

	/**
	 * The platform failed, was busy or did not answer: sending the same request again later may
	 * succeed. Requests with an idempotency key are applied once however often they are sent.
	 */
	UFUNCTION(BlueprintPure, Category = "Velmora", meta = (DisplayName = "Velmora - Is Worth Retrying"))
	static bool IsWorthRetrying(const FQuarnError& Error);

	/** The player has to sign in again (Quarn - Authenticate Player) before the request can succeed. */
	UFUNCTION(BlueprintPure, Category = "Velmora", meta = (DisplayName = "Velmora - Needs Sign-In"))
	static bool NeedsSignIn(const FQuarnError& Error);

	/**
	 * The same request would be refused again: the player asked for something the stash cannot do
	 * (a taken cell, a full container), or the game sent something wrong.
	 */
	UFUNCTION(BlueprintPure, Category = "Velmora", meta = (DisplayName = "Velmora - Is Refused For Good"))
	static bool IsRefusedForGood(const FQuarnError& Error);

	/**
	 * The text to show a player: the error's Hint, or its Message when the hint is empty.
	 *
	 * For the plug-in's own codes (no platform address, no connection, not signed in, an
	 * unreadable answer), whose words may be advice for the developer, and for errors without any
	 * words, this gives a short text meant for players instead. Empty for a default error.
	 */
	UFUNCTION(BlueprintPure, Category = "Velmora", meta = (DisplayName = "Velmora - Error Text For Player"))
	static FText GetPlayerText(const FQuarnError& Error);

	/**
	 * Everything the error says, for a log line or a bug report: code, HTTP status, message, hint,
	 * the advice for developers that this version gives for the code, and request id.
	 */
	UFUNCTION(BlueprintPure, Category = "Velmora", meta = (DisplayName = "Velmora - Error Text For Log"))
	static FString GetDeveloperText(const FQuarnError& Error);

	/** What the developer should do about the error (which setting to fix, which node to call); empty when this version has no advice for its code. */
	static FString GetDeveloperAdvice(const FQuarnError& Error);

	/**
	 * An error the plug-in raises itself, ready to show: its Hint is the code's player text, so
	 * that a screen showing Hint, else Message, shows words meant for players. The advice for the
	 * developer stays with the code (GetDeveloperAdvice, GetDeveloperText) and the log line.
	 */
	static FQuarnError MakePluginError(const TCHAR* Code, int32 HttpStatus, const FString& Message);

	/** Every code the plug-in or the platform gives, as this version knows them. */
	static TConstArrayView<FQuarnErrorCode> GetKnownCodes();

	/** The entry of a code, matched without regard to case; null for a code this version does not know. */
	static const FQuarnErrorCode* FindCode(const FString& Code);

	/** The kind of an error without a known code, by its HTTP status alone. */
	static EQuarnErrorKind KindFromStatus(int32 HttpStatus);
};
