// The codec units (JPEG, PNG, GIF over their libraries; BMP our own) fed
// good, truncated and corrupt data. Built natively too, so the sanitizers
// watch every error path (a jump out of a library must leak nothing).
#include "common/gtest.h"

#include <cstdint>
#include <cstring>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/CodecBmp.h"
#include "classlib/CodecGif.h"
#include "classlib/CodecJpeg.h"
#include "classlib/CodecPng.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// W x H pixels of B, G, R, A with smooth colours and some alpha.
Bytes Pattern(int W, int H, int Channels) {
  Bytes p(std::size_t(W) * std::size_t(H) * std::size_t(Channels));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      std::uint8_t* d = &p[(std::size_t(y) * std::size_t(W) + std::size_t(x)) * std::size_t(Channels)];
      d[0] = std::uint8_t(x * 6);
      d[1] = std::uint8_t(y * 9);
      d[2] = std::uint8_t(128 + x - y);
      if (Channels == 4) d[3] = std::uint8_t(255 - (x * y) % 200);
    }
  return p;
}

Bytes Cut(const Bytes& B, std::size_t N) { return Bytes(B.begin(), B.begin() + std::ptrdiff_t(std::min(N, B.size()))); }

// The good file changed by one edit.
struct TDamage {
  const char* Name;
  std::function<Bytes(const Bytes&)> Make;
};

std::size_t FindMarker(const Bytes& B, std::uint8_t M) {
  for (std::size_t i = 0; i + 1 < B.size(); ++i)
    if (B[i] == 0xFF && B[i + 1] == M) return i;
  return B.size();
}

void PutBE16(Bytes& B, std::size_t At, unsigned V) {
  B[At] = std::uint8_t(V >> 8);
  B[At + 1] = std::uint8_t(V);
}

}  // namespace

// ---------------------------------------------------------------------------
// JPEG

namespace {

const int kJW = 40, kJH = 24;

Bytes GoodJpeg() {
  Bytes px = Pattern(kJW, kJH, 3), out;
  EXPECT_EQ(codec::JpegEncode(px.data(), kJW, kJH, 90, out), "");
  return out;
}

}  // namespace

TEST(CodecJpeg, RoundTripAndBgrxRowsEncodeTheSame) {
  Bytes bgr = Pattern(kJW, kJH, 3);
  Bytes a;
  ASSERT_EQ(codec::JpegEncode(bgr.data(), kJW, kJH, 90, a), "");
  // The same pixels as padded 4-byte rows with junk in the fourth byte.
  const std::ptrdiff_t stride = kJW * 4 + 12;
  Bytes rows(std::size_t(stride) * kJH, 0xEE);
  for (int y = 0; y < kJH; ++y)
    for (int x = 0; x < kJW; ++x) std::memcpy(&rows[std::size_t(y * stride + x * 4)], &bgr[std::size_t((y * kJW + x) * 3)], 3);
  Bytes b;
  ASSERT_EQ(codec::JpegEncodeBGRX(rows.data(), stride, kJW, kJH, 90, b), "");
  EXPECT_EQ(a, b);

  codec::JpegImage img;
  ASSERT_EQ(codec::JpegDecode(a.data(), a.size(), 1, img), "");
  ASSERT_EQ(img.Width, kJW);
  ASSERT_EQ(img.Height, kJH);
  for (std::size_t i = 0; i < bgr.size(); ++i) ASSERT_NEAR(int(img.Pixels[i]), int(bgr[i]), 10) << i;

  // The reader into 4-byte rows: the same colours, alpha 255.
  codec::JpegReader r;
  ASSERT_EQ(r.Start(a.data(), a.size(), codec::JpegReadOptions()), "");
  EXPECT_EQ(r.ColorKind(), codec::JpegColorKind::Color);
  Bytes out(std::size_t(kJW) * kJH * 4);
  ASSERT_EQ(r.Read(out.data(), kJW * 4, 4), "");
  for (std::size_t i = 0; i < std::size_t(kJW) * kJH; ++i) {
    ASSERT_EQ(std::memcmp(&out[i * 4], &img.Pixels[i * 3], 3), 0) << i;
    ASSERT_EQ(out[i * 4 + 3], 255) << i;
  }
}

