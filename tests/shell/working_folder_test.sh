#!/usr/bin/env bash
# The folder scripts/run.sh starts the program in: where it lies, that it is filled with copies
# of the sample tables, and that the user's tables there (and the samples) are never replaced.
# Usage: working_folder_test.sh SOURCE_DIR
set -euo pipefail
src=$1
script=$src/scripts/working_folder.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

samples=()
for s in "$src"/samples/*; do samples+=("$(basename "$s")"); done
[ ${#samples[@]} -ge 2 ] || fail "expected the sample tables in $src/samples"
sums_before=$(cd "$src/samples" && sha256sum -- *)

# Where the folder lies, by the environment.
while IFS='|' read -r what xdg home expected; do
  got=$(env -u XDG_DATA_HOME ${xdg:+XDG_DATA_HOME=$xdg} HOME="$home" bash "$script")
  [ "$got" = "$expected" ] || fail "$what: printed '$got', expected '$expected'"
  [ -d "$expected" ] || fail "$what: $expected was not made"
done <<CASES
XDG_DATA_HOME set|$tmp/xdg|$tmp/home1|$tmp/xdg/vantelo
XDG_DATA_HOME unset||$tmp/home2|$tmp/home2/.local/share/vantelo
XDG_DATA_HOME relative|relative/data|$tmp/home3|$tmp/home3/.local/share/vantelo
CASES
case "$tmp/xdg/vantelo" in "$src"/*) fail "the working folder lies inside the source tree" ;; esac

# A new folder holds a copy of every sample, byte for byte.
data=$tmp/xdg/vantelo
for s in "${samples[@]}"; do
  cmp -s "$src/samples/$s" "$data/$s" || fail "new folder: $s is not a copy of the sample"
done

# The user's changed table stays as the user left it; a table the user removed comes back as a
# fresh copy; a table of the user's own is left alone.
changed=${samples[0]}
removed=${samples[1]}
printf 'changed by a command' >> "$data/$changed"
changed_sum=$(sha256sum < "$data/$changed")
rm "$data/$removed"
printf 'own' > "$data/own.DB"
XDG_DATA_HOME=$tmp/xdg HOME=$tmp/home1 bash "$script" > /dev/null
[ "$(sha256sum < "$data/$changed")" = "$changed_sum" ] || fail "second start replaced the changed $changed"
cmp -s "$src/samples/$removed" "$data/$removed" || fail "second start did not copy the removed $removed again"
[ "$(cat "$data/own.DB")" = "own" ] || fail "second start changed the user's own table"

# The samples themselves are never touched.
[ "$(cd "$src/samples" && sha256sum -- *)" = "$sums_before" ] || fail "the samples changed"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "working folder: all cases passed"
