#include "HttpTestServer.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <strings.h>
#include <thread>

namespace HttpTest
{
	namespace
	{
		bool EqualsIgnoreCase(const std::string& A, const std::string& B)
		{
			return A.size() == B.size() && ::strncasecmp(A.data(), B.data(), A.size()) == 0;
		}

		// cpp-httplib passes connection details to handlers as pseudo-headers; they were not sent.
		bool IsPseudoHeader(const std::string& Name)
		{
			return Name == "REMOTE_ADDR" || Name == "REMOTE_PORT" || Name == "LOCAL_ADDR" || Name == "LOCAL_PORT";
		}

		int LocalPort(int Fd, bool bPeer)
		{
			sockaddr_storage Address{};
			socklen_t Length = sizeof(Address);
			const int Result = bPeer
				? ::getpeername(Fd, reinterpret_cast<sockaddr*>(&Address), &Length)
				: ::getsockname(Fd, reinterpret_cast<sockaddr*>(&Address), &Length);
			if (Result != 0 || Address.ss_family != AF_INET)
			{
				return -1;
			}
			return ntohs(reinterpret_cast<const sockaddr_in*>(&Address)->sin_port);
		}

		// cpp-httplib does not hand the connection to handlers, so the server side of the connection
		// is found among the process's descriptors by its two ports. The client's end of the same
		// connection (same process in tests) has the two ports the other way round.
		void ShutDownConnection(int ServerPort, int ClientPort)
		{
			DIR* Descriptors = ::opendir("/proc/self/fd");
			if (!Descriptors)
			{
				return;
			}
			while (const dirent* Entry = ::readdir(Descriptors))
			{
				char* End = nullptr;
				const long Fd = std::strtol(Entry->d_name, &End, 10);
				if (End == Entry->d_name || *End != '\0')
				{
					continue;
				}
				const int Descriptor = static_cast<int>(Fd);
				if (LocalPort(Descriptor, false) == ServerPort && LocalPort(Descriptor, true) == ClientPort)
				{
					::shutdown(Descriptor, SHUT_RDWR);
					break;
				}
			}
			::closedir(Descriptors);
		}
	}

	std::string FRecordedRequest::Header(const std::string& Name) const
	{
		for (const auto& [Key, Value] : Headers)
		{
			if (EqualsIgnoreCase(Key, Name))
			{
				return Value;
			}
		}
		return std::string();
	}

	std::size_t FRecordedRequest::HeaderCount(const std::string& Name) const
	{
		std::size_t Count = 0;
		for (const auto& Entry : Headers)
		{
			Count += EqualsIgnoreCase(Entry.first, Name) ? 1 : 0;
		}
		return Count;
	}

	FReply FReply::Make(int InStatus, std::string InBody)
	{
		FReply Reply;
		Reply.Status = InStatus;
		Reply.Body = std::move(InBody);
		return Reply;
	}

	FReply FReply::Text(int InStatus, std::string InBody)
	{
		return Make(InStatus, std::move(InBody)).WithHeader("Content-Type", "text/plain; charset=utf-8");
	}

	FReply FReply::Json(int InStatus, std::string InBody)
	{
		return Make(InStatus, std::move(InBody)).WithHeader("Content-Type", "application/json");
	}

	FReply FReply::HangUp()
	{
		FReply Reply;
		Reply.bHangUp = true;
		return Reply;
	}

	FReply& FReply::WithHeader(std::string Name, std::string Value)
	{
		Headers.emplace_back(std::move(Name), std::move(Value));
		return *this;
	}

	FReply& FReply::WithDelay(std::chrono::milliseconds InDelay)
	{
		Delay = InDelay;
		return *this;
	}

	struct FServer::FImpl
	{
		struct FRoute
		{
			std::string Method;
			std::string Path;
			std::shared_ptr<FHandler> Handler;
		};

		httplib::Server Http;
		std::thread ListenThread;
		int Port = 0;

