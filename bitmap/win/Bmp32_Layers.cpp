// Layers of an image control: the collection, the layer base and the
// positioned layer.
#include "bitmap/win/Bmp32_Layers.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "rtl/ScopeGuard.h"

namespace {

TLayerStates StateBit(TMouseButton Button) {
  switch (Button) {
    case mbLeft: return TLayerStates(1u << lsMouseLeft);
    case mbRight: return TLayerStates(1u << lsMouseRight);
    default: return TLayerStates(1u << lsMouseMiddle);
  }
}

inline void SetScreenCursor(TCursor C) {
  if (Screen) Screen->SetCursor(C);
}

}  // namespace

// ---------------------------------------------------------------------------
// TLayerCollection

TLayerCollection::TLayerCollection(TPersistent* AOwner) : FOwner(AOwner) {}

TLayerCollection::~TLayerCollection() {
  FUpdateCount = 1;  // no change events while the layers go
  while (!FItems.empty()) delete FItems.back();
}

TCustomLayer* TLayerCollection::Add(TLayerClass ItemClass) {
  TCustomLayer* L = ItemClass(this);
  L->SetIndex(Count() - 1);
  Notify(lnLayerAdded, L, L->Index());
  return L;
}

TCustomLayer* TLayerCollection::Insert(Integer Index, TLayerClass ItemClass) {
  TUpdateLock Updating(*this);
  TCustomLayer* L = Add(ItemClass);
  L->SetIndex(Index);
  Notify(lnLayerInserted, L, Index);
  return L;
}

void TLayerCollection::Delete(Integer Index) { delete FItems.at(static_cast<size_t>(Index)); }

void TLayerCollection::Clear() {
  TUpdateLock Updating(*this);
  while (!FItems.empty()) delete FItems.back();
  Notify(lnCleared, nullptr, 0);
}

void TLayerCollection::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TLayerCollection*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  TUpdateLock Updating(*this);
  while (!FItems.empty()) delete FItems.back();
  for (TCustomLayer* S : Src->FItems) {
    // A layer of the same class: the source makes its twin.
    TCustomLayer* L = S->CloneEmpty(this);
    L->SetIndex(Count() - 1);
    Notify(lnLayerAdded, L, L->Index());
    L->Assign(S);
  }
}

void TLayerCollection::BeginUpdate() {
  if (FUpdateCount == 0) Changing();
  ++FUpdateCount;
}

void TLayerCollection::EndUpdate() {
  Assert(FUpdateCount > 0, u"Unpaired EndUpdate");
  --FUpdateCount;
  if (FUpdateCount == 0) Changed();
}

void TLayerCollection::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TLayerCollection::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TLayerCollection::Notify(TLayerListNotification Action, TCustomLayer* Layer, Integer Index) {
  if (OnListNotify) OnListNotify(this, Action, Layer, Index);
}

void TLayerCollection::InsertItem(TCustomLayer* Item) {
  BeginUpdate();
  FItems.push_back(Item);
  Item->FLayerCollection = this;
  Notify(lnLayerAdded, Item, Count() - 1);
  EndUpdate();
}

void TLayerCollection::RemoveItem(TCustomLayer* Item) {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It == FItems.end()) return;
  Integer Index = static_cast<Integer>(It - FItems.begin());
  BeginUpdate();
  if (FMouseListener == Item) FMouseListener = nullptr;
  FItems.erase(It);
  Item->FLayerCollection = nullptr;
  Notify(lnLayerDeleted, Item, Index);
  EndUpdate();
}

void TLayerCollection::DoUpdateLayer(TCustomLayer* Layer) {
  if (OnLayerUpdated) OnLayerUpdated(this, Layer);
  Changed();
}

void TLayerCollection::DoUpdateArea(const TRect& Rect) {
  if (OnAreaUpdated) OnAreaUpdated(this, Rect, AreaInfoRect);
  Changed();
}

void TLayerCollection::GDIUpdate() {
  if (FUpdateCount == 0 && OnGDIUpdate) OnGDIUpdate(this);
}

TCustomLayer* TLayerCollection::FindLayerAtPos(Integer X, Integer Y, Cardinal OptionsMask) {
  for (Integer I = Count() - 1; I >= 0; --I) {
    TCustomLayer* L = FItems[static_cast<size_t>(I)];
    if ((L->FLayerOptions & OptionsMask) && L->HitTest(X, Y)) return L;
  }
  return nullptr;
}

