#include "common/gtest.h"

#include "tests/document/win/document_fixture.h"

#include "common/ScreensBitmap32.h"

#include "bitmap/Bmp32_Engine.h"
#include "document/FreeShapeNodes.h"
#include "gdiplus/win/ImageFiles.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

void EnsureDocumentPlatform() {
  static bool started = false;
  if (started) return;
  InitializeBitmapEngine();
  if (!GdiPlusStarted()) GdiPlusStartup();
  started = true;
}

String RowText(Integer Count, const std::map<Integer, String>& Cells) {
  String s;
  for (Integer i = 0; i < Count; ++i) {
    if (i > 0) s += u',';
    auto it = Cells.find(i);
    if (it != Cells.end()) s += it->second;
  }
  return s;
}

namespace {

std::map<Integer, String> Minus1(std::map<Integer, String> M) {
  for (Integer i = 27; i <= 31; ++i) M[i] = u"-1";
  M[19] = u"0";
  M[24] = u"0";
  return M;
}

std::map<Integer, String> StyleSuffix() {
  return {{70, u"45"}, {71, u"4"}, {72, u"0"}, {73, u"3"}, {74, u"0"}, {75, u"175"}, {80, u"0"}, {81, u"0"},
          {82, u"0"},  {83, u"0"}, {84, u"0"}, {85, u"175"}, {86, u"66"}, {87, u"3"}, {88, u"255"},
          {89, u"65535"}, {90, u"26367/65535/26367"}, {91, u"100/100/100"}, {92, u"0/0.5/1"}, {95, u"0"},
          {96, u"45"}, {98, u"15"}, {99, u"0"}};
}

}  // namespace

TPresetTables::TPresetTables() {
  Prop = std::make_unique<TDataTable>();
  Prop->SetPropCount(10);
  const String s1 = RowText(70, Minus1({}));
  auto s2cells = Minus1({{14, u"255"}, {16, u"255"}, {18, u"2"}, {20, u"-1"}});
  for (const auto& c : StyleSuffix()) s2cells[c.first] = c.second;
  const String s2 = RowText(100, s2cells);
  // Rows by TShapeType ordinal: the object kinds this document builds get
  // the styled row, the others the plain one.
  for (Integer t = 0; t < 22; ++t) {
    const bool styled = t == 2 || t == 3 || t == 5 || t == 10 || t == 15;
    Prop->AddItem(styled ? s2 : s1);
  }
  Shadow = std::make_unique<TDataTable>();
  for (const char16_t* r : {u"45,4,0,3,0,175,,,,", u"135,4,0,3,0,175,,,,", u"225,4,0,3,0,175,,,,",
                            u"315,4,0,3,0,175,,,,", u"45,0,3,10,0,200,,,,", u"45,0,8,20,0,255,,,,"})
    Shadow->AddItem(r);
  Reflect = std::make_unique<TDataTable>();
  for (const char16_t* r : {u"0,0,0,0,0,175,50,,,", u"0,0,0,0,0,175,60,,,", u"0,0,0,0,0,175,75,,,",
                            u"0,0,0,0,0,175,90,,,", u"0,0,0,2,0,175,60,,,", u"0,0,0,2,0,175,75,,,"})
    Reflect->AddItem(r);
  ObjGradient = std::make_unique<TDataTable>();
  for (const char16_t* r :
       {u"3355443/16777215,100/100,0/1,,,0,45,,15,0", u"52479/10092543/16777164,100/100/100,0/0.5/1,,,0,45,,15,0",
        u"10079487/16776960/10079487,100/50/100,0/0.5/1,,,0,45,,15,0", u"10962245/16764057,100/100,0/0.802,,,1,45,,15,0",
        u"52479/10092543/16777215,100/100/100,0/0.652/1,,,1,45,,15,0", u"16542462/65535,80/40,0/1,,,1,0,,15,0",
        u"6723891/13434828,100/100,0.155/1,,,2,45,,15,0", u"39423/10092543,100/100,0.261/1,,,2,45,,15,0",
        u"16558444/10079487,100/62,0.312/1,,,2,45,,15,0"})
    ObjGradient->AddItem(r);
}

