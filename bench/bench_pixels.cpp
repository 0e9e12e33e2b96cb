// The document's pixel work on a 6000 x 4000 raster:
//   BM_FloodFill/<kind>          the fill search with its row-ordered result
//                                (kind 0: a region of about 60 % with noise
//                                inside the tolerance; 1: a maze), against a
//                                plain scanline fill written here with the
//                                same tolerance test and visited set; the
//                                search's extra memory per raster pixel is
//                                the counter bytes_per_pixel
//   BM_MagicWand/continuous      click to finished region (region build from
//                                the runs included), about half the image
//   BM_MagicWand/global/<runs>   the global scan with n and 2n runs per row,
//                                and the one-pixel checkerboard
//   BM_Effect/<mode>             a one-value effect run over the whole raster
//                                as a preview does it: from the start image
//                                into the raster; the filter modes beside
//                                their engine primitive alone
//   BM_LayerBlend/<mode>         a half-transparent layer drawn through Soft
//                                Light, Screen, Overlay, Darken, Color Burn,
//                                beside pixman's operator of the same name
//   BM_RegionWriteBack           an ellipse selection's write-back, beside a
//                                plain copy of its bounding rectangle
//   BM_WarpStamp/<size>          one twirl stamp (both passes and the render
//                                of its square) on a 3840 x 2160 raster
//   BM_EffectDab                 one blurring dab of radius 100
// Portable work only: the glue's GDI+ and view costs are not in these rows.
#include "bench/Benchmark.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <random>
#include <vector>

#include "bench/BenchPixman.h"
#include "bench/BenchTable.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_Filters.h"
#include "bitmap/SharpenLib32.h"
#include "bitmap/VaZU32Vudover.h"
#include "document/EffectRecipes.h"
#include "document/FloodFill.h"
#include "document/ImageWarping.h"
#include "document/SelectionCore.h"

namespace {

constexpr Integer W = 6000, H = 4000;
constexpr TColor32 Seed = 0xFF507090u;

// Kind 0: a disc-like area of about 60 % in the seed colour with noise of
// +-6 inside it (the fills use tolerance 12, so every pixel of it passes
// against any of them), the rest far away. Kind 1: corridors of the seed colour one
// pixel wide between walls, connected in a serpentine.
void MakeFillPicture(TCustomBitmap32& B, Integer Kind) {
  B.SetSize(W, H);
  std::mt19937 rng(5);
  for (Integer y = 0; y < H; ++y) {
    TColor32* row = B.ScanLine(y);
    for (Integer x = 0; x < W; ++x) {
      bool inside;
      if (Kind == 0) {
        const double dx = (x - W / 2) / double(W), dy = (y - H / 2) / double(H);
        inside = dx * dx + dy * dy < 0.19;
      } else {
        const bool wallRow = y % 2 == 1;
        inside = !wallRow || (((y / 2) % 2 == 0) ? x == W - 1 : x == 0);
      }
      if (inside) {
        const Integer n = Integer(rng() % 13) - 6;
        row[x] = (Seed & 0xFFFFFF00u) | TColor32(std::clamp(0x90 + n, 0, 255));
      } else {
        row[x] = 0xFF000000u;
      }
    }
  }
}

// A scanline fill with the same test and a bit map: runs left and right,
// then the rows above and below, each seed once.
Int64 ScanlineFill(TCustomBitmap32& B, Integer X0, Integer Y0, TColor32 Source, TColor32 Fill, Integer Tol) {
  std::vector<uint64_t> visited((size_t(W) * H + 63) / 64, 0);
  auto seen = [&](size_t i) { return (visited[i >> 6] >> (i & 63)) & 1; };
  auto mark = [&](size_t i) { visited[i >> 6] |= uint64_t(1) << (i & 63); };
  auto ok = [&](Integer x, Integer y) {
    const size_t i = size_t(y) * W + x;
    return !seen(i) && ColorWithinTolerance(B.GetPixel(x, y), Source, Tol);
  };
  std::vector<TPoint> stack{TPoint(X0, Y0)};
  Int64 count = 0;
  while (!stack.empty()) {
    const TPoint p = stack.back();
    stack.pop_back();
    if (!ok(p.X, p.Y)) continue;
    Integer l = p.X, r = p.X;
    while (l > 0 && ok(l - 1, p.Y)) --l;
    while (r + 1 < W && ok(r + 1, p.Y)) ++r;
    for (Integer x = l; x <= r; ++x) {
      mark(size_t(p.Y) * W + x);
      B.SetPixel(x, p.Y, Fill);
      ++count;
    }
    for (Integer dy : {-1, 1}) {
      const Integer y = p.Y + dy;
      if (y < 0 || y >= H) continue;
      for (Integer x = l; x <= r; ++x)
        if (ok(x, y) && (x == l || !ok(x - 1, y))) stack.push_back(TPoint(x, y));
    }
  }
  // The row-ordered result, as the search gives it.
  std::vector<TRegionRun> runs;
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W;) {
      if (!seen(size_t(y) * W + x)) {
        ++x;
        continue;
      }
      const Integer x0 = x;
      while (x < W && seen(size_t(y) * W + x)) ++x;
      runs.push_back(TRegionRun{y, x0, x});
    }
  benchmark::DoNotOptimize(runs.data());
  return count;
}

