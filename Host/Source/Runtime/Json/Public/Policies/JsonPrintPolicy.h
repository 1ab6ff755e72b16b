// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Serialization/Archive.h"

// The base of the JSON print policies: how characters, strings and numbers reach the stream, in
// the writer's character type.
template <class InCharType>
struct TJsonPrintPolicy
{
	using CharType = InCharType;

	static inline void WriteChar(FArchive* Stream, CharType Char)
	{
		Stream->Serialize(&Char, sizeof(CharType));
	}

	static inline void WriteString(FArchive* Stream, FStringView String)
	{
		WriteConverted(Stream, String);
	}

	static inline void WriteString(FArchive* Stream, FUtf8StringView String)
	{
		WriteConverted(Stream, String);
	}

	static inline void WriteString(FArchive* Stream, FAnsiStringView String)
	{
		WriteConverted(Stream, String);
	}

	static inline void WriteFloat(FArchive* Stream, float Value)
	{
		WriteString(Stream, FString::Printf(TEXT("%g"), Value));
	}

	// 17 significant digits, the most a double can use: large whole numbers stay exact.
	static inline void WriteDouble(FArchive* Stream, double Value)
	{
		WriteString(Stream, FString::Printf(TEXT("%.17g"), Value));
	}

private:
	template <typename FromCharType>
	static inline void WriteConverted(FArchive* Stream, TStringView<FromCharType> String)
	{
		if (String.IsEmpty())
		{
			return;
		}
		if constexpr (std::is_same_v<FromCharType, CharType>)
		{
			Stream->Serialize((void*)String.GetData(), String.Len() * sizeof(CharType));
		}
		else
		{
			auto Converted = StringCast<CharType>(String.GetData(), String.Len());
			Stream->Serialize((void*)Converted.Get(), Converted.Length() * sizeof(CharType));
		}
	}
};
