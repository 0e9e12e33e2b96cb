// The container reader's arithmetic on hostile size cells: refused with the
// stream error before anything is written, under the sanitizers.
#include "common/gtest.h"

#include <string>

#include "foundation/data/HyCrypUtils.h"
#include "gdiplus/FileContainers.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"

namespace {

#ifdef LUMIGRA_NATIVE
constexpr Char kDelim = u'/';
#else
constexpr Char kDelim = u'\\';
#endif

void WriteBytes(const String& FileName, const std::string& Bytes) {
  TFileStream f(FileName, fmCreate);
  if (!Bytes.empty()) f.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

// Payloads, the table text enciphered under the empty password, L and the
// tail $0A $14 $02.
std::string HandMade(const std::string& Payloads, const String& TableText) {
  const std::string text = StringToAnsiBytes(EncryptStr(TableText, u"", 0, 0));
  std::string s = Payloads + text;
  const uint32_t len = static_cast<uint32_t>(text.size());
  for (int i = 0; i < 4; ++i) s += static_cast<char>(len >> (8 * i));
  s += "\x0A\x14\x02";
  return s;
}

TEST(ContainerSizes, UnpackedSizesWhoseSumPasses64BitsAreRefused) {
  const String dir = GetTempDirectory() + u"lumigra-cont-" + IntToStr(RandomInt(1 << 30)) + kDelim;
  ASSERT_TRUE(ForceDirectories(dir));
  // 9300 rows of 999999999999999 bytes each (no payload): the sizes pass the
  // cell check one by one, their sum does not fit 64 bits.
  String table;
  for (int i = 0; i < 9300; ++i) {
    if (i > 0) table += u"|";
    table += u"d,f" + IntToStr(i) + u",0,999999999999999,0,0";
  }
  const String archive = dir + u"sizes.db";
  WriteBytes(archive, HandMade("", table));
  const String out = dir + u"out" + kDelim;
  EXPECT_THROW(ExtractFileArchive(archive, out, u"", nullptr, nullptr), EReadError);
  EXPECT_FALSE(FileExists(out + u"d" + kDelim + u"f0"));
  DeleteFile(archive);
  RemoveDir(out);
  RemoveDir(dir.substr(0, dir.size() - 1));
}

}  // namespace
