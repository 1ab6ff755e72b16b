#!/usr/bin/env python3
"""Draws the plug-in's icon, Resources/Icon128.png: a stash grid in the panel's colours (standard library only)."""

import os
import struct
import zlib

SIZE = 128
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "Resources", "Icon128.png")

# The stash panel's default colours, as 8-bit values.
PANEL = (14, 22, 25, 255)
CELL = (40, 48, 51, 255)
ACCENT = (240, 163, 48, 255)
LIGHT = (245, 232, 205, 255)

# A 4 x 4 grid of 24-pixel cells with 4-pixel gaps, inside a 12-pixel margin.
MARGIN = 12
CELL_SIZE = 24
GAP = 4


def write_png(path, pixels, width, height):
	raw = bytearray()
	for y in range(height):
		raw.append(0)
		for x in range(width):
			raw.extend(pixels[y * width + x])

	def chunk(kind, data):
		body = kind + data
		return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

	header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
	with open(path, "wb") as f:
		f.write(b"\x89PNG\r\n\x1a\n")
		f.write(chunk(b"IHDR", header))
		f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
		f.write(chunk(b"IEND", b""))


def cell_box(column, row, width=1, height=1):
	"""Pixels covered by a stack of width x height cells whose top left cell is (column, row)."""
	x0 = MARGIN + column * (CELL_SIZE + GAP)
	y0 = MARGIN + row * (CELL_SIZE + GAP)
	return x0, y0, x0 + width * CELL_SIZE + (width - 1) * GAP, y0 + height * CELL_SIZE + (height - 1) * GAP


def inside(box, x, y):
	x0, y0, x1, y1 = box
	return x0 <= x < x1 and y0 <= y < y1


def draw():
	cells = [cell_box(c, r) for r in range(4) for c in range(4)]
	# Stacks over their footprints: a long one across the top, a square one, and two singles.
	stacks = [(cell_box(0, 0, 3, 1), ACCENT), (cell_box(1, 1, 2, 2), LIGHT), (cell_box(3, 2), ACCENT), (cell_box(0, 3), LIGHT)]
	pixels = []
	for y in range(SIZE):
		for x in range(SIZE):
			cx, cy = min(x, SIZE - 1 - x), min(y, SIZE - 1 - y)
			corner = cx < 14 and cy < 14 and (14 - cx) ** 2 + (14 - cy) ** 2 > 196
			colour = (0, 0, 0, 0) if corner else PANEL
			if not corner and any(inside(box, x, y) for box in cells):
				colour = CELL
			for box, fill in stacks:
				if inside(box, x, y):
					colour = fill
			pixels.append(colour)
	return pixels


if __name__ == "__main__":
	os.makedirs(os.path.dirname(OUT), exist_ok=True)
	write_png(OUT, draw(), SIZE, SIZE)
	print(os.path.normpath(OUT))
