// Containers: writing and reading back, the reader's checks on hostile or
// broken input, and the atomic replacement of the container file.
#include "common/gtest.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/data/HyCrypUtils.h"
#include "foundation/data/HyDataTable.h"
#include "gdiplus/FileContainers.h"
#include "gdiplus/ZlibStreams.h"
#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"
#include "tests/gdiplus/ContainerHandMade.h"
#include "test_containers_util.h"

namespace {

using namespace containers_test;

class Containers : public ::testing::Test {
 protected:
  TTempFolder Temp;
  String Src() const { return Temp.Path + u"src\\"; }
  String Out() const { return Temp.Path + u"out\\"; }
  String Archive() const { return Temp.Path + u"Backup.db"; }
};

struct TProgressLog {
  std::vector<Int64> Values;
  static void Record(void* Data, Int64 Percent) { static_cast<TProgressLog*>(Data)->Values.push_back(Percent); }
};

std::string Deflated(const std::string& Data) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(ZlibDeflate(Data.data(), Data.size(), 9, out));
  return std::string(out.begin(), out.end());
}

std::string HandMade(const std::string& Payloads, const String& TableText) {
  return HandMadeContainer(Payloads, TableText);
}

String Row(const String& Folder, const String& Name, size_t Packed, size_t Size) {
  return Folder + u"," + Name + u"," + IntToStr(Int64(Packed)) + u"," + IntToStr(Int64(Size)) + u",0,0";
}

}  // namespace

TEST_F(Containers, RoundTripOfAFolderWithSubfoldersAndChineseNames) {
  std::string big;
  for (int i = 0; i < 200000; ++i) big += static_cast<char>((i * 7919) >> 3);
  const struct {
    String Folder, Name;
    std::string Data;
  } files[] = {
      {u"", u"a.dat", big},
      {u"子目录\\", u"图片.dat", "\xE4\xB8\xAD text"},
      {u"子目录\\深\\", u"空.dat", ""},
  };
  TDataTable table;
  for (const auto& f : files) {
    ASSERT_TRUE(ForceDirectories(Src() + f.Folder));
    WriteBytes(Src() + f.Folder + f.Name, f.Data);
    table.AddItem(f.Folder + u"," + f.Name + u",0,0,0,0");
  }
  WriteFileArchive(Archive(), Src(), u"", &table, u"");
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(table[Integer(i)]->Items(3)->Text(), IntToStr(Int64(files[i].Data.size())));
  EXPECT_LT(StrToInt64(table[0]->Items(2)->Text()), Int64(big.size()));

  const std::string bytes = ReadBytes(Archive());
  ASSERT_GT(bytes.size(), 7u);
  EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\x0A\x14\x02"));
  EXPECT_FALSE(FileExists(Archive() + u".tmp"));

  TProgressLog log;
  ExtractFileArchive(Archive(), Out(), u"", &TProgressLog::Record, &log);
  for (const auto& f : files) EXPECT_EQ(ReadBytes(Out() + f.Folder + f.Name), f.Data);
  ASSERT_EQ(log.Values.size(), 3u);
  EXPECT_EQ(log.Values[0], 100);  // the first file is (nearly) all of the bytes
  EXPECT_EQ(log.Values[2], 100);
}

TEST_F(Containers, TailsForPasswordsAndNotes) {
  ASSERT_TRUE(ForceDirectories(Src()));
  WriteBytes(Src() + u"x.dat", "payload");
  const String password = u"0123456789abcdefghijKLM";  // 23 characters
  TDataTable table;
  table.AddItem(Row(u"", u"x.dat", 0, 0));
  WriteFileArchive(Archive(), Src(), password, &table, u"NOTE1234");
  const std::string bytes = ReadBytes(Archive());
  EXPECT_EQ(bytes.substr(bytes.size() - 29, 20), std::string("0123456789defghijKLM"));
  EXPECT_EQ(bytes.substr(bytes.size() - 9, 8), std::string("NOTE1234"));
  EXPECT_EQ(bytes.back(), '\x01');

  ExtractFileArchive(Archive(), Out(), password, nullptr, nullptr);
  EXPECT_EQ(ReadBytes(Out() + u"x.dat"), "payload");

  // Under another password the table does not decipher: refused, nothing written.
  EXPECT_THROW(ExtractFileArchive(Archive(), Temp.Path + u"other\\", u"wrong password!", nullptr, nullptr), EReadError);
  EXPECT_FALSE(FileExists(Temp.Path + u"other\\x.dat"));

  // A note of another length cannot be found again by the reader.
  EXPECT_THROW(WriteFileArchive(Archive(), Src(), u"", &table, u"short"), EArgumentException);
  EXPECT_EQ(ReadBytes(Archive()), bytes);
}

