#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace Velmora
{
// Which stack holds each cell of a container. A grid of W x H cells is W columns by H rows; a
// slot container of N slots is N columns by one row, every stack one cell in size, so the same
// row scan gives "lowest free index" there.
class Occupancy
{
public:
	static constexpr int32_t Free = -1;

	Occupancy(int columns, int rows);

	bool inside(int64_t x, int64_t y, int width, int height) const;
	// The first owner found in the rectangle, or Free. The rectangle must be inside.
	int32_t ownerIn(int x, int y, int width, int height) const;
	void mark(int x, int y, int width, int height, int32_t owner);
	// The first position, row by row and then column by column, where a width x height
	// footprint lies on free cells only.
	std::optional<std::pair<int, int>> findFree(int width, int height);

	int columns() const { return m_columns; }
	int rows() const { return m_rows; }

private:
	int m_columns;
	int m_rows;
	std::vector<int32_t> m_owner;
	// Per footprint, the first linear position not yet ruled out. Cells are only ever marked,
	// never freed, in the life of one Occupancy, so positions ruled out stay ruled out.
	std::map<std::pair<int, int>, int64_t> m_searchFrom;
};
}
