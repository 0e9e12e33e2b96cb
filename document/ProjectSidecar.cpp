// The project sidecar and the in-memory project stream: layout, lengths,
// encodings and the upgrades of older object rows.
#include "document/ProjectSidecar.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "bitmap/Bmp32_BmpStreams.h"
#include "document/ShapeRows.h"
#include "foundation/data/HyCrypUtils.h"
#include "gdiplus/ZlibStreams.h"
#include "rtl/DateUtils.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/ScopeGuard.h"

namespace {

const String SelectionOpen = u"<Selection>";
const String SelectionClose = u"</Selection>";
constexpr Char OriginalNameHash = 28;
constexpr size_t BmpHeaderSize = 54;

[[noreturn]] void Damaged(const String& Why) { throw ESidecarError(u"The project file is damaged: " + Why + u"."); }

void WriteInt(TStream* S, Integer V) {
  Byte b[4] = {Byte(V), Byte(V >> 8), Byte(V >> 16), Byte(uint32_t(V) >> 24)};
  S->WriteBuffer(b, 4);
}

void WriteBytes(TStream* S, const void* Data, size_t Size) {
  if (Size > size_t(INT32_MAX)) throw ESidecarError(u"A block of the project file is too large.");
  if (Size > 0) S->WriteBuffer(Data, Integer(Size));
}

Integer IntAt(const RawByteString& B, size_t At) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | Byte(B[At + size_t(i)]);
  return Integer(v);
}

// Writes a bitmap's BMP bytes, deflated or as they are, straight from the
// memory they were serialised into; returns the number of bytes written.
Int64 PutBitmap(TStream* Stream, TCustomBitmap32* B, bool Compress) {
  TMemoryStream ms;
  TCustomBitmap32 empty;
  SaveBitmap32ToStream(B ? B : &empty, &ms, true);
  if (!Compress) {
    WriteBytes(Stream, ms.Memory(), size_t(ms.Size()));
    return ms.Size();
  }
  std::vector<uint8_t> out;
  if (!ZlibDeflate(ms.Memory(), size_t(ms.Size()), 9, out)) throw ESidecarError(u"A block could not be compressed.");
  WriteBytes(Stream, out.data(), out.size());
  return Int64(out.size());
}

// Reads bytes where they lie.
class TPointerStream : public TCustomMemoryStream {
 public:
  TPointerStream(const void* Data, size_t Size) { SetPointer(const_cast<void*>(Data), Int64(Size)); }
  Integer Write(const void*, Integer) override { return 0; }
};

// A cell past the end of a row reads as empty.
String CellAt(TRow* Row, Integer Index) {
  return Row && Index >= 0 && Index < Row->ItemCount() ? Row->Items(Index)->StoredText() : String();
}
void PutCell(TRow* Row, Integer Index, const String& Text) {
  while (Row->ItemCount() <= Index) Row->AddItem(String());
  Row->Items(Index)->SetText(Text);
}
String PropAt(TDataTable* T, Integer Index) { return Index < T->PropCount() ? T->Props(Index)->StoredText() : String(); }
void PutProp(TDataTable* T, Integer Index, const String& Text) {
  if (T->PropCount() <= Index) T->SetPropCount(Index + 1);
  T->Props(Index)->SetText(Text);
}

// A length cell: empty is 0; anything but digits, or a negative or huge
// number, is damage.
Int64 LengthOf(const String& Text, const char16_t* What) {
  if (Text.empty()) return 0;
  Int64 v = 0;
  for (Char c : Text) {
    if (c < u'0' || c > u'9') Damaged(String(u"the length of ") + What + u" is not a length");
    v = v * 10 + (c - u'0');
    if (v > INT32_MAX) Damaged(String(u"the length of ") + What + u" is too large");
  }
  return v;
}

String DecodeText(const char* Bytes, size_t Count, bool Utf8) {
  return Utf8 ? UTF8Decode(std::string_view(Bytes, Count)) : AnsiBytesToString(Bytes, Count);
}

