#!/usr/bin/python3
"""Writes image files no encoder on hand makes, from their published layouts, for
make_fixtures.sh: Windows bitmaps (run-length with jumps, top-down rows, unusual bit
fields, packed and OS/2 headers), a metafile libwmf crashes on, RLA files (GraphicsMagick decodes them), Photoshop files
in the colour modes ImageMagick does not write (bitmap, multichannel, duotone, Lab), TIFF
directories no encoder writes, plus damaged ones.
Also writes the pixels python3-pil reads from a picture as a PAM reference.
Usage: hand_built.py bmp|wmf|rla|psd|tiff <folder>, hand_built.py pil <picture> <reference.pam>, or
hand_built.py top_bits <reference.pam> <bits> <out.pam>"""
import os
import struct
import sys


def pattern(w, h, channel):
    """One channel of a test picture: a flat block on the left (runs), varied bytes right."""
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            if x < w // 3:
                row.append((40 + 60 * channel + 10 * y) % 256)
            else:
                row.append((x * (37 + 11 * channel) + y * (53 + channel) + x * x * channel) % 256)
        rows.append(bytes(row))
    return rows


# ---- RLA ----

def rla_pack(row):
    """RLA runs: n >= 0 repeats the next byte n + 1 times, n < 0 copies -n bytes."""
    out, i = bytearray(), 0
    while i < len(row):
        run = 1
        while i + run < len(row) and row[i + run] == row[i] and run < 128:
            run += 1
        if run >= 3:
            out += bytes([run - 1, row[i]])
            i += run
            continue
        start = i
        while i < len(row) and i - start < 128:
            if i + 2 < len(row) and row[i] == row[i + 1] == row[i + 2]:
                break
            i += 1
        out += bytes([(256 - (i - start)) % 256]) + row[start:i]
    return bytes(out)


def rla(path, w, h, matte=0, bottom_up=True, chan=b"rgb", gamma=b"1.0", bits=8, channels=3,
        reverse=False, revision=0xFFFE, cut=None, planes=None):
    planes = planes or [pattern(w, h, c) for c in range(channels + (1 if matte else 0))]
    header = bytearray(740)
    bottom, top = (0, h - 1) if bottom_up else (h - 1, 0)
    struct.pack_into(">8h", header, 0, 0, w - 1, bottom, top, 0, w - 1, bottom, top)
    struct.pack_into(">5hH", header, 16, 1, 0, channels, matte, 0, revision)
    header[28:28 + len(gamma)] = gamma
    header[580:580 + len(chan)] = chan
    struct.pack_into(">5h", header, 658, bits, 0, bits if matte else 0, 0, 0)
    # Scanline y of the file is the bottom row first when bottom-up.
    lines = []
    for y in range(h):
        row = h - 1 - y if bottom_up else y
        block = b""
        for plane in planes:
            packed = rla_pack(plane[row])
            block += struct.pack(">H", len(packed)) + packed
        lines.append(block)
    body, offsets = b"", [0] * h
    start = 740 + 4 * h
    order = range(h - 1, -1, -1) if reverse else range(h)
    for y in order:
        offsets[y] = start + len(body)
        body += lines[y]
    data = bytes(header) + struct.pack(">%dI" % h, *offsets) + body
    with open(path, "wb") as f:
        f.write(data[:cut] if cut else data)


