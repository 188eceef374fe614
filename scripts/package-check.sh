#!/usr/bin/env bash
# The Debian package as a player gets it: built (the Release build, any compiler warning an error), checked by
# lintian (errors fail), its desktop entry and AppStream metadata validated, its icons measured, and the
# installed game, unpacked elsewhere, started from outside the sources: the menu shows, a level is played,
# the exit line ends it and the settings file is written under the player's data folder.
#   scripts/package-check.sh            builds the package in build-deb/, then checks it
#   scripts/package-check.sh FILE.deb   checks a package built before
set -euo pipefail
cd "$(dirname "$0")/.."
out=${DEB_BUILD:-build-deb}
started=$SECONDS
fail() {
  echo "package-check: $*" >&2
  exit 1
}

if [ $# -gt 0 ]; then
  deb=$(realpath "$1")
else
  DEB_BUILD_OPTIONS="werror ${DEB_BUILD_OPTIONS:-}" scripts/deb.sh >"$out.log" 2>&1 || {
    tail -n 60 "$out.log" >&2
    fail "the package did not build (whole log in $out.log)"
  }
  deb=$(ls "$out"/drelmont_*.deb)
fi
built=$SECONDS

# Warnings are listed and pass; errors fail.
lintian --fail-on error --info "$deb" || fail "lintian reports errors in $deb"
echo "package-check: lintian: no errors"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root/installed"
share=$root/installed/usr/share
desktop-file-validate "$share/applications/drelmont.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml || fail "the AppStream metadata is not valid"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/drelmont.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{ print $3 * 256 + $4, $7 * 256 + $8 }')
  [ "$w $h" = "$size $size" ] || fail "the ${size}x${size} icon measures ${w}x${h}"
done
# One version everywhere: the package's, the newest release of the metainfo and the manual page's.
version=$(dpkg-deb -f "$deb" Version)
release=$(grep -m1 -o '<release version="[^"]*"' "$share"/metainfo/*.metainfo.xml | cut -d'"' -f2)
manual=$(zcat "$share/man/man6/drelmont.6.gz" | sed -n 's/^\.TH DRELMONT 6 [^"]*"Drelmont \([^"]*\)".*/\1/p')
[ "$release $manual" = "$version $version" ] ||
  fail "the package is version $version, the metainfo's newest release '$release', the manual page '$manual'"
echo "package-check: desktop entry, metainfo, icons and manual page valid, all of version $version"

# The installed game, started the way the desktop entry starts it, from another folder, with a fresh home.
exec_line=$(sed -n 's/^Exec=//p' "$share/applications/drelmont.desktop")
[ "$exec_line" = /usr/games/drelmont ] || fail "the desktop entry starts '$exec_line', not /usr/games/drelmont"
mkdir -p "$root/elsewhere" "$root/home"
cat >"$root/play.txt" <<'SCRIPT'
# Main menu -> new game -> level 1 -> fire for 300 frames -> Escape -> the exit line.
60 screenshot menu.png
70 mouse 100 185
80 down mouse 1
81 up mouse 1
95 mouse 150 219
111 down mouse 1
112 up mouse 1
130 mouse 500 250
131 down mouse 1
430 up mouse 1
431 down key 27
432 up key 27
460 mouse 100 482
461 down mouse 1
462 up mouse 1
SCRIPT
status=0
(cd "$root/elsewhere" && env -u DRELMONT_DATA -u LD_LIBRARY_PATH HOME="$root/home" XDG_DATA_HOME= \
  DRELMONT_TRACE_FD=3 ZORBEL_HEADLESS=1 ALSOFT_DRIVERS=null ZORBEL_MAX_FRAMES=700 \
  ZORBEL_INPUT="$root/play.txt" "$root/installed$exec_line" 3>"$root/trace.txt" 2>"$root/stderr.txt") || status=$?
trace=$(tr '\n' ' ' <"$root/trace.txt")
cp "$root/elsewhere/menu.png" "$(dirname "$deb")/installed-menu.png" 2>/dev/null || true
[ $status -eq 0 ] || { cat "$root/stderr.txt" >&2; fail "the installed game ended with status $status"; }
[[ "$trace" == *"menu shown"*"screen 3"*"screen 0"*"screen 1"* ]] ||
  { cat "$root/stderr.txt" >&2; fail "the installed game did not go menu, mission list, play, menu: $trace"; }
[ -s "$root/home/.local/share/drelmont/SAVE.INI" ] || fail "the exit line wrote no SAVE.INI"
echo "package-check: the installed game showed its menu, played level 1 and saved on the exit line"
echo "package-check: the package built in $((built - started)) s, checked in $((SECONDS - built)) s"
