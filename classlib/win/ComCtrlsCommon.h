// Helpers shared by the common-control wrappers (private to classlib/win).
#pragma once

#include <utility>

#include "classlib/ComCtrls.h"

#include "classlib/ImgList.h"

// The procedure of every window of the class library's classes.
LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

namespace comctl {

inline const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

// Superclassing: the class info of SystemClass registered under our name
// with the class library's procedure; returns the system class's procedure,
// which becomes the control's default handler.
WNDPROC RegisterSuperclass(const WCHAR* SystemClass, const String& OurName);

// The HIMAGELIST of an image list (nullptr for none).
inline HIMAGELIST ImageListHandle(TCustomImageList* List) { return List ? List->Handle() : nullptr; }

template <class F, class... A>
void Fire(const F& Event, A&&... Args) {
  if (Event) {
    F Copy = Event;
    Copy(std::forward<A>(Args)...);
  }
}

}  // namespace comctl
