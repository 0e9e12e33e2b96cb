#include "common/gtest.h"

#include "rtl/Haval.h"

#include <string>
#include <vector>

namespace {

std::string Hex(const THaval256Digest& d) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s;
  for (Byte b : d) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

TEST(Haval256, PublishedVectors) {
  struct { const char* text; const char* digest; } cases[] = {
      {"", "BE417BB4DD5CFB76C7126F4F8EEB1553A449039307B1A3CD451DBFDC0FBBE330"},
      {"a", "DE8FD5EE72A5E4265AF0A756F4E1A1F65C9B2B2F47CF17ECF0D1B88679A3E22F"},
      {"HAVAL", "153D2C81CD3C24249AB7CD476934287AF845AF37F53F51F5C7E2BE99BA28443F"},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(Haval256(std::string_view(c.text))), c.digest) << '"' << c.text << '"';
}

std::vector<Byte> Pattern(size_t n) {
  std::vector<Byte> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<Byte>(i * 31 + 7);
  return v;
}

TEST(Haval256, IncrementalEqualsOneShotAtEverySplit) {
  // 300 bytes: two full blocks plus a tail, so splits cross block boundaries.
  const std::vector<Byte> data = Pattern(300);
  const THaval256Digest whole = Haval256(data.data(), data.size());
  THaval256 h;
  for (size_t split = 0; split <= data.size(); ++split) {
    h.Update(data.data(), split);
    h.Update(data.data() + split, data.size() - split);
    ASSERT_EQ(h.Final(), whole) << "split at " << split;  // Final starts a new message
  }
  // Byte by byte, and in three uneven pieces.
  for (Byte b : data) h.Update(&b, 1);
  EXPECT_EQ(h.Final(), whole);
  h.Update(data.data(), 1);
  h.Update(data.data() + 1, 127);
  h.Update(data.data() + 128, 172);
  EXPECT_EQ(h.Final(), whole);
}

TEST(Haval256, LongerMessagesAcrossThePaddingAndBlockBoundaries) {
  // Digests of the first n bytes of Pattern(300), made with an independent
  // implementation. 118 bytes is where the length field no longer fits in the
  // message's last block; 128 is one block.
  struct { size_t n; const char* digest; } cases[] = {
      {1, "47D3A795BC7A66AD36646107C564EF9AF25DC89751E2C6344BE9C69740218A87"},
      {117, "E69BEC544B41A27D7D65F26B8A65A561F92C30F7912A4844CF96FC6BC901675B"},
      {118, "B5C4358C0570932E4F6EA8E29F60F9D5F8B819CE13792DA3441E6636BBE6E957"},
      {119, "B72E7B50964AC7D9B0868F150802857318B32CF5B843AFA5DF60303D4B2A8373"},
      {127, "30FC5BFBA12FFA829EC657E4C71BA86EFFEDD605EB9044969538DF03A938D75E"},
      {128, "2E67AE16FC2BBAAF2F1D6ECF473A93679C3B2E8F8F7379B80E5BFCA4524B8CDF"},
      {129, "151F673A64416184221F7F4C3671361CB18E8A35E501D2A4A5B0FAFFFA63F845"},
      {245, "3130DBC23D1573FC9A0614396CDF7BFF449C52E9960C13B9917E192BFDA8F65E"},
      {246, "23A380590FE7CA0ED05B994E9145DBDA12506004544AB73A9625C04620F7BBE0"},
      {247, "4142F7ED2ECEC5E1AFA0D5158D4A08C9FF9BC14C707A913DDAD5C7FCF942D17F"},
      {255, "4C32DC6E1C38E4AF2FE15DB2CB73337AB6EE7A0680AE6D7F61AA0D5FF3BCDCEF"},
      {256, "3019A8F4907E290DFE10D872C7A0D1EB6A5F895F3EFD5DAE7313043BC510A48E"},
      {257, "082EF2C5B907C3920ACB27BEF8D11EC666BAFFEA3AEF4A4CB38F109CCEB9A166"},
      {300, "CAEC0ED1FEBCA83337E6710ECCE98A5FB2582AFAC613C6BDC154B127DFE4BEC5"},
  };
  const std::vector<Byte> data = Pattern(300);
  for (const auto& c : cases) EXPECT_EQ(Hex(Haval256(data.data(), c.n)), c.digest) << "length " << c.n;
  EXPECT_EQ(Hex(Haval256(std::string_view("abcdefghijklmnopqrstuvwxyz"))),
            "C9C7D8AFA159FD9E965CB83FF5EE6F58AEDA352C0EFF005548153A61551C38EE");
}

}  // namespace
