#include "common/gtest.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "rtl/Classes.h"
#include "rtl/FileUtils.h"
#include "rtl/test_streams_tempdir.h"

namespace {

class FileTest : public ::testing::Test {
 protected:
  String Path(const char* Name) const { return T.Path(Name); }
  std::string ReadAll(const char* Name) const { return T.ReadAll(Name); }
  void WriteAll(const char* Name, const std::string& Bytes) const { T.WriteAll(Name, Bytes); }
  TTempFolder T{"lumigra_streams_"};
};

std::string Content(TCustomMemoryStream& S) {
  return std::string(static_cast<const char*>(S.Memory()), static_cast<size_t>(S.Size()));
}

}  // namespace

// --- memory streams ---------------------------------------------------------

TEST(MemoryStream, GrowsInStepsAndKeepsContent) {
  TMemoryStream S;
  EXPECT_EQ(S.Capacity(), 0);
  EXPECT_EQ(S.Memory(), nullptr);
  std::string expect;
  Int64 lastCap = 0;
  int reallocs = 0;
  for (int i = 0; i < 20000; ++i) {
    char c = static_cast<char>('a' + i % 26);
    S.WriteBuffer(&c, 1);
    expect += c;
    if (S.Capacity() != lastCap) {
      ++reallocs;
      EXPECT_EQ(S.Capacity() % 8192, 0) << "capacity in 8 KiB steps";
      lastCap = S.Capacity();
    }
  }
  EXPECT_EQ(S.Size(), 20000);
  EXPECT_EQ(S.Position(), 20000);
  EXPECT_EQ(Content(S), expect);
  EXPECT_EQ(S.Capacity(), 24576);
  EXPECT_EQ(reallocs, 3);
  S.Clear();
  EXPECT_EQ(S.Size(), 0);
  EXPECT_EQ(S.Position(), 0);
  EXPECT_EQ(S.Capacity(), 0);
}

TEST(MemoryStream, SeekPastTheEndThenWriteFillsZeros) {
  TMemoryStream S;
  S.WriteBuffer("ab", 2);
  EXPECT_EQ(S.Seek(3, soFromCurrent), 5);
  EXPECT_EQ(S.Size(), 2);  // seeking alone does not grow
  char buf[4];
  EXPECT_EQ(S.Read(buf, 4), 0);
  S.WriteBuffer("z", 1);
  EXPECT_EQ(Content(S), std::string("ab\0\0\0z", 6));
  EXPECT_EQ(S.Seek(-2, soEnd), 4);
  EXPECT_EQ(S.Read(buf, 4), 2);
  EXPECT_EQ(std::string(buf, 2), std::string("\0z", 2));
  // A negative position reads and writes nothing.
  S.Seek(-10, soBeginning);
  EXPECT_EQ(S.Read(buf, 1), 0);
  EXPECT_EQ(S.Write("q", 1), 0);
  // Huge offsets saturate instead of overflowing.
  S.SetPosition(1);
  EXPECT_EQ(S.Seek(INT64_MAX, soCurrent), INT64_MAX);
}

TEST(MemoryStream, SetSizeZeroesNewBytesAndClampsPosition) {
  TMemoryStream S;
  S.WriteBuffer("hello", 5);
  S.SetSize(3);
  EXPECT_EQ(S.Position(), 3);
  EXPECT_EQ(Content(S), "hel");
  S.SetSize(6);
  EXPECT_EQ(Content(S), std::string("hel\0\0\0", 6));
  EXPECT_EQ(S.Position(), 3);
}

TEST(StreamBuffers, ReadAndWriteErrors) {
  TMemoryStream S;
  S.WriteBuffer("abc", 3);
  S.SetPosition(1);
  char buf[8];
  try {
    S.ReadBuffer(buf, 3);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), u"Stream read error");
  }
  S.SetPosition(0);
  S.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), "abc");
  S.ReadBuffer(buf, 0);  // nothing asked, nothing raised

  // A stream that refuses writes.
  class TFull : public TMemoryStream {
   public:
    Integer Write(const void*, Integer) override { return 0; }
  } Full;
  try {
    Full.WriteBuffer("x", 1);
    FAIL() << "no exception";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), u"Stream write error");
  }
}