// A 32-bit BMP stream of positive sizes, checked against its header, into
// a new bitmap.
std::unique_ptr<TCustomBitmap32> BitmapFromBmp(const void* Data, size_t Size, const char16_t* What) {
  auto fail = [&] { Damaged(String(What) + u" is not a picture"); };
  if (Size < BmpHeaderSize) fail();
  const auto* p = static_cast<const Byte*>(Data);
  auto i32 = [&](size_t At) { return Integer(uint32_t(p[At]) | uint32_t(p[At + 1]) << 8 | uint32_t(p[At + 2]) << 16 |
                                             uint32_t(p[At + 3]) << 24); };
  const Integer w = i32(18), h = i32(22);
  if (p[0] != 'B' || p[1] != 'M' || w < 0 || h < 0) fail();
  if (Size != BmpHeaderSize + 4 * uint64_t(w) * uint64_t(h)) fail();
  TPointerStream ms(Data, Size);
  auto b = std::make_unique<TCustomBitmap32>();
  try {
    if (!LoadPlainBitmap32FromStream(b.get(), &ms)) fail();
  } catch (const EReadError&) {
    fail();
  }
  return b;
}

// A zlib block that must inflate to a 32-bit BMP: never more than its
// header announces, and exactly that.
std::unique_ptr<TCustomBitmap32> BitmapFromZlib(const char* Data, size_t Size, const char16_t* What) {
  std::vector<uint8_t> head;
  if (!ZlibInflateHead(Data, Size, BmpHeaderSize, head)) Damaged(String(What) + u" does not decompress");
  auto i32 = [&](size_t At) { return Integer(uint32_t(head[At]) | uint32_t(head[At + 1]) << 8 |
                                             uint32_t(head[At + 2]) << 16 | uint32_t(head[At + 3]) << 24); };
  const Integer w = i32(18), h = i32(22);
  if (head[0] != 'B' || head[1] != 'M' || w < 0 || h < 0) Damaged(String(What) + u" is not a picture");
  const uint64_t expect = BmpHeaderSize + 4 * uint64_t(w) * uint64_t(h);
  if (expect > SIZE_MAX / 2) Damaged(String(What) + u" is too large");
  std::vector<uint8_t> plain;
  if (ZlibInflate(Data, Size, size_t(expect), plain) != TZlibInflateResult::Ok || plain.size() != expect)
    Damaged(String(What) + u" does not decompress");
  return BitmapFromBmp(plain.data(), plain.size(), What);
}

void LoadTable(TDataTable* T, const String& Text) {
  if (Text.empty()) {
    T->Clear();
    return;
  }
  T->Init(Text);
}

void EnsureFileInfoShape(TDataTable* FileInfo) {
  while (FileInfo->ItemCount() < 5) FileInfo->AddItem(String());
  for (Integer r = 0; r < 5; ++r)
    while (FileInfo->Items(r)->ItemCount() < 20) FileInfo->Items(r)->AddItem(String());
}

Integer ArrowStyle(Integer B, Integer P, Integer Old) {
  switch (B) {
    case 0:
      if (P == 0 || P == 2) return 0;
      if (P == 1 || P == 4) return 1;
      if (P == 3 || P == 5) return 2;
      if (P == 6) return 12;
      if (P == 7) return 13;
      if (P == 8) return 14;
      break;
    case 1:
      if (P == 0 || P == 2) return 3;
      if (P == 3 || P == 5) return 4;
      if (P == 4 || P == 6) return 5;
      break;
    case 2:
      if (P == 0 || P == 3) return 9;
      if (P == 1 || P == 4) return 10;
      if (P == 2 || P == 5) return 11;
      break;
    case 3:
      if (P == 0 || P == 3) return 6;
      if (P == 1 || P == 4) return 7;
      if (P == 2 || P == 5) return 8;
      break;
  }
  return Old;
}

}  // namespace

void InitFileInfo(TDataTable* FileInfo) { FileInfo->Init(5, 20); }

// ---------------------------------------------------------------------------
// Writing

