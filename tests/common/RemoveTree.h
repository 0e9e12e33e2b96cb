// Removes a folder of a test with everything below it (best effort).
#pragma once

#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

inline void RemoveTree(const String& Dir) {
  TSearchRec sr;
  if (FindFirst(Dir + u"\\*", faAnyFile, sr) == 0) {
    do {
      if (sr.Name == u"." || sr.Name == u"..") continue;
      if (sr.Attr & faDirectory)
        RemoveTree(Dir + u"\\" + sr.Name);
      else
        DeleteFile(Dir + u"\\" + sr.Name);
    } while (FindNext(sr) == 0);
    FindClose(sr);
  }
  RemoveDir(Dir);
}
