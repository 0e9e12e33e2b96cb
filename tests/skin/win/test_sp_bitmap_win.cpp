// The alpha bitmap TspBitmap (life cycle, streams, assignment, drawing onto
// bitmaps and device contexts, tiling) and the effect bitmap's platform side.
#include "SkinToolkitTestUtil.h"

#include <cstring>
#include <functional>

#include "classlib/Clipbrd.h"
#include "skin/data/win/SpEffBmp.h"

using namespace sppix;

namespace {

using namespace sptest;

TEST(SpBitmap, SizeRules) {
  TspBitmap B;
  EXPECT_TRUE(B.Empty());
  B.SetSize(-20, 10);
  EXPECT_EQ(B.Width(), 20);
  EXPECT_EQ(B.Height(), 10);
  B.SetSize(0, 10);
  EXPECT_EQ(B.Width(), 20);
  B.SetPixel(3, 4, 0x11223344u);
  B.SetSize(20, 10);  // the same size keeps the pixels
  EXPECT_EQ(B.GetPixel(3, 4), 0x11223344u);
  B.SetSize(21, 10);  // another size: zeroed
  EXPECT_EQ(B.GetPixel(3, 4), 0u);
  EXPECT_EQ(B.GetPixel(-1, 0), 0u);
  EXPECT_EQ(B.GetPixel(21, 0), 0u);
  TCanvas* C = B.Canvas();
  B.SetSize(5, 5);
  EXPECT_EQ(C->Handle(), B.DC());  // the canvas follows the new DC
}

TEST(SpBitmap, HugeSizeRaisesAndLeavesNothingToWriteThrough) {
  TspBitmap B;
  B.SetSize(8, 8);
  EXPECT_THROW(B.SetSize(1 << 20, 1 << 20), EOutOfResources);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.Width(), 0);
  EXPECT_EQ(B.Height(), 0);
  // Whole-bitmap routines do nothing on it (the address sanitizer of the
  // native build covers the cores; here nothing may crash).
  StackBlurBitmap(&B, 3);
  TspBitmap M;
  M.SetSize(4, 4);
  AlphaFromGrayBitmap(&B, &M);
  B.FlipVert();
  B.Reflection();
  B.ChangeBitmapHue(10);
  B.CheckRGBA();
  B.Clear(0xFFFFFFFFu);
  EXPECT_EQ(FindBitmapByDC(nullptr), nullptr);
}

TEST(SpBitmap, ListedByDCUntilDestroyed) {
  std::vector<HDC> DCs;
  {
    TspBitmap B;
    for (Integer s : {3, 4, 5}) {
      B.SetSize(s, s);
      DCs.push_back(B.DC());
      EXPECT_EQ(FindBitmapByDC(B.DC()), &B);
    }
  }
  for (HDC D : DCs) EXPECT_EQ(FindBitmapByDC(D), nullptr);
}