void WriteSidecar(TStream* Stream, const TSidecarSource& Src, bool InMemory) {
  TDataTable* dt = Src.Objects;
  // 1: the original
  if (!PropAt(dt, SidecarProp::OriginalName).empty()) {
    WriteBytes(Stream, Src.OriginalFile, Src.OriginalFileSize);
    PutProp(dt, SidecarProp::OriginalLength, IntToStr(Int64(Src.OriginalFileSize)));
  } else {
    PutProp(dt, SidecarProp::OriginalLength, IntToStr(PutBitmap(Stream, Src.OriBmp, !InMemory)));
  }
  // 2: the working raster
  {
    PutProp(dt, SidecarProp::RasterLength, IntToStr(PutBitmap(Stream, Src.SrcBmp, !InMemory)));
  }
  // 3: pictures, always compressed
  for (Integer i = 0; i < dt->ItemCount(); ++i) {
    TRow* row = dt->Items(i);
    if (CellTextToInt(CellAt(row, ShapeCol::Type)) != PictureRowType) continue;
    PutCell(row, PictureLengthCol, IntToStr(PutBitmap(Stream, Src.PictureOfRow ? Src.PictureOfRow(i) : nullptr, true)));
  }
  // 4: the saved selections
  {
    const String text = SelectionOpen + (Src.Selections ? Src.Selections->ToString(true) : String()) + SelectionClose;
    const std::string b = UTF8Encode(text);
    WriteBytes(Stream, b.data(), b.size());
    PutProp(dt, SidecarProp::SelectionsLength, IntToStr(Int64(b.size())));
  }
  // 5, 6: the objects
  {
    const std::string b = UTF8Encode(dt->ToString(true));
    WriteBytes(Stream, b.data(), b.size());
    WriteInt(Stream, Integer(b.size()));
  }
  // 7..9: the file information
  TDataTable* fi = Src.FileInfo;
  EnsureFileInfoShape(fi);
  TRow* info = fi->Items(0);
  if (InMemory) {
    const std::string b = UTF8Encode(fi->ToString(true));
    WriteBytes(Stream, b.data(), b.size());
    WriteInt(Stream, Integer(b.size()));
    return;
  }
  const TDateTime now = Now();
  if (CellTextToInt(CellAt(info, FileInfoCell::Year)) == 0) {
    Word y, m, d;
    DecodeDate(now, y, m, d);
    PutCell(info, FileInfoCell::Year, IntToStr(Integer(y)));
    PutCell(info, FileInfoCell::Month, IntToStr(Integer(m)));
    PutCell(info, FileInfoCell::Day, IntToStr(Integer(d)));
  }
  if (CellAt(info, FileInfoCell::FirstSaved).empty()) PutCell(info, FileInfoCell::FirstSaved, FloatToStr(now));
  PutCell(info, FileInfoCell::Version, IntToStr(SidecarVersion));
  const String sealed = EncryptStrRandom(fi->ToString(true), String());
  if (sealed.empty()) throw ESidecarError(u"The file information could not be enciphered.");
  const std::string b = StringToAnsiBytes(sealed);
  WriteBytes(Stream, b.data(), b.size());
  WriteInt(Stream, Integer(b.size()));
  WriteInt(Stream, SidecarMagic);
}

// ---------------------------------------------------------------------------
// Reading

