#include "Tokenizer.h"

#include <cctype>

namespace HeaderTool
{
	namespace
	{
		const char* const ReflectionKeywords[] = {"UPROPERTY", "UCLASS", "USTRUCT", "UENUM", "UINTERFACE", "UDELEGATE", "UFUNCTION"};

		bool IsReflectionKeyword(const std::string& S)
		{
			for (const char* K : ReflectionKeywords)
			{
				if (S == K)
				{
					return true;
				}
			}
			return false;
		}

		enum class EFrame
		{
			Parsed,          // tokens are read
			SkippedZero,     // #if 0 and friends: skipped silently
			SkippedUnknown   // unrecognised condition: skipped, reflection macros are errors
		};

		struct FBlock
		{
			EFrame State = EFrame::Parsed;
			uint32_t Flags = BLOCK_None;
			std::string Directive;
			bool bTakenBranch = false; // a branch of this #if was parsed (for #else / #elif)
			bool bUnknown = false;
			int Line = 0;
		};

		struct FCondition
		{
			bool bRecognised = false;
			bool bValue = false;     // parsed when true
			uint32_t Flags = BLOCK_None;
			std::string Name;
		};

		std::string StripSpaces(const std::string& S)
		{
			std::string Out;
			for (char C : S)
			{
				if (!std::isspace((unsigned char)C))
				{
					Out += C;
				}
			}
			return Out;
		}

		bool ParseVersion(const std::string& Args, int& A, int& B, int& C)
		{
			return std::sscanf(Args.c_str(), "(%d,%d,%d)", &A, &B, &C) == 3;
		}

		// The host is built as engine version 5.8.0.
		int CompareEngineVersion(int A, int B, int C)
		{
			const int Engine[3] = {5, 8, 0};
			const int Other[3] = {A, B, C};
			for (int I = 0; I < 3; ++I)
			{
				if (Engine[I] != Other[I])
				{
					return Engine[I] < Other[I] ? -1 : 1;
				}
			}
			return 0;
		}

		FCondition Classify(const std::string& RawCondition)
		{
			FCondition Cond;
			std::string S = StripSpaces(RawCondition);
			// A trailing // comment is not part of the condition.
			size_t Comment = S.find("//");
			if (Comment != std::string::npos)
			{
				S = S.substr(0, Comment);
			}
			Cond.Name = S;
			Cond.bRecognised = true;
			if (S == "0" || S == "CPP")
			{
				Cond.bValue = false;
			}
			else if (S == "1" || S == "!CPP")
			{
				Cond.bValue = true;
			}
			else if (S == "WITH_EDITORONLY_DATA")
			{
				Cond.bValue = true;
				Cond.Flags = BLOCK_EditorOnlyData;
			}
			else if (S == "WITH_EDITOR")
			{
				Cond.bValue = true;
				Cond.Flags = BLOCK_Editor;
			}
			else if (S == "WITH_TESTS" || S == "WITH_VERSE_VM" || S == "WITH_VERSE_BPVM")
			{
				Cond.bValue = true;
				Cond.Flags = BLOCK_OtherAllowed;
			}
			else if (S == "WITH_ENGINE" || S == "WITH_COREUOBJECT" || S == "WITH_HOT_RELOAD")
			{
				Cond.bValue = true;
				Cond.Flags = BLOCK_Restricted;
			}
			else if (StartsWith(S, "UE_VERSION_NEWER_THAN_OR_EQUAL(") || StartsWith(S, "UE_VERSION_NEWER_THAN(")
				|| StartsWith(S, "UE_VERSION_OLDER_THAN("))
			{
				int A = 0, B = 0, C = 0;
				const size_t Paren = S.find('(');
				if (!ParseVersion(S.substr(Paren), A, B, C))
				{
					Cond.bRecognised = false;
					return Cond;
				}
				const int Cmp = CompareEngineVersion(A, B, C);
				if (StartsWith(S, "UE_VERSION_NEWER_THAN_OR_EQUAL("))
				{
					Cond.bValue = Cmp >= 0;
				}
				else if (StartsWith(S, "UE_VERSION_NEWER_THAN("))
				{
					Cond.bValue = Cmp > 0;
				}
				else
				{
					Cond.bValue = Cmp < 0;
				}
				Cond.Flags = BLOCK_Restricted;
			}
			else
			{
				Cond.bRecognised = false;
			}
			return Cond;
		}

