#!/usr/bin/env bash
# A version.dll planted in Korvel's folder must not be loaded, even when Wine is asked to prefer
# native DLLs to its own (version=n,b).
#   dll_planting_test.sh WINE_RUN KORVEL_EXE PLANTED_DLL NAIVE_LOADER WORK_DIR
set -euo pipefail
wine_run=$1 korvel=$2 planted=$3 naive=$4 work=$5
rm -rf "$work"
mkdir -p "$work/pkg"
cp "$korvel" "$work/Korvel.exe"
cp "$planted" "$work/version.dll"
cp "$naive" "$work/naive_loader.exe"
# One package whose check reads a file version, so that Korvel binds version.dll while loading.
# The check is false, so nothing is offered and "/silent" ends without a window or a box.
printf '%s\n' \
  '<package id="probe" priority="1" name="Probe" group="Test">' \
  '  <check type="file" condition="&lt;" value="0.0.0.1" path="%windir%\system32\kernel32.dll"/>' \
  '  <install><cmd path="%package%\setup.exe"/></install>' \
  '</package>' > "$work/pkg/package.xml"
export WINEDLLOVERRIDES="version=n,b;mscoree,mshtml="
marker="$work/planted-version-loaded"
cd "$work"

# Control: the ordinary search order does pick the planted DLL up in this setting.
"$wine_run" ./naive_loader.exe || true
if [ ! -f "$marker" ]; then
  echo "control failed: a plain LoadLibrary did not load the planted version.dll, so this test could not see one" >&2
  exit 1
fi
rm -f "$marker"

status=0
WINEDEBUG=+loaddll "$wine_run" ./Korvel.exe /silent 2>loaddll.txt || status=$?
if [ "$status" -ne 0 ]; then
  echo "Korvel.exe /silent ended with $status" >&2
  exit 1
fi
if [ -f "$marker" ]; then
  echo "Korvel loaded the planted version.dll from its own folder" >&2
  grep -i 'version' loaddll.txt >&2 || true
  exit 1
fi
if ! grep -iq 'system32\\\\version.dll' loaddll.txt; then
  echo "Korvel did not bind version.dll from the system directory; the check proved nothing" >&2
  grep -i 'version' loaddll.txt >&2 || true
  exit 1
fi
echo "planted version.dll ignored; version.dll bound from the system directory"
