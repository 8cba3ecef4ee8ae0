#!/usr/bin/env bash
# Makes the Targa fixtures of the image reader tests with two independent encoders
# (ImageMagick's convert and netpbm's pamtotga) and stores beside each file the pixels the
# other tool suite decodes from it: <name>.ref.ppm for the colours and, for images with
# alpha, <name>.ref-alpha.pgm. The tests compare against these, so CI needs neither tool.
# A few hand-built files cover what neither encoder writes; tgatoppm decodes those.
# Needs: ImageMagick 6 (convert), netpbm (pamtotga, tgatoppm). Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/targa"
rm -f ./*.tga ./*.ppm ./*.pgm
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 13 x 7: a flat block on the left (runs) and varied pixels on the right (raw packets).
awk 'BEGIN {
  w = 13; h = 7; print "P3"; print w, h; print 255
  for (y = 0; y < h; y++) { line = ""
    for (x = 0; x < w; x++) {
      if (x < 5) { r = y * 30; g = 200; b = 10 }
      else { r = (x * 37 + y * 11) % 256; g = (x * x * 5 + y * 53) % 256; b = (x * 91 + y * y * 7) % 256 }
      line = line " " r " " g " " b }
    print line } }' > "$tmp/src.ppm"
# 150 x 3: runs longer than one packet can hold, with odd pixels at row ends.
convert -size 150x3 'xc:rgb(10,20,30)' -fill 'rgb(200,100,50)' \
  -draw 'point 145,0' -draw 'point 149,1' -draw 'point 0,2' "$tmp/wide.ppm"
convert "$tmp/src.ppm" -colorspace Gray "$tmp/grey.pgm"
convert "$tmp/src.ppm" -alpha set -channel A -fx '(i+j*3)/40' +channel "$tmp/alpha.pam"

# ImageMagick encodes (bottom-up by default, top-down with -orient TopLeft); tgatoppm decodes.
im() {  # name, source, options...
  local name=$1 src=$2; shift 2
  convert "$src" "$@" "tga:$name.tga"
}
im im_24_raw_bu "$tmp/src.ppm" -type TrueColor -compress None
im im_24_raw_td "$tmp/src.ppm" -type TrueColor -compress None -orient TopLeft
im im_24_rle_bu "$tmp/src.ppm" -type TrueColor -compress RLE
im im_24_rle_wide "$tmp/wide.ppm" -type TrueColor -compress RLE
im im_32_raw_bu "$tmp/alpha.pam" -compress None
im im_32_rle_td "$tmp/alpha.pam" -compress RLE -orient TopLeft
im im_16_raw_bu "$tmp/src.ppm" -depth 5 -compress None
im im_16_rle_td "$tmp/src.ppm" -depth 5 -compress RLE -orient TopLeft
im im_grey_raw_bu "$tmp/grey.pgm" -type Grayscale -compress None
im im_grey_rle_td "$tmp/grey.pgm" -type Grayscale -compress RLE -orient TopLeft
im im_cmap_raw_bu "$tmp/src.ppm" -type Palette -compress None
im im_cmap_rle_td "$tmp/src.ppm" -type Palette -compress RLE -orient TopLeft
for f in im_*.tga; do
  base=${f%.tga}
  tgatoppm "$f" > "$base.ref.ppm" 2>/dev/null
  case $base in im_32_*) tgatoppm -alphaout="$base.ref-alpha.pgm" "$f" > /dev/null 2>&1 ;; esac
done

# netpbm encodes (bottom-up, with an image identification field); ImageMagick decodes
# (-auto-orient: ImageMagick 6 only records a bottom-up row order unless asked to apply it).
pamtotga -name=fixture -rgb -norle "$tmp/src.ppm" > nb_24_raw_bu.tga 2>/dev/null
pamtotga -name=fixture -rgb "$tmp/src.ppm" > nb_24_rle_bu.tga 2>/dev/null
pamtotga -name=fixture -rgb "$tmp/wide.ppm" > nb_24_rle_wide.tga 2>/dev/null
pamtotga -name=fixture -rgb "$tmp/alpha.pam" > nb_32_rle_bu.tga 2>/dev/null
pamtotga -name=fixture -cmap -norle "$tmp/src.ppm" > nb_cmap_raw_bu.tga 2>/dev/null
pamtotga -name=fixture -cmap16 "$tmp/src.ppm" > nb_cmap16_rle_bu.tga 2>/dev/null
pamtotga -name=fixture -mono "$tmp/grey.pgm" > nb_grey_rle_bu.tga 2>/dev/null
for f in nb_*.tga; do
  base=${f%.tga}
  convert "$f" -auto-orient -depth 8 "ppm:$base.ref.ppm"
  case $base in nb_32_*) convert "$f" -auto-orient -alpha extract -depth 8 "pgm:$base.ref-alpha.pgm" ;; esac
done

# Hand-built files for what the encoders never write, decoded by tgatoppm:
# run-length packets that cross row ends, and a grey image that carries a colour map.
# 5 x 3, 24-bit, top row first: a run of 7 (row 0 and two pixels of row 1), a raw packet
# of 4 (rest of row 1 and one pixel of row 2), a run of 4.
printf '\0\0\x0a\0\0\0\0\0\0\0\0\0\x05\0\x03\0\x18\x20' > hb_24_rle_cross_td.tga
printf '\x86\x10\x20\x30' >> hb_24_rle_cross_td.tga
printf '\x03\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c' >> hb_24_rle_cross_td.tga
printf '\x83\xf0\xe0\xd0' >> hb_24_rle_cross_td.tga
# 4 x 2 grey, bottom row first, with a 3-entry 24-bit map that must be stepped over.
printf '\0\x01\x03\0\0\x03\0\x18\0\0\0\0\x04\0\x02\0\x08\0' > hb_grey_map_bu.tga
printf '\x99\x99\x99\x88\x88\x88\x77\x77\x77' >> hb_grey_map_bu.tga
printf '\x00\x40\x80\xff\x10\x20\x30\x40' >> hb_grey_map_bu.tga
for f in hb_*.tga; do tgatoppm "$f" > "${f%.tga}.ref.ppm" 2>/dev/null; done

# Seeds of the picture-loading fuzz target: every fixture.
seeds=../../../../fuzz/seeds/picture_load
mkdir -p "$seeds"
cp ./*.tga "$seeds/"
