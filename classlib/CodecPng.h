// PNG coding on libpng behind plain types. Pixels are B, G, R, A bytes
// (straight alpha), rows top-down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/CodecRows.h"

namespace codec {

struct PngImage {
  int Width = 0;
  int Height = 0;
  bool HasAlpha = false;             // an alpha channel or a transparency chunk
  std::vector<std::uint8_t> Pixels;  // Width * Height * 4 (B, G, R, A; A 255 without alpha)
};

// Empty string on success, else the decoder's message.
std::string PngDecode(const std::uint8_t* Data, std::size_t Size, PngImage& Out);

// ColorType 2 (RGB, alpha dropped) or 6 (RGB with alpha), 8 bits per sample.
// No padding between rows.
std::string PngEncode(const std::uint8_t* Pixels, int Width, int Height, int ColorType, std::vector<std::uint8_t>& Out);

// The same colour types from rows the top one at First, Stride bytes apart,
// with a chosen zlib level (0..9) and the adaptive choice among the filters
// PNG_FILTER_* flags in Filters (0: the library's default choice).
std::string PngEncodeRows(const std::uint8_t* First, std::ptrdiff_t Stride, int Width, int Height, int ColorType,
                          int Level, int Filters, std::vector<std::uint8_t>& Out);

// The same from rows made band by band by Rows, each band's rows Stride
// bytes apart.
std::string PngEncodeRowSource(const RowSource& Rows, std::ptrdiff_t Stride, int Width, int Height, int ColorType,
                               int Level, int Filters, std::vector<std::uint8_t>& Out);

// Filter flags for PngEncodeRows (PNG's own numbering).
inline constexpr int kPngFilterNone = 0x08, kPngFilterSub = 0x10, kPngFilterUp = 0x20, kPngFilterAvg = 0x40,
                     kPngFilterPaeth = 0x80;

// The header of a PNG file, as its IHDR chunk gives it.
struct PngHeader {
  int Width = 0;
  int Height = 0;
  int ColorType = 0;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGB + alpha
  int BitDepth = 0;   // bits per sample (per index for palettes)
  bool Interlaced = false;
  bool HasTransparency = false;  // a tRNS chunk
};

// Decoding in two steps (header, then pixels into the caller's rows), like
// JpegReader. Samples of 16 bits keep their high byte; palettes, greys and
// low bit depths widen to 8-bit B, G, R; no gamma is applied.
class PngReader {
 public:
  PngReader();
  ~PngReader();
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  // Data must stay valid until the pixels are read.
  std::string Start(const std::uint8_t* Data, std::size_t Size);
  const PngHeader& Header() const;
  // Every row as B, G, R, A, the top row at First, Stride bytes apart.
  // UseTransparency: the tRNS chunk of a grey or RGB picture makes the
  // pixels of its colour transparent (else it is ignored); a palette's
  // transparency always applies.
  std::string Read(std::uint8_t* First, std::ptrdiff_t Stride, bool UseTransparency);

 private:
  struct TState;
  TState* FState;
};

}  // namespace codec
