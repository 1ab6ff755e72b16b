// Copyright Quarn. All Rights Reserved.

#include "Math/Color.h"
#include <cstdlib>

namespace
{
	struct FSRGBTable
	{
		float Values[256];
		FSRGBTable()
		{
			for (int32 Index = 0; Index < 256; ++Index)
			{
				const double C = Index / 255.0;
				Values[Index] = (float)(C > 0.04045 ? std::pow((C + 0.055) / 1.055, 2.4) : C / 12.92);
			}
		}
	};

	const FSRGBTable& GetSRGBTable()
	{
		static const FSRGBTable Table;
		return Table;
	}
} // namespace

float FLinearColor::sRGBToLinearTable[256] = {};

const FLinearColor FLinearColor::White(1.f, 1.f, 1.f);
const FLinearColor FLinearColor::Gray(0.5f, 0.5f, 0.5f);
const FLinearColor FLinearColor::Black(0, 0, 0);
const FLinearColor FLinearColor::Transparent(0, 0, 0, 0);
const FLinearColor FLinearColor::Red(1.f, 0, 0);
const FLinearColor FLinearColor::Green(0, 1.f, 0);
const FLinearColor FLinearColor::Blue(0, 0, 1.f);
const FLinearColor FLinearColor::Yellow(1.f, 1.f, 0);

const FColor FColor::White(255, 255, 255);
const FColor FColor::Black(0, 0, 0);
const FColor FColor::Transparent(0, 0, 0, 0);
const FColor FColor::Red(255, 0, 0);
const FColor FColor::Green(0, 255, 0);
const FColor FColor::Blue(0, 0, 255);
const FColor FColor::Yellow(255, 255, 0);
const FColor FColor::Cyan(0, 255, 255);
const FColor FColor::Magenta(255, 0, 255);
const FColor FColor::Orange(243, 156, 18);
const FColor FColor::Purple(169, 7, 228);
const FColor FColor::Turquoise(26, 188, 156);
const FColor FColor::Silver(189, 195, 199);
const FColor FColor::Emerald(46, 204, 113);

FLinearColor::FLinearColor(const FColor& Color)
{
	const FSRGBTable& Table = GetSRGBTable();
	R = Table.Values[Color.R];
	G = Table.Values[Color.G];
	B = Table.Values[Color.B];
	A = float(Color.A) * (1.0f / 255.0f);
}

FLinearColor FLinearColor::FromSRGBColor(const FColor& Color)
{
	return FLinearColor(Color);
}

FLinearColor FLinearColor::FromPow22Color(const FColor& Color)
{
	return FLinearColor(std::pow(Color.R / 255.0f, 2.2f), std::pow(Color.G / 255.0f, 2.2f), std::pow(Color.B / 255.0f, 2.2f), Color.A / 255.0f);
}

FColor FLinearColor::ToFColor(const bool bSRGB) const
{
	float FloatR = FMath::Clamp(R, 0.0f, 1.0f);
	float FloatG = FMath::Clamp(G, 0.0f, 1.0f);
	float FloatB = FMath::Clamp(B, 0.0f, 1.0f);
	const float FloatA = FMath::Clamp(A, 0.0f, 1.0f);
	if (bSRGB)
	{
		FloatR = FloatR <= 0.0031308f ? FloatR * 12.92f : FMath::Pow(FloatR, 1.0f / 2.4f) * 1.055f - 0.055f;
		FloatG = FloatG <= 0.0031308f ? FloatG * 12.92f : FMath::Pow(FloatG, 1.0f / 2.4f) * 1.055f - 0.055f;
		FloatB = FloatB <= 0.0031308f ? FloatB * 12.92f : FMath::Pow(FloatB, 1.0f / 2.4f) * 1.055f - 0.055f;
	}
	return FColor((uint8)FMath::FloorToInt(FloatR * 255.999f), (uint8)FMath::FloorToInt(FloatG * 255.999f), (uint8)FMath::FloorToInt(FloatB * 255.999f), (uint8)FMath::FloorToInt(FloatA * 255.999f));
}

FColor FLinearColor::ToFColorSRGB() const
{
	return ToFColor(true);
}

FColor FLinearColor::QuantizeRound() const
{
	return FColor((uint8)FMath::Clamp(FMath::RoundToInt(R * 255.f), 0, 255), (uint8)FMath::Clamp(FMath::RoundToInt(G * 255.f), 0, 255), (uint8)FMath::Clamp(FMath::RoundToInt(B * 255.f), 0, 255), (uint8)FMath::Clamp(FMath::RoundToInt(A * 255.f), 0, 255));
}

