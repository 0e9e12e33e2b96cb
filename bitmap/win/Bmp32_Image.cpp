// The paint box and the image control.
#include "bitmap/win/Bmp32_Image.h"

#include <algorithm>
#include <cmath>

#include "bitmap/win/Bmp32_Backends.h"
#include "classlib/Forms.h"
#include "rtl/Math.h"
#include "rtl/ScopeGuard.h"

// ---------------------------------------------------------------------------
// TPaintStages

TPaintStage* TPaintStages::Add() {
  FItems.push_back(TPaintStage{});
  return &FItems.back();
}

TPaintStage* TPaintStages::Insert(Integer Index) {
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, TPaintStage{});
  return &FItems[static_cast<size_t>(Index)];
}

void TPaintStages::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) throw EListError(SInvalidStageIndex);
  FItems.erase(FItems.begin() + Index);
}

// ---------------------------------------------------------------------------
// TCustomPaintBox32

TCustomPaintBox32::TCustomPaintBox32(TComponent* AOwner) : TCustomControl(AOwner) {
  FBuffer = new TBitmap32();
  FInvalidRects = new TRectList();
  FRepaintOptimizer = new TMicroTilesRepaintOptimizer(FBuffer, FInvalidRects);
  SetBounds(0, 0, 192, 192);
}

TCustomPaintBox32::~TCustomPaintBox32() {
  DestroyChildControls();
  delete FRepaintOptimizer;
  delete FInvalidRects;
  delete FBuffer;
}

TRect TCustomPaintBox32::GetViewportRect() { return TRect(0, 0, Width(), Height()); }

bool TCustomPaintBox32::CustomRepaint() {
  return FRepaintOptimizer->Enabled() && !FForceFullRepaint && FRepaintOptimizer->UpdatesAvailable();
}

void TCustomPaintBox32::DoPrepareInvalidRects() {
  if (FRepaintOptimizer->Enabled() && !FForceFullRepaint) FRepaintOptimizer->PerformOptimization();
}

void TCustomPaintBox32::Invalidate() {
  FBufferValid = false;
  // A pending optimised repaint paints its own rectangles: ask for a paint
  // message instead of invalidating the whole window.
  if (HandleAllocated() && CustomRepaint())
    PostMessageW(Handle(), WM_PAINT, 0, 0);
  else
    TCustomControl::Invalidate();
}

void TCustomPaintBox32::ForceFullInvalidate() {
  if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->Reset();
  FForceFullRepaint = true;
  Invalidate();
}

void TCustomPaintBox32::Loaded() {
  FBufferValid = false;
  TCustomControl::Loaded();
}

void TCustomPaintBox32::Resize() {
  ResizeBuffer();
  FBufferValid = false;
  TCustomControl::Resize();
}

void TCustomPaintBox32::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  bool Sized = AWidth != Width() || AHeight != Height();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Without a window no WM_SIZE comes: fit the buffer here.
  if (Sized && !HandleAllocated()) Resize();
  FBufferValid = false;
}

void TCustomPaintBox32::ResizeBuffer() {
  TRect V = GetViewportRect();
  Integer NewW = std::max(V.Width(), 0), NewH = std::max(V.Height(), 0);
  auto Fit = [this](Integer Cur, Integer New) {
    Integer R = Cur;
    if (Cur < New)
      R = New + FBufferOversize;
    else if (New < Cur - FBufferOversize)
      R = New;
    return std::max(R, 1);
  };
  Integer W = Fit(FBuffer->Width(), NewW), H = Fit(FBuffer->Height(), NewH);
  if (W == FBuffer->Width() && H == FBuffer->Height()) return;
  Integer OldW = FBuffer->Width(), OldH = FBuffer->Height();
  FBuffer->Lock();
  {
    TFinally Done([&] { FBuffer->Unlock(); });
    FBuffer->SetSize(W, H);
  }
  DoBufferResized(OldW, OldH);
  ForceFullInvalidate();
}

