#include "common/gtest.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "bitmap/Bmp32_Containers.h"
#include "bitmap/Bmp32_OrdinalMaps.h"
#include "bitmap/Bmp32_VectorMaps.h"
#include "bitmap/resample_test_helpers.h"
#include "rtl/SysUtils.h"

namespace {

void* Key(std::uintptr_t V) { return reinterpret_cast<void*>(V); }

// ---------------------------------------------------------------------------
// TPointerMap

TEST(PointerMap, KeysDifferingAboveBit15ShareABucketAndAreBothFound) {
  TPointerMap M;
  int A = 1, B = 2;
  M.Add(Key(0x10000), &A);
  M.Add(Key(0x20000), &B);
  EXPECT_EQ(TPointerMap::BucketOf(Key(0x10000)), 0);
  EXPECT_EQ(TPointerMap::BucketOf(Key(0x20000)), 0);
  EXPECT_EQ(M.Count(), 2);
  EXPECT_EQ(M.DataOf(Key(0x10000)), &A);
  EXPECT_EQ(M.DataOf(Key(0x20000)), &B);
  Integer Bk, It;
  ASSERT_TRUE(M.Locate(Key(0x20000), Bk, It));
  EXPECT_EQ(Bk, 0);
  EXPECT_EQ(It, 1);
}

TEST(PointerMap, AddingAnExistingKeyKeepsTheOldData) {
  TPointerMap M;
  int A = 1, B = 2;
  bool IsNew = false;
  PPData First = M.Add(Key(0x1234), &A, IsNew);
  EXPECT_TRUE(IsNew);
  PPData Second = M.Add(Key(0x1234), &B, IsNew);
  EXPECT_FALSE(IsNew);
  EXPECT_EQ(First, Second);
  EXPECT_EQ(*Second, &A);
  EXPECT_EQ(M.Count(), 1);
}

TEST(PointerMap, RemoveFindAndMissingKeys) {
  TPointerMap M;
  int A = 1;
  M.Add(Key(0x300), &A);
  PPData D = nullptr;
  EXPECT_TRUE(M.Find(Key(0x300), D));
  EXPECT_EQ(*D, &A);
  EXPECT_FALSE(M.Contains(Key(0x400)));
  EXPECT_EQ(M.Remove(Key(0x400)), nullptr);
  EXPECT_EQ(M.Remove(Key(0x300)), &A);
  EXPECT_EQ(M.Count(), 0);
  EXPECT_FALSE(M.Contains(Key(0x300)));
  try {
    M.DataOf(Key(0xABCDEF12345));
    FAIL() << "no exception";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), u"Item not found ($0ABCDEF12345)");
  }
}

TEST(PointerMap, BucketsGrowPastTheirCapacity) {
  TPointerMap M;
  // 200 keys in bucket 7: growth steps 4, 16 and a quarter are all passed.
  for (std::uintptr_t I = 0; I < 200; ++I) M.Add(Key((I << 16) | 0x700), reinterpret_cast<void*>(I + 1));
  EXPECT_EQ(M.Count(), 200);
  for (std::uintptr_t I = 0; I < 200; ++I) EXPECT_EQ(M.DataOf(Key((I << 16) | 0x700)), reinterpret_cast<void*>(I + 1));
  // Removing from the middle keeps the others' order and data.
  M.Remove(Key((50u << 16) | 0x700));
  Integer B, It;
  ASSERT_TRUE(M.Locate(Key((51u << 16) | 0x700), B, It));
  EXPECT_EQ(It, 50);
}

TEST(PointerMapIterator, WalksBucketsAscendingAndEachBucketLastToFirst) {
  TPointerMap M;
  M.Add(Key(0x0FF00), nullptr);  // bucket 255
  M.Add(Key(0x10100), nullptr);  // bucket 1, first
  M.Add(Key(0x20100), nullptr);  // bucket 1, second
  M.Add(Key(0x00500), nullptr);  // bucket 5
  TPointerMapIterator It(&M);
  std::vector<void*> Order;
  while (It.Next()) Order.push_back(It.Item());
  std::vector<void*> Expected{Key(0x20100), Key(0x10100), Key(0x00500), Key(0x0FF00)};
  EXPECT_EQ(Order, Expected);
  EXPECT_FALSE(It.Next());
  EXPECT_EQ(It.Item(), Key(0x0FF00));  // keeps the last entry
}

