#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it holds, what it
# asks apt to install with it, how it describes itself and its copyright notice.
# Usage: debian-package.sh BUILD_FOLDER
set -euo pipefail
build=$1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
package=$(ls "$work"/kwiklet_*_*.deb)

files="$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ {print $6}' | sort)"
expected="./usr/bin/kwiklet
./usr/share/applications/example.kwiklet.Kwiklet.desktop
./usr/share/doc/kwiklet/copyright
./usr/share/icons/hicolor/16x16/apps/kwiklet.png
./usr/share/icons/hicolor/32x32/apps/kwiklet.png
./usr/share/icons/hicolor/48x48/apps/kwiklet.png
./usr/share/icons/hicolor/scalable/apps/kwiklet.svg
./usr/share/kwiklet/avs.dat
./usr/share/man/man1/kwiklet.1.gz"
[ "$files" = "$expected" ] || fail "the package holds:
$files"
depends="$(dpkg-deb -f "$package" Depends)"
for needed in libqt6widgets6 libsqlite3-0 libxcb1 qt6-qpa-plugins fonts-liberation2 \
              fonts-dejavu-extra; do
  grep -q "\b$needed\b" <<< "$depends" || fail "Depends lacks $needed: $depends"
done
# The summary, then the long description: continuation lines, one space in, and none
# beginning with a list's ';'.
description="$(dpkg-deb -f "$package" Description)"
[ "$(head -1 <<< "$description")" = "keyboard-first quick-launcher" ] ||
  fail "the summary is: $(head -1 <<< "$description")"
long="$(tail -n +2 <<< "$description")"
[ "$(wc -l <<< "$long")" = 4 ] && ! grep -qv '^ [^ ;]' <<< "$long" ||
  fail "the long description is not four continuation lines:
$long"
# The copyright notice in the machine-readable form, stating what the About window says.
copyright="$(dpkg-deb --fsys-tarfile "$package" | tar -xO ./usr/share/doc/kwiklet/copyright)"
for field in "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
             "Files: \*" "Copyright: 2026 the Kwiklet developers" "License: .*" \
             " All rights reserved."; do
  grep -qx "$field" <<< "$copyright" || fail "the copyright file lacks '$field'"
done
echo "$(basename "$package"): $depends"
echo "PASS"
