// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanelReader.h"
#include "QuarnItemIds.h"
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

	static bool ReadItem(const FJsonObject& Item, FQuarnItemInstance& Result)
	{
		FString ItemId;
		ReadString(Item, TEXT("item_id"), ItemId);
		if (!QuarnItemIds::IsAcceptable(ItemId))
		{
			return false;
		}
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
		return true;
	}

	bool TryRead(const FJsonObject& Document, FQuarnContainer& OutContainer)
	{
		TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::ReadPanelContainer);
		SCOPE_CYCLE_COUNTER(STAT_QuarnReadPanelContainer);
		OutContainer = FQuarnContainer();
		ReadString(Document, TEXT("id"), OutContainer.ContainerId);
		ReadString(Document, TEXT("kind"), OutContainer.Kind);
		ReadString(Document, TEXT("layout"), OutContainer.Layout);
		if (const FJsonValue* Items = Typed(Document, TEXT("items"), EJson::Array))
		{
			for (const TSharedPtr<FJsonValue>& Element : Items->AsArray())
			{
				if (Element.IsValid() && Element->Type == EJson::Object && Element->AsObject().IsValid())
				{
					if (!ReadItem(*Element->AsObject(), OutContainer.Items.AddDefaulted_GetRef()))
					{
						OutContainer.Items.Reset();
						return false;
					}
				}
			}
		}
		return true;
	}

	FQuarnContainer Read(const FJsonObject& Document)
	{
		FQuarnContainer Result;
		TryRead(Document, Result);
		return Result;
	}
}
