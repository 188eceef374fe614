#!/usr/bin/env bash
# The whole test suite and three long headless fights, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of their own. Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${SANITIZE_BUILD:-build-sanitize}
frames=${SANITIZE_FRAMES:-1500}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all"

# Seconds of processor time this script's children have used so far: on a shared machine it says more about
# how long a stage takes on CI's two cores than the wall clock does.
cpu() { awk -v hz="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); printf "%d", ($14 + $15) / hz }' "/proc/$$/stat"; }

start=$SECONDS start_cpu=$(cpu)
# -O1 with line tables, as the sanitizers' own advice goes: the findings keep their file and line, and the
# instrumented build takes less than half the time it takes at -O2 with full debug information.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRELMONT_BENCHMARKS=OFF -DDRELMONT_WERROR=ON \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DCMAKE_C_FLAGS="$sanitizers -fno-omit-frame-pointer" -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" -DCMAKE_SHARED_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build"
built=$SECONDS built_cpu=$(cpu)

# Leaks count as findings; every finding stops the program that made it with a non-zero status.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The build has already run the instrumented generator over every picture, font and sound; the tests that
# run it again only to compare the bytes of two runs see the same code on the same input, and would add over
# two minutes here. The ordinary suite keeps them.
repeats='^(Generator\.TwoRunsWriteIdenticalBytes|UiPictures\.SameBytesOnEveryRun|GeneratedSounds\.AFreshRunGivesTheSameBytes)$'
ctest --test-dir "$build" -j2 --output-on-failure -E "$repeats"
tested=$SECONDS tested_cpu=$(cpu)

# Long fights reach what the tests' short runs do not: crowded fields, many kills, level ends.
driver=$(cd "$build" && pwd)/battle_driver
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
echo "sanitize: build $((built - start)) s (cpu $((built_cpu - start_cpu)) s), suite $((tested - built)) s" \
  "(cpu $((tested_cpu - built_cpu)) s), fights $((SECONDS - tested)) s (cpu $(($(cpu) - tested_cpu)) s)"
