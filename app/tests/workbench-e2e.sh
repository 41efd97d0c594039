#!/usr/bin/env bash
# The real orvane-workbench on a virtual X server with a window manager, driven
# by synthetic mouse and keys as a person would: select the tool, draw a
# polyline, show the panel with Super-click, type a length, quit with Ctrl+Q
# and save when asked. Passes when the program has exited and the file it saved
# holds the drawing.
# Usage: workbench-e2e.sh WORKBENCH PLUGINS_DIR WORK_DIR
set -euo pipefail
workbench=$1 plugins=$2 WORK=$3
rm -rf "$WORK"
mkdir -p "$WORK"
saved="$WORK/drawing.svg"
source "$(dirname "$0")/e2e-common.sh"

start_workbench workbench.log
window=$(await_window "Orvane Workbench")
timeout 5 xdotool windowactivate --sync "$window" || true
sleep 1
# The toolbox's second button is the plug-in's tool, under the selection tool.
xdotool mousemove --window "$window" 17 77 click 1
sleep 0.5
# Two clicks on the canvas start a polyline; Super-click shows the panel.
xdotool mousemove --window "$window" 300 300 click 1
sleep 0.2
xdotool mousemove --window "$window" 450 320 click 1
sleep 0.2
xdotool mousemove --window "$window" 500 200
sleep 0.2
xdotool keydown super mousemove --window "$window" 500 201 click 1 keyup super
panel=$(await_window "^Orvane [0-9.]+$")
sleep 0.5
# The length field is the panel's first item, at its top left; the typed length makes the next segment.
xdotool mousemove --window "$panel" 20 12 click 1
sleep 0.2
xdotool key ctrl+a
xdotool type --delay 50 "35"
xdotool key Return
sleep 0.3
xdotool mousemove --window "$window" 520 210 click 1
sleep 0.3

# Quit: the question about the unsaved drawing, then the file dialog.
timeout 5 xdotool windowactivate --sync "$window" || true
xdotool key ctrl+q
# "Save changes?": Return answers Save, the default.
await_window "^Orvane Workbench$" >/dev/null
sleep 0.5
xdotool key Return
sleep 1
await_window "Save As SVG" >/dev/null
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$saved"
xdotool key Return

await_exit "$app"
wait "$app" || fail "the workbench ended with status $?"
[ -s "$saved" ] || fail "nothing was saved to $saved"
paths=$(grep -c "<path" "$saved" || true)
[ "$paths" -ge 1 ] || fail "the saved file holds no path"
data=$(grep -o ' d="[^"]*"' "$saved" | head -1 | tr -d 'd="MLZ' | tr ',' ' ')
read -r -a numbers <<<"$data"
anchors=$((${#numbers[@]} / 2))
[ "$anchors" -eq 3 ] || fail "the saved path has $anchors anchors, not the three drawn: $data"
# The last segment is the typed 35 mm: 99.2126 points.
length=$(awk -v x0="${numbers[2]}" -v y0="${numbers[3]}" -v x1="${numbers[4]}" -v y1="${numbers[5]}" \
    'BEGIN { printf "%.3f", sqrt((x1 - x0) ^ 2 + (y1 - y0) ^ 2) }')
[ "$length" = "99.213" ] || fail "the typed segment is $length points long, not 35 mm (99.213)"
echo "workbench-e2e: saved a path of $anchors anchors; the typed segment is $length points"
