#!/bin/bash
# Makes the desktop icons (hicolor theme PNGs) from the stopwatch drawn by assets/make_assets.py.
# Run by hand after changing the drawing; the PNGs are committed. Needs ImageMagick.
# 16 and 32 pixels come from the window icon's own pixel art, the other sizes from the
# 256-pixel drawing.
set -euo pipefail
cd "$(dirname "$0")"
id=com.example.KeltoZelboBreak
for size in 16 22 24 32 48 64 128 256; do
    dir=icons/hicolor/${size}x${size}/apps
    mkdir -p "$dir"
    case $size in
        16) source='../../assets/stopwatch.ico[1]' ;;
        32) source='../../assets/stopwatch.ico[0]' ;;
        *) source=../../assets/stopwatch.png ;;
    esac
    convert "$source" -background none -filter Lanczos -resize "${size}x${size}" \
        -define png:exclude-chunks=date,time -strip "PNG32:$dir/$id.png"
done
