// Fonts, paths, regions, matrices, pens and brushes as objects; images and
// encoders.
#include "common/gtest.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <utility>

#include "tests/gdiplus/win/gdiplus_fixture.h"

// ---------------------------------------------------------------------------
// Fonts

TEST(GdiPlusFonts, InstalledFaceAndSharedGenerics) {
  EnsureGdiPlus();
  IGPFontFamily fam(new TGPFontFamily(u"Liberation Serif"));
  EXPECT_TRUE(fam->IsAvailable());
  EXPECT_EQ(fam->GetFamilyName(), u"Liberation Serif");
  EXPECT_TRUE(fam->IsStyleAvailable(FontStyleBold));
  EXPECT_GT(fam->GetEmHeight(FontStyleRegular), 0);
  EXPECT_GT(fam->GetCellAscent(FontStyleRegular), 0);
  EXPECT_EQ(TGPFontFamily::GenericSansSerif(), TGPFontFamily::GenericSansSerif());
  EXPECT_EQ(TGPStringFormat::GenericDefault(), TGPStringFormat::GenericDefault());
  EXPECT_NE(TGPFontFamily::GenericSerif()->GetNativeHandle(), nullptr);
  EXPECT_NE(TGPFontFamily::GenericMonospace()->GetNativeHandle(), nullptr);
  IGPFont font(new TGPFont(fam, 12, FontStyleItalic, UnitPixel));
  EXPECT_TRUE(font->IsAvailable());
  EXPECT_FLOAT_EQ(font->GetSize(), 12.0f);
  EXPECT_EQ(font->GetStyle(), FontStyleItalic);
  EXPECT_EQ(font->GetUnit(), UnitPixel);
  EXPECT_EQ(font->GetFamily()->GetFamilyName(), u"Liberation Serif");
  EXPECT_GT(font->GetHeight(96.0f), 12.0f);
}

// A face name no installed font has still gives a usable family and font:
// text never disappears.
TEST(GdiPlusFonts, UnknownFaceFallsBack) {
  for (const char16_t* name : {u"No Such Face Qzx 42", u"\u5fae\u8f6f\u96c5\u9ed1", u""}) {
    IGPFontFamily fam(new TGPFontFamily(name));
    EXPECT_TRUE(fam->IsAvailable());
    IGPFont font(new TGPFont(name, 20, FontStyleRegular, UnitPixel));
    EXPECT_TRUE(font->IsAvailable());
    TTestSurface s(120, 40);
    s.Draw([&](const IGPGraphics& g) {
      g->DrawString(u"Text", font, TGPRectF{2, 2, 116, 36}, nullptr, IGPBrush(new TGPSolidBrush(0xFF000000)));
      IGPFont viaFamily(new TGPFont(fam, 20, FontStyleRegular, UnitPixel));
      g->DrawString(u"Text", viaFamily, TGPPointF{60, 2}, IGPBrush(new TGPSolidBrush(0xFF000000)));
    });
    EXPECT_GT(s.CountWhere([](uint32_t c) { return Alpha(c) > 128; }, 0, 0, 60, 40), 20);
    EXPECT_GT(s.CountWhere([](uint32_t c) { return Alpha(c) > 128; }, 60, 0, 120, 40), 20);
  }
}

TEST(GdiPlusFonts, StringFormatProperties) {
  EnsureGdiPlus();
  IGPStringFormat f(new TGPStringFormat(StringFormatFlagsNoWrap, 0));
  EXPECT_EQ(f->GetFormatFlags(), StringFormatFlagsNoWrap);
  f->SetAlignment(StringAlignmentFar);
  f->SetLineAlignment(StringAlignmentCenter);
  EXPECT_EQ(f->GetAlignment(), StringAlignmentFar);
  EXPECT_EQ(f->GetLineAlignment(), StringAlignmentCenter);
  IGPStringFormat c = f->Clone();
  EXPECT_NE(c->GetNativeHandle(), f->GetNativeHandle());
  EXPECT_EQ(c->GetAlignment(), StringAlignmentFar);
  Single first = -7;
  EXPECT_EQ(f->GetTabStops(first)->GetCount(), 0);
  EXPECT_FLOAT_EQ(first, -7);  // untouched without tab stops
  f->SetTabStops(4, {10, 20});
  IGPArray<Single> tabs = f->GetTabStops(first);
  ASSERT_EQ(tabs->GetCount(), 2);
  EXPECT_FLOAT_EQ(tabs->GetItem(1), 20);
  EXPECT_FLOAT_EQ(first, 4);
}

