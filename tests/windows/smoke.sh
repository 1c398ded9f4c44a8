#!/usr/bin/env bash
# Smoke run of the Windows program under Wine, as a person uses it: start tarnholm.exe, open
# a chunk file through the real open dialog (Ctrl+O, type the path, Enter), select a data
# chunk, check that the tree and the dump appear, close the window from its window menu, and check
# that the program ends with exit code 0.
#   tests/windows/smoke.sh path/to/tarnholm.exe results-folder
# Needs a running X server (DISPLAY; scripts/windows-test.sh runs it inside Xvfb), xdotool
# and ImageMagick. Screenshots for a person to check by eye: results-folder/smoke*.png.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
results=$(mkdir -p "$2" && cd "$2" && pwd)
: "${DISPLAY:?the smoke run needs an X server}"

fail() { echo "smoke: FAILED: $*" >&2; exit 1; }
# xdotool with a time limit: --sync waits for as long as the window takes.
xdo() { timeout 20 xdotool "$@" || fail "xdotool $* did not finish"; }
step() { echo "smoke: $*"; }

# A window by exact title, waiting up to `seconds` for it to show.
find_window() {
  local title=$1 seconds=$2 id
  for _ in $(seq $((seconds * 4))); do
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  return 1
}

gone() {
  local title=$1 seconds=$2
  for _ in $(seq $((seconds * 4))); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  return 1
}

# Number of pixels that differ between the same region of two screenshots.
differing_pixels() {
  local a=$1 b=$2 region=$3
  convert "$a" -crop "$region" +repage "$results/crop-a.png"
  convert "$b" -crop "$region" +repage "$results/crop-b.png"
  compare -metric AE "$results/crop-a.png" "$results/crop-b.png" null: 2>&1 | cut -d' ' -f1 || true
  rm -f "$results/crop-a.png" "$results/crop-b.png"
}

# Screenshots `name`.png until `region` differs from `before`.png in more than `minimum`
# pixels, for up to 15 seconds; prints the last count, and fails when it never got there.
shot_until_changed() {
  local name=$1 before=$2 region=$3 minimum=$4 changed=0
  for _ in $(seq 30); do
    import -window root "$results/$name.png"
    changed=$(differing_pixels "$results/$before.png" "$results/$name.png" "$region")
    [ "${changed:-0}" -gt "$minimum" ] && break
    sleep 0.5
  done
  echo "${changed:-0}"
  [ "${changed:-0}" -gt "$minimum" ]
}

# Screenshots `name`.png until two in a row are the same: the window has painted.
shot_when_settled() {
  local name=$1
  import -window root "$results/$name.png"
  for _ in $(seq 20); do
    sleep 0.5
    import -window root "$results/$name-next.png"
    if [ "$(compare -metric AE "$results/$name.png" "$results/$name-next.png" null: 2>&1 | cut -d' ' -f1)" = 0 ]; then
      rm -f "$results/$name-next.png"
      return 0
    fi
    mv "$results/$name-next.png" "$results/$name.png"
  done
  fail "the screen never settled (see $name.png)"
}

# The fixture: a data chunk, then a container holding two data chunks.
fixture="$results/smoke.zmk"
python3 - "$fixture" <<'PY'
import struct, sys
def chunk(kind, body, container=False):
    return struct.pack('<II', kind, len(body) | (0x80000000 if container else 0)) + body
inner = chunk(0x21, b'inside') + chunk(0x22, bytes(range(40)))
open(sys.argv[1], 'wb').write(chunk(0x11, b'Tarnholm smoke fixture \x00\x01\x02\xff' * 3) +
                              chunk(0x20, inner, container=True))
PY
windows_path="Z:$(echo "$fixture" | tr / '\\')"

step "starting $exe"
"$here/../../scripts/windows-run.sh" "$exe" >"$results/smoke.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

main=$(find_window Tarnholm 60) || fail "no window titled Tarnholm appeared"
geometry=$(xdo getwindowgeometry --shell "$main")
eval "$geometry"   # WIDTH, HEIGHT, X, Y
step "main window $main at $X,$Y, $WIDTH x $HEIGHT"
[ "$WIDTH" -ge 700 ] && [ "$HEIGHT" -ge 250 ] || fail "the window is only $WIDTH x $HEIGHT"
# Regions well inside the tree (left 400 pixels, below the caption and menu bar) and the
# data pane (right of the tree, below the width box), whatever frame the window has.
tree_region="340x$((HEIGHT - 120))+$((X + 20))+$((Y + 60))"
pane_region="$((WIDTH - 440))x$((HEIGHT - 120))+$((X + 410))+$((Y + 75))"
shot_when_settled smoke-start

step "Ctrl+O, then the path in the open dialog"
xdo windowfocus --sync "$main"
xdo key --clearmodifiers ctrl+o
dialog=$(find_window Open 30) || fail "Ctrl+O showed no dialog titled Open"
xdo windowfocus --sync "$dialog"
sleep 0.5
xdo type --delay 10 "$windows_path"
xdo key Return
gone Open 30 || fail "the open dialog did not close after Enter"
[ "$(xdo getwindowname "$main")" = Tarnholm ] || fail "the title is not Tarnholm"
changed=$(shot_until_changed smoke-opened smoke-start "$tree_region" 200) ||
  fail "the tree shows nothing after the open (see smoke-opened.png)"
step "tree region: $changed pixels changed by the open"
shot_when_settled smoke-opened

# Inserting items selects none, and arrow keys only move a selection; typing the start of
# a label selects the first item that has it.
step "typing 0: the first data chunk"
xdo windowfocus --sync "$main"
xdo type 0
changed=$(shot_until_changed smoke smoke-opened "$pane_region" 500) ||
  fail "the data pane shows no dump after the selection (see smoke.png)"
step "data pane region: $changed pixels changed by the selection"
shot_when_settled smoke

step "keys: Down to the container, Right to expand it, Down to its first data chunk"
xdo key Down
sleep 0.3
xdo key Right
sleep 0.3
xdo key Down
changed=$(shot_until_changed smoke-keys smoke "$pane_region" 200) ||
  fail "the data pane did not follow the keys (see smoke-keys.png)"
step "data pane region: $changed pixels changed by the keys"
shot_when_settled smoke-keys

# Close from the window menu (Alt+Space, Close): SC_CLOSE, then WM_CLOSE, as Alt+F4 on
# Windows. Wine leaves Alt+F4 to the X window manager, and Xvfb runs none.
step "window menu, Close"
xdo windowfocus --sync "$main"
xdo key --clearmodifiers alt+space
shot_until_changed smoke-menu smoke-keys "300x200+$X+$Y" 500 >/dev/null ||
  fail "Alt+Space showed no window menu (see smoke-menu.png)"
xdo key c
status=0
for _ in $(seq 120); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.25
done
if kill -0 $pid 2>/dev/null; then
  import -window root "$results/smoke-closing.png"
  fail "the program is still running 30 seconds after Close (see smoke-closing.png)"
fi
wait $pid || status=$?
trap - EXIT
[ $status -eq 0 ] || fail "the program ended with exit code $status (log: $results/smoke.log)"
step "passed; screenshots in $results"
