// Skins that say nonsense about a control: a description of another kind,
// empty or inverted rects, picture and mask numbers out of range, corner
// points outside the rect, a client piece of zero width. The control never
// crashes and never collapses; it shows its default look or leaves the
// broken part undrawn; a good skin afterwards works.
#include "tests/skin/controls/win/CtlTestUtil.h"

#include <functional>

using namespace ctl;

namespace {

class HostileSkins : public SkinCtlTest {};

struct TKind {
  const char* Name;
  const char16_t* Desc;  // the control's description name
  const char16_t* Word;  // its type word
  std::function<TControl*(TWinControl*)> Make;
};

const TKind Kinds[] = {
    {"button", u"button", u"button",
     [](TWinControl* P) -> TControl* {
       auto* B = new TspSkinButton(P);
       B->SetCanFocused(false);
       return B;
     }},
    {"speed button", u"toolbutton", u"button", [](TWinControl* P) -> TControl* { return new TspSkinSpeedButton(P); }},
    {"menu speed button", u"resizetoolbutton", u"menubutton",
     [](TWinControl* P) -> TControl* {
       auto* B = new TspSkinMenuSpeedButton(P);
       B->SetNewStyle(true);
       return B;
     }},
    {"check box", u"checkbox", u"checkradio",
     [](TWinControl* P) -> TControl* {
       auto* B = new TspSkinCheckRadioBox(P);
       B->SetFlat(false);
       return B;
     }},
    {"panel", u"panel", u"panel", [](TWinControl* P) -> TControl* { return new TspSkinPanel(P); }},
};

// Every description here is nine-slice where it has points, so a skin that
// works keeps the size the test gave.
const std::vector<std::pair<const char*, std::vector<String>>> Cases = {
    {"another kind", {}},
    {"empty rect", {u"pictureindex=0", u"skinrect=0,0,0,0"}},
    {"inverted rect", {u"pictureindex=0", u"skinrect=40,40,10,10", u"rightbottompoint=5,5"}},
    {"picture out of range", {u"pictureindex=9", u"skinrect=0,0,40,20", u"rightbottompoint=30,15",
                              u"righttoppoint=30,5", u"lefttoppoint=5,5", u"leftbottompoint=5,15", u"clientrect=5,5,30,15"}},
    {"negative picture", {u"pictureindex=-5", u"maskpictureindex=-3", u"skinrect=0,0,40,20",
                          u"rightbottompoint=30,15"}},
    {"mask out of range", {u"pictureindex=0", u"maskpictureindex=77", u"skinrect=0,0,40,20",
                           u"rightbottompoint=30,15", u"righttoppoint=30,5", u"lefttoppoint=5,5",
                           u"leftbottompoint=5,15", u"clientrect=5,5,30,15"}},
    {"points outside the rect", {u"pictureindex=0", u"skinrect=0,0,40,20", u"lefttoppoint=90,90",
                                 u"righttoppoint=-50,3", u"leftbottompoint=3,-50", u"rightbottompoint=70,80",
                                 u"clientrect=60,60,-20,-20"}},
    {"rect beyond the picture", {u"pictureindex=0", u"skinrect=200,200,900,700", u"rightbottompoint=600,400",
                                 u"righttoppoint=600,10", u"lefttoppoint=10,10", u"leftbottompoint=10,400",
                                 u"clientrect=10,10,600,400"}},
    {"client piece of zero width", {u"pictureindex=0", u"skinrect=0,0,40,40", u"lefttoppoint=6,6",
                                    u"righttoppoint=6,6", u"leftbottompoint=6,34", u"rightbottompoint=6,34",
                                    u"clientrect=6,6,6,34", u"bgpictureindex=12", u"checkimagerect=0,0,0,0",
                                    u"trackbuttonrect=50,50,10,10", u"framecount=0", u"animateinterval=0",
                                    u"animateskinrect=0,0,80,20"}},
};

TEST_F(HostileSkins, ControlsKeepTheirSizeAndRecover) {
  for (const TKind& K : Kinds) {
    for (const auto& [CaseName, Lines] : Cases) {
      SCOPED_TRACE(std::string(K.Name) + ": " + CaseName);
      auto S = CoordSkin();
      S.ActivePicture(skintest::FlatPicture(10, 10, clBlack));  // a small mask picture, index 1
      if (Lines.empty()) {
        S.Control(K.Desc, u"bevel", {u"lightcolor=255"});
      } else {
        S.Control(K.Desc, K.Word, {});
        for (const String& L : Lines) S.Keys(K.Desc, {L});
      }
      auto Bad = LoadSkin(S);
      TControl* C = K.Make(Host);
      C->SetParent(Host);
      C->SetBounds(5, 5, 90, 33);
      auto* SW = dynamic_cast<TspSkinControl*>(C);
      auto* SG = dynamic_cast<TspGraphicSkinControl*>(C);
      if (SW) SW->SetSkinDataName(K.Desc);
      if (SG) SG->SetSkinDataName(K.Desc);
      if (SW) SW->SetSkinData(Bad.get());
      if (SG) SG->SetSkinData(Bad.get());
      EXPECT_GE(C->Width(), 1);
      EXPECT_GE(C->Height(), 1);
      if (std::string(CaseName) != "another kind") {
        // Unusable geometry never changes the size.
        if (std::string(CaseName) != "points outside the rect" && std::string(CaseName) != "rect beyond the picture") {
          EXPECT_EQ(C->Width(), 90);
          EXPECT_EQ(C->Height(), 33);
        }
      } else {
        EXPECT_EQ(C->BoundsRect(), TRect(5, 5, 95, 38));
        EXPECT_FALSE(SW ? SW->Skinned() : SG->Skinned());
      }
      // Every state paints without trouble.
      Render(C);
      C->Perform(CM_MOUSEENTER, 0, 0);
      Render(C);
      Press(C, 3, 3);
      Render(C);
      Release(C, 3, 3);
      C->Perform(CM_MOUSELEAVE, 0, 0);
      if (SW && SW->HandleAllocated()) {
        HRGN R = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(SW->Handle(), R), ERROR) << "no region from a missing mask";
        DeleteObject(R);
      }
      // A good skin afterwards: a 40 x 20 nine-slice of the coordinate picture.
      auto Good = CoordSkin();
      Good.Control(K.Desc, K.Word,
                   {u"pictureindex=0", u"skinrect=0,0,40,20", u"lefttoppoint=5,5", u"righttoppoint=35,5",
                    u"leftbottompoint=5,15", u"rightbottompoint=35,15", u"clientrect=5,5,35,15"});
      auto GoodSD = LoadSkin(Good);
      C->SetBounds(5, 5, 90, 33);
      if (SW) SW->SetSkinData(GoodSD.get());
      if (SG) SG->SetSkinData(GoodSD.get());
      auto* Panel = dynamic_cast<TspSkinPanel*>(C);
      if (!Panel) {
        auto Img = Render(C);
        EXPECT_EQ(Px(Img.get(), 1, 1), Coord(1, 1));
        EXPECT_EQ(Px(Img.get(), 88, 31), Coord(38, 18));
      } else {
        auto Img = Render(C);
        EXPECT_EQ(Px(Img.get(), 1, 1), Coord(1, 1));
      }
      delete C;
    }
  }
}