// ---------------------------------------------------------------------------
// Paths and regions

TEST(GdiPlusPaths, FillModesAndPathData) {
  EnsureGdiPlus();
  struct TCase {
    TGPFillMode Mode;
    bool CentreFilled;
  };
  for (const TCase c : {TCase{FillModeWinding, true}, TCase{FillModeAlternate, false}}) {
    IGPGraphicsPath p(new TGPGraphicsPath(c.Mode));
    p->AddEllipse(0, 0, 20, 20);
    p->AddEllipse(0, 0, 20, 20);
    EXPECT_EQ(p->IsVisible(10, 10), c.CentreFilled) << c.Mode;
    EXPECT_EQ(p->GetFillMode(), c.Mode);
  }
  IGPGraphicsPath empty(new TGPGraphicsPath(FillModeWinding));
  EXPECT_EQ(empty->GetPathData()->GetCount(), 0);
  EXPECT_EQ(empty->GetPathPoints()->GetCount(), 0);
  IGPGraphicsPath p(new TGPGraphicsPath(FillModeWinding));
  p->AddLine(TGPPoint{1, 2}, TGPPoint{30, 40});
  p->AddLines(std::vector<TGPPoint>{{30, 40}, {50, 10}});
  IGPPathData d = p->GetPathData();
  ASSERT_GE(d->GetCount(), 3);
  EXPECT_FLOAT_EQ(d->GetPoint(0).X, 1);
  EXPECT_FLOAT_EQ(d->GetPoint(d->GetCount() - 1).Y, 10);
  TGPPointF last{};
  p->GetLastPoint(last);
  EXPECT_FLOAT_EQ(last.X, 50);
  p->Transform(nullptr);  // a nil matrix changes nothing
  EXPECT_FLOAT_EQ(p->GetPathPoints()->GetItem(0).X, 1);
  p->Transform(IGPMatrix(new TGPMatrix(1, 0, 0, 1, 5, 0)));
  EXPECT_FLOAT_EQ(p->GetPathPoints()->GetItem(0).X, 6);
  TGPRect b{};
  p->GetBounds(b);
  EXPECT_EQ(b.X, 6);
  EXPECT_EQ(b.Y, 2);
  IGPGraphicsPath clone = p->Clone();
  p->Reset();
  EXPECT_EQ(p->GetPointCount(), 0);
  EXPECT_GE(clone->GetPointCount(), 3);
}

TEST(GdiPlusRegions, PathRegionsCombinationsAndData) {
  EnsureGdiPlus();
  IGPGraphicsPath p(new TGPGraphicsPath(FillModeWinding));
  p->AddEllipse(0, 0, 20, 20);
  IGPRegion r(new TGPRegion(p));
  EXPECT_TRUE(r->IsVisible(10, 10));
  EXPECT_FALSE(r->IsVisible(1, 1));
  // Complement: the part of the rectangle outside the region.
  IGPRegion c(new TGPRegion(TGPRect{0, 0, 10, 10}));
  c->Complement(TGPRect{0, 0, 30, 10});
  EXPECT_FALSE(c->IsVisible(5, 5));
  EXPECT_TRUE(c->IsVisible(15, 5));
  EXPECT_FALSE(c->IsVisible(35, 5));
  IGPRegion inf(new TGPRegion());
  IGPBuffer data = inf->GetData();
  EXPECT_GT(data->GetSize(), 0u);
  EXPECT_NE(data->GetData(), nullptr);
  IGPRegion fromData(new TGPRegion(static_cast<const Byte*>(data->GetData()), Integer(data->GetSize())));
  TTestSurface s(4, 4);
  IGPGraphics g = TGPGraphics::FromHDC(s.Dc);
  EXPECT_TRUE(fromData->IsInfinite(g));
  TGPRect bounds{};
  r->GetBounds(bounds, g);
  EXPECT_EQ(bounds.X, 0);
  EXPECT_EQ(bounds.Width, 20);
}

