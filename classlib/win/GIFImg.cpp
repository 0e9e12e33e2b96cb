// TGIFImage over the giflib codec unit, and the colour quantiser.
#include "classlib/GIFImg.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

#include "classlib/CodecGif.h"

void RegisterGIFFileFormat() {
  TPicture::RegisterFileFormat(u"gif", u"GIF Image", []() -> TGraphic* { return new TGIFImage(); });
}

// ---------------------------------------------------------------------------
// Quantiser

namespace {

struct TBox {
  Integer Lo[3], Hi[3];  // inclusive bin ranges of the 5-bit channels (R, G, B)
  Int64 Count = 0;
};

inline Integer BinIndex(Integer R, Integer G, Integer B) { return (R << 10) | (G << 5) | B; }

// Shrinks a box to the bins that hold pixels and counts them.
void Fit(TBox& Box, const std::vector<Cardinal>& Hist) {
  Integer Lo[3] = {31, 31, 31}, Hi[3] = {0, 0, 0};
  Int64 Count = 0;
  for (Integer R = Box.Lo[0]; R <= Box.Hi[0]; ++R)
    for (Integer G = Box.Lo[1]; G <= Box.Hi[1]; ++G)
      for (Integer B = Box.Lo[2]; B <= Box.Hi[2]; ++B) {
        Cardinal C = Hist[size_t(BinIndex(R, G, B))];
        if (!C) continue;
        Count += C;
        const Integer V[3] = {R, G, B};
        for (int k = 0; k < 3; ++k) {
          Lo[k] = std::min(Lo[k], V[k]);
          Hi[k] = std::max(Hi[k], V[k]);
        }
      }
  Box.Count = Count;
  if (Count) {
    std::copy(Lo, Lo + 3, Box.Lo);
    std::copy(Hi, Hi + 3, Box.Hi);
  }
}

void MedianCut(const std::vector<Cardinal>& Hist, const std::vector<std::array<Int64, 3>>& Sums, Integer MaxColors,
               std::vector<TGIFColor>& Palette) {
  std::vector<TBox> Boxes(1);
  Boxes[0] = TBox{{0, 0, 0}, {31, 31, 31}, 0};
  Fit(Boxes[0], Hist);
  while (Integer(Boxes.size()) < MaxColors) {
    // The box with the most pixels that still spans more than one bin.
    Integer Best = -1;
    for (Integer i = 0; i < Integer(Boxes.size()); ++i) {
      const TBox& B = Boxes[size_t(i)];
      bool Splittable = B.Hi[0] > B.Lo[0] || B.Hi[1] > B.Lo[1] || B.Hi[2] > B.Lo[2];
      if (Splittable && (Best < 0 || B.Count > Boxes[size_t(Best)].Count)) Best = i;
    }
    if (Best < 0) break;
    TBox Box = Boxes[size_t(Best)];
    Integer Axis = 0;
    for (int k = 1; k < 3; ++k)
      if (Box.Hi[k] - Box.Lo[k] > Box.Hi[Axis] - Box.Lo[Axis]) Axis = k;
    // Population along the axis, cut at the median.
    std::vector<Int64> Slice(32, 0);
    for (Integer R = Box.Lo[0]; R <= Box.Hi[0]; ++R)
      for (Integer G = Box.Lo[1]; G <= Box.Hi[1]; ++G)
        for (Integer B = Box.Lo[2]; B <= Box.Hi[2]; ++B) {
          const Integer V[3] = {R, G, B};
          Slice[size_t(V[Axis])] += Hist[size_t(BinIndex(R, G, B))];
        }
    Int64 Acc = 0;
    Integer Cut = Box.Lo[Axis];
    for (Integer v = Box.Lo[Axis]; v < Box.Hi[Axis]; ++v) {
      Acc += Slice[size_t(v)];
      Cut = v;
      if (Acc * 2 >= Box.Count) break;
    }
    TBox A = Box, B = Box;
    A.Hi[Axis] = Cut;
    B.Lo[Axis] = Cut + 1;
    Fit(A, Hist);
    Fit(B, Hist);
    Boxes[size_t(Best)] = A;
    if (B.Count) Boxes.push_back(B);
  }
  Palette.clear();
  for (const TBox& Box : Boxes) {
    Int64 Count = 0, S[3] = {0, 0, 0};
    for (Integer R = Box.Lo[0]; R <= Box.Hi[0]; ++R)
      for (Integer G = Box.Lo[1]; G <= Box.Hi[1]; ++G)
        for (Integer B = Box.Lo[2]; B <= Box.Hi[2]; ++B) {
          size_t I = size_t(BinIndex(R, G, B));
          Count += Hist[I];
          for (int k = 0; k < 3; ++k) S[k] += Sums[I][k];
        }
    if (!Count) continue;
    Palette.push_back(TGIFColor{Byte((S[0] + Count / 2) / Count), Byte((S[1] + Count / 2) / Count),
                                Byte((S[2] + Count / 2) / Count)});
  }
}

}  // namespace

