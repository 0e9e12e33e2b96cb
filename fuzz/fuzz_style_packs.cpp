// The style-pack container reader (LoadStylePackBytes): the first byte picks
// the loader, the rest is the pack. Any bytes load or are refused; a refused
// pack leaves the caller's table exactly as it was, and everything decoded is
// freed (the sanitizers see a leak). The decoder stands in for the
// platform's: a small bitmap for any picture whose header reads, an error
// for a picture whose last byte is 0xEE.
#include "document/StylePackReader.h"
#include "fuzz/FuzzSupport.h"
#include "tests/document/packs/pack_fixtures.h"

namespace {

TStylePackHooks Hooks() {
  TStylePackHooks h;
  h.Widen = packtest::WidenLatin1;
  h.Decode = [](TPackPicture, const std::vector<std::uint8_t>& B) -> TCustomBitmap32* {
    if (!B.empty() && B.back() == 0xEE) throw Exception(u"broken picture data");
    auto* bmp = new TCustomBitmap32();
    bmp->SetSize(2, 2);
    return bmp;
  };
  h.NewBitmap = [] { return new TCustomBitmap32(); };
  return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  const auto kind = TStylePackKind(Data[0] % 9);
  auto* table = new TDataTable();
  table->Init(u"#keep#a,b|c,d");
  auto* sentinel = new TCustomBitmap32();
  table->Items(1)->SetData2(sentinel);
  const String before = table->ToString(true);
  String error;
  const bool ok = LoadStylePackBytes(table, kind, Data + 1, Size - 1, Hooks(), error);
  if (!ok) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(table->ToString(true) == before);
    FUZZ_CHECK(table->Items(1)->Data2() == sentinel && table->Items(0)->Data2() == nullptr && table->Data() == nullptr);
    table->Items(1)->SetData2(nullptr);
  } else {
    FUZZ_CHECK(error.empty());
    // The rows are the pack's; a layer table's rows of frame pack 2 are tables.
    if (kind == TStylePackKind::FrameNested)
      for (Integer i = 0; i < table->ItemCount(); ++i)
        if (auto* layers = static_cast<TDataTable*>(table->Items(i)->Data3())) FUZZ_CHECK(layers->ItemCount() >= 0);
  }
  delete sentinel;
  FreeStylePackTable(table, kind);
  return 0;
}
