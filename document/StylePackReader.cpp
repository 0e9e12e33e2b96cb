#include "document/StylePackReader.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "gdiplus/ZlibStreams.h"
#include "rtl/SizeMath.h"
#include "rtl/SysUtils.h"

namespace {

// ---------------------------------------------------------------------------
// Small readers

uint32_t Le32(const std::uint8_t* P) { return uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24; }
uint32_t Le16(const std::uint8_t* P) { return uint32_t(P[0]) | uint32_t(P[1]) << 8; }
uint32_t Be32(const std::uint8_t* P) { return uint32_t(P[0]) << 24 | uint32_t(P[1]) << 16 | uint32_t(P[2]) << 8 | uint32_t(P[3]); }
uint32_t Be16(const std::uint8_t* P) { return uint32_t(P[0]) << 8 | uint32_t(P[1]); }

String Num(Int64 V) { return IntToStr(V); }

bool JpegHeader(const std::uint8_t* D, size_t N, Int64& W, Int64& H, String& Error) {
  size_t p = 2;
  while (true) {
    // Markers start with FF; any number of fill bytes FF may precede one.
    if (p >= N || D[p] != 0xFF) {
      Error = u"JPEG: no frame header before byte " + Num(Int64(p));
      return false;
    }
    while (p < N && D[p] == 0xFF) ++p;
    if (p >= N) break;
    const std::uint8_t m = D[p++];
    if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;  // no length
    if (m == 0xD9 || m == 0xDA) {
      Error = u"JPEG: image data before the frame header";
      return false;
    }
    if (p + 2 > N) break;
    const size_t len = Be16(D + p);
    if (len < 2) {
      Error = u"JPEG: segment length below 2";
      return false;
    }
    const bool sof = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
    if (sof) {
      if (len < 8 || p + 7 > N) break;
      H = Be16(D + p + 3);
      W = Be16(D + p + 5);
      return true;
    }
    p += len;
  }
  Error = u"JPEG: the header ends early";
  return false;
}

// ---------------------------------------------------------------------------
// The blob walk

enum TSlot : Integer { slotTable = 0, slotData = 1, slotData2 = 2, slotData3 = 3 };

String CellText(TRow* Row, Integer Index) {
  if (Index < 0 || Index >= Row->ItemCount()) return String();
  return Row->Items(Index)->StoredText();
}

void* SlotOf(TRow* Row, Integer Slot) {
  switch (Slot) {
    case slotData: return Row->Data();
    case slotData2: return Row->Data2();
    case slotData3: return Row->Data3();
    default: return nullptr;
  }
}

void SetSlot(TRow* Row, Integer Slot, void* Value) {
  switch (Slot) {
    case slotData: Row->SetData(Value); break;
    case slotData2: Row->SetData2(Value); break;
    case slotData3: Row->SetData3(Value); break;
    default: break;
  }
}

void DeleteBitmap(void* P) { delete static_cast<TCustomBitmap32*>(P); }

class TPackWalk {
 public:
  TPackWalk(const std::uint8_t* Data, size_t End, const TStylePackHooks& Hooks) : FData(Data), FEnd(End), FHooks(Hooks) {}

  // The rows' pictures of Kind into Table's slots; Error carries the place.
  bool Run(TDataTable* Table, TStylePackKind Kind, String& Error);
  // Bytes of the blob area that no row read.
  size_t Left() const { return FEnd - FPos; }

 private:
  // The length in cell Cell of Row: Required lengths must be above 0, others
  // may be 0 (nothing to read); negative lengths always fail.
  bool Length(const String& Text, bool Required, Integer& Len, String& Error);
  bool Take(Integer Len, const std::uint8_t*& P, String& Error);
  bool Picture(TPackPicture Kind, const std::uint8_t* P, size_t N, TCustomBitmap32*& Out, String& Error);
  // One blob of row RowIndex (-1: the table's own) given by the text of its
  // length cell, decoded into Row's slot (or the table's Data).
  bool Blob(TDataTable* Table, TRow* Row, const String& Place, const String& LengthText, bool Required,
            TPackPicture Kind, Integer Slot, TDrawMode Mode, String& Error);
  bool Nested(TRow* Row, const String& LengthText, String& Error);

