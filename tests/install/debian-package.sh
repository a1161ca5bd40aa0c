#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it holds and what it
# asks apt to install with it. Usage: debian-package.sh BUILD_FOLDER
set -euo pipefail
build=$1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
package=$(ls "$work"/kwiklet_*_*.deb)

files="$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ {print $6}' | sort)"
expected="./usr/bin/kwiklet
./usr/share/applications/kwiklet.desktop
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
echo "$(basename "$package"): $depends"
echo "PASS"
