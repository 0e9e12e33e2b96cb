// The colour model and the grid and palette arithmetic of the colour controls.
#include "skin/boxes/ColorMath.h"

#include <algorithm>
#include <cmath>

#include "rtl/Math.h"

namespace {

Byte ByteOf(double x) {
  const Int64 v = Round(x);
  return Byte(std::clamp<Int64>(v, 0, 255));
}

// The degree factor of the palette's angles.
constexpr double PaletteDegree = 0.01745329252;

}  // namespace

Integer CopyCustomColors(TspCustomColorValues& Dest, const TspCustomColorValues& Value, Integer Count) {
  const Integer N = std::clamp(Count, 0, CustomColorSlots);
  for (Integer i = 0; i < N; ++i) Dest[i] = Value[i];
  return N;
}

void ColorToRGBBytes(TColor AColor, Byte& R, Byte& G, Byte& B) {
  const Cardinal C = Cardinal(AColor);
  R = Byte(C & 0xFF);
  G = Byte((C >> 8) & 0xFF);
  B = Byte((C >> 16) & 0xFF);
}

TColor RGBBytesToColor(Byte R, Byte G, Byte B) { return TColor(Cardinal(R) | (Cardinal(G) << 8) | (Cardinal(B) << 16)); }

void RGBBytesToHSL(Byte R, Byte G, Byte B, double& H, double& S, double& L) {
  const double r = R / 255.0, g = G / 255.0, b = B / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  L = (mx + mn) / 2;
  if (mx == mn) {
    H = 0;
    S = 0;
    return;
  }
  const double d = mx - mn;
  S = L < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
  if (mx == r)
    H = (g - b) / d;
  else if (mx == g)
    H = (b - r) / d + 2;
  else
    H = (r - g) / d + 4;
  H = H / 6;
  if (H < 0) H += 1;
}

THSL RGBToHSL(const TRGB& RGB) {
  THSL R;
  RGBBytesToHSL(RGB.R, RGB.G, RGB.B, R.H, R.S, R.L);
  return R;
}

TRGB HSLToRGB(const THSL& HSL) {
  if (HSL.S == 0) {
    const Byte v = ByteOf(HSL.L * 255);
    return TRGB{v, v, v};
  }
  const double L = HSL.L, S = HSL.S;
  const double m2 = L > 0.5 ? L + S - L * S : L * (1 + S);
  const double m1 = 2 * L - m2;
  auto channel = [&](double h) {
    if (h < 0)
      h += 1;
    else if (h > 1)
      h -= 1;
    double v;
    if (6 * h < 1)
      v = m1 + (m2 - m1) * 6 * h;
    else if (2 * h < 1)
      v = m2;
    else if (3 * h < 2)
      v = m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
    else
      v = m1;
    return ByteOf(v * 255);
  };
  return TRGB{channel(HSL.H + 1.0 / 3.0), channel(HSL.H), channel(HSL.H - 1.0 / 3.0)};
}

void RGBBytesToHSV(Byte R, Byte G, Byte B, Integer& H, Integer& S, Integer& V) {
  const Integer mx = std::max({R, G, B}), mn = std::min({R, G, B});
  const Integer d = mx - mn;
  if (d == 0) {
    S = 0;
    V = Integer(Round(R * 100.0 / 255.0));
    return;  // no hue: H stays as passed in
  }
  S = Integer(Round(double(d) / mx * 100));
  V = Integer(Round(mx / 255.0 * 100));
  double hue, s, l;
  RGBBytesToHSL(R, G, B, hue, s, l);
  H = Integer(Round(hue * 360)) % 360;
}

void HSVToRGBBytes(Byte& R, Byte& G, Byte& B, Integer H, Integer S, Integer V) {
  const double h = H / 360.0, s = S / 100.0, v = V * 255.0 / 100.0;
  if (s == 0) {
    R = G = B = ByteOf(v);
    return;
  }
  const double h6 = h / (1.0 / 6.0);
  const Integer i = Floor(h6);
  const double f = h6 - i;
  const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  double r, g, b;
  switch (i) {
    case 0: r = v, g = t, b = p; break;
    case 1: r = q, g = v, b = p; break;
    case 2: r = p, g = v, b = t; break;
    case 3: r = p, g = q, b = v; break;
    case 4: r = t, g = p, b = v; break;
    default: r = v, g = p, b = q; break;
  }
  R = ByteOf(r);
  G = ByteOf(g);
  B = ByteOf(b);
}

