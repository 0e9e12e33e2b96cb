// A skinned document parent and its children: the window-menu entries,
// the arrangements (tile, cascade, minimise, maximise, restore and close
// all), the skinned scroll bars over the parent's client area, the parent's
// client window procedure and the messages by which a child tells the
// parent that it was maximised, restored, minimised, moved or destroyed.
// Every routine addressing the parent uses the application's main form.
#include <algorithm>

#include "rtl/CallbackGuard.h"
#include "rtl/ScopeGuard.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinScrollBar.h"
#include "skin/form/MdiArrange.h"
#include "skin/form/win/FormSkin.h"
#include "skin/form/win/SkinMDITabsBar.h"
#include "skin/form/win/SkinMainMenuBar.h"

namespace {

const char16_t* const kChildItemMarker = u"_DSFCHILDITEM";
const char16_t* const kClientProp = u"LumigraSkinMDIClient";

TCustomForm* MainForm() { return Application ? Application->MainForm() : nullptr; }

TspFormSkin* SkinOf(TComponent* Form) { return dynamic_cast<TspFormSkin*>(FindSkinForm(Form)); }

// The children of the main form when it is a document parent.
std::vector<TCustomForm*> MDIChildrenOfMain() {
  std::vector<TCustomForm*> L;
  TCustomForm* Main = MainForm();
  if (!Main || Main->FormStyle() != fsMDIForm) return L;
  for (Integer I = 0; I < Main->MDIChildCount(); ++I) L.push_back(Main->MDIChildren(I));
  return L;
}

bool HasMarker(const String& Name) { return Name.find(kChildItemMarker) != String::npos; }

// The child's name an entry stands for: its name less the first marker.
String ChildNameOf(const String& Name) {
  String S = Name;
  const size_t P = S.find(kChildItemMarker);
  if (P != String::npos) S.erase(P, std::char_traits<char16_t>::length(kChildItemMarker));
  return S;
}

bool ChildVisible(TCustomForm* F) { return F->Visible() && F->HandleAllocated() && IsWindowVisible(F->Handle()); }

}  // namespace

TspFormSkin* FindMaximizedMDIChildSkinForm() {
  for (TCustomForm* F : MDIChildrenOfMain())
    if (TspFormSkin* S = SkinOf(F); S && S->WindowState() == wsMaximized) return S;
  return nullptr;
}

TspFormSkin* FindActiveMDIChildSkinForm() {
  TCustomForm* Main = MainForm();
  if (!Main || Main->FormStyle() != fsMDIForm) return nullptr;
  TCustomForm* A = Main->ActiveMDIChild();
  return A ? SkinOf(A) : nullptr;
}

TspFormSkin* TspFormSkin::MainFormSkin() { return SkinOf(MainForm()); }

String TspFormSkin::FormCaptionText() {
  String S = FForm->Caption();
  if (IsMDIParent() && FMDIChildMaximized)
    if (TCustomForm* C = FindMaximizedMDIChild()) S += u" - [" + C->Caption() + u"]";
  return S;
}

// ---------------------------------------------------------------------------
// Client area and its scroll bars

void TspFormSkin::GetMDIClientRect(TRect& R) {
  TCustomForm* Main = MainForm();
  if (!Main) return;
  Integer L = 0, T = 0, Rt = Main->ClientWidth(), B = Main->ClientHeight();
  bool AnyR = false, AnyB = false;
  for (Integer I = 0; I < Main->ControlCount(); ++I) {
    TControl* C = Main->Controls(I);
    if (!C->Visible()) continue;
    // The parent's own scroll bars lie over the client area, not beside it.
    if (C == FMDIHScrollBar || C == FMDIVScrollBar) continue;
    switch (C->Align()) {
      case alLeft: L = std::max(L, C->Left() + C->Width()); break;
      case alTop: T = std::max(T, C->Top() + C->Height()); break;
      case alRight: Rt = AnyR ? std::min(Rt, C->Left()) : C->Left(); AnyR = true; break;
      case alBottom: B = AnyB ? std::min(B, C->Top()) : C->Top(); AnyB = true; break;
      default: break;
    }
  }
  R = TRect(L, T, Rt, B);
}

