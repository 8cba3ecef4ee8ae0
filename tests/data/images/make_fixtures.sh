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
# Needs: ImageMagick 6 (convert), netpbm, GraphicsMagick (gm), /usr/bin/python3 with
# python3-pil; hand_built.py beside this script writes the files no encoder makes.
# Run from anywhere: make_fixtures.sh [format...]
# (every format when none is named). A new reader adds a section and its name to `all`.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/../../../fuzz/seeds/picture_load
all=(targa sgi pcx autodesk cut ppm rla psd)
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
convert "$tmp/grey.pgm" -alpha set -channel A -fx '(i+j*3)/40' +channel "png:$tmp/grey_alpha.png"

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

  # Pillow encodes 16-bit grey with alpha (8 bits each) and decodes it; ImageMagick 6 and
  # netpbm write grey with alpha as 32-bit colour and read these 16 bits as 5-5-5 colour.
  /usr/bin/python3 - "$tmp/grey_alpha.png" <<'PY'
import sys
from PIL import Image
src = Image.open(sys.argv[1])
assert src.mode == "LA"
src.save("pl_ga_raw_bu.tga")
src.save("pl_ga_rle_td.tga", rle=True, orientation=1)
for name in ("pl_ga_raw_bu", "pl_ga_rle_td"):
    im = Image.open(name + ".tga")
    assert im.mode == "LA"
    head = "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n" % im.size
    open(name + ".ref.pam", "wb").write(head.encode() + im.tobytes())
