// The table text form: any text parses; what a table writes reads back to
// the same stored texts, with and without line breaks between the rows, also
// after a cell was written with any text.
#include "foundation/data/HyDataTable.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  // Byte 0: the cell written afterwards and the escape set; the rest: the
  // text, and from its middle on also the text written into that cell.
  const Byte Sel = Data[0];
  const String Text = fuzz::Utf16Of(Data + 1, Size - 1);
  const TCellIndexSet Escaped = (Sel & 0x80) ? CellIndexSet({0, 1, 2, 3}) : TCellIndexSet();
  try {
    TDataTable A(u"", Escaped);
    A.Init(Text);
    for (Integer R = 0; R < A.ItemCount(); ++R) FUZZ_CHECK(A.Items(R)->ItemCount() >= 1);
    if (A.ItemCount() > 0) {
      TRow* Row = A.Items(Integer(Sel & 0x3F) % A.ItemCount());
      Row->Items(Integer((Sel >> 6) & 1) % Row->ItemCount())->SetText(Text.substr(Text.size() / 2));
    }
    for (Integer Mode : {0, 1}) {
      A.SetIOMode(Mode);
      const String Written = A.ToString(true);
      TDataTable B(u"", Escaped);
      B.SetIOMode(Mode);
      B.Init(Mode & 1 ? RemoveRowBreaks(Written) : Written);
      FUZZ_CHECK(B.ItemCount() == A.ItemCount());
      FUZZ_CHECK(B.ToString(true) == Written);
      // Escaped cells give back their texts; plain ones their stored texts
      // with separators escaped (checked through the written text above).
      for (Integer R = 0; R < A.ItemCount(); ++R)
        for (Integer C = 0; C < A.Items(R)->ItemCount(); ++C)
          if (C < 104 && Escaped.test(size_t(C)))
            FUZZ_CHECK(B.Items(R)->Items(C)->Text() == A.Items(R)->Items(C)->Text());
    }
  } catch (const Exception&) {
    // The text views of a cell may raise the class library's errors; nothing
    // else may leave the table.
  }
  return 0;
}