TEST(GdiPlusRegions, WindowsRegionsBothWays) {
  EnsureGdiPlus();
  EXPECT_FALSE(TGPRegion::FromHRGN(nullptr));
  HBRUSH notARegion = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_FALSE(TGPRegion::FromHRGN(reinterpret_cast<HRGN>(notARegion)));
  DeleteObject(notARegion);
  HRGN a = CreateRectRgn(2, 2, 10, 6);
  HRGN b = CreateRectRgn(6, 4, 14, 12);
  CombineRgn(a, a, b, RGN_OR);
  IGPRegion r = TGPRegion::FromHRGN(a);
  ASSERT_TRUE(r);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(r->IsVisible(x, y), PtInRegion(a, x, y) != 0) << x << "," << y;
  TTestSurface s(4, 4);
  IGPGraphics g = TGPGraphics::FromHDC(s.Dc);
  HRGN back = r->GetHRGN(g);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(EqualRgn(a, back));
  DeleteObject(back);
  DeleteObject(a);
  DeleteObject(b);
}

// ---------------------------------------------------------------------------
// Matrices

TEST(GdiPlusMatrix, EdgeCases) {
  EnsureGdiPlus();
  for (Integer order : {MatrixOrderPrepend, MatrixOrderAppend}) {
    IGPMatrix m(new TGPMatrix());
    m->RotateAt(90, TGPPointF{10, 10}, order);
    TGPPointF p{20, 10};
    m->TransformPoint(p);
    EXPECT_NEAR(p.X, 10, 1e-4) << order;
    EXPECT_NEAR(p.Y, 20, 1e-4) << order;
    EXPECT_FALSE(m->IsIdentity());
    m->Reset();
    EXPECT_TRUE(m->IsIdentity());
  }
  IGPMatrix t(new TGPMatrix(1, 0, 0, 1, 5, 7));
  EXPECT_FLOAT_EQ(t->OffsetX(), 5);
  EXPECT_FLOAT_EQ(t->OffsetY(), 7);
  TGPPointF v{1, 1};
  t->TransformVector(v);
  EXPECT_FLOAT_EQ(v.X, 1);
  EXPECT_FLOAT_EQ(v.Y, 1);
  TGPPoint pi{1, 1};
  t->TransformPoint(pi);
  EXPECT_EQ(pi.X, 6);
  EXPECT_EQ(pi.Y, 8);
  IGPMatrix c = t->Clone();
  EXPECT_TRUE(c->Equals(t));
  c->Invert();
  EXPECT_FLOAT_EQ(c->OffsetX(), -5);
  IGPMatrix z(new TGPMatrix(0, 0, 0, 0, 0, 0));
  EXPECT_FALSE(z->IsInvertible());
}

TEST(GdiPlusMatrix, PenTransformScalesTheStroke) {
  TTestSurface s(40, 40);
  s.Draw([](const IGPGraphics& g) {
    IGPPen pen(new TGPPen(0xFF000000, 2));
    pen->SetTransform(IGPMatrix(new TGPMatrix(1, 0, 0, 5, 0, 0)));  // 10 pixels tall
    g->DrawLine(pen, 5, 20, 35, 20);
  });
  EXPECT_EQ(Alpha(s.At(20, 16)), 255);
  EXPECT_EQ(Alpha(s.At(20, 24)), 255);
  EXPECT_EQ(Alpha(s.At(20, 12)), 0);
}

// ---------------------------------------------------------------------------
// Pens and brushes as objects