void ReadSidecar(TStream* Stream, bool InMemory, TSidecarData& D) {
  const Int64 size = Stream->Size();
  if (size < 4) Damaged(u"it is too short");
  if (size > Int64(INT32_MAX) * 4) Damaged(u"it is too large");
  RawByteString all(size_t(size), '\0');
  Stream->SetPosition(0);
  Stream->ReadBuffer(all.data(), Integer(size));
  const Int64 n = size;

  D.Objects = std::make_unique<TDataTable>();
  D.FileInfo = std::make_unique<TDataTable>();
  D.Selections = std::make_unique<TDataTable>();
  D.FileInfoRebuilt = false;

  Int64 objEnd = 0, objLen = 0;
  bool oldLayout = false;
  bool utf8Objects = true;
  auto takeLength = [&](Int64 At, Int64 Room, const char16_t* What) -> Int64 {
    if (At < 0) Damaged(String(u"the length of ") + What + u" is missing");
    const Integer v = IntAt(all, size_t(At));
    if (v < 0 || v > Room) Damaged(String(u"the length of ") + What + u" does not fit");
    return v;
  };
  if (InMemory) {
    const Int64 f = takeLength(n - 4, n - 8, u"the file information");
    const String text = UTF8Decode(std::string_view(all.data() + (n - 4 - f), size_t(f)));
    LoadTable(D.FileInfo.get(), text);
    objLen = takeLength(n - 8 - f, n - 8 - f, u"the objects");
    objEnd = n - 8 - f;
  } else if (n >= 12 && IntAt(all, size_t(n - 4)) == SidecarMagic) {
    const Int64 f = takeLength(n - 8, n - 12, u"the file information");
    const String sealed = AnsiBytesToString(all.data() + (n - 8 - f), size_t(f));
    const String text = DecryptStr(sealed, String());
    objLen = takeLength(n - 12 - f, n - 12 - f, u"the objects");
    objEnd = n - 12 - f;
    // The cipher carries no check of its own: a text that is not a file
    // information of version 17 or later did not decipher.
    bool deciphered = !text.empty();
    if (deciphered) {
      LoadTable(D.FileInfo.get(), text);
      Integer v = 0;
      deciphered = D.FileInfo->ItemCount() > 0 && D.FileInfo->Items(0)->ItemCount() > 0 &&
                   TryStrToInt(D.FileInfo->Items(0)->Items(0)->StoredText(), v) && v >= 17;
    }
    if (!deciphered) {
      // What cannot be deciphered is made anew; the magic proves a writer of
      // version 17 at least, so the objects text tells 17 from 18.
      InitFileInfo(D.FileInfo.get());
      utf8Objects = IsValidUtf8(all.data() + (objEnd - objLen), size_t(objLen));
      D.FileInfo->Items(0)->Items(FileInfoCell::Version)->SetText(utf8Objects ? u"18" : u"17");
      D.FileInfoRebuilt = true;
    }
  } else {
    oldLayout = true;
    objLen = takeLength(n - 4, n - 4, u"the objects");
    objEnd = n - 4;
    utf8Objects = false;
  }
  if (!oldLayout) {
    EnsureFileInfoShape(D.FileInfo.get());
    D.Version = CellTextToInt(CellAt(D.FileInfo->Items(0), FileInfoCell::Version));
    if (!InMemory && !D.FileInfoRebuilt) utf8Objects = D.Version >= 18;
  }
  TDataTable* dt = D.Objects.get();
  LoadTable(dt, DecodeText(all.data() + (objEnd - objLen), size_t(objLen), utf8Objects));
  if (oldLayout) {
    InitFileInfo(D.FileInfo.get());
    TRow* info = D.FileInfo->Items(0);
    info->Items(FileInfoCell::Version)->SetText(PropAt(dt, SidecarProp::Version));
    info->Items(FileInfoCell::JpegLevel)->SetText(PropAt(dt, SidecarProp::JpegLevel));
    info->Items(FileInfoCell::SameOptions)->SetText(PropAt(dt, SidecarProp::SameOptions));
    info->Items(FileInfoCell::BmpBpp)->SetText(PropAt(dt, SidecarProp::BmpBpp));
    info->Items(FileInfoCell::Bpp)->SetText(PropAt(dt, SidecarProp::Bpp));
    D.Version = CellTextToInt(PropAt(dt, SidecarProp::Version));
  }

  // Every block in front of the objects must fit there before one is read.
  const Int64 objStart = objEnd - objLen;
  const Int64 selLen = LengthOf(PropAt(dt, SidecarProp::SelectionsLength), u"the selections");
  if (selLen > objStart) Damaged(u"the selections do not fit");
  const bool hasOriginal = InMemory || !oldLayout || D.Version > 10;
  const Int64 oriLen = hasOriginal ? LengthOf(PropAt(dt, SidecarProp::OriginalLength), u"the original") : 0;
  const Int64 rasLen = LengthOf(PropAt(dt, SidecarProp::RasterLength), u"the raster");
  Int64 total = oriLen + rasLen + selLen;
  for (Integer i = 0; i < dt->ItemCount(); ++i)
    if (CellTextToInt(CellAt(dt->Items(i), ShapeCol::Type)) == PictureRowType)
      total += LengthOf(CellAt(dt->Items(i), PictureLengthCol), u"a picture");
  if (total > objStart) Damaged(u"its blocks do not fit in it");

  // 4: the saved selections, between the first opening and the last closing
  // marker.
  if (selLen > 0) {
    const char* p = all.data() + (objStart - selLen);
    const String text = DecodeText(p, size_t(selLen), utf8Objects);
    const size_t a = text.find(SelectionOpen);
    const size_t b = text.rfind(SelectionClose);
    if (a != String::npos && b != String::npos && b >= a + SelectionOpen.size())
      LoadTable(D.Selections.get(), text.substr(a + SelectionOpen.size(), b - a - SelectionOpen.size()));
  }

  // 1, 2, 3 from the start.
  Int64 at = 0;
  const bool zipped = !InMemory;
  if (hasOriginal) {
    const char* p = all.data() + at;
    if (!PropAt(dt, SidecarProp::OriginalName).empty())
      D.OriginalFile.assign(p, size_t(oriLen));
    else if (oriLen > 0)
      D.OriBmp = zipped ? BitmapFromZlib(p, size_t(oriLen), u"the original") : BitmapFromBmp(p, size_t(oriLen), u"the original");
    at += oriLen;
  }
  {
    const char* p = all.data() + at;
    D.SrcBmp = zipped ? BitmapFromZlib(p, size_t(rasLen), u"the raster") : BitmapFromBmp(p, size_t(rasLen), u"the raster");
    at += rasLen;
  }
  for (Integer i = 0; i < dt->ItemCount(); ++i) {
    TRow* row = dt->Items(i);
    if (CellTextToInt(CellAt(row, ShapeCol::Type)) != PictureRowType) continue;
    const Int64 len = LengthOf(CellAt(row, PictureLengthCol), u"a picture");
    D.Pictures.emplace_back(CellTextToInt(CellAt(row, ShapeCol::Id)),
                            BitmapFromZlib(all.data() + at, size_t(len), u"a picture"));
    at += len;
  }
}

