// Bitmap engine: the program's own whole-bitmap effects.
//
// Colour operations and utilities: colour tolerance, red-eye removal,
// lightness / brightness / contrast / saturation / hue adjustments, noise,
// soft-light tint, alpha utilities, resampled resize, percent mapping.
// Spatial effects: alpha masks (disc, vignette, edge band), edge fades,
// bevels, torn edges, mosaic, smoothing, shaded and patterned frames.
// All work in place on a bitmap unless stated; a nil bitmap does nothing.
//
// The effects share a pseudo-random generator that is per thread: each
// thread's generator is seeded once from the clock on first use; TearEdges
// reseeds the calling thread's. EffectRandomFixSeed makes every seeding use
// a fixed value (tests).
// Portable: no Windows header.
#pragma once

#include <cstdint>

#include "bitmap/Bmp32.h"

// --- the effects' generator
// Uniform in 0..Range-1; 0 for Range 0.
Cardinal EffectRandom(Cardinal Range);
// Seeds the calling thread's generator from the clock (or the fixed seed).
void EffectRandomize();
// Seeds the calling thread's generator.
void EffectRandomSeed(Cardinal Seed);
// From now on every seeding (first use, EffectRandomize, TearEdges) uses Seed.
void EffectRandomFixSeed(Cardinal Seed);
void EffectRandomReleaseSeed();

// --- colour operations and utilities
bool ColorWithinTolerance(TColor32 C1, TColor32 C2, Integer Tolerance);
void RemoveRedEye(TCustomBitmap32* Bitmap);
void AdjustLightness(TCustomBitmap32* Bitmap, Integer Percent);
void AdjustBrightness(TCustomBitmap32* Bitmap, Integer Amount);
void AdjustContrast(TCustomBitmap32* Bitmap, Integer Amount);
void AdjustSaturation(TCustomBitmap32* Bitmap, Integer Amount);
void AdjustHueSaturation(TCustomBitmap32* Bitmap, Integer Hue, Integer Saturation);
void AddNoise(TCustomBitmap32* Bitmap, Cardinal Range, bool Mono);
void TintSoftLight(TCustomBitmap32* Bitmap, TColor32 Color, Integer Percent);
void FillColorWithAlpha(TCustomBitmap32* Dst, TCustomBitmap32* Src, TColor32 Color);
void FillColorKeepAlpha(TCustomBitmap32* Bitmap, TColor32 Color);
void AlphaFromIntensity(TCustomBitmap32* Dst, TCustomBitmap32* Src, bool All);
void CopyAlphaRect(TCustomBitmap32* Dst, TCustomBitmap32* Src, const TRect& Rect);
void ResizeBitmap(TCustomBitmap32* Src, TCustomBitmap32* Dst, Integer NewWidth, Integer NewHeight);
Integer MapPercentRange(Integer Value, Integer InLow, Integer InHigh, Integer OutLow, Integer OutHigh);
// Value is clamped to -100..100 first (it travels as a signed byte).
Integer MapPercent(Integer Value, Integer OutLow, Integer OutHigh);

// --- spatial effects (Sides: 1 left, 2 top, 4 right, 8 bottom)
void CircleFadeAlpha(TCustomBitmap32* Bitmap, const TRect& Rect, Integer MaxAlpha);
void VignetteAlpha(TCustomBitmap32* Bitmap, Integer Percent);
void EdgeVignetteAlpha(TCustomBitmap32* Dst, TCustomBitmap32* Src, Integer Size, Integer Strength);
void FadeEdges(TCustomBitmap32* Bitmap, Integer Width, Integer Sides);
void BevelEdges(TCustomBitmap32* Bitmap, Integer Width, Integer Sides);
void TearEdges(TCustomBitmap32* Bitmap, Integer Depth, Integer Sides, bool Style);
void Mosaic(TCustomBitmap32* Bitmap, Integer CellSize, bool CanvasTransparent, TColor32 CanvasColor);
void AverageNeighbours(TCustomBitmap32* Bitmap, Integer Passes);
void BoxSmooth(TCustomBitmap32* Bitmap, Integer Radius, TColor32 Color = 0);
void SelectiveSmooth(TCustomBitmap32* Bitmap, Integer Radius, Integer Threshold);
void DrawShadedFrame(TCustomBitmap32* Bitmap, const TRect& Rect, Integer Inset, Integer Count);
void TilePattern(TCustomBitmap32* Pattern, TCustomBitmap32* Dst, const TRect& Rect, bool AsFrame);
Integer ColorLightness(TColor32 Color);
