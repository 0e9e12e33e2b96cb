// The picture-menu buttons.
#include "skin/controls/win/SkinPictureButtons.h"

TspSkinGraphicButton::TspSkinGraphicButton(TComponent* AOwner)
    : TspSkinMenuSpeedButton(AOwner), FGraphicMenu(nullptr), FGraphicImages(nullptr) {
  SetWidth(65);
  FGraphicImages = new TImageList(nullptr);
  FGraphicMenu = new TspSkinImagesMenu(nullptr);
  FGraphicMenu->SetImages(FGraphicImages);
  SetSkinImagesMenu(FGraphicMenu);
  FUseImagesMenuImage = true;
}

TspSkinGraphicButton::~TspSkinGraphicButton() {
  FSkinImagesMenu = nullptr;
  delete FGraphicMenu;
  FGraphicImages->Clear();
  delete FGraphicImages;
}

void TspSkinGraphicButton::LoadGraphics() {
  LoadGraphicImages();
  LoadGraphicItems();
}

void TspSkinGraphicButton::Loaded() {
  TspSkinMenuSpeedButton::Loaded();
  SetSkinImagesMenu(FGraphicMenu);
  FGraphicMenu->SetSkinData(FSD);
}

Integer TspSkinGraphicButton::GetItemIndex() const { return FGraphicMenu->FItemIndex; }

void TspSkinGraphicButton::SetItemIndex(Integer Value) {
  FGraphicMenu->FItemIndex = Value;
  Repaint();
}

// ---------------------------------------------------------------------------

TspSkinPenStyleButton::TspSkinPenStyleButton(TComponent* AOwner) : TspSkinGraphicButton(AOwner) { LoadGraphics(); }

void TspSkinPenStyleButton::LoadGraphicImages() {
  static const Char* const Names[] = {u"SP_PEN_SOLID", u"SP_PEN_DASH", u"SP_PEN_DOT", u"SP_PEN_DASHDOT",
                                      u"SP_PEN_DASHDOTDOT"};
  const HINSTANCE Module = GetModuleHandleW(nullptr);
  TBitmap B;
  B.LoadFromResourceName(Module, Names[0]);
  FGraphicImages->SetSize(B.Width(), B.Height());
  // The pictures are black lines on white: the white is their ground, left
  // out so that the line lies on the button's and the menu's own face.
  for (const Char* Name : Names) {
    B.LoadFromResourceName(Module, Name);
    FGraphicImages->AddMasked(&B, clWhite);
  }
}

void TspSkinPenStyleButton::LoadGraphicItems() {
  for (Integer I = 0; I < 5; ++I) FGraphicMenu->ImagesItems()->Add()->SetImageIndex(I);
  FGraphicMenu->SetColumnsCount(1);
  FGraphicMenu->FItemIndex = 0;
}
