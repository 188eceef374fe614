#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, when any is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-image-dev
  libopenal-dev libvorbis-dev
  libstb-dev fonts-dejavu-core
  libgtest-dev clang-format
)
case "${1:-}" in
  # What the fuzz targets build with: Debian's clang and its libFuzzer runtime.
  fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
  # What builds the Debian package and checks it: debhelper, lintian and the desktop and AppStream validators.
  package) packages+=(debhelper dpkg-dev lintian desktop-file-utils appstream) ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
