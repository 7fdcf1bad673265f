#!/usr/bin/env bash
# Draws pictures of the main window, its port menu, the handset search
# window and the media windows, and the artwork on its own, into
# build/screenshots (not kept in git).
# Runs on Qt's offscreen platform, so it needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-packages.sh
if [[ ! -f build/app/build.ninja ]]; then
  cmake --preset app
fi
cmake --build build/app --target linkora-artwork -j2

out=build/screenshots
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen build/app/src/shell/linkora-artwork screens "$out"
QT_QPA_PLATFORM=offscreen build/app/src/shell/linkora-artwork all "$out/artwork"
# The media window and its transfer window, drawn by their test program.
if [[ ! -f build/test/build.ninja ]]; then
  cmake --preset test
fi
cmake --build build/test --target media_window_tests -j2
LINKORA_SCREENSHOTS="$PWD/$out" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
  build/test/tests/media/media_window_tests --gtest_filter='*.Pictures'
echo "Pictures are in $out"
