// The form component: construction, skins, the object factory, the caption
// buttons' rules and the bounds operations.
#include "skin/form/win/FormSkin.h"
#include "skin/form/win/SkinMainMenuBar.h"

#include "skin/data/win/SPUtils.h"

namespace {

template <class T>
T* ItemAs(void* P) {
  return dynamic_cast<T*>(static_cast<TObject*>(P));
}

String HintText(TspSkinData* SD, const Char* Key, const Char* English) {
  if (SD && SD->ResourceStrData()) return SD->ResourceStrData()->GetResStr(Key);
  return English;
}

}  // namespace

// ---------------------------------------------------------------------------
// Quick buttons

TspQuickButtonItem::TspQuickButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TspQuickButtonItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TspQuickButtonItem*>(Source)) {
    FImageIndex = S->FImageIndex;
    FHint = S->FHint;
    FEnabled = S->FEnabled;
    FVisible = S->FVisible;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TspQuickButtonItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TspQuickButtonItem::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed(false);
}

void TspQuickButtonItem::SetVisible(bool Value) {
  FVisible = Value;
  Changed(false);
}

TspQuickButtonItems::TspQuickButtonItems(TspFormSkin* ADSF)
    : TCollection([](TCollection* C) { return new TspQuickButtonItem(C); }, ADSF), DSF(ADSF) {}

void TspQuickButtonItems::Update(TCollectionItem*) {
  if (DSF && !DSF->ComponentState().Contains(csLoading) && !DSF->ComponentState().Contains(csDesigning))
    DSF->UpDateFormNC();
}

// ---------------------------------------------------------------------------
// Construction and destruction

TspFormSkin::TspFormSkin(TComponent* AOwner) : TComponent(AOwner) {
  ObjectList = new TList;
  AreaList = new TList;
  VisibleControls = new TList;
  RMTop = new TBitmap;
  RMBottom = new TBitmap;
  RMLeft = new TBitmap;
  RMRight = new TBitmap;
  FLogoBitMap = new TBitmap;
  FDefCaptionFont = new TFont;
  FDefCaptionFont->SetName(u"Arial");
  FDefCaptionFont->SetStyle(fsBold);
  FDefCaptionFont->SetHeight(14);
  FDefCaptionFont->SetColor(clBtnText);
  FDefInActiveCaptionFont = new TFont;
  FDefInActiveCaptionFont->Assign(FDefCaptionFont);
  FDefInActiveCaptionFont->SetColor(clBtnShadow);
  // 1. Owned parts and the capability flags.
  FBorderLayer = new TspFormLayerBorder(this);
  FLayerManager = new TspLayerManager(this);
  FMenuLayerManager = new TspLayerManager(this);
  FQuickButtons = new TspQuickButtonItems(this);
  FIsW7 = IsWindows7();
  FIsVistaOS = IsVistaOrLater();
  FIsLayerEnabled = IsWin2000OrLater();
  // 2. The frame timers (their handlers follow the hot-object tracking).
  auto MakeTimer = [this](Cardinal Interval) {
    auto* T = new TTimer(this);
    T->SetEnabled(false);
    T->SetInterval(Interval);
    return T;
  };
  MorphTimer = MakeTimer(25);
  MouseTimer = MakeTimer(50);
  AnimateTimer = MakeTimer(25);
  MorphTimer->SetOnTimer([this](TObject* S) { MorphTimerTick(S); });
  MouseTimer->SetOnTimer([this](TObject* S) { MouseTimerTick(S); });
  AnimateTimer->SetOnTimer([this](TObject* S) { AnimateTimerTick(S); });
  // 3. The owner form.
  FForm = dynamic_cast<TCustomForm*>(AOwner);
  if (!FForm) RaiseInvalidCast();
  OldHeight = FForm->Height();
  // 4. The native caption buttons never show.
  FForm->SetBorderIcons(0);
  FForm->OnShortCut = [this, Alive = FAlive](MSG& Msg, bool& Handled) {
    if (*Alive) FormShortCut(Msg, Handled);
  };
  FForm->SetAutoSize(false);
  // 5. Menus.
  FSysMenu = new TPopupMenu(this);
  FSysTrayMenu = new TspSkinPopupMenu(this);
  FSysTrayMenu->SetComponentForm(FForm);
  BuildTrayMenu();
  // 6.
  SkinMenu = new TspSkinMenu(this, FForm);
  // 9. The window procedure, before the window exists (or made again).
  if (!ComponentState().Contains(csDesigning)) {
    OldWindowProc = FForm->WindowProc();
    FForm->SetWindowProc([this, Alive = FAlive](TMessage& M) {
      if (*Alive)
        SkinFormWndProc(M);
    });
    if (FForm->HandleAllocated()) FForm->RecreateWnd();
  }
  CreateMDIScrollBars();
}

