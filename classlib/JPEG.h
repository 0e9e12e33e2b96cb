// TJPEGImage: JPEG pictures of the class library (libjpeg-turbo underneath).
#pragma once

#include "classlib/Graphics.h"

class EJPEG : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
};

enum TJPEGScale : Byte { jsFullSize, jsHalf, jsQuarter, jsEighth };

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage() = default;
  ~TJPEGImage() override = default;
  TGraphic* NewInstance() const override { return new TJPEGImage(); }

  // A TJPEGImage (copied), a TBitmap (its pixels taken, to be compressed), or
  // another graphic (drawn over white).
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  // The size at the current Scale.
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }

  // 1..100 (default 90), used by Compress.
  Integer CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(Integer Value);
  TJPEGScale Scale() const { return FScale; }
  void SetScale(TJPEGScale Value);

  // Encodes the held pixels with CompressionQuality (baseline, the library's
  // defaults); SaveToStream then writes exactly those bytes.
  void Compress();
  // The pixels, B, G, R, rows top-down without padding.
  const std::vector<Byte>& Pixels() const { return FPixels; }

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // The rest of the stream; broken data raises EJPEG with the decoder's message.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 private:
  void Decode();
  TBytes FData;               // the compressed file
  std::vector<Byte> FPixels;  // decoded at FScale
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FQuality = 90;
  TJPEGScale FScale = jsFullSize;
};
