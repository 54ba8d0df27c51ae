#!/usr/bin/env bash
# Makes a small demo simulator folder: train.exe and a few routes with environment files per
# season, the way a real installation lays them out. Usage: make_demo.sh <folder>
set -euo pipefail
ts="${1:?usage: make_demo.sh <folder>}"
mkdir -p "$ts/Routes"
printf 'MZ demo placeholder\n' > "$ts/train.exe"

env_file() {  # env_file <path> <weather> <fog distance>
  mkdir -p "$(dirname "$1")"
  printf 'SIMISA@@@@@@@@@@JINX0E1t______\r\n\r\nWorld (\r\n\tWorld_Fog_Distance ( %s )\r\n\tcomment ( demo %s environment )\r\n)\r\n' "$3" "$2" > "$1"
}

route() {  # route <name> <env file names...>
  local name="$1"; shift
  mkdir -p "$ts/Routes/$name/Envfiles/Textures"
  printf 'demo sky\n' > "$ts/Routes/$name/Envfiles/Textures/sky.ace"
  for f in "$@"; do
    case "$f" in *[Ss]now*) w=snow ;; *[Rr]ain*) w=rain ;; *) w=clear ;; esac
    env_file "$ts/Routes/$name/Envfiles/$f" "$w" 2000
  done
}

seasons=(Spring Summer Autumn Winter)
four=()
for s in "${seasons[@]}"; do four+=("${s}Clear.env" "${s}Rain.env"); done
route "Noordlijn" "${four[@]}" WinterSnow.env
route "Kustbaan" sun.env rain.env snow.env autumn_rain.env
route "Bergroute" summer_clear.env winter_clear.env winter_snow.env spring_snow.env
mkdir -p "$ts/Routes/Havenlijn"  # a route without environment files
echo "Demo simulator folder: $ts"
