#!/usr/bin/env bash
# Uses the program as a person would, under a virtual X display with openbox:
# starts it in FOLDER, clicks the first file, moves down with the arrow keys,
# checks the fit box and presses the actual-size button, saving a screenshot
# after each step into OUTDIR (step1.png ...).
#   tools/click-through.sh FOLDER OUTDIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
folder="$(realpath "$1")"
out="$(realpath -m "${2:-/tmp/kelpora-shots}")"
mkdir -p "$out"
bash "$root/tools/deps.sh" xvfb xauth openbox imagemagick x11-apps xdotool
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j2 --target Kelpora
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" bash -c "
  openbox >/dev/null 2>&1 &
  sleep 1
  cd '$folder' && '$root/build/Kelpora' &
  sleep 3
  w=\$(xdotool search --name '^Kelpora\$' | head -1)
  xdotool windowactivate \$w; sleep 0.5
  # client coordinates of the layout: file list at (166, 41), fit box at (163, 302), button at (8, 302)
  xdotool mousemove --window \$w 200 47 click 1; sleep 1
  import -window root '$out/step1.png'
  xdotool key Down Down; sleep 1
  import -window root '$out/step2.png'
  xdotool mousemove --window \$w 168 310 click 1; sleep 1
  import -window root '$out/step3.png'
  xdotool mousemove --window \$w 70 314 click 1; sleep 1
  import -window root '$out/step4.png'
  kill %2 %1 2>/dev/null || true
"
echo "screenshots in $out"
