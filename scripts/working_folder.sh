#!/usr/bin/env bash
# Makes the folder the program works in and prints its path: $XDG_DATA_HOME/vantelo
# (~/.local/share/vantelo when XDG_DATA_HOME is not set). Each sample table the folder does not
# hold is copied into it; tables already there are left as they are. The program's commands
# write into the open table, so they change these copies, never the samples in samples/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
base=${XDG_DATA_HOME:-}
# A relative XDG_DATA_HOME is not a valid setting and is ignored.
[[ $base == /* ]] || base=$HOME/.local/share
data=$base/vantelo
mkdir -p "$data"
for sample in "$root"/samples/*; do
  [ -f "$sample" ] || continue
  copy=$data/$(basename "$sample")
  [ -e "$copy" ] || cp "$sample" "$copy"
done
printf '%s\n' "$data"