void TspFormSkin::CreateMDIScrollBars() {
  if (!IsMDIParent() || FMDIHScrollBar || ComponentState().Contains(csDesigning)) return;
  auto Make = [this](TScrollBarKind Kind) {
    auto* B = new TspSkinScrollBar(this);
    B->SetVisible(false);
    B->SetKind(Kind);
    if (Kind == sbHorizontal) {
      B->SetHeight(17);
      B->SetSkinDataName(u"hscrollbar");
    } else {
      B->SetWidth(17);
      B->SetSkinDataName(u"vscrollbar");
    }
    B->SetSkinData(FSD);
    B->SetParent(FForm);
    const bool H = Kind == sbHorizontal;
    auto Sync = [this, H, Alive = FAlive](TObject*) {
      if (!*Alive) return;
      if (H)
        SyncMDIHScroll();
      else
        SyncMDIVScroll();
    };
    B->OnUpButtonClick = [this, B, Sync](TObject* S) {
      B->SetPosition(B->Position() + 10);
      Sync(S);
    };
    B->OnDownButtonClick = [this, B, Sync](TObject* S) {
      B->SetPosition(B->Position() - 10);
      Sync(S);
    };
    B->OnPageUp = Sync;
    B->OnPageDown = Sync;
    B->OnLastChange = Sync;
    return B;
  };
  FMDIHScrollBar = Make(sbHorizontal);
  FMDIVScrollBar = Make(sbVertical);
  FOldHSrollBarPosition = FOldVSrollBarPosition = 0;
}

void TspFormSkin::SetShowMDIScrollBars(bool Value) {
  if (FShowMDIScrollBars == Value) return;
  FShowMDIScrollBars = Value;
  UpdateMDIScrollBars(true);
}

void TspFormSkin::UpdateMDIScrollBars(bool AUpdateRange) {
  TspSkinScrollBar *HB = FMDIHScrollBar, *VB = FMDIVScrollBar;
  if (!HB || !VB) return;
  if (FMDIChildMaximized || !FShowMDIScrollBars) {
    HB->SetVisible(false);
    VB->SetVisible(false);
    return;
  }
  TRect R;
  GetMDIClientRect(R);
  std::vector<TRect> Places;
  for (TCustomForm* F : MDIChildrenOfMain()) {
    if (!ChildVisible(F) || F->Handle() == ChangeVisibleChildHanle) continue;
    Places.push_back(F->BoundsRect());
  }
  const TspMdiScrollState S = MdiScrollState(Places, R.Width(), R.Height(), VB->Width(), HB->Height());
  bool Changed = false;
  if (S.NeedH && !HB->Visible()) {
    HB->SetBounds(R.Left, R.Bottom - HB->Height(), R.Width(), HB->Height());
    HB->SetVisible(true);
    Changed = true;
  } else if (!S.NeedH && HB->Visible()) {
    HB->SetVisible(false);
    Changed = true;
  }
  if (S.NeedV && !VB->Visible()) {
    VB->SetBounds(R.Right - VB->Width(), R.Top, VB->Width(), R.Height() - (S.NeedH ? HB->Height() : 0));
    VB->SetVisible(true);
    Changed = true;
  } else if (!S.NeedV && VB->Visible()) {
    VB->SetVisible(false);
    Changed = true;
  }
  LayoutMDIScrollBars();
  if (HB->Visible()) {
    if (AUpdateRange) {
      HB->SetRange(0, S.HMax, S.HPos, R.Width() - (VB->Visible() ? VB->Width() : 0));
      FOldHSrollBarPosition = HB->Position();
    }
    HB->SetLargeChange(HB->PageSize());
  }
  if (VB->Visible()) {
    if (AUpdateRange) {
      VB->SetRange(0, S.VMax, S.VPos, R.Height() - (HB->Visible() ? HB->Height() : 0));
      FOldVSrollBarPosition = VB->Position();
    }
    VB->SetLargeChange(VB->PageSize());
  }
  if (!HB->Visible() && !VB->Visible()) Changed = false;
  // The second run finds the bars as it wants them and stops.
  if (Changed) UpdateMDIScrollBars(AUpdateRange);
}