  const std::uint8_t* FData;
  size_t FEnd;
  size_t FPos = 0;
  const TStylePackHooks& FHooks;
};

bool TPackWalk::Length(const String& Text, bool Required, Integer& Len, String& Error) {
  Len = CellTextToInt(Text);
  if (Len < 0 || (Required && Len == 0)) {
    Error = u"length \"" + Text + u"\" is not " + (Required ? u"a number above 0" : u"0 or more");
    return false;
  }
  return true;
}

bool TPackWalk::Take(Integer Len, const std::uint8_t*& P, String& Error) {
  if (size_t(Len) > FEnd - FPos) {
    Error = u"a blob of " + Num(Len) + u" bytes at " + Num(Int64(FPos)) + u" runs past the blob area (" +
            Num(Int64(FEnd)) + u" bytes)";
    return false;
  }
  P = FData + FPos;
  FPos += size_t(Len);
  return true;
}

bool TPackWalk::Picture(TPackPicture Kind, const std::uint8_t* P, size_t N, TCustomBitmap32*& Out, String& Error) {
  Out = nullptr;
  std::vector<std::uint8_t> bytes;
  if (Kind == TPackPicture::PlainPicture) {
    bytes.assign(P, P + N);
  } else if (!InflatePackBlob(P, N, bytes, Error)) {
    return false;
  }
  TPictureFormat fmt;
  Int64 w = 0, h = 0;
  if (!ReadPictureHeader(bytes.data(), bytes.size(), fmt, w, h, Error)) return false;
  const bool fits = (Kind == TPackPicture::ZlibJpeg && fmt == TPictureFormat::Jpeg) ||
                    ((Kind == TPackPicture::ZlibBmp || Kind == TPackPicture::ZlibBitmapForm) && fmt == TPictureFormat::Bmp) ||
                    Kind == TPackPicture::PlainPicture || Kind == TPackPicture::ZlibPicture;
  if (!fits) {
    static const char16_t* const names[] = {u"an unknown", u"a JPEG", u"a PNG", u"a BMP", u"a GIF"};
    Error = String(names[Integer(fmt)]) + u" picture where this pack stores " +
            (Kind == TPackPicture::ZlibJpeg ? u"a JPEG" : u"a BMP");
    return false;
  }
  Int64 pixels = 0;
  if (w <= 0 || h <= 0 || !CheckedProduct({w, h}, PackMaxPixels, pixels)) {
    Error = u"a picture of " + Num(w) + u" x " + Num(h) + u" pixels (at most " + Num(PackMaxPixels) + u")";
    return false;
  }
  try {
    Out = FHooks.Decode(Kind, bytes);
  } catch (const Exception& E) {
    Error = u"the picture cannot be decoded: " + E.Message();
    return false;
  } catch (const std::exception& E) {
    Error = u"the picture cannot be decoded: " + UTF8Decode(E.what());
    return false;
  } catch (...) {
    Error = u"the picture cannot be decoded";
    return false;
  }
  if (Out == nullptr || Out->Empty()) {
    delete Out;
    Out = nullptr;
    Error = u"the picture cannot be decoded";
    return false;
  }
  if (Int64(Out->Width()) * Out->Height() > PackMaxPixels) {
    delete Out;
    Out = nullptr;
    Error = u"the decoded picture is larger than " + Num(PackMaxPixels) + u" pixels";
    return false;
  }
  return true;
}

bool TPackWalk::Blob(TDataTable* Table, TRow* Row, const String& Place, const String& LengthText, bool Required,
                     TPackPicture Kind, Integer Slot, TDrawMode Mode, String& Error) {
  Integer len = 0;
  const std::uint8_t* p = nullptr;
  TCustomBitmap32* bmp = nullptr;
  if (!Length(LengthText, Required, len, Error) || (len > 0 && (!Take(len, p, Error) ||
                                                                !Picture(Kind, p, size_t(len), bmp, Error)))) {
    Error = Place + u": " + Error;
    return false;
  }
  if (bmp == nullptr) return true;
  bmp->SetDrawMode(Mode);
  if (Slot == slotTable) {
    Table->SetData(bmp);
  } else {
    SetSlot(Row, Slot, bmp);
  }
  return true;
}

bool TPackWalk::Nested(TRow* Row, const String& LengthText, String& Error) {
  Integer len = 0;
  const std::uint8_t* p = nullptr;
  std::vector<std::uint8_t> bytes;
  if (!Length(LengthText, true, len, Error) || !Take(len, p, Error) || !InflatePackBlob(p, size_t(len), bytes, Error))
    return false;
  auto* layers = new TDataTable();
  Row->SetData3(layers);  // owned by the row from here: freed with the table on failure
  String why;
  if (!LoadStylePackBytes(layers, TStylePackKind::LayerTable, bytes.data(), bytes.size(), FHooks, why)) {
    Error = u"layer table: " + why;
    return false;
  }
  if (auto* preview = static_cast<TCustomBitmap32*>(layers->Data())) {
    TCustomBitmap32* copy = FHooks.NewBitmap();
    Row->SetData2(copy);
    copy->Assign(preview);
  }
  return true;
}

String RowPlace(Integer Row, Integer Cell) { return u"row " + Num(Row) + u", cell " + Num(Cell); }

bool TPackWalk::Run(TDataTable* Table, TStylePackKind Kind, String& Error) {
  for (Integer i = 0; i < Table->ItemCount(); ++i) {
    TRow* r = Table->Items(i);
    const bool set14 = !CellText(r, 14).empty();
    auto blob = [&](Integer Cell, bool Required, TPackPicture Pic, Integer Slot, TDrawMode Mode = dmOpaque) {
      return Blob(Table, r, RowPlace(i, Cell), CellText(r, Cell), Required, Pic, Slot, Mode, Error);
    };
    bool ok = true;
    switch (Kind) {
      case TStylePackKind::Effects:
        ok = !set14 || (blob(15, true, TPackPicture::ZlibJpeg, slotData2) && blob(16, false, TPackPicture::ZlibJpeg, slotData3));
        break;
      case TStylePackKind::Pattern:
        ok = !set14 || blob(15, true, TPackPicture::ZlibJpeg, slotData);
        break;
      case TStylePackKind::Brush:
        ok = !set14 || (blob(15, true, TPackPicture::ZlibBmp, slotData) &&
                        blob(16, false, TPackPicture::PlainPicture, slotData2, dmBlend));
        break;
      case TStylePackKind::Shadow:
      case TStylePackKind::Reflection:
        ok = !set14 || blob(16, false, TPackPicture::PlainPicture, slotData2, dmBlend);
        break;
      case TStylePackKind::FrameStyle:
        ok = blob(15, true, TPackPicture::ZlibBitmapForm, slotData2) && blob(17, false, TPackPicture::ZlibJpeg, slotData3);
        break;
      case TStylePackKind::FrameNested:
        if (set14 && !Nested(r, CellText(r, 15), Error)) {
          Error = RowPlace(i, 15) + u": " + Error;
          ok = false;
        }
        break;
      case TStylePackKind::FrameImage:
        ok = !set14 || blob(15, true, TPackPicture::ZlibPicture, slotData2);
        break;
      case TStylePackKind::LayerTable:
        ok = CellTextToBool(CellText(r, 1)) || blob(19, true, TPackPicture::ZlibBitmapForm, slotData);
        break;
    }
    if (!ok) return false;
  }
  if (Kind == TStylePackKind::LayerTable && Table->PropCount() > 9)
    return Blob(Table, nullptr, u"property 9", Table->Props(9)->StoredText(), false, TPackPicture::ZlibJpeg, slotTable,
                dmOpaque, Error);
  return true;
}

void DefaultLog(const String& Line) {
  const std::string s = UTF8Encode(Line) + "\n";
  std::fputs(s.c_str(), stderr);
}

TStylePackLogHandler& LogHandler() {
  static TStylePackLogHandler handler;
  return handler;
}

}  // namespace

