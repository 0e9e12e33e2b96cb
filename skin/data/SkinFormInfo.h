// The frame geometry of skinned forms ([FORMINFO]) and the named areas of
// the frame picture ([SKINAREAS]). Coordinates are pixels of the main picture.
// Portable header: no Windows header.
#pragma once

#include "rtl/Classes.h"
#include "skin/data/SkinKeys.h"

// The [FORMINFO] fields; the skin model carries them as its own fields.
struct TspSkinFormInfo {
  TRect SizeGripArea;
  String StatusBarName;
  TRect ButtonsRect;
  TRect CaptionRect;
  Integer ButtonsOffset = 0;
  bool CapButtonsInLeft = false;
  bool AutoRenderingInActiveImage = false;
  TspInActiveEffect InActiveEffect = ieBrightness;
  Integer CursorIndex = -1;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  Integer BGPictureIndex = -1;
  Integer MDIBGPictureIndex = -1;
  TRect MainMenuRect;
  TRect IconRect;
  bool MainMenuPopupUp = false;
  TRect MaskRectArea;
  TPoint HitTestLTPoint;
  TPoint HitTestRTPoint;
  TPoint HitTestLBPoint;
  TPoint HitTestRBPoint;
  TRect ClRect;
  Integer BorderW = 0;
  Integer FormMinWidth = 0;
  Integer FormMinHeight = 0;
  bool MDITabsTransparent = false;
  bool MainMenuBarTransparent = false;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;
  bool MDIBGStretchEffect = false;
  TspStretchType MDIBGStretchType = spstFull;
  TPoint RollUpLeftPoint;
  TPoint RollUpRightPoint;

  // Reads [FORMINFO] with its corrections: with a mask picture (MaskNamed)
  // the mask area grows to hold the client rect and zero hit-test points take
  // their corner points; corner points are kept inside the client rect.
  void LoadFormInfo(TCustomIniFile* IniFile, bool MaskNamed);
  // Erases [FORMINFO] and writes the fields as they are.
  void SaveFormInfo(TCustomIniFile* IniFile) const;
  static const TSkinKeyTable<TspSkinFormInfo>& Keys();
};

// One named rectangle of the frame picture with its anchor flags.
class TspDataSkinArea : public TObject {
 public:
  TspDataSkinArea(const String& AIDName, const TRect& ARect, bool AUseAnchors, bool AAnchorLeft, bool AAnchorTop,
                  bool AAnchorRight, bool AAnchorBottom);

  String IDName;
  TRect AreaRect;
  bool UseAnchors;
  bool AnchorLeft;
  bool AnchorTop;
  bool AnchorRight;
  bool AnchorBottom;
};

// One [SKINAREAS] entry: the name before the last ":", the rect up to the
// last ";", the five flags when exactly nine characters follow it.
TspDataSkinArea* ParseSkinArea(const String& Entry);
String SkinAreaToText(const TspDataSkinArea& Area);
