// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Serialization/JsonTypes.h"

class FJsonObject;

// A JSON value of any kind. The As* accessors log (LogJson) and return a default when the value
// cannot be converted; the TryGet* accessors report the conversion's success instead.
class FJsonValue
{
public:
	// Returns 0 (and logs) when the value is not convertible to a number.
	JSON_API double AsNumber() const;

	// Returns an empty string (and logs) when the value is not convertible to a string.
	JSON_API FString AsString() const;

	// Returns false (and logs) when the value is not convertible to a boolean.
	JSON_API bool AsBool() const;

	// Returns a shared empty array (and logs) when the value is not an array.
	JSON_API const TArray<TSharedPtr<FJsonValue>>& AsArray() const;

	// Returns a shared, valid, empty object (and logs) when the value is not an object.
	JSON_API virtual const TSharedPtr<FJsonObject>& AsObject() const;

	// Integer conversions accept any number in the type's range and round half away from zero;
	// out-of-range values fail and leave OutNumber untouched.
	JSON_API virtual bool TryGetNumber(float& OutNumber) const;
	JSON_API virtual bool TryGetNumber(double& OutNumber) const;
	JSON_API virtual bool TryGetNumber(int8& OutNumber) const;
	JSON_API virtual bool TryGetNumber(int16& OutNumber) const;
	JSON_API virtual bool TryGetNumber(int32& OutNumber) const;
	JSON_API virtual bool TryGetNumber(int64& OutNumber) const;
	JSON_API virtual bool TryGetNumber(uint8& OutNumber) const;
	JSON_API virtual bool TryGetNumber(uint16& OutNumber) const;
	JSON_API virtual bool TryGetNumber(uint32& OutNumber) const;
	JSON_API virtual bool TryGetNumber(uint64& OutNumber) const;

	JSON_API virtual bool TryGetString(FString& OutString) const;
	JSON_API virtual bool TryGetBool(bool& OutBool) const;
	JSON_API virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const;
	JSON_API virtual bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray);
	JSON_API virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& Object) const;
	JSON_API virtual bool TryGetObject(TSharedPtr<FJsonObject>*& Object);

	// True for values whose text should be written as is (numbers kept as strings).
	JSON_API virtual bool PreferStringRepresentation() const;

	// Null and None both count as null.
	bool IsNull() const { return Type == EJson::Null || Type == EJson::None; }

	// Helpers for code generic over the accessor's result type.
	bool AsArgumentType(double& Value)
	{
		Value = AsNumber();
		return true;
	}
	bool AsArgumentType(FString& Value)
	{
		Value = AsString();
		return true;
	}
	bool AsArgumentType(bool& Value)
	{
		Value = AsBool();
		return true;
	}
	bool AsArgumentType(TArray<TSharedPtr<FJsonValue>>& Value)
	{
		Value = AsArray();
		return true;
	}
	bool AsArgumentType(TSharedPtr<FJsonObject>& Value)
	{
		Value = AsObject();
		return true;
	}

	EJson Type;

	// Deep copies; an invalid source or a Null/None value gives an invalid pointer.
	JSON_API static TSharedPtr<FJsonValue> Duplicate(const TSharedPtr<const FJsonValue>& Src);
	JSON_API static TSharedPtr<FJsonValue> Duplicate(const TSharedPtr<FJsonValue>& Src);

	// Values of different simple kinds compare by their converted forms ("1" equals 1 and true);
	// strings of the same kind compare ignoring case, as FString's == does.
	JSON_API static bool CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs);

	friend bool operator==(const FJsonValue& Lhs, const FJsonValue& Rhs) { return CompareEqual(Lhs, Rhs); }
	friend bool operator!=(const FJsonValue& Lhs, const FJsonValue& Rhs) { return !CompareEqual(Lhs, Rhs); }

	JSON_API virtual SIZE_T GetMemoryFootprint() const;

protected:
	JSON_API FJsonValue();
	JSON_API virtual ~FJsonValue();

	UE_NONCOPYABLE(FJsonValue);

	// The value's kind as error messages name it.
	virtual FString GetType() const = 0;

	JSON_API void ErrorMessage(const FString& InType) const;
};

// A string value.
template <typename CharType>
class TJsonValueString : public FJsonValue
{
	static_assert(std::is_same_v<CharType, TCHAR>, "Only TCHAR string values are offered by this host.");

public:
	using FJsonValue::TryGetNumber;

	TJsonValueString(const FString& InString)
		: Value(InString)
	{
		Type = EJson::String;
	}

	TJsonValueString(FString&& InString)
		: Value(MoveTemp(InString))
	{
		Type = EJson::String;
	}

	virtual ~TJsonValueString() override = default;

	virtual bool TryGetString(FString& OutString) const override
	{
		OutString = Value;
		return true;
	}

	// Only plain decimal text (IsNumeric: no exponent) converts to a double.
	virtual bool TryGetNumber(double& OutDouble) const override
	{
		if (Value.IsNumeric())
		{
			OutDouble = FCString::Atod(*Value);
			return true;
		}
		return false;
	}

