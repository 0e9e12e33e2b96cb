// The 28 blend modes.
#include "bitmap/Bmp32_Add_BlendModes.h"

#include <cmath>

#include "bitmap/Bmp32_Engine.h"

Byte SqrtTable[65536];
Cardinal BlendMap[65536];
TObject* BlendModeOwner = nullptr;

namespace {

// Per-channel target value X of a mode.
#define CHANNEL_MODE(Name, Expr)                                   \
  struct Name {                                                    \
    static constexpr bool Glow = false;                            \
    static Integer X(Integer Fc, Integer Bc) {                     \
      (void)Fc;                                                    \
      (void)Bc;                                                    \
      return Expr;                                                 \
    }                                                              \
    static void Targets(TColor32 F, TColor32 B, Integer* X3) {     \
      for (int s = 0; s < 3; ++s)                                  \
        X3[s] = X(Integer((F >> (16 - 8 * s)) & 0xFF), Integer((B >> (16 - 8 * s)) & 0xFF)); \
    }                                                              \
  };

Integer MinI(Integer a, Integer b) { return a < b ? a : b; }
Integer MaxI(Integer a, Integer b) { return a > b ? a : b; }
Integer AbsI(Integer a) { return a < 0 ? -a : a; }
Integer SoftLight(Integer Fc, Integer Bc) {
  Integer m = (Bc * Fc) >> 8;
  Integer s = ((255 - Bc) * (255 - Fc)) >> 8;
  return m + (((255 - s - m) * Bc) >> 8);
}

CHANNEL_MODE(MNormal, Fc)
CHANNEL_MODE(MMultiply, (Bc * Fc) >> 8)
CHANNEL_MODE(MScreen, 255 - (((255 - Bc) * (255 - Fc)) >> 8))
CHANNEL_MODE(MOverlay, Bc < 128 ? (Bc * Fc) >> 7 : 255 - (((255 - Fc) * (255 - Bc)) >> 7))
CHANNEL_MODE(MReflect, Fc == 255 ? 255 : MinI(255, (Bc * Bc) / (255 - Fc)))
CHANNEL_MODE(MSoftLight, SoftLight(Fc, Bc))
CHANNEL_MODE(MBrightLight, SqrtTable[Fc * Bc])
CHANNEL_MODE(MHardLight, Fc < 128 ? (Bc * Fc) >> 7 : 255 - (((255 - Fc) * (255 - Bc)) >> 7))
CHANNEL_MODE(MColorDodge, Fc == 255 ? 255 : MinI(255, (Bc * 256) / (255 - Fc)))
CHANNEL_MODE(MColorBurn, Fc == 0 ? 0 : MaxI(0, 255 - ((255 - Bc) * 256) / Fc))
CHANNEL_MODE(MLighten, MaxI(Fc, Bc))
CHANNEL_MODE(MDarken, MinI(Fc, Bc))
CHANNEL_MODE(MAdditive, MinI(255, Fc + Bc))
CHANNEL_MODE(MSubtractive, MaxI(0, Fc + Bc - 256))
CHANNEL_MODE(MAverage, (Fc + Bc) >> 1)
CHANNEL_MODE(MDifference, AbsI(Bc - Fc))
CHANNEL_MODE(MExclusion, Fc + Bc - ((Bc * Fc) >> 7))
CHANNEL_MODE(MNegation, 255 - AbsI(255 - Bc - Fc))
CHANNEL_MODE(MHeat, Bc == 0 ? 0 : 255 - MinI(255, ((255 - Fc) * (255 - Fc)) / Bc))
CHANNEL_MODE(MFreeze, Fc == 0 ? 0 : 255 - MinI(255, ((255 - Bc) * (255 - Bc)) / Fc))

struct MGlow {
  static constexpr bool Glow = true;
  static void Targets(TColor32 F, TColor32 B, Integer* X3) {
    for (int s = 0; s < 3; ++s) {
      Integer Fc = Integer((F >> (16 - 8 * s)) & 0xFF), Bc = Integer((B >> (16 - 8 * s)) & 0xFF);
      X3[s] = Bc == 255 ? 255 : MinI(255, (Fc * Fc) / (255 - Bc));
    }
  }
};

// Red / green / blue: one channel from F, the others stay.
template <int Channel>  // 0 red, 1 green, 2 blue
struct MChannel {
  static constexpr bool Glow = false;
  static void Targets(TColor32 F, TColor32 B, Integer* X3) {
    for (int s = 0; s < 3; ++s) {
      TColor32 src = s == Channel ? F : B;
      X3[s] = Integer((src >> (16 - 8 * s)) & 0xFF);
    }
  }
};

// Hue / saturation / lightness: 0 takes F's hue, 1 F's saturation, 2 F's lightness.
template <int Component>
struct MHsl {
  static constexpr bool Glow = false;
  static void Targets(TColor32 F, TColor32 B, Integer* X3) {
    Single fh, fs, fl, bh, bs, bl;
    RGBtoHSLFloat(F, fh, fs, fl);
    RGBtoHSLFloat(B, bh, bs, bl);
    TColor32 c = HSLtoRGB(Component == 0 ? fh : bh, Component == 1 ? fs : bs, Component == 2 ? fl : bl);
    X3[0] = Integer((c >> 16) & 0xFF);
    X3[1] = Integer((c >> 8) & 0xFF);
    X3[2] = Integer(c & 0xFF);
  }
};

struct MCustomMap {
  static constexpr bool Glow = false;
  static void Targets(TColor32 F, TColor32 B, Integer* X3) {
    X3[0] = Integer((BlendMap[((F >> 16) & 0xFF) * 256 + ((B >> 16) & 0xFF)] >> 16) & 0xFF);
    X3[1] = Integer((BlendMap[((F >> 8) & 0xFF) * 256 + ((B >> 8) & 0xFF)] >> 8) & 0xFF);
    X3[2] = Integer(BlendMap[(F & 0xFF) * 256 + (B & 0xFF)] & 0xFF);
  }
};

template <class Mode>
inline void CombinePixel(TColor32 F, TColor32& B, TColor32 M) {
  Integer w = Integer(((M & 0xFF) * (F >> 24)) >> 8);
  if (w == 0) return;
  Integer X[3];
  Mode::Targets(F, B, X);
  TColor32 r = B & 0xFF000000u;
  for (int s = 0; s < 3; ++s) {
    int shift = 16 - 8 * s;
    Integer Bc = Integer((B >> shift) & 0xFF);
    Integer c;
    if constexpr (Mode::Glow) c = (X[s] * w + Bc * (255 - w)) >> 8;
    else c = Bc + (((X[s] - Bc) * w) >> 8);  // arithmetic shift: floor
    r |= TColor32(c & 0xFF) << shift;
  }
  B = r;
}

template <class Mode>
void ModeRow(const TColor32* F, TColor32* B, Integer Count, TColor32 M) {
  for (Integer i = 0; i < Count; ++i) CombinePixel<Mode>(F[i], B[i], M);
}

void InitTables() {
  for (Integer i = 0; i < 65536; ++i) {
    double r = std::nearbyint(std::sqrt(double(i)));
    SqrtTable[i] = Byte(Integer(r) & 0xFF);
  }
  for (Cardinal f = 0; f < 256; ++f)
    for (Cardinal b = 0; b < 256; ++b) BlendMap[f * 256 + b] = f | (f << 8) | (f << 16);
}

const bool BlendModesRegistered = (RegisterEngineUnit("Bmp32_Add_BlendModes", InitializeBlendModes, nullptr), true);

const char16_t* const BlendModeNames[BlendModeCount] = {
    u"Normal",     u"Multiply",    u"Screen",      u"Overlay",     u"Reflect",   u"Soft Light",
    u"Bright Light", u"Hard Light", u"Color Dodge", u"Color Burn",  u"Lighten",   u"Darken",
    u"Additive",   u"Subtractive", u"Average",     u"Difference",  u"Exclusion", u"Negation",
    u"Glow",       u"Heat",        u"Freeze",      u"Red",         u"Green",     u"Blue",
    u"Hue",        u"Saturation",  u"Lightness",   u"Custom BlendMap"};


}  // namespace