FColor FLinearColor::Quantize() const
{
	return FColor((uint8)FMath::Clamp(FMath::TruncToInt(R * 255.f), 0, 255), (uint8)FMath::Clamp(FMath::TruncToInt(G * 255.f), 0, 255), (uint8)FMath::Clamp(FMath::TruncToInt(B * 255.f), 0, 255), (uint8)FMath::Clamp(FMath::TruncToInt(A * 255.f), 0, 255));
}

FColor FLinearColor::ToRGBE() const
{
	const float Primary = FMath::Max3(R, G, B);
	if (Primary < 1E-32f)
	{
		return FColor(0, 0, 0, 0);
	}
	int32 Exponent;
	const float Scale = std::frexp(Primary, &Exponent) / Primary * 255.f;
	return FColor((uint8)FMath::Clamp(FMath::TruncToInt(R * Scale), 0, 255), (uint8)FMath::Clamp(FMath::TruncToInt(G * Scale), 0, 255), (uint8)FMath::Clamp(FMath::TruncToInt(B * Scale), 0, 255), (uint8)(FMath::Clamp(Exponent, -128, 127) + 128));
}

FLinearColor FLinearColor::Desaturate(float Desaturation) const
{
	const float Lum = ComputeLuminance();
	return FMath::Lerp(*this, FLinearColor(Lum, Lum, Lum, 0), Desaturation);
}

FLinearColor FLinearColor::LinearRGBToHSV() const
{
	const float RGBMin = FMath::Min3(R, G, B);
	const float RGBMax = FMath::Max3(R, G, B);
	const float RGBRange = RGBMax - RGBMin;
	const float Hue = (RGBMax == RGBMin ? 0.0f : RGBMax == R ? FMath::Fmod((((G - B) / RGBRange) * 60.0f) + 360.0f, 360.0f) : RGBMax == G ? (((B - R) / RGBRange) * 60.0f) + 120.0f : RGBMax == B ? (((R - G) / RGBRange) * 60.0f) + 240.0f : 0.0f);
	const float Saturation = (RGBMax == 0.0f ? 0.0f : RGBRange / RGBMax);
	return FLinearColor(Hue, Saturation, RGBMax, A);
}

FLinearColor FLinearColor::HSVToLinearRGB() const
{
	const float Hue = R;
	const float Saturation = G;
	const float Value = B;
	const float HDiv60 = Hue / 60.0f;
	const float HDiv60_Floor = std::floor(HDiv60);
	const float HDiv60_Fraction = HDiv60 - HDiv60_Floor;
	const float RGBValues[4] = { Value, Value * (1.0f - Saturation), Value * (1.0f - (HDiv60_Fraction * Saturation)), Value * (1.0f - ((1.0f - HDiv60_Fraction) * Saturation)) };
	const uint32 RGBSwizzle[6][3] = { { 0, 3, 1 }, { 2, 0, 1 }, { 1, 0, 3 }, { 1, 2, 0 }, { 3, 1, 0 }, { 0, 1, 2 } };
	const uint32 SwizzleIndex = ((uint32)HDiv60_Floor) % 6;
	return FLinearColor(RGBValues[RGBSwizzle[SwizzleIndex][0]], RGBValues[RGBSwizzle[SwizzleIndex][1]], RGBValues[RGBSwizzle[SwizzleIndex][2]], A);
}

FLinearColor FLinearColor::LerpUsingHSV(const FLinearColor& From, const FLinearColor& To, const float Progress)
{
	const FLinearColor FromHSV = From.LinearRGBToHSV();
	const FLinearColor ToHSV = To.LinearRGBToHSV();
	float FromHue = FromHSV.R;
	float ToHue = ToHSV.R;
	if (FMath::Abs(FromHue - ToHue) > 180.0f)
	{
		if (ToHue > FromHue)
		{
			FromHue += 360.0f;
		}
		else
		{
			ToHue += 360.0f;
		}
	}
	float NewHue = FMath::Lerp(FromHue, ToHue, Progress);
	NewHue = FMath::Fmod(NewHue, 360.0f);
	if (NewHue < 0.0f)
	{
		NewHue += 360.0f;
	}
	const float NewSaturation = FMath::Lerp(FromHSV.G, ToHSV.G, Progress);
	const float NewValue = FMath::Lerp(FromHSV.B, ToHSV.B, Progress);
	FLinearColor Interpolated = FLinearColor(NewHue, NewSaturation, NewValue).HSVToLinearRGB();
	Interpolated.A = FMath::Lerp(From.A, To.A, Progress);
	return Interpolated;
}

