// The container writer and reader, and the portable file-name and folder
// routines. The Win32 routines live in win/FileContainersWin.cpp.
#include "gdiplus/FileContainers.h"

#include <cstring>
#include <memory>
#include <vector>

#include "foundation/data/HyCrypUtils.h"
#include "gdiplus/ZlibStreams.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/Math.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"

namespace {

constexpr Byte NoPasswordByte = 0x0A;
constexpr Byte NoNoteByte = 0x14;
constexpr Integer ContainerLevel = 9;
constexpr Integer ChunkSize = 1 << 30;

[[noreturn]] void ContainerError() { throw EReadError(u"Stream read error"); }

void ReadAll(TStream* Stream, void* Buffer, Int64 Count) {
  auto* p = static_cast<uint8_t*>(Buffer);
  while (Count > 0) {
    const Integer n = static_cast<Integer>(Count < ChunkSize ? Count : ChunkSize);
    Stream->ReadBuffer(p, n);
    p += n;
    Count -= n;
  }
}

void WriteAll(TStream* Stream, const void* Buffer, Int64 Count) {
  auto* p = static_cast<const uint8_t*>(Buffer);
  while (Count > 0) {
    const Integer n = static_cast<Integer>(Count < ChunkSize ? Count : ChunkSize);
    Stream->WriteBuffer(p, n);
    p += n;
    Count -= n;
  }
}

Byte ReadByteAt(TStream* Stream, Int64 Pos) {
  Byte b = 0;
  Stream->SetPosition(Pos);
  Stream->ReadBuffer(&b, 1);
  return b;
}

// A size cell: decimal digits only, at most 15 of them. False for anything
// else.
bool ParseSize(const String& Text, Int64& Value) {
  if (Text.empty() || Text.size() > 15) return false;
  Int64 v = 0;
  for (Char c : Text) {
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
  }
  Value = v;
  return true;
}

// True when the folder cell names a place below the extraction folder: no
// drive, no leading delimiter, no "." or ".." segment.
bool IsRelativeFolderCell(const String& Folder) {
  if (Folder.find(u':') != String::npos) return false;
  if (Folder.find(u'\0') != String::npos) return false;
  if (!Folder.empty() && (Folder[0] == u'\\' || Folder[0] == u'/')) return false;
  size_t start = 0;
  while (start <= Folder.size()) {
    size_t end = Folder.find_first_of(u"\\/", start);
    if (end == String::npos) end = Folder.size();
    const String seg = Folder.substr(start, end - start);
    if (seg == u"." || seg == u"..") return false;
    start = end + 1;
  }
  return true;
}

bool IsPlainFileName(const String& Name) {
  return !Name.empty() && Name != u"." && Name != u".." && Name.find(u'\0') == String::npos;
}

// Full names compared without regard to the case of A to Z (as Windows
// compares them): True when Path lies inside Root (ending in "\").
bool LiesInside(const String& Root, const String& Path) {
  if (Path.size() <= Root.size()) return false;
  return SameText(Path.substr(0, Root.size()), Root);
}

struct TArchiveRow {
  bool Skip = false;
  String Folder;    // with a trailing delimiter
  String FileName;  // the full name written
  Int64 Packed = 0;
  Int64 Size = 0;
};

}  // namespace

