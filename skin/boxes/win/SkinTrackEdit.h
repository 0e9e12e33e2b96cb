// The track edit: a skinned integer edit whose edit button opens a pop-up
// track bar under it. Winelib only.
#pragma once

#include "skin/boxes/win/SkinEdit.h"
#include "skin/controls/win/SkinTrackBar.h"

enum TspTrackBarPopupKind : Byte { tbpRight, tbpLeft };

class TspSkinTrackEdit;

// The track bar the track edit pops up: a tool window of its own (owned by
// the edit's form, placed in screen coordinates) that never takes the
// activation or the focus.
class TspSkinPopupTrackBar : public TspSkinTrackBar {
 public:
  explicit TspSkinPopupTrackBar(TComponent* AOwner);
  TspSkinTrackEdit* TrackEdit = nullptr;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
};

class TspSkinTrackEdit : public TspSkinCustomEdit {
 public:
  explicit TspSkinTrackEdit(TComponent* AOwner);
  ~TspSkinTrackEdit() override;

  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  Integer MinValue() const { return FMinValue; }
  void SetMinValue(Integer V) { FMinValue = V; }
  Integer MaxValue() const { return FMaxValue; }
  void SetMaxValue(Integer V) { FMaxValue = V; }
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer V) { FIncrement = V; }
  bool SupportUpDownKeys() const { return FSupportUpDownKeys; }
  void SetSupportUpDownKeys(bool V) { FSupportUpDownKeys = V; }
  TspTrackBarPopupKind PopupKind() const { return FPopupKind; }
  void SetPopupKind(TspTrackBarPopupKind V) { FPopupKind = V; }
  Integer TrackBarWidth() const { return FTrackBarWidth; }
  void SetTrackBarWidth(Integer V) { FTrackBarWidth = V; }
  const String& TrackBarSkinDataName() const { return FTrackBarSkinDataName; }
  void SetTrackBarSkinDataName(const String& V) { FTrackBarSkinDataName = V; }
  bool TrackBarAlphaBlend() const { return FTrackBarAlphaBlend; }
  void SetTrackBarAlphaBlend(bool V) { FTrackBarAlphaBlend = V; }
  Byte TrackBarAlphaBlendValue() const { return FTrackBarAlphaBlendValue; }
  void SetTrackBarAlphaBlendValue(Byte V) { FTrackBarAlphaBlendValue = V; }
  bool TrackBarAlphaBlendAnimation() const { return FTrackBarAlphaBlendAnimation; }
  void SetTrackBarAlphaBlendAnimation(bool V) { FTrackBarAlphaBlendAnimation = V; }
  bool JumpWhenClick() const { return FPopupTrackBar->JumpWhenClick(); }
  void SetJumpWhenClick(bool V) { FPopupTrackBar->SetJumpWhenClick(V); }

  bool IsNumText(const String& AText);
  // The edit button's click: the pop-up opens or closes.
  void ButtonClick(TObject* Sender);
  TspSkinPopupTrackBar* PopupTrackBar() const { return FPopupTrackBar; }
  bool PopupShown() const;

  // The work area pop-ups are kept in (the nearest monitor's); a test may
  // replace it.
  std::function<TRect(HWND)> WorkArea;

  bool StopCheck = false, FromEdit = false;

 protected:
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Dispatch(TMessage& Message) override;

 private:
  void ShowPopup();
  void HidePopup();
  void StepBy(Integer Delta);
  void SetTextChecked(const String& S);

  Integer FIncrement = 1;
  bool FSupportUpDownKeys = true;
  TspTrackBarPopupKind FPopupKind = tbpRight;
  Integer FTrackBarWidth = 0;
  String FTrackBarSkinDataName = u"htrackbar";
  Integer FMinValue = 0, FMaxValue = 100, FValue = 0;
  TspSkinPopupTrackBar* FPopupTrackBar = nullptr;
  bool FTrackBarAlphaBlend = false;
  Byte FTrackBarAlphaBlendValue = 0;
  bool FTrackBarAlphaBlendAnimation = false;
};