void QuantizeColors(const Byte* Pixels, Integer Width, Integer Height, Integer MaxColors, bool Dither,
                    std::vector<TGIFColor>& Palette, std::vector<Byte>& Indexes) {
  MaxColors = std::clamp(MaxColors, 1, 256);
  const size_t N = size_t(std::max(Width, 0)) * size_t(std::max(Height, 0));
  Palette.clear();
  Indexes.assign(N, 0);
  if (N == 0) return;
  // Few enough colours: the exact ones, in order of first appearance.
  std::unordered_map<Cardinal, Byte> Exact;
  bool Fits = true;
  for (size_t i = 0; i < N && Fits; ++i) {
    const Byte* P = Pixels + i * 4;
    Cardinal Key = Cardinal(P[2]) << 16 | Cardinal(P[1]) << 8 | P[0];
    auto It = Exact.find(Key);
    if (It == Exact.end()) {
      if (Integer(Exact.size()) == MaxColors) {
        Fits = false;
        break;
      }
      Byte Idx = Byte(Exact.size());
      Exact.emplace(Key, Idx);
      Palette.push_back(TGIFColor{P[2], P[1], P[0]});
      Indexes[i] = Idx;
    } else {
      Indexes[i] = It->second;
    }
  }
  if (Fits) return;

  std::vector<Cardinal> Hist(32768, 0);
  std::vector<std::array<Int64, 3>> Sums(32768, {0, 0, 0});
  for (size_t i = 0; i < N; ++i) {
    const Byte* P = Pixels + i * 4;
    size_t I = size_t(BinIndex(P[2] >> 3, P[1] >> 3, P[0] >> 3));
    ++Hist[I];
    Sums[I][0] += P[2];
    Sums[I][1] += P[1];
    Sums[I][2] += P[0];
  }
  MedianCut(Hist, Sums, MaxColors, Palette);

  // Nearest palette entry, cached per 5-bit bin of the wanted colour.
  std::vector<int16_t> Cache(32768, -1);
  auto Nearest = [&](Integer R, Integer G, Integer B) -> Byte {
    size_t Key = size_t(BinIndex(R >> 3, G >> 3, B >> 3));
    if (Cache[Key] >= 0) return Byte(Cache[Key]);
    // Search from the bin's centre.
    Integer CR = (R & ~7) + 4, CG = (G & ~7) + 4, CB = (B & ~7) + 4;
    Integer Best = 0;
    Int64 BestD = INT64_MAX;
    for (Integer i = 0; i < Integer(Palette.size()); ++i) {
      const TGIFColor& C = Palette[size_t(i)];
      Int64 D = Int64(C.Red - CR) * (C.Red - CR) + Int64(C.Green - CG) * (C.Green - CG) +
                Int64(C.Blue - CB) * (C.Blue - CB);
      if (D < BestD) {
        BestD = D;
        Best = i;
      }
    }
    Cache[Key] = int16_t(Best);
    return Byte(Best);
  };

  if (!Dither) {
    for (size_t i = 0; i < N; ++i) {
      const Byte* P = Pixels + i * 4;
      Indexes[i] = Nearest(P[2], P[1], P[0]);
    }
    return;
  }
  // Floyd-Steinberg: errors in sixteenths, carried in two rows.
  std::vector<std::array<Integer, 3>> Cur(size_t(Width) + 2, {0, 0, 0}), Next(size_t(Width) + 2, {0, 0, 0});
  for (Integer Y = 0; Y < Height; ++Y) {
    std::fill(Next.begin(), Next.end(), std::array<Integer, 3>{0, 0, 0});
    for (Integer X = 0; X < Width; ++X) {
      const size_t I = size_t(Y) * size_t(Width) + size_t(X);
      const Byte* P = Pixels + I * 4;
      const Integer Want[3] = {
          std::clamp(Integer(P[2]) + Cur[size_t(X) + 1][0] / 16, 0, 255),
          std::clamp(Integer(P[1]) + Cur[size_t(X) + 1][1] / 16, 0, 255),
          std::clamp(Integer(P[0]) + Cur[size_t(X) + 1][2] / 16, 0, 255)};
      Byte Idx = Nearest(Want[0], Want[1], Want[2]);
      Indexes[I] = Idx;
      const TGIFColor& C = Palette[Idx];
      const Integer Got[3] = {C.Red, C.Green, C.Blue};
      for (int k = 0; k < 3; ++k) {
        Integer E = Want[k] - Got[k];
        Cur[size_t(X) + 2][k] += E * 7;
        Next[size_t(X)][k] += E * 3;
        Next[size_t(X) + 1][k] += E * 5;
        Next[size_t(X) + 2][k] += E;
      }
    }
    std::swap(Cur, Next);
  }
}

// ---------------------------------------------------------------------------
// TGIFImage

TGIFImage::~TGIFImage() { Clear(); }

void TGIFImage::Clear() {
  for (auto* F : FFrames) delete F;
  FFrames.clear();
  FWidth = FHeight = 0;
}

