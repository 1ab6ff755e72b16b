// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanelJson.h"
#include "Dom/JsonObject.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

namespace QuarnStashPanelJson
{
	FString Write(const TSharedRef<FJsonObject>& Body)
	{
		FString Text;
		const TSharedRef<TJsonWriter<TCHAR>> Writer = TJsonWriterFactory<TCHAR>::Create(&Text);
		FJsonSerializer::Serialize(Body, Writer);
		return Text;
	}

	void WriteDestination(const TSharedRef<FJsonObject>& Body, bool bShowingSlots, int32 SlotIndex, int32 X, int32 Y)
	{
		if (X < 0 || Y < 0)
		{
			return;
		}
		const TSharedRef<FJsonObject> To = MakeShared<FJsonObject>();
		if (bShowingSlots)
		{
			To->SetNumberField(TEXT("slot_index"), SlotIndex);
		}
		else
		{
			To->SetNumberField(TEXT("x"), X);
			To->SetNumberField(TEXT("y"), Y);
		}
		Body->SetObjectField(TEXT("to"), To);
	}
}