TEST(CodecJpeg, DamagedInput) {
  const Bytes good = GoodJpeg();
  const std::size_t sos = FindMarker(good, 0xDA);
  ASSERT_LT(sos + 40, good.size());
  struct TCase {
    TDamage Damage;
    bool WholeOk;      // JpegDecode: data that ends early is an error
    bool TolerantOk;   // the reader that accepts truncated data
  } cases[] = {
      {{"empty", [](const Bytes&) { return Bytes(); }}, false, false},
      {{"start marker only", [](const Bytes& b) { return Cut(b, 2); }}, false, false},
      {{"cut in the tables", [](const Bytes& b) { return Cut(b, 100); }}, false, false},
      {{"cut in the scan", [&](const Bytes& b) { return Cut(b, sos + (b.size() - sos) / 2); }}, false, true},
      {{"end marker missing", [](const Bytes& b) { return Cut(b, b.size() - 2); }}, false, true},
      {{"not a JPEG", [](const Bytes&) { return Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0}; }}, false, false},
      {{"frame 65535 x 65535", [](const Bytes& b) {
          Bytes d = b;
          const std::size_t sof = FindMarker(d, 0xC0);
          PutBE16(d, sof + 5, 0xFFFF);
          PutBE16(d, sof + 7, 0xFFFF);
          return d;
        }}, false, false},
      {{"frame height 0", [](const Bytes& b) {
          Bytes d = b;
          PutBE16(d, FindMarker(d, 0xC0) + 5, 0);
          return d;
        }}, false, false},
      {{"quantisation table missing", [](const Bytes& b) {
          Bytes d = b;
          d[FindMarker(d, 0xDB) + 1] = 0xFE;  // the table becomes a comment
          return d;
        }}, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Damage.Name);
    const Bytes d = c.Damage.Make(good);
    codec::JpegImage img;
    const std::string e = codec::JpegDecode(d.data(), d.size(), 1, img);
    EXPECT_EQ(e.empty(), c.WholeOk) << e;
    if (!e.empty()) {
      EXPECT_EQ(img.Width, 0);
      EXPECT_TRUE(img.Pixels.empty());
    }
    codec::JpegReader r;
    codec::JpegReadOptions o;
    o.AllowTruncated = true;
    std::string t = r.Start(d.data(), d.size(), o);
    if (t.empty()) {
      ASSERT_EQ(r.Width(), kJW);
      ASSERT_EQ(r.Height(), kJH);
      Bytes out(std::size_t(kJW) * kJH * 4);
      t = r.Read(out.data(), kJW * 4, 4);
    }
    EXPECT_EQ(t.empty(), c.TolerantOk) << t;
  }
}

// Corrupt entropy-coded data is the decoder's warning, not an error: the
// picture decodes (with wrong pixels) and nothing leaks.
TEST(CodecJpeg, CorruptScanDataStillDecodes) {
  Bytes d = GoodJpeg();
  const std::size_t sos = FindMarker(d, 0xDA);
  for (std::size_t i = sos + 20; i < sos + 40; ++i) d[i] = std::uint8_t(i * 37 % 255);  // no 0xFF: no markers
  codec::JpegImage img;
  EXPECT_EQ(codec::JpegDecode(d.data(), d.size(), 1, img), "");
  EXPECT_EQ(img.Width, kJW);
}

TEST(CodecJpeg, ReaderStepsInOrder) {
  const Bytes good = GoodJpeg();
  Bytes out(std::size_t(kJW) * kJH * 4);
  {
    codec::JpegReader r;
    EXPECT_NE(r.Read(out.data(), kJW * 4, 4), "");  // no header yet
  }
  {
    codec::JpegReader r;
    ASSERT_EQ(r.Start(good.data(), good.size(), codec::JpegReadOptions()), "");
    EXPECT_NE(r.Start(good.data(), good.size(), codec::JpegReadOptions()), "");  // one picture per reader
  }
  {
    codec::JpegReader r;  // header read, pixels never: the destructor frees the library's state
    ASSERT_EQ(r.Start(good.data(), good.size(), codec::JpegReadOptions()), "");
  }
  codec::JpegReader r;
  codec::JpegReadOptions half;
  half.ScaleDenom = 2;
  ASSERT_EQ(r.Start(good.data(), good.size(), half), "");
  EXPECT_EQ(r.Width(), kJW / 2);
  EXPECT_EQ(r.Height(), kJH / 2);
  ASSERT_EQ(r.Read(out.data(), kJW * 4, 4), "");
  EXPECT_NE(r.Read(out.data(), kJW * 4, 4), "");  // already read
}

// ---------------------------------------------------------------------------
// Encoding from a row source (JPEG and PNG)

