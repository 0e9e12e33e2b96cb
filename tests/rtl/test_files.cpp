#include "common/gtest.h"

#include "rtl/DateUtils.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"

#include <cmath>
#include <set>
#include <string>

namespace {

struct PathCase {
  const char16_t* name;
  const char16_t* path;  // ExtractFilePath
  const char16_t* dir;   // ExtractFileDir
  const char16_t* file;  // ExtractFileName
  const char16_t* ext;   // ExtractFileExt
  const char16_t* drive; // ExtractFileDrive
};

TEST(FilePaths, ExtractParts) {
  const PathCase cases[] = {
      {u"C:\\a\\b.txt", u"C:\\a\\", u"C:\\a", u"b.txt", u".txt", u"C:"},
      {u"C:\\b.txt", u"C:\\", u"C:\\", u"b.txt", u".txt", u"C:"},
      {u"C:b.txt", u"C:", u"C:", u"b.txt", u".txt", u"C:"},
      {u"b.txt", u"", u"", u"b.txt", u".txt", u""},
      {u"C:\\my.folder\\readme", u"C:\\my.folder\\", u"C:\\my.folder", u"readme", u"", u"C:"},
      {u"C:\\a\\archive.tar.gz", u"C:\\a\\", u"C:\\a", u"archive.tar.gz", u".gz", u"C:"},
      {u"C:\\a\\.hidden", u"C:\\a\\", u"C:\\a", u".hidden", u".hidden", u"C:"},
      {u"C:\\a\\dir\\", u"C:\\a\\dir\\", u"C:\\a\\dir", u"", u"", u"C:"},
      {u"\\\\server\\share\\dir\\f.jpg", u"\\\\server\\share\\dir\\", u"\\\\server\\share\\dir", u"f.jpg", u".jpg",
       u"\\\\server\\share"},
      {u"\\\\server\\share\\f.jpg", u"\\\\server\\share\\", u"\\\\server\\share", u"f.jpg", u".jpg", u"\\\\server\\share"},
      {u"\\\\server\\share", u"\\\\server\\", u"\\\\server", u"share", u"", u"\\\\server\\share"},
      {u"\\root.ini", u"\\", u"\\", u"root.ini", u".ini", u""},
      {u"C:/a/b.png", u"C:/a/", u"C:/a", u"b.png", u".png", u"C:"},  // "/" is a delimiter too
      {u"dir/sub\\x.y.z", u"dir/sub\\", u"dir/sub", u"x.y.z", u".z", u""},
      {u"", u"", u"", u"", u"", u""},
      {u"name.", u"", u"", u"name.", u".", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(UTF8Encode(c.name));
    EXPECT_EQ(ExtractFilePath(c.name), c.path);
    EXPECT_EQ(ExtractFileDir(c.name), c.dir);
    EXPECT_EQ(ExtractFileName(c.name), c.file);
    EXPECT_EQ(ExtractFileExt(c.name), c.ext);
    EXPECT_EQ(ExtractFileDrive(c.name), c.drive);
  }
}

TEST(FilePaths, ChangeExtAndTrailingDelimiters) {
  struct { const char16_t* name; const char16_t* ext; const char16_t* want; } exts[] = {
      {u"C:\\a\\b.txt", u".bak", u"C:\\a\\b.bak"},
      {u"C:\\a.dir\\b", u".jpg", u"C:\\a.dir\\b.jpg"},  // the folder's dot is not an extension
      {u"b.tar.gz", u"", u"b.tar"},
      {u"b", u".x", u"b.x"},
      {u"", u".x", u".x"},
  };
  for (const auto& c : exts) EXPECT_EQ(ChangeFileExt(c.name, c.ext), c.want) << UTF8Encode(c.name);

  struct { const char16_t* in; const char16_t* incl; const char16_t* excl; } trails[] = {
      {u"C:\\a", u"C:\\a\\", u"C:\\a"},
      {u"C:\\a\\", u"C:\\a\\", u"C:\\a"},
      {u"C:\\", u"C:\\", u"C:"},
      {u"C:/a/", u"C:/a/", u"C:/a"},
      {u"", u"\\", u""},
      {u"\\", u"\\", u""},
  };
  for (const auto& c : trails) {
    EXPECT_EQ(IncludeTrailingPathDelimiter(c.in), c.incl) << UTF8Encode(c.in);
    EXPECT_EQ(ExcludeTrailingPathDelimiter(c.in), c.excl) << UTF8Encode(c.in);
  }
  EXPECT_TRUE(IsPathDelimiter(u"a\\", 2));
  EXPECT_TRUE(IsPathDelimiter(u"a/", 2));
  EXPECT_FALSE(IsPathDelimiter(u"a\\", 1));
  EXPECT_FALSE(IsPathDelimiter(u"a\\", 3));
  EXPECT_FALSE(IsPathDelimiter(u"a\\", 0));
}

TEST(FilePaths, ExpandFileName) {
  struct { const char16_t* in; const char16_t* want; } cases[] = {
      {u"C:\\a\\b\\..\\c.txt", u"C:\\a\\c.txt"},
      {u"C:\\a\\.\\b\\", u"C:\\a\\b\\"},
      {u"C:/a/b/../../..", u"C:\\"},  // never above the root
      {u"\\\\srv\\share\\x\\..\\y", u"\\\\srv\\share\\y"},
      {u"C:\\a\\\\b", u"C:\\a\\b"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandFileName(c.in), c.want) << UTF8Encode(c.in);
  EXPECT_EQ(ExpandFileName(u""), u"");

  // Relative names hang off the current folder.
  String cur = GetCurrentDir();
  ASSERT_FALSE(cur.empty());
  EXPECT_EQ(ExpandFileName(u"sub\\..\\x.txt"), IncludeTrailingPathDelimiter(ExpandFileName(cur)) + u"x.txt");
  EXPECT_EQ(ExpandFileName(u"."), ExpandFileName(cur));
}

TEST(FilePaths, MasksMatchLikeWindows) {
  struct { const char16_t* name; const char16_t* mask; bool match; } cases[] = {
      {u"a.jpg", u"*.jpg", true}, {u"A.JPG", u"*.jpg", true}, {u"a.jpeg", u"*.jpg", false},
      {u"noext", u"*.*", true},   {u"abc", u"a?c", true},     {u"ac", u"a?c", false},
      {u"x.db", u"*", true},      {u"x.db", u"x*b", true},    {u"x.db", u"*.d", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.match) << UTF8Encode(c.name) << " ~ " << UTF8Encode(c.mask);
}

// A fresh folder under the temporary folder, removed afterwards.
class FileSystemTest : public testing::Test {
 protected:
  void SetUp() override {
    String base = GetTempDirectory();
    ASSERT_FALSE(base.empty());
    ASSERT_TRUE(IsPathDelimiter(base, Length(base)));
    Byte tag[8];
    for (int attempt = 0; attempt < 100; ++attempt) {
      FRoot = base + u"rtl_files_" + IntToStr(attempt) + u"_" + IntToStr(static_cast<Int64>(Now() * 1e7) % 1000000);
      if (CreateDir(FRoot)) return;
    }
    (void)tag;
    FAIL() << "no temporary folder";
  }
  void TearDown() override { RemoveTree(FRoot); }

  static void RemoveTree(const String& dir) {
    TSearchRec f;
    if (FindFirst(dir + u"\\*", faAnyFile, f) == 0) {
      do {
        if (f.Name == u"." || f.Name == u"..") continue;
        String full = dir + u"\\" + f.Name;
        if (f.Attr & faDirectory) RemoveTree(full);
        else DeleteFile(full);
      } while (FindNext(f) == 0);
    }
    FindClose(f);
    RemoveDir(dir);
  }

  String Path(const String& name) const { return FRoot + u"\\" + name; }

  static void WriteFile(const String& name, const std::string& bytes) {
    String n = name;
#ifndef _WIN32
    for (Char& c : n)
      if (c == u'\\') c = u'/';
#endif
    THandle h = FileCreate(n);
    ASSERT_NE(h, InvalidFileHandle) << UTF8Encode(n);
    EXPECT_EQ(FileWrite(h, bytes.data(), static_cast<Integer>(bytes.size())), static_cast<Integer>(bytes.size()));
    FileClose(h);
  }

  String FRoot;
};

TEST_F(FileSystemTest, CreateRenameDeleteAndQuery) {
  const String file = Path(u"data.txt");
  EXPECT_FALSE(FileExists(file));
  EXPECT_EQ(FileSize(file), -1);
  TDateTime age = 5;
  EXPECT_FALSE(FileAge(file, age));
  EXPECT_EQ(age, 5);
  EXPECT_EQ(FileAge(file), -1);

  WriteFile(file, "hello");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_EQ(FileSize(file), 5);
  ASSERT_TRUE(FileAge(file, age));
  EXPECT_LT(std::fabs(age - Now()), 1.0 / 24 / 60 * 5);  // written within the last minutes, local time
  EXPECT_EQ(FileAge(file), age);

  // Rename never replaces an existing target.
  const String other = Path(u"other.txt");
  WriteFile(other, "x");
  EXPECT_FALSE(RenameFile(file, other));
  EXPECT_EQ(FileSize(other), 1);
  EXPECT_TRUE(DeleteFile(other));
  EXPECT_TRUE(RenameFile(file, other));
  EXPECT_FALSE(FileExists(file));
  EXPECT_EQ(FileSize(other), 5);

  EXPECT_TRUE(DeleteFile(other));
  EXPECT_FALSE(DeleteFile(other));
  EXPECT_FALSE(FileExists(u""));
  EXPECT_FALSE(DirectoryExists(u""));
}

TEST_F(FileSystemTest, FoldersAndNonAsciiNames) {
  const String dir = Path(u"\u56FE\u7247 folder");  // Chinese "pictures"
  EXPECT_FALSE(DirectoryExists(dir));
  EXPECT_TRUE(CreateDir(dir));
  EXPECT_FALSE(CreateDir(dir));  // already there
  EXPECT_TRUE(DirectoryExists(dir));
  EXPECT_FALSE(FileExists(dir));
  EXPECT_EQ(FileSize(dir), -1);
  WriteFile(dir + u"\\\u00E9t\u00E9.png", "png");
  EXPECT_TRUE(FileExists(dir + u"\\\u00E9t\u00E9.png"));
  EXPECT_FALSE(RemoveDir(dir));  // not empty
  EXPECT_TRUE(DeleteFile(dir + u"\\\u00E9t\u00E9.png"));
  EXPECT_TRUE(RemoveDir(dir));
  EXPECT_FALSE(DirectoryExists(dir));
}

TEST_F(FileSystemTest, ForceDirectories) {
  const String deep = Path(u"a\\b.c\\d\\");
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(Path(u"a\\b.c\\d")));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_THROW(ForceDirectories(u""), EInOutError);
  // A file in the way: the folder cannot be made.
  WriteFile(Path(u"blocker"), "");
  EXPECT_FALSE(ForceDirectories(Path(u"blocker\\sub")));

  // A relative name whose parent is the current folder.
  String cur = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(FRoot));
  EXPECT_TRUE(ForceDirectories(u"rel"));
  EXPECT_TRUE(DirectoryExists(Path(u"rel")));
  ASSERT_TRUE(SetCurrentDir(cur));
  EXPECT_EQ(GetCurrentDir(), cur);
  EXPECT_FALSE(SetCurrentDir(Path(u"missing")));
}

TEST_F(FileSystemTest, FindFirstHonoursMasksAndAttributes) {
  WriteFile(Path(u"one.jpg"), "1");
  WriteFile(Path(u"two.JPG"), "22");
  WriteFile(Path(u"three.png"), "333");
  ASSERT_TRUE(CreateDir(Path(u"sub.jpg")));

  auto list = [&](const String& mask, Integer attr) {
    std::set<std::string> names;
    TSearchRec f;
    if (FindFirst(Path(mask), attr, f) == 0) {
      do {
        names.insert(UTF8Encode(f.Name));
        if (f.Name == u"three.png") {
          EXPECT_EQ(f.Size, 3);
          EXPECT_FALSE(f.Attr & faDirectory);
          EXPECT_LT(std::fabs(f.Time - Now()), 1.0 / 24 / 60 * 5);
        }
        if (f.Name == u"sub.jpg") {
          EXPECT_TRUE(f.Attr & faDirectory);
        }
      } while (FindNext(f) == 0);
    }
    FindClose(f);
    FindClose(f);  // a second close does nothing
    return names;
  };
  EXPECT_EQ(list(u"*.jpg", faAnyFile & ~faDirectory), (std::set<std::string>{"one.jpg", "two.JPG"}));
  EXPECT_EQ(list(u"*.jpg", faAnyFile), (std::set<std::string>{"one.jpg", "two.JPG", "sub.jpg"}));
  EXPECT_EQ(list(u"*", faDirectory), (std::set<std::string>{".", "..", "one.jpg", "two.JPG", "three.png", "sub.jpg"}));
  EXPECT_EQ(list(u"*.*", 0), (std::set<std::string>{"one.jpg", "two.JPG", "three.png"}));

  TSearchRec f;
  EXPECT_EQ(FindFirst(Path(u"*.gif"), faAnyFile, f), 2);
  FindClose(f);
  EXPECT_NE(FindFirst(Path(u"missing\\*.*"), faAnyFile, f), 0);
  FindClose(f);
}

}  // namespace
