// Bitmap engine: the 28 layer blend modes as pixel combiners.
//
// Each combiner has the shape of TPixelCombineEvent (F source, B destination
// by reference, M master alpha): w = ((M and $FF) * alpha of F) shr 8, each
// colour channel moves from Bc towards the mode's target X by
// floor((X - Bc) * w / 256) (Glow: (X*w + Bc*(255 - w)) shr 8); B's alpha
// never changes. Every combiner also has a row form with identical pixels.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32.h"

inline constexpr Integer BlendModeCount = 28;

using TBlendModeCombiner = void (*)(TColor32 F, TColor32& B, TColor32 M);
using TBlendModeRow = void (*)(const TColor32* F, TColor32* B, Integer Count, TColor32 M);

extern Byte SqrtTable[65536];
extern Cardinal BlendMap[65536];   // [f*256 + b]; byte 2 red, 1 green, 0 blue
extern TObject* BlendModeOwner;    // never assigned

void BlendNormal(TColor32 F, TColor32& B, TColor32 M);
void BlendMultiply(TColor32 F, TColor32& B, TColor32 M);
void BlendScreen(TColor32 F, TColor32& B, TColor32 M);
void BlendOverlay(TColor32 F, TColor32& B, TColor32 M);
void BlendReflect(TColor32 F, TColor32& B, TColor32 M);
void BlendSoftLight(TColor32 F, TColor32& B, TColor32 M);
void BlendBrightLight(TColor32 F, TColor32& B, TColor32 M);
void BlendHardLight(TColor32 F, TColor32& B, TColor32 M);
void BlendColorDodge(TColor32 F, TColor32& B, TColor32 M);
void BlendColorBurn(TColor32 F, TColor32& B, TColor32 M);
void BlendLighten(TColor32 F, TColor32& B, TColor32 M);
void BlendDarken(TColor32 F, TColor32& B, TColor32 M);
void BlendAdditive(TColor32 F, TColor32& B, TColor32 M);
void BlendSubtractive(TColor32 F, TColor32& B, TColor32 M);
void BlendAverage(TColor32 F, TColor32& B, TColor32 M);
void BlendDifference(TColor32 F, TColor32& B, TColor32 M);
void BlendExclusion(TColor32 F, TColor32& B, TColor32 M);
void BlendNegation(TColor32 F, TColor32& B, TColor32 M);
void BlendGlow(TColor32 F, TColor32& B, TColor32 M);
void BlendHeat(TColor32 F, TColor32& B, TColor32 M);
void BlendFreeze(TColor32 F, TColor32& B, TColor32 M);
void BlendRed(TColor32 F, TColor32& B, TColor32 M);
void BlendGreen(TColor32 F, TColor32& B, TColor32 M);
void BlendBlue(TColor32 F, TColor32& B, TColor32 M);
void BlendHue(TColor32 F, TColor32& B, TColor32 M);
void BlendSaturation(TColor32 F, TColor32& B, TColor32 M);
void BlendLightness(TColor32 F, TColor32& B, TColor32 M);
void BlendCustomMap(TColor32 F, TColor32& B, TColor32 M);

// Indexed by mode 0..27.
extern const TBlendModeCombiner BlendModeCombiners[BlendModeCount];
extern const TBlendModeRow BlendModeRows[BlendModeCount];

// A new list of the 28 names in index order; the caller frees it.
TStringList* GetBlendModeList();
// 0..27: Event := that mode's combiner; -1: Event cleared; otherwise unchanged.
void GetBlendModeCombiner(Integer Index, TPixelCombineEvent& Event);
// The row form when Event holds one of the 28 combiners, else nil.
TBlendModeRow FindBlendModeRow(const TPixelCombineEvent& Event);

// Unit start-up: fills SqrtTable and BlendMap (registered with the engine).
void InitializeBlendModes();