TEST_F(Containers, EmptyBackupAndTotalOfZero) {
  TDataTable empty;
  WriteFileArchive(Archive(), Src(), u"", &empty, u"");
  const std::string bytes = ReadBytes(Archive());
  const std::string text = StringToAnsiBytes(EncryptStr(empty.ToString(true), u"", 0, 0));
  ASSERT_EQ(bytes.size(), text.size() + 4 + 3);  // no payload at all
  EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\x0A\x14\x02"));
  TProgressLog log;
  ExtractFileArchive(Archive(), Out(), u"", &TProgressLog::Record, &log);
  EXPECT_TRUE(log.Values.empty());

  // Only empty files: the total is 0 and the callback is told 100.
  ASSERT_TRUE(ForceDirectories(Src()));
  WriteBytes(Src() + u"e1.dat", "");
  WriteBytes(Src() + u"e2.dat", "");
  TDataTable table;
  table.AddItem(Row(u"", u"e1.dat", 0, 0));
  table.AddItem(Row(u"", u"e2.dat", 0, 0));
  WriteFileArchive(Archive(), Src(), u"", &table, u"");
  ExtractFileArchive(Archive(), Out(), u"", &TProgressLog::Record, &log);
  EXPECT_EQ(log.Values, (std::vector<Int64>{100, 100}));
  EXPECT_TRUE(FileExists(Out() + u"e2.dat"));
}

TEST_F(Containers, FailedWriteKeepsThePreviousContainer) {
  ASSERT_TRUE(ForceDirectories(Src()));
  WriteBytes(Src() + u"a.dat", "first");
  TDataTable good;
  good.AddItem(Row(u"", u"a.dat", 0, 0));
  WriteFileArchive(Archive(), Src(), u"", &good, u"");
  const std::string before = ReadBytes(Archive());

  TDataTable bad;
  bad.AddItem(Row(u"", u"a.dat", 0, 0));
  bad.AddItem(Row(u"", u"missing.dat", 0, 0));
  EXPECT_THROW(WriteFileArchive(Archive(), Src(), u"", &bad, u""), EFOpenError);
  EXPECT_EQ(ReadBytes(Archive()), before);
  EXPECT_FALSE(FileExists(Archive() + u".tmp"));

  EXPECT_THROW(WriteFileArchive(Temp.Path + u"no\\such\\folder\\B.db", Src(), u"", &good, u""), EFCreateError);
}

// Rows that name places outside the target folder are refused before any
// file is written; system rows are skipped and their payload stepped over.
TEST_F(Containers, ExtractionStaysInsideTheTargetFolder) {
  const std::string evil = "evil";
  const std::string packed = Deflated(evil);
  const struct {
    const char* Label;
    String Folder, Name;
  } refused[] = {
      {"parent", u"..\\", u"evil.dat"},
      {"parent deeper", u"sub\\..\\..\\", u"evil.dat"},
      {"parent with slash", u"sub/../../", u"evil.dat"},
      {"drive", u"C:\\windows\\", u"evil.dat"},
      {"root", u"\\", u"evil.dat"},
      {"name ..", u"", u".."},
      {"empty name", u"", u""},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.Label);
    WriteBytes(Archive(), HandMade(packed, Row(c.Folder, c.Name, packed.size(), evil.size())));
    const String target = Temp.Path + u"t\\in\\";
    EXPECT_THROW(ExtractFileArchive(Archive(), target, u"", nullptr, nullptr), EReadError);
    EXPECT_FALSE(FileExists(Temp.Path + u"t\\evil.dat"));
    EXPECT_FALSE(FileExists(Temp.Path + u"evil.dat"));
    EXPECT_FALSE(FileExists(u"C:\\windows\\evil.dat"));
  }

  // A name cell with a path keeps only its name part; the "into the
  // directory" flag puts a row straight into the target folder.
  const std::string two = packed + packed;
  WriteBytes(Archive(), HandMade(two, Row(u"", u"..\\..\\n1.dat", packed.size(), evil.size()) + u"|" + u"..\\,n2.dat," +
                                          IntToStr(Int64(packed.size())) + u"," + IntToStr(Int64(evil.size())) +
                                          u",1,0"));
  ExtractFileArchive(Archive(), Out(), u"", nullptr, nullptr);
  EXPECT_EQ(ReadBytes(Out() + u"n1.dat"), evil);
  EXPECT_EQ(ReadBytes(Out() + u"n2.dat"), evil);

  // System rows: skipped, and the next row's payload is still found.
  const std::string other = "the ordinary row";
  const std::string packedOther = Deflated(other);
  WriteBytes(Archive(),
             HandMade(packed + packed + packedOther, Row(u"$System$\\", u"planted.dll", packed.size(), evil.size()) +
                                                         u"|" + Row(u"$Third$\\", u"planted2.dll", packed.size(), evil.size()) +
                                                         u"|" + Row(u"", u"plain.dat", packedOther.size(), other.size())));
  TProgressLog log;
  ExtractFileArchive(Archive(), Out(), u"", &TProgressLog::Record, &log);
  EXPECT_EQ(ReadBytes(Out() + u"plain.dat"), other);
  EXPECT_EQ(log.Values, std::vector<Int64>{100});
  EXPECT_FALSE(FileExists(u"C:\\windows\\system32\\planted.dll"));
  EXPECT_FALSE(FileExists(u"C:\\windows\\system32\\planted2.dll"));
  EXPECT_FALSE(FileExists(Out() + u"planted.dll"));
}

