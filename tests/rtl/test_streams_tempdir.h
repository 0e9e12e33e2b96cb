// A fresh folder under the temporary folder for file tests, removed with
// everything in it afterwards. Goes through the rtl's own file routines only:
// <filesystem> and <fstream> are not usable from Winelib units (their
// headers take Windows branches that do not match the Linux library).
#pragma once

#include <random>
#include <string>

#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

class TTempFolder {
 public:
  TTempFolder(const char* Prefix) {
    std::random_device rd;
    Dir = GetTempDirectory() + AsciiToString(Prefix) + IntToStr(rd()) + IntToStr(rd());
    ForceDirectories(Dir);
  }
  ~TTempFolder() { RemoveTree(Dir); }

  // Dir\Name.
  String Path(const char* Name) const { return Dir + PathDelim + AsciiToString(Name); }

  std::string ReadAll(const char* Name) const {
    std::string r;
    THandle h = FileOpen(Path(Name), fmOpenRead | fmShareDenyNone);
    if (h == InvalidFileHandle) return "<missing>";
    char buf[4096];
    for (Integer n; (n = FileRead(h, buf, sizeof buf)) > 0;) r.append(buf, static_cast<size_t>(n));
    FileClose(h);
    return r;
  }

  void WriteAll(const char* Name, const std::string& Bytes) const {
    THandle h = FileCreate(Path(Name), fmShareDenyNone);
    if (h == InvalidFileHandle) return;
    FileWrite(h, Bytes.data(), static_cast<Integer>(Bytes.size()));
    FileClose(h);
  }

  String Dir;

 private:
  static void RemoveTree(const String& Folder) {
    TSearchRec F;
    if (FindFirst(Folder + u"\\*", faAnyFile, F) == 0) {
      do {
        if (F.Name == u"." || F.Name == u"..") continue;
        const String Full = Folder + PathDelim + F.Name;
        if (F.Attr & faDirectory) RemoveTree(Full);
        else DeleteFile(Full);
      } while (FindNext(F) == 0);
    }
    FindClose(F);
    RemoveDir(Folder);
  }
};
