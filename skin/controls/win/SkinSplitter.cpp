#include "skin/controls/win/SkinSplitter.h"

#include "classlib/Forms.h"
#include "rtl/ScopeGuard.h"
#include "skin/data/SpLayout.h"
#include "skin/data/win/SPUtils.h"

namespace {

TspSplitAlign ToSplitAlign(TAlign A) {
  switch (A) {
    case alTop:
      return saTop;
    case alBottom:
      return saBottom;
    case alLeft:
      return saLeft;
    case alRight:
      return saRight;
    case alClient:
      return saClient;
    default:
      return saNone;
  }
}

}  // namespace

TspCustomSplitter::TspCustomSplitter(TComponent* AOwner) : TspSkinControl(AOwner) {
  SetAlign(alLeft);
  SetWidth(3);
  SetCursor(crHSplit);
}

TspCustomSplitter::~TspCustomSplitter() {
  if (Application) Application->MessageHooks().Remove(this);
}

TspSplitAlign TspCustomSplitter::SplitAlign() const { return ToSplitAlign(Align()); }

void TspCustomSplitter::UpdateCursor() {
  if (Cursor() != crHSplit && Cursor() != crVSplit) return;
  SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
}

std::vector<TspSplitSibling> TspCustomSplitter::Siblings() const {
  std::vector<TspSplitSibling> S;
  TWinControl* P = Parent();
  if (!P) return S;
  for (Integer I = 0; I < P->ControlCount(); ++I) {
    TControl* C = P->Controls(I);
    TspSplitSibling E;
    E.Bounds = C->BoundsRect();
    E.Visible = C->Visible();
    E.Enabled = C->Enabled();
    E.Align = ToSplitAlign(C->Align());
    S.push_back(E);
  }
  return S;
}

bool TspCustomSplitter::QueryResize(Integer& NewSize) {
  bool Accept = true;
  if (OnCanResize) OnCanResize(this, NewSize, Accept);
  return Accept;
}

bool TspCustomSplitter::AcceptNewSize(Integer& NewSize) {
  const bool Accept = QueryResize(NewSize);
  if (Accept && FAutoSnap && NewSize <= FMinSize) NewSize = 0;
  return Accept;
}

void TspCustomSplitter::CalcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split) {
  const TspSplitAlign A = SplitAlign();
  Split = (A == saLeft || A == saRight) ? X - FDownPos.X : Y - FDownPos.Y;
  NewSize = SplitterNewSize(A, FControl->Width(), FControl->Height(), FMinSize, FMaxSize, Split);
}

void TspCustomSplitter::UpdateSize() {
  if (!FControl || FNewSize == FOldSize) return;
  auto Alive = LivenessToken();
  switch (SplitAlign()) {
    case saTop:
      FControl->SetHeight(FNewSize);
      break;
    case saBottom:
      Parent()->DisableAlign();
      {
        TFinally Resume([&] { Parent()->EnableAlign(); });
        FControl->SetTop(FControl->Top() + FControl->Height() - FNewSize);
        FControl->SetHeight(FNewSize);
      }
      break;
    case saLeft:
      FControl->SetWidth(FNewSize);
      break;
    case saRight:
      Parent()->DisableAlign();
      {
        TFinally Resume([&] { Parent()->EnableAlign(); });
        FControl->SetLeft(FControl->Left() + FControl->Width() - FNewSize);
        FControl->SetWidth(FNewSize);
      }
      break;
    default:
      break;
  }
  if (!*Alive) return;
  Update();
  if (OnMoved) OnMoved(this);
  if (*Alive) FOldSize = FNewSize;
}

void TspCustomSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinControl::MouseDown(Button, Shift, X, Y);
  if (!*Alive || Button != mbLeft || !Parent()) return;
  const std::vector<TspSplitSibling> S = Siblings();
  const Integer N = SplitterNeighbour(SplitAlign(), BoundsRect(), S);
  FDownPos = TPoint(X, Y);
  if (N < 0) return;
  FControl = Parent()->Controls(N);
  FControlAlive = FControl->LivenessToken();
  FMaxSize = SplitterMaxSize(SplitAlign(), Parent()->ClientWidth(), Parent()->ClientHeight(), FMinSize, S, N);
  CalcSplitSize(X, Y, FNewSize, FSplit);
  // Escape ends the drag, watched for as long as it runs; no other
  // control's events are touched.
  Application->MessageHooks().Install(this, [this](MSG& Msg, bool& Handled) {
    if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE && FControl) {
      Handled = true;
      StopSizing();
    }
  });
}

void TspCustomSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinControl::MouseMove(Shift, X, Y);
  if (!*Alive || !(Shift & ssLeft) || !FControl) return;
  if (!FControlAlive || !*FControlAlive) {
    StopSizing();
    return;
  }
  Integer NewSize = 0, Split = 0;
  CalcSplitSize(X, Y, NewSize, Split);
  if (AcceptNewSize(NewSize)) {
    if (!*Alive) return;
    FNewSize = NewSize;
    FSplit = Split;
    UpdateSize();
  }
}

void TspCustomSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TspSkinControl::MouseUp(Button, Shift, X, Y);
  if (!*Alive || !FControl) return;
  if (FControlAlive && *FControlAlive) UpdateSize();
  if (*Alive) StopSizing();
}

void TspCustomSplitter::StopSizing() {
  if (FControl) {
    FControl = nullptr;
    FControlAlive.reset();
    Application->MessageHooks().Remove(this);
  }
  if (OnMoved) OnMoved(this);
}

void TspCustomSplitter::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_ERASEBKGND:
      M.Result = 1;
      return;
    case WM_SETCURSOR:
      UpdateCursor();
      break;
  }
  TspSkinControl::Dispatch(M);
}

// ---------------------------------------------------------------------------

TspSkinSplitterEx::TspSkinSplitterEx(TComponent* AOwner) : TspCustomSplitter(AOwner) {
  FSkinDataName = u"vsplitter";
}

void TspSkinSplitterEx::GetSkinData() {
  TspCustomSplitter::GetSkinData();
  FSkinPicture = nullptr;
  if (!Skinned()) return;
  auto* D = dynamic_cast<TspDataSkinSplitterControl*>(SkinDescription());
  TBitmap* P = nullptr;
  if (D && D->PictureIndex >= 0 && D->PictureIndex < FSD->FActivePictures->Count())
    P = static_cast<TBitmap*>(FSD->FActivePictures->Items(D->PictureIndex));
  // Another kind of description, no picture or an empty rect: the default
  // look, and nothing of an earlier skin is kept.
  if (!D || !P || RectIsEmpty(D->SkinRect)) {
    FIndex = -1;
    SkinRect = TRect();
    GripperRect = TRect();
    return;
  }
  LTPt = D->LTPoint;
  RTPt = D->RTPoint;
  LBPt = D->LBPoint;
  SkinRect = D->SkinRect;
  StretchEffect = D->StretchEffect;
  FSkinPicture = P;
  GripperRect = D->GripperRect;
  GripperTransparent = D->GripperTransparent;
  GripperTransparentColor = D->GripperTransparentColor;
}

void TspSkinSplitterEx::ChangeSkinData() {
  GetSkinData();
  const bool Horz = Align() == alTop || Align() == alBottom;
  if (Horz)
    SetHeight(Skinned() ? SkinRect.Height() : FDefaultSize);
  else
    SetWidth(Skinned() ? SkinRect.Width() : FDefaultSize);
  Repaint();
}

void TspSkinSplitterEx::Paint() {
  const Integer W = Width(), H = Height();
  if (W < 1 || H < 1) return;
  GetSkinData();
  TCanvas* C = Canvas();
  if (!Skinned() || Align() == alNone || Align() == alClient) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(TRect(0, 0, W, H));
    return;
  }
  auto B = NewSkinBitmap(W, H);
  if (Align() == alTop || Align() == alBottom)
    CreateHorzThreeSliceImage(LTPt.X, SkinRect.Width() - RTPt.X, B.get(), FSkinPicture, SkinRect, W, H, StretchEffect);
  else
    CreateVertThreeSliceImage(LTPt.Y, SkinRect.Height() - LBPt.Y, B.get(), FSkinPicture, SkinRect, W, H,
                              StretchEffect);
  if (!RectIsEmpty(GripperRect)) {
    const Integer GW = GripperRect.Width(), GH = GripperRect.Height();
    auto G = NewSkinBitmap(GW, GH);
    G->Canvas()->CopyRect(TRect(0, 0, GW, GH), FSkinPicture->Canvas(), GripperRect);
    if (GripperTransparent) {
      G->SetTransparentColor(GripperTransparentColor);
      G->SetTransparent(true);
    }
    B->Canvas()->Draw(B->Width() / 2 - GW / 2, B->Height() / 2 - GH / 2, G.get());
  }
  C->Draw(0, 0, B.get());
}
