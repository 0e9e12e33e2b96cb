// Bitmap engine value types and colour / rectangle routines.
//
// Holds: TColor32 (one $AARRGGBB pixel) and its pointer/array types, TColor,
// TFixed (16.16) with TFixedPoint/TFixedRect, TFloatPoint/TFloatRect, the
// dynamic array types, TRectRoundMode, TDrawMode, TCombineMode, TWrapMode,
// the colour conversions (Color32, WinColor, HSL in float and integer form,
// ColorIntensity ...), the rectangle routines (MakeRect, IntersectRects,
// UnionRects ...) and the GammaCurve table with BuildGammaCurve.
// The fixed-point arithmetic lives in Bmp32_Math.h.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <vector>

#include "rtl/System.h"

// ---------------------------------------------------------------------------
// Pixels

using TColor32 = std::uint32_t;      // $AARRGGBB, not premultiplied
using PColor32 = TColor32*;
using PColor32Array = TColor32*;     // the pixel memory of a bitmap
using TArrayOfColor32 = std::vector<TColor32>;

// Windows colour: $00BBGGRR; a negative value names a system colour (low byte).
using TColor = Integer;

// Some well-known pixel values.
inline constexpr TColor32 clBlack32 = 0xFF000000u;
inline constexpr TColor32 clWhite32 = 0xFFFFFFFFu;

// ---------------------------------------------------------------------------
// Fixed point and float geometry

using TFixed = Integer;               // 16.16
using PFixed = TFixed*;
inline constexpr TFixed FixedOne = 0x10000;
inline constexpr TFixed FixedHalf = 0x8000;

struct TFixedPoint {
  TFixed X = 0;
  TFixed Y = 0;
  friend constexpr bool operator==(const TFixedPoint&, const TFixedPoint&) = default;
};
using PFixedPoint = TFixedPoint*;
using TFixedPointArray = std::vector<TFixedPoint>;
using PFixedPointArray = TFixedPoint*;

struct TFixedRect {
  TFixed Left = 0;
  TFixed Top = 0;
  TFixed Right = 0;
  TFixed Bottom = 0;
  friend constexpr bool operator==(const TFixedRect&, const TFixedRect&) = default;
};

struct TFloatPoint {
  Single X = 0;
  Single Y = 0;
  friend constexpr bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};
using PFloatPoint = TFloatPoint*;

struct TFloatRect {
  Single Left = 0;
  Single Top = 0;
  Single Right = 0;
  Single Bottom = 0;
  friend constexpr bool operator==(const TFloatRect&, const TFloatRect&) = default;
};

using TArrayOfPoint = std::vector<TPoint>;
using TArrayOfInteger = std::vector<Integer>;
using TArrayOfSingle = std::vector<Single>;
using PIntegerArray = Integer*;

enum TRectRoundMode : Integer { rrNearest = 0, rrOutward = 1, rrInward = 2 };

// How a bitmap is drawn onto another (a bitmap's DrawMode).
enum TDrawMode : Integer { dmOpaque = 0, dmBlend = 1, dmCustom = 2, dmTransparent = 3 };
// cmBlend: source laid over destination by its alpha; cmMerge: both alphas composited.
enum TCombineMode : Integer { cmBlend = 0, cmMerge = 1 };
// Rule for coordinates outside a range (a bitmap's WrapMode).
enum TWrapMode : Integer { wmClamp = 0, wmRepeat = 1, wmMirror = 2 };

// ---------------------------------------------------------------------------
// Colour routines

// Replaceable lookup of a system colour by index (the platform's GetSysColor,
// result $00BBGGRR). The Winelib build binds user32's routine; the default
// answers the classic Windows 7 defaults.
using TGetSysColorProc = Cardinal (*)(Integer Index);
extern TGetSysColorProc GetSysColorProc;
Cardinal DefaultGetSysColor(Integer Index);

