// The language-table stream: any bytes give a table whose group counts add up
// to its rows, or the empty table; every lookup stays inside the table.
#include "foundation/app/HyLangTable.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  auto S = fuzz::StreamOf(Data, Size);
  const bool Loaded = LoadLanguageTableFromStream(S.get());
  FUZZ_CHECK(LangDT != nullptr);
  if (!Loaded) FUZZ_CHECK(LangDT->ItemCount() == 0);
  for (Integer G = -1; G <= LangGroupCount; ++G)
    for (Integer I : {-1, 0, 1, 2, 7, 100, 1000}) {
      const Integer Row = LangRowOf(LangDT, G, I);
      FUZZ_CHECK(Row >= -1 && Row < LangDT->ItemCount());
      String Text;
      for (Integer Column : {-1, LangCellChinese, LangCellEnglish, LangCellCount})
        if (FindLangText(LangDT, G, I, Column, Text)) FUZZ_CHECK(Row >= 0);
    }
  FreeLanguageTable();
  return 0;
}
