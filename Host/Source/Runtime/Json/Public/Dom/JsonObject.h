// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Containers/SharedString.h"
#include "Dom/JsonValue.h"
#include "JsonGlobals.h"
#include "Logging/LogMacros.h"
#include "Serialization/JsonTypes.h"
#include "Templates/SharedPointer.h"

// Object keys are shared strings (the engine's default since 5.8): setters and getters take
// FStringView, so keys are written as TEXT("...") or FString, and keys that differ only in case
// name the same field.

namespace UE::JSON::Private
{
	// The key strings of one JSON structure, shared so that recurring keys are stored once.
	class FJsonStringSet
	{
	public:
		JSON_API UE::FSharedString Place(FStringView Text);
		JSON_API SIZE_T GetAllocatedSize() const;

	private:
		// Pooling keeps spellings apart: "Name" and "name" are two pooled strings.
		struct FCaseSensitiveStringKeyFuncs
		{
			typedef UE::FSharedString KeyType;
			typedef const UE::FSharedString& KeyInitType;
			typedef const UE::FSharedString& ElementInitType;
			enum { bAllowDuplicateKeys = false };

			static FORCEINLINE const UE::FSharedString& GetSetKey(const UE::FSharedString& Element) { return Element; }
			static FORCEINLINE bool Matches(const UE::FSharedString& A, const UE::FSharedString& B) { return A.ToView().Equals(B.ToView(), ESearchCase::CaseSensitive); }
			static FORCEINLINE bool Matches(const UE::FSharedString& A, FStringView B) { return A.ToView().Equals(B, ESearchCase::CaseSensitive); }
			static FORCEINLINE uint32 GetKeyHash(const UE::FSharedString& Key) { return GetTypeHash(Key.ToView()); }
			static FORCEINLINE uint32 GetKeyHash(FStringView Key) { return GetTypeHash(Key); }
		};

		TSet<UE::FSharedString, FCaseSensitiveStringKeyFuncs> Strings;
	};

	// The storage half of FJsonObject: the field map and its setters.
	class FJsonObjectSharedStringStorage
	{
		TSharedPtr<FJsonStringSet> StringSet;
		JSON_API TSharedPtr<FJsonStringSet> GetOrAddStringSet();

	public:
		using FStringType = UE::FSharedString;

		FJsonObjectSharedStringStorage() = default;

		// Shares the key pool of another object of the same structure.
		JSON_API explicit FJsonObjectSharedStringStorage(TSharedPtr<FJsonStringSet> InStringSet);

		// The key pool; null until the first key is added.
		TSharedPtr<FJsonStringSet> GetStringSet() const { return StringSet; }

		SIZE_T GetMemoryFootprint() const { return sizeof(*this) + GetAllocatedSize(); }
		JSON_API SIZE_T GetAllocatedSize() const;

		// Setting a field that exists (in any case) replaces it in place: its position is kept and
		// its key takes the new spelling.
		JSON_API void SetField(FStringView FieldName, const TSharedPtr<FJsonValue>& Value);
		UE_DEPRECATED(5.8, "Use SetField(FStringView, ...)")
		void SetField(const ANSICHAR* FieldName, const TSharedPtr<FJsonValue>& Value) { SetField(FStringView(FString(FieldName)), Value); }

		JSON_API void SetNumberField(FStringView FieldName, double Number);
		UE_DEPRECATED(5.8, "Use SetNumberField(FStringView, ...)")
		void SetNumberField(const ANSICHAR* FieldName, double Number) { SetNumberField(FStringView(FString(FieldName)), Number); }

