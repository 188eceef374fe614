#!/usr/bin/env bash
# libFuzzer on every reader of outside text, built with clang in build-fuzz/.
#   scripts/fuzz.sh SECONDS   each target in turn for that long (CI), then a line of figures per target
#   scripts/fuzz.sh           every target at once, without end, until interrupted
# An input that makes a target crash or break a promise is kept in build-fuzz/crashes/<target>/; once the fault
# is mended, copy it into tests/fuzz/corpus/<target>/, where the ordinary tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD:-build-fuzz}
seconds=${1:-0}
sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"

# The generated font descriptor, a seed, comes from the ordinary build.
started=$SECONDS
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRELMONT_FUZZ=ON \
  -DDRELMONT_WERROR=ON -DDRELMONT_GENERATED_DATA="$(pwd)/${DATA_BUILD:-build}" -DCMAKE_C_FLAGS="$sanitizers" \
  -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" --target fuzzers
echo "fuzz: the targets built in $((SECONDS - started)) s"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# One line per target: its name, its corpus, and the real files it is seeded from.
run() {
  local name=$1 corpus=$2
  shift 2
  local work=$build/corpus/$name crashes=$build/crashes/$name
  mkdir -p "$work" "$crashes"
  local seeds=()
  for seed in "$corpus" "$@"; do
    if [ -d "$seed" ]; then
      seeds+=("$seed")
    elif [ -f "$seed" ]; then
      cp "$seed" "$work/"
    fi
  done
  local started=$SECONDS dict=()
  [ -f "tests/fuzz/$name.dict" ] && dict=("-dict=tests/fuzz/$name.dict")
  "$build/tests/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "${dict[@]}" "$work" "${seeds[@]}" 2>"$build/$name.log" || {
    tail -n 60 "$build/$name.log" >&2
    echo "fuzz: $name stopped on an input kept in $crashes/" >&2
    return 1
  }
  echo "fuzz: $name: $(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$build/$name.log" | grep -oE '[0-9]+$') executions in $((SECONDS - started)) s, clean"
}

if [ "$seconds" -gt 0 ]; then
  while read -r line; do
    # shellcheck disable=SC2086
    run $line
  done <"$build/fuzz_targets.txt"
else
  pids=()
  while read -r line; do
    # shellcheck disable=SC2086
    run $line &
    pids+=($!)
  done <"$build/fuzz_targets.txt"
  trap 'kill "${pids[@]}" 2>/dev/null' INT TERM
  status=0
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  exit $status
fi
