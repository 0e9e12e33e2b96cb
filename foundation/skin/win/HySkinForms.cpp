// The skinning of forms and the helpers of skinned combo boxes and scroll bars.
#include "foundation/skin/win/HySkinForms.h"

#include "skin/boxes/SkinBoxLists.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "skin/form/win/FormSkin.h"

TspSkinData* AppSkinData = nullptr;

void ApplySkinToControl(TControl* Control) {
  if (!Control) return;
  if (auto* E = dynamic_cast<TspSkinCustomEdit*>(Control)) {
    E->SetSkinData(AppSkinData);
  } else if (auto* W = dynamic_cast<TspSkinControl*>(Control)) {
    W->SetSkinData(AppSkinData);
  } else if (auto* G = dynamic_cast<TspGraphicSkinControl*>(Control)) {
    G->SetSkinData(AppSkinData);
  } else if (auto* T = dynamic_cast<TspSkinTabControl*>(Control)) {
    T->SetSkinData(AppSkinData);
  } else if (auto* P = dynamic_cast<TspSkinPageControl*>(Control)) {
    P->SetSkinData(AppSkinData);
    for (Integer I = 0; I < P->PageCount(); ++I) {
      TTabSheet* Page = P->Pages(I);
      for (Integer J = 0; J < Page->ControlCount(); ++J) ApplySkinToControl(Page->Controls(J));
    }
  }
}

void ApplySkinToForm(TForm* Form) {
  if (!AppSkinData || !Form) return;
  for (Integer I = 0; I < Form->ComponentCount(); ++I) {
    TComponent* C = Form->Components(I);
    if (auto* Ctl = dynamic_cast<TControl*>(C)) {
      ApplySkinToControl(Ctl);
    } else if (auto* FS = dynamic_cast<TspFormSkin*>(C)) {
      FS->SetSkinData(AppSkinData);
    } else if (auto* M = dynamic_cast<TspSkinPopupMenu*>(C)) {
      M->SetSkinData(AppSkinData);
    }
  }
}

void SelectComboItem(TspSkinComboBox* ComboBox, const String& Text) {
  if (!ComboBox) return;
  TStrings* Items = ComboBox->Items();
  for (Integer I = 0; I < Items->Count(); ++I) {
    if (Items->Strings(I) == Text) {
      ComboBox->SetItemIndex(I);
      return;
    }
  }
}

void ScrollBarByWheel(TspSkinScrollBar* ScrollBar, bool Down, const TPoint& MousePos, bool& Handled) {
  (void)MousePos;
  Handled = true;
  if (!ScrollBar || !ScrollBar->Enabled()) return;
  ScrollBar->SetPosition(Down ? ScrollBar->Position() + ScrollBar->SmallChange()
                              : ScrollBar->Position() - ScrollBar->SmallChange());
}
