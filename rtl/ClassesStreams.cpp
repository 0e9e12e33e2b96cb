// TStream and the memory, handle and file streams.
#include <cstdlib>
#include <cstring>
#include <limits>

#include "rtl/Classes.h"

namespace {

// Offset + Base without signed overflow (saturating at the Int64 limits).
Int64 AddSat(Int64 Base, Int64 Offset) {
  Int64 r;
  if (__builtin_add_overflow(Base, Offset, &r))
    return Offset > 0 ? std::numeric_limits<Int64>::max() : std::numeric_limits<Int64>::min();
  return r;
}

constexpr Integer MaxChunk = 1 << 20;

}  // namespace

// ---------------------------------------------------------------------------
// TStream

Int64 TStream::Size() {
  Int64 Pos = Seek(0, soCurrent);
  Int64 Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(Int64) {}

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  Integer Total = 0;
  while (Total < Count) {
    Integer N = Read(static_cast<char*>(Buffer) + Total, Count - Total);
    if (N <= 0) throw EReadError(SReadError);
    Total += N;
  }
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  Integer Total = 0;
  while (Total < Count) {
    Integer N = Write(static_cast<const char*>(Buffer) + Total, Count - Total);
    if (N <= 0) throw EWriteError(SWriteError);
    Total += N;
  }
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  Int64 Result = Count;
  const Integer BufSize = static_cast<Integer>(Count < MaxChunk ? Count : MaxChunk);
  if (BufSize <= 0) return 0;
  std::string Buffer(static_cast<size_t>(BufSize), '\0');
  while (Count != 0) {
    Integer N = static_cast<Integer>(Count < BufSize ? Count : BufSize);
    Source->ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Count -= N;
  }
  return Result;
}

// ---------------------------------------------------------------------------
// TCustomMemoryStream

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
  Int64 Avail = FSize - FPosition;
  Integer N = Avail < Count ? static_cast<Integer>(Avail) : Count;
  std::memcpy(Buffer, static_cast<const char*>(FMemory) + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return N;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition = AddSat(FPosition, Offset); break;
    case soEnd: FPosition = AddSat(FSize, Offset); break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  Int64 Done = 0;
  while (Done < FSize) {
    Integer N = static_cast<Integer>(FSize - Done < MaxChunk ? FSize - Done : MaxChunk);
    Stream->WriteBuffer(static_cast<const char*>(FMemory) + Done, N);
    Done += N;
  }
}

void TCustomMemoryStream::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

// ---------------------------------------------------------------------------
// TMemoryStream

namespace {
constexpr Int64 MemoryDelta = 0x2000;
}

TMemoryStream::~TMemoryStream() { std::free(FMemory); }

void TMemoryStream::Realloc(Int64 NewCapacity) {
  if (NewCapacity > 0 && NewCapacity != FSize) {
    if (NewCapacity > std::numeric_limits<Int64>::max() - MemoryDelta) throw EStreamError(SMemoryStreamError);
    NewCapacity = (NewCapacity + (MemoryDelta - 1)) & ~(MemoryDelta - 1);
  }
  if (NewCapacity == FCapacity) return;
  if (NewCapacity <= 0) {
    std::free(FMemory);
    FMemory = nullptr;
    FCapacity = 0;
    return;
  }
  if (static_cast<UInt64>(NewCapacity) > std::numeric_limits<size_t>::max()) throw EStreamError(SMemoryStreamError);
  void* p = std::realloc(FMemory, static_cast<size_t>(NewCapacity));
  if (p == nullptr) throw EStreamError(SMemoryStreamError);
  FMemory = p;
  FCapacity = NewCapacity;
}

