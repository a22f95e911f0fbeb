#!/usr/bin/env bash
# Starts the program under a virtual X display with a window manager, lets it
# settle, and saves a screenshot: tools/screenshot.sh [out.png] [folder]
# The program starts in the given folder (default: the current one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$root/docs/screenshot.png}")"
folder="${2:-$PWD}"
bash "$root/tools/deps.sh" xvfb xauth openbox imagemagick x11-apps xdotool
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j2 --target Kelpora
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" bash -c "
  openbox >/dev/null 2>&1 &
  sleep 1
  cd '$folder' && '$root/build/Kelpora' &
  sleep 3
  import -window root '$out'
  kill %2 %1 2>/dev/null || true
"
echo "screenshot: $out"
