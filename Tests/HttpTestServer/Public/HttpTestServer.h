// A small HTTP/1.1 server on 127.0.0.1 for tests of HTTP clients.
//
// It listens on a port the system picks, answers each request from the handler registered for its
// method and path, and records every request it received. A handler can answer with any status,
// headers and body, wait before answering, or hang up without sending a single byte. Connections
// are never kept alive, so every request arrives on a fresh connection and a hang-up cannot be
// mistaken by a client for a stale pooled connection.

#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace HttpTest
{
	using FHeaderList = std::vector<std::pair<std::string, std::string>>;

	/** A request as the server received it. */
	struct FRecordedRequest
	{
		std::string Method;
		/** Path without the query string, as sent (not decoded). */
		std::string Path;
		/** Everything after '?', as sent; empty if there was none. */
		std::string Query;
		/** Headers, sorted by name (ignoring case); names and values as sent. */
		FHeaderList Headers;
		/** Body bytes, unchanged. */
		std::string Body;

		/** Value of the first header with this name (compared ignoring case), or empty. */
		std::string Header(const std::string& Name) const;
		/** Number of headers with this name (compared ignoring case). */
		std::size_t HeaderCount(const std::string& Name) const;
		bool HasHeader(const std::string& Name) const { return HeaderCount(Name) > 0; }
	};

	/** What a handler answers. */
	struct FReply
	{
		int Status = 200;
		/** Sent in this order; a name may repeat. A Content-Type here replaces the default. */
		FHeaderList Headers;
		/** Body bytes, sent unchanged (any bytes, not only text). */
		std::string Body;
		/** Time to wait before answering (or hanging up). Cut short when the server stops. */
		std::chrono::milliseconds Delay{0};
		/** Close the connection without sending anything instead of answering. */
		bool bHangUp = false;

		/** A reply with this status and body (Content-Type text/plain when the body is not empty). */
		static FReply Make(int InStatus, std::string InBody = std::string());
		static FReply Text(int InStatus, std::string InBody);
		static FReply Json(int InStatus, std::string InBody);
		static FReply HangUp();

		FReply& WithHeader(std::string Name, std::string Value);
		FReply& WithDelay(std::chrono::milliseconds InDelay);
	};

	using FHandler = std::function<FReply(const FRecordedRequest&)>;

	class FServer
	{
	public:
		/** Starts listening on 127.0.0.1 at a port picked by the system. Check IsRunning(). */
		FServer();
		/** Stops the server; waiting handlers are woken and hang up. */
		~FServer();

		FServer(const FServer&) = delete;
		FServer& operator=(const FServer&) = delete;

		bool IsRunning() const;
		int Port() const { return ListenPort; }
		/** "http://127.0.0.1:<port>" followed by PathAndQuery (which should start with '/'). */
		std::string Url(const std::string& PathAndQuery) const;

		/**
		 * Answers requests with this method ("*" for any) and exact path (without query) by calling
		 * Handler on a server thread. A later registration for the same method and path replaces an
		 * earlier one. Requests nobody handles get 404 with the body "no handler".
		 */
		void On(const std::string& Method, const std::string& Path, FHandler Handler);
		/** Always answers with the same reply. */
		void On(const std::string& Method, const std::string& Path, FReply Reply);
		/** Answers the first request with Replies[0], the second with Replies[1], ...; the last one repeats. */
		void OnSequence(const std::string& Method, const std::string& Path, std::vector<FReply> Replies);

		/** Every request received so far, in arrival order. */
		std::vector<FRecordedRequest> Requests() const;
		/** Requests received so far for this path. */
		std::vector<FRecordedRequest> Requests(const std::string& Path) const;
		std::size_t RequestCount() const;
		std::size_t RequestCount(const std::string& Path) const;
		/** Waits until at least Count requests arrived, or Timeout passed; true if they arrived. */
		bool WaitForRequests(std::size_t Count, std::chrono::milliseconds Timeout) const;
		/** Forgets the recorded requests (handlers stay registered). */
		void ClearRequests();

		/** Stops listening and wakes delayed handlers. Safe to call more than once. */
		void Stop();

		/** A loopback port nobody listens on (picked by the system, then released). */
		static int UnusedPort();
		/** "http://127.0.0.1:<unused port>" followed by PathAndQuery: connecting to it is refused. */
		static std::string RefusedUrl(const std::string& PathAndQuery);

	private:
		struct FImpl;
		std::unique_ptr<FImpl> Impl;
		int ListenPort = 0;
	};
}
