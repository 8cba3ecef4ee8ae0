#pragma once
// Windows bitmap files (.bmp, .dib, .rle): what the platform bitmap reads and writes.
#include "platform/Bitmap.h"

class Stream;

// Reads a Windows bitmap at the stream's position into the bitmap: a file with its "BM"
// header, or a packed device-independent bitmap that starts with its info header (core,
// OS/2 2.x, version 3, 4 or 5). 1, 4, 8, 16, 24 and 32 bits a pixel, RLE8 and RLE4, bit-field
// masks, rows bottom-up or top-down. Throws EInvalidGraphic for what is no such bitmap or
// one it does not read (JPEG or PNG inside), ReadError when the data stops short: plain
// rows are all looked for before the picture is made, run-length data (which may stand for
// far more pixels than it has bytes) as it is read.
//
// Indexed pictures keep their depth and their colour table; 16-bit ones
// of the two usual layouts stay 5-5-5 or 5-6-5 words, 24 and 32 bits stay as they are (the
// fourth byte of a plain 32-bit pixel kept as the file has it), and other bit-field layouts
// become 24 bits, or 32 with their alpha. Pixels that run-length data skips are index 0.
void ReadBitmapFile(Stream& stream, Bitmap& bitmap);

// Writes the bitmap as a Windows bitmap file, bottom-up, uncompressed, with a version 3
// info header: indexed pictures with a full colour table of their depth (the palette, black
// past its end; a grey ramp, as the editor shows it, when there is none), 15 bits as plain
// 16-bit pixels, 16 bits with the 5-6-5 masks, 24 and 32 bits as they are. Throws
// EInvalidGraphic for an empty bitmap or one too large for the format.
void WriteBitmapFile(const Bitmap& bitmap, Stream& stream);