PY

  # Right-to-left files (descriptor bit 4), made from encoders' left-to-right files by
  # reversing the pixels of each row (in packed files the packets of a row and the pixels
  # of its raw packets) and setting the bit; the picture is the original's.
  rl() {  # name, original
    /usr/bin/python3 - "$2.tga" "$1.tga" <<'PY'
import sys
b = open(sys.argv[1], "rb").read()
kind, width, height, pb = b[2], b[12] | b[13] << 8, b[14] | b[15] << 8, (b[16] + 7) // 8
assert not b[17] & 0x10
pos = 18 + b[0] + (b[5] | b[6] << 8) * ((b[7] + 7) // 8) * b[1]
out = bytearray(b[:pos])
for y in range(height):
    packets, n = [], 0
    while n < width:
        if kind < 9:
            count, packet = width, b[pos:pos + width * pb]
        elif b[pos] & 0x80:
            count, packet = (b[pos] & 0x7F) + 1, b[pos:pos + 1 + pb]
        else:
            count = b[pos] + 1
            packet = b[pos:pos + 1 + count * pb]
        pos += len(packet)
        head, pixels = (b"", packet) if kind < 9 else (packet[:1], packet[1:])
        if kind < 9 or not head[0] & 0x80:
            pixels = b"".join(pixels[i:i + pb] for i in range(len(pixels) - pb, -1, -pb))
        packets.append(head + pixels)
        n += count
    assert n == width, "a packet runs past the row's end"
    out += b"".join(reversed(packets))
out += b[pos:]
out[17] |= 0x10
open(sys.argv[2], "wb").write(out)
PY
    cp "$2.ref.pam" "$1.ref.pam"
  }
  rl rl_24_raw_bu im_24_raw_bu
  rl rl_32_rle_td im_32_rle_td
  rl rl_16_raw_bu im_16_raw_bu
  rl rl_grey_rle_td im_grey_rle_td
  rl rl_cmap_raw_bu im_cmap_raw_bu
  rl rl_ga_rle_td pl_ga_rle_td

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

ppm() {
  fresh ppm
  pnmdepth 15 "$tmp/grey.pgm" > "$tmp/grey15.pgm"
  pamthreshold -simple "$tmp/grey.pgm" 2>/dev/null | pamtopnm > "$tmp/mono.pbm"
  # netpbm encodes, binary and plain (plain bitmaps have no blanks between the digits),
  # 8- and 16-bit and other maximum values; ImageMagick decodes.
  pamtopnm < "$tmp/src.ppm" > nb_p6.ppm
  # 37 x 3, no sample like its neighbours: rows longer than the reader's sixteen-pixel steps,
  # with pixels left over.
  awk 'BEGIN { print "P3"; print 37, 3; print 255
    for (y = 0; y < 3; y++) for (x = 0; x < 37; x++) print (x * 7 + y) % 256, (x * 13 + 100) % 256, 255 - x * 5 - y * 3
  }' | pamtopnm > nb_p6_wide.ppm
  pnmtoplainpnm "$tmp/src.ppm" > nb_p3.ppm
  pamtopnm < "$tmp/grey.pgm" > nb_p5.pgm
  pnmtoplainpnm "$tmp/grey.pgm" > nb_p2.pgm
  cp "$tmp/mono.pbm" nb_p4.pbm
  pnmtoplainpnm "$tmp/mono.pbm" > nb_p1.pbm
  pnmdepth 65535 "$tmp/src.ppm" > nb_p6_16.ppm
  pnmdepth 65535 "$tmp/grey.pgm" > nb_p5_16.pgm
  pnmdepth 65535 "$tmp/grey.pgm" | pnmtoplainpnm > nb_p2_16.pgm
  cp "$tmp/grey15.pgm" nb_p5_max15.pgm
  for f in nb_*; do convert "$f" -depth 8 "pam:${f%.*}.ref.pam"; done
  # A maximum value where rounding matters: netpbm's own rounding decodes it
  # (ImageMagick truncates).
  pnmdepth 4095 "$tmp/src.ppm" > nb_p6_4095.ppm
  pamdepth 255 nb_p6_4095.ppm | pamtopam > nb_p6_4095.ref.pam

  # ImageMagick encodes (plain bitmaps with blanks, 16-bit binary); netpbm decodes.
  convert "$tmp/src.ppm" -compress none im_p3.ppm
  convert "$tmp/mono.pbm" -compress none im_p1.pbm
  convert "$tmp/src.ppm" -depth 16 im_p6_16.ppm
  convert "$tmp/grey.pgm" im_p5.pgm
  for f in im_*; do pamdepth 255 "$f" 2>/dev/null | pamtopam > "${f%.*}.ref.pam"; done

  # Hand-built headers the encoders never write: all numbers on the magic's line; comments
  # one after another, with digits in them, and right after a number; CR LF line ends.
  { printf 'P6 2 1 255\n'; bytes 1 2 3 250 251 252; } > hb_one_line.ppm
  { printf 'P2\n# made 12 by hand\n#again 34\n3 1#width 9\n# max\n255\n10 20\n30\n'; } > hb_comments.pgm
  { printf 'P5\r\n2 2\r\n255\r'; bytes 0 13 10 255; } > hb_crlf.pgm
  for f in hb_*; do pamdepth 255 "$f" 2>/dev/null | pamtopam > "${f%.*}.ref.pam"; done

  cd bad
  printf 'P6\n3' > cut_header.ppm
  printf 'P6\n3 2\n255\nabcdef' > short_pixels.ppm
  printf 'P2 3 3 255\n1 2 3 4' > short_text.pgm
  for f in cut_header short_pixels short_text; do echo "Stream read error in PPM file." > $f.ref.txt; done
  printf 'P6\n60000 60000\n255\nxxxx' > huge.ppm
  printf 'P6\n99999999999 1\n255\nxxx' > width_overflow.ppm
  printf 'P5 2 1 0\nxx' > max_zero.pgm
  printf 'P5 1 1 65536\nxx' > max_too_big.pgm
  printf 'P4 0 5\nxxxxx' > zero_width.pbm
  printf 'Q6 1 1 255\nxxx' > not_p.ppm
  printf 'PX 1 1 255\nxxx' > no_kind.ppm
  for f in huge width_overflow max_zero max_too_big zero_width not_p no_kind; do
    echo "Invalid or unexpected PBM, PGM or PPM image format." > $f.ref.txt
  done
  printf 'P7\nWIDTH 1\nHEIGHT 1\nDEPTH 1\nMAXVAL 255\nENDHDR\nx' > p7.ppm
  echo "Unsupported PBM, PGM or PPM image format." > p7.ref.txt
  cd ..

  mkdir -p "$seeds"
  cp nb_p1.pbm nb_p3.ppm nb_p5_16.pgm hb_comments.pgm im_p6_16.ppm bad/short_text.pgm bad/p7.ppm "$seeds/"
}

