// The skinned up-down arrows TspSkinUpDown: two arrow buttons stepping an
// integer Position between Min and Max by Increment. A button steps when it
// is released; held, it repeats through the window's own timer 1 (first
// after 600 ms, then every 100 ms). The tab controls scroll their tab row
// with it. Default look: two framed arrow buttons; with a skin and
// UseSkinSize, the "hupdown" description's picture and button states;
// without UseSkinSize, each button a stretched "resizebutton". Winelib only.
#pragma once

#include "skin/controls/SkinUpDownGeometry.h"
#include "skin/controls/win/SkinControl.h"

enum TUDOrientation { udHorizontal, udVertical };

// The skin's looks of a pair of arrow buttons, as rectangles of its picture.
struct TspArrowPairLooks {
  const TRect& ActiveUp;
  const TRect& DownUp;
  const TRect& ActiveDown;
  const TRect& DownDown;
};
// Button I of an arrow pair (0 the first, 1 the second) at R in the skin's
// own size: its pressed look while Down with the mouse over it, its hot look
// while the mouse is over it, copied from Picture; at rest nothing (the
// normal look is part of the control's picture), nor for an empty look.
void CopyArrowButtonLook(TCanvas* C, TBitmap* Picture, const TRect& R, Integer I, bool Down, bool MouseIn,
                         const TspArrowPairLooks& Looks);

class TspSkinUpDown : public TspSkinCustomControl {
 public:
  explicit TspSkinUpDown(TComponent* AOwner);

  Integer Min() const { return FMin; }
  Integer Max() const { return FMax; }
  Integer Position() const { return FPosition; }
  Integer Increment() const { return FIncrement; }
  // A position below the new Min is raised to it, without OnChange.
  void SetMin(Integer Value);
  // A position above the new Max is lowered to it, without OnChange.
  void SetMax(Integer Value);
  // Ignored outside Min .. Max; otherwise stored and announced (OnChange),
  // also when it equals the current position. Nothing is repainted.
  void SetPosition(Integer Value);
  void SetIncrement(Integer Value) { FIncrement = Value; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);

  TNotifyEvent OnChange, OnUpButtonClick, OnDownButtonClick;

  void GetSkinData() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void Dispatch(TMessage& Message) override;

  // Places the buttons at the current size and skin.
  void CalcButtons();
  const TRect& ButtonRect(Integer I) const { return Buttons[I].R; }
  bool ButtonHot(Integer I) const { return Buttons[I].MouseIn; }
  bool ButtonDown(Integer I) const { return Buttons[I].Down; }

  Integer OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
  // What a repeat tick does: 0 nothing, 1 subtract Increment, 2 add it.
  Integer TimerMode = 0;
  // The first, longer repeat delay is running.
  bool WaitMode = false;
  // The description's rects (the pressed ones fall back to the hot ones).
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
      DownDownButtonRect;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  struct TButton {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
  };
  // Without UseSkinSize: each button from the skin's "resizebutton".
  void DrawResizeButtons(TBitmap* B);
  void HitTest(Integer X, Integer Y);
  void StartTimer(Cardinal Interval);
  void StopTimer();

  TButton Buttons[2];
  bool FUseSkinSize = true;
  TUDOrientation FOrientation = udHorizontal;
  Integer FIncrement = 1, FPosition = 0, FMin = 0, FMax = 100;
};