void TCustomPaintBox32::DoBufferResized(Integer OldWidth, Integer OldHeight) {
  (void)OldWidth;
  (void)OldHeight;
  if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->BufferResizedHandler(FBuffer->Width(), FBuffer->Height());
}

void TCustomPaintBox32::SetBufferOversize(Integer Value) {
  if (Value < 0) Value = 0;
  if (Value == FBufferOversize) return;
  FBufferOversize = Value;
  ResizeBuffer();
  FBufferValid = false;
}

void TCustomPaintBox32::DirectAreaUpdateHandler(TObject* Sender, const TRect& Area, Cardinal Info) {
  (void)Sender;
  (void)Info;
  FInvalidRects->Add(Area);
  if (!(FControlState & csCustomPaint)) Repaint();
}

void TCustomPaintBox32::SetRepaintMode(TRepaintMode Value) {
  FRepaintMode = Value;
  switch (Value) {
    case rmDirect:
      FBuffer->SetOnAreaChanged([this](TObject* S, const TRect& A, Cardinal I) { DirectAreaUpdateHandler(S, A, I); });
      break;
    case rmOptimizer:
      FBuffer->SetOnAreaChanged(
          [this](TObject* S, const TRect& A, Cardinal I) { FRepaintOptimizer->AreaUpdateHandler(S, A, I); });
      break;
    default:
      FBuffer->SetOnAreaChanged({});
  }
  FRepaintOptimizer->SetEnabled(Value == rmOptimizer);
  Invalidate();
}

void TCustomPaintBox32::Flush() {
  if (!FBuffer->Handle() || !HandleAllocated()) return;
  TCanvas* C = Canvas();
  C->Lock();
  FBuffer->Lock();
  TRect V = GetViewportRect();
  BitBlt(C->Handle(), V.Left, V.Top, V.Width(), V.Height(), FBuffer->Handle(), 0, 0, SRCCOPY);
  FBuffer->Unlock();
  C->Unlock();
}

void TCustomPaintBox32::Flush(const TRect& SrcRect) {
  if (!FBuffer->Handle() || !HandleAllocated()) return;
  TCanvas* C = Canvas();
  C->Lock();
  FBuffer->Lock();
  TRect V = GetViewportRect();
  BitBlt(C->Handle(), SrcRect.Left + V.Left, SrcRect.Top + V.Top, SrcRect.Width(), SrcRect.Height(),
         FBuffer->Handle(), SrcRect.Left, SrcRect.Top, SRCCOPY);
  FBuffer->Unlock();
  C->Unlock();
}

void TCustomPaintBox32::Paint() {
  if (!Parent()) return;
  if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->BeginPaint();
  auto* PS = QueryBackendInterface<IPaintSupport>(FBuffer->Backend(), IID_IPaintSupport);
  if (!FBufferValid) {
    if (PS) PS->ImageNeeded();
    DoPaintBuffer();
    if (PS) PS->CheckPixmap();
  }
  FBuffer->Lock();
  {
    TFinally Done([&] { FBuffer->Unlock(); });
    if (PS) PS->DoPaint(FBuffer, FInvalidRects, Canvas(), GetViewportRect());
  }
  DoPaintGDIOverlay();
  if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->EndPaint();
  ResetInvalidRects();
  FForceFullRepaint = false;
}

void TCustomPaintBox32::DoPaintBuffer() {
  if (FForceFullRepaint) {
    FForceFullRepaint = false;
    ResetInvalidRects();
  } else {
    DoPrepareInvalidRects();
  }
  FBufferValid = true;
}

void TPaintBox32::DoPaintBuffer() {
  if (OnPaintBuffer) OnPaintBuffer(this);
  TCustomPaintBox32::DoPaintBuffer();
}

void TCustomPaintBox32::DoPaintGDIOverlay() {
  if (OnGDIOverlay) OnGDIOverlay(this);
}

