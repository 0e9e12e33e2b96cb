// Helpers of the container and file-routine tests: a private temporary
// folder removed afterwards, and whole-file reads and writes.
#pragma once

#include <windows.h>

#include <string>

#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

namespace containers_test {

inline void WriteBytes(const String& FileName, const std::string& Bytes) {
  TFileStream f(FileName, fmCreate);
  if (!Bytes.empty()) f.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

inline std::string ReadBytes(const String& FileName) {
  if (!FileExists(FileName)) return "<missing>";
  TFileStream f(FileName, fmOpenRead | fmShareDenyNone);
  std::string s(static_cast<size_t>(f.Size()), '\0');
  if (!s.empty()) f.ReadBuffer(s.data(), static_cast<Integer>(s.size()));
  return s;
}

inline void RemoveTree(const String& Folder) {
  const String dir = IncludeTrailingPathDelimiter(Folder);
  TSearchRec sr;
  if (FindFirst(dir + u"*", faAnyFile, sr) == 0) {
    do {
      if (sr.Name == u"." || sr.Name == u"..") continue;
      if (sr.Attr & faDirectory)
        RemoveTree(dir + sr.Name);
      else
        DeleteFile(dir + sr.Name);
    } while (FindNext(sr) == 0);
  }
  FindClose(sr);
  RemoveDir(dir);
}

// A fresh folder under the temporary folder, with a trailing "\".
struct TTempFolder {
  String Path;
  TTempFolder() {
    static int counter = 0;
    Path = GetTempDirectory() + u"lumigra_cont_" + IntToStr(Int64(GetCurrentProcessId())) + u"_" +
           IntToStr(Int64(++counter)) + u"\\";
    RemoveTree(Path);
    ForceDirectories(Path);
  }
  ~TTempFolder() { RemoveTree(Path); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
};

}  // namespace containers_test