TEST(StreamCopy, CopyFromPartAndWhole) {
  std::string data(3 << 20, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 251);
  TMemoryStream Src;
  Src.WriteBuffer(data.data(), static_cast<Integer>(data.size()));
  Src.SetPosition(10);
  TMemoryStream Dst;
  EXPECT_EQ(Dst.CopyFrom(&Src, 5), 5);
  EXPECT_EQ(Content(Dst), data.substr(10, 5));
  EXPECT_EQ(Src.Position(), 15);
  // 0 copies everything from the start, across several buffer rounds.
  TMemoryStream All;
  EXPECT_EQ(All.CopyFrom(&Src, 0), static_cast<Int64>(data.size()));
  EXPECT_EQ(Content(All), data);
  // Asking for more than there is raises the read error.
  Src.SetPosition(static_cast<Int64>(data.size()) - 2);
  TMemoryStream Short;
  EXPECT_THROW(Short.CopyFrom(&Src, 3), EReadError);
}

TEST(BytesAndStringStreams, EncodingsAndData) {
  TBytesStream B(TBytes{1, 2, 3});
  EXPECT_EQ(B.Position(), 0);
  EXPECT_EQ(B.Bytes(), (TBytes{1, 2, 3}));
  B.Seek(0, soEnd);
  Byte four = 4;
  B.WriteBuffer(&four, 1);
  EXPECT_EQ(B.Bytes(), (TBytes{1, 2, 3, 4}));

  struct Case {
    TEncoding Enc;
    std::string Bytes;
  };
  const String text = u"A\u00e9\u4e2d";
  const Case cases[] = {
      {TEncoding::UTF8, "A\xC3\xA9\xE4\xB8\xAD"},
      {TEncoding::Unicode, std::string("A\0\xE9\0\x2D\x4E", 6)},
      {TEncoding::BigEndianUnicode, std::string("\0A\0\xE9\x4E\x2D", 6)},
  };
  for (const Case& c : cases) {
    TStringStream S(text, c.Enc);
    EXPECT_EQ(Content(S), c.Bytes);
    EXPECT_EQ(S.DataString(), text);
    S.Seek(0, soEnd);
    S.WriteString(u"!");
    EXPECT_EQ(S.DataString(), text + u"!");
  }
  TStringStream R(std::string("hello"), TEncoding::UTF8);
  R.SetPosition(1);
  EXPECT_EQ(R.ReadString(3), u"ell");
  EXPECT_EQ(R.ReadString(-1), u"o");
  EXPECT_EQ(R.ReadString(5), u"");
  // An odd trailing byte of UTF-16 is dropped.
  TStringStream Odd(std::string("A\0B", 3), TEncoding::Unicode);
  EXPECT_EQ(Odd.DataString(), u"A");
}

// --- files ------------------------------------------------------------------

TEST_F(FileTest, FileStreamRoundTripAndSize) {
  {
    TFileStream F(Path("a.bin"), fmCreate);
    F.WriteBuffer("0123456789", 10);
    EXPECT_EQ(F.Size(), 10);
    F.SetSize(4);  // cut
    EXPECT_EQ(F.Size(), 4);
    F.Seek(0, soEnd);
    F.WriteBuffer("xy", 2);
    F.Flush();
  }
  EXPECT_EQ(ReadAll("a.bin"), "0123xy");
  {
    TFileStream F(Path("a.bin"), fmOpenReadWrite);
    char buf[3];
    F.Seek(-3, soEnd);
    F.ReadBuffer(buf, 3);
    EXPECT_EQ(std::string(buf, 3), "3xy");
    EXPECT_THROW(F.ReadBuffer(buf, 1), EReadError);
    F.SetPosition(1);
    F.WriteBuffer("AB", 2);
    EXPECT_EQ(F.FileName(), Path("a.bin"));
  }
  EXPECT_EQ(ReadAll("a.bin"), "0AB3xy");
  // fmCreate empties an existing file.
  { TFileStream F(Path("a.bin"), fmCreate | fmShareDenyWrite); }
  EXPECT_EQ(ReadAll("a.bin"), "");
  // Memory stream file helpers.
  TMemoryStream M;
  M.WriteBuffer("memory", 6);
  M.SaveToFile(Path("m.bin"));
  TMemoryStream M2;
  M2.LoadFromFile(Path("m.bin"));
  EXPECT_EQ(Content(M2), "memory");
}

