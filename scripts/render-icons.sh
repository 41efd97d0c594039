#!/usr/bin/env bash
# Renders the application icon (data/icons/org.orvane.Workbench.svg) into the PNG
# sizes desktops look for. Run it after changing the SVG and commit the PNGs:
# the build does not need Inkscape.
set -euo pipefail
cd "$(dirname "$0")/.."
icon=data/icons/org.orvane.Workbench.svg
for size in 16 24 32 48 64 128 256 512; do
    mkdir -p "data/icons/${size}x${size}"
    inkscape --export-type=png --export-width="$size" --export-height="$size" \
        --export-filename="data/icons/${size}x${size}/org.orvane.Workbench.png" "$icon" 2>/dev/null
done
