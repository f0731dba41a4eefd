#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build), installing missing packages first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"

bash "$root/scripts/install_dependencies.sh"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" > /dev/null
cmake --build "$build_dir" -j"$(nproc)"
