// The string container: any text deciphers to a text or to nothing, never
// longer than its input; a text that deciphers enciphers and deciphers back
// to itself; Base64 decoding takes any text.
#include "foundation/data/HyCrypUtils.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const String In = fuzz::Utf16Of(Data, Size);
  const String Out = DecryptStr(In, u"");
  FUZZ_CHECK(Out.size() <= In.size());
  const RawByteString Bytes = Base64DecodeStr(In);
  FUZZ_CHECK(Bytes.size() <= In.size());
  if (!Out.empty()) {
    const Integer Cipher = Integer(Out[0] % CipherIdCount), Hash = Integer(Out[0] % HashIdCount);
    FUZZ_CHECK(DecryptStr(EncryptStr(Out, u"pw", Cipher, Hash), u"pw") == Out);
  }
  return 0;
}