TEST(PointerMap, ClearEmptiesEveryBucket) {
  TPointerMap M;
  for (std::uintptr_t I = 0; I < 50; ++I) M.Add(Key(I << 8), nullptr);
  M.Clear();
  EXPECT_EQ(M.Count(), 0);
  TPointerMapIterator It(&M);
  EXPECT_FALSE(It.Next());
  M.Add(Key(0x100), nullptr);
  EXPECT_EQ(M.Count(), 1);
}

// ---------------------------------------------------------------------------
// TRectList

TEST(RectList, CapacityGrowsInTheFixedSteps) {
  TRectList L;
  EXPECT_EQ(L.Capacity(), 0);
  std::vector<Integer> Seen;
  for (Integer I = 0; I < 170; ++I) {
    L.Add(TRect(I, 0, I + 1, 1));
    if (Seen.empty() || Seen.back() != L.Capacity()) Seen.push_back(L.Capacity());
  }
  EXPECT_EQ(Seen, (std::vector<Integer>{8, 16, 48, 80, 112, 144, 180}));
  for (Integer I = 0; I < 170; ++I) EXPECT_EQ(L[I], TRect(I, 0, I + 1, 1));
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(L.Capacity(), 10);
}

TEST(RectList, EditingOperations) {
  TRectList L;
  const TRect A(1, 1, 2, 2), B(2, 2, 3, 3), C(3, 3, 4, 4), D(4, 4, 5, 5);
  L.Add(A);
  L.Add(B);
  L.Add(C);
  EXPECT_EQ(L.ItemAt(-1), nullptr);
  EXPECT_EQ(L.ItemAt(3), nullptr);
  ASSERT_NE(L.ItemAt(2), nullptr);
  EXPECT_EQ(*L.ItemAt(2), C);

  L.Insert(1, D);  // A D B C
  EXPECT_EQ(L.IndexOf(D), 1);
  EXPECT_EQ(L.IndexOf(C), 3);
  L.Insert(L.Count(), A);  // A D B C A
  EXPECT_EQ(L.Count(), 5);
  EXPECT_EQ(L.IndexOf(A), 0);  // the first match
  L.Exchange(0, 3);            // C D B A A
  EXPECT_EQ(L[0], C);
  L.Move(0, 2);                // D B C A A
  EXPECT_EQ(L[2], C);
  EXPECT_EQ(L[0], D);
  EXPECT_EQ(L.Remove(B), 1);   // D C A A
  EXPECT_EQ(L.Remove(B), -1);
  L.Delete(0);                 // C A A
  EXPECT_EQ(L.Count(), 3);
  EXPECT_EQ(L[0], C);
  L.Pack();
  EXPECT_EQ(L.Count(), 3);

  L.SetCount(6);  // grows with zeros
  EXPECT_EQ(L[5], TRect());
  EXPECT_GE(L.Capacity(), 6);
  L.SetCount(1);
  EXPECT_EQ(L.Count(), 1);
  EXPECT_EQ(L[0], C);
}

// ---------------------------------------------------------------------------
// TClassList

TEST(ClassList, FindIsExactAndInListOrder) {
  static const TClassDesc First{u"TAlpha", nullptr};
  static const TClassDesc Second{u"TBeta", nullptr};
  static const TClassDesc Again{u"TAlpha", nullptr};
  TClassList L;
  L.Add(&First);
  L.Add(&Second);
  L.Add(&Again);
  EXPECT_EQ(L.Find(u"TAlpha"), &First);
  EXPECT_EQ(L.Find(u"talpha"), nullptr);
  EXPECT_EQ(L.Find(u"TGamma"), nullptr);
  EXPECT_EQ(L.GetClassNames(), (std::vector<String>{u"TAlpha", u"TBeta", u"TAlpha"}));
  EXPECT_EQ(L.Extract(&First), &First);
  EXPECT_EQ(L.Find(u"TAlpha"), &Again);
  EXPECT_EQ(L.IndexOf(&Second), 0);
  EXPECT_THROW(L.Items(5), EListError);
}

