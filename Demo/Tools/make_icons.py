#!/usr/bin/env python3
"""Draws the demo's item icons as small RGBA PNGs under Content/Icons (standard library only)."""

import os
import struct
import zlib

SIZE = 64
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "Content", "Icons")


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


def icon(background, shapes):
	"""A rounded tile in the background colour with shapes on top; each shape is (test(x, y), colour)."""
	pixels = []
	for y in range(SIZE):
		for x in range(SIZE):
			cx, cy = min(x, SIZE - 1 - x), min(y, SIZE - 1 - y)
			corner = cx < 6 and cy < 6 and (6 - cx) ** 2 + (6 - cy) ** 2 > 36
			colour = (0, 0, 0, 0) if corner else background
			for test, fill in shapes:
				if test(x, y):
					colour = fill
			pixels.append(colour)
	return pixels


def rect(x0, y0, x1, y1):
	return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def disc(cx, cy, r):
	return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


WHITE = (240, 240, 235, 255)
DARK = (30, 32, 36, 255)

ICONS = {
	"Bandage": icon((205, 190, 160, 255), [(rect(10, 24, 54, 40), WHITE), (rect(26, 24, 38, 40), (220, 60, 60, 255))]),
	"Medkit": icon((200, 45, 50, 255), [(rect(26, 12, 38, 52), WHITE), (rect(12, 26, 52, 38), WHITE)]),
	"Ammo": icon((70, 75, 60, 255), [(rect(12 + i * 14, 18, 20 + i * 14, 50), (210, 170, 60, 255)) for i in range(3)]
		+ [(rect(12 + i * 14, 14, 20 + i * 14, 22), (180, 110, 50, 255)) for i in range(3)]),
	"Water": icon((40, 110, 190, 255), [(disc(32, 38, 14), (150, 210, 250, 255)), (lambda x, y: abs(x - 32) * 2 < (y - 8) and y < 38, (150, 210, 250, 255))]),
	"Pistol": icon((60, 64, 70, 255), [(rect(10, 20, 54, 30), DARK), (rect(14, 30, 26, 50), DARK)]),
	"Rifle": icon((85, 70, 50, 255), [(rect(4, 26, 60, 34), DARK), (rect(8, 34, 22, 44), (120, 85, 50, 255)), (rect(36, 34, 42, 46), DARK)]),
	"Helmet": icon((70, 90, 60, 255), [(lambda x, y: (x - 32) ** 2 + (y - 40) ** 2 <= 22 * 22 and y <= 40, (110, 130, 85, 255)), (rect(8, 40, 56, 46), DARK)]),
	"Backpack": icon((110, 80, 50, 255), [(rect(16, 14, 48, 54), (150, 110, 70, 255)), (rect(20, 30, 44, 44), (125, 90, 55, 255)), (rect(26, 8, 38, 14), DARK)]),
}


def main():
	os.makedirs(OUT, exist_ok=True)
	for name, pixels in ICONS.items():
		write_png(os.path.join(OUT, name + ".png"), pixels, SIZE, SIZE)
	print("wrote %d icons to %s" % (len(ICONS), os.path.normpath(OUT)))


if __name__ == "__main__":
	main()
