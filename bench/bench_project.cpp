// Undo steps, the project sidecar, regions and saving, against the budgets:
//   BM_UndoRasterStep        a step holding a 6000 x 4000 raster copy, beside
//   BM_PlainCopy96MB         a plain copy of the same pixels into fresh memory
//   BM_UndoObjectStep        a step of 100 object rows and no pixels (<= 2 ms)
//   BM_Godo                  going to a step whose raster lies three steps
//                            back, 6000 x 4000 with 100 objects
//   BM_SidecarSave1000       sidecar of 1,000 objects and a 1920 x 1080 raster
//                            (original kept as file bytes), beside
//   BM_DeflateRaster1080     zlib level 9 of that raster's BMP bytes alone
//   BM_SidecarObjects1000    the objects part alone: text and encoding
//                            (<= 100 ms), and BM_SidecarLoad1000 reading all
//   BM_RegionFromRuns        2,000,000 one-pixel runs of a checkerboard (<= 1 s)
//   BM_OutlineLines          their outline at zoom 1 (<= 1 s); a select-all of
//                            6000 x 5000 (<= 1 ms)
//   BM_SaveJpeg6000x4000, BM_SavePng6000x4000 (opaque and transparent
//                            canvas), sidecar off, beside the plain encoder
// A Winelib program: run it through scripts/wine.sh.
#include "bench/Benchmark.h"

#include <cstring>

#include "bench/BenchTable.h"
#include "bitmap/Bmp32_BmpStreams.h"
#include "bitmap/Bmp32_Engine.h"
#include "classlib/Forms.h"
#include "document/ProjectSidecar.h"
#include "document/SelectionCore.h"
#include "document/UndoSteps.h"
#include "document/win/ImageDraw.h"
#include "gdiplus/win/ImageFiles.h"
#include "gdiplus/ZlibStreams.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

