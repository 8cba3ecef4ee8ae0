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
#   <format>/by_extension      pictures (one name a line) that load by their extension though
#                              detection by content must not take them
# A picture refused for its size names it: "(a size of W x H pixels)".
# The tests read only what is stored here, so CI needs none of the tools.
# Needs: ImageMagick 6 (convert), netpbm, GraphicsMagick (gm), libtiff-tools, /usr/bin/python3 with
# python3-pil, libjpeg-turbo-progs (cjpeg, djpeg) and Inkscape (metafiles); hand_built.py and
# psp_writer.py beside this script write the files no encoder makes, libtiff_built.py those that
# libtiff itself writes (through libtiff6).
# Run from anywhere: make_fixtures.sh [format...]
# (every format when none is named). A new reader adds a section and its name to `all`.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/../../../fuzz/seeds/picture_load
all=(targa sgi pcx autodesk cut ppm rla psd png psp tiff pcd tiff_fax tiff_jpeg bmp ico jpeg wmf emf picture_files)
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

# Seeds for the fuzz target that loads pictures by file name: each file behind the byte
# that picks its extension, by its place in the registration table.
extensions=(bmp ico wmf emf jfif jpg jpe jpeg rle dib win vst vda tga icb tiff tif fax eps pcx pcc scr rpf rla sgi
  rgba rgb bw psd pdd ppm pgm pbm cel pic pcd cut psp png)
picture_files_seeds() {  # extension, files...
  local ext=$1 i; shift
  for i in "${!extensions[@]}"; do [ "${extensions[$i]}" = "$ext" ] && break; done
  mkdir -p "$seeds/../picture_files"
  for f in "$@"; do { bytes "$i"; cat "$f"; } > "$seeds/../picture_files/$(basename "${f%.*}").$ext"; done
}

# Seeds for the fuzz target of the class library's decoders: each file behind the byte that
# picks its kind (0 icon, 1 metafile, 2 JPEG image).
picture_decoders_seeds() {  # kind, files...
  local kind=$1; shift
  mkdir -p "$seeds/../picture_decoders"
  for f in "$@"; do { bytes "$kind"; cat "$f"; } > "$seeds/../picture_decoders/$(basename "$f")"; done
}

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
  # 2 x 1 true colour carrying a 300-entry map its pixels do not use: the pixels follow it.
  { hdr 2 2 1 24 0 0 1 300 24; head -c 900 /dev/zero | tr '\0' 'm'; bytes 5 6 7 8 9 10; } > hb_24_bigmap_bu.tga
  # Maps longer than 8-bit indices reach: 4 x 2 indices into 300 entries of 24 bits (the last
  # indices 254 and 255), and 6 x 2 run-length indices, top row first, into 260 entries of
  # 16 bits. The pixels follow the whole map.
  map() {  # entries, bits
    python3 -c 'import struct, sys
n, bits = int(sys.argv[1]), int(sys.argv[2])
if bits == 24:
    out = b"".join(bytes([(3 * i) % 256, (5 * i + 7) % 256, (255 - i) % 256]) for i in range(n))
else:
    out = b"".join(struct.pack("<H", (i * 37) & 0x7FFF) for i in range(n))
sys.stdout.buffer.write(out)' "$@"
  }
  { hdr 1 4 2 8 0 0 1 300 24; map 300 24; bytes 0 1 254 255 7 128 200 3; } > hb_cmap300_bu.tga
  { hdr 9 6 2 8 0x20 0 1 260 16; map 260 16; bytes 0x82 255 0x02 0 9 254 0x85 1; } > hb_cmap16_260_rle_td.tga
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
  for f in too_big too_big_no_data; do
    echo "Invalid or unexpected Targa image format. (a size of 65535 x 65535 pixels)" > $f.ref.txt
  done
  { hdr 2 2 2 7; printf '%016d' 0; } > depth_7.tga
  echo "Sample count per pixel does not correspond to the given color scheme." > depth_7.ref.txt
  # Types the reader does not decode: Huffman and delta compressed (32, 33), and an unknown one.
  for t in 32 33 4; do { hdr $t 2 2 24; head -c 12 /dev/zero; } > type_$t.tga; done
  for t in 32 33 4; do echo "Invalid or unexpected Targa image format." > type_$t.ref.txt; done
  { hdr 1 1 1 8 0 0 1 2 8; head -c 8 /dev/zero; } > map_8_bit_entries.tga
  echo "Palette in Targa file is invalid." > map_8_bit_entries.ref.txt
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
  for f in width_overflow max_zero max_too_big zero_width not_p no_kind; do
    echo "Invalid or unexpected PBM, PGM or PPM image format." > $f.ref.txt
  done
  echo "Invalid or unexpected PBM, PGM or PPM image format. (a size of 60000 x 60000 pixels)" > huge.ref.txt
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
  # Without the revision mark detection by content does not take a file; its extension does.
  echo hb_no_revision.rla > by_extension
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
  echo "Invalid or unexpected RLA image format." > zero_width.ref.txt
  # The active window of a good file widened to 30000 x 30000: refused for its size before
  # anything else is read.
  python3 - ../hb_rgb_bu.rla too_big.rla <<'PY'
import struct, sys
d = bytearray(open(sys.argv[1], "rb").read())
struct.pack_into(">4h", d, 8, 0, 29999, 0, 29999)
open(sys.argv[2], "wb").write(d)
PY
  echo "Invalid or unexpected RLA image format. (a size of 30000 x 30000 pixels)" > too_big.ref.txt
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
  for f in rgb_two_channels lower_signature zero_height; do
    echo "Invalid or unexpected PSD or PDD image format." > $f.ref.txt
  done
  echo "Invalid or unexpected PSD or PDD image format. (a size of 60000 x 60000 pixels)" > huge.ref.txt
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
  echo "Invalid or unexpected sgi, bw or rgb(a) image format. (a size of 65535 x 65535 pixels)" > too_big.ref.txt
  # No columns, or no rows: no picture, rather than an empty one.
  { hdr 0 1 3 0 2 3; head -c 12 /dev/zero; } > width_0.sgi
  { hdr 1 1 2 3 0 1; head -c 64 /dev/zero; } > height_0.bw
  for f in bad_magic width_0 height_0; do echo "Invalid or unexpected sgi, bw or rgb(a) image format." > $f.ref.txt; done
  { hdr 0 1 3 1 1 5; head -c 5 /dev/zero; } > five_channels.sgi
  echo "Sample count per pixel does not correspond to the given color scheme." > five_channels.ref.txt
  # Five channels and tables cut short: the tables are read first.
  { hdr 1 1 3 2 2 5; bytes 0 0 0 0; } > five_channels_short_tables.sgi
  echo "Stream read error" > five_channels_short_tables.ref.txt
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
  { hdr 10 5 1 8 65534 65534 3 65535 1; bytes 1 2 3 4; } > too_big.pcx
  # 4096 x 4096 run-length: 16 MiB of pixels cannot come from four bytes.
  { hdr 10 5 1 8 4095 4095 1 4096 1; bytes 0xFF 1 0xFF 2; } > short_rle.pcx
  # 3 x 4 grey, run-length, whose data ends after two rows.
  { hdr 10 5 1 8 2 3 1 4 2; bytes 0xC4 0x40 0xC4 0x41; } > rle_cut_rows.pcx
  echo "Stream read error" > rle_cut_rows.ref.txt
  # 12593 x 18758 of one bit in 43 bytes, raw or run-length: refused before the bitmap is made.
  { hdr 10 5 0 1 12592 18757 1 1576 1; head -c 43 /dev/zero; } > huge_raw.pcx
  { hdr 10 5 1 1 12592 18757 1 1576 1; head -c 43 /dev/zero; } > huge_rle.pcx
  for f in xmin_past_xmax narrow_line short_rle huge_raw huge_rle; do
    echo "Invalid or unexpected PCX image format." > $f.ref.txt
  done
  echo "Invalid or unexpected PCX image format. (a size of 65535 x 65535 pixels)" > too_big.ref.txt
  { hdr 10 5 1 8 3 0 2 4 1; bytes 1 2 3 4; } > two_planes_of_8.pcx
  echo "Invalid color format in PCX file." > two_planes_of_8.ref.txt
  { hdr 10 5 1 0 3 0 1 4 1; bytes 1 2 3 4; } > zero_bits.pcx
  echo "Color depth is invalid." > zero_bits.ref.txt
  # Manufacturer 0x0C: the probe takes it, the loader reads no picture in it.
  { hdr 12 5 1 8 3 0 1 4 1; bytes 1 2 3 4; } > manufacturer_0c.pcx
  echo "Invalid or unexpected PCX image format." > manufacturer_0c.ref.txt
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
  echo "Invalid or unexpected Autodesk image format. (a size of 65535 x 65535 pixels)" > too_big.ref.txt
  # No columns, or no rows: no picture, rather than an empty one.
  { hdr 0 2 8 0; pal; } > width_0.cel
  { hdr 2 0 8 0; pal; bytes 1 2; } > height_0.pic
  for f in wrong_id width_0 height_0; do echo "Invalid or unexpected Autodesk image format." > ${f}.ref.txt; done
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
  echo "Invalid or unexpected CUT image format. (a size of 65535 x 65535 pixels)" > too_big.ref.txt
  # 16383 x 16383, just under the size cap, in nine bytes: far less than its rows need.
  bytes 255 63 255 63 0 0 3 0 0 > short_rows.cut
  # No columns, or no rows: no picture, rather than an empty one.
  { bytes 0 0 3 0 0 0; rows; } > width_0.cut
  { bytes 4 0 0 0 0 0; rows; } > height_0.cut
  for f in short_rows width_0 height_0; do echo "Invalid or unexpected CUT image format." > $f.ref.txt; done
  cd ..
  mkdir -p "$seeds"
  cp hb_pal.cut bad/cut_header.cut bad/short_rows.cut "$seeds/"
}

