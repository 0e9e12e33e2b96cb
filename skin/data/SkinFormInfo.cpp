// [FORMINFO] and [SKINAREAS].
#include "skin/data/SkinFormInfo.h"

#include <memory>

#include "skin/data/SkinDescBase.h"
#include "skin/data/SkinIni.h"

const TSkinKeyTable<TspSkinFormInfo>& TspSkinFormInfo::Keys() {
  using C = TspSkinFormInfo;
  static const TSkinKeyTable<TspSkinFormInfo> T{
      {
          KeyPoint(u"lefttoppoint", &C::LTPoint),
          KeyPoint(u"righttoppoint", &C::RTPoint),
          KeyPoint(u"leftbottompoint", &C::LBPoint),
          KeyPoint(u"rightbottompoint", &C::RBPoint),
          KeyRect(u"clientrect", &C::ClRect),
          KeyInt(u"bgpictureindex", &C::BGPictureIndex, -1, -1),
          KeyInt(u"mdibgpictureindex", &C::MDIBGPictureIndex, -1, -1),
          KeyBool(u"leftstretch", &C::LeftStretch),
          KeyBool(u"rightstretch", &C::RightStretch),
          KeyBool(u"topstretch", &C::TopStretch),
          KeyBool(u"bottomstretch", &C::BottomStretch),
          KeyBool(u"stretcheffect", &C::StretchEffect),
          KeyWord(u"stretchtype", &C::StretchType, spstFull),
          KeyBool(u"mdibgstretcheffect", &C::MDIBGStretchEffect),
          KeyWord(u"mdibgstretchtype", &C::MDIBGStretchType, spstFull),
          KeyRect(u"buttonsrect", &C::ButtonsRect),
          KeyRect(u"captionrect", &C::CaptionRect),
          KeyInt(u"buttonsoffset", &C::ButtonsOffset, 0, 0),
          KeyBool(u"buttonsinleft", &C::CapButtonsInLeft),
          KeyRect(u"maskrectarea", &C::MaskRectArea),
          KeyPoint(u"hittestlefttoppoint", &C::HitTestLTPoint),
          KeyPoint(u"hittestrighttoppoint", &C::HitTestRTPoint),
          KeyPoint(u"hittestleftbottompoint", &C::HitTestLBPoint),
          KeyPoint(u"hittestrightbottompoint", &C::HitTestRBPoint),
          KeyPoint(u"rollupleftpoint", &C::RollUpLeftPoint),
          KeyPoint(u"rolluprightpoint", &C::RollUpRightPoint),
          // the mask correction runs here
          KeyRect(u"mainmenurect", &C::MainMenuRect),
          KeyRect(u"iconrect", &C::IconRect),
          KeyBool(u"mainmenupopupup", &C::MainMenuPopupUp),
          KeyInt(u"borderwidth", &C::BorderW, 0, 0),
          KeyInt(u"formminwidth", &C::FormMinWidth, 0, 0),
          KeyInt(u"formminheight", &C::FormMinHeight, 0, 0),
          KeyBool(u"mditabstransparent", &C::MDITabsTransparent),
          KeyBool(u"mainmenubartransparent", &C::MainMenuBarTransparent),
          KeyInt(u"cursorindex", &C::CursorIndex, -1, -1),
          KeyBool(u"autorenderinginactiveimage", &C::AutoRenderingInActiveImage),
          KeyWord(u"inactiveeffect", &C::InActiveEffect, ieBrightness),
          // the corner clamp runs here
          KeyRect(u"sizegriparea", &C::SizeGripArea),
          KeyStr(u"statusbarname", &C::StatusBarName, u"", u""),
      },
      {{u"maskrectarea", u"mdibgpictureindex"},
       {u"cursorindex", u"borderwidth"},
       {u"autorenderinginactiveimage", u"cursorindex"},
       {u"inactiveeffect", u"autorenderinginactiveimage"},
       {u"sizegriparea", u"formminheight"},
       {u"statusbarname", u"sizegriparea"}}};
  return T;
}

