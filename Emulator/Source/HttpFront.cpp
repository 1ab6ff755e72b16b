#include "HttpFront.h"
#include "HttpChecks.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <unordered_set>

namespace Velmora
{
namespace
{
namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;
using boost::system::error_code;

// What one connection may hold unparsed: a whole head, or one chunk line and its framing. The body
// itself leaves the buffer for the parser's body as it arrives.
constexpr size_t ReadCap = MaxHeaderBytes + MaxTargetBytes + 16 * 1024;
constexpr size_t ReadStep = 64 * 1024;
constexpr size_t MaxBlankBytes = 1024; // blank lines tolerated before a request line
constexpr size_t MaxDrainBytes = 4 * 1024 * 1024;
constexpr int DrainMs = 2000;
constexpr int RefusedDrainMs = 250; // a client refused for want of descriptors holds one only briefly
constexpr int StopGraceMs = 10000;
// How often the deadlines are looked at: one timer for all connections, so that a request costs
// no timer of its own.
constexpr int SweepMs = 50;
// Descriptors kept back from connections: SQLite's files, the listener, and room to accept a
// client past the limit and refuse it at once instead of leaving it in the backlog.
constexpr size_t DescriptorReserve = 64;

const char* reasonPhrase(int status)
{
	switch (status)
	{
	case 100: return "Continue";
	case 200: return "OK";
	case 201: return "Created";
	case 204: return "No Content";
	case 400: return "Bad Request";
	case 401: return "Unauthorized";
	case 403: return "Forbidden";
	case 404: return "Not Found";
	case 405: return "Method Not Allowed";
	case 408: return "Request Timeout";
	case 409: return "Conflict";
	case 411: return "Length Required";
	case 413: return "Content Too Large";
	case 414: return "URI Too Long";
	case 417: return "Expectation Failed";
	case 422: return "Unprocessable Content";
	case 429: return "Too Many Requests";
	case 431: return "Request Header Fields Too Large";
	case 500: return "Internal Server Error";
	case 501: return "Not Implemented";
	case 503: return "Service Unavailable";
	case 505: return "HTTP Version Not Supported";
	default: return "Status";
	}
}

std::string frame(const HttpRequest& request, const HttpReply& reply, bool bClose)
{
	std::string out;
	out.reserve(reply.body.size() + 256);
	out += "HTTP/1.1 " + std::to_string(reply.status) + " " + reasonPhrase(reply.status) + "\r\n";
	out += "Content-Type: " + reply.contentType + "\r\n";
	out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
	for (const auto& [name, value] : reply.headers)
	{
		out += name + ": " + value + "\r\n";
	}
	if (bClose)
	{
		out += "Connection: close\r\n";
	}
	else if (request.minorVersion == 0)
	{
		out += "Connection: keep-alive\r\n";
	}
	out += "\r\n";
	if (request.method != "HEAD")
	{
		out += reply.body;
	}
	return out;
}

int systemBacklog()
{
	std::ifstream file("/proc/sys/net/core/somaxconn");
	int value = 0;
	return file >> value && value > 0 ? value : SOMAXCONN;
}

// Connections we keep open at most: below the descriptor limit (read at each accept, so that a
// lowered limit counts at once), with the reserve left over.
size_t connectionLimit()
{
	rlimit limit{};
	if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
	{
		return 1 << 20;
	}
	const size_t descriptors = static_cast<size_t>(limit.rlim_cur);
	return descriptors > 3 * DescriptorReserve ? descriptors - DescriptorReserve : descriptors / 3;
}

// The method and target of a head the parser refused, for the log line and error body only.
HttpRequest rawRequestLine(std::string_view bytes)
{
	HttpRequest request;
	const std::string_view line = bytes.substr(0, std::min(bytes.find('\n'), MaxTargetBytes + 64));
	const size_t space = line.find(' ');
	request.method = std::string(line.substr(0, std::min<size_t>(space, 32)));
	if (space != std::string_view::npos)
	{
		const std::string_view rest = line.substr(space + 1);
		std::string_view target = rest.substr(0, rest.rfind(' '));
		if (!target.empty() && target.back() == '\r')
		{
			target.remove_suffix(1);
		}
		request.target = std::string(target);
	}
	return request;
}

// The value of a header in a head the parser refused (its Content-Length, say).
std::string rawHeader(std::string_view bytes, std::string_view name)
{
	const size_t end = bytes.find("\r\n\r\n");
	std::string_view head = bytes.substr(0, end);
	while (!head.empty())
	{
		const size_t newline = head.find('\n');
		const std::string_view line = head.substr(0, newline);
		head.remove_prefix(newline == std::string_view::npos ? head.size() : newline + 1);
		if (line.size() > name.size() && line[name.size()] == ':' && equalsNoCase(line.substr(0, name.size()), name))
		{
			std::string value(line.substr(name.size() + 1));
			value.erase(0, value.find_first_not_of(" \t"));
			value.erase(value.find_last_not_of(" \t\r") + 1);
			return value;
		}
	}
	return {};
}

HttpRefusal makeRefusal(int status, const char* code, std::string message, std::string hint = "Check the client's HTTP library.")
{
	HttpRefusal refusal;
	refusal.status = status;
	refusal.code = code;
	refusal.message = std::move(message);
	refusal.hint = std::move(hint);
	return refusal;
}

const HttpRefusal TooLarge = makeRefusal(413, "payload_too_large", "The request body is larger than 1 MiB (1048576 bytes).",
	"Send less per request; split a large transaction into several.");
const HttpRefusal HeadersTooLarge = makeRefusal(431, "headers_too_large",
	"The request's headers are larger than " + std::to_string(MaxHeaderBytes) + " bytes.", "Send fewer or shorter headers.");
const HttpRefusal TargetTooLong = makeRefusal(414, "uri_too_long", "The request target is longer than " + std::to_string(MaxTargetBytes) + " bytes.",
	"Container ids and paths are short; check how the path is built.");

// What the parser's error means for the client, in the API's terms.
HttpRefusal refusalFor(const error_code& error, std::string_view bytes)
{
	if (error == http::error::body_limit)
	{
		return TooLarge;
	}
	if (error == http::error::header_limit)
	{
		return bytes.find('\n') == std::string_view::npos ? TargetTooLong : HeadersTooLarge;
	}
	if (error == http::error::bad_content_length)
	{
		// One length of digits only that no number can hold: far over the limit.
		const std::string length = rawHeader(bytes, "Content-Length");
		if (length.size() > 18 && length.find_first_not_of("0123456789") == std::string::npos && rawHeader(bytes, "Transfer-Encoding").empty())
		{
			return TooLarge;
		}
		return makeRefusal(400, "invalid_request", "Content-Length is not a whole number of bytes, or comes with Transfer-Encoding.",
			"Send one Content-Length with the body's length in bytes.");
	}
	if (error == http::error::bad_transfer_encoding)
	{
		return makeRefusal(400, "invalid_request", "The request has both Transfer-Encoding and Content-Length, or Transfer-Encoding twice.", "Send one of them.");
	}
	if (error == http::error::bad_obs_fold)
	{
		return makeRefusal(400, "invalid_request", "A header is continued on a second line (obsolete line folding).", "Send each header on one line.");
	}
	if (error == http::error::bad_field || error == http::error::bad_value)
	{
		return makeRefusal(400, "invalid_request", "A header line is not \"Name: value\" in printable text.", "Check how the client builds its headers.");
	}
	if (error == http::error::bad_chunk || error == http::error::bad_chunk_extension)
	{
		return makeRefusal(400, "invalid_request", "A chunk of the body is malformed.");
	}
	if (error == http::error::bad_version)
	{
		// "HTTP/x.y" that is not 1.0 or 1.1: a version we do not speak rather than a malformed line.
		const std::string_view line = bytes.substr(0, bytes.find('\n'));
		const std::string_view version = line.substr(std::min(line.rfind(' '), line.size()));
		if (std::count(line.begin(), line.end(), ' ') == 2 && version.size() >= 9 && version.substr(1, 5) == "HTTP/" && std::isdigit(static_cast<unsigned char>(version[6])) && version[7] == '.' &&
			std::isdigit(static_cast<unsigned char>(version[8])))
		{
			return makeRefusal(505, "http_version_not_supported", "The platform speaks HTTP/1.1 (and 1.0); this request is " +
				std::string(version.substr(1, 8)) + ".", "Use HTTP/1.1.");
		}
	}
	if (error == http::error::bad_target)
	{
		return makeRefusal(400, "invalid_request", "The request target holds a character no target may hold (a space or a control character).",
			"Percent-encode such characters.");
	}
	return makeRefusal(400, "invalid_request", "The request line is not \"METHOD /path HTTP/1.1\", or the request is malformed.");
}
}

struct HttpFront::State
{
	struct Session;

