// Font families, fonts and string formats.
#include "gdiplus/win/GdiPlus.h"
#include "gdiplus/win/GdiPlusShared.h"

using namespace gdipflat;
using namespace gdiplus_shared;

// ---------------------------------------------------------------------------
// Families

TGPFontFamily::TGPFontFamily(const String& Name, const IGPFontCollection& Collection) {
  GpFontFamily* f = nullptr;
  if (Gp.GdipCreateFontFamilyFromName(Name.c_str(), GPHandle<GpFontCollection>(Collection), &f) != Ok)
    f = nullptr;
  if (f == nullptr) {
    // A face no installed font has: the generic sans-serif face, so text
    // never disappears.
    IGPFontFamily sans = GenericSansSerif();
    if (sans && sans->Native() != nullptr) Gp.GdipCloneFontFamily(sans->Native(), &f);
  }
  FNativeHandle = f;
}

TGPFontFamily* TGPFontFamily::Wrap(GpFontFamily* Handle) {
  TGPFontFamily* f = new TGPFontFamily();
  f->FNativeHandle = Handle;
  return f;
}


IGPFontFamily TGPFontFamily::GenericSansSerif() {
  return GetShared(FamilySansSerif, [] {
    GpFontFamily* f = nullptr;
    Gp.GdipGetGenericFontFamilySansSerif(&f);
    return Wrap(f);
  });
}

IGPFontFamily TGPFontFamily::GenericSerif() {
  return GetShared(FamilySerif, [] {
    GpFontFamily* f = nullptr;
    Gp.GdipGetGenericFontFamilySerif(&f);
    return Wrap(f);
  });
}

IGPFontFamily TGPFontFamily::GenericMonospace() {
  return GetShared(FamilyMonospace, [] {
    GpFontFamily* f = nullptr;
    Gp.GdipGetGenericFontFamilyMonospace(&f);
    return Wrap(f);
  });
}

TGPFontFamily::~TGPFontFamily() { Gp.GdipDeleteFontFamily(Native()); }

String TGPFontFamily::GetFamilyName(Word Language) {
  gdipflat::WCHAR name[33] = {};
  Gp.GdipGetFamilyName(Native(), name, Language);
  name[32] = 0;
  return String(name);
}

IGPFontFamily TGPFontFamily::Clone() {
  GpFontFamily* f = nullptr;
  Gp.GdipCloneFontFamily(Native(), &f);
  return Wrap(f);
}

bool TGPFontFamily::IsStyleAvailable(TGPFontStyle Style) {
  BOOL r = 0;
  if (Gp.GdipIsStyleAvailable(Native(), Style, &r) != Ok) return false;
  return r != 0;
}

#define LUMIGRA_FAMILY_METRIC(Name, Flat)          \
  Word TGPFontFamily::Name(TGPFontStyle Style) {   \
    UINT16 v = 0;                                  \
    Gp.Flat(Native(), Style, &v);                 \
    return v;                                      \
  }
LUMIGRA_FAMILY_METRIC(GetEmHeight, GdipGetEmHeight)
LUMIGRA_FAMILY_METRIC(GetCellAscent, GdipGetCellAscent)
LUMIGRA_FAMILY_METRIC(GetCellDescent, GdipGetCellDescent)
LUMIGRA_FAMILY_METRIC(GetLineSpacing, GdipGetLineSpacing)
#undef LUMIGRA_FAMILY_METRIC

// ---------------------------------------------------------------------------
// Fonts

TGPFont::TGPFont(const IGPFontFamily& Family, Single EmSize, TGPFontStyle Style, TGPUnit Unit) {
  GpFont* f = nullptr;
  Gp.GdipCreateFont(GPHandle<GpFontFamily>(Family), EmSize, Style, Unit, &f);
  FNativeHandle = f;
}

TGPFont::TGPFont(const String& FamilyName, Single EmSize, TGPFontStyle Style, TGPUnit Unit,
                 const IGPFontCollection& Collection) {
  GpFont* f = nullptr;
  {
    IGPFontFamily family(new TGPFontFamily(FamilyName, Collection));
    if (Gp.GdipCreateFont(family->Native(), EmSize, Style, Unit, &f) != Ok) f = nullptr;
  }
  if (f == nullptr) {
    IGPFontFamily sans = TGPFontFamily::GenericSansSerif();
    if (Gp.GdipCreateFont(sans->Native(), EmSize, Style, Unit, &f) != Ok) f = nullptr;
  }
  FNativeHandle = f;
}

TGPFont::~TGPFont() { Gp.GdipDeleteFont(Native()); }

TGPFontStyle TGPFont::GetStyle() {
  INT s = 0;
  Gp.GdipGetFontStyle(Native(), &s);
  return s;
}

