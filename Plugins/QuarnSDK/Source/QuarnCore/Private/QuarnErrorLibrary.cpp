// Copyright Quarn. All Rights Reserved.

#include "QuarnErrorLibrary.h"

namespace QuarnErrorLibrary
{
	/** Player texts shared by several codes. */
	static FText NotSetUpText()
	{
		return NSLOCTEXT("QuarnErrors", "NotSetUp", "The inventory service is not set up in this version of the game.");
	}

	static FText RefusedText()
	{
		return NSLOCTEXT("QuarnErrors", "Refused", "The inventory service refused this request.");
	}

	static FText SignInText()
	{
		return NSLOCTEXT("QuarnErrors", "SignIn", "You are not signed in. Please sign in and try again.");
	}

	static FText SignInRefusedText()
	{
		return NSLOCTEXT("QuarnErrors", "SignInRefused", "This way of signing in is not accepted.");
	}

	static FText NoAnswerText()
	{
		return NSLOCTEXT("QuarnErrors", "NoAnswer", "The inventory service did not answer in time. Please try again.");
	}

	static FText UnavailableText()
	{
		return NSLOCTEXT("QuarnErrors", "Unavailable", "The inventory service is unavailable right now. Please try again later.");
	}

	static FQuarnErrorCode Plugin(const TCHAR* Code, int32 HttpStatus, EQuarnErrorKind Kind, const FText& PlayerText, const TCHAR* DeveloperAdvice = TEXT(""))
	{
		FQuarnErrorCode Entry;
		Entry.Code = Code;
		Entry.HttpStatus = HttpStatus;
		Entry.Kind = Kind;
		Entry.bDeveloperWords = true;
		Entry.PlayerText = PlayerText;
		Entry.DeveloperAdvice = DeveloperAdvice;
		return Entry;
	}

	static FQuarnErrorCode Platform(const TCHAR* Code, int32 HttpStatus, EQuarnErrorKind Kind, const FText& PlayerText)
	{
		FQuarnErrorCode Entry;
		Entry.Code = Code;
		Entry.HttpStatus = HttpStatus;
		Entry.Kind = Kind;
		Entry.PlayerText = PlayerText;
		return Entry;
	}