#define DEFINE_MODE(Func, Mode) \
  void Func(TColor32 F, TColor32& B, TColor32 M) { CombinePixel<Mode>(F, B, M); }

DEFINE_MODE(BlendNormal, MNormal)
DEFINE_MODE(BlendMultiply, MMultiply)
DEFINE_MODE(BlendScreen, MScreen)
DEFINE_MODE(BlendOverlay, MOverlay)
DEFINE_MODE(BlendReflect, MReflect)
DEFINE_MODE(BlendSoftLight, MSoftLight)
DEFINE_MODE(BlendBrightLight, MBrightLight)
DEFINE_MODE(BlendHardLight, MHardLight)
DEFINE_MODE(BlendColorDodge, MColorDodge)
DEFINE_MODE(BlendColorBurn, MColorBurn)
DEFINE_MODE(BlendLighten, MLighten)
DEFINE_MODE(BlendDarken, MDarken)
DEFINE_MODE(BlendAdditive, MAdditive)
DEFINE_MODE(BlendSubtractive, MSubtractive)
DEFINE_MODE(BlendAverage, MAverage)
DEFINE_MODE(BlendDifference, MDifference)
DEFINE_MODE(BlendExclusion, MExclusion)
DEFINE_MODE(BlendNegation, MNegation)
DEFINE_MODE(BlendGlow, MGlow)
DEFINE_MODE(BlendHeat, MHeat)
DEFINE_MODE(BlendFreeze, MFreeze)
DEFINE_MODE(BlendRed, MChannel<0>)
DEFINE_MODE(BlendGreen, MChannel<1>)
DEFINE_MODE(BlendBlue, MChannel<2>)
DEFINE_MODE(BlendHue, MHsl<0>)
DEFINE_MODE(BlendSaturation, MHsl<1>)
DEFINE_MODE(BlendLightness, MHsl<2>)
DEFINE_MODE(BlendCustomMap, MCustomMap)

