#!/usr/bin/env python3
"""Writes the four overcast sky textures data/Dump/Textures/ZEL_*sky*.ace.

With --demo FOLDER it writes instead the set of environment textures a route holds in
Envfiles/Textures (clouds for each weather, stars, sun, moon, water, rain and snow drops), for
scripts/make_demo.sh.

Layout of the uncompressed texture file, as written here and as real textures have it (all
integers little-endian; docs/file-formats.md lists the sources):

    offset  size  field
         0    16  signature "SIMISA@@@@@@@@@@" (uncompressed form)
        16     4  1
        20     4  flags, 1 = mipmaps follow the full-size image
        24     4  width  (a power of two)
        28     4  height (equal to the width)
        32     4  surface format: 0x0E opaque colour, 0x11 colour with alpha
        36     4  channel count: 3 (opaque) or 5 (with mask and alpha)
        40     4  0
        44    16  texture name, NUL-padded
        60    64  creator text, NUL-padded
       124    44  zero
       168    16  per channel: 8-byte bit size, 8-byte channel id: red 3, green 4, blue 5 (8-bit),
                  then for a texture with alpha the mask 2 (1-bit) and alpha 6 (8-bit)
          ...     row table: for each mip level, for each row, the 4-byte offset of the row,
                  counted from the end of the signature (file offset - 16), as readers seek it
          ...     pixel rows in the same order; each row holds its channels one after another in
                  the order of the channel table: width bytes per 8-bit channel, width / 8 bytes
                  (at least one, highest bit first) for the mask

Each mip level halves the side, down to 1 x 1; a mip pixel is the rounded mean of the 2 x 2 pixels
above it, alpha included, and the mask bit is set where alpha is 128 or more. The clouds are
tileable value noise from a fixed integer hash, so every run writes the same bytes. Sky textures
are 256 x 256 with the full mip chain down to 1 x 1.

The main cloud layer (ZEL_*sky.ace) is drawn opaque and is opaque colour; the low cloud layer
(ZEL_*skylo.ace) is drawn blended over it, so it carries alpha: dense cloud opaque, gaps clear.

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
SURFACE_OPAQUE, SURFACE_ALPHA = 0x0E, 0x11
RED, GREEN, BLUE, MASK, ALPHA = 3, 4, 5, 2, 6
CREATOR = b"ZEL Nevora sky generator"

# name: (side, base grey, cloud contrast, tint added to blue, vertical fall-off towards the
# horizon, low layer: carries alpha)
SKIES = {
    "ZEL_rainsky.ace": (256, 192, 70, 4, 10, False),    # seen in snow: light, faintly blue
    "ZEL_rainskylo.ace": (256, 200, 90, 4, 14, True),
    "ZEL_snowsky.ace": (256, 116, 80, 3, -8, False),    # seen in rain: dark, heavy
    "ZEL_snowskylo.ace": (256, 124, 90, 3, -12, True),
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
    """Six octaves of noise in [0, 1]: broad cloud banks with fine detail."""
    total, weight, norm = 0.0, 1.0, 0.0
    for octave in range(6):
        total += weight * value_noise(u, v, 4 << octave, seed + octave)
        norm += weight
        weight *= 0.5
    return total / norm


def clamp(value: float) -> int:
    return max(0, min(255, int(round(value))))


def coverage(n: float, low: float, high: float) -> int:
    """Alpha of a cloud of noise value n: clear below low, opaque above high, smooth between."""
    t = max(0.0, min(1.0, (n - low) / (high - low)))
    return clamp(255 * t * t * (3 - 2 * t))


def full_image(side: int, grey: int, contrast: int, tint: int, falloff: int, low: bool,
               seed: int):
    """Rows of (r, g, b, a) pixels; a low layer's alpha follows the cloud density."""
    rows = []
    for y in range(side):
        v = y / side
        row = []
        for x in range(side):
            n = clouds(x / side, v, seed)
            level = grey + contrast * 2 * (n - 0.5) + falloff * v
            alpha = coverage(n, 0.38, 0.56) if low else 255
            row.append((clamp(level), clamp(level + tint / 2), clamp(level + tint), alpha))
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
            row.append(tuple((sum(p[c] for p in block) + 2) // 4 for c in range(4)))
        out.append(row)
    return out


def mask_bits(row) -> bytes:
    """One bit per pixel, highest bit first: set where the pixel is at least half opaque."""
    out = bytearray((len(row) + 7) // 8)
    for x, p in enumerate(row):
        if p[3] >= 128:
            out[x // 8] |= 0x80 >> (x % 8)
    return bytes(out)


def encode(rows, name: str, alpha: bool) -> bytes:
    levels = [rows]
    while len(levels[-1]) > 1:
        levels.append(halve(levels[-1]))

    side = len(rows)
    channels = [(8, RED), (8, GREEN), (8, BLUE)] + ([(1, MASK), (8, ALPHA)] if alpha else [])
    head = SIGNATURE + struct.pack("<6iI", VERSION, FLAG_MIPMAPS, side, side,
                                   SURFACE_ALPHA if alpha else SURFACE_OPAQUE, len(channels), 0)
    head += pathlib.Path(name).stem.encode("ascii")[:15].ljust(16, b"\0")
    head += CREATOR.ljust(64, b"\0") + bytes(44)
    for bits, channel in channels:
        head += struct.pack("<QQ", bits, channel)

    row_count = sum(len(level) for level in levels)
    # Readers seek each row at (end of signature + offset), so the offsets leave the signature out.
    offset = len(head) + 4 * row_count - len(SIGNATURE)
    table, body = bytearray(), bytearray()
    for level in levels:
        for row in level:
            table += struct.pack("<I", offset)
            data = b"".join(bytes(p[c] for p in row) for c in range(3))
            if alpha:
                data += mask_bits(row) + bytes(p[3] for p in row)
            body += data
            offset += len(data)
    return head + bytes(table) + bytes(body)


def disc(side: int, radius: float, inside):
    """A soft-edged round body, opaque inside and clear around it, for the sun and the moon."""
    rows = []
    for y in range(side):
        row = []
        for x in range(side):
            d = math.hypot(x + 0.5 - side / 2, y + 0.5 - side / 2) / (side / 2)
            t = max(0.0, min(1.0, (radius - d) / 0.08))
            row.append(tuple(clamp(c * t) for c in inside) + (clamp(255 * t),))
        rows.append(row)
    return rows


def stars(side: int, seed: int):
    rows = []
    for y in range(side):
        row = []
        for x in range(side):
            h = hash2(x, y, seed)
            level = 235 if h > 0.992 else 8
            row.append((level, level, clamp(level + 6), 255))
        rows.append(row)
    return rows


def tinted(side: int, colour, contrast: int, seed: int, alpha: int = 255):
    """Cloudy noise around one colour: clear sky and water."""
    rows = []
    for y in range(side):
        row = []
        for x in range(side):
            n = (clouds(x / side, y / side, seed) - 0.5) * 2 * contrast
            row.append(tuple(clamp(c + n) for c in colour) + (alpha,))
        rows.append(row)
    return rows


def drops(side: int, seed: int, streak: int):
    """White drops on a clear ground; streak > 1 draws rain streaks, 1 snow flakes."""
    rows = [[(255, 255, 255, 0)] * side for _ in range(side)]
    for y in range(side):
        for x in range(side):
            if hash2(x, y, seed) > 0.985:
                for k in range(streak):
                    rows[(y + k) % side][x] = (235, 238, 245, 200)
    return rows


def low_clouds(side: int, grey: int, seed: int):
    return full_image(side, grey, 90, 3, 0, True, seed)


# A route's own environment textures, small so the demo is made in a moment:
# name: (maker, carries alpha)
DEMO = {
    "daysky.ace": (lambda: tinted(64, (118, 160, 215), 26, 31), False),
    "skylow.ace": (lambda: low_clouds(64, 225, 32), True),
    "rainsky.ace": (lambda: full_image(64, 200, 80, 4, 10, False, 36), False),
    "rainskylo.ace": (lambda: low_clouds(64, 205, 37), True),
    "snowsky.ace": (lambda: full_image(64, 116, 80, 3, -8, False, 38), False),
    "snowskylo.ace": (lambda: low_clouds(64, 122, 39), True),
    "starsky.ace": (lambda: stars(64, 33), False),
    "sun.ace": (lambda: disc(32, 0.6, (255, 250, 225)), True),
    "moon.ace": (lambda: disc(32, 0.55, (205, 205, 198)), True),
    "waterbot.ace": (lambda: tinted(32, (40, 52, 38), 8, 34), False),
    "watermid.ace": (lambda: tinted(32, (56, 74, 76), 10, 40, 128), True),
    "watertop.ace": (lambda: tinted(32, (70, 96, 112), 14, 35, 176), True),
    "rain.ace": (lambda: drops(32, 41, 4), True),
    "snow.ace": (lambda: drops(32, 42, 1), True),
}


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--demo", metavar="FOLDER", help="write a route's own textures there")
    args = parser.parse_args()
    if args.demo:
        folder = pathlib.Path(args.demo)
        folder.mkdir(parents=True, exist_ok=True)
        for name, (make, alpha) in DEMO.items():
            (folder / name).write_bytes(encode(make(), name, alpha))
        return
    OUT.mkdir(parents=True, exist_ok=True)
    for seed, (name, params) in enumerate(sorted(SKIES.items()), start=11):
        target = OUT / name
        target.write_bytes(encode(full_image(*params, seed=seed), name, params[-1]))
        print(target.relative_to(ROOT), target.stat().st_size)


if __name__ == "__main__":
    main()
