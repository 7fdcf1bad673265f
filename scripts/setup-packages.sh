#!/usr/bin/env bash
# Installs every Debian package Linkora needs to build, test and run.
# Quick when everything is present: apt-get runs only for what is missing.
set -euo pipefail

packages=(
  # toolchain and build
  g++ cmake ninja-build pkg-config
  # core libraries: printf-style texts; the emulator's state file
  libfmt-dev nlohmann-json3-dev
  # iCalendar reading and writing of schedules and D-days
  libical-dev
  # desktop program: Qt 6 Widgets and a font with Korean glyphs
  qt6-base-dev fonts-nanum
  # Qt's own texts (file dialogs, edit menus) in Korean
  qt6-translations-l10n
  # tests and formatting; Xvfb for screenshots of real windows
  libgtest-dev libgmock-dev clang-format xvfb xauth
  # an independent vCard parser that checks the phonebook's vCard export
  python3-vobject
  # Debian package: man pages from the tools' help, shlibdeps, the checks of
  # the package test, the completion's install folder, the Qt translations the
  # program's dialogs use at run time
  help2man dpkg-dev file fakeroot lintian appstream desktop-file-utils man-db
  bash-completion qt6-translations-l10n
  # an independent iCalendar parser that checks our exports in the tests
  python3-icalendar
  # the CSV message export is read back with Python's csv module in a test
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
