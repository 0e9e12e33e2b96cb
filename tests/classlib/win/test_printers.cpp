// The printer on a machine without printers (the test prefix has none):
// an empty list, and every operation that needs a printer raising EPrinter
// with a clear message instead of crashing.
#include "common/gtest.h"

#include <functional>
#include <string>

#include "classlib/Dialogs.h"
#include "classlib/Printers.h"

#include <winspool.h>

namespace {

const char16_t* const kTestPrinter = u"Lumigra Test Printer";
const char16_t* const kTestDriver = u"Lumigra Test PostScript";
const char16_t* const kEnvironment = u"Windows x64";

WCHAR* W(const char16_t* S) { return const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(S)); }

// Takes away the temporary printer and driver of an earlier run.
void RemoveTestPrinter() {
  HANDLE H = nullptr;
  PRINTER_DEFAULTSW PD = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterW(W(kTestPrinter), &H, &PD)) {
    DeletePrinter(H);
    ClosePrinter(H);
  }
  DeletePrinterDriverW(nullptr, W(kEnvironment), W(kTestDriver));
}

}  // namespace

TEST(PrinterWithoutPrinters, ListIsEmptyAndIndexIsNone) {
  RemoveTestPrinter();
  TPrinter P;
  EXPECT_EQ(P.Printers()->Count(), 0);
  EXPECT_EQ(P.PrinterIndex(), -1);
  P.SetPrinterIndex(-1);
  EXPECT_EQ(P.PrinterIndex(), -1);
  P.Refresh();
  EXPECT_EQ(P.Printers()->Count(), 0);
  EXPECT_FALSE(P.Printing());
  EXPECT_NE(P.Canvas(), nullptr);  // the canvas exists; its handle needs a printer
  EXPECT_EQ(Printer(), Printer());
}

TEST(PrinterWithoutPrinters, OperationsRaiseEPrinterWithAMessage) {
  RemoveTestPrinter();
  TPrinter P;
  P.SetTitle(u"job");
  struct Case {
    const char* What;
    std::function<void()> Run;
    const char16_t* Message;
  } Cases[] = {
      {"SetPrinterIndex(0)", [&] { P.SetPrinterIndex(0); }, u"Printer selected is not valid"},
      {"SetPrinterIndex(-2)", [&] { P.SetPrinterIndex(-2); }, u"Printer selected is not valid"},
      {"BeginDoc", [&] { P.BeginDoc(); }, u"There is no default printer currently selected"},
      {"Canvas()->Handle()", [&] { P.Canvas()->Handle(); }, u"There is no default printer currently selected"},
      {"Handle", [&] { P.Handle(); }, u"There is no default printer currently selected"},
      {"PageWidth", [&] { P.PageWidth(); }, u"There is no default printer currently selected"},
      {"PageHeight", [&] { P.PageHeight(); }, u"There is no default printer currently selected"},
      {"Orientation", [&] { P.Orientation(); }, u"There is no default printer currently selected"},
      {"SetOrientation", [&] { P.SetOrientation(poLandscape); }, u"There is no default printer currently selected"},
      {"Copies", [&] { P.Copies(); }, u"There is no default printer currently selected"},
      {"PrinterName", [&] { P.PrinterName(); }, u"There is no default printer currently selected"},
      {"NewPage", [&] { P.NewPage(); }, u"Printing not in progress"},
      {"EndDoc", [&] { P.EndDoc(); }, u"Printing not in progress"},
      {"Abort", [&] { P.Abort(); }, u"Printing not in progress"},
      {"SetDevice", [&] { P.SetDevice(u"No Such Printer", nullptr); }, u"Printer selected is not valid"},
  };
  for (const auto& C : Cases) {
    try {
      C.Run();
      ADD_FAILURE() << C.What << " did not raise";
    } catch (const EPrinter& E) {
      EXPECT_EQ(ToUtf8(E.Message()), ToUtf8(C.Message)) << C.What;
    }
    EXPECT_FALSE(P.Printing()) << C.What;
  }
}

TEST(PrinterWithoutPrinters, SetupDialogRaisesInsteadOfOpening) {
  TPrinterSetupDialog D(nullptr);
  EXPECT_THROW(D.Execute(), EPrinter);
}

// ---------------------------------------------------------------------------
// With a temporary PostScript printer (Wine's PostScript driver, an A4 600 dpi
// description, output piped into a file): metrics, orientation, a two-page
// job and an aborted one. Both are removed again at the end.

