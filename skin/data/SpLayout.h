// The arithmetic of the toolkit's drawing helpers: glyph and caption
// placement, the rectangle predicates, the Windows version tests on a version
// number, the ellipsis rule and the dots of the dotted focus frame.
// Portable: no Windows header.
#pragma once

#include <functional>
#include <vector>

#include "rtl/System.h"

// The glyph's place relative to the caption.
enum TspButtonLayout : Byte { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Margin -1 centres glyph and caption together; Spacing counts only with a
// glyph; div truncates toward zero.
void CalcGlyphTextPos(TspButtonLayout Layout, const TRect& R, Integer GlyphWidth, Integer GlyphHeight,
                      Integer TextWidth, Integer TextHeight, Integer Spacing, Integer Margin, Integer& TextX,
                      Integer& TextY, Integer& GlyphX, Integer& GlyphY);

inline Integer RectWidth(const TRect& R) { return R.Right - R.Left; }
inline Integer RectHeight(const TRect& R) { return R.Bottom - R.Top; }
inline bool RectIsEmpty(const TRect& R) { return RectWidth(R) <= 0 || RectHeight(R) <= 0; }
inline bool RectsEqual(const TRect& R1, const TRect& R2) { return R1 == R2; }
inline void ZeroRect(TRect& R) { R = TRect(); }
inline bool PointHasZeroCoord(const TPoint& P) { return P.X == 0 || P.Y == 0; }
// All four edges inclusive.
inline bool PointWithinRect(const TRect& R, const TPoint& P) {
  return R.Left <= P.X && P.X <= R.Right && R.Top <= P.Y && P.Y <= R.Bottom;
}
// The platform's point-in-rectangle rule: right and bottom exclusive.
inline bool PointInRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
inline bool RectInsideRect(const TRect& R1, const TRect& R2) {
  return PointInRect(R2, R1.TopLeft()) && PointInRect(R2, R1.BottomRight());
}
inline bool RectOverlapsVert(const TRect& R1, const TRect& R2) {
  return PointInRect(R2, TPoint(R2.Left + 1, R1.Top)) || PointInRect(R2, TPoint(R2.Right - 1, R1.Bottom));
}
inline Integer IntMax(Integer A, Integer B) { return A > B ? A : B; }
inline Integer IntMin(Integer A, Integer B) { return A < B ? A : B; }

// The version tests on a major and minor version.
inline bool IsWindows7Version(Integer Major, Integer Minor) { return Major == 6 && Minor == 1; }
inline bool IsVistaOrLaterVersion(Integer Major, Integer) { return Major >= 6; }
inline bool IsXPOrLaterVersion(Integer Major, Integer Minor) { return Major > 5 || (Major == 5 && Minor == 1); }
inline bool IsWin2000OrLaterVersion(Integer Major, Integer Minor) {
  return Major > 5 || (Major == 5 && Minor >= 0 && Minor <= 2);
}
// The bitmap unit's test: 5.0, 5.1, 5.2 and every major version above 5.
inline bool CheckWindowsVersionOf(Integer Major, Integer Minor) { return IsWin2000OrLaterVersion(Major, Minor); }

// The ellipsis rule: when Width(S) > MaxWidth, whole characters (a surrogate
// pair is one) come off the end until Width(S + "...") fits or S is empty,
// then "..." is appended.
void EllipsizeText(String& S, Integer MaxWidth, const std::function<Integer(const String&)>& Width);

// The dots of a dotted frame on R (its last column and row inside R), in the
// order they are decided.
void DottedFocusDots(const TRect& R, std::vector<TPoint>& Dots);

// True when a file name contains ".jpg" or ".jpeg", case-sensitively.
bool IsJpegFileName(const String& S);