void TspFormSkin::LayoutMDIScrollBars() {
  TspSkinScrollBar *HB = FMDIHScrollBar, *VB = FMDIVScrollBar;
  if (!HB || !VB || !IsMDIParent() || (!HB->Visible() && !VB->Visible())) return;
  TRect R;
  GetMDIClientRect(R);
  if (HB->Visible()) {
    if (HB->Both() != VB->Visible()) HB->SetBoth(VB->Visible());
    HB->SetBounds(R.Left, R.Bottom - HB->Height(), R.Width(), HB->Height());
  }
  if (VB->Visible())
    VB->SetBounds(R.Right - VB->Width(), R.Top, VB->Width(), R.Height() - (HB->Visible() ? HB->Height() : 0));
}

void TspFormSkin::SyncMDIHScroll() {
  if (!FMDIHScrollBar) return;
  const Integer P = FMDIHScrollBar->Position();
  if (P != FOldHSrollBarPosition) {
    const Integer D = FOldHSrollBarPosition - P;
    FStopCheckChildMove = true;
    {
      TFinally Done([this] { FStopCheckChildMove = false; });
      for (TCustomForm* F : MDIChildrenOfMain())
        if (ChildVisible(F)) F->SetLeft(F->Left() + D);
    }
    UpdateMDIScrollBars(false);
  }
  FOldHSrollBarPosition = P;
}

void TspFormSkin::SyncMDIVScroll() {
  if (!FMDIVScrollBar) return;
  const Integer P = FMDIVScrollBar->Position();
  if (P != FOldVSrollBarPosition) {
    const Integer D = FOldVSrollBarPosition - P;
    FStopCheckChildMove = true;
    {
      TFinally Done([this] { FStopCheckChildMove = false; });
      for (TCustomForm* F : MDIChildrenOfMain())
        if (ChildVisible(F)) F->SetTop(F->Top() + D);
    }
    UpdateMDIScrollBars(false);
  }
  FOldVSrollBarPosition = P;
}

// ---------------------------------------------------------------------------
// Window menu

void TspFormSkin::AddChildToMenu(TCustomForm* Child) {
  TCustomForm* Main = MainForm();
  if (!Child || !Main || !MainFormSkin() || !Main->WindowMenu()) return;
  // Shown again without being hidden between (a window made anew): the
  // entry it has stays, with the current caption.
  const String Name = Child->Name() + kChildItemMarker;
  if (auto* Old = dynamic_cast<TMenuItem*>(FindComponent(Name))) {
    Old->SetCaption(Child->Caption());
    return;
  }
  auto* Item = new TMenuItem(this);
  Item->SetName(Name);
  Item->SetCaption(Child->Caption());
  Item->OnClick = [this, Alive = FAlive](TObject* Sender) {
    if (*Alive) MDIItemClick(Sender);
  };
  Main->WindowMenu()->Add(Item);
}

void TspFormSkin::DeleteChildFromMenu(TCustomForm* Child) {
  TCustomForm* Main = MainForm();
  if (!Child || !Main || !MainFormSkin() || !Main->WindowMenu()) return;
  TMenuItem* WM = Main->WindowMenu();
  auto FirstEntry = [WM](const String* ChildName) -> TMenuItem* {
    for (Integer I = 0; I < WM->Count(); ++I) {
      TMenuItem* It = WM->Items(I);
      if (HasMarker(It->Name()) && (!ChildName || ChildNameOf(It->Name()) == *ChildName)) return It;
    }
    return nullptr;
  };
  const String Name = Child->Name();
  if (TMenuItem* It = FirstEntry(&Name)) {
    WM->Remove(It);
    delete It;
  }
  // The last child gone: a left-over entry goes as well.
  if (Main->MDIChildCount() == 0)
    if (TMenuItem* It = FirstEntry(nullptr)) {
      WM->Remove(It);
      delete It;
    }
}

void TspFormSkin::UpDateChildCaptionInMenu(TCustomForm* Child) {
  TCustomForm* Main = MainForm();
  if (!Child || !Main || !MainFormSkin() || !Main->WindowMenu()) return;
  TMenuItem* WM = Main->WindowMenu();
  for (Integer I = 0; I < WM->Count(); ++I) {
    TMenuItem* It = WM->Items(I);
    if (HasMarker(It->Name()) && ChildNameOf(It->Name()) == Child->Name()) {
      It->SetCaption(Child->Caption());
      return;
    }
  }
}

