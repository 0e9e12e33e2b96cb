#include "document/EffectRecipes.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bitmap/Bmp32_Add_BlendModes.h"
#include "bitmap/Bmp32_Filters.h"
#include "bitmap/SharpenLib32.h"
#include "bitmap/VaZU32Vudover.h"
#include "rtl/Classes.h"

Integer PercentAlpha(Integer Value) { return std::clamp(RoundRatio(Value, 255, 100), 0, 255); }

TColor32 HueColor(Integer Degrees) { return HSLtoRGB(Single(Degrees) / 360.0f, 1.0f, 0.5f); }

Integer BlendModeIndex(const String& Name) {
  std::unique_ptr<TStringList> names(GetBlendModeList());
  return names->IndexOf(Name);
}

namespace {

// The modes the recipes name, looked up once.
struct TLayerModes {
  Integer Normal, Screen, Overlay, Reflect, SoftLight, ColorBurn, Darken, Freeze;
  TLayerModes()
      : Normal(BlendModeIndex(u"Normal")),
        Screen(BlendModeIndex(u"Screen")),
        Overlay(BlendModeIndex(u"Overlay")),
        Reflect(BlendModeIndex(u"Reflect")),
        SoftLight(BlendModeIndex(u"Soft Light")),
        ColorBurn(BlendModeIndex(u"Color Burn")),
        Darken(BlendModeIndex(u"Darken")),
        Freeze(BlendModeIndex(u"Freeze")) {}
};

const TLayerModes& Modes() {
  static const TLayerModes m;
  return m;
}

Integer ClampAlpha(Integer A) { return std::clamp(A, 0, 255); }

// Rows of a layer (RowOf(y)) combined into Dst's first W x H pixels through
// a mode of the engine's list.
template <class TRowOf>
void CombineRows(TCustomBitmap32* Dst, Integer ModeIndex, Integer W, Integer H, TRowOf RowOf) {
  TPixelCombineEvent event;
  GetBlendModeCombiner(ModeIndex, event);
  if (!event || W <= 0 || H <= 0) return;
  const TBlendModeRow row = FindBlendModeRow(event);
  for (Integer y = 0; y < H; ++y) {
    const TColor32* f = RowOf(y);
    TColor32* b = Dst->ScanLine(y);
    if (row) {
      row(f, b, W, 255);
    } else {
      for (Integer x = 0; x < W; ++x) event(f[x], b[x], 255);
    }
  }
}

// A layer of one colour over the copy, drawn through a mode: every row of
// such a layer is the same, so one row stands for all of them.
void ColorLayer(TCustomBitmap32* Copy, TColor32 Color, Integer Alpha, Integer Mode) {
  const Integer w = Copy->Width();
  if (w <= 0) return;
  const std::vector<TColor32> layerRow(size_t(w), (Color & 0x00FFFFFFu) | (TColor32(ClampAlpha(Alpha)) << 24));
  CombineRows(Copy, Mode, w, Copy->Height(), [&](Integer) { return layerRow.data(); });
}

// A grey copy of Src (alpha kept) into Layer.
void GreyLayer(TCustomBitmap32* Layer, TCustomBitmap32* Src) {
  Layer->SetSize(Src->Width(), Src->Height());
  ColorToGrayscale(Layer, Src, true);
}

bool IsStyleEffect(TEffectMode M) { return M >= TEffectMode::emStyleSunshine && M <= TEffectMode::emStyleHeart; }

void RunStyleEffect(TEffectMode Mode, TCustomBitmap32* Copy, Integer Value, TCustomBitmap32* Mask) {
  // Without its texture the style has no layer: the copy stays as it is.
  if (Mask == nullptr || Mask->Empty() || Copy->Empty()) return;
  const TLayerModes& m = Modes();
  if (Mode == TEffectMode::emStyleSnow) {
    ExpBlur(Copy, 2);
    AdjustBrightness(Copy, -30);
    AdjustHueSaturation(Copy, 0, -50);
  }
  TCustomBitmap32 layer;
  ResizeBitmap(Mask, &layer, Copy->Width(), Copy->Height());
  SetLayerAlpha(&layer, PercentAlpha(Value));
  Integer mode = m.Screen;
  if (Mode == TEffectMode::emStyleSunshine) mode = m.Reflect;
  if (Mode == TEffectMode::emStyleStar) mode = m.SoftLight;
  DrawLayer(Copy, &layer, mode);
}

}  // namespace

