// A picture put on the clipboard by another program is pasted into a
// document. The other program is this test program started a second time
// to run only the disabled helper below: it puts a 24-bit DIB (the form most
// programs put) on the clipboard, says so through an event, and stays
// alive until the paste is over.
#include "common/gtest.h"


#include "classlib/Clipbrd.h"
#include "document/win/ImageSmall.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"
#include "tests/document/win/document_fixture.h"

namespace {

constexpr int kW = 33, kH = 20;  // an odd width: padded DIB rows
const wchar_t* const kReady = L"LumigraTestClipboardSourceReady";
const wchar_t* const kDone = L"LumigraTestClipboardSourceDone";

// The picture's pixel (x, y), top-down.
TColor32 PatternAt(int X, int Y) {
  return 0xFF000000u | TColor32((X * 7) & 0xFF) << 16 | TColor32((Y * 12) & 0xFF) << 8 | TColor32(0x40 + X + Y);
}

void ResetClipboards() {
  ClearShapeClipboard();
  delete CopiedImage;
  CopiedImage = nullptr;
  Clipboard()->Clear();
}

}  // namespace

// The second program's part; run only by the test below.
TEST(ClipboardSourceProgram, DISABLED_PutsAPictureAndWaits) {
  HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, kReady);
  HANDLE done = ::OpenEventW(SYNCHRONIZE, FALSE, kDone);
  ASSERT_NE(ready, nullptr);
  ASSERT_NE(done, nullptr);
  const int stride = (kW * 3 + 3) & ~3;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + size_t(stride) * kH);
  ASSERT_NE(mem, nullptr);
  auto* bi = static_cast<BITMAPINFOHEADER*>(::GlobalLock(mem));
  *bi = BITMAPINFOHEADER{};
  bi->biSize = sizeof(BITMAPINFOHEADER);
  bi->biWidth = kW;
  bi->biHeight = kH;  // bottom-up
  bi->biPlanes = 1;
  bi->biBitCount = 24;
  bi->biCompression = BI_RGB;
  auto* bits = reinterpret_cast<BYTE*>(bi + 1);
  for (int y = 0; y < kH; ++y) {
    BYTE* row = bits + size_t(kH - 1 - y) * stride;
    for (int x = 0; x < kW; ++x) {
      const TColor32 c = PatternAt(x, y);
      row[x * 3] = BYTE(c);
      row[x * 3 + 1] = BYTE(c >> 8);
      row[x * 3 + 2] = BYTE(c >> 16);
    }
  }
  ::GlobalUnlock(mem);
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(::OpenClipboard(owner));
  ::EmptyClipboard();
  EXPECT_NE(::SetClipboardData(CF_DIB, mem), nullptr);
  ::CloseClipboard();
  ::SetEvent(ready);
  // Kept alive (and answering) while the paste runs.
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 60000) {
    if (::MsgWaitForMultipleObjects(1, &done, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
  }
  ::DestroyWindow(owner);
  ::CloseHandle(ready);
  ::CloseHandle(done);
}

TEST(DocumentClipboard, PictureFromAnotherProgram) {
  ResetClipboards();
  HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, kReady);
  HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, kDone);
  ASSERT_NE(ready, nullptr);
  ASSERT_NE(done, nullptr);
  WCHAR self[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_GT(n, 0u);
  // A Winelib program's own name is its launcher script's; Wine starts the
  // program itself, NAME.exe.so, beside it.
  String program(reinterpret_cast<const char16_t*>(self), n);
  if (FileExists(program + u".so")) program += u".so";
  String cmd = u"\"" + program +
               u"\" --gtest_also_run_disabled_tests"
               u" --gtest_filter=ClipboardSourceProgram.DISABLED_PutsAPictureAndWaits";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(nullptr, reinterpret_cast<WCHAR*>(cmd.data()), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi))
      << "error " << ::GetLastError() << " starting " << UTF8Encode(cmd);
  HANDLE waitFor[2] = {ready, pi.hProcess};
  const DWORD w = ::WaitForMultipleObjects(2, waitFor, FALSE, 60000);
  ASSERT_EQ(w, WAIT_OBJECT_0) << "the second program ended or did not answer";
  {
    TTestDocument d(120, 80);
    d->SrcBmp()->Clear(0xFF808080u);
    EXPECT_TRUE(d->PasteEnabled());
    d->Paste(50, 40, nullptr, true, false);
    ASSERT_EQ(d->DT()->ItemCount(), 1);
    auto* p = dynamic_cast<TImgSmall*>(d->ShapeOfRow(0));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->SRect(), TRect(50, 40, 50 + kW, 40 + kH));
    ASSERT_EQ(p->SrcBmp()->Width(), kW);
    ASSERT_EQ(p->SrcBmp()->Height(), kH);
    int wrong = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (p->SrcBmp()->GetPixel(x, y) != PatternAt(x, y) && wrong++ < 3)
          ADD_FAILURE() << "(" << x << ", " << y << "): " << std::hex << p->SrcBmp()->GetPixel(x, y) << " not "
                        << PatternAt(x, y);
    EXPECT_EQ(wrong, 0);
    SaveReviewPicture(u"clipboard_from_another_program", p->SrcBmp());
  }
  ::SetEvent(done);
  EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u) << "the second program's own checks";
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(ready);
  ::CloseHandle(done);
  ResetClipboards();
}
