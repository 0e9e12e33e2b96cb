// TImageDraw: the fill tool and the magic wand. The search and the scans
// are in document/FloodFill.h.
#include "document/FloodFill.h"
#include "document/win/ImageDraw.h"
#include "document/win/ImageSelection.h"

void TImageDraw::FillDo(TBitmap32* B32, Integer X0, Integer Y0, Integer Tolerance, std::vector<TRegionRun>& Runs,
                        Int64& Count) {
  TFillSearch s;
  FloodFillSearch(B32, X0, Y0, FFillSourceColor, FFillColor, Tolerance, s);
  Runs = std::move(s.Runs);
  Count = s.Count;
}

void TImageDraw::Fill(Integer X, Integer Y, TColor Color) {
  FFillColor = Color32(Color) | 0xFF000000u;
  bool filled = false;
  if (TImgSelection* s = Selection()) {
    TRect r;
    filled = IntersectRects(r, s->Region().Box(), FSrcBmp->BoundsRect()) && r.Width() > 0 && r.Height() > 0;
    FillRegionPixels(FSrcBmp.get(), s->Region(), FFillColor);
  } else if (X >= 0 && Y >= 0 && X < FSrcBmp->Width() && Y < FSrcBmp->Height()) {
    FFillSourceColor = FSrcBmp->GetPixel(X, Y);
    std::vector<TRegionRun> runs;
    Int64 count = 0;
    FillDo(FSrcBmp.get(), X, Y, FFillTolerance, runs, count);
    filled = count > 0;
  }
  if (!filled) return;
  FSrcBmpChanged = true;
  SetChanged(true);
  Draw();
}

void TImageDraw::CalcSelectionWandPoints(Integer X, Integer Y, Integer Tolerance, bool Continuous) {
  if (X < 0 || Y < 0 || X >= FSrcBmp->Width() || Y >= FSrcBmp->Height()) return;
  auto* s = dynamic_cast<TImgSelection*>(FCurrentShape);
  TBitmap32 copy;
  copy.Assign(FSrcBmp.get());
  FFillSourceColor = copy.GetPixel(X, Y);
  std::vector<TRegionRun> runs;
  if (Continuous) {
    Int64 count = 0;
    FillDo(&copy, X, Y, Tolerance, runs, count);
  } else {
    runs = MatchingRuns(&copy, FFillSourceColor, Tolerance);
  }
  if (s)
    for (const TRegionRun& r : runs) s->Core().Input.AddRun(r.Y, r.X0, r.X1);
  SetChanged(true);
}
