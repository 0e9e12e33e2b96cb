// Writing style packs: the pictures back to back, the table text, its length
// L (little-endian signed 32 bits) and, for the frame packs, 7 more bytes.
// The generator writes the shipped packs with it and the tests their
// fixtures. Portable: no Windows header.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "gdiplus/ZlibStreams.h"

namespace mediagen {

using TBlob = std::vector<std::uint8_t>;

// One zlib stream of Data at level 9 (the packs' level).
inline TBlob Deflate(const TBlob& Data) {
  TBlob out;
  if (!ZlibDeflate(Data.data(), Data.size(), 9, out)) throw std::runtime_error("zlib refused to deflate");
  return out;
}

inline TBlob Deflate(const std::string& Data) { return Deflate(TBlob(Data.begin(), Data.end())); }

// The pack of Blobs (in file order) and the table text Text (bytes as
// stored). LayoutB appends Tail7 after L.
inline TBlob AssemblePack(const std::vector<TBlob>& Blobs, const std::string& Text, bool LayoutB,
                           const std::array<std::uint8_t, 7>& Tail7 = {}) {
  TBlob out;
  for (const TBlob& b : Blobs) out.insert(out.end(), b.begin(), b.end());
  out.insert(out.end(), Text.begin(), Text.end());
  const std::uint32_t l = std::uint32_t(Text.size());
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(l >> (8 * i)));
  if (LayoutB) out.insert(out.end(), Tail7.begin(), Tail7.end());
  return out;
}

}  // namespace mediagen