// ---- TPSPColor ----------------------------------------------------------------

void TPSPColor::Assign(const TPSPColor& Value) {
  FRGB = Value.FRGB;
  FHSL = Value.FHSL;
  FHSLPSP = Value.FHSLPSP;
}

namespace {
THSLPSP HSLBytes(const THSL& H) { return THSLPSP{ByteOf(H.H * 255), ByteOf(H.S * 255), ByteOf(H.L * 255)}; }
}  // namespace

void TPSPColor::SetRGB(const TRGB& Value) {
  FRGB = Value;
  FHSL = RGBToHSL(Value);
  FHSLPSP = HSLBytes(FHSL);
}

void TPSPColor::SetHSL(const THSL& Value) {
  FHSL = Value;
  FRGB = HSLToRGB(Value);
  FHSLPSP = HSLBytes(FHSL);
}

void TPSPColor::SetHSLPSP(const THSLPSP& Value) {
  FHSLPSP = Value;
  FHSL = THSL{Value.H / 255.0, Value.S / 255.0, Value.L / 255.0};
  FRGB = HSLToRGB(FHSL);
}

// ---- tables -------------------------------------------------------------------

const std::array<TColor, 48> BasicColorTable = {
    0x000000, 0x000040, 0x000080, 0x404080, 0x0000FF, 0x8080FF, 0x008080, 0x004080, 0x0080FF, 0x4080FF, 0x00FFFF, 0x80FFFF,
    0x408080, 0x004000, 0x008000, 0x00FF00, 0x00FF80, 0x80FF80, 0x808080, 0x404000, 0x408000, 0x808000, 0x40FF00, 0x80FF00,
    0x808040, 0x800000, 0xFF0000, 0x804000, 0xFFFF00, 0xFFFF80, 0xC0C0C0, 0x400000, 0xA00000, 0xFF8080, 0xC08000, 0xFF8000,
    0x400040, 0x4F4280, 0x800080, 0x400080, 0xC08080, 0xC080FF, 0xFFFFFF, 0x800040, 0xFF0080, 0x8000FF, 0xFF00FF, 0xFF80FF,
};

const std::array<TColor, 40> ButtonColorTable = {
    0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000, 0x353333, 0x333333,
    0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080,
    0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x999999,
    0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0,
    0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF,
};

// ---- grid cells ---------------------------------------------------------------

TColorGridGeometry::TColorGridGeometry(const TRect& Client, Integer AColCount, Integer ARowCount, Integer ATableCount)
    : ColCount(AColCount), RowCount(ARowCount), TableCount(ATableCount) {
  if (ColCount < 1 || RowCount < 1) return;
  const Integer cw = Client.Width(), ch = Client.Height();
  CellW = (cw - 2 * ColCount) / ColCount;
  CellH = (ch - 2 * RowCount) / RowCount;
  const Integer bw = (CellW + 2) * ColCount, bh = (CellH + 2) * RowCount;
  Left = Client.Left + cw / 2 - bw / 2;
  Top = Client.Top + ch / 2 - bh / 2;
}

Integer TColorGridGeometry::CellCount() const {
  if (ColCount < 1 || RowCount < 1) return 0;
  const Int64 n = Int64(ColCount) * RowCount;
  return Integer(std::min<Int64>(n, std::max(TableCount, 0)));
}

TPoint TColorGridGeometry::Origin(Integer Index) const {
  const Integer r = Index / ColCount, c = Index % ColCount;
  return TPoint(Left + 1 + c * (CellW + 2), Top + 1 + r * (CellH + 2));
}

TRect TColorGridGeometry::OuterRect(Integer Index) const {
  const TPoint p = Origin(Index);
  return TRect(p.X - 1, p.Y - 1, p.X + CellW + 1, p.Y + CellH + 1);
}