		class FLexer
		{
		public:
			FLexer(const std::string& InText, const std::string& InBaseName)
				: Text(InText)
				, BaseName(InBaseName)
			{
			}

			FTokenizeResult Run()
			{
				while (Pos < Text.size())
				{
					const char C = Text[Pos];
					if (C == '\n')
					{
						++Line;
						++Pos;
						bAtLineStart = true;
						continue;
					}
					if (C == ' ' || C == '\t' || C == '\r' || C == '\f' || C == '\v')
					{
						++Pos;
						continue;
					}
					if (C == '\\' && Pos + 1 < Text.size() && (Text[Pos + 1] == '\n' || Text[Pos + 1] == '\r'))
					{
						++Pos;
						continue;
					}
					if (C == '#' && bAtLineStart)
					{
						Directive();
						continue;
					}
					bAtLineStart = false;
					if (C == '/' && Peek(1) == '/')
					{
						LineComment();
						continue;
					}
					if (C == '/' && Peek(1) == '*')
					{
						BlockComment();
						continue;
					}
					CodeToken();
				}
				if (!Blocks.empty())
				{
					throw FParseError{Blocks.back().Line, "Missing #endif"};
				}
				return std::move(Result);
			}

		private:
			const std::string& Text;
			std::string BaseName;
			size_t Pos = 0;
			int Line = 1;
			bool bAtLineStart = true;
			std::vector<FBlock> Blocks;
			FTokenizeResult Result;

			std::string Pending;
			bool bPendingIsBlock = false;
			bool bLastCommentWasLine = false;
			int LastCommentLine = 0;
			int LastCodeLine = 0;

			char Peek(size_t Offset) const
			{
				return Pos + Offset < Text.size() ? Text[Pos + Offset] : '\0';
			}

			bool Skipping() const
			{
				return !Blocks.empty() && Blocks.back().State != EFrame::Parsed;
			}

			bool SkippingUnknown() const
			{
				for (const FBlock& B : Blocks)
				{
					if (B.State == EFrame::SkippedUnknown)
					{
						return true;
					}
				}
				return false;
			}

			uint32_t ActiveFlags(std::string& OutRestricted) const
			{
				uint32_t Flags = BLOCK_None;
				for (const FBlock& B : Blocks)
				{
					Flags |= B.Flags;
					if (B.Flags & BLOCK_Restricted)
					{
						OutRestricted = B.Directive;
					}
				}
				return Flags;
			}

			void LineComment()
			{
				const size_t Start = Pos;
				while (Pos < Text.size() && Text[Pos] != '\n')
				{
					++Pos;
				}
				if (Skipping())
				{
					return;
				}
				std::string Body = Text.substr(Start, Pos - Start);
				if (!Body.empty() && Body.back() == '\r')
				{
					Body.pop_back();
				}
				// A comment trailing code on the same line describes that code, not what follows.
				if (LastCodeLine == Line)
				{
					return;
				}
				if (bLastCommentWasLine && !Pending.empty() && Line > LastCommentLine + 1)
				{
					Pending.clear();
					bPendingIsBlock = false;
				}
				if (!Pending.empty())
				{
					Pending += "\n";
				}
				Pending += Body;
				bLastCommentWasLine = true;
				LastCommentLine = Line;
			}

