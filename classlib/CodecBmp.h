// BMP decoding into 32-bit rows, behind plain types: every header size
// (OS/2 core, Windows 40 bytes, V4, V5), 1/4/8-bit palettes, 16/24/32-bit
// pixels, bit-field masks (with an alpha mask), RLE4 and RLE8, bottom-up and
// top-down rows. Portable: no Windows header, no library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace codec {

struct BmpInfo {
  int Width = 0;
  int Height = 0;           // rows, always positive
  bool TopDown = false;     // the file's first row is the picture's top row
  int BitCount = 0;         // 1, 4, 8, 16, 24 or 32
  std::uint32_t Compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  // Channel masks of 16- and 32-bit pixels (red, green, blue, alpha); the
  // alpha mask is 0 when the pixels carry none.
  std::uint32_t Masks[4] = {0, 0, 0, 0};
  int ColorCount = 0;                 // palette entries read
  std::uint32_t Palette[256] = {};    // $AARRGGBB, alpha 255
  std::size_t PixelOffset = 0;        // where the pixel data starts
  std::size_t PixelBytes = 0;         // bytes from there to the end of the data
  // The depth the picture is reported with: the bit count, except that
  // 16-bit pixels with an alpha mask count as 32.
  int Depth = 0;
};

// Reads the headers and the palette. Empty string when the pixels can be
// decoded by BmpDecode, else why not (a damaged file, or a layout this
// reader does not take: other compressions, other bit counts).
std::string BmpReadHeader(const std::uint8_t* Data, std::size_t Size, BmpInfo& Info);
// The same from the first Available bytes of a file of FileSize bytes (the
// headers and palette take at most 14 + 124 + 12 + 1024 bytes).
std::string BmpReadHeader(const std::uint8_t* Data, std::size_t Available, std::size_t FileSize, BmpInfo& Info);

// Decodes the pixels as B, G, R, A bytes into Height rows of Width pixels,
// the top row at First, Stride bytes apart. Alpha is 255 unless the alpha
// mask gives one; a picture whose alpha mask gives 0 for every pixel is
// opaque (writers that fill the mask's bits with nothing), and then
// HasAlpha is false. Pixels that RLE data skips take palette entry 0.
// Empty string on success, else the reason (the rows are then undefined).
std::string BmpDecode(const std::uint8_t* Data, std::size_t Size, const BmpInfo& Info, std::uint8_t* First,
                      std::ptrdiff_t Stride, bool& HasAlpha);

// The same in parts, for a file read a band at a time. Uncompressed
// layouts: BmpDecodeRows for each band of Count file rows (FileStride bytes
// each, file rows numbered from the start of the pixel data), then
// BmpFinish, which gives HasAlpha. RLE layouts: BmpDecodeRle on all the
// pixel data (Info.PixelBytes from Info.PixelOffset).
std::size_t BmpFileStride(const BmpInfo& Info);
void BmpDecodeRows(const BmpInfo& Info, const std::uint8_t* Rows, int FirstRow, int Count, std::uint8_t* First,
                   std::ptrdiff_t Stride, std::uint32_t& AlphaSeen);
bool BmpFinish(const BmpInfo& Info, std::uint8_t* First, std::ptrdiff_t Stride, std::uint32_t AlphaSeen);
void BmpDecodeRle(const BmpInfo& Info, const std::uint8_t* Pixels, std::size_t Count, std::uint8_t* First,
                  std::ptrdiff_t Stride);

}  // namespace codec