		mutable std::mutex Mutex;
		mutable std::condition_variable Changed;
		bool bStopping = false;
		std::vector<FRecordedRequest> Recorded;
		std::vector<FRoute> Routes;

		void Serve(const httplib::Request& In, httplib::Response& Out)
		{
			FRecordedRequest Request;
			Request.Method = In.method;
			const std::string::size_type QueryStart = In.target.find('?');
			Request.Path = In.target.substr(0, QueryStart);
			if (QueryStart != std::string::npos)
			{
				Request.Query = In.target.substr(QueryStart + 1);
			}
			for (const auto& [Name, Value] : In.headers)
			{
				if (!IsPseudoHeader(Name))
				{
					Request.Headers.emplace_back(Name, Value);
				}
			}
			Request.Body = In.body;

			std::shared_ptr<FHandler> Handler;
			{
				std::lock_guard<std::mutex> Lock(Mutex);
				for (auto It = Routes.rbegin(); It != Routes.rend(); ++It)
				{
					if ((It->Method == "*" || It->Method == Request.Method) && It->Path == Request.Path)
					{
						Handler = It->Handler;
						break;
					}
				}
			}

			// Record before answering, so a client that has its answer always finds its request.
			FReply Reply = Handler ? (*Handler)(Request) : FReply::Text(404, "no handler");
			{
				std::lock_guard<std::mutex> Lock(Mutex);
				Recorded.push_back(std::move(Request));
			}
			Changed.notify_all();

			if (Reply.Delay.count() > 0)
			{
				std::unique_lock<std::mutex> Lock(Mutex);
				Changed.wait_for(Lock, Reply.Delay, [this] { return bStopping; });
				if (bStopping)
				{
					Reply.bHangUp = true;
				}
			}

			if (Reply.bHangUp)
			{
				ShutDownConnection(Port, In.remote_port);
				return;
			}

			Out.status = Reply.Status;
			std::string ContentType;
			for (const auto& [Name, Value] : Reply.Headers)
			{
				if (EqualsIgnoreCase(Name, "Content-Type"))
				{
					ContentType = Value;
				}
				else
				{
					Out.headers.emplace(Name, Value);
				}
			}
			if (ContentType.empty() && !Reply.Body.empty())
			{
				ContentType = "text/plain";
			}
			if (!ContentType.empty())
			{
				Out.set_header("Content-Type", ContentType);
			}
			Out.body = std::move(Reply.Body);
		}
	};