void TLayerCollection::SetMouseListener(TCustomLayer* Value) {
  if (Value == FMouseListener) return;
  if (FMouseListener) FMouseListener->FLayerStates &= TLayerStates(~7u);
  FMouseListener = Value;
}

void TLayerCollection::SetMouseEvents(bool Value) {
  FMouseEvents = Value;
  SetMouseListener(nullptr);
}

TCustomLayer* TLayerCollection::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomLayer* Target = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
  if (Target != FMouseListener && (!Target || !(Target->FLayerOptions & LOB_NO_CAPTURE)))
    SetMouseListener(Target);
  if (FMouseListener) {
    FMouseListener->AddState(Button);
    FMouseListener->MouseDown(Button, Shift, X, Y);
  }
  return Target;
}

TCustomLayer* TLayerCollection::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomLayer* Target = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
  if (Target)
    Target->MouseMove(Shift, X, Y);
  else if (auto* C = dynamic_cast<TControl*>(FOwner))
    SetScreenCursor(C->Cursor());
  return Target;
}

TCustomLayer* TLayerCollection::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomLayer* Target = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
  if (Target) {
    Target->RemoveState(Button);
    Target->MouseUp(Button, Shift, X, Y);
  }
  if (FMouseListener && (FMouseListener->FLayerStates & 7u) == 0) SetMouseListener(nullptr);
  return Target;
}

TFloatPoint TLayerCollection::LocalToViewport(const TFloatPoint& APoint, bool AScaled) {
  if (!AScaled) return APoint;
  Single SX, SY, DX, DY;
  GetViewportScale(SX, SY);
  GetViewportShift(DX, DY);
  return TFloatPoint{APoint.X * SX + DX, APoint.Y * SY + DY};
}

TFloatPoint TLayerCollection::ViewportToLocal(const TFloatPoint& APoint, bool AScaled) {
  if (!AScaled) return APoint;
  Single SX, SY, DX, DY;
  GetViewportScale(SX, SY);
  GetViewportShift(DX, DY);
  return TFloatPoint{(APoint.X - DX) / SX, (APoint.Y - DY) / SY};
}

void TLayerCollection::GetViewportScale(Single& ScaleX, Single& ScaleY) {
  ScaleX = 1;
  ScaleY = 1;
  if (OnGetViewportScale) OnGetViewportScale(this, ScaleX, ScaleY);
}

void TLayerCollection::GetViewportShift(Single& ShiftX, Single& ShiftY) {
  ShiftX = 0;
  ShiftY = 0;
  if (OnGetViewportShift) OnGetViewportShift(this, ShiftX, ShiftY);
}

// ---------------------------------------------------------------------------
// TCustomLayer

TCustomLayer::TCustomLayer(TLayerCollection* ALayerCollection) {
  if (ALayerCollection) ALayerCollection->InsertItem(this);
  FLayerOptions = LOB_VISIBLE;
}

void TCustomLayer::BeforeDestruction() {
  if (OnDestroy) OnDestroy(this);
}

TCustomLayer::~TCustomLayer() {
  BeforeDestruction();
  if (FFreeNotifies) {
    for (Integer I = static_cast<Integer>(FFreeNotifies->size()) - 1; I >= 0; --I) {
      (*FFreeNotifies)[static_cast<size_t>(I)]->Notification(this);
      if (!FFreeNotifies) break;  // the list went meanwhile
      I = std::min(I, static_cast<Integer>(FFreeNotifies->size()));
    }
    delete FFreeNotifies;
    FFreeNotifies = nullptr;
  }
  SetLayerCollection(nullptr);
}

TCustomLayer* TCustomLayer::CloneEmpty(TLayerCollection* ACollection) const { return new TCustomLayer(ACollection); }

void TCustomLayer::AddNotification(TCustomLayer* ALayer) {
  if (!FFreeNotifies) FFreeNotifies = new std::vector<TCustomLayer*>();
  if (std::find(FFreeNotifies->begin(), FFreeNotifies->end(), ALayer) == FFreeNotifies->end())
    FFreeNotifies->push_back(ALayer);
}