void WriteFileArchive(const String& ContainerFile, const String& BaseFolder, const String& Password, TDataTable* Table,
                      const String& Note) {
  if (Table == nullptr) throw EArgumentException(u"No file table");
  std::string passwordBlock;
  Byte version;
  if (Password.size() < 10) {
    passwordBlock.assign(1, static_cast<char>(NoPasswordByte));
    version = 2;
  } else {
    passwordBlock = StringToAnsiBytes(Password.substr(0, 10) + Password.substr(Password.size() - 10));
    // The reader finds the table only behind a block of exactly 20 bytes.
    if (passwordBlock.size() != 20 || static_cast<Byte>(passwordBlock[19]) == NoPasswordByte) throw EArgumentException(u"The password must be single-byte text");
    version = 1;
  }
  std::string noteBlock;
  if (Note.empty()) {
    noteBlock.assign(1, static_cast<char>(NoNoteByte));
  } else {
    noteBlock = StringToAnsiBytes(Note);
    if (noteBlock.size() != 8 || static_cast<Byte>(noteBlock[7]) == NoNoteByte)
      throw EArgumentException(u"The note must be exactly 8 characters");
  }

  // Written beside the target and moved over it only when complete, so a
  // failure keeps the previous container.
  const String tempName = ContainerFile + u".tmp";
  {
    std::unique_ptr<TFileStream> out(new TFileStream(tempName, fmCreate));
    TFinally Undo([&] {  // no half-written temporary file stays behind
      out.reset();
      DeleteFile(tempName);
    });
    {
      std::vector<uint8_t> data;
      std::vector<uint8_t> packed;
      for (Integer i = 0; i < Table->ItemCount(); ++i) {
        TRow* row = Table->Items(i);
        const String source = BaseFolder + row->Items(0)->Text() + row->Items(1)->Text();
        {
          TFileStream in(source, fmOpenRead | fmShareDenyWrite);
          const Int64 size = in.Size();
          data.resize(static_cast<size_t>(size));
          ReadAll(&in, data.data(), size);
        }
        if (!ZlibDeflate(data.data(), data.size(), ContainerLevel, packed)) throw EWriteError(u"Stream write error");
        WriteAll(out.get(), packed.data(), static_cast<Int64>(packed.size()));
        row->Items(3)->SetText(IntToStr(static_cast<Int64>(data.size())));
        row->Items(2)->SetText(IntToStr(static_cast<Int64>(packed.size())));
      }
      const String plain = Table->ToString(true);
      const std::string text = StringToAnsiBytes(EncryptStr(plain, Password, 0, 0));
      // An empty container text would read back as no table at all.
      if ((text.empty() && !plain.empty()) || text.size() > 0x7FFFFFFF) throw EWriteError(u"Stream write error");
      WriteAll(out.get(), text.data(), static_cast<Int64>(text.size()));
      const uint32_t len = static_cast<uint32_t>(text.size());
      const uint8_t lenBytes[4] = {static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8),
                                   static_cast<uint8_t>(len >> 16), static_cast<uint8_t>(len >> 24)};
      out->WriteBuffer(lenBytes, 4);
      WriteAll(out.get(), passwordBlock.data(), static_cast<Int64>(passwordBlock.size()));
      WriteAll(out.get(), noteBlock.data(), static_cast<Int64>(noteBlock.size()));
      out->WriteBuffer(&version, 1);
      out->Flush();
    }
    Undo.Dismiss();
  }
  if (!ReplaceFile(tempName, ContainerFile)) {
    const Cardinal code = FileLastError();
    DeleteFile(tempName);
    throw EFCreateError::CreateFmt(u"Cannot create file \"%s\". %s", {ContainerFile, FileErrorMessage(code)});
  }
}

