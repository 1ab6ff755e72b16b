#include "HttpFront.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_map>

namespace Velmora
{
namespace
{
using SteadyClock = std::chrono::steady_clock;

constexpr uint64_t ListenerId = 0;
constexpr uint64_t WakeId = 1;
constexpr size_t MaxPendingOutput = 1024 * 1024; // stop reading a client that does not read its answers
constexpr size_t MaxDrainBytes = 4 * 1024 * 1024;
constexpr int DrainMs = 2000;
constexpr int StopGraceMs = 10000;

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

std::string addressText(const sockaddr_storage& address)
{
	char text[INET6_ADDRSTRLEN] = {};
	if (address.ss_family == AF_INET)
	{
		inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text, sizeof(text));
	}
	else if (address.ss_family == AF_INET6)
	{
		inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, text, sizeof(text));
	}
	return text;
}
}

struct HttpFront::State
{
	enum class EWait
	{
		None,    // a worker has the request
		Idle,    // between requests
		Headers, // part of a request's head has arrived
		Body,    // the head is complete, the body is awaited
		Writing, // an answer is waiting for the client to read it
		Drain,   // answered and half-closed; reading what the client still sends, then closing
	};

	struct Connection
	{
		uint64_t id = 0;
		int fd = -1;
		std::string remote;
		HttpRequestReader reader;
		std::string out;
		size_t outOffset = 0;
		bool bBusy = false;
		bool bCloseAfterWrite = false;
		bool bPeerClosed = false;
		bool bGone = false; // closed while a worker had its request; the descriptor is freed once it is done
		EWait wait = EWait::None;
		SteadyClock::time_point deadline;
		size_t drained = 0;
		uint32_t interest = 0;
	};

	struct Job
	{
		uint64_t connectionId = 0;
		HttpRequest request;
		std::string remote;
		// Nothing of an earlier answer waits to be written, so the worker may write this one itself
		// (the loop does not touch a busy connection's socket, nor close it).
		int directFd = -1;
	};

	struct Completion
	{
		uint64_t connectionId = 0;
		std::string bytes;
		bool bClose = false;
		bool bDrop = false;
	};

	HttpHandler handler;
	HttpLimits limits;
	int listenFd = -1;
	int epollFd = -1;
	int wakeFd = -1;
	std::atomic<bool> bStopAsked{false};
	bool bStopping = false;
	bool bAcceptPaused = false;
	SteadyClock::time_point stopDeadline;
	uint64_t nextId = 2;
	std::unordered_map<uint64_t, std::unique_ptr<Connection>> connections;

	std::mutex jobMutex;
	std::condition_variable jobReady;
	std::deque<Job> jobs;
	bool bWorkersDone = false;
	std::vector<std::thread> workers;

	std::mutex completionMutex;
	std::vector<Completion> completions;

	void wake() const
	{
		const uint64_t one = 1;
		[[maybe_unused]] const ssize_t written = ::write(wakeFd, &one, sizeof(one));
	}

	void watch(Connection& connection)
	{
		uint32_t wanted = 0;
		const bool bPendingOutput = connection.outOffset < connection.out.size();
		if (connection.wait == EWait::Drain ||
			(!connection.bBusy && !connection.bCloseAfterWrite && !connection.bPeerClosed && connection.out.size() < MaxPendingOutput))
		{
			wanted |= EPOLLIN;
		}
		if (bPendingOutput)
		{
			wanted |= EPOLLOUT;
		}
		if (wanted != connection.interest)
		{
			epoll_event event{};
			event.events = wanted;
			event.data.u64 = connection.id;
			epoll_ctl(epollFd, EPOLL_CTL_MOD, connection.fd, &event);
			connection.interest = wanted;
		}
	}

	void close(Connection& connection)
	{
		epoll_ctl(epollFd, EPOLL_CTL_DEL, connection.fd, nullptr);
		if (connection.bBusy)
		{
			// A worker may be writing to it: keep the descriptor (and its number) until it is done.
			connection.bGone = true;
			connection.interest = 0;
			return;
		}
		::close(connection.fd);
		connections.erase(connection.id);
		if (bAcceptPaused && !bStopping)
		{
			// A descriptor is free again.
			resumeAccepting();
		}
	}

