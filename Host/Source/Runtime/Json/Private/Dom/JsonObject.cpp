// Copyright Quarn. All Rights Reserved.

#include "Dom/JsonObject.h"
#include "JsonNumbers.h"

namespace UE::JSON::Private
{
	UE::FSharedString FJsonStringSet::Place(FStringView Text)
	{
		const uint32 Hash = GetTypeHash(Text);
		if (const UE::FSharedString* Existing = Strings.FindByHash(Hash, Text))
		{
			return *Existing;
		}
		UE::FSharedString NewString(Text);
		Strings.AddByHash(Hash, NewString);
		return NewString;
	}

	SIZE_T FJsonStringSet::GetAllocatedSize() const
	{
		SIZE_T Size = Strings.GetAllocatedSize();
		for (const UE::FSharedString& String : Strings)
		{
			Size += String.GetAllocatedSize();
		}
		return Size;
	}

	FJsonObjectSharedStringStorage::FJsonObjectSharedStringStorage(TSharedPtr<FJsonStringSet> InStringSet)
		: StringSet(MoveTemp(InStringSet))
	{
	}

	TSharedPtr<FJsonStringSet> FJsonObjectSharedStringStorage::GetOrAddStringSet()
	{
		if (!StringSet.IsValid())
		{
			StringSet = MakeShared<FJsonStringSet>();
		}
		return StringSet;
	}

	SIZE_T FJsonObjectSharedStringStorage::GetAllocatedSize() const
	{
		SIZE_T Size = Values.GetAllocatedSize();
		for (const auto& Pair : Values)
		{
			Size += Pair.Value.IsValid() ? Pair.Value->GetMemoryFootprint() : 0;
		}
		return Size;
	}

	void FJsonObjectSharedStringStorage::SetField(FStringView FieldName, const TSharedPtr<FJsonValue>& Value)
	{
		Values.Add(GetOrAddStringSet()->Place(FieldName), Value);
	}

	void FJsonObjectSharedStringStorage::SetNumberField(FStringView FieldName, double Number)
	{
		SetField(FieldName, MakeShared<FJsonValueNumber>(Number));
	}

	void FJsonObjectSharedStringStorage::SetStringField(FStringView FieldName, const ANSICHAR* StringValue)
	{
		SetField(FieldName, MakeShared<FJsonValueString>(FString(StringValue)));
	}

	void FJsonObjectSharedStringStorage::SetStringField(FStringView FieldName, const TCHAR* StringValue)
	{
		SetField(FieldName, MakeShared<FJsonValueString>(FString(StringValue)));
	}

	void FJsonObjectSharedStringStorage::SetStringField(FStringView FieldName, const UTF8CHAR* StringValue)
	{
		SetField(FieldName, MakeShared<FJsonValueString>(FString(StringValue)));
	}

	void FJsonObjectSharedStringStorage::SetStringField(FStringView FieldName, FString&& StringValue)
	{
		SetField(FieldName, MakeShared<FJsonValueString>(MoveTemp(StringValue)));
	}

	void FJsonObjectSharedStringStorage::SetStringField(FStringView FieldName, const FString& StringValue)
	{
		SetField(FieldName, MakeShared<FJsonValueString>(StringValue));
	}

	void FJsonObjectSharedStringStorage::SetStringField(FStringView FieldName, const UE::FSharedString& StringValue)
	{
		SetField(FieldName, MakeShared<FJsonValueString>(FString(StringValue.ToView())));
	}

	void FJsonObjectSharedStringStorage::SetBoolField(FStringView FieldName, bool InValue)
	{
		SetField(FieldName, MakeShared<FJsonValueBoolean>(InValue));
	}

	void FJsonObjectSharedStringStorage::SetArrayField(FStringView FieldName, TArray<TSharedPtr<FJsonValue>>&& Array)
	{
		SetField(FieldName, MakeShared<FJsonValueArray>(MoveTemp(Array)));
	}

	void FJsonObjectSharedStringStorage::SetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>& Array)
	{
		SetField(FieldName, MakeShared<FJsonValueArray>(Array));
	}

	void FJsonObjectSharedStringStorage::SetObjectField(FStringView FieldName, TSharedPtr<FJsonObject>&& JsonObject)
	{
		if (JsonObject.IsValid())
		{
			SetField(FieldName, MakeShared<FJsonValueObject>(MoveTemp(JsonObject)));
		}
		else
		{
			SetField(FieldName, MakeShared<FJsonValueNull>());
		}
	}

	void FJsonObjectSharedStringStorage::SetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>& JsonObject)
	{
		if (JsonObject.IsValid())
		{
			SetField(FieldName, MakeShared<FJsonValueObject>(JsonObject));
		}
		else
		{
			SetField(FieldName, MakeShared<FJsonValueNull>());
		}
	}
} // namespace UE::JSON::Private

