#include "rtl/Haval.h"

#include <cstring>

namespace {

using u32 = std::uint32_t;

// The fractional part of pi, 32 bits at a time: the first eight words are the
// initial state, the next 128 the constants of passes 2 to 5 (pass 1 adds none).
constexpr u32 kPiWords[136] = {
    0x243F6A88u, 0x85A308D3u, 0x13198A2Eu, 0x03707344u, 0xA4093822u, 0x299F31D0u, 0x082EFA98u, 0xEC4E6C89u,
    0x452821E6u, 0x38D01377u, 0xBE5466CFu, 0x34E90C6Cu, 0xC0AC29B7u, 0xC97C50DDu, 0x3F84D5B5u, 0xB5470917u,
    0x9216D5D9u, 0x8979FB1Bu, 0xD1310BA6u, 0x98DFB5ACu, 0x2FFD72DBu, 0xD01ADFB7u, 0xB8E1AFEDu, 0x6A267E96u,
    0xBA7C9045u, 0xF12C7F99u, 0x24A19947u, 0xB3916CF7u, 0x0801F2E2u, 0x858EFC16u, 0x636920D8u, 0x71574E69u,
    0xA458FEA3u, 0xF4933D7Eu, 0x0D95748Fu, 0x728EB658u, 0x718BCD58u, 0x82154AEEu, 0x7B54A41Du, 0xC25A59B5u,
    0x9C30D539u, 0x2AF26013u, 0xC5D1B023u, 0x286085F0u, 0xCA417918u, 0xB8DB38EFu, 0x8E79DCB0u, 0x603A180Eu,
    0x6C9E0E8Bu, 0xB01E8A3Eu, 0xD71577C1u, 0xBD314B27u, 0x78AF2FDAu, 0x55605C60u, 0xE65525F3u, 0xAA55AB94u,
    0x57489862u, 0x63E81440u, 0x55CA396Au, 0x2AAB10B6u, 0xB4CC5C34u, 0x1141E8CEu, 0xA15486AFu, 0x7C72E993u,
    0xB3EE1411u, 0x636FBC2Au, 0x2BA9C55Du, 0x741831F6u, 0xCE5C3E16u, 0x9B87931Eu, 0xAFD6BA33u, 0x6C24CF5Cu,
    0x7A325381u, 0x28958677u, 0x3B8F4898u, 0x6B4BB9AFu, 0xC4BFE81Bu, 0x66282193u, 0x61D809CCu, 0xFB21A991u,
    0x487CAC60u, 0x5DEC8032u, 0xEF845D5Du, 0xE98575B1u, 0xDC262302u, 0xEB651B88u, 0x23893E81u, 0xD396ACC5u,
    0x0F6D6FF3u, 0x83F44239u, 0x2E0B4482u, 0xA4842004u, 0x69C8F04Au, 0x9E1F9B5Eu, 0x21C66842u, 0xF6E96C9Au,
    0x670C9C61u, 0xABD388F0u, 0x6A51A0D2u, 0xD8542F68u, 0x960FA728u, 0xAB5133A3u, 0x6EEF0B6Cu, 0x137A3BE4u,
    0xBA3BF050u, 0x7EFB2A98u, 0xA1F1651Du, 0x39AF0176u, 0x66CA593Eu, 0x82430E88u, 0x8CEE8619u, 0x456F9FB4u,
    0x7D84A5C3u, 0x3B8B5EBEu, 0xE06F75D8u, 0x85C12073u, 0x401A449Fu, 0x56C16AA6u, 0x4ED3AA62u, 0x363F7706u,
    0x1BFEDF72u, 0x429B023Du, 0x37D0D724u, 0xD00A1248u, 0xDB0FEAD3u, 0x49F1C09Bu, 0x075372C9u, 0x80991B7Bu,
    0x25D479D8u, 0xF6E8DEF7u, 0xE3FE501Au, 0xB6794C3Bu, 0x976CE0BDu, 0x04C006BAu, 0xC1A94FB6u, 0x409F60C4u,
};

// Order in which each pass reads the 32 message words.
constexpr Byte kWordOrder[5][32] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31},
    {5, 14, 26, 18, 11, 28, 7, 16, 0, 23, 20, 22, 1, 10, 4, 8, 30, 3, 21, 9, 17, 24, 29, 6, 19, 12, 15, 13, 2, 25, 31, 27},
    {19, 9, 4, 20, 28, 17, 8, 22, 29, 14, 25, 12, 24, 30, 16, 26, 31, 15, 7, 3, 1, 0, 18, 27, 13, 6, 21, 10, 23, 11, 5, 2},
    {24, 4, 0, 14, 2, 7, 28, 23, 26, 6, 30, 20, 18, 25, 19, 3, 22, 11, 31, 21, 8, 27, 12, 9, 1, 29, 5, 15, 17, 10, 16, 13},
    {27, 3, 21, 26, 17, 11, 20, 29, 19, 0, 12, 7, 13, 8, 31, 10, 5, 9, 14, 30, 18, 6, 28, 24, 2, 23, 16, 22, 4, 1, 25, 15},
};

