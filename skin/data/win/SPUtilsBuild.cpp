// The image builders and the mask regions of the toolkit.
#include "skin/data/win/SPUtils.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin/data/SpRegions.h"

TspTiling SkinBuilderTiling = tlDoubling;

void ExecuteImagePlan(const TspPlan& Plan, TCanvas* Dest, TCanvas* Source) {
  if (Plan.empty()) return;
  const HDC D = Dest->Handle();
  const HDC S = Source ? Source->Handle() : nullptr;
  SetStretchBltMode(D, COLORONCOLOR);
  for (const TspPlanOp& Op : Plan) {
    const TRect& s = Op.Src;
    const TRect& d = Op.Dst;
    switch (Op.Kind) {
      case poCopy:
      case poStretch:
        // Empty or inverted rectangles draw nothing (the temporary bitmap
        // of a stretch would be empty; a mirrored copy is no skin piece).
        if (!S || s.Width() <= 0 || s.Height() <= 0 || d.Width() <= 0 || d.Height() <= 0) break;
        if (s.Width() == d.Width() && s.Height() == d.Height())
          BitBlt(D, d.Left, d.Top, d.Width(), d.Height(), S, s.Left, s.Top, SRCCOPY);
        else
          StretchBlt(D, d.Left, d.Top, d.Width(), d.Height(), S, s.Left, s.Top, s.Width(), s.Height(), SRCCOPY);
        break;
      case poDestCopy:
        BitBlt(D, d.Left, d.Top, d.Width(), d.Height(), D, s.Left, s.Top, SRCCOPY);
        break;
      case poClip:
        SaveDC(D);
        IntersectClipRect(D, d.Left, d.Top, d.Right, d.Bottom);
        break;
      case poUnclip:
        RestoreDC(D, -1);
        break;
    }
  }
}

namespace {

TspNineSlice NineSliceArgs(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewClRect, TRect SkinRect, Integer NewWidth, Integer NewHeight) {
  TspNineSlice A;
  A.LTPoint = LTPoint;
  A.RTPoint = RTPoint;
  A.LBPoint = LBPoint;
  A.RBPoint = RBPoint;
  A.ClRect = ClRect;
  A.NewLTPoint = NewLTPoint;
  A.NewRTPoint = NewRTPoint;
  A.NewLBPoint = NewLBPoint;
  A.NewRBPoint = NewRBPoint;
  A.NewClRect = NewClRect;
  A.SkinRect = SkinRect;
  A.NewWidth = NewWidth;
  A.NewHeight = NewHeight;
  return A;
}

void RunNineSlice(const TspNineSlice& A, TBitmap* Dest, TBitmap* Picture) {
  Dest->SetSize(A.NewWidth, A.NewHeight);
  if (!Picture || Picture->Empty()) return;
  TspPlan Plan;
  if (PlanNineSlice(A, SkinBuilderTiling, Plan)) ExecuteImagePlan(Plan, Dest->Canvas(), Picture->Canvas());
}

void RunStrips(TspStripPlan (&Strips)[4], TBitmap* Top, TBitmap* Left, TBitmap* Right, TBitmap* Bottom,
               TBitmap* Source) {
  TBitmap* Targets[4] = {Top, Left, Right, Bottom};
  for (int i = 0; i < 4; ++i) {
    if (!Strips[i].Produce || !Targets[i]) continue;
    Targets[i]->SetSize(Strips[i].Width, Strips[i].Height);
    ExecuteImagePlan(Strips[i].Plan, Targets[i]->Canvas(), Source->Canvas());
  }
}

}  // namespace

void CreateNineSliceImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                          TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                          TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                          Integer NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                          bool BottomStretch, bool StretchEffect, TspStretchType StretchType) {
  TspNineSlice A = NineSliceArgs(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                                 NewRBPoint, NewClRect, SkinRect, NewWidth, NewHeight);
  A.DrawClient = DrawClient;
  A.LeftStretch = LeftStretch;
  A.TopStretch = TopStretch;
  A.RightStretch = RightStretch;
  A.BottomStretch = BottomStretch;
  A.StretchEffect = StretchEffect;
  A.StretchType = StretchType;
  RunNineSlice(A, Dest, Picture);
}

void CreateNineSliceWindowImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                                TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                                TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                                Integer NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                                bool RightStretch, bool BottomStretch, bool StretchEffect,
                                TspStretchType StretchType) {
  CreateNineSliceImage(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                       NewClRect, Dest, Picture, SkinRect, NewWidth, NewHeight, DrawClient, LeftStretch, TopStretch,
                       RightStretch, BottomStretch, StretchEffect, StretchType);
}

void CreateClientStretchImage(TBitmap* Dest, TBitmap* Picture, TRect SkinRect, TRect ClRect, bool DrawClient) {
  RunNineSlice(ClientStretchArgs(SkinRect, ClRect, Dest->Width(), Dest->Height(), DrawClient), Dest, Picture);
}

void CreateHorzThreeSliceImage(Integer LeftOffset, Integer RightOffset, TBitmap* Dest, TBitmap* Picture,
                               TRect SkinRect, Integer NewWidth, Integer, bool Stretch) {
  TspPlan Plan;
  Integer W = 0, H = 0;
  PlanHorzThreeSlice(LeftOffset, RightOffset, SkinRect, NewWidth, Stretch, SkinBuilderTiling, Plan, W, H);
  Dest->SetSize(W, H);
  if (Picture && !Picture->Empty()) ExecuteImagePlan(Plan, Dest->Canvas(), Picture->Canvas());
}

void CreateVertThreeSliceImage(Integer TopOffset, Integer BottomOffset, TBitmap* Dest, TBitmap* Picture,
                               TRect SkinRect, Integer, Integer NewHeight, bool Stretch) {
  TspPlan Plan;
  Integer W = 0, H = 0;
  PlanVertThreeSlice(TopOffset, BottomOffset, SkinRect, NewHeight, Stretch, SkinBuilderTiling, Plan, W, H);
  Dest->SetSize(W, H);
  if (Picture && !Picture->Empty()) ExecuteImagePlan(Plan, Dest->Canvas(), Picture->Canvas());
}

void CreateBorderStripImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                             TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                             TRect NewClRect, TBitmap* Mask, TBitmap* TopImage, TBitmap* LeftImage,
                             TBitmap* RightImage, TBitmap* BottomImage, Integer NewWidth, Integer NewHeight) {
  if (!Mask) return;
  const TspNineSlice A = NineSliceArgs(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint,
                                       NewLBPoint, NewRBPoint, NewClRect, TRect(0, 0, Mask->Width(), Mask->Height()),
                                       NewWidth, NewHeight);
  TspStripPlan Strips[4];
  PlanMaskBorderStrips(A, Mask->Width(), Mask->Height(), SkinBuilderTiling, Strips);
  RunStrips(Strips, TopImage, LeftImage, RightImage, BottomImage, Mask);
}

void CreateBorderStripImagesEx(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                               TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                               TRect NewClRect, TBitmap* LeftImage, TBitmap* TopImage, TBitmap* RightImage,
                               TBitmap* BottomImage, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                               Integer NewHeight, bool LeftStretch, bool TopStretch, bool RightStretch,
                               bool BottomStretch) {
  if (!Picture) return;
  TspNineSlice A = NineSliceArgs(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                                 NewRBPoint, NewClRect, SkinRect, NewWidth, NewHeight);
  A.LeftStretch = LeftStretch;
  A.TopStretch = TopStretch;
  A.RightStretch = RightStretch;
  A.BottomStretch = BottomStretch;
  TspStripPlan Strips[4];
  PlanPictureBorderStrips(A, TopImage ? TopImage->Height() : 0, BottomImage ? BottomImage->Height() : 0,
                          SkinBuilderTiling, Strips);
  RunStrips(Strips, TopImage, LeftImage, RightImage, BottomImage, Picture);
}

// ---------------------------------------------------------------------------
// TFBitmap

