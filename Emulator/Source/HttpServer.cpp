#include "HttpServer.h"

#include "AdminApi.h"
#include "ApiError.h"
#include "Crypto.h"
#include "Dashboard.h"
#include "Database.h"
#include "GameApi.h"

#include <httplib.h>

#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace Velmora
{
namespace
{
constexpr size_t MaxBodyBytes = 1024 * 1024;

// State of the request this thread is serving: httplib runs each request start to finish on one
// worker thread, from the pre-routing hook through the logger.
struct RequestScope
{
	bool bActive = false;
	bool bLogged = false;
	std::string requestId;
	std::chrono::steady_clock::time_point started;
	std::string playerId;
	std::string note;
};
thread_local RequestScope t_scope;

RequestScope& beginScope(const Emulator& emulator)
{
	t_scope = RequestScope{};
	t_scope.bActive = true;
	t_scope.requestId = emulator.newId("req_");
	t_scope.started = std::chrono::steady_clock::now();
	return t_scope;
}

RequestScope& currentScope(const Emulator& emulator)
{
	// A scope already logged belongs to the previous request on this thread.
	return t_scope.bActive && !t_scope.bLogged ? t_scope : beginScope(emulator);
}

std::string pathOf(const std::string& target)
{
	const size_t query = target.find('?');
	return query == std::string::npos ? target : target.substr(0, query);
}

std::vector<std::string> splitPath(const std::string& path)
{
	std::vector<std::string> segments;
	size_t start = path.empty() || path[0] != '/' ? 0 : 1;
	while (start <= path.size())
	{
		const size_t slash = path.find('/', start);
		const size_t end = slash == std::string::npos ? path.size() : slash;
		segments.push_back(decodeSegment(path.substr(start, end - start)));
		if (slash == std::string::npos)
		{
			break;
		}
		start = slash + 1;
	}
	return segments;
}

int hexValue(char c)
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

void writeBody(httplib::Response& response, const Answer& answer, const std::string& requestId)
{
	response.status = answer.status;
	for (const auto& [name, value] : answer.headers)
	{
		response.set_header(name, value);
	}
	response.set_header("X-Request-Id", requestId);
	response.set_content(answer.text(), "application/json");
}

void writePage(httplib::Response& response, const DashboardPage& page, const std::string& requestId)
{
	response.status = page.status;
	for (const auto& [name, value] : page.headers)
	{
		response.set_header(name, value);
	}
	response.set_header("X-Request-Id", requestId);
	response.set_content(page.body.data(), page.body.size(), page.contentType);
}

void writeError(httplib::Response& response, const ApiError& error, const std::string& requestId)
{
	Answer answer;
	answer.status = error.status;
	answer.body = errorBody(error, requestId);
	answer.headers = error.headers;
	writeBody(response, answer, requestId);
}

// The connection a request arrived on, found by its two ports. httplib does not hand its socket
// to handlers, and only the drop fault needs it.
int findConnection(const httplib::Request& request)
{
	DIR* fds = opendir("/proc/self/fd");
	if (fds == nullptr)
	{
		return -1;
	}
	int found = -1;
	while (const dirent* entry = readdir(fds))
	{
		const int fd = std::atoi(entry->d_name);
		struct stat info{};
		if (fd <= 2 || fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode))
		{
			continue;
		}
		sockaddr_storage local{};
		sockaddr_storage peer{};
		socklen_t localSize = sizeof(local);
		socklen_t peerSize = sizeof(peer);
		if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
			getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0)
		{
			continue;
		}
		auto portOf = [](const sockaddr_storage& address) -> int {
			if (address.ss_family == AF_INET)
			{
				return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
			}
			if (address.ss_family == AF_INET6)
			{
				return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
			}
			return -1;
		};
		if (portOf(local) == request.local_port && portOf(peer) == request.remote_port)
		{
			found = fd;
			break;
		}
	}
	closedir(fds);
	return found;
}

