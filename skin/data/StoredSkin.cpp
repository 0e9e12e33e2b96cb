// The stored-skin layout, its compressed block and the ".skn" envelope.
#include "skin/data/StoredSkin.h"

#include <cstring>

#include "gdiplus/ZlibStreams.h"
#include "rtl/SizeMath.h"

namespace {

// The smallest BMP file image the class library writes: file header and
// info header.
constexpr size_t MinBmpSize = 14 + 40;

[[noreturn]] void Damaged(const String& What) { throw EspSkinError(u"Skin data is damaged: %s", {What}); }

Cardinal LE32(const Byte* P) { return Cardinal(P[0]) | Cardinal(P[1]) << 8 | Cardinal(P[2]) << 16 | Cardinal(P[3]) << 24; }

void Put32(TBytes& Out, Integer V) {
  const Cardinal U = static_cast<Cardinal>(V);
  for (int I = 0; I < 4; ++I) Out.push_back(Byte(U >> (8 * I)));
}

// Walks the layout with bounds checks.
class TReader {
 public:
  TReader(const Byte* Data, size_t Size) : FData(Data), FSize(Size) {}
  size_t Left() const { return FSize - FPos; }
  Integer Int32() {
    if (Left() < 4) Damaged(u"the data ends early");
    Integer V = static_cast<Integer>(LE32(FData + FPos));
    FPos += 4;
    return V;
  }
  Byte Flag() {
    if (Left() < 1) Damaged(u"the data ends early");
    return FData[FPos++];
  }
  // One BMP file image: its length is the file header's size field.
  TspByteSpan Bitmap() {
    if (Left() < 18 || FData[FPos] != 'B' || FData[FPos + 1] != 'M') Damaged(u"a picture is not a bitmap");
    const Int64 FileSize = LE32(FData + FPos + 2);
    const Int64 HeaderSize = LE32(FData + FPos + 14);
    if (FileSize < 14 + HeaderSize || FileSize > static_cast<Int64>(Left())) Damaged(u"a picture's size is wrong");
    TspByteSpan B{FData + FPos, static_cast<size_t>(FileSize)};
    FPos += static_cast<size_t>(FileSize);
    return B;
  }
  TspByteSpan Rest() {
    TspByteSpan S{FData + FPos, Left()};
    FPos = FSize;
    return S;
  }

 private:
  const Byte* FData;
  size_t FSize;
  size_t FPos = 0;
};

// Which optional pictures a version carries.
bool HasInActive(Integer Version) { return Version == 2 || Version == 3; }
bool HasRollUp(Integer Version) { return Version == 1 || Version == 2; }

}  // namespace

bool ReadStoredSkinLayout(const Byte* Data, size_t Size, TspStoredSkinView& Out) {
  TReader R(Data, Size);
  TspStoredSkinView L;
  L.Version = R.Int32();
  if (L.Version > 3) return false;
  auto Picture = [&](TspByteSpan& P) {
    if (R.Flag() == 0) P = R.Bitmap();
  };
  Picture(L.Pictures[0]);
  if (HasInActive(L.Version)) Picture(L.Pictures[1]);
  Picture(L.Pictures[2]);
  if (HasRollUp(L.Version)) {
    Picture(L.Pictures[3]);
    Picture(L.Pictures[4]);
  }
  const Integer N = R.Int32();
  if (N > 0) {
    // The count is the stream's word: it never sizes anything, and more
    // images than the bytes left can hold refuses the skin at once.
    Int64 Bytes;
    if (!CheckedProduct({N, Int64(MinBmpSize)}, static_cast<Int64>(R.Left()), Bytes))
      Damaged(u"too many pictures for the data");
    for (Integer I = 0; I < N; ++I) L.ActivePictures.push_back(R.Bitmap());
  }
  L.IniText = R.Rest();
  Out = std::move(L);
  return true;
}

TBytes WriteStoredSkinLayout(const TspStoredSkinLayout& Layout) {
  TBytes Out;
  Put32(Out, Layout.Version);
  auto Picture = [&](const TBytes& P) {
    Out.push_back(P.empty() ? 1 : 0);
    Out += P;
  };
  Picture(Layout.Pictures[0]);
  if (HasInActive(Layout.Version)) Picture(Layout.Pictures[1]);
  Picture(Layout.Pictures[2]);
  if (HasRollUp(Layout.Version)) {
    Picture(Layout.Pictures[3]);
    Picture(Layout.Pictures[4]);
  }
  Put32(Out, static_cast<Integer>(Layout.ActivePictures.size()));
  for (const TBytes& P : Layout.ActivePictures) Out += P;
  Out.append(reinterpret_cast<const Byte*>(Layout.IniText.data()), Layout.IniText.size());
  return Out;
}

TBytes CompressSkinBlock(const TBytes& Data) {
  std::vector<uint8_t> Out;
  if (!ZlibDeflate(Data.data(), Data.size(), 9, Out)) throw EOutOfMemory(u"Out of memory");
  return TBytes(Out.begin(), Out.end());
}

std::vector<Byte> InflateSkinBlock(const void* Data, size_t Size) {
  std::vector<uint8_t> Out;
  switch (ZlibInflate(Data, Size, MaxStoredSkinSize, Out)) {
    case TZlibInflateResult::Ok: break;
    case TZlibInflateResult::TooLarge: Damaged(u"it inflates beyond 64 MB");
    case TZlibInflateResult::Corrupt: Damaged(u"the compressed data is corrupt or cut");
  }
  return Out;
}

TBytes WriteSknEnvelope(const TBytes& Block) {
  TBytes Out;
  Put32(Out, 2);
  Put32(Out, static_cast<Integer>(Block.size()));
  Out += Block;
  return Out;
}

bool ReadSknEnvelope(const Byte* Data, size_t Size, TBytes& Block) {
  Block.clear();
  TReader R(Data, Size);
  if (R.Int32() > 3) return false;
  const Integer N = R.Int32();
  if (N < 0 || static_cast<size_t>(N) > R.Left()) Damaged(u"the skin file is cut or its length is wrong");
  Block.assign(Data + 8, static_cast<size_t>(N));
  return true;
}

namespace {

// A read-only stream over bytes someone else keeps.
class TSpanStream : public TCustomMemoryStream {
 public:
  explicit TSpanStream(const TspByteSpan& Bytes) { SetPointer(const_cast<Byte*>(Bytes.Data), static_cast<Int64>(Bytes.Size)); }
  Integer Write(const void*, Integer) override { throw EStreamError(u"Stream write error"); }
};

}  // namespace

void DecodeSkinLines(const TspByteSpan& Bytes, TStrings* Lines) {
  TSpanStream S(Bytes);
  Lines->LoadFromStream(&S);
}

std::string EncodeSkinText(TStrings* Lines) {
  std::string Out = EncodingPreamble(TEncoding::UTF8);
  Out += EncodingGetBytes(TEncoding::UTF8, Lines->Text());
  return Out;
}