			void BlockComment()
			{
				const size_t Start = Pos;
				const int StartLine = Line;
				Pos += 2;
				while (Pos < Text.size() && !(Text[Pos] == '*' && Peek(1) == '/'))
				{
					if (Text[Pos] == '\n')
					{
						++Line;
					}
					++Pos;
				}
				Pos = Pos < Text.size() ? Pos + 2 : Pos;
				if (Skipping())
				{
					return;
				}
				if (LastCodeLine == StartLine && !bAllowTrailingBlock)
				{
					return;
				}
				Pending = Text.substr(Start, Pos - Start);
				bPendingIsBlock = true;
				bLastCommentWasLine = false;
				LastCommentLine = Line;
			}

			// A /* */ comment between tokens of one declaration (for example after a parameter
			// list) takes part in the declaration's comment, as in the engine tool.
			bool bAllowTrailingBlock = true;

			std::string ReadDirectiveLine()
			{
				std::string Out;
				while (Pos < Text.size() && Text[Pos] != '\n')
				{
					if (Text[Pos] == '\\' && (Peek(1) == '\n' || (Peek(1) == '\r' && Peek(2) == '\n')))
					{
						Pos += Peek(1) == '\r' ? 3 : 2;
						++Line;
						Out += ' ';
						continue;
					}
					if (Text[Pos] == '/' && Peek(1) == '*')
					{
						// Block comments inside a directive are skipped.
						Pos += 2;
						while (Pos < Text.size() && !(Text[Pos] == '*' && Peek(1) == '/'))
						{
							if (Text[Pos] == '\n')
							{
								++Line;
							}
							++Pos;
						}
						Pos = Pos < Text.size() ? Pos + 2 : Pos;
						Out += ' ';
						continue;
					}
					Out += Text[Pos++];
				}
				if (!Out.empty() && Out.back() == '\r')
				{
					Out.pop_back();
				}
				return Out;
			}

			void Directive()
			{
				const int DirectiveLine = Line;
				++Pos; // '#'
				std::string Body = Trim(ReadDirectiveLine());
				size_t NameEnd = 0;
				while (NameEnd < Body.size() && (std::isalnum((unsigned char)Body[NameEnd]) || Body[NameEnd] == '_'))
				{
					++NameEnd;
				}
				const std::string Name = Body.substr(0, NameEnd);
				const std::string Rest = Trim(Body.substr(NameEnd));
				// Directives end a statement: pending comments do not reach past them.
				if (!Skipping())
				{
					Pending.clear();
					bPendingIsBlock = false;
					bLastCommentWasLine = false;
				}

				if (Name == "if" || Name == "ifdef" || Name == "ifndef")
				{
					FBlock Block;
					Block.Line = DirectiveLine;
					if (Skipping())
					{
						Block.State = EFrame::SkippedZero;
						Block.bTakenBranch = true;
						Blocks.push_back(Block);
						return;
					}
					FCondition Cond;
					if (Name == "if")
					{
						Cond = Classify(Rest);
					}
					Block.Directive = Name == "if" ? Cond.Name : Name + " " + Rest;
					if (!Cond.bRecognised)
					{
						Block.State = EFrame::SkippedUnknown;
						Block.bUnknown = true;
						Block.bTakenBranch = true; // every branch of an unrecognised block is skipped
					}
					else if (Cond.bValue)
					{
						Block.State = EFrame::Parsed;
						Block.Flags = Cond.Flags;
						Block.bTakenBranch = true;
					}
					else
					{
						Block.State = EFrame::SkippedZero;
					}
					Blocks.push_back(Block);
					return;
				}
				if (Name == "elif" || Name == "else")
				{
					if (Blocks.empty())
					{
						throw FParseError{DirectiveLine, "Unmatched '#" + Name + "'"};
					}
					FBlock& Block = Blocks.back();
					if (Block.bUnknown)
					{
						return;
					}
					// An enclosing skipped block keeps this one skipped.
					bool bOuterSkipped = false;
					for (size_t I = 0; I + 1 < Blocks.size(); ++I)
					{
						if (Blocks[I].State != EFrame::Parsed)
						{
							bOuterSkipped = true;
						}
					}
					if (bOuterSkipped)
					{
						return;
					}
					if (Block.bTakenBranch)
					{
						Block.State = EFrame::SkippedZero;
						Block.Flags = BLOCK_None;
						return;
					}
					if (Name == "else")
					{
						Block.State = EFrame::Parsed;
						Block.Flags = BLOCK_None;
						Block.bTakenBranch = true;
						return;
					}
					const FCondition Cond = Classify(Rest);
					if (!Cond.bRecognised)
					{
						Block.State = EFrame::SkippedUnknown;
						Block.bUnknown = true;
						return;
					}
					if (Cond.bValue)
					{
						Block.State = EFrame::Parsed;
						Block.Flags = Cond.Flags;
						Block.Directive = Cond.Name;
						Block.bTakenBranch = true;
					}
					return;
				}
				if (Name == "endif")
				{
					if (Blocks.empty())
					{
						throw FParseError{DirectiveLine, "Unmatched '#endif'"};
					}
					Blocks.pop_back();
					return;
				}
				if (Skipping())
				{
					return;
				}
				if (Name == "include")
				{
					Include(Rest, DirectiveLine);
					return;
				}
				if (Name == "error")
				{
					throw FParseError{DirectiveLine, "#error directive encountered"};
				}
				// #define, #undef, #pragma, #warning: nothing for the tool to read.
			}