namespace {

class PrinterWithAPrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTestPrinter();
    WCHAR Tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, Tmp);
    Ppd = String(reinterpret_cast<const Char*>(Tmp)) + u"lumigra_test.ppd";
    const char Desc[] =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
        "*LanguageEncoding: ISOLatin1\n*PCFileName: \"LUMTEST.PPD\"\n*Manufacturer: \"Lumigra\"\n"
        "*Product: \"(Test)\"\n*ModelName: \"Test\"\n*NickName: \"Test\"\n*PSVersion: \"(3010.000) 0\"\n"
        "*LanguageLevel: \"3\"\n*ColorDevice: True\n*DefaultColorSpace: RGB\n*DefaultResolution: 600dpi\n"
        "*OpenUI *PageSize/Page Size: PickOne\n*DefaultPageSize: A4\n"
        "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageSize\n"
        "*OpenUI *PageRegion: PickOne\n*DefaultPageRegion: A4\n"
        "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageRegion\n"
        "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
        "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n";
    HANDLE F = CreateFileW(W(Ppd.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(F, INVALID_HANDLE_VALUE);
    DWORD Written = 0;
    WriteFile(F, Desc, DWORD(sizeof(Desc) - 1), &Written, nullptr);
    CloseHandle(F);

    DRIVER_INFO_3W DI = {};
    DI.cVersion = 3;
    DI.pName = W(kTestDriver);
    DI.pEnvironment = W(kEnvironment);
    DI.pDriverPath = W(u"wineps.drv");
    DI.pDataFile = W(Ppd.c_str());
    DI.pConfigFile = W(u"wineps.drv");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&DI), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
      GTEST_SKIP() << "Wine's PostScript driver cannot be installed here";
    OutUnix = "/tmp/lumigra_print_" + std::to_string(GetCurrentProcessId()) + ".ps";
    Out = u"Z:" + UTF8Decode(OutUnix);
    for (Char& C : Out)
      if (C == u'/') C = u'\\';
    DeleteFileW(W(Out.c_str()));
    String Port = u"|cat > " + UTF8Decode(OutUnix);
    PRINTER_INFO_2W PI = {};
    PI.pPrinterName = W(kTestPrinter);
    PI.pPortName = W(Port.c_str());
    PI.pDriverName = W(kTestDriver);
    PI.pPrintProcessor = W(u"WinPrint");
    PI.pDatatype = W(u"RAW");
    HANDLE H = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&PI));
    if (!H) GTEST_SKIP() << "a printer cannot be added here";
    ClosePrinter(H);
  }
  void TearDown() override {
    RemoveTestPrinter();
    DeleteFileW(W(Ppd.c_str()));
    DeleteFileW(W(Out.c_str()));
  }
  // The spooled output once it is there.
  std::string Output() {
    for (int I = 0; I < 100; ++I) {
      HANDLE F = CreateFileW(W(Out.c_str()), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             0, nullptr);
      if (F != INVALID_HANDLE_VALUE) {
        std::string S(1 << 20, '\0');
        DWORD Read = 0;
        ReadFile(F, S.data(), DWORD(S.size()), &Read, nullptr);
        CloseHandle(F);
        S.resize(Read);
        if (S.find("%%EOF") != std::string::npos) return S;
      }
      Sleep(30);
    }
    return std::string();
  }
  String Ppd, Out;
  std::string OutUnix;
};

}  // namespace