	asio::io_context io{1};
	tcp::acceptor acceptor{io};
	asio::steady_timer acceptRetry{io};
	asio::steady_timer stopTimer{io};
	asio::steady_timer sweepTimer{io};
	std::optional<asio::executor_work_guard<asio::io_context::executor_type>> keepRunning;
	std::optional<asio::thread_pool> workers;
	HttpHandler handler;
	HttpLimits limits;
	HttpAuthority authority;
	std::atomic<bool> bStopAsked{false};
	bool bStopping = false;
	bool bToldOutOfDescriptors = false;
	std::unordered_set<std::shared_ptr<Session>> sessions;

	void accept();
	void onAccept(const error_code& error, tcp::socket socket);
	void sweep();
	void forget(const std::shared_ptr<Session>& session);
	void beginStop();
};

// One connection: reads a request, hands it to a worker, writes the answer, then reads the next.
// Nothing is read while a request is answered, so a client that does not read its answers stops
// being read from, and what it sent stays in the kernel's buffers.
struct HttpFront::State::Session : std::enable_shared_from_this<Session>
{
	enum class EPhase
	{
		Idle,    // between requests
		Headers, // part of a head has arrived
		Body,    // the head is checked, the body is awaited
		Busy,    // a worker has the request
		Writing, // an answer (or a 100 Continue) is going out
		Drain,   // answered and half-closed; reading what the client still sends, then closing
		Closed,
	};

