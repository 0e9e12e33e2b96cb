// Bitmap engine: line clipping against an inclusive box.
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

// Clips the segment (X1, Y1)-(X2, Y2) to MinX..MaxX x MinY..MaxY (bounds
// inclusive). False when the segment misses the box; the end points may then
// already be partly moved. Vertical bounds are handled first (end 1 before
// end 2), then the horizontal ones; moved ends are placed on the bound with
// the other coordinate interpolated (64-bit product, rounded half away).
bool ClipLine(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, Integer MinX, Integer MinY, Integer MaxX,
              Integer MaxY);
