#!/usr/bin/env bash
# The game talks to the machine only through the engine table and the sound library: no SDL or OpenAL in game/.
set -euo pipefail
cd "$(dirname "$0")/.."
if grep -rnE '#\s*include\s*[<"](SDL|AL/|al\.h|alc\.h|vorbis)' game/; then
  echo "game/ must not include SDL, OpenAL or Vorbis headers" >&2
  exit 1
fi
echo "boundary check: game/ includes no SDL or OpenAL header"
