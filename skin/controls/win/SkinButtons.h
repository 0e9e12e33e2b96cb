// The skinned push button TspSkinButton and the menu button
// TspSkinMenuButton, with what the speed buttons share with them: the
// paint event, the button content (an images-menu item, an image-list
// image or a glyph strip with the caption) and the drop-down marker.
// Winelib only.
#pragma once

#include <functional>

#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinMenus.h"
#include "skin/data/SpLayout.h"

class TspLayerManager;

// Fired before a button draws its image and caption into R (the text area);
// DrawDefault := False leaves them out.
using TspButtonPaintEvent =
    std::function<void(TObject* Sender, TCanvas* Cnvs, const TRect& R, bool ADown, bool AMouseIn, bool& DrawDefault)>;

// What a button shows in its text area: the selected item of an images
// menu (when UseImagesMenuImage), else an image of ImageList, else the
// glyph strip, each with the caption.
struct TspButtonContent {
  String Caption;
  Integer Margin = -1;
  Integer Spacing = 1;
  TspButtonLayout Layout = blGlyphLeft;
  TspSkinImagesMenu* ImagesMenu = nullptr;
  bool UseImagesMenuImage = false;
  bool UseImagesMenuCaption = false;
  TCustomImageList* ImageList = nullptr;
  Integer ImageIndex = -1;
  // Take the image list only when Glyph is empty (the speed buttons).
  bool ImageListNeedsEmptyGlyph = false;
  TBitmap* Glyph = nullptr;
  Integer NumGlyphs = 1;
  bool Enabled = true;
  bool DrawColorMarker = false;
  TColor ColorMarkerValue = 0;
};
// Draws the content into R; GlyphNum picks the glyph strip's frame and
// Pressed shifts the picture as a pressed default look does.
void DrawButtonContent(TCanvas* Canvas, const TRect& R, const TspButtonContent& C, Integer GlyphNum, bool Pressed);
// The piece Rect of Picture drawn centred in R with TransparentColor keyed out.
void DrawMenuMarkerPicture(TCanvas* Canvas, const TRect& R, TBitmap* Picture, const TRect& Rect,
                           TColor TransparentColor);

// How a tool look builds a face piece: the classic nine-slice on the client
// rect, or the description's own nine-slice geometry.
enum TspToolFaceStyle : Byte { tfsClientStretch, tfsNineSlice };
// Rect of Picture built at W x H by Style and drawn into Dest at (X, Y).
void DrawToolFacePiece(TCanvas* Dest, Integer X, Integer Y, Integer W, Integer H, TspToolFaceStyle Style,
                       const TspSkinGeometry& G, TBitmap* Picture, const TRect& Rect);

// ---------------------------------------------------------------------------

class TspSkinButton : public TspSkinCustomControl {
 public:
  explicit TspSkinButton(TComponent* AOwner);
  ~TspSkinButton() override;