TEST(SpBitmap, StreamRoundTripAndBadStreams) {
  TspBitmap A;
  A.SetSize(3, 2);
  for (Integer i = 0; i < 6; ++i) A.Bits()[i] = 0x01020304u * Cardinal(i + 1);
  A.SetName(u"caf\u00E9\u4E2D");
  TMemoryStream S;
  A.SaveToStream(&S);
  S.SetPosition(0);
  TspBitmap B;
  B.LoadFromStream(&S);
  EXPECT_EQ(B.Name(), u"caf\u00E9?");  // one byte a character
  EXPECT_EQ(B.Width(), 3);
  EXPECT_EQ(std::memcmp(A.Bits(), B.Bits(), 24), 0);
  EXPECT_EQ(S.Position(), S.Size());

  auto Stream = [](Integer N, Integer W, Integer H, Integer Pixels) {
    auto* M = new TMemoryStream();
    M->WriteBuffer(&N, 4);
    for (Integer i = 0; i < (N > 0 ? N : 0) && i < 4; ++i) M->WriteBuffer("n", 1);
    M->WriteBuffer(&W, 4);
    M->WriteBuffer(&H, 4);
    for (Integer i = 0; i < Pixels; ++i) {
      const Cardinal P = 0xA0000000u + Cardinal(i);
      M->WriteBuffer(&P, 4);
    }
    M->SetPosition(0);
    return M;
  };
  // Height -2: rows stored bottom-up.
  std::unique_ptr<TMemoryStream> Up(Stream(1, 1, -2, 2));
  TspBitmap C;
  C.LoadFromStream(Up.get());
  EXPECT_EQ(C.GetPixel(0, 0), 0xA0000001u);
  EXPECT_EQ(C.GetPixel(0, 1), 0xA0000000u);
  // A negative width reads its pixels too: the stream stays aligned.
  std::unique_ptr<TMemoryStream> Neg(Stream(1, -2, 1, 2));
  C.LoadFromStream(Neg.get());
  EXPECT_EQ(C.Width(), 2);
  EXPECT_EQ(C.GetPixel(1, 0), 0xA0000001u);
  EXPECT_EQ(Neg->Position(), Neg->Size());
  // A name length or pixel count beyond the stream: the read error, the
  // bitmap unchanged.
  for (auto* Bad : {Stream(1000, 1, 1, 1), Stream(-1, 1, 1, 1), Stream(1, 4, 4, 3), Stream(1, 0x40000000, 4, 1)}) {
    std::unique_ptr<TMemoryStream> Own(Bad);
    TspBitmap D;
    D.SetSize(2, 2);
    D.SetName(u"keep");
    EXPECT_THROW(D.LoadFromStream(Own.get()), EReadError);
    EXPECT_EQ(D.Name(), u"keep");
    EXPECT_EQ(D.Width(), 2);
  }
}