TPresetTables& Presets() {
  static TPresetTables p;
  return p;
}

String ObjectRow(Integer Id, TShapeType Type, const TRect& Frame, const std::map<Integer, String>& More) {
  auto cells = Minus1({{0, IntToStr(Id)}, {1, IntToStr(Ord(Type))}, {10, IntToStr(Frame.Left)},
                       {11, IntToStr(Frame.Top)}, {12, IntToStr(Frame.Right)}, {13, IntToStr(Frame.Bottom)},
                       {14, u"255"}, {15, u"65280"}, {16, u"255"}, {18, u"2"}, {20, u"-1"}, {21, u"-1"},
                       {25, FloatToStr(Frame.Left + Frame.Width() / 2.0L)},
                       {26, FloatToStr(Frame.Top + Frame.Height() / 2.0L)}});
  for (const auto& c : StyleSuffix()) cells[c.first] = c.second;
  for (const auto& c : More) cells[c.first] = c.second;
  return RowText(100, cells);
}

TTestDocument::TTestDocument(Integer W, Integer H, TColor Canvas, bool Transparent) {
  EnsureDocumentPlatform();
  View = new TImgView32(nullptr);
  View->SetCentered(false);  // image pixel (0, 0) at view pixel (0, 0)
  Doc = new TImageDraw(View, nullptr, nullptr, nullptr, nullptr, String(), 2, false, false, nullptr, W, H, Canvas,
                       Transparent, -1);
  Doc->SetPropDT(Presets().Prop.get());
  Doc->SetShadowDT(Presets().Shadow.get());
  Doc->SetReflectDT(Presets().Reflect.get());
  Doc->SetObjGradientDT(Presets().ObjGradient.get());
  Doc->InitBitmap();
  if (Doc->OffsetHorz() != 0 || Doc->OffsetVert() != 0) ADD_FAILURE() << "the test view is offset";
}

TTestDocument::~TTestDocument() {
  delete Doc;
  delete View;
}

TImgShape* TTestDocument::Add(const String& Row) {
  Doc->DT()->AddItem(Row);
  const Integer i = Doc->DT()->ItemCount() - 1;
  Doc->CreateShapeObjects(i);
  return Doc->ShapeOfRow(i);
}

std::vector<TColor32> Pixels(TCustomBitmap32* B) {
  return std::vector<TColor32>(B->Bits(), B->Bits() + size_t(B->Width()) * size_t(B->Height()));
}

Integer CountPixels(TCustomBitmap32* B, const std::function<bool(TColor32)>& Pred, const TRect& Area) {
  TRect a = RectIsEmpty(Area) ? B->BoundsRect() : Area;
  Integer n = 0;
  for (Integer y = a.Top; y < a.Bottom; ++y)
    for (Integer x = a.Left; x < a.Right; ++x) n += Pred(B->GetPixel(x, y));
  return n;
}

void SaveReviewPicture(const String& Name, TCustomBitmap32* B) {
  lumigra_test::SaveBitmapScreen(*B, std::string(Name.begin(), Name.end()));
}

String NodeText(std::initializer_list<TPoint> Nodes, bool Closed, Integer Mode, Integer Selected) {
  TBezierPath p;
  const std::vector<TPoint> n(Nodes);
  for (size_t i = 0; i + 1 < n.size(); ++i) {
    TBezierRow r;
    r.P = {n[i], n[i], n[i + 1], n[i + 1]};
    p.Rows.push_back(r);
  }
  p.Closed = Closed;
  p.ControlMode = Mode;
  p.SelectPointIndex = Selected;
  return BezierPathText(p);
}