	Session(State& front, tcp::socket socket, std::string remote)
		: front(front), socket(std::move(socket)), remote(std::move(remote)), buffer(ReadCap)
	{
	}

	State& front;
	tcp::socket socket;
	std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
	std::string remote;
	boost::beast::flat_buffer buffer;
	std::optional<http::request_parser<http::string_body>> parser;
	HttpRequest head;
	EPhase phase = EPhase::Idle;
	bool bHeadChecked = false;
	bool bCloseAfter = false;
	bool bReadPending = false;
	bool bInterim = false; // the write under way is a 100 Continue
	bool bOverCapacity = false;
	size_t blankBytes = 0;
	size_t drained = 0;
	std::string out;
	size_t outOffset = 0;

	std::string_view buffered() const
	{
		const auto data = buffer.data();
		return std::string_view(static_cast<const char*>(data.data()), data.size());
	}

	void start(bool bRefuse)
	{
		if (bRefuse)
		{
			bOverCapacity = true;
			HttpRequest request;
			request.method = "-";
			request.target = "-";
			request.refusal = makeRefusal(503, "too_many_connections", "The emulator holds as many connections as it can; this one is refused.",
				"Close idle connections, or retry in a moment.");
			request.refusal->headers.emplace_back("Retry-After", "1");
			dispatch(std::move(request));
			return;
		}
		nextRequest();
	}

	void nextRequest()
	{
		parser.emplace();
		parser->header_limit(static_cast<std::uint32_t>(MaxHeaderBytes + MaxTargetBytes));
		parser->body_limit(MaxBodyBytes);
		head = HttpRequest{};
		bHeadChecked = false;
		blankBytes = 0;
		phase = EPhase::Idle;
		arm(front.limits.idleTimeoutMs);
		parse();
	}