void BM_FloodFill(benchmark::State& State) {
  InitializeBitmapEngine();
  const Integer kind = Integer(State.range(0));
  TCustomBitmap32 pic, work;
  MakeFillPicture(pic, kind);
  const TPoint seed = kind == 0 ? TPoint(W / 2, H / 2) : TPoint(0, 0);
  size_t peak = 0;
  for (auto _ : State) {
    State.PauseTiming();
    work.Assign(&pic);
    State.ResumeTiming();
    TFillSearch s;
    FloodFillSearch(&work, seed.X, seed.Y, work.GetPixel(seed.X, seed.Y), 0xFFFF0000u, 12, s);
    peak = s.PeakQueue;
    benchmark::DoNotOptimize(s.Runs.data());
  }
  State.counters["bytes_per_pixel"] = (double(W) * H / 8 + double(peak) * 4) / (double(W) * H);
  benchtable::Ours(State, kind == 0 ? "fill-blob" : "fill-maze", "3x");
}
BENCHMARK(BM_FloodFill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ScanlineFill(benchmark::State& State) {
  InitializeBitmapEngine();
  const Integer kind = Integer(State.range(0));
  TCustomBitmap32 pic, work;
  MakeFillPicture(pic, kind);
  const TPoint seed = kind == 0 ? TPoint(W / 2, H / 2) : TPoint(0, 0);
  for (auto _ : State) {
    State.PauseTiming();
    work.Assign(&pic);
    State.ResumeTiming();
    benchmark::DoNotOptimize(ScanlineFill(work, seed.X, seed.Y, work.GetPixel(seed.X, seed.Y), 0xFFFF0000u, 12));
  }
  benchtable::Reference(State, "scanline", kind == 0 ? "fill-blob" : "fill-maze");
}
BENCHMARK(BM_ScanlineFill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_MagicWandContinuous(benchmark::State& State) {
  InitializeBitmapEngine();
  TCustomBitmap32 pic, work;
  pic.SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) pic.SetPixel(x, y, x < W / 2 ? Seed : 0xFF000000u);
  for (auto _ : State) {
    State.PauseTiming();
    work.Assign(&pic);
    State.ResumeTiming();
    TFillSearch s;
    FloodFillSearch(&work, 10, 10, Seed, 0, 0, s);
    const TRegion r = TRegion::FromRuns(std::move(s.Runs));
    benchmark::DoNotOptimize(r.Box());
  }
  benchtable::Ours(State, "", "500ms");
}
BENCHMARK(BM_MagicWandContinuous)->Name("BM_MagicWand/continuous")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Runs per row: stripes of the seed colour of equal width; 0: the one-pixel
// checkerboard.
void BM_MagicWandGlobal(benchmark::State& State) {
  InitializeBitmapEngine();
  const Integer runs = Integer(State.range(0));
  TCustomBitmap32 pic;
  pic.SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      const bool on = runs == 0 ? ((x + y) & 1) == 0 : (x / (W / (2 * runs))) % 2 == 0;
      pic.SetPixel(x, y, on ? Seed : 0xFF000000u);
    }
  for (auto _ : State) {
    std::vector<TRegionRun> r = MatchingRuns(&pic, Seed, 0);
    const TRegion region = TRegion::FromRuns(std::move(r));
    benchmark::DoNotOptimize(region.Box());
  }
  State.counters["runs"] = double(runs == 0 ? Int64(W / 2) * H : Int64(runs) * H);
  benchtable::Ours(State, "");
}
BENCHMARK(BM_MagicWandGlobal)->Name("BM_MagicWand/global")->Arg(50)->Arg(100)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void MakePhoto(TCustomBitmap32& B) {
  B.SetSize(W, H);
  std::mt19937 rng(3);
  for (Integer y = 0; y < H; ++y) {
    TColor32* row = B.ScanLine(y);
    for (Integer x = 0; x < W; ++x)
      row[x] = 0xFF000000u | TColor32((x / 24) & 0xFF) << 16 | TColor32((y / 16) & 0xFF) << 8 | (rng() & 0x3F);
  }
}

