#!/usr/bin/env bash
# Runs Linkora against the handset emulator: builds what is out of date
# (optimised build in build/app), publishes an emulated handset under a COM
# name (COM11 unless LINKORA_EMULATOR_PORT says otherwise; its state is kept in
# build/app/handset.json between runs), then
#  - with a display: starts the desktop program, and stops the emulator when
#    the program ends;
#  - without one: backs the emulated handset up with linkora-cli into
#    build/backups/ and shows what the backup holds.
# Arguments go to the emulator after its port; LINKORA_EMULATOR_ARGS adds more.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-packages.sh
if [[ ! -f build/app/build.ninja ]]; then
  cmake --preset app
fi
cmake --build build/app -j2

program=build/app/src/shell/linkora
cli=build/app/src/cli/linkora-cli
emulator=build/app/src/emulator/linkora-emulator
port="${LINKORA_EMULATOR_PORT:-COM11}"
# The sample handset is locked: these are its phone number and lock code.
phone=01612345678
lock_code=1234
emulator_pid=""

stop_emulator() {
  if [[ -n "$emulator_pid" ]] && kill -0 "$emulator_pid" 2>/dev/null; then
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
}
trap stop_emulator EXIT
trap 'exit 130' INT TERM

# Starts the emulator and waits until it has published its port.
start_emulator() {
  local ports_dir=$1
  shift
  local log=build/app/emulator.log
  # shellcheck disable=SC2086
  "$emulator" --com "$port" --ports-dir "$ports_dir" --state build/app/handset.json \
    --lock 1 --lock-code "$lock_code" --phone "$phone" "$@" ${LINKORA_EMULATOR_ARGS:-} \
    >"$log" 2>&1 &
  emulator_pid=$!
  for _ in $(seq 50); do
    if grep -q "^linkora-emulator: $port -> " "$log" 2>/dev/null; then
      echo "linkora: emulated handset on $port (phone number 016-1234-5678, lock code $lock_code)"
      return 0
    fi
    if ! kill -0 "$emulator_pid" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  emulator_pid=""
  echo "linkora: the handset emulator did not start:" >&2
  cat "$log" >&2
  exit 1
}

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "linkora: no display (neither DISPLAY nor WAYLAND_DISPLAY is set);" \
    "backing the emulated handset up with linkora-cli instead of opening the window."
  ports_dir=$(mktemp -d)
  start_emulator "$ports_dir" "$@"
  backup="build/backups/backup-$(date +%Y%m%d-%H%M%S)"
  status=0
  LINKORA_PORTS_DIR="$ports_dir" "$cli" backup "$backup" --port "$port" \
    --phone "$phone" --lock-code "$lock_code" --quiet || status=$?
  if [[ $status -eq 0 ]]; then
    echo "linkora: the backup is in $backup:"
    (cd "$backup" && find . -type f | sort | sed 's|^\./|  |')
  fi
  rm -rf "$ports_dir"
  exit "$status"
fi

# The program sees the emulator's ports folder (and no other serial device,
# so its search is quick); set LINKORA_PORTS_DIR to use another one.
export LINKORA_PORTS_DIR="${LINKORA_PORTS_DIR:-$PWD/build/app/ports}"
mkdir -p "$LINKORA_PORTS_DIR"
start_emulator "$LINKORA_PORTS_DIR" "$@"
status=0
"$program" || status=$?
exit "$status"