TspFormSkin::~TspFormSkin() {
  FDestroying = true;
  UnhookMDIClient();
  // A document child's window went without passing here (the form was
  // being freed): the parent recounts its children now.
  if (FMDIChildShown) MDIChildDestroyed();
  ClearObjects();
  if (FShape) DeleteObject(FShape);
  FShape = nullptr;
  // The form being destroyed still sends its last messages through here;
  // only a form that lives on gets its procedure back.
  if (FForm && !FForm->ComponentState().Contains(csDestroying) && OldWindowProc) FForm->SetWindowProc(OldWindowProc);
  *FAlive = false;
  delete FQuickButtons;
  FQuickButtons = nullptr;
  delete FLogoBitMap;
  delete FDefCaptionFont;
  delete FDefInActiveCaptionFont;
  delete ObjectList;
  delete AreaList;
  delete VisibleControls;
  delete RMTop;
  delete RMBottom;
  delete RMLeft;
  delete RMRight;
  delete FIcon;
}

void TspFormSkin::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // Every reference naming the removed component is cleared: one skin may
  // be both the form's and its menus'.
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FMSD) FMSD = nullptr;
  if (AComponent == FMainMenu) FMainMenu = nullptr;
  if (AComponent == FSystemMenu) FSystemMenu = nullptr;
  if (AComponent == FMainMenuBar) FMainMenuBar = nullptr;
  if (AComponent == FMDITabsBar) FMDITabsBar = nullptr;
  if (AComponent == FTrayIcon) FTrayIcon = nullptr;
  if (AComponent == FSkinHint) FSkinHint = nullptr;
  if (AComponent == FStatusBar) FStatusBar = nullptr;
  if (AComponent == FQuickImageList) FQuickImageList = nullptr;
  if (AComponent == FInActivePanel) FInActivePanel = nullptr;
  DropAreaLinksOf(AComponent);
}

void TspFormSkin::SkinMenuOpen() {
  if (!InMainMenu) HookAppMessage();
  if (InMenu) return;
  InMenu = true;
  if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TspFormSkin::SkinMenuClose() {
  if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
  InMenu = false;
  // The object whose menu this was comes up again: every quick-button bar
  // releases its menu button; the first pushed button with a menu ends the
  // walk.
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* O = static_cast<TspActiveSkinObject*>(ObjectList->Items(I));
    if (auto* C = dynamic_cast<TspSkinCaptionObject*>(O)) {
      if (C->PopupMenuQuickButton == -1) continue;
      if (C->PopupMenuQuickButton < FQuickButtons->Count()) {
        TspQuickButtonItem* Q = FQuickButtons->Items(C->PopupMenuQuickButton);
        Q->Down = Q->Active = false;
      }
      C->PopupMenuQuickButton = -1;
      C->RepaintCaption();
    } else if (auto* M = dynamic_cast<TspSkinMainMenuItem*>(O)) {
      if (M->FDown) {
        M->Active = false;
        M->SetItemDown(false);
        break;
      }
    } else if (auto* B = dynamic_cast<TspSkinButtonObject*>(O)) {
      if (B->MenuItem && B->Down()) {
        B->SetDown(false);
        break;
      }
    } else if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O)) {
      if (A->MenuItem && A->FMenuTracking) {
        A->MenuClosed();
        break;
      }
    }
  }
  UnHookAppMessage();
  auto Alive = FAlive;
  if (OnSkinMenuClose) OnSkinMenuClose(this);
  if (!*Alive) return;
  if (InMainMenu) {
    InMainMenu = false;
    if (TspSkinMainMenuBar* Bar = MainMenuBar()) Bar->CloseMainMenu();
    if (OnMainMenuExit) OnMainMenuExit(this);
  }
}

