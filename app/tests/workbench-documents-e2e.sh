#!/usr/bin/env bash
# The real orvane-workbench on a virtual X server, driven by xdotool as a person
# would, around its documents: started with a file, it opens it; a polyline drawn
# in that file's locked current layer places nothing; an undo after opening a
# second file does not bring the first one's drawing into it; a drawing killed
# with SIGKILL comes back at the next start by its Recover button, anchor for
# anchor, as the journal left on disk replays it.
# Usage: workbench-documents-e2e.sh WORKBENCH REPLAY PLUGINS_DIR WORK_DIR
set -euo pipefail
workbench=$1 replay=$2 plugins=$3 WORK=$4
rm -rf "$WORK"
mkdir -p "$WORK"
source "$(dirname "$0")/e2e-common.sh"

first="$WORK/a.svg" second="$WORK/b.svg"
cat >"$first" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="400" height="300">
  <sodipodi:namedview inkscape:current-layer="background"/>
  <g id="background" inkscape:groupmode="layer" inkscape:label="Background" sodipodi:insensitive="true">
    <path d="M 20 20 L 380 20"/>
  </g>
  <g id="notes" inkscape:groupmode="layer" inkscape:label="Notes"><path d="M 20 280 L 380 280"/></g>
</svg>
SVG
cat >"$second" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300"><path d="M 20 150 L 380 150"/></svg>
SVG
paths() { grep -o ' d="[^"]*"' "$1" || true; }
title() { xdotool getwindowname "$window"; }
draw_polyline() {
    # Three clicks and a click on the last point, which ends the polyline.
    for at in "300 300" "450 320" "420 200" "420 200"; do
        read -r x y <<<"$at"
        xdotool mousemove --window "$window" "$x" "$y" click 1
        sleep 0.3
    done
}

start_workbench workbench.log "$first"
window=$(await_window "^a.svg — Orvane Workbench$")
timeout 5 xdotool windowactivate --sync "$window" || true
sleep 1
xdotool mousemove --window "$window" 17 77 click 1
sleep 0.5
draw_polyline
[ "$(title)" = "a.svg — Orvane Workbench" ] || fail "drawing in the locked layer changed the drawing: $(title)"
xdotool key ctrl+s
sleep 1
[ "$(paths "$first" | wc -l)" -eq 2 ] || fail "a.svg holds art drawn into its locked layer: $(paths "$first")"

# The second file, then Ctrl+Z and Ctrl+S: b.svg keeps its own art, and only it.
xdotool key ctrl+o
await_window "Open SVG" >/dev/null
sleep 0.5
xdotool type --delay 20 "$second"
xdotool key Return
await_window "^b.svg — Orvane Workbench$" >/dev/null
sleep 0.5
xdotool key ctrl+z
sleep 0.3
[ "$(title)" = "b.svg — Orvane Workbench" ] || fail "undo after opening b.svg changed it: $(title)"
xdotool key ctrl+s
sleep 1
[ "$(paths "$second" | wc -l)" -eq 1 ] || fail "b.svg lost its art or took a.svg's: $(paths "$second")"

# Drawn, unsaved, then killed: the journal on disk is all that is left.
draw_polyline
await_window "^b.svg\* — Orvane Workbench$" >/dev/null
kill -KILL "$app"
wait "$app" 2>/dev/null || true
journal="$XDG_STATE_HOME/orvane/journal.session"
[ -s "$journal" ] || fail "no journal was left at $journal"
# What the journal gives, played headless here: its saves write again what b.svg and a.svg hold now.
mkdir -p "$WORK/expected"
{
    cat "$journal"
    echo "save \"$WORK/expected/b.svg\""
} >"$WORK/expected/journal.session"
(cd "$WORK/expected" && "$replay" --plugins "$plugins" --allow-writes "$WORK" journal.session) >"$WORK/replay.log" 2>&1 ||
    fail "the journal does not replay: $(cat "$WORK/replay.log")"
[ "$(paths "$WORK/expected/b.svg" | wc -l)" -eq 2 ] || fail "the journal lost the drawing: $(paths "$WORK/expected/b.svg")"

start_workbench workbench-again.log
await_window "^Orvane Workbench$" >/dev/null
sleep 0.5
# Return answers Recover, the default.
xdotool key Return
window=$(await_window "^b.svg\* — Orvane Workbench$" 30)
timeout 5 xdotool windowactivate --sync "$window" || true
xdotool key ctrl+s
sleep 1
[ "$(paths "$second")" = "$(paths "$WORK/expected/b.svg")" ] ||
    fail "the recovered drawing differs: $(paths "$second") against $(paths "$WORK/expected/b.svg")"
xdotool key ctrl+q
await_exit "$app"
[ ! -e "$journal" ] || fail "a clean quit left the journal"
echo "workbench-documents-e2e: opened from the command line, refused the locked layer, kept b.svg, recovered $(paths "$second" | wc -l) paths"