def make_rla(folder):
    os.chdir(folder)
    rla("hb_rgb_bu.rla", 13, 7)
    rla("hb_rgba_bu.rpf", 13, 7, matte=1, gamma=b"")
    rla("hb_rgb_td.rla", 11, 5, bottom_up=False, chan=b"RGB")
    rla("hb_rgb_reordered.rla", 9, 4, reverse=True)
    rla("hb_wide.rla", 300, 2, planes=[[bytes([c * 40] * 290) + bytes(range(10))] * 2 for c in range(3)])
    # Without the revision mark: opened by its extension it loads as any other.
    rla("hb_no_revision.rla", 4, 2, revision=0)
    os.chdir("bad")
    rla("xyz.rla", 4, 2, chan=b"xyz")
    rla("other_type.rla", 4, 2, chan=b"lum")
    rla("bits_16.rla", 4, 2, bits=16)
    rla("four_channels.rla", 4, 2, channels=4)
    rla("two_mattes.rla", 4, 2, matte=2)
    rla("one_channel.rla", 4, 2, channels=1)
    rla("cut_scanline.rla", 6, 3, cut=740 + 12 + 10)
    rla("cut_offsets.rla", 6, 300, cut=750)
    # 30000 pixels wide, but each channel one run of 128: the stream cannot hold the rows.
    rla("short_scanlines.rla", 30000, 2, planes=[[bytes([9] * 128)] * 2 for c in range(3)])
    header = bytearray(open("xyz.rla", "rb").read())
    header[580:583] = b"rgb"
    struct.pack_into(">2h", header, 8, 5, 2)           # active right left of its left
    open("zero_width.rla", "wb").write(header)
    struct.pack_into(">2h", header, 8, 0, 3)
    struct.pack_into(">I", header, 740, 0x7FFFFFF0)    # first scanline far past the end
    open("offset_past_end.rla", "wb").write(header)


# ---- PSD ----

def packbits(row):
    out, i = bytearray(), 0
    while i < len(row):
        run = 1
        while i + run < len(row) and row[i + run] == row[i] and run < 128:
            run += 1
        if run >= 2:
            out += bytes([(257 - run) % 256, row[i]])
            i += run
            continue
        start = i
        while i < len(row) and i - start < 128 and not (i + 1 < len(row) and row[i] == row[i + 1]):
            i += 1
        out += bytes([i - start - 1]) + row[start:i]
    return bytes(out)


def psd(path, w, h, mode, channels, depth=8, rle=True, colour_data=b"", version=1, compression=None,
        cut=None, signature=b"8BPS"):
    """channels: one list of h rows per channel, each row as stored (16-bit big-endian)."""
    header = signature + struct.pack(">H6xHIIHH", version, len(channels), h, w, depth, mode)
    data = header + struct.pack(">I", len(colour_data)) + colour_data
    data += struct.pack(">I", 0) + struct.pack(">I", 0)
    if rle:
        packed = [packbits(row) for ch in channels for row in ch]
        data += struct.pack(">H", 1 if compression is None else compression)
        data += b"".join(struct.pack(">H", len(p)) for p in packed) + b"".join(packed)
    else:
        data += struct.pack(">H", 0 if compression is None else compression)
        data += b"".join(row for ch in channels for row in ch)
    with open(path, "wb") as f:
        f.write(data[:cut] if cut else data)


def wide(rows):
    """8-bit rows as 16-bit big-endian ones of the same value (v * 257)."""
    return [bytes(b for v in row for b in (v, v)) for row in rows]


