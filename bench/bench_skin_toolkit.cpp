// The skin toolkit's image builders and mask regions at the size of a
// 1920 x 1080 form, under Wine's GDI.
//  - Nine-slice images from a small button-like skin rect (4-px corners,
//    2-px edges and centre): tiled edges and centre, and a stretched centre,
//    against one BitBlt of a 1920 x 1080 32-bit DIB into another in the same
//    run (targets 3x and 4x); the border strips of a 1920 x 1080 frame from a
//    form picture (budget 1 ms).
//  - Regions: the frame region of a masked frame with rounded corners
//    (budget 2 ms), the region of a whole rounded mask with two runs a row
//    (budget 10 ms), and a mask of a hatched band of about 20,000 runs
//    against one ExtCreateRegion of the same region data (target 0.1x), with
//    four times the runs costing at most five times as much.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "bench/BenchTable.h"
#include "skin/data/win/SPUtils.h"

namespace {

constexpr Integer W = 1920, H = 1080;

void Toolkit() {
  static bool done = (InitializeSpBitmapUnit(), InitializeSPUtils(), true);
  (void)done;
}

std::unique_ptr<TBitmap> Bitmap32(Integer Width, Integer Height) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf32bit);
  B->SetSize(Width, Height);
  return B;
}

// A picture with a different colour at every pixel (so no copy is a no-op).
std::unique_ptr<TBitmap> Picture(Integer Width, Integer Height) {
  auto B = Bitmap32(Width, Height);
  for (Integer y = 0; y < Height; ++y) {
    auto* Row = static_cast<Cardinal*>(B->ScanLine(y));
    for (Integer x = 0; x < Width; ++x) Row[x] = 0xFF000000u | Cardinal(x * 37 + y * 101) * 2654435761u >> 8;
  }
  return B;
}

// ---- reference: one BitBlt of the whole area ------------------------------

void BM_BitBlt1080p(benchmark::State& St) {
  Toolkit();
  benchtable::Reference(St, "gdi32", "form-image");
  auto Src = Picture(W, H);
  auto Dst = Bitmap32(W, H);
  const HDC S = Src->Canvas()->Handle(), D = Dst->Canvas()->Handle();
  for (auto _ : St) {
    BitBlt(D, 0, 0, W, H, S, 0, 0, SRCCOPY);
    GdiFlush();
  }
  St.SetItemsProcessed(St.iterations() * Int64(W) * H);
}
BENCHMARK(BM_BitBlt1080p)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- nine-slice images ----------------------------------------------------

// A 10 x 10 button skin rect at (3, 5) of its picture: corners 4 px, edges
// and centre 2 px; stretched: every edge and the centre stretched.
void BM_NineSlice1080p(benchmark::State& St) {
  Toolkit();
  const bool Stretched = St.range(0) != 0;
  benchtable::Ours(St, "form-image", Stretched ? "4x" : "3x");
  auto Pic = Picture(20, 20);
  auto Dest = Bitmap32(W, H);
  const TRect SR(3, 5, 13, 15);
  const TPoint LT(4, 4), RT(6, 4), LB(4, 6), RB(6, 6);
  const TRect Cl(4, 4, 6, 6);
  const Integer dx = W - 10, dy = H - 10;
  const TPoint NLT = LT, NRT(RT.X + dx, RT.Y), NLB(LB.X, LB.Y + dy), NRB(RB.X + dx, RB.Y + dy);
  const TRect NCl(Cl.Left, Cl.Top, Cl.Right + dx, Cl.Bottom + dy);
  for (auto _ : St) {
    CreateNineSliceImage(LT, RT, LB, RB, Cl, NLT, NRT, NLB, NRB, NCl, Dest.get(), Pic.get(), SR, W, H, true,
                         Stretched, Stretched, Stretched, Stretched, Stretched, spstFull);
    GdiFlush();
  }
  St.SetItemsProcessed(St.iterations() * Int64(W) * H);
}
BENCHMARK(BM_NineSlice1080p)->ArgName("stretched")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The four border strips of a 1920 x 1080 form from a 285 x 210 form
// picture: caption 30 px high, borders 4 px, corner pieces 40 px long.
struct TFormGeometry {
  TRect SR{0, 0, 285, 210};
  TPoint LT{40, 40}, RT{245, 40}, LB{40, 170}, RB{245, 170};
  TRect Cl{4, 30, 281, 206};
  TPoint NLT, NRT, NLB, NRB;
  TRect NCl;
  TFormGeometry() {
    const Integer dx = W - SR.Width(), dy = H - SR.Height();
    NLT = LT;
    NRT = TPoint(RT.X + dx, RT.Y);
    NLB = TPoint(LB.X, LB.Y + dy);
    NRB = TPoint(RB.X + dx, RB.Y + dy);
    NCl = TRect(Cl.Left, Cl.Top, Cl.Right + dx, Cl.Bottom + dy);
  }
};

void BM_BorderStrips1080p(benchmark::State& St) {
  Toolkit();
  benchtable::Ours(St, "", "1ms");
  const bool Stretched = St.range(0) != 0;
  const TFormGeometry G;
  auto Pic = Picture(G.SR.Width(), G.SR.Height());
  TBitmap L, T, R, B;
  for (TBitmap* S : {&L, &T, &R, &B}) S->SetPixelFormat(pf32bit);
  for (auto _ : St) {
    CreateBorderStripImagesEx(G.LT, G.RT, G.LB, G.RB, G.Cl, G.NLT, G.NRT, G.NLB, G.NRB, G.NCl, &L, &T, &R, &B,
                              Pic.get(), G.SR, W, H, Stretched, Stretched, Stretched, Stretched);
    GdiFlush();
  }
  St.counters["top_strip_px"] = double(T.Width()) * T.Height();
}
BENCHMARK(BM_BorderStrips1080p)->ArgName("stretched")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- regions ---------------------------------------------------------------

