// The skin engine's text table.
#include "common/gtest.h"

#include <set>

#include "skin/data/SkinResStr.h"

TEST(SkinResStr, BuiltInLines) {
  TspResourceStrData T(nullptr);
  EXPECT_EQ(T.ResStrings()->Count(), 133);
  std::set<String> Names;
  for (Integer I = 0; I < T.ResStrings()->Count(); ++I) Names.insert(T.ResStrings()->Names(I));
  EXPECT_EQ(Names.size(), 131u);
  EXPECT_EQ(T.CharSet(), 1);
  const std::pair<const char16_t*, const char16_t*> Texts[] = {
      {u"mi_mincaption", u"Mi&nimize"},
      {u"MSG_BTN_NOTOALL", u"N&oToAll"},
      {u"FLV_LOOKIN", u"Look in: "},
      {u"PRNDLG_MARGINS", u"Margins (millimeters)"},
      {u"PRNDLG_WARNING", u"There are no printers in your system!"},
      {u"NODISKINDRIVE", u"There is no disk in Drive or Drive is not ready"},
      {u"MSG_CAP_SHOWFLAG", u"Do not display this message again"},
      {u"DBNAV_REFRESH", u"REFRESH"},
      {u"AUTOCOLOR", u"Automatic"},
      {u"MORECOLORS", u"More colors..."},
      {u"COLORFORM_CAP", u""},
      {u"PICKCOLOR", u""},
  };
  for (auto [Name, Text] : Texts) EXPECT_EQ(T.GetResStr(Name), Text) << ToUtf8(Name);
  EXPECT_EQ(T.ResStrings()->Names(T.ResStrings()->Count() - 1), u"DB_MULTIPLEDELETE_QUESTION");
  EXPECT_GE(T.ResStrings()->IndexOfName(u"FIND_REPLACE_All"), 0);
}

TEST(SkinResStr, Lookup) {
  TspResourceStrData T(nullptr);
  TStringList L;
  for (const char16_t* S : {u"A=x=y", u"EMPTY=", u"NOEQUALS", u"DUP=first", u"dup=second", u" SPACED =v",
                            u"TRAIL=ends in spaces   "})
    L.Add(S);
  T.SetResStrings(&L);
  const std::pair<const char16_t*, const char16_t*> Cases[] = {
      {u"A", u"x=y"},        {u"a", u"x=y"},          {u"EMPTY", u""},
      {u"NOEQUALS", u""},    {u"DUP", u"first"},      {u"SPACED", u""},
      {u" SPACED ", u"v"},   {u"TRAIL", u"ends in spaces   "},
      {u"MI_MINCAPTION", u""},  // the built-in lines are gone
  };
  for (auto [Name, Text] : Cases) EXPECT_EQ(T.GetResStr(Name), Text) << ToUtf8(Name);
  EXPECT_EQ(T.ResStrings()->Count(), 7);
  L.Clear();
  EXPECT_EQ(T.ResStrings()->Count(), 7);  // a copy was taken
}
