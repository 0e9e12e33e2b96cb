// Item backgrounds and the transparency checkerboard.
#include "foundation/app/win/HyAppDraw.h"

#include <algorithm>

#include "bitmap/win/Bmp32_Windowed.h"
#include "gdiplus/win/GdiPlus.h"

namespace {

TGPColor Rgb(Byte R, Byte G, Byte B) { return MakeGPColor(255, R, G, B); }

}  // namespace

void DrawItemBackground(TBitmap32* Bitmap, Integer Left, Integer Top, Integer Right, Integer Bottom, Integer Kind) {
  if (!Bitmap || Bitmap->Empty()) return;
  if (Kind != ItemBackgroundSelected && Kind != ItemBackgroundHot) return;
  // The figure's rectangle: width Right - 1 and height Bottom - 1 from
  // (Left, Top); a 1-pixel outline then ends on column Right - 1 and row
  // Bottom - 1 when Left = Top = 0.
  const Single x = static_cast<Single>(Left), y = static_cast<Single>(Top);
  const Single w = static_cast<Single>(Right) - 1, h = static_cast<Single>(Bottom) - 1;
  if (w <= 0 || h <= 0) return;
  const Single r = x + w, b = y + h;

  IGPGraphics g = TGPGraphics::FromHDC(Bitmap->Handle());
  IGPGraphicsPath path(new TGPGraphicsPath(FillModeAlternate));
  // One open figure: the arcs join by straight lines, but nothing closes the
  // left side except the explicit line.
  path->AddArc(x, y, 6.0f, 6.0f, 180.0f, 90.0f);
  path->AddArc(r - 6, y, 6.0f, 6.0f, 270.0f, 90.0f);
  path->AddArc(r - 6, b - 6, 6.0f, 6.0f, 0.0f, 90.0f);
  path->AddArc(x, b - 6, 6.0f, 6.0f, 90.0f, 90.0f);
  if (h > 6) path->AddLine(x, b - 3, x, y + 3);

  const Single top = static_cast<Single>(Top), bottom = static_cast<Single>(Bottom);
  if (Kind == ItemBackgroundSelected) {
    g->SetSmoothingMode(SmoothingModeNone);
    g->FillPath(IGPBrush(new TGPLinearGradientBrush(TGPPointF{x, top}, TGPPointF{x, bottom - 1},
                                                    Rgb(238, 247, 253), Rgb(221, 238, 253))),
                path);
    g->FillRectangle(IGPBrush(new TGPLinearGradientBrush(TGPPointF{x, top + 2}, TGPPointF{x, bottom - 3},
                                                         Rgb(220, 235, 252), Rgb(193, 219, 252))),
                     x + 2, top + 2, static_cast<Single>(Right) - 4, bottom - 4);
    g->SetSmoothingMode(SmoothingModeAntiAlias);
    g->DrawPath(IGPPen(new TGPPen(Rgb(125, 162, 206), 1.0f)), path);
  } else {
    g->SetSmoothingMode(SmoothingModeNone);
    g->FillPath(IGPBrush(new TGPLinearGradientBrush(TGPPointF{x, top}, TGPPointF{x, bottom - 1},
                                                    Rgb(250, 251, 253), Rgb(235, 243, 253))),
                path);
    g->DrawPath(IGPPen(new TGPPen(Rgb(184, 214, 251), 1.0f)), path);
  }
  // The drawing reaches the bitmap when the graphics is released here.
}

void DrawCheckerBoard(TBitmap32* Bitmap, const TRect& Rect, Integer CellSize) {
  if (!Bitmap) return;
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  Bitmap->Clear(0xFF000000u | (static_cast<TColor32>(GetRValue(face)) << 16) |
                (static_cast<TColor32>(GetGValue(face)) << 8) | GetBValue(face));
  if (CellSize < 1 || Bitmap->Empty()) return;
  const Int64 left = Rect.Left, top = Rect.Top, right = Rect.Right, bottom = Rect.Bottom;
  const Int64 cols = (right - left) / CellSize + 1, rows = (bottom - top) / CellSize + 1;
  const TRect clip = Bitmap->ClipRect();
  for (Int64 row = 0; row < rows; ++row) {
    const Int64 y1 = top + row * CellSize, y2 = std::min(y1 + CellSize, bottom);
    if (y1 >= clip.Bottom) break;
    if (y2 <= clip.Top || y2 <= y1) continue;
    for (Int64 col = 0; col < cols; ++col) {
      const Int64 x1 = left + col * CellSize, x2 = std::min(x1 + CellSize, right);
      if (x1 >= clip.Right) break;
      if (x2 <= clip.Left || x2 <= x1) continue;
      const TColor32 c = (row % 2) == (col % 2) ? 0xFFCCCCCCu : 0xFFFFFFFFu;
      // Within the clip rectangle now, so the values fit an Integer.
      Bitmap->FillRectS(static_cast<Integer>(std::max<Int64>(x1, clip.Left)),
                        static_cast<Integer>(std::max<Int64>(y1, clip.Top)),
                        static_cast<Integer>(std::min<Int64>(x2, clip.Right)),
                        static_cast<Integer>(std::min<Int64>(y2, clip.Bottom)), c);
    }
  }
}
