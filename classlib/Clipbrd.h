// The system clipboard: text (CF_UNICODETEXT), bitmaps (CF_DIB, CF_DIBV5 with
// alpha, CF_BITMAP), raw handles and file lists (CF_HDROP, wide names).
// Winelib only.
#pragma once

#include <vector>

#include "classlib/Graphics.h"

class EClipboardException : public Exception {
 public:
  using Exception::Exception;
};

class TClipboard : public TPersistent {
 public:
  TClipboard();
  ~TClipboard() override;

  // Nesting: only the outermost Open opens the system clipboard and only the
  // matching Close closes it. Raises EClipboardException "Cannot open
  // clipboard" when another program keeps it.
  void Open();
  void Close();
  bool IsOpen() const { return FOpenRefs > 0; }
  // Empties the clipboard and takes its ownership.
  void Clear();
  bool HasFormat(UINT Format) const;

  // CF_UNICODETEXT; "" when the clipboard holds no text.
  String AsText();
  // Replaces the clipboard's content with the text.
  void SetAsText(const String& Value);

  // A bitmap (TBitmap, or a TPicture holding one) replaces the content with
  // CF_DIB (32 bits with the alpha bytes for a pf32bit bitmap, else 24
  // bits), for pf32bit bitmaps also CF_DIBV5 (alpha mask set), and
  // CF_BITMAP. Other graphics are drawn into a bitmap over white first.
  void Assign(TPersistent* Source) override;
  // Reads the clipboard's bitmap into a TBitmap or a TPicture: a 32-bit
  // CF_DIBV5/CF_DIB gives a pf32bit bitmap with its alpha; CF_BITMAP is
  // taken when no DIB is there. Raises EInvalidGraphic "Unsupported
  // clipboard format" when the clipboard holds no bitmap.
  void AssignTo(TPersistent* Dest) override;

  // The clipboard's handle of that format (owned by the clipboard), or nullptr.
  HANDLE GetAsHandle(UINT Format);
  // Replaces the content with the handle (the clipboard takes it).
  void SetAsHandle(UINT Format, HANDLE Value);

  // CF_HDROP: a DROPFILES header with wide (UTF-16) names.
  void SetFiles(const std::vector<String>& Files);
  // The names of a CF_HDROP (wide or ANSI); empty when there is none.
  std::vector<String> Files();

 private:
  void Adding();  // opens and empties once per outermost Open
  HWND FWindow = nullptr;
  Integer FOpenRefs = 0;
  bool FEmptied = false;
};

// The program's clipboard object.
TClipboard* Clipboard();
// Replaces it (returns the old one; the caller frees it).
TClipboard* SetClipboard(TClipboard* NewClipboard);
