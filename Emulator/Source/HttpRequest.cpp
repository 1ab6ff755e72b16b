#include "HttpRequest.h"

#include <array>
#include <cctype>

namespace Velmora
{
namespace
{
bool equalsNoCase(std::string_view a, std::string_view b)
{
	if (a.size() != b.size())
	{
		return false;
	}
	for (size_t i = 0; i < a.size(); ++i)
	{
		if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
		{
			return false;
		}
	}
	return true;
}

std::string lowered(std::string_view text)
{
	std::string result(text);
	for (char& c : result)
	{
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	}
	return result;
}

bool isTokenChar(char c)
{
	const unsigned char u = static_cast<unsigned char>(c);
	if (std::isalnum(u))
	{
		return true;
	}
	for (const char allowed : std::string_view("!#$%&'*+-.^_`|~"))
	{
		if (c == allowed)
		{
			return true;
		}
	}
	return false;
}

bool isToken(std::string_view text)
{
	if (text.empty())
	{
		return false;
	}
	for (const char c : text)
	{
		if (!isTokenChar(c))
		{
			return false;
		}
	}
	return true;
}

std::string_view trimmed(std::string_view text)
{
	while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
	{
		text.remove_prefix(1);
	}
	while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
	{
		text.remove_suffix(1);
	}
	return text;
}

std::string decodeQueryPart(std::string_view text)
{
	std::string decoded;
	decoded.reserve(text.size());
	for (size_t i = 0; i < text.size(); ++i)
	{
		if (text[i] == '+')
		{
			decoded.push_back(' ');
		}
		else if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 && hexDigitValue(text[i + 2]) >= 0)
		{
			decoded.push_back(static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2])));
			i += 2;
		}
		else
		{
			decoded.push_back(text[i]);
		}
	}
	return decoded;
}

// Methods the emulator knows as HTTP methods: the routes answer 405 for those a path does not
// take. Anything else is not implemented at all.
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
	constexpr std::array<std::string_view, 9> Singletons = {"content-length", "transfer-encoding", "host", "authorization", "idempotency-key",
		"x-admin-key", "content-type", "expect", "connection"};
	for (const std::string_view singleton : Singletons)
	{
		if (equalsNoCase(name, singleton))
		{
			return true;
		}
	}
	return false;
}

// Offset just past the blank line that ends the head starting at `from`, or npos.
size_t findHeadEnd(const std::string& buffer, size_t from)
{
	size_t newline = buffer.find('\n', from);
	while (newline != std::string::npos)
	{
		size_t next = newline + 1;
		if (next < buffer.size() && buffer[next] == '\r')
		{
			++next;
		}
		if (next < buffer.size() && buffer[next] == '\n')
		{
			return next + 1;
		}
		newline = buffer.find('\n', newline + 1);
	}
	return std::string::npos;
}

bool needsBody(std::string_view method)
{
	return method == "POST" || method == "PUT" || method == "PATCH";
}
}

const std::string* HttpRequest::findHeader(std::string_view name) const
{
	for (const auto& [headerName, value] : headers)
	{
		if (equalsNoCase(headerName, name))
		{
			return &value;
		}
	}
	return nullptr;
}

std::string HttpRequest::header(std::string_view name) const
{
	const std::string* value = findHeader(name);
	return value ? *value : std::string();
}

std::string HttpRequest::queryValue(std::string_view name) const
{
	const size_t question = target.find('?');
	if (question == std::string::npos)
	{
		return {};
	}
	std::string_view query = std::string_view(target).substr(question + 1);
	while (!query.empty())
	{
		const size_t amp = query.find('&');
		const std::string_view pair = query.substr(0, amp);
		const size_t equals = pair.find('=');
		if (decodeQueryPart(pair.substr(0, equals)) == name)
		{
			return equals == std::string_view::npos ? std::string() : decodeQueryPart(pair.substr(equals + 1));
		}
		if (amp == std::string_view::npos)
		{
			break;
		}
		query.remove_prefix(amp + 1);
	}
	return {};
}

HttpRequestReader::EState HttpRequestReader::refuse(int status, std::string code, std::string message, std::string hint)
{
	HttpRefusal refusal;
	refusal.status = status;
	refusal.code = std::move(code);
	refusal.message = std::move(message);
	refusal.hint = std::move(hint);
	m_request.refusal = std::move(refusal);
	m_request.bKeepAlive = false;
	return EState::Refused;
}

bool HttpRequestReader::wantsContinue()
{
	const bool bWants = m_bContinuePending && inBody();
	m_bContinuePending = false;
	return bWants;
}

