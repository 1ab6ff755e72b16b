// Copyright Quarn. All Rights Reserved.

#include "QuarnContainerJson.h"
#include "QuarnItemIds.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

namespace QuarnContainerJson
{
	static void ReadString(const FJsonObject& Object, const TCHAR* Key, FString& Out)
	{
		const TSharedPtr<FJsonValue> Value = Object.TryGetField(Key);
		if (Value.IsValid() && Value->Type == EJson::String)
		{
			Out = Value->AsString();
		}
	}

	static void ReadInt(const FJsonObject& Object, const TCHAR* Key, int32& Out)
	{
		const TSharedPtr<FJsonValue> Value = Object.TryGetField(Key);
		if (Value.IsValid() && Value->Type == EJson::Number)
		{
			Value->TryGetNumber(Out);
		}
	}

	static void ReadBool(const FJsonObject& Object, const TCHAR* Key, bool& Out)
	{
		const TSharedPtr<FJsonValue> Value = Object.TryGetField(Key);
		if (Value.IsValid() && Value->Type == EJson::Boolean)
		{
			Out = Value->AsBool();
		}
	}

	bool ReadItem(const FJsonObject& Item, FQuarnItemInstance& Result)
	{
		FString ItemId;
		ReadString(Item, TEXT("item_id"), ItemId);
		if (!QuarnItemIds::IsAcceptable(ItemId))
		{
			return false;
		}
		Result.ItemId = FName(*ItemId);
		ReadString(Item, TEXT("id"), Result.InstanceId);
		if (Result.InstanceId.IsEmpty())
		{
			const TSharedPtr<FJsonValue> Properties = Item.TryGetField(TEXT("properties"));
			if (Properties.IsValid() && Properties->Type == EJson::Object && Properties->AsObject().IsValid())
			{
				ReadString(*Properties->AsObject(), TEXT("__qnid"), Result.InstanceId);
			}
		}
		ReadInt(Item, TEXT("quantity"), Result.Quantity);
		ReadInt(Item, TEXT("slot_index"), Result.SlotIndex);
		ReadString(Item, TEXT("slot_key"), Result.SlotKey);
		ReadInt(Item, TEXT("x"), Result.X);
		ReadInt(Item, TEXT("y"), Result.Y);
		ReadInt(Item, TEXT("grid_w"), Result.GridW);
		ReadInt(Item, TEXT("grid_h"), Result.GridH);
		ReadBool(Item, TEXT("rotated"), Result.bRotated);
		const TSharedPtr<FJsonValue> Durability = Item.TryGetField(TEXT("durability"));
		if (Durability.IsValid() && Durability->Type == EJson::Number)
		{
			Durability->TryGetNumber(Result.Durability);
		}
		return true;
	}

	FQuarnContainer ReadContainer(const FJsonObject& Document)
	{
		FQuarnContainer Result;
		TryReadContainer(Document, Result);
		return Result;
	}

	bool TryReadContainer(const FJsonObject& Document, FQuarnContainer& Result)
	{
		Result = FQuarnContainer();
		ReadString(Document, TEXT("id"), Result.ContainerId);
		ReadString(Document, TEXT("kind"), Result.Kind);
		ReadString(Document, TEXT("layout"), Result.Layout);
		const TSharedPtr<FJsonValue> Items = Document.TryGetField(TEXT("items"));
		if (Items.IsValid() && Items->Type == EJson::Array)
		{
			const TArray<TSharedPtr<FJsonValue>>& Elements = Items->AsArray();
			Result.Items.Reserve(Elements.Num());
			for (const TSharedPtr<FJsonValue>& Element : Elements)
			{
				if (Element.IsValid() && Element->Type == EJson::Object && Element->AsObject().IsValid())
				{
					if (!ReadItem(*Element->AsObject(), Result.Items.AddDefaulted_GetRef()))
					{
						Result.Items.Reset();
						return false;
					}
				}
			}
		}
		return true;
	}
}
