// The window procedure of a skinned form: per message a first stage, the
// form's previous procedure unless the first stage handled the message, and
// a second stage.
#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormSkin.h"
#include "skin/form/win/SkinMainMenuBar.h"

namespace {

TPoint NCPoint(LPARAM L) { return TPoint(static_cast<short>(LOWORD(L)), static_cast<short>(HIWORD(L))); }
// Client mouse messages carry unsigned halves.
Integer ClientX(LPARAM L) { return static_cast<Integer>(LOWORD(static_cast<DWORD>(L))); }
Integer ClientY(LPARAM L) { return static_cast<Integer>(HIWORD(static_cast<DWORD>(L))); }

}  // namespace

void TspFormSkin::CallOld(TMessage& M) {
  if (OldWindowProc) OldWindowProc(M);
}

void TspFormSkin::CloseMenusOnMessage(TMessage& M) {
  // The application losing the activation closes the menus too: a hidden
  // host (a form in the tray) gets no other message then.
  const bool AppDeactivated = M.Msg == WM_ACTIVATEAPP && M.WParam == 0;
  if (!AppDeactivated && !IsMenuCloseMessage(M.Msg)) return;
  auto Alive = FAlive;
  auto CloseStep = [](TspFormSkin* S) {
    if (S->InMainMenu && !S->InMenu) {
      S->InMainMenu = false;
    } else if (S->SkinMenu->Visible()) {
      S->SkinMenu->Hide();
    } else if (S->InMenu) {
      S->SkinMenuClose();
    } else {
      return false;
    }
    return true;
  };
  if (!CloseStep(this) && *Alive && IsMDIParent() && FForm->Visible())
    if (TspFormSkin* C = FindActiveMDIChildSkinForm(); C && C != this) CloseStep(C);
  if (*Alive) CancelMDIControlModes();
}

void TspFormSkin::SkinFormWndProc(TMessage& M) {
  auto Alive = FAlive;
  CloseMenusOnMessage(M);
  bool PassOn = true;
  FirstStage(M, PassOn);
  if (!*Alive) return;
  if (PassOn) CallOld(M);
  if (!*Alive) return;
  SecondStage(M);
}