// ---------------------------------------------------------------------------
// TIntegerMap

TEST(IntegerMap, ASizeNoHeapCanHoldRaisesOutOfMemoryAndKeepsTheMap) {
  TIntegerMap M;
  M.SetSize(2, 2);
  M.SetValue(1, 1, 5);
  EXPECT_THROW(M.SetSize(0x7FFFFFFF, 0x7FFFFFFF), EOutOfMemory);
  EXPECT_EQ(M.Width(), 2);
  EXPECT_EQ(M.Value(1, 1), 5);
}

TEST(IntegerMap, SizesClearsAndReports) {
  TIntegerMap M;
  EXPECT_TRUE(M.Empty());
  int Changes = 0;
  M.SetOnChange([&](TObject*) { ++Changes; });
  M.SetSize(3, 2);
  EXPECT_FALSE(M.Empty());
  for (Integer I = 0; I < 6; ++I) EXPECT_EQ(M.Bits()[I], 0);
  const int Before = Changes;
  M.Clear(7);
  EXPECT_EQ(Changes, Before + 1);
  EXPECT_EQ(M.Value(2, 1), 7);
  M.SetValue(1, 1, -3);
  EXPECT_EQ(M.Bits()[1 + 1 * 3], -3);
  M.SetSize(0, 0);
  EXPECT_TRUE(M.Empty());
}

// ---------------------------------------------------------------------------
// TVectorMap

TFixedPoint FP(TFixed X, TFixed Y) { return TFixedPoint{X, Y}; }

TEST(VectorMap, ResizeZeroesEveryCell) {
  TVectorMap M;
  EXPECT_TRUE(M.Empty());
  M.SetSize(3, 2);
  M.SetVector(2, 1, FP(5, 6));
  M.SetSize(4, 4);
  EXPECT_EQ(M.Width(), 4);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 4; ++X) EXPECT_EQ(M.GetVector(X, Y), FP(0, 0));
  EXPECT_EQ(M.BoundsRect(), TRect(0, 0, 4, 4));
  EXPECT_EQ(M.GetVectorS(-1, 0), FP(0, 0));
  EXPECT_EQ(M.GetVectorS(4, 0), FP(0, 0));
}

TEST(VectorMap, FixedReadsClampAtTheRightAndBottomEdges) {
  TVectorMap M;
  M.SetSize(3, 2);
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 3; ++X) M.SetVector(X, Y, FP((X + 1) * 0x10000, (Y + 1) * 0x40000));
  // The last cell at +0.5 in both directions: exactly its vector.
  EXPECT_EQ(M.GetFixedVector(0x28000, 0x18000), FP(0x30000, 0x80000));
  // X = Width shl 16 and negative positions are outside.
  EXPECT_EQ(M.GetFixedVector(3 << 16, 0), FP(0, 0));
  EXPECT_EQ(M.GetFixedVector(-1, 0), FP(0, 0));
  // Half-way between cells 0 and 1 of row 0 and rows 0 and 1.
  EXPECT_EQ(M.GetFixedVector(0x8000, 0), FP(0x18000, 0x40000));
  EXPECT_EQ(M.GetFixedVector(0, 0x8000), FP(0x10000, 0x60000));
  const TFloatPoint F = M.GetFloatVector(0.5f, 0.0f);
  EXPECT_FLOAT_EQ(F.X, 1.5f);
  EXPECT_FLOAT_EQ(F.Y, 4.0f);
}

TEST(VectorMap, SafeReadCountsOutsideCornersAsZero) {
  TVectorMap M;
  M.SetSize(2, 2);
  M.SetVector(0, 0, FP(0x20000, -0x20000));
  // (-0.5, 0): half of cell (0, 0) with (0, 0).
  EXPECT_EQ(M.GetFixedVectorS(-0x8000, 0), FP(0x10000, -0x10000));
  EXPECT_EQ(M.GetFixedVectorS(0x7FFFFFFF, 0x7FFFFFFF), FP(0, 0));
}