// ---------------------------------------------------------------------------

bool StylePackHasLayoutB(TStylePackKind Kind) {
  return Kind == TStylePackKind::FrameStyle || Kind == TStylePackKind::FrameNested || Kind == TStylePackKind::FrameImage;
}

bool SplitStylePack(const std::uint8_t* Data, size_t Size, bool LayoutB, TPackContainer& Out, String& Error) {
  const size_t tail = LayoutB ? PackTailB : PackTailA;
  if (Data == nullptr || Size < tail) {
    Error = u"the pack is shorter than its tail (" + Num(Int64(Size)) + u" bytes)";
    return false;
  }
  const Int64 l = Int64(int32_t(Le32(Data + Size - tail)));
  if (l < 0 || l > Int64(Size - tail)) {
    Error = u"the table text length " + Num(l) + u" lies outside 0 .. " + Num(Int64(Size - tail));
    return false;
  }
  Out.BlobEnd = Size - tail - size_t(l);
  Out.Text.assign(reinterpret_cast<const char*>(Data + Out.BlobEnd), size_t(l));
  return true;
}

bool ReadPictureHeader(const std::uint8_t* D, size_t N, TPictureFormat& Format, Int64& Width, Int64& Height,
                       String& Error) {
  Format = TPictureFormat::Unknown;
  Width = Height = 0;
  static const std::uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (N >= 3 && D[0] == 0xFF && D[1] == 0xD8 && D[2] == 0xFF) {
    Format = TPictureFormat::Jpeg;
    return JpegHeader(D, N, Width, Height, Error);
  }
  if (N >= 8 && std::memcmp(D, png, 8) == 0) {
    Format = TPictureFormat::Png;
    if (N < 24 || std::memcmp(D + 12, "IHDR", 4) != 0) {
      Error = u"PNG: no image header";
      return false;
    }
    Width = Be32(D + 16);
    Height = Be32(D + 20);
    return true;
  }
  if (N >= 2 && D[0] == 'B' && D[1] == 'M') {
    Format = TPictureFormat::Bmp;
    if (N < 26) {
      Error = u"BMP: the header ends early";
      return false;
    }
    const uint32_t hs = Le32(D + 14);
    if (hs == 12) {
      Width = Le16(D + 18);
      Height = Le16(D + 20);
    } else if (hs >= 40) {
      Width = int32_t(Le32(D + 18));
      Height = int32_t(Le32(D + 22));
      if (Height < 0) Height = -Height;
    } else {
      Error = u"BMP: unknown header size " + Num(hs);
      return false;
    }
    return true;
  }
  if (N >= 10 && (std::memcmp(D, "GIF87a", 6) == 0 || std::memcmp(D, "GIF89a", 6) == 0)) {
    Format = TPictureFormat::Gif;
    Width = Le16(D + 6);
    Height = Le16(D + 8);
    return true;
  }
  Error = u"not a picture file of a known format";
  return false;
}

