#!/usr/bin/env bash
# Sets up the machine, builds the program (not the tests) and starts it in its working folder,
# which holds copies of the sample tables (see scripts/working_folder.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
TARGET=vantelo bash "$root/scripts/build.sh"
data=$(bash "$root/scripts/working_folder.sh")
cd "$data"
exec "${BUILD_DIR:-$root/build}/vantelo"
