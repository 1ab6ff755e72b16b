#pragma once

#include "QuarnTest/HttpClient.h"

#include <string>

namespace EmulatorTesting
{
// One TCP connection to the emulator that sends exactly the bytes it is given, so that tests can
// send what no HTTP library would: pipelined requests, broken framing, repeated headers, slow
// trickles. Every wait is bounded.
class RawConnection
{
public:
	// Connects to 127.0.0.1:Port; IsOpen() tells whether it worked.
	explicit RawConnection(int Port, int TimeoutMs = 5000);
	~RawConnection();
	RawConnection(const RawConnection&) = delete;
	RawConnection& operator=(const RawConnection&) = delete;

	bool IsOpen() const { return Fd >= 0; }
	// Sends all of Bytes within the timeout; false when the connection failed or it took too long.
	bool Send(const std::string& Bytes, int TimeoutMs = 5000);
	// Ends our side of the stream (the server sees the end of the request stream).
	void HalfClose();
	// Reads one whole answer (a 100 Continue is skipped unless bKeepInterim). Status 0 with Error
	// set when none came within the timeout or the connection closed first.
	QuarnTest::HttpResponse ReadAnswer(int TimeoutMs = 5000, bool bKeepInterim = false);
	// True when the server closes the connection within the timeout (bytes still arriving are read
	// and dropped).
	bool ClosedWithin(int TimeoutMs);

private:
	// Reads what is there, waiting at most until the deadline; false at the end of the stream or on timeout.
	bool Fill(long long DeadlineMs);

	int Fd = -1;
	std::string Buffer;
	bool bEnded = false;
};

// Milliseconds on a monotonic clock.
long long NowMs();
}
