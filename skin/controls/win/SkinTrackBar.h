// The skinned track bar TspSkinTrackBar: a button moving along a track over
// an integer range, dragged, jumped to by a click (JumpWhenClick), stepped by
// the arrow keys and the wheel when focusable. Skinned, the track up to the
// button shows the description's active image. Winelib only.
#pragma once

#include "skin/controls/SkinBarGeometry.h"
#include "skin/controls/win/SkinControl.h"

class TspSkinTrackBar : public TspSkinCustomControl {
 public:
  explicit TspSkinTrackBar(TComponent* AOwner);

  Integer MinValue() const { return FMinValue; }
  Integer MaxValue() const { return FMaxValue; }
  Integer Value() const { return FValue; }
  // Limited (the maximum tested first); a change repaints and fires OnChange.
  void SetValue(Integer Value);
  // The value follows into the range without OnChange.
  void SetMinValue(Integer Value);
  void SetMaxValue(Integer Value);
  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value);
  bool MouseSupport() const { return FMouseSupport; }
  void SetMouseSupport(bool Value) { FMouseSupport = Value; }
  bool JumpWhenClick() const { return FJumpWhenClick; }
  void SetJumpWhenClick(bool Value) { FJumpWhenClick = Value; }
  bool CanFocused() const { return FCanFocused; }
  // Also sets TabStop.
  void SetCanFocused(bool Value);
  bool Dragging() const { return FDown; }
  // The button's rect at the last paint (or layout).
  const TRect& ButtonRectNow() const { return BR; }

  TNotifyEvent OnChange, OnLastChange, OnStartDragButton;

  void GetSkinData() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  // Lays the button out at the current size and value (as a paint does).
  void CalcButton();

  Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
  TRect BR;
  TRect ActiveSkinRect, TrackArea, NewTrackArea, ButtonRect, ActiveButtonRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  // The track the button runs in at the current size.
  TRect CurrentTrack() const;
  void Step(Integer Delta);
  void LastChange();

  bool FClicksDisabled = false;
  bool FCanFocused = false;
  Integer FMinValue = 0, FMaxValue = 100, FValue = 50;
  bool FVertical = false;
  bool FMouseSupport = true;
  bool FDown = false;
  Integer OMPos = 0, OldBOffset = 0;
  bool FJumpWhenClick = false;
};
