#!/usr/bin/env bash
# Sets up the machine, builds the program (not the tests) and starts it in its working folder,
# which holds copies of the sample tables (see scripts/working_folder.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
BUILD_TARGET=vantelo bash "$root/scripts/build.sh"
program=$(cd "${BUILD_DIR:-$root/build}" && pwd)/vantelo
data=$(bash "$root/scripts/working_folder.sh")
echo "Vantelo works in $data"
cd "$data"
exec "$program"