rla() {
  fresh rla
  # Hand-built (no encoder here writes RLA); GraphicsMagick decodes. It cannot read a
  # top-down file, so that one's reference comes from a bottom-up twin of the same picture.
  /usr/bin/python3 "$here/hand_built.py" rla "$here/rla"
  for f in hb_*.rla hb_*.rpf; do gm convert "rla:$f" -depth 8 "pam:${f%.*}.ref.pam" 2>/dev/null || true; done
  /usr/bin/python3 - "$here/hand_built.py" <<'PY'
import sys
sys.argv = [sys.argv[1], "none", "."]
exec(open(sys.argv[0]).read().split("if sys.argv[1] ==")[0])
rla("twin.rla", 11, 5, chan=b"RGB")
PY
  gm convert rla:twin.rla -depth 8 pam:hb_rgb_td.ref.pam && rm twin.rla

  cd bad
  echo "Unsupported RLA image format." > xyz.ref.txt
  for f in other_type bits_16 four_channels two_mattes one_channel; do
    echo "Image formats other than RGB and RGBA are not supported for RLA files." > $f.ref.txt
  done
  for f in no_revision zero_width; do echo "Invalid or unexpected RLA image format." > $f.ref.txt; done
  for f in cut_scanline cut_offsets offset_past_end short_scanlines; do echo "Stream read error" > $f.ref.txt; done
  cd ..

  mkdir -p "$seeds"
  cp hb_rgba_bu.rpf hb_rgb_td.rla hb_wide.rla bad/xyz.rla bad/cut_scanline.rla bad/short_scanlines.rla "$seeds/"
}

