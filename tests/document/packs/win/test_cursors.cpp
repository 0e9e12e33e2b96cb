// The editor's cursors in the program's resources: every name loads from the
// module, the hot spot is the one the generator wrote, and the colour and
// mask bitmaps read back equal the cursor files, which equal their source
// pictures in assets/cursors.
#include "common/gtest.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "rtl/Classes.h"
#include "rtl/FileIO.h"
#include "tests/document/packs/win/pack_test_util.h"

using namespace packtest;

namespace {

const char* const kCursors[] = {
    "Cursor_Zoom", "Cursor_Pencil", "Cursor_Fill", "Cursor_ColorPick", "Cursor_Hand", "Cursor_Rotate",
    "Cursor_FreeShape_AddNode", "Cursor_FreeShape_AddNode_P", "Cursor_Selection_Cross", "Cursor_Selection_Cross_P",
    "Cursor_Selection_Cross_M", "Cursor_Selection_Lasso", "Cursor_Selection_Lasso_P", "Cursor_Selection_Lasso_M",
    "Cursor_Selection_PolyLasso", "Cursor_Selection_PolyLasso_P", "Cursor_Selection_PolyLasso_M",
    "Cursor_Selection_NodeLasso", "Cursor_Selection_Wand", "Cursor_Selection_Wand_P", "Cursor_Selection_Wand_M",
    "Cursor_Selection_MoveCut", "Cursor_Selection_Move", "Cursor_Selection_MoveCopy"};

// A cursor file's picture: ARGB top-down (0 where transparent), the AND
// mask as one bit per pixel (1 transparent) and the hot spot.
struct TCurFile {
  std::vector<std::uint32_t> Argb;
  std::vector<bool> Transparent;
  int HotX = -1, HotY = -1;
};

// The file Name in the folder Dir (a Unix path, seen by Wine on drive Z:).
std::string ReadAll(const char* Dir, const std::string& Name) {
  std::string Unix = Dir;  // appended piece by piece: GCC 12 warns falsely on a + chain here
  Unix += '/';
  Unix += Name;
  String win = u"Z:" + UTF8Decode(Unix);
  for (Char& c : win)
    if (c == u'/') c = u'\\';
  try {
    TFileStream fs(win, fmOpenRead | fmShareDenyWrite);
    std::string b(size_t(fs.Size()), '\0');
    if (!b.empty()) fs.ReadBuffer(b.data(), Integer(b.size()));
    return b;
  } catch (const Exception&) {
    return std::string();
  }
}

std::uint32_t Le(const std::string& B, size_t At, int N) {
  std::uint32_t v = 0;
  for (int i = 0; i < N; ++i) v |= std::uint32_t(std::uint8_t(B[At + size_t(i)])) << (8 * i);
  return v;
}

TCurFile ReadCur(const std::string& Name) {
  const std::string b = ReadAll(LUMIGRA_CURSOR_DIR, Name + ".cur");
  TCurFile c;
  if (b.size() < 22) return c;
  c.HotX = int(Le(b, 10, 2));
  c.HotY = int(Le(b, 12, 2));
  const size_t img = Le(b, 18, 4), colour = img + 40, mask = colour + 32 * 32 * 4;
  c.Argb.resize(1024);
  c.Transparent.resize(1024);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int row = 31 - y;  // bottom-up
      c.Argb[size_t(y * 32 + x)] = Le(b, colour + size_t(row * 32 + x) * 4, 4);
      c.Transparent[size_t(y * 32 + x)] = (std::uint8_t(b[mask + size_t(row) * 4 + size_t(x / 8)]) >> (7 - x % 8)) & 1;
    }
  return c;
}

// The source picture of a cursor without a badge: palette and 32 grid lines.
std::vector<std::uint32_t> ReadSource(const std::string& File) {
  const std::string text = ReadAll(LUMIGRA_CURSOR_SOURCES, File);
  std::map<char, std::uint32_t> palette = {{'.', 0}};
  std::vector<std::uint32_t> px;
  bool grid = false;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (grid) {
      for (char ch : line) px.push_back(palette[ch]);
    } else if (line.rfind("palette\t", 0) == 0) {
      palette[line[8]] = std::uint32_t(std::stoul(line.substr(10), nullptr, 16));
    } else if (line == "grid") {
      grid = true;
    }
  }
  return px;
}

std::vector<std::uint32_t> Bits(HBITMAP Bmp, int Bpp, int Height) {
  HDC dc = GetDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 32;
  bi.bmiHeader.biHeight = -Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = WORD(Bpp);
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> out(size_t(Height) * (Bpp == 32 ? 32 : 1) + 2);
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[2];
  } mono{bi.bmiHeader, {}};
  const int got = GetDIBits(dc, Bmp, 0, UINT(Height), out.data(), reinterpret_cast<BITMAPINFO*>(Bpp == 32 ? &bi : reinterpret_cast<BITMAPINFO*>(&mono)),
                            DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (got != Height) out.clear();
  return out;
}

