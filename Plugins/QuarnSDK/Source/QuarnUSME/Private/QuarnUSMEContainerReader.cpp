// Copyright Quarn. All Rights Reserved.

#include "QuarnUSMEContainerReader.h"
#include "QuarnUSMEStats.h"
#include "QuarnUSMEKeys.h"
#include "QuarnItemIds.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

namespace QuarnUSMEContainerReader
{
	static const FJsonValue* Typed(const FJsonObject& Object, const TCHAR* Key, EJson Type)
	{
		const TSharedPtr<FJsonValue> Value = Object.TryGetField(Key);
		return Value.IsValid() && Value->Type == Type ? Value.Get() : nullptr;
	}

	static int64 ReadVersion(const FJsonObject& Document)
	{
		double Version = 0.0;
		if (const FJsonValue* Value = Typed(Document, TEXT("version"), EJson::Number))
		{
			Value->TryGetNumber(Version);
		}
		// Truncated toward zero. A value no int64 can hold (or NaN) is not a version the platform
		// could have written: reading it as 0 makes the transaction fail its version check instead
		// of converting out of range.
		if (!(Version > -9223372036854775808.0 && Version < 9223372036854775808.0))
		{
			return 0;
		}
		return static_cast<int64>(Version);
	}

	static bool ReadItem(const FJsonObject& Item, FQuarnItemInstance& Result)
	{
		FString ItemId;
		if (const FJsonValue* Value = Typed(Item, TEXT("item_id"), EJson::String))
		{
			ItemId = Value->AsString();
		}
		if (!QuarnItemIds::IsAcceptable(ItemId))
		{
			return false;
		}
		Result.ItemId = FName(*ItemId);
		if (const FJsonValue* Value = Typed(Item, TEXT("quantity"), EJson::Number))
		{
			Value->TryGetNumber(Result.Quantity);
		}
		if (const FJsonValue* Value = Typed(Item, TEXT("slot_index"), EJson::Number))
		{
			Value->TryGetNumber(Result.SlotIndex);
		}
		if (const FJsonValue* Value = Typed(Item, TEXT("slot_key"), EJson::String))
		{
			Result.SlotKey = Value->AsString();
		}
		if (const FJsonValue* Value = Typed(Item, TEXT("x"), EJson::Number))
		{
			Value->TryGetNumber(Result.X);
		}
		if (const FJsonValue* Value = Typed(Item, TEXT("y"), EJson::Number))
		{
			Value->TryGetNumber(Result.Y);
		}
		if (const FJsonValue* Value = Typed(Item, TEXT("rotated"), EJson::Boolean))
		{
			Result.bRotated = Value->AsBool();
		}
		if (const FJsonValue* Properties = Typed(Item, TEXT("properties"), EJson::Object))
		{
			const TSharedPtr<FJsonObject>& PropertiesObject = Properties->AsObject();
			if (PropertiesObject.IsValid())
			{
				if (const FJsonValue* Value = Typed(*PropertiesObject, QuarnUSMEKeys::InstanceId, EJson::String))
				{
					Result.InstanceId = Value->AsString();
				}
			}
		}
		return true;
	}

	FQuarnUSMEContainerRead Read(const FJsonObject& Document)
	{
		TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::ReadSyncContainer);
		SCOPE_CYCLE_COUNTER(STAT_QuarnReadSyncContainer);
		FQuarnUSMEContainerRead Result;
		Result.Version = ReadVersion(Document);
		if (const FJsonValue* Items = Typed(Document, TEXT("items"), EJson::Array))
		{
			const TArray<TSharedPtr<FJsonValue>>& Elements = Items->AsArray();
			Result.Items.Reserve(Elements.Num());
			for (const TSharedPtr<FJsonValue>& Element : Elements)
			{
				const bool bIsObject = Element.IsValid() && Element->Type == EJson::Object && Element->AsObject().IsValid();
				FQuarnItemInstance& Item = Result.Items.AddDefaulted_GetRef();
				if (bIsObject && !ReadItem(*Element->AsObject(), Item))
				{
					Result.Items.Reset();
					Result.bItemIdTooLong = true;
					break;
				}
			}
		}
		return Result;
	}
}
