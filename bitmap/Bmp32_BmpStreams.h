// Bitmap engine: the 32-bit BMP stream and the binary property form of a
// bitmap, the part that needs no class-library graphic: writing, and reading
// the plain 32-bit form. LoadBitmap32FromStream (Bmp32_Windowed.h) adds every
// other BMP through the class library's TBitmap.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"
#include "rtl/Classes.h"

// The 32-bit BMP stream: 54-byte header, then Width * Height * 4 bytes
// (B, G, R, A). SaveTopDown true writes a positive height and the rows from
// the bottom one up; false writes a negative height and memory order.
void SaveBitmap32ToStream(TCustomBitmap32* Bitmap, TStream* Stream, bool SaveTopDown = true);

// A 32-bit uncompressed BMP with a 40-byte header, pixels from the offset the
// header gives: read into Bitmap (no change report) and True. Any other BMP
// header: False, the stream back where it was and the bitmap unchanged. A
// stream shorter than a header, or sizes that the bytes after the pixel
// offset cannot hold: EReadError "Stream read error", bitmap unchanged.
bool LoadPlainBitmap32FromStream(TCustomBitmap32* Bitmap, TStream* Stream);

// The binary property form: Width, Height (4 bytes each), pixels in memory
// order. Reading checks the sizes against the bytes left before the bitmap
// changes (EReadError "Stream read error"); it reports a change on every path.
void WriteBitmap32PixelData(TCustomBitmap32* Bitmap, TStream* Stream);
void ReadBitmap32PixelData(TCustomBitmap32* Bitmap, TStream* Stream);
