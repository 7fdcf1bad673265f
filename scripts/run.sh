#!/usr/bin/env bash
# Runs the desktop program against the handset emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "linkora: the desktop program is not built yet; only the core library and its tests exist." >&2
exit 1
