#!/usr/bin/env bash
# Builds the game and starts it from the repository root, where it finds resources/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" --target varnholt
cd "$root"
exec "$root/build/varnholt"
