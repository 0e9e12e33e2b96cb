// The printer: the system's printers (winspool), the current one's device
// context, and print jobs drawn on its canvas. Without any printer every
// operation that needs one raises EPrinter. Winelib only.
#pragma once

#include <vector>

#include "classlib/Graphics.h"

class EPrinter : public Exception {
 public:
  using Exception::Exception;
};

enum TPrinterOrientation : Byte { poPortrait, poLandscape };

class TPrinter : public TObject {
 public:
  TPrinter();
  ~TPrinter() override;

  // The installed printers' names (count 0 when there are none).
  TStrings* Printers();
  // -1 until one is chosen: the default printer is used.
  Integer PrinterIndex();
  // -1 chooses the default printer; an index outside the list raises
  // EPrinter "Printer selected is not valid".
  void SetPrinterIndex(Integer Value);
  // Reads the printer list again; the chosen printer stays chosen (with its
  // settings) while it is still installed, else the default one is used.
  void Refresh();
  // The name of the printer in use; raises EPrinter without printers.
  String PrinterName();

  TPrinterOrientation Orientation();
  void SetOrientation(TPrinterOrientation Value);
  Integer Copies();
  void SetCopies(Integer Value);

  // The job's name in the print queue.
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }

  // Starts a document and its first page. Raises EPrinter "Printing in
  // progress" when one runs already.
  void BeginDoc();
  void NewPage();
  void EndDoc();
  // Ends the document unprinted; Aborted stays true until the next BeginDoc.
  void Abort();
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  Integer PageNumber() const { return FPageNumber; }

  // The canvas on the printer's device context (an information context
  // outside a print job): callers read GetDeviceCaps through Canvas()->Handle().
  TCanvas* Canvas();
  // The device context itself.
  HDC Handle();
  // Printable area in device pixels (HORZRES, VERTRES).
  Integer PageWidth();
  Integer PageHeight();

  // The DEVMODE of the printer in use (owned by the printer); tests and the
  // set-up dialog read and replace it.
  const std::vector<Byte>& DevMode();
  void SetDevice(const String& Name, const DEVMODEW* Mode);

 private:
  class TPrinterCanvas;
  void CheckPrinting(bool Value);
  void NeedPrinter();  // the printer in use, its DEVMODE
  void FreeDC();
  HDC MakeDC();

  TStringList* FPrinters = nullptr;
  Integer FPrinterIndex = -1;
  String FDevice;  // the printer in use ("" none chosen yet)
  std::vector<Byte> FDevMode;
  String FTitle;
  HDC FDC = nullptr;
  TCanvas* FCanvas = nullptr;
  bool FPrinting = false;
  bool FAborted = false;
  Integer FPageNumber = 0;
};

// The program's printer object.
TPrinter* Printer();
// Replaces it (returns the old one; the caller frees it).
TPrinter* SetPrinter(TPrinter* NewPrinter);
