#include "RawConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <strings.h>

namespace EmulatorTesting
{
long long NowMs()
{
	return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

namespace
{
int RemainingMs(long long DeadlineMs)
{
	const long long Left = DeadlineMs - NowMs();
	return Left > 0 ? static_cast<int>(Left) : 0;
}
}

RawConnection::RawConnection(int Port, int TimeoutMs)
{
	Fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
	if (Fd < 0)
	{
		return;
	}
	sockaddr_in Address{};
	Address.sin_family = AF_INET;
	Address.sin_port = htons(static_cast<uint16_t>(Port));
	Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	if (connect(Fd, reinterpret_cast<const sockaddr*>(&Address), sizeof(Address)) != 0)
	{
		pollfd Wait{Fd, POLLOUT, 0};
		int Error = 0;
		socklen_t Size = sizeof(Error);
		if (errno != EINPROGRESS || poll(&Wait, 1, TimeoutMs) != 1 || getsockopt(Fd, SOL_SOCKET, SO_ERROR, &Error, &Size) != 0 || Error != 0)
		{
			close(Fd);
			Fd = -1;
		}
	}
}

RawConnection::~RawConnection()
{
	if (Fd >= 0)
	{
		close(Fd);
	}
}

bool RawConnection::Send(const std::string& Bytes, int TimeoutMs)
{
	const long long Deadline = NowMs() + TimeoutMs;
	size_t Sent = 0;
	while (Fd >= 0 && Sent < Bytes.size())
	{
		const ssize_t Now = send(Fd, Bytes.data() + Sent, Bytes.size() - Sent, MSG_NOSIGNAL);
		if (Now > 0)
		{
			Sent += static_cast<size_t>(Now);
			continue;
		}
		if (Now < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
		{
			return false;
		}
		pollfd Wait{Fd, POLLOUT, 0};
		if (poll(&Wait, 1, RemainingMs(Deadline)) != 1)
		{
			return false;
		}
	}
	return Fd >= 0;
}

void RawConnection::HalfClose()
{
	if (Fd >= 0)
	{
		shutdown(Fd, SHUT_WR);
	}
}

bool RawConnection::Fill(long long DeadlineMs)
{
	if (Fd < 0 || bEnded)
	{
		return false;
	}
	pollfd Wait{Fd, POLLIN, 0};
	if (poll(&Wait, 1, RemainingMs(DeadlineMs)) != 1)
	{
		return false;
	}
	char Chunk[16384];
	const ssize_t Got = recv(Fd, Chunk, sizeof(Chunk), 0);
	if (Got > 0)
	{
		Buffer.append(Chunk, static_cast<size_t>(Got));
		return true;
	}
	if (Got < 0 && (errno == EAGAIN || errno == EINTR))
	{
		return true;
	}
	bEnded = true;
	return false;
}

QuarnTest::HttpResponse RawConnection::ReadAnswer(int TimeoutMs, bool bKeepInterim)
{
	const long long Deadline = NowMs() + TimeoutMs;
	QuarnTest::HttpResponse Response;
	for (;;)
	{
		const size_t HeadEnd = Buffer.find("\r\n\r\n");
		if (HeadEnd == std::string::npos)
		{
			if (!Fill(Deadline))
			{
				Response.Error = bEnded ? "the connection closed before an answer" : "no answer in time";
				return Response;
			}
			continue;
		}
		const std::string Head = Buffer.substr(0, HeadEnd);
		const int Status = Head.size() > 12 ? std::atoi(Head.c_str() + 9) : 0;
		QuarnTest::HttpHeaders Headers;
		size_t LineStart = Head.find("\r\n");
		size_t Length = 0;
		while (LineStart != std::string::npos)
		{
			LineStart += 2;
			const size_t LineEnd = Head.find("\r\n", LineStart);
			const std::string Line = Head.substr(LineStart, LineEnd == std::string::npos ? std::string::npos : LineEnd - LineStart);
			const size_t Colon = Line.find(':');
			if (Colon != std::string::npos)
			{
				std::string Value = Line.substr(Colon + 1);
				while (!Value.empty() && Value.front() == ' ')
				{
					Value.erase(Value.begin());
				}
				Headers.emplace_back(Line.substr(0, Colon), Value);
				if (strcasecmp(Line.substr(0, Colon).c_str(), "Content-Length") == 0)
				{
					Length = std::strtoull(Value.c_str(), nullptr, 10);
				}
			}
			LineStart = LineEnd;
		}
		if (Status == 100 && !bKeepInterim)
		{
			Buffer.erase(0, HeadEnd + 4);
			continue;
		}
		while (Buffer.size() < HeadEnd + 4 + Length)
		{
			if (!Fill(Deadline))
			{
				Response.Error = "the answer's body did not arrive whole";
				return Response;
			}
		}
		Response.Status = Status;
		Response.Headers = std::move(Headers);
		Response.Body = Buffer.substr(HeadEnd + 4, Length);
		Buffer.erase(0, HeadEnd + 4 + Length);
		return Response;
	}
}

bool RawConnection::ClosedWithin(int TimeoutMs)
{
	const long long Deadline = NowMs() + TimeoutMs;
	while (!bEnded)
	{
		if (!Fill(Deadline) && !bEnded)
		{
			return false;
		}
		Buffer.clear();
	}
	return true;
}
}
