// The codec libraries called directly, for the reference rows of
// bench_imagefiles: what libjpeg-turbo, libpng and giflib need for the work
// the image-file routines do, with no layer of ours between. Plain types
// only (the libraries' headers stay in the native unit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace benchcodec {

// A picture of W x H 32-bit B, G, R, A pixels in fresh, uninitialised memory.
struct Pixels {
  std::unique_ptr<std::uint8_t[]> Data;
  int Width = 0;
  int Height = 0;
};

// libjpeg-turbo into 32-bit B, G, R, A rows, chroma replicated (as the image
// files decode). False on any error.
bool JpegDecode(const std::uint8_t* Data, std::size_t Size, Pixels& Out);
// Baseline at Quality with the library's defaults, from B, G, R, x rows.
bool JpegEncode(const std::uint8_t* Rows, int Width, int Height, int Quality, std::vector<std::uint8_t>& Out);

// libpng into 32-bit B, G, R, A rows (8-bit RGB files: alpha filled in).
bool PngDecode(const std::uint8_t* Data, std::size_t Size, Pixels& Out);
// RGB, 8 bits per sample, at Level with the library's filter choice, from
// B, G, R, x rows.
bool PngEncode(const std::uint8_t* Rows, int Width, int Height, int Level, std::vector<std::uint8_t>& Out);

// giflib: the first frame through its colour table into 32-bit rows.
bool GifDecode(const std::uint8_t* Data, std::size_t Size, Pixels& Out);
// One frame of palette indexes with a colour table of R, G, B triples.
bool GifEncode(const std::uint8_t* Indexes, int Width, int Height, const std::uint8_t* Colors, int ColorCount,
               std::vector<std::uint8_t>& Out);

}  // namespace benchcodec
