#!/usr/bin/env bash
# Makes a small demo simulator folder: train.exe and a few routes with environment files per
# season and weather, the way a real installation lays them out: environment files in the
# format's grammar (UTF-16, every required block, a fog distance of 2000 m) and, in
# Envfiles/Textures, every texture they name, with full mip chains and alpha where real routes
# have it (low clouds, sun, moon, upper water, rain and snow drops).
# Beside it, an Open Rails content folder as content packs lay one out: no train.exe, upper-case
# ROUTES, ENVFILES, TEXTURES and ACTIVITIES, one route with two activities.
# Usage: make_demo.sh <folder> [<content folder>, default <folder>-content]
set -euo pipefail
ts="${1:?usage: make_demo.sh <folder> [<content folder>]}"
content="${2:-${ts%/}-content}"
scripts="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$ts/Routes"
printf 'MZ demo placeholder\n' > "$ts/train.exe"

# One set of the route's own textures (clouds for every weather included), copied into every route.
textures="$(mktemp -d)"
trap 'rm -rf "$textures"' EXIT
python3 "$scripts/gen_textures.py" --demo "$textures"

envs=()  # weather:path of every environment file, written in one go at the end
route() {  # route <name> <env file names...>
  local name="$1"; shift
  mkdir -p "$ts/Routes/$name/Envfiles/Textures"
  cp "$textures"/*.ace "$ts/Routes/$name/Envfiles/Textures/"
  for f in "$@"; do
    case "$f" in *[Ss]now*) w=snow ;; *[Rr]ain*) w=rain ;; *) w=sun ;; esac
    envs+=("$w:$ts/Routes/$name/Envfiles/$f")
  done
}

seasons=(Spring Summer Autumn Winter)
four=()
for s in "${seasons[@]}"; do four+=("${s}Clear.env" "${s}Rain.env"); done
route "Noordlijn" "${four[@]}" WinterSnow.env
route "Kustbaan" sun.env rain.env snow.env autumn_rain.env
route "Bergroute" summer_clear.env winter_clear.env winter_snow.env spring_snow.env
mkdir -p "$ts/Routes/Havenlijn"  # a route without environment files

# The content folder's route, its folders spelled as content packs spell them.
kust="$content/ROUTES/KUSTLIJN"
mkdir -p "$kust/ENVFILES/TEXTURES" "$content/TRAINS" "$content/GLOBAL"
cp "$textures"/*.ace "$kust/ENVFILES/TEXTURES/"
for f in SUN.ENV RAIN.ENV SNOW.ENV; do
  case "$f" in SNOW*) w=snow ;; RAIN*) w=rain ;; *) w=sun ;; esac
  envs+=("$w:$kust/ENVFILES/$f")
done
python3 "$scripts/gen_env.py" --route 2000 "${envs[@]}"

# Activities, which Open Rails takes its fog from: two per route with environment files.
for r in Noordlijn Kustbaan Bergroute; do
  python3 "$scripts/gen_activities.py" "$ts/Routes/$r" "$r"
done
rm -rf "$kust/ACTIVITIES" "$kust/Activities"  # a demo made before is made anew
python3 "$scripts/gen_activities.py" "$kust" KUSTLIJN
mv "$kust/Activities" "$kust/ACTIVITIES"
echo "Demo simulator folder: $ts"
echo "Demo Open Rails content folder: $content"
