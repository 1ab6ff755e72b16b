#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace Velmora
{
// Wall time as the platform sees it. Tests may move it forward (admin API) to expire tokens and
// idempotency records without waiting.
class Clock
{
public:
	int64_t nowSeconds() const
	{
		const auto now = std::chrono::system_clock::now().time_since_epoch();
		return std::chrono::duration_cast<std::chrono::seconds>(now).count() + m_offsetSeconds.load();
	}

	int64_t nowMilliseconds() const
	{
		const auto now = std::chrono::system_clock::now().time_since_epoch();
		return std::chrono::duration_cast<std::chrono::milliseconds>(now).count() + m_offsetSeconds.load() * 1000;
	}

	void advance(int64_t seconds) { m_offsetSeconds += seconds; }
	int64_t offsetSeconds() const { return m_offsetSeconds.load(); }

	// ISO 8601 in UTC, to the millisecond.
	static std::string format(int64_t milliseconds);

private:
	std::atomic<int64_t> m_offsetSeconds{0};
};
}
