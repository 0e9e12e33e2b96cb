// Writes the seed inputs of the fuzz targets with the project's own writers:
//   fuzz_make_seeds FOLDER
// makes FOLDER/<target>/<seed> for every target (existing seeds of the same
// names are replaced). The containers draw fresh salts, so a new run gives
// other bytes of the same meaning; the checked-in seeds are one such run.
#include <cstdio>
#include <string>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_BmpStreams.h"
#include "bitmap/Bmp32_ColorBalance.h"
#include "bitmap/Bmp32_Engine.h"
#include "bitmap/Bmp32_VectorMaps.h"
#include "foundation/app/HyLangTable.h"
#include "foundation/data/HyCrypUtils.h"
#include "foundation/data/HyDataTable.h"
#include "fuzz/FuzzSupport.h"
#include "gdiplus/FileContainers.h"
#include "tests/document/packs/pack_fixtures.h"

namespace {

String Root;

using TBytes = std::string;

TBytes BytesOf(TMemoryStream& S) { return TBytes(static_cast<const char*>(S.Memory()), size_t(S.Size())); }

TBytes Utf16Bytes(const String& S) {
  TBytes B;
  for (Char C : S) {
    B += char(C & 0xFF);
    B += char(C >> 8);
  }
  return B;
}

TBytes FileBytes(const String& Name) {
  TFileStream F(Name, fmOpenRead | fmShareDenyNone);
  TBytes B(size_t(F.Size()), '\0');
  if (!B.empty()) F.ReadBuffer(B.data(), Integer(B.size()));
  return B;
}

void Seed(const char* Target, const std::string& Name, const TBytes& Bytes) {
  const String Dir = Root + AsciiToString(Target) + u"\\";
  ForceDirectories(Dir);
  const String File = Dir + AsciiToString(Name.c_str());
  fuzz::WriteFile(File, reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
}

// A table with a property row, an escaped cell with separators, a Chinese
// text and a cell with a line break.
void MakeTable(TDataTable& T) {
  T.Init(u"#name,2,#1,x|2,\u4e2d\u6587|3,");
  T.Items(2)->Items(0)->SetText(u"a,b|c");
  T.Items(2)->Items(1)->SetText(u"line1\r\nline2");
}

void TableSeeds() {
  // The text form: byte 0 picks the cell written and the escape set.
  const struct {
    const char* Name;
    Byte Sel;
    Integer Mode;
    const char16_t* Text;
  } Texts[] = {
      {"plain", 0x00, 0, nullptr},
      {"escaped-line-breaks", 0x81, 1, nullptr},
      {"lone-empty-row", 0x00, 0, u""},
      {"no-rows", 0x80, 1, u"#p#"},
      {"no-property-row", 0x02, 0, u"a,b|c,d|"},
  };
  for (const auto& K : Texts) {
    TDataTable T(u"", CellIndexSet({0, 1, 2, 3}));
    T.SetIOMode(K.Mode);
    if (K.Text) {
      T.Init(K.Text);
    } else {
      MakeTable(T);
    }
    Seed("fuzz_table_text", K.Name, TBytes(1, char(K.Sel)) + Utf16Bytes(T.ToString(true)));
  }
  // Streams and files: byte 0 holds IOMode, the check bytes and the file bit.
  for (Integer Mode = 0; Mode < 8; ++Mode)
    for (bool Verify : {false, true}) {
      TDataTable T(u"", CellIndexSet({0}));
      T.SetIOMode(Mode);
      T.SetIsAddVerifyCode(Verify);
      MakeTable(T);
      TMemoryStream S;
      T.SaveToStream(T.ToString(true), &S);
      const Byte Sel = Byte(Mode | (Verify ? 8 : 0) | ((Mode & 1) ? 16 : 0));
      Seed("fuzz_table_stream", "mode" + std::to_string(Mode) + (Verify ? "-verify" : ""),
           TBytes(1, char(Sel)) + BytesOf(S));
    }
}

void ContainerSeeds() {
  for (Integer C = 0; C < CipherIdCount; ++C) {
    const Integer H = C % HashIdCount;
    Seed("fuzz_decrypt_str", "cipher" + std::to_string(C) + "-hash" + std::to_string(H),
         Utf16Bytes(EncryptStr(u"seed text, \u4e2d\u6587", u"", C, H)));
    TMemoryStream S;
    EncryptToStream("stream seed, 31 bytes long....", u"", C, &S, (C + 1) % HashIdCount);
    Seed("fuzz_decrypt_stream", "cipher" + std::to_string(C), BytesOf(S));
  }
}

void LangSeeds() {
  // Group counts 2, 1, 0, ..., 0, 1: four rows of Chinese, blank and English.
  TDataTable* T = NewLangTable();
  T->Init(u"#2,1,0,0,0,0,0,1#\u4e2d,,one|\u6587,,two|x,,three|y,,four");
  T->Items(1)->Items(2)->SetText(u"two\r\nlines");
  TMemoryStream S;
  T->SaveToStream(T->ToString(true), &S);
  Seed("fuzz_lang_table", "four-rows", BytesOf(S));
  delete T;
}

void BitmapSeeds() {
  TColorBalance CB;
  TMemoryStream S0;
  CB.SaveToStream(&S0);
  Seed("fuzz_color_balance", "identity", BytesOf(S0));
  CB.SetCyanRed(40);
  CB.SetTransferMode(tmShadows);
  CB.SetYellowBlue(-100);
  CB.SetPreserveLuminosity(false);
  TMemoryStream S1;
  CB.SaveToStream(&S1);
  Seed("fuzz_color_balance", "shadows-and-midtones", BytesOf(S1));

  const String Mesh = fuzz::ScratchDir() + u"seed.msh";
  TVectorMap M;
  M.SaveToFile(Mesh);
  Seed("fuzz_mesh", "empty", FileBytes(Mesh));
  M.SetSize(3, 2);
  M.SetVector(0, 0, TFixedPoint{0x18000, -0x4000});
  M.SetVector(2, 1, TFixedPoint{-0x30000, 0x12345});
  M.SaveToFile(Mesh);
  Seed("fuzz_mesh", "3x2", FileBytes(Mesh));

  TCustomBitmap32 B;
  B.SetSize(3, 2);
  for (Integer I = 0; I < 6; ++I) B.Bits()[I] = 0x80102030u + Cardinal(I) * 0x01010101u;
  for (bool TopDown : {false, true}) {
    TMemoryStream S;
    SaveBitmap32ToStream(&B, &S, TopDown);
    Seed("fuzz_bitmap32_bmp", TopDown ? "bmp-positive-height" : "bmp-negative-height", TBytes(1, char(TopDown ? 2 : 0)) + BytesOf(S));
    Seed("fuzz_classlib_bmp", TopDown ? "32-bit" : "32-bit-negative-height", BytesOf(S));
  }
  TMemoryStream P;
  WriteBitmap32PixelData(&B, &P);
  Seed("fuzz_bitmap32_bmp", "pixel-form", TBytes(1, char(1)) + BytesOf(P));
}

// The class library's BMP writer is a Winelib unit: the other forms its
// reader takes are built here field by field.
void Put(TBytes& D, size_t At, Cardinal V, int Bytes) {
  for (int I = 0; I < Bytes; ++I) D[At + size_t(I)] = char(Byte(V >> (8 * I)));
}

TBytes Bmp(Cardinal HeaderSize, Integer W, Integer H, unsigned Bpp, Cardinal Compression, const TBytes& Extra,
           const TBytes& Pixels) {
  TBytes D(14 + HeaderSize, '\0');
  D[0] = 'B';
  D[1] = 'M';
  Put(D, 14, HeaderSize, 4);
  if (HeaderSize == 12) {
    Put(D, 18, Cardinal(W), 2);
    Put(D, 20, Cardinal(H), 2);
    Put(D, 22, 1, 2);
    Put(D, 24, Bpp, 2);
  } else {
    Put(D, 18, Cardinal(W), 4);
    Put(D, 22, Cardinal(H), 4);
    Put(D, 26, 1, 2);
    Put(D, 28, Bpp, 2);
    Put(D, 30, Compression, 4);
  }
  D += Extra;
  Put(D, 10, Cardinal(D.size()), 4);
  D += Pixels;
  Put(D, 2, Cardinal(D.size()), 4);
  return D;
}

void ClasslibBmpSeeds() {
  const TBytes Gray2 = TBytes("\x00\x00\x00\x00\xff\xff\xff\x00", 8);
  TBytes Vga16, Gray256;
  for (int I = 0; I < 16; ++I) Vga16 += TBytes{char(I * 16), char(I * 8), char(255 - I * 16), 0};
  for (int I = 0; I < 256; ++I) Gray256 += TBytes{char(I), char(I), char(I), 0};
  TBytes Masks565(12, '\0');
  Put(Masks565, 0, 0xF800, 4);
  Put(Masks565, 4, 0x07E0, 4);
  Put(Masks565, 8, 0x001F, 4);
  Seed("fuzz_classlib_bmp", "1-bit", Bmp(40, 3, 2, 1, 0, Gray2, TBytes("\xa0\0\0\0\x40\0\0\0", 8)));
  Seed("fuzz_classlib_bmp", "4-bit", Bmp(40, 3, 1, 4, 0, Vga16, TBytes("\x12\x30\0\0", 4)));
  Seed("fuzz_classlib_bmp", "8-bit", Bmp(40, 2, 2, 8, 0, Gray256, TBytes("\x01\x02\0\0\x03\x04\0\0", 8)));
  Seed("fuzz_classlib_bmp", "16-bit-565", Bmp(40, 2, 1, 16, 3, Masks565, TBytes("\x1f\x00\xe0\x07", 4)));
  Seed("fuzz_classlib_bmp", "24-bit-top-down", Bmp(40, 1, -2, 24, 0, {}, TBytes("\x01\x02\x03\0\x04\x05\x06\0", 8)));
  Seed("fuzz_classlib_bmp", "os2-core", Bmp(12, 1, 1, 1, 0, TBytes("\x0a\x14\x1e\x28\x32\x3c", 6), TBytes("\x80\0\0\0", 4)));
  TBytes V5 = Bmp(124, 1, 1, 32, 3, {}, TBytes("\x09\x08\x07\x06", 4));
  Put(V5, 54, 0xFF0000, 4);
  Put(V5, 58, 0xFF00, 4);
  Put(V5, 62, 0xFF, 4);
  Put(V5, 66, 0xFF000000u, 4);
  Seed("fuzz_classlib_bmp", "32-bit-v5-bitfields", V5);
}

void FileContainerSeeds() {
  const String Src = fuzz::ScratchDir() + u"src\\";
  ForceDirectories(Src + u"art\\");
  fuzz::WriteFile(Src + u"art\\a.txt", reinterpret_cast<const uint8_t*>("clip art one, clip art one"), 26);
  fuzz::WriteFile(Src + u"b.bin", reinterpret_cast<const uint8_t*>("\x00\x01\x02\x03"), 4);
  const String Pack = fuzz::ScratchDir() + u"seed.pack";
  TDataTable T;
  T.Init(u"art\\,a.txt,0,0,0,0|,b.bin,0,0,0,0");
  WriteFileArchive(Pack, Src, u"", &T, u"");
  Seed("fuzz_file_containers", "two-files", FileBytes(Pack));
  WriteFileArchive(Pack, Src, u"password of twenty+", &T, u"NOTE1234");
  Seed("fuzz_file_containers", "password-and-note", FileBytes(Pack));
}

// Small packs of every loader (the first byte picks it, as the target reads
// it), with pictures that carry only their headers.
void StylePackSeeds() {
  using namespace packtest;
  auto seed = [](const char* Name, TStylePackKind Kind, const Bytes& Pack) {
    TBytes b(1, char(Integer(Kind)));
    b.append(Pack.begin(), Pack.end());
    Seed("fuzz_style_packs", Name, b);
  };
  Bytes j1 = Z(HeaderJpeg(64, 48, 1)), j2 = Z(HeaderJpeg(16, 16, 2));
  seed("effects", TStylePackKind::Effects,
       mediagen::AssemblePack({j1, j2}, Text("a,,b,,,,,,,-1", {Row({{5, "27"}, {14, "x.jpg"}, {15, Len(j1)}, {16, Len(j2)}}, 17),
                                                              Row({{5, "9"}}, 17)}), false));
  Bytes tip = Z(HeaderBmp(256, 256, 3, 24)), prev = HeaderPng(32, 32, 4);
  seed("brush", TStylePackKind::Brush,
       mediagen::AssemblePack({tip, prev}, Text("", {Row({{14, "1"}, {15, Len(tip)}, {16, Len(prev)}})}), false));
  seed("shadow", TStylePackKind::Shadow,
       mediagen::AssemblePack({prev}, Text("", {Row({{14, "1"}, {16, "0"}}), Row({{14, "1"}, {16, Len(prev)}})}), false));
  Bytes thumb = Z(HeaderBmp(78, 66, 5));
  seed("frame-style", TStylePackKind::FrameStyle,
       mediagen::AssemblePack({thumb, j2}, Text("", {Row({{1, "0"}, {5, "1"}, {15, Len(thumb)}, {17, Len(j2)}})}), true));
  Bytes layers = Z(LayerPack(6, 7));
  seed("frame-nested", TStylePackKind::FrameNested,
       mediagen::AssemblePack({layers}, Text("", {Row({{1, "2"}, {14, "1"}, {15, Len(layers)}})}), true));
  Bytes mask = Z(HeaderPng(1024, 768, 8));
  seed("frame-image", TStylePackKind::FrameImage,
       mediagen::AssemblePack({mask}, Text("", {Row({{1, "3"}, {14, "1"}, {15, Len(mask)}})}), true));
  seed("layer-table", TStylePackKind::LayerTable, LayerPack(9, 10));
  seed("empty-text", TStylePackKind::Pattern, mediagen::AssemblePack({}, "", false));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: fuzz_make_seeds FOLDER\n", stderr);
    return 2;
  }
  Root = IncludeTrailingPathDelimiter(AsciiToString(argv[1]));
  try {
    InitializeBitmapEngine();
    TableSeeds();
    ContainerSeeds();
    LangSeeds();
    BitmapSeeds();
    ClasslibBmpSeeds();
    FileContainerSeeds();
    StylePackSeeds();
  } catch (const Exception& E) {
    std::fprintf(stderr, "fuzz_make_seeds: %s\n", UTF8Encode(E.Message()).c_str());
    return 1;
  }
  return 0;
}