bool HttpRequestReader::nextLine(std::string_view& line, size_t limit, bool& bTooLong)
{
	const size_t newline = m_buffer.find('\n', m_offset);
	if (newline == std::string::npos)
	{
		bTooLong = m_buffer.size() - m_offset > limit;
		return false;
	}
	line = std::string_view(m_buffer).substr(m_offset, newline - m_offset);
	if (!line.empty() && line.back() == '\r')
	{
		line.remove_suffix(1);
	}
	bTooLong = line.size() > limit;
	m_offset = newline + 1;
	return true;
}

HttpRequestReader::EState HttpRequestReader::parse()
{
	if (m_phase == EPhase::Idle)
	{
		// Blank lines between requests are allowed and ignored.
		while (m_offset < m_buffer.size() && (m_buffer[m_offset] == '\r' || m_buffer[m_offset] == '\n'))
		{
			++m_offset;
		}
		if (m_offset == m_buffer.size())
		{
			return EState::NeedMore;
		}
		m_phase = EPhase::Headers;
		m_request = HttpRequest{};
	}
	if (m_phase == EPhase::Headers)
	{
		const size_t end = findHeadEnd(m_buffer, m_offset);
		if (end == std::string::npos)
		{
			const size_t firstNewline = m_buffer.find('\n', m_offset);
			const size_t lineSoFar = (firstNewline == std::string::npos ? m_buffer.size() : firstNewline) - m_offset;
			if (lineSoFar > MaxTargetBytes + 64)
			{
				return refuse(414, "uri_too_long", "The request target is longer than " + std::to_string(MaxTargetBytes) + " bytes.",
					"Container ids and paths are short; check how the path is built.");
			}
			if (m_buffer.size() - m_offset > MaxHeaderBytes)
			{
				return refuse(431, "headers_too_large", "The request's headers are larger than " + std::to_string(MaxHeaderBytes) + " bytes.",
					"Send fewer or shorter headers.");
			}
			return EState::NeedMore;
		}
		if (end - m_offset > MaxHeaderBytes + MaxTargetBytes)
		{
			return refuse(431, "headers_too_large", "The request's headers are larger than " + std::to_string(MaxHeaderBytes) + " bytes.",
				"Send fewer or shorter headers.");
		}
		const std::string_view head = std::string_view(m_buffer).substr(m_offset, end - m_offset);
		m_offset = end;
		const EState state = parseHead(head);
		if (state != EState::NeedMore)
		{
			return state;
		}
		const EState bodyState = startBody();
		if (bodyState != EState::NeedMore)
		{
			return bodyState;
		}
	}
	if (m_phase == EPhase::Body)
	{
		if (m_buffer.size() - m_offset < m_bodyLength)
		{
			return EState::NeedMore;
		}
		m_request.body.assign(m_buffer, m_offset, m_bodyLength);
		m_offset += m_bodyLength;
		return EState::Ready;
	}
	return parseChunks();
}

