#!/usr/bin/python3
"""Writes Paint Shop Pro files from a netpbm picture, for the reader's fixtures (nothing on
this machine writes the format), and the picture's own pixels as the reference.

    psp_writer.py SOURCE OUT.psp REF.pam --version V --kind K --compression C [--options]

SOURCE is a PAM of 8-bit samples (grey, RGB or RGB_ALPHA). Kinds: rgb, rgba (a fourth,
transparency channel), grey (8-bit with the grey flag), pal1, pal4, pal8 (indices into a
palette block of the picture's colours; the picture must have few enough). Compression: 0
none, 1 run-length, 2 deflate. The file is a file header, the general image attributes, a
palette block for the paletted and grey kinds, and a layer bank with one raster layer whose
channels are red, green, blue (and transparency) or one composite channel of indices.
"""
import argparse
import struct
import zlib


def read_pam(path):
    data = open(path, "rb").read()
    head, _, body = data.partition(b"ENDHDR\n")
    fields = dict(line.split(b" ", 1) for line in head.split(b"\n")[1:] if b" " in line)
    w, h, depth = int(fields[b"WIDTH"]), int(fields[b"HEIGHT"]), int(fields[b"DEPTH"])
    assert head.startswith(b"P7") and int(fields[b"MAXVAL"]) == 255, "an 8-bit PAM is needed"
    pixels = [tuple(body[(y * w + x) * depth:(y * w + x + 1) * depth]) for y in range(h) for x in range(w)]
    return w, h, depth, pixels


def rle(plane):
    """Runs of three or more as a count byte 128 + n and the byte; the rest as literal packets."""
    out, i, literal = bytearray(), 0, bytearray()

    def flush():
        while literal:
            part = literal[:127]
            out.append(len(part))
            out.extend(part)
            del literal[:127]

    while i < len(plane):
        run = 1
        while i + run < len(plane) and plane[i + run] == plane[i] and run < 127:
            run += 1
        if run >= 3:
            flush()
            out += bytes([128 + run, plane[i]])
            i += run
        else:
            literal.append(plane[i])
            i += 1
    flush()
    return bytes(out)


