// Canvas, pens, brushes and fonts: GDI's pixels through the class library.
#include "common/gtest.h"

#include <string>

#include "classlib/Graphics.h"

namespace {

// A white 32-bit bitmap of the given size.
struct WhiteBitmap {
  TBitmap B;
  WhiteBitmap(int W, int H) {
    B.SetPixelFormat(pf32bit);
    B.SetSize(W, H);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(TRect(0, 0, W, H));
  }
  Cardinal At(int X, int Y) { return static_cast<Cardinal*>(B.ScanLine(Y))[X] & 0xFFFFFF; }
  // One character per pixel: '#' black, '.' white, '?' anything else.
  std::string Map() {
    std::string S;
    for (int Y = 0; Y < B.Height(); ++Y) {
      for (int X = 0; X < B.Width(); ++X) {
        Cardinal C = At(X, Y);
        S += C == 0 ? '#' : C == 0xFFFFFF ? '.' : '?';
      }
      S += '\n';
    }
    return S;
  }
};

}  // namespace

TEST(TCanvasPrimitives, RectangleEllipseAndLinesGolden) {
  struct Case {
    const char* Name;
    void (*Draw)(TCanvas*);
    const char* Golden;
  };
  const Case Cases[] = {
      {"Rectangle excludes right and bottom", [](TCanvas* C) { C->Rectangle(1, 1, 6, 5); },
       "........\n"
       ".#####..\n"
       ".#...#..\n"
       ".#...#..\n"
       ".#####..\n"
       "........\n"},
      {"LineTo leaves out the end pixel", [](TCanvas* C) {
         C->MoveTo(0, 0);
         C->LineTo(5, 0);
         C->MoveTo(0, 2);
         C->LineTo(3, 5);
       },
       "#####...\n"
       "........\n"
       "#.......\n"
       ".#......\n"
       "..#.....\n"
       "........\n"},
      {"Polygon closes and fills", [](TCanvas* C) {
         C->Brush()->SetColor(clBlack);
         TPoint P[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
         C->Polygon(P, 4);
       },
       "........\n"
       ".#####..\n"
       ".#####..\n"
       ".#####..\n"
       ".#####..\n"
       "........\n"},
      {"Ellipse", [](TCanvas* C) { C->Ellipse(0, 0, 7, 6); },
       "..###...\n"
       ".#...#..\n"
       "#.....#.\n"
       "#.....#.\n"
       ".#...#..\n"
       "..###...\n"},
      {"FrameRect", [](TCanvas* C) {
         C->Brush()->SetColor(clBlack);
         C->FrameRect(TRect(2, 1, 6, 4));
       },
       "........\n"
       "..####..\n"
       "..#..#..\n"
       "..####..\n"
       "........\n"
       "........\n"},
  };
  for (const Case& K : Cases) {
    WhiteBitmap W(8, 6);
    W.B.Canvas()->Pen()->SetColor(clBlack);
    K.Draw(W.B.Canvas());
    EXPECT_EQ(W.Map(), K.Golden) << K.Name;
  }
}

TEST(TCanvasPrimitives, XorAndNotPensTwiceRestoreEveryByte) {
  for (TPenMode Mode : {pmXor, pmNot, pmNotXor}) {
    TBitmap B;
    B.SetPixelFormat(pf32bit);
    B.SetSize(16, 8);
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 16; ++X) static_cast<Cardinal*>(B.ScanLine(Y))[X] = 0x12345678u * Cardinal(X + 16 * Y + 1);
    std::vector<Cardinal> Before;
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 16; ++X) Before.push_back(static_cast<Cardinal*>(B.ScanLine(Y))[X]);
    TCanvas* C = B.Canvas();
    C->Pen()->SetMode(Mode);
    C->Pen()->SetColor(clAqua);
    for (int Pass = 0; Pass < 2; ++Pass) {
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(1, 1, 15, 7);
      C->MoveTo(0, 0);
      C->LineTo(15, 7);
    }
    std::vector<Cardinal> After;
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 16; ++X) After.push_back(static_cast<Cardinal*>(B.ScanLine(Y))[X]);
    EXPECT_EQ(Before, After) << "pen mode " << int(Mode);
  }
}

