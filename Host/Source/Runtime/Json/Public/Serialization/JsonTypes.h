// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

// The kinds of JSON values.
enum class EJson
{
	None,
	Null,
	String,
	Number,
	Boolean,
	Array,
	Object
};

// The tokens the reader produces and the writer remembers as the last thing written.
enum class EJsonToken
{
	None,
	Comma,
	CurlyOpen,
	CurlyClose,
	SquareOpen,
	SquareClose,
	Colon,
	String,

	// Short values: written after a space rather than on a new line where the writer allows it.
	Number,
	True,
	False,
	Null,

	Identifier
};

FORCEINLINE bool EJsonToken_IsShortValue(EJsonToken Token)
{
	return Token >= EJsonToken::Number && Token <= EJsonToken::Null;
}

// What TJsonReader::ReadNext reports.
enum class EJsonNotation
{
	ObjectStart,
	ObjectEnd,
	ArrayStart,
	ArrayEnd,
	Boolean,
	String,
	Number,
	Null,
	Error
};

using FJsonSerializableArray = TArray<FString>;
using FJsonSerializableArrayInt = TArray<int32>;
using FJsonSerializableKeyValueMap = TMap<FString, FString>;
using FJsonSerializableKeyValueMapInt = TMap<FString, int32>;
using FJsonSerializableKeyValueMapInt64 = TMap<FString, int64>;
using FJsonSerializableKeyValueMapFloat = TMap<FString, float>;
