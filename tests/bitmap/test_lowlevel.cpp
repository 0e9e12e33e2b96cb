// Processor features, function registries and low-level routines.
#include "common/gtest.h"

#include <vector>

#include "bitmap/Bmp32_Bindings.h"
#include "bitmap/Bmp32_Blend.h"
#include "bitmap/Bmp32_LowLevel.h"
#include "bitmap/Bmp32_System.h"
#include "rtl/SysUtils.h"

namespace {

TEST(ClipSpan, Table) {
  struct Case { Integer a, b, start, stop; Integer ra, rb; bool ok; } cases[] = {
      {5, 2, 0, 4, 2, 3, true}, {8, 9, 0, 4, 8, 3, false}, {-3, 10, 0, 4, 0, 3, true},
      {1, 1, 0, 4, 1, 1, true}, {0, 0, 0, 0, 0, -1, false}};
  for (auto& c : cases) {
    Integer a = c.a, b = c.b;
    EXPECT_EQ(ClipSpan(a, b, c.start, c.stop), c.ok);
    EXPECT_EQ(a, c.ra);
    EXPECT_EQ(b, c.rb);
  }
}

TEST(Clamps, Table) {
  EXPECT_EQ(ClampByte(-1), 0);
  EXPECT_EQ(ClampByte(256), 255);
  EXPECT_EQ(ClampByte(77), 77);
  EXPECT_EQ(LimitRange(5, 6, 9), 6);
  EXPECT_EQ(LimitRange(10, 6, 9), 9);
  EXPECT_EQ(LimitRangeSorted(10, 9, 6), 9);
  EXPECT_EQ(LimitRangeSorted(0, 9, 6), 6);
  EXPECT_EQ(Max3(1, 7, 3), 7);
  EXPECT_EQ(Min3(4, 7, -3), -3);
  EXPECT_EQ(ClampRange(5, 8, 2), 2);  // the upper bound wins when Min > Max
  EXPECT_EQ(ClampRange(-5, 0, 9), 0);
  EXPECT_EQ(SarBy8(-1), 0);
  EXPECT_EQ(SarBy8(-256), -1);
  EXPECT_EQ(SarBy8(-257), -1);
  EXPECT_EQ(SarBy9(1023), 1);
  EXPECT_EQ(SarBy9(-1023), -1);
  Integer rem;
  EXPECT_EQ(DivRem(-7, 2, rem), -3);
  EXPECT_EQ(rem, -1);
  Integer a = 1, b = 2;
  SwapInts(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
}

TEST(DivBy255, WholeRange) {
  for (Cardinal x = 0; x <= 255 * 255; ++x) ASSERT_EQ(DivBy255(x), x / 255) << x;
}

// Naive references: step the value into the range one period at a time.
Integer NaiveWrap(Integer v, Integer lo, Integer hi) {
  Integer n = hi - lo + 1;
  while (v < lo) v += n;
  while (v > hi) v -= n;
  return v;
}
Integer NaiveMirror(Integer v, Integer lo, Integer hi) {
  // reflect about the edges: ... lo..hi hi..lo lo..hi ...
  Integer n = hi - lo + 1;
  Integer k = v - lo;
  Integer period = 2 * n;
  Integer m = ((k % period) + period) % period;
  return m < n ? lo + m : lo + (period - 1 - m);
}

TEST(WrapRange, AgainstNaiveReference) {
  const std::pair<Integer, Integer> ranges[] = {{0, 9}, {0, 0}, {-3, 4}, {5, 12}, {0, 15}, {2, 9}};
  for (auto [lo, hi] : ranges)
    for (Integer v = lo - 50; v <= hi + 50; ++v) {
      ASSERT_EQ(WrapRange(v, lo, hi), NaiveWrap(v, lo, hi)) << v << " in " << lo << ".." << hi;
      ASSERT_EQ(MirrorRange(v, lo, hi), NaiveMirror(v, lo, hi)) << v << " in " << lo << ".." << hi;
    }
  // power-of-two forms agree where they are chosen
  for (auto [lo, hi] : {std::pair<Integer, Integer>{0, 15}, {0, 0}, {16, 23}, {0, 255}})
    for (Integer v = lo - 600; v <= hi + 600; ++v) {
      ASSERT_EQ(WrapRangePow2(v, lo, hi), NaiveWrap(v, lo, hi)) << v;
      ASSERT_EQ(MirrorRangePow2(v, lo, hi), NaiveMirror(v, lo, hi)) << v;
    }
}

TEST(WrapRange, EdgeCases) {
  EXPECT_EQ(WrapRange(-1, 0, 9), 9);
  EXPECT_EQ(WrapRange(10, 0, 9), 0);
  EXPECT_EQ(MirrorRange(-1, 0, 9), 0);
  EXPECT_EQ(MirrorRange(10, 0, 9), 9);
  EXPECT_EQ(MirrorRange(12, 0, 9), 7);
  // an empty range (clip rectangle of an empty bitmap) must not divide by zero
  EXPECT_EQ(WrapRange(5, 0, -1), 0);
  EXPECT_EQ(MirrorRange(5, 0, -1), 0);
  // extreme values do not overflow
  EXPECT_EQ(WrapRange(INT32_MIN, 0, 9), NaiveWrap(INT32_MIN % 10 + 10, 0, 9));
  EXPECT_EQ(WrapRange(INT32_MAX, -5, INT32_MAX - 1), -5);  // one full period past Min
  EXPECT_EQ(WrapRoutineForRange(wmRepeat, 0, 255), WrapRangePow2);
  EXPECT_EQ(WrapRoutineForRange(wmRepeat, 0, 254), WrapRange);
  EXPECT_EQ(WrapRoutineForRange(wmRepeat, -1, 254), WrapRange);
  EXPECT_EQ(WrapRoutineForRange(wmMirror, 0, 7), MirrorRangePow2);
  EXPECT_EQ(WrapRoutineForRange(wmClamp, 0, 7), ClampRange);
  EXPECT_EQ(WrapRoutineForRange(wmRepeat, 0, INT32_MAX), WrapRangePow2);
  EXPECT_EQ(WrapRoutineFor(wmRepeat), WrapRange);
  EXPECT_EQ(WrapRoutineFor(wmMirror), MirrorRange);
  EXPECT_EQ(WrapRoutineFor(TWrapMode(7)), ClampRange);
}

TEST(WrapSingle, Table) {
  EXPECT_FLOAT_EQ(WrapSingle(5.5f, 2), 1.5f);
  EXPECT_FLOAT_EQ(WrapSingle(-0.5f, 2), 1.5f);
  EXPECT_FLOAT_EQ(WrapSingle(2, 2), 0);
  EXPECT_FLOAT_EQ(WrapSingle(1e30f, 3), WrapSingle(1e30f, 3));  // finishes
  EXPECT_EQ(WrapSingle(1, 0), 0);  // no endless loop on an empty range
  Single w = WrapSingle(-1e-9f, 1);
  EXPECT_GE(w, 0);
  EXPECT_LT(w, 1);
}

TEST(FillWords32, EveryVariantCountAndOffset) {
  const TFillWords32Proc variants[] = {FillWords32_Pas, FillWords32_String, FillWords32_SSE2, FillWords32};
  for (auto fill : variants)
    for (Integer count = 0; count <= 40; ++count)
      for (int offset = 0; offset < 4; ++offset) {
        alignas(16) Cardinal buf[64];
        for (auto& w : buf) w = 0xDEADBEEFu;
        fill(buf + 1 + offset, count, 0x12345678u);
        for (int i = 0; i < 64; ++i) {
          bool inside = i >= 1 + offset && i < 1 + offset + count;
          ASSERT_EQ(buf[i], inside ? 0x12345678u : 0xDEADBEEFu) << "count " << count << " offset " << offset;
        }
      }
  // unaligned (not 4-byte aligned) address and a long run
  std::vector<Byte> raw(4 * 300 + 8, 0xAA);
  FillWords32_SSE2(raw.data() + 1, 300, 0x01020304u);
  EXPECT_EQ(raw[0], 0xAA);
  EXPECT_EQ(raw[1], 0x04);
  EXPECT_EQ(raw[4 * 300], 0x01);
  EXPECT_EQ(raw[4 * 300 + 1], 0xAA);
  std::vector<Cardinal> big(1000, 0);
  FillWords32_SSE2(big.data() + 3, 997, 7u);
  for (size_t i = 0; i < big.size(); ++i) ASSERT_EQ(big[i], i < 3 ? 0u : 7u);
}

TEST(MoveWords32, Overlap) {
  Cardinal a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  MoveWords32(a, a + 2, 5);
  const Cardinal e[8] = {1, 2, 1, 2, 3, 4, 5, 8};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(a[i], e[i]);
  MoveWords32(a + 2, a, 3);
  EXPECT_EQ(a[0], 1u);
  EXPECT_EQ(a[2], 3u);
  MoveWords32(a, a, 8);  // same address: nothing
  MoveWords32(a, a + 1, 0);
  EXPECT_EQ(a[1], 2u);
}

TEST(ProcessorFeatures, ConsistentWithProcessorHas) {
  TCPUFeatures f = ProcessorFeatures();
  for (int i = ciMMX; i <= ci3DNowExt; ++i)
    EXPECT_EQ(f.Contains(TCPUInstructionSet(i)), ProcessorHas(TCPUInstructionSet(i))) << i;
#if defined(__x86_64__)
  EXPECT_TRUE(f.Contains(ciSSE2));  // every x86-64 processor
#endif
  EXPECT_EQ(TCPUFeatures({ciMMX, ciSSE2}).Bits, 1u | 8u);
  EXPECT_GE(ProcessorCount(), 1);
}

TEST(PerfTimer, FakeCounter) {
  static Int64 counter = 0, freq = 0;
  auto savedC = QueryPerformanceCounterProc, savedF = QueryPerformanceFrequencyProc;
  QueryPerformanceCounterProc = [](Int64& v) { v = counter; return true; };
  QueryPerformanceFrequencyProc = [](Int64& v) { v = freq; return true; };
  TPerfTimer t;
  counter = 1000;
  t.Start();
  counter = 1000 + 3579545;  // one second of a 3.579545 MHz counter
  freq = 3579545;
  EXPECT_EQ(t.ReadValue(), 1000000);
  EXPECT_EQ(t.ReadNanoseconds(), u"1000000");  // microseconds, as the name does not say
  EXPECT_EQ(t.ReadMilliseconds(), u"1000.000");
  EXPECT_EQ(t.ReadSeconds(), u"1.000");
  freq = 0;
  EXPECT_THROW(t.ReadValue(), EAssertionFailed);
  EXPECT_THROW(t.ReadMilliseconds(), EAssertionFailed);
  QueryPerformanceCounterProc = savedC;
  QueryPerformanceFrequencyProc = savedF;
}

// --- registries

int ImplA(int) { return 1; }
int ImplB(int) { return 2; }
int ImplC(int) { return 3; }
long ImplLong(int) { return 4; }
int ImplTwo(int, int) { return 5; }
using TIntProc = int (*)(int);
constexpr TFunctionID<TIntProc> FID_0{0}, FID_1{1};

// An implementation or a slot variable of another type than its ID's slot
// does not compile (nothing is ever called through the wrong type).
template <class ID, class F>
concept Addable = requires(TFunctionRegistry& R, ID Id, F Proc) { R.Add(Id, Proc); };
template <class ID, class V>
concept Bindable = requires(TFunctionRegistry& R, ID Id, V* Var) { R.RegisterBinding(Id, Var); };
static_assert(Addable<TFunctionID<TIntProc>, decltype(&ImplA)>);
static_assert(!Addable<TFunctionID<TIntProc>, decltype(&ImplLong)>);
static_assert(!Addable<TFunctionID<TIntProc>, decltype(&ImplTwo)>);
static_assert(!Addable<Integer, decltype(&ImplA)>);  // an ID without its slot type takes nothing
static_assert(!Addable<decltype(FID_BLENDROW), decltype(&blend_scalar::BlendRowEx)>);
static_assert(Addable<decltype(FID_BLENDROWEX), decltype(&blend_scalar::BlendRowEx)>);
static_assert(Bindable<TFunctionID<TIntProc>, TIntProc>);
static_assert(!Bindable<TFunctionID<TIntProc>, long (*)(int)>);
static_assert(!Bindable<Integer, TIntProc>);

TEST(FunctionRegistry, LastUsableWins) {
  TFunctionRegistry R;
  TIntProc slot = nullptr, slot2 = nullptr;
  R.RegisterBinding(FID_0, &slot);
  R.RegisterBinding(FID_1, &slot2);
  R.Add(FID_0, ImplA);
  R.Add(FID_0, ImplB);
  R.Add(FID_1, ImplC);
  R.RebindAll();
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot(0), 2);
  EXPECT_EQ(slot2(0), 3);
  // an implementation the processor lacks is never bound, even when added last
  R.Add(FID_0, ImplC, {ci3DNow});
  R.Rebind(0, [](PFunctionInfo Info) { return Info->CPUFeatures.Contains(ci3DNow) ? INVALID_PRIORITY : 0; });
  EXPECT_EQ(slot(0), 2);
  R.Rebind(0, [](PFunctionInfo) { return 0; });
  EXPECT_EQ(slot(0), 3);
  // lower priority beats later registration
  R.Rebind(0, [](PFunctionInfo Info) { return Info->Proc == reinterpret_cast<void*>(ImplA) ? 1 : 5; });
  EXPECT_EQ(slot(0), 1);
  // nothing usable: nil
  EXPECT_EQ(R.FindFunction(0, [](PFunctionInfo) { return INVALID_PRIORITY; }), nullptr);
  EXPECT_EQ(R.FindFunction(42), nullptr);
  R.Clear();
  EXPECT_EQ(R.InfoCount(), 0);
  EXPECT_EQ(R.BindingCount(), 0);
}

TEST(FunctionRegistry, StandardPriorityUsesProcessorFeatures) {
  TFunctionInfo info;
  info.CPUFeatures = {};
  EXPECT_EQ(StandardPriority(&info), 0);
  info.CPUFeatures = ProcessorFeatures();
  EXPECT_EQ(StandardPriority(&info), 0);
  TCPUFeatures all = TCPUFeatures::FromBits(63);
  info.CPUFeatures = all;
  EXPECT_EQ(StandardPriority(&info), ProcessorFeatures() == all ? 0 : INVALID_PRIORITY);
}

TEST(FunctionRegistry, EngineRegistriesAreNamedAndBound) {
  bool low = false, blend = false;
  for (auto* r : Registries()) {
    if (r->Name() == u"Bmp32_LowLevel bindings") low = true;
    if (r->Name() == u"Bmp32_Blend bindings") blend = true;
  }
  EXPECT_TRUE(low);
  EXPECT_TRUE(blend);
#if defined(__SSE2__)
  EXPECT_EQ(FillWords32, FillWords32_SSE2);
#endif
}

}  // namespace