void TCustomLayer::RemoveNotification(TCustomLayer* ALayer) {
  if (!FFreeNotifies) return;
  FFreeNotifies->erase(std::remove(FFreeNotifies->begin(), FFreeNotifies->end(), ALayer), FFreeNotifies->end());
  if (FFreeNotifies->empty()) {
    delete FFreeNotifies;
    FFreeNotifies = nullptr;
  }
}

void TCustomLayer::AddState(TMouseButton Button) { FLayerStates |= StateBit(Button); }
void TCustomLayer::RemoveState(TMouseButton Button) { FLayerStates &= TLayerStates(~StateBit(Button)); }

void TCustomLayer::Changing() {
  if (Visible() && FUpdateCount == 0 && FLayerCollection && !(FLayerOptions & LOB_NO_UPDATE) &&
      FLayerCollection->OnChanging)
    FLayerCollection->OnChanging(FLayerCollection);
}

void TCustomLayer::Changed() {
  if (FUpdateCount > 0 || !FLayerCollection || (FLayerOptions & LOB_NO_UPDATE)) return;
  Update();
  if (Visible())
    FLayerCollection->Changed();
  else if (FLayerOptions & LOB_GDI_OVERLAY)
    FLayerCollection->GDIUpdate();
  TNotifiablePersistent::Changed();
}

void TCustomLayer::Changed(const TRect& Rect) {
  if (FUpdateCount > 0 || !FLayerCollection || (FLayerOptions & LOB_NO_UPDATE)) return;
  Update(Rect);
  if (Visible())
    FLayerCollection->Changed();
  else if (FLayerOptions & LOB_GDI_OVERLAY)
    FLayerCollection->GDIUpdate();
  TNotifiablePersistent::Changed();
}

void TCustomLayer::Update() {
  if (FLayerCollection && (FLayerOptions & (LOB_VISIBLE | LOB_FORCE_UPDATE)))
    FLayerCollection->DoUpdateLayer(this);
}

void TCustomLayer::Update(const TRect& Rect) {
  if (FLayerCollection) FLayerCollection->DoUpdateArea(Rect);
}

bool TCustomLayer::HitTest(Integer X, Integer Y) {
  bool Passed = DoHitTest(X, Y);
  if (OnHitTest) OnHitTest(this, X, Y, Passed);
  return Passed;
}

Integer TCustomLayer::Index() const {
  if (!FLayerCollection) return -1;
  auto& V = FLayerCollection->FItems;
  auto It = std::find(V.begin(), V.end(), this);
  return It == V.end() ? -1 : static_cast<Integer>(It - V.begin());
}

void TCustomLayer::SetIndex(Integer Value) {
  if (!FLayerCollection) return;
  Integer Cur = Index();
  Integer Last = FLayerCollection->Count() - 1;
  if (Value < 0) Value = 0;
  if (Value > Last) Value = Last;
  if (Value == Cur) return;
  bool V = Visible();
  if (V) FLayerCollection->BeginUpdate();
  auto& Items = FLayerCollection->FItems;
  Items.erase(Items.begin() + Cur);
  Items.insert(Items.begin() + Value, this);
  if (V) FLayerCollection->EndUpdate();
}

void TCustomLayer::BringToFront() {
  if (FLayerCollection) SetIndex(FLayerCollection->Count());
}

void TCustomLayer::SendToBack() { SetIndex(0); }

void TCustomLayer::SetLayerCollection(TLayerCollection* Value) {
  if (Value == FLayerCollection) return;
  if (FLayerCollection) FLayerCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

void TCustomLayer::SetLayerOptions(Cardinal Value) {
  Changing();
  FLayerOptions = Value;
  Changed();
}

void TCustomLayer::SetMouseEvents(bool Value) {
  SetLayerOptions(Value ? (FLayerOptions | LOB_MOUSE_EVENTS) : (FLayerOptions & ~LOB_MOUSE_EVENTS));
}

void TCustomLayer::SetVisible(bool Value) {
  if (Value) {
    SetLayerOptions(FLayerOptions | LOB_VISIBLE);
  } else {
    // Hiding still repaints the area the layer covered.
    FLayerOptions |= LOB_FORCE_UPDATE;
    SetLayerOptions(FLayerOptions & ~LOB_VISIBLE);
    FLayerOptions &= ~LOB_FORCE_UPDATE;
  }
}

void TCustomLayer::SetInvalid(bool Value) {
  if (Value)
    FLayerOptions |= LOB_INVALID;
  else
    FLayerOptions &= ~LOB_INVALID;
}

void TCustomLayer::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  if (FLayerCollection && FLayerCollection->FMouseListener == this) SetScreenCursor(Value);
}