	FServer::FServer()
		: Impl(std::make_unique<FImpl>())
	{
		// A client that hangs up while a reply is written must not kill the test process.
		::signal(SIGPIPE, SIG_IGN);

		httplib::Server& Http = Impl->Http;
		Http.set_keep_alive_max_count(1);
		const auto Serve = [Raw = Impl.get()](const httplib::Request& In, httplib::Response& Out)
		{
			Raw->Serve(In, Out);
		};
		const char* const AnyPath = R"(.*)";
		Http.Get(AnyPath, Serve);
		Http.Post(AnyPath, Serve);
		Http.Put(AnyPath, Serve);
		Http.Patch(AnyPath, Serve);
		Http.Delete(AnyPath, Serve);
		Http.Options(AnyPath, Serve);

		const int Bound = Http.bind_to_any_port("127.0.0.1");
		if (Bound <= 0)
		{
			return;
		}
		ListenPort = Bound;
		Impl->Port = Bound;
		Impl->ListenThread = std::thread([Raw = Impl.get()] { Raw->Http.listen_after_bind(); });

		// stop() only ends a server that is already running: a server stopped before its thread
		// started listening would block that thread (and the destructor's join) for ever.
		const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
		while (!Http.is_running() && std::chrono::steady_clock::now() < Deadline)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(1));
		}
	}

	FServer::~FServer()
	{
		Stop();
	}

	bool FServer::IsRunning() const
	{
		return ListenPort > 0 && Impl->ListenThread.joinable() && Impl->Http.is_running();
	}

	std::string FServer::Url(const std::string& PathAndQuery) const
	{
		return "http://127.0.0.1:" + std::to_string(ListenPort) + PathAndQuery;
	}

	void FServer::On(const std::string& Method, const std::string& Path, FHandler Handler)
	{
		std::lock_guard<std::mutex> Lock(Impl->Mutex);
		Impl->Routes.push_back({Method, Path, std::make_shared<FHandler>(std::move(Handler))});
	}

	void FServer::On(const std::string& Method, const std::string& Path, FReply Reply)
	{
		On(Method, Path, [Reply = std::move(Reply)](const FRecordedRequest&) { return Reply; });
	}

	void FServer::OnSequence(const std::string& Method, const std::string& Path, std::vector<FReply> Replies)
	{
		if (Replies.empty())
		{
			Replies.push_back(FReply::Text(500, "empty reply sequence"));
		}
		struct FSequence
		{
			std::mutex Mutex;
			std::vector<FReply> Replies;
			std::size_t Next = 0;
		};
		auto Sequence = std::make_shared<FSequence>();
		Sequence->Replies = std::move(Replies);
		On(Method, Path, [Sequence](const FRecordedRequest&)
		{
			std::lock_guard<std::mutex> Lock(Sequence->Mutex);
			const std::size_t Index = std::min(Sequence->Next, Sequence->Replies.size() - 1);
			++Sequence->Next;
			return Sequence->Replies[Index];
		});
	}

	std::vector<FRecordedRequest> FServer::Requests() const
	{
		std::lock_guard<std::mutex> Lock(Impl->Mutex);
		return Impl->Recorded;
	}

	std::vector<FRecordedRequest> FServer::Requests(const std::string& Path) const
	{
		std::vector<FRecordedRequest> Matching;
		std::lock_guard<std::mutex> Lock(Impl->Mutex);
		for (const FRecordedRequest& Request : Impl->Recorded)
		{
			if (Request.Path == Path)
			{
				Matching.push_back(Request);
			}
		}
		return Matching;
	}

	std::size_t FServer::RequestCount() const
	{
		std::lock_guard<std::mutex> Lock(Impl->Mutex);
		return Impl->Recorded.size();
	}

	std::size_t FServer::RequestCount(const std::string& Path) const
	{
		return Requests(Path).size();
	}

	bool FServer::WaitForRequests(std::size_t Count, std::chrono::milliseconds Timeout) const
	{
		std::unique_lock<std::mutex> Lock(Impl->Mutex);
		return Impl->Changed.wait_for(Lock, Timeout, [this, Count] { return Impl->Recorded.size() >= Count; });
	}

	void FServer::ClearRequests()
	{
		std::lock_guard<std::mutex> Lock(Impl->Mutex);
		Impl->Recorded.clear();
	}

	void FServer::Stop()
	{
		{
			std::lock_guard<std::mutex> Lock(Impl->Mutex);
			Impl->bStopping = true;
		}
		Impl->Changed.notify_all();
		Impl->Http.stop();
		if (Impl->ListenThread.joinable())
		{
			Impl->ListenThread.join();
		}
	}

	int FServer::UnusedPort()
	{
		const int Socket = ::socket(AF_INET, SOCK_STREAM, 0);
		if (Socket < 0)
		{
			return 1;
		}
		sockaddr_in Address{};
		Address.sin_family = AF_INET;
		Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
		Address.sin_port = 0;
		int Port = 1;
		if (::bind(Socket, reinterpret_cast<const sockaddr*>(&Address), sizeof(Address)) == 0)
		{
			Port = LocalPort(Socket, false);
		}
		::close(Socket);
		return Port > 0 ? Port : 1;
	}

	std::string FServer::RefusedUrl(const std::string& PathAndQuery)
	{
		return "http://127.0.0.1:" + std::to_string(UnusedPort()) + PathAndQuery;
	}
}
