#!/usr/bin/env bash
# Builds the Debian package from a clean copy of the sources in build-deb/ (dpkg-buildpackage writes its
# results beside the source folder): build-deb/drelmont_VERSION_ARCH.deb. Only the game is built, not the
# tests; extra DEB_BUILD_OPTIONS pass through (`werror` stops on any compiler warning).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${DEB_BUILD:-build-deb}
version=$(dpkg-parsechangelog -S Version)
source="$out/drelmont-$version"

rm -rf "$out"
mkdir -p "$source"
# The files under version control and new ones not ignored, so uncommitted work is packaged as it stands.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$source"
else
  tar --exclude=./.git --exclude='./build*' -cf - . | tar -xf - -C "$source"
fi

# debhelper gives the build a fresh HOME; keep ccache's cache where it is, so a rebuild is quick.
if command -v ccache >/dev/null; then
  CCACHE_DIR=$(ccache -k cache_dir)
  export CCACHE_DIR
fi
export DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}"
(cd "$source" && dpkg-buildpackage --build=binary --build-profiles=nocheck --no-sign)
ls "$out"/drelmont_"$version"_*.deb
