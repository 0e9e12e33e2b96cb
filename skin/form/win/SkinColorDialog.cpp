// The skinned colour dialog.
#include "skin/form/win/SkinColorDialog.h"

#include "classlib/ResString.h"
#include "rtl/ScopeGuard.h"
#include "skin/data/win/SPUtils.h"

namespace {

TFont* NewArialFont() {
  auto* F = new TFont();
  F->SetName(u"Arial");
  F->SetHeight(14);
  F->SetStyle(0);
  return F;
}

// A raised flag for the length of a scope (also when a handler throws).
class TFlagUp {
 public:
  explicit TFlagUp(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagUp() { FFlag = false; }
  TFlagUp(const TFlagUp&) = delete;
  TFlagUp& operator=(const TFlagUp&) = delete;

 private:
  bool& FFlag;
};

// Holds the swatch's repaints for the length of a scope: a palette step
// changes the colour once per RGB edit, and each repaint would flush the
// whole form (the edits set so far, the palette with its markers off). The
// swatch is repainted once, with everything else pending, at the end.
class TViewerBatch {
 public:
  explicit TViewerBatch(TspColorViewer* V) : FViewer(V) { FViewer->BeginUpdate(); }
  ~TViewerBatch() { FViewer->EndUpdate(); }
  TViewerBatch(const TViewerBatch&) = delete;
  TViewerBatch& operator=(const TViewerBatch&) = delete;