void TspFormSkin::UpDateChildActiveInMenu() {
  TCustomForm* Main = MainForm();
  if (!Main || !MainFormSkin() || !Main->WindowMenu()) return;
  TCustomForm* Active = Main->FormStyle() == fsMDIForm ? Main->ActiveMDIChild() : nullptr;
  // Without an active child no entry is checked.
  TMenuItem* WM = Main->WindowMenu();
  for (Integer I = 0; I < WM->Count(); ++I) {
    TMenuItem* It = WM->Items(I);
    if (HasMarker(It->Name())) It->SetChecked(Active && ChildNameOf(It->Name()) == Active->Name());
  }
}

void TspFormSkin::MDIItemClick(TObject* Sender) {
  auto* It = dynamic_cast<TMenuItem*>(Sender);
  if (!It) return;
  const String Name = ChildNameOf(It->Name());
  for (TCustomForm* F : MDIChildrenOfMain()) {
    if (F->Name() != Name) continue;
    if (TspFormSkin* S = SkinOf(F); S && S->WindowState() == wsMinimized) S->SetWindowState(wsNormal);
    F->Show();
  }
}

// ---------------------------------------------------------------------------
// Tabs bar

TspSkinMDITabsBar* TspFormSkin::MDITabsBar() const { return dynamic_cast<TspSkinMDITabsBar*>(FMDITabsBar); }

void TspFormSkin::SetMDITabsBar(TspSkinMDITabsBar* Value) {
  if (FMDITabsBar) FMDITabsBar->RemoveFreeNotification(this);
  FMDITabsBar = Value;
  if (Value) Value->FreeNotification(this);
}

void TspFormSkin::AddChildToBar(TCustomForm* Child) {
  bool Accept = true;
  auto Alive = FAlive;
  if (OnAcceptToMDITabsBar) OnAcceptToMDITabsBar(Accept);
  if (!*Alive || !Accept) return;
  if (TspFormSkin* P = MainFormSkin())
    if (TspSkinMDITabsBar* Bar = P->MDITabsBar()) Bar->AddTab(Child);
}

void TspFormSkin::DeleteChildFromBar(TCustomForm* Child) {
  if (TspFormSkin* P = MainFormSkin())
    if (TspSkinMDITabsBar* Bar = P->MDITabsBar()) Bar->DeleteTab(Child);
}

void TspFormSkin::RefreshMDIBarTab(TCustomForm* Child) {
  TspFormSkin* P = MainFormSkin();
  TspSkinMDITabsBar* Bar = P ? P->MDITabsBar() : nullptr;
  if (!Bar || !Bar->HandleAllocated()) return;
  for (Integer I = 0; I < Bar->TabCount(); ++I)
    if (Bar->Tabs(I)->Child == Child) Bar->Tabs(I)->Draw(Bar->Canvas());
}

void TspFormSkin::UpdateMDITabsBar() {
  if (TspFormSkin* P = MainFormSkin())
    if (TspSkinMDITabsBar* Bar = P->MDITabsBar()) Bar->UpdateActiveTab();
}

// ---------------------------------------------------------------------------
// Arrangements

void TspFormSkin::MinimizeAll() {
  if (!IsMDIParent()) return;
  for (TCustomForm* F : MDIChildrenOfMain())
    if (TspFormSkin* S = SkinOf(F)) S->SetWindowState(wsMinimized);
}

void TspFormSkin::MaximizeAll() {
  if (!IsMDIParent()) return;
  for (TCustomForm* F : MDIChildrenOfMain())
    if (TspFormSkin* S = SkinOf(F); S && (S->BorderIcons() & spbi::biMaximize)) S->SetWindowState(wsMaximized);
}

void TspFormSkin::CloseAll() {
  if (!IsMDIParent()) return;
  auto L = MDIChildrenOfMain();
  for (size_t I = L.size(); I-- > 0;) L[I]->Close();
}

void TspFormSkin::RestoreAllExcept(HWND AFormHandle) {
  if (!IsMDIParent()) return;
  for (TCustomForm* F : MDIChildrenOfMain()) {
    if (AFormHandle && F->HandleAllocated() && F->Handle() == AFormHandle) continue;
    TspFormSkin* S = SkinOf(F);
    if (!S) continue;
    if (S->WindowState() != wsNormal) S->SetWindowState(wsNormal);
    if (S->RollUpState() && S->WindowState() == wsNormal) S->SetRollUpState(false);
  }
}

