// The skinned tool buttons, painted by their parent: the speed button
// TspSkinSpeedButton (toggle, group and check buttons, auto-repeat, flat
// looks, cross-fade and frame animation) and the menu speed button
// TspSkinMenuSpeedButton with its 15-pixel drop-down part. Winelib only.
#pragma once

#include "skin/controls/win/SkinButtons.h"

class TspSkinSpeedButton : public TspGraphicSkinCustomControl {
 public:
  explicit TspSkinSpeedButton(TComponent* AOwner);
  ~TspSkinSpeedButton() override;

  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  TCustomImageList* ImageList() const { return FButtonImages; }
  void SetImageList(TCustomImageList* Value);
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  Integer WidthWithCaption() const { return FWidthWithCaption; }
  void SetWidthWithCaption(Integer Value) { FWidthWithCaption = Value; }
  Integer WidthWithoutCaption() const { return FWidthWithoutCaption; }
  void SetWidthWithoutCaption(Integer Value) { FWidthWithoutCaption = Value; }
  Integer ImageIndex() const { return FImageIndex; }
  // Repaints when an image list is set.
  void SetImageIndex(Integer Value);
  bool RepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(bool Value) { FRepeatMode = Value; }
  Integer RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(Integer Value) { FRepeatInterval = Value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool Down() const { return FDown; }
  // No equality test; going down releases the down buttons of the same
  // parent and GroupIndex > 0 (not with AllowAllUp).
  void SetDown(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool DrawColorMarker() const { return FDrawColorMarker; }
  void SetDrawColorMarker(bool Value);
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
  Integer ArrowMode() const { return FArrowMode; }
  void SetArrowMode(Integer Value);
  TColor ArrowColor() const { return FArrowColor; }
  void SetArrowColor(TColor Value);

  // True removes csOpaque (the parent paints its background under the
  // button first), False adds it.
  virtual void SetTransparentStyle(bool Value);
  // The skinned look of one state into B (already of the control's size).
  virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
  // The click: OnClick.
  virtual void ButtonClick();
  // Clears hot and down (plain writes) and repaints.
  void RefreshButton();
  // One drop-down marker picture centred in R.
  void DrawMenuMarker(TCanvas* C, const TRect& R, bool AActive, bool ADown, bool AFlat);

  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override { (void)B; }
  void ChangeSkinData() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void Dispatch(TMessage& Message) override;

  TspButtonPaintEvent OnPaint;

  TspControlTimer MorphTimer;
  TspControlTimer AnimateTimer;
  TspControlTimer RepeatTimer;
  Integer CurrentFrame = 0;
  bool AnimateInc = false;
  double FMorphKf = 0;
  bool FMouseIn = false;
  // The colour marker's colour (set by descendants).
  TColor FColorMarkerValue = 0;

  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect AnimateSkinRect;
  Integer FrameCount = 0, AnimateInterval = 0;
  TRect MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect, MenuMarkerFlatRect;
  TColor MenuMarkerTransparentColor = 0;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

  bool MorphActive() const { return Morphing && SkinEffectsOn(); }
  bool PressedLook() const { return FDown && (FMouseIn || FGroupIndex != 0); }
  // The cross-fade, or a repaint where it cannot run.
  void StartMorph();
  void StopMorph();
  void MorphStep();
  void StartAnimate(bool Forward);
  void StopAnimate();
  void AnimateStep();
  void StartRepeat();
  void StopRepeat();
  void MouseEntered();
  void MouseLeft();
  // The caption as drawn (empty without ShowCaption).
  String ShownCaption();
  TspButtonContent Content();
  // The caption font of a skinned state.
  void SetStateFont(TCanvas* C, bool ADown, bool AMouseIn);
  // The flat look straight on the canvas (no background).
  void PaintFlatContent(const TRect& R);
  void PaintArrowMode();

  bool FCheckedMode = false;
  bool FStopMouseUp = false;
  TspSkinImagesMenu* FSkinImagesMenu = nullptr;
  bool FUseImagesMenuImage = false;
  bool FUseImagesMenuCaption = false;
  bool FDrawColorMarker = false;
  bool FUseSkinSize = true;
  bool FUseSkinFontColor = true;
  TCustomImageList* FButtonImages = nullptr;
  Integer FImageIndex = 0;
  bool FRepeatMode = false;
  Integer FRepeatInterval = 100;
  bool FFlat = false;
  bool FAllowAllUp = false;
  bool FAllowAllUpCheck = false;
  bool FDown = false;
  bool FMouseDown = false;
  Integer FGroupIndex = 0;
  TBitmap* FGlyph;
  Integer FNumGlyphs = 1;
  Integer FMargin = -1;
  Integer FSpacing = 1;
  TspButtonLayout FLayout = blGlyphLeft;
  Integer FWidthWithCaption = 0;
  Integer FWidthWithoutCaption = 0;
  bool FShowCaption = true;
  Integer FArrowMode = 0;
  TColor FArrowColor = clGray;
};

// ---------------------------------------------------------------------------

enum TspTrackPosition : Byte { sptpRight, sptpBottom };

class TspSkinMenuSpeedButton : public TspSkinSpeedButton {
 public:
  explicit TspSkinMenuSpeedButton(TComponent* AOwner);

  bool NewStyle() const { return FNewStyle; }
  // True also names the description "resizetoolbutton".
  void SetNewStyle(bool Value);
  TspTrackPosition TrackPosition() const { return FTrackPosition; }
  void SetTrackPosition(TspTrackPosition Value);
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
  // Repaints only when unskinned.
  void SetTrackButtonMode(bool Value);
  bool MenuTracked() const { return FMenuTracked; }

  // Whether a press at (X, Y) opens the menu (all edges inclusive).
  bool InMenuArea(Integer X, Integer Y);
  // Opens the menus; when none could open the button comes up again.
  void DropMenu();

  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnShowTrackMenu;
  TNotifyEvent OnHideTrackMenu;
  TRect TrackButtonRect;
  // A plain direction triangle (FArrowType as DrawDirectionArrow takes it)
  // in place of the marker.
  bool FDrawStandardArrow = false;
  Integer FArrowType = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MenuClosed();
  // The drop-down part of the current look.
  TRect ArrowPartRect();
  // Text rect beside the drop-down part.
  TRect TextBesidePart();
  void CreateComposedImage(TBitmap* B, bool ADown, bool AMouseIn);
  void CreateToolImage(TBitmap* B, TspToolFaceStyle Style, bool ADown, bool AMouseIn);
  void DrawPartMarker(TCanvas* C, const TRect& R, bool AMouseIn, bool Pressed);

  bool FTrackButtonMode = false;
  bool FMenuTracked = false;
  TspSkinPopupMenu* FSkinPopupMenu = nullptr;
  bool FNewStyle = false;
  TspTrackPosition FTrackPosition = sptpRight;
};