TEST_F(PrinterWithAPrinter, ListsMeasuresAndTurnsThePage) {
  TPrinter P;
  const Integer Index = P.Printers()->IndexOf(kTestPrinter);
  ASSERT_GE(Index, 0);
  P.SetPrinterIndex(Index);
  EXPECT_EQ(P.PrinterIndex(), Index);
  EXPECT_EQ(ToUtf8(P.PrinterName()), ToUtf8(kTestPrinter));
  HDC DC = P.Canvas()->Handle();
  EXPECT_EQ(DC, P.Handle());
  EXPECT_EQ(GetDeviceCaps(DC, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(DC, LOGPIXELSY), 600);
  // A4 at 600 dpi: 595 x 842 points; printable from 18 points in.
  EXPECT_NEAR(GetDeviceCaps(DC, PHYSICALWIDTH), 595 * 600 / 72, 2);
  EXPECT_NEAR(GetDeviceCaps(DC, PHYSICALHEIGHT), 842 * 600 / 72, 2);
  EXPECT_NEAR(GetDeviceCaps(DC, PHYSICALOFFSETX), 18 * 600 / 72, 2);
  EXPECT_NEAR(GetDeviceCaps(DC, PHYSICALOFFSETY), 18 * 600 / 72, 2);
  EXPECT_EQ(P.PageWidth(), GetDeviceCaps(DC, HORZRES));
  const Integer W = P.PageWidth(), H = P.PageHeight();
  EXPECT_LT(W, H);
  EXPECT_EQ(P.Orientation(), poPortrait);

  P.SetOrientation(poLandscape);
  EXPECT_EQ(P.Orientation(), poLandscape);
  EXPECT_EQ(P.PageWidth(), H);
  EXPECT_EQ(P.PageHeight(), W);
  // Refreshing keeps the chosen printer and its settings.
  P.Refresh();
  EXPECT_EQ(P.PrinterIndex(), Index);
  EXPECT_EQ(P.Orientation(), poLandscape);
  P.SetCopies(2);
  EXPECT_EQ(P.Copies(), 2);
}

TEST_F(PrinterWithAPrinter, PrintsPagesAndAborts) {
  TPrinter P;
  P.SetPrinterIndex(P.Printers()->IndexOf(kTestPrinter));
  P.SetTitle(u"Lumigra test job");
  P.BeginDoc();
  EXPECT_TRUE(P.Printing());
  EXPECT_EQ(P.PageNumber(), 1);
  EXPECT_THROW(P.BeginDoc(), EPrinter);
  EXPECT_THROW(P.SetOrientation(poLandscape), EPrinter);
  P.Canvas()->TextOut(100, 100, u"first page");
  P.NewPage();
  EXPECT_EQ(P.PageNumber(), 2);
  P.Canvas()->Brush()->SetColor(clRed);
  P.Canvas()->Rectangle(100, 100, 1000, 1000);
  P.EndDoc();
  EXPECT_FALSE(P.Printing());
  EXPECT_FALSE(P.Aborted());
  std::string PS = Output();
  EXPECT_EQ(PS.rfind("%!PS", 0), 0u);
  EXPECT_NE(PS.find("%%Page: 2"), std::string::npos);
  EXPECT_NE(PS.find("Lumigra test job"), std::string::npos);

  P.BeginDoc();
  P.Abort();
  EXPECT_FALSE(P.Printing());
  EXPECT_TRUE(P.Aborted());
  EXPECT_THROW(P.EndDoc(), EPrinter);
  P.BeginDoc();
  EXPECT_FALSE(P.Aborted());
  P.EndDoc();
}

// A printer freed in the middle of a job aborts it and frees its device
// context; the next job prints as usual.
TEST_F(PrinterWithAPrinter, FreedDuringAJobAbortsIt) {
  auto* P = new TPrinter;
  P->SetPrinterIndex(P->Printers()->IndexOf(kTestPrinter));
  P->SetTitle(u"Lumigra unfinished job");
  P->BeginDoc();
  P->Canvas()->TextOut(100, 100, u"never finished");
  HDC DC = P->Handle();
  ASSERT_NE(GetObjectType(DC), 0u);
  delete P;
  EXPECT_EQ(GetObjectType(DC), 0u);
  TPrinter Next;
  Next.SetPrinterIndex(Next.Printers()->IndexOf(kTestPrinter));
  Next.SetTitle(u"Lumigra next job");
  Next.BeginDoc();
  Next.Canvas()->TextOut(100, 100, u"next");
  Next.EndDoc();
  EXPECT_NE(Output().find("Lumigra next job"), std::string::npos);
}

namespace {

BOOL CALLBACK FindSetupDialog(HWND Wnd, LPARAM Out) {
  WCHAR Class[32] = {};
  GetClassNameW(Wnd, Class, 32);
  if (IsWindowVisible(Wnd) && String(reinterpret_cast<const Char*>(Class)) == u"#32770") {
    *reinterpret_cast<HWND*>(Out) = Wnd;
    return FALSE;
  }
  return TRUE;
}

int GSetupTicks = 0;

// Chooses landscape and presses OK in the open set-up dialog.
void CALLBACK ChooseLandscape(HWND, UINT, UINT_PTR Id, DWORD) {
  HWND Dlg = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindSetupDialog, reinterpret_cast<LPARAM>(&Dlg));
  if (!Dlg) {
    if (++GSetupTicks > 200) KillTimer(nullptr, Id);
    return;
  }
  KillTimer(nullptr, Id);
  const int Landscape = 0x421;  // rad2
  SendMessageW(GetDlgItem(Dlg, Landscape), BM_CLICK, 0, 0);
  PostMessageW(Dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(Dlg, IDOK)));
}

}  // namespace

TEST_F(PrinterWithAPrinter, SetupDialogGivesItsChoiceToThePrinter) {
  Printer()->Refresh();
  Printer()->SetPrinterIndex(Printer()->Printers()->IndexOf(kTestPrinter));
  ASSERT_EQ(Printer()->Orientation(), poPortrait);
  TPrinterSetupDialog D(nullptr);
  GSetupTicks = 0;
  SetTimer(nullptr, 0, 50, ChooseLandscape);
  EXPECT_TRUE(D.Execute());
  EXPECT_EQ(ToUtf8(Printer()->PrinterName()), ToUtf8(kTestPrinter));
  EXPECT_EQ(Printer()->Orientation(), poLandscape);
  EXPECT_GT(Printer()->PageWidth(), Printer()->PageHeight());
  Printer()->SetPrinterIndex(-1);
  RemoveTestPrinter();
  Printer()->Refresh();
  EXPECT_EQ(Printer()->Printers()->Count(), 0);
}
