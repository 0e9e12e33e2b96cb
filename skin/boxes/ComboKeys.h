// The combo box's decisions that need no window: the fixed style's key
// table, paging, the type-ahead buffer and its timing, the autocompletion
// gate, and where the drop-down list opens.
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

// Paging moves by DropDownCount + 1 up and DropDownCount - 1 down.
Integer ComboPageUp(Integer ItemIndex, Integer DropDownCount);
Integer ComboPageDown(Integer ItemIndex, Integer DropDownCount, Integer Count);

enum class TspComboKeyAction { None, CloseAccept, CloseCancel, Open, Select };
struct TspComboKeyResult {
  TspComboKeyAction Action = TspComboKeyAction::None;
  Integer Index = -1;  // the item to select (Select)
};
// Virtual-key codes the table reads (the Win32 numbers).
inline constexpr Word ckReturn = 0x0D, ckEscape = 0x1B, ckPrior = 0x21, ckNext = 0x22, ckLeft = 0x25, ckUp = 0x26,
                      ckRight = 0x27, ckDown = 0x28;
// The fixed style's key table.
TspComboKeyResult ComboFixedKey(Word Key, bool Alt, bool Shown, Integer ItemIndex, Integer Count,
                                Integer DropDownCount);

// Tick differences are taken unsigned, so a wrapped counter still counts.
inline Cardinal TickDiff(Cardinal Now, Cardinal Last) { return Now - Last; }

// The fixed style's type-ahead: with AutoComplete the buffer empties after
// more than 499 ms and the character is appended; without it the search
// text is the character alone. A one-character text searches after the
// current item (FromIndex = ItemIndex), a longer one from the top (-1).
struct TspTypeAhead {
  String Filter;          // FFilter
  Cardinal LastTime = 0;  // FLastTime (shared with autocompletion)
};
struct TspSearch {
  String Text;            // empty: nothing to look up
  Integer FromIndex = -1; // LB_FINDSTRING's start index
};
TspSearch ComboTypeAhead(TspTypeAhead& State, char16_t Ch, Cardinal Now, bool AutoComplete, Integer ItemIndex);

// The edit style's autocompletion runs only when more than 200 ms passed
// since the last step (recording Now when it runs). Same search rule.
bool ComboAutoCompleteDue(TspTypeAhead& State, Cardinal Now);
TspSearch ComboCompletionSearch(const String& Text, Integer ItemIndex);

// Where the drop-down list opens (screen coordinates): below the control's
// bottom-left corner; above it, flush with its top, when the list would pass
// the work area's bottom; its left edge is held inside the work area (a list
// wider than the room to the right moves left, never past the left edge).
TPoint ComboDropDownOrigin(const TRect& ControlScreen, Integer ListWidth, Integer ListHeight, const TRect& WorkArea);

// The row count of the open list: the smaller of the items and DropDownCount.
inline Integer ComboDropDownRows(Integer Count, Integer DropDownCount) {
  return Count < DropDownCount ? Count : DropDownCount;
}
