#!/usr/bin/env bash
# Installs what is missing, builds, and runs Korvel under Wine on the bundled example packages.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
python3 scripts/demo.py