  bool CheckedMode() const { return FCheckedMode; }
  // True turns GroupIndex to -1; False takes -1 back to 0.
  void SetCheckedMode(bool Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool AlwaysShowLayeredFrame() const { return FAlwaysShowGlowFrame; }
  void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowGlowFrame = Value; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  bool RepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(bool Value) { FRepeatMode = Value; }
  Integer RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(Integer Value) { FRepeatInterval = Value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool CanFocused() const { return FCanFocused; }
  // Also sets TabStop.
  void SetCanFocused(bool Value);
  bool Down() const { return FDown; }
  // Going down releases the other down buttons of the same parent and
  // GroupIndex > 0 (not with AllowAllUp).
  void SetDown(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  // A non-zero group turns CanFocused off.
  void SetGroupIndex(Integer Value);
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  Integer Margin() const { return FMargin; }
  // Values below -1 are refused.
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TspButtonLayout Layout() const { return FLayout; }
  void SetLayout(TspButtonLayout Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  bool Default() const { return FDefault; }
  // Tells the form's buttons (CM_FOCUSCHANGED) once the window exists.
  void SetDefault(bool Value);
  Integer ModalResult() const { return FModalResult; }
  void SetModalResult(Integer Value) { FModalResult = Value; }

  // Clears the hot and down state (no group handling) and repaints.
  void RefreshButton();
  // The glow frame around the button (a layered window).
  void ShowLayer();
  void HideLayer();
  // The click: the form's ModalResult (when CanFocused), then OnClick.
  virtual void ButtonClick();
  // Draws state R of the skin with the caption, into B.
  virtual void CreateStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);

  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override { (void)B; }
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  // The button's own click event (the class library's Click never fires it).
  TNotifyEvent OnClick;
  TspButtonPaintEvent OnPaint;

  // Cross-fade (20 ms steps of 0.2), frame animation and auto-repeat
  // timers.
  TspControlTimer MorphTimer;
  TspControlTimer AnimateTimer;
  TspControlTimer RepeatTimer;
  Integer CurrentFrame = 0;
  bool AnimateInc = false;
  double FMorphKf = 0;
  bool FMouseIn = false;
  // When set, the next morph step of a focused button jumps to its focused
  // look (the form's fade-in sets it).
  bool FStopAnimate = false;

  // From the description.
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect AnimateSkinRect;
  Integer FrameCount = 0, AnimateInterval = 0;
  bool ShowFocus = false;
  TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0, GlowLayerAlphaBlendValue = 255;

  TspLayerManager* LayerManager() const { return FLayerManager; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

  // Has the focus and may take it.
  bool IsFocused();
  bool MorphPossible() const { return Morphing && SkinEffectsOn(); }
  // Start the cross-fade when it can run, else repaint.
  void UpdateLook();
  void StartMorph();
  void StopMorph();
  void MorphStep();
  void StartAnimate(bool Forward);
  void StopAnimate();
  void AnimateStep();
  void StartRepeat();
  void StopRepeat();
  // Hot state, focus or glow messages.
  void MouseEntered();
  void MouseLeft();
  // The font and colour of a skinned state.
  void SetStateFont(TCanvas* C, bool ADown, bool AMouseIn);
  TspButtonContent Content();

  bool FCheckedMode = false;
  bool FStopMouseUp = false;
  bool FAlwaysShowGlowFrame = false;
  TspLayerManager* FLayerManager;
  TspSkinImagesMenu* FSkinImagesMenu = nullptr;
  bool FUseImagesMenuImage = false;
  bool FUseImagesMenuCaption = false;
  bool FSpaceSupport = true;
  bool FUseSkinFontColor = true;
  bool FUseSkinSize = true;
  bool FRepeatMode = false;
  Integer FRepeatInterval = 100;
  bool FActive = false;
  bool FAllowAllUp = false;
  bool FAllowAllUpCheck = false;
  bool FDefault = false;
  bool FCancel = false;
  Integer FModalResult = 0;
  bool FClicksDisabled = false;
  bool FCanFocused = true;
  bool FDown = false;
  bool FMouseDown = false;
  Integer FGroupIndex = 0;
  TBitmap* FGlyph;
  Integer FNumGlyphs = 1;
  Integer FMargin = -1;
  Integer FSpacing = 1;
  TspButtonLayout FLayout = blGlyphLeft;
  TCustomImageList* FImageList = nullptr;
  Integer FImageIndex = -1;
};

// ---------------------------------------------------------------------------

class TspSkinMenuButton : public TspSkinButton {
 public:
  explicit TspSkinMenuButton(TComponent* AOwner);

  TspSkinImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
  // Also makes the menu repaint the button after a choice.
  void SetSkinImagesMenu(TspSkinImagesMenu* Value);
  bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
  void SetUseImagesMenuImage(bool Value) { FUseImagesMenuImage = Value; }
  bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
  void SetUseImagesMenuCaption(bool Value) { FUseImagesMenuCaption = Value; }
  TspSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
  void SetSkinPopupMenu(TspSkinPopupMenu* Value);
  bool TrackButtonMode() const { return FTrackButtonMode; }
  void SetTrackButtonMode(bool Value);
  bool MenuTracked() const { return FMenuTracked; }

  // The drop-down part moved to the current size.
  TRect GetTrackRect();
  // Whether a press at (X, Y) opens the menu.
  bool InMenuArea(Integer X, Integer Y);
  // Opens the menus; when none could open the button comes up again.
  void DropMenu();

  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnShowTrackMenu;
  TNotifyEvent OnHideTrackMenu;
  TRect TrackButtonRect;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // After the popup menu (AfterPopup) or the images menu closed.
  void MenuClosed(bool AfterPopup);
  // The tool-button and resizable looks.
  void CreateToolStateImage(TBitmap* B, TspToolFaceStyle Style, bool ADown, bool AMouseIn);

  bool FTrackButtonMode = false;
  bool FMenuTracked = false;
  TspSkinPopupMenu* FSkinPopupMenu = nullptr;
};
