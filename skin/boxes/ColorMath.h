// The colour model of the colour controls and the arithmetic of the colour
// grids and the hue palette: conversions between RGB bytes, HSL and HSV, the
// three-view colour TPSPColor, the two colour tables, the cell geometry of
// the grids and the ring, square and marker formulas of the palette.
// Portable: no Windows header.
#pragma once

#include <array>

#include "classlib/UITypes.h"
#include "rtl/System.h"

struct TRGB {
  Byte R = 0, G = 0, B = 0;
  friend bool operator==(const TRGB&, const TRGB&) = default;
};
struct THSL {
  double H = 0, S = 0, L = 0;
  friend bool operator==(const THSL&, const THSL&) = default;
};
struct THSLPSP {
  Byte H = 0, S = 0, L = 0;
  friend bool operator==(const THSLPSP&, const THSLPSP&) = default;
};
// The twelve user colours handed between the custom grid, the colour dialog
// and the colour button; how many of them count travels beside them.
using TspCustomColorValues = std::array<TColor, 12>;
inline constexpr Integer CustomColorSlots = 12;

// The first Count entries of Value go to Dest (index 0 upward), the rest keep
// theirs; the count stored is Count clamped to 0..12 (the count can come
// from a settings file, so nothing past the twelve slots is ever written).
Integer CopyCustomColors(TspCustomColorValues& Dest, const TspCustomColorValues& Value, Integer Count);

void ColorToRGBBytes(TColor AColor, Byte& R, Byte& G, Byte& B);
// R or G shl 8 or B shl 16.
TColor RGBBytesToColor(Byte R, Byte G, Byte B);
void RGBBytesToHSL(Byte R, Byte G, Byte B, double& H, double& S, double& L);
// H 0..359, S 0..100, V 0..100. H is Round(hue * 360) mod 360, the scale
// HSVToRGBBytes reads back; a grey colour (no hue) keeps the H passed in.
void RGBBytesToHSV(Byte R, Byte G, Byte B, Integer& H, Integer& S, Integer& V);
void HSVToRGBBytes(Byte& R, Byte& G, Byte& B, Integer H, Integer S, Integer V);
// HSL (each 0..1) to RGB bytes.
TRGB HSLToRGB(const THSL& HSL);
THSL RGBToHSL(const TRGB& RGB);

// One colour in three synchronised views: RGB bytes, HSL reals and HSL
// bytes. Each setter stores its own view and recomputes the other two.
class TPSPColor : public TObject {
 public:
  TPSPColor() = default;
  void Assign(const TPSPColor& Value);
  // GetRGB: the name RGB is a macro of the Windows headers.
  const TRGB& GetRGB() const { return FRGB; }
  const THSL& HSL() const { return FHSL; }
  const THSLPSP& HSLPSP() const { return FHSLPSP; }
  void SetRGB(const TRGB& Value);
  void SetHSL(const THSL& Value);
  void SetHSLPSP(const THSLPSP& Value);

 private:
  TRGB FRGB;
  THSL FHSL;
  THSLPSP FHSLPSP;
};

// The 48 colours of the basic grid and the 40 of the colour button's menu.
extern const std::array<TColor, 48> BasicColorTable;
extern const std::array<TColor, 40> ButtonColorTable;

// ---- grid cells ---------------------------------------------------------------

// The cells of a colour grid of ColCount x RowCount in the client rect
// Client; only the first TableCount cells have a colour. A grid with fewer
// than one row or column has no cells.
struct TColorGridGeometry {
  TColorGridGeometry(const TRect& Client, Integer ColCount, Integer RowCount, Integer TableCount);
  // How many cells are drawn and hit-tested.
  Integer CellCount() const;
  TPoint Origin(Integer Index) const;
  TRect OuterRect(Integer Index) const;
  TRect PatchRect(Integer Index, bool Selected) const;
  TRect HitRect(Integer Index) const;
  // The first cell (in index order) whose hit rect holds (X, Y), or -1.
  Integer CellAt(Integer X, Integer Y) const;

  Integer ColCount, RowCount, TableCount;
  Integer CellW = 0, CellH = 0, Left = 0, Top = 0;
};

// The next slot AddColor writes: the count itself, wrapped to 0 when it is
// outside 0..11.
Integer NextCustomColorSlot(Integer ColorsCount);

// ---- the hue palette ----------------------------------------------------------

inline constexpr Integer PaletteSize = 195;
inline constexpr Integer PaletteSquareLow = 44, PaletteSquareHigh = 150;

// Direction of (Px, Py) seen from (Mx, My) in degrees, y downward, 0..360;
// 0 within 1e-8 of the centre.
double PaletteDirection(double Px, double Py, double Mx, double My);
// The clockwise angle of (Px, Py) about (Mx, My) from straight up, 0..360.
double PaletteAngleFromUp(double Px, double Py, double Mx, double My);
// The same rounded, 360 taken as 0.
Integer PaletteRoundedAngle(double Px, double Py, double Mx, double My);
// The ring's 360 colours: entry i is HSL(i / 359, 1, 0.47).
const std::array<TRGB, 360>& PaletteRingTable();
// The ring colour of painted pixel (X, Y) (centre (98, 98)).
TRGB PaletteRingPixel(Integer X, Integer Y);
// The square's colour at (X, Y), 44..150 both ways, for hue H.
TRGB PaletteSquarePixel(double H, Integer X, Integer Y);
// Marker centres for the colour's HSL, the square at offset PosCar.
TPoint PaletteSquareMarker(const THSL& HSL, Integer PosCar);
TPoint PaletteHueMarker(const THSL& HSL, Integer PosCar);
// The hue byte the ring gives at (X, Y) (mouse centre (97 + PosCar, 97)).
Byte PaletteRingHueByte(Integer X, Integer Y, Integer PosCar);
// The saturation and lightness bytes the square gives at (X, Y), clamped.
void PaletteSquareBytes(Integer X, Integer Y, Integer PosCar, Byte& S, Byte& L);