 private:
  TspColorViewer* FViewer;
};

}  // namespace

TspSkinColorDialog::TspSkinColorDialog(TComponent* AOwner) : TComponent(AOwner) {
  PSPColor = new TPSPColor();
  FDefaultLabelFont = NewArialFont();
  FDefaultEditFont = NewArialFont();
  FDefaultButtonFont = NewArialFont();
  CustomColorValues.fill(TColor(0xFFFFFF));
}

TspSkinColorDialog::~TspSkinColorDialog() {
  delete PSPColor;
  delete FDefaultLabelFont;
  delete FDefaultEditFont;
  delete FDefaultButtonFont;
}

void TspSkinColorDialog::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinColorDialog::SetCtrlSkinData(TspSkinData* Value) {
  FCtrlFSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinColorDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

void TspSkinColorDialog::SetCustomColors(const TspCustomColorValues& Value, Integer Count) {
  CustomColorValuesCount = CopyCustomColors(CustomColorValues, Value, Count);
}

String TspSkinColorDialog::SkinText(TspSkinData* SD, const String& Key, const String& Fallback) const {
  if (SD && SD->ResourceStrData()) return SD->ResourceStrData()->GetResStr(Key);
  return Fallback;
}

// ---------------------------------------------------------------------------
// The form

void TspSkinColorDialog::BuildForm() {
  Form = new TForm(Application);
  Form->SetCaption(SkinText(FSD, u"COLORFORM_CAP", FCaption));
  FormSkin = new TspFormSkin(Form);
  FormSkin->FSizeable = false;
  FormSkin->SetBorderIcons(0);
  FormSkin->SetSkinData(FSD);
  FormSkin->SetMenusSkinData(FCtrlFSD);
  FormSkin->SetAlphaBlend(FAlphaBlend);
  FormSkin->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  FormSkin->SetAlphaBlendValue(FAlphaBlendValue);
  if (DialogFormTop == ColorDialogCentred) {
    Form->SetPosition(poScreenCenter);
  } else {
    Form->SetLeft(DialogFormLeft);
    Form->SetTop(DialogFormTop);
  }
  Form->SetClientWidth(378);

  auto Grid = [&](TspColorGridBase* G, Integer Top, Integer Height, const String& Key, Integer Ident) {
    G->SetParent(Form);
    G->SetBounds(5, Top, 167, Height);
    G->SetTransparentMode(FGroupBoxTransparentMode);
    G->SetCaptionMode(true);
    G->SetSkinDataName(u"groupbox");
    G->SetSkinData(FCtrlFSD);
    G->SetCaption(SkinText(FCtrlFSD, Key, LoadResString(Ident)));
    G->OnChange = [this](TObject* S) { GridChange(S); };
  };
  ColorGrid = new TspSkinColorGrid(Form);
  ColorGrid->SetBorderStyle(bvNone);
  ColorGrid->SetRowCount(8);
  ColorGrid->SetColCount(6);
  Grid(ColorGrid, 5, 195, u"COLORGRID_CAP", 65152);
  CustomColorGrid = new TspSkinCustomColorGrid(Form);
  CustomColorGrid->SetRowCount(2);
  CustomColorGrid->SetColCount(6);
  Grid(CustomColorGrid, ColorGrid->Top() + ColorGrid->Height() + 10, 68, u"CUSTOMCOLORGRID_CAP", 65153);

  PalettePSPPanel = new TspEmptyControl(Form);
  PalettePSPPanel->SetParent(Form);
  PalettePSPPanel->SetBounds(ColorGrid->Left() + ColorGrid->Width() + 5, 5, PaletteSize, PaletteSize);
  PalettePSP = new TImage(Form);
  PalettePSP->SetParent(PalettePSPPanel);
  PalettePSP->SetBounds(0, 0, PaletteSize, PaletteSize);
  TBitmap* Pic = PalettePSP->Picture()->Bitmap();
  Pic->SetPixelFormat(pf32bit);
  Pic->SetSize(PaletteSize, PaletteSize);
  PalettePSP->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    PaletteMouseDown(S, B, Sh, X, Y);
  };
  PalettePSP->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) { PaletteMouseMove(S, Sh, X, Y); };
  PalettePSP->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    PaletteMouseUp(S, B, Sh, X, Y);
  };

  const Integer PanelLeft = PalettePSPPanel->Left();
  const Integer Below = ColorGrid->Top() + ColorGrid->Height();
  auto Label = [&](const String& Text, Integer Left, Integer Top) {
    auto* L = new TspSkinStdLabel(Form);
    L->SetParent(Form);
    L->SetCaption(Text);
    L->SetDefaultFont(FDefaultLabelFont);
    L->SetUseSkinFont(FUseSkinFont);
    L->SetSkinData(FCtrlFSD);
    L->SetLeft(Left);
    L->SetTop(Top);
    return L;
  };
  auto Edit = [&](Integer Left, Integer Top, Integer TrackWidth, Integer Max, bool Rgb) {
    // Owned by the dialog, parented to the form: the form frees it.
    auto* E = new TspSkinTrackEdit(this);
    E->SetParent(Form);
    E->SetBounds(Left, Top, 50, 21);
    E->SetPopupKind(tbpLeft);
    E->SetTrackBarWidth(TrackWidth);
    E->SetMinValue(0);
    E->SetMaxValue(Max);
    E->SetValue(0);
    E->SetSkinData(FCtrlFSD);
    E->SetJumpWhenClick(true);
    if (Rgb)
      E->OnChange = [this](TObject* S) { RGBEditChange(S); };
    else
      E->OnChange = [this](TObject* S) { HSVEditChange(S); };
    return E;
  };
  RLabel = Label(u"R:", PanelLeft, Below + 12);
  REdit = Edit(RLabel->Left() + RLabel->Width() + 5, Below + 10, 200, 255, true);
  GLabel = Label(u"G:", PanelLeft, REdit->Top() + REdit->Height() + 12);
  GEdit = Edit(REdit->Left(), REdit->Top() + REdit->Height() + 10, 200, 255, true);
  BLabel = Label(u"B:", PanelLeft, GEdit->Top() + GEdit->Height() + 12);
  BEdit = Edit(REdit->Left(), GEdit->Top() + GEdit->Height() + 10, 200, 255, true);
  HLabel = Label(u"H:", REdit->Left() + REdit->Width() + 5, Below + 12);
  HEdit = Edit(HLabel->Left() + HLabel->Width() + 5, Below + 10, 250, 359, false);
  SLabel = Label(u"S:", REdit->Left() + REdit->Width() + 5, HEdit->Top() + HEdit->Height() + 12);
  SEdit = Edit(HEdit->Left(), HEdit->Top() + HEdit->Height() + 10, 120, 100, false);
  LLabel = Label(u"L:", REdit->Left() + REdit->Width() + 5, SEdit->Top() + SEdit->Height() + 12);
  LEdit = Edit(HEdit->Left(), SEdit->Top() + SEdit->Height() + 10, 120, 100, false);

  ColorViewer = new TspColorViewer(Form);
  ColorViewer->SetParent(Form);
  {
    const Integer L = HEdit->Left() + HEdit->Width() + 5;
    const Integer T = PalettePSPPanel->Top() + PalettePSPPanel->Height() + 10;
    const Integer S = PalettePSPPanel->Left() + PalettePSPPanel->Width() - L;
    ColorViewer->SetBounds(L, T, S, S);
  }
  ColorViewer->MainWindowHandle = MainWindowHandle;

  auto Button = [&](const String& Key, Integer Ident, Integer Left, Integer Width) {
    auto* B = new TspSkinButton(Form);
    B->SetParent(Form);
    B->SetBounds(Left, LEdit->Top() + LEdit->Height() + 15, Width, 25);
    B->SetDefaultFont(FDefaultButtonFont);
    B->SetUseSkinFont(FUseSkinFont);
    B->SetCaption(SkinText(FCtrlFSD, Key, LoadResString(Ident)));
    B->SetDefaultHeight(25);
    B->SetSkinDataName(FButtonSkinDataName);
    B->SetSkinData(FCtrlFSD);
    return B;
  };
  OkButton = Button(u"MSG_BTN_OK", 65182, 5, 70);
  OkButton->SetModalResult(mrOk);
  OkButton->SetDefault(true);
  CancelButton = Button(u"MSG_BTN_CANCEL", 65183, 90, 70);
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
  AddCustomColorButton = Button(u"ADDCUSTOMCOLORBUTTON_CAP", 65154, PanelLeft, PalettePSPPanel->Width());
  AddCustomColorButton->OnClick = [this](TObject* S) { AddColorClick(S); };

  CustomColorGrid->CustomColorValues = CustomColorValues;
  CustomColorGrid->FColorsCount = CustomColorValuesCount;

  ClickImg = czpspPnone;
  PSPColor->SetRGB(TRGB{0, 0, 0});
  PosCircle = (PalettePSP->Width() - PaletteSize) / 2;
  PosCar = PosCircle;
  Form->SetClientHeight(AddCustomColorButton->Top() + AddCustomColorButton->Height() + 10);
}

