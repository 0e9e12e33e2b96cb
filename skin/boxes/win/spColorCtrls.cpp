// The colour grids, the colour swatch and the empty container.
#include "skin/boxes/win/ColorGrids.h"

#include "skin/data/SkinControlData.h"
#include "skin/data/win/SPUtils.h"

// ---------------------------------------------------------------------------
// The grids

TspColorGridBase::TspColorGridBase(TComponent* AOwner, Integer ACols, Integer ARows, Integer CaptionIdent)
    : TspSkinPanel(AOwner), FColCount(ACols), FRowCount(ARows) {
  SetControlStyle(ControlStyle() & ~TControlStyle(csAcceptsControls));
  FForceBackground = false;
  SetCaptionMode(true);
  SetCaption(LoadResString(CaptionIdent));
  SetBorderStyle(bvFrame);
  SetBounds(Left(), Top(), 280, 115);
}

void TspColorGridBase::SetColCount(Integer Value) {
  if (Value < 1) return;
  FColCount = Value;
  Repaint();
}

void TspColorGridBase::SetRowCount(Integer Value) {
  // Zero rows would divide by zero in the cell geometry.
  if (Value < 1) return;
  FRowCount = Value;
  Repaint();
}

TColorGridGeometry TspColorGridBase::Geometry() {
  return TColorGridGeometry(GetSkinClientRect(), FColCount, FRowCount, TableCount());
}

void TspColorGridBase::DrawSelectionFrame(TCanvas* C, const TRect& R) {
  if (FIndex == -1) {
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(TColor(0x800000));
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(TColor(0xB59385));
    C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
    return;
  }
  TspSkinData* SD = FSD;
  if (!SD || SD->Empty) return;
  const Integer I = SD->GetControlIndex(u"resizebutton");
  if (I < 0) return;
  auto* D = dynamic_cast<TspDataSkinButtonControl*>(static_cast<TObject*>(SD->CtrlList->Items(I)));
  if (!D) return;
  TBitmap* Pic = SkinPicture(D->PictureIndex);
  if (!Pic) return;
  const TRect Src = (D->DownSkinRect.Width() <= 0 || D->DownSkinRect.Height() <= 0) ? D->ActiveSkinRect : D->DownSkinRect;
  const Integer W = R.Width(), H = R.Height();
  if (W <= 0 || H <= 0 || (Src.Width() <= 0 || Src.Height() <= 0)) return;
  const Integer dw = W - D->SkinRect.Width(), dh = H - D->SkinRect.Height();
  TRect NewCl = D->ClRect;
  NewCl.Right += dw;
  NewCl.Bottom += dh;
  auto B = NewSkinBitmap(W, H);
  CreateNineSliceImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                       TPoint(D->RTPoint.X + dw, D->RTPoint.Y), TPoint(D->LBPoint.X, D->LBPoint.Y + dh),
                       TPoint(D->RBPoint.X + dw, D->RBPoint.Y + dh), NewCl, B.get(), Pic, Src, W, H, true,
                       D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect,
                       D->StretchType);
  C->Draw(R.Left, R.Top, B.get());
}

void TspColorGridBase::DrawCells(TCanvas* C) {
  const TColorGridGeometry G = Geometry();
  const Integer N = G.CellCount();
  for (Integer i = 0; i < N; ++i) {
    const bool Sel = CellSelected(i);
    if (Sel) DrawSelectionFrame(C, G.OuterRect(i));
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(CellColor(i));
    C->FillRect(G.PatchRect(i, Sel));
  }
}

void TspColorGridBase::CreateControlDefaultImage(TBitmap* B) {
  TspSkinPanel::CreateControlDefaultImage(B);
  DrawCells(B->Canvas());
}

void TspColorGridBase::CreateControlSkinImage(TBitmap* B) {
  TspSkinPanel::CreateControlSkinImage(B);
  DrawCells(B->Canvas());
}

void TspColorGridBase::PaintTransparentContent(TCanvas* Canvas) { DrawCells(Canvas); }

