// TJPEGImage over the libjpeg-turbo codec unit.
#include "classlib/JPEG.h"

#include <cstring>

#include "classlib/CodecJpeg.h"
#include "rtl/ScopeGuard.h"

void RegisterJPEGFileFormat() {
  TGraphicClass C = []() -> TGraphic* { return new TJPEGImage(); };
  TPicture::RegisterFileFormat(u"jpg", u"JPEG Image File", C);
  TPicture::RegisterFileFormat(u"jpeg", u"JPEG Image File", C);
  TPicture::RegisterFileFormat(u"jpe", u"JPEG Image File", C);
}

namespace {

String ToString(const std::string& S) { return String(S.begin(), S.end()); }

}  // namespace

void TJPEGImage::SetCompressionQuality(Integer Value) {
  FQuality = Value < 1 ? 1 : Value > 100 ? 100 : Value;
}

void TJPEGImage::SetScale(TJPEGScale Value) {
  if (Value == FScale) return;
  FScale = Value;
  if (!FData.empty()) Decode();
  Changed(this);
}

void TJPEGImage::Decode() {
  codec::JpegImage Img;
  std::string Err = codec::JpegDecode(FData.data(), FData.size(), 1 << FScale, Img);
  if (!Err.empty()) throw EJPEG(ToString(Err));
  FWidth = Img.Width;
  FHeight = Img.Height;
  FPixels = std::move(Img.Pixels);
}

void TJPEGImage::Compress() {
  if (Empty()) return;
  std::vector<Byte> Out;
  std::string Err = codec::JpegEncode(FPixels.data(), FWidth, FHeight, FQuality, Out);
  if (!Err.empty()) throw EJPEG(ToString(Err));
  FData.assign(Out.begin(), Out.end());
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (!Source) {
    FData.clear();
    FPixels.clear();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  if (auto* J = dynamic_cast<TJPEGImage*>(Source)) {
    if (J == this) return;
    FData = J->FData;
    FPixels = J->FPixels;
    FWidth = J->FWidth;
    FHeight = J->FHeight;
    FQuality = J->FQuality;
    FScale = J->FScale;
    Changed(this);
    return;
  }
  if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    std::vector<Byte> BGRA;
    if (auto* B = dynamic_cast<TBitmap*>(G)) {
      GetBitmapBGRA(B, BGRA);
    } else {
      TBitmap Tmp;
      Tmp.SetPixelFormat(pf24bit);
      Tmp.Assign(G);
      GetBitmapBGRA(&Tmp, BGRA);
    }
    FWidth = G->Width();
    FHeight = G->Height();
    FPixels.resize(size_t(FWidth) * size_t(FHeight) * 3);
    for (size_t i = 0, n = size_t(FWidth) * size_t(FHeight); i < n; ++i) std::memcpy(&FPixels[i * 3], &BGRA[i * 4], 3);
    FData.clear();
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  std::vector<Byte> BGRA(size_t(FWidth) * size_t(FHeight) * 4);
  for (size_t i = 0, n = size_t(FWidth) * size_t(FHeight); i < n; ++i) {
    std::memcpy(&BGRA[i * 4], &FPixels[i * 3], 3);
    BGRA[i * 4 + 3] = 255;
  }
  DrawBGRA(ACanvas->Handle(), Rect, BGRA.data(), FWidth, FHeight);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  Int64 N = Stream->Size() - Stream->Position();
  if (N <= 0 || N > 0x7FFFFFFF) throw EJPEG(u"JPEG error: no data");
  TBytes Data(size_t(N), 0);
  Stream->ReadBuffer(Data.data(), Integer(N));
  TBytes Old;
  Old.swap(FData);
  FData = std::move(Data);
  {
    TFinally Undo([&] { FData.swap(Old); });
    Decode();
    Undo.Dismiss();
  }
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (FData.empty()) Compress();
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), Integer(FData.size()));
}
