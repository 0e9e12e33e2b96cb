// The clipboard: text with non-Latin characters, nested opening, bitmaps in
// and out (32-bit with alpha, 24-bit, CF_BITMAP only, broken DIBs), raw
// handles and wide file lists.
#include "common/gtest.h"

#include <cstring>
#include <memory>
#include <vector>

#include "classlib/Clipbrd.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { Clipboard()->Clear(); }
  void TearDown() override {
    while (Clipboard()->IsOpen()) Clipboard()->Close();
  }
};

// W x H, pf32bit, every pixel different, alpha varying.
std::unique_ptr<TBitmap> AlphaBitmap(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf32bit);
  B->SetHandleType(bmDIB);
  B->SetSize(W, H);
  for (int Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<Byte*>(B->ScanLine(Y));
    for (int X = 0; X < W; ++X) {
      Byte* P = Row + X * 4;
      P[0] = Byte(10 + X * 40);
      P[1] = Byte(20 + Y * 60);
      P[2] = Byte(30 + X * 7 + Y * 3);
      P[3] = Byte((X + Y * W) * 255 / (W * H - 1));
    }
  }
  B->Changed(B.get());
  return B;
}

std::vector<Byte> Pixels32(TBitmap* B) {
  std::vector<Byte> R;
  for (int Y = 0; Y < B->Height(); ++Y) {
    auto* Row = static_cast<const Byte*>(B->ScanLine(Y));
    R.insert(R.end(), Row, Row + B->Width() * 4);
  }
  return R;
}

HGLOBAL GlobalCopy(const void* Data, size_t Size) {
  HGLOBAL G = GlobalAlloc(GMEM_MOVEABLE, Size);
  std::memcpy(GlobalLock(G), Data, Size);
  GlobalUnlock(G);
  return G;
}

}  // namespace

TEST_F(ClipboardTest, TextRoundTripsWithChineseAndOtherScripts) {
  const String Texts[] = {u"图像编辑器 Lumigra", u"Ünïcödé — ✓ текст", u"", u"line1\r\nline2"};
  for (const String& T : Texts) {
    Clipboard()->SetAsText(T);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(ToUtf8(Clipboard()->AsText()), ToUtf8(T));
  }
  // What another program reads.
  Clipboard()->SetAsText(u"图像");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE H = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(H, nullptr);
  EXPECT_EQ(ToUtf8(String(static_cast<const Char*>(GlobalLock(H)))), ToUtf8(u"图像"));
  GlobalUnlock(H);
  CloseClipboard();
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(Clipboard()->AsText(), u"");
}

TEST_F(ClipboardTest, NestedOpenClosesOnlyAtTheOutermostClose) {
  Clipboard()->Open();
  Clipboard()->Open();
  EXPECT_NE(GetOpenClipboardWindow(), nullptr);
  // Within one opening the content is emptied once: both formats stay.
  Clipboard()->SetAsText(u"both");
  std::unique_ptr<TBitmap> B = AlphaBitmap(2, 2);
  Clipboard()->Assign(B.get());
  Clipboard()->Close();
  EXPECT_TRUE(Clipboard()->IsOpen());
  EXPECT_NE(GetOpenClipboardWindow(), nullptr);
  Clipboard()->Close();
  EXPECT_FALSE(Clipboard()->IsOpen());
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
  // A fresh opening empties again.
  Clipboard()->SetAsText(u"alone");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_DIB));
  Clipboard()->Close();  // unbalanced: ignored
  EXPECT_FALSE(Clipboard()->IsOpen());
}