TEST(VectorMap, MergeModes) {
  TVectorMap Base, Src;
  Base.SetSize(4, 4);
  Src.SetSize(3, 3);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 4; ++X) Base.SetVector(X, Y, FP(100, 100));
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 3; ++X) Src.SetVector(X, Y, FP(X + 1, Y + 1));

  Src.SetVectorCombineMode(vcmReplace);
  Base.Merge(2, 2, &Src, TRect(0, 0, 3, 3));  // only (2..3, 2..3) overlap
  EXPECT_EQ(Base.GetVector(2, 2), FP(1, 1));
  EXPECT_EQ(Base.GetVector(3, 3), FP(2, 2));
  EXPECT_EQ(Base.GetVector(1, 2), FP(100, 100));
  EXPECT_EQ(Base.GetVector(2, 1), FP(100, 100));

  Src.SetVectorCombineMode(vcmAdd);
  Base.Merge(0, 0, &Src, TRect(1, 1, 3, 3));
  EXPECT_EQ(Base.GetVector(0, 0), FP(102, 102));
  EXPECT_EQ(Base.GetVector(1, 1), FP(103, 103));
  EXPECT_EQ(Base.GetVector(2, 0), FP(100, 100));

  // Custom: weights from -1 to +1 across the destination area.
  std::vector<TFixedPoint> Weights;
  Src.SetVectorCombineMode(vcmCustom);
  Src.SetOnVectorCombine([&](const TFixedPoint&, const TFixedPoint& P, TFixedPoint& B) {
    Weights.push_back(P);
    B = FP(7, 7);
  });
  Base.Merge(0, 0, &Src, TRect(0, 0, 3, 3));
  ASSERT_EQ(Weights.size(), 9u);
  EXPECT_EQ(Weights[0], FP(-0x10000, -0x10000));
  EXPECT_EQ(Weights[1], FP(0, -0x10000));
  EXPECT_EQ(Weights[2], FP(0x10000, -0x10000));
  EXPECT_EQ(Weights[3], FP(-0x10000, 0));
  EXPECT_EQ(Weights[8], FP(0x10000, 0x10000));
  EXPECT_EQ(Base.GetVector(2, 2), FP(7, 7));

  TVectorMap Empty;
  try {
    Base.Merge(0, 0, &Empty, TRect(0, 0, 1, 1));
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Src is empty!");
  }
  try {
    Empty.Merge(0, 0, &Src, TRect(0, 0, 1, 1));
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Base is empty!");
  }
}

TEST(VectorMap, TrimmedBounds) {
  TVectorMap M;
  M.SetSize(5, 4);
  EXPECT_EQ(M.GetTrimmedBounds(), TRect());
  M.SetVector(3, 1, FP(1, 0));
  M.SetVector(1, 2, FP(0, -1));
  EXPECT_EQ(M.GetTrimmedBounds(), TRect(1, 1, 4, 3));
}

// Mesh files: written by the map, then patched for the failure cases.
class MeshFile : public ::testing::Test {
 protected:
  // One name per process: the native and the Wine test programs share the
  // working folder and may run at the same time.
  const std::string Narrow = "lumigra_test_mesh_" + std::to_string(std::random_device{}()) + ".msh";
  const String Name = String(Narrow.begin(), Narrow.end());
  const char* NarrowName = Narrow.c_str();
  void TearDown() override { std::remove(NarrowName); }
  std::vector<unsigned char> ReadAll() {
    std::ifstream F(NarrowName, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(F), {});
  }
  void WriteAll(const std::vector<unsigned char>& B) {
    std::ofstream F(NarrowName, std::ios::binary | std::ios::trunc);
    F.write(reinterpret_cast<const char*>(B.data()), std::streamsize(B.size()));
  }
  static void Put32(std::vector<unsigned char>& B, size_t At, std::uint32_t V) {
    for (int I = 0; I < 4; ++I) B[At + I] = (V >> (8 * I)) & 0xFF;
  }
  void ExpectBadFormat(TVectorMap& M) {
    try {
      M.LoadFromFile(Name);
      FAIL() << "no exception";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), u"Bad format - Photoshop .msh expected!");
    }
  }
};