std::optional<GameRoute> gameRoute(const std::vector<std::string>& s, const std::string& method, std::string& allowed)
{
	const size_t n = s.size();
	if (n < 3 || s[0] != "v1" || s[1] != "game")
	{
		return std::nullopt;
	}
	struct Candidate
	{
		const char* method;
		GameRoute route;
	};
	std::vector<Candidate> candidates;
	if (n == 3 && s[2] == "sessions")
	{
		candidates.push_back({"POST", GameRoute::Sessions});
	}
	else if (n == 4 && s[2] == "containers")
	{
		if (s[3] == "ensure")
		{
			candidates.push_back({"POST", GameRoute::Ensure});
		}
		if (!s[3].empty())
		{
			candidates.push_back({"GET", GameRoute::ReadContainer});
		}
	}
	else if (n == 4 && s[2] == "inventory")
	{
		if (s[3] == "grant")
		{
			candidates.push_back({"POST", GameRoute::Grant});
		}
		else if (s[3] == "consume")
		{
			candidates.push_back({"POST", GameRoute::Consume});
		}
		else if (s[3] == "move")
		{
			candidates.push_back({"POST", GameRoute::Move});
		}
		else if (s[3] == "transaction")
		{
			candidates.push_back({"POST", GameRoute::Transaction});
		}
	}
	for (const Candidate& candidate : candidates)
	{
		if (method == candidate.method || (method == "HEAD" && std::string(candidate.method) == "GET"))
		{
			return candidate.route;
		}
		allowed += allowed.empty() ? candidate.method : std::string(", ") + candidate.method;
	}
	return std::nullopt;
}
}

std::string decodeSegment(const std::string& text)
{
	std::string decoded;
	decoded.reserve(text.size());
	for (size_t i = 0; i < text.size(); ++i)
	{
		if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0)
		{
			decoded.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
			i += 2;
		}
		else
		{
			decoded.push_back(text[i]);
		}
	}
	return decoded;
}

HttpServer::HttpServer(Emulator& emulator)
	: m_emulator(emulator), m_server(std::make_unique<httplib::Server>())
{
	httplib::Server& server = *m_server;
	const int threads = emulator.options().threads;
	server.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
	server.set_payload_max_length(MaxBodyBytes);
	server.set_keep_alive_max_count(100000);
	server.set_keep_alive_timeout(2);
	server.set_tcp_nodelay(true);
	// SO_REUSEADDR only: a restart may bind over connections still in TIME_WAIT, but a second
	// emulator on the same port must fail rather than share it (httplib's default, SO_REUSEPORT,
	// would let both listen and split the connections between them).
	server.set_socket_options([](socket_t socket) {
		const int on = 1;
		setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
	});
	server.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
		beginScope(m_emulator);
		return httplib::Server::HandlerResponse::Unhandled;
	});
	auto handler = [this](const httplib::Request& request, httplib::Response& response) { handle(request, response); };
	server.Get(".*", handler);
	server.Post(".*", handler);
	server.Put(".*", handler);
	server.Patch(".*", handler);
	server.Delete(".*", handler);
	server.Options(".*", handler);
	server.set_error_handler([this](const httplib::Request& request, httplib::Response& response) { handleLibraryError(request, response); });
	server.set_exception_handler([this](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
		writeError(response, internalError("unexpected exception"), currentScope(m_emulator).requestId);
	});
	server.set_logger([this](const httplib::Request& request, const httplib::Response& response) { log(request, response.status, nullptr); });
}

HttpServer::~HttpServer() = default;

int HttpServer::bind(const std::string& host, int port)
{
	if (port == 0)
	{
		const int picked = m_server->bind_to_any_port(host);
		if (picked <= 0)
		{
			throw std::runtime_error("cannot listen on " + host + ": no free port");
		}
		return picked;
	}
	if (!m_server->bind_to_port(host, port))
	{
		throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) + " (is another program using the port?)");
	}
	return port;
}

void HttpServer::run()
{
	m_server->listen_after_bind();
}

void HttpServer::stop()
{
	m_server->stop();
}

void HttpServer::log(const httplib::Request& request, int status, const char* note)
{
	if (t_scope.bActive && t_scope.bLogged)
	{
		return;
	}
	RequestScope& scope = currentScope(m_emulator);
	scope.bLogged = true;
	const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - scope.started).count();
	// The path only: a query string could carry secrets, so it is never written.
	std::string path = pathOf(request.target);
	if (path.size() != request.target.size())
	{
		path += "?...";
	}
	std::string line = request.method + " " + path + " " + std::to_string(status) + " ";
	char milliseconds[32];
	std::snprintf(milliseconds, sizeof(milliseconds), "%.1fms", ms);
	line += milliseconds;
	line += " " + scope.requestId;
	if (!scope.playerId.empty())
	{
		line += " " + scope.playerId;
	}
	if (!scope.note.empty())
	{
		line += " " + scope.note;
	}
	if (note != nullptr)
	{
		line += std::string(" ") + note;
	}
	line += "\n";
	std::fwrite(line.data(), 1, line.size(), stderr);
}