TEST(GdiPlusPens, BrushCloneAndProperties) {
  EnsureGdiPlus();
  IGPPen pen(new TGPPen(0xFF123456, 3));
  IGPBrush b = pen->GetBrush();
  ASSERT_TRUE(b);
  EXPECT_EQ(b->GetBrushType(), BrushTypeSolidColor);
  auto* solid = dynamic_cast<TGPSolidBrush*>(b.get());
  ASSERT_NE(solid, nullptr);
  EXPECT_EQ(solid->GetColor().FArgb, 0xFF123456u);
  b = nullptr;
  EXPECT_EQ(pen->GetColor().FArgb, 0xFF123456u);
  IGPPen clone = pen->Clone();
  EXPECT_NE(clone->GetNativeHandle(), pen->GetNativeHandle());
  clone->SetWidth(9);
  EXPECT_FLOAT_EQ(pen->GetWidth(), 3);
  pen->SetLineJoin(LineJoinRound);
  EXPECT_EQ(pen->GetLineJoin(), LineJoinRound);
  IGPBrush sb(new TGPSolidBrush(0xFF00FF00));
  IGPBrush sc = sb->Clone();
  EXPECT_EQ(sc->GetBrushType(), BrushTypeSolidColor);
  EXPECT_EQ(dynamic_cast<TGPSolidBrush*>(sc.get()), nullptr);  // only the plain brush operations
  IGPLinearGradientBrush lin(new TGPLinearGradientBrush(TGPPointF{0, 0}, TGPPointF{10, 0}, 0xFF000000, 0xFFFFFFFF));
  IGPBlend blend = lin->GetBlend();
  ASSERT_TRUE(blend);
  EXPECT_GE(blend->GetCount(), 0);
  lin->SetBlend(IGPBlend(new TGPBlend({0.0f, 1.0f, 0.0f}, {0.0f, 0.5f, 1.0f})));
  EXPECT_EQ(lin->GetBlend()->GetCount(), 3);
  EXPECT_EQ(lin->GetWrapMode(), WrapModeTile);
}

// libgdiplus refuses more surround colours than the path has points (it
// accepts none of them); the array keeps the count GDI+ reported back.
TEST(GdiPlusPens, SurroundColours) {
  EnsureGdiPlus();
  IGPPathGradientBrush b(new TGPPathGradientBrush(std::vector<TGPPoint>{{0, 0}, {10, 0}, {10, 10}}));
  EXPECT_EQ(b->GetPointCount(), 3);
  IGPArray<TGPColor> three(new TGPArray<TGPColor>(3));
  for (int i = 0; i < 3; ++i) three->SetItem(i, 0xFF000000u + Cardinal(i + 1));
  b->SetSurroundColors(three);
  EXPECT_EQ(three->GetCount(), 3);
  IGPArray<TGPColor> back = b->GetSurroundColors();
  ASSERT_EQ(back->GetCount(), 3);
  EXPECT_EQ(back->GetItem(2).FArgb, 0xFF000003u);
  IGPArray<TGPColor> five(new TGPArray<TGPColor>(5));
  for (int i = 0; i < 5; ++i) five->SetItem(i, 0xFF00FF00u);
  b->SetSurroundColors(five);
  EXPECT_LE(five->GetCount(), 5);
  back = b->GetSurroundColors();
  ASSERT_EQ(back->GetCount(), 3);
  EXPECT_EQ(back->GetItem(0).FArgb, 0xFF000001u);  // the refused set changed nothing
  b->SetCenterPoint(TGPPointF{4, 3});
  EXPECT_FLOAT_EQ(b->GetCenterPoint().X, 4);
}

// ---------------------------------------------------------------------------
// Images and encoders

TEST(GdiPlusEncoders, CacheAndFormatLookup) {
  EnsureGdiPlus();
  IGPImageFormat png = TGPImageFormat::FindByFormatId(ImageFormatPNG);
  ASSERT_TRUE(png);
  EXPECT_EQ(png, TGPImageFormat::PngFormat());
  EXPECT_TRUE(png->GetGuid() == ImageFormatPNG);
  for (auto f : {TGPImageFormat::BmpFormat(), TGPImageFormat::JpegFormat(), TGPImageFormat::GifFormat(),
                 TGPImageFormat::TiffFormat()})
    EXPECT_TRUE(f);
  TGUID other = ImageFormatPNG;
  other.Data1 ^= 0x100;
  EXPECT_FALSE(TGPImageFormat::FindByFormatId(other));
}

