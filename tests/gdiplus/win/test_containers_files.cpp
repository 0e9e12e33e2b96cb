// File and folder routines and the clipboard file list.
#include "common/gtest.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "gdiplus/FileContainers.h"
#include "rtl/DateUtils.h"
#include "test_containers_util.h"

using namespace containers_test;

TEST(FileNameParts, NameWithoutExtensionAndExtensionWithoutDot) {
  const struct {
    String File, Name, Ext;
  } cases[] = {
      {u"C:\\x\\b.tar.gz", u"b.tar", u"gz"},
      {u"C:\\x\\readme", u"readme", u""},
      {u"C:\\a.dir\\readme", u"readme", u""},
      {u"图片.PNG", u"图片", u"PNG"},
      {u"C:\\x\\trailing.", u"trailing", u""},
  };
  for (const auto& c : cases) {
    String name, ext;
    ExtractFileNameNoExt(c.File, name);
    ExtractFileExtNoDot(c.File, ext);
    EXPECT_EQ(name, c.Name) << c.File.size();
    EXPECT_EQ(ext, c.Ext) << c.File.size();
  }
}

TEST(GetFileSize64, MissingEmptyAndBeyondFourGiB) {
  TTempFolder temp;
  EXPECT_EQ(GetFileSize64(temp.Path + u"missing.bin"), -1);
  WriteBytes(temp.Path + u"empty.bin", "");
  EXPECT_EQ(GetFileSize64(temp.Path + u"empty.bin"), 0);

  // A sparse file of 5 GiB + 3 bytes: no disk space, but a size that does
  // not fit in 32 bits.
  const String big = temp.Path + u"big.bin";
  HANDLE h = CreateFileW(reinterpret_cast<const WCHAR*>(big.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER pos;
  pos.QuadPart = (Int64(5) << 30) + 3;
  ASSERT_TRUE(SetFilePointerEx(h, pos, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
  EXPECT_EQ(GetFileSize64(big), (Int64(5) << 30) + 3);
}

TEST(GetFileDateTime, LastWriteTimeAndBadKinds) {
  TTempFolder temp;
  const String f = temp.Path + u"t.txt";
  WriteBytes(f, "x");
  // Set a known last-write time (UTC) and expect it back in local time.
  SYSTEMTIME st{};
  st.wYear = 2019;
  st.wMonth = 7;
  st.wDay = 14;
  st.wHour = 12;
  st.wMinute = 30;
  FILETIME ft, local;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  HANDLE h = CreateFileW(reinterpret_cast<const WCHAR*>(f.c_str()), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);
  ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &local));

  Int64 value = -1;
  EXPECT_TRUE(GetFileTimeLocal(f, 2, value));
  EXPECT_EQ(value, Int64((uint64_t(local.dwHighDateTime) << 32) | local.dwLowDateTime));
  SYSTEMTIME ls{};
  ASSERT_TRUE(FileTimeToSystemTime(&local, &ls));
  EXPECT_NEAR(GetFileDateTime(f, 2), EncodeDate(ls.wYear, ls.wMonth, ls.wDay) + (ls.wHour * 60 + ls.wMinute) / 1440.0,
              1e-6);

  EXPECT_FALSE(GetFileTimeLocal(f, 3, value));
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(GetFileTimeLocal(temp.Path + u"missing", 2, value));
  EXPECT_EQ(value, 0);
}

TEST(ListFilesByExt, FilesOfOneExtensionOrAll) {
  TTempFolder temp;
  WriteBytes(temp.Path + u"a.dat", "1");
  WriteBytes(temp.Path + u"图.DAT", "2");
  WriteBytes(temp.Path + u"c.txt", "3");
  ASSERT_TRUE(ForceDirectories(temp.Path + u"folder.dat"));
  auto sorted = [](TStringList* L) {
    std::vector<String> v;
    for (Integer i = 0; i < L->Count(); ++i) v.push_back(L->Strings(i));
    std::sort(v.begin(), v.end());
    return v;
  };
  std::unique_ptr<TStringList> dat(ListFilesByExt(temp.Path, u"dat", false));
  ASSERT_NE(dat, nullptr);
  EXPECT_EQ(sorted(dat.get()), (std::vector<String>{u"a.dat", u"图.DAT"}));
  std::unique_ptr<TStringList> all(ListFilesByExt(temp.Path, u"*", true));
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(sorted(all.get()), (std::vector<String>{temp.Path + u"a.dat", temp.Path + u"c.txt", temp.Path + u"图.DAT"}));
  std::unique_ptr<TStringList> none(ListFilesByExt(temp.Path + u"nowhere\\", u"dat", false));
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->Count(), 0);
}

TEST(CopyDirectory, CopiesTheTreeAndKeepsExistingFilesWhenAsked) {
  TTempFolder temp;
  const String src = temp.Path + u"src";
  const String dst = temp.Path + u"dst";
  ASSERT_TRUE(ForceDirectories(src + u"\\样本\\深"));
  WriteBytes(src + u"\\a.bmp", "A");
  WriteBytes(src + u"\\样本\\深\\b.bmp", "B");
  EXPECT_TRUE(CopyDirectory(src, dst, faAnyFile, false));
  EXPECT_EQ(ReadBytes(dst + u"\\a.bmp"), "A");
  EXPECT_EQ(ReadBytes(dst + u"\\样本\\深\\b.bmp"), "B");

  WriteBytes(src + u"\\a.bmp", "new");
  EXPECT_TRUE(CopyDirectory(src, dst, faAnyFile, true));
  EXPECT_EQ(ReadBytes(dst + u"\\a.bmp"), "A");
  EXPECT_TRUE(CopyDirectory(src + u"\\", dst + u"\\", faAnyFile, false));
  EXPECT_EQ(ReadBytes(dst + u"\\a.bmp"), "new");
}

TEST(CopyFilesToClipboard, WideFileDropWithNamesOutsideTheAnsiCodePage) {
  const String names[] = {u"C:\\图片\\照片 1.png", u"C:\\temp\\ünïcödé ≠ ansi.txt", u"D:\\plain.bmp"};
  String list;
  for (const auto& n : names) list += n + Char(0);
  CopyFilesToClipboard(list);

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_HDROP);
  ASSERT_NE(data, nullptr);
  auto* header = static_cast<DROPFILES*>(GlobalLock(data));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->pFiles, 20u);
  EXPECT_TRUE(header->fWide);
  GlobalUnlock(data);
  HDROP drop = static_cast<HDROP>(data);
  ASSERT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 3u);
  for (UINT i = 0; i < 3; ++i) {
    WCHAR buffer[MAX_PATH] = {};
    const UINT n = DragQueryFileW(drop, i, buffer, MAX_PATH);
    EXPECT_EQ(String(reinterpret_cast<const Char*>(buffer), n), names[i]);
  }
  CloseClipboard();
}

TEST(LaunchProgram, StartsAProgramAndReturnsItsProcess) {
  const NativeUInt process = LaunchProgram(u"cmd.exe", u"/c exit 7");
  ASSERT_NE(process, 0u);
  HANDLE h = reinterpret_cast<HANDLE>(process);
  EXPECT_EQ(WaitForSingleObject(h, 20000), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(h, &code));
  EXPECT_EQ(code, 7u);
  CloseHandle(h);
}
