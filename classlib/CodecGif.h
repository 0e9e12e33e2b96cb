// GIF coding on giflib behind plain types: palette indexes and an RGB colour
// table. Only the first frame is decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace codec {

struct GifFrame {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Indexes;  // Width * Height, rows top-down
  std::vector<std::uint8_t> Colors;   // R, G, B triples (the frame's table, else the global one)
  int TransparentIndex = -1;          // from the graphic control extension
  int DelayTime = 0;                  // hundredths of a second
};

struct GifImage {
  int Width = 0;  // logical screen
  int Height = 0;
  int BackgroundIndex = 0;              // the screen's background entry of ScreenColors
  std::vector<std::uint8_t> ScreenColors;  // the global colour table (R, G, B triples), may be empty
  int FrameCount = 0;
  GifFrame Frame;  // the first
};

// Empty string on success, else the decoder's message.
std::string GifDecode(const std::uint8_t* Data, std::size_t Size, GifImage& Out);

// One frame at (0, 0) filling the screen; up to 256 colours.
std::string GifEncode(const GifImage& Image, std::vector<std::uint8_t>& Out);

}  // namespace codec