// The five Boolean functions of the passes, arguments (x6, x5, x4, x3, x2, x1, x0).
inline u32 F1(u32 x6, u32 x5, u32 x4, u32 x3, u32 x2, u32 x1, u32 x0) {
  return (x1 & x4) ^ (x2 & x5) ^ (x3 & x6) ^ (x0 & x1) ^ x0;
}
inline u32 F2(u32 x6, u32 x5, u32 x4, u32 x3, u32 x2, u32 x1, u32 x0) {
  return (x1 & x2 & x3) ^ (x2 & x4 & x5) ^ (x1 & x2) ^ (x1 & x4) ^ (x2 & x6) ^ (x3 & x5) ^ (x4 & x5) ^ (x0 & x2) ^ x0;
}
inline u32 F3(u32 x6, u32 x5, u32 x4, u32 x3, u32 x2, u32 x1, u32 x0) {
  return (x1 & x2 & x3) ^ (x1 & x4) ^ (x2 & x5) ^ (x3 & x6) ^ (x0 & x3) ^ x0;
}
inline u32 F4(u32 x6, u32 x5, u32 x4, u32 x3, u32 x2, u32 x1, u32 x0) {
  return (x1 & x2 & x3) ^ (x2 & x4 & x5) ^ (x3 & x4 & x6) ^ (x1 & x4) ^ (x2 & x6) ^ (x3 & x4) ^ (x3 & x5) ^
         (x3 & x6) ^ (x4 & x5) ^ (x4 & x6) ^ (x0 & x4) ^ x0;
}
inline u32 F5(u32 x6, u32 x5, u32 x4, u32 x3, u32 x2, u32 x1, u32 x0) {
  return (x1 & x4) ^ (x2 & x5) ^ (x3 & x6) ^ (x0 & x1 & x2 & x3) ^ (x0 & x5) ^ x0;
}

// Each pass feeds its function a permutation of the seven words (the
// five-pass permutations).
inline u32 Phi(int pass, const u32 x[7]) {
  switch (pass) {
    case 0: return F1(x[3], x[4], x[1], x[0], x[5], x[2], x[6]);
    case 1: return F2(x[6], x[2], x[1], x[0], x[3], x[4], x[5]);
    case 2: return F3(x[2], x[6], x[0], x[4], x[3], x[1], x[5]);
    case 3: return F4(x[1], x[5], x[3], x[2], x[0], x[4], x[6]);
    default: return F5(x[2], x[5], x[0], x[6], x[4], x[3], x[1]);
  }
}

inline u32 RotR(u32 v, int n) { return (v >> n) | (v << (32 - n)); }

}  // namespace

void THaval256::Init() {
  for (int i = 0; i < 8; ++i) FState[i] = kPiWords[i];
  FBuffer.fill(0);
  FBufferUsed = 0;
  FBitCount = 0;
}

void THaval256::Compress(const Byte* Block) {
  u32 w[32];
  for (int i = 0; i < 32; ++i)
    w[i] = u32(Block[4 * i]) | (u32(Block[4 * i + 1]) << 8) | (u32(Block[4 * i + 2]) << 16) |
           (u32(Block[4 * i + 3]) << 24);
  u32 t[8];
  for (int i = 0; i < 8; ++i) t[i] = FState[i];
  // Step s updates the word that is "T7" at that moment; the others shift by
  // one name per step, so T_k lives in t[(k - s) mod 8].
  for (int pass = 0; pass < 5; ++pass) {
    for (int j = 0; j < 32; ++j) {
      int s = pass * 32 + j;
      u32 x[7];
      for (int k = 0; k < 7; ++k) x[k] = t[(k - s) & 7];
      u32& t7 = t[(7 - s) & 7];
      u32 k = pass == 0 ? 0 : kPiWords[8 + (pass - 1) * 32 + j];
      t7 = RotR(Phi(pass, x), 7) + RotR(t7, 11) + w[kWordOrder[pass][j]] + k;
    }
  }
  for (int i = 0; i < 8; ++i) FState[i] += t[i];
}

void THaval256::Update(const void* Data, size_t Size) {
  const Byte* p = static_cast<const Byte*>(Data);
  FBitCount += static_cast<UInt64>(Size) * 8;
  while (Size > 0) {
    size_t take = FBuffer.size() - FBufferUsed;
    if (take > Size) take = Size;
    std::memcpy(FBuffer.data() + FBufferUsed, p, take);
    FBufferUsed += take;
    p += take;
    Size -= take;
    if (FBufferUsed == FBuffer.size()) {
      Compress(FBuffer.data());
      FBufferUsed = 0;
    }
  }
}

void THaval256::Final(THaval256Digest& Digest) {
  // Padding: a 1 bit (the low bit of the next byte), zeros up to 118 bytes
  // into a block, then the version/passes/length field and the bit count.
  const UInt64 bits = FBitCount;
  Byte tail[10];
  const unsigned version = 1, passes = 5, outBits = 256;
  tail[0] = static_cast<Byte>(((outBits & 3) << 6) | ((passes & 7) << 3) | (version & 7));
  tail[1] = static_cast<Byte>((outBits >> 2) & 0xFF);
  for (int i = 0; i < 8; ++i) tail[2 + i] = static_cast<Byte>(bits >> (8 * i));

  const Byte one = 0x01;
  Update(&one, 1);
  const Byte zeros[128] = {};
  size_t pad = FBufferUsed <= 118 ? 118 - FBufferUsed : 128 + 118 - FBufferUsed;
  Update(zeros, pad);
  Update(tail, sizeof tail);

  for (int i = 0; i < 8; ++i)
    for (int b = 0; b < 4; ++b) Digest[4 * i + b] = static_cast<Byte>(FState[i] >> (8 * b));
  Init();
}

THaval256Digest THaval256::Final() {
  THaval256Digest d{};
  Final(d);
  return d;
}

THaval256Digest Haval256(const void* Data, size_t Size) {
  THaval256 h;
  h.Update(Data, Size);
  return h.Final();
}
