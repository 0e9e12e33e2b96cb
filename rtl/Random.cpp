#include "rtl/Random.h"

#include "rtl/SysUtils.h"

#include <sys/random.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>

// ---- the program's generator ------------------------------------------------

std::atomic<Integer> RandSeed{0};

namespace {

// Advances RandSeed by one step and returns the new value (as unsigned bits).
std::uint32_t NextSeed() {
  Integer cur = RandSeed.load(std::memory_order_relaxed);
  std::uint32_t next;
  do {
    next = static_cast<std::uint32_t>(cur) * 0x08088405u + 1u;
  } while (!RandSeed.compare_exchange_weak(cur, static_cast<Integer>(next), std::memory_order_relaxed));
  return next;
}

}  // namespace

void Randomize() {
  using namespace std::chrono;
  auto ticks = static_cast<std::uint64_t>(steady_clock::now().time_since_epoch().count()) ^
               static_cast<std::uint64_t>(system_clock::now().time_since_epoch().count());
  RandSeed.store(static_cast<Integer>(static_cast<std::uint32_t>(ticks ^ (ticks >> 32))));
}

Integer Random(Integer Range) {
  std::uint64_t product = static_cast<std::uint64_t>(static_cast<std::uint32_t>(Range)) * NextSeed();
  return static_cast<Integer>(static_cast<std::uint32_t>(product >> 32));
}

double Random() { return static_cast<double>(NextSeed()) * (1.0 / 4294967296.0); }

// ---- secure source ----------------------------------------------------------

namespace {

inline std::uint32_t Rotl(std::uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }

inline void QuarterRound(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c, std::uint32_t& d) {
  a += b; d ^= a; d = Rotl(d, 16);
  c += d; b ^= c; b = Rotl(b, 12);
  a += b; d ^= a; d = Rotl(d, 8);
  c += d; b ^= c; b = Rotl(b, 7);
}

// One 64-byte ChaCha20 block of key, counter and nonce.
void ChaChaBlock(const std::uint32_t key[8], std::uint64_t counter, const std::uint32_t nonce[2], Byte out[64]) {
  std::uint32_t in[16] = {0x61707865u, 0x3320646eu, 0x79622d32u, 0x6b206574u,
                          key[0], key[1], key[2], key[3], key[4], key[5], key[6], key[7],
                          static_cast<std::uint32_t>(counter), static_cast<std::uint32_t>(counter >> 32),
                          nonce[0], nonce[1]};
  std::uint32_t x[16];
  std::memcpy(x, in, sizeof x);
  for (int i = 0; i < 10; ++i) {
    QuarterRound(x[0], x[4], x[8], x[12]);
    QuarterRound(x[1], x[5], x[9], x[13]);
    QuarterRound(x[2], x[6], x[10], x[14]);
    QuarterRound(x[3], x[7], x[11], x[15]);
    QuarterRound(x[0], x[5], x[10], x[15]);
    QuarterRound(x[1], x[6], x[11], x[12]);
    QuarterRound(x[2], x[7], x[8], x[13]);
    QuarterRound(x[3], x[4], x[9], x[14]);
  }
  for (int i = 0; i < 16; ++i) {
    std::uint32_t v = x[i] + in[i];
    out[4 * i] = static_cast<Byte>(v);
    out[4 * i + 1] = static_cast<Byte>(v >> 8);
    out[4 * i + 2] = static_cast<Byte>(v >> 16);
    out[4 * i + 3] = static_cast<Byte>(v >> 24);
  }
}

// Bytes from the OS entropy source; false when none is available.
bool OsEntropy(void* buffer, size_t count) {
  Byte* p = static_cast<Byte*>(buffer);
  size_t done = 0;
  while (done < count) {
    ssize_t n = getrandom(p + done, count - done, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (done == count) return true;
  std::FILE* f = std::fopen("/dev/urandom", "rb");
  if (!f) return false;
  size_t got = std::fread(p + done, 1, count - done, f);
  std::fclose(f);
  return done + got == count;
}

class TSecureGenerator {
 public:
  void Fill(void* buffer, size_t count) {
    std::lock_guard<std::mutex> lock(FLock);
    if (!FSeeded) Seed();
    Byte* p = static_cast<Byte*>(buffer);
    while (count > 0) {
      if (FUsed == sizeof FBlock) {
        ChaChaBlock(FKey, FCounter++, FNonce, FBlock);
        FUsed = 0;
      }
      size_t take = sizeof FBlock - FUsed;
      if (take > count) take = count;
      std::memcpy(p, FBlock + FUsed, take);
      // Bytes handed out are wiped from the buffer.
      std::memset(FBlock + FUsed, 0, take);
      FUsed += take;
      p += take;
      count -= take;
    }
  }

 private:
  void Seed() {
    std::uint32_t material[10];
    if (!OsEntropy(material, sizeof material))
      throw EOSError(u"The operating system gave no random data for the secure generator");
    std::memcpy(FKey, material, sizeof FKey);
    FNonce[0] = material[8];
    FNonce[1] = material[9];
    FSeeded = true;
  }

  std::mutex FLock;
  bool FSeeded = false;
  std::uint32_t FKey[8] = {};
  std::uint32_t FNonce[2] = {};
  std::uint64_t FCounter = 0;
  Byte FBlock[64] = {};
  size_t FUsed = sizeof FBlock;
};

TSecureGenerator& SecureGenerator() {
  static TSecureGenerator generator;
  return generator;
}

}  // namespace

void RandomBytes(void* Buffer, size_t Count) {
  if (Count == 0) return;
  SecureGenerator().Fill(Buffer, Count);
}

Integer RandomInt(Integer Range) {
  if (Range <= 0) return 0;
  const std::uint32_t range = static_cast<std::uint32_t>(Range);
  // Reject the top partial copy of [0, range) so every value is equally likely.
  const std::uint32_t limit = 0xFFFFFFFFu - (0xFFFFFFFFu % range + 1) % range;
  for (;;) {
    std::uint32_t v;
    RandomBytes(&v, sizeof v);
    if (v <= limit) return static_cast<Integer>(v % range);
  }
}
