#!/usr/bin/env bash
# Sets up the machine, builds Vantelo with every test and runs them (JOBS at once, default: the
# number of processors).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
BUILD_TARGET= bash "$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "${JOBS:-$(nproc)}" --timeout 600
