// Which link addresses may reach the shell.
#include "common/gtest.h"

#include "foundation/app/HyLinkRules.h"

namespace {

TEST(LinkRules, OnlyWebAddresses) {
  struct Row {
    const char16_t* Url;
    bool Open;
  };
  const Row Rows[] = {
      {u"http://a", true},         {u"HTTPS://a", true},      {u"https://a/b?c", true},
      {u"HtTp://x.y", true},       {u"file:///etc", false},   {u"file:///etc/passwd", false},
      {u"C:\\x.exe", false},       {u"javascript:x", false},  {u"", false},
      {u" http://a", false},       {u"http:/a", false},       {u"https:", false},
      {u"xhttp://a", false},       {u"mailto:a@b", false},
  };
  for (const Row& R : Rows) EXPECT_EQ(IsWebLink(R.Url), R.Open) << std::u16string(R.Url).size();
}

}  // namespace
