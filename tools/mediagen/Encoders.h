// Picture files and text of the generator: the BMP forms written here (the
// 24-bit file of the brush tips and the bitmap engine's 32-bit stream, 54-byte
// header, bottom-up), PNG and JPEG through the class library's native codecs,
// and text in the packs' code page (936) through the C library's iconv.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mediagen/Raster.h"

namespace mediagen {

using TBlob = std::vector<std::uint8_t>;

// 24-bit BMP (rows padded to 4 bytes) or 32-bit BMP with alpha.
TBlob EncodeBmp(const TImage& Img, int Bits);
// RGBA PNG (colour type 6) or RGB (type 2).
TBlob EncodePng(const TImage& Img, bool Alpha);
TBlob EncodeJpeg(const TImage& Img, int Quality);

// UTF-8 text in code page 936; false when a character has no GBK form.
bool Utf8ToGbk(const std::string& Utf8, std::string& Gbk);
// The first byte offset of a GBK double-byte character whose second byte is
// 0x7C ("|" when the text is read as code page 1252); -1 when none.
int GbkTrailBar(const std::string& Gbk);

}  // namespace mediagen
