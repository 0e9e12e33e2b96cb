// The spin edit: a skinned number field with two arrow buttons around an
// inner numeric edit. Winelib only.
#pragma once

#include "skin/boxes/win/SkinEdit.h"
#include "skin/controls/win/SkinControl.h"

class TspSkinSpinEdit : public TspSkinCustomControl {
 public:
  explicit TspSkinSpinEdit(TComponent* AOwner);
  ~TspSkinSpinEdit() override;

  double Value() const { return FValue; }
  // Clamped, shown, and OnChange fires (also for an unchanged value).
  void SetValue(double AValue);
  // Clamped and shown; no OnChange.
  void SimpleSetValue(double AValue);
  double MinValue() const { return FMinValue; }
  void SetMinValue(double AValue);
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double AValue);
  TspValueType ValueType() const { return FValueType; }
  void SetValueType(TspValueType AValue);
  Byte Decimal() const { return FDecimal; }
  void SetDecimal(Byte AValue) { FDecimal = AValue; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double AValue) { FIncrement = AValue; }
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor AValue);
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
  bool EditorEnabled() const { return FEdit->EditorEnabled(); }
  void SetEditorEnabled(bool AValue) { FEdit->SetEditorEnabled(AValue); }
  Integer MaxLength() const { return FEdit->MaxLength(); }
  void SetMaxLength(Integer AValue) { FEdit->SetMaxLength(AValue); }

  bool IsNumText(const String& AText);
  TspSkinNumEdit* Edit() const { return FEdit; }

  TNotifyEvent OnChange, OnUpButtonClick, OnDownButtonClick, OnEditEnter, OnEditExit;
  TKeyEvent OnEditKeyDown, OnEditKeyUp;
  TKeyPressEvent OnEditKeyPress;

  void Invalidate() override;
  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap* B) override;
  void CreateControlSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void DefaultFontChanged() override;
  void CalcSkinSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;

  // Places the buttons and the inner edit.
  void Layout();
  const TRect& ButtonRect(Integer I) const { return Buttons[I].R; }
  bool ButtonHot(Integer I) const { return Buttons[I].MouseIn; }
  bool ButtonDown(Integer I) const { return Buttons[I].Down; }
  bool HoverLook() const { return FMouseIn; }

  bool StopCheck = false, FromEdit = false;
  Integer OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
  Integer TimerMode = 0;
  bool WaitMode = false;
  // The description's fields.
  TRect ActiveSkinRect;
  String FontName;
  TFontStyles FontStyle = 0;
  Integer FontHeight = 0;
  TColor FontColor = clBlack, ActiveFontColor = clBlack, DisabledFontColor = clGrayText;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
      DownDownButtonRect;
  Integer LOffset = 0, ROffset = 0;

 protected:
  virtual void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void EditKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void EditKeyPress(TObject* Sender, Char& Key);
  virtual void EditEnter(TObject* Sender);
  virtual void EditExit(TObject* Sender);
  // Fires OnChange with StopCheck on.
  virtual void Change();
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;

 private:
  struct TButton {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
  };
  void HitTest(Integer X, Integer Y);
  void StartTimer(Cardinal Interval);
  void StopTimer();
  void Step(Integer Button);
  String FormatValue(double V) const { return FormatNumValue(V, FValueType, FDecimal); }
  double Clamp(double V) const { return ClampSpinValue(V, FMinValue, FMaxValue); }
  void SetEditFontColor(TColor C);
  bool HasActiveLook() const { return Skinned() && !IsSkinRectEmpty(ActiveSkinRect); }
  void PaintInto(HDC DC);

  TButton Buttons[2];
  TspSkinNumEdit* FEdit = nullptr;
  TColor FDefaultColor = clWindow;
  bool FUseSkinSize = true;
  bool FMouseIn = false, FEditFocused = false;
  Byte FDecimal = 2;
  double FMinValue = 0, FMaxValue = 0, FIncrement = 1.0, FValue = 0;
  TspValueType FValueType = TspValueType::vtInteger;
};