bool TspSkinColorDialog::Execute() {
  BuildForm();
  TFinally Freed([&] {
    DialogFormLeft = Form->Left();
    DialogFormTop = Form->Top();
    // The track edits are the dialog's components but the form's children:
    // freeing the form frees them and takes them out of this owner's list.
    delete Form;
    Form = nullptr;
    FormSkin = nullptr;
    ColorGrid = nullptr;
    CustomColorGrid = nullptr;
    OkButton = CancelButton = AddCustomColorButton = nullptr;
    ColorViewer = nullptr;
    REdit = GEdit = BEdit = HEdit = SEdit = LEdit = nullptr;
    RLabel = GLabel = BLabel = HLabel = SLabel = LLabel = nullptr;
    PalettePSPPanel = nullptr;
    PalettePSP = nullptr;
    RGBStopCheck = HSLStopCheck = FromPSP = false;
  });
  // The palette's ground may be the form's own (a skin with a panel): the
  // form paints it only once its window exists.
  Form->HandleNeeded();
  DrawPalette();
  ColorViewer->SetColorValue(FColor);
  ColorViewer->OldColorValue = FColor;
  ColorGrid->SetColorValue(FColor);
  Byte R, G, B;
  ColorToRGBBytes(FColor, R, G, B);
  REdit->SetValue(R);
  GEdit->SetValue(G);
  BEdit->SetValue(B);
  const TModalResult MR = Form->ShowModal();
  if (MR != mrOk) return false;
  FColor = ColorViewer->ColorValue();
  CustomColorValues = CustomColorGrid->CustomColorValues;
  CustomColorValuesCount = std::clamp(CustomColorGrid->FColorsCount, 0, CustomColorSlots);
  return true;
}

// ---------------------------------------------------------------------------
// The handlers

void TspSkinColorDialog::ShowHSV(Byte R, Byte G, Byte B) {
  if (FHoldHSV) {
    // The hue carried from one held value to the next, as the edit would.
    RGBBytesToHSV(R, G, B, FHeldH, FHeldS, FHeldV);
    FHeldH = std::clamp(FHeldH, HEdit->MinValue(), HEdit->MaxValue());
    FHeldS = std::clamp(FHeldS, SEdit->MinValue(), SEdit->MaxValue());
    FHeldV = std::clamp(FHeldV, LEdit->MinValue(), LEdit->MaxValue());
    FHeldHSVChanged = true;
    return;
  }
  // A grey colour has no hue: the one shown stays.
  Integer H = HEdit->Value(), S = 0, V = 0;
  RGBBytesToHSV(R, G, B, H, S, V);
  HEdit->SetValue(H);
  SEdit->SetValue(S);
  LEdit->SetValue(V);
}

void TspSkinColorDialog::PaletteFollows(Byte R, Byte G, Byte B) {
  DrawMarkers();  // off (XOR)
  PSPColor->SetRGB(TRGB{R, G, B});
  DrawSquare();
  DrawMarkers();
  PalettePSP->Invalidate();
}

