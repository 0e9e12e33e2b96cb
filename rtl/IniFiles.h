// Ini files: TCustomIniFile's reading and writing interface, TMemIniFile
// (the whole file in memory) and TIniFile (the platform's profile functions
// under Wine; natively a TMemIniFile that reads the file for every call and
// writes it back at once).
// Portable header: no Windows header.
#pragma once

#include <unordered_map>

#include "rtl/Classes.h"

class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}

  const String& FileName() const { return FFileName; }

  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // "0x"/"0X"/"$" hexadecimal or decimal; Default for anything else.
  virtual Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
  virtual void WriteInteger(const String& Section, const String& Ident, Integer Value);
  // A number other than 0 is True; Default when missing or not a number. Written as "1"/"0".
  virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
  virtual void WriteBool(const String& Section, const String& Ident, bool Value);
  // "." always; Default when missing or not a number.
  virtual Double ReadFloat(const String& Section, const String& Ident, Double Default);
  virtual void WriteFloat(const String& Section, const String& Ident, Double Value);

  // Strings gets the key names of Section / the section names / the
  // Name=Value lines of Section (Strings is cleared first).
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  virtual void UpdateFile() = 0;
  // True when Section has at least one key.
  virtual bool SectionExists(const String& Section);
  virtual bool ValueExists(const String& Section, const String& Ident);

 protected:
  String FFileName;
};

// The whole ini text in memory; section and key names ignore case. Lines are
// trimmed, blanks around the first "=" dropped, blank lines and lines starting
// with ";" skipped, and lines before the first section ignored. Writes change
// memory only; UpdateFile writes the file. Names made only of printable ASCII
// (no "-" or "'", which the locale's comparison weighs apart) are found
// through hash indexes; other names by comparing with each in turn.
class TMemIniFile : public TCustomIniFile {
 public:
  // Reads FileName when it exists (a byte-order mark selects UTF-8 or UTF-16,
  // else ANSI). An empty name gives an empty ini kept in memory only.
  explicit TMemIniFile(const String& FileName = String());
  TMemIniFile(const String& FileName, TEncoding Encoding);
  ~TMemIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Writes the text to FileName (nothing when the name is empty) in the
  // encoding the file was read in. Raises EFCreateError when it cannot.
  void UpdateFile() override;

  void Clear();
  // The ini text as lines: "[Section]", its lines, a blank line; per section.
  void GetStrings(TStrings* List);
  // Replaces the content by the ini text in List.
  void SetStrings(TStrings* List);
  // Takes a new file name; Reload reads it (or empties the ini when it is missing).
  void Rename(const String& FileName, bool Reload);
  TEncoding Encoding() const { return FEncoding; }
  void SetEncoding(TEncoding Value) { FEncoding = Value; }
  bool Modified() const { return FModified; }

 private:
  // The first position of each name of a list, while every name is plain.
  struct TNameIndex {
    bool Valid = false;
    bool Plain = true;
    std::unordered_map<String, Integer> First;
    void Add(const String& Name, Integer Index);
  };

  TStringList* AddSection(const String& Section);
  TStringList* FindSection(const String& Section) const;
  Integer IndexOfSection(const String& Section) const;
  Integer IndexOfKey(TStringList* Strings, const String& Ident) const;
  void DropKeyIndex(TStringList* Strings) const { FKeyIndexes.erase(Strings); }
  void LoadValues();

  TStringList FSections{true};  // owns the section lists
  mutable TNameIndex FSectionIndex;
  mutable std::unordered_map<const TStringList*, TNameIndex> FKeyIndexes;
  TEncoding FEncoding = TEncoding::Default;
  bool FEncodingGiven = false;
  bool FModified = false;
};

// An ini file read and written through at every call.
// Under Wine it uses GetPrivateProfileStringW/WritePrivateProfileStringW:
// a name without a folder then means a file in the Windows folder, values
// lose one pair of surrounding quotes, and writes raise EIniFileException
// "Unable to write to %s" when refused. Natively the same through TMemIniFile
// (quotes stripped the same way, a missing file reads as empty).
class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(const String& FileName) : TCustomIniFile(FileName) {}

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;
};
