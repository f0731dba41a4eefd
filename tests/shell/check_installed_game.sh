#!/usr/bin/env bash
# Installs the game into a fresh prefix and plays it as a player would: started from an empty
# folder, its own data found beside the program, the player's files in XDG_DATA_HOME. A map saved
# from the editor must land there and nowhere else, and the prefix must stay as installed.
#
#   check_installed_game.sh BUILD_DIR [SECONDS]
#
# Gives up after SECONDS (default 50), saying what it waited for. Needs an X display, xdotool and
# xwd.
set -euo pipefail
build_dir=$1
budget=${2:-50}
work=$(mktemp -d)
game=
cleanup() {
  if [ -n "$game" ] && kill -0 "$game" 2> /dev/null; then
    kill -9 "$game"
    wait "$game" 2> /dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

prefix=$work/prefix data=$work/data
mkdir -p "$work/empty" "$work/home"
cmake --install "$build_dir" --prefix "$prefix" > /dev/null
for file in bin/varnholt share/varnholt/font_info.txt share/varnholt/maps/state/first_steps.txt \
  share/applications/varnholt.desktop share/icons/hicolor/512x512/apps/varnholt.png share/doc/varnholt/README.md; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
prefix_state() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec sha256sum {} + | sort); }
installed=$(prefix_state)

(cd "$work/empty" && exec env -u LD_LIBRARY_PATH XDG_DATA_HOME="$data" HOME="$work/home" SDL_AUDIODRIVER=dummy \
  "$prefix/bin/varnholt" > "$work/output.txt") &
game=$!

# Every wait below ends by the deadline and says what it waited for, so a slow or stuck game fails
# with a reason before the test's own limit.
deadline=$((SECONDS + budget))
in_time() { [ $SECONDS -lt $deadline ]; }
out_of_time() { fail "after $budget s, still $*; the game said: $(cat "$work/output.txt")"; }
alive() { kill -0 "$game" 2> /dev/null; }

window=
while in_time && [ -z "$window" ]; do
  alive || fail "the game ended at start: $(cat "$work/output.txt")"
  window=$(xdotool search --all --pid "$game" --name '^Varnholt$' 2> /dev/null | head -n 1) || true
  [ -n "$window" ] || sleep 0.1
done
[ -n "$window" ] || out_of_time "waiting for a window titled Varnholt"

# The first start copied the shipped lists.
for kind in state pushdown turing; do
  cmp -s "$prefix/share/varnholt/${kind}_maps.txt" "$data/varnholt/${kind}_maps.txt" || fail "no copy of the $kind list"
done

# Keys go to the focused window, which an earlier test may have left elsewhere; focus needs the
# window mapped.
until xdotool windowfocus --sync "$window" 2> /dev/null; do
  in_time || out_of_time "waiting to focus the window"
  sleep 0.1
done

# The title screen moves all the time; the editor's picture is still and costs next to no work.
# Half a second with the same picture and under a quarter of it busy is the editor shown and
# waiting for keys, however slowly the machine got there.
picture() { xwd -id "$window" -silent 2> /dev/null | sha1sum; }
busy_ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
first_picture=$(picture)
settled() {
  local before ticks
  before=$(picture) ticks=$(busy_ticks)
  sleep 0.5
  [ "$before" != "$first_picture" ] && [ "$(picture)" = "$before" ] && [ $(($(busy_ticks) - ticks)) -lt $(($(getconf CLK_TCK) / 8)) ]
}
# A click before the first frame is drawn meets no button, so it is made again until the editor
# is there; in the editor the same point holds no button.
until settled; do
  in_time || out_of_time "waiting for the editor"
  alive || fail "the game ended before the editor opened: $(cat "$work/output.txt")"
  xdotool mousemove --window "$window" 816 752 click 1
done

# Ctrl+S, a name and Return: keys that arrive within one frame still apply in order.
saved=$data/varnholt/custom_pushdown_machines/keptmap
xdotool keydown ctrl key s keyup ctrl type keptmap
xdotool key Return
until [ -f "$saved" ]; do
  in_time || out_of_time "waiting for the editor's map in $saved"
  sleep 0.1
done

# Escape leaves the editor, a second one quits.
while alive; do
  in_time || out_of_time "waiting for the game to quit"
  xdotool mousemove --window "$window" 100 100 key Escape 2> /dev/null || true
  sleep 0.5
done
wait "$game" || fail "the game ended with $?"
game=

[ "$(cat "$work/output.txt")" = "saving map keptmap as $saved" ] || fail "the game said: $(cat "$work/output.txt")"
[ "$(tail -n 1 "$data/varnholt/pushdown_maps.txt")" = "keptmap custom_pushdown_machines/keptmap" ] ||
  fail "the player's list ends with: $(tail -n 1 "$data/varnholt/pushdown_maps.txt")"
[ "$(find "$work" -name keptmap)" = "$saved" ] || fail "the map was written elsewhere too: $(find "$work" -name keptmap)"
[ -z "$(ls -A "$work/empty")" ] || fail "the game wrote into its working folder: $(ls -A "$work/empty")"
[ "$(prefix_state)" = "$installed" ] || fail "the install prefix changed"
echo "the installed game started from an empty folder and kept the player's map in $data/varnholt"