TRect TColorGridGeometry::PatchRect(Integer Index, bool Selected) const {
  const TPoint p = Origin(Index);
  const Integer k = Selected ? 4 : 3;
  return TRect(p.X + k, p.Y + k, p.X + CellW - k, p.Y + CellH - k);
}

TRect TColorGridGeometry::HitRect(Integer Index) const {
  const TPoint p = Origin(Index);
  return TRect(p.X, p.Y, p.X + CellW, p.Y + CellH);
}

Integer TColorGridGeometry::CellAt(Integer X, Integer Y) const {
  const Integer n = CellCount();
  for (Integer i = 0; i < n; ++i) {
    const TRect R = HitRect(i);
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return i;
  }
  return -1;
}

Integer NextCustomColorSlot(Integer ColorsCount) {
  return ColorsCount >= 0 && ColorsCount < CustomColorSlots ? ColorsCount : 0;
}

// ---- the hue palette ----------------------------------------------------------

double PaletteDirection(double Px, double Py, double Mx, double My) {
  const double dx = Px - Mx, dy = Py - My;
  if (std::sqrt(dx * dx + dy * dy) < 1e-8) return 0;
  double d = std::atan2(dy, dx) / PaletteDegree;
  if (d < 0) d += 360;
  if (d >= 360) d -= 360;
  return d;
}

double PaletteAngleFromUp(double Px, double Py, double Mx, double My) {
  double a = PaletteDirection(Px, Py, Mx, My) - PaletteDirection(Mx, 0, Mx, My);
  while (a < 0) a += 360;
  while (a >= 360) a -= 360;
  return a;
}

Integer PaletteRoundedAngle(double Px, double Py, double Mx, double My) {
  const Integer a = Integer(Round(PaletteAngleFromUp(Px, Py, Mx, My)));
  return a >= 360 ? 0 : a;
}

const std::array<TRGB, 360>& PaletteRingTable() {
  static const std::array<TRGB, 360> Table = [] {
    std::array<TRGB, 360> T;
    for (Integer i = 0; i < 360; ++i) T[i] = HSLToRGB(THSL{i / 359.0, 1.0, 0.47});
    return T;
  }();
  return Table;
}

TRGB PaletteRingPixel(Integer X, Integer Y) {
  return PaletteRingTable()[359 - PaletteRoundedAngle(X, Y, 98, 98)];
}

TRGB PaletteSquarePixel(double H, Integer X, Integer Y) {
  return HSLToRGB(THSL{H, (X - 44) / 106.0, (Y - 44) / 106.0});
}

TPoint PaletteSquareMarker(const THSL& HSL, Integer PosCar) {
  return TPoint(Integer(Round(106 * HSL.S + 44 + PosCar)), Integer(Round(106 * HSL.L + 44)));
}

TPoint PaletteHueMarker(const THSL& HSL, Integer PosCar) {
  double a = 270 - double(Round(HSL.H * 360));
  while (a < 0) a += 360;
  while (a >= 360) a -= 360;
  double c = std::cos(a * PaletteDegree), s = std::sin(a * PaletteDegree);
  if (std::fabs(87 * c) < 1e-8) {
    c = 0;
    s = std::fabs(a - 90) < 1e-7 ? 1 : -1;
  }
  return TPoint(Integer(Round(97 + PosCar + 87 * c)), Integer(Round(97 + 87 * s)));
}

Byte PaletteRingHueByte(Integer X, Integer Y, Integer PosCar) {
  const Integer t = PaletteRoundedAngle(X, Y, 97 + PosCar, 97);
  return ByteOf((359 - t) / 359.0 * 255);
}

void PaletteSquareBytes(Integer X, Integer Y, Integer PosCar, Byte& S, Byte& L) {
  X = std::clamp(X, PaletteSquareLow + PosCar, PaletteSquareHigh + PosCar);
  Y = std::clamp(Y, PaletteSquareLow, PaletteSquareHigh);
  S = ByteOf((X - PosCar - 44) / 106.0 * 255);
  L = ByteOf((Y - 44) / 106.0 * 255);
}
