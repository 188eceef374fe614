#!/usr/bin/env bash
# Formatting is automatic: every C++ file must be as clang-format leaves it.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror; then
  echo "run 'make format' to format the files above" >&2
  exit 1
fi
echo "format check: every C++ file is formatted"
