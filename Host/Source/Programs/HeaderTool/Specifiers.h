// Reading "( ... )" specifier lists and checking each specifier's value shape, with the engine
// tool's messages.
#pragma once

#include "TokenReader.h"

namespace HeaderTool
{
	struct FSpecifier
	{
		std::string Name;
		std::vector<std::string> Values;
		std::vector<std::pair<std::string, std::string>> KeyValues; // meta=(...)
		bool bHasValue = false;
		bool bList = false;          // the value was a parenthesised list
		int Line = 0;
	};

	enum class ESpecValue
	{
		None,         // a value is an error
		Legacy,       // a value is accepted with a deprecation warning
		Optional,
		String,       // a value is required
		SingleString,
		StringList,
		NonEmptyList,
		KeyValue      // meta=(K=V, ...)
	};

	// Reads "(spec, spec=value, meta=(K=V))". The reader stands on the opening parenthesis.
	std::vector<FSpecifier> ReadSpecifiers(FTokenReader& Reader);

	// Reads UMETA(K=V, K2) into metadata. The reader stands on the opening parenthesis.
	void ReadMetaList(FTokenReader& Reader, FMetaData& Meta, const std::string& KeyPrefix, const std::string& Context);

	// Checks the value shape; throws FParseError with the engine's text. Warnings go to Diag.
	void CheckSpecifierValue(const FSpecifier& Spec, ESpecValue Kind, FSession& Session, const std::string& File);

	// Writes meta=(...) pairs, trimming as the engine does; throws on a blank key.
	void AddMetaPairs(const FSpecifier& Spec, FMetaData& Meta);

	// The specifiers every macro accepts (the "Default" table); returns false when Name is not one.
	bool ApplyDefaultSpecifier(const FSpecifier& Spec, FMetaData& Meta, FSession& Session, const std::string& File);

	[[noreturn]] void UnknownSpecifier(const FSpecifier& Spec, const std::string& Context);
}
