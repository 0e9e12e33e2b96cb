// zlib (RFC 1950) compression of byte buffers, behind plain types so that no
// unit but the one native wrapper sees zlib's header.
//
// Portable header: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Compresses Size bytes at Data into one zlib stream at Level (0..9) and
// replaces Out by it. False when zlib refuses (out of memory, bad level).
bool ZlibDeflate(const void* Data, size_t Size, int Level, std::vector<uint8_t>& Out);

enum class TZlibInflateResult {
  Ok,        // one complete stream that used every input byte
  TooLarge,  // the output would exceed MaxOut bytes
  Corrupt,   // not a valid zlib stream, truncated, or bytes after its end
};

// Inflates one zlib stream of Size bytes at Data into Out (replaced). The
// output never grows beyond MaxOut bytes, whatever the stream claims, and
// memory grows with the output actually produced.
TZlibInflateResult ZlibInflate(const void* Data, size_t Size, size_t MaxOut, std::vector<uint8_t>& Out);

// The first Count bytes a zlib stream inflates to, inflating no further:
// true when the stream yields at least that many, Out holding them.
bool ZlibInflateHead(const void* Data, size_t Size, size_t Count, std::vector<uint8_t>& Out);