def make_psd(folder):
    os.chdir(folder)
    w, h = 13, 7
    grey = pattern(w, h, 0)
    bits = [bytes([(0xA5 >> (y % 3)) & 0xFF, 0x3C ^ (y * 17 & 0xFF)]) for y in range(h)]
    psd("hb_bitmap.psd", w, h, 0, [bits], depth=1)
    psd("hb_bitmap_raw.psd", w, h, 0, [bits], depth=1, rle=False)
    psd("hb_multichannel.psd", w, h, 7, [pattern(w, h, c) for c in range(3)])
    psd("hb_rgb_five_channels.psd", w, h, 3, [pattern(w, h, c) for c in range(5)])   # extra masks
    duotone = b"\x00\x01" + bytes(range(200))      # duotone data, skipped
    psd("hb_duotone.psd", w, h, 8, [grey], colour_data=duotone)
    psd("hb_grey_16.psd", w, h, 1, [wide(grey)], depth=16)
    # Lab at the two ends where every decoder agrees: black (L 0) and white (L 100), with
    # neutral chroma (128, stored with an offset).
    lum = [bytes(255 * ((x + y) % 2) for x in range(w)) for y in range(h)]
    neutral = [bytes([128] * w)] * h
    psd("hb_lab.psd", w, h, 9, [lum, neutral, neutral])
    psd("hb_lab_16.psd", w, h, 9, [wide(lum), [bytes([128, 0] * w)] * h, [bytes([128, 0] * w)] * h],
        depth=16, rle=False)
    # A palette section longer than a table: the first 256 entries count.
    table = bytes(range(256)) + bytes(255 - i for i in range(256)) + bytes((i * 7) % 256 for i in range(256))
    psd("hb_indexed_long_table.psd", w, h, 2, [grey], colour_data=table + b"\x00\x05\xff\xff")
    psd("twin_indexed.psd", w, h, 2, [grey], colour_data=table)   # its reference's source
    os.chdir("bad")
    psd("rgb_two_channels.psd", 4, 2, 3, [pattern(4, 2, 0), pattern(4, 2, 1)])
    psd("hsb_mode.psd", 4, 2, 6, [pattern(4, 2, c) for c in range(3)])
    psd("depth_32.psd", 4, 2, 1, [[bytes(16)] * 2], depth=32, rle=False)
    psd("zip.psd", 4, 2, 1, [pattern(4, 2, 0)], rle=False, compression=2)
    psd("version_2.psd", 4, 2, 1, [pattern(4, 2, 0)], version=2)
    psd("lower_signature.psd", 4, 2, 1, [pattern(4, 2, 0)], signature=b"8bps")
    psd("cut_rle.psd", 8, 4, 3, [pattern(8, 4, c) for c in range(3)], cut=26 + 12 + 2 + 24 + 5)
    psd("cut_raw.psd", 8, 4, 3, [pattern(8, 4, c) for c in range(3)], rle=False, cut=26 + 12 + 2 + 40)
    psd("no_palette.psd", 4, 2, 2, [pattern(4, 2, 0)])
    psd("huge.psd", 60000, 60000, 3, [[b""], [b""], [b""]], rle=False, cut=26 + 12 + 2 + 8)
    psd("zero_height.psd", 4, 0, 1, [[]], rle=False)


# ---- TIFF ----

def tiff(path, changes={}, order="<", data=bytes(range(12)), first=8, version=42, entries=None):
    """A 2 x 2 RGB picture of the bytes 0 to 11 in one strip. changes: tag -> (type, values
    [, count claimed]), None drops the tag; order "<" or ">"; first: the first directory's
    offset; entries: the entry count claimed. The pixels follow the directory; values of more
    than four bytes follow the pixels; strip offsets count from the pixels."""
    e = {256: (3, [2]), 257: (3, [2]), 258: (3, [8, 8, 8]), 259: (3, [1]), 262: (3, [2]),
         273: (4, [0]), 277: (3, [3]), 278: (3, [2]), 279: (4, [len(data)])}
    e.update(changes)
    e = {t: v for t, v in e.items() if v is not None}
    head = 8 + 2 + 12 * len(e) + 4
    extra, body = bytearray(), bytearray()
    for tag in sorted(e):
        typ, values = e[tag][:2]
        count = e[tag][2] if len(e[tag]) > 2 else len(values)
        if tag == 273:
            values = [head + v for v in values]
        raw = b"".join(struct.pack(order + {1: "B", 3: "H", 4: "I"}[typ], v) for v in values)
        if len(raw) <= 4:
            field = raw.ljust(4, b"\0")
        else:
            field = struct.pack(order + "I", head + len(data) + len(extra))
            extra += raw
        body += struct.pack(order + "HHI", tag, typ, count) + field
    out = (b"II" if order == "<" else b"MM") + struct.pack(order + "HI", version, first)
    out += struct.pack(order + "H", len(e) if entries is None else entries) + body + struct.pack(order + "I", 0)
    with open(path, "wb") as f:
        f.write(out + data + extra)


