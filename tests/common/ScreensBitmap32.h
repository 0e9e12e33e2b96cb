// Screenshots of the bitmap engine's 32-bit bitmaps (see Screens.h).
#pragma once

#include <cstdint>
#include <string>

#include "bitmap/Bmp32.h"
#include "common/Screens.h"

namespace lumigra_test {

// KeepAlpha: save the alpha channel too (a layer or a mask); else the
// picture is the bitmap's colours, opaque.
inline void SaveBitmapScreen(TCustomBitmap32& Bitmap, const std::string& Name, const std::string& Scheme = std::string(),
                             bool KeepAlpha = false) {
  SaveScreenPixels(reinterpret_cast<const std::uint8_t*>(Bitmap.Bits()), Bitmap.Width(), Bitmap.Height(),
                   Bitmap.Width() * 4, Name, Scheme, KeepAlpha);
}

}  // namespace lumigra_test
