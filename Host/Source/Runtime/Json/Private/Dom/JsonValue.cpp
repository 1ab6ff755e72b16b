// Copyright Quarn. All Rights Reserved.

#include "Dom/JsonValue.h"
#include "Dom/JsonObject.h"
#include "JsonGlobals.h"
#include "JsonNumbers.h"

#include <limits>

FJsonValue::FJsonValue()
	: Type(EJson::None)
{
}

FJsonValue::~FJsonValue() = default;

double FJsonValue::AsNumber() const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		ErrorMessage(TEXT("Number"));
	}
	return Number;
}

FString FJsonValue::AsString() const
{
	FString String;
	if (!TryGetString(String))
	{
		ErrorMessage(TEXT("String"));
	}
	return String;
}

bool FJsonValue::AsBool() const
{
	bool Bool = false;
	if (!TryGetBool(Bool))
	{
		ErrorMessage(TEXT("Boolean"));
	}
	return Bool;
}

const TArray<TSharedPtr<FJsonValue>>& FJsonValue::AsArray() const
{
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	if (!TryGetArray(Array))
	{
		static const TArray<TSharedPtr<FJsonValue>> EmptyArray;
		Array = &EmptyArray;
		ErrorMessage(TEXT("Array"));
	}
	return *Array;
}

const TSharedPtr<FJsonObject>& FJsonValue::AsObject() const
{
	const TSharedPtr<FJsonObject>* Object = nullptr;
	if (!TryGetObject(Object))
	{
		// A valid object, so that callers may chain field reads without checking.
		static const TSharedPtr<FJsonObject> EmptyObject = MakeShared<FJsonObject>();
		Object = &EmptyObject;
		ErrorMessage(TEXT("Object"));
	}
	return *Object;
}

namespace
{
	// Range-checks the raw double first, then rounds half away from zero.
	template <typename T>
	bool TryConvertNumber(const FJsonValue& InValue, T& OutNumber)
	{
		double Double;
		if (InValue.TryGetNumber(Double) && Double >= (double)std::numeric_limits<T>::min() && Double <= (double)std::numeric_limits<T>::max())
		{
			OutNumber = static_cast<T>(UE::Json::Private::RoundHalfFromZero(Double));
			return true;
		}
		return false;
	}

	// 2^63-1 and 2^64-1 are not doubles: their limits round up to the powers of two, so compare
	// with "<" against those.
	template <>
	bool TryConvertNumber<int64>(const FJsonValue& InValue, int64& OutNumber)
	{
		double Double;
		if (InValue.TryGetNumber(Double) && Double >= -9223372036854775808.0 && Double < 9223372036854775808.0)
		{
			OutNumber = static_cast<int64>(UE::Json::Private::RoundHalfFromZero(Double));
			return true;
		}
		return false;
	}

	template <>
	bool TryConvertNumber<uint64>(const FJsonValue& InValue, uint64& OutNumber)
	{
		double Double;
		if (InValue.TryGetNumber(Double) && Double >= 0.0 && Double < 18446744073709551616.0)
		{
			OutNumber = static_cast<uint64>(UE::Json::Private::RoundHalfFromZero(Double));
			return true;
		}
		return false;
	}
} // namespace

bool FJsonValue::TryGetNumber(double& OutNumber) const
{
	return false;
}

bool FJsonValue::TryGetNumber(float& OutNumber) const
{
	double Double;
	if (TryGetNumber(Double))
	{
		OutNumber = UE::Json::Private::DoubleToFloat(Double);
		return true;
	}
	return false;
}