TFBitmap::TFBitmap(HBITMAP HBmp) {
  BITMAP BM{};
  GetObjectW(HBmp, sizeof(BM), &BM);
  Width = BM.bmWidth;
  Height = BM.bmHeight < 0 ? -BM.bmHeight : BM.bmHeight;
  bmHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmHeader.biWidth = Width;
  bmHeader.biHeight = -Height;
  bmHeader.biPlanes = 1;
  bmHeader.biBitCount = 24;
  bmHeader.biCompression = BI_RGB;
  bmInfo.bmiHeader = bmHeader;
  void* B = nullptr;
  Handle = CreateDIBSection(nullptr, &bmInfo, DIB_RGB_COLORS, &B, nullptr, 0);
  Bits = static_cast<Byte*>(B);
  if (Bits) {
    HDC Screen = GetDC(nullptr);
    GetDIBits(Screen, HBmp, 0, UINT(Height), Bits, &bmInfo, DIB_RGB_COLORS);
    ReleaseDC(nullptr, Screen);
  } else {
    Width = Height = 0;
  }
  PrepareRows();
}

void TFBitmap::PrepareRows() {
  Gap = Width % 4;
  RowInc = Width * 3 + Gap;
  Size = RowInc * Height;
  Pixels.resize(size_t(Height));
  for (Integer y = 0; y < Height; ++y) Pixels[size_t(y)] = Bits + Int64(y) * RowInc;
  hDC = CreateCompatibleDC(nullptr);
  if (Handle) SelectObject(hDC, Handle);
}

TFBitmap::~TFBitmap() {
  if (hDC) DeleteDC(hDC);
  if (Handle) DeleteObject(Handle);
}

// ---------------------------------------------------------------------------
// Regions

namespace {

// The pixels of a mask as 32-bit colours, top-down (a palettised mask through
// its palette), read into the program's own memory: the same black pixels as
// TFBitmap's 24-bit copy, without the cost of first touching a new DIB
// section's pages and of the 24-bit conversion (docs/platform-gdi.md). False
// for an empty mask or one whose pixels cannot be read.
bool ReadMaskPixels(TBitmap* Mask, std::vector<Cardinal>& Pixels, Integer& Width, Integer& Height) {
  Width = Height = 0;
  if (!Mask || Mask->Empty()) return false;
  const HBITMAP H = Mask->Handle();
  BITMAP BM{};
  if (!H || !GetObjectW(H, sizeof(BM), &BM)) return false;
  const Integer W = BM.bmWidth, Ht = BM.bmHeight < 0 ? -BM.bmHeight : BM.bmHeight;
  if (W <= 0 || Ht <= 0) return false;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -Ht;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  Pixels.assign(size_t(W) * size_t(Ht), 0);
  HDC Screen = GetDC(nullptr);
  const int Read = GetDIBits(Screen, H, 0, UINT(Ht), Pixels.data(), &Info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, Screen);
  if (Read <= 0) return false;
  Width = W;
  Height = Ht;
  return true;
}

// The black runs of a mask moved by the offset; false for an empty mask.
bool MaskRuns(TBitmap* Mask, Integer XOffset, Integer YOffset, std::vector<TRect>& Runs) {
  Runs.clear();
  std::vector<Cardinal> Pixels;
  Integer W = 0, H = 0;
  if (!ReadMaskPixels(Mask, Pixels, W, H)) return false;
  ScanMaskRuns(Pixels.data(), W, H, W, XOffset, YOffset, Runs);
  return true;
}

HRGN RegionFromRects(const std::vector<TRect>& Rects) {
  // One platform call per chunk of merged runs, then the chunks united two
  // by two: each union costs the size of its two operands.
  constexpr size_t Chunk = 64;
  std::vector<TRect> Merged;
  MergeVerticalRuns(Rects, Merged);
  if (Merged.empty()) {
    const std::vector<Byte> D = MakeRegionData({}, TRect());
    return ExtCreateRegion(nullptr, DWORD(D.size()), reinterpret_cast<const RGNDATA*>(D.data()));
  }
  std::vector<HRGN> Level;
  auto FreeAll = [&Level] {
    for (HRGN R : Level) DeleteObject(R);
    return HRGN(nullptr);
  };
  for (size_t i = 0; i < Merged.size(); i += Chunk) {
    const std::vector<TRect> Part(Merged.begin() + Int64(i), Merged.begin() + Int64(std::min(i + Chunk, Merged.size())));
    TRect B = Part.front();
    for (const TRect& R : Part)
      B = TRect(std::min(B.Left, R.Left), std::min(B.Top, R.Top), std::max(B.Right, R.Right), std::max(B.Bottom, R.Bottom));
    const std::vector<Byte> D = MakeRegionData(Part, B);
    HRGN R = ExtCreateRegion(nullptr, DWORD(D.size()), reinterpret_cast<const RGNDATA*>(D.data()));
    if (!R) return FreeAll();
    Level.push_back(R);
  }
  while (Level.size() > 1) {
    std::vector<HRGN> Next;
    for (size_t i = 0; i < Level.size(); i += 2) {
      if (i + 1 == Level.size()) {
        Next.push_back(Level[i]);
        break;
      }
      if (CombineRgn(Level[i], Level[i], Level[i + 1], RGN_OR) == ERROR) {
        Level.insert(Level.end(), Next.begin(), Next.end());
        return FreeAll();
      }
      DeleteObject(Level[i + 1]);
      Next.push_back(Level[i]);
    }
    Level.swap(Next);
  }
  return Level.front();
}

}  // namespace

