// Helpers shared by the common-control wrappers (private to classlib/win).
#pragma once

#include <utility>

#include "classlib/ComCtrls.h"

#include "classlib/ImgList.h"

namespace comctl {

inline const WCHAR* W(const String& S) { return reinterpret_cast<const WCHAR*>(S.c_str()); }

// The HIMAGELIST of an image list (nullptr for none).
inline HIMAGELIST ImageListHandle(TCustomImageList* List) { return List ? List->Handle() : nullptr; }

}  // namespace comctl