void TspFormSkin::FirstStage(TMessage& M, bool& PassOn) {
  const bool Skinnable = FSkinnableForm;
  const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  switch (M.Msg) {
    case WM_DESTROY:
      MorphTimer->SetEnabled(false);
      MouseTimer->SetEnabled(false);
      AnimateTimer->SetEnabled(false);
      if (IsMDIChild()) MDIChildDestroyed();
      return;
    case WM_SIZE: OnSize(M, PassOn); return;
    case WM_ACTIVATE:
      if (!Skinnable) return;
      FIsDragging = false;
      CallOld(M);
      PassOn = false;
      if (IsMaximizedMDIChild()) {
        UpdateActiveState(false);
      } else if (FSupportNCArea) {
        UpdateActiveObject(-1, -1, false);
        ResetObjectStates();
        if (Wnd) SendMessageW(Wnd, WM_NCPAINT, 0, 0);
        UpdateActiveState(true);
      } else {
        FForm->Repaint();
      }
      if (IsMDIParent()) UpdateMDIMenuBar();
      return;
    case WM_MOUSEACTIVATE:
      // A press on the active document child marks it active at once.
      if (Skinnable && IsMDIChild() && !FFormActive && Application && Application->MainForm() &&
          Application->MainForm()->ActiveMDIChild() == FForm) {
        FFormActive = true;
        UpdateActiveState(FWindowState != wsMaximized);
      }
      return;
    case WM_SETTEXT:
    case WM_SETICON:
      // Wine's default handling paints its own caption here: paint the
      // skinned frame over it.
      if (!Skinnable) return;
      CallOld(M);
      PassOn = false;
      if (M.Msg == WM_SETTEXT && IsMDIChild()) {
        UpDateChildCaptionInMenu(FForm);
        RefreshMDIBarTab(FForm);
        // The parent's caption shows a maximised child's.
        if (IsMaximizedMDIChild())
          if (TspFormSkin* P = MainFormSkin()) P->UpDateFormNC();
      }
      if (FForm->BorderStyle() == bsNone || !Wnd || IsMaximizedMDIChild()) return;
      if (Skin()) {
        if (FSupportNCArea)
          UpDateFormNC();
        else if (M.Msg == WM_SETTEXT)
          UpdateCaptionText();
      } else {
        SendMessageW(Wnd, WM_NCPAINT, 0, 0);
      }
      return;
    case WM_ERASEBKGND: {
      PassOn = false;
      // The document client paints the parent's area.
      if (IsMDIParent()) return;
      const HDC DC = reinterpret_cast<HDC>(M.WParam);
      if (FSupportNCArea) {
        if (Skin()) {
          if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
            PaintBG3(DC);
          else if (FSD->BGPictureIndex == -1)
            PaintBG(DC);
          else
            PaintBG2(DC);
        } else {
          PaintBGDefault(DC);
        }
      } else {
        Paint(DC);
      }
      return;
    }
    case WM_SHOWWINDOW: OnShowWindow(M, PassOn); return;
    case WM_SETCURSOR:
      if (FSupportNCArea && FUseFormCursorInNCArea && Skinnable) {
        const WORD Code = LOWORD(M.LParam);
        if (!(Code == HTCLIENT || (Code >= HTLEFT && Code <= HTBOTTOMRIGHT)))
          M.LParam = MAKELPARAM(HTCLIENT, HIWORD(M.LParam));
      }
      return;
    case WM_GETMINMAXINFO:
      if (Skinnable) {
        auto* Info = reinterpret_cast<MINMAXINFO*>(M.LParam);
        Info->ptMinTrackSize.x = GetMinWidth();
        Info->ptMinTrackSize.y = GetMinHeight();
        Info->ptMaxTrackSize.x = GetMaxWidth();
        Info->ptMaxTrackSize.y = GetMaxHeight();
        M.Result = 0;
      }
      return;
    case WM_WINDOWPOSCHANGED: {
      auto* WP = reinterpret_cast<WINDOWPOS*>(M.LParam);
      if (!(WP->flags & SWP_NOMOVE)) {
        FFormLeft = WP->x;
        FFormTop = WP->y;
        FOldFormLeft = WP->x;
        FOldFormTop = WP->y;
      }
      if (!FSizing && FBorderLayerChangeSize && !(WP->flags & SWP_NOSIZE)) {
        FFormWidth = WP->cx;
        FFormHeight = WP->cy;
      }
      // The layered border follows the form (not while it sizes the form itself).
      if (!(WP->flags & SWP_NOMOVE) && CanShowLayeredBorder()) {
        if (FSizing)
          FBorderLayer->SetBoundsWithForm3(WP->x, WP->y, WP->cx, WP->cy);
        else if (!FBorderLayerChangeSize)
          FBorderLayer->MoveWithForm2(WP->x, WP->y);
      }
      return;
    }
    case WM_DISPLAYCHANGE:
      if (FSupportNCArea && FForm->BorderStyle() != bsNone &&
          (FForm->Width() > GetMaxWidth() || FForm->Height() > GetMaxHeight()))
        NudgeFormWidth();
      return;
    case WM_NCCALCSIZE: {
      if (!Skinnable) return;
      PassOn = false;
      // A maximised document child shows no frame: the whole window is client.
      if (!FSupportNCArea || FForm->BorderStyle() == bsNone || IsMaximizedMDIChild()) return;
      RECT& R = reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0];
      if (HasSkinFrame()) {
        CalcSkinRects();
        if (CanShowLayeredBorder() && FBorderLayer->FullBorder()) {
          M.Result = 1;  // the border windows are the frame
          return;
        }
        const TRect& C = FSD->ClRect;
        R.left += C.Left;
        R.top += C.Top;
        R.right -= FSD->FPicture->Width() - C.Right;
        R.bottom -= FSD->FPicture->Height() - C.Bottom;
      } else {
        R.left += DefaultFrameBorder;
        R.top += DefCaptionHeight() + DefaultFrameBorder;
        R.right -= DefaultFrameBorder;
        R.bottom -= DefaultFrameBorder;
      }
      if (R.right < R.left) R.right = R.left;
      if (R.bottom < R.top) R.bottom = R.top;
      return;
    }
    case WM_NCHITTEST: {
      if (FSupportNCArea) {
        if (FBorderLayer->FVisible && FBorderLayer->FullBorder()) {
          PassOn = false;
          M.Result = HTCLIENT;  // the border windows size and move the form
          return;
        }
        if (!Skinnable) return;
        PassOn = false;
        TPoint P = NCPoint(M.LParam);
        PointToFrame(P);
        M.Result = Skin() ? SkinHitTest(P) : DefaultHitTest(P);
        if (M.Result == spHTOBJECT && !MouseTimer->Enabled()) {
          UpdateActiveObject(P.X, P.Y, true);
          MouseTimer->SetEnabled(true);
        }
      } else if (Skin()) {
        PassOn = false;
        TPoint P = FForm->ScreenToClient(NCPoint(M.LParam));
        if (!MouseIn) {
          MouseIn = true;
          UpdateActiveObject(P.X, P.Y, true);
          MouseTimer->SetEnabled(true);
        }
        M.Result = ClientHitTest(P);
      }
      return;
    }
    case WM_NCPAINT:
      if (!Skinnable) return;
      PassOn = false;
      if (FForm->BorderStyle() == bsNone || !FSupportNCArea || IsMaximizedMDIChild()) return;
      if (Skin())
        PaintNCSkin(nullptr, false);
      else
        PaintNCDefault(nullptr, false);
      return;
    case WM_NCACTIVATE:
      if (!Skinnable) return;
      PassOn = false;
      OnNCActivate(M);
      return;
    case WM_SYNCPAINT:
      if (Skinnable && FRollUpState && FSupportNCArea && Wnd) {
        SendMessageW(Wnd, WM_NCPAINT, 0, 0);
        M.Result = 0;
        PassOn = false;
      }
      return;
    case WM_CONTEXTMENU:
      // Outside the client area no menu of the form opens (and the native
      // system menu never does).
      if (Skinnable && M.LParam != -1 && Wnd) {
        POINT P{static_cast<short>(LOWORD(M.LParam)), static_cast<short>(HIWORD(M.LParam))};
        ScreenToClient(Wnd, &P);
        RECT C;
        GetClientRect(Wnd, &C);
        if (!PtInRect(&C, P)) PassOn = false;
      }
      return;
    case WM_SYSCOMMAND: {
      const WPARAM Cmd = M.WParam;
      if (Cmd == SC_RESTORE) {
        if (OnRestore) OnRestore(this);
        return;
      }
      if (Cmd == SC_KEYMENU) {
        if (!InMainMenu && !SkinMenu->Visible() && MainMenuBar()) {
          if (EnterMainMenu()) PassOn = false;
          return;
        }
        // No main-menu item to enter: the message goes on.
        if (InMainMenu) {
          InMainMenu = false;
          PassOn = false;
        } else if (SkinMenu->Visible()) {
          // The levels go too, not only the menu state.
          SkinMenu->Hide();
        } else if (InMenu) {
          SkinMenuClose();
        }
        return;
      }
      if (!Skinnable) return;
      const WPARAM Kind = Cmd & 0xFFF0;
      if (Kind == SC_MOVE && FWindowStateInit == wsMaximized) {
        PassOn = false;
      } else if (Kind == SC_MAXIMIZE) {
        PassOn = false;
        if (FBorderIcons & spbi::biMaximize) SetWindowState(wsMaximized);
      } else if (Kind == SC_MINIMIZE) {
        PassOn = false;
        if (FBorderIcons & spbi::biMinimize) SetWindowState(wsMinimized);
      }
      return;
    }
    case WM_TIMER:
      if (M.WParam == 1) FadeTimerTick();
      return;
    case WM_ENTERSIZEMOVE: {
      POINT C;
      GetCursorPos(&C);
      FSnap.MouseDownCoord = TPoint(C.x, C.y);
      if (FSupportNCArea && Skinnable) {
        ResetObjectStates();
        MouseTimer->SetEnabled(false);
        ActiveObject = MouseCaptureObject = -1;
        FSizeMove = true;
        FFullDrag = IsFullDragEnabled();
      }
      return;
    }
    case WM_MOVING:
      if (Skinnable) {
        RECT& R = *reinterpret_cast<RECT*>(M.LParam);
        if (FWindowStateInit == wsMaximized && !IsMDIChild()) {
          R = RECT{FForm->Left(), FForm->Top(), FForm->Left() + FForm->Width(), FForm->Top() + FForm->Height()};
        } else if (FMagnetic) {
          Integer L = R.left, T = R.top;
          const Integer W = R.right - R.left, H = R.bottom - R.top;
          SnapToWorkArea(L, T, W, H);
          R = RECT{L, T, L + W, T + H};
        }
      }
      return;
    case WM_SIZING:
      if (FSizeMove && FFullDrag) {
        FSizing = true;
        FBorderLayerChangeSize = false;
        FSnap.Clear();
        CallOld(M);
        PassOn = false;
        const RECT& R = *reinterpret_cast<RECT*>(M.LParam);
        FFormWidth = std::max<Integer>(R.right - R.left, GetMinWidth());
        FFormHeight = std::max<Integer>(R.bottom - R.top, GetMinHeight());
        if (!Skin()) {
          UpdateWindowRegion(true);
        } else if (Skinnable && FSupportNCArea && FForm->Width() >= GetMinWidth() &&
                   FForm->Height() >= GetMinHeight() &&
                   (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
          ApplyFrameSize(true);
          const RECT& P = *reinterpret_cast<RECT*>(M.LParam);
          if (CanShowLayeredBorder() && P.left == FForm->Left() && P.top == FForm->Top())
            FBorderLayer->SetBoundsWithForm3(FForm->Left(), FForm->Top(), FFormWidth, FFormHeight);
        }
      }
      return;
    case WM_EXITSIZEMOVE:
      if (FSupportNCArea && Skinnable) {
        if (FSizing && (FFormWidth != FForm->Width() || FFormHeight != FForm->Height())) {
          TakeFormSize();
          ApplyFrameSize(true);
        }
        MouseTimer->SetEnabled(false);
        ActiveObject = OldActiveObject = MouseCaptureObject = -1;
        FSizeMove = FSizing = false;
        if (Skin() && Wnd) SendMessageW(Wnd, WM_NCPAINT, 0, 0);
        if (CanShowLayeredBorder()) FBorderLayer->SetBoundsWithForm();
      }
      return;
    case FEM_SKIN_BEFORE_CHANGE:
      if (FSD && M.WParam == reinterpret_cast<WPARAM>(FSD)) {
        SaveBoundsForBorderChange();
        FStopPainting = true;
        FSkinSupport = false;
        MorphTimer->SetEnabled(false);
        MouseTimer->SetEnabled(false);
        AnimateTimer->SetEnabled(false);
        ClearObjects();
        NotifyBeforeChangeSkin(FSD, FForm);
      }
      return;
    case FEM_SKIN_CHANGED:
      FStopPainting = false;
      if (FSD && M.WParam == reinterpret_cast<WPARAM>(FSD)) ApplySkinData();
      NotifyChangeSkin(reinterpret_cast<TspSkinData*>(M.WParam), FForm);
      return;
    case FEM_SKIN_CHANGED_MDI:
    case FEM_MDI_REFIT:
    case FEM_MDI_QUERY_MAXIMIZED:
    case FEM_MDI_CHILD_MAXIMIZED:
    case FEM_MDI_CHILD_RESTORED:
    case FEM_MDI_CHILD_MOVED:
    case FEM_MDI_RESTORE_ALL:
    case FEM_MDI_RESTORE_OTHERS:
      if (MDIMessage(M)) PassOn = false;
      return;
    case FEM_MENU_CLOSED: SkinMenuClose(); return;
    case FEM_SKIN_STRINGS_CHANGED: SetDefaultButtonHints(); return;
    case FEM_SKIN_SKINNABLE_CHANGED:
      if (!FUseRibbon && !IsMDIChild() && FSD && M.WParam == reinterpret_cast<WPARAM>(FSD))
        SetSkinnableForm(FSD->SkinnableForm());
      return;
    case FEM_TRAY_RESTORED:
      if (FForm->Tag() == -10000) {
        if (CanShowLayeredBorder()) {
          if (Wnd) SetForegroundWindow(Wnd);
          BringStayOnTopFormsToFront();
        }
        FForm->SetTag(0);
      }
      return;
    case FEM_LAYERED_BORDERS_CHANGED:
      SaveBoundsForBorderChange();
      if (CanShowLayeredBorder()) {
        if (FForm->Visible() && !FBorderLayer->FVisible) {
          if (FIsVistaOS && Wnd) SetDwmTransitions(Wnd, false);
          FBorderLayer->FActive = FFormActive;
          FBorderLayer->ShowWithForm();
          RestoreBoundsAfterBorderChange();
          FForm->Show();
        }
      } else if (FBorderLayer->FVisible) {
        FBorderLayer->Hide();
        RestoreBoundsAfterBorderChange();
        if (FIsVistaOS && Wnd) SetDwmTransitions(Wnd, true);
      }
      if (FBorderLayer->FullBorder()) ApplySkinData();
      return;
    case FEM_AERO_BLUR_CHANGED:
      if (FBorderLayer->FVisible) {
        FBorderLayer->Hide();
        FBorderLayer->ShowWithForm();
      }
      return;
    case FEM_QUERY_SKINNABLE:
      M.Result = (!FSkinnableForm && FIsVistaOS) ? SP_FORM_UNSKINNABLE : SP_FORM_SKINNABLE;
      PassOn = false;
      return;
    case FEM_SMART_SHOW_BEGIN: FSmartEffectsShow = true; return;
    case FEM_SMART_SHOW_END:
      if (FSmartEffectsShow) {
        FSmartEffectsShow = false;
        if ((FForm->Visible() || FForm->Tag() == -10000) && CanShowLayeredBorder()) {
          Application->ProcessMessages();
          FBorderLayer->FActive = true;
          FBorderLayer->ShowWithFormAnimation();
        }
      }
      return;
    case FEM_PAINT_FRAME:
      if (!Skinnable) return;
      PaintFrameToDC(reinterpret_cast<HDC>(M.WParam));
      M.Result = SP_FRAME_PAINTED;
      PassOn = false;
      return;
    case FEM_PAINT_FRAME_EX:
      if (!Skinnable || M.LParam != SP_PAINT_EX_MAGIC) return;
      PaintFrameToDC(reinterpret_cast<HDC>(M.WParam));
      M.Result = SP_PAINT_EX_MAGIC;
      PassOn = false;
      return;
  }
}

