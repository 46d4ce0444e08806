#!/usr/bin/env bash
# Renders the launcher's splash drawing (startup.svg) to startup.png, which is
# committed and copied beside qelApps by the build. Run it after changing the
# drawing. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
command -v rsvg-convert >/dev/null || { echo "render-startup: rsvg-convert missing" >&2; exit 1; }
rsvg-convert -w 480 -h 300 -o startup.png startup.svg
echo "render-startup: $(pwd)/startup.png"
