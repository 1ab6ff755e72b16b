#include "Catalogue.h"

#include "ApiError.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace Velmora
{
namespace
{
constexpr int MaxFootprint = 1000;
}

Catalogue Catalogue::builtIn()
{
	Catalogue catalogue;
	catalogue.m_entries = {
		{"Bandage", {"Bandage", 1, 1}},
		{"Medkit", {"Medkit", 1, 1}},
		{"Ammo", {"Ammo", 1, 1}},
		{"Water", {"Water", 1, 1}},
		{"Pistol", {"Pistol", 2, 1}},
		{"Rifle", {"Rifle", 3, 1}},
		{"Helmet", {"Helmet", 2, 2}},
		{"Backpack", {"Backpack", 2, 3}},
	};
	return catalogue;
}

Catalogue Catalogue::fromFile(const std::string& path)
{
	std::ifstream file(path, std::ios::binary);
	if (!file)
	{
		throw std::runtime_error("cannot open the catalogue file " + path);
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
		throw std::runtime_error("the catalogue file " + path + " is not valid JSON: " + error.what());
	}
	return fromJson(document, path);
}

Catalogue Catalogue::fromJson(const Json& document, const std::string& source)
{
	if (!document.is_object())
	{
		throw std::runtime_error(source + ": the catalogue must be a JSON object of item id -> {display_name, grid_w, grid_h}");
	}
	Catalogue catalogue;
	for (const auto& [itemId, value] : document.items())
	{
		if (itemId.empty() || !value.is_object())
		{
			throw std::runtime_error(source + ": entry " + inQuotes(itemId) + " must be an object with display_name, grid_w and grid_h");
		}
		CatalogueEntry entry;
		entry.displayName = itemId;
		if (value.contains("display_name"))
		{
			if (!value.at("display_name").is_string())
			{
				throw std::runtime_error(source + ": display_name of " + itemId + " must be a string");
			}
			entry.displayName = value.at("display_name").get<std::string>();
		}
		for (const auto& [key, target] : {std::pair<const char*, int*>{"grid_w", &entry.width}, {"grid_h", &entry.height}})
		{
			if (!value.contains(key))
			{
				continue;
			}
			const Json& size = value.at(key);
			if (!size.is_number_integer() || size.get<int64_t>() < 1 || size.get<int64_t>() > MaxFootprint)
			{
				throw std::runtime_error(source + ": " + key + " of " + itemId + " must be a whole number from 1 to " + std::to_string(MaxFootprint));
			}
			*target = size.get<int>();
		}
		catalogue.m_entries[itemId] = entry;
	}
	return catalogue;
}

CatalogueEntry Catalogue::find(const std::string& itemId) const
{
	const auto found = m_entries.find(itemId);
	if (found == m_entries.end())
	{
		return CatalogueEntry{itemId, 1, 1};
	}
	return found->second;
}

Json Catalogue::toJson() const
{
	Json document = Json::object();
	for (const auto& [itemId, entry] : m_entries)
	{
		document[itemId] = {{"display_name", entry.displayName}, {"grid_w", entry.width}, {"grid_h", entry.height}};
	}
	return document;
}
}