// $00BBGGRR (negative: system colour of the low byte) -> $FFRRGGBB.
TColor32 Color32(TColor WinColor);
constexpr TColor32 Color32FromRGBA(Byte R, Byte G, Byte B, Byte A = 255) {
  return (TColor32(A) << 24) | (TColor32(R) << 16) | (TColor32(G) << 8) | TColor32(B);
}
constexpr TColor32 GrayColor32(Byte Level, Byte Alpha = 255) {
  return (TColor32(Alpha) << 24) | (TColor32(Level) * 0x010101u);
}
// $AARRGGBB -> $00BBGGRR.
constexpr TColor WinColor(TColor32 Color32) {
  return TColor(((Color32 & 0xFF0000u) >> 16) | (Color32 & 0x00FF00u) | ((Color32 & 0xFFu) << 16));
}
constexpr Byte AlphaOf(TColor32 C) { return Byte(C >> 24); }
constexpr Byte RedOf(TColor32 C) { return Byte(C >> 16); }
constexpr Byte GreenOf(TColor32 C) { return Byte(C >> 8); }
constexpr Byte BlueOf(TColor32 C) { return Byte(C); }
// (R*61 + G*174 + B*21) shr 8.
constexpr Integer ColorIntensity(TColor32 C) {
  return Integer(((C >> 16 & 0xFF) * 61 + (C >> 8 & 0xFF) * 174 + (C & 0xFF) * 21) >> 8);
}

TColor32 HSLtoRGB(Single H, Single S, Single L);                        // components 0..1, opaque
void RGBtoHSLFloat(TColor32 Color, Single& H, Single& S, Single& L);   // alpha ignored
TColor32 HSLtoRGBInt(Integer H, Integer S, Integer L);                 // 0..255 each
void RGBtoHSLInt(TColor32 Color, Byte& H, Byte& S, Byte& L);

// ---------------------------------------------------------------------------
// Rectangle and point routines (TRect is half-open)

constexpr TRect MakeRect(Integer L, Integer T, Integer R, Integer B) { return TRect(L, T, R, B); }
TRect MakeRect(const TFloatRect& FR, TRectRoundMode Rounding = rrNearest);
TRect MakeRect(const TFixedRect& FXR, TRectRoundMode Rounding = rrNearest);
constexpr TFixedRect MakeFixedRect(TFixed L, TFixed T, TFixed R, TFixed B) { return TFixedRect{L, T, R, B}; }
constexpr TFloatRect FloatRect(Single L, Single T, Single R, Single B) { return TFloatRect{L, T, R, B}; }
TFloatRect FloatRect(const TRect& R);

// Dst = overlap; true also for a zero-width/height overlap; on false Dst = 0.
bool IntersectRects(TRect& Dst, const TRect& R1, const TRect& R2);
bool IntersectRects(TFloatRect& Dst, const TFloatRect& R1, const TFloatRect& R2);
// Dst = R1 grown by a non-empty R2 (an empty R1 still counts); empty -> zeros.
bool UnionRects(TRect& Dst, const TRect& R1, const TRect& R2);
constexpr bool SameRects(const TRect& R1, const TRect& R2) { return R1 == R2; }
constexpr void InflateRectXY(TRect& R, Integer Dx, Integer Dy) {
  R.Left -= Dx; R.Top -= Dy; R.Right += Dx; R.Bottom += Dy;
}
constexpr void MoveRectXY(TRect& R, Integer Dx, Integer Dy) {
  R.Left += Dx; R.Top += Dy; R.Right += Dx; R.Bottom += Dy;
}
constexpr bool RectIsEmpty(const TRect& R) { return !(R.Left < R.Right && R.Top < R.Bottom); }
constexpr bool FloatRectIsEmpty(const TFloatRect& R) { return !(R.Right > R.Left && R.Bottom > R.Top); }
constexpr bool PointInRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// ---------------------------------------------------------------------------
// Gamma table: entry i = Round(255 * (i/255)^Gamma); the engine builds it
// with 0.7 (as a Single) at start-up. Coverage byte -> weight.

extern Byte GammaCurve[256];
void BuildGammaCurve(Single Gamma);
inline constexpr Single DefaultGamma = 0.7f;