void TspFormSkin::PaintFrameToDC(HDC DC) {
  if (!DC || !FSupportNCArea || FForm->BorderStyle() == bsNone) return;
  if (Skin())
    PaintNCSkin(DC, true);
  else if (!FStopPainting)
    PaintNCDefault(DC, true);
}

void TspFormSkin::OnNCActivate(TMessage& M) {
  FBorderLayerChangeSize = false;
  if (SkinMenu->Visible()) SkinMenu->Hide();
  if (FLayerManager->IsVisible()) FLayerManager->Hide();
  if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
  FFormActive = M.WParam != 0;
  if (!FFormActive) UpdateActiveObject(-1, -1, false);
  if (IsMDIChild() && FForm->Visible() && FForm->HandleAllocated()) {
    // The child procedure keeps the document client's activation; its
    // native frame painting is not let through to the screen.
    const HWND Wnd = FForm->Handle();
    SendMessageW(Wnd, WM_SETREDRAW, 0, 0);
    CallOld(M);
    SendMessageW(Wnd, WM_SETREDRAW, 1, 0);
    RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
    // No native frame: the previous procedure does not run.
    M.Result = 1;
  }
  if (FForm->BorderStyle() != bsNone && FForm->HandleAllocated() && !IsMaximizedMDIChild()) {
    SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
    UpdateActiveState(true);
  } else {
    UpdateActiveState(false);
    if (IsMaximizedMDIChild())
      if (TspFormSkin* P = MainFormSkin()) P->UpDateFormNC();
  }
  if (FForm->Visible() && FClientInActiveEffect) {
    if (FFormActive)
      HideClientInActiveEffect();
    else
      ShowClientInActiveEffect();
  }
  if (FForm->Visible() && CanShowLayeredBorder())
    FBorderLayer->SetActive(FFormActive, true);
  else if (!FForm->Visible() && FForm->Tag() != -10000 && FBorderLayer->FVisible)
    FBorderLayer->Hide();
}

