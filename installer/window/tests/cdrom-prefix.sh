#!/usr/bin/env bash
# Prepares the Wine prefix named by WINEPREFIX with a CD drive:
#   cdrom-prefix.sh WINE_RUN LETTER TARGET_DIR
# Wine reads its drive types when the prefix starts, so this waits for the prefix to shut down.
set -euo pipefail
run=$1
letter=$2
target=$3
"$run" --init
rm -rf "$target"
mkdir -p "$target"
ln -sfn "$target" "$WINEPREFIX/dosdevices/$letter:"
"$run" reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d cdrom /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
