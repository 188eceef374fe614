#!/usr/bin/env bash
# Plays a game in a real window on a virtual X display, with real time and real input events (xdotool moves
# the mouse and presses keys and buttons from a plan file), records it, replays the recording headless, and
# compares the state digests and the final screenshot byte for byte.
#
#   scripts/window-replay-check.sh [--keep NAME] PROGRAM FRAMES PLAN.xdo [VAR=VALUE ...]
#
# PROGRAM is a program of the build (drelmont, battle_driver), FRAMES the length of the game, PLAN an xdotool
# script in pixels of an 800 x 600 display, which the full-screen game covers exactly, so they are the game's
# logical pixels; VAR=VALUE settings for the program (DRELMONT_LEVEL=3). --keep NAME stores the recording as tests/replays/NAME.zrec and
# adds it and its plan to tests/replays/; run `make refresh-replays` afterwards to store its digests.
# Needs Xvfb and xdotool (apt-get install xvfb xdotool).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD:-build}
keep=""
if [ "${1:-}" = "--keep" ]; then
  keep=$2
  shift 2
fi
if [ $# -lt 3 ]; then
  sed -n '2,13p' "$0" >&2
  exit 2
fi
program=$1 frames=$2 plan=$(realpath "$3")
shift 3
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "$tool is missing: apt-get install xvfb xdotool" >&2; exit 2; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1

# Both runs start from fresh saved settings, so the game opens full screen and every level list is the same.
run() {
  env -C "$work" XDG_DATA_HOME="$work/user-$1" ALSOFT_DRIVERS=null ZORBEL_RENDERER=software \
    ZORBEL_STATS="$work/$1.json" ZORBEL_DIGEST_EVERY=60 ZORBEL_INPUT="$work/$1.txt" "${@:2}" \
    "$root/$build/$program"
}

echo "$frames screenshot $work/recorded.png" >"$work/recorded.txt"
DISPLAY=$display run recorded ZORBEL_RECORD="$work/game.zrec" ZORBEL_MAX_FRAMES="$frames" "$@" &
game=$!
DISPLAY=$display xdotool search --sync --name Drelmont >/dev/null
DISPLAY=$display xdotool mousemove 400 300
DISPLAY=$display xdotool "$plan"
wait $game

echo "$frames screenshot $work/replayed.png" >"$work/replayed.txt"
run replayed ZORBEL_HEADLESS=1 ZORBEL_REPLAY="$work/game.zrec" "$@"

status=0
if diff <(grep '"digest"' "$work/recorded.json") <(grep '"digest"' "$work/replayed.json") >/dev/null; then
  echo "digests: $(grep -c '"digest"' "$work/recorded.json") of the window game equal to the headless replay's"
else
  echo "digests differ:" && diff <(grep '"digest"' "$work/recorded.json") <(grep '"digest"' "$work/replayed.json")
  status=1
fi
if cmp -s "$work/recorded.png" "$work/replayed.png"; then
  echo "final screenshot: byte for byte the same ($(stat -c %s "$work/recorded.png") bytes)"
else
  echo "final screenshots differ" && status=1
fi
if [ -n "$keep" ]; then
  cp "$work/game.zrec" "tests/replays/$keep.zrec"
  [ "$plan" -ef "tests/replays/$keep.xdo" ] || cp "$plan" "tests/replays/$keep.xdo"
  cp "$work/recorded.png" "/tmp/$keep.png"
  grep -q "^$keep " tests/replays/games.txt || echo "$keep $program${*:+ $*}" >>tests/replays/games.txt
  echo "kept as tests/replays/$keep.zrec (final screenshot in /tmp/$keep.png); now run make refresh-replays"
fi
exit $status