bool InflatePackBlob(const std::uint8_t* Data, size_t Size, std::vector<std::uint8_t>& Out, String& Error) {
  try {
    switch (ZlibInflate(Data, Size, PackMaxInflated, Out)) {
      case TZlibInflateResult::Ok: return true;
      case TZlibInflateResult::TooLarge:
        Error = u"the zlib stream inflates past " + Num(Int64(PackMaxInflated)) + u" bytes";
        return false;
      case TZlibInflateResult::Corrupt: break;
    }
  } catch (const std::bad_alloc&) {
    Error = u"out of memory while inflating";
    return false;
  }
  Error = u"a damaged zlib stream";
  return false;
}

bool LoadStylePackBytes(TDataTable* Table, TStylePackKind Kind, const std::uint8_t* Data, size_t Size,
                        const TStylePackHooks& Hooks, String& Error) {
  if (Table == nullptr) {
    Error = u"no table";
    return false;
  }
  TPackContainer c;
  if (!SplitStylePack(Data, Size, StylePackHasLayoutB(Kind), c, Error)) return false;
  TDataTable* fresh = nullptr;
  try {
    const String text = Hooks.Widen(c.Text);
    fresh = new TDataTable();
    fresh->Init(text);
    TPackWalk walk(Data, c.BlobEnd, Hooks);
    bool ok = walk.Run(fresh, Kind, Error);
    if (ok && walk.Left() != 0) {
      // A length cell too small shifts every later picture; bytes left over
      // mean the lengths and the pictures disagree.
      Error = Num(Int64(walk.Left())) + u" bytes before the table text belong to no row";
      ok = false;
    }
    if (!ok) {
      FreeStylePackTable(fresh, Kind);
      return false;
    }
    // Everything decoded: the caller's table takes the text and the pictures.
    Table->Init(text);
    for (Integer i = 0; i < fresh->ItemCount() && i < Table->ItemCount(); ++i) {
      TRow* from = fresh->Items(i);
      TRow* to = Table->Items(i);
      for (Integer s = slotData; s <= slotData3; ++s) {
        SetSlot(to, s, SlotOf(from, s));
        SetSlot(from, s, nullptr);
      }
    }
    if (Kind == TStylePackKind::LayerTable) {
      Table->SetData(fresh->Data());
      fresh->SetData(nullptr);
    }
    FreeStylePackTable(fresh, Kind);
    return true;
  } catch (const Exception& E) {
    Error = u"the pack cannot be read: " + E.Message();
  } catch (const std::exception& E) {
    Error = u"the pack cannot be read: " + UTF8Decode(E.what());
  } catch (...) {
    Error = u"the pack cannot be read";
  }
  FreeStylePackTable(fresh, Kind);
  return false;
}

void FreeStylePackTable(TDataTable*& Table, TStylePackKind Kind) {
  if (Table == nullptr) return;
  for (Integer i = 0; i < Table->ItemCount(); ++i) {
    TRow* r = Table->Items(i);
    DeleteBitmap(r->Data());
    DeleteBitmap(r->Data2());
    if (Kind == TStylePackKind::FrameNested) {
      auto* layers = static_cast<TDataTable*>(r->Data3());
      FreeStylePackTable(layers, TStylePackKind::LayerTable);
    } else {
      DeleteBitmap(r->Data3());
    }
    r->SetData(nullptr);
    r->SetData2(nullptr);
    r->SetData3(nullptr);
  }
  DeleteBitmap(Table->Data());
  Table->SetData(nullptr);
  delete Table;
  Table = nullptr;
}

TStylePackLogHandler SetStylePackLogHandler(TStylePackLogHandler Handler) {
  TStylePackLogHandler old = std::move(LogHandler());
  LogHandler() = std::move(Handler);
  return old;
}

void LogStylePack(const String& Line) {
  if (LogHandler())
    LogHandler()(Line);
  else
    DefaultLog(Line);
}
