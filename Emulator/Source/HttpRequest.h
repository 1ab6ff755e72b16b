#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Velmora
{
// Limits of what one request may hold, set on the parser: anything past them is refused before it is read.
constexpr size_t MaxBodyBytes = 1024 * 1024;
constexpr size_t MaxTargetBytes = 8 * 1024;
constexpr size_t MaxHeaderBytes = 64 * 1024;
constexpr size_t MaxHeaderCount = 100;

// Why a request could not be taken: an HTTP status and the error code of the API's error body.
// The connection is closed after the answer, since its framing can no longer be trusted.
struct HttpRefusal
{
	int status = 400;
	std::string code;
	std::string message;
	std::string hint;
	std::vector<std::pair<std::string, std::string>> headers;
};

// One request as the parser took it from the wire.
struct HttpRequest
{
	std::string method;
	std::string target;
	int minorVersion = 1; // -1: a version other than 1.0 and 1.1
	std::vector<std::pair<std::string, std::string>> headers; // in arrival order, values trimmed
	std::string body;
	bool bKeepAlive = true;
	std::optional<HttpRefusal> refusal; // set when the request is refused by the HTTP layer

	// Names compare without regard to case; the first of the name, or empty.
	const std::string* findHeader(std::string_view name) const;
	bool hasHeader(std::string_view name) const { return findHeader(name) != nullptr; }
	std::string header(std::string_view name) const;
	// The query parameter's value, percent-decoded ("+" is a blank); empty when absent.
	std::string queryValue(std::string_view name) const;
};

// Writes bytes for a log line: control characters and anything outside printable ASCII become
// \xNN, so that a request cannot drive the terminal of whoever watches the log.
std::string escapeForLog(std::string_view text);

// ASCII letters compare without regard to case.
bool equalsNoCase(std::string_view a, std::string_view b);

// The value of one hexadecimal digit, either case; -1 for any other character.
int hexDigitValue(char c);
}