void FillLayer(TCustomBitmap32* Layer, Integer W, Integer H, TColor32 Color, Integer Alpha) {
  Layer->SetSize(std::max(W, 0), std::max(H, 0));
  Layer->Clear((Color & 0x00FFFFFFu) | (TColor32(ClampAlpha(Alpha)) << 24));
}

void SetLayerAlpha(TCustomBitmap32* Layer, Integer Alpha) {
  const TColor32 a = TColor32(ClampAlpha(Alpha)) << 24;
  TColor32* p = Layer->Bits();
  const size_t n = size_t(Layer->Width()) * size_t(Layer->Height());
  for (size_t i = 0; i < n; ++i) p[i] = (p[i] & 0x00FFFFFFu) | a;
}

void DrawLayer(TCustomBitmap32* Dst, const TCustomBitmap32* Layer, Integer ModeIndex) {
  CombineRows(Dst, ModeIndex, std::min(Dst->Width(), Layer->Width()), std::min(Dst->Height(), Layer->Height()),
              [&](Integer y) { return Layer->ScanLine(y); });
}

void BlendLayer(TCustomBitmap32* Dst, TCustomBitmap32* Layer) {
  Layer->SetDrawMode(dmBlend);
  Layer->SetCombineMode(cmBlend);
  Dst->Draw(0, 0, Layer);
}

bool RunEffectDo(TEffectMode Mode, TCustomBitmap32* Copy, Integer Value, bool OptionChecked,
                 const TEffectInputs& In) {
  const TLayerModes& m = Modes();
  switch (Mode) {
    case TEffectMode::emBlur:
      ExpBlur(Copy, Value);
      return true;
    case TEffectMode::emSharpen:
      for (Integer i = 0; i < Value; ++i) Sharpen(Copy, 0);
      return true;
    case TEffectMode::emAddNoise:
      AddNoise(Copy, Cardinal(std::max(Value, 0)) * 3u, OptionChecked);
      return true;
    case TEffectMode::emDenoising:
      SelectiveSmooth(Copy, 3, Value);
      return true;
    case TEffectMode::emGrayscale:
      ColorToGrayscale(Copy, Copy, true);
      return true;
    case TEffectMode::emInvert:
      InvertRGB(Copy, Copy);
      return true;
    case TEffectMode::emSoften:
      BoxSmooth(Copy, Value + 1, In.CanvasColor);
      return true;
    case TEffectMode::emIncreaseLight:
      ColorLayer(Copy, 0xFFFFFFFFu, PercentAlpha(Value), m.SoftLight);
      return true;
    case TEffectMode::emReduceLight:
      ColorLayer(Copy, 0xFF000000u, PercentAlpha(Value), m.SoftLight);
      return true;
    case TEffectMode::emColdBlue:
    case TEffectMode::emColdGreen:
    case TEffectMode::emWarmRed:
    case TEffectMode::emWarmYellow: {
      const Integer hue = Mode == TEffectMode::emColdBlue    ? 210
                          : Mode == TEffectMode::emColdGreen ? 150
                          : Mode == TEffectMode::emWarmRed   ? 10
                                                             : 50;
      BoxSmooth(Copy, 4, In.CanvasColor);
      AdjustContrast(Copy, 60);
      AdjustHueSaturation(Copy, 0, -100);
      ColorLayer(Copy, HueColor(hue), Value, m.Overlay);
      AdjustBrightness(Copy, -20);
      ColorLayer(Copy, 0xFFFFFFFFu, 166, m.SoftLight);
      return true;
    }
    case TEffectMode::emYellowing:
      ColorLayer(Copy, 0xFFFFFF00u, RoundRatio(std::abs(Value), 175, 100), m.ColorBurn);
      return true;
    case TEffectMode::emFreeze: {
      TCustomBitmap32 layer;
      GreyLayer(&layer, Copy);
      SetLayerAlpha(&layer, PercentAlpha(Value));
      DrawLayer(Copy, &layer, m.Freeze);
      return true;
    }
    case TEffectMode::emAttemper:
      ColorLayer(Copy, Color32(Value > 0 ? TColor(0x2F6AAA) : TColor(0xDF8204)), PercentAlpha(std::abs(Value)),
                 m.SoftLight);
      return true;
    default:
      if (IsStyleEffect(Mode)) {
        RunStyleEffect(Mode, Copy, Value, In.MaskBmp);
        return true;
      }
      return false;
  }
}