	/**
	 * The one list of codes: the classification functions read it, its test walks it, and the
	 * README's error table follows it row by row.
	 */
	static const TArray<FQuarnErrorCode>& Codes()
	{
		static const TArray<FQuarnErrorCode> Table = []()
		{
			using K = EQuarnErrorKind;
			TArray<FQuarnErrorCode> Rows;

			// Raised by the plug-in itself, before or instead of an answer. The advice is for the
			// developer only: the log and the developer's text carry it, the error's hint does not.
			Rows.Add(Plugin(TEXT("no_base_address"), 0, K::Refused, NotSetUpText(),
				TEXT("Set Base Url in Project Settings > Plugins > Quarn SDK; for the local emulator, use the address it prints when it starts.")));
			Rows.Add(Plugin(TEXT("invalid_base_address"), 0, K::Refused, NotSetUpText(),
				TEXT("Set Base Url in Project Settings > Plugins > Quarn SDK to an address such as https://api.example.com.")));
#if UE_BUILD_SHIPPING
			Rows.Add(Plugin(TEXT("insecure_base_address"), 0, K::Refused, NotSetUpText(),
				TEXT("Use an https address: Allow Insecure Http has no effect in Shipping builds.")));
#else
			Rows.Add(Plugin(TEXT("insecure_base_address"), 0, K::Refused, NotSetUpText(),
				TEXT("Use an https address, or turn on Allow Insecure Http in the Quarn SDK settings for a development server.")));
#endif
			Rows.Add(Plugin(TEXT("no_game_instance"), 0, K::Refused, NSLOCTEXT("QuarnErrors", "NoGameInstance", "The inventory service is not available here."),
				TEXT("Call Quarn - Authenticate Player from an actor or widget of a running game.")));
			Rows.Add(Plugin(TEXT("not_authenticated"), 0, K::SignIn, SignInText(),
				TEXT("Call Quarn - Authenticate Player for this player first.")));
			Rows.Add(Plugin(TEXT("ambiguous_player"), 0, K::Refused, NSLOCTEXT("QuarnErrors", "AmbiguousPlayer", "The inventory service cannot tell which player this is."),
				TEXT("A stash panel with Use Game Session needs exactly one player signed in through its game instance: sign in one player per game instance, or turn Use Game Session off and give the panel its own Provider and Ticket.")));
			Rows.Add(Plugin(TEXT("network_error"), 0, K::Retry, NSLOCTEXT("QuarnErrors", "NoConnection", "Could not reach the inventory service. Check your connection and try again."),
				TEXT("Check the connection and the Base Url in the Quarn SDK settings, then try again.")));
			Rows.Add(Plugin(TEXT("timeout"), 0, K::Retry, NoAnswerText(),
				TEXT("Check the connection; Request Timeout Seconds in the Quarn SDK settings sets how long an answer may take.")));
			Rows.Add(Plugin(TEXT("cancelled"), 0, K::Refused, NSLOCTEXT("QuarnErrors", "Cancelled", "The request was cancelled.")));
			Rows.Add(Plugin(TEXT("bad_response"), 200, K::Refused, NSLOCTEXT("QuarnErrors", "BadResponse", "The inventory service sent an answer this game cannot read."),
				TEXT("Check that Base Url in the Quarn SDK settings points at the platform.")));
			FQuarnErrorCode HttpError = Plugin(TEXT("http_error"), 0, K::Refused, NSLOCTEXT("QuarnErrors", "HttpError", "The inventory service could not handle this request."),
				TEXT("Something other than the platform answered: check that Base Url in the Quarn SDK settings points at the platform, and any proxy in between."));
			HttpError.bKindFromStatus = true;
			Rows.Add(HttpError);
			// The platform's code, but the plug-in raises it too, with its own words, when renewing a session fails.
			Rows.Add(Plugin(TEXT("token_expired"), 401, K::SignIn, NSLOCTEXT("QuarnErrors", "SessionExpired", "Your session has expired. Please sign in again."),
				TEXT("Sign the player in again (Quarn - Authenticate Player, or Load Stash on a stash panel), then repeat what failed.")));

			// The platform's refusals.
			Rows.Add(Platform(TEXT("invalid_json"), 400, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("invalid_request"), 400, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("unsupported_provider"), 400, K::Refused, SignInRefusedText()));
			Rows.Add(Platform(TEXT("too_many_intents"), 400, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("intent_outside_container"), 400, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("unauthorized"), 401, K::SignIn, SignInText()));
			Rows.Add(Platform(TEXT("provider_not_allowed"), 403, K::Refused, SignInRefusedText()));
			Rows.Add(Platform(TEXT("container_not_found"), 404, K::Refused, NSLOCTEXT("QuarnErrors", "ContainerNotFound", "That inventory could not be found.")));
			Rows.Add(Platform(TEXT("instance_not_found"), 404, K::Refused, NSLOCTEXT("QuarnErrors", "InstanceNotFound", "That item is no longer there.")));
			Rows.Add(Platform(TEXT("not_found"), 404, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("method_not_allowed"), 405, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("version_conflict"), 409, K::Conflict, NSLOCTEXT("QuarnErrors", "VersionConflict", "Your inventory changed in the meantime. Please try again.")));
			Rows.Add(Platform(TEXT("cell_occupied"), 409, K::Refused, NSLOCTEXT("QuarnErrors", "CellOccupied", "That space is already taken.")));
			Rows.Add(Platform(TEXT("container_full"), 409, K::Refused, NSLOCTEXT("QuarnErrors", "ContainerFull", "There is no room for that.")));
			Rows.Add(Platform(TEXT("insufficient_quantity"), 409, K::Refused, NSLOCTEXT("QuarnErrors", "InsufficientQuantity", "There are not enough of that item.")));
			Rows.Add(Platform(TEXT("layout_mismatch"), 409, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("idempotency_key_in_use"), 409, K::Retry, NSLOCTEXT("QuarnErrors", "KeyInUse", "The inventory service is still working on this. Please wait a moment.")));
			Rows.Add(Platform(TEXT("payload_too_large"), 413, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("idempotency_key_reused"), 422, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("rate_limited"), 429, K::Retry, NSLOCTEXT("QuarnErrors", "RateLimited", "Too many requests. Please wait a moment and try again.")));
			Rows.Add(Platform(TEXT("internal"), 500, K::Retry, UnavailableText()));
			Rows.Add(Platform(TEXT("unavailable"), 503, K::Retry, UnavailableText()));
			Rows.Add(Platform(TEXT("commit_failed"), 503, K::Retry, UnavailableText()));
			Rows.Add(Platform(TEXT("database_gone"), 503, K::Retry, UnavailableText()));

			// The platform's HTTP front, refusing a request before the game API sees it.
			Rows.Add(Platform(TEXT("request_timeout"), 408, K::Retry, NoAnswerText()));
			Rows.Add(Platform(TEXT("too_many_connections"), 503, K::Retry, UnavailableText()));
			Rows.Add(Platform(TEXT("length_required"), 411, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("uri_too_long"), 414, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("expectation_failed"), 417, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("headers_too_large"), 431, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("not_implemented"), 501, K::Refused, RefusedText()));
			Rows.Add(Platform(TEXT("http_version_not_supported"), 505, K::Refused, RefusedText()));
			return Rows;
		}();
		return Table;
	}

