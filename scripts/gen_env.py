#!/usr/bin/env python3
"""Writes the fifteen prepared fog environment files data/Dump/<weather>/<weather><level>.env.

Each weather has one template in scripts/env_templates/<weather>.env.in (plain ASCII, LF line
ends, easy to edit). A template is a whole environment file in the format's grammar: the header
line, then world ( fog distance, day and night fog colour, sky, water, [precipitation], wind ),
every block in the order and with the value types docs/file-formats.md lists. Placeholders:

    @FOG_DISTANCE@    the visibility in whole metres (the level), world_fog_distance
    @SKY_TEXTURE@     the texture of the main cloud layer
    @SKYLO_TEXTURE@   the texture of the low cloud layer (drawn blended: it carries alpha)

The output is what the simulator reads: UTF-16LE with a byte order mark and CRLF line ends.

The cloud layers of a rain or snow file must name the pair the program copies into the route for
that weather: rain runs install ZEL_snowsky/ZEL_snowskylo, snow runs ZEL_rainsky/ZEL_rainskylo.
Any other ZEL_ name would leave that sky layer without its picture. A clear (sun) file keeps the
clouds routes carry themselves, daysky.ace and skylow.ace. Every other texture named is one real
routes carry under the same name (stars, sun, moon, three water layers, rain and snow drops).

Run from anywhere: scripts/gen_env.py. The output is the same on every run.
With --route DISTANCE WEATHER:FILE... it writes environment files as a route holds its own (the
route's own cloud textures for that weather, the given fog distance); scripts/make_demo.sh uses
that for the demo simulator.
"""

import argparse
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TEMPLATES = ROOT / "scripts" / "env_templates"
OUT = ROOT / "data" / "Dump"

WEATHERS = ("sun", "rain", "snow")
LEVELS = (25, 50, 75, 100, 125)
PLACEHOLDERS = ("@FOG_DISTANCE@", "@SKY_TEXTURE@", "@SKYLO_TEXTURE@")

HEADER = "SIMISA@@@@@@@@@@JINX0w0t______"

# A route's own cloud textures per weather; real routes' rain files show the clouds named after
# snow and their snow files those named after rain, the pairing the fog runs follow with ZEL_.
ROUTE_SKIES = {
    "sun": ("daysky.ace", "skylow.ace"),
    "rain": ("snowsky.ace", "snowskylo.ace"),
    "snow": ("rainsky.ace", "rainskylo.ace"),
}
INSTALLED_SKIES = {
    "sun": ROUTE_SKIES["sun"],
    "rain": ("ZEL_snowsky.ace", "ZEL_snowskylo.ace"),
    "snow": ("ZEL_rainsky.ace", "ZEL_rainskylo.ace"),
}


def load_template(weather: str) -> str:
    """The template, checked before anything is written: a template the simulator would choke on
    stops the run."""
    text = (TEMPLATES / f"{weather}.env.in").read_text(encoding="utf-8")
    if not text.isascii():
        sys.exit(f"{weather}: template must be plain ASCII")
    if text.split("\n", 1)[0] != HEADER:
        sys.exit(f"{weather}: the first line must be the header {HEADER}")
    for placeholder in PLACEHOLDERS:
        if text.count(placeholder) != 1:
            sys.exit(f"{weather}: template needs exactly one {placeholder}")
    if "ZEL_" in text:
        sys.exit(f"{weather}: name sky textures through the placeholders, not in the template")
    depth = 0
    for ch in text:
        depth += {"(": 1, ")": -1}.get(ch, 0)
        if depth < 0:
            sys.exit(f"{weather}: ')' without '('")
    if depth != 0:
        sys.exit(f"{weather}: {depth} unclosed '('")
    # The simulators' reader takes a word starting with '#' or '_' for a comment.
    if any(word[0] in "#_" for word in text.split()[1:]):
        sys.exit(f"{weather}: a word starts with '#' or '_' and would be read as a comment")
    return text


def render(template: str, distance: int, skies) -> str:
    text = template.replace("@FOG_DISTANCE@", str(distance))
    return text.replace("@SKY_TEXTURE@", skies[0]).replace("@SKYLO_TEXTURE@", skies[1])


def encode(text: str) -> bytes:
    return b"\xff\xfe" + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-16-le")


def write_shipped() -> None:
    for weather in WEATHERS:
        template = load_template(weather)
        folder = OUT / weather
        folder.mkdir(parents=True, exist_ok=True)
        for level in LEVELS:
            target = folder / f"{weather}{level}.env"
            target.write_bytes(encode(render(template, level, INSTALLED_SKIES[weather])))
            print(target.relative_to(ROOT))


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--route", nargs="+", metavar="DISTANCE WEATHER:FILE",
                        help="write route environment files instead of the shipped ones")
    args = parser.parse_args()
    if not args.route:
        write_shipped()
        return
    distance, files = int(args.route[0]), args.route[1:]
    for pair in files:
        weather, _, file = pair.partition(":")
        if weather not in WEATHERS or not file:
            sys.exit(f"{pair}: expected WEATHER:FILE with WEATHER one of {', '.join(WEATHERS)}")
        target = pathlib.Path(file)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(encode(render(load_template(weather), distance, ROUTE_SKIES[weather])))


if __name__ == "__main__":
    main()
