// The speed button: a non-windowed button with a caption and a glyph, flat
// or raised, that can stay down as one of a group of siblings. Winelib only.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Graphics.h"

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool Down() const { return FDown; }
  // Only in a group (GroupIndex not 0); down releases the group's other
  // buttons on the same parent; up only with AllowAllUp.
  void SetDown(bool Value);
  // The mouse is over the button (as the enter and leave notices said).
  bool MouseInControl() const { return FMouseInControl; }
  // The button is held by the mouse.
  bool Pressed() const { return FPressed; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // The mouse came onto or left the button (after the state changed).
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}

 private:
  void ReleaseGroup();

  TBitmap* FGlyph;
  bool FFlat = false;
  bool FTransparent = true;
  Integer FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FDown = false;
  bool FMouseInControl = false;
  bool FPressed = false;
  // The press is shown (the mouse is over the held button).
  bool FPressedShown = false;
};
