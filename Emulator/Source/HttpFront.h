#pragma once

#include "HttpRequest.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Velmora
{
// What the routes answer; the front frames it (status line, Content-Length, Connection).
struct HttpReply
{
	int status = 200;
	std::vector<std::pair<std::string, std::string>> headers;
	std::string body;
	std::string contentType = "application/json";
	bool bDrop = false; // close the connection without answering (the drop fault)
};

// Called on a worker thread for every request, refused ones included (request.refusal set), so
// that every answer is built and logged in one place.
using HttpHandler = std::function<HttpReply(const HttpRequest& request, const std::string& remoteAddress)>;

struct HttpLimits
{
	int requestTimeoutMs = 10000; // for a request's headers, then again for its body
	int idleTimeoutMs = 10000;    // an open connection between requests
	int threads = 32;             // request workers
	std::vector<std::string> allowedHosts; // names besides loopback that Host and Origin may give (lower case)
};

// The HTTP/1.1 front on Boost.Asio and Boost.Beast: one thread reads and writes every connection,
// Beast's parser takes requests from their bytes under our limits, whole requests go to a pool of
// workers, answers go back in order. A connection costs no worker while it sends slowly or sits
// idle, and each has its own deadlines, so slow clients never hold up others.
class HttpFront
{
public:
	HttpFront(HttpHandler handler, const HttpLimits& limits);
	~HttpFront();
	HttpFront(const HttpFront&) = delete;
	HttpFront& operator=(const HttpFront&) = delete;

	// Binds and listens with the system's largest backlog; returns the port (the one picked
	// when `port` is 0). Throws std::runtime_error.
	int bind(const std::string& host, int port);
	// Serves until stop(); returns once every request in flight has been answered.
	void run();
	// Safe from any thread, before or during run(): a stop asked for before run() makes run()
	// return at once. New connections are refused, requests in flight are answered, then closed.
	void stop();

private:
	struct State;
	std::unique_ptr<State> m_state;
};
}