void TspSkinColorDialog::RGBEditChange(TObject*) {
  if (RGBStopCheck || !Built()) return;
  const TColor C = RGBBytesToColor(Byte(REdit->Value()), Byte(GEdit->Value()), Byte(BEdit->Value()));
  ColorViewer->SetColorValue(C);
  Byte R, G, B;
  ColorToRGBBytes(ColorViewer->ColorValue(), R, G, B);
  TFlagUp Up(HSLStopCheck);
  ShowHSV(R, G, B);
  if (!FromPSP) PaletteFollows(R, G, B);
}

void TspSkinColorDialog::GridChange(TObject* Sender) {
  if (!Built()) return;
  TColor C = 0;
  if (auto* G = dynamic_cast<TspSkinColorGrid*>(Sender))
    C = G->ColorValue();
  else if (auto* G2 = dynamic_cast<TspSkinCustomColorGrid*>(Sender))
    C = G2->ColorValue();
  else
    return;
  Byte R, G, B;
  ColorToRGBBytes(C, R, G, B);
  {
    TFlagUp Up(RGBStopCheck);
    REdit->SetValue(R);
    GEdit->SetValue(G);
    BEdit->SetValue(B);
  }
  ColorViewer->SetColorValue(C);
  TFlagUp Up(HSLStopCheck);
  ShowHSV(R, G, B);
  if (!FromPSP) PaletteFollows(R, G, B);
}

void TspSkinColorDialog::HSVEditChange(TObject*) {
  if (HSLStopCheck || !Built()) return;
  Byte R, G, B;
  HSVToRGBBytes(R, G, B, HEdit->Value(), SEdit->Value(), LEdit->Value());
  ColorViewer->SetColorValue(RGBBytesToColor(R, G, B));
  TFlagUp Up(RGBStopCheck);
  REdit->SetValue(R);
  GEdit->SetValue(G);
  BEdit->SetValue(B);
  if (!FromPSP) PaletteFollows(R, G, B);
}

void TspSkinColorDialog::AddColorClick(TObject*) {
  if (Built()) CustomColorGrid->AddColor(ColorViewer->ColorValue());
}

// ---------------------------------------------------------------------------
// The palette

void TspSkinColorDialog::DrawPalette() {
  TBitmap* Pic = PalettePSP->Picture()->Bitmap();
  TCanvas* C = Pic->Canvas();
  C->Pen()->SetMode(pmCopy);
  C->Brush()->SetStyle(bsSolid);
  TspSkinData* SD = FCtrlFSD;
  if (!SD || SD->Empty || SD->GetControlIndex(u"panel") < 0) {
    const TColor Face = ColorToRGB(clBtnFace);
    C->Pen()->SetColor(Face);
    C->Brush()->SetColor(Face);
    C->Rectangle(0, 0, PaletteSize, PaletteSize);
  } else {
    TBitmap B;
    B.SetSize(PalettePSPPanel->Width(), PalettePSPPanel->Height());
    PaintParentBackground(PalettePSPPanel, B.Canvas());
    C->Draw(0, 0, &B);
  }
  HRGN Ring = CreateEllipticRgn(0, 0, PaletteSize, PaletteSize);
  HRGN Inner = CreateEllipticRgn(20, 20, 175, 175);
  CombineRgn(Ring, Ring, Inner, RGN_DIFF);
  DeleteObject(Inner);
  for (Integer Y = 0; Y < PaletteSize; ++Y) {
    auto* Row = static_cast<Byte*>(Pic->ScanLine(Y));
    for (Integer X = 0; X < PaletteSize; ++X) {
      if (!PtInRegion(Ring, X, Y)) continue;
      const Integer Col = X + PosCircle;
      if (Col < 0 || Col >= Pic->Width()) continue;
      const TRGB P = PaletteRingPixel(X, Y);
      Row[Col * 4] = P.B;
      Row[Col * 4 + 1] = P.G;
      Row[Col * 4 + 2] = P.R;
    }
  }
  DeleteObject(Ring);
  DrawSquare();
  C->Pen()->SetColor(TColor(0xFFFFFF));
  C->Pen()->SetMode(pmXor);
  C->Brush()->SetStyle(bsClear);
  DrawMarkers();
  PalettePSP->Invalidate();
}