psd() {
  fresh psd
  # ImageMagick encodes; python3-pil decodes the 8-bit files, ImageMagick the 16-bit ones
  # (python3-pil reads none). The 16-bit pictures come from 8-bit ones, so every decoder's
  # rounding agrees.
  convert "$tmp/src.ppm" -alpha off -compress RLE im_rgb_rle.psd
  convert "$tmp/src.ppm" -alpha off -compress None im_rgb_raw.psd
  convert "$tmp/alpha.pam" -compress RLE im_rgba_rle.psd
  convert "$tmp/grey.pgm" -type Grayscale -compress RLE im_grey_rle.psd
  convert "$tmp/alpha.pam" -colorspace Gray -type GrayscaleAlpha -compress None im_grey_alpha_raw.psd
  convert "$tmp/src.ppm" -type Palette -compress RLE im_indexed_rle.psd
  convert "$tmp/src.ppm" -colorspace CMYK -compress RLE im_cmyk_rle.psd
  for f in im_*.psd; do
    case $f in
      # python3-pil reads no grey with alpha; it loads as grey, so alpha stays out.
      im_grey_alpha_*) convert "$f[0]" -alpha off -depth 8 "pam:${f%.psd}.ref.pam" ;;
      # python3-pil rounds CMYK to RGB its own way; ImageMagick as the colour manager does.
      im_cmyk_*) convert "$f[0]" -colorspace sRGB -depth 8 "pam:${f%.psd}.ref.pam" ;;
      *) /usr/bin/python3 "$here/hand_built.py" pil "$f" "${f%.psd}.ref.pam" ;;
    esac
  done
  convert "$tmp/src.ppm" -alpha off -depth 16 -compress RLE im16_rgb_rle.psd
  convert "$tmp/alpha.pam" -depth 16 -compress None im16_rgba_raw.psd
  convert "$tmp/grey.pgm" -type Grayscale -depth 16 -compress RLE im16_grey_rle.psd
  convert "$tmp/src.ppm" -colorspace CMYK -depth 16 -compress RLE im16_cmyk_rle.psd
  for f in im16_*.psd; do
    case $f in
      # ImageMagick un-blends a merged image with alpha from white, which its writer never
      # blended; the file's layer holds the same pixels unblended.
      im16_rgba_*) convert "$f[1]" -depth 8 "pam:${f%.psd}.ref.pam" ;;
      *) convert "$f[0]" -colorspace sRGB -depth 8 "pam:${f%.psd}.ref.pam" ;;
    esac
  done

  # Hand-built modes no encoder writes: bitmap, multichannel, duotone, Lab, 16-bit grey and
  # a palette section longer than a table (python3-pil reads only a plain table, so its
  # reference comes from a twin that has one). Bitmaps are decoded by ImageMagick, as
  # python3-pil takes a set bit for white. Lab goes to psd_lab: ImageMagick, its decoder,
  # is off by one at black and white.
  /usr/bin/python3 "$here/hand_built.py" psd "$here/psd"
  /usr/bin/python3 "$here/hand_built.py" pil twin_indexed.psd hb_indexed_long_table.ref.pam && rm twin_indexed.psd
  /usr/bin/python3 "$here/hand_built.py" pil hb_duotone.psd hb_duotone.ref.pam
  for f in hb_bitmap hb_bitmap_raw hb_multichannel hb_rgb_five_channels hb_grey_16 hb_lab hb_lab_16; do
    convert "$f.psd[0]" -colorspace sRGB -depth 8 "pam:$f.ref.pam"
  done
  rm -rf ../psd_lab && mkdir ../psd_lab && mv hb_lab* ../psd_lab/ && echo 1 > ../psd_lab/tolerance

  cd bad
  for f in hsb_mode depth_32 version_2; do echo "Unsupported PSD or PDD image format." > $f.ref.txt; done
  echo "The compression scheme is not supported for PSD or PDD files." > zip.ref.txt
  for f in rgb_two_channels lower_signature huge zero_height; do
    echo "Invalid or unexpected PSD or PDD image format." > $f.ref.txt
  done
  echo "Palette in PSD or PDD file is invalid." > no_palette.ref.txt
  for f in cut_rle cut_raw; do echo "Stream read error" > $f.ref.txt; done
  cd ..

  mkdir -p "$seeds"
  cp im_rgba_rle.psd im_indexed_rle.psd im16_cmyk_rle.psd hb_bitmap.psd hb_duotone.psd ../psd_lab/hb_lab_16.psd \
    bad/cut_rle.psd bad/no_palette.psd "$seeds/"
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
  # 4096 x 4096 run-length: 16 MiB of pixels cannot come from four bytes.
  { hdr 10 5 1 8 4095 4095 1 4096 1; bytes 0xFF 1 0xFF 2; } > short_rle.pcx
  for f in xmin_past_xmax narrow_line too_big short_rle; do echo "Invalid or unexpected PCX image format." > $f.ref.txt; done
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

  # 254 x 2 in two runs of 127 a row: as few bytes as the rows can take.
  { bytes 254 0 2 0 0 0; bytes 5 0 0xFF 9 0xFF 9 0 5 0 0xFF 200 0xFF 200 0; } > hb_least.cut
  pam 254 2 GRAYSCALE 1 $(for i in $(seq 254); do echo 9; done) $(for i in $(seq 254); do echo 200; done) > hb_least.ref.pam

  cd bad
  bytes 4 0 3 > cut_header.cut
  { bytes 4 0 3 0 0 0; rows; } > short_palette.cut
  head -c 100 ../hb_pal.pal > short_palette.pal
  for f in cut_header short_palette; do echo "Stream read error" > $f.ref.txt; done
  { bytes 255 255 255 255 0 0; rows; } > too_big.cut
  # 16383 x 16383, just under the size cap, in nine bytes: far less than its rows need.
  bytes 255 63 255 63 0 0 3 0 0 > short_rows.cut
  for f in too_big short_rows; do echo "Invalid or unexpected CUT image format." > $f.ref.txt; done
  cd ..
  mkdir -p "$seeds"
  cp hb_pal.cut bad/cut_header.cut bad/short_rows.cut "$seeds/"
}

for format in "${@:-${all[@]}}"; do
  "$format"
done