TEST_F(MeshFile, RoundTripOf3x2Is88Bytes) {
  TVectorMap M;
  M.SetSize(3, 2);
  M.SetVector(0, 0, FP(0x18000, -0x4000));
  M.SetVector(2, 1, FP(-0x30000, 0x12345));
  M.SaveToFile(Name);
  const auto B = ReadAll();
  ASSERT_EQ(B.size(), 88u);
  EXPECT_EQ(B[0], 0);
  EXPECT_EQ(B[3], 2);
  EXPECT_EQ(B[4], 'y');
  EXPECT_EQ(B[5], 0);
  EXPECT_EQ(B[18], 'M');
  EXPECT_EQ(B[20], 2);
  EXPECT_EQ(B[24], 3);
  EXPECT_EQ(B[28], 2);
  for (size_t I = 80; I < 88; ++I) EXPECT_EQ(B[I], 0);

  TVectorMap R;
  R.LoadFromFile(Name);
  EXPECT_EQ(R.Width(), 3);
  EXPECT_EQ(R.Height(), 2);
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 3; ++X) EXPECT_EQ(R.GetVector(X, Y), M.GetVector(X, Y));
  EXPECT_EQ(R.GetVector(2, 1), FP(-0x30000, 0x12345));
}

TEST_F(MeshFile, IdentifierIsMatchedIgnoringCase) {
  TVectorMap M;
  M.SetSize(1, 1);
  M.SetVector(0, 0, FP(0x10000, 0x20000));
  M.SaveToFile(Name);
  auto B = ReadAll();
  const char* Upper = "YFQLHSEM";
  for (int I = 0; I < 8; ++I) B[4 + 2 * I] = Upper[I];
  WriteAll(B);
  TVectorMap R;
  R.LoadFromFile(Name);
  EXPECT_EQ(R.GetVector(0, 0), FP(0x10000, 0x20000));
  B[4] = 'x';
  WriteAll(B);
  ExpectBadFormat(R);
}

TEST_F(MeshFile, SizesTheFileCannotHoldAreRefusedAndTheMapIsKept) {
  TVectorMap M;
  M.SetSize(2, 2);
  M.SaveToFile(Name);
  const auto Good = ReadAll();
  struct Case {
    std::uint32_t W, H;
  } Cases[] = {
      {0xFFFFFFFFu, 2},          // negative width
      {2, 0x80000000u},          // negative height
      {0x10000, 0x10000},        // W*H*8 past 32 bits
      {0x40000000, 0x7FFFFFFF},  // W*H*8 past 64 bits
      {0x7FFFFFFF, 0x7FFFFFFF},
      {3, 2},                    // needs 48 bytes, the file holds 40
  };
  for (const auto& C : Cases) {
    auto B = Good;
    Put32(B, 24, C.W);
    Put32(B, 28, C.H);
    WriteAll(B);
    TVectorMap R;
    R.SetSize(1, 1);
    R.SetVector(0, 0, FP(9, 9));
    ExpectBadFormat(R);
    EXPECT_EQ(R.Width(), 1);
    EXPECT_EQ(R.GetVector(0, 0), FP(9, 9));
  }
  // A header cut short is a read error.
  WriteAll(std::vector<unsigned char>(Good.begin(), Good.begin() + 20));
  TVectorMap R;
  EXPECT_THROW(R.LoadFromFile(Name), EReadError);
}

TEST_F(MeshFile, AnEmptyMapRoundTripsAndAZeroSideLoadsEmpty) {
  TVectorMap M;
  M.SaveToFile(Name);
  auto B = ReadAll();
  ASSERT_EQ(B.size(), 40u);
  TVectorMap R;
  R.SetSize(2, 2);
  R.LoadFromFile(Name);
  EXPECT_TRUE(R.Empty());
  EXPECT_EQ(R.Width(), 0);
  // One side zero: no cells to read, whatever the other side says.
  Put32(B, 24, 0x7FFFFFFF);
  WriteAll(B);
  R.LoadFromFile(Name);
  EXPECT_TRUE(R.Empty());
}

TEST_F(MeshFile, MissingFile) {
  TVectorMap M;
  try {
    M.LoadFromFile(u"lumigra_no_such_mesh.msh");
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"File not found!");
  }
}

}  // namespace