TEST_F(ClipboardTest, A32BitBitmapKeepsItsAlphaBothWays) {
  std::unique_ptr<TBitmap> Src = AlphaBitmap(5, 3);
  Clipboard()->Assign(Src.get());
  EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_DIBV5));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));

  // The DIBs as another program sees them: 32 bits, bottom-up, alpha kept;
  // the V5 header names the alpha mask.
  ASSERT_TRUE(OpenClipboard(nullptr));
  {
    HANDLE H = GetClipboardData(CF_DIB);
    ASSERT_NE(H, nullptr);
    auto* Hd = static_cast<const BITMAPINFOHEADER*>(GlobalLock(H));
    EXPECT_EQ(Hd->biBitCount, 32);
    EXPECT_EQ(Hd->biWidth, 5);
    EXPECT_EQ(Hd->biHeight, 3);
    const Byte* Bits = reinterpret_cast<const Byte*>(Hd) + Hd->biSize + (Hd->biCompression == BI_BITFIELDS ? 12 : 0);
    const Byte* Top = static_cast<const Byte*>(Src->ScanLine(0));
    EXPECT_EQ(std::memcmp(Bits + 2 * 5 * 4, Top, 5 * 4), 0);  // the last stored row is the top one
    GlobalUnlock(H);
    HANDLE V = GetClipboardData(CF_DIBV5);
    ASSERT_NE(V, nullptr);
    auto* V5 = static_cast<const BITMAPV5HEADER*>(GlobalLock(V));
    EXPECT_EQ(V5->bV5BitCount, 32);
    EXPECT_EQ(V5->bV5AlphaMask, 0xFF000000u);
    GlobalUnlock(V);
  }
  CloseClipboard();

  TBitmap Back;
  Clipboard()->AssignTo(&Back);
  EXPECT_EQ(Back.Width(), 5);
  EXPECT_EQ(Back.Height(), 3);
  EXPECT_EQ(Back.PixelFormat(), pf32bit);
  EXPECT_EQ(Pixels32(&Back), Pixels32(Src.get()));

  // Through pictures too.
  TPicture P;
  P.Assign(Clipboard());
  ASSERT_NE(dynamic_cast<TBitmap*>(P.Graphic()), nullptr);
  EXPECT_EQ(Pixels32(P.Bitmap()), Pixels32(Src.get()));
  TPicture Out;
  Out.Bitmap()->Assign(Src.get());
  Clipboard()->Clear();
  Clipboard()->Assign(&Out);
  TBitmap Again;
  Again.Assign(Clipboard());
  EXPECT_EQ(Pixels32(&Again), Pixels32(Src.get()));
}

TEST_F(ClipboardTest, A24BitBitmapRoundTrips) {
  TBitmap Src;
  Src.SetPixelFormat(pf24bit);
  Src.SetSize(4, 3);
  Src.Canvas()->Brush()->SetColor(clBlue);
  Src.Canvas()->FillRect(TRect(0, 0, 4, 3));
  Src.Canvas()->SetPixels(0, 0, clRed);
  Src.Canvas()->SetPixels(3, 2, clLime);
  Clipboard()->Assign(&Src);
  TBitmap Back;
  Clipboard()->AssignTo(&Back);
  ASSERT_EQ(Back.Width(), 4);
  ASSERT_EQ(Back.Height(), 3);
  EXPECT_EQ(Back.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(Back.Canvas()->Pixels(3, 2), clLime);
  EXPECT_EQ(Back.Canvas()->Pixels(1, 1), clBlue);
}

TEST_F(ClipboardTest, ABitmapHandleAloneIsRead) {
  TBitmap Src;
  Src.SetPixelFormat(pf24bit);
  Src.SetSize(3, 2);
  Src.Canvas()->Brush()->SetColor(clYellow);
  Src.Canvas()->FillRect(TRect(0, 0, 3, 2));
  Src.Canvas()->SetPixels(2, 1, clNavy);
  HBITMAP Copy = static_cast<HBITMAP>(CopyImage(Src.Handle(), IMAGE_BITMAP, 0, 0, 0));
  Clipboard()->SetAsHandle(CF_BITMAP, Copy);
  EXPECT_EQ(Clipboard()->GetAsHandle(CF_BITMAP), Copy);
  TBitmap Back;
  Clipboard()->AssignTo(&Back);
  ASSERT_EQ(Back.Width(), 3);
  EXPECT_EQ(Back.Canvas()->Pixels(0, 0), clYellow);
  EXPECT_EQ(Back.Canvas()->Pixels(2, 1), clNavy);
}

TEST_F(ClipboardTest, NoOrBrokenBitmapRaisesAndLeavesTheTargetAlone) {
  Clipboard()->SetAsText(u"no picture");
  TPicture P;
  P.Bitmap()->SetSize(7, 7);
  EXPECT_THROW(P.Assign(Clipboard()), EInvalidGraphic);
  EXPECT_EQ(P.Width(), 7);

  // A DIB header announcing more pixels than the block holds.
  BITMAPINFOHEADER H = {};
  H.biSize = sizeof(H);
  H.biWidth = 1000;
  H.biHeight = 1000;
  H.biPlanes = 1;
  H.biBitCount = 32;
  std::vector<Byte> Block(sizeof(H) + 64, 0);
  std::memcpy(Block.data(), &H, sizeof(H));
  Clipboard()->SetAsHandle(CF_DIB, GlobalCopy(Block.data(), Block.size()));
  EXPECT_THROW(P.Assign(Clipboard()), EInvalidGraphic);
  EXPECT_EQ(P.Width(), 7);
  // Nonsense header sizes too.
  H.biSize = 0x7FFFFFFF;
  std::memcpy(Block.data(), &H, sizeof(H));
  Clipboard()->SetAsHandle(CF_DIB, GlobalCopy(Block.data(), Block.size()));
  EXPECT_THROW(P.Assign(Clipboard()), EInvalidGraphic);
  EXPECT_FALSE(Clipboard()->IsOpen());
}

TEST_F(ClipboardTest, HandlesOfAnyFormat) {
  const UINT Fmt = RegisterClipboardFormatW(reinterpret_cast<const WCHAR*>(u"Lumigra test format"));
  const char Data[] = "payload";
  Clipboard()->SetAsHandle(Fmt, GlobalCopy(Data, sizeof(Data)));
  EXPECT_TRUE(Clipboard()->HasFormat(Fmt));
  HANDLE H = Clipboard()->GetAsHandle(Fmt);
  ASSERT_NE(H, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(H)), "payload");
  GlobalUnlock(H);
  EXPECT_EQ(Clipboard()->GetAsHandle(CF_UNICODETEXT), nullptr);
}