TEST(GdiPlusEncoders, ParameterListLayoutGrowthAndClear) {
  IGPEncoderParameters p(new TGPEncoderParameters());
  p->Add(EncoderQuality, Integer(75));
  gdipflat::GpEncoderParameters* n = p->GetNative();
  ASSERT_EQ(n->Count, 1u);
  EXPECT_EQ(reinterpret_cast<Byte*>(&n->Parameter[1]) - reinterpret_cast<Byte*>(n), 8 + 32);
  EXPECT_EQ(n->Parameter[0].Type, 4u);
  EXPECT_EQ(*static_cast<Integer*>(n->Parameter[0].Value), 75);
  // Grow the value block well past its first allocation.
  std::vector<Integer> big(100);
  for (int i = 0; i < 100; ++i) big[size_t(i)] = i * 3;
  for (int k = 0; k < 6; ++k) p->Add(EncoderColorDepth, big);
  n = p->GetNative();
  ASSERT_EQ(n->Count, 7u);
  EXPECT_EQ(*static_cast<Integer*>(n->Parameter[0].Value), 75);
  for (UINT k = 1; k < 7; ++k) {
    EXPECT_EQ(n->Parameter[k].NumberOfValues, 100u);
    EXPECT_EQ(static_cast<Integer*>(n->Parameter[k].Value)[99], 297);
  }
  p->Clear();
  p->Add(EncoderQuality, Integer(30));
  n = p->GetNative();
  ASSERT_EQ(n->Count, 1u);
  EXPECT_EQ(*static_cast<Integer*>(n->Parameter[0].Value), 30);
}

namespace {

IStream* NewMemoryStream() {
  IStream* s = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
  return s;
}

}  // namespace

TEST(GdiPlusImages, SaveAndLoadThroughStreams) {
  EnsureGdiPlus();
  IGPBitmap bmp(new TGPBitmap(5, 3, gdipflat::PixelFormat32bppARGB));
  bmp->SetPixel(0, 0, 0xFFFF0000);
  bmp->SetPixel(4, 2, 0x800000FF);
  IStream* st = NewMemoryStream();
  ASSERT_TRUE(bmp->Save(st, TGPImageFormat::PngFormat()));
  LARGE_INTEGER zero{};
  st->Seek(zero, STREAM_SEEK_SET, nullptr);
  IGPBitmap back = TGPBitmap::FromStream(st);
  st->Release();
  ASSERT_EQ(back->GetWidth(), 5u);
  ASSERT_EQ(back->GetHeight(), 3u);
  EXPECT_EQ(back->GetPixel(0, 0).FArgb, 0xFFFF0000u);
  EXPECT_EQ(back->GetPixel(4, 2).FArgb >> 24, 0x80u);
  TGUID raw{};
  back->GetRawFormat(raw);
  EXPECT_TRUE(raw == ImageFormatPNG);
  // JPEG with a quality parameter.
  IGPEncoderParameters q(new TGPEncoderParameters());
  q->Add(EncoderQuality, std::vector<Integer>{90});
  IStream* j = NewMemoryStream();
  EXPECT_TRUE(bmp->Save(j, TGPImageFormat::JpegFormat(), q));
  j->Release();
  // Not an image, and an empty stream: 0 x 0.
  IStream* text = NewMemoryStream();
  const char junk[] = "this is not an image at all";
  text->Write(junk, sizeof(junk), nullptr);
  text->Seek(zero, STREAM_SEEK_SET, nullptr);
  IGPImage bad = TGPImage::FromStream(text);
  text->Release();
  EXPECT_EQ(bad->GetWidth(), 0u);
  EXPECT_EQ(bad->GetHeight(), 0u);
  IGPImage missing = TGPImage::FromFile(u"C:\\no\\such\\file.png");
  EXPECT_EQ(missing->GetWidth(), 0u);
}

TEST(GdiPlusImages, WindowsBitmapsBothWays) {
  EnsureGdiPlus();
  // A 24-bit DIB with known pixels.
  BITMAPINFO bi;
  std::memset(&bi, 0, sizeof(bi));
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 3;
  bi.bmiHeader.biHeight = -2;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(h, nullptr);
  auto* row = static_cast<Byte*>(bits);
  const Byte px[6][3] = {{1, 2, 3}, {40, 50, 60}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 8, 7}};  // B, G, R
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) std::memcpy(row + y * 12 + x * 3, px[y * 3 + x], 3);
  IGPBitmap b = TGPBitmap::FromHBitmap(h, nullptr);
  ASSERT_EQ(b->GetWidth(), 3u);
  for (int i = 0; i < 6; ++i) {
    const uint32_t want = 0xFF000000u | (uint32_t(px[i][2]) << 16) | (uint32_t(px[i][1]) << 8) | px[i][0];
    EXPECT_EQ(b->GetPixel(i % 3, i / 3).FArgb, want) << i;
  }
  DeleteObject(h);
  HBITMAP out = b->GetHBITMAP(0xFFFFFFFF);
  ASSERT_NE(out, nullptr);
  DIBSECTION ds;
  ASSERT_EQ(GetObjectW(out, sizeof(ds), &ds), int(sizeof(ds)));  // a real DIB section
  EXPECT_EQ(ds.dsBm.bmWidth, 3);
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(static_cast<uint32_t*>(ds.dsBm.bmBits)[1] & 0xFFFFFF, 0x3C3228u);
  DeleteObject(out);
  EXPECT_FALSE(TGPBitmap::FromHBitmap(nullptr, nullptr)->GetNativeHandle());
}

