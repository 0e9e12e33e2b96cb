// The four descriptions every skin model owns exactly once: the frame of
// skinned popup menus, the layered border, the hint window and the skin's
// ten system colours. Each reads and writes its fixed section.
// Portable header: no Windows header.
#pragma once

#include "skin/data/SkinKeys.h"

class TspDataSkinPopupWindow : public TObject {
 public:
  TspDataSkinPopupWindow();
  void LoadFromFile(TCustomIniFile* IniFile);
  // Erases [POPUPWINDOW] and writes it ("itemsrect" before "cursorindex").
  void SaveToFile(TCustomIniFile* IniFile);
  void Assign(const TspDataSkinPopupWindow& Source) { Keys().Copy(*this, Source); }
  static const TSkinKeyTable<TObject>& Keys();

  Integer WindowPictureIndex = -1;
  Integer MaskPictureIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ItemsRect;
  TColor ScrollMarkerColor = 0;
  TColor ScrollMarkerActiveColor = 0;
  Integer CursorIndex = -1;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;
};

// PictureIndex -1: the skin has no layered border.
class TspDataSkinLayerFrame : public TObject {
 public:
  TspDataSkinLayerFrame();
  void LoadFromFile(TCustomIniFile* IniFile);
  void SaveToFile(TCustomIniFile* IniFile);
  void Assign(const TspDataSkinLayerFrame& Source) { Keys().Copy(*this, Source); }
  static const TSkinKeyTable<TObject>& Keys();

  Integer PictureIndex = -1;
  Integer MaskPictureIndex = -1;
  Integer InActivePictureIndex = -1;
  Integer InActiveMaskPictureIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ClRect;
  Integer AlphaBlendValue = 255;
  Integer InActiveAlphaBlendValue = 255;
  TRect BorderRect;
  bool HitTestEnable = false;
  bool FullBorder = false;
  Integer HitTestSize = 0;
  TRect CaptionRect;
  TPoint HitTestLTPoint;
  TPoint HitTestRTPoint;
  TPoint HitTestLBPoint;
  TPoint HitTestRBPoint;
  TRect ButtonsRect;
  TRect SysMenuButtonRect;
  bool FullStretch = false;
  Integer RollUpFormHeight = 0;
  Integer ButtonsTopOffset = 0;
  Integer SysButtonTopOffset = 0;
  Integer BlurMaskPictureIndex = -1;
  TRect IntersectBlurMaskRect;
  TRect ExcludeBlurMaskRect;
  Integer LeftOffset = 0;
  Integer TopOffset = 0;
  Integer WidthOffset = 0;
  Integer HeightOffset = 0;
};

// The font height is 12 after construction but 14 for a skin without the key.
class TspDataSkinHintWindow : public TObject {
 public:
  TspDataSkinHintWindow();
  void LoadFromFile(TCustomIniFile* IniFile);
  void SaveToFile(TCustomIniFile* IniFile);
  void Assign(const TspDataSkinHintWindow& Source) { Keys().Copy(*this, Source); }
  static const TSkinKeyTable<TObject>& Keys();

  Integer WindowPictureIndex = -1;
  Integer MaskPictureIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ClRect;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 12;
  TColor FontColor = 0;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;
};

// Ten colours, 0 after construction; a load reads each key with default 0
// (black), so only SetColorsToDefault gives the system colours.
class TspSkinColors : public TObject {
 public:
  TspSkinColors();
  void LoadFromFile(TCustomIniFile* IniFile);
  // Writes the ten keys into [SKINCOLORS] without erasing it first.
  void SaveToFile(TCustomIniFile* IniFile);
  // The system colours ($FF000000 + the colour index).
  void SetColorsToDefault();
  void Assign(const TspSkinColors& Source) { Keys().Copy(*this, Source); }
  static const TSkinKeyTable<TObject>& Keys();

  TColor cBtnFace() const { return FcBtnFace; }
  TColor cBtnText() const { return FcBtnText; }
  TColor cWindow() const { return FcWindow; }
  TColor cWindowText() const { return FcWindowText; }
  TColor cHighLight() const { return FcHighLight; }
  TColor cHighLightText() const { return FcHighLightText; }
  TColor cBtnHighLight() const { return FcBtnHighLight; }
  TColor cBtnShadow() const { return FcBtnShadow; }
  TColor c3DLight() const { return Fc3DLight; }
  TColor c3DDkShadow() const { return Fc3DDkShadow; }
  void SetcBtnFace(TColor Value) { FcBtnFace = Value; }
  void SetcBtnText(TColor Value) { FcBtnText = Value; }
  void SetcWindow(TColor Value) { FcWindow = Value; }
  void SetcWindowText(TColor Value) { FcWindowText = Value; }
  void SetcHighLight(TColor Value) { FcHighLight = Value; }
  void SetcHighLightText(TColor Value) { FcHighLightText = Value; }
  void SetcBtnHighLight(TColor Value) { FcBtnHighLight = Value; }
  void SetcBtnShadow(TColor Value) { FcBtnShadow = Value; }
  void Setc3DLight(TColor Value) { Fc3DLight = Value; }
  void Setc3DDkShadow(TColor Value) { Fc3DDkShadow = Value; }

 private:
  TColor FcBtnFace = 0;
  TColor FcBtnText = 0;
  TColor FcWindow = 0;
  TColor FcWindowText = 0;
  TColor FcHighLight = 0;
  TColor FcHighLightText = 0;
  TColor FcBtnHighLight = 0;
  TColor FcBtnShadow = 0;
  TColor Fc3DLight = 0;
  TColor Fc3DDkShadow = 0;
};
