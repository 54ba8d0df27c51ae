#!/usr/bin/env python3
"""Writes the four overcast sky textures data/Dump/Textures/ZEL_*sky*.ace.

With --demo FOLDER it writes instead the small set of environment textures a route holds in
Envfiles/Textures (clear sky, stars, sun, moon, water), for scripts/make_demo.sh.

Layout of the uncompressed texture file, as written here (all integers little-endian; the sources
are listed in docs/file-formats.md):

    offset  size  field
         0    16  signature "SIMISA@@@@@@@@@@" (uncompressed form)
        16     4  version, 1
        20     4  flags, 1 = mipmaps follow the full-size image
        24     4  width  (a power of two)
        28     4  height (equal to the width)
        32     4  surface format, 0x0E (opaque colour, no alpha)
        36     4  channel count, 3
        40   128  creator text, NUL-padded
       168    16  per channel: 8-byte bit size (8), 8-byte channel id (red 3, green 4, blue 5)
          ...     row table: for each mip level, for each row, the 4-byte offset of the row,
                  counted from the end of the signature (file offset - 16), as readers seek it
          ...     pixel rows in the same order; each row holds all red bytes of the row, then all
                  green, then all blue

Each mip level halves the side, down to 1 x 1; a mip pixel is the rounded mean of the 2 x 2 pixels
above it. The clouds are tileable value noise from a fixed integer hash, so every run writes the
same bytes. Sky textures are 256 x 256 with the full mip chain down to 1 x 1.

Which pair is lighter follows the weather that shows it: snow runs install ZEL_rainsky and
ZEL_rainskylo, rain runs install ZEL_snowsky and ZEL_snowskylo (see gen_env.py). So the pair seen
in snow is the light one and the pair seen in rain the dark one.
"""

import argparse
import math
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "data" / "Dump" / "Textures"

SIGNATURE = b"SIMISA@@@@@@@@@@"
VERSION = 1
FLAG_MIPMAPS = 0x01
SURFACE_RGB = 0x0E
CHANNELS = (3, 4, 5)  # red, green, blue
CREATOR = b"ZEL Nevora sky generator"

# name: (side, base grey, cloud contrast, tint added to blue, vertical fall-off towards the horizon)
SKIES = {
    "ZEL_rainsky.ace": (256, 202, 26, 4, 10),    # seen in snow: light, faintly blue
    "ZEL_rainskylo.ace": (256, 212, 14, 4, 14),
    "ZEL_snowsky.ace": (256, 118, 30, 3, -8),    # seen in rain: dark, heavy
    "ZEL_snowskylo.ace": (256, 128, 16, 3, -12),
}


def hash2(x: int, y: int, seed: int) -> float:
    """A value in [0, 1) that depends only on its arguments."""
    h = (x * 374761393 + y * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


def value_noise(u: float, v: float, cells: int, seed: int) -> float:
    """Smoothly interpolated lattice noise that repeats every `cells` cells, so the sky tiles."""
    x, y = u * cells, v * cells
    x0, y0 = int(x), int(y)
    fx, fy = x - x0, y - y0
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)

    def corner(i: int, j: int) -> float:
        return hash2((x0 + i) % cells, (y0 + j) % cells, seed)

    top = corner(0, 0) + (corner(1, 0) - corner(0, 0)) * sx
    bottom = corner(0, 1) + (corner(1, 1) - corner(0, 1)) * sx
    return top + (bottom - top) * sy


def clouds(u: float, v: float, seed: int) -> float:
    """Four octaves of noise in [0, 1]."""
    total, weight, norm = 0.0, 1.0, 0.0
    for octave in range(4):
        total += weight * value_noise(u, v, 4 << octave, seed + octave)
        norm += weight
        weight *= 0.5
    return total / norm


def clamp(value: float) -> int:
    return max(0, min(255, int(round(value))))


def full_image(side: int, grey: int, contrast: int, tint: int, falloff: int, seed: int):
    """Rows of (r, g, b) pixels."""
    rows = []
    for y in range(side):
        v = y / side
        row = []
        for x in range(side):
            n = clouds(x / side, v, seed) - 0.5
            level = grey + contrast * 2 * n + falloff * v
            row.append((clamp(level), clamp(level + tint / 2), clamp(level + tint)))
        rows.append(row)
    return rows


