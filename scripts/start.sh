#!/usr/bin/env bash
# Installs what is missing, builds Kwiklet and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<MSG
Kwiklet is built ($root/build/src/kwiklet) but there is no display to show it on.
Start it from a desktop session, or under a virtual display:
  sudo apt-get install -y xvfb && xvfb-run -a $root/build/src/kwiklet
MSG
  exit 2
fi
exec "$root/build/src/kwiklet"
