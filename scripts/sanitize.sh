#!/usr/bin/env bash
# The whole test suite and three long headless fights, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of their own. Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${SANITIZE_BUILD:-build-sanitize}
frames=${SANITIZE_FRAMES:-1500}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all"

start=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$sanitizers -fno-omit-frame-pointer" -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" -DCMAKE_SHARED_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build"
built=$SECONDS

# Leaks count as findings; every finding stops the program that made it with a non-zero status.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" -j2 --output-on-failure
tested=$SECONDS

# Long fights reach what the tests' short runs do not: crowded fields, many kills, level ends.
driver=$(pwd)/$build/battle_driver
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
for level in 1 15 28; do
  if ! (cd "$log" && env XDG_DATA_HOME="$log/user" ZORBEL_HEADLESS=1 ALSOFT_DRIVERS=null ZORBEL_MAX_FRAMES="$frames" \
        DRELMONT_LEVEL=$level DRELMONT_AUTOAIM=1 "$driver" 2>"$log/err.txt") ||
     grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$log/err.txt"; then
    cat "$log/err.txt" >&2
    echo "sanitize: the fight on level $level failed" >&2
    exit 1
  fi
  echo "sanitize: level $level, $frames frames: clean"
done
echo "sanitize: build $((built - start)) s, suite $((tested - built)) s, fights $((SECONDS - tested)) s"