void TspSkinColorDialog::DrawSquare() {
  TBitmap* Pic = PalettePSP->Picture()->Bitmap();
  const double H = PSPColor->HSL().H;
  for (Integer Y = PaletteSquareLow; Y <= PaletteSquareHigh; ++Y) {
    auto* Row = static_cast<Byte*>(Pic->ScanLine(Y));
    for (Integer X = PaletteSquareLow; X <= PaletteSquareHigh; ++X) {
      const Integer Col = X + PosCar;
      if (Col < 0 || Col >= Pic->Width()) continue;
      const TRGB P = PaletteSquarePixel(H, X, Y);
      Row[Col * 4] = P.B;
      Row[Col * 4 + 1] = P.G;
      Row[Col * 4 + 2] = P.R;
    }
  }
}

void TspSkinColorDialog::DrawMarkers() {
  TCanvas* C = PalettePSP->Picture()->Bitmap()->Canvas();
  C->Pen()->SetColor(TColor(0xFFFFFF));
  C->Pen()->SetMode(pmXor);
  C->Brush()->SetStyle(bsClear);
  const TPoint Sq = PaletteSquareMarker(PSPColor->HSL(), PosCar);
  C->Ellipse(Sq.X - 5, Sq.Y - 5, Sq.X + 5, Sq.Y + 5);
  const TPoint Hu = PaletteHueMarker(PSPColor->HSL(), PosCar);
  C->Ellipse(Hu.X - 5, Hu.Y - 5, Hu.X + 5, Hu.Y + 5);
}

void TspSkinColorDialog::EditsFromPalette() {
  TFlagUp Up(FromPSP);
  const TRGB P = PSPColor->GetRGB();
  {
    // Each RGB edit's change would show the HSV of a half-set colour in the
    // H, S, L edits: work those out and show only the last.
    FHeldH = HEdit->Value();
    FHeldHSVChanged = false;
    TFlagUp Hold(FHoldHSV);
    REdit->SetValue(P.R);
    GEdit->SetValue(P.G);
    BEdit->SetValue(P.B);
  }
  if (!FHeldHSVChanged || !Built()) return;
  FHeldHSVChanged = false;
  TFlagUp Up2(HSLStopCheck);
  HEdit->SetValue(FHeldH);
  SEdit->SetValue(FHeldS);
  LEdit->SetValue(FHeldV);
}

void TspSkinColorDialog::RingAction(Integer X, Integer Y) {
  const Byte h = PaletteRingHueByte(X, Y, PosCar);
  const THSLPSP Cur = PSPColor->HSLPSP();
  if (h == Cur.H) return;
  TViewerBatch Batch(ColorViewer);
  DrawMarkers();
  PSPColor->SetHSLPSP(THSLPSP{h, Cur.S, Cur.L});
  EditsFromPalette();
  DrawSquare();
  DrawMarkers();
  PalettePSP->Invalidate();
}

void TspSkinColorDialog::SquareAction(Integer X, Integer Y) {
  Byte S, L;
  PaletteSquareBytes(X, Y, PosCar, S, L);
  TViewerBatch Batch(ColorViewer);
  DrawMarkers();
  PSPColor->SetHSLPSP(THSLPSP{PSPColor->HSLPSP().H, S, L});
  EditsFromPalette();
  DrawMarkers();
  PalettePSP->Invalidate();
}

void TspSkinColorDialog::ZoneAction(Integer X, Integer Y) {
  if (ClickImg == czpspPCar)
    SquareAction(X, Y);
  else if (ClickImg == czpspPCircle)
    RingAction(X, Y);
}

void TspSkinColorDialog::PaletteMouseDown(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
  const RECT Sq{PaletteSquareLow + PosCar, PaletteSquareLow, PaletteSquareHigh + PosCar, PaletteSquareHigh};
  const POINT P{X, Y};
  if (PtInRect(&Sq, P)) {
    ClickImg = czpspPCar;
  } else {
    HRGN Ring = CreateEllipticRgn(PosCircle, 0, PosCircle + PaletteSize, PaletteSize);
    HRGN Inner = CreateEllipticRgn(PosCircle + 20, 20, PosCircle + 174, 174);
    CombineRgn(Ring, Ring, Inner, RGN_DIFF);
    ClickImg = PtInRegion(Ring, X, Y) ? czpspPCircle : czpspPnone;
    DeleteObject(Inner);
    DeleteObject(Ring);
  }
  if (Button == mbLeft) ZoneAction(X, Y);
}

void TspSkinColorDialog::PaletteMouseMove(TObject*, TShiftState Shift, Integer X, Integer Y) {
  if (Shift & ssLeft) ZoneAction(X, Y);
}

void TspSkinColorDialog::PaletteMouseUp(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
  if (Button == mbLeft) ZoneAction(X, Y);
  ClickImg = czpspPnone;
}
