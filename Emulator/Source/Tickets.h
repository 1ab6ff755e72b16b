#pragma once

#include "Json.h"

#include <map>
#include <optional>
#include <string>

namespace Velmora
{
// Test players of sign-in providers other than "anonymous": provider -> ticket -> player label.
// The same label of one provider is always the same player.
class Tickets
{
public:
	static Tickets fromFile(const std::string& path);
	static Tickets fromJson(const Json& document, const std::string& source);

	bool knowsProvider(const std::string& provider) const { return m_providers.count(provider) > 0; }
	std::optional<std::string> labelFor(const std::string& provider, const std::string& ticket) const;
	size_t providerCount() const { return m_providers.size(); }

private:
	std::map<std::string, std::map<std::string, std::string>> m_providers;
};
}