	static bool IsDefault(const FQuarnError& Error)
	{
		return Error.Code.IsEmpty() && Error.HttpStatus == 0;
	}

	/** Words for an error that has none of its own, by what it asks of the game. */
	static FText TextForKind(EQuarnErrorKind Kind)
	{
		switch (Kind)
		{
		case EQuarnErrorKind::Conflict:
			return NSLOCTEXT("QuarnErrors", "VersionConflict", "Your inventory changed in the meantime. Please try again.");
		case EQuarnErrorKind::Retry:
			return UnavailableText();
		case EQuarnErrorKind::SignIn:
			return SignInText();
		case EQuarnErrorKind::None:
			return FText::GetEmpty();
		case EQuarnErrorKind::Refused:
		default:
			return RefusedText();
		}
	}
}

TConstArrayView<FQuarnErrorCode> UQuarnErrorLibrary::GetKnownCodes()
{
	return QuarnErrorLibrary::Codes();
}

const FQuarnErrorCode* UQuarnErrorLibrary::FindCode(const FString& Code)
{
	if (Code.IsEmpty())
	{
		return nullptr;
	}
	for (const FQuarnErrorCode& Entry : QuarnErrorLibrary::Codes())
	{
		if (Code.Equals(Entry.Code, ESearchCase::IgnoreCase))
		{
			return &Entry;
		}
	}
	return nullptr;
}

EQuarnErrorKind UQuarnErrorLibrary::KindFromStatus(int32 HttpStatus)
{
	if (HttpStatus == 0)
	{
		// No answer came: the connection failed or the platform was not there.
		return EQuarnErrorKind::Retry;
	}
	if (HttpStatus == 401)
	{
		return EQuarnErrorKind::SignIn;
	}
	// Busy or failing; 501 and 505 say the request can never be served as sent.
	if (HttpStatus == 408 || HttpStatus == 429 || (HttpStatus >= 500 && HttpStatus != 501 && HttpStatus != 505))
	{
		return EQuarnErrorKind::Retry;
	}
	return EQuarnErrorKind::Refused;
}

