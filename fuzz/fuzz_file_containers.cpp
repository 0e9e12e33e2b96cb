// The file containers (gallery and clip-art packs): any bytes extract or are
// refused with the stream error; nothing is ever written outside the target
// folder.
#include "fuzz/FuzzSupport.h"
#include "gdiplus/FileContainers.h"

namespace {

// The names in Dir (files and folders), sorted, joined by "|".
String Listing(const String& Dir) {
  TStringList L;
  L.SetSorted(true);
  TSearchRec R;
  if (FindFirst(IncludeTrailingPathDelimiter(Dir) + u"*", faAnyFile, R) == 0) {
    do {
      if (R.Name != u"." && R.Name != u"..") L.Add(R.Name);
    } while (FindNext(R) == 0);
  }
  FindClose(R);
  String S;
  for (Integer I = 0; I < L.Count(); ++I) S += L.Strings(I) + u"|";
  return S;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const String Base = fuzz::ScratchDir();
  const String Box = Base + u"box\\";
  const String Archive = Box + u"pack.dat";
  const String Out = Box + u"out\\";
  RemoveTree(ExcludeTrailingPathDelimiter(Box));
  ForceDirectories(Box);
  fuzz::WriteFile(Archive, Data, Size);
  try {
    ExtractFileArchive(Archive, Out, u"", nullptr, nullptr);
  } catch (const Exception&) {
    // Refused containers raise the stream error; files that cannot be
    // created raise the file errors.
  }
  FUZZ_CHECK(Listing(Base) == u"box|");
  FUZZ_CHECK(Listing(Box) == u"out|pack.dat|");
  RemoveTree(ExcludeTrailingPathDelimiter(Box));
  return 0;
}
