// The printer over winspool.
#include "classlib/Printers.h"
#include "rtl/ScopeGuard.h"

#include <winspool.h>

#include <cstring>

namespace {

TPrinter* GPrinter = nullptr;

String DefaultPrinterName() {
  DWORD Size = 0;
  GetDefaultPrinterW(nullptr, &Size);
  if (Size == 0) return String();
  std::vector<WCHAR> Buf(Size + 1, 0);
  if (!GetDefaultPrinterW(Buf.data(), &Size)) return String();
  return String(reinterpret_cast<const Char*>(Buf.data()));
}

}  // namespace

// A canvas that takes the printer's device context on first use.
class TPrinter::TPrinterCanvas : public TCanvas {
 public:
  explicit TPrinterCanvas(TPrinter* APrinter) : FPrinter(APrinter) {}

 protected:
  void CreateHandle() override { SetHandle(FPrinter->Handle()); }

 private:
  TPrinter* FPrinter;
};

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
  if (FPrinting) {
    AbortDoc(FDC);
    FPrinting = false;
  }
  FreeDC();
  delete FCanvas;
  FCanvas = nullptr;
  delete FPrinters;
}

TStrings* TPrinter::Printers() {
  if (!FPrinters) {
    FPrinters = new TStringList();
    DWORD Needed = 0, Returned = 0;
    const DWORD Flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersW(Flags, nullptr, 4, nullptr, 0, &Needed, &Returned);
    if (Needed > 0) {
      std::vector<Byte> Buf(Needed);
      if (EnumPrintersW(Flags, nullptr, 4, Buf.data(), Needed, &Needed, &Returned)) {
        auto* Info = reinterpret_cast<PRINTER_INFO_4W*>(Buf.data());
        for (DWORD I = 0; I < Returned; ++I)
          if (Info[I].pPrinterName) FPrinters->Add(String(reinterpret_cast<const Char*>(Info[I].pPrinterName)));
      }
    }
  }
  return FPrinters;
}

Integer TPrinter::PrinterIndex() {
  if (FPrinterIndex >= 0) return FPrinterIndex;
  String Name = FDevice.empty() ? DefaultPrinterName() : FDevice;
  Integer Index = Name.empty() ? -1 : Printers()->IndexOf(Name);
  if (Index < 0 && FDevice.empty() && Printers()->Count() > 0) Index = 0;  // what NeedPrinter takes
  return Index;
}

void TPrinter::SetPrinterIndex(Integer Value) {
  CheckPrinting(false);
  if (Value < -1 || Value >= Printers()->Count()) throw EPrinter(u"Printer selected is not valid");
  FPrinterIndex = Value;
  FDevice.clear();
  FDevMode.clear();
  FreeDC();
}

void TPrinter::Refresh() {
  CheckPrinting(false);
  String Chosen = FDevice;
  if (Chosen.empty() && FPrinterIndex >= 0 && FPrinters && FPrinterIndex < FPrinters->Count())
    Chosen = FPrinters->Strings(FPrinterIndex);
  delete FPrinters;
  FPrinters = nullptr;
  FreeDC();
  const Integer Index = Chosen.empty() ? -1 : Printers()->IndexOf(Chosen);
  if (Index < 0) {
    // The chosen printer is gone: back to the default one.
    FPrinterIndex = -1;
    FDevice.clear();
    FDevMode.clear();
  } else {
    FPrinterIndex = Index;
  }
}

void TPrinter::NeedPrinter() {
  if (!FDevice.empty() && !FDevMode.empty()) return;
  String Name = FDevice;
  if (Name.empty()) {
    if (FPrinterIndex >= 0 && FPrinterIndex < Printers()->Count()) Name = Printers()->Strings(FPrinterIndex);
    else Name = DefaultPrinterName();
    // A default that names a printer no longer installed counts as none.
    if (!Name.empty() && Printers()->IndexOf(Name) < 0) Name.clear();
    if (Name.empty() && Printers()->Count() > 0) Name = Printers()->Strings(0);
  }
  if (Name.empty()) throw EPrinter(u"There is no default printer currently selected");
  HANDLE H = nullptr;
  if (!OpenPrinterW(const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(Name.c_str())), &H, nullptr))
    throw EPrinter(u"Printer selected is not valid");
  LONG Size = DocumentPropertiesW(nullptr, H, const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(Name.c_str())),
                                  nullptr, nullptr, 0);
  std::vector<Byte> Mode;
  if (Size > 0) {
    Mode.assign(size_t(Size), 0);
    if (DocumentPropertiesW(nullptr, H, const_cast<WCHAR*>(reinterpret_cast<const WCHAR*>(Name.c_str())),
                            reinterpret_cast<DEVMODEW*>(Mode.data()), nullptr, DM_OUT_BUFFER) < 0)
      Mode.clear();
  }
  ClosePrinter(H);
  if (Mode.empty()) throw EPrinter(u"Printer selected is not valid");
  FDevice = Name;
  FDevMode = std::move(Mode);
}

