#pragma once

#include "Json.h"

#include <map>
#include <string>

namespace Velmora
{
struct CatalogueEntry
{
	std::string displayName;
	int width = 1;
	int height = 1;
};

// Item id -> display name and footprint. Items the catalogue does not list are 1 x 1 and go by
// their id.
class Catalogue
{
public:
	static Catalogue builtIn();
	// Reads {"Rifle": {"display_name": "Rifle", "grid_w": 3, "grid_h": 1}, ...}; throws
	// std::runtime_error naming the file and the entry at fault.
	static Catalogue fromFile(const std::string& path);
	static Catalogue fromJson(const Json& document, const std::string& source);

	CatalogueEntry find(const std::string& itemId) const;
	// "Rifle" for a listed item, else the id itself.
	std::string displayName(const std::string& itemId) const { return find(itemId).displayName; }
	Json toJson() const;
	size_t size() const { return m_entries.size(); }

private:
	std::map<std::string, CatalogueEntry> m_entries;
};
}
