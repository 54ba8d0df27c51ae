#!/usr/bin/env python3
"""Writes the fifteen prepared fog environment files data/Dump/<weather>/<weather><level>.env.

Each weather has one template in scripts/env_templates/<weather>.env.in (plain ASCII, LF line
ends, easy to edit). The template's only placeholder, @FOG_DISTANCE@, becomes the level in metres.
The output is what the simulator reads: UTF-16LE with a byte order mark and CRLF line ends.

The sky textures a rain or snow template names must be the pair the program copies into the route
for that weather: rain runs install ZEL_snowsky/ZEL_snowskylo, snow runs ZEL_rainsky/ZEL_rainskylo.
A template naming any other ZEL_ texture would leave that sky layer without its picture.

Run from anywhere: scripts/gen_env.py. The output is the same on every run.
"""

import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TEMPLATES = ROOT / "scripts" / "env_templates"
OUT = ROOT / "data" / "Dump"

WEATHERS = ("sun", "rain", "snow")
LEVELS = (25, 50, 75, 100, 125)
PLACEHOLDER = "@FOG_DISTANCE@"

INSTALLED_SKIES = {
    "sun": set(),
    "rain": {"ZEL_snowsky.ace", "ZEL_snowskylo.ace"},
    "snow": {"ZEL_rainsky.ace", "ZEL_rainskylo.ace"},
}


def check_template(weather: str, text: str) -> None:
    """Stops the run on a template the simulator would choke on, before anything is written."""
    if not text.isascii():
        sys.exit(f"{weather}: template must be plain ASCII")
    if text.count(PLACEHOLDER) != 1:
        sys.exit(f"{weather}: template needs exactly one {PLACEHOLDER}")
    depth = 0
    for ch in text:
        depth += {"(": 1, ")": -1}.get(ch, 0)
        if depth < 0:
            sys.exit(f"{weather}: ')' without '('")
    if depth != 0:
        sys.exit(f"{weather}: {depth} unclosed '('")
    named = {word for word in text.split() if word.startswith("ZEL_")}
    if named != INSTALLED_SKIES[weather]:
        sys.exit(f"{weather}: names {sorted(named)}, the program installs "
                 f"{sorted(INSTALLED_SKIES[weather])}")


def encode(text: str) -> bytes:
    return b"\xff\xfe" + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-16-le")


def main() -> None:
    for weather in WEATHERS:
        template = (TEMPLATES / f"{weather}.env.in").read_text(encoding="utf-8")
        check_template(weather, template)
        folder = OUT / weather
        folder.mkdir(parents=True, exist_ok=True)
        for level in LEVELS:
            target = folder / f"{weather}{level}.env"
            target.write_bytes(encode(template.replace(PLACEHOLDER, str(level))))
            print(target.relative_to(ROOT))


if __name__ == "__main__":
    main()