TEST_F(ClipboardTest, FileListsAreWideAndRoundTrip) {
  const std::vector<String> Names = {u"C:\\users\\图片\\相册 1.png", u"C:\\Данные\\ünïcode.jpg", u"C:\\plain.bmp"};
  Clipboard()->SetFiles(Names);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_HDROP));
  EXPECT_EQ(Clipboard()->Files(), Names);

  // The block: a DROPFILES header with fWide set, read by the shell too.
  ASSERT_TRUE(OpenClipboard(nullptr));
  HDROP Drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  ASSERT_NE(Drop, nullptr);
  auto* D = static_cast<const DROPFILES*>(GlobalLock(Drop));
  EXPECT_EQ(D->pFiles, DWORD(sizeof(DROPFILES)));
  EXPECT_TRUE(D->fWide);
  GlobalUnlock(Drop);
  ASSERT_EQ(DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0), UINT(Names.size()));
  for (UINT I = 0; I < Names.size(); ++I) {
    WCHAR Buf[MAX_PATH] = {};
    DragQueryFileW(Drop, I, Buf, MAX_PATH);
    EXPECT_EQ(ToUtf8(String(reinterpret_cast<const Char*>(Buf))), ToUtf8(Names[I]));
  }
  CloseClipboard();

  // An ANSI list written by another program reads as well.
  const char List[] = "C:\\a.txt\0C:\\dir\\b.png\0";
  std::vector<Byte> Block(sizeof(DROPFILES) + sizeof(List), 0);
  auto* A = reinterpret_cast<DROPFILES*>(Block.data());
  A->pFiles = sizeof(DROPFILES);
  A->fWide = FALSE;
  std::memcpy(Block.data() + sizeof(DROPFILES), List, sizeof(List));
  Clipboard()->SetAsHandle(CF_HDROP, GlobalCopy(Block.data(), Block.size()));
  EXPECT_EQ(Clipboard()->Files(), (std::vector<String>{u"C:\\a.txt", u"C:\\dir\\b.png"}));

  // A list offset past the block reads as nothing.
  A->pFiles = 5000;
  Clipboard()->SetAsHandle(CF_HDROP, GlobalCopy(Block.data(), Block.size()));
  EXPECT_TRUE(Clipboard()->Files().empty());
  Clipboard()->Clear();
  EXPECT_TRUE(Clipboard()->Files().empty());
}

TEST_F(ClipboardTest, OtherGraphicsAreDrawnOverWhite) {
  std::vector<Byte> AndBits(32 * 4, 0x00), XorBits(32 * 4, 0x00);
  // AND mask: the left half transparent (1 bits), the right half opaque black.
  for (int Y = 0; Y < 32; ++Y) AndBits[Y * 4] = AndBits[Y * 4 + 1] = 0xFF;
  HICON H = CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 1, AndBits.data(), XorBits.data());
  ASSERT_NE(H, nullptr);
  TIcon Icon;
  Icon.SetHandle(H);
  Clipboard()->Assign(&Icon);
  TBitmap Back;
  Clipboard()->AssignTo(&Back);
  ASSERT_EQ(Back.Width(), 32);
  EXPECT_EQ(Back.Canvas()->Pixels(2, 2), clWhite);
  EXPECT_EQ(Back.Canvas()->Pixels(30, 2), clBlack);
}
