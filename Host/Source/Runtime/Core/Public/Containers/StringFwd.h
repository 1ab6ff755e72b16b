// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

class FString;
template <typename CharType> class TStringView;
template <typename CharType> class TStringBuilderBase;
template <typename CharType, int32 BufferSize> class TStringBuilderWithBuffer;

using FStringView = TStringView<TCHAR>;
using FAnsiStringView = TStringView<ANSICHAR>;
using FUtf8StringView = TStringView<UTF8CHAR>;
using FWideStringView = TStringView<WIDECHAR>;
using FStringBuilderBase = TStringBuilderBase<TCHAR>;
using FAnsiStringBuilderBase = TStringBuilderBase<ANSICHAR>;
using FUtf8StringBuilderBase = TStringBuilderBase<UTF8CHAR>;
template <int32 BufferSize> using TStringBuilder = TStringBuilderWithBuffer<TCHAR, BufferSize>;
template <int32 BufferSize> using TAnsiStringBuilder = TStringBuilderWithBuffer<ANSICHAR, BufferSize>;
template <int32 BufferSize> using TUtf8StringBuilder = TStringBuilderWithBuffer<UTF8CHAR, BufferSize>;
