// Opening and saving a 6000 x 4000 photo in each format the image-file
// routines write, and beside each, in the same run, the codec library
// called directly on the same file or pixels (bench/native/BenchCodecs.cpp):
//   BM_OpenJpeg  / BM_CodecOpenJpeg   libjpeg-turbo into 32-bit memory
//   BM_OpenPng   / BM_CodecOpenPng    libpng into 32-bit memory
//   BM_OpenBmp   / BM_CodecOpenBmp    one copy of the file's bytes (read into memory)
//   BM_OpenGif   / BM_CodecOpenGif    giflib, the frame through its palette
//   BM_SaveJpeg  / BM_CodecSaveJpeg   libjpeg-turbo at the same quality (90)
//   BM_SavePng   / BM_CodecSavePng    libpng at the same level (6)
//   BM_SaveBmp   / BM_CodecSaveBmp    one write of the file's bytes
//   BM_SaveGif   / BM_CodecSaveGif    giflib on palette indexes (ours also
//                                     reduces the colours, which dominates)
// Every row reads or writes a real file, as the routines do. The photo is
// made at start: smooth colour fields, fine texture and sensor-like noise,
// a few hard-edged shapes, so JPEG and PNG sizes are those of a photo.
// A Winelib program (the image-file unit is one): run it through
// scripts/wine.sh. LUMIGRA_BENCH_IMAGES=FOLDER (a Windows path) keeps the
// test files there.
#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#include <benchmark/benchmark.h>
#pragma pop_macro("WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "bench/native/BenchCodecs.h"
#include "bitmap/Bmp32_Engine.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

namespace {

const Integer W = 6000, H = 4000;
const Integer kJpegLevel = 9;  // quality 90
const int kPngLevel = 6;       // the level the image files write PNGs at

void MakePhoto(TBitmap32& B) {
  B.SetSize(W, H);
  std::mt19937 rng(12345);
  const int G = 4;  // texture cell
  const int gw = W / G + 2, gh = H / G + 2;
  std::vector<int> grid(size_t(gw) * size_t(gh) * 3);
  for (int& v : grid) v = int(rng() % 71) - 35;
  std::uint32_t n = 2463534242u;
  for (Integer y = 0; y < H; ++y) {
    TColor32* row = B.ScanLine(y);
    const float fy = float(y) / H;
    const int gy = y / G, ty = y % G;
    for (Integer x = 0; x < W; ++x) {
      const float fx = float(x) / W;
      const int gx = x / G, tx = x % G;
      int c[3];
      for (int k = 0; k < 3; ++k) {
        const float base = 128 + 70 * std::sin(6.0f * fx + 2.1f * k + 3 * fy) + 40 * std::cos(9.0f * fy - 1.3f * k + 2 * fx * fy);
        const int* g00 = &grid[(size_t(gy) * size_t(gw) + size_t(gx)) * 3 + size_t(k)];
        const int* g01 = g00 + size_t(gw) * 3;
        const int texture = ((g00[0] * (G - tx) + g00[3] * tx) * (G - ty) + (g01[0] * (G - tx) + g01[3] * tx) * ty) / (G * G);
        n ^= n << 13, n ^= n >> 17, n ^= n << 5;
        int v = int(base) + texture + int(n % 11) - 5;
        if (((x / 700) + (y / 500)) % 5 == 0 && (x % 700) < 420 && (y % 500) < 300) v = v / 3 + 40 * k + 30;
        c[k] = v < 0 ? 0 : v > 255 ? 255 : v;
      }
      row[x] = 0xFF000000u | TColor32(c[0]) << 16 | TColor32(c[1]) << 8 | TColor32(c[2]);
    }
  }
}

std::vector<Byte> ReadBytes(const String& FileName) {
  TFileStream fs(FileName, fmOpenRead | fmShareDenyWrite);
  std::vector<Byte> b(size_t(fs.Size()));
  fs.ReadBuffer(b.data(), Integer(b.size()));
  return b;
}

// The file's bytes in fresh, uninitialised memory (what reading a file
// into memory costs).
std::unique_ptr<Byte[]> ReadFresh(const String& FileName, size_t& Size) {
  TFileStream fs(FileName, fmOpenRead | fmShareDenyWrite);
  Size = size_t(fs.Size());
  std::unique_ptr<Byte[]> b(new Byte[Size]);
  fs.ReadBuffer(b.get(), Integer(Size));
  return b;
}

void WriteBytes(const String& FileName, const Byte* Data, size_t Size) {
  TFileStream fs(FileName, fmCreate);
  fs.WriteBuffer(Data, Integer(Size));
}

struct TSetup {
  TBitmap32 Photo;
  String Dir;
  String Jpeg, Png, Bmp, Gif, Out;
  std::vector<Byte> BmpBytes;
  std::vector<Byte> GifIndexes, GifColors;
  size_t JpegSize = 0, PngSize = 0, GifSize = 0;