		JSON_API void SetStringField(FStringView FieldName, const ANSICHAR* StringValue);
		JSON_API void SetStringField(FStringView FieldName, const TCHAR* StringValue);
		JSON_API void SetStringField(FStringView FieldName, const UTF8CHAR* StringValue);
		JSON_API void SetStringField(FStringView FieldName, FString&& StringValue);
		JSON_API void SetStringField(FStringView FieldName, const FString& StringValue);
		JSON_API void SetStringField(FStringView FieldName, const UE::FSharedString& StringValue);
		UE_DEPRECATED(5.8, "Use SetStringField(FStringView, ...)")
		void SetStringField(const ANSICHAR* FieldName, const ANSICHAR* StringValue) { SetStringField(FStringView(FString(FieldName)), StringValue); }
		UE_DEPRECATED(5.8, "Use SetStringField(FStringView, ...)")
		void SetStringField(const ANSICHAR* FieldName, const TCHAR* StringValue) { SetStringField(FStringView(FString(FieldName)), StringValue); }
		UE_DEPRECATED(5.8, "Use SetStringField(FStringView, ...)")
		void SetStringField(const ANSICHAR* FieldName, const UTF8CHAR* StringValue) { SetStringField(FStringView(FString(FieldName)), StringValue); }
		UE_DEPRECATED(5.8, "Use SetStringField(FStringView, ...)")
		void SetStringField(const ANSICHAR* FieldName, FString&& StringValue) { SetStringField(FStringView(FString(FieldName)), MoveTemp(StringValue)); }
		UE_DEPRECATED(5.8, "Use SetStringField(FStringView, ...)")
		void SetStringField(const ANSICHAR* FieldName, const FString& StringValue) { SetStringField(FStringView(FString(FieldName)), StringValue); }
		UE_DEPRECATED(5.8, "Use SetStringField(FStringView, ...)")
		void SetStringField(const ANSICHAR* FieldName, const UE::FSharedString& StringValue) { SetStringField(FStringView(FString(FieldName)), StringValue); }

		JSON_API void SetBoolField(FStringView FieldName, bool InValue);
		UE_DEPRECATED(5.8, "Use SetBoolField(FStringView, ...)")
		void SetBoolField(const ANSICHAR* FieldName, bool InValue) { SetBoolField(FStringView(FString(FieldName)), InValue); }

		JSON_API void SetArrayField(FStringView FieldName, TArray<TSharedPtr<FJsonValue>>&& Array);
		JSON_API void SetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>& Array);
		UE_DEPRECATED(5.8, "Use SetArrayField(FStringView, ...)")
		void SetArrayField(const ANSICHAR* FieldName, TArray<TSharedPtr<FJsonValue>>&& Array) { SetArrayField(FStringView(FString(FieldName)), MoveTemp(Array)); }
		UE_DEPRECATED(5.8, "Use SetArrayField(FStringView, ...)")
		void SetArrayField(const ANSICHAR* FieldName, const TArray<TSharedPtr<FJsonValue>>& Array) { SetArrayField(FStringView(FString(FieldName)), Array); }

		// A null object is stored as a JSON null.
		JSON_API void SetObjectField(FStringView FieldName, TSharedPtr<FJsonObject>&& JsonObject);
		JSON_API void SetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>& JsonObject);
		UE_DEPRECATED(5.8, "Use SetObjectField(FStringView, ...)")
		void SetObjectField(const ANSICHAR* FieldName, TSharedPtr<FJsonObject>&& JsonObject) { SetObjectField(FStringView(FString(FieldName)), MoveTemp(JsonObject)); }
		UE_DEPRECATED(5.8, "Use SetObjectField(FStringView, ...)")
		void SetObjectField(const ANSICHAR* FieldName, const TSharedPtr<FJsonObject>& JsonObject) { SetObjectField(FStringView(FString(FieldName)), JsonObject); }

		// Fields in insertion order (a TMap's slot order while nothing is removed).
		TMap<FStringType, TSharedPtr<FJsonValue>> Values;
	};
} // namespace UE::JSON::Private

// A JSON object: name/value pairs, between curly braces in JSON text. Field names are matched
// ignoring case.
class FJsonObject : public UE::JSON::Private::FJsonObjectSharedStringStorage
{
public:
	using FJsonObjectSharedStringStorage::FJsonObjectSharedStringStorage;