void TspFormSkin::FormShortCut(MSG& Msg, bool& Handled) {
  if (OnShortCut) OnShortCut(Msg, Handled);
  if (Handled) return;
  // Alt+Space (the shift state exactly Alt) drops the system menu.
  const bool Alt = (Msg.lParam & 0x20000000) != 0;
  if (Msg.wParam == VK_SPACE && Alt && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0) {
    PopupSystemMenuFromButton();
    Handled = true;
  }
  // Alt+key: the main menu bar's accelerators.
  else if (Alt && MainMenuBar() && FindMainMenuItemByAccel(Word(Msg.wParam)))
    Handled = true;
}

// ---------------------------------------------------------------------------
// Skins

void TspFormSkin::SetSkinData(TspSkinData* Value) {
  if (FSD && FSD != FMSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (Value) {
    Value->FreeNotification(this);
    FSkinnableForm = Value->SkinnableForm();
  }
  if (!ComponentState().Contains(csDesigning)) ApplySkinData();
  FSysTrayMenu->SetSkinData(Value);
}

void TspFormSkin::SetMenusSkinData(TspSkinData* Value) {
  if (FMSD && FMSD != FSD) FMSD->RemoveFreeNotification(this);
  FMSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspFormSkin::SetSkinnableForm(bool Value) {
  if (FUseRibbon) Value = false;
  FFormActive = GetFormActive();
  if (ComponentState().Contains(csDesigning)) return;
  bool WasMaximized = false;
  if (FWindowStateInit == wsMaximized && FSkinnableForm) {
    FForm->Hide();
    FWindowState = FWindowStateInit = wsNormal;
    WasMaximized = true;
  } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
    FForm->SetWindowState(wsNormal);
    FForm->Hide();
    WasMaximized = true;
  }
  FSkinnableForm = Value;
  ApplySkinData();
  NotifyChangeSkin(nullptr, FForm);
  if (FIsVistaOS && !Value && FForm->HandleAllocated()) FForm->RecreateWnd();
  if (WasMaximized) {
    if (!FSkinnableForm)
      FForm->SetWindowState(wsMaximized);
    else
      SetWindowState(wsMaximized);
    FForm->Show();
  }
}

void TspFormSkin::TakeFormSize() {
  FFormWidth = FForm->Width();
  FFormHeight = FForm->Height();
}

void TspFormSkin::ApplySkinData() {
  if (FUseRibbon) FSkinnableForm = false;
  ActiveObject = OldActiveObject = MouseCaptureObject = -1;
  OldActive = false;
  FSkinSupport = FSD && !FSD->Empty;
  if (FLayerManager->IsVisible()) FLayerManager->Hide();
  if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
  if (FBorderLayer->FVisible) FBorderLayer->Hide();
  if (FSupportNCArea) {
    if (FSkinSupport && FSkinnableForm) {
      CreateSkinObjects();
      UpdateStdButtons();
      if (!PreviewMode) FBorderLayer->InitFrame(FSD, FForm);
    } else {
      ClearObjects();
      TakeFormSize();
      UpdateWindowRegion(true);
    }
    if (FSkinnableForm) {
      if (FForm->BorderIcons() != 0) FForm->SetBorderIcons(0);
    } else {
      ApplyFormBorderIcons();
    }
    FInChangeSkinData = true;
    const Integer MW = GetMinWidth(), MH = GetMinHeight();
    if (MW > FForm->Width() && MH > FForm->Height())
      FForm->SetBounds(FForm->Left(), FForm->Top(), MW, MH);
    else if (FForm->Height() < MH)
      FForm->SetHeight(MH);
    else if (FForm->Width() < MW)
      FForm->SetWidth(MW);
    else
      NudgeFormWidth();
    if (FRollUpState || FWindowState == wsMinimized) FForm->SetHeight(GetMinHeight());
    if (FWindowState == wsMinimized) FForm->SetWidth(GetMinWidth());
    TakeFormSize();
    if (FSkinSupport) ApplyFrameSize(true);
    FForm->Repaint();
    UpdateActiveState(true);
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    FInChangeSkinData = false;
  } else if (FSkinSupport) {
    const bool R = IsSkinResizable();
    if (FRollUpState && FSD->FRollUpPicture->Empty()) {
      FRollUpState = false;
      RollDownFromPicture();
    } else if (!FRollUpState) {
      FitClientToPicture();
    }
    CreateSkinObjects();
    UpdateStdButtons();
    FBorderLayer->InitFrame(FSD, FForm);
    if (FRollUpState) RollUpToPicture();
    FInChangeSkinData = true;
    if (OnChangeSkinData) OnChangeSkinData(this);
    if (!FRollUpState && (R || (FForm->ClientWidth() == FSD->FPicture->Width() &&
                                FForm->ClientHeight() == FSD->FPicture->Height())))
      ApplyFrameSize(R);
    LayoutObjects();
    LinkAreaControls();
    UpdateLinkedControls();
    UpdateActiveState(true);
    FInChangeSkinData = false;
    MouseTimer->SetEnabled(true);
  }
  RestoreBoundsAfterBorderChange();
  if (FSupportNCArea && !FRollUpState) {
    if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
    if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
  }
}

bool TspFormSkin::CanShowLayeredBorder() {
  return FSD && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame->PictureIndex != -1 &&
         FBorderLayer->FData &&
         FIsLayerEnabled && FSkinnableForm && !AlwaysDisableLayeredFrames && !PreviewMode &&
         (FForm->BorderStyle() != bsNone || !FSupportNCArea) && !FSmartEffectsShow;
}

void TspFormSkin::NudgeFormWidth() {
  const Integer W = FForm->Width();
  if (W - 1 >= GetMinWidth()) {
    FForm->SetWidth(W - 1);
    FForm->SetWidth(W);
  } else {
    FForm->SetWidth(W + 1);
    FForm->SetWidth(W);
  }
}

void TspFormSkin::RestoreBoundsAfterBorderChange() {
  const TRect& B = FOldFormBounds;
  if (CanShowLayeredBorder() && FBorderLayer->FullBorder() && FBorderLayer->FVisible && FOldFullBorder != -1) {
    FForm->SetBounds(B.Left + FBorderLayer->LeftSize, B.Top + FBorderLayer->TopSize,
                     B.Right - FBorderLayer->LeftSize - FBorderLayer->RightSize,
                     B.Bottom - FBorderLayer->TopSize - FBorderLayer->BottomSize);
  } else if (FOldFullBorder == 1) {
    FForm->SetBounds(B.Left, B.Top, B.Right, FRollUpState ? GetMinHeight() : B.Bottom);
  }
}

// ---------------------------------------------------------------------------
// Frame objects

void TspFormSkin::CreateSkinObjects() {
  ClearObjects();
  if (!FSD) return;
  for (Integer I = 0; I < FSD->ObjectList->Count(); ++I) {
    auto* D = ItemAs<TspDataSkinObject>(FSD->ObjectList->Items(I));
    if (!D || dynamic_cast<TspDataSkinMenuItem*>(D) || dynamic_cast<TspDataSkinMainMenuItem*>(D) ||
        dynamic_cast<TspDataSkinMainMenuBarButton*>(D))
      continue;
    TspActiveSkinObject* O = nullptr;
    if (dynamic_cast<TspDataSkinGauge*>(D))
      O = new TspSkinGaugeObject(this, D);
    else if (dynamic_cast<TspDataSkinStdButton*>(D))
      O = new TspSkinStdButtonObject(this, D);
    else if (dynamic_cast<TspDataSkinButton*>(D))
      O = new TspSkinButtonObject(this, D);
    else if (dynamic_cast<TspDataSkinCaption*>(D))
      O = new TspSkinCaptionObject(this, D);
    else if (dynamic_cast<TspDataUserObject*>(D))
      O = new TspUserObject(this, D);
    else if (dynamic_cast<TspDataSkinSwitch*>(D))
      O = new TspSkinSwitchObject(this, D);
    else if (dynamic_cast<TspDataSkinTrackBar*>(D))
      O = new TspSkinTrackBarObject(this, D);
    else if (dynamic_cast<TspDataSkinLabel*>(D))
      O = new TspSkinLabelObject(this, D);
    else if (dynamic_cast<TspDataSkinAnimate*>(D))
      O = new TspSkinAnimateObject(this, D);
    else if (dynamic_cast<TspDataSkinBitLabel*>(D))
      O = new TspSkinBitLabelObject(this, D);
    else if (dynamic_cast<TspDataSkinFrameRegulatorObject*>(D))
      O = new TspSkinFrameRegulatorObject(this, D);
    else if (dynamic_cast<TspDataSkinFrameGaugeObject*>(D))
      O = new TspSkinFrameGaugeObject(this, D);
    if (O) ObjectList->Add(O);
  }
  CreateMainMenuItems();
}

void TspFormSkin::CreateMainMenuItems() {
  if (!FMainMenu || !FSD) return;
  const Integer J = FSD->GetIndex(u"MAINMENUITEM");
  if (J == -1) return;
  auto* D = ItemAs<TspDataSkinObject>(FSD->ObjectList->Items(J));
  TMenuItem* Items = FMainMenu->Items();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TMenuItem* MI = Items->Items(I);
    if (!MI->Visible()) continue;
    auto* O = new TspSkinMainMenuItem(this, D);
    O->IDName = MI->Name();
    O->Enabled = MI->Enabled();
    O->MenuItem = MI;
    ObjectList->Add(O);
  }
}