FLinearColor FLinearColor::MakeRandomColor()
{
	const uint8 Hue = (uint8)(FMath::FRand() * 255.f);
	return FLinearColor(Hue * 360.0f / 255.0f, 1.0f, 1.0f).HSVToLinearRGB();
}

FLinearColor FLinearColor::MakeFromColorTemperature(float Temp)
{
	Temp = FMath::Clamp(Temp, 1000.0f, 15000.0f);
	const float U = (0.860117757f + 1.54118254e-4f * Temp + 1.28641212e-7f * Temp * Temp) / (1.0f + 8.42420235e-4f * Temp + 7.08145163e-7f * Temp * Temp);
	const float V = (0.317398726f + 4.22806245e-5f * Temp + 4.20481691e-8f * Temp * Temp) / (1.0f - 2.89741816e-5f * Temp + 1.61456053e-7f * Temp * Temp);
	const float X = 3.0f * U / (2.0f * U - 8.0f * V + 4.0f);
	const float Y = 2.0f * V / (2.0f * U - 8.0f * V + 4.0f);
	const float Z = 1.0f - X - Y;
	const float Y1 = 1.0f;
	const float X1 = Y1 / Y * X;
	const float Z1 = Y1 / Y * Z;
	return FLinearColor(3.2404542f * X1 - 1.5371385f * Y1 - 0.4985314f * Z1, -0.9692660f * X1 + 1.8760108f * Y1 + 0.0415560f * Z1, 0.0556434f * X1 - 0.2040259f * Y1 + 1.0572252f * Z1);
}

bool FLinearColor::InitFromString(const FString& InSourceString)
{
	R = G = B = 0.f;
	A = 1.f;
	auto Read = [&InSourceString](const TCHAR* Key, float& Out)
	{
		const int32 Pos = InSourceString.Find(Key);
		if (Pos == INDEX_NONE)
		{
			return false;
		}
		Out = FCString::Atof(*InSourceString + Pos + 2);
		return true;
	};
	const bool bSuccessful = Read(TEXT("R="), R) && Read(TEXT("G="), G) && Read(TEXT("B="), B);
	Read(TEXT("A="), A);
	return bSuccessful;
}

FString FColor::ToHex() const
{
	return FString::Printf(TEXT("%02X%02X%02X%02X"), R, G, B, A);
}

FColor FColor::FromHex(const FString& HexString)
{
	int32 StartIndex = (!HexString.IsEmpty() && HexString[0] == TEXT('#')) ? 1 : 0;
	auto Nibble = [&HexString](int32 Index) -> uint8
	{
		const TCHAR C = HexString[Index];
		if (C >= '0' && C <= '9')
		{
			return (uint8)(C - '0');
		}
		if (C >= 'a' && C <= 'f')
		{
			return (uint8)(C - 'a' + 10);
		}
		if (C >= 'A' && C <= 'F')
		{
			return (uint8)(C - 'A' + 10);
		}
		return 0;
	};
	const int32 Len = HexString.Len() - StartIndex;
	if (Len == 6 || Len == 8)
	{
		const uint8 R = (uint8)((Nibble(StartIndex) << 4) | Nibble(StartIndex + 1));
		const uint8 G = (uint8)((Nibble(StartIndex + 2) << 4) | Nibble(StartIndex + 3));
		const uint8 B = (uint8)((Nibble(StartIndex + 4) << 4) | Nibble(StartIndex + 5));
		const uint8 A = Len == 8 ? (uint8)((Nibble(StartIndex + 6) << 4) | Nibble(StartIndex + 7)) : 255;
		return FColor(R, G, B, A);
	}
	if (Len == 3 || Len == 4)
	{
		const uint8 R = (uint8)(Nibble(StartIndex) * 17);
		const uint8 G = (uint8)(Nibble(StartIndex + 1) * 17);
		const uint8 B = (uint8)(Nibble(StartIndex + 2) * 17);
		const uint8 A = Len == 4 ? (uint8)(Nibble(StartIndex + 3) * 17) : 255;
		return FColor(R, G, B, A);
	}
	return FColor(ForceInit);
}

FColor FColor::MakeRandomColor()
{
	return FLinearColor::MakeRandomColor().ToFColor(true);
}
