// TGIFImage: GIF pictures of the class library (giflib reads and writes the
// files; colour reduction with Floyd-Steinberg dithering is ours). Decoding
// keeps the first frame.
#pragma once

#include "classlib/Graphics.h"

class EGIFError : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
};

enum TColorReduction : Byte { rmNone, rmQuantize };
enum TDitherMode : Byte { dmNearest, dmFloydSteinberg };

struct TGIFColor {
  Byte Red = 0;
  Byte Green = 0;
  Byte Blue = 0;
  friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

class TGIFFrame {
 public:
  Integer Left = 0;
  Integer Top = 0;
  Integer Width = 0;
  Integer Height = 0;
  std::vector<Byte> Data;            // palette indexes, Width per row, top-down
  std::vector<TGIFColor> ColorMap;   // at most 256
  // The graphic control extension's transparency.
  bool Transparent = false;
  Byte TransparentColorIndex = 0;
  Integer Delay = 0;  // hundredths of a second
};

class TGIFImage : public TGraphic {
 public:
  TGIFImage() = default;
  ~TGIFImage() override;
  TGraphic* NewInstance() const override { return new TGIFImage(); }

  // A TGIFImage (copied) or a TBitmap: one frame of the bitmap's size, its
  // colours reduced to at most 256 by ColorReduction and DitherMode.
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FFrames.empty() || FWidth == 0 || FHeight == 0; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  Integer ImageCount() const { return Integer(FFrames.size()); }
  TGIFFrame* Images(Integer Index) const { return FFrames.at(size_t(Index)); }
  void Clear();

  TColorReduction ColorReduction() const { return FColorReduction; }
  void SetColorReduction(TColorReduction Value) { FColorReduction = Value; }
  TDitherMode DitherMode() const { return FDitherMode; }
  void SetDitherMode(TDitherMode Value) { FDitherMode = Value; }

  // The first frame, transparent pixels left as the canvas had them.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // The rest of the stream; broken data raises EGIFError.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 private:
  std::vector<TGIFFrame*> FFrames;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TColorReduction FColorReduction = rmQuantize;
  TDitherMode FDitherMode = dmFloydSteinberg;
};

// Reduces Width x Height pixels (B, G, R, A bytes, alpha ignored) to at most
// MaxColors (1..256): the exact colours when there are few enough, otherwise a
// median-cut palette; with Dither the error is diffused Floyd-Steinberg style
// (7/16 right, 3/16 down-left, 5/16 down, 1/16 down-right).
void QuantizeColors(const Byte* Pixels, Integer Width, Integer Height, Integer MaxColors, bool Dither,
                    std::vector<TGIFColor>& Palette, std::vector<Byte>& Indexes);

