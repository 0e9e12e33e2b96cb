// Table streams and files in every layer combination (check bytes, stream
// container, string container, line breaks): any bytes load or are refused
// without harm, and what was loaded saves and loads back to the same text.
#include "foundation/data/HyDataTable.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  // Byte 0: IOMode in bits 0..2, check bytes in bit 3, through a file (Load)
  // instead of a stream in bit 4.
  const Integer Mode = Data[0] & 7;
  const bool Verify = (Data[0] & 8) != 0;
  const bool ThroughFile = (Data[0] & 16) != 0;
  try {
    TDataTable A;
    A.SetIOMode(Mode);
    A.SetIsAddVerifyCode(Verify);
    if (ThroughFile) {
      const String Name = fuzz::ScratchDir() + u"table.db";
      fuzz::WriteFile(Name, Data + 1, Size - 1);
      A.Load(Name, 2, 3);
      FUZZ_CHECK(A.ItemCount() > 0);  // a table without rows gets the automatic ones
    } else {
      auto S = fuzz::StreamOf(Data, Size, 1);
      A.LoadFromStream(S.get());
    }
    for (Integer R = 0; R < A.ItemCount(); ++R) FUZZ_CHECK(A.Items(R)->ItemCount() >= 1);
    const String Text = A.ToString(true);
    TMemoryStream Out;
    A.SaveToStream(Text, &Out);
    Out.SetPosition(0);
    TDataTable B;
    B.SetIOMode(Mode);
    B.SetIsAddVerifyCode(Verify);
    B.LoadFromStream(&Out);
    FUZZ_CHECK(B.ToString(true) == Text);
  } catch (const Exception&) {
    // Write errors of the containers are the class library's errors.
  }
  return 0;
}
