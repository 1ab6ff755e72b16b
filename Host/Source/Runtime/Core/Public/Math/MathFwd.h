// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

namespace UE::Math
{
	template <typename T> struct TVector2;
	template <typename InIntType> struct TIntPoint;
	template <typename T> struct TVector4;
}

using FVector2D = UE::Math::TVector2<double>;
using FVector2f = UE::Math::TVector2<float>;
using FVector2d = UE::Math::TVector2<double>;
using FIntPoint = UE::Math::TIntPoint<int32>;
using FInt32Point = UE::Math::TIntPoint<int32>;
using FInt64Point = UE::Math::TIntPoint<int64>;
using FVector4f = UE::Math::TVector4<float>;
using FVector4d = UE::Math::TVector4<double>;
using FVector4 = UE::Math::TVector4<double>;
struct FLinearColor;
struct FColor;
