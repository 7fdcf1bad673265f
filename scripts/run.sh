#!/usr/bin/env bash
# Runs the desktop program against the handset emulator: builds what is out
# of date (optimised build in build/app), publishes an emulated handset under
# a COM name (COM11 unless LINKORA_EMULATOR_PORT says otherwise), starts
# linkora and stops the emulator when the program ends. Arguments go to the
# emulator after its port; LINKORA_EMULATOR_ARGS adds more.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "linkora: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "linkora: start it from a desktop session, or over ssh -X." >&2
  exit 1
fi

bash scripts/setup-packages.sh
if [[ ! -f build/app/build.ninja ]]; then
  cmake --preset app
fi
cmake --build build/app -j2

program=build/app/src/shell/linkora
emulator=build/app/src/emulator/linkora-emulator
port="${LINKORA_EMULATOR_PORT:-COM11}"
emulator_pid=""

stop_emulator() {
  if [[ -n "$emulator_pid" ]] && kill -0 "$emulator_pid" 2>/dev/null; then
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
}
trap stop_emulator EXIT
trap 'exit 130' INT TERM

if [[ -x "$emulator" ]]; then
  # shellcheck disable=SC2086
  "$emulator" --com "$port" "$@" ${LINKORA_EMULATOR_ARGS:-} &
  emulator_pid=$!
  sleep 1
  if ! kill -0 "$emulator_pid" 2>/dev/null; then
    emulator_pid=""
    echo "linkora: the handset emulator did not start." >&2
    exit 1
  fi
  echo "linkora: emulated handset on $port"
else
  echo "linkora: no handset emulator built ($emulator); starting without one." >&2
fi

status=0
"$program" || status=$?
exit "$status"