void TspFormSkin::RestoreAll() { RestoreAllExcept(nullptr); }

void TspFormSkin::Tile() {
  if (FTileMode == tbHorizontal)
    TileHorizontal();
  else
    TileVertical();
}

void TspFormSkin::TileHorizontal() {
  if (!IsMDIParent() || MDIChildrenOfMain().empty()) return;
  RestoreAll();
  TRect R;
  GetMDIClientRect(R);
  auto L = MDIChildrenOfMain();
  auto Rects = TileHorizontalRects(static_cast<Integer>(L.size()), R.Width(), R.Height());
  for (size_t I = 0; I < L.size() && I < Rects.size(); ++I) L[I]->SetBoundsRect(Rects[I]);
}

void TspFormSkin::TileVertical() {
  if (!IsMDIParent() || MDIChildrenOfMain().empty()) return;
  RestoreAll();
  TRect R;
  GetMDIClientRect(R);
  auto L = MDIChildrenOfMain();
  auto Rects = TileVerticalRects(static_cast<Integer>(L.size()), R.Width(), R.Height());
  for (size_t I = 0; I < L.size() && I < Rects.size(); ++I) L[I]->SetBoundsRect(Rects[I]);
}

void TspFormSkin::Cascade() {
  if (!IsMDIParent() || MDIChildrenOfMain().empty()) return;
  RestoreAll();
  TRect R;
  GetMDIClientRect(R);
  const Integer Step = Skin() && FSupportNCArea ? FR.NewClRect.Top : DefCaptionHeight() + 3;
  auto L = MDIChildrenOfMain();
  std::vector<TspCascadeChild> Kids;
  for (TCustomForm* F : L) Kids.push_back({F->Width(), F->Height(), F->BorderStyle() == bsSingle});
  auto Rects = CascadeRects(Kids, R.Width(), R.Height(), Step, GetMinWidth(), GetMinHeight());
  for (size_t I = 0; I < L.size() && I < Rects.size(); ++I) L[I]->SetBoundsRect(Rects[I]);
}

TCustomForm* TspFormSkin::FindMaximizedMDIChild() {
  TCustomForm* Main = MainForm();
  if (!Main || Main->FormStyle() != fsMDIForm) return nullptr;
  if (TCustomForm* A = Main->ActiveMDIChild())
    if (TspFormSkin* S = SkinOf(A); S && S->WindowState() == wsMaximized) return A;
  for (TCustomForm* F : MDIChildrenOfMain())
    if (TspFormSkin* S = SkinOf(F); S && S->WindowState() == wsMaximized) return F;
  return nullptr;
}

void TspFormSkin::RefitMDIChildren() {
  for (TCustomForm* F : MDIChildrenOfMain())
    if (F->HandleAllocated()) SendMessageW(F->Handle(), FEM_MDI_REFIT, 0, 0);
  if (!FShowMDIScrollBars) ArrangeMinimizedMDIChildren();
}

void TspFormSkin::ArrangeMinimizedMDIChildren() {
  for (TCustomForm* F : MDIChildrenOfMain())
    if (TspFormSkin* S = SkinOf(F); S && S->WindowState() == wsMinimized) {
      TPoint P;
      S->GetMinimizedPosition(P);
      F->SetBounds(P.X, P.Y, F->Width(), F->Height());
    }
}

void TspFormSkin::UpdateMDIMenuBar() {
  TspFormSkin* P = MainFormSkin();
  TspSkinMainMenuBar* Bar = P ? P->MainMenuBar() : nullptr;
  if (Bar && (Bar->GetChildMainMenu() || Bar->ChildMenuIn)) Bar->UpDateItems();
}

// ---------------------------------------------------------------------------
// The parent's client window

LRESULT CALLBACK TspFormSkin::MDIClientProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* S = static_cast<TspFormSkin*>(GetPropW(Wnd, reinterpret_cast<const WCHAR*>(kClientProp)));
  if (!S || !S->FPrevClientProc) return DefWindowProcW(Wnd, Msg, W, L);
  WNDPROC Prev = S->FPrevClientProc;
  if (Msg == WM_NCDESTROY) {
    S->UnhookMDIClient();
    return CallWindowProcW(Prev, Wnd, Msg, W, L);
  }
  TMessage M{Msg, W, L, 0};
  CallbackGuard(S, [&] { S->MDIClientWndProc(M); });
  return M.Result;
}

