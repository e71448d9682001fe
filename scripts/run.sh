#!/usr/bin/env bash
# Sets up the machine, builds Vantelo and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
cd "$root/samples"
exec "$root/build/vantelo"
