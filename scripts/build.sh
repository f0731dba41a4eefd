#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build), installing missing packages first.
# Arguments go to cmake --build (for example: --target varnholt).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"

bash "$root/scripts/install_dependencies.sh"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DVARNHOLT_BUILD_TESTS=ON -DVARNHOLT_BUILD_BENCHMARKS=ON -DVARNHOLT_WERROR=ON ${CMAKE_OPTIONS:-} > /dev/null
cmake --build "$build_dir" -j"$(nproc)" "$@"
