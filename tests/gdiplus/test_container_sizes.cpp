// The container reader's arithmetic on hostile size cells: refused with the
// stream error before anything is written, under the sanitizers.
#include "common/gtest.h"

#include <string>

#include "gdiplus/FileContainers.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/Random.h"
#include "rtl/SysUtils.h"
#include "tests/gdiplus/ContainerHandMade.h"

namespace {

void WriteBytes(const String& FileName, const std::string& Bytes) {
  TFileStream f(FileName, fmCreate);
  if (!Bytes.empty()) f.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

TEST(ContainerSizes, UnpackedSizesWhoseSumPasses64BitsAreRefused) {
  const String dir = GetTempDirectory() + u"lumigra-cont-" + IntToStr(RandomInt(1 << 30)) + u"\\";
  ASSERT_TRUE(ForceDirectories(dir));
  // 9300 rows of 999999999999999 bytes each (no payload): the sizes pass the
  // cell check one by one, their sum does not fit 64 bits.
  String table;
  for (int i = 0; i < 9300; ++i) {
    if (i > 0) table += u"|";
    table += u"d,f" + IntToStr(i) + u",0,999999999999999,0,0";
  }
  const String archive = dir + u"sizes.db";
  WriteBytes(archive, HandMadeContainer("", table));
  const String out = dir + u"out\\";
  EXPECT_THROW(ExtractFileArchive(archive, out, u"", nullptr, nullptr), EReadError);
  EXPECT_FALSE(FileExists(out + u"d\\f0"));
  DeleteFile(archive);
  RemoveDir(out);
  RemoveDir(dir.substr(0, dir.size() - 1));
}

}  // namespace