TEST_F(FileTest, OpenAndCreateErrorsCarryTheNameAndOsText) {
  const String missing = Path("missing.bin");
  try {
    TFileStream F(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    const String head = u"Cannot open file \"" + missing + u"\". ";
    ASSERT_GT(e.Message().size(), head.size());
    EXPECT_EQ(e.Message().substr(0, head.size()), head);
    EXPECT_NE(e.Message().back(), u'.');
  }
  const String bad = Path("no_such_folder\\x.bin");
  try {
    TFileStream F(bad, fmCreate);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    const String head = u"Cannot create file \"" + bad + u"\". ";
    ASSERT_GT(e.Message().size(), head.size());
    EXPECT_EQ(e.Message().substr(0, head.size()), head);
  }
  // Both are stream errors, as callers catch them.
  EXPECT_THROW(TFileStream(missing, fmOpenReadWrite), EStreamError);
  // A folder is no file, to open or to create.
  EXPECT_THROW(TFileStream(T.Dir, fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(T.Dir, fmCreate), EFCreateError);
}

TEST_F(FileTest, ShareModesKeepOthersOut) {
  WriteAll("s.bin", "data");
  {
    TFileStream A(Path("s.bin"), fmOpenRead | fmShareExclusive);
    EXPECT_THROW(TFileStream(Path("s.bin"), fmOpenRead | fmShareExclusive), EFOpenError);
    EXPECT_THROW(TFileStream(Path("s.bin"), fmOpenRead | fmShareDenyWrite), EFOpenError);
    EXPECT_THROW(TFileStream(Path("s.bin"), fmCreate), EFCreateError);
  }
  EXPECT_EQ(ReadAll("s.bin"), "data");  // the refused create did not empty it
  {
    TFileStream A(Path("s.bin"), fmOpenRead | fmShareDenyWrite);
    TFileStream B(Path("s.bin"), fmOpenRead | fmShareDenyWrite);  // readers together
    EXPECT_THROW(TFileStream(Path("s.bin"), fmOpenReadWrite | fmShareExclusive), EFOpenError);
    char c;
    B.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'd');
  }
}

TEST_F(FileTest, ReplaceFileKeepsTheTargetUntilItSucceeds) {
  WriteAll("target.db", "old");
  // No temporary file: fails, the target stays.
  EXPECT_FALSE(ReplaceFile(Path("tmp.db"), Path("target.db")));
  EXPECT_EQ(ReadAll("target.db"), "old");
  // A folder in the target's place cannot be replaced; the temporary stays.
  WriteAll("tmp.db", "new");
  CreateDir(Path("folder"));
  EXPECT_FALSE(ReplaceFile(Path("tmp.db"), Path("folder")));
  EXPECT_EQ(ReadAll("tmp.db"), "new");
  // Success: the new content in place, the temporary gone.
  EXPECT_TRUE(ReplaceFile(Path("tmp.db"), Path("target.db")));
  EXPECT_EQ(ReadAll("target.db"), "new");
  EXPECT_FALSE(FileExists(Path("tmp.db")));
  // Also when the target does not exist yet.
  WriteAll("tmp2.db", "first");
  EXPECT_TRUE(ReplaceFile(Path("tmp2.db"), Path("fresh.db")));
  EXPECT_EQ(ReadAll("fresh.db"), "first");
}

TEST_F(FileTest, HandleStreamLeavesTheHandleOpen) {
  THandle h = FileCreate(Path("h.bin"));
  ASSERT_NE(h, InvalidFileHandle);
  {
    THandleStream S(h);
    S.WriteBuffer("handle", 6);
    EXPECT_EQ(S.Size(), 6);
  }
  EXPECT_EQ(FileSeek(h, 0, fsFromBeginning), 0);
  char buf[6];
  EXPECT_EQ(FileRead(h, buf, 6), 6);
  EXPECT_EQ(std::string(buf, 6), "handle");
  EXPECT_EQ(FileRead(h, buf, 6), 0);
  EXPECT_EQ(FileRead(h, buf, 0), 0);
  FileClose(h);
  EXPECT_EQ(FileOpen(Path("nope.bin"), fmOpenRead), InvalidFileHandle);
  EXPECT_TRUE(FileErrorIsNotFound(FileLastError()));
}

// --- string lists and files -------------------------------------------------

TEST_F(FileTest, StringListEncodingsOnDisk) {
  const String text = u"A\u00e9\u4e2d";
  struct Case {
    TEncoding Enc;
    std::string Bytes;
  };
  const Case cases[] = {
      {TEncoding::UTF8, "\xEF\xBB\xBF" "A\xC3\xA9\xE4\xB8\xAD\r\nz\r\n"},
      {TEncoding::Unicode, std::string("\xFF\xFE" "A\0\xE9\0\x2D\x4E\r\0\n\0z\0\r\0\n\0", 18)},
      {TEncoding::BigEndianUnicode, std::string("\xFE\xFF\0A\0\xE9\x4E\x2D\0\r\0\n\0z\0\r\0\n", 18)},
  };
  for (const Case& c : cases) {
    TStringList L;
    L.Add(text);
    L.Add(u"z");
    L.SaveToFile(Path("enc.txt"), c.Enc);
    EXPECT_EQ(ReadAll("enc.txt"), c.Bytes) << static_cast<int>(c.Enc);
    // Loading finds the encoding from the mark, and saving again keeps it.
    TStringList R;
    R.LoadFromFile(Path("enc.txt"));
    EXPECT_EQ(R.Encoding(), c.Enc);
    EXPECT_EQ(R.ToStringArray(), (std::vector<String>{text, u"z"}));
    R.SaveToFile(Path("again.txt"));
    EXPECT_EQ(ReadAll("again.txt"), c.Bytes);
  }
  // Without a mark the text is ANSI; the ASCII part reads the same anywhere.
  WriteAll("plain.txt", "k=v\nx");
  TStringList P;
  P.LoadFromFile(Path("plain.txt"));
  EXPECT_EQ(P.Encoding(), TEncoding::Default);
  EXPECT_EQ(P.ToStringArray(), (std::vector<String>{u"k=v", u"x"}));
  // ANSI text with a letter of the code page survives a round trip.
  P.Clear();
  P.Add(u"caf\u00e9");
  P.SaveToFile(Path("ansi.txt"), TEncoding::Default);
  EXPECT_EQ(ReadAll("ansi.txt").substr(0, 3), "caf");
  TStringList A;
  A.LoadFromFile(Path("ansi.txt"));
  EXPECT_EQ(A.Strings(0), u"caf\u00e9");
  // An explicit encoding skips its own mark only.
  WriteAll("bom.txt", "\xEF\xBB\xBFq");
  P.LoadFromFile(Path("bom.txt"), TEncoding::UTF8);
  EXPECT_EQ(P.Strings(0), u"q");
  // WriteBOM off.
  P.SetWriteBOM(false);
  P.SaveToFile(Path("nobom.txt"), TEncoding::UTF8);
  EXPECT_EQ(ReadAll("nobom.txt"), "q\r\n");
  // A missing file raises the open error.
  EXPECT_THROW(P.LoadFromFile(Path("none.txt")), EFOpenError);
}

TEST(StringListStreams, LoadReadsFromThePosition) {
  TMemoryStream S;
  S.WriteBuffer("skip\xEF\xBB\xBFx\r\ny", 11);
  S.SetPosition(4);
  TStringList L;
  L.LoadFromStream(&S);
  EXPECT_EQ(L.Encoding(), TEncoding::UTF8);
  EXPECT_EQ(L.ToStringArray(), (std::vector<String>{u"x", u"y"}));
  TMemoryStream Out;
  L.SaveToStream(&Out, TEncoding::Default);
  EXPECT_EQ(Content(Out), "x\r\ny\r\n");
}
