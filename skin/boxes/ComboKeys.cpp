#include "skin/boxes/ComboKeys.h"

#include <algorithm>

#include "skin/boxes/PopupPlace.h"

Integer ComboPageUp(Integer ItemIndex, Integer DropDownCount) { return std::max(0, ItemIndex - DropDownCount - 1); }

Integer ComboPageDown(Integer ItemIndex, Integer DropDownCount, Integer Count) {
  return std::min(Count - 1, ItemIndex + DropDownCount - 1);
}

TspComboKeyResult ComboFixedKey(Word Key, bool Alt, bool Shown, Integer ItemIndex, Integer Count,
                                Integer DropDownCount) {
  TspComboKeyResult R;
  auto Select = [&](Integer I) {
    R.Action = TspComboKeyAction::Select;
    R.Index = I;
  };
  switch (Key) {
    case ckReturn:
      if (Shown) R.Action = TspComboKeyAction::CloseAccept;
      break;
    case ckEscape:
      if (Shown) R.Action = TspComboKeyAction::CloseCancel;
      break;
    case ckPrior:
      if (Count > 0) Select(ComboPageUp(ItemIndex, DropDownCount));
      break;
    case ckNext:
      if (Count > 0) Select(ComboPageDown(ItemIndex, DropDownCount, Count));
      break;
    case ckUp:
    case ckLeft:
      if (Alt) {
        if (Shown) R.Action = TspComboKeyAction::CloseCancel;
      } else if (ItemIndex > 0) {
        Select(ItemIndex - 1);
      }
      break;
    case ckDown:
    case ckRight:
      if (Alt) {
        if (!Shown) R.Action = TspComboKeyAction::Open;
      } else if (ItemIndex < Count - 1) {
        Select(ItemIndex + 1);
      }
      break;
    default:
      break;
  }
  return R;
}

TspSearch ComboCompletionSearch(const String& Text, Integer ItemIndex) {
  TspSearch S;
  S.Text = Text;
  S.FromIndex = Text.size() == 1 ? ItemIndex : -1;
  return S;
}

TspSearch ComboTypeAhead(TspTypeAhead& State, char16_t Ch, Cardinal Now, bool AutoComplete, Integer ItemIndex) {
  String Text;
  if (AutoComplete) {
    if (TickDiff(Now, State.LastTime) > 499) State.Filter.clear();
    State.Filter += Ch;
    Text = State.Filter;
  } else {
    Text = String(1, Ch);
  }
  State.LastTime = Now;
  if (Text.empty()) return TspSearch{};
  return ComboCompletionSearch(Text, ItemIndex);
}

bool ComboAutoCompleteDue(TspTypeAhead& State, Cardinal Now) {
  if (TickDiff(Now, State.LastTime) <= 200) return false;
  State.LastTime = Now;
  return true;
}

TPoint ComboDropDownOrigin(const TRect& ControlScreen, Integer ListWidth, Integer ListHeight,
                           const TRect& WorkArea) {
  TPoint P = PlacePopupBelow(ControlScreen.TopLeft(), ControlScreen.Height(), ListWidth, ListHeight, WorkArea);
  // A list wider than the work area keeps its left edge (and its first
  // columns) in view.
  if (P.X < WorkArea.Left) P.X = WorkArea.Left;
  return P;
}
