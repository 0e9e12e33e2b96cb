#include "foundation/app/HyLangTable.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "foundation/app/HyAppUtils.h"
#include "foundation/data/HyCrypUtils.h"
#include "rtl/SysUtils.h"

TDataTable* LangDT = nullptr;

const String DefaultWebBase = u"https://lumigra.corvane.example";

namespace {

TCellIndexSet TextCells() {
  TCellIndexSet s;
  for (size_t i = 0; i <= 9; ++i) s.set(i);
  return s;
}

void DefaultLog(const String& Message) {
  const std::string line = UTF8Encode(Message) + "\n";
  std::fputs(line.c_str(), stderr);
}

TLangLogHandler& LogHandler() {
  static TLangLogHandler handler;
  return handler;
}

void Log(const String& Message) {
  if (LogHandler())
    LogHandler()(Message);
  else
    DefaultLog(Message);
}

}  // namespace

TDataTable* NewLangTable() {
  auto* dt = new TDataTable(String(), TextCells());
  // The line-break set must be in place before any text is written through
  // SetText, or line breaks and TABs would become blanks.
  dt->ReserveLFSet() = TextCells();
  dt->SetIOMode(2);
  dt->SetIsAddVerifyCode(false);
  return dt;
}

bool LoadLanguageTableFromStream(TStream* Stream) {
  std::unique_ptr<TDataTable> dt(NewLangTable());
  bool loaded = false;
  // A stream that passes the container is reported as cmTableInit; a refused
  // one leaves the table untouched and empty.
  dt->SetOnDataChanged([&](TDataTable*, TDataTableChangeMode Mode, TRow*, TCell*, Integer, Integer) {
    if (Mode == cmTableInit) loaded = true;
  });
  try {
    if (Stream) dt->LoadFromStream(Stream);
  } catch (const std::exception&) {
    loaded = false;  // a stream that cannot be read gives the empty table
  }
  dt->SetOnDataChanged(nullptr);
  // The container has no check of its own: a damaged stream deciphers to
  // noise, which shows as row counts that do not add up to the rows.
  if (loaded) {
    Int64 rows = 0;
    for (Integer g = 0; g < LangGroupCount && g < dt->PropCount(); ++g) {
      const Integer n = CellTextToInt(dt->Props(g)->StoredText());
      if (n < 0) loaded = false;
      rows += n;
    }
    if (dt->PropCount() < LangGroupCount || rows != dt->ItemCount()) loaded = false;
  }
  if (!loaded) dt.reset(NewLangTable());
  FreeAndNil(LangDT);
  LangDT = dt.release();
  return loaded;
}

void FreeLanguageTable() { FreeAndNil(LangDT); }

Integer LangRowOf(TDataTable* DT, Integer Group, Integer Index) {
  if (!DT || Group < 0 || Group >= LangGroupCount || Index < 0) return -1;
  if (DT->PropCount() <= Group) return -1;
  Int64 row = Index;
  for (Integer g = 0; g < Group; ++g) {
    const Integer n = CellTextToInt(DT->Props(g)->StoredText());
    if (n < 0) return -1;
    row += n;
  }
  // An index past its group's count would read another group's text.
  if (Index >= CellTextToInt(DT->Props(Group)->StoredText())) return -1;
  if (row >= DT->ItemCount()) return -1;
  return static_cast<Integer>(row);
}

bool FindLangText(TDataTable* DT, Integer Group, Integer Index, Integer Column, String& Text) {
  const Integer row = LangRowOf(DT, Group, Index);
  if (row < 0) return false;
  TRow* r = DT->Items(row);
  if (Column < 0 || Column >= r->ItemCount()) return false;
  Text = r->Items(Column)->Text();
  return true;
}

void GetLangText(Integer Group, Integer Index, bool AddColon, String& Text) {
  if (!FindLangText(LangDT, Group, Index, LangIndex, Text)) {
    // Built by appending: prepending a literal to a temporary trips a false
    // -Wrestrict of GCC 12 in optimised builds.
    Text = u"#";
    Text += IntToStr(Group);
    Text += u".";
    Text += IntToStr(Index);
    String message = u"language table: no text (";
    message += IntToStr(Group);
    message += u", ";
    message += IntToStr(Index);
    message += u") in column ";
    message += IntToStr(LangIndex);
    Log(message);
  }
  if (AddColon) Text += u":";
}

TLangLogHandler SetLangLogHandler(TLangLogHandler Handler) {
  TLangLogHandler old = std::move(LogHandler());
  LogHandler() = std::move(Handler);
  return old;
}

String GetWebLink(const String& Key) {
  String base;
  if (ConfigDT && ConfigDT->PropCount() > ConfigPropWebBase)
    base = DecryptStr(UnescapeTableText(ConfigDT->Props(ConfigPropWebBase)->StoredText()), String());
  return base + u"/index.php?hl=" + IntToStr(LangIndex) + u"&nm=" + Key;
}

String WebBaseToProperty(const String& Address) { return EscapeTableText(EncryptStrRandom(Address, String())); }
