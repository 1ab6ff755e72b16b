#include "HttpServer.h"
#include "HttpRequest.h"

#include "AdminApi.h"
#include "ApiError.h"
#include "Dashboard.h"
#include "Database.h"
#include "GameApi.h"

#include <cctype>
#include <chrono>
#include <cstdio>

namespace Velmora
{
namespace
{
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

ApiError databaseGone(Emulator& emulator)
{
	return ApiError(503, "database_gone", "The database file " + emulator.options().dbPath +
		" was deleted or replaced while the emulator ran; nothing was changed, and no write is accepted until it restarts.",
		"Restart the emulator on the file it should use.");
}

Answer errorAnswer(const ApiError& error, const std::string& requestId)
{
	Answer answer;
	answer.status = error.status;
	answer.body = errorBody(error, requestId);
	answer.headers = error.headers;
	return answer;
}

HttpReply toReply(const Answer& answer, const std::string& requestId)
{
	HttpReply reply;
	reply.status = answer.status;
	for (const auto& [name, value] : answer.headers)
	{
		if (name == "Content-Type")
		{
			reply.contentType = value;
		}
		else
		{
			reply.headers.emplace_back(name, value);
		}
	}
	reply.headers.emplace_back("X-Request-Id", requestId);
	reply.body = answer.text();
	return reply;
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
		if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 && hexDigitValue(text[i + 2]) >= 0)
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

// What one request has gathered for its log line.
struct HttpServer::Scope
{
	std::string requestId;
	std::chrono::steady_clock::time_point started;
	std::string playerId;
	std::string note;
};

HttpServer::HttpServer(Emulator& emulator)
	: m_emulator(emulator)
{
	HttpLimits limits;
	limits.threads = emulator.options().threads;
	limits.requestTimeoutMs = emulator.options().requestTimeoutMs;
	limits.idleTimeoutMs = emulator.options().requestTimeoutMs;
	limits.allowedHosts = emulator.options().allowedHosts;
	const std::string& listenHost = emulator.options().host;
	if (listenHost != "0.0.0.0" && listenHost != "::")
	{
		// The address it listens on names it too.
		std::string name = listenHost;
		for (char& c : name)
		{
			c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
		}
		limits.allowedHosts.push_back(name);
	}
	m_front = std::make_unique<HttpFront>([this](const HttpRequest& request, const std::string& remote) { return serve(request, remote); }, limits);
}

HttpServer::~HttpServer() = default;

int HttpServer::bind(const std::string& host, int port)
{
	return m_front->bind(host, port);
}

void HttpServer::run()
{
	m_front->run();
}

void HttpServer::stop()
{
	m_front->stop();
}

HttpReply HttpServer::serve(const HttpRequest& request, const std::string& remoteAddress)
{
	Scope scope;
	scope.requestId = m_emulator.newId("req_");
	scope.started = std::chrono::steady_clock::now();
	if (request.refusal)
	{
		// Refused below the API (framing, limits, deadlines): the same error shape as any refusal.
		const HttpRefusal& refusal = *request.refusal;
		ApiError error(refusal.status, refusal.code, refusal.message, refusal.hint);
		error.headers = refusal.headers;
		const HttpReply reply = toReply(errorAnswer(error, scope.requestId), scope.requestId);
		log(request, reply.status, scope, nullptr);
		return reply;
	}

	Call call;
	call.method = request.method;
	call.path = pathOf(request.target);
	call.segments = splitPath(call.path);
	call.body = request.body;
	call.requestId = scope.requestId;
	call.remoteAddress = remoteAddress;
	call.header = [&request](const std::string& name) { return request.header(name); };
	call.hasHeader = [&request](const std::string& name) { return request.hasHeader(name); };
	call.queryValue = [&request](const std::string& name) { return request.queryValue(name); };

	if (const std::optional<DashboardPage> page = dashboardPage(call.method, call.path))
	{
		HttpReply reply;
		reply.status = page->status;
		reply.headers = page->headers;
		reply.headers.emplace_back("X-Request-Id", scope.requestId);
		reply.contentType = page->contentType;
		reply.body.assign(page->body.data(), page->body.size());
		log(request, reply.status, scope, nullptr);
		return reply;
	}

	Answer answer;
	bool bDrop = false;
	try
	{
		answer = route(call, scope);
		bDrop = call.fault.drop;
	}
	catch (const ApiError& error)
	{
		answer = errorAnswer(error, scope.requestId);
		bDrop = call.fault.drop && error.status < 500;
	}
	catch (const DatabaseGone&)
	{
		answer = errorAnswer(databaseGone(m_emulator), scope.requestId);
	}
	catch (const DatabaseError& error)
	{
		std::fprintf(stderr, "database error: %s\n", error.what());
		answer = errorAnswer(internalError("database error"), scope.requestId);
	}
	catch (const std::exception& error)
	{
		std::fprintf(stderr, "unexpected error: %s\n", error.what());
		answer = errorAnswer(internalError("unexpected error"), scope.requestId);
	}
	// Nothing is answered before the commit that holds it is on disk.
	m_emulator.db().unexpectWrite();
	const ECommitOutcome outcome = m_emulator.awaitCommit();
	if (outcome != ECommitOutcome::Durable)
	{
		answer = errorAnswer(outcome == ECommitOutcome::DatabaseGone ? databaseGone(m_emulator)
			: ApiError(503, "commit_failed", "The database could not commit this request; nothing was changed.",
				"Retry; a request with an Idempotency-Key is safe to resend."), scope.requestId);
		bDrop = false;
	}
	scope.playerId = call.playerId;
	if (call.bReplayed)
	{
		recordReplay(m_emulator, call, answer.status);
		scope.note += scope.note.empty() ? "replayed" : " replayed";
	}
	HttpReply reply = toReply(answer, scope.requestId);
	if (bDrop)
	{
		// The change is committed; the caller never hears of it.
		reply.bDrop = true;
		log(request, reply.status, scope, "fault=drop (connection closed, no answer)");
		return reply;
	}
	log(request, reply.status, scope, nullptr);
	return reply;
}

Answer HttpServer::route(Call& call, Scope& scope)
{
	if (call.path.empty() || call.path.front() != '/')
	{
		throw invalidRequest("The request target must be a path beginning with \"/\".", "Check how the client builds the address.");
	}
	if (!call.segments.empty() && call.segments[0] == "admin")
	{
		return handleAdmin(m_emulator, call);
	}
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
	if (*route != GameRoute::ReadContainer)
	{
		// A commit group that is open waits a moment for this request's write.
		m_emulator.db().expectWrite();
	}
	return handleGame(m_emulator, *route, call);
}

void HttpServer::log(const HttpRequest& request, int status, const Scope& scope, const char* note) const
{
	const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - scope.started).count();
	// The path only: a query string could carry secrets, so it is never written. Escaped, so that
	// a request cannot put control sequences on the terminal of whoever reads the log.
	std::string path = pathOf(request.target);
	const bool bHasQuery = path.size() != request.target.size();
	path = escapeForLog(path);
	if (bHasQuery)
	{
		path += "?...";
	}
	std::string line = escapeForLog(request.method) + " " + path + " " + std::to_string(status) + " ";
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
	if (request.refusal)
	{
		line += " refused=" + request.refusal->code;
	}
	if (note != nullptr)
	{
		line += std::string(" ") + note;
	}
	line += "\n";
	std::fwrite(line.data(), 1, line.size(), stderr);
}
}
