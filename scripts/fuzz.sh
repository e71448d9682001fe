#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, seeded with the
# table fixtures. A crash fails the run and leaves the input in build-fuzz/crashes/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-30}
build=$root/build-fuzz
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "${JOBS:-$(nproc)}"
mkdir -p "$build/crashes"
status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$build/corpus/$name
  mkdir -p "$corpus"
  seeds=$root/tests/fuzz/seeds/${name#fuzz_}
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -max_len=65536 -artifact_prefix="$build/crashes/$name-" \
       "$corpus" > "$build/$name.log" 2>&1; then
    tail -40 "$build/$name.log"
    status=1
  else
    tail -2 "$build/$name.log"
  fi
done
exit $status
