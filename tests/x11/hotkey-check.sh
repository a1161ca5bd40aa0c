#!/usr/bin/env bash
# Tries the hotkey on a real X server with a window manager, as a user would: with the
# focus in another program's window, Ctrl+Alt+Space (the default) brings the main window
# forward and focused, the characters typed right after the key reach the search box
# (they find a launcher whose start leaves a mark), and the key pressed again puts the
# window away; with NumLock on (on an unusual modifier) it works the same. The menu's
# "Hotkey..." records another combination, which takes over at once. Started hidden with
# the session, the first call-up keeps the characters typed after the key too. Then
# another program holds the combination first, and Kwiklet tells so in its box and runs
# on without it. Run by hand after scripts/build.sh; needs xvfb, openbox, xdotool and
# x11-utils.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" DISPLAY=:92
export XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME/kwiklet" "$XDG_DATA_HOME/applications" "$work/system" "$work/bin"
cp "$root/build/src/kwiklet" "$work/bin/"
printf '[Options]\nTop=1500\nLeft=1500\n' > "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"
# The launcher the typed characters find; starting it leaves the mark.
printf '[Desktop Entry]\nType=Application\nName=Zorptest\nExec=touch %s/typed\n' "$work" \
  > "$XDG_DATA_HOME/applications/zorptest.desktop"
fail() { echo "FAIL: $*"; exit 1; }
# The visible windows of that name; a search fails when a window goes while it looks.
windows_named() { xdotool search --onlyvisible --name "$1" 2> /dev/null || true; }
find_window() {
  for _ in $(seq 50); do
    windows_named "$1" | head -1 | grep . && return
    sleep 0.2
  done
  return 1
}

Xvfb :92 -screen 0 1024x768x24 > /dev/null 2>&1 &
sleep 1
openbox > /dev/null 2>&1 &
until xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; do sleep 0.2; done
# NumLock on Mod3 rather than the usual Mod2, as some keyboard maps have it: Kwiklet
# reads where it is.
xmodmap -e 'clear mod2' -e 'add mod3 = Num_Lock'
xev -geometry 300x200+600+400 -name "Other Program" > /dev/null 2>&1 &
other=$(find_window '^Other Program$')

# Starts Kwiklet over a new index and goes on from the About window.
go_on() {
  rm -f "$work/bin/avs.dat"
  "$root/build/tools/kwiklet-make-index" "$work/bin/avs.dat" > /dev/null
  # Only the launchers of this check are indexed (openbox needs the system's folders).
  XDG_DATA_DIRS="$work/system" "$work/bin/kwiklet" > "$work/kwiklet.log" 2>&1 &
  kwiklet=$!
  about=$(find_window '^About Kwiklet$')
  xdotool windowactivate --sync "$about" key alt+c
}
main_window() {
  window=$(find_window '^Kwiklet$')
  sleep 2  # the first index is built
}
mapped() { xwininfo -id "$window" | grep -q 'Map State: IsViewable'; }
# Openbox lets no program take the focus within half a second of the user's last
# action in another window, as switching to it counts.
focus_other() {
  xdotool windowactivate --sync "$other"
  [ "$(xdotool getactivewindow)" = "$other" ] || fail "the other window could not be focused"
  sleep 0.6
}
# Presses the key and types the launcher's name and Enter straight after it; true once
# the launcher left its mark, that is once the characters reached the box.
typed_right_after() {
  rm -f "$work/typed"
  xdotool key "$1" type zorptest
  xdotool key Return
  for _ in $(seq 20); do
    [ -e "$work/typed" ] && return
    sleep 0.2
  done
  return 1
}

go_on
main_window
for locks in none numlock; do
  [ "$locks" = numlock ] && xdotool key Num_Lock
  focus_other
  xdotool key ctrl+alt+space
  sleep 0.5
  [ "$(xdotool getactivewindow)" = "$window" ] && mapped ||
    fail "the key left $(xdotool getactivewindow) active ($locks)"
  xdotool key ctrl+alt+space
  sleep 0.5
  ! mapped || fail "the key pressed again left the window shown ($locks)"
  echo "with $locks: the key brings the window forward focused, and again puts it away"
done
xdotool key Num_Lock

# "Hotkey..." (the seventh item of the menu, which a right click on the title line opens)
# records Ctrl+Alt+K; OK takes it in place of Ctrl+Alt+Space.
focus_other
xdotool key ctrl+alt+space
sleep 0.5
read -r x y < <(xwininfo -id "$window" |
  awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
xdotool mousemove $((x + 40)) $((y + 8)) click 3
sleep 0.5
xdotool key Down Down Down Down Down Down Down Return
dialog=$(find_window '^Hotkey$') || fail "no Hotkey window"
xdotool windowactivate --sync "$dialog" key ctrl+alt+k
sleep 0.3
xdotool key Return
sleep 0.5
grep -qx 'Hotkey=Ctrl+Alt+K' "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini" || fail "Ctrl+Alt+K not stored"
focus_other
xdotool key ctrl+alt+space
sleep 0.5
[ "$(xdotool getactivewindow)" = "$other" ] || fail "Ctrl+Alt+Space still calls Kwiklet up"
xdotool key ctrl+alt+k
sleep 0.5
[ "$(xdotool getactivewindow)" = "$window" ] || fail "Ctrl+Alt+K does not call Kwiklet up"
echo "Hotkey...: Ctrl+Alt+K recorded, stored and taken at once, Ctrl+Alt+Space let go"

focus_other
typed_right_after ctrl+alt+k ||
  fail "the characters typed right after the key did not reach the box"
echo "typed right after the key: they reached the box and started the launcher"
kill "$kwiklet"
wait "$kwiklet" || true

# Started with the session while Keep Running is on, Kwiklet loads out of sight and waits
# for the key; the first call-up keeps the characters typed right after it too.
sed -i -e '/^Hotkey=/d' -e 's/^\[Options\]$/[Options]\nStayRunning=1/' \
  "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"
XDG_DATA_DIRS="$work/system" "$work/bin/kwiklet" --autostart > "$work/kwiklet.log" 2>&1 &
kwiklet=$!
sleep 1
[ -z "$(windows_named 'Kwiklet')" ] || fail "started with the session, a window showed"
focus_other
typed_right_after ctrl+alt+space ||
  fail "the first call-up after a start with the session lost the keys"
echo "started hidden with the session: the first call-up keeps the keys typed after it"
kill "$kwiklet"
wait "$kwiklet" || true
sed -i '/^StayRunning=/d' "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"

# Another program holds Ctrl+Alt+Space first, and Kwiklet is back at its default.
sed -i '/^Hotkey=/d' "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"
: > "$work/hold.log"
space=$(xmodmap -pke | awk '$4 == "space" && !found {print $2; found = 1}')
"$root/build/tests/kwiklet-hold-key" 12 "$space" > "$work/hold.log" &
until grep -q held "$work/hold.log"; do sleep 0.1; done
go_on
box=$(find_window '^Kwiklet Hotkey$') ||
  fail "no box tells that the key is taken"
[ "$(windows_named '^Kwiklet Hotkey$' | wc -l)" -eq 1 ] || fail "more than one box"
xdotool windowactivate --sync "$box" key Return
main_window
mapped || fail "Kwiklet did not run on without its key"
echo "taken: one box, and Kwiklet runs on without the key"
echo "PASS"
