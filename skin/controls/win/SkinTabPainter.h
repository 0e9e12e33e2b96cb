// What the skinned page control and the skinned tab control share: the tab
// description read into their fields (an entry of another class counts as
// none), the frame strips around the page area, the client piece of the
// skin picture, the strip behind the tabs and the drawing of one tab (its
// skinned, button-style or default image, turned for its side, with glyph,
// caption and close button). Winelib only.
#pragma once

#include <functional>
#include <memory>

#include "classlib/Controls.h"
#include "classlib/ComCtrls.h"
#include "classlib/ImgList.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinTypes.h"
#include "skin/data/SpLayout.h"

using TspDrawSkinTabEvent =
    std::function<void(Integer TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

// The description's fields as a control keeps them.
struct TspTabSkin {
  // Index of the description in the skin's list, -1 unskinned.
  Integer FIndex = -1;
  TBitmap* Picture = nullptr;
  TRect SkinRect, ClRect, TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  Integer TabLeftOffset = 0, TabRightOffset = 0;
  TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TRect TabLeftBottomActiveRect, TabLeftBottomFocusRect;
  Integer BGPictureIndex = -1;
  String UpDown;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
  bool TabStretchEffect = false, ShowFocus = false, StretchEffect = false;
  Integer FocusOffsetX = 0, FocusOffsetY = 0;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  TspStretchType StretchType = spstFull;

  bool Skinned() const { return FIndex != -1; }
  // Reads the tab description Name of SD (none, or one of another class:
  // unskinned, Picture nil). The close-button fallbacks are written back
  // into the shared description.
  void ReadTabSkin(TspSkinData* SD, const String& Name);
  // The frame rectangle: the page rectangle D grown by the skin margins.
  TRect SkinFrameRect(const TRect& D) const;
  // The frame's client piece cut from the picture (nil without one).
  std::unique_ptr<TBitmap> ClientPiece() const;
  // The four border strips of the frame F, with Excluded left out.
  void DrawFrameStrips(TCanvas* C, const TRect& F, const TRect& Excluded) const;
  // The strip behind the tabs outside the frame F on the tabs' side of a
  // control of W x H.
  static TRect StripArea(TTabPosition Position, const TRect& F, Integer W, Integer H);
  // Strip (of Area's size) filled with the tab background tile, or with
  // what lies under Control when Transparent. An empty tile rectangle takes
  // the frame's client piece (kept in TabsBGRect).
  void FillStrip(TBitmap* Strip, TControl* Control, const TRect& Area, const TRect& F, TTabPosition Position,
                 bool Transparent);
};

// What a control lends to every tab it draws.
struct TspTabLook {
  TspSkinData* SD = nullptr;
  TFont* Font = nullptr;
  bool Focused = false;
  TTabPosition Position = tpTop;
  // Button-style tabs (the page control's tsButtons and tsFlatButtons).
  bool ButtonStyle = false;
  String ButtonTabSkinDataName;
  bool MultiLine = false;
  SmallInt TabHeight = 0;
  bool UseSkinFont = true;
  bool ShowCloseButtons = false;
  Integer CloseSize = 14;
  bool TextInHorizontal = false;
  bool ExtendedDraw = false;
  Integer Margin = -1, Spacing = 1;
  TspButtonLayout Layout = blGlyphLeft;
  // How far an unselected caption moves beside a taller selected tab.
  Integer CaptionNudge = 2;
  TCustomImageList* Images = nullptr;
  const TspDrawSkinTabEvent* OnDrawSkinTab = nullptr;
};

// One tab to draw and its close-button state.
struct TspTabFace {
  Integer TI = 0;
  String Text;
  Integer ImageIndex = -1;
  bool HasImage = false;
  bool GlyphEnabled = true;
  bool* ButtonMouseIn = nullptr;
  bool* ButtonMouseDown = nullptr;
  TRect* ButtonRect = nullptr;
};

// One tab at R on Cnvs (see the controls' DrawSkinTab).
void DrawTabFace(const TspTabSkin& S, const TspTabLook& L, const TspTabFace& F, const TRect& R, bool Active,
                 bool MouseIn, TCanvas* Cnvs);

// The active picture Index of a skin, or nil.
TBitmap* SkinActivePicture(TspSkinData* SD, Integer Index);
