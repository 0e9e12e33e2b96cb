// The colour button.
#include "skin/form/win/SkinColorBtn.h"

#include "classlib/ResString.h"

TspSkinColorButton::TspSkinColorButton(TComponent* AOwner) : TspSkinMenuSpeedButton(AOwner) {
  SetDrawColorMarker(true);
  FColorMenu = new TspSkinImagesMenu(this);
  FColorImages = new TImageList(this);
  FColorMenu->OnMenuPopup = [this](TObject* S) { MenuPopup(S); };
  FColorMenu->OnItemClick = [this](TObject* S) { MenuItemClick(S); };
  FColorMenu->OnItemIndexChanged = [this](TObject* S, Integer I) { OnItemChanged(S, I); };
  InitColors();
}

// The menu and the image list are owned: the component frees them.
TspSkinColorButton::~TspSkinColorButton() = default;

bool TspSkinColorButton::Loading() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
}

void TspSkinColorButton::Loaded() {
  TspSkinMenuSpeedButton::Loaded();
  InitColors();
}

void TspSkinColorButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinMenuSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FColorDialog) FColorDialog = nullptr;
}

void TspSkinColorButton::SetColorDialog(TspSkinColorDialog* Value) {
  FColorDialog = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinColorButton::SetMainWindowHandle(HWND Value) {
  FMainWindowHandle = Value;
  FColorMenu->SetMainWindowHandle(Value);
}

void TspSkinColorButton::SetCustomColors(const TspCustomColorValues& Value, Integer Count) {
  CustomColorValuesCount = CopyCustomColors(CustomColorValues, Value, Count);
}

void TspSkinColorButton::OnItemChanged(TObject*, Integer Index) {
  if (OnItemIndexChanged) OnItemIndexChanged(this, Index);
}

void TspSkinColorButton::SetShowAutoColor(bool Value) {
  if (FShowAutoColor == Value) return;
  FShowAutoColor = Value;
  if (!Loading()) InitColors();
}

void TspSkinColorButton::SetShowMoreColor(bool Value) {
  if (FShowMoreColor == Value) return;
  FShowMoreColor = Value;
  if (!Loading()) InitColors();
}

void TspSkinColorButton::SetShowPickColor(bool Value) {
  if (FShowPickColor == Value) return;
  FShowPickColor = Value;
  if (!Loading()) InitColors();
}

Integer TspSkinColorButton::MoreColorsIndex() const {
  if (!FShowMoreColor) return -1;
  const Integer N = FColorMenu->ImagesItems()->Count();
  return FShowPickColor ? N - 2 : N - 1;
}

Integer TspSkinColorButton::PickColorIndex() const {
  return FShowPickColor ? FColorMenu->ImagesItems()->Count() - 1 : -1;
}

String TspSkinColorButton::MenuText(const String& Key, Integer Ident) const {
  TspSkinData* SD = FColorMenu->SkinData();
  if (SD && SD->ResourceStrData()) return SD->ResourceStrData()->GetResStr(Key);
  return LoadResString(Ident);
}

void TspSkinColorButton::SetCommandCaptions() {
  TspImagesMenuItems* Items = FColorMenu->ImagesItems();
  if (FShowAutoColor) Items->Items(0)->SetCaption(MenuText(u"AUTOCOLOR", 65157));
  if (FShowMoreColor) Items->Items(MoreColorsIndex())->SetCaption(MenuText(u"MORECOLORS", 65155));
  if (FShowPickColor) Items->Items(PickColorIndex())->SetCaption(MenuText(u"PICKCOLOR", 65156));
}

void TspSkinColorButton::InitColors() {
  SetSkinImagesMenu(FColorMenu);
  SetSkinPopupMenu(nullptr);
  if (FColorImages->Count() > 0) FColorImages->Clear();
  TspImagesMenuItems* Items = FColorMenu->ImagesItems();
  if (Items->Count() > 0) Items->Clear();
  FColorMenu->SetColumnsCount(8);
  FColorMenu->SetSkinData(SkinData());
  FColorMenu->SetItemIndex(0);
  if (FShowAutoColor) {
    TspImagesMenuItem* I = Items->Add();
    I->SetImageIndex(0);
    I->SetButton(true);
    I->FColor = FAutoColor;
  }
  for (size_t k = 0; k < ButtonColorTable.size(); ++k) {
    TspImagesMenuItem* I = Items->Add();
    I->SetImageIndex(Integer(k) + 1);
    I->SetButton(false);
    I->FColor = ButtonColorTable[k];
  }
  FColorImages->SetSize(12, 12);
  TBitmap B;
  B.SetSize(12, 12);
  TCanvas* C = B.Canvas();
  C->Brush()->SetStyle(bsSolid);
  const TRect Whole(0, 0, 12, 12);
  if (!FShowAutoColor) {
    C->Brush()->SetColor(clBlack);
    C->FillRect(Whole);
    FColorImages->Add(&B, nullptr);
  } else {
    const Integer MX = B.Width() / 2, MY = B.Height() / 2;
    C->Brush()->SetColor(TColor(0xFFFFFF));
    C->FillRect(TRect(0, 0, MX, MY));
    C->FillRect(TRect(MX, MY, 12, 12));
    C->Brush()->SetColor(TColor(0xE9E9E9));
    C->FillRect(TRect(MX, 0, 12, MY));
    C->FillRect(TRect(0, MY, MX, 12));
    FColorImages->Add(&B, nullptr);
  }
  for (TColor Col : ButtonColorTable) {
    C->Brush()->SetColor(Col);
    C->FillRect(Whole);
    FColorImages->Add(&B, nullptr);
  }
  FColorMenu->SetImages(FColorImages);
  if (FShowMoreColor) {
    TspImagesMenuItem* I = Items->Add();
    I->SetImageIndex(-1);
    I->SetButton(true);
  }
  if (FShowPickColor) {
    TspImagesMenuItem* I = Items->Add();
    I->SetImageIndex(-1);
    I->SetButton(true);
  }
  SetCommandCaptions();
}

void TspSkinColorButton::SetColorValue(TColor Value) {
  if (Value == FColorMarkerValue && DrawColorMarker() == FDrawColorMarker_B) return;
  FColorMarkerValue = Value;
  Repaint();
  if (!Loading() && OnChangeColor) Fire(OnChangeColor, this);
}

void TspSkinColorButton::MenuPopup(TObject*) {
  TspImagesMenuItems* Items = FColorMenu->ImagesItems();
  const Integer First = FShowAutoColor ? 1 : 0;
  const Integer Last = First + Integer(ButtonColorTable.size()) - 1;
  const TColor Want = ColorToRGB(ColorValue());
  Integer Found = -1;
  for (Integer i = First; i <= Last && i < Items->Count(); ++i)
    if (ColorToRGB(Items->Items(i)->FColor) == Want) {
      Found = i;
      break;
    }
  Integer Index;
  if (!DrawColorMarker() && FShowAutoColor)
    Index = 0;
  else if (Found >= 0)
    Index = Found;
  else
    Index = FShowMoreColor ? MoreColorsIndex() : -1;
  FColorMenu->SetItemIndex(Index);
  FDrawColorMarker_B = DrawColorMarker();
  FColorMenu->SetSkinData(SkinData());
  SetCommandCaptions();
}

void TspSkinColorButton::RunColorDialog() {
  if (!FColorDialog) {
    SetColorDialog(new TspSkinColorDialog(this));
    FColorDialog->SetSkinData(SkinData());
    FColorDialog->SetCtrlSkinData(SkinData());
  }
  TspSkinColorDialog* D = FColorDialog;
  D->MainWindowHandle = FMainWindowHandle;
  D->DialogFormLeft = DialogFormLeft;
  D->DialogFormTop = DialogFormTop;
  D->SetCustomColors(CustomColorValues, CustomColorValuesCount);
  D->SetColor(ColorValue());
  auto Alive = LivenessToken();
  const bool Ok = D->Execute();
  if (!*Alive) return;
  if (Ok) {
    SetDrawColorMarker(true);
    SetColorValue(D->Color());
    CustomColorValues = D->CustomColorValues;
    CustomColorValuesCount = std::clamp(D->CustomColorValuesCount, 0, CustomColorSlots);
    if (OnColorDialogClose) Fire(OnColorDialogClose, this);
    if (!*Alive) return;
  }
  DialogFormLeft = D->DialogFormLeft;
  DialogFormTop = D->DialogFormTop;
}

void TspSkinColorButton::MenuItemClick(TObject*) {
  const Integer Index = FColorMenu->ItemIndex();
  if (Index < 0) return;
  if (FShowMoreColor && Index == MoreColorsIndex()) {
    RunColorDialog();
  } else if (FShowPickColor && Index == PickColorIndex()) {
    if (OnStartPickColor) Fire(OnStartPickColor, this);
  } else if (FShowAutoColor && Index == 0) {
    SetDrawColorMarker(false);
    SetColorValue(ColorValue());
  } else if (Index < FColorMenu->ImagesItems()->Count()) {
    SetDrawColorMarker(true);
    SetColorValue(FColorMenu->ImagesItems()->Items(Index)->FColor);
  }
}
