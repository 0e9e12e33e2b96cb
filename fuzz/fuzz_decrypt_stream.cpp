// The stream container: any bytes decipher to bytes or to nothing, as many as
// the input holds after its head; bytes that decipher encipher and decipher
// back to themselves.
#include "foundation/data/HyCrypUtils.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  auto In = fuzz::StreamOf(Data, Size);
  RawByteString Out;
  DecryptFromStream(u"", In.get(), Out);
  FUZZ_CHECK(Out.size() + 10 <= Size || Out.empty());
  if (!Out.empty()) {
    TMemoryStream Again;
    FUZZ_CHECK(EncryptToStream(Out, u"pw", Integer(Data[0] % CipherIdCount), &Again, Integer(Data[1] % HashIdCount)));
    RawByteString Back;
    DecryptFromStream(u"pw", &Again, Back);
    FUZZ_CHECK(Back == Out);
  }
  return 0;
}
