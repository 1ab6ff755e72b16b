// Copyright Quarn. All Rights Reserved.

#include "Serialization/JsonSerializer.h"

bool FJsonSerializerPolicy_JsonObject::GetValueFromState(const FStackState& State, FValue& OutValue)
{
	switch (State.Type)
	{
	case EJson::Object:
		if (!State.Object.IsValid())
		{
			return false;
		}
		OutValue = MakeShared<FJsonValueObject>(State.Object);
		return true;

	case EJson::Array:
		OutValue = MakeShared<FJsonValueArray>(State.Array);
		return true;

	default:
		// Only arrays and objects can be roots.
		return false;
	}
}

bool FJsonSerializerPolicy_JsonObject::GetValueFromState(const FStackState& State, FArrayOfValues& OutArray)
{
	if (State.Type != EJson::Array)
	{
		return false;
	}
	OutArray = State.Array;
	return true;
}

bool FJsonSerializerPolicy_JsonObject::GetValueFromState(const FStackState& State, FMapOfValues& OutMap)
{
	if (!State.Object.IsValid())
	{
		return false;
	}
	OutMap = State.Object;
	return true;
}

void FJsonSerializerPolicy_JsonObject::ResetValue(FValue& OutValue)
{
	OutValue.Reset();
}

void FJsonSerializerPolicy_JsonObject::ReadObjectStart(FStackState& State)
{
	State.Type = EJson::Object;
	// Objects of one document share one key pool.
	State.Object = MakeShared<FJsonObject>(State.StringSet);
}

void FJsonSerializerPolicy_JsonObject::ReadObjectEnd(FStackState& State, FValue& OutValue)
{
	OutValue = MakeShared<FJsonValueObject>(State.Object);
}

void FJsonSerializerPolicy_JsonObject::ReadArrayStart(FStackState& State)
{
	State.Type = EJson::Array;
}

void FJsonSerializerPolicy_JsonObject::ReadArrayEnd(FStackState& State, FValue& OutValue)
{
	OutValue = MakeShared<FJsonValueArray>(MoveTemp(State.Array));
}

void FJsonSerializerPolicy_JsonObject::ReadNull(FValue& OutValue)
{
	OutValue = MakeShared<FJsonValueNull>();
}

void FJsonSerializerPolicy_JsonObject::AddValueToObject(FStackState& State, const FString& Identifier, FValue& NewValue)
{
	State.Object->SetField(FStringView(Identifier), NewValue);
}

void FJsonSerializerPolicy_JsonObject::AddValueToArray(FStackState& State, FValue& NewValue)
{
	State.Array.Add(NewValue);
}
