// Bounded random-input runs over the parsers (table text, string container,
// stream container, file layers). They assert the invariants that hold for
// any input and run under AddressSanitizer/UBSan in the native build.
#include "common/gtest.h"

#include <algorithm>
#include <random>
#include <string>

#include "foundation/data/HyCrypUtils.h"
#include "foundation/data/HyDataTable.h"
#include "rtl/Classes.h"
#include "rtl/SysUtils.h"

namespace {

std::mt19937 gRng(20261210);

size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(gRng); }

String RandomTableText() {
  static const Char alphabet[] = {u'#', u'|', u',', u'a', u'1', u'-', u'\r', u'\n', 26, 27, 0x4e2d, 0, u' ', 0xD800};
  String s;
  const size_t n = Pick(40);
  for (size_t i = 0; i < n; ++i) s += alphabet[Pick(sizeof(alphabet) / sizeof(alphabet[0]))];
  return s;
}

std::string RandomBytes(size_t MaxLen) {
  std::string b(Pick(MaxLen + 1), '\0');
  for (char& c : b) c = static_cast<char>(Pick(256));
  return b;
}

std::string Mutate(std::string b) {
  const size_t kind = Pick(4);
  if (b.empty()) return RandomBytes(8);
  if (kind == 0) {
    b[Pick(b.size())] ^= static_cast<char>(1 << Pick(8));
  } else if (kind == 1) {
    b.resize(Pick(b.size()));
  } else if (kind == 2) {
    b.insert(Pick(b.size() + 1), 1, static_cast<char>(Pick(256)));
  } else {
    b.erase(Pick(b.size()), 1 + Pick(4));
  }
  return b;
}

String MutateStr(String s) {
  const size_t kind = Pick(4);
  if (s.empty()) return RandomTableText();
  if (kind == 0) {
    s[Pick(s.size())] = static_cast<Char>(Pick(0x10000));
  } else if (kind == 1) {
    s.resize(Pick(s.size()));
  } else if (kind == 2) {
    s.insert(Pick(s.size() + 1), 1, static_cast<Char>(u' ' + Pick(96)));
  } else {
    s.erase(Pick(s.size()), 1 + Pick(4));
  }
  return s;
}

}  // namespace

TEST(FuzzTableText, WriteParseReachesAFixedPoint) {
  for (int i = 0; i < 4000; ++i) {
    const String s = RandomTableText();
    TDataTable a(u"", CellIndexSet({0, 2}));
    a.Init(s);
    (void)a.ToString(false);
    for (Integer r = 0; r < a.ItemCount(); ++r) {
      TCell* c = a.Items(r)->Items(0);
      c->SetText(c->Text() + RandomTableText());  // escaped writes of any text
      if (a.Items(r)->ItemCount() > 1) a.Items(r)->Items(1)->SetText(RandomTableText());  // plain cell
    }
    TDataTable b(u"", CellIndexSet({0, 2}));
    b.Init(a.ToString(true));
    const String t2 = b.ToString(true);
    TDataTable c(u"", CellIndexSet({0, 2}));
    c.Init(t2);
    ASSERT_EQ(c.ToString(true), t2) << "input " << i;
    ASSERT_EQ(b.ItemCount(), a.ItemCount()) << "input " << i;
    for (Integer r = 0; r < a.ItemCount(); ++r)
      ASSERT_EQ(b.Items(r)->ItemCount(), std::max<Integer>(a.Items(r)->ItemCount(), 1));
  }
}

TEST(FuzzFileLayers, RandomAndDamagedStreams) {
  // Valid streams of every layer combination, then random damage.
  std::vector<std::pair<Integer, std::string>> seeds;
  for (Integer mode = 0; mode < 8; ++mode)
    for (bool verify : {false, true}) {
      TDataTable t;
      t.SetIOMode(mode);
      t.SetIsAddVerifyCode(verify);
      t.Init(u"#p,q#1,a|2,b|3,\u4e2d");
      TMemoryStream ms;
      t.SaveToStream(t.ToString(true), &ms);
      seeds.emplace_back(mode * 2 + (verify ? 1 : 0),
                         std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size())));
    }
  for (int i = 0; i < 3000; ++i) {
    const auto& seed = seeds[Pick(seeds.size())];
    const std::string bytes = (i % 4 == 0) ? RandomBytes(64) : Mutate(Mutate(seed.second));
    TDataTable t;
    t.SetIOMode(seed.first / 2);
    t.SetIsAddVerifyCode(seed.first % 2 == 1);
    TMemoryStream ms;
    if (!bytes.empty()) ms.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    ms.SetPosition(0);
    t.LoadFromStream(&ms);
    for (Integer r = 0; r < t.ItemCount(); ++r) ASSERT_GE(t.Items(r)->ItemCount(), 1);
    (void)t.ToString(true);
  }
}

TEST(FuzzContainers, StringContainer) {
  std::vector<String> seeds;
  for (Integer c = 0; c < CipherIdCount; ++c)
    for (Integer h = 0; h < HashIdCount; ++h) seeds.push_back(EncryptStr(u"seed text, \u4e2d", u"", c, h));
  for (int i = 0; i < 3000; ++i) {
    const String in = (i % 5 == 0) ? RandomTableText() : MutateStr(seeds[Pick(seeds.size())]);
    const String out = DecryptStr(in, u"");
    // Never more characters than the Base64 part can hold.
    ASSERT_LE(out.size(), in.size());
    (void)Base64DecodeStr(in);
  }
}

TEST(FuzzContainers, StreamContainer) {
  std::vector<std::string> seeds;
  for (Integer c = 0; c < CipherIdCount; ++c) {
    TMemoryStream ms;
    ASSERT_TRUE(EncryptToStream("stream seed, thirty-one bytes.", u"", c, &ms, c % HashIdCount));
    seeds.emplace_back(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
  }
  for (int i = 0; i < 3000; ++i) {
    const std::string in = (i % 5 == 0) ? RandomBytes(40) : Mutate(seeds[Pick(seeds.size())]);
    TMemoryStream ms;
    if (!in.empty()) ms.WriteBuffer(in.data(), static_cast<Integer>(in.size()));
    RawByteString out;
    DecryptFromStream(u"", &ms, out);
    ASSERT_LE(out.size(), in.size() > 10 ? in.size() - 10 : 0);
  }
}