// ---------------------------------------------------------------------------
// After reading

Integer UpgradeObjectRows(TDataTable* dt, Integer V) {
  if (V < 1) return V;
  if (V <= 14) {
    for (Integer i = 0; i < dt->ItemCount(); ++i) {
      TRow* row = dt->Items(i);
      while (row->ItemCount() > 60) row->RemoveItemByIndex(row->ItemCount() - 1);
      while (row->ItemCount() < 70) row->AddItem(String());
      for (Integer c = 42; c >= 25; --c) {
        row->Items(c + 15)->SetText(row->Items(c)->StoredText());
        row->Items(c)->SetText(String());
      }
      const Integer type = CellTextToInt(CellAt(row, ShapeCol::Type));
      if (type == 2 || type == 5) {
        const Integer b = CellTextToInt(CellAt(row, 50)), p = CellTextToInt(CellAt(row, 45));
        row->Items(45)->SetText(String());
        row->Items(ShapeCol::StyleId)->SetText(
            IntToStr(ArrowStyle(b, p, CellTextToInt(CellAt(row, ShapeCol::StyleId)))));
        row->Items(50)->SetText(CellAt(row, 9));
        row->Items(9)->SetText(String());
      } else if (type == 9 || type == 13) {
        row->Items(52)->SetText(String());
        row->Items(55)->SetText(u"0");
        row->Items(56)->SetText(u"1");
        for (Integer c = 57; c <= 59; ++c) row->Items(c)->SetText(String());
      }
      const double l = TextToSingle(CellAt(row, 10)), t = TextToSingle(CellAt(row, 11));
      const double r = TextToSingle(CellAt(row, 12)), b = TextToSingle(CellAt(row, 13));
      row->Items(ShapeCol::CenterX)->SetText(FloatToStr(l + (r - l) / 2));
      row->Items(ShapeCol::CenterY)->SetText(FloatToStr(t + (b - t) / 2));
      static const Integer styled[] = {2, 3, 4, 5, 8, 9, 10, 13, 15, 16};
      if (std::find(std::begin(styled), std::end(styled), type) != std::end(styled) && row->ItemCount() < 100) {
        TRow suffix(nullptr);
        suffix.Init(String(DefaultStyleSuffix), u',');
        while (row->ItemCount() < 70) row->AddItem(String());
        for (Integer c = 0; c < suffix.ItemCount() && row->ItemCount() < 100; ++c)
          row->AddItem(suffix.Items(c)->StoredText());
        for (Integer c = 27; c <= 29; ++c) row->Items(c)->SetText(u"-1");
      }
    }
    V = 15;
  }
  if (V < 16) {
    for (Integer i = 0; i < dt->ItemCount(); ++i) {
      TRow* row = dt->Items(i);
      const Integer type = CellTextToInt(CellAt(row, ShapeCol::Type));
      if (type != 9 && type != 13) continue;
      PutCell(row, 59, u"-1");
      PutCell(row, 60, u"26367/65535/26367");
      PutCell(row, 61, u"100/100/100");
      PutCell(row, 62, u"0/0.5/1");
      PutCell(row, 64, u"45");
      PutCell(row, 65, u"15");
    }
    V = 16;
  }
  return V;
}

