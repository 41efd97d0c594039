#!/usr/bin/env bash
# The real orvane-workbench on a virtual X server with a window manager, driven
# by synthetic mouse and keys as a person would: select the tool, draw a
# polyline, show the panel with Super-click, type a length, quit with Ctrl+Q
# and save when asked. Passes when the program has exited and the file it saved
# holds the drawing.
# Usage: workbench-e2e.sh WORKBENCH PLUGINS_DIR WORK_DIR
set -euo pipefail
workbench=$1 plugins=$2 work=$3
rm -rf "$work"
mkdir -p "$work/config"
saved="$work/drawing.svg"
export XDG_CONFIG_HOME="$work/config"

# A display of our own: Xvfb picks a free number and tells it.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1400x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
read -r -t 20 -u "$displayfd" number
export DISPLAY=":$number"
pids=("$xvfb")
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

"$workbench" --plugins "$plugins" --prefs "$work/prefs.json" >"$work/workbench.log" 2>&1 &
app=$!
pids+=("$app")
fail() { echo "workbench-e2e: $*" >&2; import -window root "$work/failure.png" 2>/dev/null || true; cat "$work/workbench.log" >&2; exit 1; }

window=$(xdotool search --sync --onlyvisible --name "Orvane Workbench" | head -1)
xdotool windowactivate --sync "$window" || true
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
panel=$(xdotool search --sync --onlyvisible --name "^Orvane [0-9.]+$" | head -1) || fail "the panel did not show"
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
xdotool windowactivate --sync "$window" || true
xdotool key ctrl+q
# "Save changes?": Return answers Save, the default.
xdotool search --sync --onlyvisible --name "^Orvane Workbench$" >/dev/null
sleep 0.5
xdotool key Return
sleep 1
xdotool search --sync --onlyvisible --name "Save As SVG" >/dev/null || fail "no file dialog after Save"
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$saved"
xdotool key Return

for _ in $(seq 1 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app" 2>/dev/null && fail "the workbench is still running after Quit"
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