png() {
  fresh png
  # Checks that an encoder wrote what the name says: colour type, bit depth, interlace.
  ihdr_is() {  # file colourType bitDepth interlace
    local got
    got=$(python3 -c 'import sys; d = open(sys.argv[1], "rb").read(); print(d[25], d[24], d[28])' "$1")
    [ "$got" = "$2 $3 $4" ] || { echo "$1: colour type, depth, interlace are $got, not $2 $3 $4" >&2; exit 1; }
  }
  # 16-bit samples that are neither byte-symmetric nor rounded apart from truncation when
  # brought to 8 bits (257 k + 100), so swapped bytes or a wrong scale show.
  deep() { pamdepth 65535 "$1" | pamfunc -adder=100 2>/dev/null; }
  pnmquant 2 "$tmp/src.ppm" > "$tmp/q2.ppm" 2>/dev/null
  pnmquant 4 "$tmp/src.ppm" > "$tmp/q4.ppm" 2>/dev/null
  pnmquant 16 "$tmp/src.ppm" > "$tmp/q16.ppm" 2>/dev/null
  for m in 1 3 15; do pamdepth $m "$tmp/grey.pgm" > "$tmp/grey$m.pgm"; done
  deep "$tmp/src.ppm" > "$tmp/src16.ppm"
  deep "$tmp/grey.pgm" > "$tmp/grey16.pgm"
  deep "$tmp/alpha.pam" > "$tmp/alpha16.pam"
  convert "$tmp/alpha.pam" -colorspace Gray "$tmp/greyalpha.pam"
  deep "$tmp/greyalpha.pam" > "$tmp/greyalpha16.pam"

  # netpbm encodes: grey at every depth, colour, palettes of 2, 4, 16 and more colours,
  # grey and colour with alpha, each also interlaced; a transparent colour, a background
  # and a gamma on several colour types.
  nb() {  # name colourType depth tool source options...
    local name=$1 ct=$2 bd=$3 tool=$4 src=$5; shift 5
    $tool "$@" "$src" > "$name.png" 2>/dev/null
    $tool -interlace "$@" "$src" > "${name}_i.png" 2>/dev/null
    ihdr_is "$name.png" "$ct" "$bd" 0
    ihdr_is "${name}_i.png" "$ct" "$bd" 1
  }
  nb nb_g1 0 1 pnmtopng "$tmp/grey1.pgm" -force
  nb nb_g2 0 2 pnmtopng "$tmp/grey3.pgm" -force
  nb nb_g4 0 4 pnmtopng "$tmp/grey15.pgm" -force
  nb nb_g8 0 8 pnmtopng "$tmp/grey.pgm" -force
  nb nb_g16 0 16 pnmtopng "$tmp/grey16.pgm" -force
  nb nb_rgb8 2 8 pnmtopng "$tmp/src.ppm" -force
  nb nb_rgb16 2 16 pnmtopng "$tmp/src16.ppm" -force
  nb nb_pal1 3 1 pnmtopng "$tmp/q2.ppm"
  nb nb_pal2 3 2 pnmtopng "$tmp/q4.ppm"
  nb nb_pal4 3 4 pnmtopng "$tmp/q16.ppm"
  nb nb_pal8 3 8 pnmtopng "$tmp/src.ppm"
  nb nb_ga8 4 8 pamtopng "$tmp/greyalpha.pam"
  nb nb_ga16 4 16 pamtopng "$tmp/greyalpha16.pam"
  nb nb_rgba8 6 8 pamtopng "$tmp/alpha.pam"
  nb nb_rgba16 6 16 pamtopng "$tmp/alpha16.pam"
  # One filter for every row: average and sub, which the adaptive choices seldom take.
  for a in alpha alpha16; do
    pamchannel -tupletype=RGB 0 1 2 < "$tmp/$a.pam" | pamtopnm > "$tmp/$a-colour.ppm"
    pamchannel -tupletype=GRAYSCALE 3 < "$tmp/$a.pam" | pamtopnm > "$tmp/$a-mask.pgm"
  done
  filtered() {  # name colourType depth filter source [alpha]
    pnmtopng -force "-$4" ${6:+-alpha="$6"} "$5" > "$1.png" 2>/dev/null
    ihdr_is "$1.png" "$2" "$3" 0
  }
  filtered nb_rgb8_avg 2 8 avg "$tmp/src.ppm"
  filtered nb_g8_avg 0 8 avg "$tmp/grey.pgm"
  filtered nb_rgba8_avg 6 8 avg "$tmp/alpha-colour.ppm" "$tmp/alpha-mask.pgm"
  filtered nb_rgba16_avg 6 16 avg "$tmp/alpha16-colour.ppm" "$tmp/alpha16-mask.pgm"
  filtered nb_rgba8_sub 6 8 sub "$tmp/alpha-colour.ppm" "$tmp/alpha-mask.pgm"
  filtered nb_rgb8_paeth 2 8 paeth "$tmp/src.ppm"
  pnmtopng -force -transparent=rgb:25/c8/0a "$tmp/src.ppm" > nb_rgb8_trns.png
  pnmtopng -force -transparent=gray:51 "$tmp/grey15.pgm" > nb_g4_trns.png 2>/dev/null || \
    pnmtopng -force -transparent=rgb:33/33/33 "$tmp/grey15.pgm" > nb_g4_trns.png
  pnmtopng -transparent=rgb:25/c8/0a "$tmp/src.ppm" > nb_pal8_trns.png
  pamtopng -transparent=rgb:25/c8/0a -background=rgb:10/20/30 "$tmp/src16.ppm" > nb_rgb16_trns_bkgd.png
  pnmtopng -force -background=rgb:10/20/30 "$tmp/src.ppm" > nb_rgb8_bkgd.png
  pnmtopng -force -background=rgb:aa/aa/aa "$tmp/grey3.pgm" > nb_g2_bkgd.png
  pnmtopng -background=rgb:10/20/30 "$tmp/q16.ppm" > nb_pal4_bkgd.png
  pnmtopng -force -gamma=1.0 "$tmp/src.ppm" > nb_rgb8_gamma.png
  pnmtopng -force -gamma=.7 "$tmp/grey.pgm" > nb_g8_gamma.png
  pnmtopng -force -gamma=1.0 "$tmp/grey15.pgm" > nb_g4_gamma.png
  pnmtopng -gamma=1.0 "$tmp/src.ppm" > nb_pal8_gamma.png
  pamtopng -gamma=.8 "$tmp/alpha.pam" > nb_rgba8_gamma.png
  for f in nb_*trns*.png; do grep -q tRNS "$f" || { echo "$f: no tRNS" >&2; exit 1; }; done
  for f in nb_*bkgd*.png; do grep -q bKGD "$f" || { echo "$f: no bKGD" >&2; exit 1; }; done

  # ImageMagick encodes (with its own filter choices and ancillary chunks): every colour
  # type, 16-bit colour and alpha, interlaced, and the smallest interlaced pictures.
  im() {  # name colourType depth interlace source options...
    local name=$1 ct=$2 bd=$3 il=$4 src=$5; shift 5
    convert "$src" -define png:exclude-chunk=date,time "$@" "png:$name.png"
    ihdr_is "$name.png" "$ct" "$bd" "$il"
  }
  im im_g8 0 8 0 "$tmp/grey.pgm" -define png:color-type=0 -define png:bit-depth=8
  im im_g4_i 0 4 1 "$tmp/grey15.pgm" -define png:color-type=0 -define png:bit-depth=4 -interlace PNG
  im im_rgb8_i 2 8 1 "$tmp/src.ppm" -define png:color-type=2 -interlace PNG
  im im_pal8 3 8 0 "$tmp/src.ppm" -define png:color-type=3 -define png:bit-depth=8
  pnmquant 8 "$tmp/src.ppm" > "$tmp/q8.ppm" 2>/dev/null
  im im_pal4_i 3 4 1 "$tmp/q8.ppm" -type Palette -interlace PNG
  im im_ga8 4 8 0 "$tmp/greyalpha.pam" -define png:color-type=4
  im im_rgba8 6 8 0 "$tmp/alpha.pam" -define png:color-type=6
  im im_rgb16 2 16 0 "$tmp/src16.ppm" -define png:color-type=2 -define png:bit-depth=16
  im im_rgba16_i 6 16 1 "$tmp/alpha16.pam" -define png:color-type=6 -define png:bit-depth=16 -interlace PNG
  convert -size 1x1 'xc:rgb(200,100,50)' "$tmp/one.ppm"
  convert "$tmp/src.ppm" -crop 3x3+4+2 +repage "$tmp/three.ppm"
  im im_1x1_i 2 8 1 "$tmp/one.ppm" -define png:color-type=2 -interlace PNG
  im im_3x3_i 2 8 1 "$tmp/three.ppm" -define png:color-type=2 -interlace PNG

  # References by pngtopam: colour only, alpha too where the reader keeps it (colour with
  # alpha), 16-bit samples brought to 8 bits. Where the file has a gAMA chunk, the gamma is
  # applied for a display of 2.2 by libpng on 8-bit samples: pngtopam leaves a palette
  # uncorrected and corrects low depths in their own few levels, so those pictures go
  # through an 8-bit PNG with the same gamma first.
  for f in *.png; do
    alpha=()
    python3 -c 'import sys; d = open(sys.argv[1], "rb").read(); sys.exit(d[25] != 6)' "$f" && alpha=(-alphapam)
    if grep -q gAMA "$f"; then
      gamma=$(python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(); i = d.index(b"gAMA"); print(struct.unpack(">I", d[i + 4:i + 8])[0] / 100000)' "$f")
      pngtopam "${alpha[@]}" "$f" | pamdepth 255 2>/dev/null | pamtopng -gamma="$gamma" > "$tmp/eight.png"
      pngtopam "${alpha[@]}" -gamma=2.2 "$tmp/eight.png" | pamtopam > "${f%.png}.ref.pam"
    else
      pngtopam "${alpha[@]}" "$f" | pamdepth 255 2>/dev/null | pamtopam > "${f%.png}.ref.pam"
    fi
  done

  # Image data that ends before the picture does, plain and interlaced: the zlib stream of
  # a good picture ended after half its bytes (short_stream), or cut there with no end
  # (cut_stream). The rows that came load, each whole; a pixel whose row did not come keeps
  # the background, white. The reference is pngtopam's of the good picture, white where no
  # row came (the rows of Adam7 passes, in pass order, as the standard lays them out).
  for il in "" _i; do
    for kind in short cut; do
      python3 - nb_rgb8$il.png nb_rgb8$il.ref.pam ${kind}_stream$il.png ${kind}_stream$il.ref.pam $kind <<'PY'
import struct, sys, zlib
source, reference, target, target_ref, kind = sys.argv[1:6]
data = open(source, "rb").read()
chunks, i = [], 8
while i < len(data):
    n, = struct.unpack(">I", data[i:i + 4])
    chunks.append((data[i + 4:i + 8], data[i + 8:i + 8 + n]))
    i += 12 + n
w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
assert (depth, colour) == (8, 2)
raw = zlib.decompress(b"".join(c[1] for c in chunks if c[0] == b"IDAT"))
half = len(raw) // 2
if kind == "short":
    packed = zlib.compress(raw[:half])
else:
    z = zlib.compressobj()
    packed = z.compress(raw[:half]) + z.flush(zlib.Z_SYNC_FLUSH)
out = bytearray(data[:8])
for t, body in [c for c in chunks if c[0] != b"IEND" and c[0] != b"IDAT"] + [(b"IDAT", packed), (b"IEND", b"")]:
    out += struct.pack(">I", len(body)) + t + body + struct.pack(">I", zlib.crc32(t + body))
open(target, "wb").write(out)
# Which pixels came: those of the rows (of each pass) whose filter byte and bytes all came.
passes = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2), (1, 0, 2, 1)]
if not interlace:
    passes = [(0, 0, 1, 1)]
