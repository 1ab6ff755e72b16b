// Copyright Quarn. All Rights Reserved.

#include "QuarnJsonBody.h"
#include "Dom/JsonObject.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

namespace QuarnJsonBody
{
	FString Write(const TSharedRef<FJsonObject>& Object)
	{
		FString Body;
		const TSharedRef<TJsonWriter<TCHAR>> Writer = TJsonWriterFactory<TCHAR>::Create(&Body);
		FJsonSerializer::Serialize(Object, Writer);
		return Body;
	}
}