namespace {

struct TRowEncoder {
  const char* Name;
  // The file from the whole picture, and from bands made by a source.
  std::function<std::string(const Bytes&, int, int, Bytes&)> Whole;
  std::function<std::string(const codec::RowSource&, std::ptrdiff_t, int, int, Bytes&)> Bands;
};

const TRowEncoder kRowEncoders[] = {
    {"jpeg",
     [](const Bytes& P, int W, int H, Bytes& O) { return codec::JpegEncodeBGRX(P.data(), W * 4, W, H, 80, O); },
     [](const codec::RowSource& R, std::ptrdiff_t S, int W, int H, Bytes& O) {
       return codec::JpegEncodeBGRXRows(R, S, W, H, 80, O);
     }},
    {"png rgb",
     [](const Bytes& P, int W, int H, Bytes& O) { return codec::PngEncodeRows(P.data(), W * 4, W, H, 2, 6, 0, O); },
     [](const codec::RowSource& R, std::ptrdiff_t S, int W, int H, Bytes& O) {
       return codec::PngEncodeRowSource(R, S, W, H, 2, 6, 0, O);
     }},
    {"png rgba",
     [](const Bytes& P, int W, int H, Bytes& O) { return codec::PngEncodeRows(P.data(), W * 4, W, H, 6, 6, 0, O); },
     [](const codec::RowSource& R, std::ptrdiff_t S, int W, int H, Bytes& O) {
       return codec::PngEncodeRowSource(R, S, W, H, 6, 6, 0, O);
     }},
};

}  // namespace

// Bands copied into one reused buffer (padded rows, junk between) give the
// file the whole picture gives; the bands cover every row once, in order.
TEST(CodecRows, BandsEncodeAsTheWholePicture) {
  const int w = 29;
  for (const TRowEncoder& e : kRowEncoders)
    for (int h : {1, codec::RowBand, 2 * codec::RowBand + 5}) {
      SCOPED_TRACE(std::string(e.Name) + " height " + std::to_string(h));
      const Bytes px = Pattern(w, h, 4);
      Bytes whole, banded;
      ASSERT_EQ(e.Whole(px, w, h, whole), "");
      const std::ptrdiff_t stride = w * 4 + 8;
      Bytes band(std::size_t(stride) * codec::RowBand);
      int next = 0;
      const codec::RowSource rows = [&](int Y, int Count) {
        EXPECT_EQ(Y, next);
        EXPECT_GE(Count, 1);
        EXPECT_LE(Count, codec::RowBand);
        std::fill(band.begin(), band.end(), std::uint8_t(0xA5 + Y));
        for (int i = 0; i < Count; ++i)
          std::memcpy(&band[std::size_t(i * stride)], &px[std::size_t((Y + i) * w * 4)], std::size_t(w) * 4);
        next = Y + Count;
        return static_cast<const std::uint8_t*>(band.data());
      };
      ASSERT_EQ(e.Bands(rows, stride, w, h, banded), "");
      EXPECT_EQ(next, h);
      EXPECT_EQ(banded, whole);
    }
}

// A source that fails part-way: its exception reaches the caller, nothing
// is written and (under the sanitizers) nothing leaks.
TEST(CodecRows, FailingSourceReachesTheCaller) {
  const int w = 12, h = 3 * codec::RowBand;
  const Bytes px = Pattern(w, h, 4);
  for (const TRowEncoder& e : kRowEncoders)
    for (int failAt : {0, codec::RowBand}) {
      SCOPED_TRACE(std::string(e.Name) + " failing at row " + std::to_string(failAt));
      Bytes out(5, 1);
      const codec::RowSource rows = [&](int Y, int) {
        if (Y >= failAt) throw std::runtime_error("source failed");
        return px.data() + std::ptrdiff_t(Y) * w * 4;
      };
      try {
        e.Bands(rows, w * 4, w, h, out);
        ADD_FAILURE() << "no exception";
      } catch (const std::runtime_error& x) {
        EXPECT_STREQ(x.what(), "source failed");
      }
      EXPECT_TRUE(out.empty());
    }
}

// ---------------------------------------------------------------------------
// PNG

