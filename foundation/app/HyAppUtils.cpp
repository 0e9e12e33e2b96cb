#include "foundation/app/HyAppUtils.h"

#include <cmath>
#include <memory>

#include "foundation/app/HyStrUtils.h"
#include "rtl/FileUtils.h"
#include "rtl/SysUtils.h"
#include "rtl/Thread.h"

String SharePath;
String ShareFile;
String AppId;
String ExePath;
String ExeVersion;
String OSVersionText;
String SysDir;
String WinDir;
String SysTempPath;
String DataPath;
String ConfigFile;
String TempPath;
String AppTitle;
TDataTable* ConfigDT = nullptr;
TRow* AppShareRow = nullptr;
Integer LangIndex = 2;
Integer AppEdition = 0;
bool IsDevBuild = false;

// ---- Config.db -------------------------------------------------------------------

TDataTable* NewConfigTable() {
  auto* dt = new TDataTable();
  dt->SetIsAddVerifyCode(true);
  dt->SetIOMode(2);
  return dt;
}

void PadTable(TDataTable* DT, Integer Rows, Integer Cells, Integer Props) {
  if (DT->ItemCount() < Rows) DT->AddEmptyItem(Rows - DT->ItemCount());
  for (Integer r = 0; r < Rows; ++r) {
    TRow* row = DT->Items(r);
    while (row->ItemCount() < Cells) row->AddItem(String());
  }
  if (DT->PropCount() < Props) DT->AddPropCount(Props - DT->PropCount());
}

bool LoadConfigTable(TDataTable* DT, const String& FileName, Integer AnsiCodePage, const String& SystemText) {
  bool loaded = true;
  try {
    DT->Load(FileName, 0, 0);
  } catch (const EFOpenError&) {
    throw;  // the file is there but cannot be opened: never replace it
  } catch (const Exception&) {
    loaded = false;
  }
  if (loaded && DT->ItemCount() > 0) {
    PadTable(DT, ConfigRowCount, ConfigCellCount, ConfigPropCount);
    return false;
  }
  // Missing, empty or damaged: keep a damaged file beside the new one.
  if (FileExists(FileName) && FileSize(FileName) > 0) {
    const String kept = FileName + u".damaged";
    if (FileExists(kept)) DeleteFile(kept);
    RenameFile(FileName, kept);
  }
  DT->Clear();
  DT->Init(ConfigRowCount, ConfigCellCount);
  DT->SetPropCount(ConfigPropCount);
  PadTable(DT, ConfigRowCount, ConfigCellCount, ConfigPropCount);
  DT->Props(1)->SetText(IntToStr(AnsiCodePage));
  DT->Props(46)->SetText(SystemText);
  DT->SaveAs(FileName);
  return true;
}

Integer LangIndexOf(TDataTable* DT) {
  if (DT && DT->PropCount() > 1 && DT->Props(1)->Value() == CodePageChinese) return 0;
  return 2;
}

// ---- Share6.db -----------------------------------------------------------------

namespace {

std::unique_ptr<TDataTable> NewShareTable() {
  auto dt = std::make_unique<TDataTable>();
  dt->SetIsAddVerifyCode(false);
  dt->SetIOMode(2);
  return dt;
}

// Loads Share6.db, retrying while another program holds it. False when it
// stayed busy.
bool LoadShareTable(TDataTable* DT) {
  for (Integer attempt = 0; attempt < ShareOpenAttempts; ++attempt) {
    if (attempt > 0) TThread::Sleep(ShareOpenPauseMs);
    try {
      DT->Load(ShareFile, 0, 0);
      return true;
    } catch (const EFOpenError&) {
    }
  }
  return false;
}

bool SaveShareTable(TDataTable* DT) {
  if (!ForceDirectories(ExcludeTrailingPathDelimiter(ExtractFilePath(ShareFile)))) return false;
  for (Integer attempt = 0; attempt < ShareOpenAttempts; ++attempt) {
    if (attempt > 0) TThread::Sleep(ShareOpenPauseMs);
    try {
      DT->SaveAs(ShareFile);
      return true;
    } catch (const Exception&) {
    }
  }
  return false;
}

Integer FindShareRow(TDataTable* DT, const String& AAppId) {
  for (Integer i = 0; i < DT->ItemCount(); ++i) {
    TRow* r = DT->Items(i);
    if (r->ItemCount() > 0 && SameText(r->Items(0)->StoredText(), AAppId)) return i;
  }
  return -1;
}

void PadRow(TRow* Row, Integer Count) {
  while (Row->ItemCount() < Count) Row->AddItem(String());
}

}  // namespace

TRow* NewShareRow(const String& AAppId) {
  auto* r = new TRow(nullptr);
  r->AddItem(AAppId);
  PadRow(r, ShareCellCount);
  return r;
}

