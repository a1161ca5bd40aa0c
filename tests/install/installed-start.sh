#!/usr/bin/env bash
# Installs into a temporary prefix and starts the installed program as a user would, on
# a private X server with a home of its own: the first start makes the user's own index
# from the installed one and rebuilds it; the second keeps it as it is, and writes the
# session's entry once Open on Startup is on. Each time, another start while it runs
# hands over and ends.
# Usage: installed-start.sh BUILD_FOLDER. Needs xvfb-run, xdotool and python3.
set -euo pipefail
if [ -z "${KWIKLET_UNDER_XVFB:-}" ]; then
  exec env KWIKLET_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
build=$1
# The real X11 window, whatever the tests around run on.
export QT_QPA_PLATFORM=xcb
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2> /dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/kwiklet.log" 2> /dev/null || true; exit 1; }
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
# A runtime folder and no session bus of its own: no other Kwiklet of this user answers.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
# Only the launcher below is indexed, none of this machine's.
export XDG_DATA_DIRS="$work/system"
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_DATA_DIRS/applications"
printf '[Desktop Entry]\nType=Application\nName=Notes\nExec=true\n' \
  > "$XDG_DATA_HOME/applications/notes.desktop"
own="$XDG_DATA_HOME/kwiklet/avs.dat"
query() {
  python3 -c "import sqlite3,sys; print(*[r[0] for r in sqlite3.connect(sys.argv[1], isolation_level=None).execute(sys.argv[2])])" \
    "$own" "$1"
}

# Starts the installed program, goes on from the About window, waits for the main
# window and ends the program with Esc.
start_and_exit() {
  "$prefix/bin/kwiklet" > "$work/kwiklet.log" 2>&1 &
  local pid=$! about main
  about=$(timeout 30 xdotool search --sync --onlyvisible --name '^About Kwiklet$' | head -1) ||
    fail "no About window"
  xdotool windowfocus --sync "$about" key alt+c
  main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kwiklet$' | head -1) ||
    fail "no main window"
  sleep 1
  # Started again, it hands over to the running copy and ends, with no second window.
  timeout 10 "$prefix/bin/kwiklet" || fail "a second start did not end at once"
  ! xdotool search --onlyvisible --name '^About Kwiklet$' > /dev/null ||
    fail "a second start showed an About window"
  xdotool windowfocus --sync "$main" key Escape
  timeout 30 tail --pid="$pid" -f /dev/null || fail "Esc did not end the program"
}

template="$(md5sum < "$prefix/share/kwiklet/avs.dat")"
start_and_exit
[ -f "$own" ] || fail "the first start made no index of the user's own"
[ "$(query 'select name from filez')" = "Notes" ] || fail "the rebuild stored: $(query 'select name from filez')"
[ ! -e "$prefix/bin/avs.dat" ] || fail "an index was made beside the installed executable"
[ "$(md5sum < "$prefix/share/kwiklet/avs.dat")" = "$template" ] || fail "the installed index changed"
echo "first start: $own holds $(query 'select count(*) from filez') row(s)"

# Something of the user's in their index, which the second start must keep; and Open on
# Startup switched on, so that the second start writes the session's entry.
query "insert into filez (name, path) values ('Marker', '/marker')" > /dev/null
sed -i 's/^\[Options\]$/&\nOOS=1/' "$XDG_CONFIG_HOME/kwiklet/kwiklet.ini"
inode=$(stat -c %i "$own")
start_and_exit
[ "$(stat -c %i "$own")" = "$inode" ] || fail "the second start replaced the index"
[ "$(query 'select name from filez order by name')" = "Marker Notes" ] ||
  fail "the second start left: $(query 'select name from filez order by name')"
echo "second start kept it"
# The entry names the installed program for TryExec: once the package is removed, the
# session skips the entry instead of starting a program that is gone.
autostart="$XDG_CONFIG_HOME/autostart/example.kwiklet.Kwiklet.desktop"
grep -qx "TryExec=$prefix/bin/kwiklet" "$autostart" || fail "the session's entry: $(cat "$autostart")"
grep -qx "Exec=$prefix/bin/kwiklet --autostart" "$autostart" || fail "the session's entry: $(cat "$autostart")"
echo "PASS"
