// Golden pictures: a picture a test draws, compared with the PNG checked in
// under the test's golden folder, recorded under the pinned test prefix (its
// Windows version, font replacements, no font smoothing).
//
// To record the pictures anew (after a deliberate change of the drawing),
// run the test program with LUMIGRA_RECORD_GOLDENS=1 in a slot of the
// pinned prefix (scripts/wine.sh with LUMIGRA_SLOTS) and review the files.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/CodecPng.h"

namespace golden {

// What a comparison lets pass: a channel difference up to MaxDelta counts
// as equal; up to MaxPixels pixels may differ by more.
struct TTolerance {
  int MaxDelta = 0;
  std::size_t MaxPixels = 0;
};

struct TOutcome {
  bool Recorded = false;
  std::string Error;  // no golden, unreadable, other size, cannot write
  std::size_t Differ = 0;
  int Largest = 0, FirstX = -1, FirstY = -1;
  bool Passed(const TTolerance& T) const { return Error.empty() && Differ <= T.MaxPixels; }
  std::string Describe() const {
    if (!Error.empty()) return Error;
    return std::to_string(Differ) + " pixels differ, by up to " + std::to_string(Largest) + ", the first at (" +
           std::to_string(FirstX) + ", " + std::to_string(FirstY) + ")";
  }
};

inline bool Recording() { return std::getenv("LUMIGRA_RECORD_GOLDENS") != nullptr; }

// A folder of the build's (a Unix path) as a Windows path.
inline std::u16string WindowsPath(const std::string& Dir) {
  std::u16string W = !Dir.empty() && Dir[0] == '/' ? u"Z:" : u"";
  for (char C : Dir) W += C == '/' ? u'\\' : char16_t(static_cast<unsigned char>(C));
  return W;
}

inline bool ReadWholeFile(const std::u16string& Path, std::vector<std::uint8_t>& Bytes) {
  HANDLE H = CreateFileW(reinterpret_cast<LPCWSTR>(Path.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) return false;
  const DWORD Size = GetFileSize(H, nullptr);
  Bytes.resize(Size);
  DWORD Read = 0;
  const bool Ok = ReadFile(H, Bytes.data(), Size, &Read, nullptr) && Read == Size;
  CloseHandle(H);
  return Ok;
}

inline bool WriteWholeFile(const std::u16string& Path, const std::vector<std::uint8_t>& Bytes) {
  HANDLE H = CreateFileW(reinterpret_cast<LPCWSTR>(Path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) return false;
  DWORD Written = 0;
  const bool Ok = WriteFile(H, Bytes.data(), DWORD(Bytes.size()), &Written, nullptr) && Written == Bytes.size();
  CloseHandle(H);
  return Ok;
}

// Pixels as $00RRGGBB (a top byte is ignored), rows top-down, compared with
// Dir\Name.png; while recording, written there instead.
inline TOutcome Check(const std::u16string& Dir, const std::u16string& Name, const std::vector<std::uint32_t>& Pixels,
                      int W, int H, const TTolerance& T) {
  TOutcome R;
  const std::u16string File = Dir + u"\\" + Name + u".png";
  if (W <= 0 || H <= 0 || Pixels.size() != std::size_t(W) * std::size_t(H)) {
    R.Error = "no picture to compare";
    return R;
  }
  if (Recording()) {
    std::vector<std::uint32_t> Opaque(Pixels);
    for (std::uint32_t& P : Opaque) P |= 0xFF000000u;
    std::vector<std::uint8_t> Png;
    R.Error = codec::PngEncode(reinterpret_cast<const std::uint8_t*>(Opaque.data()), W, H, 2, Png);
    if (R.Error.empty() && !WriteWholeFile(File, Png)) R.Error = "cannot write the golden picture";
    R.Recorded = R.Error.empty();
    return R;
  }
  std::vector<std::uint8_t> Bytes;
  if (!ReadWholeFile(File, Bytes)) {
    R.Error = "no golden picture";
    return R;
  }
  codec::PngImage Want;
  R.Error = codec::PngDecode(Bytes.data(), Bytes.size(), Want);
  if (!R.Error.empty()) return R;
  if (Want.Width != W || Want.Height != H) {
    R.Error = "golden picture is " + std::to_string(Want.Width) + "x" + std::to_string(Want.Height) + ", drawn " +
              std::to_string(W) + "x" + std::to_string(H);
    return R;
  }
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const std::uint8_t* P = &Want.Pixels[(std::size_t(Y) * std::size_t(W) + std::size_t(X)) * 4];
      const std::uint32_t G = Pixels[std::size_t(Y) * std::size_t(W) + std::size_t(X)];
      int Delta = 0;
      for (int C = 0; C < 3; ++C) Delta = std::max(Delta, std::abs(int((G >> (8 * C)) & 0xFF) - int(P[C])));
      if (Delta == 0) continue;
      R.Largest = std::max(R.Largest, Delta);
      if (Delta <= T.MaxDelta) continue;
      if (R.Differ++ == 0) R.FirstX = X, R.FirstY = Y;
    }
  return R;
}

}  // namespace golden