void TspFormSkin::UpdateMainMenu(bool ARedraw) {
  for (Integer I = ObjectList->Count() - 1; I >= 0; --I)
    if (auto* O = ItemAs<TspSkinMainMenuItem>(ObjectList->Items(I))) {
      ObjectList->Delete(I);
      delete O;
    }
  CreateMainMenuItems();
  if (!ARedraw || !FForm->HandleAllocated()) return;
  if (FSupportNCArea) {
    SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
  } else {
    RECT R{FR.NewMainMenuRect.Left, FR.NewMainMenuRect.Top, FR.NewMainMenuRect.Right, FR.NewMainMenuRect.Bottom};
    InvalidateRect(FForm->Handle(), &R, TRUE);
  }
}

void TspFormSkin::CreateDefaultButtons() {
  ClearObjects();
  static const struct {
    const Char* Name;
    TStdCommand Command;
  } Buttons[6] = {{u"closebutton", cmClose},   {u"maxbutton", cmMaximize},     {u"minbutton", cmMinimize},
                  {u"rollupbutton", cmRollUp}, {u"sysmenubutton", cmSysMenu}, {u"traybutton", cmMinimizeToTray}};
  for (const auto& B : Buttons) {
    auto* O = new TspSkinStdButtonObject(this, nullptr);
    O->SkinRectInAPicture = true;
    O->SkinRect = O->ActiveSkinRect = O->DownRect = TRect(0, 0, 1, 1);
    O->IDName = B.Name;
    O->Command = B.Command;
    ObjectList->Add(O);
  }
  UpdateStdButtons();
}

