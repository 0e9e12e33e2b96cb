// The Windows BMP format as TBitmap reads it, in plain values: the OS/2 core
// header, the 40-byte header and its longer V4/V5 forms, the colour table,
// bit-field masks and the pixel rows, every size checked against the bytes
// the stream holds before anything is allocated.
// Portable: no Windows header.
#pragma once

#include <functional>
#include <vector>

#include "rtl/Classes.h"

struct TBmpImage {
  Integer Width = 0;
  Integer Height = 0;            // rows (a top-down file's negative height made positive)
  Integer BitCount = 0;          // 1, 4, 8, 16, 24 or 32
  bool BitFields = false;        // 16 or 32 bits described by Masks
  Cardinal Masks[3] = {0, 0, 0}; // red, green, blue
  Integer ColorCount = 0;        // colour-table entries (1 to 8 bits)
  Byte Colors[256][4] = {};      // blue, green, red, 0 (a DIB's colour table)
  Integer Stride = 0;            // bytes per row, a multiple of 4
  std::vector<Byte> Pixels;      // Stride * Height bytes, bottom row first (unless a target took them)
  Int64 Size = 0;                // bytes of the stream the image takes
};

// Where the pixel rows go: given the image with every field but Pixels set,
// memory for Stride * Height bytes (rows bottom first, as in a DIB).
using TBmpPixelTarget = std::function<Byte*(const TBmpImage&)>;

// Reads the BMP at Stream's position into Image (pixels only when both sides
// are above 0): into Image.Pixels, or straight into the memory Target hands
// out once the header is known to fit the stream. False when the bytes are not
// a BMP this reader takes (wrong signature, header size, plane count, bit
// count or compression) or hold fewer bytes than its sizes need; the stream
// position is then undefined. Errors of the stream and of Target propagate.
bool ReadBmpImage(TStream* Stream, TBmpImage& Image, const TBmpPixelTarget& Target = nullptr);
