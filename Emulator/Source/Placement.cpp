#include "Placement.h"

namespace Velmora
{
Occupancy::Occupancy(int columns, int rows)
	: m_columns(columns), m_rows(rows), m_owner(static_cast<size_t>(columns) * static_cast<size_t>(rows), Free)
{
}

bool Occupancy::inside(int64_t x, int64_t y, int width, int height) const
{
	return x >= 0 && y >= 0 && width > 0 && height > 0 && x + width <= m_columns && y + height <= m_rows;
}

int32_t Occupancy::ownerIn(int x, int y, int width, int height) const
{
	for (int row = y; row < y + height; ++row)
	{
		const int32_t* cells = &m_owner[static_cast<size_t>(row) * m_columns];
		for (int column = x; column < x + width; ++column)
		{
			if (cells[column] != Free)
			{
				return cells[column];
			}
		}
	}
	return Free;
}

void Occupancy::mark(int x, int y, int width, int height, int32_t owner)
{
	for (int row = y; row < y + height; ++row)
	{
		int32_t* cells = &m_owner[static_cast<size_t>(row) * m_columns];
		for (int column = x; column < x + width; ++column)
		{
			cells[column] = owner;
		}
	}
}

std::optional<std::pair<int, int>> Occupancy::findFree(int width, int height)
{
	if (width > m_columns || height > m_rows || width <= 0 || height <= 0)
	{
		return std::nullopt;
	}
	int64_t& from = m_searchFrom[{width, height}];
	const int64_t total = static_cast<int64_t>(m_columns) * m_rows;
	for (int64_t position = from; position < total; ++position)
	{
		const int y = static_cast<int>(position / m_columns);
		const int x = static_cast<int>(position % m_columns);
		if (y + height > m_rows)
		{
			break;
		}
		if (x + width > m_columns)
		{
			continue;
		}
		if (ownerIn(x, y, width, height) == Free)
		{
			from = position;
			return std::make_pair(x, y);
		}
	}
	from = total;
	return std::nullopt;
}
}
