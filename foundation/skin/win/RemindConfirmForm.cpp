#include "foundation/skin/win/RemindConfirmForm.h"
#include "foundation/skin/win/HySkinForms.h"

#include "classlib/PngImage.h"
#include "foundation/app/HyAppUtils.h"
#include "foundation/app/HyLangTable.h"
#include "foundation/app/win/HyAppWin.h"
#include "foundation/app/win/HyLangRes.h"
#include "rtl/ScopeGuard.h"

namespace {

String LangText(Integer Group, Integer Index) {
  String S;
  GetLangText(Group, Index, false, S);
  return S;
}

// The notice picture of the program's resources, or nullptr.
std::unique_ptr<TPngImage> NoticePicture() {
  HRSRC R = FindResourceW(nullptr, L"NoticePng", reinterpret_cast<LPCWSTR>(RT_RCDATA));
  if (!R) return nullptr;
  HGLOBAL G = LoadResource(nullptr, R);
  const DWORD Size = SizeofResource(nullptr, R);
  const void* Data = G ? LockResource(G) : nullptr;
  if (!Data || !Size) return nullptr;
  TMemoryStream M;
  M.WriteBuffer(Data, Integer(Size));
  M.SetPosition(0);
  auto P = std::make_unique<TPngImage>();
  try {
    P->LoadFromStream(&M);
  } catch (const Exception&) {
    return nullptr;
  }
  return P;
}

bool VistaOrLater() {
  OSVERSIONINFOW V{};
  V.dwOSVersionInfoSize = sizeof V;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&V);
#pragma GCC diagnostic pop
  return V.dwMajorVersion >= 6;
}

}  // namespace

TfrmRemindConfirm::TfrmRemindConfirm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = new TspFormSkin(this);
  spFormSkin1->SetBorderIcons(0);
  spFormSkin1->FSizeable = false;
  SetBorderStyle(bsDialog);
  SetPosition(poDesktopCenter);
  SetClientWidth(393);

  pnlMsg = new TspSkinPanel(this);
  pnlMsg->SetParent(this);
  pnlMsg->SetBorderStyle(bvNone);
  pnlMsg->SetAlign(alTop);
  pnlMsg->SetHeight(138);
  pnlButton = new TspSkinPanel(this);
  pnlButton->SetParent(this);
  pnlButton->SetBorderStyle(bvNone);
  pnlButton->SetTop(138);
  pnlButton->SetAlign(alTop);
  pnlButton->SetHeight(53);

  Bevel2 = new TBevel(this);
  Bevel2->SetShape(bsSpacer);
  Bevel2->SetParent(pnlMsg);
  Bevel2->SetBounds(0, 0, 3, 138);
  Bevel2->SetAlign(alLeft);
  Image1 = new TImage(this);
  Image1->SetParent(pnlMsg);
  Image1->SetBounds(3, 0, 55, 138);
  Image1->SetAlign(alLeft);
  Image1->SetCenter(true);
  Image1->SetTransparent(true);
  if (auto P = NoticePicture()) Image1->Picture()->SetGraphic(P.get());
  Bevel1 = new TBevel(this);
  Bevel1->SetShape(bsSpacer);
  Bevel1->SetParent(pnlMsg);
  Bevel1->SetBounds(378, 0, 15, 138);
  Bevel1->SetAlign(alRight);
  lblMsg = new TLabel(this);
  lblMsg->SetParent(pnlMsg);
  lblMsg->SetAutoSize(false);
  lblMsg->SetWordWrap(true);
  lblMsg->SetLayout(tlCenter);
  lblMsg->SetTransparent(true);
  lblMsg->SetAlign(alClient);
  lblMsg->Font()->SetName(u"Tahoma");
  lblMsg->Font()->SetHeight(-12);
  lblMsg->Font()->SetColor(clMaroon);

  chkNotRemind = new TspSkinCheckRadioBox(this);
  chkNotRemind->SetParent(pnlButton);
  chkNotRemind->SetBounds(13, 17, 193, 20);
  btnCancel = new TspSkinButton(this);
  btnCancel->SetParent(pnlButton);
  btnCancel->SetBounds(219, 15, 60, 24);
  btnCancel->SetModalResult(mrCancel);
  btnCancel->SetCancel(true);
  btnContinue = new TspSkinButton(this);
  btnContinue->SetParent(pnlButton);
  btnContinue->SetBounds(294, 15, 76, 24);
  btnContinue->SetModalResult(mrOk);
  btnContinue->SetDefault(true);

  SetCaption(LangText(0, 1));
  chkNotRemind->SetCaption(LangText(0, 57));
  btnCancel->SetCaption(LangText(0, 7));
  btnContinue->SetCaption(LangText(0, 58));

  if (LangIndex == 0 && VistaOrLater()) {
    const String YaHei = u"\u5FAE\u8F6F\u96C5\u9ED1";
    for (TFont* F : {Font(), btnContinue->DefaultFont(), btnCancel->DefaultFont(), chkNotRemind->DefaultFont(),
                     lblMsg->Font()}) {
      F->SetName(YaHei);
      F->SetSize(9);
    }
    // The caption's own fonts (a skin's caption font stays the skin's).
    for (TFont* F : {spFormSkin1->DefCaptionFont(), spFormSkin1->DefInActiveCaptionFont()}) {
      TFont C;
      C.Assign(F);
      C.SetName(YaHei);
      C.SetSize(9);
      if (F == spFormSkin1->DefCaptionFont())
        spFormSkin1->SetDefCaptionFont(&C);
      else
        spFormSkin1->SetDefInActiveCaptionFont(&C);
    }
  }
  SetClientHeight(pnlMsg->Height() + pnlButton->Height());
  ApplySkinToForm(this);
  // A scheme's frame replaces the window's frame: the client keeps its size
  // (the buttons sit at the right edge of the 393 pixels).
  SetClientWidth(393);
  SetClientHeight(pnlMsg->Height() + pnlButton->Height());
  OnShow = [this](TObject*) {
    if (btnContinue->CanFocus()) btnContinue->SetFocus();
  };
  ActiveDialogHandle = Handle();
}

TfrmRemindConfirm::~TfrmRemindConfirm() {
  if (HandleAllocated() && ActiveDialogHandle == Handle()) ActiveDialogHandle = nullptr;
}

void TfrmRemindConfirm::AdjustLayout(Integer MsgHeight, bool NoRemindChecked, bool CancelVisible,
                                     TAlignment Alignment, bool CheckVisible, bool IsCloseButton) {
  btnCancel->SetVisible(CancelVisible);
  lblMsg->SetAlignment(Alignment);
  pnlMsg->SetHeight(MsgHeight);
  chkNotRemind->SetVisible(CheckVisible);
  chkNotRemind->SetChecked(NoRemindChecked);
  if (IsCloseButton) btnContinue->SetCaption(LangText(0, 59));
  SetClientHeight(pnlMsg->Height() + pnlButton->Height());
}

TModalResult TfrmRemindConfirm::ShowModal() {
  ActiveDialogHandle = Handle();
  TFinally Cleared([&] { ActiveDialogHandle = nullptr; });
  return TForm::ShowModal();
}

void TfrmRemindConfirm::DoClose(TCloseAction& Action) {
  TForm::DoClose(Action);
  ActiveDialogHandle = nullptr;
}