	void resumeAccepting()
	{
		epoll_event event{};
		event.events = EPOLLIN;
		event.data.u64 = ListenerId;
		epoll_ctl(epollFd, EPOLL_CTL_ADD, listenFd, &event);
		bAcceptPaused = false;
	}

	void accept()
	{
		while (!bStopping)
		{
			sockaddr_storage address{};
			socklen_t size = sizeof(address);
			const int fd = accept4(listenFd, reinterpret_cast<sockaddr*>(&address), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
			if (fd < 0)
			{
				if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
				{
					// Out of descriptors: wait for a connection to close rather than spin.
					std::fprintf(stderr, "velmora-emulator: cannot accept a connection: %s; waiting for one to close\n", std::strerror(errno));
					epoll_ctl(epollFd, EPOLL_CTL_DEL, listenFd, nullptr);
					bAcceptPaused = true;
				}
				return;
			}
			const int on = 1;
			setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
			auto connection = std::make_unique<Connection>();
			connection->id = nextId++;
			connection->fd = fd;
			connection->remote = addressText(address);
			connection->wait = EWait::Idle;
			connection->deadline = SteadyClock::now() + std::chrono::milliseconds(limits.idleTimeoutMs);
			connection->interest = EPOLLIN;
			epoll_event event{};
			event.events = EPOLLIN;
			event.data.u64 = connection->id;
			epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &event);
			connections.emplace(connection->id, std::move(connection));
		}
	}

	void dispatch(Connection& connection, HttpRequest request)
	{
		connection.bBusy = true;
		connection.wait = EWait::None;
		if (!request.bKeepAlive)
		{
			connection.bCloseAfterWrite = true;
		}
		{
			const std::lock_guard<std::mutex> lock(jobMutex);
			const int directFd = connection.outOffset >= connection.out.size() ? connection.fd : -1;
			jobs.push_back(Job{connection.id, std::move(request), connection.remote, directFd});
		}
		jobReady.notify_one();
	}

	// A request the front itself refuses (a deadline passed, the stream ended part-way).
	void refuse(Connection& connection, int status, const char* code, const char* message)
	{
		HttpRequest request = connection.reader.take();
		if (request.method.empty())
		{
			request.method = "-";
			request.target = "-";
		}
		HttpRefusal refusal;
		refusal.status = status;
		refusal.code = code;
		refusal.message = message;
		request.refusal = std::move(refusal);
		request.bKeepAlive = false;
		dispatch(connection, std::move(request));
	}

	// Takes whole requests from what has arrived, one at a time: the next is read only once the
	// previous one is answered, so pipelined answers go out in order.
	void advance(Connection& connection)
	{
		if (connection.bBusy || connection.bCloseAfterWrite || connection.wait == EWait::Drain || bStopping)
		{
			return;
		}
		switch (connection.reader.parse())
		{
		case HttpRequestReader::EState::Ready:
		case HttpRequestReader::EState::Refused:
			dispatch(connection, connection.reader.take());
			return;
		case HttpRequestReader::EState::NeedMore:
			break;
		}
		if (connection.reader.wantsContinue())
		{
			connection.out += "HTTP/1.1 100 Continue\r\n\r\n";
		}
		if (connection.bPeerClosed)
		{
			if (connection.reader.hasPartialRequest())
			{
				refuse(connection, 400, "invalid_request", "The connection ended in the middle of a request.");
			}
			else
			{
				connection.bCloseAfterWrite = true;
			}
		}
	}

	void refreshDeadline(Connection& connection, SteadyClock::time_point now)
	{
		EWait wait = EWait::Idle;
		if (connection.wait == EWait::Drain)
		{
			return;
		}
		if (connection.bBusy)
		{
			wait = EWait::None;
		}
		else if (connection.outOffset < connection.out.size())
		{
			wait = EWait::Writing;
		}
		else if (connection.reader.inBody())
		{
			wait = EWait::Body;
		}
		else if (connection.reader.hasPartialRequest())
		{
			wait = EWait::Headers;
		}
		if (wait != connection.wait)
		{
			connection.wait = wait;
			connection.deadline = now + std::chrono::milliseconds(wait == EWait::Idle ? limits.idleTimeoutMs : limits.requestTimeoutMs);
		}
	}

