#!/usr/bin/env bash
# The real orvane-workbench on a virtual X server, driven by xdotool: at the scale
# 50/1, a 2400 mm by 900 mm rectangle drawn with the lengths typed at the cursor.
# Click the first point; for each side point the mouse roughly its way, type only
# the length and Return; click the first point to close. The saved file's sides
# must measure 48 mm and 18 mm on the page, to 1e-3 mm, at right angles.
# Usage: workbench-typed-rectangle.sh WORKBENCH PLUGINS_DIR WORK_DIR
set -euo pipefail
workbench=$1 plugins=$2 work=$3
rm -rf "$work"
mkdir -p "$work/config"
saved="$work/rectangle.svg"
cat >"$work/prefs.json" <<'PREFS'
[{"prefix": "TeskOrvane", "key": "Precision", "kind": "int", "value": 1},
 {"prefix": "TeskOrvane", "key": "EchelleNum", "kind": "real", "value": 50.0}]
PREFS

WORK=$work
source "$(dirname "$0")/e2e-common.sh"
start_workbench workbench.log

window=$(await_window "Orvane Workbench")
xdotool windowactivate --sync "$window" || true
sleep 1
# The toolbox's second button is the plug-in's tool.
xdotool mousemove --window "$window" 17 77 click 1
sleep 0.5
side() {  # X Y LENGTH: the mouse towards the side's end, the length typed, Return
    xdotool mousemove --window "$window" "$1" "$2"
    sleep 0.2
    xdotool type --delay 50 "$3"
    xdotool key Return
    sleep 0.3
}
xdotool mousemove --window "$window" 300 400 click 1
sleep 0.3
side 480 405 2400
side 442 300 900
side 200 350 2400
xdotool mousemove --window "$window" 300 400
sleep 0.2
xdotool mousemove --window "$window" 300 399 click 1
sleep 0.3

xdotool key ctrl+s
await_window "Save As SVG" >/dev/null
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$saved"
xdotool key Return
for _ in $(seq 1 50); do
    [ -s "$saved" ] && break
    sleep 0.1
done
[ -s "$saved" ] || fail "nothing was saved to $saved"

python3 - "$saved" <<'CHECK' || fail "the saved rectangle is not 48 mm by 18 mm"
import math, re, sys
text = open(sys.argv[1]).read()
data = re.findall(r' d="([^"]*)"', text)
if len(data) != 1 or "Z" not in data[0].upper():
    sys.exit(f"expected one closed path, found {data}")
numbers = [float(n) for n in re.findall(r"-?[0-9.]+(?:e-?[0-9]+)?", data[0])]
points = list(zip(numbers[0::2], numbers[1::2]))
if len(points) != 4:
    sys.exit(f"expected four corners, found {points}")
millimetres_per_point = 25.4 / 72
sides = [(points[(i + 1) % 4][0] - points[i][0], points[(i + 1) % 4][1] - points[i][1]) for i in range(4)]
lengths = [math.hypot(*side) * millimetres_per_point for side in sides]
for length, wanted in zip(lengths, [48, 18, 48, 18]):
    if abs(length - wanted) > 1e-3:
        sys.exit(f"sides {lengths} mm, not 48 and 18")
for i in range(4):
    a, b = sides[i], sides[(i + 1) % 4]
    cosine = (a[0] * b[0] + a[1] * b[1]) / (math.hypot(*a) * math.hypot(*b))
    if abs(cosine) > 1e-5:
        sys.exit(f"corner {i} is not square: cosine {cosine}")
print(f"workbench-typed-rectangle: sides {', '.join(f'{l:.4f}' for l in lengths)} mm")
CHECK