void TCustomLayer::SetAsMouseListener() {
  if (!FLayerCollection) return;
  FLayerCollection->SetMouseListener(this);
  SetScreenCursor(FCursor);
}

void TCustomLayer::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomLayer::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  SetScreenCursor(FCursor);
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TCustomLayer::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  SetScreenCursor(crDefault);
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomLayer::PaintLayer(TBitmap32* Buffer) {
  Paint(Buffer);
  if (OnPaint) OnPaint(this, Buffer);
}

// ---------------------------------------------------------------------------
// TPositionedLayer

TPositionedLayer::TPositionedLayer(TLayerCollection* ALayerCollection) : TCustomLayer(ALayerCollection) {
  FLocation = TFloatRect{0, 0, 64, 64};
  FLayerOptions = LOB_VISIBLE | LOB_MOUSE_EVENTS;
}

TCustomLayer* TPositionedLayer::CloneEmpty(TLayerCollection* ACollection) const {
  return new TPositionedLayer(ACollection);
}

void TPositionedLayer::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TPositionedLayer*>(Dest)) {
    D->Changing();
    D->FLocation = FLocation;
    D->FScaled = FScaled;
    D->FLayerOptions = FLayerOptions;
    D->FCursor = FCursor;
    D->FTag = FTag;
    D->Changed();
    return;
  }
  TCustomLayer::AssignTo(Dest);
}

void TCustomLayer::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TCustomLayer*>(Dest)) {
    D->Changing();
    D->FLayerOptions = FLayerOptions;
    D->FCursor = FCursor;
    D->FTag = FTag;
    D->Changed();
    return;
  }
  TNotifiablePersistent::AssignTo(Dest);
}

TFloatRect TPositionedLayer::GetAdjustedRect(const TFloatRect& R) {
  if (!FScaled || !FLayerCollection) return R;
  Single SX, SY, DX, DY;
  FLayerCollection->GetViewportScale(SX, SY);
  FLayerCollection->GetViewportShift(DX, DY);
  return TFloatRect{R.Left * SX + DX, R.Top * SY + DY, R.Right * SX + DX, R.Bottom * SY + DY};
}

bool TPositionedLayer::DoHitTest(Integer X, Integer Y) {
  TFloatRect R = GetAdjustedRect(FLocation);
  Single FX = static_cast<Single>(X), FY = static_cast<Single>(Y);
  return R.Left <= FX && FX < R.Right && R.Top <= FY && FY < R.Bottom;
}

void TPositionedLayer::SetLocation(const TFloatRect& Value) {
  Changing();
  DoSetLocation(Value);
  Changed();
}

void TPositionedLayer::SetScaled(bool Value) {
  if (Value == FScaled) return;
  Changing();
  FScaled = Value;
  Changed();
}

// ---------------------------------------------------------------------------

void RegisterLayerAccess() {
  LayerAccess.Count = [](TLayerCollection* L) { return L->Count(); };
  LayerAccess.Items = [](TLayerCollection* L, Integer I) { return L->Items(I); };
  LayerAccess.SetOnListNotify = [](TLayerCollection* L, TLayerListNotifyEvent E) { L->OnListNotify = std::move(E); };
  LayerAccess.SetOnLayerUpdated = [](TLayerCollection* L, TLayerUpdateEvent E) { L->OnLayerUpdated = std::move(E); };
  LayerAccess.SetOnAreaUpdated = [](TLayerCollection* L, TAreaChangedEvent E) { L->OnAreaUpdated = std::move(E); };
  LayerAccess.GetInvalid = [](TCustomLayer* L) { return L->Invalid(); };
  LayerAccess.SetInvalid = [](TCustomLayer* L, bool V) { L->SetInvalid(V); };
  LayerAccess.Paint = [](TCustomLayer* L, TCustomBitmap32* B) {
    // Only windowed buffers are painted through layers.
    if (auto* W = dynamic_cast<TBitmap32*>(B)) L->PaintLayer(W);
  };
}
