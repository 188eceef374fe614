#!/bin/sh
# Takes the tour's screenshots into a folder: tour.sh BUILD_DIR OUT_DIR
# The game runs headless with its own settings folder, where levels 1 to 21 are open.
set -e
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out/user/drelmont"
printf '[prA(*@)]\nBH5sj =20\n' > "$out/user/drelmont/SAVE.INI"
cd "$out"
XDG_DATA_HOME="$out/user" ZORBEL_HEADLESS=1 ALSOFT_DRIVERS=null ZORBEL_MAX_FRAMES=600 \
  ZORBEL_INPUT="$here/tour.txt" "$build/drelmont"