const TEffectMode kModes[] = {TEffectMode::emBlur,          TEffectMode::emSharpen,     TEffectMode::emAddNoise,
                              TEffectMode::emDenoising,     TEffectMode::emGrayscale,   TEffectMode::emInvert,
                              TEffectMode::emSoften,        TEffectMode::emIncreaseLight, TEffectMode::emReduceLight,
                              TEffectMode::emColdBlue,      TEffectMode::emYellowing,   TEffectMode::emFreeze,
                              TEffectMode::emAttemper};

std::string ModeKey(Integer Mode) { return "effect-" + std::to_string(Mode); }

void BM_Effect(benchmark::State& State) {
  InitializeBitmapEngine();
  const TEffectMode mode = kModes[State.range(0)];
  TCustomBitmap32 snapshot, raster;
  MakePhoto(snapshot);
  raster.Assign(&snapshot);
  TEffectInputs in;
  for (auto _ : State) {
    RunEffectDoFrom(mode, &snapshot, &raster, 3, false, in);
    benchmark::DoNotOptimize(raster.Bits()[0]);
  }
  benchtable::Ours(State, ModeKey(Integer(mode)), "1.5x");
}
BENCHMARK(BM_Effect)->DenseRange(0, Integer(std::size(kModes)) - 1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The engine primitive of a filter mode alone, in place.
void BM_EffectPrimitive(benchmark::State& State) {
  InitializeBitmapEngine();
  const TEffectMode mode = kModes[State.range(0)];
  TCustomBitmap32 b;
  MakePhoto(b);
  for (auto _ : State) {
    switch (mode) {
      case TEffectMode::emBlur: ExpBlur(&b, 3); break;
      case TEffectMode::emSharpen: for (int i = 0; i < 3; ++i) Sharpen(&b, 0); break;
      case TEffectMode::emAddNoise: AddNoise(&b, 9, false); break;
      case TEffectMode::emDenoising: SelectiveSmooth(&b, 3, 3); break;
      case TEffectMode::emGrayscale: ColorToGrayscale(&b, &b, true); break;
      case TEffectMode::emInvert: InvertRGB(&b, &b); break;
      case TEffectMode::emSoften: BoxSmooth(&b, 4, 0xFFFFFFFFu); break;
      default: {
        // A layer mode: the layer and its blend alone.
        TCustomBitmap32 layer;
        FillLayer(&layer, W, H, 0xFFFFFFFFu, 128);
        DrawLayer(&b, &layer, BlendModeIndex(u"Soft Light"));
      }
    }
    benchmark::DoNotOptimize(b.Bits()[0]);
  }
  benchtable::Reference(State, "engine", ModeKey(Integer(mode)));
}
BENCHMARK(BM_EffectPrimitive)->DenseRange(0, Integer(std::size(kModes)) - 1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// Layer compositing of the recipes: a half-transparent picture layer drawn
// through a mode of the engine's list, beside pixman's separable blend
// operator of the same name on the same size.
struct TLayerMode {
  const char16_t* Name;
  int PixmanOp;
};
const TLayerMode kLayerModes[] = {{u"Soft Light", 0x38}, {u"Screen", 0x31}, {u"Overlay", 0x32},
                                  {u"Darken", 0x33},     {u"Color Burn", 0x36}};

std::string LayerKey(Integer I) { return "layer-" + std::to_string(I); }

void MakeLayer(TCustomBitmap32& L) {
  MakePhoto(L);
  SetLayerAlpha(&L, 128);
}

void BM_LayerBlend(benchmark::State& State) {
  InitializeBitmapEngine();
  const Integer i = Integer(State.range(0));
  TCustomBitmap32 base, layer;
  MakePhoto(base);
  MakeLayer(layer);
  const Integer mode = BlendModeIndex(kLayerModes[i].Name);
  for (auto _ : State) {
    DrawLayer(&base, &layer, mode);
    benchmark::DoNotOptimize(base.Bits()[0]);
  }
  benchtable::Ours(State, LayerKey(i), "2x");
}
BENCHMARK(BM_LayerBlend)->DenseRange(0, Integer(std::size(kLayerModes)) - 1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_PixmanLayerBlend(benchmark::State& State) {
  if (!Pix().ok) {
    State.SkipWithError("pixman not available");
    return;
  }
  const Integer i = Integer(State.range(0));
  TCustomBitmap32 base, layer;
  MakePhoto(base);
  MakeLayer(layer);
  // pixman works on premultiplied pixels.
  TColor32* l = layer.Bits();
  for (size_t k = 0, n = size_t(W) * H; k < n; ++k) {
    const TColor32 a = l[k] >> 24;
    TColor32 out = a << 24;
    for (int sh = 0; sh < 24; sh += 8) out |= (((l[k] >> sh) & 0xFF) * a + 127) / 255 << sh;
    l[k] = out;
  }
  pixman_image_t* si = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, layer.Bits(), W * 4);
  pixman_image_t* di = Pix().create_bits(PIXMAN_a8r8g8b8, W, H, base.Bits(), W * 4);
  for (auto _ : State) {
    Pix().composite32(kLayerModes[i].PixmanOp, si, nullptr, di, 0, 0, 0, 0, 0, 0, W, H);
    benchmark::DoNotOptimize(base.Bits()[0]);
  }
  Pix().unref(si);
  Pix().unref(di);
  benchtable::Reference(State, "pixman", LayerKey(i));
}
BENCHMARK(BM_PixmanLayerBlend)->DenseRange(0, Integer(std::size(kLayerModes)) - 1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_RegionWriteBack(benchmark::State& State) {
  InitializeBitmapEngine();
  const bool plain = State.range(0) != 0;
  const TRect box(500, 400, 5500, 3600);
  const TRegion region = TRegion::FromRuns(EllipseRuns(box));
  TCustomBitmap32 src, dst;
  src.SetSize(box.Width(), box.Height());
  src.Clear(0xFF102030u);
  dst.SetSize(W, H);
  dst.Clear(0);
  for (auto _ : State) {
    if (plain) {
      for (Integer y = 0; y < box.Height(); ++y)
        std::copy_n(src.ScanLine(y), box.Width(), dst.PixelPtr(box.Left, box.Top + y));
    } else {
      CopyInRegion(region, &src, &dst, box.TopLeft());
    }
    benchmark::DoNotOptimize(dst.Bits()[0]);
  }
  if (plain)
    benchtable::Reference(State, "copy", "region-writeback");
  else
    benchtable::Ours(State, "region-writeback", "1.5x");
}
BENCHMARK(BM_RegionWriteBack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WarpStamp(benchmark::State& State) {
  InitializeBitmapEngine();
  const Integer size = Integer(State.range(0));
  TCustomBitmap32 raster;
  raster.SetSize(3840, 2160);
  for (Integer y = 0; y < 2160; ++y)
    for (Integer x = 0; x < 3840; ++x) raster.SetPixel(x, y, 0xFF000000u | TColor32(x & 0xFF) << 16 | TColor32(y & 0xFF));
  TImgWarping w(&raster, &raster, btTwirl);
  w.UpdateBrush(size, 80);
  w.MouseDown(WarpShiftLeft, 1900, 1000);
  Integer k = 0;
  for (auto _ : State) {
    w.MouseMove(WarpShiftLeft, 1900 + (k % 7), 1000 + (k % 5));
    ++k;
    benchmark::DoNotOptimize(raster.Bits()[0]);
  }
  benchtable::Ours(State, "", size <= 256 ? "3ms" : "12ms");
}
BENCHMARK(BM_WarpStamp)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EffectDab(benchmark::State& State) {
  InitializeBitmapEngine();
  TCustomBitmap32 raster, picture;
  MakePhoto(raster);
  picture.Assign(&raster);
  ExpBlur(&picture, 6);
  Integer k = 0;
  for (auto _ : State) {
    const Integer x = 1000 + (k % 50) * 10, y = 1000;
    EffectBrushDab(&raster, &picture, TRect(x - 100, y - 100, x + 100, y + 100),
                   EffectBrushMaxAlpha(TEffectMode::emBlurring, false, 100));
    ++k;
    benchmark::DoNotOptimize(raster.Bits()[0]);
  }
  benchtable::Ours(State, "", "1ms");
}
BENCHMARK(BM_EffectDab)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
