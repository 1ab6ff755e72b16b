#include "Clock.h"

#include <ctime>
#include <cstdio>

namespace Velmora
{
std::string Clock::format(int64_t milliseconds)
{
	const time_t seconds = static_cast<time_t>(milliseconds / 1000);
	std::tm parts{};
	gmtime_r(&seconds, &parts);
	char text[40];
	std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
		parts.tm_hour, parts.tm_min, parts.tm_sec, static_cast<int>(milliseconds % 1000));
	return text;
}
}
