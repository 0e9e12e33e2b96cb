// The stored-skin format: the layout of a skin's pictures and ini text in
// one stream, its zlib-compressed block, and the envelope of a ".skn" file.
// All integers are 32-bit little-endian.
//
//   version (0..3; writers write 2)
//   main picture     byte 1 = absent, 0 = present and a BMP file image follows
//   inactive picture the same (versions 2 and 3)
//   mask             the same
//   roll-up picture  the same (versions 1 and 2)
//   roll-up mask     the same (versions 1 and 2)
//   n, then n BMP file images (the active pictures)
//   the ini text: every remaining byte (ANSI, or UTF-8/UTF-16 after a BOM)
//
// ".skn": version (readers accept up to 3), n, n bytes of the block.
// Portable header: no Windows header.
#pragma once

#include <string>
#include <vector>

#include "rtl/Classes.h"

// A damaged stored skin, block or ".skn" file.
class EspSkinError : public Exception {
 public:
  using Exception::Exception;
};

// A run of bytes inside a buffer someone else keeps.
struct TspByteSpan {
  const Byte* Data = nullptr;
  size_t Size = 0;
  bool Empty() const { return Size == 0; }
  TBytes Bytes() const { return Data ? TBytes(Data, Size) : TBytes(); }
};

// A stored skin as read: its parts inside the inflated data.
struct TspStoredSkinView {
  Integer Version = 2;
  TspByteSpan Pictures[5];  // main, inactive, mask, roll-up, roll-up mask; empty = absent
  std::vector<TspByteSpan> ActivePictures;
  TspByteSpan IniText;
};

// The pictures and the ini text of one stored skin to write.
struct TspStoredSkinLayout {
  Integer Version = 2;
  TBytes Pictures[5];  // main, inactive, mask, roll-up, roll-up mask; empty = absent
  std::vector<TBytes> ActivePictures;
  std::string IniText;  // bytes as stored
};

// The largest layout a block may inflate to.
inline constexpr size_t MaxStoredSkinSize = size_t(64) << 20;

// False for a version above 3 (Out is left as it was). Raises EspSkinError
// when a picture's size (its BMP bfSize) is below its headers or beyond the
// data, or the stream ends inside the fixed part. Out points into Data.
bool ReadStoredSkinLayout(const Byte* Data, size_t Size, TspStoredSkinView& Out);
// Writes the pictures the layout's version carries (a picture the version
// does not carry is left out).
TBytes WriteStoredSkinLayout(const TspStoredSkinLayout& Layout);

// zlib at level 9; inflating refuses anything but one complete stream that
// ends with the input and inflates to at most MaxStoredSkinSize bytes.
TBytes CompressSkinBlock(const TBytes& Data);
std::vector<Byte> InflateSkinBlock(const void* Data, size_t Size);

// The ".skn" envelope: version 2, the block's length, the block.
TBytes WriteSknEnvelope(const TBytes& Block);
// False (Block emptied) for a version above 3; raises EspSkinError when the
// length is negative or runs past the data, or the data ends before it.
bool ReadSknEnvelope(const Byte* Data, size_t Size, TBytes& Block);

// The lines of stored ini bytes (a byte-order mark selects UTF-8 or UTF-16,
// else the ANSI code page), and ini lines as UTF-8 with a byte-order mark,
// each line ended by CR LF.
void DecodeSkinLines(const TspByteSpan& Bytes, TStrings* Lines);
std::string EncodeSkinText(TStrings* Lines);
