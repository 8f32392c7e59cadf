#!/usr/bin/env python3
"""Writes the gauge's ornament picture: a 36 x 36 GIF89a rivet with a 256-entry palette whose
entry 245 is white and transparent. Run it to regenerate src/editor/ornament.gif."""
import math
import struct
import sys

SIZE = 36
TRANSPARENT = 245

# Palette: a grey ramp from dark to light in 0..239, a steel-blue accent in 240..244, white
# (transparent) at 245, black above.
palette = []
for i in range(240):
    v = 40 + i * 200 // 239
    palette.append((v, v, min(255, v + 8)))
for i in range(5):
    palette.append((70 + 20 * i, 90 + 20 * i, 140 + 20 * i))
palette.append((255, 255, 255))
while len(palette) < 256:
    palette.append((0, 0, 0))


def shade(x, y):
    """Index of the pixel at (x, y): a domed rivet lit from the top left, with a slot."""
    cx = cy = (SIZE - 1) / 2
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    outer = SIZE / 2 - 0.5
    if r > outer:
        return TRANSPARENT
    if r > outer - 2:
        return 20  # dark rim
    # Light from the top left on a dome.
    nz = math.sqrt(max(0.0, 1 - (r / outer) ** 2))
    light = (-dx * 0.5 - dy * 0.5) / outer + nz * 0.8
    level = int(max(0, min(239, 60 + light * 150)))
    # A diagonal slot across the head, in the accent colour.
    if abs(dx - dy) < 1.6 and r < outer - 5:
        return 240 + min(4, int(r / outer * 5))
    return level


pixels = bytes(shade(x, y) for y in range(SIZE) for x in range(SIZE))


def lzw_uncompressed(data, min_code_size=8):
    """LZW data that stays at 9-bit codes: a clear code before every 254 literals."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    codes = []
    for i, p in enumerate(data):
        if i % 254 == 0:
            codes.append(clear)
        codes.append(p)
    codes.append(end)
    out, acc, nbits = bytearray(), 0, 0
    for c in codes:
        acc |= c << nbits
        nbits += 9
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray([min_code_size])
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


gif = bytearray(b"GIF89a")
gif += struct.pack("<HHBBB", SIZE, SIZE, 0xF7, TRANSPARENT, 0)  # global table, 8 bits, 256 entries
for rgb in palette:
    gif += bytes(rgb)
gif += bytes([0x21, 0xF9, 4, 0x01, 0, 0, TRANSPARENT, 0])  # transparency at entry 245
gif += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
gif += lzw_uncompressed(pixels)
gif += b"\x3B"

with open(sys.argv[1] if len(sys.argv) > 1 else "src/editor/ornament.gif", "wb") as f:
    f.write(gif)