void ExtractFileArchive(const String& ContainerFile, const String& Directory, const String& Password,
                        TArchiveProgressProc Progress, void* ProgressData) {
  if (Directory.empty() || (!DirectoryExists(Directory) && !ForceDirectories(Directory)))
    throw EFCreateError::CreateFmt(u"Cannot create file \"%s\". %s", {Directory, FileErrorMessage(FileLastError())});
  const String base = IncludeTrailingPathDelimiter(Directory);
  const String root = IncludeTrailingPathDelimiter(ExpandFileName(base));

  TFileStream in(ContainerFile, fmOpenRead | fmShareDenyWrite);
  const Int64 fileSize = in.Size();

  // The tail, from the end: version byte, note block, password block, L.
  if (fileSize < 7) ContainerError();
  const Int64 noteSize = ReadByteAt(&in, fileSize - 2) == NoNoteByte ? 1 : 8;
  const Int64 passwordEnd = fileSize - 1 - noteSize;  // one past the password block
  if (passwordEnd < 1) ContainerError();
  const Int64 passwordSize = ReadByteAt(&in, passwordEnd - 1) == NoPasswordByte ? 1 : 20;
  const Int64 lengthPos = passwordEnd - passwordSize - 4;
  if (lengthPos < 0) ContainerError();
  uint8_t lenBytes[4];
  in.SetPosition(lengthPos);
  in.ReadBuffer(lenBytes, 4);
  const int32_t tableLen = static_cast<int32_t>(static_cast<uint32_t>(lenBytes[0]) | static_cast<uint32_t>(lenBytes[1]) << 8 |
                                                static_cast<uint32_t>(lenBytes[2]) << 16 |
                                                static_cast<uint32_t>(lenBytes[3]) << 24);
  if (tableLen < 0 || tableLen > lengthPos) ContainerError();
  const Int64 payloadSize = lengthPos - tableLen;

  std::string tableBytes(static_cast<size_t>(tableLen), '\0');
  in.SetPosition(payloadSize);
  ReadAll(&in, tableBytes.data(), tableLen);
  TDataTable table;
  try {
    table.Init(DecryptStr(AnsiBytesToString(tableBytes.data(), tableBytes.size()), Password));
  } catch (...) {
    ContainerError();
  }

  // Every row is checked before anything is written.
  std::vector<TArchiveRow> rows;
  Int64 packedSum = 0;
  Int64 total = 0;
  for (Integer i = 0; i < table.ItemCount(); ++i) {
    TRow* row = table.Items(i);
    if (row->ItemCount() < 4) ContainerError();
    TArchiveRow r;
    if (!ParseSize(row->Items(2)->Text(), r.Packed) || !ParseSize(row->Items(3)->Text(), r.Size)) ContainerError();
    // The packed sizes stay within the payload row by row; the unpacked ones
    // have no such bound, so their sum is checked.
    packedSum += r.Packed;
    if (packedSum > payloadSize || __builtin_add_overflow(total, r.Size, &total)) ContainerError();
    const String folderCell = row->Items(0)->Text();
    if (row->ItemCount() > 4 && row->Items(4)->AsBool()) {
      r.Folder = base;
    } else if (!folderCell.empty() && folderCell[0] == u'$') {
      // System rows would write into the Windows folders: never extracted.
      r.Skip = true;
    } else {
      if (!IsRelativeFolderCell(folderCell)) ContainerError();
      r.Folder = IncludeTrailingPathDelimiter(base + folderCell);
    }
    if (!r.Skip) {
      const String name = ExtractFileName(row->Items(1)->Text());
      if (!IsPlainFileName(name)) ContainerError();
      r.FileName = r.Folder + name;
      if (!LiesInside(root, ExpandFileName(r.FileName))) ContainerError();
    }
    rows.push_back(std::move(r));
  }
  if (packedSum != payloadSize) ContainerError();

  in.SetPosition(0);
  Int64 done = 0;
  std::vector<uint8_t> packed;
  std::vector<uint8_t> data;
  for (const TArchiveRow& r : rows) {
    if (r.Skip) {
      in.Seek(r.Packed, soCurrent);
      done += r.Size;
      continue;
    }
    if (!DirectoryExists(r.Folder) && !ForceDirectories(r.Folder))
      throw EFCreateError::CreateFmt(u"Cannot create file \"%s\". %s", {r.Folder, FileErrorMessage(FileLastError())});
    packed.resize(static_cast<size_t>(r.Packed));
    ReadAll(&in, packed.data(), r.Packed);
    if (ZlibInflate(packed.data(), packed.size(), static_cast<size_t>(r.Size), data) != TZlibInflateResult::Ok ||
        static_cast<Int64>(data.size()) != r.Size)
      ContainerError();
    {
      TFileStream out(r.FileName, fmCreate);
      WriteAll(&out, data.data(), r.Size);
    }
    done += r.Size;
    if (Progress != nullptr) {
      const Int64 percent = total == 0 ? 100 : Round(static_cast<long double>(done) / total * 100);
      Progress(ProgressData, percent);
    }
  }
}

void ExtractFileNameNoExt(const String& FileName, String& Name) {
  const String name = ExtractFileName(FileName);
  Name = name.substr(0, name.size() - ExtractFileExt(name).size());
}

void ExtractFileExtNoDot(const String& FileName, String& Ext) {
  const String ext = ExtractFileExt(ExtractFileName(FileName));
  Ext = ext.empty() ? String() : ext.substr(1);
}

TStringList* ListFilesByExt(const String& Folder, const String& Ext, bool WithFolder) {
  constexpr Integer Mask = 0x1E9;
  auto list = std::make_unique<TStringList>();
  TSearchRec sr;
  try {
    if (FindFirst(Folder + u"*." + Ext, Mask, sr) == 0) {
      do {
        if ((sr.Attr & Mask) != 0 && sr.Name != u"." && sr.Name != u"..")
          list->Add(WithFolder ? Folder + sr.Name : sr.Name);
      } while (FindNext(sr) == 0);
    }
    FindClose(sr);
  } catch (...) {
    FindClose(sr);
    return nullptr;
  }
  return list.release();
}
