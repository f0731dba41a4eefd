#!/usr/bin/env bash
# Builds the fuzz targets with clang, replays every stored reproducer, then runs each target for
# the given seconds (default 30) from its seed corpus and what earlier runs found.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: the file names in tests/fuzz/*.cpp)
# New crashes land in BUILD_DIR/findings/<target>/; logs in BUILD_DIR/logs/. Exits 1 on any failure;
# with FUZZ_NEW_FINDINGS=report a new finding is printed but only a failing stored reproducer fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-30}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(map map_list rules goal_text net_message font shader_split image wave text_format wide_text)
fi

bash "$root/scripts/install_dependencies.sh"
CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build_dir" -j"$(nproc)" > "$build_dir/build.log" 2>&1 || { tail -n 40 "$build_dir/build.log"; exit 1; }

# Fresh seeds every time; the working corpus under corpus/ keeps growing from run to run.
rm -rf "$build_dir/seeds"
"$build_dir/fuzz_seeds" "$root" "$build_dir/seeds"
mkdir -p "$build_dir/logs"
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

failed=()
for target in "${targets[@]}"; do
  program="$build_dir/targets/fuzz_$target"
  reproducers="$root/tests/fuzz/reproducers/$target"
  if [ -d "$reproducers" ] && [ -n "$(ls -A "$reproducers")" ]; then
    # Each file runs once; a crash or a broken property fails the replay.
    if "$program" -close_fd_mask=1 "$reproducers"/* > "$build_dir/logs/$target.replay.log" 2>&1; then
      echo "$target: $(ls "$reproducers" | wc -l) reproducers replayed"
    else
      echo "$target: a stored reproducer fails (see $build_dir/logs/$target.replay.log)"
      grep -E "property failed|ERROR|runtime error|Running:" "$build_dir/logs/$target.replay.log" | tail -n 4 || true
      failed+=("$target (reproducer)")
    fi
  fi

  mkdir -p "$build_dir/corpus/$target" "$build_dir/findings/$target"
  options=(-max_total_time="$seconds" -timeout=10 -close_fd_mask=1 -print_final_stats=1
           -artifact_prefix="$build_dir/findings/$target/")
  # Conversions are cut at the temporary ring's size, which only inputs past 8 KB reach.
  if [ "$target" = wide_text ]; then
    options+=(-max_len=20000)
  fi
  if [ -f "$root/tests/fuzz/dictionaries/$target.dict" ]; then
    options+=(-dict="$root/tests/fuzz/dictionaries/$target.dict")
  fi
  log="$build_dir/logs/$target.log"
  if "$program" "${options[@]}" "$build_dir/corpus/$target" "$build_dir/seeds/$target" > "$log" 2>&1; then
    echo "$target: $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
  else
    echo "$target: FAILED (see $log; the input is in $build_dir/findings/$target/)"
    grep -E "property failed|ERROR|runtime error|SUMMARY" "$log" | head -n 4 || true
    if [ "${FUZZ_NEW_FINDINGS:-fail}" = report ]; then
      echo "$target: new finding reported; keep it under tests/fuzz/reproducers/$target/ once fixed"
    else
      failed+=("$target")
    fi
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}"
  exit 1
fi