TEST(Cursors, EveryNameLoadsWithItsHotSpotAndBits) {
  HMODULE module = GetModuleHandleW(nullptr);
  for (const char* name : kCursors) {
    SCOPED_TRACE(name);
    const TCurFile file = ReadCur(name);
    ASSERT_EQ(file.Argb.size(), 1024u) << "the built cursor file";
    const String wname = UTF8Decode(name);
    HCURSOR c = LoadCursorW(module, reinterpret_cast<LPCWSTR>(wname.c_str()));
    ASSERT_NE(c, nullptr);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(c, &ii));
    EXPECT_FALSE(ii.fIcon);
    EXPECT_EQ(int(ii.xHotspot), file.HotX);
    EXPECT_EQ(int(ii.yHotspot), file.HotY);
    ASSERT_NE(ii.hbmColor, nullptr);
    const std::vector<std::uint32_t> colour = Bits(ii.hbmColor, 32, 32);
    ASSERT_FALSE(colour.empty());
    int differ = 0;
    for (size_t i = 0; i < 1024; ++i) differ += colour[i] != file.Argb[i];
    EXPECT_EQ(differ, 0);
    // The mask, one bit a pixel, rows of 32 bits: it alone reads as the cursor.
    const std::vector<std::uint32_t> mask = Bits(ii.hbmMask, 1, 32);
    ASSERT_FALSE(mask.empty());
    differ = 0;
    for (int y = 0; y < 32; ++y) {
      const std::uint32_t row = mask[size_t(y)];
      for (int x = 0; x < 32; ++x) {
        const bool t = (reinterpret_cast<const std::uint8_t*>(&row)[x / 8] >> (7 - x % 8)) & 1;
        differ += t != file.Transparent[size_t(y * 32 + x)];
      }
    }
    EXPECT_EQ(differ, 0);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
  }
}

TEST(Cursors, FilesEqualTheirSources) {
  const std::pair<const char*, const char*> bases[] = {
      {"Cursor_Zoom", "zoom.txt"}, {"Cursor_Hand", "hand.txt"}, {"Cursor_Selection_Cross", "cross.txt"},
      {"Cursor_Selection_Wand", "wand.txt"}, {"Cursor_Selection_MoveCopy", "movecopy.txt"}};
  for (auto [name, source] : bases) {
    SCOPED_TRACE(name);
    const TCurFile file = ReadCur(name);
    const std::vector<std::uint32_t> src = ReadSource(source);
    ASSERT_EQ(src.size(), 1024u);
    EXPECT_EQ(file.Argb, src);
    for (size_t i = 0; i < 1024; ++i) ASSERT_EQ(file.Transparent[i], (src[i] >> 24) < 128) << i;
  }
  // A badge changes only its corner of the picture.
  const TCurFile plain = ReadCur("Cursor_Selection_Cross"), plus = ReadCur("Cursor_Selection_Cross_P"),
                 minus = ReadCur("Cursor_Selection_Cross_M");
  int outside = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (x < 22 || y < 22) outside += plus.Argb[size_t(y * 32 + x)] != plain.Argb[size_t(y * 32 + x)];
  EXPECT_EQ(outside, 0);
  EXPECT_NE(plus.Argb, minus.Argb);
  EXPECT_EQ(plus.HotX, plain.HotX);
}

// Enlarged four times with the hot spot marked, for reviewers.
TEST(Cursors, ReviewSheet) {
  EnsureGdiPlusStarted();
  const int cell = 32 * 4 + 8, cols = 6;
  TBitmap32 sheet;
  sheet.SetSize(cols * cell, 4 * cell);
  sheet.Clear(0xFFC8C8D0u);
  int k = 0;
  for (const char* name : kCursors) {
    const TCurFile f = ReadCur(name);
    if (f.Argb.size() != 1024) continue;
    const int ox = (k % cols) * cell + 4, oy = (k / cols) * cell + 4;
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        const std::uint32_t p = f.Argb[size_t((y / 4) * 32 + x / 4)];
        const std::uint32_t bg = ((x / 16 + y / 16) % 2) ? 0xFFFFFFFFu : 0xFFE0E0E8u;
        const std::uint32_t a = p >> 24;
        auto mix = [&](int s) { return (((p >> s) & 0xFF) * a + ((bg >> s) & 0xFF) * (255 - a)) / 255; };
        sheet.SetPixel(ox + x, oy + y, 0xFF000000u | mix(16) << 16 | mix(8) << 8 | mix(0));
      }
    for (int d = -6; d <= 6; ++d) {  // the hot spot: a red cross
      sheet.SetPixel(ox + f.HotX * 4 + 2 + d, oy + f.HotY * 4 + 2, 0xFFFF0000u);
      sheet.SetPixel(ox + f.HotX * 4 + 2, oy + f.HotY * 4 + 2 + d, 0xFFFF0000u);
    }
    ++k;
  }
  EXPECT_EQ(k, 24);
  SaveReviewPicture(sheet, "cursors");
}

}  // namespace