const TBlendModeCombiner BlendModeCombiners[BlendModeCount] = {
    BlendNormal,   BlendMultiply,   BlendScreen,     BlendOverlay,    BlendReflect,   BlendSoftLight,
    BlendBrightLight, BlendHardLight, BlendColorDodge, BlendColorBurn, BlendLighten,   BlendDarken,
    BlendAdditive, BlendSubtractive, BlendAverage,   BlendDifference, BlendExclusion, BlendNegation,
    BlendGlow,     BlendHeat,       BlendFreeze,     BlendRed,        BlendGreen,     BlendBlue,
    BlendHue,      BlendSaturation, BlendLightness,  BlendCustomMap};

const TBlendModeRow BlendModeRows[BlendModeCount] = {
    ModeRow<MNormal>,      ModeRow<MMultiply>,   ModeRow<MScreen>,     ModeRow<MOverlay>,
    ModeRow<MReflect>,     ModeRow<MSoftLight>,  ModeRow<MBrightLight>, ModeRow<MHardLight>,
    ModeRow<MColorDodge>,  ModeRow<MColorBurn>,  ModeRow<MLighten>,    ModeRow<MDarken>,
    ModeRow<MAdditive>,    ModeRow<MSubtractive>, ModeRow<MAverage>,   ModeRow<MDifference>,
    ModeRow<MExclusion>,   ModeRow<MNegation>,   ModeRow<MGlow>,       ModeRow<MHeat>,
    ModeRow<MFreeze>,      ModeRow<MChannel<0>>, ModeRow<MChannel<1>>, ModeRow<MChannel<2>>,
    ModeRow<MHsl<0>>,      ModeRow<MHsl<1>>,     ModeRow<MHsl<2>>,     ModeRow<MCustomMap>};

void InitializeBlendModes() {
  (void)BlendModesRegistered;
  InitTables();
}

TStringList* GetBlendModeList() {
  auto* L = new TStringList();
  for (auto* n : BlendModeNames) L->Add(String(n));
  return L;
}

void GetBlendModeCombiner(Integer Index, TPixelCombineEvent& Event) {
  if (Index >= 0 && Index < BlendModeCount) Event = BlendModeCombiners[Index];
  else if (Index == -1) Event = nullptr;
}

TBlendModeRow FindBlendModeRow(const TPixelCombineEvent& Event) {
  if (!Event) return nullptr;
  const TBlendModeCombiner* f = Event.target<TBlendModeCombiner>();
  if (!f) return nullptr;
  for (Integer i = 0; i < BlendModeCount; ++i)
    if (*f == BlendModeCombiners[i]) return BlendModeRows[i];
  return nullptr;
}
