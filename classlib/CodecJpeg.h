// JPEG coding on libjpeg-turbo behind plain types (the library's headers stay
// in the native unit). Pixels are B, G, R bytes, rows top-down, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace codec {

struct JpegImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // Width * Height * 3 (B, G, R)
};

// ScaleDenom 1, 2, 4 or 8 decodes at that fraction of the size. Returns an
// empty string on success, else the decoder's message; never exits or crashes
// on broken data.
std::string JpegDecode(const std::uint8_t* Data, std::size_t Size, int ScaleDenom, JpegImage& Out);

// Baseline JPEG with the library's defaults and Quality (1..100; quality
// tables not forced into the baseline range, as the GDI+ encoder does).
std::string JpegEncode(const std::uint8_t* Pixels, int Width, int Height, int Quality, std::vector<std::uint8_t>& Out);

}  // namespace codec