// Black where In(x, y), white elsewhere.
template <class F>
std::unique_ptr<TBitmap> Mask(Integer Width, Integer Height, F In) {
  auto B = Bitmap32(Width, Height);
  for (Integer y = 0; y < Height; ++y) {
    auto* Row = static_cast<Cardinal*>(B->ScanLine(y));
    for (Integer x = 0; x < Width; ++x) Row[x] = In(x, y) ? 0u : 0xFFFFFFu;
  }
  return B;
}

// Inside the rectangle (L, T, R, B) with corners rounded to radius Rad.
bool InRounded(Integer x, Integer y, Integer L, Integer T, Integer R, Integer B, Integer Rad) {
  if (x < L || x >= R || y < T || y >= B) return false;
  const Integer cx = x < L + Rad ? L + Rad : x >= R - Rad ? R - Rad - 1 : x;
  const Integer cy = y < T + Rad ? T + Rad : y >= B - Rad ? B - Rad - 1 : y;
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= Rad * Rad;
}

void DeleteRegion(HRGN R) {
  if (R) DeleteObject(R);
}

void BM_FrameRegion1080p(benchmark::State& St) {
  Toolkit();
  benchtable::Ours(St, "", "2ms");
  const TFormGeometry G;
  auto M = Mask(G.SR.Width(), G.SR.Height(),
                [&](Integer x, Integer y) { return InRounded(x, y, 0, 0, G.SR.Width(), G.SR.Height(), 9); });
  Int64 Bytes = 0;
  for (auto _ : St) {
    HRGN Rgn = nullptr;
    CreateSkinFrameRegion(Rgn, G.LT, G.RT, G.LB, G.RB, G.Cl, G.NLT, G.NRT, G.NLB, G.NRB, G.NCl, M.get(), W, H);
    if (!Rgn) {
      St.SkipWithError("no frame region");
      break;
    }
    Bytes = GetRegionData(Rgn, 0, nullptr);
    DeleteRegion(Rgn);
  }
  St.counters["region_rects"] = double(Bytes - 32) / 16;
}
BENCHMARK(BM_FrameRegion1080p)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MaskRegion1080p(benchmark::State& St) {
  Toolkit();
  benchtable::Ours(St, "", "10ms");
  // Two rounded panels side by side: two runs a row.
  auto M = Mask(W, H, [](Integer x, Integer y) {
    return InRounded(x, y, 0, 0, 950, H, 12) || InRounded(x, y, 970, 0, W, H, 12);
  });
  for (auto _ : St) {
    HRGN Rgn = nullptr;
    CreateMaskRegion(Rgn, M.get());
    if (!Rgn) {
      St.SkipWithError("no mask region");
      break;
    }
    DeleteRegion(Rgn);
  }
}
BENCHMARK(BM_MaskRegion1080p)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 1920-wide band of Runs / 120 rows with 120 short diagonal hatch runs a
// row: neighbouring rows' runs are shifted, so none merge.
std::unique_ptr<TBitmap> HatchedBand(Integer Runs) {
  return Mask(W, std::max(1, Runs / 120), [](Integer x, Integer y) { return (x + y) % 16 < 4; });
}

// range(0): the number of runs; at 20,000 paired with ExtCreateRegion, at
// 80,000 with the 20,000-run row below.
void BM_HatchedMaskRegion(benchmark::State& St) {
  Toolkit();
  const Integer Runs = Integer(St.range(0));
  if (Runs == 20000)
    benchtable::Ours(St, "hatched-20000", "0.1x");
  else
    benchtable::Ours(St, "hatched-x4", "5x");
  auto M = HatchedBand(Runs);
  for (auto _ : St) {
    HRGN Rgn = nullptr;
    CreateMaskRegion(Rgn, M.get());
    if (!Rgn) {
      St.SkipWithError("no mask region");
      break;
    }
    DeleteRegion(Rgn);
  }
  St.SetItemsProcessed(St.iterations() * Int64(Runs));
}
BENCHMARK(BM_HatchedMaskRegion)->ArgName("runs")->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 20,000-run band again, as the base of the scaling check.
void BM_HatchedMaskRegionBase(benchmark::State& St) {
  Toolkit();
  benchtable::Reference(St, "ours-20k", "hatched-x4");
  auto M = HatchedBand(Integer(St.range(0)));
  for (auto _ : St) {
    HRGN Rgn = nullptr;
    CreateMaskRegion(Rgn, M.get());
    DeleteRegion(Rgn);
  }
  St.SetItemsProcessed(St.iterations() * St.range(0));
}
BENCHMARK(BM_HatchedMaskRegionBase)->ArgName("runs")->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The platform's own constructor on the band's region data, in one call.
void BM_ExtCreateRegion(benchmark::State& St) {
  Toolkit();
  benchtable::Reference(St, "gdi32", "hatched-" + std::to_string(St.range(0)));
  auto M = HatchedBand(Integer(St.range(0)));
  void* Data = nullptr;
  const Integer Size = BuildMaskRegionData(M.get(), 0, 0, Data);
  for (auto _ : St) {
    HRGN Rgn = ExtCreateRegion(nullptr, DWORD(Size), static_cast<const RGNDATA*>(Data));
    if (!Rgn) {
      St.SkipWithError("ExtCreateRegion failed");
      break;
    }
    DeleteRegion(Rgn);
  }
  FreeRegionData(Data);
  St.counters["rects"] = double(Size - 32) / 16;
}
BENCHMARK(BM_ExtCreateRegion)->ArgName("runs")->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