void TspFormSkin::OnShowWindow(TMessage& M, bool&) {
  const HWND Wnd = FForm->Handle();
  const bool AnimateAll = FSD && FSD->AnimationForAllWindows();
  const bool Fade = FIsLayerEnabled && (FAlphaBlend || FAlphaBlendAnimation || AnimateAll);
  if (!FSkinnableForm) {
    if (M.WParam) {
      if (FStartShow) {
        FStartShow = false;
        if (FPositionInMonitor != sppDefault && FWindowStateInit == wsNormal) ApplyPositionInMonitor();
      }
      if (Fade) {
        SetWindowLongW(Wnd, GWL_EXSTYLE, GetWindowLongW(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowAlphaValue(Wnd, 0);
        SetTimer(Wnd, 1, 1, nullptr);
      }
    } else {
      FLayerManager->Hide();
      FMenuLayerManager->Hide();
    }
    return;
  }
  if (!M.WParam) {
    if (FLayerManager->IsVisible()) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
    if (CanShowLayeredBorder() && FBorderLayer->FVisible) FBorderLayer->Hide();
    return;
  }
  if (Application && Application->MainForm() == FForm && !Application->OnRestore)
    Application->OnRestore = [this, Alive = FAlive](TObject* Sender) {
      if (*Alive) ApplicationRestore(Sender);
    };
  if (FStartShow) {
    if (FPositionInMonitor == sppDefault) {
      FStartShow = false;
    } else if (FWindowState == wsNormal) {
      FStartShow = false;
      ApplyPositionInMonitor();
    }
  }
  if (AnimateAll && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
  if (Fade || NeedsBorderShowStep()) {
    SetWindowLongW(Wnd, GWL_EXSTYLE, GetWindowLongW(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlphaValue(Wnd, 0);
    if (CanShowLayeredBorder() && (FForm->Visible() || FForm->Tag() == -10000)) {
      FBorderLayer->CheckFormAlpha(0, false);
      FBorderLayer->ShowWithForm();
    }
    SetTimer(Wnd, 1, 1, nullptr);
  } else if ((FForm->Visible() || FForm->Tag() == -10000) && CanShowLayeredBorder()) {
    Application->ProcessMessages();
    FBorderLayer->FActive = true;
    FBorderLayer->ShowWithForm();
  }
  if (FSupportNCArea) NudgeFormWidth();
  if (!FSupportNCArea) {
    UpdateLinkedControls();
    if (FWindowStateInit != FWindowState) SetWindowState(FWindowStateInit);
  }
}

void TspFormSkin::OnSize(TMessage& M, bool& PassOn) {
  if (FSizeMove && FFullDrag) {
    if (FSupportNCArea && !FLogoBitMap->Empty()) FForm->Invalidate();
    return;
  }
  PassOn = false;
  if (!FBorderLayerChangeSize) CallOld(M);
  TakeFormSize();
  FSnap.Clear();
  const HWND Wnd = FForm->Handle();
  if (!Skin()) {
    if (FSupportNCArea) {
      if (FSkinnableForm) SendMessageW(Wnd, WM_NCPAINT, 0, 0);
      UpdateWindowRegion(true);
    }
  } else if (FSupportNCArea) {
    if (FSkinnableForm && FForm->Width() >= GetMinWidth() && FForm->Height() >= GetMinHeight()) {
      if (CanShowLayeredBorder()) {
        if (FBorderLayerChangeSize)
          FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
        else
          FBorderLayer->SetBoundsWithForm();
      }
      ApplyFrameSize(true);
    }
  } else if (!FRollUpState) {
    const bool R = IsSkinResizable();
    if (R || (FForm->ClientWidth() == FSD->FPicture->Width() && FForm->ClientHeight() == FSD->FPicture->Height())) {
      if (CanShowLayeredBorder()) FBorderLayer->SetBoundsWithForm();
      ApplyFrameSize(R);
    }
  }
  if (FBorderLayerChangeSize) CallOld(M);
  if (FSupportNCArea) {
    if (FAlphaBlend && FAlphaBlendValue != 255 && FIsLayerEnabled) {
      SendMessageW(Wnd, WM_NCPAINT, 0, 0);
      FForm->Invalidate();
    }
    if (!FLogoBitMap->Empty()) FForm->Invalidate();
  }
}

void TspFormSkin::SecondStage(TMessage& M) {
  const bool NC = FSupportNCArea;
  if (IsMDIParent() && M.Msg == WM_SHOWWINDOW && M.WParam) HookMDIClient();
  if (IsMDIChild()) {
    // A document child keeps its parent's window menu, menu bar and
    // scroll bars up to date.
    switch (M.Msg) {
      case WM_MOVE:
      case WM_SIZE: MDIChildMoved(); break;
      case WM_SHOWWINDOW: {
        auto Alive = FAlive;
        MDIChildShown(M.WParam != 0);
        if (*Alive && M.WParam) MDIChildMoved();
        if (!*Alive) return;
        break;
      }
      case WM_NCACTIVATE:
      case WM_MDIACTIVATE:
        if (TspFormSkin* P = MainFormSkin()) {
          P->UpDateChildActiveInMenu();
          P->UpdateMDIMenuBar();
          P->UpdateMDITabsBar();
        }
        break;
      default: break;
    }
  }
  switch (M.Msg) {
    case WM_MOUSEMOVE: {
      if (NC) return;
      FrameMouseMove(ClientX(M.LParam), ClientY(M.LParam));
      if (FIsDragging) {
        POINT Q;
        GetCursorPos(&Q);
        if (Q.x != FOldX || Q.y != FOldY) {
          Integer L = FForm->Left() + Q.x - FOldX, T = FForm->Top() + Q.y - FOldY;
          if (FMagnetic) SnapToWorkArea(L, T, FForm->Width(), FForm->Height());
          FForm->SetBounds(L, T, FForm->Width(), FForm->Height());
          FOldX = Q.x;
          FOldY = Q.y;
        }
      }
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      if (NC) return;
      if (M.Msg == WM_LBUTTONDOWN) {
        POINT C;
        GetCursorPos(&C);
        FSnap.MouseDownCoord = TPoint(C.x, C.y);
      }
      FrameMouseDown(M.Msg == WM_LBUTTONDOWN ? mbLeft : mbRight, ClientX(M.LParam), ClientY(M.LParam));
      return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const TMouseButton B = M.Msg == WM_LBUTTONUP ? mbLeft : mbRight;
      if (NC)
        FrameMouseUp(B, -1, -1);
      else
        FrameMouseUp(B, ClientX(M.LParam), ClientY(M.LParam));
      return;
    }
    case WM_LBUTTONDBLCLK:
      FrameMouseDown(mbLeft, ClientX(M.LParam), ClientY(M.LParam));
      FrameDblClick();
      CaptionDblClick();
      return;
    case WM_RBUTTONDBLCLK: FrameMouseDown(mbRight, ClientX(M.LParam), ClientY(M.LParam)); return;
    default: break;
  }
  if (!NC || !FSkinnableForm) return;
  switch (M.Msg) {
    case WM_NCMOUSEMOVE: {
      TPoint P = NCPoint(M.LParam);
      PointToFrame(P);
      FrameMouseMove(P.X, P.Y);
      return;
    }
    case WM_NCLBUTTONDOWN: {
      if (FSizeMove) {
        FSizeMove = false;
        return;
      }
      TPoint P = NCPoint(M.LParam);
      PointToFrame(P);
      UpdateActiveObject(P.X, P.Y, true);
      FrameMouseDown(mbLeft, P.X, P.Y);
      if (M.WParam == HTCAPTION) MouseCaptureObject = -1;
      return;
    }
    case WM_NCLBUTTONUP: {
      TPoint P = NCPoint(M.LParam);
      PointToFrame(P);
      try {
        FrameMouseUp(mbLeft, P.X, P.Y);
      } catch (...) {
        // A failed command leaves the frame ready for the next click and is
        // reported, never swallowed.
        if (GetCapture() == FForm->Handle()) ReleaseCapture();
        MouseCaptureObject = -1;
        if (Application) Application->HandleException(this);
      }
      return;
    }
    case WM_NCLBUTTONDBLCLK: {
      TPoint P = NCPoint(M.LParam);
      PointToFrame(P);
      UpdateActiveObject(P.X, P.Y, true);
      FrameMouseDown(mbLeft, P.X, P.Y);
      FrameDblClick();
      if (M.WParam == HTCAPTION) {
              if (FSizeable && FWindowStateInit == wsMinimized)
          SetWindowState(wsNormal);
        else if (FSizeable && FWindowStateInit != wsMaximized && !FRollUpState && (FBorderIcons & spbi::biMaximize))
          SetWindowState(wsMaximized);
        else if (FSizeable && FWindowStateInit == wsMaximized && !MaxRollUpState)
          SetWindowState(wsNormal);
        else
          SetRollUpState(!FRollUpState);
      }
      MouseCaptureObject = -1;
      return;
    }
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: {
      TPoint P = NCPoint(M.LParam);
      PointToFrame(P);
      UpdateActiveObject(P.X, P.Y, true);
      FrameMouseDown(mbRight, P.X, P.Y);
      if (M.WParam == HTCAPTION) {
        MouseCaptureObject = -1;
        // Wine holds this message until the button is up: the menu opens
        // at the release, where the pointer is now.
        if (!FDisableSystemMenu && M.Msg == WM_NCRBUTTONDOWN) {
          POINT C;
          GetCursorPos(&C);
          PopupSystemMenu(C.x, C.y);
        }
      }
      return;
    }
    case WM_NCRBUTTONUP: {
      TPoint P = NCPoint(M.LParam);
      PointToFrame(P);
      FrameMouseUp(mbRight, P.X, P.Y);
      return;
    }
  }
}

void TspFormSkin::SaveBoundsForBorderChange() {
  TspFormLayerBorder* B = FBorderLayer;
  if (B->FVisible && B->FullBorder()) {
    FOldFormBounds = TRect(FForm->Left() - B->LeftSize, FForm->Top() - B->TopSize,
                           FForm->Width() + B->LeftSize + B->RightSize, FForm->Height() + B->TopSize + B->BottomSize);
    FOldFullBorder = 1;
  } else {
    FOldFormBounds = TRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FOldFullBorder = 0;
  }
}
