#!/usr/bin/env bash
# Takes the README's screenshots on a private X server with a window manager: the About
# window at start-up, the main window with a search typed, and the skin editor beside
# it. Run after scripts/build.sh; needs xvfb, openbox, xdotool, x11-utils and
# imagemagick. Writes docs/screenshots/*.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/docs/screenshots"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export DISPLAY=:96
mkdir -p "$XDG_CONFIG_HOME/kwiklet" "$HOME/.local/share/applications" "$work/bin" "$out"
cp "$root/build/src/kwiklet" "$work/bin/"
"$root/build/tools/kwiklet-make-index" "$work/bin/avs.dat" > /dev/null
printf '[Options]\nTop=1500\nLeft=1500\n' > "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"
# A few launchers for the first start to index.
for name in Notes "Notepad Plus" "Nomad Music Player" "Network Manager" Terminal "Text Editor" \
            Files Calculator Calendar; do
  printf '[Desktop Entry]\nType=Application\nName=%s\nExec=true\n' "$name" \
    > "$HOME/.local/share/applications/${name// /-}.desktop"
done

Xvfb :96 -screen 0 1024x600x24 > /dev/null 2>&1 &
sleep 1
openbox > /dev/null 2>&1 &
until xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; do sleep 0.2; done
# Only the launchers below, none of this machine's.
XDG_DATA_DIRS="$work/none" "$work/bin/kwiklet" > "$work/kwiklet.log" 2>&1 &

# The window's picture with its window manager's frame, if it has one.
shoot() {
  local window=$1 file=$2 frame
  frame=$(xwininfo -id "$window" -children | awk '/Parent window id/ {print $4}')
  [ "$(xwininfo -id "$frame" | awk '/Map State/ {print $3}')" = IsViewable ] &&
    [ "$frame" != "$(xwininfo -root | awk '/Window id/ {print $4}')" ] || frame=$window
  import -window "$frame" "$out/$file"
  echo "wrote $out/$file"
}

about=$(xdotool search --sync --onlyvisible --name '^About Kwiklet$' | head -1)
sleep 1
shoot "$about" about.png
xdotool windowactivate --sync "$about" key alt+c
main=$(xdotool search --sync --onlyvisible --name '^Kwiklet$' | head -1)
sleep 2
xdotool type --delay 100 no
sleep 1
shoot "$main" main-window.png

# "Skinz" is the middle button of the row under the title line.
read -r x y < <(xwininfo -id "$main" |
  awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
xdotool mousemove $((x + 200)) $((y + 38)) click 1
editor=$(xdotool search --sync --onlyvisible --name '^Gradient Background Demonstration$' | head -1)
sleep 1
shoot "$editor" skin-editor.png
