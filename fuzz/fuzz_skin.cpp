// The skin's stored forms: the ".skn" envelope, the compressed block, the
// inflated stored-skin layout and the ini text, each reader on the same
// bytes. Any input is read or refused with the skin's own errors; a skin that
// reads writes a stored skin that reads back, and writing is a fixed point
// after one pass (what was written once reads back to the same text).
#include "fuzz/FuzzSupport.h"
#include "skin/data/SkinContent.h"

namespace {

std::string TextOf(TspSkinFields& F) {
  TMemIniFile Ini;
  F.SaveToCustomIniFile(&Ini);
  TStringList Lines;
  Ini.GetStrings(&Lines);
  return EncodeSkinText(&Lines);
}

// Written, read, written again: the same stored skin.
void RoundTrip(TspSkinContent& C) {
  const TBytes First = C.SaveToStoredSkin();
  TspSkinContent B;
  FUZZ_CHECK(B.LoadFromStoredSkin(First.data(), First.size()));
  const TBytes Second = B.SaveToStoredSkin();
  TspSkinContent B2;
  FUZZ_CHECK(B2.LoadFromStoredSkin(Second.data(), Second.size()));
  FUZZ_CHECK(TextOf(B2) == TextOf(B));
  FUZZ_CHECK(B2.ActivePictures == C.ActivePictures);
}

// A reader's result, or nothing when it refuses the bytes (its own errors).
template <class F>
std::unique_ptr<TspSkinContent> Read(F Reader) {
  auto C = std::make_unique<TspSkinContent>();
  try {
    if (Reader(*C)) return C;
  } catch (const Exception&) {
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::unique_ptr<TspSkinContent> Read4[] = {
      Read([&](TspSkinContent& C) {
        TBytes Block;
        return ReadSknEnvelope(Data, Size, Block) && C.LoadFromStoredSkinBlock(Block.data(), Block.size());
      }),
      Read([&](TspSkinContent& C) { return C.LoadFromStoredSkinBlock(Data, Size); }),
      Read([&](TspSkinContent& C) { return C.LoadFromStoredSkin(Data, Size); }),
      Read([&](TspSkinContent& C) {
        C.LoadFromIniText({Data, Size});
        return true;
      }),
  };
  for (auto& C : Read4)
    if (C) RoundTrip(*C);
  return 0;
}
