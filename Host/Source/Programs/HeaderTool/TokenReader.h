// Cursor over a header's tokens with the helpers every parser needs.
#pragma once

#include "Tokenizer.h"

namespace HeaderTool
{
	class FTokenReader
	{
	public:
		explicit FTokenReader(const std::vector<FToken>& InTokens)
			: Tokens(InTokens)
		{
			EndToken.Type = ETokenType::End;
			EndToken.Line = Tokens.empty() ? 1 : Tokens.back().Line;
		}

		bool AtEnd() const { return Index >= Tokens.size(); }
		const FToken& Peek(size_t Offset = 0) const { return Index + Offset < Tokens.size() ? Tokens[Index + Offset] : EndToken; }
		const FToken& Next()
		{
			const FToken& T = Peek();
			if (Index < Tokens.size())
			{
				++Index;
			}
			return T;
		}
		bool Accept(const char* S)
		{
			if (Peek().Is(S))
			{
				++Index;
				return true;
			}
			return false;
		}
		const FToken& Require(const char* S, const char* What)
		{
			if (!Peek().Is(S))
			{
				Fail(std::string("Missing '") + S + "' in " + What);
			}
			return Next();
		}
		const FToken& RequireIdentifier(const char* What)
		{
			if (!Peek().IsIdentifier())
			{
				Fail(std::string("Missing identifier in ") + What);
			}
			return Next();
		}
		[[noreturn]] void Fail(const std::string& Message) const { throw FParseError{Peek().Line, Message}; }
		int Line() const { return Peek().Line; }
		size_t Position() const { return Index; }
		void Seek(size_t InIndex) { Index = InIndex; }
		const FToken& At(size_t I) const { return I < Tokens.size() ? Tokens[I] : EndToken; }

		// Skips a balanced (...), {...}, [...] or <...> group starting at the current token.
		void SkipGroup()
		{
			const std::string Open = Peek().Text;
			const std::string Close = Open == "(" ? ")" : Open == "{" ? "}" : Open == "[" ? "]" : ">";
			int Depth = 0;
			while (!AtEnd())
			{
				const FToken& T = Next();
				if (T.Type == ETokenType::Symbol && T.Text == Open)
				{
					++Depth;
				}
				else if (T.Type == ETokenType::Symbol && T.Text == Close)
				{
					if (--Depth == 0)
					{
						return;
					}
				}
			}
			throw FParseError{EndToken.Line, "Unexpected end of file: missing '" + Close + "'"};
		}

	private:
		const std::vector<FToken>& Tokens;
		size_t Index = 0;
		FToken EndToken;
	};
}
