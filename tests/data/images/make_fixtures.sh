#!/usr/bin/env bash
# Makes the image reader fixtures, one folder per format, with independent encoders, and
# stores beside each picture the pixels an independent decoder reads from it:
#   <format>/<name>.<ext>      a picture that must load
#   <format>/<name>.ref.pam    its pixels as a PAM of depth 1 to 4 (GRAYSCALE, RGB, and with
#                              _ALPHA when alpha must match too); a maxval below 255 compares
#                              only that many bits
#   <format>/bad/<name>.<ext>  a picture that must fail to load with a reader's error; a
#                              <name>.ref.txt beside it holds text the message must contain
#   <format>/tolerance         largest difference allowed per 8-bit sample (lossy formats)
# The tests read only what is stored here, so CI needs none of the tools.
# Needs: ImageMagick 6 (convert), GraphicsMagick (gm), netpbm, libtiff-tools, python3. Run from anywhere: make_fixtures.sh [format...]
# (every format when none is named). A new reader adds a section and its name to `all`.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/../../../fuzz/seeds/picture_load
all=(targa sgi pcx autodesk cut tiff)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Source pictures every format may encode.
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
# 13 x 7 in 2, 4, 8 and 16 colours, for the planar formats.
for n in 2 4 8 16; do
  awk -v n=$n 'BEGIN { split("0 0 0 255 255 255 200 30 40 20 180 60 30 40 220 250 220 10 90 20 160 10 200 200 " \
      "128 128 128 60 60 60 255 128 0 0 128 255 100 50 25 25 100 50 50 25 100 240 240 240", c, " ")
    print "P3"; print 13, 7; print 255
    for (y = 0; y < 7; y++) { line = ""
      for (x = 0; x < 13; x++) { i = (x + 2 * y + int(x / 3)) % n; line = line " " c[3*i+1] " " c[3*i+2] " " c[3*i+3] }
      print line } }' > "$tmp/c$n.ppm"
done

# Empties a format's folder and enters it.
fresh() {
  rm -rf "${here:?}/$1"
  mkdir -p "$here/$1/bad"
  cd "$here/$1"
}

# Bytes given as numbers, written as they are.
bytes() { printf "$(printf '\\x%02x' "$@")"; }

