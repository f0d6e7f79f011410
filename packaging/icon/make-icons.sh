#!/usr/bin/env bash
# Renders the icon's drawings into OUTDIR: zubrica98-N.png for every size the
# program, the Linux menu and the Windows .ico use, and zubrica98.ico (16, 24,
# 32, 48 and 256 px, the last stored as PNG). Run by the build; needs
# rsvg-convert (librsvg2-bin) and icotool (icoutils).
#   make-icons.sh OUTDIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$1"
mkdir -p "$out"

for size in 16 24 32 48 64 128 256; do
  # The smallest sizes have drawings of their own on their pixel grids.
  case "$size" in
    16 | 24) source="$here/zubrica98-$size.svg" ;;
    *) source="$here/zubrica98.svg" ;;
  esac
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "$out/zubrica98-$size.png.tmp" "$source"
  mv "$out/zubrica98-$size.png.tmp" "$out/zubrica98-$size.png"
done

icotool --create --bit-depth=32 --output "$out/zubrica98.ico.tmp" \
  "$out/zubrica98-16.png" "$out/zubrica98-24.png" "$out/zubrica98-32.png" \
  "$out/zubrica98-48.png" --raw="$out/zubrica98-256.png"
mv "$out/zubrica98.ico.tmp" "$out/zubrica98.ico"
