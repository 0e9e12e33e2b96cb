// Bmp32_RangeBars: the scroll bars of the image view. TArrowBar draws arrow
// buttons, a track and a handle (themed when visual themes are active,
// classic frame controls otherwise) and runs the press, repeat and hover
// timer; TCustomRangeBar adds a floating position inside Range - window.
// Winelib only.
#pragma once

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"

enum TRBBackgnd : Byte { bgPattern, bgSolid };
enum TRBStyle : Byte { rbsDefault, rbsMac };
enum TRBZone : Byte { zNone, zBtnPrev, zTrackPrev, zHandle, zTrackNext, zBtnNext };
// The bars take the forms' border styles; only bsNone and bsSingle are used.
using TRBBorderStyle = TFormBorderStyle;
using TRBIncrement = Integer;

// Directions of arrow buttons and track parts.
inline constexpr Integer drLeft = 0, drUp = 1, drRight = 2, drDown = 3;

// Timer modes of a bar.
inline constexpr Integer tmFirstDelay = 1, tmRepeat = 2, tmHover = 3;

class TArrowBar : public TCustomControl {
 public:
  explicit TArrowBar(TComponent* AOwner);
  ~TArrowBar() override;

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Dispatch(TMessage& Message) override;

  TRBBackgnd Backgnd() const { return FBackgnd; }
  void SetBackgnd(TRBBackgnd Value);
  TRBBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TRBBorderStyle Value);
  Integer ButtonSize() const { return FButtonSize; }
  void SetButtonSize(Integer Value);
  TColor HandleColor() const { return FHandleColor; }
  void SetHandleColor(TColor Value);
  TColor ButtonColor() const { return FButtonColor; }
  void SetButtonColor(TColor Value);
  TColor HighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  bool ShowArrows() const { return FShowArrows; }
  void SetShowArrows(bool Value);
  bool ShowHandleGrip() const { return FShowHandleGrip; }
  void SetShowHandleGrip(bool Value);
  TRBStyle Style() const { return FStyle; }
  void SetStyle(TRBStyle Value);

  TRBZone DragZone() const { return FDragZone; }
  TRBZone HotZone() const { return FHotZone; }
  Integer TimerMode() const { return FTimerMode; }
  // Geometry (client coordinates).
  Integer GetButtonSize();
  TRect GetTrackBoundary();
  virtual TRect GetHandleRect() { return TRect(0, 0, 0, 0); }
  TRBZone GetZone(Integer X, Integer Y);
  virtual bool DrawEnabled() { return Enabled(); }

  TNotifyEvent OnChange;
  TNotifyEvent OnUserChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  virtual void DoChange();
  virtual void DoDrawButton(TRect R, Integer Direction, bool Pushed, bool Enabled, bool Hot);
  virtual void DoDrawHandle(TRect R, bool Horz, bool Pushed, bool Hot);
  virtual void DoDrawTrack(TRect R, Integer Direction, bool Pushed, bool Enabled, bool Hot);
  virtual void StopHotTracking();
  virtual void TimerHandler();
  virtual void TimerStep() {}
  virtual void DoWheel(Integer Delta) { (void)Delta; }
  virtual bool CanPress() { return true; }
  virtual void StartDragTracking() {}
  virtual void UpdateDragTracking(Integer Delta) { (void)Delta; }
  // Length along the bar.
  Integer BarLength() { return FKind == sbHorizontal ? ClientWidth() : ClientHeight(); }
  void SetTimer(Integer Mode);
  void DrawBorder(HDC DC);

  TRBBackgnd FBackgnd = bgPattern;
  TRBBorderStyle FBorderStyle = bsSingle;
  Integer FButtonSize = 0;
  TColor FHandleColor = clBtnShadow;
  TColor FButtonColor = clBtnFace;
  TColor FHighLightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  TColor FBorderColor = clWindowFrame;
  TScrollBarKind FKind = sbHorizontal;
  bool FShowArrows = true;
  bool FShowHandleGrip = true;
  TRBStyle FStyle = rbsDefault;
  bool GenChange = false;
  TRBZone FDragZone = zNone;
  TRBZone FHotZone = zNone;
  TTimer* FTimer;
  Integer FTimerMode = 0;
  Integer StoredX = 0, StoredY = 0;
  Single PosBeforeDrag = 0;
};

class TCustomRangeBar : public TArrowBar {
 public:
  explicit TCustomRangeBar(TComponent* AOwner);

  void SetParams(Integer NewRange, Integer NewWindow);
  bool Centered() const { return FCentered; }
  void SetCentered(bool Value) { FCentered = Value; }
  TRBIncrement Increment() const { return FIncrement; }
  void SetIncrement(TRBIncrement Value) { FIncrement = Value; }
  Single Position() const { return FPosition; }
  void SetPosition(Single Value);
  Integer Range() const { return FRange; }
  void SetRange(Integer Value) { SetParams(Value, FWindow); }
  Integer Window() const { return FWindow; }
  void SetWindow(Integer Value) { SetParams(FRange, Value); }
  Integer EffectiveWindow() const { return FEffectiveWindow; }
  bool DrawEnabled() override;
  TRect GetHandleRect() override;
  void Resize() override;
  // Runs one timer step at once (what the timer does on its tick).
  void Step() { TimerStep(); }

 protected:
  void TimerStep() override;
  void DoWheel(Integer Delta) override;
  bool CanPress() override { return FEffectiveWindow < FRange; }
  void StartDragTracking() override { PosBeforeDrag = FPosition; }
  void UpdateDragTracking(Integer Delta) override;
  void UpdateEffectiveWindow();
  void AdjustPosition();
  void UserPosition(Single Value);

  bool FCentered = false;
  Integer FEffectiveWindow = 0;
  TRBIncrement FIncrement = 8;
  Single FPosition = 0;
  Integer FRange = 0;
  Integer FWindow = 0;
};

class TRangeBar : public TCustomRangeBar {
 public:
  using TCustomRangeBar::TCustomRangeBar;
};

// The themes library, loaded by name once; off when it or a vital entry is
// missing, or when the application is not themed.
bool RangeBarThemesInUse();
