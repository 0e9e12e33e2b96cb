// The recipes of the whole-image effects and the colour adjustment: what
// each effect mode does to a working copy, built from the engine's filters
// and layer blend modes. The document (document/win/ImageDraw.h) takes the
// copy, runs a recipe on it and writes it back; everything here works on
// plain engine bitmaps. Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"
#include "bitmap/Bmp32_ColorBalance.h"
#include "document/CalloutGeometry.h"
#include "document/Region.h"
#include "document/ShapeTypes.h"

// The layer alpha of a percent slider: Round(Value x 2.55) within 0..255.
Integer PercentAlpha(Integer Value);
// A fully saturated opaque colour of hue Degrees (lightness one half).
TColor32 HueColor(Integer Degrees);
// The engine's blend-mode number of a mode name; -1 when there is none.
Integer BlendModeIndex(const String& Name);

// --- layers: a bitmap of the working copy's size whose every pixel's alpha
// is the layer's opacity
// Layer := W x H of Color with alpha Alpha (clamped to 0..255).
void FillLayer(TCustomBitmap32* Layer, Integer W, Integer H, TColor32 Color, Integer Alpha);
// Every pixel's alpha := Alpha (clamped), colours kept.
void SetLayerAlpha(TCustomBitmap32* Layer, Integer Alpha);
// Dst := Layer drawn over it through blend mode ModeIndex of the engine's
// list (master alpha 255), rows of the smaller common size. A number
// outside the list draws nothing.
void DrawLayer(TCustomBitmap32* Dst, const TCustomBitmap32* Layer, Integer ModeIndex);
// Dst := Layer drawn over it with the engine's plain alpha blending.
void BlendLayer(TCustomBitmap32* Dst, TCustomBitmap32* Layer);

// --- the runs
struct TEffectInputs {
  TColor32 CanvasColor = 0xFFFFFFFFu;      // the colour the soften steps fill with
  TCustomBitmap32* MaskBmp = nullptr;      // the style effects' texture (not owned)
};

// The one-value effects. False (and Copy unchanged) for a mode the table
// does not list; a style effect without a texture leaves Copy unchanged.
bool RunEffectDo(TEffectMode Mode, TCustomBitmap32* Copy, Integer Value, bool OptionChecked,
                 const TEffectInputs& In);
// The one-value effect from Src into Dst, which takes Src's size (a buffer
// of that size is kept, not allocated anew): the one-pass colour modes read
// Src and write Dst, the others start from a copy of Src's pixels in Dst.
// Dst ends with the pixels RunEffectDo leaves in a copy of Src.
bool RunEffectDoFrom(TEffectMode Mode, TCustomBitmap32* Src, TCustomBitmap32* Dst, Integer Value,
                     bool OptionChecked, const TEffectInputs& In);
// The several-value effects (false for a mode not listed).
bool RunEffectDo2(TEffectMode Mode, TCustomBitmap32* Copy, Integer Value1, Integer Value2, Integer Value3,
                  Integer Value4, TColor32 ValueColor, Integer ValueBlendMode);
// The edge effects on the sides of Direction (1 left, 2 top, 4 right, 8
// bottom) (false for a mode not listed).
bool RunEffectDoDirection(TEffectMode Mode, TCustomBitmap32* Copy, Integer Value, Integer Direction,
                          bool OptionChecked);

struct TImageAdjustAmounts {
  Integer Brightness = 0, Contrast = 0, Lightness = 0, Saturation = 0, Hue = 0;
  Integer BalanceRed = 0, BalanceGreen = 0, BalanceBlue = 0;
  bool BalanceLuminosity = true;
};
// The colour adjustment, each step only when its amounts are not 0; the
// balance object is reused (its source bitmap becomes a copy of Copy).
void RunImageAdjust(TCustomBitmap32* Copy, const TImageAdjustAmounts& A, TColorBalance* Balance);

// --- which part of the image a run works on
// The several-value modes that work on the selection's cut-out only.
bool EffectDo2UsesSelection(TEffectMode Mode);
// Whether opening a preview of Mode stamps a lifted selection into the
// raster first (all but the edge-and-tone group and the geometric previews).
bool EffectMergesSelection(TEffectMode Mode);

// Every pixel (x, y) of Src whose point (x + Origin.X, y + Origin.Y) lies in
// Region is copied there into Dest (alpha included). Walks the region's
// rectangles clipped to Dest and to Src's placed bounds.
void CopyInRegion(const TRegion& Region, const TCustomBitmap32* Src, TCustomBitmap32* Dest, const TPoint& Origin);

// --- the effect brushes
// The effect picture of a brush mode made from Copy in place (mosaic,
// blurring, sharpening, colorize, dodge, burn, saturation); false for a mode
// without one.
bool RunEffectBrushPicture(TEffectMode Mode, TCustomBitmap32* Copy, Cardinal Value, bool CanvasTransparent,
                           TColor32 CanvasColor);
// The strongest alpha of a dab at its centre.
Integer EffectBrushMaxAlpha(TEffectMode Mode, bool Erase, Integer Radius);
// Dabs closer than this on both axes to the last one are skipped.
Integer EffectBrushSpacing(TEffectMode Mode);
// One dab: Source's part under Square (clipped to Raster) faded round from
// MaxAlpha at the centre to 0 at the radius, blended onto Raster; Raster
// keeps Source's alpha there.
void EffectBrushDab(TCustomBitmap32* Raster, TCustomBitmap32* Source, const TRect& Square, Integer MaxAlpha);
