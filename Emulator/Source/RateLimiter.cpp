#include "RateLimiter.h"

#include <algorithm>
#include <cmath>

namespace Velmora
{
RateLimiter::RateLimiter(double perSecond)
	: m_perSecond(perSecond)
{
}

int RateLimiter::admit(const std::string& caller)
{
	if (m_perSecond <= 0)
	{
		return 0;
	}
	const auto now = std::chrono::steady_clock::now();
	std::lock_guard lock(m_mutex);
	auto [slot, bInserted] = m_buckets.try_emplace(caller);
	Bucket& bucket = slot->second;
	if (bInserted)
	{
		bucket.tokens = m_perSecond;
		bucket.refilled = now;
	}
	const double elapsed = std::chrono::duration<double>(now - bucket.refilled).count();
	bucket.tokens = std::min(m_perSecond, bucket.tokens + elapsed * m_perSecond);
	bucket.refilled = now;
	if (bucket.tokens >= 1.0)
	{
		bucket.tokens -= 1.0;
		return 0;
	}
	return std::max(1, static_cast<int>(std::ceil((1.0 - bucket.tokens) / m_perSecond)));
}
}