def pack_rows(indices, w, h, bits):
    """Rows of indices as the reader reads them: 1 bit MSB first, 4 bits in w // 2 + 1 bytes."""
    row_bytes = {1: (w + 7) // 8, 4: w // 2 + 1, 8: w}[bits]
    out = bytearray()
    for y in range(h):
        row = bytearray(row_bytes)
        for x in range(w):
            v = indices[y * w + x]
            if bits == 1:
                row[x // 8] |= v << (7 - x % 8)
            elif bits == 4:
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
            else:
                row[x] = v
        out += row
    return bytes(out)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("source")
    ap.add_argument("out")
    ap.add_argument("ref")
    ap.add_argument("--version", type=int, required=True)
    ap.add_argument("--kind", required=True)
    ap.add_argument("--compression", type=int, required=True)
    ap.add_argument("--signature", default="Paint Shop Pro Image File")
    ap.add_argument("--skipped-layer", action="store_true", help="a floating selection before the raster layer")
    ap.add_argument("--unknown-channel", action="store_true", help="a channel of type 9 before the others")
    ap.add_argument("--resolution", type=float, default=72.0)
    ap.add_argument("--extra-palette", type=int, default=0, help="entries past the 256 a palette can hold")
    ap.add_argument("--damage", choices=["drop-red", "short-plane", "huge-plane", "bad-deflate"])
    a = ap.parse_args()

    w, h, depth, pixels = read_pam(a.source)
    v4 = a.version > 3
    planes, palette, grey, bits = [], None, 0, 8
    if a.kind in ("rgb", "rgba"):
        for c in range(3):
            planes.append((c + 1, 0, bytes(p[c] for p in pixels)))
        if a.kind == "rgba":
            planes.append((0, 1, bytes(p[3] for p in pixels)))
        bits = 24
        ref = ("RGB_ALPHA", 4) if a.kind == "rgba" else ("RGB", 3)
        ref_pixels = [p[:ref[1]] for p in pixels]
    elif a.kind == "grey":
        grey = 1
        palette = [(v, v, v) for v in range(256)]
        planes.append((0, 0, pack_rows([p[0] for p in pixels], w, h, 8)))
        ref, ref_pixels = ("GRAYSCALE", 1), [p[:1] for p in pixels]
    else:
        bits = int(a.kind[3:])
        colours = sorted(set(p[:3] if depth >= 3 else (p[0],) * 3 for p in pixels))
        assert len(colours) <= 1 << bits, "too many colours for %d bits" % bits
        palette = colours
        index = {c: i for i, c in enumerate(colours)}
        indices = [index[p[:3] if depth >= 3 else (p[0],) * 3] for p in pixels]
        planes.append((0, 0, pack_rows(indices, w, h, bits)))
        ref, ref_pixels = ("RGB", 3), [colours[i] for i in indices]

    def block(ident, content):
        if v4:
            return b"~BK\0" + struct.pack("<HI", ident, len(content)) + content
        return b"~BK\0" + struct.pack("<HII", ident, len(content), len(content)) + content

    def chunk(content):   # a chunk counts its own length field
        return struct.pack("<I", 4 + len(content)) + content if v4 else content

    attributes = struct.pack("<iidBHHHIBIiHI", w, h, a.resolution, 1, a.compression, bits, 1,
                             len(palette or []), grey, len(pixels) * 3, 0, 1, 1)
    assert len(attributes) == 42
    body = block(0, chunk(attributes))
    if palette:
        if a.extra_palette:
            palette = palette + [(0, 0, 0)] * (256 - len(palette)) + [(255, 0, 255)] * a.extra_palette
        entries = b"".join(bytes([b, g, r, 0]) for r, g, b in palette)
        body += block(2, chunk(struct.pack("<I", len(palette)) + entries))

    def channel(channel_type, bitmap_type, plane):
        packed = {0: plane, 1: rle(plane), 2: zlib.compress(plane)}[a.compression]
        size = len(plane)
        if a.damage == "short-plane":
            size = len(plane) - 1
        elif a.damage == "huge-plane":
            size = 0x7FFFFFFF
        elif a.damage == "bad-deflate":
            packed = packed[:2] + bytes(b ^ 0x5A for b in packed[2:])
        info = struct.pack("<IIHH", len(packed), size, bitmap_type, channel_type)
        return block(5, chunk(info) + packed)

    def layer(layer_type, name, channels):
        if v4:
            info = chunk(struct.pack("<H", len(name)) + name + bytes([layer_type]) + bytes(114))
        else:
            info = name.ljust(256, b"\0") + bytes([layer_type]) + bytes(114)
        bitmaps = 2 if any(c[1] == 1 for c in channels) else 1
        content = info + chunk(struct.pack("<HH", bitmaps, len(channels)))
        content += b"".join(channel(*c) for c in channels)
        return block(4, content)

    channels = list(planes)
    if a.damage == "drop-red":
        channels = channels[1:]
    if a.unknown_channel:
        channels.insert(0, (9, 0, bytes(len(planes[0][2]))))
    layers = b""
    if a.skipped_layer:
        layers += layer(2, b"selection", [(0, 0, bytes(len(planes[0][2])))])
    layers += layer(1 if v4 else 0, b"Background", channels)
    body += block(3, layers)

    header = a.signature.encode().ljust(32, b"\0")[:32]
    header = header[:25] + b"\n\x1a" + header[27:] if a.signature.lower().startswith("paint") else header
    open(a.out, "wb").write(header + struct.pack("<HH", a.version, 0) + body)
    if a.ref == "-":
        return
    with open(a.ref, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH %d\nMAXVAL 255\nTUPLTYPE %s\nENDHDR\n" % (w, h, ref[1], ref[0].encode()))
        f.write(b"".join(bytes(p) for p in ref_pixels))


if __name__ == "__main__":
    main()