String TPrinter::PrinterName() {
  NeedPrinter();
  return FDevice;
}

const std::vector<Byte>& TPrinter::DevMode() {
  NeedPrinter();
  return FDevMode;
}

void TPrinter::SetDevice(const String& Name, const DEVMODEW* Mode) {
  CheckPrinting(false);
  if (Name.empty()) throw EPrinter(u"Printer selected is not valid");
  const String OldDevice = FDevice;
  const std::vector<Byte> OldMode = FDevMode;
  const Integer OldIndex = FPrinterIndex;
  FDevice = Name;
  FDevMode.clear();
  if (Mode) {
    const size_t Size = size_t(Mode->dmSize) + Mode->dmDriverExtra;
    FDevMode.assign(reinterpret_cast<const Byte*>(Mode), reinterpret_cast<const Byte*>(Mode) + Size);
  }
  {
    TFinally Undo([&] {
      FDevice = OldDevice;
      FDevMode = OldMode;
      FPrinterIndex = OldIndex;
    });
    NeedPrinter();
    Undo.Dismiss();
  }
  FPrinterIndex = Printers()->IndexOf(Name);
  FreeDC();
}

TPrinterOrientation TPrinter::Orientation() {
  NeedPrinter();
  const auto* M = reinterpret_cast<const DEVMODEW*>(FDevMode.data());
  return M->dmOrientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  CheckPrinting(false);
  NeedPrinter();
  auto* M = reinterpret_cast<DEVMODEW*>(FDevMode.data());
  M->dmFields |= DM_ORIENTATION;
  M->dmOrientation = Value == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  FreeDC();
}

Integer TPrinter::Copies() {
  NeedPrinter();
  const auto* M = reinterpret_cast<const DEVMODEW*>(FDevMode.data());
  return (M->dmFields & DM_COPIES) ? M->dmCopies : 1;
}

void TPrinter::SetCopies(Integer Value) {
  CheckPrinting(false);
  NeedPrinter();
  auto* M = reinterpret_cast<DEVMODEW*>(FDevMode.data());
  M->dmFields |= DM_COPIES;
  M->dmCopies = static_cast<short>(Value < 1 ? 1 : Value);
  FreeDC();
}

void TPrinter::CheckPrinting(bool Value) {
  if (FPrinting == Value) return;
  throw EPrinter(Value ? u"Printing not in progress" : u"Printing in progress");
}

HDC TPrinter::MakeDC() {
  NeedPrinter();
  HDC DC = CreateDCW(reinterpret_cast<const WCHAR*>(u"WINSPOOL"), reinterpret_cast<const WCHAR*>(FDevice.c_str()),
                     nullptr, reinterpret_cast<const DEVMODEW*>(FDevMode.data()));
  if (!DC) throw EPrinter(u"Printer selected is not valid");
  return DC;
}

void TPrinter::FreeDC() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FDC) DeleteDC(FDC);
  FDC = nullptr;
}

HDC TPrinter::Handle() {
  if (!FDC) FDC = MakeDC();
  return FDC;
}

TCanvas* TPrinter::Canvas() {
  if (!FCanvas) FCanvas = new TPrinterCanvas(this);
  return FCanvas;
}

Integer TPrinter::PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }
Integer TPrinter::PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  FreeDC();
  HDC DC = Handle();
  DOCINFOW DI = {};
  DI.cbSize = sizeof(DI);
  DI.lpszDocName = reinterpret_cast<const WCHAR*>(FTitle.c_str());
  if (StartDocW(DC, &DI) <= 0) throw EPrinter(u"Printing could not be started");
  if (StartPage(DC) <= 0) {
    AbortDoc(DC);
    throw EPrinter(u"Printing could not be started");
  }
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
  if (FCanvas) FCanvas->SetHandle(nullptr);
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  EndPage(FDC);
  StartPage(FDC);
  ++FPageNumber;
  // A new page starts with the default objects: the canvas selects its own again.
  if (FCanvas) FCanvas->SetHandle(nullptr);
}

void TPrinter::EndDoc() {
  CheckPrinting(true);
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (!FAborted) {
    EndPage(FDC);
    ::EndDoc(FDC);
  }
  FPrinting = false;
  FPageNumber = 0;
  FreeDC();
}

void TPrinter::Abort() {
  CheckPrinting(true);
  if (FCanvas) FCanvas->SetHandle(nullptr);
  AbortDoc(FDC);
  FAborted = true;
  EndDoc();
}

TPrinter* Printer() {
  if (!GPrinter) GPrinter = new TPrinter();
  return GPrinter;
}

TPrinter* SetPrinter(TPrinter* NewPrinter) {
  TPrinter* Old = GPrinter;
  GPrinter = NewPrinter;
  return Old;
}
