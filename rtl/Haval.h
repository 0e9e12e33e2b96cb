// HAVAL message digest with a 256-bit result and five passes (the variant
// the encryption containers use), little-endian as the algorithm defines it.
// Incremental: Init, any number of Update calls, Final; or the one-shot
// Haval256 helpers.
//
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

#include <array>
#include <cstddef>
#include <string_view>

using THaval256Digest = std::array<Byte, 32>;

class THaval256 {
 public:
  THaval256() { Init(); }
  // Starts a new message.
  void Init();
  void Update(const void* Data, size_t Size);
  // Pads, writes the digest and starts a new message (Init).
  void Final(THaval256Digest& Digest);
  THaval256Digest Final();

 private:
  void Compress(const Byte* Block);

  std::array<std::uint32_t, 8> FState{};
  std::array<Byte, 128> FBuffer{};
  size_t FBufferUsed = 0;
  UInt64 FBitCount = 0;
};

THaval256Digest Haval256(const void* Data, size_t Size);
inline THaval256Digest Haval256(std::string_view Bytes) { return Haval256(Bytes.data(), Bytes.size()); }
inline THaval256Digest Haval256(const TBytes& Bytes) { return Haval256(Bytes.data(), Bytes.size()); }
