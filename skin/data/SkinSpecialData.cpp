// Popup window, layer frame, hint window and colour descriptions.
#include "skin/data/SkinSpecialData.h"

#include "skin/data/SkinIni.h"

// ---------------------------------------------------------------------------
// TspDataSkinPopupWindow

const TSkinKeyTable<TObject>& TspDataSkinPopupWindow::Keys() {
  using C = TspDataSkinPopupWindow;
  static const TSkinKeyTable<TObject> T{{
                                            KeyInt(u"windowpictureindex", &C::WindowPictureIndex, -1, -1),
                                            KeyInt(u"maskpictureindex", &C::MaskPictureIndex, -1, -1),
                                            KeyPoint(u"lefttoppoint", &C::LTPoint),
                                            KeyPoint(u"righttoppoint", &C::RTPoint),
                                            KeyPoint(u"leftbottompoint", &C::LBPoint),
                                            KeyPoint(u"rightbottompoint", &C::RBPoint),
                                            KeyInt(u"cursorindex", &C::CursorIndex, -1, -1),
                                            KeyRect(u"itemsrect", &C::ItemsRect),
                                            KeyInt(u"scrollmarkercolor", &C::ScrollMarkerColor, 0, 0),
                                            KeyInt(u"scrollmarkeractivecolor", &C::ScrollMarkerActiveColor, 0, 0),
                                            KeyBool(u"leftstretch", &C::LeftStretch),
                                            KeyBool(u"rightstretch", &C::RightStretch),
                                            KeyBool(u"topstretch", &C::TopStretch),
                                            KeyBool(u"bottomstretch", &C::BottomStretch),
                                            KeyBool(u"stretcheffect", &C::StretchEffect),
                                            KeyWord(u"stretchtype", &C::StretchType, spstFull),
                                        },
                                        {{u"itemsrect", u"rightbottompoint"}}};
  return T;
}

TspDataSkinPopupWindow::TspDataSkinPopupWindow() { Keys().Init(*this); }

void TspDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile) {
  Keys().Load(*this, IniFile, SkinSectionPopupWindow);
}

void TspDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(SkinSectionPopupWindow);
  Keys().Save(*this, IniFile, SkinSectionPopupWindow);
}

// ---------------------------------------------------------------------------
// TspDataSkinLayerFrame

const TSkinKeyTable<TObject>& TspDataSkinLayerFrame::Keys() {
  using C = TspDataSkinLayerFrame;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"pictureindex", &C::PictureIndex, -1, -1),
      KeyInt(u"maskpictureindex", &C::MaskPictureIndex, -1, -1),
      KeyInt(u"inactivepictureindex", &C::InActivePictureIndex, -1, -1),
      KeyInt(u"inactivemaskpictureindex", &C::InActiveMaskPictureIndex, -1, -1),
      KeyPoint(u"lefttoppoint", &C::LTPoint),
      KeyPoint(u"righttoppoint", &C::RTPoint),
      KeyPoint(u"leftbottompoint", &C::LBPoint),
      KeyPoint(u"rightbottompoint", &C::RBPoint),
      KeyRect(u"clientrect", &C::ClRect),
      KeyInt(u"alphablendvalue", &C::AlphaBlendValue, 255, 255),
      KeyInt(u"inactivealphablendvalue", &C::InActiveAlphaBlendValue, 255, 255),
      KeyRect(u"borderrect", &C::BorderRect),
      KeyBool(u"hittestenable", &C::HitTestEnable),
      KeyBool(u"fullborder", &C::FullBorder),
      KeyInt(u"hittestsize", &C::HitTestSize, 0, 0),
      KeyRect(u"captionrect", &C::CaptionRect),
      KeyPoint(u"hittestlefttoppoint", &C::HitTestLTPoint),
      KeyPoint(u"hittestrighttoppoint", &C::HitTestRTPoint),
      KeyPoint(u"hittestleftbottompoint", &C::HitTestLBPoint),
      KeyPoint(u"hittestrightbottompoint", &C::HitTestRBPoint),
      KeyRect(u"buttonsrect", &C::ButtonsRect),
      KeyRect(u"sysmenubuttonrect", &C::SysMenuButtonRect),
      KeyBool(u"fullstretch", &C::FullStretch),
      KeyInt(u"rollupformheight", &C::RollUpFormHeight, 0, 0),
      KeyInt(u"buttonstopoffset", &C::ButtonsTopOffset, 0, 0),
      KeyInt(u"sysbuttontopoffset", &C::SysButtonTopOffset, 0, 0),
      KeyInt(u"blurmaskpictureindex", &C::BlurMaskPictureIndex, -1, -1),
      KeyRect(u"intersectblurmaskrect", &C::IntersectBlurMaskRect),
      KeyRect(u"excludeblurmaskrect", &C::ExcludeBlurMaskRect),
      KeyInt(u"leftoffset", &C::LeftOffset, 0, 0),
      KeyInt(u"topoffset", &C::TopOffset, 0, 0),
      KeyInt(u"widthoffset", &C::WidthOffset, 0, 0),
      KeyInt(u"heightoffset", &C::HeightOffset, 0, 0),
  };
  return T;
}

