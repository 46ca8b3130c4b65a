#!/bin/bash
# Makes the installer's pictures from the stopwatch drawn by assets/make_assets.py: the header of
# its inner pages (150x57) and the side of its first and last pages (164x314), as the 8-bit BMPs
# NSIS takes. Run by hand after changing the drawing; the BMPs are committed. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
stopwatch=../../assets/stopwatch.png
convert -size 150x57 xc:white \( "$stopwatch" -filter Lanczos -resize 48x48 \) \
    -gravity center -composite -colors 256 -type Palette -compress none \
    BMP3:installer-header.bmp
convert -size 164x314 'gradient:#dde8f4-#ffffff' \( "$stopwatch" -filter Lanczos -resize 128x128 \) \
    -gravity north -geometry +0+48 -composite -colors 256 -type Palette -compress none \
    BMP3:installer-side.bmp
