#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs the test suite there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=$root/build-asan BUILD_TYPE=Debug
bash "$root/scripts/build.sh" -DVANTELO_SANITIZE=ON -DVANTELO_BENCHMARKS=OFF
cd "$BUILD_DIR"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "${JOBS:-$(nproc)}" --timeout 900