namespace {

const int kPW = 23, kPH = 17;

Bytes GoodPng(int ColorType = 6) {
  Bytes px = Pattern(kPW, kPH, 4), out;
  EXPECT_EQ(codec::PngEncode(px.data(), kPW, kPH, ColorType, out), "");
  return out;
}

std::uint32_t Crc(const std::uint8_t* P, std::size_t N) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < N; ++i) {
    c ^= P[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

// Offset of the chunk's type field.
std::size_t FindChunk(const Bytes& B, const char* Type) {
  for (std::size_t i = 8; i + 8 <= B.size();) {
    const std::size_t len = std::size_t(B[i]) << 24 | std::size_t(B[i + 1]) << 16 | std::size_t(B[i + 2]) << 8 | B[i + 3];
    if (std::memcmp(&B[i + 4], Type, 4) == 0) return i + 4;
    i += 12 + len;
  }
  return B.size();
}

void FixCrc(Bytes& B, std::size_t Type) {
  const std::size_t len = std::size_t(B[Type - 4]) << 24 | std::size_t(B[Type - 3]) << 16 | std::size_t(B[Type - 2]) << 8 | B[Type - 1];
  const std::uint32_t c = Crc(&B[Type], len + 4);
  for (int k = 0; k < 4; ++k) B[Type + 4 + len + std::size_t(k)] = std::uint8_t(c >> (24 - 8 * k));
}

std::string ReadPng(const Bytes& D, Bytes& Out, codec::PngHeader* Header = nullptr, bool Transparency = true) {
  codec::PngReader r;
  std::string e = r.Start(D.data(), D.size());
  if (!e.empty()) return e;
  if (Header) *Header = r.Header();
  Out.assign(std::size_t(r.Header().Width) * std::size_t(r.Header().Height) * 4, 0);
  return r.Read(Out.data(), std::ptrdiff_t(r.Header().Width) * 4, Transparency);
}

}  // namespace

TEST(CodecPng, RowEncoderRoundTripsAtEveryLevelAndFilterChoice) {
  const Bytes px = Pattern(kPW, kPH, 4);
  struct {
    int Level, Filters;
  } choices[] = {{0, 0},
                 {1, codec::kPngFilterUp},
                 {2, codec::kPngFilterSub | codec::kPngFilterUp},
                 {6, 0},
                 {9, codec::kPngFilterPaeth}};
  for (int type : {2, 6})
    for (const auto& c : choices) {
      SCOPED_TRACE(std::to_string(type) + " level " + std::to_string(c.Level));
      Bytes file, back;
      ASSERT_EQ(codec::PngEncodeRows(px.data(), kPW * 4, kPW, kPH, type, c.Level, c.Filters, file), "");
      codec::PngHeader h;
      ASSERT_EQ(ReadPng(file, back, &h), "");
      EXPECT_EQ(h.ColorType, type);
      EXPECT_EQ(h.BitDepth, 8);
      for (std::size_t i = 0; i < px.size(); ++i)
        ASSERT_EQ(back[i], (type == 2 && i % 4 == 3) ? 255 : px[i]) << i;
      // The whole-picture decoder reads the same file alike.
      codec::PngImage img;
      ASSERT_EQ(codec::PngDecode(file.data(), file.size(), img), "");
      EXPECT_EQ(img.Pixels, back);
    }
  // At the library's default level and filter choice the row encoder writes
  // the very file the whole-picture encoder writes.
  for (int type : {2, 6}) {
    Bytes rows, whole;
    ASSERT_EQ(codec::PngEncodeRows(px.data(), kPW * 4, kPW, kPH, type, 6, 0, rows), "");
    ASSERT_EQ(codec::PngEncode(px.data(), kPW, kPH, type, whole), "");
    EXPECT_EQ(rows, whole) << "colour type " << type;
  }
}

TEST(CodecPng, DamagedInput) {
  const Bytes good = GoodPng();
  const std::size_t idat = FindChunk(good, "IDAT");
  ASSERT_LT(idat + 30, good.size());
  struct TCase {
    TDamage Damage;
    bool WholeOk;  // the whole-picture decoder stops after the image data
  } cases[] = {
      {{"empty", [](const Bytes&) { return Bytes(); }}, false},
      {{"signature only", [](const Bytes& b) { return Cut(b, 8); }}, false},
      {{"cut in the header chunk", [](const Bytes& b) { return Cut(b, 20); }}, false},
      {{"cut in the image data", [&](const Bytes& b) { return Cut(b, idat + 20); }}, false},
      {{"end chunk missing", [](const Bytes& b) { return Cut(b, b.size() - 12); }}, true},
      {{"image data checksum wrong", [&](const Bytes& b) {
          Bytes d = b;
          d[idat + 10] ^= 0x40;
          return d;
        }}, false},
      {{"deflate stream corrupt, checksum right", [&](const Bytes& b) {
          Bytes d = b;
          for (std::size_t i = idat + 8; i < idat + 24; ++i) d[i] = 0xFF;
          FixCrc(d, idat);
          return d;
        }}, false},
      {{"size 0 x 17", [](const Bytes& b) {
          Bytes d = b;
          for (int k = 0; k < 4; ++k) d[16 + std::size_t(k)] = 0;
          FixCrc(d, 12);
          return d;
        }}, false},
      {{"size 2^31-1 x 2^31-1", [](const Bytes& b) {
          Bytes d = b;
          for (std::size_t at : {std::size_t(16), std::size_t(20)}) {
            d[at] = 0x7F;
            d[at + 1] = d[at + 2] = d[at + 3] = 0xFF;
          }
          FixCrc(d, 12);
          return d;
        }}, false},
      {{"not a PNG", [](const Bytes&) { return Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}; }}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Damage.Name);
    const Bytes d = c.Damage.Make(good);
    Bytes out;
    EXPECT_NE(ReadPng(d, out), "");  // the row reader checks the file to its end
    codec::PngImage img;
    const std::string e = codec::PngDecode(d.data(), d.size(), img);
    EXPECT_EQ(e.empty(), c.WholeOk) << e;
    EXPECT_EQ(img.Pixels.empty(), !c.WholeOk);
  }
}

