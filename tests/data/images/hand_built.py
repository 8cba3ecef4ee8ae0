#!/usr/bin/python3
"""Writes image files no encoder on hand makes, from their published layouts, for
make_fixtures.sh: RLA files (GraphicsMagick decodes them), Photoshop files in the colour
modes ImageMagick does not write (bitmap, multichannel, duotone, Lab), TIFF directories no
encoder writes, plus damaged ones.
Also writes the pixels python3-pil reads from a picture as a PAM reference.
Usage: hand_built.py rla|psd|tiff <folder>, or hand_built.py pil <picture> <reference.pam>"""
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
    os.chdir("bad")
    rla("xyz.rla", 4, 2, chan=b"xyz")
    rla("other_type.rla", 4, 2, chan=b"lum")
    rla("bits_16.rla", 4, 2, bits=16)
    rla("four_channels.rla", 4, 2, channels=4)
    rla("two_mattes.rla", 4, 2, matte=2)
    rla("one_channel.rla", 4, 2, channels=1)
    rla("no_revision.rla", 4, 2, revision=0)
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
    duotone = b"\x00\x01" + bytes(range(200))      # a duotone specification, skipped
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
        ("too_big", invalid, dict(changes={256: (4, [60000]), 257: (4, [60000])})),
        ("strip_offsets_past_end", invalid, dict(changes={273: (4, [0, 6], 40000), 278: (3, [1])})),
        ("no_strip_offsets", invalid, dict(changes={273: None})),
        ("packbits_no_byte_counts", invalid, dict(changes={259: (3, [32773]), 279: None})),
        ("packbits_short_byte_counts", invalid,
         dict(changes={259: (3, [32773]), 273: (4, [0, 6]), 278: (3, [1]), 279: (4, [6])})),
        ("ifd_past_end", "Stream read error", dict(first=5000)),
        ("ifd_cut", "Stream read error", dict(entries=400)),
        ("no_compression_tag", "The compression scheme is not supported", dict(changes={259: None})),
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
else:
    {"rla": make_rla, "psd": make_psd, "tiff": make_tiff}[sys.argv[1]](sys.argv[2])