void TspFormSkin::UpdateStdButtons() {
  const Integer N = ObjectList->Count();
  for (Integer I = 0; I < N; ++I) {
    auto* O = static_cast<TspActiveSkinObject*>(ObjectList->Items(I));
    auto* SB = dynamic_cast<TspSkinStdButtonObject*>(O);
    auto* AO = dynamic_cast<TspSkinAnimateObject*>(O);
    if (!SB && !AO) continue;
    if (FHideCaptionButtons) {
      O->Enabled = false;
      O->Visible = !O->SkinRectInAPicture;
      continue;
    }
    if (AO && !AO->ButtonStyle) continue;
    const TStdCommand C = SB ? SB->Command : AO->Command;
    auto Set = [&](bool En) {
      O->Enabled = En;
      O->Visible = O->SkinRectInAPicture ? En : true;
    };
    switch (C) {
      case cmMaximize: Set(FBorderIcons & spbi::biMaximize); break;
      case cmMinimize: Set(FBorderIcons & spbi::biMinimize); break;
      case cmRollUp: Set(FBorderIcons & spbi::biRollUp); break;
      case cmMinimizeToTray: Set(FBorderIcons & spbi::biMinimizeToTray); break;
      case cmSysMenu: Set((FBorderIcons & spbi::biSystemMenu) && !FDisableSystemMenu); break;
      case cmDefault:
        if (SB) {
          bool V = false;
          if (OnActivateCustomObject) OnActivateCustomObject(O->IDName, V);
          O->Visible = V;
        }
        break;
      case cmClose:
        if (SB) {
          Integer Dialog = -1;
          for (Integer J = 0; J < N && Dialog == -1; ++J)
            if (static_cast<TspActiveSkinObject*>(ObjectList->Items(J))->IDName == u"dialogclosebutton") Dialog = J;
          const bool DialogIcons = FBorderIcons == 0 || FBorderIcons == spbi::biSystemMenu;
          if (O->IDName == u"dialogclosebutton") {
            O->Enabled = O->Visible = DialogIcons;
          } else if (DialogIcons && Dialog != -1) {
            O->Enabled = O->Visible = false;
          }
        }
        break;
    }
  }
  // The caption text.
  TspSkinCaptionObject* First = nullptr;
  bool AnyDefault = false;
  for (Integer I = 0; I < N; ++I)
    if (auto* C = ItemAs<TspSkinCaptionObject>(ObjectList->Items(I))) {
      if (!First) First = C;
      if (C->DefaultCaption) {
        AnyDefault = true;
        C->SetTextValue(FForm->Caption());
      }
    }
  if (!AnyDefault && First) {
    First->DefaultCaption = true;
    First->SetTextValue(FForm->Caption());
  }
  SetDefaultButtonHints();
}

