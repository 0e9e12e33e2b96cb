// Writer-made style packs for the reader tests: rows written cell by cell,
// pictures that carry only their headers (the native tests' decoder makes a
// bitmap of the header's size, filled with a colour named by the picture's
// last byte) and the packs assembled by the generator's writer.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "document/StylePackReader.h"
#include "tools/mediagen/PackWriter.h"

namespace packtest {

using Bytes = mediagen::TBytes;

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

// Height < 0: top-down.
inline Bytes HeaderBmp(int W, int H, std::uint8_t Tag, unsigned Bits = 32) {
  Bytes b = {'B', 'M'};
  Le32(b, 54);
  Le32(b, 0);
  Le32(b, 54);
  Le32(b, 40);
  Le32(b, unsigned(W));
  Le32(b, unsigned(H));
  b.insert(b.end(), {1, 0, std::uint8_t(Bits), 0});
  for (int i = 0; i < 6; ++i) Le32(b, 0);
  b.push_back(Tag);
  return b;
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
    h.Widen = [](const std::string& A) {
      String s;
      for (unsigned char c : A) s += Char(c);
      return s;
    };
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

}  // namespace packtest