bool WriteShareCells(const String& AAppId, Integer Index1, const String& Text1, Integer Index2,
                     const String& Text2) {
  if (Index1 < 0) return false;
  auto dt = NewShareTable();
  if (!LoadShareTable(dt.get())) return false;
  bool changed = false;
  Integer i = FindShareRow(dt.get(), AAppId);
  TRow* row;
  if (i < 0) {
    row = dt->AddItem(NewShareRow(AAppId), false);
    changed = true;
  } else {
    row = dt->Items(i);
  }
  auto put = [&](Integer Index, const String& Text) {
    if (row->ItemCount() <= Index) {
      PadRow(row, Index + 1);
      changed = true;
    }
    if (UnescapeTableText(row->Items(Index)->StoredText()) != UnescapeTableText(Text)) {
      row->Items(Index)->SetText(Text);
      changed = true;
    }
  };
  put(Index1, Text1);
  if (Index2 >= 0) put(Index2, Text2);
  if (!changed) return true;
  return SaveShareTable(dt.get());
}

bool SaveShareRow(const String& AAppId, TRow* ARow) {
  auto dt = NewShareTable();
  if (!LoadShareTable(dt.get())) return false;
  Integer i = FindShareRow(dt.get(), AAppId);
  std::vector<String> texts;
  for (Integer c = 0; c < ARow->ItemCount(); ++c) texts.push_back(ARow->Items(c)->StoredText());
  if (i < 0) {
    auto* r = new TRow(nullptr);
    r->Init(texts);
    dt->AddItem(r, false);
  } else {
    dt->Items(i)->Init(texts);
  }
  return SaveShareTable(dt.get());
}

TRow* GetShareRow(const String& AAppId, bool* Busy) {
  if (Busy) *Busy = false;
  auto dt = NewShareTable();
  if (!LoadShareTable(dt.get())) {
    if (Busy) *Busy = true;
    return nullptr;
  }
  Integer i = FindShareRow(dt.get(), AAppId);
  if (i < 0) return nullptr;
  TRow* src = dt->Items(i);
  auto* r = new TRow(nullptr);
  for (Integer c = 0; c < src->ItemCount(); ++c) r->AddItem(UnescapeTableText(src->Items(c)->StoredText()));
  PadRow(r, ShareCellCount);
  return r;
}

String ReadShareCell(const String& AAppId, Integer Index) {
  std::unique_ptr<TRow> r(GetShareRow(AAppId));
  if (!r || Index < 0 || Index >= r->ItemCount()) return String();
  return r->Items(Index)->StoredText();
}

// ---- row comparisons and colour text --------------------------------------------

namespace {

Integer CellValue(TRow* Row, Integer Index) {
  if (!Row || Index < 0 || Index >= Row->ItemCount()) return 0;
  return Row->Items(Index)->Value();
}

// A plain decimal number written with "."; anything else (or not finite) is 0.
double CellDate(TRow* Row, Integer Index) {
  if (!Row || Index < 0 || Index >= Row->ItemCount()) return 0;
  const String s = Row->Items(Index)->Text();
  size_t p = 0;
  if (p < s.size() && (s[p] == u'-' || s[p] == u'+')) ++p;
  bool digits = false, dot = false;
  for (; p < s.size(); ++p) {
    if (s[p] >= u'0' && s[p] <= u'9') {
      digits = true;
    } else if (s[p] == u'.' && !dot) {
      dot = true;
    } else {
      return 0;
    }
  }
  if (!digits) return 0;
  double v = 0;
  if (!TryStrToFloat(s, v) || !std::isfinite(v)) return 0;
  return v;
}

template <typename T>
Integer Sign3(T A, T B) {
  return A < B ? -1 : (B < A ? 1 : 0);
}

}  // namespace

Integer CompareRowsByValue(TRow* Row1, TRow* Row2, Integer ColIndex, TSortDirection Direction,
                           Integer TieColIndex) {
  const Integer a = CellValue(Row1, ColIndex), b = CellValue(Row2, ColIndex);
  Integer r = Direction == TSortDirection::Ascending ? Sign3(a, b) : Sign3(b, a);
  if (r == 0) r = Sign3(CellValue(Row1, TieColIndex), CellValue(Row2, TieColIndex));
  return r;
}

Integer CompareRowsByDate(TRow* Row1, TRow* Row2, Integer ColIndex, TSortDirection Direction,
                          Integer TieColIndex) {
  const double a = CellDate(Row1, ColIndex), b = CellDate(Row2, ColIndex);
  Integer r = Direction == TSortDirection::Ascending ? Sign3(a, b) : Sign3(b, a);
  if (r == 0) r = Sign3(CellValue(Row1, TieColIndex), CellValue(Row2, TieColIndex));
  return r;
}

void ColorToARGBStr(Cardinal Color, bool WithParens, String& Text) {
  Text = IntToStr(Color >> 24) + u", " + IntToStr((Color >> 16) & 0xFF) + u", " + IntToStr((Color >> 8) & 0xFF) +
         u", " + IntToStr(Color & 0xFF);
  if (WithParens) Text = u"(" + Text + u")";
}