void TCustomPaintBox32::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if ((FOptions & pboAutoFocus) && CanFocus()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomPaintBox32::MouseEnter() {
  FMouseInControl = true;
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCustomPaintBox32::MouseLeave() {
  FMouseInControl = false;
  if (OnMouseLeave) OnMouseLeave(this);
}

void TCustomPaintBox32::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_ERASEBKGND:
      M.Result = 1;
      return;
    case WM_GETDLGCODE:
      TCustomControl::Dispatch(M);
      if (FOptions & pboWantArrowKeys)
        M.Result |= DLGC_WANTARROWS;
      else
        M.Result &= ~LRESULT(DLGC_WANTARROWS);
      return;
    case WM_PAINT:
      if (HandleAllocated() && CustomRepaint()) {
        if (InvalidRectsAvailable()) {
          // Paint the collected rectangles now: BeginPaint below may clip
          // to less than they cover.
          Paint();
        } else {
          InvalidateRect(Handle(), nullptr, FALSE);
        }
      }
      TCustomControl::Dispatch(M);
      return;
    case CM_MOUSEENTER:
      MouseEnter();
      return;
    case CM_MOUSELEAVE:
      MouseLeave();
      return;
    default:
      TCustomControl::Dispatch(M);
  }
}

// ---------------------------------------------------------------------------
// TCustomImage32

TCustomImage32::TCustomImage32(TComponent* AOwner) : TCustomPaintBox32(AOwner) {
  RegisterLayerAccess();
  FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks | csReplicatable;
  FBitmap = new TBitmap32();
  FBitmap->SetOnResize([this](TObject*) { BitmapResized(); });
  FLayers = new TLayerCollection(this);
  FLayers->OnChange = [this](TObject*) { Changed(); };
  FLayers->OnGDIUpdate = [this](TObject*) {
    if (HandleAllocated()) Paint();
  };
  FLayers->OnGetViewportScale = [this](TObject*, Single& X, Single& Y) {
    UpdateCache();
    X = CachedScaleX;
    Y = CachedScaleY;
  };
  FLayers->OnGetViewportShift = [this](TObject*, Single& X, Single& Y) {
    UpdateCache();
    X = CachedShiftX;
    Y = CachedShiftY;
  };
  FRepaintOptimizer->RegisterLayerCollection(FLayers);
  SetRepaintMode(rmFull);
  FPaintStages = new TPaintStages();
  InitDefaultStages();
  CachedBitmapRect = TRect(0, 0, 0, 0);
}

TCustomImage32::~TCustomImage32() {
  BeginUpdate();
  delete FPaintStages;
  FPaintStages = nullptr;
  FRepaintOptimizer->UnregisterLayerCollection(FLayers);
  delete FLayers;
  FLayers = nullptr;
  delete FBitmap;
  FBitmap = nullptr;
}

void TCustomImage32::InitDefaultStages() {
  auto Add = [this](bool D, bool R, Cardinal S, Cardinal P = 0) {
    TPaintStage* St = FPaintStages->Add();
    St->DsgnTime = D;
    St->RunTime = R;
    St->Stage = S;
    St->Parameter = P;
  };
  Add(true, true, PST_CLEAR_BACKGND);
  Add(true, false, PST_CONTROL_FRAME);
  Add(true, true, PST_DRAW_BITMAP);
  Add(true, false, PST_BITMAP_FRAME);
  Add(true, true, PST_DRAW_LAYERS, LOB_VISIBLE);
}

void TCustomImage32::HookBitmap() {
  switch (FRepaintMode) {
    case rmFull:
      FBitmap->SetOnAreaChanged({});
      FBitmap->SetOnChange([this](TObject*) {
        FRepaintOptimizer->Reset();
        Changed();
      });
      break;
    default:
      FBitmap->SetOnChange({});
      FBitmap->SetOnAreaChanged([this](TObject*, const TRect& A, Cardinal) { BitmapChanged(A); });
  }
}

