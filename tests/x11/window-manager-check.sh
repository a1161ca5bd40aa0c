#!/usr/bin/env bash
# Tries the borderless window on a real X server with a window manager, as a user would:
# goes on from the About window, drags the main window with the pointer and checks that
# the saved position is where the window is, checks that the About window and the skin
# editor ask for a frame without maximising or resizing, switches "Always on Top" off and on through
# the menu, checking the window manager's "above" state and that the window was never
# unmapped, and sets a transparency level in the skin editor, checking the opacity
# property each window carries. Run by hand after scripts/build.sh; needs xvfb, openbox,
# xdotool and x11-utils (apt-get install them).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" DISPLAY=:97
mkdir -p "$XDG_CONFIG_HOME/kwiklet" "$work/bin"
cp "$root/build/src/kwiklet" "$work/bin/"
"$root/build/tools/kwiklet-make-index" "$work/bin/avs.dat" > /dev/null
printf '[Options]\nTop=1500\nLeft=1500\n' > "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"

Xvfb :97 -screen 0 1024x768x24 > /dev/null 2>&1 &
sleep 1
openbox > /dev/null 2>&1 &
until xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; do sleep 0.2; done
"$work/bin/kwiklet" > "$work/kwiklet.log" 2>&1 &
about=$(xdotool search --sync --onlyvisible --name '^About Kwiklet$' | head -1)
fail() { echo "FAIL: $*"; exit 1; }
# The Motif functions a window asks for: neither "all" (1), resize (2) nor maximise (16).
one_size() {
  local hints functions
  hints=$(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/.* = //p')
  functions=$(cut -d, -f2 <<< "$hints")
  [ -n "$hints" ] && (((functions & 0x13) == 0)) || fail "$2 may be resized or maximised: $hints"
  echo "$2: one size, Motif hints $hints"
}
one_size "$about" "About window"
xdotool windowactivate --sync "$about" key alt+c
window=$(xdotool search --sync --onlyvisible --name '^Kwiklet$' | head -1)
sleep 2
position() { xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'; }
setting() { sed -n "s/^$1=//p" "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"; }

read -r x y < <(position)
# Grab the title line and drag by (+200, +140) in small steps.
xdotool mousemove $((x + 40)) $((y + 8)) mousedown 1
for _ in $(seq 20); do xdotool mousemove_relative 10 7; sleep 0.02; done
xdotool mouseup 1
sleep 0.5
read -r nx ny < <(position)
[ "$nx" -eq $((x + 200)) ] && [ "$ny" -eq $((y + 140)) ] ||
  fail "the window is at $nx,$ny, the pointer left it at $((x + 200)),$((y + 140))"
[ "$(setting Top)" -eq $((ny * 15)) ] && [ "$(setting Left)" -eq $((nx * 15)) ] ||
  fail "saved Top=$(setting Top) Left=$(setting Left), the window is at $nx,$ny"
echo "drag: window at $nx,$ny, saved Top=$(setting Top) Left=$(setting Left)"

xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "not above at start"
xev -id "$window" -event structure > "$work/xev.log" 2>&1 &
for expected in off on; do
  xdotool mousemove $((nx + 40)) $((ny + 8)) click 3
  sleep 0.8
  # "Always on Top" is the sixth line of the menu, which opens at the pointer.
  xdotool mousemove $((nx + 100)) $((ny + 8 + 100)) click 1
  sleep 0.8
  state=$(xprop -id "$window" _NET_WM_STATE)
  if [ "$expected" = on ]; then
    grep -q ABOVE <<< "$state" || fail "switched on, but: $state"
  else
    ! grep -q ABOVE <<< "$state" || fail "switched off, but: $state"
  fi
  [ "$(position)" = "$nx $ny" ] || fail "the window moved to $(position)"
  echo "always on top $expected: $state"
done
! grep -q "UnmapNotify" "$work/xev.log" || fail "the window was unmapped"

# The level as the window manager reads it: 0 to 0xffffffff; absent means opaque.
opacity() { xprop -id "$1" _NET_WM_WINDOW_OPACITY | sed -n 's/.* = //p'; }
[ -z "$(opacity "$window")" ] || fail "opacity $(opacity "$window") before any was chosen"
# "Skinz" is the middle button of the row under the title line.
xdotool mousemove $((nx + 200)) $((ny + 38)) click 1
editor=$(xdotool search --sync --onlyvisible --name '^Gradient Background Demonstration$')
one_size "$editor" "skin editor"
sleep 1
read -r ex ey < <(xwininfo -id "$editor" |
  awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
# The transparency slider, at the end of its groove; Home takes it to 0, then 20 large
# steps of 5 to 100.
xdotool mousemove $((ex + 420)) $((ey + 214)) click 1 key Home
for _ in $(seq 20); do xdotool key Prior; done
sleep 0.5
expected=$((100 * 0xffffffff / 255))
[ "$(opacity "$editor")" = "$expected" ] || fail "editor opacity $(opacity "$editor")"
[ -z "$(opacity "$window")" ] || fail "the main window changed before the update"
# "Update form background".
xdotool mousemove $((ex + 332)) $((ey + 194)) click 1
sleep 0.5
[ "$(opacity "$window")" = "$expected" ] || fail "main window opacity $(opacity "$window")"
[ "$(setting TransVal)" = 100 ] || fail "saved TransVal=$(setting TransVal)"
echo "transparency: both windows at $expected of 4294967295, TransVal=100"
echo "PASS"
