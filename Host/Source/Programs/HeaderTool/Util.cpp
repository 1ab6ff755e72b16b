#include "HeaderTool.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace HeaderTool
{
	std::string ToLower(const std::string& S)
	{
		std::string Out = S;
		for (char& C : Out)
		{
			C = (char)std::tolower((unsigned char)C);
		}
		return Out;
	}

	std::string ToUpper(const std::string& S)
	{
		std::string Out = S;
		for (char& C : Out)
		{
			C = (char)std::toupper((unsigned char)C);
		}
		return Out;
	}

	bool EqualsIgnoreCase(const std::string& A, const std::string& B)
	{
		return A.size() == B.size() && ToLower(A) == ToLower(B);
	}

	bool StartsWith(const std::string& S, const std::string& Prefix)
	{
		return S.compare(0, Prefix.size(), Prefix) == 0;
	}

	std::string Trim(const std::string& S)
	{
		size_t Start = 0;
		size_t End = S.size();
		while (Start < End && std::isspace((unsigned char)S[Start]))
		{
			++Start;
		}
		while (End > Start && std::isspace((unsigned char)S[End - 1]))
		{
			--End;
		}
		return S.substr(Start, End - Start);
	}

	std::string EngineName(const std::string& SourceName)
	{
		for (const char* Deprecated : {"UDEPRECATED_", "ADEPRECATED_", "IDEPRECATED_"})
		{
			if (StartsWith(SourceName, Deprecated))
			{
				return SourceName.substr(12);
			}
		}
		if (!SourceName.empty() && std::string("UAIFT").find(SourceName[0]) != std::string::npos)
		{
			return SourceName.substr(1);
		}
		return SourceName;
	}

	std::string EscapeCppString(const std::string& S)
	{
		std::string Out;
		for (unsigned char C : S)
		{
			switch (C)
			{
			case '\\': Out += "\\\\"; break;
			case '"': Out += "\\\""; break;
			case '\n': Out += "\\n"; break;
			case '\r': Out += "\\r"; break;
			case '\t': Out += "\\t"; break;
			case '?': Out += "?"; break;
			default:
				if (C < 0x20)
				{
					char Buffer[8];
					std::snprintf(Buffer, sizeof(Buffer), "\\x%02x", C);
					Out += Buffer;
				}
				else
				{
					Out += (char)C;
				}
			}
		}
		return Out;
	}

	bool WriteFileIfChanged(const std::string& Path, const std::string& Contents)
	{
		{
			std::ifstream In(Path, std::ios::binary);
			if (In)
			{
				std::stringstream Existing;
				Existing << In.rdbuf();
				if (Existing.str() == Contents)
				{
					return true;
				}
			}
		}
		std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
		if (!Out)
		{
			return false;
		}
		Out << Contents;
		return (bool)Out;
	}

	void FDiagnostics::Error(const std::string& File, int Line, const std::string& Message)
	{
		++Errors;
		std::fprintf(stderr, "%s(%d): Error: %s\n", File.c_str(), Line, Message.c_str());
	}

	void FDiagnostics::Warning(const std::string& File, int Line, const std::string& Message)
	{
		std::fprintf(stderr, "%s(%d): Warning: %s\n", File.c_str(), Line, Message.c_str());
	}
}