void TspSkinFormInfo::LoadFormInfo(TCustomIniFile* IniFile, bool MaskNamed) {
  const TSkinKeyTable<TspSkinFormInfo>& T = Keys();
  const String Section = SkinSectionFormInfo;
  const Integer RollUpEnd = T.IndexOf(u"rolluprightpoint");
  const Integer EffectEnd = T.IndexOf(u"inactiveeffect");
  T.Load(*this, IniFile, Section, 0, RollUpEnd);
  if (MaskNamed) {
    if (IsSkinRectEmpty(MaskRectArea)) {
      MaskRectArea = ClRect;
    } else {
      if (ClRect.Left < MaskRectArea.Left) MaskRectArea.Left = ClRect.Left;
      if (ClRect.Top < MaskRectArea.Top) MaskRectArea.Top = ClRect.Top;
      if (ClRect.Right > MaskRectArea.Right) MaskRectArea.Right = ClRect.Right;
      if (ClRect.Bottom > MaskRectArea.Bottom) MaskRectArea.Bottom = ClRect.Bottom;
    }
    auto Take = [](TPoint& HitTest, const TPoint& Corner) {
      if (HitTest.X == 0 || HitTest.Y == 0) HitTest = Corner;
    };
    Take(HitTestLTPoint, LTPoint);
    Take(HitTestRTPoint, RTPoint);
    Take(HitTestLBPoint, LBPoint);
    Take(HitTestRBPoint, RBPoint);
  }
  T.Load(*this, IniFile, Section, RollUpEnd + 1, EffectEnd);
  if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
    if (LTPoint.X < ClRect.Left) LTPoint.X = ClRect.Left;
    if (LTPoint.Y < ClRect.Top) LTPoint.Y = ClRect.Top;
    if (RTPoint.X > ClRect.Right) RTPoint.X = ClRect.Right;
    if (RTPoint.Y < ClRect.Top) RTPoint.Y = ClRect.Top;
    if (LBPoint.X < ClRect.Left) LBPoint.X = ClRect.Left;
    if (LBPoint.Y > ClRect.Bottom) LBPoint.Y = ClRect.Bottom;
    if (RBPoint.X > ClRect.Right) RBPoint.X = ClRect.Right;
    if (RBPoint.Y > ClRect.Bottom) RBPoint.Y = ClRect.Bottom;
  }
  T.Load(*this, IniFile, Section, EffectEnd + 1, T.Count() - 1);
}

void TspSkinFormInfo::SaveFormInfo(TCustomIniFile* IniFile) const {
  IniFile->EraseSection(SkinSectionFormInfo);
  Keys().Save(*this, IniFile, SkinSectionFormInfo);
}

// ---------------------------------------------------------------------------
// Areas

TspDataSkinArea::TspDataSkinArea(const String& AIDName, const TRect& ARect, bool AUseAnchors, bool AAnchorLeft,
                                 bool AAnchorTop, bool AAnchorRight, bool AAnchorBottom)
    : IDName(AIDName),
      AreaRect(ARect),
      UseAnchors(AUseAnchors),
      AnchorLeft(AAnchorLeft),
      AnchorTop(AAnchorTop),
      AnchorRight(AAnchorRight),
      AnchorBottom(AAnchorBottom) {}

TspDataSkinArea* ParseSkinArea(const String& Entry) {
  const size_t Colon = Entry.rfind(u':');
  const size_t Semi = Entry.rfind(u';');
  String Name;
  TRect R;
  if (Colon != String::npos) {
    Name = Entry.substr(0, Colon);
    // A ";" before the ":" leaves no rect text (which raises, as an empty one does).
    const size_t End = Semi != String::npos ? Semi : Entry.size();
    R = TextToRect(End > Colon ? Entry.substr(Colon + 1, End - Colon - 1) : String());
  }
  bool F[5] = {false, false, false, false, false};
  if (Semi != String::npos && Entry.size() - Semi - 1 == 9) {
    for (int I = 0; I < 5; ++I) F[I] = Entry[Semi + 1 + 2 * I] == u'1';
  }
  return new TspDataSkinArea(Name, R, F[0], F[1], F[2], F[3], F[4]);
}

String SkinAreaToText(const TspDataSkinArea& Area) {
  auto B = [](bool V) { return V ? u"1" : u"0"; };
  return Area.IDName + u":" + RectToText(Area.AreaRect) + u";" + B(Area.UseAnchors) + u"," + B(Area.AnchorLeft) +
         u"," + B(Area.AnchorTop) + u"," + B(Area.AnchorRight) + u"," + B(Area.AnchorBottom);
}