	void arm(int milliseconds)
	{
		deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
	}

	void disarm()
	{
		deadline = std::chrono::steady_clock::time_point::max();
	}

	void read()
	{
		if (bReadPending || phase == EPhase::Closed)
		{
			return;
		}
		bReadPending = true;
		const size_t room = std::min(ReadStep, ReadCap - buffer.size());
		socket.async_read_some(buffer.prepare(room), [self = shared_from_this()](const error_code& error, size_t size) { self->onRead(error, size); });
	}

	void onRead(const error_code& error, size_t size)
	{
		bReadPending = false;
		if (phase == EPhase::Closed)
		{
			return;
		}
		if (error == asio::error::operation_aborted)
		{
			// A deadline took over; only a drain still wants to read.
			if (phase == EPhase::Drain)
			{
				read();
			}
			return;
		}
		if (phase == EPhase::Drain)
		{
			drained += size;
			if (error || drained > MaxDrainBytes)
			{
				close();
				return;
			}
			buffer.commit(size);
			buffer.consume(buffer.size());
			read();
			return;
		}
		if (error)
		{
			if (error == asio::error::eof && (phase == EPhase::Headers || phase == EPhase::Body || buffer.size() > 0))
			{
				refuse(makeRefusal(400, "invalid_request", "The connection ended in the middle of a request."));
				return;
			}
			close();
			return;
		}
		buffer.commit(size);
		parse();
	}

	// Feeds what has arrived to the parser; reads more, or hands a whole request on.
	void parse()
	{
		if (phase == EPhase::Idle)
		{
			const std::string_view bytes = buffered();
			const size_t blank = std::min(bytes.find_first_not_of("\r\n"), bytes.size());
			buffer.consume(blank);
			blankBytes += blank;
			if (blankBytes > MaxBlankBytes)
			{
				refuse(makeRefusal(400, "invalid_request", "The connection sent blank lines instead of a request."));
				return;
			}
			if (buffer.size() == 0)
			{
				read();
				return;
			}
			phase = EPhase::Headers;
			arm(front.limits.requestTimeoutMs);
		}
		while (!parser->is_done() && buffer.size() > 0)
		{
			error_code error;
			const size_t used = parser->put(buffer.data(), error);
			if (error && error != http::error::need_more)
			{
				refuse(refusalFor(error, buffered()));
				return;
			}
			buffer.consume(used);
			if (parser->is_header_done() && !bHeadChecked)
			{
				if (!checkHead())
				{
					return;
				}
				if (bInterim)
				{
					return;
				}
			}
			if (error == http::error::need_more)
			{
				break;
			}
		}
		if (parser->is_done())
		{
			HttpRequest request = std::move(head);
			request.body = std::move(parser->get().body());
			dispatch(std::move(request));
			return;
		}
		if (!parser->is_header_done())
		{
			const std::string_view bytes = buffered();
			if (bytes.find('\n') == std::string_view::npos && bytes.size() > MaxTargetBytes + 64)
			{
				refuse(TargetTooLong);
				return;
			}
			if (bytes.size() > MaxHeaderBytes + MaxTargetBytes)
			{
				refuse(HeadersTooLarge);
				return;
			}
		}
		else if (buffer.size() >= ReadCap)
		{
			refuse(makeRefusal(400, "invalid_request", "A chunk line or the trailers of the body are too long."));
			return;
		}
		read();
	}

