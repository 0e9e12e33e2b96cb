#include "skin/boxes/FontSizes.h"

#include <cstdint>

#include "rtl/Math.h"
#include "rtl/SysUtils.h"

bool FontPassesOptions(TspFontListOptions Options, Integer FontType, Byte CharSet, Byte PitchAndFamily) {
  auto Has = [&](TspFontListOption O) { return (Options & FontOption(O)) != 0; };
  if (Has(foAnsiOnly) && CharSet != sfAnsiCharset) return false;
  if (Has(foTrueTypeOnly) && !(FontType & sfTrueTypeType)) return false;
  if (Has(foFixedPitchOnly) && !(PitchAndFamily & sfFixedPitch)) return false;
  if (Has(foOEMFontsOnly) && CharSet != sfOemCharset) return false;
  if (Has(foNoOEMFonts) && CharSet == sfOemCharset) return false;
  if (Has(foNoSymbolFonts) && CharSet == sfSymbolCharset) return false;
  if (Has(foScalableOnly) && (FontType & sfRasterType)) return false;
  return true;
}

const std::vector<String>& TrueTypeFontSizes() {
  static const std::vector<String> Sizes = {u"8",  u"9",  u"10", u"11", u"12", u"14", u"16", u"18",
                                            u"20", u"22", u"24", u"26", u"28", u"36", u"48", u"72"};
  return Sizes;
}

Integer RasterFontSize(Integer Height, Integer InternalLeading, Integer PixelsPerInch) {
  if (PixelsPerInch <= 0) return 0;
  const double V = static_cast<double>(Height - InternalLeading) * 72.0 / PixelsPerInch;
  return static_cast<Integer>(Round(V));
}

Integer SizeInsertIndex(const std::vector<Integer>& Sizes, Integer Size) {
  for (size_t I = 0; I < Sizes.size(); ++I) {
    if (Sizes[I] == Size) return -1;
    if (Sizes[I] > Size) return static_cast<Integer>(I);
  }
  return static_cast<Integer>(Sizes.size());
}

Integer SizeValueOf(const String& Text) {
  if (Text.empty() || Text == u"-") return 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    const char16_t C = Text[I];
    if (C == u'-') {
      if (I != 0) return 0;
    } else if (C < u'0' || C > u'9') {
      return 0;
    }
  }
  // A number beyond 32 bits reads 0 like any other text that is no size.
  Int64 V = 0;
  if (!TryStrToInt64(Text, V) || V < INT32_MIN || V > INT32_MAX) return 0;
  return static_cast<Integer>(V);
}
