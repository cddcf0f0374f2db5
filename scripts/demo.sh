#!/usr/bin/env bash
# Runs Korvel under Wine on the bundled example packages.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
echo "Korvel is not built far enough yet to run the example packages."