	// Our rules for the head the parser took; false when it is refused.
	bool checkHead()
	{
		bHeadChecked = true;
		const auto& message = parser->get();
		head.method = std::string(message.method_string());
		head.target = std::string(message.target());
		head.minorVersion = message.version() == 11 ? 1 : message.version() == 10 ? 0 : -1;
		for (const auto& field : message)
		{
			head.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
		}
		head.bKeepAlive = message.keep_alive();
		bool bContinue = false;
		if (std::optional<HttpRefusal> refusal = checkRequestHead(head, front.authority, bContinue))
		{
			refuse(std::move(*refusal));
			return false;
		}
		// The body has its own deadline.
		phase = EPhase::Body;
		arm(front.limits.requestTimeoutMs);
		if (bContinue && !parser->is_done())
		{
			bInterim = true;
			out = "HTTP/1.1 100 Continue\r\n\r\n";
			outOffset = 0;
			phase = EPhase::Writing;
			write();
		}
		return true;
	}

	void refuse(HttpRefusal refusal)
	{
		HttpRequest request = bHeadChecked ? std::move(head) : rawRequestLine(buffered());
		if (request.method.empty())
		{
			request.method = "-";
			request.target = "-";
		}
		request.refusal = std::move(refusal);
		dispatch(std::move(request));
	}

	void dispatch(HttpRequest request)
	{
		if (request.refusal)
		{
			request.bKeepAlive = false;
		}
		bCloseAfter = bCloseAfter || !request.bKeepAlive;
		phase = EPhase::Busy;
		disarm();
		if (bReadPending)
		{
			// Only a deadline's refusal gets here with a read under way.
			error_code ignored;
			socket.cancel(ignored);
		}
		asio::post(*front.workers, [self = shared_from_this(), request = std::move(request), bClose = bCloseAfter]() mutable { self->work(request, bClose); });
	}