	// Returns false when the connection was closed.
	bool flush(Connection& connection)
	{
		while (connection.outOffset < connection.out.size())
		{
			const ssize_t sent = ::send(connection.fd, connection.out.data() + connection.outOffset, connection.out.size() - connection.outOffset,
				MSG_NOSIGNAL);
			if (sent < 0)
			{
				if (errno == EINTR)
				{
					continue;
				}
				if (errno == EAGAIN || errno == EWOULDBLOCK)
				{
					return true;
				}
				close(connection);
				return false;
			}
			connection.outOffset += static_cast<size_t>(sent);
			// Progress: the client is reading, so its deadline starts again.
			connection.deadline = SteadyClock::now() + std::chrono::milliseconds(limits.requestTimeoutMs);
		}
		connection.out.clear();
		connection.outOffset = 0;
		if (connection.bCloseAfterWrite && !connection.bBusy && connection.wait != EWait::Drain)
		{
			// Half-close and read what the client still sends for a moment: closing with unread
			// bytes would reset the connection and could destroy the answer before it is read.
			::shutdown(connection.fd, SHUT_WR);
			connection.wait = EWait::Drain;
			connection.deadline = SteadyClock::now() + std::chrono::milliseconds(DrainMs);
		}
		return true;
	}

	// Returns false when the connection was closed.
	bool readFrom(Connection& connection)
	{
		char buffer[64 * 1024];
		for (;;)
		{
			const ssize_t got = ::recv(connection.fd, buffer, sizeof(buffer), 0);
			if (got > 0)
			{
				if (connection.wait == EWait::Drain)
				{
					connection.drained += static_cast<size_t>(got);
					if (connection.drained > MaxDrainBytes)
					{
						close(connection);
						return false;
					}
					continue;
				}
				connection.reader.append(buffer, static_cast<size_t>(got));
				if (connection.reader.bufferedBytes() > MaxBodyBytes + MaxHeaderBytes + MaxTargetBytes + 64 * 1024)
				{
					// Enough for a request and its chunk framing; let the reader decide before taking more.
					return true;
				}
				continue;
			}
			if (got == 0)
			{
				if (connection.wait == EWait::Drain)
				{
					close(connection);
					return false;
				}
				connection.bPeerClosed = true;
				return true;
			}
			if (errno == EINTR)
			{
				continue;
			}
			if (errno == EAGAIN || errno == EWOULDBLOCK)
			{
				return true;
			}
			close(connection);
			return false;
		}
	}

	void onEvent(uint64_t id, uint32_t events)
	{
		const auto found = connections.find(id);
		if (found == connections.end() || found->second->bGone)
		{
			return;
		}
		Connection& connection = *found->second;
		if ((events & EPOLLERR) != 0)
		{
			close(connection);
			return;
		}
		if ((events & EPOLLOUT) != 0 && !flush(connection))
		{
			return;
		}
		if ((events & (EPOLLIN | EPOLLHUP)) != 0 && (connection.interest & EPOLLIN) != 0 && !readFrom(connection))
		{
			return;
		}
		if ((events & EPOLLHUP) != 0 && (connection.interest & EPOLLIN) == 0 && connection.outOffset >= connection.out.size())
		{
			// Gone while its request is with a worker: the answer has nowhere to go.
			close(connection);
			return;
		}
		settle(connection);
	}

	// After anything happened on a connection: take the next request, write, set deadlines.
	void settle(Connection& connection)
	{
		advance(connection);
		if (!flush(connection))
		{
			return;
		}
		refreshDeadline(connection, SteadyClock::now());
		watch(connection);
	}