namespace {

void Start() {
  static bool started = false;
  if (started) return;
  InitializeBitmapEngine();
  GdiPlusStartup();
  Application->Initialize();
  started = true;
}

String ObjectRowText(Integer Id) {
  String s = IntToStr(Id) + u",3,object " + IntToStr(Id) + u",0,0";
  for (Integer i = 5; i < 100; ++i) s += i == 10 || i == 11 ? u"," + IntToStr(Id % 500) : u",1";
  return s;
}

void FillObjects(TDataTable& T, Integer Count) {
  T.SetPropCount(50);
  for (Integer i = 1; i <= Count; ++i) T.AddItem(ObjectRowText(i));
}

void Noise(TCustomBitmap32* B) {
  uint32_t v = 12345;
  const size_t n = size_t(B->Width()) * size_t(B->Height());
  for (size_t i = 0; i < n; ++i) {
    v = v * 1103515245u + 12345u;
    B->Bits()[i] = 0xFF000000u | ((v >> 8) & 0x3F3F3Fu) | TColor32((i % 1920) / 8);
  }
}

void BM_UndoRasterStep(benchmark::State& State) {
  TCustomBitmap32 raster;
  raster.SetSize(6000, 4000);
  Noise(&raster);
  TDataTable objects;
  FillObjects(objects, 100);
  for (auto _ : State) {
    TDataTable history;
    Integer index = -1;
    TDataTable* step = NewStepTable(&objects);
    step->SetData(static_cast<TUndoPart*>(new TUndoBitmap(CopyOfBitmap(&raster))));
    AppendStep(&history, index, step, String(), [] { return Int64(1) << 40; });
    benchmark::DoNotOptimize(step);
    State.PauseTiming();
    ClearHistory(&history);
    State.ResumeTiming();
  }
  benchtable::Ours(State, "copy96", "1.5x");
}
BENCHMARK(BM_UndoRasterStep)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainCopy96MB(benchmark::State& State) {
  std::vector<uint32_t> src(size_t(6000) * 4000, 0x12345678u);
  for (auto _ : State) {
    std::unique_ptr<uint32_t[]> dst(new uint32_t[src.size()]);
    std::memcpy(dst.get(), src.data(), src.size() * 4);
    benchmark::DoNotOptimize(dst.get());
    State.PauseTiming();
    dst.reset();
    State.ResumeTiming();
  }
  benchtable::Reference(State, "memcpy", "copy96");
}
BENCHMARK(BM_PlainCopy96MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UndoObjectStep(benchmark::State& State) {
  TDataTable objects;
  FillObjects(objects, 100);
  TDataTable history;
  Integer index = -1;
  for (auto _ : State) {
    AppendStep(&history, index, NewStepTable(&objects), String(), [] { return Int64(1) << 40; });
    if (history.ItemCount() > 50) {
      State.PauseTiming();
      ClearHistory(&history);
      index = -1;
      State.ResumeTiming();
    }
  }
  ClearHistory(&history);
  benchtable::Ours(State, "", "2ms");
}
BENCHMARK(BM_UndoObjectStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A document on a view of its own.
struct TDoc {
  TImgView32 View{nullptr};
  std::unique_ptr<TImageDraw> Doc;
  TDoc(Integer W, Integer H, bool Transparent) {
    Start();
    View.SetCentered(false);
    Doc = std::make_unique<TImageDraw>(&View, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, nullptr,
                                       W, H, 0xFFFFFF, Transparent, -1);
  }
};

void BM_Godo(benchmark::State& State) {
  TDoc d(6000, 4000, false);
  Noise(d.Doc->SrcBmp());
  TDataTable history;
  d.Doc->SetUndoDT(&history);
  d.Doc->SetAvailMemoryFunc([] { return Int64(1) << 40; });
  d.Doc->SaveUndoFirst();
  for (Integer i = 1; i <= 4; ++i) {
    d.Doc->DT()->AddItem(ObjectRowText(i));
    d.Doc->SetChanged(true);
    d.Doc->SaveUndo();
  }
  for (auto _ : State) {
    d.Doc->SetUndoIndex(3);
    d.Doc->Godo(true);
  }
  ClearHistory(&history);
  benchtable::Ours(State, "copy96", "1.5x");
}
BENCHMARK(BM_Godo)->Unit(benchmark::kMillisecond)->UseRealTime();

struct TSidecarInput {
  TDataTable Objects, FileInfo;
  TCustomBitmap32 Raster;
  RawByteString OriginalFile;
  TSidecarInput() {
    FillObjects(Objects, 1000);
    InitFileInfo(&FileInfo);
    Raster.SetSize(1920, 1080);
    Noise(&Raster);
    OriginalFile.assign(2000000, 'x');
    Objects.Props(SidecarProp::OriginalName)->SetText(u"a.jpg");
  }
  TSidecarSource Source() {
    TSidecarSource s;
    s.Objects = &Objects;
    s.FileInfo = &FileInfo;
    s.OriginalFile = OriginalFile.data();
    s.OriginalFileSize = OriginalFile.size();
    s.SrcBmp = &Raster;
    return s;
  }
};

void BM_SidecarSave1000(benchmark::State& State) {
  TSidecarInput in;
  for (auto _ : State) {
    TMemoryStream ms;
    WriteSidecar(&ms, in.Source(), false);
    benchmark::DoNotOptimize(ms.Size());
  }
  benchtable::Ours(State, "deflate1080", "1.1x");
}
BENCHMARK(BM_SidecarSave1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeflateRaster1080(benchmark::State& State) {
  TSidecarInput in;
  TMemoryStream bmp;
  SaveBitmap32ToStream(&in.Raster, &bmp, true);
  for (auto _ : State) {
    std::vector<uint8_t> out;
    ZlibDeflate(bmp.Memory(), size_t(bmp.Size()), 9, out);
    benchmark::DoNotOptimize(out.data());
  }
  benchtable::Reference(State, "zlib", "deflate1080");
}
BENCHMARK(BM_DeflateRaster1080)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SidecarObjects1000(benchmark::State& State) {
  TSidecarInput in;
  for (auto _ : State) {
    const std::string text = UTF8Encode(in.Objects.ToString(true));
    TDataTable back;
    back.Init(UTF8Decode(text));
    benchmark::DoNotOptimize(back.ItemCount());
  }
  benchtable::Ours(State, "", "100ms");
}
BENCHMARK(BM_SidecarObjects1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SidecarLoad1000(benchmark::State& State) {
  TSidecarInput in;
  TMemoryStream ms;
  WriteSidecar(&ms, in.Source(), false);
  for (auto _ : State) {
    TSidecarData d;
    ReadSidecar(&ms, false, d);
    benchmark::DoNotOptimize(d.Objects->ItemCount());
  }
}
BENCHMARK(BM_SidecarLoad1000)->Unit(benchmark::kMillisecond)->UseRealTime();

std::vector<TRegionRun> Checkerboard(Integer N) {
  std::vector<TRegionRun> runs;
  runs.reserve(size_t(N) * size_t(N) / 2);
  for (Integer y = 0; y < N; ++y)
    for (Integer x = y % 2; x < N; x += 2) runs.push_back({y, x, x + 1});
  return runs;
}

void BM_RegionFromRuns(benchmark::State& State) {
  const std::vector<TRegionRun> runs = Checkerboard(2000);
  for (auto _ : State) {
    TRegion r = TRegion::FromRuns(runs);
    benchmark::DoNotOptimize(r.Rects().size());
  }
  benchtable::Ours(State, "", "1s");
}
BENCHMARK(BM_RegionFromRuns)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OutlineLines(benchmark::State& State) {
  const bool all = State.range(0) == 1;
  const TRegion r = all ? TRegion(TRect(0, 0, 6000, 5000)) : TRegion::FromRuns(Checkerboard(2000));
  for (auto _ : State) {
    TArrayOfLine h, v;
    CalcOutlineLines(r, 1, h, v);
    benchmark::DoNotOptimize(h.size());
  }
  benchtable::Ours(State, "", all ? "1ms" : "1s");
}
BENCHMARK(BM_OutlineLines)->ArgName("selectall")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Save of a composed 6000 x 4000 document, sidecar off, beside the plain
// encoder of the already composed bitmap into the same folder.
void SaveBench(benchmark::State& State, TImageFormat Format, bool Plain) {
  const bool transparent = State.range(0) == 1;
  TDoc d(6000, 4000, transparent);
  Noise(d.Doc->SrcBmp());
  d.Doc->InitBitmap();
  d.Doc->Draw();
  d.Doc->SetNotSaveDataFile(true);
  d.Doc->FileDT()->Items(0)->Items(FileInfoCell::JpegLevel)->SetValue(8);
  const String dir = GetTempDirectory();
  const String name = dir + (Format == ifJpg ? u"lumigra_bench.jpg" : u"lumigra_bench.png");
  for (auto _ : State) {
    if (Plain)
      SaveBitmap32ToFile(d.Doc->Bitmap(), name, Format, Format == ifJpg ? 8 : transparent ? -1 : 0);
    else
      d.Doc->SaveAs(name);
  }
  DeleteFile(name);
  const std::string pair = std::string(Format == ifJpg ? "jpeg" : "png") + (transparent ? "-alpha" : "");
  if (Plain)
    benchtable::Reference(State, "encoder", pair);
  else
    benchtable::Ours(State, pair, "1.15x");
}
void BM_SaveJpeg6000x4000(benchmark::State& State) { SaveBench(State, ifJpg, false); }
void BM_EncodeJpeg6000x4000(benchmark::State& State) { SaveBench(State, ifJpg, true); }
void BM_SavePng6000x4000(benchmark::State& State) { SaveBench(State, ifPng, false); }
void BM_EncodePng6000x4000(benchmark::State& State) { SaveBench(State, ifPng, true); }
BENCHMARK(BM_SaveJpeg6000x4000)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_EncodeJpeg6000x4000)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SavePng6000x4000)->ArgName("alpha")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_EncodePng6000x4000)->ArgName("alpha")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