TSharedPtr<FJsonValue> FJsonObject::GetField(FStringView FieldName, EJson JsonType) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	if (Field != nullptr && Field->IsValid())
	{
		if (JsonType == EJson::None || (*Field)->Type == JsonType)
		{
			return *Field;
		}
		UE_LOG(LogJson, Warning, TEXT("Field %.*s is of the wrong type."), FieldName.Len(), FieldName.GetData());
	}
	else
	{
		UE_LOG(LogJson, Warning, TEXT("Field %.*s was not found."), FieldName.Len(), FieldName.GetData());
	}
	return MakeShared<FJsonValueNull>();
}

const TSharedPtr<FJsonValue> FJsonObject::GetFieldUntyped(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	return Field != nullptr ? *Field : TSharedPtr<FJsonValue>();
}

TSharedPtr<FJsonValue> FJsonObject::TryGetField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	return Field != nullptr ? *Field : TSharedPtr<FJsonValue>();
}

bool FJsonObject::HasField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	return Field != nullptr && Field->IsValid();
}

bool FJsonObject::HasTypedField(FStringView FieldName, EJson JsonType) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	return Field != nullptr && Field->IsValid() && (*Field)->Type == JsonType;
}

void FJsonObject::RemoveField(FStringView FieldName)
{
	Values.RemoveByHash(GetTypeHash(FieldName), FieldName);
}

void FJsonObject::RemoveIf(TFunctionRef<bool(const FStringType&, TSharedPtr<const FJsonValue>)> Predicate)
{
	for (auto It = Values.CreateIterator(); It; ++It)
	{
		if (Predicate(It.Key(), It.Value()))
		{
			It.RemoveCurrent();
		}
	}
}

double FJsonObject::GetNumberField(FStringView FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsNumber();
}

int32 FJsonObject::GetIntegerField(FStringView FieldName) const
{
	return UE::Json::Private::TruncToInt32(GetNumberField(FieldName));
}

namespace
{
	template <typename T>
	bool TryGetNumberFieldImpl(const FJsonObject& Object, FStringView FieldName, T& OutNumber)
	{
		const TSharedPtr<FJsonValue> Field = Object.TryGetField(FieldName);
		return Field.IsValid() && Field->TryGetNumber(OutNumber);
	}
} // namespace

bool FJsonObject::TryGetNumberField(FStringView FieldName, float& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, double& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int8& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int16& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int32& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int64& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint8& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint16& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint32& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint64& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }

FString FJsonObject::GetStringField(FStringView FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsString();
}

bool FJsonObject::TryGetStringField(FStringView FieldName, FString& OutString) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetString(OutString);
}

bool FJsonObject::TryGetStringArrayField(FStringView FieldName, TArray<FString>& OutArray) const
{
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	if (!TryGetArrayField(FieldName, Array))
	{
		return false;
	}
	for (const TSharedPtr<FJsonValue>& Element : *Array)
	{
		FString Text;
		if (!Element.IsValid() || !Element->TryGetString(Text))
		{
			return false;
		}
		OutArray.Add(MoveTemp(Text));
	}
	return true;
}

bool FJsonObject::GetBoolField(FStringView FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsBool();
}

bool FJsonObject::TryGetBoolField(FStringView FieldName, bool& OutBool) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetBool(OutBool);
}

const TArray<TSharedPtr<FJsonValue>>& FJsonObject::GetArrayField(FStringView FieldName) const
{
	return GetField<EJson::Array>(FieldName)->AsArray();
}

bool FJsonObject::TryGetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetArray(OutArray);
}

const TSharedPtr<FJsonObject>& FJsonObject::GetObjectField(FStringView FieldName) const
{
	return GetField<EJson::Object>(FieldName)->AsObject();
}

bool FJsonObject::TryGetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>*& OutObject) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetObject(OutObject);
}

void FJsonObject::Duplicate(const TSharedPtr<const FJsonObject>& Source, const TSharedPtr<FJsonObject>& Dest)
{
	if (Source.IsValid() && Dest.IsValid())
	{
		for (const auto& Pair : Source->Values)
		{
			Dest->SetField(Pair.Key.ToView(), FJsonValue::Duplicate(Pair.Value));
		}
	}
}

void FJsonObject::Duplicate(const TSharedPtr<FJsonObject>& Source, TSharedPtr<FJsonObject>& Dest)
{
	Duplicate(TSharedPtr<const FJsonObject>(Source), static_cast<const TSharedPtr<FJsonObject>&>(Dest));
}
