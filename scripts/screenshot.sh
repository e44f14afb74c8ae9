#!/usr/bin/env bash
# Starts a program under Xvfb and saves a screenshot of the whole screen as PNG.
# Usage: scripts/screenshot.sh OUTPUT.png [SCALE] -- PROGRAM [ARGS...]
#   SCALE: the Qt scale factor (1 for 100 %, 1.5 for 150 %); the screen grows with it unless
#   SCREEN_W and SCREEN_H give its size in pixels.
set -euo pipefail
out=$1; shift
scale=1
if [ "${1:-}" != "--" ]; then scale=$1; shift; fi
[ "${1:-}" = "--" ] && shift
width=${SCREEN_W:-$(awk -v s="$scale" 'BEGIN { printf "%d", 1366 * s }')}
height=${SCREEN_H:-$(awk -v s="$scale" 'BEGIN { printf "%d", 900 * s }')}
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=xcb "$@" >/dev/null 2>&1 &
app=$!
sleep "${SCREENSHOT_WAIT:-4}"
DISPLAY=$display /usr/bin/import -window root "$out"
echo "$out"
