// The skin engine's text tables from the program's resources.
#include "skin/data/win/SkinTextTable.h"

void LoadSkinTextTable(TspResourceStrData* Data, bool Chinese, HINSTANCE Instance) {
  if (Instance == nullptr) Instance = GetModuleHandleW(nullptr);
  TResourceStream R(reinterpret_cast<THandle>(Instance), Chinese ? u"SkinStringsZh" : u"SkinStringsEn",
                    reinterpret_cast<const Char*>(RT_RCDATA));
  TStringList Lines;
  Lines.LoadFromStream(&R, TEncoding::UTF8);
  Data->SetResStrings(&Lines);
  Data->SetCharSet(Chinese ? SkinTextCharSetChinese : SkinTextCharSetEnglish);
}