Integer PrepareLoadedRows(TSidecarData& D, bool FromFile) {
  TDataTable* dt = D.Objects.get();
  const Integer last = dt->ItemCount() - 1;
  if (FromFile && last >= 0 && CellTextToInt(CellAt(dt->Items(last), ShapeCol::Type)) == SelectionRowType)
    dt->RemoveItemByIndex(last);
  const Integer v = UpgradeObjectRows(dt, D.Version);
  if (v != D.Version) D.FileInfo->Items(0)->Items(FileInfoCell::Version)->SetText(IntToStr(v));
  for (Integer i = dt->ItemCount() - 1; i >= 0; --i)
    if (UnescapeTableText(CellAt(dt->Items(i), ShapeCol::Name)) == u"Watermark") dt->RemoveItemByIndex(i);
  return v;
}

// ---------------------------------------------------------------------------
// Saved selections and helpers

TRow* AddSavedSelection(TDataTable* Selections, const String& Name, const String& RegionText) {
  TRow* row = Selections->AddItem(String(u","));
  row->Items(0)->SetText(EscapeTableText(Trim(Name)));
  row->Items(1)->SetText(EscapeTableText(RegionText));
  return row;
}

String SavedSelectionName(TRow* Row) { return UnescapeTableText(CellAt(Row, 0)); }
String SavedSelectionRegion(TRow* Row) { return UnescapeTableText(CellAt(Row, 1)); }

String EscapeOriginalName(const String& FileName) {
  String s = EscapeTableText(FileName);
  for (Char& c : s)
    if (c == u'#') c = OriginalNameHash;
  return s;
}

String UnescapeOriginalName(const String& Cell) {
  String s = UnescapeTableText(Cell);
  for (Char& c : s)
    if (c == OriginalNameHash) c = u'#';
  return s;
}

String ImageDigestText(const void* Data, size_t Size) {
  THyHash md5(1);
  const RawByteString d = md5.Digest(Data, Size);
  String s;
  for (char c : d) s += IntToHex(Integer(Byte(c)), 2);
  return s;
}

bool IsValidUtf8(const char* Bytes, size_t Count) {
  const auto* p = reinterpret_cast<const Byte*>(Bytes);
  size_t i = 0;
  while (i < Count) {
    const Byte c = p[i];
    size_t len;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > Count) return false;
    for (size_t k = 1; k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    static const uint32_t minOf[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minOf[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Files

void WriteFileReplacing(const String& FileName, const std::function<void(const String& TempName)>& Write) {
  const String temp = FileName + u".tmp";
  TFinally dropTemp([&] { DeleteFile(temp); });
  Write(temp);
  if (!ReplaceFile(temp, FileName)) throw EFCreateError(u"Cannot write file \"" + FileName + u"\".");
  dropTemp.Dismiss();
}

bool MoveFileAside(const String& From, const String& To) {
  if (FileExists(To)) DeleteFile(To);
  return RenameFile(From, To);
}
