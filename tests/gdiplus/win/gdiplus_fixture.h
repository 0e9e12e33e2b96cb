// Shared fixture of the GDI+ layer tests: GDI+ started once, and a 32-bit
// top-down DIB section in a memory DC (what a TBitmap32 gives).
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>

#include "gdiplus/win/GdiPlus.h"
#include "platform/GdiPlusStatus.h"

void EnsureGdiPlus();

// While it lives, the flat calls GDI+ refuses are traced; when it ends, the
// test fails unless there was none (rendering that should work all the way).
struct TNoRefusedCalls {
  TNoRefusedCalls();
  ~TNoRefusedCalls();
};

struct TTestSurface {
  HDC Dc = nullptr;
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  uint32_t* Bits = nullptr;
  int W = 0, H = 0;

  TTestSurface(int Width, int Height, uint32_t Fill = 0x00FFFFFF);
  ~TTestSurface();
  uint32_t At(int X, int Y) const { return Bits[Y * W + X]; }
  // Draws through a fresh graphics released before returning (anti-aliased);
  // no flat call may be refused meanwhile.
  void Draw(const std::function<void(const IGPGraphics&)>& Paint, Integer Smoothing = SmoothingModeAntiAlias);
  int CountWhere(const std::function<bool(uint32_t)>& Pred, int X0 = 0, int Y0 = 0, int X1 = -1, int Y1 = -1) const;
};

inline int Alpha(uint32_t C) { return int(C >> 24); }
inline int Red(uint32_t C) { return int((C >> 16) & 0xFF); }
inline int Green(uint32_t C) { return int((C >> 8) & 0xFF); }
inline int Blue(uint32_t C) { return int(C & 0xFF); }
