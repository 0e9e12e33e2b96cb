// In-process drag and drop of controls. The source keeps the mouse capture
// and its mouse messages drive the drag (no loop of its own): each move
// offers the drag to the control under the cursor (graphic ones included),
// the release drops it, Esc or the right button cancels it.
#include <cstdlib>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/win/CoreInternal.h"

// Reaches the protected drag events of controls.
class TDragMachine {
 public:
  static void EndDrag(TControl* C, TObject* Target, Integer X, Integer Y) { C->DoEndDrag(Target, X, Y); }
};

namespace {

struct TDragInfo {
  TControl* Source = nullptr;
  TControl* Target = nullptr;
  TPoint StartPos;
  TPoint Pos;
  Integer Threshold = 5;
  bool Started = false;
  bool Accepted = false;
  bool SettingCapture = false;
};

TDragInfo Drag;
TPoint GLastMousePos;

// Sends a drag message to Target; its answer (Accept) for enter and move.
bool SendDragMessage(TControl* Target, TDragMessage Kind, const TPoint& Pos) {
  if (!Target) return false;
  TDragRec R{Pos, Drag.Source, Target};
  return Target->Perform(CM_DRAG, Kind, reinterpret_cast<LPARAM>(&R)) != 0;
}

void ShowDragCursor() {
  if (HCURSOR C = corepriv::DragCursorHandle()) ::SetCursor(C);
}

void DragTo(const TPoint& Pos) {
  Drag.Pos = Pos;
  if (!Drag.Started) {
    if (std::abs(Pos.X - Drag.StartPos.X) < Drag.Threshold && std::abs(Pos.Y - Drag.StartPos.Y) < Drag.Threshold)
      return;
    Drag.Started = true;
    if (Application) Application->CancelHint();
  }
  TControl* Source = Drag.Source;
  TControl* Target = corepriv::FindDragTarget(Pos, false);
  if (Target != Drag.Target) {
    TControl* Old = Drag.Target;
    Drag.Target = nullptr;
    Drag.Accepted = false;
    if (Old) SendDragMessage(Old, dmDragLeave, Pos);
    if (Drag.Source != Source) return;  // ended by a handler
    Drag.Target = Target;
    if (Target) SendDragMessage(Target, dmDragEnter, Pos);
    if (Drag.Source != Source) return;
  }
  if (Drag.Target) {
    bool Accept = SendDragMessage(Drag.Target, dmDragMove, Pos);
    if (Drag.Source != Source) return;
    Drag.Accepted = Accept && Drag.Target != nullptr;
  }
  ShowDragCursor();
}

// Ends the drag: the target hears it leave, then gets the drop when Drop and
// it accepted; the source then gets OnEndDrag with the target (or nullptr).
void DragDone(bool Drop) {
  if (!Drag.Source) return;
  TDragInfo D = Drag;
  Drag = TDragInfo();
  auto SourceAlive = D.Source->LivenessToken();
  if (GetCaptureControl() == D.Source) SetCaptureControl(nullptr);
  TControl* Target = D.Started ? D.Target : nullptr;
  bool Accepted = Drop && Target && D.Accepted;
  TPoint TargetPos(0, 0);
  if (Target) {
    auto TargetAlive = Target->LivenessToken();
    TDragRec R{D.Pos, D.Source, Target};
    Target->Perform(CM_DRAG, dmDragLeave, reinterpret_cast<LPARAM>(&R));
    if (!*TargetAlive || !*SourceAlive) Accepted = false;
    if (Accepted) {
      TargetPos = Target->ScreenToClient(D.Pos);
      Target->Perform(CM_DRAG, dmDragDrop, reinterpret_cast<LPARAM>(&R));
      if (!*TargetAlive) Target = nullptr;
    }
  }
  if (!Accepted) {
    Target = nullptr;
    TargetPos = TPoint(0, 0);
  }
  // Back to the ordinary cursor.
  if (Screen) Screen->SetCursor(Screen->Cursor());
  if (*SourceAlive) TDragMachine::EndDrag(D.Source, Target, TargetPos.X, TargetPos.Y);
}

}  // namespace

