#!/usr/bin/env bash
# The real orvane-workbench on a virtual X server, driven by synthetic mouse and
# keys as a person would: open a file whose "Drawing" layer is locked, unlock it
# and make it current in the layers panel, draw a polyline, save a copy, frame
# the polyline with the selection tool, move it by a typed 10 mm and save again.
# Passes when the polyline lies in the "Drawing" layer of both files, moved by
# 10 mm (37.795 of the file's px) to the right in the second.
# Usage: workbench-layers-e2e.sh WORKBENCH PLUGINS_DIR WORK_DIR
set -euo pipefail
workbench=$1 plugins=$2 work=$3
rm -rf "$work"
mkdir -p "$work/config/orvane"
# The layers panel shown from the start, as a person who showed it once finds it.
printf '[layers]\nvisible=true\n' >"$work/config/orvane/workbench.ini"
cat >"$work/layered.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="400" height="300">
  <sodipodi:namedview inkscape:current-layer="background"/>
  <g id="background" inkscape:groupmode="layer" inkscape:label="Background">
    <path d="M 0 0 L 400 0 L 400 300 L 0 300 Z"/>
  </g>
  <g id="drawing" inkscape:groupmode="layer" inkscape:label="Drawing" sodipodi:insensitive="true"/>
</svg>
SVG

WORK=$work
source "$(dirname "$0")/e2e-common.sh"

start_workbench workbench.log
# Waits at most a few seconds for a visible window whose name matches.
window_named() { timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -1; }

window=$(window_named "Orvane Workbench") || fail "no window"
[ -n "$window" ] || fail "no window"
xdotool windowsize --sync "$window" 1000 700 || true
xdotool windowactivate --sync "$window" || true
sleep 1

# File › Open.
xdotool key ctrl+o
[ -n "$(window_named "Open SVG")" ] || fail "no file dialog after Ctrl+O"
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$work/layered.svg"
xdotool key Return
# A Return that only took the dialog's completion leaves the dialog open: it is pressed again.
for _ in $(seq 1 40); do
    xdotool search --onlyvisible --name "layered.svg" >/dev/null && break
    xdotool search --onlyvisible --name "Open SVG" >/dev/null && xdotool key Return
    sleep 0.5
done
xdotool search --onlyvisible --name "layered.svg" >/dev/null || fail "the file did not open"
sleep 1

# The panel's rows, topmost layer first: "Drawing", then "Background". Its boxes are "Shown" and
# "Locked": one click on the Locked box unlocks the layer and makes it current.
read -r width _ < <(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, size, "x"); print size[1], size[2] }')
panel_left=$((width - 220))
row_drawing=65
xdotool mousemove --window "$window" $((panel_left + 62)) "$row_drawing" click 1
sleep 0.5

# Draw a polyline of two segments with the tool, ended by a click on its last point.
xdotool mousemove --window "$window" 17 77 click 1
sleep 0.5
# Slower than a double-click, so that the last two clicks stay two.
for point in "300 250" "400 250" "400 330" "400 330"; do
    xdotool mousemove --window "$window" $point click 1
    sleep 0.7
done
# Saved over the opened file, a copy kept each time.
save_to() {
    local stamp
    stamp=$(stat -c %Y.%s "$work/layered.svg")
    sleep 1.1
    xdotool key ctrl+s
    for _ in $(seq 1 50); do
        [ "$(stat -c %Y.%s "$work/layered.svg")" != "$stamp" ] && cp "$work/layered.svg" "$1" && return
        sleep 0.1
    done
    fail "Ctrl+S did not save"
}
save_to "$work/before.svg"

# The selection tool frames the polyline; Object › Move… moves it by 10 mm to the right.
xdotool mousemove --window "$window" 17 50 click 1
sleep 0.3
xdotool mousemove --window "$window" 280 230 mousedown 1
xdotool mousemove --window "$window" 350 300
xdotool mousemove --window "$window" 420 350 mouseup 1
sleep 0.3
xdotool key ctrl+shift+m
[ -n "$(window_named "^Move$")" ] || fail "no Move dialog"
sleep 0.3
xdotool type --delay 50 "10"
xdotool key Return
sleep 0.5
save_to "$work/after.svg"

# The polyline is the path of the "Drawing" layer: three anchors, moved by 10 mm in the second file.
anchors_in_drawing() {
    tr -d '\n' <"$1" | grep -o 'inkscape:label="Drawing"[^>]*>[^<]*<path[^>]* d="[^"]*"' | grep -o ' d="[^"]*"' |
        tr -d 'd="MLZ' | tr ',' ' '
}
read -r -a before <<<"$(anchors_in_drawing "$work/before.svg")"
read -r -a after <<<"$(anchors_in_drawing "$work/after.svg")"
[ "${#before[@]}" -eq 6 ] || fail "the Drawing layer of before.svg holds no polyline of three anchors: ${before[*]}"
[ "${#after[@]}" -eq 6 ] || fail "the Drawing layer of after.svg holds no polyline of three anchors: ${after[*]}"
for i in 0 2 4; do
    dx=$(awk -v a="${before[$i]}" -v b="${after[$i]}" 'BEGIN { printf "%.3f", b - a }')
    dy=$(awk -v a="${before[$((i + 1))]}" -v b="${after[$((i + 1))]}" 'BEGIN { printf "%.3f", b - a }')
    # The file's user unit is the px (no unit, no viewBox): 10 mm are 37.795 of them.
    [ "$dx" = "37.795" ] && [ "$dy" = "0.000" ] || fail "anchor $((i / 2)) moved by $dx, $dy px, not 10 mm right"
done
echo "workbench-layers-e2e: the polyline drawn in the unlocked layer moved by 10 mm"
