// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Policies/JsonPrintPolicy.h"

// Human-readable output: LINE_TERMINATOR line ends, one tab per level, a space after colons.
template <class CharType>
struct TPrettyJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	static inline void WriteLineTerminator(FArchive* Stream)
	{
		TJsonPrintPolicy<CharType>::WriteString(Stream, FStringView(LINE_TERMINATOR));
	}

	static inline void WriteTabs(FArchive* Stream, int32 Count)
	{
		const CharType Tab = CharType('\t');
		for (int32 Index = 0; Index < Count; ++Index)
		{
			TJsonPrintPolicy<CharType>::WriteChar(Stream, Tab);
		}
	}

	static inline void WriteSpace(FArchive* Stream)
	{
		TJsonPrintPolicy<CharType>::WriteChar(Stream, CharType(' '));
	}
};