TEST(SpBitmap, PcxHeadersThatDoNotFitAreRefused) {
  Byte H[128] = {};
  H[0] = 10;
  H[1] = 5;
  H[2] = 1;
  H[8] = 9;   // Xmax 9: width 10
  H[10] = 1;  // Ymax 1
  H[65] = 1;
  H[66] = 4;  // 4 bytes a line: narrower than the width
  TMemoryStream S;
  S.WriteBuffer(H, 128);
  S.SetPosition(0);
  TspBitmap B;
  B.SetSize(3, 3);
  B.LoadFromPcxStream(&S);
  EXPECT_EQ(B.Width(), 3);
  // Inverted extent.
  H[8] = 0;
  H[4] = 5;
  TMemoryStream T;
  T.WriteBuffer(H, 128);
  T.SetPosition(0);
  B.LoadFromPcxStream(&T);
  EXPECT_EQ(B.Width(), 3);
  // A small good image: 2 x 1, run-length coded, palette 0 = red, 1 = blue.
  H[4] = 0;
  H[8] = 1;
  H[10] = 0;
  H[66] = 2;
  TMemoryStream G;
  G.WriteBuffer(H, 128);
  const Byte Data[] = {0, 1};
  G.WriteBuffer(Data, 2);
  Byte Pal[769] = {12};
  Pal[1] = 255;      // entry 0 red
  Pal[1 + 5] = 255;  // entry 1 blue
  G.WriteBuffer(Pal, 769);
  G.SetPosition(0);
  B.LoadFromPcxStream(&G);
  ASSERT_EQ(B.Width(), 2);
  EXPECT_EQ(B.GetPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(B.GetPixel(1, 0), 0xFF0000FFu);
}

TEST(SpBitmap, AssignFromClassLibraryBitmaps) {
  // A GDI-drawn 32-bit DIB has alpha 0 everywhere: taken as it is, no blending.
  TBitmap Drawn;
  Drawn.SetPixelFormat(pf32bit);
  Drawn.SetSize(4, 3);
  Drawn.Canvas()->Brush()->SetColor(clRed);
  Drawn.Canvas()->FillRect(TRect(0, 0, 4, 3));
  TspBitmap B;
  B.Assign(&Drawn);
  EXPECT_EQ(B.GetPixel(1, 1), 0x00FF0000u);
  EXPECT_FALSE(B.AlphaBlend());
  static_cast<Cardinal*>(Drawn.ScanLine(0))[0] = 0x80FF0000u;
  B.Assign(&Drawn);
  EXPECT_TRUE(B.AlphaBlend());
  // Any other bitmap comes in opaque.
  TBitmap Dev;
  Dev.SetSize(2, 2);
  Dev.Canvas()->Brush()->SetColor(clBlue);
  Dev.Canvas()->FillRect(TRect(0, 0, 2, 2));
  B.Assign(&Dev);
  EXPECT_EQ(B.GetPixel(1, 1), 0xFF0000FFu);
  TspBitmap Copy;
  B.SetName(u"n");
  B.SetTransparent(true);
  Copy.Assign(&B);
  EXPECT_EQ(Copy.Name(), u"n");
  EXPECT_TRUE(Copy.Transparent());
  EXPECT_EQ(Copy.GetPixel(0, 0), 0xFF0000FFu);
}

TEST(SpBitmap, DrawOntoAnotherBitmapHonoursItsWindowOrigin) {
  TspBitmap Src, Dst;
  Src.SetSize(10, 10);
  Src.Clear(0xFF123456u);
  Dst.SetSize(30, 10);
  SetWindowOrgEx(Dst.DC(), 10, 0, nullptr);
  Src.Draw(Dst.DC(), TRect(10, 0, 20, 10), TRect(0, 0, 10, 10));
  SetWindowOrgEx(Dst.DC(), 0, 0, nullptr);
  EXPECT_EQ(Dst.GetPixel(0, 5), 0xFF123456u);
  EXPECT_EQ(Dst.GetPixel(9, 5), 0xFF123456u);
  EXPECT_EQ(Dst.GetPixel(10, 5), 0u);
}

TEST(SpBitmap, KeyedAndBlendedDrawingOntoADeviceContext) {
  // Key pixels drawn by a user with alpha 255 (not by CheckingTransparent):
  // the key still compares the colour only, on both device-context paths.
  TspBitmap Src;
  Src.SetSize(2, 1);
  Src.Bits()[0] = 0xFF7F007Fu;
  Src.Bits()[1] = 0xFF00FF00u;
  Src.SetTransparent(true);
  std::unique_ptr<TBitmap> A(WhiteBitmap(2, 1)), B(WhiteBitmap(2, 1));
  Src.Draw(A->Canvas(), 0, 0);  // TransparentBlt through a 24-bit copy
  EXPECT_EQ(Rgb(A.get(), 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Rgb(A.get(), 1, 0), 0x00FF00u);
  Src.SetTransparent(false);
  Src.SetAlphaBlend(true);
  Src.Bits()[0] = 0x00FFFFFFu;  // alpha 0 blends nothing
  Src.Bits()[1] = 0x80000000u;
  Src.Draw(B->Canvas(), 0, 0);
  EXPECT_EQ(Rgb(B.get(), 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Rgb(B.get(), 1, 0), BlendPixel(0x80000000u, 0xFFFFFFFFu) & 0xFFFFFF);
}

TEST(SpBitmap, TileOntoSectionsOfBothRowOrders) {
  TspBitmap Src;
  Src.SetSize(10, 10);
  for (Integer y = 0; y < 10; ++y)
    for (Integer x = 0; x < 10; ++x) Src.SetPixel(x, y, 0xFF000000u | Numbered(x, y));
  // A bottom-up 32-bit class-library bitmap takes the direct path; a
  // top-down section (TspBitmap's own kind, through a plain DC) the DC path.
  std::unique_ptr<TBitmap> Bottom(WhiteBitmap(25, 10));
  Src.Tile(Bottom->Canvas(), TRect(0, 0, 25, 10), TRect(0, 0, 10, 10));
  void* Bits = nullptr;
  HBITMAP TopDown = CreateDIB32(25, 10, &Bits);
  HDC Mem = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Mem, TopDown);
  Src.Tile(Mem, TRect(0, 0, 25, 10), TRect(0, 0, 10, 10));
  GdiFlush();
  for (Integer y = 0; y < 10; ++y)
    for (Integer x = 0; x < 25; ++x) {
      ASSERT_EQ(Rgb(Bottom.get(), x, y), Numbered(x % 10, y)) << x << "," << y;
      ASSERT_EQ(static_cast<Cardinal*>(Bits)[y * 25 + x] & 0xFFFFFF, Numbered(x % 10, y)) << x << "," << y;
    }
  SelectObject(Mem, Old);
  DeleteDC(Mem);
  DeleteObject(TopDown);
}

TEST(SpBitmap, LinkZonesAndParsing) {
  TspBitmap Img;
  Img.SetSize(40, 50);
  Img.Clear(0xFF000000u);
  Img.SetPixel(29, 39, 0x00000000u);
  std::unique_ptr<TspBitmapLink> L(Img.GetBitmapLink(u"20, 30, 30, 40"));
  EXPECT_EQ(L->Rect(), TRect(20, 30, 30, 40));
  L->CheckingMasked(TRect(2, 2, 2, 2));
  EXPECT_TRUE(L->MaskedAngles());
  EXPECT_FALSE(L->MaskedBorder());
  EXPECT_FALSE(L->Masked());
  Img.SetPixel(29, 39, 0x33333333u);
  L->CheckingMasked();
  EXPECT_FALSE(L->Masked());
  EXPECT_EQ(ParseRectString(u"5,6,7,8"), TRect(5, 6, 7, 8));
  EXPECT_EQ(ParseRectString(u"10 20 30 40"), TRect(10, 20, 30, 40));
  EXPECT_EQ(ParseRectString(u"5,6,x,8"), TRect());
  EXPECT_EQ(ParseRectString(u"(1,2,3,4)"), TRect());
  TspBitmapLink Empty;
  EXPECT_FALSE(Empty.Assigned());
}

TEST(SpEffectBitmap, FromClassLibraryBitmapsAndDrawing) {
  TBitmap B32;
  B32.SetPixelFormat(pf32bit);
  B32.SetSize(3, 2);
  static_cast<Cardinal*>(B32.ScanLine(1))[2] = 0x80123456u;
  B32.Canvas();  // selected in its canvas while read
  std::unique_ptr<TspEffectBmp> E(TspEffectBmp::CreateFromhWnd(B32.Handle()));
  EXPECT_EQ(E->Width(), 3);
  EXPECT_EQ(E->GetPixel(2, 1), 0x123456u);
  TBitmap B8;
  B8.SetPixelFormat(pf8bit);
  B8.SetSize(2, 2);
  B8.Canvas()->Brush()->SetColor(clRed);
  B8.Canvas()->FillRect(TRect(0, 0, 2, 2));
  std::unique_ptr<TspEffectBmp> F(TspEffectBmp::CreateFromhWnd(B8.Handle()));
  EXPECT_EQ(F->GetPixel(1, 1), 0xFF0000u);
  // Draw honours the viewport origin of the target.
  std::unique_ptr<TBitmap> T(WhiteBitmap(8, 8));
  SetViewportOrgEx(T->Canvas()->Handle(), 2, 3, nullptr);
  F->Draw(T->Canvas()->Handle(), 1, 1);
  SetViewportOrgEx(T->Canvas()->Handle(), 0, 0, nullptr);
  EXPECT_EQ(Rgb(T.get(), 3, 4), 0xFF0000u);
  EXPECT_EQ(Rgb(T.get(), 2, 3), 0xFFFFFFu);
  EXPECT_THROW(TspEffectBmp(0, 5), EOutOfMemory);
  EXPECT_THROW(TspEffectBmp(1 << 20, 1 << 20), EOutOfMemory);
}

// Every transition and inactive effect on a picture of odd width (padded
// rows), drawn onto a device context: the drawn pixels are the effect
// bitmap's own, nothing beside them is touched. The pictures are saved for
// review.
TEST(SpEffectBitmap, TransitionsAndEffectsDrawnOntoADeviceContext) {
  constexpr Integer W = 61, H = 40;
  auto Make = [](bool Second) {
    auto* E = new TspEffectBmp(W, H);
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x)
        E->SetPixel(x, y,
                    Second ? (((x / 8 + y / 8) & 1) ? 0xF0A030u : 0x803010u)
                           : (Cardinal(40 + x * 3) << 8) | Cardinal(60 + y * 4) | ((y % 10 < 2) ? 0xE00000u : 0u));
    return E;
  };
  std::unique_ptr<TspEffectBmp> From(Make(false)), To(Make(true));
  struct Case {
    const char16_t* Name;
    std::function<void(TspEffectBmp*)> Apply;
  } Cases[] = {
      {u"from", [](TspEffectBmp*) {}},
      {u"to", [&](TspEffectBmp* E) { E->Morph(To.get(), 1); }},
      {u"morph", [&](TspEffectBmp* E) { E->Morph(To.get(), 0.5); }},
      {u"morph_hgrad", [&](TspEffectBmp* E) { E->MorphHGrad(To.get(), 0.5); }},
      {u"morph_vgrad", [&](TspEffectBmp* E) { E->MorphVGrad(To.get(), 0.5); }},
      {u"morph_grad", [&](TspEffectBmp* E) { E->MorphGrad(To.get(), 0.5); }},
      {u"morph_left_grad", [&](TspEffectBmp* E) { E->MorphLeftGrad(To.get(), 0.5); }},
      {u"morph_right_grad", [&](TspEffectBmp* E) { E->MorphRightGrad(To.get(), 0.5); }},
      {u"morph_push", [&](TspEffectBmp* E) { E->MorphPush(To.get(), 0.5); }},
      {u"morph_left_slide", [&](TspEffectBmp* E) { E->MorphLeftSlide(To.get(), 0.5); }},
      {u"morph_right_slide", [&](TspEffectBmp* E) { E->MorphRightSlide(To.get(), 0.5); }},
      {u"brightness", [](TspEffectBmp* E) { E->ChangeBrightness(0.5); }},
      {u"darkness", [](TspEffectBmp* E) { E->ChangeDarkness(0.5); }},
      {u"grayscale", [](TspEffectBmp* E) { E->GrayScale(); }},
      {u"invert", [](TspEffectBmp* E) { E->Invert(); }},
      {u"split_blur", [](TspEffectBmp* E) { E->SplitBlur(2); }},
  };
  for (const Case& C : Cases) {
    std::unique_ptr<TspEffectBmp> E(TspEffectBmp::CreateCopy(From.get()));
    C.Apply(E.get());
    std::unique_ptr<TBitmap> T(WhiteBitmap(W + 6, H + 4));
    E->Draw(T->Canvas()->Handle(), 3, 2);
    SaveReviewPicture(String(u"effect_") + C.Name, T.get());
    const std::vector<Cardinal> P = PixelsOf(T.get());
    ASSERT_EQ(P.size(), size_t(W + 6) * (H + 4));
    Integer Wrong = 0;
    for (Integer y = 0; y < H + 4; ++y)
      for (Integer x = 0; x < W + 6; ++x) {
        const bool In = x >= 3 && x < W + 3 && y >= 2 && y < H + 2;
        const Cardinal Want = In ? E->GetPixel(x - 3, y - 2) : 0xFFFFFFu;
        if ((P[size_t(y) * (W + 6) + size_t(x)] & 0xFFFFFF) != Want) ++Wrong;
      }
    EXPECT_EQ(Wrong, 0) << String(C.Name).size();
  }
  // The push of half the width (30 columns, rounded half to even) on the
  // section's own rows: the new picture's right end enters at the left, the
  // old picture moves right by 31 columns.
  std::unique_ptr<TspEffectBmp> Half(TspEffectBmp::CreateCopy(From.get()));
  Half->MorphPush(To.get(), 0.5);
  for (Integer y : {0, H - 1}) {
    EXPECT_EQ(Half->GetPixel(0, y), To->GetPixel(30, y));
    EXPECT_EQ(Half->GetPixel(30, y), To->GetPixel(60, y));
    EXPECT_EQ(Half->GetPixel(31, y), From->GetPixel(0, y));
    EXPECT_EQ(Half->GetPixel(W - 1, y), From->GetPixel(29, y));
  }
}

// TileClip: the tiles of Tile, cut at DstRect's right and bottom; a clip
// chooses the tiles it meets and each is drawn whole; an empty clip draws
// them all. Onto another skin bitmap and onto a device context alike.
TEST(SpBitmap, TileClipDrawsTheTilesItsClipMeets) {
  TspBitmap Src;
  Src.SetSize(10, 10);
  for (Integer y = 0; y < 10; ++y)
    for (Integer x = 0; x < 10; ++x) Src.SetPixel(x, y, 0xFF000000u | Numbered(x, y));
  // DstRect (2, 3, 27, 18): tile columns at 2, 12, 22 (the last 5 wide),
  // rows at 3, 13 (the last 5 high).
  const TRect DstRect(2, 3, 27, 18);
  const TRect TileAt[6] = {TRect(2, 3, 12, 13),  TRect(12, 3, 22, 13),  TRect(22, 3, 27, 13),
                           TRect(2, 13, 12, 18), TRect(12, 13, 22, 18), TRect(22, 13, 27, 18)};
  struct Case {
    const char* Name;
    TRect Clip;
    std::vector<int> Tiles;  // indexes into TileAt
  } Cases[] = {
      {"empty clip: all", TRect(), {0, 1, 2, 3, 4, 5}},
      {"one pixel inside a tile", TRect(13, 5, 14, 6), {1}},
      {"across two tiles", TRect(20, 14, 24, 15), {4, 5}},
      {"the cut corner tile", TRect(25, 16, 26, 17), {5}},
      {"outside every tile", TRect(30, 0, 35, 5), {}},
      {"touching a tile's edge only", TRect(12, 0, 22, 3), {}},
  };
  auto Expect = [&](const Case& C, auto PixelAt) {
    for (Integer y = 0; y < 24; ++y)
      for (Integer x = 0; x < 34; ++x) {
        Cardinal Want = 0xABCDEF;
        for (int t : C.Tiles)
          if (x >= TileAt[t].Left && x < TileAt[t].Right && y >= TileAt[t].Top && y < TileAt[t].Bottom)
            Want = Numbered((x - DstRect.Left) % 10, (y - DstRect.Top) % 10);
        ASSERT_EQ(PixelAt(x, y), Want) << C.Name << " at " << x << "," << y;
      }
  };
  for (const Case& C : Cases) {
    TspBitmap Bmp;
    Bmp.SetSize(34, 24);
    Bmp.Clear(0xFFABCDEFu);
    Src.TileClip(&Bmp, DstRect, C.Clip, TRect(0, 0, 10, 10));
    Expect(C, [&](Integer x, Integer y) { return Bmp.GetPixel(x, y) & 0xFFFFFF; });
    std::unique_ptr<TBitmap> Dev(WhiteBitmap(34, 24));
    Dev->Canvas()->Brush()->SetColor(TColor(0xEFCDAB));
    Dev->Canvas()->FillRect(TRect(0, 0, 34, 24));
    Src.TileClip(Dev->Canvas(), DstRect, C.Clip, TRect(0, 0, 10, 10));
    Expect(C, [&](Integer x, Integer y) { return Rgb(Dev.get(), x, y); });
  }
}

// The clipboard receives what the picture shows over white, opaque, for
// opaque, blended and keyed skin bitmaps alike, read back as the program's
// own paste reads it.
TEST(SpBitmap, CopiedToTheClipboardAsItShows) {
  const Cardinal Green = 0xFF00FF00u;
  struct Case {
    const char* Name;
    Cardinal First;
    bool AlphaBlend, Transparent;
    Cardinal Shows;  // the first pixel over white
  } Cases[] = {
      {"opaque", 0xFF112233u, false, false, 0x112233u},
      {"opaque, alpha never set", 0x00112233u, false, false, 0x112233u},
      {"blended", 0x80FF0000u, true, false, BlendPixel(0x80FF0000u, 0xFFFFFFFFu) & 0xFFFFFF},
      {"keyed", 0xFF7F007Fu, false, true, 0xFFFFFFu},
  };
  for (const Case& C : Cases) {
    TspBitmap B;
    B.SetSize(2, 2);
    B.Clear(Green);
    B.Bits()[0] = C.First;
    B.SetAlphaBlend(C.AlphaBlend);
    B.SetTransparent(C.Transparent);
    Clipboard()->Assign(&B);
    TBitmap Pasted;
    Clipboard()->AssignTo(&Pasted);
    ASSERT_EQ(Pasted.Width(), 2) << C.Name;
    ASSERT_EQ(Pasted.Height(), 2) << C.Name;
    EXPECT_EQ(Rgb(&Pasted, 0, 0), C.Shows) << C.Name;
    EXPECT_EQ(Rgb(&Pasted, 1, 1), 0x00FF00u) << C.Name;
    // No transparency a reader of the clipboard's alpha would honour.
    if (Pasted.PixelFormat() == pf32bit)
      for (Integer y = 0; y < 2; ++y)
        for (Integer x = 0; x < 2; ++x)
          EXPECT_EQ(static_cast<Cardinal*>(Pasted.ScanLine(y))[x] >> 24, 255u) << C.Name << " at " << x << "," << y;
  }
  TBitmap Other;
  TspBitmap Back;
  Back.SetSize(1, 1);
  Back.Clear(0xFF445566u);
  Back.AssignTo(&Other);  // a class-library bitmap: a 32-bit copy
  EXPECT_EQ(Other.PixelFormat(), pf32bit);
  EXPECT_EQ(Rgb(&Other, 0, 0), 0x445566u);
}

// A module file with bitmap resources, made for the test from a copy of a
// system library; deleted at the end.
class TResourceModule {
 public:
  TResourceModule() {
    WCHAR Dir[MAX_PATH], Tmp[MAX_PATH], Sys[MAX_PATH];
    GetTempPathW(MAX_PATH, Dir);
    GetTempFileNameW(Dir, reinterpret_cast<LPCWSTR>(u"spr"), 0, Tmp);
    FPath = reinterpret_cast<const char16_t*>(Tmp);
    GetSystemDirectoryW(Sys, MAX_PATH);
    const String Lib = String(reinterpret_cast<const char16_t*>(Sys)) + u"\\msimg32.dll";
    FOk = CopyFileW(reinterpret_cast<LPCWSTR>(Lib.c_str()), Tmp, FALSE);
    if (FOk) FUpdate = BeginUpdateResourceW(Tmp, FALSE);
    FOk = FOk && FUpdate;
  }
  ~TResourceModule() { DeleteFileW(reinterpret_cast<LPCWSTR>(FPath.c_str())); }
  // A bitmap resource: its header (bottom-up rows), colour table and rows.
  void Add(const String& Name, Integer W, Integer H, Integer Bits, const std::vector<Cardinal>& Table,
           const std::vector<Byte>& Rows) {
    std::vector<Byte> Data(sizeof(BITMAPINFOHEADER));
    auto* Hdr = reinterpret_cast<BITMAPINFOHEADER*>(Data.data());
    Hdr->biSize = sizeof(BITMAPINFOHEADER);
    Hdr->biWidth = W;
    Hdr->biHeight = H;
    Hdr->biPlanes = 1;
    Hdr->biBitCount = WORD(Bits);
    Hdr->biClrUsed = DWORD(Table.size());
    for (Cardinal C : Table)
      for (int i = 0; i < 4; ++i) Data.push_back(Byte(C >> (8 * i)));
    Data.insert(Data.end(), Rows.begin(), Rows.end());
    FOk = FOk && UpdateResourceW(FUpdate, reinterpret_cast<LPCWSTR>(RT_BITMAP), reinterpret_cast<LPCWSTR>(Name.c_str()),
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), Data.data(), DWORD(Data.size()));
  }
  bool Finish() {
    FOk = FOk && EndUpdateResourceW(FUpdate, FALSE);
    return FOk;
  }
  const String& Path() const { return FPath; }

 private:
  String FPath;
  HANDLE FUpdate = nullptr;
  bool FOk = false;
};

