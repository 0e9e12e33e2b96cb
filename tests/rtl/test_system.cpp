#include "common/gtest.h"

#include "rtl/System.h"

namespace {
class TSample : public TObject {};
namespace inner { template <class T> class TBox : public TObject {}; }
}  // namespace

TEST(SystemTypes, ClassNameIsTheUnqualifiedName) {
  TSample s;
  inner::TBox<int> b;
  TObject o;
  EXPECT_EQ(u"TSample", s.ClassName());
  EXPECT_EQ(u"TBox", b.ClassName());
  EXPECT_EQ(u"TObject", o.ClassName());
}

TEST(SystemTypes, SizesMatchTheDesign) {
  static_assert(sizeof(Integer) == 4 && sizeof(Cardinal) == 4 && sizeof(Int64) == 8);
  static_assert(sizeof(Char) == 2 && sizeof(Single) == 4);
  TRect r = Bounds(2, 3, 10, 20);
  EXPECT_EQ(12, r.Right);
  EXPECT_EQ(23, r.Bottom);
  EXPECT_EQ(10, r.Width());
  EXPECT_EQ(20, r.Height());
}