			void Include(const std::string& Rest, int DirectiveLine)
			{
				std::string Target = Rest;
				if (Target.size() >= 2 && (Target[0] == '"' || Target[0] == '<'))
				{
					const char Close = Target[0] == '"' ? '"' : '>';
					const size_t End = Target.find(Close, 1);
					Target = Target.substr(1, End == std::string::npos ? std::string::npos : End - 1);
				}
				if (Result.bIncludesGenerated)
				{
					throw FParseError{DirectiveLine,
						"#include found after .generated.h file - the .generated.h file should always be the last #include in a header"};
				}
				if (EqualsIgnoreCase(Target, BaseName + ".generated.h"))
				{
					Result.bIncludesGenerated = true;
					Result.GeneratedIncludeLine = DirectiveLine;
				}
			}

			void CodeToken()
			{
				FToken Tok;
				Tok.Line = Line;
				const char C = Text[Pos];
				if (std::isalpha((unsigned char)C) || C == '_')
				{
					const size_t Start = Pos;
					while (Pos < Text.size() && (std::isalnum((unsigned char)Text[Pos]) || Text[Pos] == '_'))
					{
						++Pos;
					}
					Tok.Type = ETokenType::Identifier;
					Tok.Text = Text.substr(Start, Pos - Start);
					// Raw and prefixed string literals.
					if (Pos < Text.size() && Text[Pos] == '"' && (Tok.Text == "R" || Tok.Text == "u8R" || Tok.Text == "uR" || Tok.Text == "LR"))
					{
						RawString(Tok);
					}
					else if (Pos < Text.size() && (Text[Pos] == '"' || Text[Pos] == '\'')
						&& (Tok.Text == "L" || Tok.Text == "u" || Tok.Text == "U" || Tok.Text == "u8"))
					{
						QuotedLiteral(Tok);
					}
				}
				else if (std::isdigit((unsigned char)C) || (C == '.' && std::isdigit((unsigned char)Peek(1))))
				{
					const size_t Start = Pos;
					while (Pos < Text.size() && (std::isalnum((unsigned char)Text[Pos]) || Text[Pos] == '.' || Text[Pos] == '\''
						|| ((Text[Pos] == '+' || Text[Pos] == '-') && (Text[Pos - 1] == 'e' || Text[Pos - 1] == 'E')
							&& !(Text[Start] == '0' && Start + 1 < Text.size() && (Text[Start + 1] == 'x' || Text[Start + 1] == 'X')))))
					{
						++Pos;
					}
					Tok.Type = ETokenType::Number;
					Tok.Text = Text.substr(Start, Pos - Start);
				}
				else if (C == '"' || C == '\'')
				{
					QuotedLiteral(Tok);
				}
				else
				{
					Tok.Type = ETokenType::Symbol;
					if (C == ':' && Peek(1) == ':')
					{
						Tok.Text = "::";
						Pos += 2;
					}
					else if (C == '-' && Peek(1) == '>')
					{
						Tok.Text = "->";
						Pos += 2;
					}
					else
					{
						Tok.Text = std::string(1, C);
						++Pos;
					}
				}

				if (Skipping())
				{
					if (Tok.Type == ETokenType::Identifier && SkippingUnknown() && IsReflectionKeyword(Tok.Text))
					{
						throw FParseError{Tok.Line, "'" + Tok.Text + "' must not be inside preprocessor blocks, except for WITH_EDITORONLY_DATA"};
					}
					return;
				}
				Tok.Blocks = ActiveFlags(Tok.RestrictedBlock);
				Tok.Comment = Pending;
				Tok.bCommentIsBlock = bPendingIsBlock;
				Pending.clear();
				bPendingIsBlock = false;
				bLastCommentWasLine = false;
				LastCodeLine = Line;
				Result.Tokens.push_back(std::move(Tok));
			}