// ---------------------------------------------------------------------------
// Widening (libgdiplus only flattens; the bridge strokes)

TEST(GdiPlusWiden, LineBecomesAClosedOutline) {
  EnsureGdiPlus();
  IGPGraphicsPath p(new TGPGraphicsPath(FillModeWinding));
  p->AddLine(10, 20, 60, 20);
  EXPECT_FALSE(p->IsVisible(30, 23));
  IGPPen pen(new TGPPen(0xFF000000, 10));
  p->Widen(pen, nullptr, 0.25f);
  EXPECT_GE(p->GetPointCount(), 4);
  EXPECT_TRUE(p->IsVisible(30, 23));
  EXPECT_TRUE(p->IsVisible(30, 16));
  EXPECT_FALSE(p->IsVisible(30, 26));
  EXPECT_FALSE(p->IsVisible(7, 20));  // flat caps end at the end points
  IGPArray<Byte> types = p->GetPathTypes();
  EXPECT_NE(types->GetItem(types->GetCount() - 1) & 0x80, 0);  // closed
}

TEST(GdiPlusWiden, CapsJoinsDashesAndTransform) {
  EnsureGdiPlus();
  struct TCase {
    const char* Name;
    std::function<void(const IGPPen&)> Setup;
    std::vector<std::pair<TGPPointF, bool>> Probes;
  };
  const TCase cases[] = {
      {"round caps", [](const IGPPen& p) { p->SetLineCap(LineCapRound, LineCapRound, 0); },
       {{{7, 40}, true}, {{93, 40}, true}, {{6, 44}, false}}},
      {"square start, flat end", [](const IGPPen& p) { p->SetLineCap(LineCapSquare, LineCapFlat, 0); },
       {{{6, 43}, true}, {{94, 40}, false}}},
      {"dashes 3-1", [](const IGPPen& p) { p->SetDashStyle(DashStyleDash); },
       {{{12, 40}, true}, {{42, 40}, false}, {{50, 40}, true}}},  // period 4 widths = 40 units
      {"pen transform", [](const IGPPen& p) { p->SetTransform(IGPMatrix(new TGPMatrix(2, 0, 0, 2, 0, 0))); },
       {{{50, 49}, true}, {{50, 51}, false}}},
  };
  for (const TCase& c : cases) {
    IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
    path->AddLine(10, 40, 90, 40);
    IGPPen pen(new TGPPen(0xFF000000, 10));
    c.Setup(pen);
    path->Widen(pen, nullptr, 0.25f);
    for (const auto& [pt, in] : c.Probes) EXPECT_EQ(path->IsVisible(pt.X, pt.Y), in) << c.Name << " at " << pt.X << "," << pt.Y;
  }
  // Joins on a right-angle corner at (50, 50): the miter fills the outer
  // corner, the bevel cuts it.
  for (Integer join : {LineJoinMiter, LineJoinBevel, LineJoinRound}) {
    IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
    path->AddLines(std::vector<TGPPointF>{{10, 50}, {50, 50}, {50, 90}});
    IGPPen pen(new TGPPen(0xFF000000, 10));
    pen->SetLineJoin(join);
    path->Widen(pen, nullptr, 0.25f);
    EXPECT_EQ(path->IsVisible(54.0f, 46.0f), join == LineJoinMiter) << join;  // beyond the round join too
    EXPECT_TRUE(path->IsVisible(51.5f, 47.5f)) << join;
  }
}

