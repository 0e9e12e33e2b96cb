// Colour conversions, rectangle routines and the gamma table.
#include "bitmap/Bmp32_Types.h"

#include <algorithm>
#include <cmath>

#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_Math.h"

// ---------------------------------------------------------------------------
// System colours

namespace {
// Classic Windows 7 defaults ($00BBGGRR), indexes 0..30.
const Cardinal kSysColors[31] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x544E43, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
}  // namespace

Cardinal DefaultGetSysColor(Integer Index) {
  if (Index >= 0 && Index < 31) return kSysColors[Index];
  return 0;
}

TGetSysColorProc GetSysColorProc = DefaultGetSysColor;

TColor32 Color32(TColor WinColor) {
  Cardinal c = Cardinal(WinColor);
  if (WinColor < 0) c = (GetSysColorProc ? GetSysColorProc : DefaultGetSysColor)(Integer(c & 0xFF));
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// ---------------------------------------------------------------------------
// HSL

namespace {
// Round half to even on the extended value, into a byte's low 8 bits.
inline Cardinal RoundByte(Extended V) { return Cardinal(RoundExt(V)) & 0xFFu; }
}  // namespace

TColor32 HSLtoRGB(Single H, Single S, Single L) {
  if (S == 0) {
    Cardinal g = RoundByte(Extended(L) * 255);
    return 0xFF000000u | (g << 16) | (g << 8) | g;
  }
  Extended M2 = (L <= 0.5f) ? Extended(L) * (1 + Extended(S)) : Extended(L) + S - Extended(L) * S;
  Extended M1 = 2 * Extended(L) - M2;
  auto component = [&](Extended h) -> Cardinal {
    h = h - std::floor(h);
    Extended V;
    if (6 * h < 1) V = M1 + (M2 - M1) * h * 6;
    else if (2 * h < 1) V = M2;
    else if (3 * h < 2) V = M1 + (M2 - M1) * (Extended(2) / 3 - h) * 6;
    else V = M1;
    return RoundByte(V * 255);
  };
  Cardinal r = component(Extended(H) + Extended(1) / 3);
  Cardinal g = component(H);
  Cardinal b = component(Extended(H) - Extended(1) / 3);
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void RGBtoHSLFloat(TColor32 Color, Single& H, Single& S, Single& L) {
  const Single k = 1.0f / 255.0f;
  Single R = Single((Color >> 16) & 0xFF) * k;
  Single G = Single((Color >> 8) & 0xFF) * k;
  Single B = Single(Color & 0xFF) * k;
  Single Max = std::fmax(R, std::fmax(G, B));
  Single Min = std::fmin(R, std::fmin(G, B));
  L = (Max + Min) / 2;
  if (Max == Min) {
    H = 0;
    S = 0;
    return;
  }
  Single D = Max - Min;
  S = (L < 0.5f) ? D / (Max + Min) : D / (2 - Max - Min);
  if (R == Max) H = (G - B) / D;
  else if (G == Max) H = (B - R) / D + 2;
  else H = (R - G) / D + 4;
  H = H / 6;
  if (H < 0) H = H + 1;
}

TColor32 HSLtoRGBInt(Integer H, Integer S, Integer L) {
  Integer V;
  if (L <= 127) V = Integer((Int64(L) * (S + 256)) >> 8);
  else V = L + S - Integer(DivBy255(Cardinal(L) * Cardinal(S)));
  if (V <= 0) return 0xFF000000u;
  Integer M1 = 2 * L - V;
  Int64 H6 = Int64(H) * 6;
  Int64 sextant = H6 >> 8;
  Integer fraction = Integer(H6 & 255);
  Integer F = ((V - M1) * fraction) >> 8;
  Integer Mid1 = M1 + F;
  Integer Mid2 = V - F;
  Integer r, g, b;
  switch (sextant) {
    case 0: r = V; g = Mid1; b = M1; break;
    case 1: r = Mid2; g = V; b = M1; break;
    case 2: r = M1; g = V; b = Mid1; break;
    case 3: r = M1; g = Mid2; b = V; break;
    case 4: r = Mid1; g = M1; b = V; break;
    case 5: r = V; g = M1; b = Mid2; break;
    default: return 0;
  }
  return Color32FromRGBA(Byte(r), Byte(g), Byte(b), 255);
}

void RGBtoHSLInt(TColor32 Color, Byte& H, Byte& S, Byte& L) {
  Integer R = (Color >> 16) & 0xFF, G = (Color >> 8) & 0xFF, B = Color & 0xFF;
  Integer Max = Max3(R, G, B), Min = Min3(R, G, B);
  L = Byte((Max + Min) >> 1);
  if (Max == Min) {
    H = 0;
    S = 0;
    return;
  }
  Integer D = (Max - Min) * 255;
  if (L <= 127) S = Byte(D / (Max + Min));
  else S = Byte(D / (510 - Max - Min));
  Integer D6 = 6 * D;
  Integer h;
  if (Max == R) h = (G - B) * 65025 / D6;
  else if (Max == G) h = (B - R) * 65025 / D6 + 85;
  else h = (R - G) * 65025 / D6 + 170;
  if (h < 0) h += 510;
  H = Byte(h);
}

// ---------------------------------------------------------------------------
// Rectangles

TRect MakeRect(const TFloatRect& FR, TRectRoundMode Rounding) {
  TRect R;
  switch (Rounding) {
    case rrOutward:
      R = TRect(FloorToInt(FR.Left), FloorToInt(FR.Top), CeilToInt(FR.Right), CeilToInt(FR.Bottom));
      break;
    case rrInward:
      R = TRect(CeilToInt(FR.Left), CeilToInt(FR.Top), FloorToInt(FR.Right), FloorToInt(FR.Bottom));
      if (R.Right < R.Left) R.Right = R.Left;
      if (R.Bottom < R.Top) R.Bottom = R.Top;
      break;
    default:
      R = TRect(RoundToInt(FR.Left), RoundToInt(FR.Top), RoundToInt(FR.Right), RoundToInt(FR.Bottom));
  }
  return R;
}

TRect MakeRect(const TFixedRect& FXR, TRectRoundMode Rounding) {
  TRect R;
  switch (Rounding) {
    case rrOutward:
      R = TRect(FixedToIntFloor(FXR.Left), FixedToIntFloor(FXR.Top), FixedToIntCeil(FXR.Right),
                FixedToIntCeil(FXR.Bottom));
      break;
    case rrInward:
      R = TRect(FixedToIntCeil(FXR.Left), FixedToIntCeil(FXR.Top), FixedToIntFloor(FXR.Right),
                FixedToIntFloor(FXR.Bottom));
      if (R.Right < R.Left) R.Right = R.Left;
      if (R.Bottom < R.Top) R.Bottom = R.Top;
      break;
    default:
      R = TRect(FixedToIntRound(FXR.Left), FixedToIntRound(FXR.Top), FixedToIntRound(FXR.Right),
                FixedToIntRound(FXR.Bottom));
  }
  return R;
}

TFloatRect FloatRect(const TRect& R) {
  return TFloatRect{Single(R.Left), Single(R.Top), Single(R.Right), Single(R.Bottom)};
}

bool IntersectRects(TRect& Dst, const TRect& R1, const TRect& R2) {
  TRect D(std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top), std::min(R1.Right, R2.Right),
          std::min(R1.Bottom, R2.Bottom));
  bool ok = D.Right >= D.Left && D.Bottom >= D.Top;
  Dst = ok ? D : TRect();
  return ok;
}

bool IntersectRects(TFloatRect& Dst, const TFloatRect& R1, const TFloatRect& R2) {
  TFloatRect D{std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top), std::min(R1.Right, R2.Right),
               std::min(R1.Bottom, R2.Bottom)};
  bool ok = D.Right >= D.Left && D.Bottom >= D.Top;
  Dst = ok ? D : TFloatRect{};
  return ok;
}

bool UnionRects(TRect& Dst, const TRect& R1, const TRect& R2) {
  TRect D = R1;
  if (!RectIsEmpty(R2)) {
    if (R2.Left < D.Left) D.Left = R2.Left;
    if (R2.Top < D.Top) D.Top = R2.Top;
    if (R2.Right > D.Right) D.Right = R2.Right;
    if (R2.Bottom > D.Bottom) D.Bottom = R2.Bottom;
  }
  bool ok = !RectIsEmpty(D);
  Dst = ok ? D : TRect();
  return ok;
}

// ---------------------------------------------------------------------------
// Gamma

Byte GammaCurve[256];

void BuildGammaCurve(Single Gamma) {
  for (int i = 0; i < 256; ++i) {
    Extended v = std::pow(Extended(i) / 255, Extended(Gamma)) * 255;
    GammaCurve[i] = Byte(RoundExt(v));
  }
}