	void takeCompletions()
	{
		std::vector<Completion> done;
		{
			const std::lock_guard<std::mutex> lock(completionMutex);
			done.swap(completions);
		}
		for (Completion& completion : done)
		{
			const auto found = connections.find(completion.connectionId);
			if (found == connections.end())
			{
				continue;
			}
			Connection& connection = *found->second;
			connection.bBusy = false;
			if (connection.bGone)
			{
				close(connection);
				continue;
			}
			if (completion.bDrop)
			{
				::shutdown(connection.fd, SHUT_RDWR);
				close(connection);
				continue;
			}
			connection.out += completion.bytes;
			if (completion.bClose || bStopping)
			{
				connection.bCloseAfterWrite = true;
			}
			settle(connection);
		}
	}

	void checkDeadlines()
	{
		const SteadyClock::time_point now = SteadyClock::now();
		std::vector<Connection*> expired;
		for (auto& [id, connection] : connections)
		{
			if (connection->wait != EWait::None && now >= connection->deadline)
			{
				expired.push_back(connection.get());
			}
		}
		for (Connection* connection : expired)
		{
			if (connection->wait == EWait::Headers || connection->wait == EWait::Body)
			{
				refuse(*connection, 408, "request_timeout", connection->wait == EWait::Headers
					? "The request's headers did not arrive in time."
					: "The request's body did not arrive in time.");
				connection->bCloseAfterWrite = true;
				settle(*connection);
			}
			else
			{
				close(*connection);
			}
		}
	}

	void beginStop()
	{
		bStopping = true;
		stopDeadline = SteadyClock::now() + std::chrono::milliseconds(StopGraceMs);
		if (!bAcceptPaused)
		{
			epoll_ctl(epollFd, EPOLL_CTL_DEL, listenFd, nullptr);
		}
		::close(listenFd);
		listenFd = -1;
		std::vector<Connection*> idle;
		for (auto& [id, connection] : connections)
		{
			connection->bCloseAfterWrite = true;
			if (!connection->bBusy && connection->outOffset >= connection->out.size())
			{
				idle.push_back(connection.get());
			}
		}
		for (Connection* connection : idle)
		{
			close(*connection);
		}
	}

	void work()
	{
		for (;;)
		{
			Job job;
			{
				std::unique_lock<std::mutex> lock(jobMutex);
				jobReady.wait(lock, [this] { return !jobs.empty() || bWorkersDone; });
				if (jobs.empty())
				{
					return;
				}
				job = std::move(jobs.front());
				jobs.pop_front();
			}
			HttpReply reply;
			try
			{
				reply = handler(job.request, job.remote);
			}
			catch (const std::exception& error)
			{
				// The handler answers its own failures; this is the last line, so that a worker never dies.
				std::fprintf(stderr, "velmora-emulator: unexpected error answering a request: %s\n", error.what());
				reply = HttpReply{};
				reply.status = 500;
				reply.body = "{\"error\": {\"code\": \"internal\", \"message\": \"The platform failed; nothing was changed.\", \"hint\": \"\", \"request_id\": \"\"}}";
			}
			Completion completion;
			completion.connectionId = job.connectionId;
			completion.bDrop = reply.bDrop;
			completion.bClose = !job.request.bKeepAlive || job.request.refusal.has_value() || bStopAsked.load();
			if (!completion.bDrop)
			{
				completion.bytes = frame(job.request, reply, completion.bClose);
				if (job.directFd >= 0)
				{
					// Answer at once instead of waking the loop to do it; the loop writes what is left.
					size_t sent = 0;
					while (sent < completion.bytes.size())
					{
						const ssize_t now = ::send(job.directFd, completion.bytes.data() + sent, completion.bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
						if (now <= 0)
						{
							break;
						}
						sent += static_cast<size_t>(now);
					}
					completion.bytes.erase(0, sent);
				}
			}
			{
				const std::lock_guard<std::mutex> lock(completionMutex);
				completions.push_back(std::move(completion));
			}
			wake();
		}
	}

	size_t busyCount() const
	{
		size_t busy = 0;
		for (const auto& [id, connection] : connections)
		{
			busy += connection->bBusy ? 1 : 0;
		}
		return busy;
	}
};

HttpFront::HttpFront(HttpHandler handler, const HttpLimits& limits)
	: m_state(std::make_unique<State>())
{
	m_state->handler = std::move(handler);
	m_state->limits = limits;
	m_state->wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
	m_state->epollFd = epoll_create1(EPOLL_CLOEXEC);
	if (m_state->wakeFd < 0 || m_state->epollFd < 0)
	{
		throw std::runtime_error(std::string("cannot set up the HTTP loop: ") + std::strerror(errno));
	}
}

HttpFront::~HttpFront()
{
	for (auto& [id, connection] : m_state->connections)
	{
		::close(connection->fd);
	}
	if (m_state->listenFd >= 0)
	{
		::close(m_state->listenFd);
	}
	::close(m_state->epollFd);
	::close(m_state->wakeFd);
}

int HttpFront::bind(const std::string& host, int port)
{
	addrinfo hints{};
	hints.ai_family = AF_UNSPEC;
	hints.ai_socktype = SOCK_STREAM;
	hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
	addrinfo* found = nullptr;
	const std::string service = std::to_string(port);
	if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || found == nullptr)
	{
		throw std::runtime_error("cannot listen on " + host + ": the address does not resolve");
	}
	int lastError = 0;
	for (const addrinfo* candidate = found; candidate != nullptr; candidate = candidate->ai_next)
	{
		const int fd = socket(candidate->ai_family, candidate->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, candidate->ai_protocol);
		if (fd < 0)
		{
			lastError = errno;
			continue;
		}
		// SO_REUSEADDR only: a restart may bind over connections still in TIME_WAIT, but a second
		// emulator on the same port must fail rather than share it (as SO_REUSEPORT would let it).
		const int on = 1;
		setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
		if (::bind(fd, candidate->ai_addr, candidate->ai_addrlen) != 0 || listen(fd, systemBacklog()) != 0)
		{
			lastError = errno;
			::close(fd);
			continue;
		}
		sockaddr_storage bound{};
		socklen_t size = sizeof(bound);
		getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size);
		const int boundPort = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<const sockaddr_in6&>(bound).sin6_port)
														  : ntohs(reinterpret_cast<const sockaddr_in&>(bound).sin_port);
		freeaddrinfo(found);
		m_state->listenFd = fd;
		return boundPort;
	}
	freeaddrinfo(found);
	throw std::runtime_error("cannot listen on " + host + ":" + service + ": " + std::strerror(lastError) +
		(lastError == EADDRINUSE ? " (is another program using the port?)" : ""));
}

