// The notice dialog: a message with a picture, a "do not remind me again"
// check box and the Continue and Cancel buttons; built in code from its
// layout. Winelib only.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "skin/controls/win/SkinButtons.h"
#include "skin/controls/win/SkinCheckRadio.h"
#include "skin/controls/win/SkinPanel.h"
#include "skin/form/win/FormSkin.h"

class TfrmRemindConfirm : public TForm {
 public:
  explicit TfrmRemindConfirm(TComponent* AOwner);
  ~TfrmRemindConfirm() override;

  // Cancel shown or not, the message's alignment, the message panel's
  // height, the check box shown and checked or not, with IsCloseButton the
  // Continue button reads "close"; the client height follows the panels.
  void AdjustLayout(Integer MsgHeight, bool NoRemindChecked, bool CancelVisible, TAlignment Alignment,
                    bool CheckVisible, bool IsCloseButton);

  TspFormSkin* spFormSkin1;
  TspSkinPanel* pnlButton;
  TspSkinButton* btnContinue;
  TspSkinButton* btnCancel;
  TspSkinCheckRadioBox* chkNotRemind;
  TspSkinPanel* pnlMsg;
  TLabel* lblMsg;
  TBevel* Bevel2;
  TBevel* Bevel1;
  TImage* Image1;

  // Every way out clears ActiveDialogHandle.
  TModalResult ShowModal() override;

 protected:
  void DoClose(TCloseAction& Action) override;
};
