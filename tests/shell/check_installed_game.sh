#!/usr/bin/env bash
# Installs the game into a fresh prefix and plays it as a player would: started from an empty
# folder, its own data found beside the program, the player's files in XDG_DATA_HOME. A map saved
# from the editor must land there and nowhere else, and the prefix must stay as installed.
#
#   check_installed_game.sh BUILD_DIR
#
# Needs an X display and xdotool.
set -euo pipefail
build_dir=$1
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
window=
for _ in $(seq 600); do
  window=$(xdotool search --all --pid "$game" --name '^Varnholt$' 2> /dev/null | head -n 1) || true
  [ -n "$window" ] && break
  kill -0 "$game" 2> /dev/null || fail "the game ended at start: $(cat "$work/output.txt")"
  sleep 0.1
done
[ -n "$window" ] || fail "no window titled Varnholt appeared"

# The first start copied the shipped lists.
for kind in state pushdown turing; do
  cmp -s "$prefix/share/varnholt/${kind}_maps.txt" "$data/varnholt/${kind}_maps.txt" || fail "no copy of the $kind list"
done

# Keys go to the focused window, which an earlier test may have left elsewhere; focus needs the
# window mapped.
for _ in $(seq 100); do
  xdotool windowfocus --sync "$window" 2> /dev/null && break
  sleep 0.1
done
# The main menu's "Editor" button, then Ctrl+S, a name and Return. Ctrl stays down across frames.
# A loaded machine may take longer than the pauses between the steps, so the whole attempt is made
# again with longer pauses until the map is there: in the editor the click hits nothing and Ctrl+S
# opens the dialog afresh.
saved=$data/varnholt/custom_pushdown_machines/keptmap
for pause in 0.5 1 2 4; do
  xdotool mousemove --window "$window" 816 752 sleep "$pause" click 1 sleep "$pause" \
    keydown ctrl sleep "$pause" key s sleep "$pause" keyup ctrl sleep "$pause" type --delay 150 keptmap
  xdotool sleep "$pause" key Return
  for _ in $(seq 50); do
    [ -f "$saved" ] && break 2
    sleep 0.1
  done
done
[ -f "$saved" ] || fail "the editor's map is not in $saved; the game said: $(cat "$work/output.txt")"

# Escape leaves the editor, a second one quits.
for _ in $(seq 20); do
  kill -0 "$game" 2> /dev/null || break
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
