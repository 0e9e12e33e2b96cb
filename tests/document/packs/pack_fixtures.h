// Writer-made style packs for the reader tests: rows written cell by cell,
// pictures that carry only their headers (the native tests' decoder makes a
// bitmap of the header's size, filled with a colour named by the picture's
// last byte) and the packs assembled by the generator's writer.
#pragma once

#include <cstdint>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "document/StylePackReader.h"
#include "tools/mediagen/PackWriter.h"

namespace packtest {

using Bytes = mediagen::TBlob;

inline void Be16(Bytes& B, unsigned V) {
  B.push_back(std::uint8_t(V >> 8));
  B.push_back(std::uint8_t(V));
}
inline void Be32(Bytes& B, unsigned V) {
  Be16(B, V >> 16);
  Be16(B, V & 0xFFFF);
}
inline void Le32(Bytes& B, unsigned V) {
  for (int i = 0; i < 4; ++i) B.push_back(std::uint8_t(V >> (8 * i)));
}

// A JPEG's markers up to its frame header (after an APP0 segment), then the
// end marker and Tag.
inline Bytes HeaderJpeg(unsigned W, unsigned H, std::uint8_t Tag) {
  Bytes b = {0xFF, 0xD8, 0xFF, 0xE0};
  Be16(b, 4);
  b.insert(b.end(), {'L', 'B'});
  b.insert(b.end(), {0xFF, 0xFF, 0xC0});  // a fill byte before the marker
  Be16(b, 17);
  b.push_back(8);
  Be16(b, H);
  Be16(b, W);
  b.push_back(3);
  for (int c = 1; c <= 3; ++c) b.insert(b.end(), {std::uint8_t(c), 0x11, 0});
  b.insert(b.end(), {0xFF, 0xD9, Tag});
  return b;
}

inline Bytes HeaderPng(unsigned W, unsigned H, std::uint8_t Tag) {
  Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Be32(b, 13);
  b.insert(b.end(), {'I', 'H', 'D', 'R'});
  Be32(b, W);
  Be32(b, H);
  b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0, Tag});
  return b;
}

// The 54 bytes of a BMP header for ImageSize bytes of pixels; Height < 0:
// top-down.
inline Bytes BmpHeader(int W, int H, unsigned Bits, unsigned ImageSize) {
  Bytes b = {'B', 'M'};
  Le32(b, 54 + ImageSize);
  Le32(b, 0);
  Le32(b, 54);
  Le32(b, 40);
  Le32(b, unsigned(W));
  Le32(b, unsigned(H));
  b.insert(b.end(), {1, 0, std::uint8_t(Bits), 0});
  Le32(b, 0);
  Le32(b, ImageSize);
  for (int i = 0; i < 4; ++i) Le32(b, 0);
  return b;
}

// A BMP header alone, then Tag.
inline Bytes HeaderBmp(int W, int H, std::uint8_t Tag, unsigned Bits = 32) {
  Bytes b = BmpHeader(W, H, Bits, 0);
  b.push_back(Tag);
  return b;
}

// The table text byte for byte (code page 1252 and Latin-1 agree on every
// byte the tests write).
inline String WidenLatin1(const std::string& A) {
  String s;
  for (unsigned char c : A) s += Char(c);
  return s;
}

inline Bytes Z(const Bytes& B) { return mediagen::Deflate(B); }

// A row of Count cells with the given ones set.
inline std::string Row(const std::map<int, std::string>& Cells, int Count = 20) {
  std::string s;
  for (int i = 0; i < Count; ++i) {
    if (i) s += ',';
    auto it = Cells.find(i);
    if (it != Cells.end()) s += it->second;
  }
  return s;
}

inline std::string Len(const Bytes& B) { return std::to_string(B.size()); }

// "#props#row|row...".
inline std::string Text(const std::string& Props, const std::vector<std::string>& Rows) {
  std::string s = "#" + Props + "#";
  for (size_t i = 0; i < Rows.size(); ++i) s += (i ? "|" : "") + Rows[i];
  return s;
}

