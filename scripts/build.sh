#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR) with the given CMake options.
#   BUILD_DIR     the build folder (default: build/ in the source tree)
#   BUILD_TYPE    the CMake build type (default: RelWithDebInfo)
#   JOBS          how many compile jobs run at once (default: the number of processors)
#   BUILD_TARGET  build only this target (for example vantelo, the program); default: everything
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=${JOBS:-$(nproc)}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build" --parallel "$jobs" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
