// Loading a stored skin of the program's size at start-up (budget 20 ms for
// the whole load into a model without forms), and its stages one by one:
// inflating the block, parsing the ini text, reading the descriptions and
// (under Wine) decoding the pictures. The skin: a 285 x 210 24-bit main
// picture, its 8-bit mask and two active pictures (about 1 MB inflated) and
// 60 sections, every description written with all its keys.
#include "bench/Benchmark.h"
#include "bench/BenchTable.h"

#include <random>

#include "skin/data/SkinData.h"

namespace {

void Put(TBytes& B, size_t At, Cardinal V, int N) {
  for (int I = 0; I < N; ++I) B[At + I] = Byte(V >> (8 * I));
}

// A BMP file image of flat tiles with a little noise (it compresses about as
// a skin picture does): 24-bit, or 8-bit with a grey colour table.
TBytes Bmp(int W, int H, int Bits, unsigned Seed) {
  const int Stride = ((W * Bits / 8) + 3) & ~3;
  const size_t Table = Bits == 8 ? 1024 : 0;
  const size_t Off = 54 + Table, Size = Off + size_t(Stride) * H;
  TBytes B(Size, 0);
  B[0] = 'B';
  B[1] = 'M';
  Put(B, 2, Cardinal(Size), 4);
  Put(B, 10, Cardinal(Off), 4);
  Put(B, 14, 40, 4);
  Put(B, 18, Cardinal(W), 4);
  Put(B, 22, Cardinal(H), 4);
  Put(B, 26, 1, 2);
  Put(B, 28, Cardinal(Bits), 2);
  if (Bits == 8) {
    Put(B, 46, 256, 4);
    for (int I = 0; I < 256; ++I) Put(B, 54 + 4 * I, Cardinal(I) * 0x010101u, 4);
  }
  std::mt19937 Rng(Seed);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < Stride; ++X) {
      const unsigned Tile = unsigned(X / 24 + Y / 16 * 7) * 37u + Seed;
      B[Off + size_t(Y) * Stride + X] = Byte(Tile + ((Rng() & 15) == 0 ? Rng() & 7 : 0));
    }
  return B;
}

const Char* const ControlWords[] = {u"button",  u"panel",    u"checkradio", u"edit",     u"spinedit",
                                    u"listbox", u"combobox", u"scrollbar",  u"trackbar", u"tab",
                                    u"label",   u"stdlabel", u"bevel",      u"splitter", u"updown",
                                    u"gauge",   u"menubutton", u"treeview", u"slider",   u"scrollbox"};

// The stored skin's compressed block.
const TBytes& SkinBlock() {
  static const TBytes Block = [] {
    TspSkinContent C;
    C.SkinName = u"Bench";
    C.FPictureName = u"main.bmp";
    C.FMaskName = u"mask.bmp";
    C.Pictures[TspSkinContent::spMain] = Bmp(285, 210, 24, 1);
    C.Pictures[TspSkinContent::spMask] = Bmp(285, 210, 8, 2);
    C.ActivePictures = {Bmp(480, 320, 24, 3), Bmp(400, 260, 24, 4)};
    C.FActivePicturesNames->Add(u"parts1.bmp");
    C.FActivePicturesNames->Add(u"parts2.bmp");
    for (const Char* N : {u"closebutton", u"maxbutton", u"minbutton", u"sysmenubutton"})
      C.ObjectList->Add(CreateSkinObject(u"stdbutton", N));
    C.ObjectList->Add(CreateSkinObject(u"caption", u"caption"));
    C.ObjectList->Add(CreateSkinObject(u"menuitem", u"menuitem"));
    C.ObjectList->Add(CreateSkinObject(u"mainmenubaritem", u"mainmenubaritem"));
    for (const Char* N : {u"menubarsysmenubutton", u"menubarclosebutton", u"menubarmaxbutton", u"menubarminbutton"})
      C.ObjectList->Add(CreateSkinObject(u"mainmenubarbutton", N));
    for (int I = 0; I < 38; ++I) {
      const String Word = ControlWords[I % std::size(ControlWords)];
      C.CtrlList->Add(CreateSkinControl(Word, Word + IntToStr(I)));
    }
    return C.SaveToStoredSkinBlock();
  }();
  return Block;
}

const std::vector<Byte>& SkinLayout() {
  static const std::vector<Byte> L = InflateSkinBlock(SkinBlock().data(), SkinBlock().size());
  return L;
}

void BM_Inflate(benchmark::State& St) {
  const TBytes& B = SkinBlock();
  for (auto _ : St) benchmark::DoNotOptimize(InflateSkinBlock(B.data(), B.size()));
  St.counters["inflated_bytes"] = static_cast<double>(SkinLayout().size());
  St.counters["block_bytes"] = static_cast<double>(B.size());
}
BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);

void BM_IniParse(benchmark::State& St) {
  TspStoredSkinView L;
  ReadStoredSkinLayout(SkinLayout().data(), SkinLayout().size(), L);
  for (auto _ : St) {
    TStringList Lines;
    DecodeSkinLines(L.IniText, &Lines);
    TMemIniFile Ini;
    Ini.SetStrings(&Lines);
    benchmark::DoNotOptimize(Ini);
  }
  St.counters["ini_bytes"] = static_cast<double>(L.IniText.Size);
}
BENCHMARK(BM_IniParse)->Unit(benchmark::kMillisecond);