// The colour the fake decoder fills a picture with.
inline TColor32 TagColor(std::uint8_t Tag) { return 0xFF000000u | (TColor32(Tag) << 8) | Tag; }

// Hooks of the native tests: Latin-1 text, and bitmaps of the header's size
// filled with the tag colour. A tag 0xEE makes the decoder throw, 0xEF makes
// it return nothing. Decoded counts every bitmap made.
struct TFakeHooks {
  int Decoded = 0;
  TStylePackHooks Hooks() {
    TStylePackHooks h;
    h.Widen = WidenLatin1;
    h.Decode = [this](TPackPicture, const std::vector<std::uint8_t>& B) -> TCustomBitmap32* {
      TPictureFormat f;
      Int64 w, hh;
      String e;
      if (!ReadPictureHeader(B.data(), B.size(), f, w, hh, e)) throw Exception(e);
      if (B.back() == 0xEE) throw Exception(u"broken picture data");
      if (B.back() == 0xEF) return nullptr;
      auto* bmp = new TCustomBitmap32();
      bmp->SetSize(Integer(w), Integer(hh));
      bmp->Clear(TagColor(B.back()));
      ++Decoded;
      return bmp;
    };
    h.NewBitmap = [] { return new TCustomBitmap32(); };
    return h;
  }
};

// --- fixtures shared by the native and the Winelib tests ------------------------

// A layer table of three rows (solid, texture, solid) with a preview.
inline Bytes LayerPack(std::uint8_t TextureTag, std::uint8_t PreviewTag, const std::string& Props9 = "") {
  Bytes tex = Z(HeaderBmp(64, 64, TextureTag)), prev = Z(HeaderJpeg(78, 71, PreviewTag));
  return mediagen::AssemblePack(
      {tex, prev},
      Text(",,,,,,,,," + (Props9.empty() ? Len(prev) : Props9),
           {Row({{0, "-1"}, {1, "-1"}, {2, "255"}, {10, "4"}}), Row({{0, "-1"}, {1, "0"}, {10, "9"}, {19, Len(tex)}}),
            Row({{0, "-1"}, {1, "True"}, {2, "0"}, {10, "2"}, {19, "555"}})}),
      false);
}

struct TDamaged {
  const char* Name;
  TStylePackKind Kind;
  Bytes Pack;
  const char* Reason = "";  // a part of the reason given
};