targa() {
  fresh targa
  # An 18-byte header: type width height bits [descriptor idLength mapType mapLength mapBits].
  hdr() {
    local ml=${8:-0}
    bytes "${6:-0}" "${7:-0}" "$1" 0 0 $((ml & 255)) $((ml >> 8)) "${9:-0}" 0 0 0 0 \
      $(($2 & 255)) $(($2 >> 8)) $(($3 & 255)) $(($3 >> 8)) "$4" "${5:-0}"
  }

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
    case $base in
      im_32_*) tgatoppm -alphaout="$tmp/a.pgm" "$f" > "$tmp/c.ppm" 2>/dev/null
               pamstack -tupletype=RGB_ALPHA "$tmp/c.ppm" "$tmp/a.pgm" > "$base.ref.pam" 2>/dev/null ;;
      *) tgatoppm "$f" 2>/dev/null | pamtopam > "$base.ref.pam" ;;
    esac
  done

  # netpbm encodes (bottom-up, with an image identification field); ImageMagick decodes
  # (-auto-orient: ImageMagick 6 only records a bottom-up row order unless asked to apply
  # it). A map of 5-bit entries is compared in 5 bits.
  pamtotga -name=fixture -rgb -norle "$tmp/src.ppm" > nb_24_raw_bu.tga 2>/dev/null
  pamtotga -name=fixture -rgb "$tmp/src.ppm" > nb_24_rle_bu.tga 2>/dev/null
  pamtotga -name=fixture -rgb "$tmp/wide.ppm" > nb_24_rle_wide.tga 2>/dev/null
  pamtotga -name=fixture -rgb "$tmp/alpha.pam" > nb_32_rle_bu.tga 2>/dev/null
  pamtotga -name=fixture -cmap -norle "$tmp/src.ppm" > nb_cmap_raw_bu.tga 2>/dev/null
  pamtotga -name=fixture -cmap16 "$tmp/src.ppm" > nb_cmap16_rle_bu.tga 2>/dev/null
  pamtotga -name=fixture -mono "$tmp/grey.pgm" > nb_grey_rle_bu.tga 2>/dev/null
  for f in nb_*.tga; do
    base=${f%.tga}
    case $base in
      nb_cmap16_*) convert "$f" -auto-orient -depth 8 ppm:- | pamdepth 31 2>/dev/null | pamtopam > "$base.ref.pam" ;;
      *) convert "$f" -auto-orient -depth 8 "pam:$base.ref.pam" ;;
    esac
  done

  # Hand-built files for what the encoders never write, decoded by tgatoppm.
  # 5 x 3, 24-bit, top row first: a run of 7 (row 0 and two pixels of row 1), a raw packet
  # of 4 (rest of row 1 and one pixel of row 2), a run of 4.
  { hdr 10 5 3 24 0x20; bytes 0x86 0x10 0x20 0x30 0x03 1 2 3 4 5 6 7 8 9 10 11 12 0x83 0xf0 0xe0 0xd0; } \
    > hb_24_rle_cross_td.tga
  # 4 x 2 grey, bottom row first, with a 3-entry 24-bit map that must be stepped over.
  { hdr 3 4 2 8 0 0 1 3 24; bytes 0x99 0x99 0x99 0x88 0x88 0x88 0x77 0x77 0x77 0 0x40 0x80 0xff 0x10 0x20 0x30 0x40; } \
    > hb_grey_map_bu.tga
  # 3 x 1 indices into a map of 32-bit entries (blue, green, red, alpha).
  { hdr 1 3 1 8 0 0 1 2 32; bytes 1 2 3 9 4 5 6 9 1 0 1; } > hb_cmap32_bu.tga
  # 2 x 1 true colour carrying a 300-entry map no palette can hold: it is stepped over.
  { hdr 2 2 1 24 0 0 1 300 24; head -c 900 /dev/zero | tr '\0' 'm'; bytes 5 6 7 8 9 10; } > hb_24_bigmap_bu.tga
  for f in hb_*.tga; do tgatoppm "$f" 2>/dev/null | pamtopam > "${f%.tga}.ref.pam"; done

  # Damaged files, with the text their error must hold where it says which check refused them.
  cd bad
  read_error() { for f in "$@"; do echo "Stream read error" > "${f%.tga}.ref.txt"; done; }
  hdr 2 4 4 24 > "$tmp/header"
  head -c 10 "$tmp/header" > cut_header.tga
  hdr 2 4 4 24 0 200 > id_past_end.tga
  { hdr 2 4 4 24; printf 'xxxxxxxxxx'; } > short_rows.tga
  { hdr 1 2 1 8 0 0 1 200 24; printf 'xx'; } > map_past_end.tga
  # Sizes far beyond the data are refused before anything is allocated.
  { hdr 2 4000 4000 32; printf 'xxxx'; } > huge_raw.tga
  { hdr 10 4000 4000 32; printf 'xxxx'; } > huge_rle.tga
  read_error cut_header.tga id_past_end.tga short_rows.tga map_past_end.tga huge_raw.tga huge_rle.tga
  { hdr 2 65535 65535 32; printf 'xxxx'; } > too_big.tga
  hdr 0 65535 65535 32 > too_big_no_data.tga
  for f in too_big too_big_no_data; do echo "Invalid or unexpected Targa image format." > $f.ref.txt; done
  { hdr 2 2 2 7; printf '%016d' 0; } > depth_7.tga
  echo "Sample count per pixel does not correspond to the given color scheme." > depth_7.ref.txt
  { hdr 1 1 1 8 0 0 1 257 24; head -c 800 /dev/zero; } > map_257_entries.tga
  { hdr 1 1 1 8 0 0 1 2 8; head -c 8 /dev/zero; } > map_8_bit_entries.tga
  for f in map_257_entries map_8_bit_entries; do echo "Palette in Targa file is invalid." > $f.ref.txt; done
  # Run-length data that ends inside a raw packet, and after a run's header.
  { hdr 10 4 2 24; bytes 0x07 1 2 3 4 5 6; } > rle_cut_raw.tga
  { hdr 10 4 2 24; bytes 0x83 1 2 3 0x83; } > rle_cut_run.tga
  for f in rle_cut_raw rle_cut_run; do echo "Compression error found in Targa file." > $f.ref.txt; done
  cd ..

  # Every fixture, good or damaged, seeds the picture-loading fuzz target.
  mkdir -p "$seeds"
  cp ./*.tga bad/*.tga "$seeds/"
}

# A PAM of 8-bit samples written from numbers: width height tupletype depth samples...
pam() {
  local w=$1 h=$2 type=$3 depth=$4; shift 4
  printf 'P7\nWIDTH %d\nHEIGHT %d\nDEPTH %d\nMAXVAL 255\nTUPLTYPE %s\nENDHDR\n' "$w" "$h" "$depth" "$type"
  bytes "$@"
}

sgi() {
  fresh sgi
  # A 512-byte header: storage bytesPerChannel dimension x y z.
  hdr() {
    bytes 1 218 "$1" "$2" 0 "$3" $(($4 >> 8)) $(($4 & 255)) $(($5 >> 8)) $(($5 & 255)) $(($6 >> 8)) $(($6 & 255))
    head -c 500 /dev/zero
  }
  # netpbm encodes (run-length by default), ImageMagick decodes.
  pnmtosgi "$tmp/src.ppm" > nb_rgb_rle.sgi
  pnmtosgi -verbatim "$tmp/src.ppm" > nb_rgb_raw.rgb
  pnmtosgi "$tmp/wide.ppm" > nb_wide_rle.sgi
  pnmtosgi "$tmp/grey.pgm" > nb_grey_rle.bw
  pnmtosgi -verbatim "$tmp/grey.pgm" > nb_grey_raw.bw
  for f in nb_*; do convert "sgi:$f" -depth 8 "pam:${f%.*}.ref.pam"; done
  # ImageMagick encodes, also 16-bit samples and alpha; sgitopnm decodes (channel by channel
  # for alpha, brought to 8 bits by pamdepth).
  convert "$tmp/src.ppm" -compress RLE sgi:im_rgb_rle.sgi
  convert "$tmp/src.ppm" -compress None sgi:im_rgb_raw.sgi
  convert "$tmp/alpha.pam" -compress RLE sgi:im_rgba_rle.rgba
  convert "$tmp/alpha.pam" -compress None sgi:im_rgba_raw.rgba
  convert "$tmp/src.ppm" -depth 16 -compress RLE sgi:im_rgb16_rle.sgi
  convert "$tmp/grey.pgm" -depth 16 -compress None sgi:im_grey16_raw.bw
  convert "$tmp/grey.pgm" -depth 16 -compress RLE sgi:im_grey16_rle.bw
  for f in im_*; do
    base=${f%.*}
    case $base in
      im_rgba_*) sgitopnm "$f" 2>/dev/null | pamdepth 255 > "$tmp/c.ppm"
                 sgitopnm -channel=3 "$f" 2>/dev/null | pamdepth 255 > "$tmp/a.pgm"
                 pamstack -tupletype=RGB_ALPHA "$tmp/c.ppm" "$tmp/a.pgm" > "$base.ref.pam" 2>/dev/null ;;
      *) sgitopnm "$f" 2>/dev/null | pamdepth 255 | pamtopam > "$base.ref.pam" ;;
    esac
  done
  # Hand-built: 2 x 2 RGB, verbatim, whose first stored row is the bottom one; and a
  # run-length grey file whose tables list the rows out of order.
  { hdr 0 1 3 2 2 3; bytes 1 2 3 4 5 6 7 8 9 10 11 12; } > hb_rgb_raw.sgi
  pam 2 2 RGB 3 3 7 11 4 8 12 1 5 9 2 6 10 > hb_rgb_raw.ref.pam
  # The top row's packets come first (at 528), the bottom row's after them (at 533).
  { hdr 1 1 2 3 2 1; bytes 0 0 2 21 0 0 2 16 0 0 0 3 0 0 0 5; bytes 0x83 9 8 7 0 0x03 5 0; } > hb_grey_order.bw
  pam 3 2 GRAYSCALE 1 9 8 7 5 5 5 > hb_grey_order.ref.pam

  cd bad
  head -c 100 ../nb_rgb_rle.sgi > cut_header.sgi
  { hdr 1 1 3 100 100 4; bytes 0 0 0 0; } > tables_past_end.sgi
  { hdr 0 1 3 4 4 3; head -c 20 /dev/zero; } > short_raw.sgi
  for f in cut_header tables_past_end short_raw; do echo "Stream read error" > $f.ref.txt; done
  { bytes 1 219; head -c 600 /dev/zero; } > bad_magic.sgi
  { hdr 1 1 3 65535 65535 4; head -c 64 /dev/zero; } > too_big.sgi
  for f in bad_magic too_big; do echo "Invalid or unexpected sgi, bw or rgb(a) image format." > $f.ref.txt; done
  { hdr 0 1 3 1 1 5; head -c 5 /dev/zero; } > five_channels.sgi
  echo "Sample count per pixel does not correspond to the given color scheme." > five_channels.ref.txt
  cd ..
  mkdir -p "$seeds"
  cp nb_rgb_rle.sgi im_rgba_rle.rgba im_grey16_rle.bw hb_grey_order.bw bad/*.sgi "$seeds/"
}

pcx() {
  fresh pcx
  # netpbm encodes: 24-bit planes, 256 colours with the trailing palette, planes of one bit
  # for 2 to 16 colours, packed pixels of 2 and 4 bits; ImageMagick decodes.
  ppmtopcx -24bit "$tmp/src.ppm" > nb_24.pcx 2>/dev/null
  ppmtopcx -8bit "$tmp/src.ppm" > nb_8.pcx 2>/dev/null
  ppmtopcx -24bit "$tmp/wide.ppm" > nb_wide_24.pcx 2>/dev/null
  for n in 4 8 16; do ppmtopcx "$tmp/c$n.ppm" > nb_planes_$n.pcx 2>/dev/null; done
  for n in 4 16; do ppmtopcx -packed "$tmp/c$n.ppm" > nb_packed_$n.pcx 2>/dev/null; done
  pgmtopbm -threshold "$tmp/grey.pgm" > "$tmp/mono.pbm"
  ppmtopcx "$tmp/mono.pbm" > nb_mono.pcx 2>/dev/null
  for f in nb_*.pcx; do convert "pcx:$f" -depth 8 "pam:${f%.pcx}.ref.pam"; done
  # ImageMagick 6 shows a one-bit PCX with its bits inverted, whatever its header palette
  # says (black, white here); pcxtoppm reads that palette.
  pcxtoppm nb_mono.pcx 2>/dev/null | pamtopam > nb_mono.ref.pam
  # ImageMagick encodes: true colour, a palette, alpha as a fourth plane; pcxtoppm decodes.
  convert "$tmp/src.ppm" pcx:im_24.pcx
  convert "$tmp/src.ppm" -type Palette pcx:im_8.pcx
  convert "$tmp/grey.pgm" -type Grayscale pcx:im_grey.pcc
  convert "$tmp/alpha.pam" pcx:im_rgba.pcx
  for f in im_*; do
    base=${f%.*}
    case $base in
      # pcxtoppm knows no fourth plane: only ImageMagick reads the alpha it wrote.
      im_rgba) convert "pcx:$f" -depth 8 "pam:$base.ref.pam" ;;
      *) pcxtoppm "$f" 2>/dev/null | pamtopam > "$base.ref.pam" ;;
    esac
  done

  # Hand-built, expectations worked out by hand. A 128-byte header: manufacturer version
  # encoding bits xmax ymax planes bytesPerLine paletteType [16 RGB entries].
  hdr() {
    bytes "$1" "$2" "$3" "$4" 0 0 0 0 $(($5 & 255)) $(($5 >> 8)) $(($6 & 255)) $(($6 >> 8)) 72 0 72 0
    local map=("${@:10}")
    [ ${#map[@]} -eq 0 ] || bytes "${map[@]}"
    head -c $((48 - ${#map[@]})) /dev/zero
    bytes 0 "$7" $(($8 & 255)) $(($8 >> 8)) "$9" 0
    head -c 58 /dev/zero
  }
  # Version 3: four planes of one bit, 16 x 1 pixels 0..15, shown in the system's 16
  # colours whatever the header says. Plane k holds bit k of each index.
  { hdr 10 3 0 1 15 0 4 2 1 9 9 9; bytes 0x55 0x55 0x33 0x33 0x0F 0x0F 0x00 0xFF; } > hb_v3_planes.pcx
  pam 16 1 RGB 3 0 0 0 128 0 0 0 128 0 128 128 0 0 0 128 128 0 128 0 128 128 192 192 192 \
    128 128 128 255 0 0 0 255 0 255 255 0 0 0 255 255 0 255 0 255 255 255 255 255 > hb_v3_planes.ref.pam
  # 8 bits, run-length, no palette block but a grey palette type: every byte is a pixel,
  # none is taken for a palette. 3 x 2: a run of three 0x40, then 0x10 0x20 0x30.
  { hdr 10 5 1 8 2 1 1 4 2; bytes 0xC3 0x40 0x00 0x10 0x20 0x30 0x00; } > hb_grey_nomark.pcx
  pam 3 2 GRAYSCALE 1 64 64 64 16 32 48 > hb_grey_nomark.ref.pam
  # The same raw, 3 x 200: the last 769 bytes are rows, not a palette, for want of its marker.
  { hdr 10 5 0 8 2 199 1 4 2
    python3 -c 'import sys; sys.stdout.buffer.write(bytes(b for y in range(200) for b in (y, y + 1, y + 2, 0)))'
  } > hb_grey_raw_nomark.pcx
  { printf 'P7\nWIDTH 3\nHEIGHT 200\nDEPTH 1\nMAXVAL 255\nTUPLTYPE GRAYSCALE\nENDHDR\n'
    python3 -c 'import sys; sys.stdout.buffer.write(bytes(b for y in range(200) for b in (y, y + 1, y + 2)))'
  } > hb_grey_raw_nomark.ref.pam
  # Raw 4-bit packed pixels, 3 x 1, with a header palette: indices 1, 2, 15.
  { hdr 10 5 0 4 2 0 1 2 1 0 0 0 10 20 30 40 50 60; bytes 0x12 0xF0; } > hb_raw4.scr
  pam 3 1 RGB 3 10 20 30 40 50 60 0 0 0 > hb_raw4.ref.pam

  cd bad
  head -c 60 ../nb_24.pcx > cut_header.pcx
  echo "Stream read error" > cut_header.ref.txt
  { hdr 10 5 1 8 0 0 1 4 1; bytes 1 2 3 4; } > "$tmp/ok.pcx"
  { head -c 8 "$tmp/ok.pcx"; bytes 5 0 2 0; tail -c +13 "$tmp/ok.pcx"; } > xmin_past_xmax.pcx
  { hdr 10 5 1 8 99 0 1 4 1; bytes 1 2 3 4; } > narrow_line.pcx
  { hdr 10 5 1 8 65535 65535 3 65535 1; bytes 1 2 3 4; } > too_big.pcx
  for f in xmin_past_xmax narrow_line too_big; do echo "Invalid or unexpected PCX image format." > $f.ref.txt; done
  { hdr 10 5 1 8 3 0 2 4 1; bytes 1 2 3 4; } > two_planes_of_8.pcx
  echo "Invalid color format in PCX file." > two_planes_of_8.ref.txt
  { hdr 10 5 1 0 3 0 1 4 1; bytes 1 2 3 4; } > zero_bits.pcx
  echo "Color depth is invalid." > zero_bits.ref.txt
  cd ..
  mkdir -p "$seeds"
  cp nb_24.pcx nb_8.pcx nb_planes_4.pcx nb_packed_4.pcx im_rgba.pcx hb_v3_planes.pcx bad/*.pcx "$seeds/"
}

autodesk() {
  fresh autodesk
  # A 32-byte header: width height bits compression.
  hdr() { bytes 0x19 0x91 $(($1 & 255)) $(($1 >> 8)) $(($2 & 255)) $(($2 >> 8)) 0 0 0 0 "$3" "$4"; head -c 20 /dev/zero; }
  # The palette's 6-bit components are shown four times as large: 63 0 32 is 252 0 128.
  pal() { bytes 63 0 32 1 2 3 0 63 63; head -c $((768 - 9)) /dev/zero; }
  # 2 x 2: indices 0 1 / 2 3 (entry 3 is black).
  { hdr 2 2 8 0; pal; bytes 0 1 2 3; } > hb_2x2.cel
  pam 2 2 RGB 3 252 0 128 4 8 12 0 252 252 0 0 0 > hb_2x2.ref.pam
  # 3 x 1, and one index more than the rows hold: it is not read.
  { hdr 3 1 8 0; pal; bytes 2 2 1 9; } > hb_3x1.pic
  pam 3 1 RGB 3 0 252 252 0 252 252 4 8 12 > hb_3x1.ref.pam

  cd bad
  { bytes 0x19 0x92; head -c 900 /dev/zero; } > wrong_id.cel
  { hdr 65535 65535 8 0; pal; } > too_big.pic
  for f in wrong_id too_big; do echo "Invalid or unexpected Autodesk image format." > ${f}.ref.txt; done
  bytes 0x19 0x91 2 0 2 > cut_header.cel
  echo "Stream read error" > cut_header.ref.txt
  cd ..
  mkdir -p "$seeds"
  cp hb_2x2.cel bad/*.cel bad/*.pic "$seeds/"
}

cut() {
  fresh cut
  # A palette file in 512-byte blocks: "AH", the highest index at 12, the largest red, green
  # and blue at 14 (255: not scaled), entries of three 16-bit values from byte 40; an entry
  # never crosses a block's end (78 in the first block, 85 in each further one).
  palfile() {  # highest index, then one red green blue per entry
    python3 -c '
import struct, sys
top, rgb = int(sys.argv[1]), [int(v) for v in sys.argv[2:]]
out = bytearray(512); out[0:2] = b"AH"; out[12:20] = struct.pack("<4H", top, 255, 255, 255)
at = 40
for i in range(len(rgb) // 3):
    if at % 512 > 506:
        out += bytearray(512); at = len(out) - 512
    out[at:at + 6] = struct.pack("<3H", *rgb[3 * i:3 * i + 3]); at += 6
sys.stdout.buffer.write(bytes(out))' "$@"
  }
  # 4 x 3 with palette; rows with runs and literals (bit 7 set: a run).
  # The stored line length counts the packed bytes and the end code.
  rows() { bytes 3 0 0x84 1 0  6 0 0x02 2 3 0x82 4 0  7 0 0x03 5 6 7 0x81 99 0; }
  { bytes 4 0 3 0 0 0; rows; } > hb_pal.cut
  colours=()
  for i in $(seq 0 99); do colours+=($((i * 2)) $((255 - i)) $((i * 7 % 256))); done
  palfile 99 "${colours[@]}" > hb_pal.pal
  # ImageMagick reads the image with its palette beside it.
  convert "cut:hb_pal.cut" -depth 8 "pam:hb_pal.ref.pam"
  # Without a palette file the indices show as a grey ramp.
  { bytes 4 0 3 0 0 0; rows; } > hb_nopal.cut
  pam 4 3 GRAYSCALE 1 1 1 1 1 2 3 4 4 5 6 7 99 > hb_nopal.ref.pam
  # Pictures come from Windows: the palette is found in any letter case.
  cp hb_pal.cut hb_case.cut
  cp hb_pal.pal HB_CASE.PAL
  cp hb_pal.ref.pam hb_case.ref.pam
  # A palette listing more than 256 entries gives its first 256.
  { bytes 2 0 1 0 0 0 4 0 0x02 0 255 0; } > hb_pal300.cut
  colours=()
  for i in $(seq 0 299); do colours+=($((i % 256)) 7 $((i / 256))); done
  palfile 299 "${colours[@]}" > hb_pal300.pal
  pam 2 1 RGB 3 0 7 0 255 7 0 > hb_pal300.ref.pam

  cd bad
  bytes 4 0 3 > cut_header.cut
  { bytes 4 0 3 0 0 0; rows; } > short_palette.cut
  head -c 100 ../hb_pal.pal > short_palette.pal
  for f in cut_header short_palette; do echo "Stream read error" > $f.ref.txt; done
  { bytes 255 255 255 255 0 0; rows; } > too_big.cut
  echo "Invalid or unexpected CUT image format." > too_big.ref.txt
  cd ..
  mkdir -p "$seeds"
  cp hb_pal.cut bad/cut_header.cut "$seeds/"
}

tiff() {
  fresh tiff
  rm -rf ../tiff_colour && mkdir ../tiff_colour
  # netpbm writes the sources (pamtotiff), libtiff's tiffcp rewrites them in each byte order
  # ("-B", "-L"), compression ("-c none|packbits|zip", ":2" for horizontal differencing),
  # strip height ("-r") and fill order ("-f lsb2msb": bits stored lowest first).
  pamtotiff -truecolor -none "$tmp/src.ppm" > "$tmp/rgb.tif" 2>/dev/null
  pamtotiff -truecolor -none "$tmp/wide.ppm" > "$tmp/wide.tif" 2>/dev/null
  pamtotiff -none "$tmp/alpha.pam" > "$tmp/rgba.tif" 2>/dev/null
  pamtotiff -minisblack -none "$tmp/grey.pgm" > "$tmp/grey.tif" 2>/dev/null
  pgmtopbm -threshold "$tmp/grey.pgm" > "$tmp/mono.pbm"
  pamtotiff -none "$tmp/mono.pbm" > "$tmp/mono.tif" 2>/dev/null
  tiffcp -L -c none "$tmp/rgb.tif" cp_rgb_none_le.tif
  tiffcp -B -c none "$tmp/rgb.tif" cp_rgb_none_be.tif
  tiffcp -L -c packbits -r 2 "$tmp/rgb.tif" cp_rgb_packbits_r2_le.tif
  tiffcp -B -c packbits -r 3 "$tmp/rgb.tif" cp_rgb_packbits_r3_be.tif
  tiffcp -B -c packbits "$tmp/wide.tif" cp_wide_packbits_be.tif
  tiffcp -L -c packbits "$tmp/rgba.tif" cp_rgba_packbits_le.tif
  tiffcp -B -c none -f lsb2msb "$tmp/grey.tif" cp_grey_lsb2msb_be.tif
  tiffcp -L -c packbits -f lsb2msb "$tmp/mono.tif" cp_mono_packbits_lsb2msb.tif
  # Two pages, big-endian: the first is shown.
  tiffcp -B -c packbits "$tmp/rgb.tif" "$tmp/grey.tif" cp_two_pages_be.tif
  # netpbm writes what else the reader reads: palettes of 1, 2, 4 and 8 bits, grey of 1 and
  # 16 bits, white as the lowest value, CMYK.
  pamtotiff -indexbits=1 -packbits "$tmp/c2.ppm" > nb_palette_1bit.tif 2>/dev/null
  pamtotiff -indexbits=2 -none "$tmp/c4.ppm" > nb_palette_2bit.tif 2>/dev/null
  pamtotiff -indexbits=4 -packbits "$tmp/c16.ppm" > nb_palette_4bit.tif 2>/dev/null
  pamtotiff -none "$tmp/src.ppm" > nb_palette_8bit.tif 2>/dev/null
  pamtotiff -miniswhite -packbits "$tmp/grey.pgm" > nb_grey_miniswhite.tif 2>/dev/null
  pamtotiff -miniswhite -none "$tmp/mono.pbm" > nb_mono_miniswhite.fax 2>/dev/null
  pamdepth 65535 "$tmp/grey.pgm" | pamtotiff -packbits > nb_grey16_packbits.tif 2>/dev/null
  pnmtotiffcmyk -packbits "$tmp/src.ppm" > nb_cmyk.tif 2>/dev/null
  # ImageMagick writes grey with alpha (pamtotiff leaves the alpha out).
  pamchannel -infile="$tmp/alpha.pam" 3 > "$tmp/a.pam" 2>/dev/null
  pamstack -tupletype=GRAYSCALE_ALPHA "$tmp/grey.pgm" "$tmp/a.pam" > "$tmp/ga.pam" 2>/dev/null
  convert "$tmp/ga.pam" -compress none tiff:im_grey_alpha.tif

  # Written from the layout (the builder below): a big-endian file whose two strips' offsets
  # and byte counts are SHORTs inside their entries.
  tiffbuild hb_be_short_strips.tif "" "dict(order='>', changes={273: (3, [0, 6]), 278: (3, [1]), 279: (3, [6, 6])})"
  # A colour map of 300 colours (the planes start at 0, 300 and 600): the first 256 are
  # used. Colour i is (10 i, 255 - i, 7) in 16 bits; the pixels are 0, 1, 2, 3.
  tiffbuild hb_palette_300.tif "" "dict(data=bytes([0, 1, 2, 3]), changes={258: (3, [8]), 262: (3, [3]), 277: (3, [1]),
    320: (3, [10 * i % 256 * 257 for i in range(300)] + [(255 - i) % 256 * 257 for i in range(300)] + [7 * 257] * 300)})"
  pam 2 2 RGB 3 0 255 7 10 254 7 20 253 7 30 252 7 > hb_palette_300.ref.pam

  for f in cp_*.tif nb_*.tif nb_*.fax hb_be_*.tif im_grey_alpha.tif; do
    base=${f%.*}
    case $base in
      *rgba*) tifftopnm -alphaout="$tmp/a.pgm" "$f" > "$tmp/c.ppm" 2>/dev/null
              pamstack -tupletype=RGB_ALPHA "$tmp/c.ppm" "$tmp/a.pgm" > "$base.ref.pam" 2>/dev/null ;;
      # tifftopnm knows no grey with alpha: Pillow decodes it. The alpha of grey is passed
      # over, so only the grey levels are compared.
      *grey_alpha*) /usr/bin/python3 -c 'import sys; from PIL import Image
Image.open(sys.argv[1]).getchannel(0).save(sys.argv[2])' "$f" "$tmp/g.pgm"
                    pamtopam < "$tmp/g.pgm" > "$base.ref.pam" ;;
      *) tifftopnm "$f" 2>/dev/null | pamdepth 255 | pamtopam > "$base.ref.pam" ;;
    esac
  done

  # GraphicsMagick's EPT writer: PostScript with a TIFF preview behind the binary header; the
  # preview's own pixels are the reference.
  gm convert "$tmp/src.ppm" ept:gm_ept.eps
  python3 - gm_ept.eps "$tmp/preview.tif" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
start, length = struct.unpack('<II', data[20:28])
open(sys.argv[2], 'wb').write(data[start:start + length])
PY
  tifftopnm "$tmp/preview.tif" 2>/dev/null | pamdepth 255 | pamtopam > gm_ept.ref.pam

  # Colours computed from YCbCr, Lab and 16-bit CMYK, in tiff_colour: libtiff's own
  # conversion to RGBA (tiff2rgba) decodes them within 1 of the colour manager, which rounds
  # its YCbCr terms and 16-bit CMYK differently. ImageMagick writes YCbCr without
  # subsampling, and Lab of black and white (the colour manager's Lab is linear, libtiff's
  # has the display's gamma: only the extremes agree).
  cd ../tiff_colour
  echo 1 > tolerance
  rgba() { tiff2rgba "$1" "$tmp/rgba.tif" && tifftopnm "$tmp/rgba.tif" 2>/dev/null | pamtopam > "$2"; }
  printf 'P3\n4 2\n255\n0 0 0 255 255 255 0 0 0 255 255 255 255 255 255 0 0 0 255 255 255 0 0 0\n' > "$tmp/bw.ppm"
  convert "$tmp/bw.ppm" -colorspace Lab -compress none tiff:im_lab.tif
  convert "$tmp/bw.ppm" -colorspace Lab -depth 16 -endian MSB -compress none tiff:im_lab16_be.tif
  convert "$tmp/src.ppm" -colorspace YCbCr -sampling-factor 1x1 -compress none tiff:im_ycbcr.tif
  for f in im_*.tif; do rgba "$f" "${f%.tif}.ref.pam"; done
  # The file's own YCbCr weights (tiffset adds them) count; weights with a zero green, or a
  # zero denominator, give way to the standard ones.
  cp im_ycbcr.tif ts_ycbcr_rec709.tif
  tiffset -s 529 0.2126 0.7152 0.0722 ts_ycbcr_rec709.tif
  rgba ts_ycbcr_rec709.tif ts_ycbcr_rec709.ref.pam
  cp im_ycbcr.tif ts_ycbcr_green_zero.tif
  tiffset -s 529 0.299 0 0.114 ts_ycbcr_green_zero.tif
  python3 - ts_ycbcr_rec709.tif ts_ycbcr_zero_denominator.tif <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
order = '<' if data[:2] == b'II' else '>'
at = struct.unpack(order + 'I', data[4:8])[0]
for i in range(struct.unpack(order + 'H', data[at:at + 2])[0]):
    tag, _, _, offset = struct.unpack(order + 'HHII', data[at + 2 + 12 * i:at + 14 + 12 * i])
    if tag == 529:
        data[offset + 12:offset + 16] = bytes(4)   # the green weight's denominator
open(sys.argv[2], 'wb').write(data)
PY
  for f in ts_ycbcr_green_zero ts_ycbcr_zero_denominator; do cp im_ycbcr.ref.pam $f.ref.pam; done
  # 16-bit CMYK in big-endian words, which neither tifftopnm nor tiff2rgba reads:
  # ImageMagick widens netpbm's 8-bit CMYK, whose reference serves.
  convert ../tiff/nb_cmyk.tif -depth 16 -endian MSB -compress none tiff:im_cmyk16_be.tif
  cp ../tiff/nb_cmyk.ref.pam im_cmyk16_be.ref.pam

  cd ../tiff/bad
  tiffcp -t -c none "$tmp/rgb.tif" cp_tiled.tif
  echo "Tiled images are not supported for TIF/TIFF files." > cp_tiled.ref.txt
  tiffcp -p separate -c none "$tmp/rgb.tif" cp_planar.tif
  echo "Images with separate sample planes are not supported for TIF/TIFF files." > cp_planar.ref.txt
  tiffcp -c lzw "$tmp/rgb.tif" cp_lzw.tif
  echo "The compression scheme is not supported for TIF/TIFF files." > cp_lzw.ref.txt
  # Damaged directories: the builder's 2 x 2 picture with entries changed. Each case: the
  # file, the text its error must hold, then the changes.
  invalid='Invalid or unexpected TIF/TIFF image format.'
  while IFS='|' read -r name text changes; do
    tiffbuild "$name" "${text/INVALID/$invalid}" "$changes"
  done <<'CASES'
version_43.tif|INVALID|dict(version=43)
zero_width.tif|INVALID|dict(changes={256: (3, [0])})
too_big.tif|INVALID|dict(changes={256: (4, [60000]), 257: (4, [60000])})
strip_offsets_past_end.tif|INVALID|dict(changes={273: (4, [0, 6], 40000), 278: (3, [1])})
no_strip_offsets.tif|INVALID|dict(changes={273: None})
packbits_no_byte_counts.tif|INVALID|dict(changes={259: (3, [32773]), 279: None})
packbits_short_byte_counts.tif|INVALID|dict(changes={259: (3, [32773]), 273: (4, [0, 6]), 278: (3, [1]), 279: (4, [6])})
ifd_past_end.tif|Stream read error|dict(first=5000)
ifd_cut.tif|Stream read error|dict(entries=400)
no_compression_tag.tif|The compression scheme is not supported|dict(changes={259: None})
rgb_two_samples.tif|Sample count per pixel does not correspond|dict(changes={277: (3, [2])})
cmyk_three_samples.tif|Sample count per pixel does not correspond|dict(order='>', changes={262: (3, [5])})
ycbcr_subsampled.tif|Subsampled YCbCr images|dict(order='>', changes={262: (3, [6]), 530: (3, [2, 1])})
ycbcr_default_subsampling.tif|Subsampled YCbCr images|dict(changes={262: (3, [6])})
bits_12.tif|Bits per sample must be 1, 2, 4, 8 or 16.|dict(changes={258: (3, [12, 12, 12])})
rgb_4_bits.tif|Invalid color format in TIF/TIFF file.|dict(changes={258: (3, [4, 4, 4])})
palette_without_map.tif|Palette in TIF/TIFF file is invalid.|dict(changes={262: (3, [3]), 277: (3, [1]), 258: (3, [8])})
colormap_past_end.tif|Palette in TIF/TIFF file is invalid.|dict(changes={262: (3, [3]), 277: (3, [1]), 258: (3, [8]), 320: (3, [0] * 6, 768)})
predictor_4_bits.tif|Horizontal differencing of samples other than 8 or 16 bits|dict(changes={259: (3, [32773]), 262: (3, [1]), 277: (3, [1]), 258: (3, [4]), 317: (3, [2])})
CASES
  # EPS: plain PostScript without the binary header, and headers whose preview lies inside
  # the header or beyond the file.
  printf '%%!PS-Adobe-3.0 EPSF-3.0\n%%%%BoundingBox: 0 0 2 2\nshowpage\n' > no_header.eps
  head -c 20 ../gm_ept.eps > "$tmp/h"
  { cat "$tmp/h"; bytes 10 0 0 0 0 1 0 0 0 0; cat ../cp_rgb_none_le.tif; } > preview_in_header.eps
  { cat "$tmp/h"; bytes 0 0 1 0 0 1 0 0 0 0; cat ../cp_rgb_none_le.tif; } > preview_past_end.eps
  for f in no_header preview_in_header preview_past_end; do
    echo "Invalid or unexpected EPS image format." > $f.ref.txt
  done
  cd ..
  mkdir -p "$seeds"
  cp cp_rgb_packbits_r3_be.tif cp_mono_packbits_lsb2msb.tif nb_palette_2bit.tif im_grey_alpha.tif hb_be_short_strips.tif \
    gm_ept.eps ../tiff_colour/im_ycbcr.tif bad/*.tif bad/*.eps "$seeds/"
}

# A small TIFF written from the layout: file, error text (for a damaged one: written to
# <file>.ref.txt), then Python keyword arguments. The picture is 2 x 2 RGB of the bytes 0 to
# 11, one strip. changes: tag -> (type, values[, count claimed]), None drops the tag; order
# '<' or '>'; first: the first directory's offset; version; entries: the count claimed.
tiffbuild() {
  python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
def tiff(name, changes={}, order='<', data=bytes(range(12)), first=8, version=42, entries=None):
    e = {256: (3, [2]), 257: (3, [2]), 258: (3, [8, 8, 8]), 259: (3, [1]), 262: (3, [2]),
         273: (4, [0]), 277: (3, [3]), 278: (3, [2]), 279: (4, [len(data)])}
    e.update(changes)
    e = {t: v for t, v in e.items() if v is not None}
    # The pixels follow the directory; values of more than four bytes follow the pixels.
    head = 8 + 2 + 12 * len(e) + 4
    extra, body = bytearray(), bytearray()
    for tag in sorted(e):
        typ, values = e[tag][:2]
        count = e[tag][2] if len(e[tag]) > 2 else len(values)
        if tag == 273:
            values = [head + v for v in values]
        raw = b''.join(struct.pack(order + {1: 'B', 3: 'H', 4: 'I'}[typ], v) for v in values)
        if len(raw) <= 4:
            field = raw.ljust(4, b'\0')
        else:
            field = struct.pack(order + 'I', head + len(data) + len(extra))
            extra += raw
        body += struct.pack(order + 'HHI', tag, typ, count) + field
    out = (b'II' if order == '<' else b'MM') + struct.pack(order + 'HI', version, first)
    out += struct.pack(order + 'H', len(e) if entries is None else entries) + body + struct.pack(order + 'I', 0)
    open(name, 'wb').write(out + data + extra)
name, text, args = sys.argv[1:]
tiff(name, **eval(args))
if text:
    open(name[:name.rindex('.')] + '.ref.txt', 'w').write(text + '\n')
PY
}

for format in "${@:-${all[@]}}"; do
  "$format"
done
