#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG source; run after changing dist/icons/qt8800.svg.
# Needs rsvg-convert (Debian package librsvg2-bin), which the build itself does not.
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" qt8800.svg -o "qt8800-$size.png"
done
