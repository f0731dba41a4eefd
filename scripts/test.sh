#!/usr/bin/env bash
# Builds everything and runs every test; starts a virtual display when there is none.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build}"
bash "$root/scripts/build.sh"

export SDL_AUDIODRIVER=dummy
run_tests=(ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 300 --label-exclude long)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "${run_tests[@]}"
fi
exec "${run_tests[@]}"
