// Copyright Quarn. All Rights Reserved.

#include "Misc/FormatStringSan.h"
#include <cstdio>
#include <cstring>

namespace UE::Core::Private
{
	namespace
	{
		using EKind = FFormatArgValue::EKind;

		void WriteAscii(FFormatSink& Sink, const char* Text, int32 Len)
		{
			TCHAR Buffer[128];
			while (Len > 0)
			{
				const int32 Chunk = Len < 128 ? Len : 128;
				for (int32 Index = 0; Index < Chunk; ++Index)
				{
					Buffer[Index] = (TCHAR)(uint8)Text[Index];
				}
				Sink.Write(Buffer, Chunk);
				Text += Chunk;
				Len -= Chunk;
			}
		}

		void WritePadding(FFormatSink& Sink, TCHAR Fill, int32 Count)
		{
			TCHAR Buffer[64];
			for (int32 Index = 0; Index < 64; ++Index)
			{
				Buffer[Index] = Fill;
			}
			while (Count > 0)
			{
				const int32 Chunk = Count < 64 ? Count : 64;
				Sink.Write(Buffer, Chunk);
				Count -= Chunk;
			}
		}

		// Decodes one UTF-8 sequence; invalid input yields '?' and consumes one byte.
		uint32 DecodeUtf8(const uint8*& Ptr)
		{
			const uint8 Lead = *Ptr;
			if (Lead < 0x80)
			{
				++Ptr;
				return Lead;
			}
			int32 Extra;
			uint32 Code;
			uint32 Min;
			if ((Lead & 0xE0) == 0xC0)
			{
				Extra = 1;
				Code = Lead & 0x1F;
				Min = 0x80;
			}
			else if ((Lead & 0xF0) == 0xE0)
			{
				Extra = 2;
				Code = Lead & 0x0F;
				Min = 0x800;
			}
			else if ((Lead & 0xF8) == 0xF0)
			{
				Extra = 3;
				Code = Lead & 0x07;
				Min = 0x10000;
			}
			else
			{
				++Ptr;
				return '?';
			}
			for (int32 Index = 1; Index <= Extra; ++Index)
			{
				if ((Ptr[Index] & 0xC0) != 0x80)
				{
					++Ptr;
					return '?';
				}
				Code = (Code << 6) | (Ptr[Index] & 0x3F);
			}
			if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
			{
				++Ptr;
				return '?';
			}
			Ptr += Extra + 1;
			return Code;
		}

		void WriteNarrowString(FFormatSink& Sink, const char* Str, int32 Precision, int32 Width, bool bLeft)
		{
			// Decode into a temporary so that width counts characters.
			const uint8* Ptr = (const uint8*)Str;
			TCHAR Buffer[256];
			int32 Count = 0;
			int32 Total = 0;
			auto Flush = [&]()
			{
				Sink.Write(Buffer, Count);
				Count = 0;
			};
			// Count first for right alignment.
			if (Width > 0 && !bLeft)
			{
				const uint8* Scan = Ptr;
				int32 Length = 0;
				while (*Scan && (Precision < 0 || Length < Precision))
				{
					const uint32 Code = DecodeUtf8(Scan);
					Length += Code >= 0x10000 ? 2 : 1;
				}
				if (Length < Width)
				{
					WritePadding(Sink, ' ', Width - Length);
				}
			}
			while (*Ptr && (Precision < 0 || Total < Precision))
			{
				if (Count >= 254)
				{
					Flush();
				}
				const uint32 Code = DecodeUtf8(Ptr);
				if (Code >= 0x10000)
				{
					Buffer[Count++] = (TCHAR)(0xD800 + ((Code - 0x10000) >> 10));
					Buffer[Count++] = (TCHAR)(0xDC00 + ((Code - 0x10000) & 0x3FF));
					Total += 2;
				}
				else
				{
					Buffer[Count++] = (TCHAR)Code;
					++Total;
				}
			}
			Flush();
			if (bLeft && Total < Width)
			{
				WritePadding(Sink, ' ', Width - Total);
			}
		}
	} // namespace

