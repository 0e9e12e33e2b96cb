// TIniFile over the platform's profile functions (Winelib build).
#include <windows.h>

#include "rtl/IniFiles.h"

namespace {

const WCHAR* W(const String& s) { return reinterpret_cast<const WCHAR*>(s.c_str()); }

// GetPrivateProfileStringW into a buffer that grows until the text fits
// (the call returns size - 1, or size - 2 for lists, when it had to cut).
String GetProfile(const WCHAR* Section, const WCHAR* Key, const WCHAR* Default, const String& FileName, bool List) {
  DWORD size = 2048;
  for (;;) {
    String buf(size, u'\0');
    DWORD n = GetPrivateProfileStringW(Section, Key, Default, reinterpret_cast<WCHAR*>(buf.data()), size, W(FileName));
    if (n < size - (List ? 2 : 1) || size >= (1u << 26)) {
      buf.resize(n);
      return buf;
    }
    size *= 4;
  }
}

void SplitNulList(const String& Text, TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  size_t p = 0;
  while (p < Text.size()) {
    size_t e = Text.find(u'\0', p);
    if (e == String::npos) e = Text.size();
    if (e > p) Strings->Add(Text.substr(p, e - p));
    p = e + 1;
  }
  Strings->EndUpdate();
}

[[noreturn]] void WriteError(const String& FileName) { throw EIniFileException(u"Unable to write to %s", {FileName}); }

}  // namespace

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  return GetProfile(W(Section), W(Ident), W(Default), FFileName, false);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  if (!WritePrivateProfileStringW(W(Section), W(Ident), W(Value), W(FFileName))) WriteError(FFileName);
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
  SplitNulList(GetProfile(W(Section), nullptr, nullptr, FFileName, true), Strings);
}

void TIniFile::ReadSections(TStrings* Strings) {
  SplitNulList(GetProfile(nullptr, nullptr, nullptr, FFileName, true), Strings);
}

void TIniFile::EraseSection(const String& Section) {
  if (!WritePrivateProfileStringW(W(Section), nullptr, nullptr, W(FFileName))) WriteError(FFileName);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  WritePrivateProfileStringW(W(Section), W(Ident), nullptr, W(FFileName));
}

void TIniFile::UpdateFile() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(FFileName)); }
