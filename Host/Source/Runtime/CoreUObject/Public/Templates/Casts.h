// Cast, CastChecked and ExactCast between object types.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectPtr.h"

class UObject;

COREUOBJECT_API void UE_Host_CastCheckFailed(const UObject* Object, const UClass* To);

template<typename To, typename From>
FORCEINLINE To* Cast(From* Src)
{
	return Src && Src->template IsA<To>() ? (To*)Src : nullptr;
}

template<typename To, typename From>
FORCEINLINE To* Cast(const TObjectPtr<From>& Src)
{
	return Cast<To>(Src.Get());
}

template<typename To, typename From>
FORCEINLINE To* ExactCast(From* Src)
{
	return Src && Src->GetClass() == To::StaticClass() ? (To*)Src : nullptr;
}

template<typename To, typename From>
FORCEINLINE To* ExactCast(const TObjectPtr<From>& Src)
{
	return ExactCast<To>(Src.Get());
}

enum class ECastCheckedType : uint8
{
	NullAllowed,
	NullChecked
};

template<typename To, typename From>
FORCEINLINE To* CastChecked(From* Src, ECastCheckedType CheckType = ECastCheckedType::NullChecked)
{
	if (!Src)
	{
		if (CheckType == ECastCheckedType::NullChecked)
		{
			UE_Host_CastCheckFailed(nullptr, To::StaticClass());
		}
		return nullptr;
	}
	To* Result = Cast<To>(Src);
	if (!Result)
	{
		UE_Host_CastCheckFailed((const UObject*)Src, To::StaticClass());
	}
	return Result;
}

template<typename To, typename From>
FORCEINLINE To* CastChecked(const TObjectPtr<From>& Src, ECastCheckedType CheckType = ECastCheckedType::NullChecked)
{
	return CastChecked<To>(Src.Get(), CheckType);
}
