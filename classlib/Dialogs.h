// Common dialogs over comdlg32 and shell32: open and save file dialogs, the
// folder picker and the printer set-up dialog. Each runs Wine's own modal
// loop (no idle, no OnMessage meanwhile). Winelib only.
#pragma once

#include <vector>

#include "classlib/Controls.h"

#include <commdlg.h>
#include <shlobj.h>

// Options of the file dialogs: the OFN_ flags themselves.
using TOpenOptions = DWORD;
inline constexpr TOpenOptions ofReadOnly = OFN_READONLY;
inline constexpr TOpenOptions ofOverwritePrompt = OFN_OVERWRITEPROMPT;
inline constexpr TOpenOptions ofHideReadOnly = OFN_HIDEREADONLY;
inline constexpr TOpenOptions ofNoChangeDir = OFN_NOCHANGEDIR;
inline constexpr TOpenOptions ofNoValidate = OFN_NOVALIDATE;
inline constexpr TOpenOptions ofAllowMultiSelect = OFN_ALLOWMULTISELECT;
inline constexpr TOpenOptions ofExtensionDifferent = OFN_EXTENSIONDIFFERENT;
inline constexpr TOpenOptions ofPathMustExist = OFN_PATHMUSTEXIST;
inline constexpr TOpenOptions ofFileMustExist = OFN_FILEMUSTEXIST;
inline constexpr TOpenOptions ofCreatePrompt = OFN_CREATEPROMPT;
inline constexpr TOpenOptions ofNoReadOnlyReturn = OFN_NOREADONLYRETURN;
inline constexpr TOpenOptions ofNoTestFileCreate = OFN_NOTESTFILECREATE;
inline constexpr TOpenOptions ofNoDereferenceLinks = OFN_NODEREFERENCELINKS;
inline constexpr TOpenOptions ofEnableSizing = OFN_ENABLESIZING;
inline constexpr TOpenOptions ofDontAddToRecent = OFN_DONTADDTORECENT;
inline constexpr TOpenOptions ofForceShowHidden = OFN_FORCESHOWHIDDEN;

class TCommonDialog : public TComponent {
 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  // Runs the dialog, owned by the active window of the program; true on OK.
  virtual bool Execute() { return Execute(nullptr); }
  // Owner nullptr: the active window.
  virtual bool Execute(HWND Owner) = 0;

 protected:
  static HWND OwnerWindow(HWND Owner);
};

class TOpenDialog : public TCommonDialog {
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  using TCommonDialog::Execute;
  bool Execute(HWND Owner) override;

  // The chosen file (the first one of a multiple choice), full path.
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  // Every chosen file, full paths.
  TStrings* Files() const { return FFiles; }
  // "Text|pattern|Text|pattern..." (patterns separated by ";").
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value) { FFilter = Value; }
  // 1-based; reads back the filter chosen in the dialog.
  Integer FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer Value) { FFilterIndex = Value; }
  // Without a dot ("bmp"); added to a typed name without extension.
  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& Value);
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& Value) { FInitialDir = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  // Without ofNoChangeDir the current directory moves to the chosen file's
  // folder; with it, and after Cancel, the current directory stays as it was.
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }

 protected:
  // GetOpenFileNameW or GetSaveFileNameW.
  virtual bool RunDialog(OPENFILENAMEW& Ofn);

 private:
  String FFileName;
  TStrings* FFiles;
  String FFilter;
  Integer FFilterIndex = 1;
  String FDefaultExt;
  String FInitialDir;
  String FTitle;
  TOpenOptions FOptions = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog {
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

 protected:
  bool RunDialog(OPENFILENAMEW& Ofn) override;
};

// The filter text ("Text|pattern|...") as the dialogs want it: the parts
// separated by NULs, the whole ended by two.
std::vector<WCHAR> MakeDialogFilter(const String& Filter);
// The names a file dialog returned in Buffer (Size characters): one full
// path, or (multiple selection) the folder followed by the names in it, each
// ended by a NUL and the list by an empty name.
std::vector<String> ParseDialogFileNames(const WCHAR* Buffer, size_t Size, bool MultiSelect);

// The shell's folder picker: Title above the tree, rooted at the special
// folder Root (CSIDL_DRIVES: the computer), Flags BIF_ (the default: file-
// system folders only, new dialog style). True with the chosen folder's path
// (without a trailing separator, except a drive's root).
bool BrowseForFolderDialog(HWND Owner, const String& Title, String& Path, Integer Root = CSIDL_DRIVES,
                           UINT Flags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE);

// The printer set-up dialog (PrintDlgW, PD_PRINTSETUP) on Printer(): the
// chosen printer and orientation go back to it. Raises EPrinter when no
// printer is installed.
class TPrinterSetupDialog : public TCommonDialog {
 public:
  explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  using TCommonDialog::Execute;
  bool Execute(HWND Owner) override;
};