			void QuotedLiteral(FToken& Tok)
			{
				const char Quote = Text[Pos];
				std::string Prefix = Tok.Text;
				const size_t Start = Pos;
				++Pos;
				while (Pos < Text.size() && Text[Pos] != Quote)
				{
					if (Text[Pos] == '\\' && Pos + 1 < Text.size())
					{
						++Pos;
					}
					if (Text[Pos] == '\n')
					{
						throw FParseError{Line, "Unterminated string constant"};
					}
					++Pos;
				}
				if (Pos >= Text.size())
				{
					throw FParseError{Line, "Unterminated string constant"};
				}
				++Pos;
				Tok.Type = Quote == '"' ? ETokenType::String : ETokenType::Char;
				Tok.Text = Text.substr(Start, Pos - Start);
			}

			void RawString(FToken& Tok)
			{
				// R"delim( ... )delim"
				++Pos;
				std::string Delim;
				while (Pos < Text.size() && Text[Pos] != '(')
				{
					Delim += Text[Pos++];
				}
				const std::string Close = ")" + Delim + "\"";
				const size_t End = Text.find(Close, Pos);
				if (End == std::string::npos)
				{
					throw FParseError{Line, "Unterminated string constant"};
				}
				std::string Body = Text.substr(Pos + 1, End - Pos - 1);
				for (char Ch : Body)
				{
					if (Ch == '\n')
					{
						++Line;
					}
				}
				Pos = End + Close.size();
				Tok.Type = ETokenType::String;
				std::string Escaped = "\"";
				for (char Ch : Body)
				{
					if (Ch == '"' || Ch == '\\')
					{
						Escaped += '\\';
					}
					Escaped += Ch;
				}
				Tok.Text = Escaped + "\"";
			}
		};
	}

	FTokenizeResult Tokenize(const std::string& Text, const std::string& HeaderBaseName)
	{
		FLexer Lexer(Text, HeaderBaseName);
		return Lexer.Run();
	}

	std::string Unquote(const std::string& Literal)
	{
		size_t Start = Literal.find('"');
		if (Start == std::string::npos)
		{
			return Literal;
		}
		const size_t End = Literal.rfind('"');
		std::string Out;
		for (size_t I = Start + 1; I < End; ++I)
		{
			char C = Literal[I];
			if (C == '\\' && I + 1 < End)
			{
				const char N = Literal[++I];
				switch (N)
				{
				case 'n': Out += '\n'; break;
				case 't': Out += '\t'; break;
				case 'r': Out += '\r'; break;
				case '0': Out += '\0'; break;
				default: Out += N; break;
				}
				continue;
			}
			Out += C;
		}
		return Out;
	}
}