TEST(CodecPng, ReaderWidensEveryLayout) {
  // Hand-made 3 x 1 files, one per layout, through the row encoder's own
  // chunk helpers: IHDR, optional PLTE/tRNS, one IDAT of filter-0 rows.
  struct TLayout {
    const char* Name;
    int Type, Depth;
    Bytes Row;       // the raw row after the filter byte
    Bytes Palette;   // R, G, B triples
    Bytes Trns;
    std::uint32_t Want[3];        // $AARRGGBB with transparency used
    std::uint32_t WantPlain[3];   // with the transparency chunk ignored
  } layouts[] = {
      {"grey 2 bits", 0, 2, {0x6C}, {}, {}, {0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}, {0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}},
      {"grey 8 bits keyed", 0, 8, {0x10, 0x80, 0xF0}, {}, {0, 0x80}, {0xFF101010, 0x00808080, 0xFFF0F0F0},
       {0xFF101010, 0xFF808080, 0xFFF0F0F0}},
      {"grey 16 bits", 0, 16, {0x12, 0xFF, 0xAB, 0x01, 0x00, 0x80}, {}, {}, {0xFF121212, 0xFFABABAB, 0xFF000000},
       {0xFF121212, 0xFFABABAB, 0xFF000000}},
      {"grey and alpha", 4, 8, {0x20, 0x00, 0x40, 0x80, 0x60, 0xFF}, {}, {}, {0x00202020, 0x80404040, 0xFF606060},
       {0x00202020, 0x80404040, 0xFF606060}},
      {"RGB 16 bits", 2, 16, {1, 0xFF, 2, 0, 3, 0, 0x10, 0, 0x20, 0, 0x30, 0, 0xFF, 0xFF, 0, 0, 0x80, 0x80}, {}, {},
       {0xFF010203, 0xFF102030, 0xFFFF0080}, {0xFF010203, 0xFF102030, 0xFFFF0080}},
      {"palette 4 bits with alpha", 3, 4, {0x01, 0x20}, {10, 20, 30, 40, 50, 60, 70, 80, 90}, {0x00, 0x80},
       {0x000A141E, 0x8028323C, 0xFF46505A}, {0x000A141E, 0x8028323C, 0xFF46505A}},  // a palette's always applies
  };
  for (const TLayout& l : layouts) {
    SCOPED_TRACE(l.Name);
    auto chunk = [](Bytes& F, const char* T, const Bytes& Body) {
      const std::size_t n = Body.size();
      for (int k = 3; k >= 0; --k) F.push_back(std::uint8_t(n >> (8 * k)));
      const std::size_t at = F.size();
      F.insert(F.end(), T, T + 4);
      F.insert(F.end(), Body.begin(), Body.end());
      F.resize(F.size() + 4);
      FixCrc(F, at);
    };
    Bytes f = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    chunk(f, "IHDR", {0, 0, 0, 3, 0, 0, 0, 1, std::uint8_t(l.Depth), std::uint8_t(l.Type), 0, 0, 0});
    if (!l.Palette.empty()) chunk(f, "PLTE", l.Palette);
    if (!l.Trns.empty()) chunk(f, "tRNS", l.Trns);
    // zlib stored block: header, final block of len bytes, then the Adler-32.
    Bytes raw = {0};
    raw.insert(raw.end(), l.Row.begin(), l.Row.end());
    Bytes z = {0x78, 0x01, 0x01, std::uint8_t(raw.size()), 0, std::uint8_t(~raw.size()), 0xFF};
    z.insert(z.end(), raw.begin(), raw.end());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) a = (a + v) % 65521, b = (b + a) % 65521;
    const std::uint32_t adler = b << 16 | a;
    for (int k = 3; k >= 0; --k) z.push_back(std::uint8_t(adler >> (8 * k)));
    chunk(f, "IDAT", z);
    chunk(f, "IEND", {});
    for (bool trns : {true, false}) {
      Bytes out;
      ASSERT_EQ(ReadPng(f, out, nullptr, trns), "");
      for (int x = 0; x < 3; ++x) {
        const std::uint32_t got = std::uint32_t(out[x * 4]) | std::uint32_t(out[x * 4 + 1]) << 8 |
                                  std::uint32_t(out[x * 4 + 2]) << 16 | std::uint32_t(out[x * 4 + 3]) << 24;
        EXPECT_EQ(got, trns ? l.Want[x] : l.WantPlain[x]) << std::hex << x << " trns " << trns;
      }
    }
  }
}

// ---------------------------------------------------------------------------
// GIF