void TCustomImage32::SetRepaintMode(TRepaintMode Value) {
  FRepaintMode = Value;
  // The buffer reports nothing here: the control routes its own bitmap.
  FBuffer->SetOnAreaChanged({});
  HookBitmap();
  FRepaintOptimizer->SetEnabled(Value == rmOptimizer);
  Invalidate();
}

void TCustomImage32::ForEachMappedArea(const TRect& Area, const std::function<void(const TRect&)>& Fn) {
  UpdateCache();
  Integer W = 1;
  if (FBitmap->Resampler()) W = static_cast<Integer>(Trunc(FBitmap->Resampler()->GetWidth())) + 1;
  TRect A(Area.Left - W, Area.Top - W, Area.Right + W, Area.Bottom + W);
  TPoint P1 = BitmapToControl(TPoint(A.Left, A.Top));
  TPoint P2 = BitmapToControl(TPoint(A.Right, A.Bottom));
  TRect R(P1.X, P1.Y, P2.X, P2.Y);
  if (FBitmapAlign != baTile) {
    Fn(R);
    return;
  }
  TRect T = CachedBitmapRect;
  if (T.Right <= 0 || T.Bottom <= 0) return;
  for (Integer J = 0; J <= FBuffer->Height() / T.Bottom; ++J)
    for (Integer I = 0; I <= FBuffer->Width() / T.Right; ++I)
      Fn(TRect(R.Left + I * T.Right, R.Top + J * T.Bottom, R.Right + I * T.Right, R.Bottom + J * T.Bottom));
}

void TCustomImage32::BitmapChanged(const TRect& Area) {
  if (FRepaintMode == rmOptimizer) {
    ForEachMappedArea(Area, [this](const TRect& R) { FRepaintOptimizer->AreaUpdateHandler(this, R, AreaInfoRect); });
    Changed();
  } else if (FRepaintMode == rmDirect) {
    ForEachMappedArea(Area, [this](const TRect& R) { FInvalidRects->Add(R); });
    if (FUpdateCount == 0) {
      if (!(FControlState & csCustomPaint)) Repaint();
      if (OnChange) OnChange(this);
    }
  } else {
    FRepaintOptimizer->Reset();
    Changed();
  }
}

void TCustomImage32::BitmapResized() {
  if (FUpdateCount == 0 && OnBitmapResize) OnBitmapResize(this);
  InvalidateCache();
  ForceFullInvalidate();
}

void TCustomImage32::BeginUpdate() { ++FUpdateCount; }

void TCustomImage32::EndUpdate() {
  Assert(FUpdateCount > 0, u"Unpaired EndUpdate call");
  --FUpdateCount;
}