bool RunEffectDoFrom(TEffectMode Mode, TCustomBitmap32* Src, TCustomBitmap32* Dst, Integer Value,
                     bool OptionChecked, const TEffectInputs& In) {
  if (Src == Dst) return RunEffectDo(Mode, Dst, Value, OptionChecked, In);
  switch (Mode) {
    case TEffectMode::emGrayscale:
      ColorToGrayscale(Dst, Src, true);
      return true;
    case TEffectMode::emInvert:
      InvertRGB(Dst, Src);
      return true;
    default:
      Dst->SetSize(Src->Width(), Src->Height());
      if (!Src->Empty()) std::copy_n(Src->Bits(), size_t(Src->Width()) * size_t(Src->Height()), Dst->Bits());
      Dst->Changed();
      return RunEffectDo(Mode, Dst, Value, OptionChecked, In);
  }
}

bool RunEffectDo2(TEffectMode Mode, TCustomBitmap32* Copy, Integer Value1, Integer Value2, Integer Value3,
                  Integer Value4, TColor32 ValueColor, Integer ValueBlendMode) {
  const TLayerModes& m = Modes();
  switch (Mode) {
    case TEffectMode::emMonochrome:
      ColorToGrayscale(Copy, Copy, true);
      ColorLayer(Copy, HueColor(Value2), PercentAlpha(Value1), m.SoftLight);
      return true;
    case TEffectMode::emLomo: {
      AddNoise(Copy, Cardinal(std::max(Value2, 0)), true);
      ColorLayer(Copy, 0xFF7F7F7Fu, PercentAlpha(Value3), m.Freeze);
      ColorLayer(Copy, HueColor(Value4), 60, m.SoftLight);
      TCustomBitmap32 layer;
      FillLayer(&layer, Copy->Width(), Copy->Height(), 0xFF000000u, 255);
      VignetteAlpha(&layer, Value1);
      DrawLayer(Copy, &layer, m.Darken);
      return true;
    }
    case TEffectMode::emGlow: {
      TCustomBitmap32 layer;
      FillLayer(&layer, Copy->Width(), Copy->Height(), ValueColor, 255);
      EdgeVignetteAlpha(&layer, Copy, Value1, Value2);
      BlendLayer(Copy, &layer);
      return true;
    }
    case TEffectMode::emOldPhoto: {
      TCustomBitmap32 layer;
      GreyLayer(&layer, Copy);
      ColorLayer(&layer, HueColor(30), 255, m.SoftLight);
      SetLayerAlpha(&layer, PercentAlpha(Value1));
      AddNoise(&layer, Cardinal(std::max(Value2, 0)), true);
      BlendLayer(Copy, &layer);
      return true;
    }
    case TEffectMode::emElegant: {
      TCustomBitmap32 layer;
      GreyLayer(&layer, Copy);
      SetLayerAlpha(&layer, PercentAlpha(Value1));
      AdjustHueSaturation(Copy, 0, Value2 - 100);
      DrawLayer(Copy, &layer, m.Overlay);
      return true;
    }
    case TEffectMode::emBlendMode:
      ColorLayer(Copy, ValueColor, PercentAlpha(Value1), ValueBlendMode);
      return true;
    default:
      return false;
  }
}

bool RunEffectDoDirection(TEffectMode Mode, TCustomBitmap32* Copy, Integer Value, Integer Direction,
                          bool OptionChecked) {
  switch (Mode) {
    case TEffectMode::emFade:
      FadeEdges(Copy, Value, Direction);
      return true;
    case TEffectMode::emTorn:
      TearEdges(Copy, Value, Direction, OptionChecked);
      return true;
    case TEffectMode::emBevel:
      BevelEdges(Copy, Value, Direction);
      return true;
    default:
      return false;
  }
}

void RunImageAdjust(TCustomBitmap32* Copy, const TImageAdjustAmounts& A, TColorBalance* Balance) {
  if (A.Brightness != 0) AdjustBrightness(Copy, A.Brightness);
  if (A.Contrast != 0) AdjustContrast(Copy, A.Contrast);
  if (A.Hue != 0 || A.Saturation != 0) AdjustHueSaturation(Copy, A.Hue, A.Saturation);
  if (A.Lightness != 0) AdjustLightness(Copy, A.Lightness);
  if (Balance && (A.BalanceRed != 0 || A.BalanceGreen != 0 || A.BalanceBlue != 0)) {
    Balance->SetSourceBitmap(Copy);
    Balance->SetPreserveLuminosity(A.BalanceLuminosity);
    Balance->SetCyanRed(A.BalanceRed);
    Balance->SetMagentaGreen(A.BalanceGreen);
    Balance->SetYellowBlue(A.BalanceBlue);
    Balance->Execute(Copy);
  }
}

