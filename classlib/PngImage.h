// TPngImage: PNG pictures of the class library (libpng underneath). Holds
// 8-bit RGB samples and, for colour type 6, a separate alpha plane.
#pragma once

#include "classlib/Graphics.h"

inline constexpr Byte COLOR_GRAYSCALE = 0;
inline constexpr Byte COLOR_RGB = 2;
inline constexpr Byte COLOR_PALETTE = 3;
inline constexpr Byte COLOR_GRAYSCALEALPHA = 4;
inline constexpr Byte COLOR_RGBALPHA = 6;

class EPNGError : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
};

class TPngImage : public TGraphic {
 public:
  TPngImage() = default;
  ~TPngImage() override = default;
  TGraphic* NewInstance() const override { return new TPngImage(); }

  // An image of colour type COLOR_RGB or COLOR_RGBALPHA with 8 bits per
  // sample, all samples 0. Other types raise EPNGError.
  void CreateBlank(Byte ColorType, Byte BitDepth, Integer AWidth, Integer AHeight);
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  // COLOR_RGBALPHA when the image has alpha (decoded files with an alpha
  // channel or a transparency chunk too), else COLOR_RGB.
  Byte ColorType() const { return FAlpha.empty() ? COLOR_RGB : COLOR_RGBALPHA; }

  // Row Y: Width triples of blue, green, red.
  Byte* Scanline(Integer Y);
  // Row Y of the alpha plane; nullptr without alpha.
  Byte* AlphaScanline(Integer Y);

  // Composed over what the canvas holds when the image has alpha.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // The rest of the stream; broken data raises EPNGError.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 private:
  void CheckRow(Integer Y) const;
  std::vector<Byte> FRGB;    // Width * 3 per row
  std::vector<Byte> FAlpha;  // Width per row, or empty
  Integer FWidth = 0;
  Integer FHeight = 0;
};
