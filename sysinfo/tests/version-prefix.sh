#!/usr/bin/env bash
# Makes the Wine prefix named by WINEPREFIX report the Windows version $2 (winxp64, win7, win10).
#   version-prefix.sh WINE-RUN VERSION
set -euo pipefail
run=$1
version=$2
"$run" --init
"$run" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null
/usr/lib/wine/wineserver -w
"$run" reg query 'HKCU\Software\Wine' /v Version | grep -q "$version"
