#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Velmora
{
// A token bucket per caller: `perSecond` requests a second on average, bursts of up to
// `perSecond`. Zero turns the limit off.
class RateLimiter
{
public:
	explicit RateLimiter(double perSecond);

	// 0 when the request may go ahead, else the whole seconds to wait (for Retry-After).
	int admit(const std::string& caller);
	double perSecond() const { return m_perSecond; }

private:
	struct Bucket
	{
		double tokens = 0;
		std::chrono::steady_clock::time_point refilled;
	};

	double m_perSecond;
	std::mutex m_mutex;
	std::unordered_map<std::string, Bucket> m_buckets;
};
}