namespace {

Bytes GoodGif() {
  codec::GifImage img;
  img.Width = 20;
  img.Height = 12;
  img.Frame.Width = 20;
  img.Frame.Height = 12;
  for (int i = 0; i < 16; ++i) {
    img.Frame.Colors.push_back(std::uint8_t(i * 16));
    img.Frame.Colors.push_back(std::uint8_t(255 - i * 16));
    img.Frame.Colors.push_back(std::uint8_t(i * 5));
  }
  for (int i = 0; i < 240; ++i) img.Frame.Indexes.push_back(std::uint8_t((i * 7 + i / 20) % 16));
  Bytes out;
  EXPECT_EQ(codec::GifEncode(img, out), "");
  return out;
}

}  // namespace

TEST(CodecGif, DamagedInput) {
  const Bytes good = GoodGif();
  codec::GifImage img;
  ASSERT_EQ(codec::GifDecode(good.data(), good.size(), img), "");
  ASSERT_EQ(img.Frame.Indexes.size(), 240u);
  const std::size_t image = [&] {
    for (std::size_t i = 13 + 48; i < good.size(); ++i)
      if (good[i] == 0x2C) return i;  // the image descriptor after the colour table
    return good.size();
  }();
  ASSERT_LT(image + 20, good.size());
  struct TCase {
    TDamage Damage;
    bool Ok;
  } cases[] = {
      {{"empty", [](const Bytes&) { return Bytes(); }}, false},
      {{"signature only", [](const Bytes& b) { return Cut(b, 6); }}, false},
      {{"cut in the colour table", [](const Bytes& b) { return Cut(b, 30); }}, false},
      {{"cut in the pixel data", [&](const Bytes& b) { return Cut(b, image + 16); }}, false},
      // The first frame is whole; only the trailer is missing.
      {{"trailer missing", [](const Bytes& b) { return Cut(b, b.size() - 1); }}, true},
      {{"screen 0 x 0", [](const Bytes& b) {
          Bytes d = b;
          d[6] = d[7] = d[8] = d[9] = 0;
          return d;
        }}, false},
      {{"frame larger than 2^28 pixels", [&](const Bytes& b) {
          Bytes d = b;
          d[image + 5] = d[image + 6] = d[image + 7] = d[image + 8] = 0xFF;
          return d;
        }}, false},
      {{"code size 12 (out of range)", [&](const Bytes& b) {
          Bytes d = b;
          d[image + 10] = 12;
          return d;
        }}, false},
      {{"not a GIF", [](const Bytes&) { return Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}; }}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Damage.Name);
    const Bytes d = c.Damage.Make(good);
    codec::GifImage out;
    const std::string e = codec::GifDecode(d.data(), d.size(), out);
    EXPECT_EQ(e.empty(), c.Ok) << e;
    if (!e.empty()) {
      EXPECT_TRUE(out.Frame.Indexes.empty());
    }
  }
}

// ---------------------------------------------------------------------------
// BMP

namespace {

// A BMP file: header of HeaderSize bytes (12, 40, 108 or 124), the palette
// ($00RRGGBB entries), masks after a 40-byte header when given, pixels.
struct TBmp {
  int HeaderSize = 40;
  int Width = 0, Height = 0, Bpp = 24;
  std::uint32_t Compression = 0;
  std::vector<std::uint32_t> Palette;
  std::vector<std::uint32_t> Masks;  // 3 or 4
  Bytes Pixels;
  std::int64_t OffBitsDelta = 0;  // added to the right offset
  unsigned Planes = 1;

  Bytes Make() const {
    Bytes f(14 + std::size_t(HeaderSize), 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
      for (int k = 0; k < 4; ++k) f[at + std::size_t(k)] = std::uint8_t(v >> (8 * k));
    };
    auto put16 = [&](std::size_t at, unsigned v) {
      f[at] = std::uint8_t(v);
      f[at + 1] = std::uint8_t(v >> 8);
    };
    f[0] = 'B', f[1] = 'M';
    put32(14, std::uint32_t(HeaderSize));
    if (HeaderSize == 12) {
      put16(18, unsigned(Width));
      put16(20, unsigned(Height));
      put16(22, Planes);
      put16(24, unsigned(Bpp));
    } else {
      put32(18, std::uint32_t(Width));
      put32(22, std::uint32_t(Height));
      put16(26, Planes);
      put16(28, unsigned(Bpp));
      put32(30, Compression);
      put32(46, std::uint32_t(Palette.size()));
      if (HeaderSize >= 56)
        for (std::size_t i = 0; i < Masks.size(); ++i) put32(54 + 4 * i, Masks[i]);
    }
    if (HeaderSize == 40)
      for (std::uint32_t m : Masks)
        for (int k = 0; k < 4; ++k) f.push_back(std::uint8_t(m >> (8 * k)));
    for (std::uint32_t c : Palette) {
      const std::uint8_t e[4] = {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), 0};
      f.insert(f.end(), e, e + (HeaderSize == 12 ? 3 : 4));
    }
    put32(10, std::uint32_t(std::int64_t(f.size()) + OffBitsDelta));
    f.insert(f.end(), Pixels.begin(), Pixels.end());
    put32(2, std::uint32_t(f.size()));
    return f;
  }
};

