// PNG coding on libpng behind plain types. Pixels are B, G, R, A bytes
// (straight alpha), rows top-down, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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
std::string PngEncode(const std::uint8_t* Pixels, int Width, int Height, int ColorType, std::vector<std::uint8_t>& Out);

}  // namespace codec
