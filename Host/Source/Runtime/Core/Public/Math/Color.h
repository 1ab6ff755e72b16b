// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector4.h"
#include "Containers/UnrealString.h"
#include "Templates/TypeHash.h"

enum class EGammaSpace : uint8
{
	Linear,
	Pow22,
	sRGB,
	Invalid
};

// A linear colour with float components. The default constructor leaves them uninitialised.
struct FLinearColor
{
	union
	{
		struct
		{
			float R;
			float G;
			float B;
			float A;
		};
		float RGBA[4];
	};

	static CORE_API float sRGBToLinearTable[256];

	FORCEINLINE FLinearColor() = default;
	FORCEINLINE explicit FLinearColor(EForceInit) : R(0), G(0), B(0), A(0) {}
	constexpr FORCEINLINE FLinearColor(float InR, float InG, float InB, float InA = 1.0f) : R(InR), G(InG), B(InB), A(InA) {}
	// From an sRGB-encoded FColor (the alpha is linear).
	CORE_API FLinearColor(const FColor& Color);
	FORCEINLINE FLinearColor(const UE::Math::TVector4<float>& Vector) : R(Vector.X), G(Vector.Y), B(Vector.Z), A(Vector.W) {}
	explicit FORCEINLINE FLinearColor(const UE::Math::TVector4<double>& Vector) : R((float)Vector.X), G((float)Vector.Y), B((float)Vector.Z), A((float)Vector.W) {}

	CORE_API FColor ToRGBE() const;
	static CORE_API FLinearColor FromSRGBColor(const FColor& Color);
	static CORE_API FLinearColor FromPow22Color(const FColor& Color);
	CORE_API FColor ToFColor(const bool bSRGB) const;
	CORE_API FColor ToFColorSRGB() const;
	CORE_API FColor QuantizeRound() const;
	CORE_API FColor Quantize() const;
	CORE_API FLinearColor Desaturate(float Desaturation) const;
	CORE_API FLinearColor LinearRGBToHSV() const;
	CORE_API FLinearColor HSVToLinearRGB() const;
	static CORE_API FLinearColor MakeRandomColor();
	static CORE_API FLinearColor MakeFromColorTemperature(float Temp);

	FORCEINLINE float& Component(int32 Index) { return RGBA[Index]; }
	FORCEINLINE const float& Component(int32 Index) const { return RGBA[Index]; }

	FORCEINLINE FLinearColor operator+(const FLinearColor& ColorB) const { return FLinearColor(R + ColorB.R, G + ColorB.G, B + ColorB.B, A + ColorB.A); }
	FORCEINLINE FLinearColor& operator+=(const FLinearColor& ColorB)
	{
		R += ColorB.R;
		G += ColorB.G;
		B += ColorB.B;
		A += ColorB.A;
		return *this;
	}
	FORCEINLINE FLinearColor operator-(const FLinearColor& ColorB) const { return FLinearColor(R - ColorB.R, G - ColorB.G, B - ColorB.B, A - ColorB.A); }
	FORCEINLINE FLinearColor& operator-=(const FLinearColor& ColorB)
	{
		R -= ColorB.R;
		G -= ColorB.G;
		B -= ColorB.B;
		A -= ColorB.A;
		return *this;
	}
	FORCEINLINE FLinearColor operator*(const FLinearColor& ColorB) const { return FLinearColor(R * ColorB.R, G * ColorB.G, B * ColorB.B, A * ColorB.A); }
	FORCEINLINE FLinearColor& operator*=(const FLinearColor& ColorB)
	{
		R *= ColorB.R;
		G *= ColorB.G;
		B *= ColorB.B;
		A *= ColorB.A;
		return *this;
	}
	FORCEINLINE FLinearColor operator*(float Scalar) const { return FLinearColor(R * Scalar, G * Scalar, B * Scalar, A * Scalar); }
	FORCEINLINE FLinearColor& operator*=(float Scalar)
	{
		R *= Scalar;
		G *= Scalar;
		B *= Scalar;
		A *= Scalar;
		return *this;
	}
	FORCEINLINE FLinearColor operator/(const FLinearColor& ColorB) const { return FLinearColor(R / ColorB.R, G / ColorB.G, B / ColorB.B, A / ColorB.A); }
	FORCEINLINE FLinearColor operator/(float Scalar) const
	{
		const float InvScalar = 1.0f / Scalar;
		return FLinearColor(R * InvScalar, G * InvScalar, B * InvScalar, A * InvScalar);
	}
	FORCEINLINE FLinearColor& operator/=(float Scalar)
	{
		const float InvScalar = 1.0f / Scalar;
		R *= InvScalar;
		G *= InvScalar;
		B *= InvScalar;
		A *= InvScalar;
		return *this;
	}

	FORCEINLINE FLinearColor GetClamped(float InMin = 0.0f, float InMax = 1.0f) const
	{
		return FLinearColor(FMath::Clamp(R, InMin, InMax), FMath::Clamp(G, InMin, InMax), FMath::Clamp(B, InMin, InMax), FMath::Clamp(A, InMin, InMax));
	}

