// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

// The host has no net driver; this header carries only what the encryption hand-shake's types need.

/** What a connection is encrypted with: the key and, where the handler uses them, a fingerprint and an identifier. */
struct FEncryptionData
{
	/** Encryption key */
	TArray<uint8> Key;
	/** Encryption fingerprint */
	TArray<uint8> Fingerprint;
	/** Encryption identifier */
	FString Identifier;
};
