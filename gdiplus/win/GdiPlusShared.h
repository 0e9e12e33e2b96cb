// The object layer's shared state, seen by its own units only.
#pragma once

#include "gdiplus/win/GdiPlus.h"
#include "platform/GdiPlusStatus.h"
#include "rtl/ScopeGuard.h"

namespace gdiplus_shared {

// Guards the lazy creation of the shared objects (workers may ask first).
extern SRWLOCK Lock;
extern TGPFontFamily* FamilySansSerif;
extern TGPFontFamily* FamilySerif;
extern TGPFontFamily* FamilyMonospace;
extern TGPStringFormat* FormatDefault;
extern TGPStringFormat* FormatTypographic;
extern TGPImageFormat* Encoders[5];  // BMP, JPEG, GIF, TIFF, PNG
extern bool EncodersFilled;

// Returns the shared object in Slot, creating it with Make on first request.
template <class T, class F>
TGPIntf<T> GetShared(T*& Slot, F Make) {
  AcquireSRWLockExclusive(&Lock);
  TFinally Release([&] { ReleaseSRWLockExclusive(&Lock); });
  if (Slot == nullptr) {
    T* obj = Make();
    obj->_AddRef();
    Slot = obj;
  }
  TGPIntf<T> result(Slot);
  return result;
}

}  // namespace gdiplus_shared

// Boolean arguments go to GDI+ as 0 or -1.
inline gdipflat::BOOL GPBool(bool B) { return B ? -1 : 0; }