HttpRequestReader::EState HttpRequestReader::parseHead(std::string_view head)
{
	std::vector<std::string_view> lines;
	while (!head.empty())
	{
		const size_t newline = head.find('\n');
		std::string_view line = head.substr(0, newline);
		if (!line.empty() && line.back() == '\r')
		{
			line.remove_suffix(1);
		}
		if (!line.empty())
		{
			lines.push_back(line);
		}
		head.remove_prefix(newline == std::string_view::npos ? head.size() : newline + 1);
	}
	const std::string_view requestLine = lines.empty() ? std::string_view() : lines.front();
	const size_t firstSpace = requestLine.find(' ');
	const size_t lastSpace = requestLine.rfind(' ');
	if (firstSpace == std::string_view::npos || lastSpace == firstSpace)
	{
		return refuse(400, "invalid_request", "The request line is not \"METHOD /path HTTP/1.1\".", "Check the client's HTTP library.");
	}
	m_request.method = std::string(requestLine.substr(0, firstSpace));
	m_request.target = std::string(requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1));
	const std::string_view version = requestLine.substr(lastSpace + 1);
	if (!isToken(m_request.method))
	{
		return refuse(400, "invalid_request", "The request's method is not an HTTP token.", "Check the client's HTTP library.");
	}
	if (m_request.target.size() > MaxTargetBytes)
	{
		return refuse(414, "uri_too_long", "The request target is longer than " + std::to_string(MaxTargetBytes) + " bytes.",
			"Container ids and paths are short; check how the path is built.");
	}
	if (m_request.target.empty() || m_request.target.front() == ' ')
	{
		return refuse(400, "invalid_request", "The request line is not \"METHOD /path HTTP/1.1\".", "Check the client's HTTP library.");
	}
	if (version == "HTTP/1.1" || version == "HTTP/1.0")
	{
		m_request.minorVersion = version.back() - '0';
	}
	else if (version.substr(0, 5) == "HTTP/")
	{
		return refuse(505, "http_version_not_supported", "The platform speaks HTTP/1.1 (and 1.0); this request is " + std::string(version) + ".",
			"Use HTTP/1.1.");
	}
	else
	{
		return refuse(400, "invalid_request", "The request line is not \"METHOD /path HTTP/1.1\".", "Check the client's HTTP library.");
	}
	if (!isKnownMethod(m_request.method))
	{
		return refuse(501, "not_implemented", "The method " + m_request.method + " is not one the platform implements.",
			"The game API uses GET and POST.");
	}
	if (lines.size() - 1 > MaxHeaderCount)
	{
		return refuse(431, "headers_too_large", "The request has more than " + std::to_string(MaxHeaderCount) + " headers.", "Send fewer headers.");
	}
	for (size_t i = 1; i < lines.size(); ++i)
	{
		const std::string_view line = lines[i];
		if (line.front() == ' ' || line.front() == '\t')
		{
			return refuse(400, "invalid_request", "A header is continued on a second line (obsolete line folding).", "Send each header on one line.");
		}
		const size_t colon = line.find(':');
		const std::string_view name = line.substr(0, colon);
		if (colon == std::string_view::npos || !isToken(name))
		{
			return refuse(400, "invalid_request", "A header line is not \"Name: value\".", "Check how the client builds its headers.");
		}
		const std::string_view value = trimmed(line.substr(colon + 1));
		for (const char c : value)
		{
			const unsigned char u = static_cast<unsigned char>(c);
			if ((u < 0x20 && c != '\t') || u == 0x7f)
			{
				return refuse(400, "invalid_request", "The header " + std::string(name) + " holds a control character.",
					"Header values are printable text.");
			}
		}
		if (isSingleton(name) && m_request.hasHeader(name))
		{
			return refuse(400, "invalid_request", "The header " + std::string(name) + " is sent more than once.",
				"Send it once; which copy counts would be a guess.");
		}
		m_request.headers.emplace_back(std::string(name), std::string(value));
	}

	const std::string connection = lowered(m_request.header("Connection"));
	if (m_request.minorVersion == 0)
	{
		m_request.bKeepAlive = connection.find("keep-alive") != std::string::npos;
	}
	else
	{
		m_request.bKeepAlive = connection.find("close") == std::string::npos;
	}
	return EState::NeedMore;
}

HttpRequestReader::EState HttpRequestReader::startBody()
{
	const std::string* transferEncoding = m_request.findHeader("Transfer-Encoding");
	const std::string* contentLength = m_request.findHeader("Content-Length");
	if (transferEncoding != nullptr && contentLength != nullptr)
	{
		return refuse(400, "invalid_request", "The request has both Transfer-Encoding and Content-Length.", "Send one of them.");
	}
	if (const std::string* expect = m_request.findHeader("Expect"))
	{
		if (!equalsNoCase(*expect, "100-continue"))
		{
			return refuse(417, "expectation_failed", "The platform cannot meet \"Expect: " + *expect + "\".", "Send no Expect header, or 100-continue.");
		}
		m_bContinuePending = true;
	}
	if (transferEncoding != nullptr)
	{
		if (!equalsNoCase(*transferEncoding, "chunked"))
		{
			return refuse(501, "not_implemented", "The transfer coding \"" + *transferEncoding + "\" is not supported.",
				"Send the body with Content-Length, or chunked.");
		}
		m_phase = EPhase::ChunkSize;
		return EState::NeedMore;
	}
	if (contentLength != nullptr)
	{
		if (contentLength->empty() || contentLength->find_first_not_of("0123456789") != std::string::npos)
		{
			return refuse(400, "invalid_request", "Content-Length is not a whole number of bytes.", "Send the body's length in bytes.");
		}
		const size_t digits = contentLength->size() - std::min(contentLength->find_first_not_of('0'), contentLength->size());
		if (digits > 8 || std::stoull(*contentLength) > MaxBodyBytes)
		{
			return refuse(413, "payload_too_large", "The request body is larger than 1 MiB (1048576 bytes).",
				"Send less per request; split a large transaction into several.");
		}
		m_bodyLength = static_cast<size_t>(std::stoull(*contentLength));
		m_phase = EPhase::Body;
		return EState::NeedMore;
	}
	if (needsBody(m_request.method))
	{
		return refuse(411, "length_required", "A " + m_request.method + " request needs Content-Length (or a chunked body).",
			"Send the body with its Content-Length.");
	}
	m_bodyLength = 0;
	m_phase = EPhase::Body;
	return EState::NeedMore;
}