def make_tiff(folder):
    os.chdir(folder)
    # Big-endian, two strips whose offsets and byte counts are SHORTs inside their entries.
    tiff("hb_be_short_strips.tif", order=">", changes={273: (3, [0, 6]), 278: (3, [1]), 279: (3, [6, 6])})
    # No Compression tag: TIFF's default, uncompressed.
    tiff("hb_no_compression_tag.tif", changes={259: None})
    # A colour map of 300 colours (planes at 0, 300 and 600): the first 256 count. Colour i is
    # (10 i, 255 - i, 7) in 16 bits; the pixels are 0, 1, 2, 3.
    colours = [10 * i % 256 * 257 for i in range(300)] + [(255 - i) % 256 * 257 for i in range(300)]
    tiff("hb_palette_300.tif", data=bytes([0, 1, 2, 3]),
         changes={258: (3, [8]), 262: (3, [3]), 277: (3, [1]), 320: (3, colours + [7 * 257] * 300)})
    with open("hb_palette_300.ref.pam", "wb") as f:
        f.write(b"P7\nWIDTH 2\nHEIGHT 2\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n")
        f.write(bytes([0, 255, 7, 10, 254, 7, 20, 253, 7, 30, 252, 7]))
    # Grey with alpha, white as the lowest value: the grey levels turn over, the alpha does not.
    tiff("hb_grey_alpha_miniswhite.tif", data=bytes([0, 255, 100, 10, 255, 0, 30, 128]),
         changes={258: (3, [8, 8]), 262: (3, [0]), 277: (3, [2]), 338: (3, [2])})
    with open("hb_grey_alpha_miniswhite.ref.pam", "wb") as f:
        f.write(b"P7\nWIDTH 2\nHEIGHT 2\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n")
        f.write(bytes([255, 255, 155, 10, 0, 0, 225, 128]))
    # Damaged directories: the picture with entries changed, each with the text its error
    # must hold.
    os.chdir("bad")
    invalid = "Invalid or unexpected TIF/TIFF image format."
    grey4 = {262: (3, [1]), 277: (3, [1]), 258: (3, [4])}
    palette = {262: (3, [3]), 277: (3, [1]), 258: (3, [8])}
    cases = [
        ("version_43", invalid, dict(version=43)),
        ("zero_width", invalid, dict(changes={256: (3, [0])})),
        ("too_big", invalid + " (a size of 60000 x 60000 pixels)", dict(changes={256: (4, [60000]), 257: (4, [60000])})),
        ("strip_offsets_past_end", invalid, dict(changes={273: (4, [0, 6], 40000), 278: (3, [1])})),
        ("no_strip_offsets", invalid, dict(changes={273: None})),
        ("packbits_no_byte_counts", invalid, dict(changes={259: (3, [32773]), 279: None})),
        ("packbits_short_byte_counts", invalid,
         dict(changes={259: (3, [32773]), 273: (4, [0, 6]), 278: (3, [1]), 279: (4, [6])})),
        ("ifd_past_end", "Stream read error", dict(first=5000)),
        ("ifd_cut", "Stream read error", dict(entries=400)),
        ("rgb_two_samples", "Sample count per pixel does not correspond", dict(changes={277: (3, [2])})),
        ("cmyk_three_samples", "Sample count per pixel does not correspond", dict(order=">", changes={262: (3, [5])})),
        ("ycbcr_subsampled", "Subsampled YCbCr images", dict(order=">", changes={262: (3, [6]), 530: (3, [2, 1])})),
        ("ycbcr_default_subsampling", "Subsampled YCbCr images", dict(changes={262: (3, [6])})),
        ("bits_12", "Bits per sample must be 1, 2, 4, 8 or 16.", dict(changes={258: (3, [12, 12, 12])})),
        ("rgb_4_bits", "Invalid color format in TIF/TIFF file.", dict(changes={258: (3, [4, 4, 4])})),
        ("palette_without_map", "Palette in TIF/TIFF file is invalid.", dict(changes=palette)),
        # 16-bit indices reach 65,536 colours, more than any palette holds.
        ("palette_16_bits", "Invalid color format in TIF/TIFF file.",
         dict(changes={**palette, 258: (3, [16]), 320: (3, [0] * 48)})),
        ("colormap_past_end", "Palette in TIF/TIFF file is invalid.", dict(changes={**palette, 320: (3, [0] * 6, 768)})),
        ("deflate_damaged", "LZ77 decompression error.", dict(changes={259: (3, [8])})),
        ("predictor_4_bits", "Horizontal differencing of samples other than 8 or 16 bits",
         dict(changes={**grey4, 259: (3, [32773]), 317: (3, [2])})),
        # Fax rows are one bit a pixel and ThunderScan rows four: other depths are refused.
        ("fax_8_bits", "Invalid color format in TIF/TIFF file.", dict(changes={**grey4, 258: (3, [8]), 259: (3, [2])})),
        ("thunder_8_bits", "Invalid color format in TIF/TIFF file.",
         dict(changes={**grey4, 258: (3, [8]), 259: (3, [32809])})),
        # Twelve bytes of strip cannot hold 50 million pixels, raw or as fax: refused before
        # the picture is made.
        ("huge_raw", "Stream read error in TIF/TIFF file.",
         dict(changes={**grey4, 258: (3, [8]), 256: (4, [50000]), 257: (4, [1000])})),
        ("huge_fax", "Stream read error in TIF/TIFF file.",
         dict(changes={**grey4, 258: (3, [1]), 259: (3, [2]), 256: (4, [400000]), 257: (4, [1000])})),
    ]
    for name, text, args in cases:
        tiff(name + ".tif", **args)
        with open(name + ".ref.txt", "w") as f:
            f.write(text + "\n")


