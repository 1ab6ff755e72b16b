// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Delegates/DelegateCombinations.h"
#include "UObject/CoreNet.h"

class UNetConnection;

/** What the game answers a request for an encryption key with. */
enum class EEncryptionResponse : uint8
{
	Failure,
	Success,
	InvalidToken,
	NoKey,
	SessionIdMismatch,
	InvalidParams
};

struct FEncryptionKeyResponse
{
	EEncryptionResponse Response;
	FString ErrorMsg;
	/** What the connection is to be encrypted with, when Response is Success. */
	FEncryptionData EncryptionData;

	FEncryptionKeyResponse()
		: Response(EEncryptionResponse::Failure)
	{
	}

	FEncryptionKeyResponse(EEncryptionResponse InResponse, const FString& InErrorMsg)
		: Response(InResponse)
		, ErrorMsg(InErrorMsg)
	{
	}
};

/** What the net code does with a client that failed to set up encryption. */
enum class EEncryptionFailureAction
{
	Default,
	RejectConnection
};

DECLARE_DELEGATE_OneParam(FOnEncryptionKeyResponse, const FEncryptionKeyResponse&);

/**
 * The net code's encryption hand-shake, one handler per process: the game instance binds itself in
 * Init (taking them over from any other) and unbinds the token and ack handlers in Shutdown.
 */
class ENGINE_API FNetDelegates
{
public:
	DECLARE_DELEGATE_TwoParams(FReceivedNetworkEncryptionToken, const FString&, const FOnEncryptionKeyResponse&);
	static FReceivedNetworkEncryptionToken OnReceivedNetworkEncryptionToken;

	DECLARE_DELEGATE_OneParam(FReceivedNetworkEncryptionAck, const FOnEncryptionKeyResponse&);
	static FReceivedNetworkEncryptionAck OnReceivedNetworkEncryptionAck;

	DECLARE_DELEGATE_RetVal_OneParam(EEncryptionFailureAction, FReceivedNetworkEncryptionFailure, UNetConnection*);
	static FReceivedNetworkEncryptionFailure OnReceivedNetworkEncryptionFailure;
};
