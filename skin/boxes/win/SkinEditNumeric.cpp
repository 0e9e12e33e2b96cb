// The numeric edit.
#include "skin/boxes/win/SkinEdit.h"

TspSkinNumericEdit::TspSkinNumericEdit(TComponent* AOwner) : TspSkinCustomEdit(AOwner) {
  StopCheck = true;
  SetText(u"0");
  StopCheck = false;
  SetBounds(Left(), Top(), 120, 20);
  FSkinDataName = u"edit";
}

bool TspSkinNumericEdit::IsNumText(const String& AText) {
  return ::IsNumText(Text(), AText, FValueType == TspValueType::vtFloat);
}

void TspSkinNumericEdit::SetTextChecked(const String& S) {
  // An unchanged text is no change: nothing fires.
  if (S != Text()) SetText(S);
}

void TspSkinNumericEdit::SetValue(double AValue) {
  FValue = ClampRangeValue(AValue, FMinValue, FMaxValue);
  auto Alive = LivenessToken();
  StopCheck = true;
  SetTextChecked(FormatValue(FValue));
  if (*Alive) StopCheck = false;
}

void TspSkinNumericEdit::Change() {
  if (FromEdit) return;
  auto Alive = LivenessToken();
  if (!StopCheck && IsNumText(Text())) {
    const bool Float = FValueType == TspValueType::vtFloat;
    double P = 0;
    // A number that cannot be read (beyond 32 bits without a range) leaves
    // Value and the text as they are.
    if (ParseNumText(Text(), Float, FMinValue != FMaxValue, P)) {
      const double V = ClampRangeValue(P, FMinValue, FMaxValue);
      if (V != FValue) FValue = V;
      if (NumTextNeedsRewrite(V, P, FMinValue, FMaxValue)) {
        FromEdit = true;
        SetText(FormatValue(Float ? V : FValue));
        if (!*Alive) return;
        FromEdit = false;
        SetSelStart(static_cast<Integer>(Text().size()));
      }
    }
  }
  TspSkinCustomEdit::Change();
}

void TspSkinNumericEdit::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinCustomEdit::KeyDown(Key, Shift);
  if (!FSupportUpDownKeys) return;
  if (Key == VK_UP)
    SetValue(FValue + FIncrement);
  else if (Key == VK_DOWN)
    SetValue(FValue - FIncrement);
}

void TspSkinNumericEdit::KeyPress(Char& Key) {
  if (!NumKeyAccepted(Key, Text(), TspNumKeyRules{FValueType == TspValueType::vtFloat, true})) RefuseKey(Key);
  TspSkinCustomEdit::KeyPress(Key);
}

void TspSkinNumericEdit::Dispatch(TMessage& M) {
  if (M.Msg != WM_KILLFOCUS) {
    TspSkinCustomEdit::Dispatch(M);
    return;
  }
  auto Alive = LivenessToken();
  TspSkinCustomEdit::Dispatch(M);
  if (!*Alive) return;
  StopCheck = true;
  SetTextChecked(FormatValue(FValue));
  if (!*Alive) return;
  StopCheck = false;
  if (FValueType == TspValueType::vtFloat) {
    // The value had more digits than are shown: it becomes what is shown.
    double Shown = 0;
    if (ParseNumText(Text(), true, true, Shown) && Shown != FValue) {
      FValue = Shown;
      if (OnChange) OnChange(this);
    }
  }
}
