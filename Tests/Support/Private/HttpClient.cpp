#include "QuarnTest/HttpClient.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <strings.h>

namespace QuarnTest
{
namespace
{
bool EqualsIgnoringCase(const std::string& A, const std::string& B)
{
	return A.size() == B.size() && strncasecmp(A.data(), B.data(), A.size()) == 0;
}

std::string Trim(const std::string& Text)
{
	size_t Start = 0;
	size_t End = Text.size();
	while (Start < End && (Text[Start] == ' ' || Text[Start] == '\t'))
	{
		++Start;
	}
	while (End > Start && (Text[End - 1] == ' ' || Text[End - 1] == '\t' || Text[End - 1] == '\r'))
	{
		--End;
	}
	return Text.substr(Start, End - Start);
}

int ConnectTo(const std::string& Host, int Port, std::string& Error)
{
	addrinfo Hints{};
	Hints.ai_socktype = SOCK_STREAM;
	Hints.ai_flags = AI_NUMERICSERV;
	addrinfo* Found = nullptr;
	const std::string Service = std::to_string(Port);
	if (getaddrinfo(Host.c_str(), Service.c_str(), &Hints, &Found) != 0 || Found == nullptr)
	{
		Error = "cannot resolve " + Host;
		return -1;
	}
	int Socket = -1;
	for (addrinfo* Address = Found; Address != nullptr; Address = Address->ai_next)
	{
		Socket = socket(Address->ai_family, Address->ai_socktype | SOCK_CLOEXEC, Address->ai_protocol);
		if (Socket < 0)
		{
			continue;
		}
		if (connect(Socket, Address->ai_addr, Address->ai_addrlen) == 0)
		{
			break;
		}
		Error = std::string("cannot connect: ") + std::strerror(errno);
		close(Socket);
		Socket = -1;
	}
	freeaddrinfo(Found);
	if (Socket >= 0)
	{
		const int On = 1;
		setsockopt(Socket, IPPROTO_TCP, TCP_NODELAY, &On, sizeof(On));
	}
	return Socket;
}

// Reads until the peer closes, or the deadline passes. False on time-out or error.
bool ReadAll(int Socket, std::string& Out, std::chrono::steady_clock::time_point Deadline, std::string& Error)
{
	char Buffer[16384];
	while (true)
	{
		const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now()).count();
		if (Left <= 0)
		{
			Error = "timed out waiting for the answer";
			return false;
		}
		pollfd Wait{Socket, POLLIN, 0};
		const int Ready = poll(&Wait, 1, static_cast<int>(Left));
		if (Ready < 0 && errno == EINTR)
		{
			continue;
		}
		if (Ready <= 0)
		{
			Error = "timed out waiting for the answer";
			return false;
		}
		const ssize_t Got = recv(Socket, Buffer, sizeof(Buffer), 0);
		if (Got == 0)
		{
			return true;
		}
		if (Got < 0)
		{
			if (errno == EINTR)
			{
				continue;
			}
			if (errno == ECONNRESET)
			{
				return true;
			}
			Error = std::string("receive failed: ") + std::strerror(errno);
			return false;
		}
		Out.append(Buffer, static_cast<size_t>(Got));
	}
}

bool DecodeChunked(const std::string& Raw, std::string& Out)
{
	size_t At = 0;
	while (true)
	{
		const size_t LineEnd = Raw.find("\r\n", At);
		if (LineEnd == std::string::npos)
		{
			return false;
		}
		const size_t Size = std::strtoul(Raw.substr(At, LineEnd - At).c_str(), nullptr, 16);
		At = LineEnd + 2;
		if (Size == 0)
		{
			return true;
		}
		if (At + Size > Raw.size())
		{
			return false;
		}
		Out.append(Raw, At, Size);
		At += Size + 2;
	}
}
}

std::string HttpResponse::Header(const std::string& Name) const
{
	for (const auto& [Key, Value] : Headers)
	{
		if (EqualsIgnoringCase(Key, Name))
		{
			return Value;
		}
	}
	return std::string();
}

bool HttpResponse::HasHeader(const std::string& Name) const
{
	for (const auto& Entry : Headers)
	{
		if (EqualsIgnoringCase(Entry.first, Name))
		{
			return true;
		}
	}
	return false;
}

HttpClient::HttpClient(std::string BaseUrl, int InTimeoutMs)
	: Base(std::move(BaseUrl)), TimeoutMs(InTimeoutMs)
{
	std::string Rest = Base;
	if (Rest.rfind("http://", 0) == 0)
	{
		Rest = Rest.substr(7);
	}
	while (!Rest.empty() && Rest.back() == '/')
	{
		Rest.pop_back();
	}
	const size_t Colon = Rest.rfind(':');
	if (Colon != std::string::npos)
	{
		Port = std::atoi(Rest.c_str() + Colon + 1);
		Host = Rest.substr(0, Colon);
	}
	else
	{
		Port = 80;
		Host = Rest;
	}
	if (Host.size() > 2 && Host.front() == '[' && Host.back() == ']')
	{
		Host = Host.substr(1, Host.size() - 2);
	}
}

