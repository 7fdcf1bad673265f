#!/usr/bin/env bash
# Fails when any C++ file of the project differs from what .clang-format gives.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
if ((${#files[@]} == 0)); then
  exit 0
fi
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files clean"
