#include "HttpChecks.h"

#include <arpa/inet.h>

#include <array>
#include <cctype>

namespace Velmora
{
namespace
{
std::string lowered(std::string_view text)
{
	std::string result(text);
	for (char& c : result)
	{
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	}
	return result;
}

HttpRefusal refusal(int status, std::string code, std::string message, std::string hint)
{
	HttpRefusal result;
	result.status = status;
	result.code = std::move(code);
	result.message = std::move(message);
	result.hint = std::move(hint);
	return result;
}

HttpRefusal invalid(std::string message, std::string hint = "Check the client's HTTP library.")
{
	return refusal(400, "invalid_request", std::move(message), std::move(hint));
}

// Methods HTTP defines: the routes answer 405 for those a path does not take. Anything else is
// not implemented at all.
bool isKnownMethod(std::string_view method)
{
	constexpr std::array<std::string_view, 9> Known = {"GET", "HEAD", "POST", "PUT", "PATCH", "DELETE", "OPTIONS", "TRACE", "CONNECT"};
	for (const std::string_view known : Known)
	{
		if (method == known)
		{
			return true;
		}
	}
	return false;
}

// Headers whose meaning changes with which copy wins: a second one is refused rather than guessed at.
bool isSingleton(std::string_view name)
{
	constexpr std::array<std::string_view, 10> Singletons = {"content-length", "transfer-encoding", "host", "authorization", "idempotency-key",
		"x-admin-key", "content-type", "expect", "connection", "origin"};
	for (const std::string_view singleton : Singletons)
	{
		if (equalsNoCase(name, singleton))
		{
			return true;
		}
	}
	return false;
}

bool isRegNameChar(char c)
{
	const unsigned char u = static_cast<unsigned char>(c);
	return std::isalnum(u) || std::string_view("-._~!$&'()*+,;=%").find(c) != std::string_view::npos;
}

bool isLoopbackName(const std::string& host)
{
	if (host == "localhost" || host == "::1")
	{
		return true;
	}
	in_addr address{};
	return inet_pton(AF_INET, host.c_str(), &address) == 1 && (ntohl(address.s_addr) >> 24) == 127;
}

HttpRefusal notAllowed(const char* code, const std::string& what)
{
	return refusal(403, code, what + " does not name this emulator; it answers only requests addressed to it on loopback.",
		"Use http://127.0.0.1:<port> (or localhost). To reach it by another name, start it with --listen-any --allow-host NAME.");
}
}

bool HttpAuthority::allows(std::string_view host, int requestPort) const
{
	if (requestPort != 0 && requestPort != port)
	{
		return false;
	}
	const std::string name(host);
	if (isLoopbackName(name))
	{
		return true;
	}
	for (const std::string& extra : allowed)
	{
		if (extra == name)
		{
			return true;
		}
	}
	return false;
}

bool splitAuthority(std::string_view text, std::string& host, int& port)
{
	port = 0;
	std::string_view rest;
	if (!text.empty() && text.front() == '[')
	{
		const size_t close = text.find(']');
		if (close == std::string_view::npos)
		{
			return false;
		}
		const std::string inner(text.substr(1, close - 1));
		in6_addr address{};
		if (inet_pton(AF_INET6, inner.c_str(), &address) != 1)
		{
			return false;
		}
		host = lowered(inner);
		rest = text.substr(close + 1);
	}
	else
	{
		const size_t colon = text.find(':');
		const std::string_view name = text.substr(0, colon);
		if (name.empty())
		{
			return false;
		}
		for (const char c : name)
		{
			if (!isRegNameChar(c))
			{
				return false;
			}
		}
		host = lowered(name);
		rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
	}
	if (rest.empty())
	{
		return true;
	}
	if (rest.front() != ':' || rest.size() < 2 || rest.size() > 6)
	{
		return false;
	}
	for (const char c : rest.substr(1))
	{
		if (c < '0' || c > '9')
		{
			return false;
		}
		port = port * 10 + (c - '0');
	}
	return port > 0 && port <= 65535;
}

std::optional<HttpRefusal> checkRequestHead(HttpRequest& request, const HttpAuthority& authority, bool& bExpectsContinue)
{
	bExpectsContinue = false;
	if (request.minorVersion < 0)
	{
		return refusal(505, "http_version_not_supported", "The platform speaks HTTP/1.1 (and 1.0).", "Use HTTP/1.1.");
	}
	if (!isKnownMethod(request.method))
	{
		return refusal(501, "not_implemented", "The method " + request.method + " is not one the platform implements.", "The game API uses GET and POST.");
	}
	if (request.target.size() > MaxTargetBytes)
	{
		return refusal(414, "uri_too_long", "The request target is longer than " + std::to_string(MaxTargetBytes) + " bytes.",
			"Container ids and paths are short; check how the path is built.");
	}
	if (request.headers.size() > MaxHeaderCount)
	{
		return refusal(431, "headers_too_large", "The request has more than " + std::to_string(MaxHeaderCount) + " headers.", "Send fewer headers.");
	}
	for (size_t i = 0; i < request.headers.size(); ++i)
	{
		const auto& [name, value] = request.headers[i];
		for (const char c : value)
		{
			const unsigned char u = static_cast<unsigned char>(c);
			if ((u < 0x20 && c != '\t') || u == 0x7f)
			{
				return invalid("The header " + name + " holds a control character.", "Header values are printable text.");
			}
		}
		if (isSingleton(name))
		{
			for (size_t j = 0; j < i; ++j)
			{
				if (equalsNoCase(request.headers[j].first, name))
				{
					return invalid("The header " + name + " is sent more than once.", "Send it once; which copy counts would be a guess.");
				}
			}
		}
	}

	// Where the request is addressed: Host (required in HTTP/1.1), or the authority of an
	// absolute-form target, which then counts instead of Host.
	std::string host;
	int port = 0;
	const std::string* hostHeader = request.findHeader("Host");
	if (hostHeader != nullptr && !splitAuthority(*hostHeader, host, port))
	{
		return invalid("The Host header is not a valid host name or address with an optional port.");
	}
	if (hostHeader == nullptr && request.minorVersion == 1)
	{
		return invalid("An HTTP/1.1 request needs a Host header.", "Send Host: 127.0.0.1:<port>.");
	}
	if (request.target.size() > 7 && equalsNoCase(std::string_view(request.target).substr(0, 7), "http://"))
	{
		const std::string_view rest = std::string_view(request.target).substr(7);
		const size_t end = rest.find_first_of("/?");
		if (!splitAuthority(rest.substr(0, end), host, port))
		{
			return invalid("The request target's authority is not a valid host name or address.");
		}
		if (!authority.allows(host, port == 0 ? 80 : port))
		{
			return notAllowed("host_not_allowed", "The request target");
		}
		const std::string_view path = end == std::string_view::npos ? std::string_view() : rest.substr(end);
		request.target = path.empty() || path.front() == '?' ? "/" + std::string(path) : std::string(path);
	}
	else if (hostHeader != nullptr && !authority.allows(host, port))
	{
		return notAllowed("host_not_allowed", "The Host header");
	}
	// A browser names the page that sent a request in Origin: only pages served by this emulator
	// (the dashboard) may talk to it, so that a page elsewhere cannot use a rebound name.
	if (const std::string* origin = request.findHeader("Origin"))
	{
		std::string originHost;
		int originPort = 0;
		if (!(origin->size() > 7 && equalsNoCase(std::string_view(*origin).substr(0, 7), "http://") &&
				splitAuthority(std::string_view(*origin).substr(7), originHost, originPort) &&
				authority.allows(originHost, originPort == 0 ? 80 : originPort)))
		{
			return notAllowed("origin_not_allowed", "The Origin header (the page that sent the request)");
		}
	}

	const std::string* transferEncoding = request.findHeader("Transfer-Encoding");
	const std::string* contentLength = request.findHeader("Content-Length");
	if (transferEncoding != nullptr && contentLength != nullptr)
	{
		return invalid("The request has both Transfer-Encoding and Content-Length.", "Send one of them.");
	}
	if (transferEncoding != nullptr && !equalsNoCase(*transferEncoding, "chunked"))
	{
		return refusal(501, "not_implemented", "The transfer coding \"" + *transferEncoding + "\" is not supported.",
			"Send the body with Content-Length, or chunked.");
	}
	if (contentLength != nullptr && (contentLength->empty() || contentLength->find_first_not_of("0123456789") != std::string::npos))
	{
		return invalid("Content-Length is not a whole number of bytes.", "Send the body's length in bytes.");
	}
	if (transferEncoding == nullptr && contentLength == nullptr && (request.method == "POST" || request.method == "PUT" || request.method == "PATCH"))
	{
		return refusal(411, "length_required", "A " + request.method + " request needs Content-Length (or a chunked body).",
			"Send the body with its Content-Length.");
	}
	if (transferEncoding != nullptr && request.minorVersion == 0)
	{
		// HTTP/1.0 has no chunked coding: the framing of what follows cannot be trusted.
		request.bKeepAlive = false;
	}
	if (const std::string* expect = request.findHeader("Expect"))
	{
		// An HTTP/1.0 client cannot mean it; its expectation is ignored.
		if (request.minorVersion == 1)
		{
			if (!equalsNoCase(*expect, "100-continue"))
			{
				return refusal(417, "expectation_failed", "The platform cannot meet \"Expect: " + *expect + "\".", "Send no Expect header, or 100-continue.");
			}
			bExpectsContinue = transferEncoding != nullptr || (contentLength != nullptr && contentLength->find_first_not_of('0') != std::string::npos);
		}
	}
	return std::nullopt;
}
}
