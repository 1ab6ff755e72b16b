// Copyright Quarn. All Rights Reserved.

#include "Misc/AssertionReport.h"
#include <cstdio>
#include <string>

namespace UE::Assert::Private
{
	void ReportAssertion(const TCHAR* Message, bool bFatal)
	{
		std::string Utf8;
		for (const TCHAR* P = Message; *P; ++P)
		{
			const uint32 C = *P;
			if (C < 0x80)
			{
				Utf8.push_back((char)C);
			}
			else if (C < 0x800)
			{
				Utf8.push_back((char)(0xC0 | (C >> 6)));
				Utf8.push_back((char)(0x80 | (C & 0x3F)));
			}
			else
			{
				Utf8.push_back((char)(0xE0 | (C >> 12)));
				Utf8.push_back((char)(0x80 | ((C >> 6) & 0x3F)));
				Utf8.push_back((char)(0x80 | (C & 0x3F)));
			}
		}
		std::fprintf(stderr, "%s: %s\n", bFatal ? "Fatal error" : "Error", Utf8.c_str());
		std::fflush(stderr);
	}
} // namespace UE::Assert::Private
