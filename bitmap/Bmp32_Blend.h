// Bitmap engine pixel blending primitives (registry "Bmp32_Blend bindings").
//
// Holds: the 27 call slots (EndBlending, MergeOver ... LightenColor) as
// global function-pointer variables, their function IDs (FID_*), the
// ProductTable and QuotientTable of the merge, VectorWeights/RoundingBias,
// MmxActive, the TBlendMemEx type, and the four dispatch tables indexed by
// TCombineMode: BlendIntoByMode, BlendIntoExByMode, BlendRowByMode,
// BlendRowExByMode (call them like functions: BlendRowByMode[cm](S, D, N)).
//
// Numbers: every processor computes what the SSE2 implementation computes:
// blends weight by /256 with a bias of 128 on all four channels,
//   c = (B*256 + (F - B)*w + 128) >> 8,
// BlendOver/CombineColors have no shortcut, BlendInto/CombineInto shortcut
// only at 0 and 255, and the merge is the table merge.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Types.h"

// --- slot types
using TBlendReg = TColor32 (*)(TColor32 F, TColor32 B);
using TBlendMem = void (*)(TColor32 F, TColor32& B);
using TBlendRegEx = TColor32 (*)(TColor32 F, TColor32 B, TColor32 M);
using TBlendMemEx = void (*)(TColor32 F, TColor32& B, TColor32 M);
using TBlendLine = void (*)(const TColor32* Src, TColor32* Dst, Integer Count);
using TBlendLineEx = void (*)(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
using TCombineReg = TColor32 (*)(TColor32 X, TColor32 Y, TColor32 W);
using TCombineMem = void (*)(TColor32 X, TColor32& Y, TColor32 W);
using TCombineLine = void (*)(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W);
using TBlendProc = void (*)();
using TColorArith = TColor32 (*)(TColor32 C1, TColor32 C2);
using TScaleColorProc = TColor32 (*)(TColor32 Color, Cardinal S);
using TLightenColorProc = TColor32 (*)(TColor32 Color, Integer Amount);

// --- function IDs (slot numbers of the registry, with their slot types)
inline constexpr TFunctionID<TBlendProc> FID_ENDBLENDING{0};
inline constexpr TFunctionID<TBlendReg> FID_MERGEOVER{1};
inline constexpr TFunctionID<TBlendMem> FID_MERGEINTO{2};
inline constexpr TFunctionID<TBlendLine> FID_MERGEROW{3};
inline constexpr TFunctionID<TBlendRegEx> FID_MERGEOVEREX{4};
inline constexpr TFunctionID<TBlendMemEx> FID_MERGEINTOEX{5};
inline constexpr TFunctionID<TBlendLineEx> FID_MERGEROWEX{6};
inline constexpr TFunctionID<TCombineReg> FID_COMBINECOLORS{7};
inline constexpr TFunctionID<TCombineMem> FID_COMBINEINTO{8};
inline constexpr TFunctionID<TCombineLine> FID_COMBINEROW{9};
inline constexpr TFunctionID<TBlendReg> FID_BLENDOVER{10};
inline constexpr TFunctionID<TBlendMem> FID_BLENDINTO{11};
inline constexpr TFunctionID<TBlendLine> FID_BLENDROW{12};
inline constexpr TFunctionID<TBlendRegEx> FID_BLENDOVEREX{13};
inline constexpr TFunctionID<TBlendMemEx> FID_BLENDINTOEX{14};
inline constexpr TFunctionID<TBlendLineEx> FID_BLENDROWEX{15};
inline constexpr TFunctionID<TColorArith> FID_MAXCOLORS{16};
inline constexpr TFunctionID<TColorArith> FID_MINCOLORS{17};
inline constexpr TFunctionID<TColorArith> FID_AVERAGECOLORS{18};
inline constexpr TFunctionID<TColorArith> FID_ADDCOLORS{19};
inline constexpr TFunctionID<TColorArith> FID_SUBTRACTCOLORS{20};
inline constexpr TFunctionID<TColorArith> FID_DIVIDECOLORS{21};
inline constexpr TFunctionID<TColorArith> FID_MODULATECOLORS{22};
inline constexpr TFunctionID<TColorArith> FID_DIFFERENCECOLORS{23};
inline constexpr TFunctionID<TColorArith> FID_EXCLUSIONCOLORS{24};
inline constexpr TFunctionID<TScaleColorProc> FID_SCALECOLOR{25};
inline constexpr TFunctionID<TLightenColorProc> FID_LIGHTENCOLOR{26};

// --- call slots
extern TBlendProc EndBlending;
extern TBlendReg MergeOver;
extern TBlendMem MergeInto;
extern TBlendLine MergeRow;
extern TBlendRegEx MergeOverEx;
extern TBlendMemEx MergeIntoEx;
extern TBlendLineEx MergeRowEx;
extern TCombineReg CombineColors;   // X weighted W/255, Y weighted (255-W)/255
extern TCombineMem CombineInto;
extern TCombineLine CombineRow;
extern TBlendReg BlendOver;
extern TBlendMem BlendInto;
extern TBlendLine BlendRow;
extern TBlendRegEx BlendOverEx;
extern TBlendMemEx BlendIntoEx;
extern TBlendLineEx BlendRowEx;
extern TColorArith MaxColors;
extern TColorArith MinColors;
extern TColorArith AverageColors;
extern TColorArith AddColors;
extern TColorArith SubtractColors;
extern TColorArith DivideColors;
extern TColorArith ModulateColors;
extern TColorArith DifferenceColors;
extern TColorArith ExclusionColors;
extern TScaleColorProc ScaleColor;
extern TLightenColorProc LightenColor;

// --- dispatch tables indexed by TCombineMode; they read the slot at call time
template <class P>
struct TByModeTable {
  P* Slots[2];
  P operator[](TCombineMode Mode) const { return *Slots[Mode]; }
};
extern const TByModeTable<TBlendMem> BlendIntoByMode;        // BlendInto, MergeInto
extern const TByModeTable<TBlendMemEx> BlendIntoExByMode;    // BlendIntoEx, MergeIntoEx
extern const TByModeTable<TBlendLine> BlendRowByMode;        // BlendRow, MergeRow
extern const TByModeTable<TBlendLineEx> BlendRowExByMode;    // BlendRowEx, MergeRowEx

// --- tables
extern Byte ProductTable[256][256];   // round(a*c/255)
extern Byte QuotientTable[256][256];  // d = 0: 0; else low byte of round-half-even(n*255/d)
extern bool MmxActive;                // CPUID reports MMX; selects nothing observable
// 256 entries of eight 16-bit lanes (entry i = i), 16-byte aligned; nil
// when the processor has neither MMX nor SSE2.
extern Word (*VectorWeights)[8];
extern Word* RoundingBias;            // entry 128

// --- the scalar implementations (the numbers every processor computes); the
// registry binds SIMD twins where present. Exposed for tests and benchmarks.
namespace blend_scalar {
TColor32 BlendOver(TColor32 F, TColor32 B);
void BlendInto(TColor32 F, TColor32& B);
void BlendRow(const TColor32* Src, TColor32* Dst, Integer Count);
TColor32 BlendOverEx(TColor32 F, TColor32 B, TColor32 M);
void BlendIntoEx(TColor32 F, TColor32& B, TColor32 M);
void BlendRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
TColor32 CombineColors(TColor32 X, TColor32 Y, TColor32 W);
void CombineInto(TColor32 X, TColor32& Y, TColor32 W);
void CombineRow(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 W);
TColor32 MergeOver(TColor32 F, TColor32 B);
void MergeRow(const TColor32* Src, TColor32* Dst, Integer Count);
void MergeRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
}  // namespace blend_scalar
namespace blend_sse2 {
// Null when the build has no SSE2 code (not x86).
extern TBlendLine BlendRow;
extern TBlendLineEx BlendRowEx;
extern TCombineLine CombineRow;
extern TBlendLine MergeRow;
extern TBlendLineEx MergeRowEx;
}  // namespace blend_sse2
namespace blend_avx2 {
// Null unless the processor has AVX2 with operating-system support (set by
// Detect, which the unit start-up calls before registering them).
extern TBlendLine BlendRow;
extern TBlendLineEx BlendRowEx;
extern TBlendLine MergeRow;
extern TBlendLineEx MergeRowEx;
void Detect();
}  // namespace blend_avx2
namespace blend_avx2_code {
// The AVX2 rows themselves (x86 only), compiled for AVX2: reach them through
// blend_avx2 above, which holds them only when the processor can run them.
void BlendRow(const TColor32* Src, TColor32* Dst, Integer Count);
void BlendRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
void MergeRow(const TColor32* Src, TColor32* Dst, Integer Count);
void MergeRowEx(const TColor32* Src, TColor32* Dst, Integer Count, TColor32 M);
}  // namespace blend_avx2_code

// Unit start-up: registry, slots, tables, MmxActive, VectorWeights. Shut-down
// releases the weight block.
void InitializeBmp32Blend();
void FinalizeBmp32Blend();
