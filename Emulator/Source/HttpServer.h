#pragma once

#include "Emulator.h"
#include "HttpFront.h"

#include <memory>
#include <string>

namespace Velmora
{
// The emulator's HTTP side: routing on the raw request target (so that "%2F" in a container id
// stays part of it), error bodies, X-Request-Id, the request log on stderr, and the injected
// faults. The wire (connections, framing, deadlines) is HttpFront's.
class HttpServer
{
public:
	explicit HttpServer(Emulator& emulator);
	~HttpServer();

	// Binds; returns the port (the one picked when `port` is 0). Throws std::runtime_error.
	int bind(const std::string& host, int port);
	// Serves until stop(); returns once every request in flight has been answered.
	void run();
	// Safe from any thread and before run() (run() then returns at once).
	void stop();

private:
	struct Scope;
	HttpReply serve(const HttpRequest& request, const std::string& remoteAddress);
	Answer route(Call& call, Scope& scope);
	void log(const HttpRequest& request, int status, const Scope& scope, const char* note) const;

	Emulator& m_emulator;
	std::unique_ptr<HttpFront> m_front;
};

// Percent-decodes one path segment; a "%" not followed by two hex digits stays as it is.
std::string decodeSegment(const std::string& text);
}
