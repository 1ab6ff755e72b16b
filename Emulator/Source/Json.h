#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace Velmora
{
// Insertion-ordered, so documents go out with their members in the order the API shows them.
using Json = nlohmann::ordered_json;

// Serialises compactly. Invalid UTF-8 (only possible in text taken from a URL) is replaced rather
// than thrown about, so an odd container id in a path can never break an error answer.
inline std::string dumpJson(const Json& value)
{
	return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}
}