void TCustomImage32::Changed() {
  if (FUpdateCount != 0) return;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TCustomImage32::Update(const TRect& Rect) {
  if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->AreaUpdateHandler(this, Rect, AreaInfoRect);
}

void TCustomImage32::Invalidate() {
  InvalidateCache();
  TCustomPaintBox32::Invalidate();
}

void TCustomImage32::Resize() {
  InvalidateCache();
  TCustomPaintBox32::Resize();
}

void TCustomImage32::Loaded() {
  TCustomPaintBox32::Loaded();
  DoInitStages();
}

void TCustomImage32::DoInitStages() {
  if (OnInitStages) OnInitStages(this);
}

void TCustomImage32::DoScaleChange() {
  if (OnScaleChange) OnScaleChange(this);
}

SIZE TCustomImage32::GetBitmapSize() {
  SIZE S{0, 0};
  if (FBitmap->Empty() || Width() == 0 || Height() == 0) return S;
  TRect V = GetViewportRect();
  Integer VW = V.Width(), VH = V.Height();
  Integer BW = FBitmap->Width(), BH = FBitmap->Height();
  TScaleMode Mode = FScaleMode;
  if (Mode == smOptimal) Mode = (VW < BW || VH < BH) ? smResize : smNormal;
  if (Mode == smOptimalScaled)
    Mode = (VW < Round(BW * FScaleX) || VH < Round(BH * FScaleY)) ? smResize : smScale;
  switch (Mode) {
    case smNormal:
      S = {BW, BH};
      break;
    case smStretch:
      S = {VW, VH};
      break;
    case smResize: {
      Single SX = static_cast<Single>(VW) / static_cast<Single>(BW);
      Single SY = static_cast<Single>(VH) / static_cast<Single>(BH);
      if (SX >= SY)
        S = {static_cast<LONG>(Round(BW * SY)), VH};
      else
        S = {VW, static_cast<LONG>(Round(BH * SX))};
      break;
    }
    default:
      S = {static_cast<LONG>(Round(BW * FScaleX)), static_cast<LONG>(Round(BH * FScaleY))};
  }
  if (S.cx <= 0) S.cx = 0;
  if (S.cy <= 0) S.cy = 0;
  return S;
}

TRect TCustomImage32::GetBitmapRect() {
  if (FBitmap->Empty()) return TRect(0, 0, 0, 0);
  SIZE S = GetBitmapSize();
  TRect R(0, 0, S.cx, S.cy);
  Integer DX = 0, DY = 0;
  switch (FBitmapAlign) {
    case baCenter:
      DX = (Width() - S.cx) / 2;
      DY = (Height() - S.cy) / 2;
      break;
    case baCustom:
      DX = static_cast<Integer>(Round(FOffsetHorz));
      DY = static_cast<Integer>(Round(FOffsetVert));
      break;
    default:
      break;
  }
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

void TCustomImage32::UpdateCache() {
  if (CacheValid) return;
  CachedBitmapRect = GetBitmapRect();
  if (FBitmap->Empty()) {
    CachedScaleX = CachedScaleY = 1;
    CachedShiftX = CachedShiftY = 0;
  } else {
    CachedShiftX = static_cast<Single>(CachedBitmapRect.Left);
    CachedShiftY = static_cast<Single>(CachedBitmapRect.Top);
    CachedScaleX = static_cast<Single>(CachedBitmapRect.Width()) / static_cast<Single>(FBitmap->Width());
    CachedScaleY = static_cast<Single>(CachedBitmapRect.Height()) / static_cast<Single>(FBitmap->Height());
  }
  CachedRecScaleX = CachedScaleX == 0 ? 0 : 1 / CachedScaleX;
  CachedRecScaleY = CachedScaleY == 0 ? 0 : 1 / CachedScaleY;
  CacheValid = true;
}

TPoint TCustomImage32::BitmapToControl(const TPoint& P) {
  UpdateCache();
  return TPoint(static_cast<Integer>(Trunc(P.X * CachedScaleX + CachedShiftX)),
                static_cast<Integer>(Trunc(P.Y * CachedScaleY + CachedShiftY)));
}

TFloatPoint TCustomImage32::BitmapToControl(const TFloatPoint& P) {
  UpdateCache();
  return TFloatPoint{P.X * CachedScaleX + CachedShiftX, P.Y * CachedScaleY + CachedShiftY};
}

TPoint TCustomImage32::ControlToBitmap(const TPoint& P) {
  UpdateCache();
  auto Map = [](Integer V, Single Shift, Single Rec) -> Integer {
    if (Rec == 0) return 0x7FFFFFFF;
    return Floor((static_cast<Single>(V) - Shift) * Rec);
  };
  return TPoint(Map(P.X, CachedShiftX, CachedRecScaleX), Map(P.Y, CachedShiftY, CachedRecScaleY));
}

TFloatPoint TCustomImage32::ControlToBitmap(const TFloatPoint& P) {
  UpdateCache();
  return TFloatPoint{CachedRecScaleX == 0 ? 2147483648.0f : (P.X - CachedShiftX) * CachedRecScaleX,
                     CachedRecScaleY == 0 ? 2147483648.0f : (P.Y - CachedShiftY) * CachedRecScaleY};
}

void TCustomImage32::SetBitmapAlign(TBitmapAlign Value) {
  FBitmapAlign = Value;
  InvalidateCache();
  Changed();
}

void TCustomImage32::SetScaleMode(TScaleMode Value) {
  if (Value == FScaleMode) return;
  FScaleMode = Value;
  InvalidateCache();
  Changed();
}

void TCustomImage32::SetOffsetHorz(Single Value) {
  if (Value == FOffsetHorz) return;
  InvalidateCache();
  FOffsetHorz = Value;
  Changed();
}

void TCustomImage32::SetOffsetVert(Single Value) {
  if (Value == FOffsetVert) return;
  InvalidateCache();
  FOffsetVert = Value;
  Changed();
}

void TCustomImage32::SetScale(Single Value) {
  if (Value < 0.001f) Value = 0.001f;
  if (Value == FScaleX) return;
  InvalidateCache();
  FScaleX = FScaleY = Value;
  CachedScaleX = CachedScaleY = Value;
  CachedRecScaleX = CachedRecScaleY = 1 / Value;
  DoScaleChange();
  Changed();
}

void TCustomImage32::SetScaleX(Single Value) {
  if (Value < 0.001f) Value = 0.001f;
  if (Value == FScaleX) return;
  InvalidateCache();
  FScaleX = Value;
  CachedScaleX = Value;
  CachedRecScaleX = 1 / Value;
  DoScaleChange();
  Changed();
}

void TCustomImage32::SetScaleY(Single Value) {
  if (Value < 0.001f) Value = 0.001f;
  if (Value == FScaleY) return;
  InvalidateCache();
  FScaleY = Value;
  CachedScaleY = Value;
  CachedRecScaleY = 1 / Value;
  DoScaleChange();
  Changed();
}

void TCustomImage32::SetOnBitmapPixelCombine(TPixelCombineEvent Value) {
  FBitmap->SetOnPixelCombine(std::move(Value));
  Changed();
}

void TCustomImage32::SetupBitmap(bool DoClear, TColor32 ClearColor) {
  {
    TUpdateLock Updating(*FBitmap);
    TRect V = GetViewportRect();
    FBitmap->SetSize(V.Width(), V.Height());
    if (DoClear) FBitmap->Clear(ClearColor);
  }
  InvalidateCache();
  Changed();
}

// --- painting

bool TCustomImage32::InvalidRectsAvailable() {
  DoPrepareInvalidRects();
  return FInvalidRects->Count() > 0;
}

void TCustomImage32::ExecStage(Cardinal Stage, TBitmap32* Dest, Integer StageNum) {
  switch (Stage) {
    case PST_CUSTOM: ExecCustom(Dest, StageNum); break;
    case PST_CLEAR_BUFFER: ExecClearBuffer(Dest, StageNum); break;
    case PST_CLEAR_BACKGND: ExecClearBackgnd(Dest, StageNum); break;
    case PST_DRAW_BITMAP: ExecDrawBitmap(Dest, StageNum); break;
    case PST_DRAW_LAYERS: ExecDrawLayers(Dest, StageNum); break;
    case PST_CONTROL_FRAME: ExecControlFrame(Dest, StageNum); break;
    case PST_BITMAP_FRAME: ExecBitmapFrame(Dest, StageNum); break;
    default: break;
  }
}

void TCustomImage32::DoPaintBuffer() {
  if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->BeginPaintBuffer();
  UpdateCache();
  FPaintStageHandlers.clear();
  for (Integer I = 0; I < FPaintStages->Count(); ++I) {
    const TPaintStage& S = FPaintStages->Items(I);
    if (S.RunTime && S.Stage >= 1 && S.Stage <= 7) FPaintStageHandlers.emplace_back(S.Stage, I);
  }
  {
    TUpdateLock Updating(*FBuffer);
    if (FInvalidRects->Count() > 0) {
      for (Integer I = 0; I < FInvalidRects->Count(); ++I) {
        FBuffer->SetClipRect((*FInvalidRects)[I]);
        for (auto& H : FPaintStageHandlers) ExecStage(H.first, FBuffer, H.second);
      }
      FBuffer->SetClipRect(GetViewportRect());
    } else {
      FBuffer->SetClipRect(GetViewportRect());
      for (auto& H : FPaintStageHandlers) ExecStage(H.first, FBuffer, H.second);
    }
  }
  if (FRepaintOptimizer->Enabled()) FRepaintOptimizer->EndPaintBuffer();
  FBufferValid = true;
}

void TCustomImage32::DoPaintGDIOverlay() {
  for (Integer I = 0; I < FLayers->Count(); ++I) {
    TCustomLayer* L = FLayers->Items(I);
    if (L->LayerOptions() & LOB_GDI_OVERLAY) L->PaintGDI(Canvas());
  }
  TCustomPaintBox32::DoPaintGDIOverlay();
}

void TCustomImage32::ExecCustom(TBitmap32* Dest, Integer StageNum) {
  if (OnPaintStage) OnPaintStage(this, Dest, static_cast<Cardinal>(StageNum));
}

void TCustomImage32::ExecClearBuffer(TBitmap32* Dest, Integer StageNum) {
  (void)StageNum;
  Dest->Clear(Color32(Color()));
}

void TCustomImage32::ExecClearBackgnd(TBitmap32* Dest, Integer StageNum) {
  (void)StageNum;
  TColor32 C = Color32(Color());
  if (FInvalidRects->Count() > 0 && !PaintToMode) {
    for (Integer I = 0; I < FInvalidRects->Count(); ++I) Dest->FillRectS((*FInvalidRects)[I], C);
    return;
  }
  if (FBitmap->Empty() || FBitmap->DrawMode() != dmOpaque) {
    Dest->Clear(C);
    return;
  }
  const TRect& R = CachedBitmapRect;
  Integer W = PaintToMode ? Dest->Width() : Width(), H = PaintToMode ? Dest->Height() : Height();
  if (R.Left > 0 || R.Right < W || R.Top > 0 || (R.Bottom < H && FBitmapAlign != baTile)) {
    Dest->FillRectS(0, 0, W, R.Top, C);
    Dest->FillRectS(0, R.Bottom, W, H, C);
    Dest->FillRectS(0, R.Top, R.Left, R.Bottom, C);
    Dest->FillRectS(R.Right, R.Top, W, R.Bottom, C);
  }
}

void TCustomImage32::ExecDrawBitmap(TBitmap32* Dest, Integer StageNum) {
  (void)StageNum;
  const TRect R = CachedBitmapRect;
  if (FBitmap->Empty() || R.Width() <= 0 || R.Height() <= 0) return;
  FBitmap->Lock();
  TFinally Done([&] { FBitmap->Unlock(); });
  if (FBitmapAlign != baTile) {
    FBitmap->DrawTo(Dest, R);
  } else if (R.Right > 0 && R.Bottom > 0) {
    for (Integer J = 0; J <= Dest->Height() / R.Bottom; ++J)
      for (Integer I = 0; I <= Dest->Width() / R.Right; ++I)
        FBitmap->DrawTo(Dest, TRect(R.Left + I * R.Right, R.Top + J * R.Bottom, R.Right + I * R.Right,
                                    R.Bottom + J * R.Bottom));
  }
}

void TCustomImage32::ExecDrawLayers(TBitmap32* Dest, Integer StageNum) {
  Cardinal Mask = FPaintStages->Items(StageNum).Parameter;
  for (Integer I = 0; I < FLayers->Count(); ++I) {
    TCustomLayer* L = FLayers->Items(I);
    if (L->LayerOptions() & Mask) L->PaintLayer(Dest);
  }
}

void TCustomImage32::ExecControlFrame(TBitmap32* Dest, Integer StageNum) {
  (void)StageNum;
  RECT R{0, 0, Width(), Height()};
  DrawFocusRect(Dest->Handle(), &R);
}

void TCustomImage32::ExecBitmapFrame(TBitmap32* Dest, Integer StageNum) {
  (void)StageNum;
  RECT R{CachedBitmapRect.Left, CachedBitmapRect.Top, CachedBitmapRect.Right, CachedBitmapRect.Bottom};
  DrawFocusRect(Dest->Handle(), &R);
}

void TCustomImage32::PaintTo(TBitmap32* Dest, const TRect& DestRect) {
  if (!Dest) return;
  TRepaintMode Old = FRepaintMode;
  SetRepaintMode(rmFull);
  CachedBitmapRect = DestRect;
  if (DestRect.Width() <= 0 || DestRect.Height() <= 0 || FBitmap->Empty()) {
    CachedScaleX = CachedScaleY = 1;
    CachedShiftX = CachedShiftY = 0;
  } else {
    CachedScaleX = static_cast<Single>(DestRect.Width()) / static_cast<Single>(FBitmap->Width());
    CachedScaleY = static_cast<Single>(DestRect.Height()) / static_cast<Single>(FBitmap->Height());
    CachedShiftX = static_cast<Single>(DestRect.Left);
    CachedShiftY = static_cast<Single>(DestRect.Top);
  }
  CachedRecScaleX = CachedScaleX == 0 ? 0 : 1 / CachedScaleX;
  CachedRecScaleY = CachedScaleY == 0 ? 0 : 1 / CachedScaleY;
  CacheValid = true;
  PaintToMode = true;
  TFinally Done([&] {
    PaintToMode = false;
    CacheValid = false;
    SetRepaintMode(Old);
  });
  for (Integer I = 0; I < FPaintStages->Count(); ++I) {
    const TPaintStage& S = FPaintStages->Items(I);
    if (S.RunTime) ExecStage(S.Stage, Dest, I);
  }
}

// --- mouse

void TCustomImage32::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TCustomPaintBox32::MouseDown(Button, Shift, X, Y);
  if (!*Alive) return;
  if (TabStop() && CanFocus()) SetFocus();
  TCustomLayer* Layer = nullptr;
  if (FLayers->MouseEvents()) Layer = FLayers->MouseDown(Button, Shift, X, Y);
  if (!*Alive) return;
  if (Button == mbLeft || FLayers->MouseListener()) SetMouseCapture(true);
  MouseDown(Button, Shift, X, Y, Layer);
}

void TCustomImage32::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TCustomPaintBox32::MouseMove(Shift, X, Y);
  if (!*Alive) return;
  TCustomLayer* Layer = nullptr;
  if (FLayers->MouseEvents()) Layer = FLayers->MouseMove(Shift, X, Y);
  if (!*Alive) return;
  MouseMove(Shift, X, Y, Layer);
}

