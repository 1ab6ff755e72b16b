#pragma once

#include "Emulator.h"

#include <memory>
#include <string>

namespace httplib
{
class Server;
struct Request;
struct Response;
}

namespace Velmora
{
// The HTTP side: routing on the raw request target (so that "%2F" in a container id stays part of
// it), error bodies, X-Request-Id, the request log on stderr, and the injected faults.
class HttpServer
{
public:
	explicit HttpServer(Emulator& emulator);
	~HttpServer();

	// Binds; returns the port (the one picked when `port` is 0). Throws std::runtime_error.
	int bind(const std::string& host, int port);
	// Serves until stop(); returns once every request in flight has been answered.
	void run();
	void stop();

private:
	void handle(const httplib::Request& request, httplib::Response& response);
	void handleLibraryError(const httplib::Request& request, httplib::Response& response);
	void log(const httplib::Request& request, int status, const char* note);

	Emulator& m_emulator;
	std::unique_ptr<httplib::Server> m_server;
};

// Percent-decodes one path segment; a "%" not followed by two hex digits stays as it is.
std::string decodeSegment(const std::string& text);
}