void TGIFImage::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    Changed(this);
    return;
  }
  if (auto* G = dynamic_cast<TGIFImage*>(Source)) {
    if (G == this) return;
    Clear();
    for (auto* F : G->FFrames) FFrames.push_back(new TGIFFrame(*F));
    FWidth = G->FWidth;
    FHeight = G->FHeight;
    FColorReduction = G->FColorReduction;
    FDitherMode = G->FDitherMode;
    Changed(this);
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    std::vector<Byte> BGRA;
    GetBitmapBGRA(B, BGRA);
    auto* F = new TGIFFrame();
    F->Width = B->Width();
    F->Height = B->Height();
    QuantizeColors(BGRA.data(), F->Width, F->Height, 256, FDitherMode == dmFloydSteinberg, F->ColorMap, F->Data);
    Clear();
    if (F->Width > 0 && F->Height > 0) {
      FFrames.push_back(F);
      FWidth = F->Width;
      FHeight = F->Height;
    } else {
      delete F;
    }
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TGIFImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  const TGIFFrame* F = FFrames[0];
  // The logical screen: outside the frame and on transparent pixels nothing is drawn.
  std::vector<Byte> BGRA(size_t(FWidth) * size_t(FHeight) * 4, 0);
  bool AnyClear = F->Left > 0 || F->Top > 0 || F->Left + F->Width < FWidth || F->Top + F->Height < FHeight;
  for (Integer Y = 0; Y < F->Height; ++Y) {
    Integer SY = F->Top + Y;
    if (SY < 0 || SY >= FHeight) continue;
    for (Integer X = 0; X < F->Width; ++X) {
      Integer SX = F->Left + X;
      if (SX < 0 || SX >= FWidth) continue;
      Byte Idx = F->Data[size_t(Y) * size_t(F->Width) + size_t(X)];
      Byte* P = &BGRA[(size_t(SY) * size_t(FWidth) + size_t(SX)) * 4];
      if ((F->Transparent && Idx == F->TransparentColorIndex) || Idx >= F->ColorMap.size()) {
        AnyClear = true;
        continue;
      }
      const TGIFColor& C = F->ColorMap[Idx];
      P[0] = C.Blue;
      P[1] = C.Green;
      P[2] = C.Red;
      P[3] = 255;
    }
  }
  if (AnyClear)
    DrawBGRAOver(ACanvas->Handle(), Rect, BGRA.data(), FWidth, FHeight);
  else
    DrawBGRA(ACanvas->Handle(), Rect, BGRA.data(), FWidth, FHeight);
}

void TGIFImage::LoadFromStream(TStream* Stream) {
  Int64 N = Stream->Size() - Stream->Position();
  if (N <= 0 || N > 0x7FFFFFFF) throw EGIFError(u"GIF error: no data");
  std::vector<Byte> Data(static_cast<size_t>(N));
  Stream->ReadBuffer(Data.data(), Integer(N));
  codec::GifImage Img;
  std::string Err = codec::GifDecode(Data.data(), Data.size(), Img);
  if (!Err.empty()) throw EGIFError(String(Err.begin(), Err.end()));
  auto* F = new TGIFFrame();
  F->Left = Img.Frame.Left;
  F->Top = Img.Frame.Top;
  F->Width = Img.Frame.Width;
  F->Height = Img.Frame.Height;
  F->Data = std::move(Img.Frame.Indexes);
  for (size_t i = 0; i + 2 < Img.Frame.Colors.size(); i += 3)
    F->ColorMap.push_back(TGIFColor{Img.Frame.Colors[i], Img.Frame.Colors[i + 1], Img.Frame.Colors[i + 2]});
  F->Transparent = Img.Frame.TransparentIndex >= 0;
  F->TransparentColorIndex = Byte(F->Transparent ? Img.Frame.TransparentIndex : 0);
  F->Delay = Img.Frame.DelayTime;
  Clear();
  FFrames.push_back(F);
  FWidth = Img.Width;
  FHeight = Img.Height;
  Changed(this);
}

void TGIFImage::SaveToStream(TStream* Stream) {
  if (Empty()) throw EGIFError(u"GIF error: empty image");
  const TGIFFrame* F = FFrames[0];
  codec::GifImage Img;
  Img.Width = FWidth;
  Img.Height = FHeight;
  Img.FrameCount = 1;
  Img.Frame.Left = F->Left;
  Img.Frame.Top = F->Top;
  Img.Frame.Width = F->Width;
  Img.Frame.Height = F->Height;
  Img.Frame.Indexes = F->Data;
  for (const TGIFColor& C : F->ColorMap) {
    Img.Frame.Colors.push_back(C.Red);
    Img.Frame.Colors.push_back(C.Green);
    Img.Frame.Colors.push_back(C.Blue);
  }
  Img.Frame.TransparentIndex = F->Transparent ? F->TransparentColorIndex : -1;
  Img.Frame.DelayTime = F->Delay;
  std::vector<Byte> Out;
  std::string Err = codec::GifEncode(Img, Out);
  if (!Err.empty()) throw EGIFError(String(Err.begin(), Err.end()));
  Stream->WriteBuffer(Out.data(), Integer(Out.size()));
}
