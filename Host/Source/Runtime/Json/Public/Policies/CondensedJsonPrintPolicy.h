// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Policies/JsonPrintPolicy.h"

// Compact output: no line ends, tabs or spaces between tokens.
template <class CharType>
struct TCondensedJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	static inline void WriteLineTerminator(FArchive* Stream)
	{
	}

	static inline void WriteTabs(FArchive* Stream, int32 Count)
	{
	}

	static inline void WriteSpace(FArchive* Stream)
	{
	}
};