Integer BuildMaskRegionData(TBitmap* Mask, Integer XOffset, Integer YOffset, void*& Data) {
  std::vector<TRect> Runs;
  if (!MaskRuns(Mask, XOffset, YOffset, Runs)) return 0;
  const std::vector<Byte> D =
      MakeRegionData(Runs, TRect(XOffset, YOffset, XOffset + Mask->Width(), YOffset + Mask->Height()));
  void* P = std::malloc(D.size());
  if (!P) throw EOutOfMemory(SOutOfMemory);
  std::memcpy(P, D.data(), D.size());
  Data = P;
  return Integer(D.size());
}

void FreeRegionData(void* Data) { std::free(Data); }

HRGN CreateRegionFromData(const void* Data, Integer Size) {
  std::vector<TRect> Rects;
  if (Size <= 0 || !ReadRegionData(static_cast<const Byte*>(Data), size_t(Size), Rects)) return nullptr;
  return RegionFromRects(Rects);
}

void CreateMaskRegion(HRGN& Rgn, TBitmap* Mask) {
  std::vector<TRect> Runs;
  Rgn = MaskRuns(Mask, 0, 0, Runs) ? RegionFromRects(Runs) : nullptr;
}

void CreateSkinFrameRegion(HRGN& Rgn, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewClRect, TBitmap* Mask, Integer NewWidth, Integer NewHeight) {
  Rgn = nullptr;
  if (NewLTPoint.X > NewRTPoint.X || NewLTPoint.Y > NewLBPoint.Y) return;
  std::vector<TRect> All;
  bool Any = false;
  // The strips are cut from the mask's pixels in memory; only a malformed
  // geometry that would stretch a piece makes them on canvases.
  std::vector<Cardinal> Pixels;
  Integer MW = 0, MH = 0, Strips = 0;
  const TspNineSlice A = NineSliceArgs(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                                       NewRBPoint, NewClRect, TRect(), NewWidth, NewHeight);
  if (ReadMaskPixels(Mask, Pixels, MW, MH) && FrameStripRuns(A, Pixels.data(), MW, MH, All, Strips)) {
    Any = Strips > 0;
  } else {
    All.clear();
    TBitmap Top, Left, Right, Bottom;
    CreateBorderStripImages(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                            NewRBPoint, NewClRect, Mask, &Top, &Left, &Right, &Bottom, NewWidth, NewHeight);
    // The union of the strips' runs at their places, in the listed order.
    const struct {
      TBitmap* Strip;
      TPoint At;
    } Pieces[4] = {{&Top, TPoint(0, 0)},
                   {&Bottom, TPoint(0, NewClRect.Bottom)},
                   {&Left, TPoint(0, NewClRect.Top)},
                   {&Right, TPoint(NewClRect.Right, NewClRect.Top)}};
    std::vector<TRect> Runs;
    for (const auto& P : Pieces) {
      if (P.Strip->Width() <= 0 || P.Strip->Height() <= 0) continue;
      if (!MaskRuns(P.Strip, P.At.X, P.At.Y, Runs)) continue;
      Any = true;
      All.insert(All.end(), Runs.begin(), Runs.end());
    }
  }
  // With the client rectangle, built as one region; nothing when no piece
  // exists.
  if (!RectIsEmpty(NewClRect)) {
    Any = true;
    All.push_back(NewClRect);
  }
  if (Any) Rgn = RegionFromRects(All);
}
