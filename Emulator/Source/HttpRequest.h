#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Velmora
{
// Limits of what one request may hold. Anything past them is refused before it is read.
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

// One request as read from the wire.
struct HttpRequest
{
	std::string method;
	std::string target;
	int minorVersion = 1;
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

// Reads requests from the bytes of one connection, one after another (pipelined requests stay
// in the buffer for the next call). Headers and bodies are held to the limits above as they
// arrive: an oversized body is refused from its announced length or its first oversized chunk,
// never read whole.
class HttpRequestReader
{
public:
	enum class EState
	{
		NeedMore,      // not a whole request yet
		Ready,         // take() gives a request
		Refused,       // take() gives a request with refusal set; close after answering
	};

	// Appends received bytes. The caller stops reading while a request is being answered, and once
	// a little more than one request's limits is buffered, so the buffer stays bounded.
	void append(const char* data, size_t size) { m_buffer.append(data, size); }
	EState parse();
	HttpRequest take();
	// True when part of a request has arrived (for the deadlines and an early end of stream).
	bool hasPartialRequest() const { return m_phase != EPhase::Idle || !m_buffer.empty(); }
	// True once the headers of the current request are complete and its body is awaited.
	bool inBody() const { return m_phase == EPhase::Body || m_phase == EPhase::ChunkSize || m_phase == EPhase::ChunkData || m_phase == EPhase::Trailers; }
	// True once the current request asked for "100 Continue" and has not been sent it.
	bool wantsContinue();

	size_t bufferedBytes() const { return m_buffer.size(); }

private:
	enum class EPhase
	{
		Idle,
		Headers,
		Body,
		ChunkSize,
		ChunkData,
		Trailers,
	};

	EState refuse(int status, std::string code, std::string message, std::string hint = {});
	EState parseHead(std::string_view head);
	EState startBody();
	EState parseChunks();
	bool nextLine(std::string_view& line, size_t limit, bool& bTooLong);

	std::string m_buffer;
	size_t m_offset = 0; // bytes of m_buffer already consumed
	EPhase m_phase = EPhase::Idle;
	HttpRequest m_request;
	size_t m_bodyLength = 0;
	size_t m_chunkLeft = 0;
	size_t m_trailerBytes = 0;
	bool m_bContinuePending = false;
};

// Writes bytes for a log line: control characters and anything outside printable ASCII become
// \xNN, so that a request cannot drive the terminal of whoever watches the log.
std::string escapeForLog(std::string_view text);

// The value of one hexadecimal digit, either case; -1 for any other character.
int hexDigitValue(char c);
}