void TspFormSkin::HookMDIClient() {
  if (!IsMDIParent() || FPrevClientProc || !FForm->HandleAllocated()) return;
  HWND C = FForm->ClientHandle();
  if (!C) return;
  FClientWnd = C;
  SetPropW(C, reinterpret_cast<const WCHAR*>(kClientProp), this);
  FPrevClientProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(C, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MDIClientProc)));
  // Without a border of its own the client takes the whole area at once.
  SetWindowPos(C, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  NudgeFormWidth();
}

void TspFormSkin::UnhookMDIClient() {
  if (!FClientWnd) return;
  if (FPrevClientProc && IsWindow(FClientWnd)) {
    SetWindowLongPtrW(FClientWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevClientProc));
    RemovePropW(FClientWnd, reinterpret_cast<const WCHAR*>(kClientProp));
  }
  FClientWnd = nullptr;
  FPrevClientProc = nullptr;
}

void TspFormSkin::MDIClientWndProc(TMessage& M) {
  const HWND C = FClientWnd;
  auto Prev = [&] { M.Result = CallWindowProcW(FPrevClientProc, C, M.Msg, M.WParam, M.LParam); };
  switch (M.Msg) {
    case WM_SIZE: {
      Prev();
      auto Alive = FAlive;
      RefitMDIChildren();
      if (!*Alive) return;
      bool Redraw = !FLogoBitMap->Empty();
      if (!Redraw && FSkinSupport && Skin())
        Redraw = (FSD->StretchEffect && FSD->MDIBGPictureIndex == -1) ||
                 (FSD->MDIBGStretchEffect && FSD->MDIBGPictureIndex != -1);
      if (Redraw) {
        RECT R{0, 0, FForm->ClientWidth(), FForm->ClientHeight()};
        RedrawWindow(C, &R, nullptr, RDW_ERASE | RDW_INVALIDATE);
      }
      UpdateMDIScrollBars(true);
      return;
    }
    case WM_ERASEBKGND: {
      const HDC DC = reinterpret_cast<HDC>(M.WParam);
      if (!Skin())
        PaintMDIBGDefault(DC);
      else if (FSD->MDIBGPictureIndex != -1)
        PaintBG3(DC);
      else if (FSD->BGPictureIndex == -1)
        PaintBG(DC);
      else
        PaintBG2(DC);
      return;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return;
    case WM_NCACTIVATE: M.Result = 1; return;
    default: Prev(); return;
  }
}

void TspFormSkin::CancelMDIControlModes() {
  const auto& St = ComponentState();
  if (St.Contains(csLoading) || St.Contains(csDesigning) || St.Contains(csDestroying)) return;
  if (!IsMDIParent() || !FForm->Visible()) return;
  for (Integer I = 0; I < FForm->ComponentCount(); ++I)
    if (auto* C = dynamic_cast<TspSkinControl*>(FForm->Components(I)); C && C->Visible() && C->Enabled())
      C->Perform(CM_CANCELMODE, 0, 0);
}

// ---------------------------------------------------------------------------
// The protocol between children and parent

bool TspFormSkin::MDIMessage(TMessage& M) {
  const bool Parent = IsMDIParent();
  switch (M.Msg) {
    case FEM_MDI_REFIT:
      // Always goes on to the previous procedure.
      if (IsMDIChild() && FWindowState == wsMaximized) {
        TRect R;
        GetMDIClientRect(R);
        FForm->SetBounds(0, 0, R.Width(), R.Height());
      }
      return false;
    case FEM_MDI_QUERY_MAXIMIZED:
      M.Result = Parent && FMDIChildMaximized ? 1 : 0;
      return true;
    case FEM_MDI_CHILD_MAXIMIZED: {
      if (!Parent || FInMaximizeAll) return false;
      FMDIChildMaximized = true;
      UpDateFormNC();
      if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->MDIChildMaximize();
      FInMaximizeAll = true;
      TFinally Done([this] { FInMaximizeAll = false; });
      MaximizeAll();
      return true;
    }
    case FEM_MDI_CHILD_RESTORED:
      if (!Parent || FInRestoreAll) return false;
      if (!FindMaximizedMDIChild()) FMDIChildMaximized = false;
      UpDateFormNC();
      if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->MDIChildRestore();
      UpdateMDIScrollBars(true);
      return true;
    case FEM_MDI_CHILD_MOVED:
      if (!Parent || FStopCheckChildMove) return false;
      ChangeVisibleChildHanle = reinterpret_cast<HWND>(M.WParam);
      UpdateMDIScrollBars(true);
      ChangeVisibleChildHanle = nullptr;
      return true;
    case FEM_MDI_RESTORE_ALL:
    case FEM_MDI_RESTORE_OTHERS: {
      if (!Parent || FInRestoreAll || !FMDIChildMaximized) return false;
      {
        FInRestoreAll = true;
        TFinally Done([this] { FInRestoreAll = false; });
        if (M.Msg == FEM_MDI_RESTORE_ALL) {
          RestoreAll();
        } else {
          RestoreAllExcept(reinterpret_cast<HWND>(M.WParam));
          FForm->Next();
        }
      }
      FMDIChildMaximized = false;
      UpDateFormNC();
      if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->MDIChildRestore();
      UpdateMDIScrollBars(true);
      return true;
    }
    case FEM_SKIN_CHANGED_MDI:
      if (Parent && FSD && M.WParam == reinterpret_cast<WPARAM>(FSD)) RefitMDIChildren();
      return false;
    default: return false;
  }
}

// A child's own steps, run from its window procedure.

void TspFormSkin::MDIChildShown(bool Shown) {
  TspFormSkin* P = MainFormSkin();
  TCustomForm* Main = MainForm();
  if (!P) return;
  auto Alive = FAlive;
  if (!Shown) {
    FMDIChildListed = false;
    DeleteChildFromMenu(FForm);
    DeleteChildFromBar(FForm);
    return;
  }
  FMDIChildShown = true;
  // A second showing without a hiding between lists nothing again: one
  // entry and one tab per child.
  if (!FMDIChildListed) {
    FMDIChildListed = true;
    AddChildToMenu(FForm);
    AddChildToBar(FForm);
    if (!*Alive) return;
  }
  if (Main && Main->HandleAllocated() &&
      SendMessageW(Main->Handle(), FEM_MDI_QUERY_MAXIMIZED, 0, 0) == 1 && (FBorderIcons & spbi::biMaximize))
    SetWindowState(wsMaximized);
}

void TspFormSkin::TellMDIParent(UINT Msg) {
  TCustomForm* Main = MainForm();
  if (!Main || !Main->HandleAllocated()) return;
  const HWND Main0 = Main->Handle();
  const HWND Own = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  auto Alive = FAlive;
  SendMessageW(Main0, FEM_MDI_CHILD_RESTORED, 0, 0);
  if (!*Alive || !IsWindow(Main0)) return;
  SendMessageW(Main0, Msg, Msg == FEM_MDI_RESTORE_OTHERS ? reinterpret_cast<WPARAM>(Own) : 0, 0);
}

void TspFormSkin::MDIChildMoved() {
  TCustomForm* Main = MainForm();
  if (Main && Main->HandleAllocated()) SendMessageW(Main->Handle(), FEM_MDI_CHILD_MOVED, 0, 0);
}

void TspFormSkin::MDIChildDestroyed() {
  FMDIChildShown = FMDIChildListed = false;
  FWindowState = FWindowStateInit = wsNormal;
  // A child freed while shown leaves no entry behind (from the destructor
  // the entries go with this component, which owns them; the form is then
  // no longer whole and its window gone).
  if (!FDestroying) DeleteChildFromMenu(FForm);
  // The tab only compares the form's address: safe while it is freed.
  DeleteChildFromBar(FForm);
  TCustomForm* Main = MainForm();
  if (!Main || !Main->HandleAllocated() || Main->ComponentState().Contains(csDestroying)) return;
  HWND Own = !FDestroying && FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  SendMessageW(Main->Handle(), FEM_MDI_CHILD_RESTORED, 0, 0);
  if (TspFormSkin* P = MainFormSkin()) {
    P->UpdateMDIMenuBar();
    P->UpdateMDITabsBar();
  }
  SendMessageW(Main->Handle(), FEM_MDI_CHILD_MOVED, reinterpret_cast<WPARAM>(Own), 0);
}