void TMemoryStream::SetCapacity(Int64 NewCapacity) {
  if (NewCapacity < FSize) NewCapacity = FSize;
  Realloc(NewCapacity);
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  Int64 OldPosition = FPosition, OldSize = FSize;
  Realloc(NewSize);
  if (NewSize > OldSize) std::memset(static_cast<char*>(FMemory) + OldSize, 0, static_cast<size_t>(NewSize - OldSize));
  FSize = NewSize;
  if (OldPosition > NewSize) Seek(0, soEnd);
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  Int64 Pos = AddSat(FPosition, Count);
  if (Pos > FSize) {
    if (Pos > FCapacity) {
      // Grow by a quarter at least, so a run of small writes stays linear.
      Int64 Want = FCapacity + FCapacity / 4;
      Realloc(Pos > Want ? Pos : Want);
    }
    if (FPosition > FSize) std::memset(static_cast<char*>(FMemory) + FSize, 0, static_cast<size_t>(FPosition - FSize));
    FSize = Pos;
  }
  std::memcpy(static_cast<char*>(FMemory) + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = Pos;
  return Count;
}

void TMemoryStream::Clear() {
  Realloc(0);
  FSize = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  Int64 Count = Stream->Size();
  SetSize(Count);
  Int64 Done = 0;
  while (Done < Count) {
    Integer N = static_cast<Integer>(Count - Done < MaxChunk ? Count - Done : MaxChunk);
    Stream->ReadBuffer(static_cast<char*>(FMemory) + Done, N);
    Done += N;
  }
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

// ---------------------------------------------------------------------------
// TBytesStream, TStringStream

TBytesStream::TBytesStream(const TBytes& Data) {
  if (!Data.empty()) {
    WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
    SetPosition(0);
  }
}

TBytes TBytesStream::Bytes() const {
  if (FSize == 0) return TBytes();
  return TBytes(static_cast<const Byte*>(FMemory), static_cast<size_t>(FSize));
}

TStringStream::TStringStream(const String& AString, TEncoding Encoding) : FEncoding(Encoding) {
  std::string b = EncodingGetBytes(Encoding, AString);
  if (!b.empty()) {
    WriteBuffer(b.data(), static_cast<Integer>(b.size()));
    SetPosition(0);
  }
}

TStringStream::TStringStream(const std::string& Bytes, TEncoding Encoding) : FEncoding(Encoding) {
  if (!Bytes.empty()) {
    WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    SetPosition(0);
  }
}

String TStringStream::DataString() const { return EncodingGetString(FEncoding, FMemory, static_cast<size_t>(FSize)); }

String TStringStream::ReadString(Integer Count) {
  if (FPosition < 0 || FPosition >= FSize) return String();
  Int64 Avail = FSize - FPosition;
  Int64 N = (Count < 0 || Count > Avail) ? Avail : Count;
  String R = EncodingGetString(FEncoding, static_cast<const char*>(FMemory) + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return R;
}

void TStringStream::WriteString(const String& AString) {
  std::string b = EncodingGetBytes(FEncoding, AString);
  if (!b.empty()) WriteBuffer(b.data(), static_cast<Integer>(b.size()));
}

// ---------------------------------------------------------------------------
// THandleStream, TFileStream

Integer THandleStream::Read(void* Buffer, Integer Count) {
  Integer r = FileRead(FHandle, Buffer, Count);
  return r < 0 ? 0 : r;
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
  Integer r = FileWrite(FHandle, Buffer, Count);
  return r < 0 ? 0 : r;
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  return FileSeek(FHandle, Offset, static_cast<Integer>(Origin));
}

void THandleStream::SetSize(Int64 NewSize) {
  Seek(NewSize, soBeginning);
  if (!FileTruncate(FHandle)) {
    Cardinal code = FileLastError();
    EOSError e(SOSError, {static_cast<Int64>(code), FileErrorMessage(code)});
    e.ErrorCode = code;
    throw e;
  }
}

namespace {

THandle OpenForStream(const String& FileName, Word Mode) {
  if ((Mode & fmCreate) == fmCreate) {
    Cardinal Share = Mode & 0xFF;
    if (Share == 0xFF) Share = fmShareExclusive;
    THandle h = FileCreate(FileName, Share);
    if (h == InvalidFileHandle) throw EFCreateError(SFCreateErrorEx, {FileName, FileErrorMessage(FileLastError())});
    return h;
  }
  THandle h = FileOpen(FileName, Mode);
  if (h == InvalidFileHandle) throw EFOpenError(SFOpenErrorEx, {FileName, FileErrorMessage(FileLastError())});
  return h;
}

}  // namespace

TFileStream::TFileStream(const String& AFileName, Word Mode)
    : THandleStream(OpenForStream(AFileName, Mode)), FFileName(AFileName) {}

TFileStream::~TFileStream() {
  if (FHandle != InvalidFileHandle) FileClose(FHandle);
}

void TFileStream::Flush() {
  if (!FileFlush(FHandle)) throw EWriteError(SWriteError);
}
