#!/usr/bin/env bash
# Builds the Debian package: the optimised build of the app preset, then
# CPack. The package lands in build/app as linkora_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-packages.sh
cmake --preset app
cmake --build --preset app
(cd build/app && cpack -G DEB)
ls -1 build/app/linkora_*.deb
