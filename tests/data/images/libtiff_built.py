#!/usr/bin/python3
"""Writes TIFF files through libtiff itself (ctypes over libtiff.so.6, Debian libtiff6), for
make_fixtures.sh: ThunderScan strips coded by hand and handed to TIFFWriteRawStrip as they
are, read back row by row through TIFFReadScanline as their reference; and 16-bit CMYK in
both byte orders with an 8-bit twin of the same colours, which libtiff's tiff2rgba decodes
for the reference (libtiff converts no 16-bit CMYK to RGB itself).
Usage: libtiff_built.py thunder <folder> | cmyk <folder> <folder for the twins>"""
import ctypes
import os
import struct
import sys

lib = ctypes.CDLL("libtiff.so.6")
lib.TIFFOpen.restype = ctypes.c_void_p
lib.TIFFOpen.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
for name in ("TIFFWriteRawStrip", "TIFFWriteEncodedStrip"):
    getattr(lib, name).argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_char_p, ctypes.c_ssize_t]
    getattr(lib, name).restype = ctypes.c_ssize_t
lib.TIFFReadScanline.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint16]
lib.TIFFScanlineSize.argtypes = [ctypes.c_void_p]
lib.TIFFScanlineSize.restype = ctypes.c_ssize_t
lib.TIFFClose.argtypes = [ctypes.c_void_p]
lib.TIFFSetErrorHandler.argtypes = [ctypes.c_void_p]
lib.TIFFSetErrorHandler(None)   # damaged rows are the point here; libtiff need not say so


def write(path, width, height, bits, samples, photometric, strips, rows, compression=1, raw=False, order="l",
          predictor=1):
    """strips: the bytes of each strip, packed (raw) or as libtiff lays rows out in memory."""
    tif = ctypes.c_void_p(lib.TIFFOpen(path.encode(), ("w" + order).encode()))
    assert tif.value, path

    def field(tag, value):
        assert lib.TIFFSetField(tif, ctypes.c_uint32(tag), value) == 1, tag

    field(256, ctypes.c_uint32(width))
    field(257, ctypes.c_uint32(height))
    field(258, ctypes.c_int(bits))
    field(277, ctypes.c_int(samples))
    field(259, ctypes.c_int(compression))
    field(262, ctypes.c_int(photometric))
    field(284, ctypes.c_int(1))
    field(278, ctypes.c_uint32(rows))
    if predictor != 1:
        field(317, ctypes.c_int(predictor))
    put = lib.TIFFWriteRawStrip if raw else lib.TIFFWriteEncodedStrip
    for i, strip in enumerate(strips):
        assert put(tif, i, strip, len(strip)) == len(strip), (path, i)
    lib.TIFFClose(tif)


def pam(path, width, height, tuple_type, samples):
    depth = {"GRAYSCALE": 1, "RGB": 3}[tuple_type]
    with open(path, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH %d\nMAXVAL 255\nTUPLTYPE %s\nENDHDR\n"
                % (width, height, depth, tuple_type.encode()))
        f.write(bytes(samples))


def thunder_reference(path, reference):
    """4-bit grey rows as libtiff decodes them. What a row's data does not reach libtiff leaves
    as its buffer held (libtiff 4.5 keeps the row before; later ones clear it): each row is
    read into a cleared buffer."""
    tif = ctypes.c_void_p(lib.TIFFOpen(path.encode(), b"r"))
    width, height = ctypes.c_uint32(), ctypes.c_uint32()
    lib.TIFFGetField(tif, ctypes.c_uint32(256), ctypes.byref(width))
    lib.TIFFGetField(tif, ctypes.c_uint32(257), ctypes.byref(height))
    size = lib.TIFFScanlineSize(tif)
    pixels = []
    for row in range(height.value):
        buffer = ctypes.create_string_buffer(size)
        lib.TIFFReadScanline(tif, buffer, row, 0)
        line = buffer.raw
        pixels += [17 * ((line[x // 2] >> (4 if x % 2 == 0 else 0)) & 15) for x in range(width.value)]
    lib.TIFFClose(tif)
    pam(reference, width.value, height.value, "GRAYSCALE", pixels)


# ThunderScan codes: the top two bits choose a run of the last pixel (00), three 2-bit deltas
# (01), two 3-bit deltas (10) or a raw pixel (11).
def raw(*pixels):
    return bytes(0xC0 | p for p in pixels)


def run(n):
    return bytes([n])


def make_thunder(folder):
    os.chdir(folder)
    # Runs that pass a row's end after an even and an odd count, or from its start; deltas
    # whose last pixels fall past the end (the next row starts with the following code); a
    # code the strip holds after its last row. libtiff 4.5 also drops a run that ends just at
    # a row's end (later libtiff writes it, as this reader does): no run here ends there.
    # 9 pixels a row, strips of 3 rows:
    rows9 = [raw(3) + run(7) + raw(9),
             raw(5, 6) + run(9),
             raw(1, 2, 3) + run(10),
             raw(8) + bytes([0x8F, 0x55]) + raw(2, 4) + bytes([0x9B]),
             run(5) + raw(12) + bytes([0x7F]) + raw(7)]
    write("lt_thunder_odd.tif", 9, 5, 4, 1, 1, [b"".join(rows9[:3]), b"".join(rows9[3:])], 3, 32809, raw=True)
    # 8 pixels a row, one strip:
    rows8 = [raw(1) + run(5) + raw(2, 3),
             raw(2) + run(8),
             raw(3, 4) + run(4) + raw(5, 6),
             raw(5, 6) + run(7),
             raw(9) * 6 + bytes([0x41]),
             run(63)]
    write("lt_thunder_even.tif", 8, 6, 4, 1, 1, [b"".join(rows8)], 6, 32809, raw=True)
    for name in ("lt_thunder_odd", "lt_thunder_even"):
        thunder_reference(name + ".tif", name + ".ref.pam")


def make_cmyk(folder, twins):
    # Black from K alone, from all four inks, and from C, M and Y without K; white; the inks
    # alone; mixed colours; K rising under a light grey. 16-bit samples are the 8-bit ones
    # times 257, so the 8-bit twin holds the same colours.
    pixels = [(0, 0, 0, 255), (255, 255, 255, 255), (224, 224, 230, 0), (0, 0, 0, 0), (255, 0, 0, 0), (0, 255, 0, 0),
              (100, 50, 200, 30), (10, 20, 30, 40), (250, 5, 128, 77), (0, 0, 0, 128), (128, 128, 128, 0),
              (33, 66, 99, 132)]
    pixels += [(50, 50, 50, 51 * k) for k in range(6)]
    width, height = 6, 3
    wide = b"".join(struct.pack("=4H", *(257 * v for v in p)) for p in pixels)
    narrow = bytes(v for p in pixels for v in p)
    os.chdir(folder)
    # libtiff takes rows in the machine's order and stores them in the file's.
    write("lt_cmyk16_le.tif", width, height, 16, 4, 5, [wide], height, compression=8, predictor=2)
    write("lt_cmyk16_be.tif", width, height, 16, 4, 5, [wide], height, order="b")
    for name in ("lt_cmyk16_le", "lt_cmyk16_be"):
        write(os.path.join(twins, name + ".tif"), width, height, 8, 4, 5, [narrow], height)


if sys.argv[1] == "thunder":
    make_thunder(sys.argv[2])
else:
    make_cmyk(sys.argv[2], sys.argv[3])
