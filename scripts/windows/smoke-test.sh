#!/usr/bin/env bash
# The smoke test of the unzipped Windows folder, run by scripts/windows/build.sh inside a private
# network namespace (scripts/windows/private-network.sh):
#
#   TARVELO_SMOKE_DIR  the unzipped folder Tarvelo/
#   TARVELO_CARSIM     a Linux tarvelo-carsim
#   TARVELO_SMOKE_WORK a scratch folder
#
# 1. tarvelo-cli.exe, started from the folder, writes sample.kelta into the simulated car on
#    127.0.0.1: the log ends with "[ COMPLETE ]" and the car stores the very same bytes.
# 2. tarvelo.exe starts in an Xvfb display and shows its main window.
# The programs find their DLLs in their own folder only: Wine gets no path to the build.
set -euo pipefail
# shellcheck source=../lib.sh
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../lib.sh"
TARVELO_LOG_NAME=smoke-test
dir=${TARVELO_SMOKE_DIR:?}
carsim=${TARVELO_CARSIM:?}
work=${TARVELO_SMOKE_WORK:?}

[ "${TARVELO_PRIVATE_NETWORK:-}" = 1 ] || { tarvelo_log "run me through scripts/windows/private-network.sh"; exit 2; }

cache=$(tarvelo_cache_dir)
export WINEPREFIX="${WINEPREFIX:-$cache/wineprefix}"
export WINEDEBUG=-all
# The namespace's own folder for the wineserver's socket, as wine-run takes it.
export TMPDIR="${TARVELO_WINE_TMPDIR:?}"
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH WINEQT_PLUGIN_PATH WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR DISPLAY
wine=$(command -v wine)

pids=()
stop_programs() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_programs EXIT

# 1. A write from the command line.
stored=$work/head-unit.kelta
"$carsim" --bind 127.0.0.1 --store "$stored" >"$work/carsim.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q "gateway on" "$work/carsim.log" && break; sleep 0.1; done
grep -q "gateway on" "$work/carsim.log" || { cat "$work/carsim.log" >&2; tarvelo_log "the simulated car did not start"; exit 1; }

cd "$dir"
"$wine" tarvelo-cli.exe write --host 127.0.0.1 sample.kelta >"$work/write.log" 2>&1 || true
tr -d '\r' <"$work/write.log" >&2
grep -q '^\[ COMPLETE \]' <(tr -d '\r' <"$work/write.log") || { tarvelo_log "tarvelo-cli.exe did not complete the write"; exit 1; }
cmp sample.kelta "$stored" || { tarvelo_log "the simulated car stores other bytes than sample.kelta"; exit 1; }
tarvelo_log "tarvelo-cli.exe wrote sample.kelta into the simulated car: [ COMPLETE ], stored file identical"

# 2. The desktop program's main window in an X display. Its wineserver must be a new one: the
# one of the write above started Wine's desktop without a display, and a program that joins it
# shows its windows nowhere.
wineserver -w || true

# 2. The desktop program's main window in an X display.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { tarvelo_log "Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display")
"$wine" tarvelo.exe >"$work/tarvelo.log" 2>&1 &
pids+=($!)
window=""
for _ in $(seq 120); do
  window=$(xdotool search --name "Quenmark" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { cat "$work/tarvelo.log" >&2; tarvelo_log "tarvelo.exe showed no main window within a minute"; exit 1; }
tarvelo_log "tarvelo.exe shows its main window: \"$(xdotool getwindowname "$window")\""