Single TGPFont::GetSize() {
  REAL s = 0;
  Gp.GdipGetFontSize(Native(), &s);
  return s;
}

TGPUnit TGPFont::GetUnit() {
  INT u = 0;
  Gp.GdipGetFontUnit(Native(), &u);
  return TGPUnit(u);
}

IGPFontFamily TGPFont::GetFamily() {
  GpFontFamily* f = nullptr;
  Gp.GdipGetFamily(Native(), &f);
  return TGPFontFamily::Wrap(f);
}

IGPFont TGPFont::Clone() {
  GpFont* f = nullptr;
  Gp.GdipCloneFont(Native(), &f);
  return new TGPFont(TWrapTag{}, f);
}

Single TGPFont::GetHeight(const IGPGraphics& G) {
  REAL h = 0;
  Gp.GdipGetFontHeight(Native(), GPHandle<GpGraphics>(G), &h);
  return h;
}

Single TGPFont::GetHeight(Single Dpi) {
  REAL h = 0;
  Gp.GdipGetFontHeightGivenDPI(Native(), Dpi, &h);
  return h;
}

// ---------------------------------------------------------------------------
// String formats

TGPStringFormat::TGPStringFormat(TGPStringFormatFlags Flags, Word Language) {
  GpStringFormat* f = nullptr;
  Gp.GdipCreateStringFormat(Flags, Language, &f);
  FNativeHandle = f;
}

TGPStringFormat::TGPStringFormat(const IGPStringFormat& Format) {
  GpStringFormat* f = nullptr;
  Gp.GdipCloneStringFormat(GPHandle<GpStringFormat>(Format), &f);
  FNativeHandle = f;
}

IGPStringFormat TGPStringFormat::GenericDefault() {
  return GetShared(FormatDefault, [] {
    GpStringFormat* f = nullptr;
    Gp.GdipStringFormatGetGenericDefault(&f);
    return new TGPStringFormat(TWrapTag{}, f);
  });
}

IGPStringFormat TGPStringFormat::GenericTypographic() {
  return GetShared(FormatTypographic, [] {
    GpStringFormat* f = nullptr;
    Gp.GdipStringFormatGetGenericTypographic(&f);
    return new TGPStringFormat(TWrapTag{}, f);
  });
}

TGPStringFormat::~TGPStringFormat() { Gp.GdipDeleteStringFormat(Native()); }

#define LUMIGRA_FORMAT_INT_PROP(Get, Set, FlatGet, FlatSet) \
  Integer TGPStringFormat::Get() {                          \
    INT v = 0;                                              \
    Gp.FlatGet(Native(), &v);                              \
    return v;                                               \
  }                                                         \
  void TGPStringFormat::Set(Integer V) { Gp.FlatSet(Native(), V); }
LUMIGRA_FORMAT_INT_PROP(GetFormatFlags, SetFormatFlags, GdipGetStringFormatFlags, GdipSetStringFormatFlags)
LUMIGRA_FORMAT_INT_PROP(GetAlignment, SetAlignment, GdipGetStringFormatAlign, GdipSetStringFormatAlign)
LUMIGRA_FORMAT_INT_PROP(GetLineAlignment, SetLineAlignment, GdipGetStringFormatLineAlign, GdipSetStringFormatLineAlign)
LUMIGRA_FORMAT_INT_PROP(GetHotkeyPrefix, SetHotkeyPrefix, GdipGetStringFormatHotkeyPrefix, GdipSetStringFormatHotkeyPrefix)
LUMIGRA_FORMAT_INT_PROP(GetTrimming, SetTrimming, GdipGetStringFormatTrimming, GdipSetStringFormatTrimming)
#undef LUMIGRA_FORMAT_INT_PROP

Integer TGPStringFormat::GetMeasurableCharacterRangeCount() {
  INT n = 0;
  Gp.GdipGetStringFormatMeasurableCharacterRangeCount(Native(), &n);
  return n;
}

IGPStringFormat TGPStringFormat::Clone() {
  GpStringFormat* f = nullptr;
  Gp.GdipCloneStringFormat(Native(), &f);
  return new TGPStringFormat(TWrapTag{}, f);
}

IGPArray<Single> TGPStringFormat::GetTabStops(Single& FirstTabOffset) {
  INT n = 0;
  Gp.GdipGetStringFormatTabStopCount(Native(), &n);
  IGPArray<Single> a(new TGPArray<Single>(n));
  if (n > 0) Gp.GdipGetStringFormatTabStops(Native(), n, &FirstTabOffset, a->GetItemPtr());
  return a;
}

void TGPStringFormat::SetTabStops(Single FirstTabOffset, const std::vector<Single>& Stops) {
  GP_ASSERT(!Stops.empty());
  Gp.GdipSetStringFormatTabStops(Native(), FirstTabOffset, INT(Stops.size()), Stops.data());
}