EQuarnErrorKind UQuarnErrorLibrary::GetErrorKind(const FQuarnError& Error)
{
	if (QuarnErrorLibrary::IsDefault(Error))
	{
		return EQuarnErrorKind::None;
	}
	const FQuarnErrorCode* Entry = FindCode(Error.Code);
	if (Entry == nullptr || Entry->bKindFromStatus)
	{
		return KindFromStatus(Error.HttpStatus);
	}
	return Entry->Kind;
}

bool UQuarnErrorLibrary::IsConflict(const FQuarnError& Error)
{
	return GetErrorKind(Error) == EQuarnErrorKind::Conflict;
}

bool UQuarnErrorLibrary::IsWorthRetrying(const FQuarnError& Error)
{
	return GetErrorKind(Error) == EQuarnErrorKind::Retry;
}

bool UQuarnErrorLibrary::NeedsSignIn(const FQuarnError& Error)
{
	return GetErrorKind(Error) == EQuarnErrorKind::SignIn;
}

bool UQuarnErrorLibrary::IsRefusedForGood(const FQuarnError& Error)
{
	return GetErrorKind(Error) == EQuarnErrorKind::Refused;
}

FText UQuarnErrorLibrary::GetPlayerText(const FQuarnError& Error)
{
	if (QuarnErrorLibrary::IsDefault(Error))
	{
		return FText::GetEmpty();
	}
	const FQuarnErrorCode* Entry = FindCode(Error.Code);
	if (Entry != nullptr && Entry->bDeveloperWords)
	{
		return Entry->PlayerText;
	}
	if (!Error.Hint.IsEmpty())
	{
		return FText::FromString(Error.Hint);
	}
	if (!Error.Message.IsEmpty())
	{
		return FText::FromString(Error.Message);
	}
	return Entry != nullptr ? Entry->PlayerText : QuarnErrorLibrary::TextForKind(GetErrorKind(Error));
}

FString UQuarnErrorLibrary::GetDeveloperText(const FQuarnError& Error)
{
	if (QuarnErrorLibrary::IsDefault(Error))
	{
		return TEXT("no error");
	}
	FString Text = Error.Code.IsEmpty() ? FString(TEXT("(no code)")) : Error.Code;
	Text += Error.HttpStatus == 0 ? FString(TEXT(" (no HTTP answer)")) : FString::Printf(TEXT(" (HTTP %d)"), Error.HttpStatus);
	if (!Error.Message.IsEmpty())
	{
		Text += TEXT(": ");
		Text += Error.Message;
	}
	if (!Error.Hint.IsEmpty())
	{
		Text += TEXT(" Hint: ");
		Text += Error.Hint;
	}
	const FString Advice = GetDeveloperAdvice(Error);
	if (!Advice.IsEmpty() && !Error.Hint.Equals(Advice, ESearchCase::CaseSensitive))
	{
		Text += TEXT(" Advice: ");
		Text += Advice;
	}
	if (!Error.RequestId.IsEmpty())
	{
		Text += TEXT(" [request ");
		Text += Error.RequestId;
		Text += TEXT("]");
	}
	return Text;
}

FString UQuarnErrorLibrary::GetDeveloperAdvice(const FQuarnError& Error)
{
	const FQuarnErrorCode* Entry = FindCode(Error.Code);
	return Entry != nullptr ? FString(Entry->DeveloperAdvice) : FString();
}

FQuarnError UQuarnErrorLibrary::MakePluginError(const TCHAR* Code, int32 HttpStatus, const FString& Message)
{
	FQuarnError Error;
	Error.HttpStatus = HttpStatus;
	Error.Code = Code;
	Error.Message = Message;
	const FQuarnErrorCode* Entry = FindCode(Error.Code);
	// Every code the plug-in raises is in the table; Quarn.Core.Errors walks what the core raises.
	if (Entry != nullptr)
	{
		Error.Hint = Entry->PlayerText.ToString();
	}
	return Error;
}