void BM_Descriptions(benchmark::State& St) {
  TspStoredSkinView L;
  ReadStoredSkinLayout(SkinLayout().data(), SkinLayout().size(), L);
  TStringList Lines;
  DecodeSkinLines(L.IniText, &Lines);
  TMemIniFile Ini;
  Ini.SetStrings(&Lines);
  TStringList Sections;
  Ini.ReadSections(&Sections);
  for (auto _ : St) {
    TspSkinContent C;
    C.LoadFromIni(&Ini, false);
    benchmark::DoNotOptimize(C.CtrlList->Count());
  }
  St.counters["sections"] = Sections.Count();
}
BENCHMARK(BM_Descriptions)->Unit(benchmark::kMillisecond);

// The program's own stored skin: the made "Dawn" as the build wrote it.
const TBytes& DawnBlock() {
  static const TBytes Block = [] {
    TMemoryStream S;
#if defined(_WIN32)
    std::string P = LUMIGRA_SKIN_BLOCK;
    for (char& C : P)
      if (C == '/') C = '\\';
    S.LoadFromFile(u"Z:" + ToString(P));
#else
    S.LoadFromFile(ToString(LUMIGRA_SKIN_BLOCK));
#endif
    const Byte* D = static_cast<const Byte*>(S.Memory());
    return TBytes(D, D + S.Size());
  }();
  return Block;
}

void BM_DawnContentFromBlock(benchmark::State& St) {
  const TBytes& B = DawnBlock();
  for (auto _ : St) {
    TspSkinContent C;
    C.LoadFromStoredSkinBlock(B.data(), B.size());
    benchmark::DoNotOptimize(C.CtrlList->Count());
  }
  St.counters["block_bytes"] = static_cast<double>(B.size());
}
BENCHMARK(BM_DawnContentFromBlock)->Unit(benchmark::kMillisecond);

// The portable part of a load: inflate, layout, ini text, descriptions.
void BM_ContentFromBlock(benchmark::State& St) {
  const TBytes& B = SkinBlock();
  for (auto _ : St) {
    TspSkinContent C;
    C.LoadFromStoredSkinBlock(B.data(), B.size());
    benchmark::DoNotOptimize(C.CtrlList->Count());
  }
}
BENCHMARK(BM_ContentFromBlock)->Unit(benchmark::kMillisecond);

#if defined(_WIN32)
// A read-only stream over the inflated layout.
class TSpanReader : public TCustomMemoryStream {
 public:
  explicit TSpanReader(const TspByteSpan& B) { SetPointer(const_cast<Byte*>(B.Data), static_cast<Int64>(B.Size)); }
  Integer Write(const void*, Integer) override { return 0; }
};

void BM_PictureDecode(benchmark::State& St) {
  TspStoredSkinView V;
  ReadStoredSkinLayout(SkinLayout().data(), SkinLayout().size(), V);
  std::vector<TspByteSpan> All;
  for (const TspByteSpan& P : V.Pictures)
    if (!P.Empty()) All.push_back(P);
  All.insert(All.end(), V.ActivePictures.begin(), V.ActivePictures.end());
  for (auto _ : St) {
    for (const TspByteSpan& P : All) {
      TSpanReader S(P);
      TBitmap B;
      B.LoadFromStream(&S);
      benchmark::DoNotOptimize(B.Width());
    }
  }
  St.counters["pictures"] = static_cast<double>(All.size());
}
BENCHMARK(BM_PictureDecode)->Unit(benchmark::kMillisecond);

// The whole start-up load into a model without forms (budget 20 ms).
void BM_StoredSkinLoad(benchmark::State& St) {
  benchtable::Ours(St, "", "20ms");
  TspCompressedStoredSkin Stored(nullptr);
  Stored.CompressedStream()->WriteBuffer(SkinBlock().data(), static_cast<Integer>(SkinBlock().size()));
  TspSkinData Model(nullptr);
  for (auto _ : St) {
    Model.LoadCompressedStoredSkin(&Stored);
    benchmark::DoNotOptimize(Model.CtrlList->Count());
  }
  St.counters["controls"] = Model.CtrlList->Count();
}
BENCHMARK(BM_StoredSkinLoad)->Unit(benchmark::kMillisecond);

// The made "Dawn" loaded as the main window loads it at start-up (budget 20 ms).
void BM_DawnStoredSkinLoad(benchmark::State& St) {
  benchtable::Ours(St, "", "20ms");
  TspCompressedStoredSkin Stored(nullptr);
  Stored.CompressedStream()->WriteBuffer(DawnBlock().data(), static_cast<Integer>(DawnBlock().size()));
  TspSkinData Model(nullptr);
  for (auto _ : St) {
    Model.LoadCompressedStoredSkin(&Stored);
    benchmark::DoNotOptimize(Model.CtrlList->Count());
  }
  St.counters["controls"] = Model.CtrlList->Count();
}
BENCHMARK(BM_DawnStoredSkinLoad)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