TEST(TCanvasText, BackgroundFollowsBrushStyle) {
  for (TBrushStyle Style : {bsSolid, bsClear}) {
    WhiteBitmap W(40, 20);
    TCanvas* C = W.B.Canvas();
    C->Font()->SetName(u"Arial");
    C->Font()->SetHeight(-12);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetColor(clRed);
    C->Brush()->SetStyle(Style);
    C->TextOut(2, 2, u"i");
    SIZE S = C->TextExtent(u"i");
    ASSERT_GT(S.cx, 0);
    // The top-left corner of the text cell holds no glyph ink.
    Cardinal Corner = W.At(2, 2);
    if (Style == bsSolid)
      EXPECT_EQ(Corner, 0xFF0000u) << "cell filled with the brush colour (red; pixels read as $RRGGBB)";
    else
      EXPECT_EQ(Corner, 0xFFFFFFu) << "transparent background";
    EXPECT_EQ(W.At(2 + S.cx + 1, 2), 0xFFFFFFu) << "nothing right of the cell";
    EXPECT_EQ(C->PenPos(), TPoint(2 + S.cx, 2));
  }
}

TEST(TCanvasText, TextRectClipsAndExtentsMeasure) {
  WhiteBitmap W(30, 20);
  TCanvas* C = W.B.Canvas();
  C->Font()->SetName(u"Arial");
  C->Font()->SetHeight(-16);
  C->Font()->SetColor(clBlack);
  C->Brush()->SetStyle(bsClear);
  C->TextRect(TRect(0, 0, 6, 20), 0, 0, u"WWWW");
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 6; X < 30; ++X) ASSERT_EQ(W.At(X, Y), 0xFFFFFFu) << X << "," << Y;
  EXPECT_EQ(C->TextWidth(u""), 0);
  EXPECT_GT(C->TextWidth(u"WW"), C->TextWidth(u"W"));
  TEXTMETRICW TM{};
  GetTextMetricsW(C->Handle(), &TM);
  EXPECT_EQ(C->TextHeight(u"W"), TM.tmHeight);
}

TEST(TFontTest, HeightAndSizeAt96Dpi) {
  struct Case {
    Integer Height;
    Integer Size;
  };
  // Size = -Height * 72 / 96, rounded half to even.
  const Case Cases[] = {{-11, 8}, {-12, 9}, {-16, 12}, {-13, 10}, {14, -10}, {-2, 2}, {-1, 1}};
  for (const Case& K : Cases) {
    TFont F;
    F.SetHeight(K.Height);
    EXPECT_EQ(F.Size(), K.Size) << "height " << K.Height;
  }
  TFont F;
  F.SetSize(9);
  EXPECT_EQ(F.Height(), -12);
  F.SetSize(8);
  EXPECT_EQ(F.Height(), -11);
}

TEST(TFontTest, ChangeFiresBeforeTheOldHandleIsDeleted) {
  TFont F;
  HFONT Old = F.Handle();
  bool WasAlive = false;
  Integer Calls = 0;
  F.SetOnChange([&](TObject*) {
    ++Calls;
    WasAlive = GetObjectType(Old) == OBJ_FONT;
  });
  F.SetName(u"Arial");
  EXPECT_EQ(Calls, 1);
  EXPECT_TRUE(WasAlive);
  EXPECT_NE(GetObjectType(Old), DWORD(OBJ_FONT));
}