// Broken containers: refused with the stream error, nothing written.
TEST_F(Containers, CorruptContainersAreRefused) {
  std::string data;
  for (int i = 0; i < 3000; ++i) data += static_cast<char>('a' + i % 23);
  const std::string packed = Deflated(data);
  const std::string bomb = Deflated(std::string(8 * 1024 * 1024, '\0'));  // 8 MiB from a few KiB
  std::string flipped = packed;
  flipped[flipped.size() / 2] ^= 0x55;

  auto withL = [](std::string S, uint32_t L) {
    const size_t at = S.size() - 7;
    for (int i = 0; i < 4; ++i) S[at + i] = static_cast<char>(L >> (8 * i));
    return S;
  };
  const std::string good = HandMade(packed, Row(u"", u"f.dat", packed.size(), data.size()));
  const struct {
    const char* Label;
    std::string Bytes;
  } cases[] = {
      {"negative L", withL(good, 0xFFFFFFF0u)},
      {"L of the file size", withL(good, uint32_t(good.size()))},
      {"L one past the payload start", withL(good, uint32_t(good.size() - 7 + 1))},
      {"too short for a tail", "\x0A\x14\x02"},
      {"short row", HandMade(packed, u"," + String(u"f.dat,") + IntToStr(Int64(packed.size())))},
      {"negative packed size", HandMade(packed, Row(u"", u"f.dat", 0, data.size()).replace(7, 1, u"-5"))},
      {"size not a number", HandMade(packed, u",f.dat," + IntToStr(Int64(packed.size())) + u",12x,0,0")},
      {"sizes do not add up", HandMade(packed, Row(u"", u"f.dat", packed.size() - 1, data.size()))},
      {"payload cut short", HandMade(packed.substr(0, packed.size() - 4), Row(u"", u"f.dat", packed.size() - 4, data.size()))},
      {"unpacked size too small", HandMade(packed, Row(u"", u"f.dat", packed.size(), data.size() - 1))},
      {"unpacked size too large", HandMade(packed, Row(u"", u"f.dat", packed.size(), data.size() + 1))},
      {"inflate bomb", HandMade(bomb, Row(u"", u"f.dat", bomb.size(), 100))},
      {"damaged payload", HandMade(flipped, Row(u"", u"f.dat", flipped.size(), data.size()))},
      {"table that does not decipher", [&] {
         std::string s = good;
         s[packed.size() + 3] ^= 0x01;  // inside the table text
         return s;
       }()},
  };
  ExtractFileArchive((WriteBytes(Archive(), good), Archive()), Out(), u"", nullptr, nullptr);
  EXPECT_EQ(ReadBytes(Out() + u"f.dat"), data) << "the unmodified container must read";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    WriteBytes(Archive(), c.Bytes);
    const String target = Temp.Path + u"bad\\";
    EXPECT_THROW(ExtractFileArchive(Archive(), target, u"", nullptr, nullptr), EReadError);
    EXPECT_FALSE(FileExists(target + u"f.dat"));
  }
}
