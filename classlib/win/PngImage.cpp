// TPngImage over the libpng codec unit.
#include "classlib/PngImage.h"

#include <cstring>

#include "classlib/CodecPng.h"

void RegisterPNGFileFormat() {
  TPicture::RegisterFileFormat(u"png", u"Portable Network Graphics", []() -> TGraphic* { return new TPngImage(); });
}

void TPngImage::CreateBlank(Byte ColorType, Byte BitDepth, Integer AWidth, Integer AHeight) {
  if ((ColorType != COLOR_RGB && ColorType != COLOR_RGBALPHA) || BitDepth != 8)
    throw EPNGError(u"Unsupported PNG colour type or bit depth");
  if (AWidth < 0 || AHeight < 0 || Int64(AWidth) * AHeight > (Int64(1) << 28))
    throw EPNGError(u"Invalid PNG image size");
  FWidth = AWidth;
  FHeight = AHeight;
  FRGB.assign(size_t(AWidth) * size_t(AHeight) * 3, 0);
  if (ColorType == COLOR_RGBALPHA)
    FAlpha.assign(size_t(AWidth) * size_t(AHeight), 0);
  else
    FAlpha.clear();
  Changed(this);
}

void TPngImage::Assign(TPersistent* Source) {
  if (!Source) {
    FRGB.clear();
    FAlpha.clear();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  if (auto* P = dynamic_cast<TPngImage*>(Source)) {
    if (P == this) return;
    FRGB = P->FRGB;
    FAlpha = P->FAlpha;
    FWidth = P->FWidth;
    FHeight = P->FHeight;
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TPngImage::CheckRow(Integer Y) const {
  if (Y < 0 || Y >= FHeight) throw EInvalidGraphicOperation(u"Scan line index out of range");
}

Byte* TPngImage::Scanline(Integer Y) {
  CheckRow(Y);
  return FRGB.data() + size_t(Y) * size_t(FWidth) * 3;
}

Byte* TPngImage::AlphaScanline(Integer Y) {
  CheckRow(Y);
  if (FAlpha.empty()) return nullptr;
  return FAlpha.data() + size_t(Y) * size_t(FWidth);
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  const size_t N = size_t(FWidth) * size_t(FHeight);
  std::vector<Byte> BGRA(N * 4);
  for (size_t i = 0; i < N; ++i) {
    std::memcpy(&BGRA[i * 4], &FRGB[i * 3], 3);
    BGRA[i * 4 + 3] = FAlpha.empty() ? 255 : FAlpha[i];
  }
  if (FAlpha.empty())
    DrawBGRA(ACanvas->Handle(), Rect, BGRA.data(), FWidth, FHeight);
  else
    DrawBGRAOver(ACanvas->Handle(), Rect, BGRA.data(), FWidth, FHeight);
}

void TPngImage::LoadFromStream(TStream* Stream) {
  Int64 N = Stream->Size() - Stream->Position();
  if (N <= 0 || N > 0x7FFFFFFF) throw EPNGError(u"PNG error: no data");
  std::vector<Byte> Data(static_cast<size_t>(N));
  Stream->ReadBuffer(Data.data(), Integer(N));
  codec::PngImage Img;
  std::string Err = codec::PngDecode(Data.data(), Data.size(), Img);
  if (!Err.empty()) throw EPNGError(String(Err.begin(), Err.end()));
  const size_t Count = size_t(Img.Width) * size_t(Img.Height);
  FWidth = Img.Width;
  FHeight = Img.Height;
  FRGB.resize(Count * 3);
  FAlpha.clear();
  if (Img.HasAlpha) FAlpha.resize(Count);
  for (size_t i = 0; i < Count; ++i) {
    std::memcpy(&FRGB[i * 3], &Img.Pixels[i * 4], 3);
    if (Img.HasAlpha) FAlpha[i] = Img.Pixels[i * 4 + 3];
  }
  Changed(this);
}

void TPngImage::SaveToStream(TStream* Stream) {
  if (Empty()) throw EPNGError(u"PNG error: empty image");
  const size_t N = size_t(FWidth) * size_t(FHeight);
  std::vector<Byte> BGRA(N * 4);
  for (size_t i = 0; i < N; ++i) {
    std::memcpy(&BGRA[i * 4], &FRGB[i * 3], 3);
    BGRA[i * 4 + 3] = FAlpha.empty() ? 255 : FAlpha[i];
  }
  std::vector<Byte> Out;
  std::string Err = codec::PngEncode(BGRA.data(), FWidth, FHeight, ColorType(), Out);
  if (!Err.empty()) throw EPNGError(String(Err.begin(), Err.end()));
  Stream->WriteBuffer(Out.data(), Integer(Out.size()));
}