def halve(rows):
    side = len(rows) // 2
    out = []
    for y in range(side):
        row = []
        for x in range(side):
            block = (rows[2 * y][2 * x], rows[2 * y][2 * x + 1],
                     rows[2 * y + 1][2 * x], rows[2 * y + 1][2 * x + 1])
            row.append(tuple((sum(p[c] for p in block) + 2) // 4 for c in range(3)))
        out.append(row)
    return out


def encode(rows) -> bytes:
    levels = [rows]
    while len(levels[-1]) > 1:
        levels.append(halve(levels[-1]))

    side = len(rows)
    head = SIGNATURE + struct.pack("<6i", VERSION, FLAG_MIPMAPS, side, side, SURFACE_RGB,
                                   len(CHANNELS))
    head += CREATOR.ljust(128, b"\0")
    for channel in CHANNELS:
        head += struct.pack("<QQ", 8, channel)

    row_count = sum(len(level) for level in levels)
    # Readers seek each row at (end of signature + offset), so the offsets leave the signature out.
    offset = len(head) + 4 * row_count - len(SIGNATURE)
    table, body = bytearray(), bytearray()
    for level in levels:
        for row in level:
            table += struct.pack("<I", offset)
            data = bytes(p[0] for p in row) + bytes(p[1] for p in row) + bytes(p[2] for p in row)
            body += data
            offset += len(data)
    return head + bytes(table) + bytes(body)


def disc(side: int, radius: float, inside, outside):
    """A soft-edged round body centred on a plain background, for the sun and the moon."""
    rows = []
    for y in range(side):
        row = []
        for x in range(side):
            d = math.hypot(x + 0.5 - side / 2, y + 0.5 - side / 2) / (side / 2)
            t = max(0.0, min(1.0, (radius - d) / 0.08))
            row.append(tuple(clamp(o + (i - o) * t) for i, o in zip(inside, outside)))
        rows.append(row)
    return rows


def stars(side: int, seed: int):
    rows = []
    for y in range(side):
        row = []
        for x in range(side):
            h = hash2(x, y, seed)
            level = 235 if h > 0.992 else 8
            row.append((level, level, clamp(level + 6)))
        rows.append(row)
    return rows


def tinted(side: int, colour, contrast: int, seed: int):
    """Cloudy noise around one colour: clear sky and water."""
    rows = []
    for y in range(side):
        row = []
        for x in range(side):
            n = (clouds(x / side, y / side, seed) - 0.5) * 2 * contrast
            row.append(tuple(clamp(c + n) for c in colour))
        rows.append(row)
    return rows


# A route's own environment textures, small so the demo is made in a moment.
DEMO = {
    "sky.ace": lambda: tinted(128, (118, 160, 215), 26, 31),
    "skylo.ace": lambda: tinted(128, (150, 182, 224), 16, 32),
    "starsky.ace": lambda: stars(128, 33),
    "sun.ace": lambda: disc(64, 0.6, (255, 250, 225), (0, 0, 0)),
    "moon.ace": lambda: disc(64, 0.55, (205, 205, 198), (0, 0, 0)),
    "waterbot.ace": lambda: tinted(64, (40, 52, 38), 8, 34),
    "watertop.ace": lambda: tinted(64, (70, 96, 112), 14, 35),
}


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--demo", metavar="FOLDER", help="write a route's own textures there")
    args = parser.parse_args()
    if args.demo:
        folder = pathlib.Path(args.demo)
        folder.mkdir(parents=True, exist_ok=True)
        for name, make in DEMO.items():
            (folder / name).write_bytes(encode(make()))
        return
    OUT.mkdir(parents=True, exist_ok=True)
    for seed, (name, params) in enumerate(sorted(SKIES.items()), start=11):
        target = OUT / name
        target.write_bytes(encode(full_image(*params, seed=seed)))
        print(target.relative_to(ROOT), target.stat().st_size)


if __name__ == "__main__":
    main()