# ---- Windows bitmaps ----

def bmp(path, w, h, bits, compression, pixels, palette=b"", masks=b"", header=40, colours=0, file_header=True,
        offset=None):
    """A Windows bitmap: file header (unless packed), info header of the given size (12 core,
    40 version 3, 64 OS/2 2.x, 108 version 4), masks after a version 3 header, colour table,
    pixels. Masks of a version 4 header go inside it."""
    if header == 12:
        info = struct.pack("<IHHHH", 12, w, h, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, w, h, 1, bits, compression, len(pixels), 2835, 2835, colours, 0)
        if header == 108:
            info += masks.ljust(16, b"\0") + b"BGRs" + bytes(48)
            masks = b""
        info = info.ljust(header, b"\0")
    body = info + masks + palette
    start = 14 + len(body) if offset is None else offset
    head = b"BM" + struct.pack("<IHHI", 14 + len(body) + len(pixels), 0, 0, start) if file_header else b""
    with open(path, "wb") as f:
        f.write(head + body + pixels)


def bmp_rows(rows, bits):
    """Rows of values, bottom row first as given, packed and padded to four bytes."""
    out = bytearray()
    for row in rows:
        packed = bytearray()
        if bits < 8:
            acc, n = 0, 0
            for v in row:
                acc, n = acc << bits | v, n + bits
                if n == 8:
                    packed.append(acc)
                    acc, n = 0, 0
            if n:
                packed.append(acc << (8 - n))
        else:
            for v in row:
                packed += v.to_bytes(bits // 8, "little")
        out += packed + bytes(-len(packed) % 4)
    return bytes(out)


def quad(colours):
    return b"".join(bytes([b, g, r, 0]) for r, g, b in colours)


def make_bmp(folder):
    os.chdir(folder)
    pal16 = quad([(i * 16, 255 - i * 16, i * 37 % 256) for i in range(16)])
    pal256 = quad([(i, i * 7 % 256, 255 - i) for i in range(256)])
    # RLE4, 13 x 4, bottom row first: a run of alternating values, an odd literal run
    # (padded to a word), a run to the row's end; a full row; a jump right 4 and up 1 over a
    # row, three pixels, the end of the picture. Skipped pixels are index 0.
    rle4 = bytes([5, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 3, 0xAA, 0, 0, 13, 0xF0, 0, 0, 0, 2, 4, 1, 3, 0x99, 0, 1])
    bmp("hb_rle4.bmp", 13, 4, 4, 2, rle4 + bytes(4), pal16)
    # RLE8, 13 x 5: literal runs, a row ended early, a jump inside a row, one over the rest
    # of a row and the next, a last literal run.
    rle8 = bytes([4, 10, 0, 3, 20, 21, 22, 0, 6, 30, 0, 0, 2, 50, 0, 0, 3, 60, 0, 2, 2, 0, 3, 70, 0, 0,
                  0, 2, 5, 1, 0, 4, 80, 81, 82, 83, 0, 1])
    bmp("hb_rle8.rle", 13, 5, 8, 1, rle8 + bytes(4), pal256)
    # Top-down rows: 24 bits, and 4 bits with a five-colour table.
    td24 = [[(x * 20 % 256) | (y * 40 % 256) << 8 | (x * y * 5 % 256) << 16 for x in range(13)] for y in range(5)]
    bmp("hb_24_td.bmp", 13, -5, 24, 0, bmp_rows(td24, 24))
    bmp("hb_4_td.bmp", 13, -3, 4, 0, bmp_rows([[(x + y) % 5 for x in range(13)] for y in range(3)], 4), pal16[:20],
        colours=5)
    # Bit fields no encoder writes: 4-4-4 in 16 bits, 10-10-10 in 32, and 1-5-5-5 with alpha
    # in a version 4 header. ImageMagick, the reference, narrows ten bits to eight a shade
    # below their top eight bits; values up to 192 with both low bits set read alike both ways.
    bmp("hb_444.bmp", 13, 5, 16, 3, bmp_rows([[x << 8 | y << 4 | (x + y) & 15 for x in range(13)] for y in range(5)], 16),
        masks=struct.pack("<III", 0x0F00, 0x00F0, 0x000F))
    ten = lambda v: v << 2 | 3
    bmp("hb_1010.bmp", 13, 5, 32, 3,
        bmp_rows([[ten(x * 14) << 20 | ten(y * 45) << 10 | ten(180 - x * 14) for x in range(13)] for y in range(5)], 32),
        masks=struct.pack("<III", 0x3FF00000, 0x000FFC00, 0x000003FF))
    bmp("hb_1555_v4.bmp", 13, 3, 16, 3,
        bmp_rows([[(x % 2) << 15 | (x * 2) << 10 | (y * 9) << 5 | (31 - x) for x in range(13)] for y in range(3)], 16),
        masks=struct.pack("<IIII", 0x7C00, 0x03E0, 0x001F, 0x8000), header=108)
    # A packed bitmap (no file header) with a three-colour table, and an OS/2 2.x header.
    bmp("hb_packed.dib", 13, 3, 8, 0, bmp_rows([[(x + y) % 3 for x in range(13)] for y in range(3)], 8),
        quad([(200, 10, 10), (10, 200, 10), (10, 10, 200)]), colours=3, file_header=False)
    bmp("hb_os2v2.bmp", 13, 3, 8, 0, bmp_rows([[x * 10 + y for x in range(13)] for y in range(3)], 8), pal256, header=64)

    os.chdir("bad")
    rows8 = bmp_rows([[1] * 13] * 3, 8)
    cases = [
        ("cut_header", "Stream read error", lambda: bmp("cut_header.bmp", 13, 3, 8, 0, rows8, pal256)),
        ("short_rows", "Stream read error", lambda: bmp("short_rows.bmp", 13, 3, 8, 0, rows8[:30], pal256)),
        ("rle8_cut", "Stream read error", lambda: bmp("rle8_cut.bmp", 13, 3, 8, 1, bytes([4, 10, 0, 5, 1, 2]), pal256)),
        ("jpeg_inside", "JPEG compression is not supported", lambda: bmp("jpeg_inside.bmp", 13, 3, 24, 4, b"\xff\xd8")),
        # As writers store them: 0 bits a pixel, the picture's own header saying the rest.
        ("jpeg_0_bits", "JPEG compression is not supported", lambda: bmp("jpeg_0_bits.bmp", 13, 3, 0, 4, b"\xff\xd8")),
        ("png_0_bits", "PNG compression is not supported",
         lambda: bmp("png_0_bits.bmp", 13, 3, 0, 5, b"\x89PNG\r\n\x1a\n")),
        ("too_big", "is too large", lambda: bmp("too_big.bmp", 30000, 30000, 24, 0, b"xxxx")),
        ("width_0", "a size of 0 x 3 pixels", lambda: bmp("width_0.bmp", 0, 3, 24, 0, b"xxxx")),
        ("bits_7", "7 bits a pixel are not supported", lambda: bmp("bits_7.bmp", 13, 3, 7, 0, rows8)),
        ("pixels_in_header", "the pixels start inside the headers",
         lambda: bmp("pixels_in_header.bmp", 13, 3, 24, 0, rows8, offset=20)),
        ("mask_gaps", "not one run of bits",
         lambda: bmp("mask_gaps.bmp", 13, 3, 16, 3, rows8 * 2, masks=struct.pack("<III", 0x0F0F, 0x00F0, 0x000F))),
        ("header_20", "an info header of 20 bytes is unknown",
         lambda: open("header_20.bmp", "wb").write(b"BM" + bytes(12) + struct.pack("<I", 20) + bytes(16))),
    ]
    for name, text, make in cases:
        make()
        with open(name + ".ref.txt", "w") as f:
            f.write(text + "\n")
    # Cut inside the info header.
    data = open("cut_header.bmp", "rb").read()
    open("cut_header.bmp", "wb").write(data[:30])


# ---- Windows metafiles ----

def make_wmf(folder):
    """A placeable metafile writing one word in a font 27392 units wide, turned by 20.7
    degrees: libwmf crashes drawing it, which must cost no more than the picture."""
    records = [(0x020B, struct.pack("<hh", 0, 0)), (0x020C, struct.pack("<hh", 200, 600)),
               (0x02FB, struct.pack("<hhhhh8B", -120, 27392, 207, 0, 400, *bytes(8)) + b"Times New Roman\0"),
               (0x012D, struct.pack("<h", 0)), (0x0521, struct.pack("<h", 4) + b"Tile" + struct.pack("<hh", 20, 20))]
    body = b"".join(struct.pack("<IH", 3 + len(data) // 2, function) + data for function, data in records)
    body += struct.pack("<IH", 3, 0)
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, 1, 20, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 600, 200, 1440, 0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack("<H", placeable[i:i + 2])[0]
    with open(os.path.join(folder, "wide_turned_font.wmf"), "wb") as f:
        f.write(placeable + struct.pack("<H", checksum) + header + body)


def top_bits(reference, bits, out):
    """A PAM reference keeping only the top bits of each sample, for fields narrower than
    eight bits that decoders widen in different ways."""
    data = open(reference, "rb").read()
    head, body = data.split(b"ENDHDR\n", 1)
    head = b"\n".join(l for l in head.split(b"\n") if not l.startswith(b"MAXVAL")) + b"MAXVAL %d\nENDHDR\n" % ((1 << bits) - 1)
    open(out, "wb").write(head + bytes(v >> (8 - bits) for v in body))


def pil_reference(picture, reference):
    from PIL import Image
    image = Image.open(picture)
    mode = {"1": "L", "L": "L", "LA": "LA", "RGBA": "RGBA"}.get(image.mode, "RGB")
    image = image.convert(mode)
    tuple_type = {"L": "GRAYSCALE", "LA": "GRAYSCALE_ALPHA", "RGB": "RGB", "RGBA": "RGB_ALPHA"}[mode]
    with open(reference, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH %d\nMAXVAL 255\nTUPLTYPE %s\nENDHDR\n"
                % (image.width, image.height, len(mode), tuple_type.encode()))
        f.write(image.tobytes())


if sys.argv[1] == "pil":
    pil_reference(sys.argv[2], sys.argv[3])
elif sys.argv[1] == "top_bits":
    top_bits(sys.argv[2], int(sys.argv[3]), sys.argv[4])
else:
    {"rla": make_rla, "psd": make_psd, "tiff": make_tiff, "bmp": make_bmp, "wmf": make_wmf}[sys.argv[1]](sys.argv[2])
