// Sidecars made in tests: a small document's tables and pictures, a writer
// of the old layouts (no magic, ANSI text, versions 10 to 14) and of the
// ANSI version 17, and a reader written from the byte layout alone.
#pragma once

#include <memory>
#include <vector>

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_BmpStreams.h"
#include "document/ProjectSidecar.h"
#include "foundation/data/HyCrypUtils.h"
#include "gdiplus/ZlibStreams.h"
#include "rtl/FileIO.h"

namespace sidecar_fixtures {

inline std::unique_ptr<TCustomBitmap32> Picture(Integer W, Integer H, uint32_t Seed) {
  auto b = std::make_unique<TCustomBitmap32>();
  b->SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      const uint32_t v = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u) ^ Seed;
      b->SetPixel(x, y, v);  // alpha varies too
    }
  return b;
}

inline bool SamePixels(const TCustomBitmap32* A, const TCustomBitmap32* B) {
  if (!A || !B || A->Width() != B->Width() || A->Height() != B->Height()) return false;
  for (Integer y = 0; y < A->Height(); ++y)
    for (Integer x = 0; x < A->Width(); ++x)
      if (A->GetPixel(x, y) != B->GetPixel(x, y)) return false;
  return true;
}

inline RawByteString Bmp(TCustomBitmap32* B) {
  TMemoryStream ms;
  SaveBitmap32ToStream(B, &ms, true);
  return RawByteString(static_cast<const char*>(ms.Memory()), size_t(ms.Size()));
}

inline RawByteString Zip(const RawByteString& S) {
  std::vector<uint8_t> out;
  ZlibDeflate(S.data(), S.size(), 9, out);
  return RawByteString(reinterpret_cast<const char*>(out.data()), out.size());
}

inline RawByteString Int32(Integer V) {
  RawByteString s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = char(uint32_t(V) >> (8 * i));
  return s;
}

inline Integer Int32At(const RawByteString& S, size_t At) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(S[At + size_t(i)]);
  return Integer(v);
}

// An old sidecar: blocks 1 (above version 10), 2, pictures, selections,
// objects text in ANSI, its length; no magic. Properties 0 and 2, 3, 47 and
// the column-44 lengths are set here.
inline RawByteString OldSidecar(TDataTable* Objects, Integer Version, TCustomBitmap32* Ori, TCustomBitmap32* Src,
                                const std::vector<TCustomBitmap32*>& Pictures, const String& SelectionsText) {
  RawByteString out;
  if (Objects->PropCount() < 50) Objects->SetPropCount(50);
  Objects->Props(0)->SetText(IntToStr(Version));
  if (Version > 10) {
    const RawByteString b = Zip(Bmp(Ori));
    out += b;
    Objects->Props(3)->SetText(IntToStr(Integer(b.size())));
  }
  const RawByteString r = Zip(Bmp(Src));
  out += r;
  Objects->Props(2)->SetText(IntToStr(Integer(r.size())));
  size_t k = 0;
  for (Integer i = 0; i < Objects->ItemCount(); ++i) {
    TRow* row = Objects->Items(i);
    if (row->Items(1)->Value() != 8) continue;
    const RawByteString b = Zip(Bmp(Pictures.at(k++)));
    out += b;
    while (row->ItemCount() <= 44) row->AddItem(String());
    row->Items(44)->SetText(IntToStr(Integer(b.size())));
  }
  const std::string sel = StringToAnsiBytes(u"<Selection>" + SelectionsText + u"</Selection>");
  out += sel;
  Objects->Props(47)->SetText(IntToStr(Integer(sel.size())));
  const std::string obj = StringToAnsiBytes(Objects->ToString(true));
  out += obj;
  out += Int32(Integer(obj.size()));
  return out;
}

// Version 17: the old sidecar's blocks with ANSI text, then the enciphered
// file information, its length and the magic.
inline RawByteString Version17Sidecar(TDataTable* Objects, TDataTable* FileInfo, TCustomBitmap32* Ori,
                                      TCustomBitmap32* Src, const String& SelectionsText) {
  RawByteString out = OldSidecar(Objects, 17, Ori, Src, {}, SelectionsText);
  FileInfo->Items(0)->Items(0)->SetText(u"17");
  const std::string fi = StringToAnsiBytes(EncryptStrRandom(FileInfo->ToString(true), String()));
  out += fi;
  out += Int32(Integer(fi.size()));
  out += Int32(999999999);
  return out;
}

// What a reader that knows only the byte layout finds in a version-18 file.
struct TLayoutView {
  String FileInfoText;
  String ObjectsText;
  String SelectionsBlock;
  RawByteString Original, Raster;  // as stored
  std::vector<RawByteString> Pictures;
};

}  // namespace sidecar_fixtures