bool EffectDo2UsesSelection(TEffectMode Mode) {
  return Mode == TEffectMode::emMonochrome || Mode == TEffectMode::emElegant;
}

bool EffectMergesSelection(TEffectMode Mode) {
  const Integer v = Integer(Mode);
  return !(v >= Integer(TEffectMode::emLomo) && v <= Integer(TEffectMode::emBevel)) &&
         !(v >= Integer(TEffectMode::emRotate) && v <= Integer(TEffectMode::emTransform));
}

void CopyInRegion(const TRegion& Region, const TCustomBitmap32* Src, TCustomBitmap32* Dest, const TPoint& Origin) {
  TRect placed(Origin.X, Origin.Y, Origin.X + Src->Width(), Origin.Y + Src->Height());
  TRect area;
  if (!IntersectRects(area, placed, Dest->BoundsRect()) || area.Width() <= 0 || area.Height() <= 0) return;
  for (const TRect& q : Region.Rects()) {
    if (q.Top >= area.Bottom) break;
    TRect r;
    if (!IntersectRects(r, q, area) || r.Width() <= 0 || r.Height() <= 0) continue;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      std::copy_n(Src->PixelPtr(r.Left - Origin.X, y - Origin.Y), r.Width(), Dest->PixelPtr(r.Left, y));
  }
}

bool RunEffectBrushPicture(TEffectMode Mode, TCustomBitmap32* Copy, Cardinal Value, bool CanvasTransparent,
                           TColor32 CanvasColor) {
  switch (Mode) {
    case TEffectMode::emMosaic:
      Mosaic(Copy, Integer(Value), CanvasTransparent, CanvasColor);
      return true;
    case TEffectMode::emBlurring:
      ExpBlur(Copy, Integer(Value));
      return true;
    case TEffectMode::emSharpening:
      for (Cardinal i = 0; i < Value; ++i) Sharpen(Copy, 0);
      return true;
    case TEffectMode::emColorize:
      TintSoftLight(Copy, TColor32(Value), 100);
      return true;
    case TEffectMode::emColorDodge:
      TintSoftLight(Copy, 0xFFFFFFFFu, Integer(Value));
      return true;
    case TEffectMode::emColorBurn:
      TintSoftLight(Copy, 0xFF000000u, Integer(Value));
      return true;
    case TEffectMode::emSaturation:
      AdjustSaturation(Copy, Integer(Value));
      return true;
    default:
      return false;
  }
}

Integer EffectBrushMaxAlpha(TEffectMode Mode, bool Erase, Integer Radius) {
  switch (Mode) {
    case TEffectMode::emMosaic:
    case TEffectMode::emBlurring:
    case TEffectMode::emSharpening:
      return 255;
    case TEffectMode::emBokeh:
      return Erase ? 255 : 60;
    case TEffectMode::emRedEye:
      return Radius > 6 ? Radius * 255 / (Radius - 6) : Radius * 255;
    default:
      return 100;
  }
}

Integer EffectBrushSpacing(TEffectMode Mode) { return Mode == TEffectMode::emMosaic ? 2 : 4; }

void EffectBrushDab(TCustomBitmap32* Raster, TCustomBitmap32* Source, const TRect& Square, Integer MaxAlpha) {
  TRect r;
  if (!IntersectRects(r, Square, Raster->BoundsRect()) || r.Width() <= 0 || r.Height() <= 0) return;
  if (!IntersectRects(r, r, Source->BoundsRect()) || r.Width() <= 0 || r.Height() <= 0) return;
  TCustomBitmap32 patch;
  patch.SetSize(r.Width(), r.Height());
  for (Integer y = r.Top; y < r.Bottom; ++y) std::copy_n(Source->PixelPtr(r.Left, y), r.Width(), patch.ScanLine(y - r.Top));
  // The fade takes the square in raster coordinates, the patch lying at its
  // top-left clipped to 0.
  CircleFadeAlpha(&patch, Square, MaxAlpha);
  patch.SetDrawMode(dmBlend);
  patch.SetCombineMode(cmMerge);
  Raster->Draw(r.Left, r.Top, &patch);
  CopyAlphaRect(Raster, Source, r);
}