// The damaged packs every loader must refuse, with a part of the reason the
// container reader gives (the real decoders may give another for a picture).
inline std::vector<TDamaged> DamagedPacks() {
  using K = TStylePackKind;
  Bytes j1 = Z(HeaderJpeg(16, 16, 1)), j2 = Z(HeaderJpeg(16, 16, 2));
  auto effects = [&](const std::string& Len15, const std::string& Len16, std::vector<Bytes> Blobs) {
    return mediagen::AssemblePack(
        Blobs, Text("p", {Row({{14, "1"}, {15, Len(j1)}}, 17), Row({{14, "1"}, {15, Len15}, {16, Len16}}, 17)}), false);
  };
  auto one = [&](K Kind, const Bytes& Blob, int Cell = 15, bool LayoutB = false) {
    return TDamaged{"", Kind,
                    mediagen::AssemblePack({Blob}, Text("", {Row({{1, "1"}, {14, "1"}, {Cell, Len(Blob)}})}), LayoutB)};
  };
  Bytes zcut = j2;
  zcut.resize(zcut.size() - 3);
  Bytes negL = effects(Len(j2), "0", {j1, j2});
  negL[negL.size() - 1] = 0xFF;
  Bytes pastL = effects(Len(j2), "0", {j1, j2});
  pastL.resize(pastL.size() - 4);
  Le32(pastL, unsigned(pastL.size()) + 1);
  Bytes blobsThenEmpty = mediagen::AssemblePack({j1, j2}, "", false);
  std::vector<TDamaged> d = {
      {"shorter than the tail of layout A", K::Effects, {1, 2, 3}},
      {"shorter than the tail of layout B", K::FrameStyle, Bytes(10, 0)},
      {"negative L", K::Effects, negL},
      {"L past the file", K::Effects, pastL},
      {"L = 0 with blobs before it", K::Effects, blobsThenEmpty},
      {"negative length cell", K::Effects, effects("-5", "0", {j1, j2})},
      {"negative optional length", K::Effects, effects(Len(j2), "-1", {j1, j2})},
      {"non-numeric length cell", K::Effects, effects("12a", "0", {j1, j2})},
      {"length 0 where a picture is required", K::Effects, effects("0", "0", {j1})},
      {"length past the blob area", K::Effects, effects(std::to_string(j2.size() + 1), "0", {j1, j2})},
      {"blobs summing past the text", K::Effects, effects(Len(j2), Len(j1), {j1, j2})},
      {"blob area longer than the blobs", K::Effects, effects(Len(j2), "0", {j1, j2, j1})},
      {"truncated zlib", K::Effects, effects(Len(zcut), "0", {j1, zcut})},
      {"not zlib at all", K::Effects, effects("4", "0", {j1, {'a', 'b', 'c', 'd'}})},
      {"an inflate bomb", K::Pattern, one(K::Pattern, Z(Bytes(PackMaxInflated + 10, 0))).Pack},
      {"a corrupt JPEG inside valid zlib", K::Pattern, one(K::Pattern, Z(HeaderJpeg(9, 9, 0xEE))).Pack},
      {"a JPEG without a frame header", K::Pattern, one(K::Pattern, Z({0xFF, 0xD8, 0xFF, 0xDA, 0, 2})).Pack},
      {"a PNG where a JPEG belongs", K::Pattern, one(K::Pattern, Z(HeaderPng(9, 9, 1))).Pack},
      {"a corrupt PNG", K::Shadow, one(K::Shadow, HeaderPng(32, 32, 0xEE), 16).Pack},
      {"a PNG the decoder gives nothing for", K::Shadow, one(K::Shadow, HeaderPng(32, 32, 0xEF), 16).Pack},
      {"a corrupt BMP", K::Brush, one(K::Brush, Z(HeaderBmp(300, 300, 0xEE, 24))).Pack},
      {"a BMP of 40000 x 40000", K::Brush, one(K::Brush, Z(HeaderBmp(40000, 40000, 1, 24))).Pack},
      {"a BMP of 0 x 5", K::Brush, one(K::Brush, Z(HeaderBmp(0, 5, 1, 24))).Pack},
      {"a PNG of 4294967295 x 4294967295", K::Shadow, one(K::Shadow, HeaderPng(0xFFFFFFFFu, 0xFFFFFFFFu, 1), 16).Pack},
      {"frame style: a row without its thumbnail", K::FrameStyle,
       mediagen::AssemblePack({}, Text("", {Row({{1, "0"}, {5, "1"}})}), true)},
      {"frame image: a damaged mask", K::FrameImage, one(K::FrameImage, Z(HeaderPng(1024, 768, 0xEE)), 15, true).Pack},
  };
  // The same faults inside a layer table of frame pack 2.
  auto nested = [](const char* Name, const Bytes& Layers) {
    Bytes z = Z(Layers);
    return TDamaged{Name, K::FrameNested, mediagen::AssemblePack({z}, Text("", {Row({{1, "2"}, {14, "1"}, {15, Len(z)}})}), true)};
  };
  Bytes tex = Z(HeaderBmp(8, 8, 1)), prev = Z(HeaderJpeg(8, 8, 2));
  auto layers = [&](const std::string& L19, const std::string& P9, std::vector<Bytes> Blobs) {
    return mediagen::AssemblePack(Blobs, Text(",,,,,,,,," + P9, {Row({{0, "-1"}, {1, "0"}, {19, L19}})}), false);
  };
  Bytes layersNegL = layers(Len(tex), Len(prev), {tex, prev});
  layersNegL[layersNegL.size() - 1] = 0x80;
  d.push_back(nested("layer table: shorter than its tail", {1, 2}));
  d.push_back(nested("layer table: negative L", layersNegL));
  d.push_back(nested("layer table: texture length 0", layers("0", Len(prev), {prev})));
  d.push_back(nested("layer table: texture length non-numeric", layers("x", Len(prev), {tex, prev})));
  d.push_back(nested("layer table: preview past the area", layers(Len(tex), "999", {tex, prev})));
  d.push_back(nested("layer table: negative preview length", layers(Len(tex), "-2", {tex})));
  d.push_back(nested("layer table: corrupt texture", [&] {
    Bytes bad = Z(HeaderBmp(8, 8, 0xEE));
    return layers(Len(bad), "0", {bad});
  }()));
  d.push_back(nested("layer table: texture of 40000 x 40000", [&] {
    Bytes big = Z(HeaderBmp(40000, 40000, 1));
    return layers(Len(big), "0", {big});
  }()));
  {
    Bytes ok = Z(LayerPack(1, 2));
    Bytes cut(ok.begin(), ok.end() - 2);
    d.push_back({"layer table: truncated zlib", K::FrameNested,
                 mediagen::AssemblePack({cut}, Text("", {Row({{1, "2"}, {14, "1"}, {15, Len(cut)}})}), true)});
  }
  const std::map<std::string, const char*> reasons = {
      {"shorter than the tail of layout A", "shorter than its tail (3 bytes)"},
      {"shorter than the tail of layout B", "shorter than its tail (10 bytes)"},
      {"negative L", "lies outside 0 .."},
      {"L past the file", "length 124 lies outside 0 .. 123"},
      {"L = 0 with blobs before it", "80 bytes before the table text belong to no row"},
      {"negative length cell", "row 1, cell 15: length \"-5\""},
      {"negative optional length", "row 1, cell 16: length \"-1\" is not 0 or more"},
      {"non-numeric length cell", "row 1, cell 15: length \"12a\" is not a number above 0"},
      {"length 0 where a picture is required", "row 1, cell 15: length \"0\""},
      {"length past the blob area", "row 1, cell 15: a blob of 41 bytes at 40 runs past"},
      {"blobs summing past the text", "row 1, cell 16: a blob of 40 bytes at 80 runs past"},
      {"blob area longer than the blobs", "40 bytes before the table text"},
      {"truncated zlib", "row 1, cell 15: a damaged zlib stream"},
      {"not zlib at all", "a damaged zlib stream"},
      {"an inflate bomb", "inflates past 120065536 bytes"},
      {"a corrupt JPEG inside valid zlib", "cannot be decoded: broken picture data"},
      {"a JPEG without a frame header", "image data before the frame header"},
      {"a PNG where a JPEG belongs", "a PNG picture where this pack stores a JPEG"},
      {"a corrupt PNG", "row 0, cell 16: the picture cannot be decoded"},
      {"a PNG the decoder gives nothing for", "the picture cannot be decoded"},
      {"a corrupt BMP", "cannot be decoded: broken picture data"},
      {"a BMP of 40000 x 40000", "40000 x 40000 pixels (at most 30000000)"},
      {"a BMP of 0 x 5", "0 x 5 pixels"},
      {"a PNG of 4294967295 x 4294967295", "4294967295 x 4294967295 pixels (at most 30000000)"},
      {"frame style: a row without its thumbnail", "row 0, cell 15: length \"\""},
      {"frame image: a damaged mask", "cannot be decoded"},
      {"layer table: shorter than its tail", "layer table: the pack is shorter than its tail"},
      {"layer table: negative L", "layer table: the table text length -"},
      {"layer table: texture length 0", "layer table: row 0, cell 19: length \"0\""},
      {"layer table: texture length non-numeric", "layer table: row 0, cell 19: length \"x\""},
      {"layer table: preview past the area", "layer table: property 9: a blob of 999 bytes"},
      {"layer table: negative preview length", "layer table: property 9: length \"-2\""},
      {"layer table: corrupt texture", "row 0, cell 19: the picture cannot be decoded"},
      {"layer table: texture of 40000 x 40000", "40000 x 40000 pixels"},
      {"layer table: truncated zlib", "row 0, cell 15: a damaged zlib stream"},
  };
  for (TDamaged& c : d) c.Reason = reasons.at(c.Name);
  return d;
}

}  // namespace packtest
