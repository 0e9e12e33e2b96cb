// Saving a tall picture over an opaque canvas: the merged rows come in
// blocks, the next block merged by a worker while the encoder reads one, and
// a writer that reads out of order (the BMP writer takes bottom-up blocks of
// rows) gets its rows merged on the spot. Each file is byte for byte the one
// written from the whole merged bitmap.
#include "common/gtest.h"

#include "bitmap/Bmp32_Blend.h"
#include "document/ProjectSidecar.h"
#include "document/win/ImageDraw.h"
#include "gdiplus/win/ImageFiles.h"
#include "tests/document/win/document_fixture.h"
#include "tests/rtl/test_streams_tempdir.h"

namespace {

TEST(DocumentSaveMergedBlocks, TallPictureEqualsTheWholeMergedBitmap) {
  TTempFolder dir("lumigra_blocks_");
  constexpr Integer W = 701, H = 1203;  // several blocks and a short last one
  TTestDocument d(W, H, 0x4080C0);
  d->Draw();
  const TColor32 canvas = d->CanvasColor();
  ASSERT_EQ(canvas >> 24, 255u);
  TBitmap32 merged;
  merged.SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      const TColor32 a = TColor32((x * 31 + y * 7) % 256);
      d->Bitmap()->SetPixel(x, y, a << 24 | TColor32((x + y) & 0xFF) << 16 | TColor32((y * 3) & 0xFF) << 8 |
                                      TColor32((x * 5) & 0xFF));
      merged.SetPixel(x, y, MergeOver(d->Bitmap()->GetPixel(x, y), canvas) | 0xFF000000u);
    }
  EndBlending();
  struct {
    const char* Ext;
    TImageFormat Format;
    Integer Option;
  } formats[] = {{"jpg", ifJpg, 8}, {"png", ifPng, 0}, {"bmp", ifBmp, 24}, {"bmp", ifBmp, 32}};
  for (const auto& f : formats) {
    SCOPED_TRACE(std::string(f.Ext) + " " + std::to_string(f.Option));
    TRow* info = d->FileDT()->Items(0);
    info->Items(FileInfoCell::JpegLevel)->SetValue(f.Format == ifJpg ? f.Option : 8);
    info->Items(FileInfoCell::BmpBpp)->SetValue(f.Format == ifBmp ? f.Option : 24);
    const std::string saved = std::string("saved.") + f.Ext, whole = std::string("whole.") + f.Ext;
    d->SaveAs(dir.Path(saved.c_str()));
    SaveBitmap32ToFile(&merged, dir.Path(whole.c_str()), f.Format, f.Option);
    const std::string bytes = dir.ReadAll(saved.c_str());
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_TRUE(bytes == dir.ReadAll(whole.c_str()));
  }
}

}  // namespace
