#!/bin/sh
# Takes the tour's screenshots into a folder: tour.sh BUILD_DIR OUT_DIR [en|ru]
# The game runs headless with its own settings folder, where levels 1 to 21 are open; then the battle driver
# wins level 1 for the fight and level-complete pictures, and a soldier standing still gives the game over.
set -e
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# The language of the tour; without one, the game's own choice (the locale).
[ -n "$3" ] && export DRELMONT_LANG="$3"
mkdir -p "$out/user/drelmont"
printf '[prA(*@)]\nBH5sj =20\n' > "$out/user/drelmont/SAVE.INI"
cd "$out"
XDG_DATA_HOME="$out/user" ZORBEL_HEADLESS=1 ALSOFT_DRIVERS=null ZORBEL_MAX_FRAMES=600 \
  ZORBEL_INPUT="$here/tour.txt" "$build/drelmont"
XDG_DATA_HOME="$out/user" ZORBEL_HEADLESS=1 ALSOFT_DRIVERS=null ZORBEL_FRAME_MS=64 DRELMONT_AUTOAIM=1 \
  ZORBEL_INPUT="$here/won_level.txt" "$build/battle_driver"
XDG_DATA_HOME="$out/user" ZORBEL_HEADLESS=1 ALSOFT_DRIVERS=null ZORBEL_FRAME_MS=64 \
  ZORBEL_INPUT="$here/game_over_tour.txt" "$build/drelmont"