TEST(GdiPlusWiden, FilledWidenedPathDrawsTheStroke) {
  TTestSurface s(60, 30);
  s.Draw([](const IGPGraphics& g) {
    IGPGraphicsPath path(new TGPGraphicsPath(FillModeWinding));
    path->AddEllipse(10, 5, 40, 20);
    IGPPen pen(new TGPPen(0xFF000000, 4));
    pen->SetDashStyle(DashStyleDot);
    path->Widen(pen, nullptr, 0.25f);
    g->FillPath(IGPBrush(new TGPSolidBrush(0xFFFF0000)), path);
  });
  EXPECT_EQ(s.At(30, 15), 0x00FFFFFFu);  // the inside of the ellipse stays empty
  const int red = s.CountWhere([](uint32_t c) { return c == 0xFFFF0000u; });
  EXPECT_GT(red, 60);
  // Dots: along the top edge ink and gaps alternate.
  int changes = 0;
  for (int x = 21; x < 40; ++x)
    if ((Alpha(s.At(x, 5)) > 128) != (Alpha(s.At(x - 1, 5)) > 128)) ++changes;
  EXPECT_GE(changes, 2);
}

// Decoding runs in workers too: two threads decoding at once (each through
// its own delegate state) get the single-thread results.
namespace {

struct TDecodeJob {
  uint32_t Colour = 0;
  int Width = 0;
  int Good = 0;
};

DWORD WINAPI DecodeWorker(LPVOID Param) {
  auto* job = static_cast<TDecodeJob*>(Param);
  try {
    for (int round = 0; round < 15; ++round) {
      IGPBitmap bmp(new TGPBitmap(job->Width, 7, gdipflat::PixelFormat32bppARGB));
      for (int x = 0; x < job->Width; ++x) bmp->SetPixel(x, 3, job->Colour);
      IStream* st = nullptr;
      if (CreateStreamOnHGlobal(nullptr, TRUE, &st) != S_OK) continue;
      if (bmp->Save(st, TGPImageFormat::PngFormat())) {
        LARGE_INTEGER zero{};
        st->Seek(zero, STREAM_SEEK_SET, nullptr);
        IGPBitmap back = TGPBitmap::FromStream(st);
        if (back->GetWidth() == Cardinal(job->Width) && back->GetPixel(job->Width - 1, 3).FArgb == job->Colour &&
            back->GetPixel(0, 0).FArgb == 0)
          ++job->Good;
      }
      st->Release();
    }
  } catch (...) {
  }
  return 0;
}

}  // namespace

TEST(GdiPlusThreads, TwoDecodersAtOnce) {
  EnsureGdiPlus();
  TGPImageFormat::PngFormat();  // the cache is filled under its lock either way
  TDecodeJob a{0xFF112233, 9, 0}, b{0x80445566, 13, 0};
  HANDLE ta = CreateThread(nullptr, 0, DecodeWorker, &a, 0, nullptr);
  HANDLE tb = CreateThread(nullptr, 0, DecodeWorker, &b, 0, nullptr);
  ASSERT_NE(ta, nullptr);
  ASSERT_NE(tb, nullptr);
  WaitForSingleObject(ta, INFINITE);
  WaitForSingleObject(tb, INFINITE);
  CloseHandle(ta);
  CloseHandle(tb);
  EXPECT_EQ(a.Good, 15);
  EXPECT_EQ(b.Good, 15);
}

// Outline: the winding union of the figures, without inner edges (a callout
// body and its pointer become one shape).
TEST(GdiPlusOutline, UnionWithoutInnerEdges) {
  EnsureGdiPlus();
  IGPGraphicsPath p(new TGPGraphicsPath(FillModeWinding));
  p->AddEllipse(10, 10, 60, 30);
  p->AddPolygon(std::vector<TGPPointF>{{30, 30}, {50, 30}, {20, 70}});  // pointer crossing the ellipse
  p->Outline(nullptr, 0.25f);
  EXPECT_GE(p->GetPointCount(), 10);
  p->SetFillMode(FillModeAlternate);  // no overlapping loops remain
  EXPECT_TRUE(p->IsVisible(40, 33));   // inside both: no hole
  EXPECT_TRUE(p->IsVisible(40, 15));   // ellipse only
  EXPECT_TRUE(p->IsVisible(26, 60));   // pointer only
  EXPECT_FALSE(p->IsVisible(60, 60));
  // Stroking it draws nothing across the former inner edges.
  TTestSurface s(80, 80);
  s.Draw([&](const IGPGraphics& g) { g->DrawPath(IGPPen(new TGPPen(0xFF000000, 1)), p); });
  EXPECT_EQ(Alpha(s.At(40, 30)), 0);  // the pointer's top edge inside the ellipse
  EXPECT_GT(s.CountWhere([](uint32_t c) { return Alpha(c) > 128; }), 100);
}