void HttpFront::run()
{
	State& state = *m_state;
	if (state.listenFd < 0)
	{
		throw std::runtime_error("run() before bind()");
	}
	epoll_event event{};
	event.events = EPOLLIN;
	event.data.u64 = WakeId;
	epoll_ctl(state.epollFd, EPOLL_CTL_ADD, state.wakeFd, &event);
	state.resumeAccepting();
	for (int i = 0; i < std::max(1, state.limits.threads); ++i)
	{
		state.workers.emplace_back([&state] { state.work(); });
	}

	epoll_event events[256];
	for (;;)
	{
		if (state.bStopAsked.load() && !state.bStopping)
		{
			state.beginStop();
		}
		if (state.bStopping && (state.connections.empty() || (SteadyClock::now() >= state.stopDeadline && state.busyCount() == 0)))
		{
			break;
		}
		const int ready = epoll_wait(state.epollFd, events, 256, 100);
		for (int i = 0; i < ready; ++i)
		{
			const uint64_t id = events[i].data.u64;
			if (id == ListenerId)
			{
				state.accept();
			}
			else if (id == WakeId)
			{
				uint64_t count = 0;
				[[maybe_unused]] const ssize_t got = ::read(state.wakeFd, &count, sizeof(count));
			}
			else
			{
				state.onEvent(id, events[i].events);
			}
		}
		state.takeCompletions();
		state.checkDeadlines();
	}

	{
		const std::lock_guard<std::mutex> lock(state.jobMutex);
		state.bWorkersDone = true;
	}
	state.jobReady.notify_all();
	for (std::thread& worker : state.workers)
	{
		worker.join();
	}
	state.workers.clear();
	for (auto& [id, connection] : state.connections)
	{
		::close(connection->fd);
	}
	state.connections.clear();
}

void HttpFront::stop()
{
	m_state->bStopAsked.store(true);
	m_state->wake();
}
}
