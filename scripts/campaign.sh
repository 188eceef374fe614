#!/usr/bin/env bash
# The campaign bot plays the whole campaign on the real program, headless, from fresh saved progress, and its
# balance report and chart land in docs/campaign/ (report.csv, chart.png), which docs/bot.md shows.
#
#   scripts/campaign.sh [BUILD_DIR]
#
# Five ticks run to every drawn frame (ZORBEL_FRAME_MS=80), the most the engine runs in one; the game plays at
# its own pace all the same. Each attempt's row is printed as it ends.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/campaign
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

start=$(date +%s)
env -C "$work" XDG_DATA_HOME="$work/user" ALSOFT_DRIVERS=null ZORBEL_HEADLESS=1 ZORBEL_FRAME_MS=80 \
  ZORBEL_MAX_FRAMES=2000000 DRELMONT_BOT=1 DRELMONT_BOT_REPORT="$(pwd)/$out/report.csv" DRELMONT_TRACE_FD=3 \
  "$(pwd)/$build/drelmont" 3>&1 >/dev/null | grep --line-buffered '^bot '
echo "played in $(( $(date +%s) - start )) s on $(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo ' (with changes not committed)')"
"$build/tools/artgen/campaign_chart" "$out/report.csv" "$out/chart.png"
echo "report: $out/report.csv, chart: $out/chart.png"
