#include "tools/mediagen/Encoders.h"

#include <iconv.h>

#include <stdexcept>

#include "classlib/CodecJpeg.h"
#include "classlib/CodecPng.h"

namespace mediagen {

namespace {

void Le(TBlob& B, std::uint32_t V, int N) {
  for (int i = 0; i < N; ++i) B.push_back(std::uint8_t(V >> (8 * i)));
}

}  // namespace

TBlob EncodeBmp(const TImage& Img, int Bits) {
  const int bpp = Bits / 8;
  const std::uint32_t stride = std::uint32_t((Img.W * bpp + 3) & ~3);
  const std::uint32_t size = stride * std::uint32_t(Img.H);
  TBlob b = {'B', 'M'};
  Le(b, 54 + size, 4);
  Le(b, 0, 4);
  Le(b, 54, 4);
  Le(b, 40, 4);
  Le(b, std::uint32_t(Img.W), 4);
  Le(b, std::uint32_t(Img.H), 4);  // bottom-up
  Le(b, 1, 2);
  Le(b, std::uint32_t(Bits), 2);
  Le(b, 0, 4);
  Le(b, size, 4);
  Le(b, 2835, 4);
  Le(b, 2835, 4);
  Le(b, 0, 4);
  Le(b, 0, 4);
  for (int y = Img.H - 1; y >= 0; --y) {
    const size_t start = b.size();
    for (int x = 0; x < Img.W; ++x) {
      const TRgba& p = Img.At(x, y);
      b.insert(b.end(), {ToByte(p.B), ToByte(p.G), ToByte(p.R)});
      if (bpp == 4) b.push_back(ToByte(p.A));
    }
    while (b.size() - start < stride) b.push_back(0);
  }
  return b;
}

TBlob EncodePng(const TImage& Img, bool Alpha) {
  TBlob out;
  const std::string err = codec::PngEncode(ToBgra(Img).data(), Img.W, Img.H, Alpha ? 6 : 2, out);
  if (!err.empty()) throw std::runtime_error("PNG: " + err);
  return out;
}

TBlob EncodeJpeg(const TImage& Img, int Quality) {
  TBlob out;
  const std::string err = codec::JpegEncode(ToBgr(Img).data(), Img.W, Img.H, Quality, out);
  if (!err.empty()) throw std::runtime_error("JPEG: " + err);
  return out;
}

bool Utf8ToGbk(const std::string& Utf8, std::string& Gbk) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == iconv_t(-1)) throw std::runtime_error("iconv has no code page 936");
  std::string in = Utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  const size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == size_t(-1) || il != 0) return false;
  Gbk.assign(out.data(), out.size() - ol);
  return true;
}

int GbkTrailBar(const std::string& Gbk) {
  for (size_t i = 0; i < Gbk.size(); ++i) {
    const unsigned char c = std::uint8_t(Gbk[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < Gbk.size()) {
      if (Gbk[i + 1] == '|') return int(i);
      ++i;
    }
  }
  return -1;
}

}  // namespace mediagen