void TspFormSkin::SetDefaultButtonHints() {
  if (!FUseDefaultObjectHint || !FSD || ObjectList->Count() == 0) return;
  const String Restore = HintText(FSD, u"RESTORE_HINT", u"Restore");
  for (Integer I = 0; I < ObjectList->Count(); ++I) {
    auto* O = static_cast<TspActiveSkinObject*>(ObjectList->Items(I));
    TStdCommand C;
    String *Temp, *Rest;
    if (auto* SB = dynamic_cast<TspSkinStdButtonObject*>(O)) {
      C = SB->Command;
      Temp = &SB->FTempHint;
      Rest = &SB->RestoreHint;
    } else if (auto* AO = dynamic_cast<TspSkinAnimateObject*>(O)) {
      C = AO->Command;
      Temp = &AO->FTempHint;
      Rest = &AO->RestoreHint;
    } else {
      continue;
    }
    String H;
    switch (C) {
      case cmClose: H = HintText(FSD, u"CLOSEBUTTON_HINT", u"Close"); break;
      case cmMaximize: H = HintText(FSD, u"MAXBUTTON_HINT", u"Maximize"); break;
      case cmMinimize: H = HintText(FSD, u"MINBUTTON_HINT", u"Minimize"); break;
      case cmSysMenu: H = HintText(FSD, u"MENUBUTTON_HINT", u"System menu"); break;
      case cmRollUp: H = HintText(FSD, u"ROLLUPBUTTON_HINT", u"Roll Up"); break;
      case cmMinimizeToTray: H = HintText(FSD, u"TRAYBUTTON_HINT", u"Minimize to Tray"); break;
      case cmDefault: H = O->Hint; break;
    }
    if (C != cmDefault) O->Hint = H;
    *Temp = H;
    *Rest = Restore;
  }
}

void TspFormSkin::ClearObjects() {
  for (Integer I = 0; I < ObjectList->Count(); ++I) delete static_cast<TspActiveSkinObject*>(ObjectList->Items(I));
  ObjectList->Clear();
  ClearAreaLinks();
  ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TspFormSkin::Move(Integer AX, Integer AY) {
  if (CanShowLayeredBorder() && FBorderLayer->FVisible && FBorderLayer->FData &&
      (RectIsEmpty(FBorderLayer->FData->BorderRect) || FBorderLayer->FullBorder())) {
    AX += FBorderLayer->LeftSize;
    AY += FBorderLayer->TopSize;
  }
  FForm->SetBounds(AX, AY, FForm->Width(), FForm->Height());
}

void TspFormSkin::SetBounds(Integer AX, Integer AY, Integer AWidth, Integer AHeight) {
  if (CanShowLayeredBorder() && FBorderLayer->FVisible && FBorderLayer->FData &&
      (RectIsEmpty(FBorderLayer->FData->BorderRect) || FBorderLayer->FullBorder())) {
    AX += FBorderLayer->LeftSize;
    AY += FBorderLayer->TopSize;
    AWidth -= FBorderLayer->LeftSize + FBorderLayer->RightSize;
    AHeight -= FBorderLayer->TopSize + FBorderLayer->BottomSize;
  }
  FForm->SetBounds(AX, AY, AWidth, AHeight);
}

bool TspFormSkin::IsSizeAble() {
  return FSizeable || FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
}

void TspFormSkin::BringStayOnTopFormsToFront() {
  for (Integer I = 0; I < Screen->FormCount(); ++I) {
    TCustomForm* F = Screen->Forms(I);
    if (F->Visible() && F->FormStyle() == fsStayOnTop && F->HandleAllocated()) SetForegroundWindow(F->Handle());
  }
}
