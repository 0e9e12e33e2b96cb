// Shared pieces of the fuzz targets: the input as a stream, as UTF-16 text and
// as a selector byte, a private scratch folder for the parsers that read
// files, and the check that stops a run when an invariant breaks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "rtl/Classes.h"
#include "tests/common/RemoveTree.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

namespace fuzz {

// The input bytes from Offset on, in a memory stream positioned at 0.
inline std::unique_ptr<TMemoryStream> StreamOf(const uint8_t* Data, size_t Size, size_t Offset = 0) {
  auto S = std::make_unique<TMemoryStream>();
  if (Size > Offset) S->WriteBuffer(Data + Offset, static_cast<Integer>(Size - Offset));
  S->SetPosition(0);
  return S;
}

// Pairs of bytes as UTF-16 code units (little-endian; an odd last byte is
// dropped): every code unit, lone surrogates and character 0 included.
inline String Utf16Of(const uint8_t* Data, size_t Size) {
  String s(Size / 2, u'\0');
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<Char>(Data[2 * i] | (Data[2 * i + 1] << 8));
  return s;
}

inline void WriteFile(const String& Name, const uint8_t* Data, size_t Size) {
  TFileStream F(Name, fmCreate);
  if (Size) F.WriteBuffer(Data, static_cast<Integer>(Size));
}

// A folder of this process under the temporary folder (with a trailing
// delimiter), made on first use and removed when the process ends.
inline const String& ScratchDir() {
  // Never destroyed: the exit handler that removes the folder still reads it.
  static const String* Dir = [] {
    auto* D = new String(GetTempDirectory() + u"lumigra-fuzz-" + IntToStr(Int64(::getpid())) + u"\\");
    RemoveTree(ExcludeTrailingPathDelimiter(*D));
    ForceDirectories(*D);
    std::atexit([] { RemoveTree(ExcludeTrailingPathDelimiter(ScratchDir())); });
    return D;
  }();
  return *Dir;
}

// An invariant of the parser under test; a broken one ends the run as a
// finding (libFuzzer keeps the input).
#define FUZZ_CHECK(Cond)                                                             \
  do {                                                                               \
    if (!(Cond)) {                                                                   \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #Cond); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

}  // namespace fuzz
