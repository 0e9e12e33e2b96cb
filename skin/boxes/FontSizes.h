// The font boxes' rules that need no device: which enumerated families are
// listed, the number kept with each, the size list of a family, and the
// size a typed text stands for.
// Portable: no Windows header.
#pragma once

#include <vector>

#include "rtl/System.h"

enum TspFontDevice : Byte { fdScreen, fdPrinter, fdBoth };
enum TspFontListOption : Byte {
  foAnsiOnly,
  foTrueTypeOnly,
  foFixedPitchOnly,
  foNoOEMFonts,
  foOEMFontsOnly,
  foScalableOnly,
  foNoSymbolFonts
};
// A set of TspFontListOption as bits (1 << option).
using TspFontListOptions = Cardinal;
inline constexpr TspFontListOptions FontOption(TspFontListOption O) { return 1u << O; }

// The enumeration's numbers the filter reads (the Win32 values).
inline constexpr Integer sfRasterType = 1, sfDeviceType = 2, sfTrueTypeType = 4;
inline constexpr Byte sfAnsiCharset = 0, sfSymbolCharset = 2, sfOemCharset = 255;
inline constexpr Byte sfFixedPitch = 1;

// Whether a family enumerated with these numbers is listed under Options.
bool FontPassesOptions(TspFontListOptions Options, Integer FontType, Byte CharSet, Byte PitchAndFamily);
// The number kept with a listed family: the font type bits, plus 256 when
// the family's character set is not the symbol set.
inline Integer FontItemData(Integer FontType, Byte CharSet) {
  return FontType + (CharSet != sfSymbolCharset ? 256 : 0);
}

// The sixteen point sizes of a scalable family, in their order.
const std::vector<String>& TrueTypeFontSizes();
// A raster size in points: (Height - InternalLeading) * 72 / PixelsPerInch,
// rounded halves to even.
Integer RasterFontSize(Integer Height, Integer InternalLeading, Integer PixelsPerInch);
// Where Size goes into an ascending list of sizes: the index before the
// first larger one (Sizes.size() to append), or -1 when it is present.
Integer SizeInsertIndex(const std::vector<Integer>& Sizes, Integer Size);

// The size a font-size box's text stands for. Edit style: the number when
// the text is one (not empty, not "-" alone, decimal digits and a minus
// sign only as the first character) and fits a 32-bit integer, else 0.
// Fixed style reads the selected item the same way (0 without one).
Integer SizeValueOf(const String& Text);