void HttpServer::handleLibraryError(const httplib::Request&, httplib::Response& response)
{
	RequestScope& scope = currentScope(m_emulator);
	if (!response.body.empty())
	{
		return;
	}
	const int status = response.status;
	if (status == 413)
	{
		writeError(response,
			ApiError(413, "payload_too_large", "The request body is larger than 1 MiB (1048576 bytes).",
				"Send less per request; split a large transaction into several."),
			scope.requestId);
	}
	else if (status == 404)
	{
		writeError(response, ApiError(404, "not_found", "There is nothing at this path.", "The game API lives under /v1/game/."), scope.requestId);
	}
	else if (status < 500)
	{
		writeError(response, ApiError(status, "invalid_request", "The request could not be read as HTTP/1.1.", "Check the client's HTTP library."),
			scope.requestId);
	}
	else
	{
		writeError(response, internalError("HTTP layer"), scope.requestId);
	}
	response.status = status;
}

void HttpServer::handle(const httplib::Request& request, httplib::Response& response)
{
	RequestScope& scope = currentScope(m_emulator);
	Call call;
	call.method = request.method;
	call.path = pathOf(request.target);
	call.segments = splitPath(call.path);
	call.body = request.body;
	call.requestId = scope.requestId;
	call.remoteAddress = request.remote_addr;
	call.header = [&request](const std::string& name) { return request.get_header_value(name); };
	call.hasHeader = [&request](const std::string& name) { return request.has_header(name); };
	call.queryValue = [&request](const std::string& name) { return request.get_param_value(name); };

	if (const std::optional<DashboardPage> page = dashboardPage(call.method, call.path))
	{
		writePage(response, *page, scope.requestId);
		return;
	}
	bool bDrop = false;
	try
	{
		Answer answer;
		if (!call.segments.empty() && call.segments[0] == "admin")
		{
			answer = handleAdmin(m_emulator, call);
		}
		else
		{
			std::string allowed;
			const std::optional<GameRoute> route = gameRoute(call.segments, call.method, allowed);
			if (!route)
			{
				if (!allowed.empty())
				{
					ApiError error(405, "method_not_allowed", call.path + " does not take " + call.method + "; it takes " + allowed + ".",
						"Check the method of the request against the API.");
					error.headers.push_back({"Allow", allowed});
					throw error;
				}
				throw ApiError(404, "not_found", "There is no game API at " + call.method + " " + call.path + ".",
					"Check the path; the game API lives under /v1/game/.");
			}
			call.fault = m_emulator.faults().decide(isMutating(*route), call.method == "GET" || call.hasHeader("Idempotency-Key"));
			if (call.fault.unavailable)
			{
				scope.note = "fault=unavailable";
				throw ApiError(503, "unavailable", "The platform is unavailable (an injected fault); nothing was changed.",
					"Retry with back-off; a request with an Idempotency-Key is safe to resend.");
			}
			if (call.fault.delayMs > 0)
			{
				scope.note = "fault=delay:" + std::to_string(call.fault.delayMs);
			}
			answer = handleGame(m_emulator, *route, call);
			bDrop = call.fault.drop;
		}
		scope.playerId = call.playerId;
		if (call.bReplayed)
		{
			recordReplay(m_emulator, call, answer.status);
			scope.note += scope.note.empty() ? "replayed" : " replayed";
		}
		writeBody(response, answer, scope.requestId);
	}
	catch (const ApiError& error)
	{
		scope.playerId = call.playerId;
		writeError(response, error, scope.requestId);
		bDrop = bDrop || (call.fault.drop && error.status < 500);
	}
	catch (const DatabaseError& error)
	{
		std::fprintf(stderr, "database error: %s\n", error.what());
		writeError(response, internalError("database error"), scope.requestId);
	}
	catch (const std::exception& error)
	{
		std::fprintf(stderr, "unexpected error: %s\n", error.what());
		writeError(response, internalError("unexpected error"), scope.requestId);
	}
	if (bDrop)
	{
		// The change is committed; the caller never hears of it.
		const int fd = findConnection(request);
		if (fd >= 0)
		{
			log(request, response.status, "fault=drop (connection closed, no answer)");
			::shutdown(fd, SHUT_RDWR);
		}
	}
}
}
