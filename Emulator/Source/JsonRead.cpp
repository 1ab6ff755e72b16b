#include "JsonRead.h"

#include "ApiError.h"

#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Velmora
{
namespace
{
// Finds a member named twice in one object. The parser keeps the last copy silently, and a write
// API must not guess which one was meant. A separate pass over the text without building values:
// the parser's own callback hook costs ten times the parse on a large body.
class RepeatedMemberFinder : public nlohmann::json_sax<Json>
{
public:
	std::optional<std::string> repeated;

	bool null() override { return true; }
	bool boolean(bool) override { return true; }
	bool number_integer(number_integer_t) override { return true; }
	bool number_unsigned(number_unsigned_t) override { return true; }
	bool number_float(number_float_t, const string_t&) override { return true; }
	bool string(string_t&) override { return true; }
	bool binary(binary_t&) override { return true; }
	bool start_object(std::size_t) override
	{
		m_objects.push_back(m_nextObject++);
		return true;
	}
	bool key(string_t& name) override
	{
		// One set for the whole body, keyed by object: no set per object, and no quadratic scans.
		if (!m_seen.emplace(m_objects.back(), name).second)
		{
			repeated = name;
			return false;
		}
		return true;
	}
	bool end_object() override
	{
		m_objects.pop_back();
		return true;
	}
	bool start_array(std::size_t) override { return true; }
	bool end_array() override { return true; }
	bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
	std::vector<uint64_t> m_objects;
	uint64_t m_nextObject = 0;
	std::set<std::pair<uint64_t, std::string>> m_seen;
};

std::optional<std::string> repeatedMember(const std::string& body)
{
	RepeatedMemberFinder finder;
	Json::sax_parse(body, &finder);
	return finder.repeated;
}

// Nesting depth outside strings, so that a body of a million brackets is refused before the
// parser builds (and later walks) a structure that deep.
bool nestingWithin(const std::string& body, int limit)
{
	int depth = 0;
	bool inString = false;
	bool escaped = false;
	for (const char c : body)
	{
		if (inString)
		{
			if (escaped)
			{
				escaped = false;
			}
			else if (c == '\\')
			{
				escaped = true;
			}
			else if (c == '"')
			{
				inString = false;
			}
			continue;
		}
		if (c == '"')
		{
			inString = true;
		}
		else if (c == '[' || c == '{')
		{
			if (++depth > limit)
			{
				return false;
			}
		}
		else if (c == ']' || c == '}')
		{
			--depth;
		}
	}
	return true;
}

std::string withoutLibraryPrefix(const std::string& what)
{
	// nlohmann's texts begin "[json.exception.parse_error.101] parse error at ..."
	const size_t bracket = what.find("] ");
	return bracket == std::string::npos ? what : what.substr(bracket + 2);
}
}

std::string jsonTypeName(const Json& value)
{
	switch (value.type())
	{
	case Json::value_t::null:
		return "null";
	case Json::value_t::object:
		return "an object";
	case Json::value_t::array:
		return "an array";
	case Json::value_t::string:
		return "a string";
	case Json::value_t::boolean:
		return "a boolean";
	case Json::value_t::number_integer:
	case Json::value_t::number_unsigned:
	case Json::value_t::number_float:
		return "a number";
	default:
		return "an unsupported value";
	}
}

Json parseBodyObject(const std::string& body)
{
	if (body.empty())
	{
		throw ApiError(400, "invalid_json", "The request body is empty; this request needs a JSON object.",
			"Send a JSON object with Content-Type: application/json.");
	}
	if (!nestingWithin(body, MaxJsonDepth))
	{
		throw ApiError(400, "invalid_json",
			"The request body nests arrays or objects deeper than " + std::to_string(MaxJsonDepth) + " levels.",
			"Send the flat JSON object the API describes.");
	}
	Json parsed;
	try
	{
		parsed = Json::parse(body);
	}
	catch (const Json::exception& error)
	{
		throw ApiError(400, "invalid_json", "The request body is not valid UTF-8 JSON: " + withoutLibraryPrefix(error.what()) + ".",
			"Check how the body is built; it must be one JSON object encoded as UTF-8.");
	}
	if (const std::optional<std::string> repeated = repeatedMember(body))
	{
		throw ApiError(400, "invalid_json", "The request body names the member " + inQuotes(*repeated) + " more than once in one object.",
			"Send each member once.");
	}
	if (!parsed.is_object())
	{
		throw ApiError(400, "invalid_json", "The request body is " + jsonTypeName(parsed) + ", not a JSON object.",
			"Wrap the request's members in one JSON object.");
	}
	return parsed;
}

size_t countCharacters(std::string_view text)
{
	size_t count = 0;
	for (const char c : text)
	{
		// Count every byte that does not continue a multi-byte sequence.
		if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
		{
			++count;
		}
	}
	return count;
}

std::optional<std::string> readString(const Json& object, const char* name, const std::string& where, size_t minLength,
	size_t maxLength, bool required)
{
	const auto found = object.find(name);
	if (found == object.end() || found->is_null())
	{
		if (required)
		{
			throw invalidRequest("The member " + inQuotes(where) + " is missing; it must be a string.",
				"Add " + inQuotes(where) + " to the request body.");
		}
		return std::nullopt;
	}
	if (!found->is_string())
	{
		throw invalidRequest("The member " + inQuotes(where) + " must be a string, not " + jsonTypeName(*found) + ".");
	}
	std::string value = found->get<std::string>();
	const size_t length = countCharacters(value);
	if (length < minLength || length > maxLength)
	{
		throw invalidRequest("The member " + inQuotes(where) + " must be " + std::to_string(minLength) + " to " + std::to_string(maxLength) +
			" characters long; it has " + std::to_string(length) + ".");
	}
	return value;
}

std::optional<int64_t> readInteger(const Json& object, const char* name, const std::string& where, int64_t minimum,
	int64_t maximum, bool required)
{
	const std::string range = "a whole number from " + std::to_string(minimum) + " to " + std::to_string(maximum);
	const auto found = object.find(name);
	if (found == object.end() || found->is_null())
	{
		if (required)
		{
			throw invalidRequest("The member " + inQuotes(where) + " is missing; it must be " + range + ".",
				"Add " + inQuotes(where) + " to the request body.");
		}
		return std::nullopt;
	}
	if (!found->is_number())
	{
		throw invalidRequest("The member " + inQuotes(where) + " must be " + range + ", not " + jsonTypeName(*found) + ".");
	}
	int64_t value = 0;
	bool inRange = true;
	if (found->is_number_unsigned())
	{
		const uint64_t raw = found->get<uint64_t>();
		inRange = raw <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
		value = inRange ? static_cast<int64_t>(raw) : 0;
	}
	else if (found->is_number_integer())
	{
		value = found->get<int64_t>();
	}
	else
	{
		// Engine JSON writers send whole numbers as doubles; accept them when they are whole.
		const double raw = found->get<double>();
		if (!std::isfinite(raw) || std::floor(raw) != raw)
		{
			throw invalidRequest("The member " + inQuotes(where) + " must be " + range + "; " + found->dump() + " is not a whole number.");
		}
		inRange = raw >= -9.0e18 && raw <= 9.0e18;
		value = inRange ? static_cast<int64_t>(raw) : 0;
	}
	if (!inRange || value < minimum || value > maximum)
	{
		throw invalidRequest("The member " + inQuotes(where) + " must be " + range + "; got " + found->dump() + ".");
	}
	return value;
}

std::optional<bool> readBool(const Json& object, const char* name, const std::string& where, bool required)
{
	const auto found = object.find(name);
	if (found == object.end() || found->is_null())
	{
		if (required)
		{
			throw invalidRequest("The member " + inQuotes(where) + " is missing; it must be true or false.");
		}
		return std::nullopt;
	}
	if (!found->is_boolean())
	{
		throw invalidRequest("The member " + inQuotes(where) + " must be true or false, not " + jsonTypeName(*found) + ".");
	}
	return found->get<bool>();
}

const Json* readObject(const Json& object, const char* name, const std::string& where, bool required)
{
	const auto found = object.find(name);
	if (found == object.end() || found->is_null())
	{
		if (required)
		{
			throw invalidRequest("The member " + inQuotes(where) + " is missing; it must be an object.");
		}
		return nullptr;
	}
	if (!found->is_object())
	{
		throw invalidRequest("The member " + inQuotes(where) + " must be an object, not " + jsonTypeName(*found) + ".");
	}
	return &*found;
}
}