std::string DecodeBmp(const Bytes& F, std::vector<std::uint32_t>& Out, codec::BmpInfo& Info, bool& HasAlpha) {
  std::string e = codec::BmpReadHeader(F.data(), F.size(), Info);
  if (!e.empty()) return e;
  Out.assign(std::size_t(Info.Width) * std::size_t(Info.Height), 0xDEADBEEF);
  return codec::BmpDecode(F.data(), F.size(), Info, reinterpret_cast<std::uint8_t*>(Out.data()), Info.Width * 4,
                          HasAlpha);
}

}  // namespace

TEST(CodecBmp, LayoutsDecodeExactly) {
  struct TCase {
    const char* Name;
    TBmp Bmp;
    int Depth;
    bool HasAlpha;
    std::vector<std::uint32_t> Want;  // rows top-down
  };
  const std::vector<std::uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  TCase cases[] = {
      {"1 bit, rows padded to 4 bytes", {40, 3, 2, 1, 0, {0x102030, 0xA0B0C0}, {}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}},
       1, false, {0xFF102030, 0xFFA0B0C0, 0xFF102030, 0xFFA0B0C0, 0xFF102030, 0xFFA0B0C0}},
      {"4 bits, index past the palette is black", {40, 3, 1, 4, 0, pal, {}, {0x13, 0x90, 0, 0}}, 4, false,
       {0xFFFF0000, 0xFF0000FF, 0xFF000000}},
      {"8 bits, top-down", {40, 2, -2, 8, 0, pal, {}, {1, 2, 0, 0, 3, 0, 0, 0}}, 8, false,
       {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000}},
      {"OS/2 core header, 3-byte palette", {12, 2, 1, 8, 0, pal, {}, {2, 3, 0, 0}}, 8, false,
       {0xFF00FF00, 0xFF0000FF}},
      {"24 bits", {40, 1, 2, 24, 0, {}, {}, {1, 2, 3, 0, 4, 5, 6, 0}}, 24, false, {0xFF060504, 0xFF030201}},
      {"16 bits, 5-5-5 without masks", {40, 2, 1, 16, 0, {}, {}, {0x1F, 0x7C, 0x21, 0x04}}, 16, false,
       {0xFFFF00FF, 0xFF080808}},
      {"16 bits, 5-6-5 masks after the header", {40, 2, 1, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {0x1F, 0xF8, 0x20, 0x08}},
       16, false, {0xFFFF00FF, 0xFF080400}},
      {"16 bits, 4-4-4-4 with alpha (V4 header)",
       {108, 2, 1, 16, 3, {}, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x34, 0x12, 0xFF, 0x0F}}, 32, true,
       {0x11223344, 0x00FFFFFF}},
      {"32 bits without alpha mask: the fourth byte ignored", {40, 2, 1, 32, 0, {}, {}, {1, 2, 3, 0, 4, 5, 6, 0x80}},
       32, false, {0xFF030201, 0xFF060504}},
      {"32 bits, V5 masks with alpha", {124, 2, 1, 32, 3, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {1, 2, 3, 0, 4, 5, 6, 0x80}},
       32, true, {0x00030201, 0x80060504}},
      {"32 bits, alpha mask but every alpha 0: opaque",
       {124, 2, 1, 32, 3, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {1, 2, 3, 0, 4, 5, 6, 0}}, 32, false,
       {0xFF030201, 0xFF060504}},
      {"32 bits, masks in another order (R G B A from the low byte)",
       {124, 1, 1, 32, 3, {}, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0x11, 0x22, 0x33, 0x44}}, 32, true,
       {0x44112233}},
      {"32 bits, 10-bit channels keep their top 8 bits",
       {124, 1, 1, 32, 3, {}, {0x3FF00000, 0x000FFC00, 0x000003FF}, {0xFF, 0x03, 0x00, 0x3F}}, 32, false,
       {0xFFFC00FF}},
      // RLE8 (rows bottom-up): a run, an absolute run of 3 (padded to even,
      // clipped at the width), end of line; a delta of (1, 1) over the second
      // row; a run of 1; end of bitmap. Skipped pixels take entry 0.
      {"RLE8", {40, 4, 3, 8, 1, pal, {}, {2, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 1, 1, 3, 0, 1}}, 8, false,
       {0xFF000000, 0xFF0000FF, 0xFF000000, 0xFF000000,
        0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
        0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
      // RLE4: a run alternates two indexes; an absolute run of 3 indexes.
      {"RLE4", {40, 5, 2, 4, 2, pal, {}, {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1}}, 4, false,
       {0xFF0000FF, 0xFFFF0000, 0xFF00FF00, 0xFF000000, 0xFF000000,
        0xFFFF0000, 0xFF00FF00, 0xFFFF0000, 0xFF00FF00, 0xFFFF0000}},
      // RLE data that stops without its end code: what came is kept.
      {"RLE8 cut short", {40, 2, 2, 8, 1, pal, {}, {2, 3}}, 8, false,
       {0xFF000000, 0xFF000000, 0xFF0000FF, 0xFF0000FF}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::uint32_t> out;
    codec::BmpInfo info;
    bool alpha = !c.HasAlpha;
    ASSERT_EQ(DecodeBmp(c.Bmp.Make(), out, info, alpha), "");
    EXPECT_EQ(info.Depth, c.Depth);
    EXPECT_EQ(alpha, c.HasAlpha);
    ASSERT_EQ(out.size(), c.Want.size());
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i], c.Want[i]) << std::hex << i;
  }
}