TEST(TFontTest, SetHandleReadsAttributesBack) {
  LOGFONTW LF{};
  LF.lfHeight = -20;
  LF.lfWeight = FW_BOLD;
  LF.lfItalic = 1;
  LF.lfQuality = NONANTIALIASED_QUALITY;
  const char16_t Face[] = u"Arial";
  std::copy(Face, Face + 6, reinterpret_cast<char16_t*>(LF.lfFaceName));
  TFont F;
  F.SetHandle(CreateFontIndirectW(&LF));
  EXPECT_EQ(F.Height(), -20);
  EXPECT_EQ(F.Style(), TFontStyles(fsBold | fsItalic));
  EXPECT_EQ(F.Name(), u"Arial");
  EXPECT_EQ(F.Quality(), NONANTIALIASED_QUALITY);
  TFont G;
  G.Assign(&F);
  LOGFONTW Back{};
  GetObjectW(G.Handle(), sizeof(Back), &Back);
  EXPECT_EQ(Back.lfHeight, -20);
  EXPECT_EQ(Back.lfQuality, NONANTIALIASED_QUALITY);
}

TEST(TCanvasState, EventsHandleAndStretchMode) {
  TBitmap B;
  B.SetPixelFormat(pf32bit);
  B.SetSize(4, 4);
  TCanvas* C = B.Canvas();
  EXPECT_EQ(GetStretchBltMode(C->Handle()), COLORONCOLOR);
  Integer Changing = 0, Changed = 0, BitmapChanged = 0;
  C->SetOnChanging([&](TObject*) { ++Changing; });
  C->SetOnChange([&](TObject*) { ++Changed; });
  B.SetOnChange([&](TObject*) { ++BitmapChanged; });
  C->FillRect(TRect(0, 0, 2, 2));
  C->TextOut(0, 0, u"x");
  EXPECT_EQ(Changing, 2);
  EXPECT_EQ(Changed, 2);
  EXPECT_EQ(BitmapChanged, 0) << "the handlers were replaced by ours";

  // A canvas pointed at a foreign DC and back.
  TCanvas Plain;
  EXPECT_THROW(Plain.Handle(), EInvalidOperation);
  HDC Mem = CreateCompatibleDC(nullptr);
  void* Bits = nullptr;
  HBITMAP H = CreateDIB32(2, 2, &Bits);
  HGDIOBJ Old = SelectObject(Mem, H);
  Plain.SetHandle(Mem);
  Plain.Brush()->SetColor(clBlue);
  Plain.FillRect(TRect(0, 0, 2, 2));
  GdiFlush();
  EXPECT_EQ(static_cast<Cardinal*>(Bits)[0] & 0xFFFFFF, 0x0000FFu);
  Plain.SetHandle(nullptr);
  EXPECT_FALSE(Plain.HandleAllocated());
  SelectObject(Mem, Old);
  DeleteDC(Mem);
  DeleteObject(H);
}

TEST(TCanvasState, ColorToRGBResolvesSystemColours) {
  EXPECT_EQ(ColorToRGB(clBtnFace), Integer(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_LT(clWindow, 0);
}

TEST(TFontTest, PrefixFontReplacementsAreActive) {
  // Courier New (Liberation Mono in the prefix) is fixed-pitch, Arial
  // (Liberation Sans) is not: a missing replacement would fall back to one
  // proportional face for both.
  WhiteBitmap W(4, 4);
  TCanvas* C = W.B.Canvas();
  C->Font()->SetHeight(-16);
  C->Font()->SetName(u"Courier New");
  EXPECT_EQ(C->TextWidth(u"iiii"), C->TextWidth(u"WWWW"));
  C->Font()->SetName(u"Arial");
  EXPECT_LT(C->TextWidth(u"iiii"), C->TextWidth(u"WWWW"));
  // Arial at an em of 16 pixels, recorded under the project's prefix: the
  // layouts measured in tests elsewhere depend on these staying put.
  TEXTMETRICW TM{};
  GetTextMetricsW(C->Handle(), &TM);
  EXPECT_EQ(TM.tmHeight, 17);
  EXPECT_EQ(C->TextWidth(u"Hello"), 38);
}