came, at = set(), 0
for y0, x0, dy, dx in passes:
    columns = range(x0, w, dx)
    if not columns:
        continue
    for y in range(y0, h, dy):
        at += 1 + 3 * len(columns)
        if at <= half:
            came.update((x, y) for x in columns)
text = open(reference, "rb").read()
head = text[:text.index(b"ENDHDR\n") + 7]
pixels = bytearray(text[len(head):])
for y in range(h):
    for x in range(w):
        if (x, y) not in came:
            pixels[3 * (y * w + x):3 * (y * w + x) + 3] = b"\xff\xff\xff"
open(target_ref, "wb").write(head + pixels)
PY
    done
  done

  # Damaged files, made from good ones by patching bytes; a chunk that is changed gets a
  # correct CRC unless the CRC is what is damaged.
  cd bad
  damage() {  # source target what
    python3 - "$@" <<'PY'
import struct, sys, zlib
source, target, what = sys.argv[1:4]
data = open(source, "rb").read()
chunks, i = [], 8
while i < len(data):
    n, = struct.unpack(">I", data[i:i + 4])
    chunks.append([data[i + 4:i + 8], data[i + 8:i + 8 + n]])
    i += 12 + n
def find(t):
    return next(c for c in chunks if c[0] == t)
bad_crc = False
if what == "bad_crc":          # one bit of the image data flipped, CRC left as it was
    bad_crc = True
elif what == "critical":       # an unknown critical chunk before the image data
    chunks.insert(1, [b"CRIT", b"abc"])
elif what == "data_after":     # bytes after the end of the zlib stream, in the same chunk
    find(b"IDAT")[1] += b"\x00\x01\x02"
elif what == "bad_zlib":       # a damaged deflate stream
    d = find(b"IDAT")[1]
    find(b"IDAT")[1] = d[:2] + bytes(b ^ 0x5A for b in d[2:10]) + d[10:]
elif what == "width_0":
    find(b"IHDR")[1] = b"\0\0\0\0" + find(b"IHDR")[1][4:]
elif what == "colour_type_5":
    h = find(b"IHDR")[1]; find(b"IHDR")[1] = h[:9] + b"\x05" + h[10:]
elif what == "rgb_depth_4":
    h = find(b"IHDR")[1]; find(b"IHDR")[1] = h[:8] + b"\x04" + h[9:]
elif what == "compression_1":
    h = find(b"IHDR")[1]; find(b"IHDR")[1] = h[:10] + b"\x01" + h[11:]
elif what == "palette_length":
    find(b"PLTE")[1] = find(b"PLTE")[1][:-1]
elif what == "huge":           # a size far beyond the data and beyond the cap
    h = find(b"IHDR")[1]; find(b"IHDR")[1] = struct.pack(">II", 30000, 30000) + h[8:]
elif what == "no_image_data":  # no IDAT chunk at all
    chunks = [c for c in chunks if c[0] != b"IDAT"]
elif what == "long_chunk":     # a chunk length far beyond the file
    chunks.insert(1, [b"tEXt", b""]); chunks[1].append(0x7FFFFFF0)
out = bytearray(data[:8])
for c in chunks:
    body = c[0] + c[1]
    length = c[2] if len(c) > 2 else len(c[1])
    crc = zlib.crc32(body) ^ (1 if bad_crc and c[0] == b"IDAT" else 0)
    out += struct.pack(">I", length) + body + struct.pack(">I", crc)
if what == "bad_crc":
    out = bytearray(data)
    i = data.index(b"IDAT") + 8
    out[i + 5] ^= 0x10
open(target, "wb").write(out)
PY
  }
  damage ../nb_rgb8.png bad_crc.png bad_crc;                echo "CRC error found in PNG file." > bad_crc.ref.txt
  damage ../nb_rgb8.png critical_chunk.png critical;        echo "Unexpected but critical chunk detected." > critical_chunk.ref.txt
  damage ../nb_rgb8.png data_after_stream.png data_after;   echo "Extra compressed data found in PNG file." > data_after_stream.ref.txt
  damage ../nb_rgb8.png bad_zlib.png bad_zlib;              echo "Compression error found in PNG file." > bad_zlib.ref.txt
  damage ../nb_rgb8.png width_0.png width_0;                echo "Invalid or unexpected PNG image format." > width_0.ref.txt
  damage ../nb_rgb8.png colour_type_5.png colour_type_5;    echo "Invalid color format in PNG file." > colour_type_5.ref.txt
  damage ../nb_rgb8.png rgb_depth_4.png rgb_depth_4;        echo "Invalid color format in PNG file." > rgb_depth_4.ref.txt
  damage ../nb_rgb8.png compression_1.png compression_1;    echo "The compression scheme is not supported for PNG files." > compression_1.ref.txt
  damage ../nb_pal8.png palette_length.png palette_length;  echo "Palette in PNG file is invalid." > palette_length.ref.txt
  damage ../nb_rgb8.png huge.png huge
  echo "Invalid or unexpected PNG image format. (a size of 30000 x 30000 pixels)" > huge.ref.txt
  damage ../nb_rgb8.png long_chunk.png long_chunk;          echo "Stream read error" > long_chunk.ref.txt
  damage ../nb_rgb8.png no_image_data.png no_image_data;    echo "Invalid or unexpected PNG image format." > no_image_data.ref.txt
  # Cut inside the image data: the chunk is not all there.
  head -c 60 ../nb_rgb8.png > truncated.png;                echo "Stream read error" > truncated.ref.txt
  cd ..

  mkdir -p "$seeds"
  cp nb_rgb8.png nb_pal2_i.png nb_g16.png nb_rgba8_i.png im_ga8.png nb_rgb8_trns.png nb_pal4_bkgd.png bad/*.png "$seeds/"
}

psp() {
  fresh psp
  # Nothing here writes Paint Shop Pro files: psp_writer.py beside this script writes them
  # from a picture and stores that picture's own pixels as the reference.
  w() {  # source (a netpbm picture) ...
    local src=$1; shift
    pamtopam < "$src" > "$tmp/source.pam"
    python3 "$here/psp_writer.py" "$tmp/source.pam" "$@"
  }
  pnmquant 2 "$tmp/src.ppm" > "$tmp/q2.ppm" 2>/dev/null
  pnmquant 16 "$tmp/src.ppm" > "$tmp/q16.ppm" 2>/dev/null
  pamcut -width 10 "$tmp/q16.ppm" > "$tmp/q16_10.ppm"
  # Every kind in every compression for version 4; versions 3 and 5 for colour and palette.
  for c in 0 1 2; do
    w "$tmp/src.ppm" v4_rgb_c$c.psp v4_rgb_c$c.ref.pam --version 4 --kind rgb --compression $c
    w "$tmp/alpha.pam" v4_rgba_c$c.psp v4_rgba_c$c.ref.pam --version 4 --kind rgba --compression $c
    w "$tmp/grey.pgm" v4_grey_c$c.psp v4_grey_c$c.ref.pam --version 4 --kind grey --compression $c
    w "$tmp/q2.ppm" v4_pal1_c$c.psp v4_pal1_c$c.ref.pam --version 4 --kind pal1 --compression $c
    w "$tmp/q16.ppm" v4_pal4_c$c.psp v4_pal4_c$c.ref.pam --version 4 --kind pal4 --compression $c
    w "$tmp/src.ppm" v4_pal8_c$c.psp v4_pal8_c$c.ref.pam --version 4 --kind pal8 --compression $c
    for v in 3 5; do
      w "$tmp/src.ppm" v${v}_rgb_c$c.psp v${v}_rgb_c$c.ref.pam --version $v --kind rgb --compression $c
      w "$tmp/src.ppm" v${v}_pal8_c$c.psp v${v}_pal8_c$c.ref.pam --version $v --kind pal8 --compression $c
    done
  done
  # Even width at 4 bits (rows of width / 2 + 1 bytes), a lower-case signature, a floating
  # selection before the raster layer, a channel of unknown type, 300 palette entries.
  w "$tmp/q16_10.ppm" v4_pal4_even.psp v4_pal4_even.ref.pam --version 4 --kind pal4 --compression 1
  w "$tmp/src.ppm" v4_lower_case.psp v4_lower_case.ref.pam --version 4 --kind rgb --compression 0 \
    --signature "paint shop pro image file"
  w "$tmp/src.ppm" v4_second_layer.psp v4_second_layer.ref.pam --version 4 --kind rgb --compression 2 --skipped-layer
  w "$tmp/src.ppm" v3_second_layer.psp v3_second_layer.ref.pam --version 3 --kind pal8 --compression 1 --skipped-layer
  w "$tmp/src.ppm" v4_unknown_channel.psp v4_unknown_channel.ref.pam --version 4 --kind rgb --compression 1 \
    --unknown-channel
  w "$tmp/src.ppm" v4_palette_300.psp v4_palette_300.ref.pam --version 4 --kind pal8 --compression 0 --extra-palette 300

  cd bad
  w "$tmp/src.ppm" wrong_signature.psp - --version 4 --kind rgb --compression 0 --signature "Paint Shop Pro Picture"
  w "$tmp/src.ppm" version_2.psp - --version 2 --kind rgb --compression 0
  for f in wrong_signature version_2; do echo "Invalid or unexpected PSP image format." > $f.ref.txt; done
  w "$tmp/src.ppm" missing_red.psp - --version 4 --kind rgb --compression 2 --damage drop-red
  w "$tmp/src.ppm" short_plane.psp - --version 4 --kind rgb --compression 0 --damage short-plane
  w "$tmp/src.ppm" huge_plane.psp - --version 4 --kind rgb --compression 1 --damage huge-plane
  for f in missing_red short_plane huge_plane; do echo "Invalid or unexpected PSP image format." > $f.ref.txt; done
  w "$tmp/src.ppm" bad_deflate.psp - --version 4 --kind rgb --compression 2 --damage bad-deflate
  echo "LZ77 decompression error." > bad_deflate.ref.txt
  # Patched attributes (version 4: at 50 width, 54 height, 67 compression, 69 bit depth).
  patch() {  # source target offset bytes...
    local src=$1 dst=$2 at=$3; shift 3
    cp "$src" "$dst"
    printf "$(printf '\\x%02x' "$@")" | dd of="$dst" bs=1 seek="$at" conv=notrunc status=none
  }
  patch ../v4_rgb_c0.psp width_0.psp 50 0 0 0 0
  patch ../v4_rgb_c0.psp height_negative.psp 54 0xff 0xff 0xff 0xff
  # 30000 x 30000 in 24 bits: refused for its size before any block is read.
  patch ../v4_rgb_c0.psp too_big.psp 50 0x30 0x75 0 0 0x30 0x75 0 0
  echo "Invalid or unexpected PSP image format. (a size of 30000 x 30000 pixels)" > too_big.ref.txt
  patch ../v4_rgb_c0.psp jpeg.psp 67 3 0
  patch ../v4_pal8_c0.psp depth_16.psp 69 16 0
  for f in width_0 height_negative; do echo "Invalid or unexpected PSP image format." > $f.ref.txt; done
  echo "The compression scheme is not supported for PSP files." > jpeg.ref.txt
  echo "Invalid color format in PSP file." > depth_16.ref.txt
  head -c 200 ../v4_rgb_c0.psp > truncated.psp
  echo "Stream read error" > truncated.ref.txt
  cd ..

  mkdir -p "$seeds"
  cp v4_rgba_c1.psp v3_pal8_c2.psp v4_pal1_c0.psp v4_second_layer.psp bad/*.psp "$seeds/"
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
  tiffcp -L -c zip "$tmp/rgb.tif" cp_rgb_zip_le.tif
  tiffcp -B -c zip:2 -r 3 "$tmp/rgb.tif" cp_rgb_zip2_r3_be.tif
  tiffcp -L -c zip:2 "$tmp/rgba.tif" cp_rgba_zip2_le.tif
  tiffcp -B -c zip -f lsb2msb "$tmp/grey.tif" cp_grey_zip_lsb2msb_be.tif
  # 16-bit samples, differenced as words in each byte order.
  pamdepth 65535 "$tmp/src.ppm" | pamtotiff -truecolor -none > "$tmp/rgb16.tif" 2>/dev/null
  pamdepth 65535 "$tmp/grey.pgm" | pamtotiff -none > "$tmp/grey16.tif" 2>/dev/null
  tiffcp -B -c zip:2 "$tmp/rgb16.tif" cp_rgb16_zip2_be.tif
  tiffcp -L -c zip:2 "$tmp/grey16.tif" cp_grey16_zip2_le.tif
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
  tiffcp -B -c zip:2 im_grey_alpha.tif cp_grey_alpha_zip2_be.tif
  # ImageMagick writes 16-bit big-endian deflate with differencing.
  convert "$tmp/src.ppm" -depth 16 -define tiff:endian=msb -compress zip -define tiff:predictor=2 tiff:im_rgb16_zip2_be.tif

  # Written from the layout by hand_built.py: what no encoder writes, and the damaged files.
  /usr/bin/python3 "$here/hand_built.py" tiff "$here/tiff"

  for f in cp_*.tif nb_*.tif nb_*.fax hb_be_*.tif hb_no_compression_tag.tif im_grey_alpha.tif im_rgb16_zip2_be.tif; do
    base=${f%.*}
    case $base in
      *rgba*) tifftopnm -alphaout="$tmp/a.pgm" "$f" > "$tmp/c.ppm" 2>/dev/null
              pamstack -tupletype=RGB_ALPHA "$tmp/c.ppm" "$tmp/a.pgm" > "$base.ref.pam" 2>/dev/null ;;
      # tifftopnm knows no grey with alpha: python3-pil decodes it.
      *grey_alpha*) /usr/bin/python3 "$here/hand_built.py" pil "$f" "$base.ref.pam" ;;
      *) tifftopnm "$f" 2>/dev/null | pamdepth 255 | pamtopam > "$base.ref.pam" ;;
    esac
  done
  # 16-bit grey with alpha, little-endian, deflate with differencing: ImageMagick widens each
  # sample exactly (times 257), and python3-pil reads no such file: ImageMagick narrows it back
  # for the reference, which then holds the pixels python3-pil read from the 8-bit file.
  convert im_grey_alpha.tif -depth 16 -define tiff:endian=lsb -compress zip -define tiff:predictor=2 \
    tiff:im_grey_alpha16_zip2_le.tif
  convert im_grey_alpha16_zip2_le.tif -depth 8 pam:im_grey_alpha16_zip2_le.ref.pam

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
  # Hand-built: a preview right behind the 30-byte header, the PostScript after it.
  python3 - cp_rgb_none_le.tif hb_preview_at_30.eps <<'PY'
import struct, sys
tiff = open(sys.argv[1], 'rb').read()
ps = b'%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 13 7\nshowpage\n'
header = b'\xc5\xd0\xd3\xc6' + struct.pack('<6IH', 30 + len(tiff), len(ps), 0, 0, 30, len(tiff), 0xFFFF)
open(sys.argv[2], 'wb').write(header + tiff + ps)
PY
  cp cp_rgb_none_le.ref.pam hb_preview_at_30.ref.pam

  # Colours computed from YCbCr, Lab and 16-bit samples, in tiff_colour: libtiff's own
  # conversion to RGBA (tiff2rgba) decodes them within 1 of the colour manager, which rounds
  # its YCbCr terms and 16-bit samples differently. ImageMagick writes YCbCr without
  # subsampling, and Lab of black and white (the colour manager's Lab is linear, libtiff's
  # has the display's gamma: only the extremes agree).
  cd ../tiff_colour
  echo 1 > tolerance
  rgba() { tiff2rgba "$1" "$tmp/rgba.tif" && tifftopnm "$tmp/rgba.tif" 2>/dev/null | pamtopam > "$2"; }
  printf 'P3\n4 2\n255\n0 0 0 255 255 255 0 0 0 255 255 255 255 255 255 0 0 0 255 255 255 0 0 0\n' > "$tmp/bw.ppm"
  convert "$tmp/bw.ppm" -colorspace Lab -compress none tiff:im_lab.tif
  convert "$tmp/bw.ppm" -colorspace Lab -depth 16 -define tiff:endian=msb -compress none tiff:im_lab16_be.tif
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
  # 16-bit RGB whose words differ in their two bytes, big-endian, deflate with differencing:
  # tifftopnm's reduction to 8 bits rounds where the colour manager cuts.
  convert -size 13x7 gradient:'rgb(250,3,120)-rgb(7,240,33)' -depth 16 -define tiff:endian=msb -compress zip \
    -define tiff:predictor=2 tiff:im_rgb16_gradient_zip2_be.tif
  tifftopnm im_rgb16_gradient_zip2_be.tif 2>/dev/null | pamdepth 255 | pamtopam > im_rgb16_gradient_zip2_be.ref.pam
  # 16-bit CMYK in big-endian words, which neither tifftopnm nor tiff2rgba reads: ImageMagick
  # narrows it to 8 bits, which tifftopnm decodes.
  convert "$tmp/src.ppm" -colorspace CMYK -depth 16 -define tiff:endian=msb -compress none tiff:im_cmyk16_be.tif
  convert im_cmyk16_be.tif -depth 8 -compress none tiff:"$tmp/cmyk8.tif"
  tifftopnm "$tmp/cmyk8.tif" 2>/dev/null | pamtopam > im_cmyk16_be.ref.pam
  # libtiff writes 16-bit CMYK, little-endian deflate with differencing and big-endian
  # uncompressed, and an 8-bit twin of each, whose colours libtiff decodes for the reference.
  /usr/bin/python3 "$here/libtiff_built.py" cmyk "$here/tiff_colour" "$tmp"
  for f in lt_cmyk16_le lt_cmyk16_be; do rgba "$tmp/$f.tif" $f.ref.pam; done

  cd ../tiff/bad
  tiffcp -t -c none "$tmp/rgb.tif" cp_tiled.tif
  echo "Tiled images are not supported for TIF/TIFF files." > cp_tiled.ref.txt
  tiffcp -p separate -c none "$tmp/rgb.tif" cp_planar.tif
  echo "Images with separate sample planes are not supported for TIF/TIFF files." > cp_planar.ref.txt
  tiffcp -c lzw "$tmp/rgb.tif" cp_lzw.tif
  echo "The compression scheme is not supported for TIF/TIFF files." > cp_lzw.ref.txt
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
  cp cp_rgb_packbits_r3_be.tif cp_mono_packbits_lsb2msb.tif cp_rgb_zip2_r3_be.tif cp_grey16_zip2_le.tif \
    nb_palette_2bit.tif im_grey_alpha.tif cp_grey_alpha_zip2_be.tif hb_be_short_strips.tif \
    gm_ept.eps ../tiff_colour/im_ycbcr.tif bad/*.tif bad/*.eps "$seeds/"
}

pcd() {
  fresh pcd
  # ImageMagick writes an image pack (Base resolution at sector 96); its four corners differ,
  # so a wrong turn shows. Copies get rotations 1 and 3 patched into the header (byte 3586),
  # and an overview pack ("PCD_OPA", Base resolution at sector 5) with rotation 2 is built
  # around the same planes. Flat areas keep the files small in the repository.
  convert -size 768x512 'xc:rgb(40,90,160)' \
    -fill 'rgb(220,60,40)' -draw 'rectangle 0,0 255,170' \
    -fill 'rgb(250,230,90)' -draw 'rectangle 600,380 767,511' \
    -fill 'rgb(30,160,70)' -draw 'circle 384,256 384,330' \
    -fill white -draw 'rectangle 700,10 760,40' -stroke black -draw 'line 10,500 700,20' \
    \( -size 40x300 gradient:white-black -rotate 90 \) -geometry +300+460 -composite \
    "$tmp/pcd_src.ppm"
  convert "$tmp/pcd_src.ppm" pcd:im_rot0.pcd
  # The references are what the Base planes give by the reader's own rules, worked out here:
  # each chroma plane doubled (horizontally, then the rows between), PhotoYCC turned into RGB
  # through the 32-bit float tables of the colour manager (coefficients 0.2125, 0.7154,
  # 0.0721; Cb centred on 156, Cr on 137), then the quarter turn.
  /usr/bin/python3 - <<'PY'
import struct
base = open("im_rot0.pcd", "rb").read()
assert base[2048:2051] == b"PCD" and base[3586] & 3 == 0
W, H = 768, 512
planes = base[96 * 2048:96 * 2048 + W * H * 3 // 2]

def patched(data, rotation):
    out = bytearray(data)
    out[3586] = (out[3586] & ~3) | rotation
    return bytes(out)

open("im_rot1.pcd", "wb").write(patched(base, 1))
open("im_rot3.pcd", "wb").write(patched(base, 3))
overview = bytearray(5 * 2048)
overview[0:7] = b"PCD_OPA"
overview[10:12] = (1).to_bytes(2, "big")
open("ov_rot2.pcd", "wb").write(patched(bytes(overview) + planes, 2))

luma, c1, c2 = bytearray(W * H), bytearray(W * H), bytearray(W * H)
at = 0
for y in range(0, H, 2):
    luma[y * W:(y + 2) * W] = planes[at:at + 2 * W]; at += 2 * W
    c1[y // 2 * W:y // 2 * W + W // 2] = planes[at:at + W // 2]; at += W // 2
    c2[y // 2 * W:y // 2 * W + W // 2] = planes[at:at + W // 2]; at += W // 2

def upsample(p, w, h, scan):
    for y in range(h - 1, -1, -1):
        s = p[y * scan:y * scan + w]
        d = bytearray(2 * w)
        d[2 * w - 2] = d[2 * w - 1] = s[w - 1]
        for x in range(w - 2, -1, -1):
            d[2 * x] = s[x]
            d[2 * x + 1] = (s[x] + s[x + 1] + 1) >> 1
        p[2 * y * scan:2 * y * scan + 2 * w] = d
    for y in range(h - 1):
        a, b, m = 2 * y * scan, (2 * y + 2) * scan, (2 * y + 1) * scan
        for x in range(0, 2 * w - 2, 2):
            p[m + x] = (p[a + x] + p[b + x] + 1) >> 1
            p[m + x + 1] = (p[a + x] + p[a + x + 2] + p[b + x] + p[b + x + 2] + 2) >> 2
        for x in (2 * w - 2, 2 * w - 1):
            p[m + x] = (p[a + x] + p[b + x] + 1) >> 1
    p[(2 * h - 1) * scan:(2 * h - 1) * scan + 2 * w] = p[(2 * h - 2) * scan:(2 * h - 2) * scan + 2 * w]

upsample(c1, W // 2, H // 2, W)
upsample(c2, W // 2, H // 2, W)

f32 = lambda v: struct.unpack("f", struct.pack("f", v))[0]
kr, kg, kb = f32(0.2125), f32(0.7154), f32(0.0721)
f1 = f32(2 - 2 * kr); f2 = f32(f32(kr * f1) / kg)
f3 = f32(2 - 2 * kb); f4 = f32(f32(kb * f3) / kg)
cr_red = [round(f32(f1 * (i - 137))) for i in range(256)]
cb_blue = [round(f32(f3 * (i - 156))) for i in range(256)]
cr_green = [-round(f32(f2 * (i - 137))) for i in range(256)]
cb_green = [-round(f32(f4 * (i - 156))) for i in range(256)]
clamp = lambda v: 0 if v < 0 else 255 if v > 255 else v
rgb = [None] * (W * H)
for i in range(W * H):
    y, cb, cr = luma[i], c1[i], c2[i]
    rgb[i] = bytes((clamp(y + cr_red[cr]), clamp(y + cb_green[cb] + cr_green[cr]), clamp(y + cb_blue[cb])))

def pam(name, w, h, pixel):
    rows = [b"".join(pixel(x, y) for x in range(w)) for y in range(h)]
    head = "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n" % (w, h)
    open(name + ".ref.pam", "wb").write(head.encode() + b"".join(rows))

upright = lambda x, y: rgb[y * W + x]
pam("im_rot0", W, H, upright)
pam("ov_rot2", W, H, upright)
# Rotation 1: stored pixel X of row Y shows at row 767 - X, column Y; rotation 3 at row X,
# column 511 - Y.
pam("im_rot1", H, W, lambda x, y: rgb[x * W + (W - 1 - y)])
pam("im_rot3", H, W, lambda x, y: rgb[(H - 1 - x) * W + y])
PY

  cd bad
  head -c 6000 ../im_rot0.pcd > cut_header.pcd
  head -c 300000 ../im_rot0.pcd > cut_planes.pcd
  { head -c 7000 /dev/zero; } > no_marks.pcd
  for f in cut_header cut_planes; do echo "Stream read error" > $f.ref.txt; done
  echo "Invalid or unexpected Photo-CD image format." > no_marks.ref.txt
  cd ..
  mkdir -p "$seeds"
  cp bad/cut_header.pcd bad/no_marks.pcd "$seeds/"
}

tiff_fax() {
  fresh tiff_fax
  # A bilevel page: blocks, lines and a circle (runs of every length, make-up codes beyond 64),
  # and a row of 1800 pixels for the make-up codes above 1728.
  convert -size 200x40 xc:white -fill black -draw 'rectangle 3,2 150,9' -draw 'circle 100,25 100,38' \
    -draw 'line 0,39 199,0' -draw 'rectangle 170,12 199,39' -monochrome "$tmp/page.pbm"
  convert -size 1800x3 xc:white -fill black -draw 'rectangle 1790,0 1795,2' -draw 'point 0,1' \
    -monochrome "$tmp/wide.pbm"
  # netpbm's Group 3 rows (most significant bit first) made into TIFF files by fax2tiff: one-
  # dimensional ("-5"), stored least significant bit first as fax2tiff does; and the same
  # coded two-dimensionally ("-6"), which the reader refuses.
  g3() {  # source width name options...
    local src=$1 width=$2 name=$3; shift 3
    pbmtog3 -nofixedwidth "$src" > "$tmp/page.g3" 2>/dev/null
    fax2tiff -M -X "$width" "$@" -o "$name" "$tmp/page.g3" 2>/dev/null
  }
  g3 "$tmp/page.pbm" 200 fx_g3_1d.tif -5
  g3 "$tmp/wide.pbm" 1800 fx_g3_1d_wide.tif -5
  g3 "$tmp/page.pbm" 200 bad/fx_g3_2d.tif -6
  # tiffcp rewrites them: Group 3 one-dimensional in either fill order, with rows of 7 strips,
  # and with EOLs aligned on bytes (fill bits).
  tiffcp -c g3:1d -f lsb2msb -r 7 fx_g3_1d.tif cp_g3_1d_lsb2msb.tif
  tiffcp -c g3:1d -f msb2lsb fx_g3_1d.tif cp_g3_1d_msb2lsb.tif
  tiffcp -c g3:1d:fill fx_g3_1d.tif cp_g3_1d_fill.tif
  # python3-pil writes modified Huffman rows (compression 2).
  /usr/bin/python3 - "$tmp/page.pbm" <<'PY'
import sys
from PIL import Image
Image.open(sys.argv[1]).convert("1").save("pl_mh.tif", compression="tiff_ccitt")
PY
  # Hand-built: modified Huffman rows each starting on a 16-bit boundary (compression 32771),
  # and ThunderScan 4-bit grey (compression 32809): codes of every kind, a 2-bit delta byte
  # that crosses a row's end. A small TIFF writer: one strip, little-endian.
  /usr/bin/python3 - <<'PY'
import struct

def tiff(path, width, height, bits, compression, photometric, data, fill=1):
    e = {256: width, 257: height, 258: bits, 259: compression, 262: photometric, 266: fill,
         273: 0, 277: 1, 278: height, 279: len(data)}
    head = 8 + 2 + 12 * len(e) + 4
    out = b"II" + struct.pack("<HI", 42, 8) + struct.pack("<H", len(e))
    for tag in sorted(e):
        value = head if tag == 273 else e[tag]
        out += struct.pack("<HHII", tag, 4, 1, value)
    open(path, "wb").write(out + struct.pack("<I", 0) + data)

WHITE = {0: "00110101", 2: "0111", 3: "1000", 4: "1011", 5: "1100", 6: "1110", 7: "1111", 8: "10011",
         12: "001000", 64: "11011"}
BLACK = {0: "0000110111", 1: "010", 2: "11", 3: "10", 4: "011", 5: "0011", 6: "0010", 12: "0000111"}

def bits_to_bytes(bits):
    bits += "0" * (-len(bits) % 8)
    return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))

# 20 pixels a row, runs alternating from white; each row's codes padded to 16 bits. A white
# run of 64 + 0 crosses nothing: rows are 20 wide, so the longest run is 12.
rows = [[3, 5, 12], [0, 2, 4, 6, 8], [20 - 12, 12], [7, 1, 12], [12, 6, 2], [4, 4, 4, 4, 4]]
data = b""
for runs in rows:
    assert sum(runs) == 20
    code = ""
    for i, run in enumerate(runs):
        table = WHITE if i % 2 == 0 else BLACK
        code += table[run]
    row = bits_to_bytes(code)
    data += row + b"\0" * (len(row) % 2)
tiff("hb_mh_word_aligned.tif", 20, len(rows), 1, 32771, 0, data)
# Its reference from the runs (libtiff aligns such rows by where its own buffer stands, not
# by where the row's data ends, and cannot read it): white is 255, black 0.
pixels = b"".join(bytes([255 if i % 2 == 0 else 0]) * run for runs in rows for i, run in enumerate(runs))
head = "P7\nWIDTH 20\nHEIGHT %d\nDEPTH 1\nMAXVAL 255\nTUPLTYPE GRAYSCALE\nENDHDR\n" % len(rows)
open("hb_mh_word_aligned.ref.pam", "wb").write(head.encode() + pixels)

# ThunderScan, 7 pixels a row: raw pixels, runs after odd and even counts, 2-bit and 3-bit
# deltas (runs that pass a row's end are in the lt_thunder files).
thunder = bytes([0xC3, 0x02, 0x46, 0x9D,            # 3, run 2, +0 +1 (2 skipped), +3 -3
                 0xCF, 0x03, 0xC1, 0xC2, 0xC5,      # 15, run 3, 1, 2, 5
                 0xC0, 0x5A, 0x8A, 0x01, 0xC9, 0xC2])   # 0, +1 (2 2 skipped), +1 +2, run 1, 9, 2
tiff("hb_thunder.tif", 7, 3, 4, 32809, 1, thunder)
PY
  # Group 3 options bit 1, which allows uncompressed mode, set on a one-dimensional file
  # whose data does not use it: libtiff decodes it as the file without the bit.
  python3 - fx_g3_1d.tif fx_g3_uncompressed_allowed.tif <<'PY'
import struct, sys
d = bytearray(open(sys.argv[1], "rb").read())
order = "<" if d[:2] == b"II" else ">"
ifd, = struct.unpack(order + "I", d[4:8])
n, = struct.unpack(order + "H", d[ifd:ifd + 2])
for i in range(n):
    at = ifd + 2 + 12 * i
    if struct.unpack(order + "H", d[at:at + 2])[0] == 292:
        d[at + 8:at + 12] = struct.pack(order + "I", 2)
open(sys.argv[2], "wb").write(d)
PY
  cd bad
  # Rows whose data enters uncompressed mode (EOL, white 3, then the extension code
  # 000000001 with 111), in a file whose options allow it: refused.
  python3 - <<'PY'
import struct
bits = "000000000001" + "1000" + "000000001111" + "0" * 8
data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
e = {256: 8, 257: 1, 258: 1, 259: 3, 262: 0, 273: 0, 277: 1, 278: 1, 279: len(data), 292: 2}
head = 8 + 2 + 12 * len(e) + 4
out = b"II" + struct.pack("<HI", 42, 8) + struct.pack("<H", len(e))
for tag in sorted(e):
    out += struct.pack("<HHII", tag, 4, 1, head if tag == 273 else e[tag])
open("hb_g3_uncompressed_mode.tif", "wb").write(out + struct.pack("<I", 0) + data)
PY
  for f in fx_g3_2d hb_g3_uncompressed_mode; do
    echo "The compression scheme is not supported for TIF/TIFF files." > $f.ref.txt
  done
  cd ..
  for f in [!h]*.tif hb_thunder.tif; do tifftopnm "$f" 2>/dev/null | pamdepth 255 | pamtopam > "${f%.tif}.ref.pam"; done
  # libtiff writes hand-coded ThunderScan strips as they are and decodes them row by row for
  # the references: runs that pass a row's end after odd and even counts, deltas past it;
  # rows of odd and even width, several to a strip.
  /usr/bin/python3 "$here/libtiff_built.py" thunder "$here/tiff_fax"
  mkdir -p "$seeds"
  cp cp_g3_1d_lsb2msb.tif pl_mh.tif hb_mh_word_aligned.tif hb_thunder.tif bad/*.tif "$seeds/"
}

tiff_jpeg() {
  fresh tiff_jpeg
  # libtiff's tiffcp writes YCbCr with 2 x 2 subsampling and the tables in the JPEG tables
  # field, in strips of 16 rows (the last one shorter); ImageMagick writes RGB and grey.
  convert "$tmp/src.ppm" -scale 300% -depth 8 "$tmp/big.ppm"
  pamtotiff -truecolor -none "$tmp/big.ppm" > "$tmp/big.tif" 2>/dev/null
  tiffcp -c jpeg -r 16 "$tmp/big.tif" cp_ycbcr.tif
  convert "$tmp/big.ppm" -compress JPEG tiff:im_rgb.tif
  convert "$tmp/big.ppm" -colorspace Gray -compress JPEG tiff:im_grey.tif
  # References by libtiff: tifftopnm, which knows no YCbCr, reads what tiff2rgba made of it
  # (libjpeg turning YCbCr into RGB, as for the reader).
  tiff2rgba -c none cp_ycbcr.tif "$tmp/rgba.tif"
  tifftopnm "$tmp/rgba.tif" 2>/dev/null | pamtopam > cp_ycbcr.ref.pam
  for f in im_*.tif; do tifftopnm "$f" 2>/dev/null | pamtopam > "${f%.tif}.ref.pam"; done
  # JPEG is lossy: a sample may differ from libtiff's by 2.
  echo 2 > tolerance
  cd bad
  # The strip's start marker overwritten: libjpeg's fatal error comes back as the reader's.
  python3 - ../im_grey.tif damaged_strip.tif <<'PY'
import struct, sys
d = bytearray(open(sys.argv[1], "rb").read())
order = "<" if d[:2] == b"II" else ">"
ifd, = struct.unpack(order + "I", d[4:8])
n, = struct.unpack(order + "H", d[ifd:ifd + 2])
for i in range(n):
    tag, typ, count, value = struct.unpack(order + "HHII", d[ifd + 2 + 12 * i:ifd + 14 + 12 * i])
    if tag == 273:
        assert count == 1 and d[value:value + 2] == b"\xff\xd8"
        d[value:value + 2] = b"\x12\x34"
open(sys.argv[2], "wb").write(d)
PY
  echo "Compression error found in TIF/TIFF file." > damaged_strip.ref.txt
  cd ..
  mkdir -p "$seeds"
  cp cp_ycbcr.tif im_grey.tif bad/*.tif "$seeds/"
}

bmp() {
  fresh bmp
  # ImageMagick encodes: 1, 4 and 8 bits, RLE8, 24 bits, 5-5-5 and 5-6-5 bit fields, and
  # 32 bits with an alpha mask in a version 5 header. Pillow encodes 1 bit, grey and palette
  # 8 bits, 24 bits and plain 32 bits; netpbm an OS/2 core header and 4 bits.
  convert "$tmp/c2.ppm" -type bilevel bmp3:im_1.bmp
  convert "$tmp/c16.ppm" -type palette bmp3:im_4.bmp
  convert "$tmp/src.ppm" -type palette -compress None bmp3:im_8.bmp
  convert "$tmp/src.ppm" -type palette -compress RLE bmp3:im_rle8.bmp
  convert "$tmp/src.ppm" -type truecolor bmp3:im_24.bmp
  convert "$tmp/src.ppm" -define bmp:subtype=RGB555 bmp:im_555.bmp
  convert "$tmp/src.ppm" -define bmp:subtype=RGB565 bmp:im_565.bmp
  convert "$tmp/alpha.pam" bmp:im_32_alpha.bmp
  convert "$tmp/alpha.pam" "png:$tmp/alpha.png"
  /usr/bin/python3 - "$tmp" <<'PY'
import sys
from PIL import Image
tmp = sys.argv[1]
Image.open(tmp + "/c2.ppm").convert("1").save("pl_1.bmp")
Image.open(tmp + "/grey.pgm").save("pl_grey.bmp")
Image.open(tmp + "/src.ppm").convert("P", palette=Image.ADAPTIVE, colors=50).save("pl_palette.bmp")
Image.open(tmp + "/src.ppm").save("pl_24.bmp")
Image.open(tmp + "/alpha.png").convert("RGBA").save("pl_32.bmp")
PY
  ppmtobmp -os2 "$tmp/src.ppm" > nb_os2.bmp 2>/dev/null
  ppmtobmp -windows "$tmp/c16.ppm" > nb_4.bmp 2>/dev/null
  /usr/bin/python3 "$here/hand_built.py" bmp .
  # References by Pillow; ImageMagick for run-length data and the bit fields Pillow does not
  # read. Fields of fewer than eight bits are compared in their own bits, as decoders widen
  # them differently; Pillow reads a plain 32-bit pixel as colour only, and ImageMagick reads
  # a 1-bit alpha field as half transparent, so that one is compared in colour only.
  for f in *.bmp *.dib *.rle; do
    base=${f%.*}
    case $base in
      *rle*|hb_444|hb_1010) convert "$f" -depth 8 "pam:$base.ref.pam" ;;
      hb_1555_v4) convert "$f" -alpha off -depth 8 "pam:$base.ref.pam" ;;
      *) /usr/bin/python3 "$here/hand_built.py" pil "$f" "$base.ref.pam" ;;
    esac
  done
  for base in im_555 im_565 hb_1555_v4; do /usr/bin/python3 "$here/hand_built.py" top_bits $base.ref.pam 5 $base.ref.pam; done
  /usr/bin/python3 "$here/hand_built.py" top_bits hb_444.ref.pam 4 hb_444.ref.pam
  # The plain bitmap reader's seeds for loading from bytes.
  mkdir -p "$seeds"
  cp hb_rle4.bmp hb_rle8.rle hb_444.bmp hb_1555_v4.bmp hb_packed.dib hb_os2v2.bmp hb_4_td.bmp im_1.bmp im_565.bmp \
    nb_os2.bmp bad/*.bmp "$seeds/"
  picture_files_seeds bmp hb_rle4.bmp im_565.bmp nb_os2.bmp hb_1555_v4.bmp bad/short_rows.bmp bad/rle8_cut.bmp
  picture_files_seeds rle hb_rle8.rle
  picture_files_seeds dib hb_packed.dib
}

ico() {
  fresh ico
  # Icons hold one picture in several sizes; the largest is read. ImageMagick writes
  # bitmap entries (32-bit, and 4- or 8-bit with a colour table), largest first or not;
  # Pillow writes PNG entries with alpha. References by Pillow, which opens an icon at its
  # largest size.
  convert rose: -resize 32x32! "$tmp/r32.ppm"
  convert rose: -resize 16x16! -colors 16 "$tmp/r16.png"
  convert rose: -resize 24x24! -colors 200 "$tmp/r24.png"
  convert "$tmp/r32.ppm" "$tmp/r16.png" im_32_first.ico
  convert "$tmp/r16.png" "$tmp/r24.png" im_8_last.ico
  convert rose: -resize 48x48! -alpha set -channel A -fx '(i+j)/96' +channel "png:$tmp/r48a.png"
  /usr/bin/python3 -c "from PIL import Image; Image.open('$tmp/r48a.png').save('pl_png.ico', sizes=[(16, 16), (48, 48), (32, 32)])"
  for f in *.ico; do /usr/bin/python3 "$here/hand_built.py" pil "$f" "${f%.ico}.ref.pam"; done
  cd bad
  head -c 30 ../im_32_first.ico > cut_directory.ico
  printf 'not an icon at all, just text' > text.ico
  # The largest picture (48 pixels wide, stored last) damaged in its image data: only the
  # largest is decoded. And, as a seed, a directory of 300 entries all pointing at it.
  /usr/bin/python3 - ../pl_png.ico "$tmp/many_entries.ico" <<'PY'
import sys
d = open(sys.argv[1], "rb").read()
damaged = bytearray(d)
damaged[d.rindex(b"IDAT") + 8] ^= 0x55
open("largest_damaged.ico", "wb").write(damaged)
entry = d[6 + 32:6 + 32 + 12] + (6 + 16 * 300).to_bytes(4, "little")
png = d[int.from_bytes(d[6 + 32 + 12:6 + 32 + 16], "little"):]
open(sys.argv[2], "wb").write(b"\0\0\1\0" + (300).to_bytes(2, "little") + entry * 300 + png)
PY
  for f in *.ico; do echo "Invalid or unexpected Windows icon image format" > "${f%.ico}.ref.txt"; done
  cd ..
  picture_files_seeds ico im_8_last.ico bad/cut_directory.ico
  picture_decoders_seeds 0 im_32_first.ico pl_png.ico bad/cut_directory.ico bad/largest_damaged.ico "$tmp/many_entries.ico"
}

jpeg() {
  fresh jpeg
  # libjpeg's cjpeg writes baseline, progressive and grey pictures, ImageMagick one without
  # subsampling, Pillow one with 4:2:0 subsampling and optimised tables; each extension of
  # the table once. References by libjpeg's djpeg, the library Qt decodes with.
  convert rose: -resize 21x13! "$tmp/rose.ppm"
  cjpeg -quality 85 "$tmp/rose.ppm" > cj_base.jpg
  cjpeg -progressive "$tmp/rose.ppm" > cj_progressive.jpeg
  cjpeg -grayscale "$tmp/rose.ppm" > cj_grey.jpg
  convert "$tmp/rose.ppm" -sampling-factor 1x1 -quality 90 im_444.jpe
  /usr/bin/python3 -c "from PIL import Image; Image.open('$tmp/rose.ppm').save('pl_420.jfif', 'JPEG', subsampling=2, optimize=True)"
  for f in *.jpg *.jpeg *.jpe *.jfif; do djpeg -pnm "$f" | pamtopam > "${f%.*}.ref.pam"; done
  cd bad
  printf 'not a JPEG picture' > text.jpg
  # The frame header's height and width set to 0.
  /usr/bin/python3 - ../cj_base.jpg zero_size.jpg <<'PY'
import sys
d = bytearray(open(sys.argv[1], "rb").read())
at = d.index(b"\xff\xc0") + 5
d[at:at + 4] = bytes(4)
open(sys.argv[2], "wb").write(d)
PY
  for f in *.jpg; do echo "Invalid or unexpected JPEG image format" > "${f%.jpg}.ref.txt"; done
  # The progressive picture's last scan repeated 600 times; the same at 8000 x 6000 with its
  # first component not subsampled (4:4:4), whose coefficients, kept for the whole picture
  # until the last scan, pass the picture cap; the grey one at 9000 x 8000, past the cap.
  /usr/bin/python3 - ../cj_progressive.jpeg ../cj_grey.jpg <<'PY'
import sys
p, g = (open(f, "rb").read() for f in sys.argv[1:3])
last, end = p.rindex(b"\xff\xda"), p.rindex(b"\xff\xd9")
open("many_scans.jpeg", "wb").write(p[:end] + p[last:end] * 600 + p[end:])
def resized(d, frame, width, height, sampling=None):
    d = bytearray(d)
    at = d.index(frame) + 5
    d[at:at + 4] = height.to_bytes(2, "big") + width.to_bytes(2, "big")
    if sampling:
        d[at + 6] = sampling
    return d
open("coefficients_444.jpeg", "wb").write(resized(p, b"\xff\xc2", 8000, 6000, 0x11))
open("past_cap.jpeg", "wb").write(resized(g, b"\xff\xc0", 9000, 8000))
PY
  echo "(more than 500 scans)" > many_scans.ref.txt
  echo "(a size of 8000 x 6000 pixels)" > coefficients_444.ref.txt
  echo "(a size of 9000 x 8000 pixels)" > past_cap.ref.txt
  cd ..
  picture_files_seeds jpg cj_grey.jpg bad/zero_size.jpg
  picture_decoders_seeds 2 cj_base.jpg cj_progressive.jpeg im_444.jpe pl_420.jfif bad/zero_size.jpg bad/many_scans.jpeg \
    bad/past_cap.jpeg
}

# Metafiles: Inkscape writes them from SVG drawings and, reading them back on its own,
# draws the references at 96 pixels an inch, the size the metafile reader draws at. Edges
# fall on different pixels from one renderer to the next and are smoothed differently
# (libwmf does not smooth them at all): a pixel may match its reference within a pixel's
# distance and 32 levels.
metafile_sources() {
  cat > "$tmp/shapes.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="24" height="16" viewBox="0 0 24 16">
  <rect x="0" y="0" width="24" height="16" fill="#ffffff"/>
  <rect x="2" y="2" width="8" height="6" fill="#c81e1e"/>
  <rect x="12" y="4" width="10" height="10" fill="#1e64c8"/>
  <rect x="4" y="10" width="4" height="4" fill="#32b432"/>
</svg>
SVG
  # No background: what nothing covers stays white.
  cat > "$tmp/figures.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="40" height="30" viewBox="0 0 40 30">
  <ellipse cx="12" cy="12" rx="9" ry="7" fill="#f0c020"/>
  <polygon points="22,26 38,26 34,6 27,6" fill="#208040"/>
  <rect x="3" y="22" width="14" height="5" fill="#802080"/>
</svg>
SVG
}

metafile() {  # extension
  local ext=$1
  metafile_sources
  for name in shapes figures; do
    inkscape "$tmp/$name.svg" --export-type="$ext" --export-filename="ink_$name.$ext" 2>/dev/null
    inkscape "ink_$name.$ext" --export-type=png --export-dpi=96 --export-background=white \
      --export-background-opacity=1 --export-filename="$tmp/$name.png" 2>/dev/null
    /usr/bin/python3 "$here/hand_built.py" pil "$tmp/$name.png" "ink_$name.ref.pam"
  done
  echo "32 1" > tolerance
}

wmf() {
  fresh wmf
  metafile wmf
  cd bad
  head -c 40 ../ink_shapes.wmf > cut.wmf
  printf 'not a metafile, only text' > text.wmf
  /usr/bin/python3 "$here/hand_built.py" wmf .
  for f in *.wmf; do echo "Invalid or unexpected Windows metafile image format" > "${f%.wmf}.ref.txt"; done
  cd ..
  picture_files_seeds wmf ink_figures.wmf bad/cut.wmf
  picture_decoders_seeds 1 ink_shapes.wmf ink_figures.wmf bad/*.wmf
}

emf() {
  fresh emf
  metafile emf
  cd bad
  # A frame of no size, and one of a hundred metres.
  /usr/bin/python3 - ../ink_shapes.emf <<'PY'
import struct, sys
d = bytearray(open(sys.argv[1], "rb").read())
struct.pack_into("<iiii", d, 24, 0, 0, 0, 0)
open("no_frame.emf", "wb").write(d)
struct.pack_into("<iiii", d, 24, 0, 0, 10000000, 10000000)
open("huge_frame.emf", "wb").write(d)
PY
  for f in *.emf; do echo "Invalid or unexpected Windows enhanced metafile image format" > "${f%.emf}.ref.txt"; done
  cd ..
  picture_files_seeds emf ink_figures.emf bad/no_frame.emf
  picture_decoders_seeds 1 ink_shapes.emf ink_figures.emf bad/huge_frame.emf
}

# Seeds for loading by file name from the other readers' fixtures (the class library's
# formats add theirs in their sections); a Dr. Halo picture with its palette behind it.
picture_files() {
  cd "$here"
  picture_files_seeds tga targa/im_24_rle_bu.tga targa/bad/short_rows.tga
  picture_files_seeds tif tiff/cp_rgb_packbits_r3_be.tif tiff_jpeg/im_grey.tif
  picture_files_seeds eps tiff/gm_ept.eps
  picture_files_seeds pcx pcx/nb_8.pcx
  picture_files_seeds sgi sgi/nb_rgb_rle.sgi
  picture_files_seeds psd psd/im_indexed_rle.psd
  picture_files_seeds pgm ppm/nb_p5_16.pgm
  picture_files_seeds png png/nb_pal4_bkgd.png
  picture_files_seeds psp psp/v4_pal1_c0.psp
  picture_files_seeds rla rla/hb_rgb_td.rla
  picture_files_seeds cel autodesk/hb_2x2.cel
  local i n
  for i in "${!extensions[@]}"; do [ "${extensions[$i]}" = cut ] && break; done
  n=$(stat -c %s cut/hb_pal.cut)
  { bytes "$i" $((n & 255)) $((n >> 8)); cat cut/hb_pal.cut cut/hb_pal.pal; } > "$seeds/../picture_files/hb_pal.cut"
}

for format in "${@:-${all[@]}}"; do
  "$format"
done
