#include "Tickets.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace Velmora
{
Tickets Tickets::fromFile(const std::string& path)
{
	std::ifstream file(path, std::ios::binary);
	if (!file)
	{
		throw std::runtime_error("cannot open the tickets file " + path);
	}
	std::stringstream text;
	text << file.rdbuf();
	Json document;
	try
	{
		document = Json::parse(text.str());
	}
	catch (const Json::exception& error)
	{
		throw std::runtime_error("the tickets file " + path + " is not valid JSON: " + error.what());
	}
	return fromJson(document, path);
}

Tickets Tickets::fromJson(const Json& document, const std::string& source)
{
	if (!document.is_object())
	{
		throw std::runtime_error(source + ": the tickets file must be a JSON object of provider -> {ticket: player label}");
	}
	Tickets tickets;
	for (const auto& [provider, entries] : document.items())
	{
		if (provider.empty() || provider == "anonymous")
		{
			throw std::runtime_error(source + ": provider names must be non-empty and not \"anonymous\", which is built in");
		}
		if (!entries.is_object())
		{
			throw std::runtime_error(source + ": provider " + provider + " must map tickets to player labels");
		}
		auto& byTicket = tickets.m_providers[provider];
		for (const auto& [ticket, label] : entries.items())
		{
			if (ticket.empty() || !label.is_string() || label.get<std::string>().empty())
			{
				throw std::runtime_error(source + ": every ticket of " + provider + " must be non-empty and name a non-empty player label");
			}
			byTicket[ticket] = label.get<std::string>();
		}
	}
	return tickets;
}

std::optional<std::string> Tickets::labelFor(const std::string& provider, const std::string& ticket) const
{
	const auto found = m_providers.find(provider);
	if (found == m_providers.end())
	{
		return std::nullopt;
	}
	const auto label = found->second.find(ticket);
	if (label == found->second.end())
	{
		return std::nullopt;
	}
	return label->second;
}
}