TEST(CodecBmp, RefusedHeaders) {
  auto good = [] {
    TBmp b;
    b.Width = 2, b.Height = 2, b.Bpp = 24;
    b.Pixels.assign(16, 0);
    return b;
  };
  struct TCase {
    const char* Name;
    std::function<void(TBmp&)> Change;
    std::function<void(Bytes&)> Patch;
  } cases[] = {
      {"OS/2 2.x header (64 bytes)", [](TBmp& b) { b.HeaderSize = 64; }, nullptr},
      {"planes 2", [](TBmp& b) { b.Planes = 2; }, nullptr},
      {"2 bits per pixel", [](TBmp& b) { b.Bpp = 2; }, nullptr},
      {"JPEG inside", [](TBmp& b) { b.Compression = 4; }, nullptr},
      {"RLE8 at 24 bits", [](TBmp& b) { b.Compression = 1; }, nullptr},
      {"top-down RLE", [](TBmp& b) { b.Bpp = 8, b.Compression = 1, b.Height = -2, b.Palette = {0}; }, nullptr},
      {"width 0", [](TBmp& b) { b.Width = 0; }, nullptr},
      {"negative width", [](TBmp& b) { b.Width = -2; }, nullptr},
      {"height 0", [](TBmp& b) { b.Height = 0; }, nullptr},
      {"height -2^31", [](TBmp& b) { b.Height = INT32_MIN; }, nullptr},
      {"2^30 x 2^30 pixels", [](TBmp& b) { b.Width = b.Height = 1 << 30; }, nullptr},
      {"pixel data cut short", [](TBmp& b) { b.Pixels.resize(10); }, nullptr},
      {"palette cut short", [](TBmp& b) { b.Bpp = 8, b.Palette = {1, 2, 3}; }, [](Bytes& f) {
         f[46] = 200;  // 200 colours claimed
         f.resize(60);
       }},
      {"pixel offset inside the header", [](TBmp& b) { b.OffBitsDelta = -10; }, nullptr},
      {"pixel offset past the end", [](TBmp& b) { b.OffBitsDelta = 1000; }, nullptr},
      {"bit fields at 24 bits", [](TBmp& b) { b.Compression = 3, b.Masks = {0xFF0000, 0xFF00, 0xFF}; }, nullptr},
      {"overlapping masks", [](TBmp& b) { b.Bpp = 32, b.Compression = 3, b.Masks = {0xFF0000, 0xFFFF, 0xFF}; }, nullptr},
      {"mask with a gap", [](TBmp& b) { b.Bpp = 32, b.Compression = 3, b.Masks = {0xF0F0000, 0xFF00, 0xFF}; }, nullptr},
      {"zero red mask", [](TBmp& b) { b.Bpp = 32, b.Compression = 3, b.Masks = {0, 0xFF00, 0xFF}; }, nullptr},
      {"16-bit mask wider than the pixel", [](TBmp& b) { b.Bpp = 16, b.Compression = 3, b.Masks = {0x1F0000, 0x7E0, 0x1F}; },
       nullptr},
      {"masks cut short", [](TBmp& b) { b.Bpp = 32, b.Compression = 3, b.Masks = {}; }, [](Bytes& f) { f.resize(58); }},
      {"not a BMP", nullptr, [](Bytes& f) { f[0] = 'M'; }},
      {"header cut short", nullptr, [](Bytes& f) { f.resize(30); }},
  };
  {
    Bytes f = good().Make();
    codec::BmpInfo info;
    ASSERT_EQ(codec::BmpReadHeader(f.data(), f.size(), info), "") << "the unchanged file must be taken";
  }
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBmp b = good();
    if (c.Change) c.Change(b);
    Bytes f = b.Make();
    if (c.Patch) c.Patch(f);
    codec::BmpInfo info;
    EXPECT_NE(codec::BmpReadHeader(f.data(), f.size(), info), "");
  }
}