HttpRequestReader::EState HttpRequestReader::parseChunks()
{
	for (;;)
	{
		if (m_phase == EPhase::ChunkSize)
		{
			std::string_view line;
			bool bTooLong = false;
			if (!nextLine(line, 1024, bTooLong))
			{
				return bTooLong ? refuse(400, "invalid_request", "A chunk size line is too long.", "Check the client's HTTP library.") : EState::NeedMore;
			}
			const std::string_view size = trimmed(line.substr(0, line.find(';')));
			if (size.empty() || bTooLong)
			{
				return refuse(400, "invalid_request", "A chunk of the body has no valid size.", "Check the client's HTTP library.");
			}
			size_t value = 0;
			for (const char c : size)
			{
				const int digit = hexDigitValue(c);
				if (digit < 0)
				{
					return refuse(400, "invalid_request", "A chunk of the body has no valid size.", "Check the client's HTTP library.");
				}
				value = value * 16 + static_cast<size_t>(digit);
				if (value > MaxBodyBytes)
				{
					break;
				}
			}
			if (value > MaxBodyBytes - m_request.body.size())
			{
				return refuse(413, "payload_too_large", "The request body is larger than 1 MiB (1048576 bytes).",
					"Send less per request; split a large transaction into several.");
			}
			m_chunkLeft = value;
			m_phase = value == 0 ? EPhase::Trailers : EPhase::ChunkData;
			m_trailerBytes = 0;
		}
		else if (m_phase == EPhase::ChunkData)
		{
			const size_t available = m_buffer.size() - m_offset;
			const size_t take = std::min(available, m_chunkLeft);
			m_request.body.append(m_buffer, m_offset, take);
			m_offset += take;
			m_chunkLeft -= take;
			if (m_chunkLeft > 0)
			{
				return EState::NeedMore;
			}
			std::string_view line;
			bool bTooLong = false;
			if (!nextLine(line, 2, bTooLong))
			{
				return bTooLong ? refuse(400, "invalid_request", "A chunk of the body does not end where its size says.", "Check the client's HTTP library.")
								: EState::NeedMore;
			}
			if (!line.empty())
			{
				return refuse(400, "invalid_request", "A chunk of the body does not end where its size says.", "Check the client's HTTP library.");
			}
			m_phase = EPhase::ChunkSize;
		}
		else
		{
			std::string_view line;
			bool bTooLong = false;
			const size_t before = m_offset;
			if (!nextLine(line, MaxHeaderBytes, bTooLong))
			{
				return bTooLong ? refuse(431, "headers_too_large", "The body's trailers are too large.", "Send no trailers.") : EState::NeedMore;
			}
			m_trailerBytes += m_offset - before;
			if (m_trailerBytes > MaxHeaderBytes)
			{
				return refuse(431, "headers_too_large", "The body's trailers are too large.", "Send no trailers.");
			}
			if (line.empty())
			{
				return EState::Ready;
			}
		}
	}
}

HttpRequest HttpRequestReader::take()
{
	m_buffer.erase(0, m_offset);
	m_offset = 0;
	m_phase = EPhase::Idle;
	m_bodyLength = 0;
	m_chunkLeft = 0;
	m_bContinuePending = false;
	HttpRequest request = std::move(m_request);
	m_request = HttpRequest{};
	return request;
}

std::string escapeForLog(std::string_view text)
{
	static const char* const Digits = "0123456789abcdef";
	std::string escaped;
	escaped.reserve(text.size());
	for (const char c : text)
	{
		const unsigned char u = static_cast<unsigned char>(c);
		if (u < 0x20 || u >= 0x7f || c == '\\')
		{
			escaped += "\\x";
			escaped.push_back(Digits[u >> 4]);
			escaped.push_back(Digits[u & 15]);
		}
		else
		{
			escaped.push_back(c);
		}
	}
	return escaped;
}

int hexDigitValue(char c)
{
	if (c >= '0' && c <= '9')
	{
		return c - '0';
	}
	if (c >= 'a' && c <= 'f')
	{
		return c - 'a' + 10;
	}
	if (c >= 'A' && c <= 'F')
	{
		return c - 'A' + 10;
	}
	return -1;
}
}
