// The skinned check and radio box TspSkinCheckRadioBox: a three-state value
// with groups among siblings, the focus on a click, Space and the
// accelerator, and four looks (flat or framed, each skinned or default).
// The flat look paints what lies behind the box under its mark and caption.
// Winelib only.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "skin/controls/win/SkinControl.h"

class TspSkinCheckRadioBox : public TspSkinCustomControl {
 public:
  explicit TspSkinCheckRadioBox(TComponent* AOwner);
  ~TspSkinCheckRadioBox() override;

  bool Checked() const { return FChecked; }
  // No change test (callers rely on it): stores, repaints, unchecks the
  // checked siblings of the same non-zero GroupIndex (each through this
  // setter), then OnClick for a check box, for a radio box when True.
  void SetChecked(bool Value);
  TCheckBoxState State() const { return FState; }
  // Stores, repaints and fires OnClick always; no group handling.
  void SetState(TCheckBoxState Value);
  bool Radio() const { return FRadio; }
  void SetRadio(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  bool CanFocused() const { return FCanFocused; }
  // Also sets TabStop.
  void SetCanFocused(bool Value);

  // The click: a radio box becomes checked, a check box flips.
  virtual void Toggle();

  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void CheckParentBackground() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  // The box's own click event.
  TNotifyEvent OnClick;

  TspControlTimer MorphTimer;
  double FMorphKf = 0;
  bool FMouseIn = false;

  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
  TRect ActiveSkinRect, CheckImageArea, TextArea;
  TRect CheckImageRect, UnCheckImageRect, ActiveCheckImageRect, ActiveUnCheckImageRect;
  TRect UnEnabledCheckImageRect, UnEnabledUnCheckImageRect, GrayedCheckImageRect, ActiveGrayedCheckImageRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  // Framed skinned look at the current size.
  TRect CIRect, NewTextArea;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

  bool IsFocused() { return FCanFocused && Focused(); }
  bool CrossFadeEnabled() const { return Morphing && SkinEffectsOn(); }
  void HotStateChanged();
  void MorphStep();
  void StopMorph();
  // The check image of the current state into C at (X, Y).
  void DrawStateImage(TCanvas* C, Integer X, Integer Y);
  void PaintFlat(TBitmap* B, bool Skinned);
  void ComposeFramed(TBitmap* B, const TRect& R, bool Active);
  void DrawDefaultMark(TCanvas* C);
  void SetSkinFont(TCanvas* C);

  bool FDown = false;
  bool FUseSkinFontColor = true;
  bool FWordWrap = false;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = 0;
  bool FFlat = true;
  bool FClicksDisabled = false;
  bool FCanFocused = true;
  Integer FGroupIndex = 0;
  bool FChecked = false;
  bool FRadio = false;
};