namespace corepriv {

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  POINT P{Pos.X, Pos.Y};
  HWND W = WindowFromPoint(P);
  TWinControl* C = nullptr;
  while (W && !(C = FindControl(W))) W = GetParent(W);
  if (!C) return nullptr;
  TControl* G = C->ControlAtPos(C->ScreenToClient(Pos), AllowDisabled);
  return G ? G : C;
}

bool DragMouseMsg(TControl* Self, TMessage& M) {
  if (!Drag.Source || Drag.Source != Self) return false;
  switch (M.Msg) {
    case WM_MOUSEMOVE:
      DragTo(Self->ClientToScreen(TPoint(MsgX(M.LParam), MsgY(M.LParam))));
      return true;
    case WM_LBUTTONUP:
      Drag.Pos = Self->ClientToScreen(TPoint(MsgX(M.LParam), MsgY(M.LParam)));
      DragDone(true);
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      DragDone(false);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return true;
    case WM_CANCELMODE:
      DragDone(false);
      return false;
    case WM_CAPTURECHANGED:
      if (!Drag.SettingCapture && reinterpret_cast<HWND>(M.LParam) != nullptr) {
        auto* W = dynamic_cast<TWinControl*>(Self);
        if (!W || !W->HandleAllocated() || reinterpret_cast<HWND>(M.LParam) != W->Handle()) DragDone(false);
      }
      return false;
  }
  return false;
}

void DragControlFreed(TControl* Control) {
  if (!Drag.Source) return;
  if (Drag.Target == Control) {
    Drag.Target = nullptr;
    Drag.Accepted = false;
  }
  if (Drag.Source == Control) {
    Drag = TDragInfo();
    if (Screen) Screen->SetCursor(Screen->Cursor());
  }
}

bool DragSettingCapture() { return Drag.SettingCapture; }

HCURSOR DragCursorHandle() {
  if (!Drag.Source || !Drag.Started || !Screen) return nullptr;
  return Screen->Cursors(Drag.Accepted ? Drag.Source->DragCursor() : crNoDrop);
}

TPoint LastMousePos() { return GLastMousePos; }
void SetLastMousePos(const TPoint& P) { GLastMousePos = P; }

}  // namespace corepriv

TControl* DragSource() { return Drag.Source; }
bool DragStarted() { return Drag.Source && Drag.Started; }
TControl* DragTarget() { return Drag.Source ? Drag.Target : nullptr; }
void CancelDrag() { DragDone(false); }

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
  if (dynamic_cast<TCustomForm*>(this)) throw EInvalidOperation(u"Cannot drag a form");
  if (Drag.Source) return;
  auto Alive = FAlive;
  FControlState &= ~csClicked;
  if (Application) Application->CancelHint();
  Drag = TDragInfo();
  Drag.Source = this;
  Drag.Threshold = Threshold < 0 ? 5 : Threshold;
  Drag.StartPos = Drag.Pos = GLastMousePos;
  Drag.SettingCapture = true;
  SetCaptureControl(this);
  Drag.SettingCapture = false;
  DoStartDrag();
  if (!*Alive || Drag.Source != this) return;
  if (Immediate) {
    Drag.Started = true;
    DragTo(Drag.StartPos);
  }
}

bool TControl::Dragging() const { return Drag.Source == this; }

void TControl::EndDrag(bool Drop) {
  if (Drag.Source == this) DragDone(Drop);
}

void TControl::CMDrag(TMessage& M) {
  auto* R = reinterpret_cast<TDragRec*>(M.LParam);
  if (!R) return;
  TPoint P = ScreenToClient(R->Pos);
  switch (static_cast<TDragMessage>(M.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      bool Accept = false;
      TDragState State = M.WParam == dmDragEnter ? dsDragEnter : M.WParam == dmDragLeave ? dsDragLeave : dsDragMove;
      DragOver(R->Source, P.X, P.Y, State, Accept);
      M.Result = Accept ? 1 : 0;
      return;
    }
    case dmDragDrop:
      DragDrop(R->Source, P.X, P.Y);
      return;
  }
}

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  Accept = static_cast<bool>(OnDragOver);
  if (Accept) Fire(OnDragOver, this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) { Fire(OnDragDrop, this, Source, X, Y); }

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) { Fire(OnEndDrag, this, Target, X, Y); }

void TControl::DoStartDrag() { Fire(OnStartDrag, this); }

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) { return corepriv::FindDragTarget(Pos, AllowDisabled); }
