// TEnumAsByte: an enum stored in one byte, as reflected members of old-style enums are.
#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"

template<class InEnumType>
class TEnumAsByte
{
public:
	typedef InEnumType EnumType;

	TEnumAsByte() = default;
	TEnumAsByte(const TEnumAsByte&) = default;
	TEnumAsByte& operator=(const TEnumAsByte&) = default;
	FORCEINLINE TEnumAsByte(EnumType InValue) : Value(static_cast<uint8>(InValue)) {}
	explicit FORCEINLINE TEnumAsByte(int32 InValue) : Value(static_cast<uint8>(InValue)) {}
	explicit FORCEINLINE TEnumAsByte(uint8 InValue) : Value(InValue) {}

	FORCEINLINE bool operator==(EnumType InValue) const { return static_cast<EnumType>(Value) == InValue; }
	FORCEINLINE bool operator==(TEnumAsByte InValue) const { return Value == InValue.Value; }
	FORCEINLINE bool operator!=(EnumType InValue) const { return static_cast<EnumType>(Value) != InValue; }
	FORCEINLINE operator EnumType() const { return (EnumType)Value; }
	FORCEINLINE EnumType GetValue() const { return (EnumType)Value; }
	FORCEINLINE uint8 GetIntValue() const { return Value; }

	friend FORCEINLINE uint32 GetTypeHash(const TEnumAsByte& Enum) { return GetTypeHash(Enum.Value); }

private:
	uint8 Value = 0;
};
