#!/usr/bin/env bash
# Builds the .deb of a build tree and checks it as installed: its files,
# lintian, the AppStream and desktop metadata, the man pages, the programs'
# --version and --help, and the bash completion.
# usage: package_test.sh BUILD_DIR VERSION [CPACK]
set -uo pipefail
build=$1
version=$2
cpack=${3:-cpack}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() { # NAME COMMAND...: one check, counted
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}

same() { # EXPECTED ACTUAL
  [[ $1 == "$2" ]] || {
    echo "  expected: '$1'"
    echo "  actual:   '$2'"
    return 1
  }
}

# The package
# gzip rather than the release's xz: the sanitizer build is large, and this is a test.
if ! "$cpack" -G DEB -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "0 passed, 1 failed"
  exit 1
fi
deb="$work/out/linkora_${version}_$(dpkg --print-architecture).deb"
check "the package is named linkora_<version>_<arch>.deb" test -f "$deb" || exit 1

# Every file a user expects, where Debian expects it
dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$work/contents"
expected=(
  /usr/bin/linkora
  /usr/bin/linkora-cli
  /usr/bin/linkora-emulator
  /usr/share/applications/io.github.linkora.Linkora.desktop
  /usr/share/metainfo/io.github.linkora.Linkora.metainfo.xml
  /usr/share/icons/hicolor/16x16/apps/linkora.png
  /usr/share/icons/hicolor/22x22/apps/linkora.png
  /usr/share/icons/hicolor/24x24/apps/linkora.png
  /usr/share/icons/hicolor/32x32/apps/linkora.png
  /usr/share/icons/hicolor/48x48/apps/linkora.png
  /usr/share/icons/hicolor/64x64/apps/linkora.png
  /usr/share/icons/hicolor/128x128/apps/linkora.png
  /usr/share/icons/hicolor/256x256/apps/linkora.png
  /usr/share/icons/hicolor/512x512/apps/linkora.png
  /usr/share/man/man1/linkora.1.gz
  /usr/share/man/man1/linkora-cli.1.gz
  /usr/share/man/man1/linkora-emulator.1.gz
  /usr/share/bash-completion/completions/linkora-cli
  /usr/share/doc/linkora/copyright
  /usr/share/doc/linkora/changelog.gz
  /usr/share/doc/linkora/README.md
  /usr/share/doc/linkora/cli.md
  /usr/share/doc/linkora/protocol.md
  /usr/share/doc/linkora/help/index.html
)
for file in "${expected[@]}"; do
  check "the package holds $file" grep -qxF "$file" "$work/contents"
done

field() { dpkg-deb --field "$deb" "$1"; }
check "Package" same linkora "$(field Package)"
check "Version" same "$version" "$(field Version)"
check "Section" same utils "$(field Section)"
check "Priority" same optional "$(field Priority)"
check "Maintainer" grep -qE '^[^<]+ <[^@ ]+@[^> ]+>$' <<<"$(field Maintainer)"
for dep in 'libc6 ' 'libqt6widgets6' 'libfmt' 'fonts-nanum' 'qt6-translations-l10n'; do
  check "Depends names $dep" grep -qF "$dep" <<<"$(field Depends)"
done
check "the description is in English" grep -qF 'desktop program for the RX-2100' <<<"$(field Description)"
check "the description is in Korean" grep -qF '단말기를 위한 PC 프로그램' <<<"$(field Description)"

# lintian: no errors. Its warnings are listed for the log (docs/packaging.md
# says which are expected of the sanitizer build that the tests package).
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
check "lintian reports no errors" test $? -eq 0
grep -E '^[EW]:' "$work/lintian.log"

# The installed tree
root="$work/root"
dpkg -x "$deb" "$root"
check "appstreamcli validate" appstreamcli validate --no-net --pedantic \
  "$root/usr/share/metainfo/io.github.linkora.Linkora.metainfo.xml"
check "the AppStream release is this version" \
  grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/io.github.linkora.Linkora.metainfo.xml"
check "desktop-file-validate" \
  desktop-file-validate "$root/usr/share/applications/io.github.linkora.Linkora.desktop"

for tool in linkora linkora-cli linkora-emulator; do
  check "$tool --version" same "$tool $version" "$("$root/usr/bin/$tool" --version)"
  check "$tool --help" grep -q "^usage: $tool" <<<"$("$root/usr/bin/$tool" --help)"
done

# Man pages: no groff warnings, and every command and variable is there
for tool in linkora linkora-cli linkora-emulator; do
  page="$root/usr/share/man/man1/$tool.1.gz"
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  check "man $tool renders without warnings" same "" "$warnings"
  MANWIDTH=200 MAN_KEEP_FORMATTING=0 man -l "$page" 2>/dev/null | col -b >"$work/$tool.txt"
  for section in NAME SYNOPSIS DESCRIPTION ENVIRONMENT FILES 'EXIT STATUS' 'SEE ALSO'; do
    check "man $tool has $section" grep -qx "$section" "$work/$tool.txt"
  done
  check "man $tool: the synopsis" grep -qE "^ +$tool .*\[options\]$" "$work/$tool.txt"
done
for variable in LINKORA_PORTS_DIR LINKORA_PROTOCOL_LOG LINKORA_PROFILE; do
  check "man linkora names $variable" grep -qw "$variable" "$work/linkora.txt"
  check "man linkora-cli names $variable" grep -qw "$variable" "$work/linkora-cli.txt"
done
source "$root/usr/share/bash-completion/completions/linkora-cli" 2>/dev/null ||
  source "$root/usr/share/bash-completion/completions/linkora-cli"
commands=$(_linkora_cli_commands "$root/usr/bin/linkora-cli")
check "the tool's help lists commands" test -n "$commands"
while IFS= read -r command; do
  check "man linkora-cli lists '$command'" grep -qF "$command" "$work/linkora-cli.txt"
done <<<"$commands"
check "man linkora-emulator lists --fault" grep -qF -- '--fault' "$work/linkora-emulator.txt"

# Bash completion, as bash-completion calls it
source /usr/share/bash-completion/bash_completion
PATH="$root/usr/bin:$PATH"
complete_line() { # LINE: the sorted completions at its end
  COMP_LINE=$1
  COMP_POINT=${#1}
  read -ra COMP_WORDS <<<"$1"
  [[ $1 == *' ' ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _linkora_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort | xargs
}
cd "$work"
mkdir files files/sub
touch files/book.ndf files/plans.nsf files/plans.ics files/note.txt files/tone.mid
cd files
while IFS='|' read -r line want; do
  check "completes '$line'" same "$want" "$(complete_line "$line")"
done <<'CASES'
linkora-cli pho|phonebook
linkora-cli phonebook |export import pull push show
linkora-cli --port COM1 phonebook p|pull push
linkora-cli --port com1|COM1 COM10 COM11 COM12 COM13 COM14 COM15 COM16
linkora-cli media inspect x --model |rx2100 rx3100
linkora-cli --lo|--lock-code
linkora-cli phonebook pull |book.ndf sub
linkora-cli schedule show |plans.nsf sub
linkora-cli backup |sub
linkora-cli schedule import |plans.ics sub
linkora-cli media push tone.mid |book.ndf note.txt plans.ics plans.nsf sub tone.mid
linkora-cli search |
CASES

echo "$passed passed, $failed failed"
((failed == 0))
