#!/usr/bin/env bash
# Runs a 64-bit Windows program under Wine: the cross-compiling emulator of the win64 build.
#   wine-run.sh --init            create the prefix named by WINEPREFIX (idempotent)
#   wine-run.sh PROGRAM [ARGS...] run PROGRAM in that prefix
# Only the 64-bit loader is used: 32-bit Linux binaries cannot execute on our machines.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
export WINEPREFIX
WINE=/usr/lib/wine/wine64

init_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
}

if [ "${1:-}" = "--init" ]; then
  init_prefix
  test -f "$WINEPREFIX/system.reg"
  exit 0
fi
init_prefix
exec "$WINE" "$@"
