// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

// An argument of FString::Format: a number or a string.
struct FStringFormatArg
{
	enum EType
	{
		Int,
		UInt,
		Double,
		String,
		StringLiteralANSI,
		StringLiteralWIDE,
		StringLiteralUCS2,
		StringLiteralUTF8,
	};

	EType Type;
	int64 IntValue = 0;
	uint64 UIntValue = 0;
	double DoubleValue = 0.0;
	FString StringValue;

	FStringFormatArg(const int32 Value) : Type(Int), IntValue(Value) {}
	FStringFormatArg(const uint32 Value) : Type(UInt), UIntValue(Value) {}
	FStringFormatArg(const int64 Value) : Type(Int), IntValue(Value) {}
	FStringFormatArg(const uint64 Value) : Type(UInt), UIntValue(Value) {}
	FStringFormatArg(const float Value) : Type(Double), DoubleValue(Value) {}
	FStringFormatArg(const double Value) : Type(Double), DoubleValue(Value) {}
	FStringFormatArg(FString Value) : Type(String), StringValue(MoveTemp(Value)) {}
	FStringFormatArg(FStringView Value) : Type(String), StringValue(Value) {}
	FStringFormatArg(const ANSICHAR* Value) : Type(String), StringValue(Value) {}
	FStringFormatArg(const WIDECHAR* Value) : Type(String), StringValue(Value) {}
	FStringFormatArg(const UTF8CHAR* Value) : Type(String), StringValue(Value) {}

	FStringFormatArg(const FStringFormatArg&) = default;
	FStringFormatArg(FStringFormatArg&&) = default;
	FStringFormatArg& operator=(const FStringFormatArg&) = default;
	FStringFormatArg& operator=(FStringFormatArg&&) = default;
};
