// Doc comments become ToolTip metadata the way the engine's header tool formats them.
#include "HeaderTool.h"

#include <cctype>
#include <sstream>

namespace HeaderTool
{
	namespace
	{
		// Removes "/*~ ... */" and "//~ ..." comments, which are notes for readers of the header only.
		std::string RemoveIgnoredComments(const std::string& In)
		{
			std::string Out;
			size_t I = 0;
			while (I < In.size())
			{
				if (In.compare(I, 3, "/*~") == 0)
				{
					const size_t End = In.find("*/", I + 3);
					I = End == std::string::npos ? In.size() : End + 2;
					continue;
				}
				if (In.compare(I, 3, "//~") == 0)
				{
					const size_t End = In.find('\n', I);
					I = End == std::string::npos ? In.size() : End;
					continue;
				}
				Out += In[I++];
			}
			return Out;
		}

		void ReplaceAll(std::string& S, const std::string& From, const std::string& To)
		{
			size_t Pos = 0;
			while ((Pos = S.find(From, Pos)) != std::string::npos)
			{
				S.replace(Pos, From.size(), To);
				Pos += To.size();
			}
		}

		bool IsSeparatorLine(const std::string& Line)
		{
			const std::string T = Trim(Line);
			if (T.empty())
			{
				return true;
			}
			for (char C : T)
			{
				if (C != '-' && C != '=' && C != '*')
				{
					return false;
				}
			}
			return true;
		}

		size_t LeadingSpaces(const std::string& Line)
		{
			size_t N = 0;
			while (N < Line.size() && Line[N] == ' ')
			{
				++N;
			}
			return N;
		}
	}

	std::string FormatCommentForToolTip(const std::string& Comment)
	{
		bool bHasAlnum = false;
		for (unsigned char C : Comment)
		{
			if (std::isalnum(C) || C > 0x7F)
			{
				bHasAlnum = true;
				break;
			}
		}
		if (!bHasAlnum)
		{
			return std::string();
		}

		std::string S = RemoveIgnoredComments(Comment);
		const bool bJavaDoc = S.find("/**") != std::string::npos;
		ReplaceAll(S, "/**", "");
		ReplaceAll(S, "/*", "");
		ReplaceAll(S, "*/", "");
		ReplaceAll(S, "///", "");
		ReplaceAll(S, "//", "");
		ReplaceAll(S, "(cpptext)", "");
		ReplaceAll(S, "\r", "");

		std::vector<std::string> Lines;
		{
			std::string Current;
			for (char C : S)
			{
				if (C == '\n')
				{
					Lines.push_back(Current);
					Current.clear();
				}
				else if (C == '\t')
				{
					const size_t Pad = 8 - (Current.size() % 8);
					Current.append(Pad, ' ');
				}
				else
				{
					Current += C;
				}
			}
			Lines.push_back(Current);
		}

		for (std::string& Line : Lines)
		{
			while (!Line.empty() && std::isspace((unsigned char)Line.back()))
			{
				Line.pop_back();
			}
			if (bJavaDoc)
			{
				const size_t First = LeadingSpaces(Line);
				if (First < Line.size() && Line[First] == '*')
				{
					Line.erase(0, First + 1);
					if (!Line.empty() && Line[0] == ' ')
					{
						Line.erase(0, 1);
					}
				}
			}
		}

		size_t FirstKept = 0;
		while (FirstKept < Lines.size() && IsSeparatorLine(Lines[FirstKept]))
		{
			++FirstKept;
		}
		if (FirstKept == Lines.size())
		{
			return std::string();
		}
		const size_t Indent = LeadingSpaces(Lines[FirstKept]);

		std::vector<std::string> Out;
		for (size_t I = FirstKept; I < Lines.size(); ++I)
		{
			std::string Line = Lines[I];
			Line.erase(0, std::min(Indent, LeadingSpaces(Line)));
			bool bOnlyEquals = !Line.empty();
			for (char C : Line)
			{
				if (C != '=')
				{
					bOnlyEquals = false;
					break;
				}
			}
			if (bOnlyEquals)
			{
				Line.clear();
			}
			Out.push_back(Line);
		}
		while (!Out.empty() && Trim(Out.back()).empty())
		{
			Out.pop_back();
		}

		std::string Result;
		for (size_t I = 0; I < Out.size(); ++I)
		{
			if (I > 0)
			{
				Result += "\n";
			}
			Result += Out[I];
		}
		return Result;
	}
}
