#pragma once

#include <string>
#include <utility>
#include <vector>

namespace QuarnTest
{
using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpResponse
{
	// 0 when there is no complete answer: the connection failed, timed out, or closed before the
	// whole answer arrived.
	int Status = 0;
	std::string Body;
	HttpHeaders Headers;
	// Why there is no answer (empty when there is one).
	std::string Error;

	bool Answered() const { return Status != 0; }
	bool Ok() const { return Status >= 200 && Status < 300; }
	// The first header of that name, compared without regard to case; empty when absent.
	std::string Header(const std::string& Name) const;
	bool HasHeader(const std::string& Name) const;
};

// A blocking HTTP/1.1 client for loopback, one connection per request ("Connection: close"),
// never retrying by itself, so that a test sees every dropped connection.
class HttpClient
{
public:
	// BaseUrl: "http://127.0.0.1:8471" or "http://[::1]:8471".
	explicit HttpClient(std::string BaseUrl, int TimeoutMs = 15000);

	// Path is sent exactly as given (percent-encode segments with PercentEncode). A body is sent
	// with Content-Type: application/json unless Headers name another.
	HttpResponse Send(const std::string& Method, const std::string& Path, const std::string& Body = std::string(),
		const HttpHeaders& Headers = HttpHeaders()) const;
	HttpResponse Get(const std::string& Path, const HttpHeaders& Headers = HttpHeaders()) const { return Send("GET", Path, std::string(), Headers); }
	HttpResponse Post(const std::string& Path, const std::string& Body, const HttpHeaders& Headers = HttpHeaders()) const
	{
		return Send("POST", Path, Body, Headers);
	}

	const std::string& BaseUrl() const { return Base; }

private:
	std::string Base;
	std::string Host;
	int Port = 0;
	int TimeoutMs;
};

// Percent-encodes one path segment (everything but unreserved characters).
std::string PercentEncode(const std::string& Segment);
}