  TSetup() {
    InitializeBitmapEngine();
    GdiPlusStartup();
    MakePhoto(Photo);
    const char* keep = std::getenv("LUMIGRA_BENCH_IMAGES");
    Dir = keep ? AnsiBytesToString(keep, std::strlen(keep))
               : IncludeTrailingPathDelimiter(GetTempDirectory()) + u"lumigra_bench_imagefiles_" +
                     IntToStr(Integer(GetCurrentProcessId()));
    ForceDirectories(Dir);
    const String d = IncludeTrailingPathDelimiter(Dir);
    Jpeg = d + u"photo.jpg", Png = d + u"photo.png", Bmp = d + u"photo.bmp", Gif = d + u"photo.gif";
    Out = d + u"out";
    SaveBitmap32ToFile(&Photo, Jpeg, ifJpg, kJpegLevel);
    SaveBitmap32ToFile(&Photo, Png, ifPng, 0);
    SaveBitmap32ToFile(&Photo, Bmp, ifBmp, 24);
    std::unique_ptr<TGIFImage> gif(Bitmap32ToGIF(&Photo, 32, 0xFFFFFF));
    gif->SaveToFile(Gif);
    GifIndexes = gif->Images(0)->Data;
    for (const TGIFColor& c : gif->Images(0)->ColorMap) GifColors.insert(GifColors.end(), {c.Red, c.Green, c.Blue});
    BmpBytes = ReadBytes(Bmp);
    JpegSize = size_t(FileSize(Jpeg)), PngSize = size_t(FileSize(Png)), GifSize = size_t(FileSize(Gif));
  }
  ~TSetup() {
    if (!std::getenv("LUMIGRA_BENCH_IMAGES")) {
      for (const String& f : {Jpeg, Png, Bmp, Gif, Out}) DeleteFile(f);
      RemoveDir(Dir);
    }
  }
  const Byte* Rows() { return reinterpret_cast<const Byte*>(Photo.Bits()); }
};

TSetup& Setup() {
  static TSetup s;
  return s;
}

void Finish(benchmark::State& St, size_t FileBytes) {
  St.SetItemsProcessed(int64_t(St.iterations()) * W * H);
  St.counters["file_MB"] = double(FileBytes) / 1e6;
}

// --- Opening ----------------------------------------------------------------

void Open(benchmark::State& St, const String& File, size_t Size) {
  for (auto _ : St) {
    bool alpha = false;
    Integer depth = -1;
    std::unique_ptr<TBitmap32> b(LoadImageToBitmap32(File, alpha, depth));
    if (b->Width() != W) St.SkipWithError("not decoded");
    benchmark::DoNotOptimize(b->Bits());
  }
  Finish(St, Size);
}

template <class Decode>
void CodecOpen(benchmark::State& St, const String& File, Decode Fn) {
  size_t size = 0;
  for (auto _ : St) {
    std::unique_ptr<Byte[]> bytes = ReadFresh(File, size);
    benchcodec::Pixels px;
    if (!Fn(bytes.get(), size, px) || px.Width != W) St.SkipWithError("not decoded");
    benchmark::DoNotOptimize(px.Data.get());
  }
  Finish(St, size);
}

void BM_OpenJpeg(benchmark::State& St) { Open(St, Setup().Jpeg, Setup().JpegSize); }
void BM_CodecOpenJpeg(benchmark::State& St) { CodecOpen(St, Setup().Jpeg, benchcodec::JpegDecode); }
void BM_OpenPng(benchmark::State& St) { Open(St, Setup().Png, Setup().PngSize); }
void BM_CodecOpenPng(benchmark::State& St) { CodecOpen(St, Setup().Png, benchcodec::PngDecode); }
void BM_OpenBmp(benchmark::State& St) { Open(St, Setup().Bmp, Setup().BmpBytes.size()); }
void BM_CodecOpenBmp(benchmark::State& St) {
  size_t size = 0;
  for (auto _ : St) {
    std::unique_ptr<Byte[]> bytes = ReadFresh(Setup().Bmp, size);
    benchmark::DoNotOptimize(bytes.get());
  }
  Finish(St, size);
}
void BM_OpenGif(benchmark::State& St) { Open(St, Setup().Gif, Setup().GifSize); }
void BM_CodecOpenGif(benchmark::State& St) { CodecOpen(St, Setup().Gif, benchcodec::GifDecode); }

// --- Saving -----------------------------------------------------------------

void Save(benchmark::State& St, TImageFormat Format, Integer Option) {
  TSetup& s = Setup();
  for (auto _ : St) SaveBitmap32ToFile(&s.Photo, s.Out, Format, Option);
  Finish(St, size_t(FileSize(s.Out)));
}

template <class Encode>
void CodecSave(benchmark::State& St, Encode Fn) {
  TSetup& s = Setup();
  size_t size = 0;
  for (auto _ : St) {
    std::vector<std::uint8_t> out;
    if (!Fn(out)) St.SkipWithError("not encoded");
    WriteBytes(s.Out, out.data(), out.size());
    size = out.size();
  }
  Finish(St, size);
}

void BM_SaveJpeg(benchmark::State& St) { Save(St, ifJpg, kJpegLevel); }
void BM_CodecSaveJpeg(benchmark::State& St) {
  CodecSave(St, [](std::vector<std::uint8_t>& Out) {
    return benchcodec::JpegEncode(Setup().Rows(), W, H, kJpegLevel * 10, Out);
  });
}
void BM_SavePng(benchmark::State& St) { Save(St, ifPng, 0); }
void BM_CodecSavePng(benchmark::State& St) {
  CodecSave(St, [](std::vector<std::uint8_t>& Out) { return benchcodec::PngEncode(Setup().Rows(), W, H, kPngLevel, Out); });
}
void BM_SaveBmp(benchmark::State& St) { Save(St, ifBmp, 24); }
void BM_CodecSaveBmp(benchmark::State& St) {
  TSetup& s = Setup();
  for (auto _ : St) WriteBytes(s.Out, s.BmpBytes.data(), s.BmpBytes.size());
  Finish(St, s.BmpBytes.size());
}
void BM_SaveGif(benchmark::State& St) { Save(St, ifGif, 0); }
void BM_CodecSaveGif(benchmark::State& St) {
  CodecSave(St, [](std::vector<std::uint8_t>& Out) {
    TSetup& s = Setup();
    return benchcodec::GifEncode(s.GifIndexes.data(), W, H, s.GifColors.data(), int(s.GifColors.size() / 3), Out);
  });
}

}  // namespace

#define LUMIGRA_PAIR(Name)                                                 \
  BENCHMARK(BM_##Name)->Unit(benchmark::kMillisecond)->UseRealTime();      \
  BENCHMARK(BM_Codec##Name)->Unit(benchmark::kMillisecond)->UseRealTime();

LUMIGRA_PAIR(OpenJpeg)
LUMIGRA_PAIR(OpenPng)
LUMIGRA_PAIR(OpenBmp)
LUMIGRA_PAIR(OpenGif)
LUMIGRA_PAIR(SaveJpeg)
LUMIGRA_PAIR(SavePng)
LUMIGRA_PAIR(SaveBmp)
LUMIGRA_PAIR(SaveGif)

BENCHMARK_MAIN();
