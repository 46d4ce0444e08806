#!/usr/bin/env bash
# Renders the icon drawings of the desktop programs (client/resources/icons/src
# and sharedwidgets/icons/src, *.svg) to the 128x128 PNG files that the
# resources embed. The PNG files are committed; run this after changing a
# drawing. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."

command -v rsvg-convert >/dev/null || { echo "render-icons: rsvg-convert missing" >&2; exit 1; }

for folder in client/resources/icons sharedwidgets/icons; do
    for svg in "$folder"/src/*.svg; do
        name=$(basename "$svg" .svg)
        if [[ "$name" == system_load_128 ]]; then
            continue
        fi
        rsvg-convert -w 128 -h 128 -o "$folder/$name.png" "$svg"
    done
    echo "render-icons: $(ls "$folder"/*.png | wc -l) icons in $folder"
done

# The refresh animation: four frames of one drawing turned by 45 degrees each;
# the drawing repeats after 180 degrees, so the cycle runs on without a jump.
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
for frame in 1 2 3 4; do
    sed "s/ANGLE/$(( (frame - 1) * 45 ))/" client/resources/icons/src/system_load_128.svg >"$tmp"
    rsvg-convert -w 128 -h 128 -o "client/resources/icons/system_load${frame}_128.png" "$tmp"
done