bool FJsonValue::TryGetNumber(int8& OutNumber) const { return TryConvertNumber(*this, OutNumber); }
bool FJsonValue::TryGetNumber(int16& OutNumber) const { return TryConvertNumber(*this, OutNumber); }
bool FJsonValue::TryGetNumber(int32& OutNumber) const { return TryConvertNumber(*this, OutNumber); }
bool FJsonValue::TryGetNumber(int64& OutNumber) const { return TryConvertNumber(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint8& OutNumber) const { return TryConvertNumber(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint16& OutNumber) const { return TryConvertNumber(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint32& OutNumber) const { return TryConvertNumber(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint64& OutNumber) const { return TryConvertNumber(*this, OutNumber); }

bool FJsonValue::TryGetString(FString& OutString) const
{
	return false;
}

bool FJsonValue::TryGetBool(bool& OutBool) const
{
	return false;
}

bool FJsonValue::TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const
{
	return false;
}

bool FJsonValue::TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray)
{
	return false;
}

bool FJsonValue::TryGetObject(const TSharedPtr<FJsonObject>*& Object) const
{
	return false;
}

bool FJsonValue::TryGetObject(TSharedPtr<FJsonObject>*& Object)
{
	return false;
}

bool FJsonValue::PreferStringRepresentation() const
{
	return false;
}

SIZE_T FJsonValue::GetMemoryFootprint() const
{
	return sizeof(*this);
}

void FJsonValue::ErrorMessage(const FString& InType) const
{
	// Reading a null as something else is common and expected; anything else is a real mismatch.
	if (IsNull())
	{
		UE_LOG(LogJson, Warning, TEXT("Json Value of type '%s' used as a '%s'."), *GetType(), *InType);
	}
	else
	{
		UE_LOG(LogJson, Error, TEXT("Json Value of type '%s' used as a '%s'."), *GetType(), *InType);
	}
}

namespace
{
	// The simple value a boolean, number or string compares as when kinds differ: a bool, an
	// integer or a double (numbers whose short text has a decimal point), or a string.
	struct FSimpleJsonValue
	{
		enum class EKind
		{
			Bool,
			Integer,
			Double,
			String
		};

		EKind Kind = EKind::String;
		bool bBool = false;
		int64 Integer = 0;
		double Double = 0.0;
		FString String;
	};

	FSimpleJsonValue ToSimpleJsonValue(const FJsonValue& InJsonValue)
	{
		FSimpleJsonValue Result;
		if (!InJsonValue.PreferStringRepresentation())
		{
			if (InJsonValue.Type == EJson::Boolean)
			{
				Result.Kind = FSimpleJsonValue::EKind::Bool;
				Result.bBool = InJsonValue.AsBool();
				return Result;
			}
			if (InJsonValue.Type == EJson::Number)
			{
				const double Number = InJsonValue.AsNumber();
				if (FString::SanitizeFloat(Number, 0).Contains(TEXT(".")))
				{
					Result.Kind = FSimpleJsonValue::EKind::Double;
					Result.Double = Number;
				}
				else
				{
					Result.Kind = FSimpleJsonValue::EKind::Integer;
					Result.Integer = UE::Json::Private::RoundToInt64(Number);
				}
				return Result;
			}
		}
		Result.Kind = FSimpleJsonValue::EKind::String;
		Result.String = InJsonValue.AsString();
		return Result;
	}

	bool IsNumberKind(const FSimpleJsonValue& Value)
	{
		return Value.Kind == FSimpleJsonValue::EKind::Integer || Value.Kind == FSimpleJsonValue::EKind::Double;
	}

	FString NumberToString(const FSimpleJsonValue& Number)
	{
		return Number.Kind == FSimpleJsonValue::EKind::Double ? FString::SanitizeFloat(Number.Double, 0) : FString::Printf(TEXT("%lld"), Number.Integer);
	}

	bool SimpleEquals(const FSimpleJsonValue& Lhs, const FSimpleJsonValue& Rhs)
	{
		using EKind = FSimpleJsonValue::EKind;
		if (Lhs.Kind == EKind::Bool)
		{
			if (Rhs.Kind == EKind::Bool)
			{
				return Lhs.bBool == Rhs.bBool;
			}
			if (Rhs.Kind == EKind::String)
			{
				return Lhs.bBool
					? (Rhs.String.Equals(TEXT("true"), ESearchCase::IgnoreCase) || Rhs.String.Equals(TEXT("1"), ESearchCase::IgnoreCase))
					: (Rhs.String.Equals(TEXT("false"), ESearchCase::IgnoreCase) || Rhs.String.Equals(TEXT("0"), ESearchCase::IgnoreCase));
			}
			if (Rhs.Kind == EKind::Double)
			{
				// A double here always has a fractional part, so it is neither 0 nor 1.
				return false;
			}
			return Rhs.Integer == (Lhs.bBool ? 1 : 0);
		}
		if (IsNumberKind(Lhs))
		{
			if (IsNumberKind(Rhs))
			{
				if (Lhs.Kind == EKind::Double || Rhs.Kind == EKind::Double)
				{
					return NumberToString(Lhs) == NumberToString(Rhs);
				}
				return Lhs.Integer == Rhs.Integer;
			}
			return SimpleEquals(Rhs, Lhs);
		}
		// Lhs is a string.
		if (Rhs.Kind == EKind::String)
		{
			return Lhs.String.Equals(Rhs.String, ESearchCase::CaseSensitive);
		}
		if (Rhs.Kind == EKind::Bool)
		{
			return SimpleEquals(Rhs, Lhs);
		}
		if (!Lhs.String.IsNumeric())
		{
			return false;
		}
		if (Rhs.Kind == EKind::Double)
		{
			return FString::SanitizeFloat(Rhs.Double, 0) == Lhs.String;
		}
		return Rhs.Integer == FCString::Atoi64(*Lhs.String);
	}

	bool IsSimpleKind(EJson Type)
	{
		return Type == EJson::Boolean || Type == EJson::Number || Type == EJson::String;
	}
} // namespace

bool FJsonValue::CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs)
{
	if (Lhs.Type != Rhs.Type)
	{
		if (IsSimpleKind(Lhs.Type) && IsSimpleKind(Rhs.Type))
		{
			return SimpleEquals(ToSimpleJsonValue(Lhs), ToSimpleJsonValue(Rhs));
		}
		return false;
	}

	switch (Lhs.Type)
	{
	case EJson::None:
	case EJson::Null:
		return true;

	case EJson::String:
		return Lhs.AsString() == Rhs.AsString();

	case EJson::Number:
		return Lhs.AsNumber() == Rhs.AsNumber();

	case EJson::Boolean:
		return Lhs.AsBool() == Rhs.AsBool();

	case EJson::Array:
	{
		const TArray<TSharedPtr<FJsonValue>>& LhsArray = Lhs.AsArray();
		const TArray<TSharedPtr<FJsonValue>>& RhsArray = Rhs.AsArray();
		if (LhsArray.Num() != RhsArray.Num())
		{
			return false;
		}
		for (int32 Index = 0; Index < LhsArray.Num(); ++Index)
		{
			const TSharedPtr<FJsonValue>& LhsElement = LhsArray[Index];
			const TSharedPtr<FJsonValue>& RhsElement = RhsArray[Index];
			if (LhsElement.IsValid() != RhsElement.IsValid())
			{
				return false;
			}
			if (LhsElement.IsValid() && !CompareEqual(*LhsElement, *RhsElement))
			{
				return false;
			}
		}
		return true;
	}

	case EJson::Object:
	{
		const TSharedPtr<FJsonObject>& LhsObject = Lhs.AsObject();
		const TSharedPtr<FJsonObject>& RhsObject = Rhs.AsObject();
		if (LhsObject.IsValid() != RhsObject.IsValid())
		{
			return false;
		}
		if (LhsObject.IsValid())
		{
			if (LhsObject->Values.Num() != RhsObject->Values.Num())
			{
				return false;
			}
			for (const auto& Pair : LhsObject->Values)
			{
				const TSharedPtr<FJsonValue> RhsValue = RhsObject->GetFieldUntyped(Pair.Key.ToView());
				if (!RhsValue.IsValid())
				{
					return false;
				}
				const TSharedPtr<FJsonValue>& LhsValue = Pair.Value;
				if (!LhsValue.IsValid() || !CompareEqual(*LhsValue, *RhsValue))
				{
					return false;
				}
			}
		}
		return true;
	}

	default:
		return false;
	}
}

TSharedPtr<FJsonValue> FJsonValue::Duplicate(const TSharedPtr<const FJsonValue>& Src)
{
	return Duplicate(ConstCastSharedPtr<FJsonValue>(Src));
}

TSharedPtr<FJsonValue> FJsonValue::Duplicate(const TSharedPtr<FJsonValue>& Src)
{
	if (!Src.IsValid())
	{
		return TSharedPtr<FJsonValue>();
	}

	// Each kind falls through to the next when its conversion fails, as a number kept as text
	// that does not parse is then copied as a string.
	switch (Src->Type)
	{
	case EJson::Boolean:
	{
		bool BoolValue;
		if (Src->TryGetBool(BoolValue))
		{
			return MakeShared<FJsonValueBoolean>(BoolValue);
		}
	}
		[[fallthrough]];
	case EJson::Number:
	{
		double NumberValue;
		if (Src->TryGetNumber(NumberValue))
		{
			return MakeShared<FJsonValueNumber>(NumberValue);
		}
	}
		[[fallthrough]];
	case EJson::String:
	{
		FString StringValue;
		if (Src->TryGetString(StringValue))
		{
			return MakeShared<FJsonValueString>(StringValue);
		}
	}
		[[fallthrough]];
	case EJson::Object:
	{
		const TSharedPtr<FJsonObject>* ObjectValue;
		if (Src->TryGetObject(ObjectValue))
		{
			TSharedPtr<FJsonObject> NewObject = MakeShared<FJsonObject>();
			FJsonObject::Duplicate(*ObjectValue, NewObject);
			return MakeShared<FJsonValueObject>(NewObject);
		}
	}
		[[fallthrough]];
	case EJson::Array:
	{
		const TArray<TSharedPtr<FJsonValue>>* ArrayValue;
		if (Src->TryGetArray(ArrayValue))
		{
			TArray<TSharedPtr<FJsonValue>> NewArray;
			NewArray.Reserve(ArrayValue->Num());
			for (const TSharedPtr<FJsonValue>& Element : *ArrayValue)
			{
				NewArray.Add(Duplicate(Element));
			}
			return MakeShared<FJsonValueArray>(MoveTemp(NewArray));
		}
	}
		break;
	default:
		break;
	}

	return TSharedPtr<FJsonValue>();
}

FJsonValueNumber::FJsonValueNumber(double InNumber)
	: Value(InNumber)
{
	Type = EJson::Number;
}

FJsonValueNumber::~FJsonValueNumber() = default;

bool FJsonValueNumber::TryGetNumber(double& OutNumber) const
{
	OutNumber = Value;
	return true;
}

bool FJsonValueNumber::TryGetBool(bool& OutBool) const
{
	OutBool = Value != 0.0;
	return true;
}

bool FJsonValueNumber::TryGetString(FString& OutString) const
{
	OutString = FString::SanitizeFloat(Value, 0);
	return true;
}

SIZE_T FJsonValueNumber::GetMemoryFootprint() const
{
	return sizeof(*this);
}

FString FJsonValueNumber::GetType() const
{
	return FString(TEXT("Number"));
}

FJsonValueBoolean::FJsonValueBoolean(bool InBool)
	: Value(InBool)
{
	Type = EJson::Boolean;
}

FJsonValueBoolean::~FJsonValueBoolean() = default;

bool FJsonValueBoolean::TryGetNumber(double& OutNumber) const
{
	OutNumber = Value ? 1.0 : 0.0;
	return true;
}

bool FJsonValueBoolean::TryGetBool(bool& OutBool) const
{
	OutBool = Value;
	return true;
}

bool FJsonValueBoolean::TryGetString(FString& OutString) const
{
	OutString = Value ? TEXT("true") : TEXT("false");
	return true;
}

SIZE_T FJsonValueBoolean::GetMemoryFootprint() const
{
	return sizeof(*this);
}

FString FJsonValueBoolean::GetType() const
{
	return FString(TEXT("Boolean"));
}

FJsonValueArray::FJsonValueArray(const TArray<TSharedPtr<FJsonValue>>& InArray)
	: Value(InArray)
{
	Type = EJson::Array;
}

FJsonValueArray::FJsonValueArray(TArray<TSharedPtr<FJsonValue>>&& InArray)
	: Value(MoveTemp(InArray))
{
	Type = EJson::Array;
}

FJsonValueArray::~FJsonValueArray() = default;

bool FJsonValueArray::TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const
{
	OutArray = &Value;
	return true;
}

bool FJsonValueArray::TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray)
{
	OutArray = &Value;
	return true;
}

SIZE_T FJsonValueArray::GetMemoryFootprint() const
{
	return sizeof(*this) + GetAllocatedSize();
}

SIZE_T FJsonValueArray::GetAllocatedSize() const
{
	SIZE_T SizeBytes = Value.GetAllocatedSize();
	for (const TSharedPtr<FJsonValue>& Element : Value)
	{
		SizeBytes += Element.IsValid() ? Element->GetMemoryFootprint() : 0;
	}
	return SizeBytes;
}

FString FJsonValueArray::GetType() const
{
	return FString(TEXT("Array"));
}

FJsonValueObject::FJsonValueObject(TSharedPtr<FJsonObject> InObject)
	: Value(MoveTemp(InObject))
{
	Type = EJson::Object;
}

FJsonValueObject::~FJsonValueObject() = default;

bool FJsonValueObject::TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const
{
	OutObject = &Value;
	return true;
}

bool FJsonValueObject::TryGetObject(TSharedPtr<FJsonObject>*& OutObject)
{
	OutObject = &Value;
	return true;
}

SIZE_T FJsonValueObject::GetMemoryFootprint() const
{
	return sizeof(*this) + GetAllocatedSize();
}

SIZE_T FJsonValueObject::GetAllocatedSize() const
{
	return Value.IsValid() ? Value->GetMemoryFootprint() : 0;
}

FString FJsonValueObject::GetType() const
{
	return FString(TEXT("Object"));
}

FJsonValueNull::FJsonValueNull()
{
	Type = EJson::Null;
}

FJsonValueNull::~FJsonValueNull() = default;

SIZE_T FJsonValueNull::GetMemoryFootprint() const
{
	return sizeof(*this);
}

FString FJsonValueNull::GetType() const
{
	return FString(TEXT("Null"));
}
