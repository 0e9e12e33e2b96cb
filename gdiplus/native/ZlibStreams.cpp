// The one unit that includes zlib's header.
#include "gdiplus/ZlibStreams.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

bool ZlibDeflate(const void* Data, size_t Size, int Level, std::vector<uint8_t>& Out) {
  Out.clear();
  z_stream zs{};
  if (deflateInit(&zs, Level) != Z_OK) return false;
  const uLong bound = deflateBound(&zs, static_cast<uLong>(Size));
  Out.resize(static_cast<size_t>(bound) > 0 ? static_cast<size_t>(bound) : 16);
  auto* in = static_cast<const Bytef*>(Data);
  size_t inLeft = Size;
  size_t produced = 0;
  int rc = Z_OK;
  do {
    const uInt inChunk = static_cast<uInt>(std::min<size_t>(inLeft, UINT_MAX));
    zs.next_in = const_cast<Bytef*>(in);
    zs.avail_in = inChunk;
    const bool last = inChunk == inLeft;
    do {
      if (produced == Out.size()) Out.resize(Out.size() * 2);
      const uInt outChunk = static_cast<uInt>(std::min<size_t>(Out.size() - produced, UINT_MAX));
      zs.next_out = Out.data() + produced;
      zs.avail_out = outChunk;
      rc = deflate(&zs, last ? Z_FINISH : Z_NO_FLUSH);
      produced += outChunk - zs.avail_out;
      if (rc == Z_STREAM_ERROR) {
        deflateEnd(&zs);
        Out.clear();
        return false;
      }
    } while (zs.avail_out == 0 || (last && rc != Z_STREAM_END));
    in += inChunk;
    inLeft -= inChunk;
  } while (rc != Z_STREAM_END);
  deflateEnd(&zs);
  Out.resize(produced);
  return true;
}

TZlibInflateResult ZlibInflate(const void* Data, size_t Size, size_t MaxOut, std::vector<uint8_t>& Out) {
  Out.clear();
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return TZlibInflateResult::Corrupt;
  auto* in = static_cast<const Bytef*>(Data);
  size_t inLeft = Size;
  size_t produced = 0;
  // One byte of room beyond MaxOut tells a stream that is too large.
  const size_t limit = MaxOut < SIZE_MAX ? MaxOut + 1 : MaxOut;
  Out.resize(std::min<size_t>(limit, 64 * 1024));
  TZlibInflateResult result = TZlibInflateResult::Corrupt;
  for (;;) {
    if (zs.avail_in == 0 && inLeft > 0) {
      const uInt inChunk = static_cast<uInt>(std::min<size_t>(inLeft, UINT_MAX));
      zs.next_in = const_cast<Bytef*>(in);
      zs.avail_in = inChunk;
      in += inChunk;
      inLeft -= inChunk;
    }
    if (produced == Out.size()) {
      if (Out.size() >= limit) break;  // result stays Corrupt unless set below
      Out.resize(std::min<size_t>(limit, Out.size() * 2));
    }
    const uInt outChunk = static_cast<uInt>(std::min<size_t>(Out.size() - produced, UINT_MAX));
    zs.next_out = Out.data() + produced;
    zs.avail_out = outChunk;
    const uInt inBefore = zs.avail_in;
    const int rc = inflate(&zs, Z_NO_FLUSH);
    produced += outChunk - zs.avail_out;
    if (produced > MaxOut) {
      result = TZlibInflateResult::TooLarge;
      break;
    }
    if (rc == Z_STREAM_END) {
      result = (zs.avail_in == 0 && inLeft == 0) ? TZlibInflateResult::Ok : TZlibInflateResult::Corrupt;
      break;
    }
    if (rc == Z_BUF_ERROR) {
      // No progress possible: out of input (truncated) with room to spare.
      if (zs.avail_in == 0 && inLeft == 0 && zs.avail_out > 0) break;
      if (zs.avail_in == inBefore && zs.avail_out > 0 && inLeft == 0) break;
      continue;
    }
    if (rc != Z_OK) break;  // data, memory or stream error
    if (zs.avail_in == 0 && inLeft == 0 && zs.avail_out > 0) break;  // truncated
  }
  inflateEnd(&zs);
  if (result != TZlibInflateResult::Ok) {
    Out.clear();
    return result;
  }
  Out.resize(produced);
  return result;
}

bool ZlibInflateHead(const void* Data, size_t Size, size_t Count, std::vector<uint8_t>& Out) {
  Out.assign(Count, 0);
  if (Count == 0) return true;
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return false;
  zs.next_in = const_cast<Bytef*>(static_cast<const Bytef*>(Data));
  zs.avail_in = static_cast<uInt>(std::min<size_t>(Size, UINT_MAX));
  zs.next_out = Out.data();
  zs.avail_out = static_cast<uInt>(Count);
  int rc = Z_OK;
  while (zs.avail_out > 0 && rc == Z_OK) rc = inflate(&zs, Z_SYNC_FLUSH);
  const bool ok = zs.avail_out == 0;
  inflateEnd(&zs);
  if (!ok) Out.clear();
  return ok;
}