// Ellipses run clockwise on the screen, like rectangles and the program's
// polygons: in one winding path an ellipse and an overlapping clockwise
// polygon fill their union (libgdiplus alone adds ellipses the other way,
// which cancels the overlap).
TEST(GdiPlusPaths, EllipseDirectionMatchesRectangles) {
  EnsureGdiPlus();
  IGPGraphicsPath p(new TGPGraphicsPath(FillModeWinding));
  p->AddEllipse(10, 10, 60, 30);
  IGPArray<TGPPointF> pts = p->GetPathPoints();
  ASSERT_GE(pts->GetCount(), 4);
  EXPECT_FLOAT_EQ(pts->GetItem(0).X, 70);  // starts at angle 0
  EXPECT_FLOAT_EQ(pts->GetItem(0).Y, 25);
  EXPECT_GT(pts->GetItem(1).Y, 25.0f);  // and turns towards the bottom first
  p->AddPolygon(std::vector<TGPPointF>{{30, 30}, {50, 30}, {20, 70}});
  TTestSurface s(80, 80);
  s.Draw([&](const IGPGraphics& g) { g->FillPath(IGPBrush(new TGPSolidBrush(0xFF000000)), p); });
  EXPECT_EQ(s.At(40, 33), 0xFF000000u);
  IGPGraphicsPath twice(new TGPGraphicsPath(FillModeWinding));
  twice->AddEllipse(TGPRect{0, 0, 20, 20});
  twice->AddEllipse(TGPRect{0, 0, 20, 20});
  EXPECT_TRUE(twice->IsVisible(10, 10));
}

TEST(GdiPlusImages, CloneThumbnailAndMeasure) {
  EnsureGdiPlus();
  IGPBitmap rgb(new TGPBitmap(6, 4, gdipflat::PixelFormat24bppRGB));
  rgb->SetPixel(5, 3, 0xFF102030);
  IGPBitmap copy = rgb->Clone();
  EXPECT_EQ(copy->GetPixelFormat(), gdipflat::PixelFormat24bppRGB);
  EXPECT_EQ(copy->GetWidth(), 6u);
  EXPECT_EQ(copy->GetPixel(5, 3).FArgb, 0xFF102030u);
  EXPECT_NE(copy->GetNativeHandle(), rgb->GetNativeHandle());
  IGPBitmap wide(new TGPBitmap(40, 20, gdipflat::PixelFormat32bppARGB));
  IGPImage thumb = wide->GetThumbnailImage(20, 10);
  EXPECT_EQ(thumb->GetWidth(), 20u);
  EXPECT_EQ(thumb->GetHeight(), 10u);
  // Measuring: an empty text gives an empty box at the layout origin, a
  // longer text a wider box.
  TTestSurface s(10, 10);
  IGPGraphics g = TGPGraphics::FromHDC(s.Dc);
  IGPFont font(new TGPFont(u"Liberation Sans", 12, FontStyleRegular, UnitPixel));
  TGPRectF box{-1, -1, -1, -1};
  g->MeasureString(u"", font, TGPRectF{5, 7, 100, 50}, nullptr, box);
  EXPECT_FLOAT_EQ(box.X, 5);
  EXPECT_FLOAT_EQ(box.Y, 7);
  EXPECT_FLOAT_EQ(box.Width, 0);
  TGPRectF a{}, b{};
  g->MeasureString(u"ab", font, TGPPointF{0, 0}, a);
  g->MeasureString(u"abcdef", font, TGPPointF{0, 0}, b);
  EXPECT_GT(a.Width, 5);
  EXPECT_GT(b.Width, a.Width * 2);
  EXPECT_GT(a.Height, 10);
}