void TCustomImage32::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto Alive = LivenessToken();
  TCustomLayer* Layer = nullptr;
  if (FLayers->MouseEvents()) Layer = FLayers->MouseUp(Button, Shift, X, Y);
  if (!*Alive) return;
  if (Button == mbLeft || FLayers->MouseListener()) SetMouseCapture(false);
  MouseUp(Button, Shift, X, Y, Layer);
}

void TCustomImage32::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y, Layer);
}

void TCustomImage32::MouseMove(TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y, Layer);
}

void TCustomImage32::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y, Layer);
}

// A double click ends any layer's press: the listener is dropped, the
// capture released and the layers (only they) get a left-button release;
// the control's own handlers then see down, up, double click, down with
// ssDouble, up.
void TCustomImage32::DblClick() {
  auto Alive = LivenessToken();
  FLayers->SetMouseListener(nullptr);
  SetMouseCapture(false);
  if (FLayers->MouseEvents()) FLayers->MouseUp(mbLeft, 0, 0, 0);
  if (!*Alive) return;
  TCustomPaintBox32::DblClick();
}

void TCustomImage32::MouseLeave() {
  if (FLayers && !FLayers->MouseListener() && Screen) Screen->SetCursor(crDefault);
  TCustomPaintBox32::MouseLeave();
}
