#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (sanitizers on,
# warnings as errors), checks the formatting and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-packages.sh
bash scripts/check-format.sh

cmake --preset test
cmake --build --preset test
ctest --preset test
