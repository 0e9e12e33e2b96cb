// The skinning of forms: the program's one skin model, the walk that hands
// it to every skinned component a form owns, and two small helpers for
// skinned combo boxes and scroll bars. Winelib only. This library sits above
// the skinned form engine; no unit of the skin layers includes it.
#pragma once

#include "classlib/Forms.h"
#include "rtl/System.h"

class TspSkinData;
class TspSkinComboBox;
class TspSkinScrollBar;

// The program's skin model, owned by the main window (its skin-data
// component) and set by it; nil until then.
extern TspSkinData* AppSkinData;

// Gives AppSkinData to every skinned component Form owns, in the form's
// component order: controls through ApplySkinToControl, the form's skin
// engine (TspFormSkin) and its popup menus (TspSkinPopupMenu) directly; any
// other component is left alone. Nothing at all while AppSkinData is nil.
void ApplySkinToForm(TForm* Form);

// Gives AppSkinData to one control; the first class that matches decides:
// a skinned edit, a skinned windowed control (panels included), a skinned
// graphic control, the skinned tab control, the skinned page control (and
// then every control on each of its pages). Other controls are left alone.
void ApplySkinToControl(TControl* Control);

// Selects the first item whose text equals Text exactly (letter case
// included); the selection stays when no item matches.
void SelectComboItem(TspSkinComboBox* ComboBox, const String& Text);

// A mouse-wheel handler for skinned scroll bars: the event is handled, and an
// enabled bar moves by its SmallChange, forward when Down, backward otherwise.
void ScrollBarByWheel(TspSkinScrollBar* ScrollBar, bool Down, const TPoint& MousePos, bool& Handled);
