#pragma once

#include "Json.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Velmora
{
// Parses a request body into a JSON object, refusing with 400 "invalid_json" anything else:
// malformed text, invalid UTF-8, nesting deeper than MaxJsonDepth, or a non-object at the top.
Json parseBodyObject(const std::string& body);

constexpr int MaxJsonDepth = 32;

// Readers of one member of a request object. `where` names the member in messages, for example
// "quantity" or "intents[3].quantity". Each refuses with 400 "invalid_request" when the member is
// missing (if required), of the wrong JSON type or out of range.
std::optional<std::string> readString(const Json& object, const char* name, const std::string& where, size_t minLength,
	size_t maxLength, bool required);
std::optional<int64_t> readInteger(const Json& object, const char* name, const std::string& where, int64_t minimum,
	int64_t maximum, bool required);
std::optional<bool> readBool(const Json& object, const char* name, const std::string& where, bool required);
// The member as an object (possibly empty), or nothing when absent and not required.
const Json* readObject(const Json& object, const char* name, const std::string& where, bool required);

// Number of Unicode code points in valid UTF-8 text.
size_t countCharacters(std::string_view text);

// Prefix for member names: "" at the top level, else "intents[3].".
inline std::string memberPath(const std::string& prefix, const char* name)
{
	return prefix + name;
}

std::string jsonTypeName(const Json& value);
}
