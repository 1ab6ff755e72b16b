// Splits a header into tokens, applying the engine tool's preprocessor rules: only a few #if
// conditions are understood, every other block is skipped, and reflection macros may not sit in
// skipped blocks.
#pragma once

#include "HeaderTool.h"

namespace HeaderTool
{
	enum class ETokenType
	{
		Identifier,
		Number,
		String,
		Char,
		Symbol,
		End
	};

	// Which recognised #if blocks enclose a token.
	enum EBlockFlags : uint32_t
	{
		BLOCK_None = 0,
		BLOCK_EditorOnlyData = 1,
		BLOCK_Editor = 2,
		BLOCK_OtherAllowed = 4, // WITH_TESTS, WITH_VERSE_*
		BLOCK_Restricted = 8    // a parsed block in which reflection macros are not allowed
	};

	struct FToken
	{
		ETokenType Type = ETokenType::End;
		std::string Text;
		int Line = 0;
		uint32_t Blocks = BLOCK_None;
		std::string RestrictedBlock; // the directive of the innermost restricted block
		// Comments between the previous token and this one, raw, with the engine tool's rules
		// for which of them survive.
		std::string Comment;
		bool bCommentIsBlock = false; // the surviving comment starts with a /* */ comment

		bool Is(const char* S) const { return Type != ETokenType::String && Type != ETokenType::Char && Text == S; }
		bool IsIdentifier() const { return Type == ETokenType::Identifier; }
	};

	struct FTokenizeResult
	{
		std::vector<FToken> Tokens;
		bool bIncludesGenerated = false;
		int GeneratedIncludeLine = 0;
	};

	// Throws FParseError on the first preprocessor error.
	FTokenizeResult Tokenize(const std::string& Text, const std::string& HeaderBaseName);

	// "abc" -> abc, handling the escapes headers use.
	std::string Unquote(const std::string& Literal);
}