	void FormatToSink(FFormatSink& Sink, const TCHAR* Format, const FFormatArgValue* Args, int32 NumArgs)
	{
		if (!Format)
		{
			return;
		}
		int32 ArgIndex = 0;
		auto NextArg = [&]() -> const FFormatArgValue*
		{
			return ArgIndex < NumArgs ? &Args[ArgIndex++] : nullptr;
		};

		const TCHAR* P = Format;
		while (*P)
		{
			// Copy literal text up to the next '%'.
			const TCHAR* Start = P;
			while (*P && *P != '%')
			{
				++P;
			}
			if (P != Start)
			{
				Sink.Write(Start, (int32)(P - Start));
			}
			if (!*P)
			{
				break;
			}
			const TCHAR* SpecStart = P;
			++P;
			if (*P == '%')
			{
				Sink.Write(P, 1);
				++P;
				continue;
			}

			char Flags[8];
			int32 NumFlags = 0;
			bool bLeft = false;
			bool bZero = false;
			while (*P == '-' || *P == '+' || *P == ' ' || *P == '#' || *P == '0')
			{
				if (NumFlags < 7)
				{
					Flags[NumFlags++] = (char)*P;
				}
				bLeft |= *P == '-';
				bZero |= *P == '0';
				++P;
			}
			Flags[NumFlags] = 0;

			int32 Width = -1;
			if (*P == '*')
			{
				const FFormatArgValue* Arg = NextArg();
				Width = Arg ? (int32)Arg->Signed : 0;
				if (Width < 0)
				{
					bLeft = true;
					Width = -Width;
				}
				++P;
			}
			else if (*P >= '0' && *P <= '9')
			{
				Width = 0;
				while (*P >= '0' && *P <= '9')
				{
					Width = Width * 10 + (*P - '0');
					if (Width > 100000)
					{
						Width = 100000;
					}
					++P;
				}
			}

			int32 Precision = -1;
			if (*P == '.')
			{
				++P;
				Precision = 0;
				if (*P == '*')
				{
					const FFormatArgValue* Arg = NextArg();
					Precision = Arg ? (int32)Arg->Signed : 0;
					if (Precision < 0)
					{
						Precision = -1;
					}
					++P;
				}
				else
				{
					while (*P >= '0' && *P <= '9')
					{
						Precision = Precision * 10 + (*P - '0');
						if (Precision > 100000)
						{
							Precision = 100000;
						}
						++P;
					}
				}
			}

			int32 LongCount = 0;
			bool bShort = false;
			bool bSizeT = false;
			while (*P == 'l' || *P == 'h' || *P == 'z' || *P == 'j' || *P == 'I')
			{
				if (*P == 'l')
				{
					++LongCount;
				}
				else if (*P == 'h')
				{
					bShort = true;
				}
				else if (*P == 'I')
				{
					if (P[1] == '6' && P[2] == '4')
					{
						LongCount = 2;
						P += 2;
					}
				}
				else
				{
					bSizeT = true;
				}
				++P;
			}

			const TCHAR Conv = *P;
			if (!Conv)
			{
				// A dangling '%' at the end is written as it is.
				Sink.Write(SpecStart, (int32)(P - SpecStart));
				break;
			}
			++P;

			const FFormatArgValue* Arg = NextArg();
			if (!Arg)
			{
				// Nothing to format with: keep the specifier visible rather than read garbage.
				Sink.Write(SpecStart, (int32)(P - SpecStart));
				continue;
			}

			char Spec[40];
			auto BuildSpec = [&](const char* Length, char C)
			{
				int32 Len = std::snprintf(Spec, sizeof(Spec), "%%%s", Flags);
				if (Width >= 0)
				{
					Len += std::snprintf(Spec + Len, sizeof(Spec) - Len, "%d", Width);
				}
				if (Precision >= 0)
				{
					Len += std::snprintf(Spec + Len, sizeof(Spec) - Len, ".%d", Precision);
				}
				std::snprintf(Spec + Len, sizeof(Spec) - Len, "%s%c", Length, C);
			};

			char Small[512];
			auto EmitNumber = [&](auto Value)
			{
				const int32 Needed = std::snprintf(Small, sizeof(Small), Spec, Value);
				if (Needed < 0)
				{
					return;
				}
				if (Needed < (int32)sizeof(Small))
				{
					WriteAscii(Sink, Small, Needed);
				}
				else
				{
					char* Big = new char[Needed + 1];
					std::snprintf(Big, Needed + 1, Spec, Value);
					WriteAscii(Sink, Big, Needed);
					delete[] Big;
				}
			};

			switch (Conv)
			{
				case 'd':
				case 'i':
				{
					BuildSpec("ll", 'd');
					int64 Value = Arg->Signed;
					if (Arg->Kind == EKind::Unsigned)
					{
						Value = (int64)Arg->Unsigned;
					}
					if (LongCount == 0 && !bSizeT)
					{
						Value = bShort ? (int64)(int16)Value : (int64)(int32)Value;
					}
					EmitNumber((long long)Value);
					break;
				}
				case 'u':
				case 'x':
				case 'X':
				case 'o':
				{
					BuildSpec("ll", (char)Conv);
					uint64 Value = Arg->Unsigned;
					if (LongCount == 0 && !bSizeT)
					{
						Value = bShort ? (uint64)(uint16)Value : (uint64)(uint32)Value;
					}
					EmitNumber((unsigned long long)Value);
					break;
				}
				case 'f':
				case 'F':
				case 'e':
				case 'E':
				case 'g':
				case 'G':
				case 'a':
				case 'A':
				{
					BuildSpec("", (char)Conv);
					const double Value = Arg->Kind == EKind::Float ? Arg->Float : (Arg->Kind == EKind::Signed ? (double)Arg->Signed : (double)Arg->Unsigned);
					EmitNumber(Value);
					break;
				}
				case 'c':
				{
					const TCHAR Ch = (TCHAR)Arg->Unsigned;
					if (!bLeft && Width > 1)
					{
						WritePadding(Sink, ' ', Width - 1);
					}
					Sink.Write(&Ch, 1);
					if (bLeft && Width > 1)
					{
						WritePadding(Sink, ' ', Width - 1);
					}
					break;
				}
				case 'p':
				{
					std::snprintf(Spec, sizeof(Spec), "%%p");
					EmitNumber(Arg->Pointer);
					break;
				}
				case 's':
				case 'S':
				{
					if (Arg->Kind == EKind::AnsiString || Arg->Kind == EKind::Utf8String)
					{
						const char* Str = Arg->Pointer ? (const char*)Arg->Pointer : "(null)";
						WriteNarrowString(Sink, Str, Precision, Width, bLeft);
						break;
					}
					static const TCHAR NullText[] = u"(null)";
					const TCHAR* Str = (Arg->Kind == EKind::WideString && Arg->Pointer) ? (const TCHAR*)Arg->Pointer : NullText;
					int32 Len = 0;
					while (Str[Len] && (Precision < 0 || Len < Precision))
					{
						++Len;
					}
					if (!bLeft && Width > Len)
					{
						WritePadding(Sink, bZero ? '0' : ' ', Width - Len);
					}
					Sink.Write(Str, Len);
					if (bLeft && Width > Len)
					{
						WritePadding(Sink, ' ', Width - Len);
					}
					break;
				}
				default:
					// Unknown conversion: written back literally.
					Sink.Write(SpecStart, (int32)(P - SpecStart));
					break;
			}
		}
	}
} // namespace UE::Core::Private
