#!/usr/bin/env bash
# Draws pictures of the main window, its port menu and the handset search
# window, the phonebook window with a sample phonebook, the avatar picker,
# and the artwork on its own, into build/screenshots (not kept in git).
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
QT_QPA_PLATFORM=offscreen build/app/src/phonebook/linkora-phonebook-pictures "$out"
echo "Pictures are in $out"
