// JPEG coding on libjpeg-turbo behind plain types (the library's headers stay
// in the native unit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/CodecRows.h"

namespace codec {

struct JpegImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // Width * Height * 3 (B, G, R)
};

// ScaleDenom 1, 2, 4 or 8 decodes at that fraction of the size. Returns an
// empty string on success, else the decoder's message; never exits or crashes
// on broken data. Data that ends early is an error.
std::string JpegDecode(const std::uint8_t* Data, std::size_t Size, int ScaleDenom, JpegImage& Out);

// Baseline JPEG with the library's defaults and Quality (1..100; quality
// tables not forced into the baseline range, as the GDI+ encoder does).
// Pixels are B, G, R bytes, rows top-down, no padding.
std::string JpegEncode(const std::uint8_t* Pixels, int Width, int Height, int Quality, std::vector<std::uint8_t>& Out);

// The same encoding from rows of B, G, R, x bytes (the fourth byte ignored),
// the top row at First, Stride bytes apart.
std::string JpegEncodeBGRX(const std::uint8_t* First, std::ptrdiff_t Stride, int Width, int Height, int Quality,
                           std::vector<std::uint8_t>& Out);

// The same encoding from B, G, R, x rows made band by band by Rows, each
// band's rows Stride bytes apart.
std::string JpegEncodeBGRXRows(const RowSource& Rows, std::ptrdiff_t Stride, int Width, int Height, int Quality,
                               std::vector<std::uint8_t>& Out);

// The colours a JPEG file holds.
enum class JpegColorKind {
  Grey,   // one component
  Color,  // three (YCbCr or RGB)
  Cmyk,   // four: CMYK or YCCK (samples taken as Adobe writes them, inverted)
};

struct JpegReadOptions {
  int ScaleDenom = 1;          // 1, 2, 4 or 8
  bool SmoothChroma = true;    // interpolated chroma upsampling, else replicated
  bool AllowTruncated = false; // data that ends early decodes (the rest as the library fills it)
};

// Decoding in two steps, so that the caller can make the destination once
// the size is known: Start reads the header, a Read call the pixels. One
// reader decodes one picture. Both steps return an empty string on success,
// else the decoder's message.
class JpegReader {
 public:
  JpegReader();
  ~JpegReader();
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // Data must stay valid until the pixels are read.
  std::string Start(const std::uint8_t* Data, std::size_t Size, const JpegReadOptions& Options);
  // The output size (after scaling) and the colours of the file.
  int Width() const;
  int Height() const;
  JpegColorKind ColorKind() const;

  // Every row as B, G, R, 255 (BytesPerPixel 4) or B, G, R (3), the top row
  // at First, Stride bytes apart.
  std::string Read(std::uint8_t* First, std::ptrdiff_t Stride, int BytesPerPixel);

 private:
  struct TState;
  TState* FState;
};

}  // namespace codec