void TspColorGridBase::Dispatch(TMessage& M) {
  if (M.Msg == WM_ERASEBKGND) {
    if (!FromWMPaint && M.WParam) PaintContentTo(reinterpret_cast<HDC>(M.WParam));
    M.Result = 0;
    return;
  }
  TspSkinPanel::Dispatch(M);
}

TspSkinColorGrid::TspSkinColorGrid(TComponent* AOwner) : TspColorGridBase(AOwner, 12, 4, 65152) {}

void TspSkinColorGrid::SetColorValue(TColor Value) {
  FColorValue = Value;
  bool InTable = false;
  for (TColor C : BasicColorTable) InTable = InTable || C == Value;
  if (!InTable) return;
  auto Alive = LivenessToken();
  if (OnChange) Fire(OnChange, this);
  if (*Alive) Repaint();
}

void TspSkinColorGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspColorGridBase::MouseDown(Button, Shift, X, Y);
  if (!*Alive) return;
  const Integer i = Geometry().CellAt(X, Y);
  if (i >= 0) SetColorValue(BasicColorTable[i]);
}

TspSkinCustomColorGrid::TspSkinCustomColorGrid(TComponent* AOwner) : TspColorGridBase(AOwner, 6, 2, 65153) {
  CustomColorValues.fill(TColor(0xFFFFFF));
}

void TspSkinCustomColorGrid::AddColor(TColor AColor) {
  FColorsCount = NextCustomColorSlot(FColorsCount);
  CustomColorValues[FColorsCount] = AColor;
  ++FColorsCount;
  Repaint();
}

void TspSkinCustomColorGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspColorGridBase::MouseDown(Button, Shift, X, Y);
  if (!*Alive) return;
  const Integer i = Geometry().CellAt(X, Y);
  if (i < 0) return;
  FColorValue = CustomColorValues[i];
  FColorIndex = i + 1;
  Repaint();
  if (*Alive && OnChange) Fire(OnChange, this);
}

// ---------------------------------------------------------------------------
// The swatch

TspColorViewer::TspColorViewer(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() | csOpaque);
  FTimerColor = new TTimer(this);
  FTimerColor->SetEnabled(false);
  FTimerColor->SetInterval(100);
  FTimerColor->SetOnTimer([this](TObject* Sender) { TimerColorEvent(Sender); });
}

TspColorViewer::~TspColorViewer() = default;  // the timer is owned

void TspColorViewer::Paint() {
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(OldColorValue);
  C->Rectangle(0, 0, W, H);
  C->Pen()->SetColor(FColorValue);
  C->Brush()->SetColor(FColorValue);
  C->Rectangle(1, 1, W - 1, H / 2 + 1);
  Canvas()->Draw(0, 0, &B);
}

void TspColorViewer::SetColorValue(TColor Value) {
  if (Value == FColorValue) return;
  FColorValue = Value;
  if (FUpdateCount > 0) {
    Invalidate();
    FRepaintPending = true;
  } else {
    Repaint();
  }
  // The timer re-arms on every setter call: enabling a running one would
  // move the notice to 100 ms after the last change of a burst.
  if (!FTimerColor->Enabled()) FTimerColor->SetEnabled(true);
}

void TspColorViewer::EndUpdate() {
  if (FUpdateCount <= 0 || --FUpdateCount > 0 || !FRepaintPending) return;
  FRepaintPending = false;
  Update();
}

void TspColorViewer::TimerColorEvent(TObject*) {
  FTimerColor->SetEnabled(false);
  if (MainWindowHandle) SendMessageW(MainWindowHandle, SP_COLOR_PREVIEW, WPARAM(Cardinal(FColorValue)), 0);
}

// ---------------------------------------------------------------------------

TspEmptyControl::TspEmptyControl(TComponent* AOwner) : TCustomControl(AOwner) {}

void TspEmptyControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_ERASEBKGND) {
    M.Result = 1;
    return;
  }
  TCustomControl::Dispatch(M);
}
