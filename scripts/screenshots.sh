#!/usr/bin/env bash
# Draws pictures of the main window, its port menu and the handset search
# window, the access dialogs, the scheduler and message windows with sample
# data, and the artwork on its own, into build/screenshots (not kept in git).
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

# The scheduler and message windows and the entry dialogs with sample data,
# drawn by their window tests.
if [[ ! -f build/test/build.ninja ]]; then
  cmake --preset test
fi
cmake --build build/test --target schedule_window_tests messages_window_tests -j2
for test in schedule/schedule_window_tests messages/messages_window_tests; do
  LINKORA_SCREENSHOT_DIR="$PWD/$out" QT_QPA_PLATFORM=offscreen \
    "build/test/tests/$test" --gtest_filter='*Pictures' --gtest_brief=1
done
echo "Pictures are in $out"
