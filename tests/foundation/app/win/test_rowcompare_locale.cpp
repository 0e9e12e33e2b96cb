// The gallery's date sort reads the numbers as the files store them (with
// "."), whatever decimal separator the user's locale has.
#include "common/gtest.h"

#include <memory>
#include <vector>

#include <windows.h>

#include "foundation/app/HyAppUtils.h"
#include "foundation/app/win/HySysUtils.h"

namespace {

// Sets the user locale's decimal separator for the test and restores it.
class TDecimalSeparator {
 public:
  explicit TDecimalSeparator(const WCHAR* Separator) {
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld, 8);
    FSet = ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Separator) != 0;
  }
  ~TDecimalSeparator() {
    if (FSet) ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld);
  }
  bool Set() const { return FSet; }

 private:
  WCHAR FOld[8] = {};
  bool FSet = false;
};

TEST(AppRowCompareLocale, DatesWithPointSortUnderACommaLocale) {
  TDecimalSeparator comma(L",");
  ASSERT_TRUE(comma.Set());
  ASSERT_EQ(LocaleDecimalSeparator(), u',');

  auto row = [](const char16_t* Date, const char16_t* Tie) {
    auto r = std::make_unique<TRow>(nullptr);
    r->Init({Date, Tie});
    return r;
  };
  auto sign = [](Integer v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
  struct Case {
    const char16_t *A, *B;
    Integer Asc;  // sign with Ascending; Descending gives the opposite
  } cases[] = {
      {u"45000.25", u"45000.5", -1},
      {u"45000.5", u"45000.25", 1},
      {u"45000,75", u"45000.5", -1},  // not a number as stored: reads as 0
      {u"0.5", u"0.25", 1},
  };
  for (const Case& c : cases) {
    auto a = row(c.A, u"1"), b = row(c.B, u"1");
    EXPECT_EQ(sign(CompareRowsByDate(a.get(), b.get(), 0, TSortDirection::Ascending, 1)), c.Asc) << "asc";
    EXPECT_EQ(sign(CompareRowsByDate(a.get(), b.get(), 0, TSortDirection::Descending, 1)), -c.Asc) << "desc";
  }

  // A whole sort: newest first, equal dates by the tie column ascending.
  TDataTable dt;
  for (const char16_t* s : {u"45000.5,3", u"44999.75,1", u"45000.5,1", u"45001.125,2", u"45000.5,2"}) dt.AddItem(s);
  dt.Sort(smCustom, [](TRow* a, TRow* b) { return CompareRowsByDate(a, b, 0, TSortDirection::Descending, 1); });
  std::vector<String> order;
  for (Integer i = 0; i < dt.ItemCount(); ++i) order.push_back(dt.Items(i)->ToString());
  EXPECT_EQ(order, (std::vector<String>{u"45001.125,2", u"45000.5,1", u"45000.5,2", u"45000.5,3", u"44999.75,1"}));
}

}  // namespace
