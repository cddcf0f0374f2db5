#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb server, and stops that server afterwards.
#   with-xvfb.sh COMMAND [ARGS...]
set -euo pipefail
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$number_file"
}
trap cleanup EXIT
for _ in $(seq 1 100); do
  [ -s "$number_file" ] && break
  sleep 0.1
done
display=$(head -n 1 "$number_file")
[ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$display" "$@"
