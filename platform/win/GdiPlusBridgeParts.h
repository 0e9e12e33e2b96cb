// The parts of the GDI+ bridge (platform/GdiPlusBridge.h), seen by its own
// units only: each part keeps the library's own functions it still calls and
// puts its functions into the table's slots. Winelib only.
#pragma once

#include <windows.h>

#include "platform/GdiPlusFlat.h"

namespace gdipflat::bridge {

// DC surfaces: GdipCreateFromHDC, GdipDeleteGraphics.
void InstallSurfaces();
// Path workarounds: GdipWidenPath, GdipWindingModeOutline, GdipAddPathEllipse(I).
void InstallPaths();
// Gradient brushes the bridge paints itself, and the fills that paint them.
void InstallGradients();
// The threads the gradient painting may use (SetBridgePaintThreads).
int SetPaintThreads(int N);
// The recorders of what each drawing call can touch on a DC surface. They
// wrap whatever the drawing slots hold, so they are installed last.
void InstallDrawingRecorders();

// The library's GdipDeleteGraphics (the table's slot holds the surfaces' own).
extern GpStatus (*LibDeleteGraphics)(GpGraphics*);
// The size of the DC surface G draws on; false when G has none.
bool SurfaceSize(GpGraphics* G, INT& W, INT& H);
// Number of DC surfaces alive.
int SurfaceCount();
// Adds the device rectangle R (nil: the whole surface) to what G's drawing
// can have touched, when G draws on a DC surface; only that is composed at
// release.
void AddDrawn(GpGraphics* G, const RECT* R);

// An SRW lock held for a scope, exclusively or shared; released on every
// path (the bridge's maps allocate while the lock is held).
class TSrwLockExclusive {
 public:
  explicit TSrwLockExclusive(SRWLOCK& Lock) : FLock(Lock) { AcquireSRWLockExclusive(&FLock); }
  ~TSrwLockExclusive() { ReleaseSRWLockExclusive(&FLock); }
  TSrwLockExclusive(const TSrwLockExclusive&) = delete;
  TSrwLockExclusive& operator=(const TSrwLockExclusive&) = delete;

 private:
  SRWLOCK& FLock;
};

class TSrwLockShared {
 public:
  explicit TSrwLockShared(SRWLOCK& Lock) : FLock(Lock) { AcquireSRWLockShared(&FLock); }
  ~TSrwLockShared() { ReleaseSRWLockShared(&FLock); }
  TSrwLockShared(const TSrwLockShared&) = delete;
  TSrwLockShared& operator=(const TSrwLockShared&) = delete;

 private:
  SRWLOCK& FLock;
};

}  // namespace gdipflat::bridge
