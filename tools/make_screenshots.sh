#!/usr/bin/env bash
# Makes the README's pictures from the real game: builds it, starts it under a virtual X display,
# plays through the menus and a few turns on each machine kind with the mouse and keys, and saves
# the window into docs/screenshots/.
#
#   bash tools/make_screenshots.sh [BUILD_DIR]     (default: build)
#
# Clicks go to the layout's fixed places in the 1024 x 832 window (x from the left, y from the
# top). The computer seats and the deal are random, so the games differ from run to run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-build}
[[ $build_dir = /* ]] || build_dir=$root/$build_dir

if [ -z "${SCREENSHOTS_UNDER_XVFB:-}" ]; then
  bash "$root/scripts/install_dependencies.sh"
  [ -f "$build_dir/CMakeCache.txt" ] || cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build "$build_dir" -j2 --target varnholt capture_window
  # A display of its own, so nothing else on the screen covers the window.
  SCREENSHOTS_UNDER_XVFB=1 SDL_AUDIODRIVER=dummy exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build_dir"
fi

out=$root/docs/screenshots
mkdir -p "$out"
cd "$root"
"$build_dir/varnholt" > /dev/null &
game=$!
trap 'kill "$game" 2> /dev/null || true' EXIT

window=
for _ in $(seq 100); do
  window=$(xdotool search --pid "$game" --name '^Varnholt$' 2> /dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the game's window did not appear" >&2; exit 1; }
sleep 1

click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.3
}
key() {
  xdotool windowfocus "$window" key "$1"
  sleep 0.3
}
# The computers have played once the turn mark in the top left corner is red again (seat 0).
wait_for_seat_0() {
  local red green blue
  for _ in $(seq 300); do
    read -r red green blue < <("$build_dir/tools/capture_window" "$window" --pixel 112 100)
    (( red > 150 && green < 80 && blue < 80 )) && return 0
    sleep 0.1
  done
  echo "the computers did not hand the turn back" >&2
  exit 1
}
# A picture is taken with the pointer where the last click left it.
shot() {
  sleep 0.5
  "$build_dir/tools/capture_window" "$window" "$out/$1.png"
  echo "wrote docs/screenshots/$1.png"
}

# Main menu, window centre (512, 416): arrows beside the kind's name at y 112, "Play Game" at
# (512, 752). The game starts on the pushdown machine.
move_away() { xdotool mousemove --window "$window" 1000 10; }
move_away
shot main_menu
click 512 752

# Set-up: seat j's row at y 192 + 96 j; "human"/"ai" at x 256, difficulty arrows at 576 and 768.
# Seat 0 stays human, seat 1 becomes a normal computer, seat 2 a hard one.
click 256 288
click 768 288
click 256 384
click 768 384
click 768 384
move_away
shot player_setup
click 512 768

# Map list: map arrows at (352, 112) and (672, 112), "Play" at (512, 752).
move_away
shot map_list

# A new game frames its map; R puts the view back on the world's origin at zoom 1, where the
# positions below are measured.
# Pushdown (colour_square): draw from the deck at (384, 80), end the turn with the arrow at
# (944, 80), let the two computers play, then pick the first hand card and the stone's state.
click 512 752
sleep 1
key r
click 384 80
click 944 80
sleep 1
wait_for_seat_0
click 200 752
click 384 288
shot game_pushdown

# Back to the main menu; "<" there turns the pushdown machine into the state machine.
key Escape
key Escape
click 352 112
click 512 752
click 512 768
# The fourth state map, ladder: move the stone on (256, 320) to (384, 320), let the computers
# answer, then select the stone on (256, 512).
click 672 112
click 672 112
click 672 112
click 512 752
sleep 1
key r
click 256 320
click 384 320
sleep 1
wait_for_seat_0
click 256 512
shot game_state

# "<" once more gives the Turing machine; its fifth map, long_tape: the stone on (352, 256) moves
# to (672, 256), which writes a 6 and moves the head right.
key Escape
key Escape
click 352 112
click 512 752
click 512 768
for _ in 1 2 3 4; do click 672 112; done
click 512 752
sleep 1
key r
click 352 256
click 672 256
sleep 1
wait_for_seat_0
move_away
shot game_turing

key Escape
key Escape
key Escape
wait "$game" || true
trap - EXIT
