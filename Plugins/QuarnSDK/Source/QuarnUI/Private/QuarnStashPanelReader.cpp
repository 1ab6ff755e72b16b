// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanelReader.h"
#include "QuarnUIStats.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

namespace QuarnStashPanelReader
{
	static const FJsonValue* Typed(const FJsonObject& Object, const TCHAR* Key, EJson Type)
	{
		const TSharedPtr<FJsonValue> Value = Object.TryGetField(Key);
		return Value.IsValid() && Value->Type == Type ? Value.Get() : nullptr;
	}

	static void ReadString(const FJsonObject& Object, const TCHAR* Key, FString& Out)
	{
		if (const FJsonValue* Value = Typed(Object, Key, EJson::String))
		{
			Out = Value->AsString();
		}
	}

	static void ReadInt(const FJsonObject& Object, const TCHAR* Key, int32& Out)
	{
		if (const FJsonValue* Value = Typed(Object, Key, EJson::Number))
		{
			Value->TryGetNumber(Out);
		}
	}

	static FQuarnItemInstance ReadItem(const FJsonObject& Item)
	{
		FQuarnItemInstance Result;
		FString ItemId;
		ReadString(Item, TEXT("item_id"), ItemId);
		Result.ItemId = FName(*ItemId);
		ReadString(Item, TEXT("id"), Result.InstanceId);
		ReadInt(Item, TEXT("quantity"), Result.Quantity);
		ReadInt(Item, TEXT("x"), Result.X);
		ReadInt(Item, TEXT("y"), Result.Y);
		ReadInt(Item, TEXT("slot_index"), Result.SlotIndex);
		ReadString(Item, TEXT("slot_key"), Result.SlotKey);
		ReadInt(Item, TEXT("grid_w"), Result.GridW);
		ReadInt(Item, TEXT("grid_h"), Result.GridH);
		if (const FJsonValue* Value = Typed(Item, TEXT("rotated"), EJson::Boolean))
		{
			Result.bRotated = Value->AsBool();
		}
		return Result;
	}

	FQuarnContainer Read(const FJsonObject& Document)
	{
		TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::ReadPanelContainer);
		SCOPE_CYCLE_COUNTER(STAT_QuarnReadPanelContainer);
		FQuarnContainer Result;
		ReadString(Document, TEXT("id"), Result.ContainerId);
		ReadString(Document, TEXT("kind"), Result.Kind);
		ReadString(Document, TEXT("layout"), Result.Layout);
		if (const FJsonValue* Items = Typed(Document, TEXT("items"), EJson::Array))
		{
			for (const TSharedPtr<FJsonValue>& Element : Items->AsArray())
			{
				if (Element.IsValid() && Element->Type == EJson::Object && Element->AsObject().IsValid())
				{
					Result.Items.Add(ReadItem(*Element->AsObject()));
				}
			}
		}
		return Result;
	}
}