std::vector<Byte> Bytes32(std::initializer_list<Cardinal> Pixels) {
  std::vector<Byte> B;
  for (Cardinal P : Pixels)
    for (int i = 0; i < 4; ++i) B.push_back(Byte(P >> (8 * i)));
  return B;
}

TEST(SpBitmap, LoadFromAModulesBitmapResources) {
  TResourceModule Module;
  // 2 x 2, rows bottom-up: the bottom row first.
  Module.Add(u"ALPHA32", 2, 2, 32, {}, Bytes32({0x10101010u, 0xFFFF0000u, 0x80402010u, 0xFF00FF00u}));
  Module.Add(u"PLAIN24", 2, 2, 24, {},
             {0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0, 0, 0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0, 0});
  Module.Add(u"PAL8", 2, 1, 8, {0x00123456u, 0x00FEDCBAu}, {1, 0, 0, 0});
  ASSERT_TRUE(Module.Finish());
  struct Case {
    const char16_t* Name;
    Integer W, H;
    std::vector<Cardinal> Pixels;  // top-down
    bool AlphaBlend;
  } Cases[] = {
      {u"ALPHA32", 2, 2, {0x80402010u, 0xFF00FF00u, 0x10101010u, 0xFFFF0000u}, true},
      {u"PLAIN24", 2, 2, {0xFFAABBCCu, 0xFFDDEEFFu, 0xFF112233u, 0xFF445566u}, false},
      {u"PAL8", 2, 1, {0xFFFEDCBAu, 0xFF123456u}, false},
  };
  for (const Case& C : Cases) {
    TspBitmap B;
    B.LoadFromResource(Module.Path(), C.Name);
    ASSERT_EQ(B.Width(), C.W) << String(C.Name).size();
    ASSERT_EQ(B.Height(), C.H);
    for (Integer i = 0; i < C.W * C.H; ++i)
      EXPECT_EQ(B.GetPixel(i % C.W, i / C.W), C.Pixels[size_t(i)]) << String(C.Name).size() << " pixel " << i;
    EXPECT_EQ(B.AlphaBlend(), C.AlphaBlend);
  }
  // A name the module lacks, or a module that cannot be loaded (the lookup
  // then goes to the program itself, which has no such bitmap): nothing
  // changes.
  for (const String& File : {Module.Path(), String(u"Z:\\no\\such\\module.dll")}) {
    TspBitmap Keep;
    Keep.SetSize(3, 1);
    Keep.Clear(0xFF010203u);
    Keep.LoadFromResource(File, u"MISSING");
    EXPECT_EQ(Keep.Width(), 3);
    EXPECT_EQ(Keep.GetPixel(2, 0), 0xFF010203u);
  }
}

}  // namespace
