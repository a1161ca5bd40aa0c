#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: every file in its standard place and
# nothing else, a valid desktop entry, the icons at their sizes, the manual page; then
# which index an installed and a portable copy say they use.
# Usage: install-layout.sh BUILD_FOLDER
set -euo pipefail
build=$1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null

expected="bin/kwiklet
share/applications/example.kwiklet.Kwiklet.desktop
share/doc/kwiklet/copyright
share/icons/hicolor/16x16/apps/kwiklet.png
share/icons/hicolor/32x32/apps/kwiklet.png
share/icons/hicolor/48x48/apps/kwiklet.png
share/icons/hicolor/scalable/apps/kwiklet.svg
share/kwiklet/avs.dat
share/man/man1/kwiklet.1.gz"
installed="$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)"
[ "$installed" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$installed") || true)"
[ -x "$prefix/bin/kwiklet" ] || fail "the executable cannot be run"

desktop-file-validate "$prefix/share/applications/example.kwiklet.Kwiklet.desktop" ||
  fail "desktop-file-validate rejects the entry"
grep -qx 'StartupWMClass=kwiklet' "$prefix/share/applications/example.kwiklet.Kwiklet.desktop" ||
  fail "StartupWMClass does not name the window's class"
for size in 16 32 48; do
  read -r width height < <(python3 - "$prefix/share/icons/hicolor/${size}x$size/apps/kwiklet.png" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read(24)
assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
print(*struct.unpack('>II', data[16:24]))
PY
)
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "the ${size}px icon is ${width}x$height"
done
gzip -t "$prefix/share/man/man1/kwiklet.1.gz" || fail "the manual page is no gzip file"
zcat "$prefix/share/man/man1/kwiklet.1.gz" | grep -q '^\.TH KWIKLET 1' || fail "no manual page"
[ "$("$prefix/bin/kwiklet" --version)" = "Kwiklet 1.0" ] || fail "--version"
# The installed empty index is an index, with no rows.
rows=$(python3 -c "import sqlite3,sys; print(sqlite3.connect('file:'+sys.argv[1]+'?mode=ro', uri=True).execute('select count(*) from filez').fetchone()[0])" "$prefix/share/kwiklet/avs.dat")
[ "$rows" = 0 ] || fail "the installed index holds $rows rows"

# Which index each copy uses (it needs no display to say so).
export HOME="$work/home" XDG_DATA_HOME=""
index() { "$1" --help | sed -n 's/^Index database: //p'; }
[ "$(index "$prefix/bin/kwiklet")" = "$HOME/.local/share/kwiklet/avs.dat" ] ||
  fail "the installed copy uses $(index "$prefix/bin/kwiklet")"
mkdir "$work/portable"
cp "$prefix/bin/kwiklet" "$work/portable/"
cp "$prefix/share/kwiklet/avs.dat" "$work/portable/"
[ "$(index "$work/portable/kwiklet")" = "$work/portable/avs.dat" ] ||
  fail "the portable copy uses $(index "$work/portable/kwiklet")"
[ ! -e "$HOME/.local/share/kwiklet" ] || fail "--help made files"
echo "PASS"