	// On a worker. The loop leaves a busy connection's socket alone, so the answer may be written
	// from here at once; the loop writes what does not fit.
	void work(const HttpRequest& request, bool bCloseAsked)
	{
		HttpReply reply;
		try
		{
			reply = front.handler(request, remote);
		}
		catch (const std::exception& error)
		{
			// The handler answers its own failures; this is the last line, so that a worker never dies.
			std::fprintf(stderr, "velmora-emulator: unexpected error answering a request: %s\n", error.what());
			reply = HttpReply{};
			reply.status = 500;
			reply.body = "{\"error\": {\"code\": \"internal\", \"message\": \"The platform failed; nothing was changed.\", \"hint\": \"\", \"request_id\": \"\"}}";
		}
		const bool bClose = bCloseAsked || front.bStopAsked.load();
		std::string bytes;
		if (!reply.bDrop)
		{
			bytes = frame(request, reply, bClose);
			size_t sent = 0;
			while (sent < bytes.size())
			{
				const ssize_t now = ::send(socket.native_handle(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
				if (now <= 0)
				{
					break;
				}
				sent += static_cast<size_t>(now);
			}
			bytes.erase(0, sent);
		}
		asio::post(front.io, [self = shared_from_this(), bytes = std::move(bytes), bClose, bDrop = reply.bDrop]() mutable {
			self->answered(std::move(bytes), bClose, bDrop);
		});
	}

	void answered(std::string bytes, bool bClose, bool bDrop)
	{
		if (bDrop)
		{
			// The change is committed; the caller never hears of it.
			error_code ignored;
			socket.shutdown(tcp::socket::shutdown_both, ignored);
			close();
			return;
		}
		bCloseAfter = bCloseAfter || bClose || front.bStopping;
		out = std::move(bytes);
		outOffset = 0;
		phase = EPhase::Writing;
		write();
	}

	void write()
	{
		if (outOffset >= out.size())
		{
			out.clear();
			written();
			return;
		}
		// Progress restarts the deadline: a client that reads slowly is still reading.
		arm(front.limits.requestTimeoutMs);
		socket.async_write_some(asio::buffer(out.data() + outOffset, out.size() - outOffset),
			[self = shared_from_this()](const error_code& error, size_t size) {
				if (self->phase == EPhase::Closed)
				{
					return;
				}
				if (error)
				{
					self->close();
					return;
				}
				self->outOffset += size;
				self->write();
			});
	}

	void written()
	{
		if (bInterim)
		{
			bInterim = false;
			phase = EPhase::Body;
			arm(front.limits.requestTimeoutMs);
			parse();
			return;
		}
		if (bCloseAfter || front.bStopping)
		{
			// Half-close and read what the client still sends for a moment: closing with unread
			// bytes would reset the connection and could destroy the answer before it is read.
			error_code ignored;
			socket.shutdown(tcp::socket::shutdown_send, ignored);
			phase = EPhase::Drain;
			buffer.consume(buffer.size());
			drained = 0;
			arm(bOverCapacity ? RefusedDrainMs : DrainMs);
			read();
			return;
		}
		nextRequest();
	}

	void onDeadline()
	{
		switch (phase)
		{
		case EPhase::Headers:
		case EPhase::Body:
			refuse(makeRefusal(408, "request_timeout",
				phase == EPhase::Headers ? "The request's headers did not arrive in time." : "The request's body did not arrive in time.", ""));
			return;
		case EPhase::Busy:
		case EPhase::Closed:
			return;
		default:
			close();
		}
	}

	// At a stop: a connection with no request in flight goes at once.
	void stop()
	{
		bCloseAfter = true;
		if (phase == EPhase::Idle || phase == EPhase::Headers || phase == EPhase::Body)
		{
			close();
		}
	}

	void close()
	{
		if (phase == EPhase::Closed)
		{
			return;
		}
		phase = EPhase::Closed;
		error_code ignored;
		socket.close(ignored);
		disarm();
		front.forget(shared_from_this());
	}
};

void HttpFront::State::accept()
{
	acceptor.async_accept([this](const error_code& error, tcp::socket socket) { onAccept(error, std::move(socket)); });
}

void HttpFront::State::onAccept(const error_code& error, tcp::socket socket)
{
	if (bStopping || !acceptor.is_open())
	{
		return;
	}
	if (error)
	{
		if (error == asio::error::no_descriptors || error == asio::error::no_buffer_space || error == asio::error::no_memory ||
			error.value() == ENFILE)
		{
			// Out of descriptors despite the reserve: try again shortly rather than spin.
			if (!bToldOutOfDescriptors)
			{
				std::fprintf(stderr, "velmora-emulator: cannot accept a connection: %s; retrying\n", error.message().c_str());
				bToldOutOfDescriptors = true;
			}
			acceptRetry.expires_after(std::chrono::milliseconds(50));
			acceptRetry.async_wait([this](const error_code& waitError) {
				if (!waitError)
				{
					accept();
				}
			});
			return;
		}
		accept();
		return;
	}
	error_code ignored;
	socket.set_option(tcp::no_delay(true), ignored);
	const tcp::endpoint peer = socket.remote_endpoint(ignored);
	const size_t limit = connectionLimit();
	if (sessions.size() >= limit)
	{
		// Make room by closing the connection idle the longest (no request of its own is lost: a
		// client may always find an idle connection closed); failing that, refuse.
		std::shared_ptr<Session> oldest;
		for (const std::shared_ptr<Session>& session : sessions)
		{
			if (session->phase == Session::EPhase::Idle && (!oldest || session->deadline < oldest->deadline))
			{
				oldest = session;
			}
		}
		if (oldest)
		{
			oldest->close();
		}
	}
	if (sessions.size() >= limit + DescriptorReserve / 2)
	{
		// Even the refusals are over their share: close without a word rather than run out.
		socket.close(ignored);
		accept();
		return;
	}
	auto session = std::make_shared<Session>(*this, std::move(socket), peer.address().to_string());
	sessions.insert(session);
	session->start(sessions.size() > limit);
	accept();
}

void HttpFront::State::sweep()
{
	sweepTimer.expires_after(std::chrono::milliseconds(SweepMs));
	sweepTimer.async_wait([this](const error_code& error) {
		if (error)
		{
			return;
		}
		const auto now = std::chrono::steady_clock::now();
		std::vector<std::shared_ptr<Session>> expired;
		for (const std::shared_ptr<Session>& session : sessions)
		{
			if (session->deadline <= now)
			{
				expired.push_back(session);
			}
		}
		for (const std::shared_ptr<Session>& session : expired)
		{
			session->disarm();
			session->onDeadline();
		}
		if (!(bStopping && sessions.empty()))
		{
			sweep();
		}
	});
}

void HttpFront::State::forget(const std::shared_ptr<Session>& session)
{
	sessions.erase(session);
	if (bStopping && sessions.empty())
	{
		stopTimer.cancel();
		sweepTimer.cancel();
		keepRunning.reset();
	}
}

void HttpFront::State::beginStop()
{
	if (bStopping)
	{
		return;
	}
	bStopping = true;
	error_code ignored;
	acceptor.close(ignored);
	acceptRetry.cancel();
	const std::vector<std::shared_ptr<Session>> open(sessions.begin(), sessions.end());
	for (const std::shared_ptr<Session>& session : open)
	{
		session->stop();
	}
	if (sessions.empty())
	{
		sweepTimer.cancel();
		keepRunning.reset();
		return;
	}
	// Clients that keep an answer unread, or drain slowly, do not hold the stop up for long.
	stopTimer.expires_after(std::chrono::milliseconds(StopGraceMs));
	stopTimer.async_wait([this](const error_code& error) {
		if (error)
		{
			return;
		}
		const std::vector<std::shared_ptr<Session>> left(sessions.begin(), sessions.end());
		for (const std::shared_ptr<Session>& session : left)
		{
			if (session->phase != Session::EPhase::Busy)
			{
				session->close();
			}
		}
	});
}

HttpFront::HttpFront(HttpHandler handler, const HttpLimits& limits)
	: m_state(std::make_unique<State>())
{
	m_state->handler = std::move(handler);
	m_state->limits = limits;
	m_state->authority.allowed = limits.allowedHosts;
}

HttpFront::~HttpFront() = default;

int HttpFront::bind(const std::string& host, int port)
{
	State& state = *m_state;
	const std::string service = std::to_string(port);
	error_code error;
	tcp::resolver resolver(state.io);
	const tcp::resolver::results_type found =
		resolver.resolve(host, service, tcp::resolver::passive | tcp::resolver::numeric_service, error);
	if (error || found.empty())
	{
		throw std::runtime_error("cannot listen on " + host + ": the address does not resolve");
	}
	for (const auto& candidate : found)
	{
		tcp::acceptor acceptor(state.io);
		// SO_REUSEADDR only: a restart may bind over connections still in TIME_WAIT, but a second
		// emulator on the same port must fail rather than share it (as SO_REUSEPORT would let it).
		if (acceptor.open(candidate.endpoint().protocol(), error) || acceptor.set_option(tcp::acceptor::reuse_address(true), error) ||
			acceptor.bind(candidate.endpoint(), error) || acceptor.listen(systemBacklog(), error))
		{
			continue;
		}
		state.acceptor = std::move(acceptor);
		state.authority.port = state.acceptor.local_endpoint().port();
		return state.authority.port;
	}
	throw std::runtime_error("cannot listen on " + host + ":" + service + ": " + std::strerror(error.value()) +
		(error == asio::error::address_in_use ? " (is another program using the port?)" : ""));
}

void HttpFront::run()
{
	State& state = *m_state;
	if (!state.acceptor.is_open())
	{
		throw std::runtime_error("run() before bind()");
	}
	state.workers.emplace(static_cast<size_t>(std::max(1, state.limits.threads)));
	state.keepRunning.emplace(state.io.get_executor());
	asio::post(state.io, [&state] {
		if (state.bStopAsked.load())
		{
			state.beginStop();
			return;
		}
		state.accept();
		state.sweep();
	});
	state.io.run();
	state.workers->join();
	state.workers.reset();
	state.sessions.clear();
}

void HttpFront::stop()
{
	State& state = *m_state;
	state.bStopAsked.store(true);
	asio::post(state.io, [&state] { state.beginStop(); });
}
}