TEST_F(HostileSkins, RefusedValues) {
  auto* B = new TspSkinButton(Host);
  B->SetParent(Host);
  B->SetMargin(-2);
  EXPECT_EQ(B->Margin(), -1);
  B->SetMargin(3);
  EXPECT_EQ(B->Margin(), 3);
  auto* S = new TspSkinSpeedButton(Host);
  S->SetParent(Host);
  S->SetMargin(-7);
  EXPECT_EQ(S->Margin(), -1);
  // An image number outside the list draws nothing and keeps the caption's place.
  auto* List = new TImageList(Host);
  List->SetSize(8, 8);
  auto Red = skintest::FlatPicture(8, 8, clRed);
  List->Add(Red.get(), nullptr);
  B->SetImageList(List);
  B->SetImageIndex(5);
  auto Img = Render(B);
  for (Integer X = 0; X < B->Width(); ++X)
    for (Integer Y = 0; Y < B->Height(); ++Y) ASSERT_NE(Px(Img.get(), X, Y), TColor(clRed));
  B->SetImageIndex(0);
  Img = Render(B);
  bool Shown = false;
  for (Integer X = 0; X < B->Width(); ++X) Shown = Shown || Px(Img.get(), X, 12) == TColor(clRed);
  EXPECT_TRUE(Shown);
}

}  // namespace
