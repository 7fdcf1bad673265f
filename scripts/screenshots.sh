#!/usr/bin/env bash
# Draws pictures of the main window (also with a button's keyboard focus),
# its port menu, the handset search window, the access dialogs, the help, a
# file dialog with Qt's texts in Korean, the function windows with sample
# data and their transfer and entry dialogs, and the artwork on its own, into
# build/screenshots (not kept in git).
# Runs on Qt's offscreen platform, so it needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-packages.sh
if [[ ! -f build/app/build.ninja ]]; then
  cmake --preset app
fi
cmake --build build/app --target linkora-artwork -j2
cmake --build build/app --target linkora-phonebook-pictures -j2

out=build/screenshots
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen build/app/src/shell/linkora-artwork screens "$out"
QT_QPA_PLATFORM=offscreen build/app/src/shell/linkora-artwork all "$out/artwork"

# The function windows with sample data, drawn by their window tests.
if [[ ! -f build/test/build.ninja ]]; then
  cmake --preset test
fi
tests=(schedule/schedule_window_tests messages/messages_window_tests media/media_window_tests)
cmake --build build/test --target "${tests[@]##*/}" -j2
for test in "${tests[@]}"; do
  LINKORA_SCREENSHOT_DIR="$PWD/$out" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
    "build/test/tests/$test" --gtest_filter='*Pictures' --gtest_brief=1
done
QT_QPA_PLATFORM=offscreen build/app/src/phonebook/linkora-phonebook-pictures "$out"
echo "Pictures are in $out"