TspDataSkinLayerFrame::TspDataSkinLayerFrame() { Keys().Init(*this); }

void TspDataSkinLayerFrame::LoadFromFile(TCustomIniFile* IniFile) { Keys().Load(*this, IniFile, SkinSectionLayerFrame); }

void TspDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(SkinSectionLayerFrame);
  Keys().Save(*this, IniFile, SkinSectionLayerFrame);
}

// ---------------------------------------------------------------------------
// TspDataSkinHintWindow

const TSkinKeyTable<TObject>& TspDataSkinHintWindow::Keys() {
  using C = TspDataSkinHintWindow;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"windowpictureindex", &C::WindowPictureIndex, -1, -1),
      KeyInt(u"maskpictureindex", &C::MaskPictureIndex, -1, -1),
      KeyPoint(u"lefttoppoint", &C::LTPoint),
      KeyPoint(u"righttoppoint", &C::RTPoint),
      KeyPoint(u"leftbottompoint", &C::LBPoint),
      KeyPoint(u"rightbottompoint", &C::RBPoint),
      KeyRect(u"clientrect", &C::ClRect),
      KeyStr(u"fontname", &C::FontName, u"Arial", u"Arial"),
      KeyInt(u"fontheight", &C::FontHeight, 12, 14),
      KeyStyle(u"fontstyle", &C::FontStyle),
      KeyInt(u"fontcolor", &C::FontColor, 0, 0),
      KeyBool(u"leftstretch", &C::LeftStretch),
      KeyBool(u"rightstretch", &C::RightStretch),
      KeyBool(u"topstretch", &C::TopStretch),
      KeyBool(u"bottomstretch", &C::BottomStretch),
      KeyBool(u"stretcheffect", &C::StretchEffect),
      KeyWord(u"stretchtype", &C::StretchType, spstFull),
  };
  return T;
}

TspDataSkinHintWindow::TspDataSkinHintWindow() { Keys().Init(*this); }

void TspDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile) { Keys().Load(*this, IniFile, SkinSectionHintWindow); }

void TspDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(SkinSectionHintWindow);
  Keys().Save(*this, IniFile, SkinSectionHintWindow);
}

// ---------------------------------------------------------------------------
// TspSkinColors

const TSkinKeyTable<TObject>& TspSkinColors::Keys() {
  using C = TspSkinColors;
  static const TSkinKeyTable<TObject> T{
      KeyInt(u"cbtnface", &C::FcBtnFace, 0, 0),
      KeyInt(u"cbtntext", &C::FcBtnText, 0, 0),
      KeyInt(u"cwindow", &C::FcWindow, 0, 0),
      KeyInt(u"cwindowtext", &C::FcWindowText, 0, 0),
      KeyInt(u"chighlight", &C::FcHighLight, 0, 0),
      KeyInt(u"chighlighttext", &C::FcHighLightText, 0, 0),
      KeyInt(u"cbtnhighlight", &C::FcBtnHighLight, 0, 0),
      KeyInt(u"cbtnshadow", &C::FcBtnShadow, 0, 0),
      KeyInt(u"c3dlight", &C::Fc3DLight, 0, 0),
      KeyInt(u"c3ddkshadow", &C::Fc3DDkShadow, 0, 0),
  };
  return T;
}

TspSkinColors::TspSkinColors() { Keys().Init(*this); }

void TspSkinColors::LoadFromFile(TCustomIniFile* IniFile) { Keys().Load(*this, IniFile, SkinSectionColors); }

void TspSkinColors::SaveToFile(TCustomIniFile* IniFile) { Keys().Save(*this, IniFile, SkinSectionColors); }

void TspSkinColors::SetColorsToDefault() {
  FcBtnFace = TColorSys(15);
  FcBtnText = TColorSys(18);
  FcWindow = TColorSys(5);
  FcWindowText = TColorSys(8);
  FcHighLight = TColorSys(13);
  FcHighLightText = TColorSys(14);
  FcBtnHighLight = TColorSys(20);
  FcBtnShadow = TColorSys(16);
  Fc3DLight = TColorSys(22);
  Fc3DDkShadow = TColorSys(21);
}