	// The field, if present and of the type (None: any type). Otherwise logs a warning and
	// returns a new null value, never an invalid pointer.
	template <EJson JsonType>
	TSharedPtr<FJsonValue> GetField(FStringView FieldName) const
	{
		return GetField(FieldName, JsonType);
	}
	JSON_API TSharedPtr<FJsonValue> GetField(FStringView FieldName, EJson JsonType) const;

	// The stored value (possibly invalid) or an invalid pointer; never logs.
	JSON_API const TSharedPtr<FJsonValue> GetFieldUntyped(FStringView FieldName) const;

	// The stored value or an invalid pointer; never logs.
	JSON_API TSharedPtr<FJsonValue> TryGetField(FStringView FieldName) const;

	// Present with a valid value (a JSON null counts as present).
	JSON_API bool HasField(FStringView FieldName) const;

	template <EJson JsonType>
	bool HasTypedField(FStringView FieldName) const
	{
		return HasTypedField(FieldName, JsonType);
	}
	JSON_API bool HasTypedField(FStringView FieldName, EJson JsonType) const;

	JSON_API void RemoveField(FStringView FieldName);

	// Removes every field the predicate accepts.
	JSON_API void RemoveIf(TFunctionRef<bool(const FStringType&, TSharedPtr<const FJsonValue>)> Predicate);

	// The field as a number; 0 with warnings when it is missing or not convertible.
	JSON_API double GetNumberField(FStringView FieldName) const;

	// GetNumberField truncated toward zero (no rounding).
	JSON_API int32 GetIntegerField(FStringView FieldName) const;

	// The field converted as FJsonValue::TryGetNumber converts: integers are range-checked and
	// rounded half away from zero. False when missing or not convertible.
	JSON_API bool TryGetNumberField(FStringView FieldName, float& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, double& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, int8& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, int16& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, int32& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, int64& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, uint8& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, uint16& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, uint32& OutNumber) const;
	JSON_API bool TryGetNumberField(FStringView FieldName, uint64& OutNumber) const;

	// Numbers and booleans convert to their text.
	JSON_API FString GetStringField(FStringView FieldName) const;
	JSON_API bool TryGetStringField(FStringView FieldName, FString& OutString) const;

	// Appends each element's string form; false as soon as the field is not an array or an
	// element does not convert (elements appended before then stay).
	JSON_API bool TryGetStringArrayField(FStringView FieldName, TArray<FString>& OutArray) const;

	// Empties OutArray, then adds every element that parses as the enum.
	template <typename TEnum>
	bool TryGetEnumArrayField(FStringView FieldName, TArray<TEnum>& OutArray) const
	{
		TArray<FString> Strings;
		if (!TryGetStringArrayField(FieldName, Strings))
		{
			return false;
		}
		OutArray.Empty();
		for (const FString& String : Strings)
		{
			TEnum Value;
			if (LexTryParseString(Value, *String))
			{
				OutArray.Add(Value);
			}
		}
		return true;
	}

	// Numbers are true when non-zero; strings by FString::ToBool.
	JSON_API bool GetBoolField(FStringView FieldName) const;
	JSON_API bool TryGetBoolField(FStringView FieldName, bool& OutBool) const;

	// A shared empty array (with warnings) when missing or not an array.
	JSON_API const TArray<TSharedPtr<FJsonValue>>& GetArrayField(FStringView FieldName) const;
	JSON_API bool TryGetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const;

	// A shared, valid, empty object (with warnings) when missing or not an object.
	JSON_API const TSharedPtr<FJsonObject>& GetObjectField(FStringView FieldName) const;
	JSON_API bool TryGetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>*& OutObject) const;

	// Deep-copies every field of Source into Dest.
	JSON_API static void Duplicate(const TSharedPtr<const FJsonObject>& Source, const TSharedPtr<FJsonObject>& Dest);
	JSON_API static void Duplicate(const TSharedPtr<FJsonObject>& Source, TSharedPtr<FJsonObject>& Dest);
};