	// These four parse whatever prefix of the text is a number and always succeed: "abc" gives 0.
	virtual bool TryGetNumber(int32& OutValue) const override
	{
		LexFromString(OutValue, *Value);
		return true;
	}

	virtual bool TryGetNumber(uint32& OutValue) const override
	{
		LexFromString(OutValue, *Value);
		return true;
	}

	virtual bool TryGetNumber(int64& OutValue) const override
	{
		LexFromString(OutValue, *Value);
		return true;
	}

	virtual bool TryGetNumber(uint64& OutValue) const override
	{
		LexFromString(OutValue, *Value);
		return true;
	}

	// "true", "yes", "on" (any case) or a non-zero number.
	virtual bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value.ToBool();
		return true;
	}

	virtual SIZE_T GetMemoryFootprint() const override { return sizeof(*this) + Value.GetAllocatedSize(); }

protected:
	FString Value;

	virtual FString GetType() const override { return FString(TEXT("String")); }
};

using FJsonValueString = TJsonValueString<TCHAR>;

// A number.
class FJsonValueNumber : public FJsonValue
{
public:
	using FJsonValue::TryGetNumber;

	JSON_API FJsonValueNumber(double InNumber);
	JSON_API virtual ~FJsonValueNumber() override;

	JSON_API virtual bool TryGetNumber(double& OutNumber) const override;
	JSON_API virtual bool TryGetBool(bool& OutBool) const override;
	JSON_API virtual bool TryGetString(FString& OutString) const override;
	JSON_API virtual SIZE_T GetMemoryFootprint() const override;

protected:
	double Value;

	JSON_API virtual FString GetType() const override;
};

// A number kept as the text it was read from (or given), written out unchanged.
template <typename CharType>
class TJsonValueNumberString : public FJsonValue
{
	static_assert(std::is_same_v<CharType, TCHAR>, "Only TCHAR number strings are offered by this host.");

public:
	TJsonValueNumberString(const FString& InString)
		: Value(InString)
	{
		Type = EJson::Number;
	}

	TJsonValueNumberString(FString&& InString)
		: Value(MoveTemp(InString))
	{
		Type = EJson::Number;
	}

	virtual ~TJsonValueNumberString() override = default;

	virtual bool TryGetString(FString& OutString) const override
	{
		OutString = Value;
		return true;
	}

	virtual bool TryGetNumber(float& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(double& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(int8& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(int16& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(int32& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(int64& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(uint8& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(uint16& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(uint32& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }
	virtual bool TryGetNumber(uint64& OutNumber) const override { return LexTryParseString(OutNumber, *Value); }

	virtual bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value.ToBool();
		return true;
	}

	virtual bool PreferStringRepresentation() const override { return true; }

	virtual SIZE_T GetMemoryFootprint() const override { return sizeof(*this) + Value.GetAllocatedSize(); }

protected:
	FString Value;

	virtual FString GetType() const override { return FString(TEXT("NumberString")); }
};

using FJsonValueNumberString = TJsonValueNumberString<TCHAR>;

// A boolean.
class FJsonValueBoolean : public FJsonValue
{
public:
	using FJsonValue::TryGetNumber;

	JSON_API FJsonValueBoolean(bool InBool);
	JSON_API virtual ~FJsonValueBoolean() override;

	JSON_API virtual bool TryGetNumber(double& OutNumber) const override;
	JSON_API virtual bool TryGetBool(bool& OutBool) const override;
	JSON_API virtual bool TryGetString(FString& OutString) const override;
	JSON_API virtual SIZE_T GetMemoryFootprint() const override;

protected:
	bool Value;

	JSON_API virtual FString GetType() const override;
};

// An array of values.
class FJsonValueArray : public FJsonValue
{
public:
	JSON_API FJsonValueArray(const TArray<TSharedPtr<FJsonValue>>& InArray);
	JSON_API FJsonValueArray(TArray<TSharedPtr<FJsonValue>>&& InArray);
	JSON_API virtual ~FJsonValueArray() override;

	JSON_API virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const override;
	JSON_API virtual bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray) override;
	JSON_API virtual SIZE_T GetMemoryFootprint() const override;
	JSON_API SIZE_T GetAllocatedSize() const;

protected:
	TArray<TSharedPtr<FJsonValue>> Value;

	JSON_API virtual FString GetType() const override;
};

// An object.
class FJsonValueObject : public FJsonValue
{
public:
	JSON_API FJsonValueObject(TSharedPtr<FJsonObject> InObject);
	JSON_API virtual ~FJsonValueObject() override;

	JSON_API virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const override;
	JSON_API virtual bool TryGetObject(TSharedPtr<FJsonObject>*& OutObject) override;
	JSON_API virtual SIZE_T GetMemoryFootprint() const override;
	JSON_API SIZE_T GetAllocatedSize() const;

protected:
	TSharedPtr<FJsonObject> Value;

	JSON_API virtual FString GetType() const override;
};

// JSON null.
class FJsonValueNull : public FJsonValue
{
public:
	JSON_API FJsonValueNull();
	JSON_API virtual ~FJsonValueNull() override;

	JSON_API virtual SIZE_T GetMemoryFootprint() const override;

protected:
	JSON_API virtual FString GetType() const override;
};