HttpResponse HttpClient::Send(const std::string& Method, const std::string& Path, const std::string& Body, const HttpHeaders& Headers) const
{
	HttpResponse Response;
	const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
	const int Socket = ConnectTo(Host, Port, Response.Error);
	if (Socket < 0)
	{
		return Response;
	}
	std::string Request = Method + " " + Path + " HTTP/1.1\r\n";
	Request += "Host: " + (Host.find(':') != std::string::npos ? "[" + Host + "]" : Host) + ":" + std::to_string(Port) + "\r\n";
	Request += "Connection: close\r\n";
	bool bHasContentType = false;
	for (const auto& [Name, Value] : Headers)
	{
		bHasContentType = bHasContentType || EqualsIgnoringCase(Name, "Content-Type");
		Request += Name + ": " + Value + "\r\n";
	}
	if (!Body.empty() || Method == "POST" || Method == "PUT" || Method == "PATCH")
	{
		if (!bHasContentType)
		{
			Request += "Content-Type: application/json\r\n";
		}
		Request += "Content-Length: " + std::to_string(Body.size()) + "\r\n";
	}
	Request += "\r\n";
	Request += Body;

	size_t Sent = 0;
	while (Sent < Request.size())
	{
		const ssize_t Wrote = send(Socket, Request.data() + Sent, Request.size() - Sent, MSG_NOSIGNAL);
		if (Wrote < 0)
		{
			if (errno == EINTR)
			{
				continue;
			}
			// The server may answer (413) and close before reading everything; read what it said.
			break;
		}
		Sent += static_cast<size_t>(Wrote);
	}
	std::string Raw;
	const bool bComplete = ReadAll(Socket, Raw, Deadline, Response.Error);
	close(Socket);

	const size_t HeaderEnd = Raw.find("\r\n\r\n");
	if (HeaderEnd == std::string::npos || Raw.compare(0, 5, "HTTP/") != 0)
	{
		if (Response.Error.empty())
		{
			Response.Error = "the connection closed without an answer";
		}
		return Response;
	}
	const size_t StatusStart = Raw.find(' ');
	Response.Status = std::atoi(Raw.c_str() + StatusStart + 1);
	size_t LineStart = Raw.find("\r\n") + 2;
	bool bChunked = false;
	long long ContentLength = -1;
	while (LineStart < HeaderEnd)
	{
		const size_t LineEnd = Raw.find("\r\n", LineStart);
		const std::string Line = Raw.substr(LineStart, LineEnd - LineStart);
		const size_t Colon = Line.find(':');
		if (Colon != std::string::npos)
		{
			const std::string Name = Trim(Line.substr(0, Colon));
			const std::string Value = Trim(Line.substr(Colon + 1));
			Response.Headers.emplace_back(Name, Value);
			if (EqualsIgnoringCase(Name, "Transfer-Encoding") && Value.find("chunked") != std::string::npos)
			{
				bChunked = true;
			}
			if (EqualsIgnoringCase(Name, "Content-Length"))
			{
				ContentLength = std::atoll(Value.c_str());
			}
		}
		LineStart = LineEnd + 2;
	}
	const std::string Rest = Raw.substr(HeaderEnd + 4);
	if (bChunked)
	{
		if (!DecodeChunked(Rest, Response.Body))
		{
			Response.Error = "the answer's chunked body was cut off";
		}
	}
	else if (ContentLength >= 0)
	{
		Response.Body = Rest.substr(0, static_cast<size_t>(ContentLength));
		if (static_cast<long long>(Rest.size()) < ContentLength)
		{
			Response.Error = "the answer's body was cut off";
		}
	}
	else
	{
		Response.Body = Rest;
	}
	if (!bComplete && Response.Error.empty())
	{
		Response.Error = "the connection did not close after the answer";
	}
	if (!Response.Error.empty())
	{
		// Half an answer is no answer: the caller cannot know what it said.
		Response.Status = 0;
	}
	return Response;
}

std::string PercentEncode(const std::string& Segment)
{
	static const char Digits[] = "0123456789ABCDEF";
	std::string Out;
	for (const char C : Segment)
	{
		const auto Byte = static_cast<unsigned char>(C);
		if ((Byte >= 'A' && Byte <= 'Z') || (Byte >= 'a' && Byte <= 'z') || (Byte >= '0' && Byte <= '9') || Byte == '-' || Byte == '_' || Byte == '.' ||
			Byte == '~')
		{
			Out.push_back(C);
		}
		else
		{
			Out.push_back('%');
			Out.push_back(Digits[Byte >> 4]);
			Out.push_back(Digits[Byte & 15]);
		}
	}
	return Out;
}
}
