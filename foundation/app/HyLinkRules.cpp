#include "foundation/app/HyLinkRules.h"

namespace {

bool StartsWithNoCase(const String& S, const char16_t* Prefix) {
  size_t i = 0;
  for (; Prefix[i]; ++i) {
    if (i >= S.size()) return false;
    Char c = S[i];
    if (c >= u'A' && c <= u'Z') c = Char(c - u'A' + u'a');
    if (c != Prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsWebLink(const String& Url) {
  return StartsWithNoCase(Url, u"http://") || StartsWithNoCase(Url, u"https://");
}