	FORCEINLINE bool operator==(const FLinearColor& ColorB) const { return R == ColorB.R && G == ColorB.G && B == ColorB.B && A == ColorB.A; }
	FORCEINLINE bool operator!=(const FLinearColor& Other) const { return !(*this == Other); }
	FORCEINLINE bool Equals(const FLinearColor& ColorB, float Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(R - ColorB.R) < Tolerance && FMath::Abs(G - ColorB.G) < Tolerance && FMath::Abs(B - ColorB.B) < Tolerance && FMath::Abs(A - ColorB.A) < Tolerance;
	}

	FORCEINLINE FLinearColor CopyWithNewOpacity(float NewOpacity) const
	{
		FLinearColor NewCopy = *this;
		NewCopy.A = NewOpacity;
		return NewCopy;
	}

	FORCEINLINE float ComputeLuminance() const { return R * 0.3f + G * 0.59f + B * 0.11f; }
	FORCEINLINE float GetLuminance() const { return R * 0.3f + G * 0.59f + B * 0.11f; }
	FORCEINLINE float GetMax() const { return FMath::Max(FMath::Max(FMath::Max(R, G), B), A); }
	FORCEINLINE bool IsAlmostBlack() const { return FMath::Square(R) < UE_DELTA && FMath::Square(G) < UE_DELTA && FMath::Square(B) < UE_DELTA; }
	FORCEINLINE float GetMin() const { return FMath::Min(FMath::Min(FMath::Min(R, G), B), A); }

	static FLinearColor LerpUsingHSV(const FLinearColor& From, const FLinearColor& To, const float Progress);

	FString ToString() const { return FString::Printf(TEXT("(R=%f,G=%f,B=%f,A=%f)"), R, G, B, A); }
	bool InitFromString(const FString& InSourceString);

	static CORE_API const FLinearColor White;
	static CORE_API const FLinearColor Gray;
	static CORE_API const FLinearColor Black;
	static CORE_API const FLinearColor Transparent;
	static CORE_API const FLinearColor Red;
	static CORE_API const FLinearColor Green;
	static CORE_API const FLinearColor Blue;
	static CORE_API const FLinearColor Yellow;

	friend uint32 GetTypeHash(const FLinearColor& Color)
	{
		return HashCombineFast(HashCombineFast(GetTypeHash(Color.R), GetTypeHash(Color.G)), HashCombineFast(GetTypeHash(Color.B), GetTypeHash(Color.A)));
	}
};

FORCEINLINE FLinearColor operator*(float Scalar, const FLinearColor& Color)
{
	return Color.operator*(Scalar);
}

// An 8-bit-per-channel colour, stored B, G, R, A as on little-endian machines.
struct FColor
{
	union
	{
		struct
		{
			uint8 B, G, R, A;
		};
		uint32 Bits;
	};

	uint32& DWColor() { return Bits; }
	const uint32& DWColor() const { return Bits; }

	FColor() = default;
	constexpr FColor(EForceInit) : B(0), G(0), R(0), A(0) {}
	constexpr FColor(uint8 InR, uint8 InG, uint8 InB, uint8 InA = 255) : B(InB), G(InG), R(InR), A(InA) {}
	explicit FColor(uint32 InColor) { DWColor() = InColor; }

	FORCEINLINE bool operator==(const FColor& C) const { return Bits == C.Bits; }
	FORCEINLINE bool operator!=(const FColor& C) const { return Bits != C.Bits; }
	FORCEINLINE void operator+=(const FColor& C)
	{
		R = (uint8)FMath::Min((int32)R + (int32)C.R, 255);
		G = (uint8)FMath::Min((int32)G + (int32)C.G, 255);
		B = (uint8)FMath::Min((int32)B + (int32)C.B, 255);
		A = (uint8)FMath::Min((int32)A + (int32)C.A, 255);
	}

	// Each channel divided by 255, without the sRGB curve.
	FLinearColor ReinterpretAsLinear() const { return FLinearColor(R / 255.f, G / 255.f, B / 255.f, A / 255.f); }
	CORE_API FString ToHex() const;
	static CORE_API FColor FromHex(const FString& HexString);
	static CORE_API FColor MakeRandomColor();
	FColor WithAlpha(uint8 Alpha) const { return FColor(R, G, B, Alpha); }
	uint32 ToPackedARGB() const { return ((uint32)A << 24) | ((uint32)R << 16) | ((uint32)G << 8) | ((uint32)B << 0); }
	uint32 ToPackedRGBA() const { return ((uint32)R << 24) | ((uint32)G << 16) | ((uint32)B << 8) | ((uint32)A << 0); }
	FString ToString() const { return FString::Printf(TEXT("(R=%i,G=%i,B=%i,A=%i)"), R, G, B, A); }

	friend uint32 GetTypeHash(const FColor& Color) { return Color.DWColor(); }

	static CORE_API const FColor White;
	static CORE_API const FColor Black;
	static CORE_API const FColor Transparent;
	static CORE_API const FColor Red;
	static CORE_API const FColor Green;
	static CORE_API const FColor Blue;
	static CORE_API const FColor Yellow;
	static CORE_API const FColor Cyan;
	static CORE_API const FColor Magenta;
	static CORE_API const FColor Orange;
	static CORE_API const FColor Purple;
	static CORE_API const FColor Turquoise;
	static CORE_API const FColor Silver;
	static CORE_API const FColor Emerald;
};

template <> struct TIsPODType<FLinearColor> { enum { Value = true }; };
template <> struct TIsPODType<FColor> { enum { Value = true }; };
