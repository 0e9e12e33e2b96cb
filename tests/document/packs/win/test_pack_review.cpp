// Review pictures of the shipped packs: a contact sheet per pack of every
// decoded picture with its names in both languages (read in code page 936
// whatever the locale, so the Chinese names show), saved under
// build/screens/test_stylepacks/. For reviewers; the sheets decide nothing,
// but every picture they show must have loaded.
#include "common/gtest.h"


#include <algorithm>

#include "foundation/app/HyAppUtils.h"
#include "rtl/FileIO.h"
#include "rtl/FileUtils.h"
#include "tests/document/packs/win/pack_test_util.h"

using namespace packtest;

namespace {

String Widen936(const std::string& Ansi) {
  if (Ansi.empty()) return String();
  const int n = MultiByteToWideChar(936, 0, Ansi.data(), int(Ansi.size()), nullptr, 0);
  String s(size_t(std::max(n, 0)), u'\0');
  MultiByteToWideChar(936, 0, Ansi.data(), int(Ansi.size()), reinterpret_cast<LPWSTR>(s.data()), n);
  return s;
}

TDataTable* LoadFor936(const String& File, TStylePackKind Kind) {
  TFileStream fs(File, fmOpenRead | fmShareDenyWrite);
  std::vector<std::uint8_t> bytes(size_t(fs.Size()));
  fs.ReadBuffer(bytes.data(), Integer(bytes.size()));
  TStylePackHooks hooks = StylePackPlatformHooks();
  hooks.Widen = Widen936;
  auto* t = new TDataTable();
  String error;
  EXPECT_TRUE(LoadStylePackBytes(t, Kind, bytes.data(), bytes.size(), hooks, error)) << UTF8Encode(error);
  return t;
}

// A checkerboard under the picture shows its transparent parts.
void Checker(TBitmap32& B, const TRect& R) {
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) B.SetPixel(x, y, ((x / 6 + y / 6) % 2) ? 0xFFFFFFFFu : 0xFFDCDCE4u);
}

class TSheet {
 public:
  static constexpr int CellW = 180, PicH = 130, CellH = PicH + 40, Cols = 6;
  explicit TSheet(int Count) {
    FSheet.SetSize(Cols * CellW, std::max(1, (Count + Cols - 1) / Cols) * CellH);
    FSheet.Clear(0xFFF4F4F4u);
    FSheet.Font()->SetName(u"微软雅黑");
    FSheet.Font()->SetSize(9);
    FSheet.Font()->SetColor(0x202020);
  }
  // One cell: the pictures side by side, fitted into the cell, and the names.
  void Add(const std::vector<TCustomBitmap32*>& Pictures, const String& Chinese, const String& English) {
    const int ox = (FCount % Cols) * CellW, oy = (FCount / Cols) * CellH;
    ++FCount;
    for (int x = ox; x < ox + CellW; ++x) FSheet.SetPixel(x, oy + CellH - 1, 0xFFB0B0B8u);
    for (int y = oy; y < oy + CellH; ++y) FSheet.SetPixel(ox + CellW - 1, y, 0xFFB0B0B8u);
    std::vector<TCustomBitmap32*> pics;
    for (TCustomBitmap32* p : Pictures)
      if (p && !p->Empty()) pics.push_back(p);
    int x = ox + 4;
    const int slot = pics.empty() ? 0 : (CellW - 8) / int(pics.size());
    for (TCustomBitmap32* p : pics) {
      const double k = std::min({1.0, double(slot - 4) / p->Width(), double(PicH - 8) / p->Height()});
      const int w = std::max(1, int(p->Width() * k)), h = std::max(1, int(p->Height() * k));
      const TRect dst(x, oy + 4, x + w, oy + 4 + h);
      Checker(FSheet, dst);
      const TDrawMode mode = p->DrawMode();
      p->SetDrawMode(dmBlend);
      FSheet.Draw(dst, p->BoundsRect(), p);
      p->SetDrawMode(mode);
      x += slot;
    }
    FSheet.Textout(ox + 4, oy + PicH + 2, Chinese);
    FSheet.Textout(ox + 4, oy + PicH + 19, English);
  }
  void Save(const std::string& Name) { SaveReviewPicture(FSheet, Name); }

 private:
  TBitmap32 FSheet;
  int FCount = 0;
};

TEST(PackReview, ContactSheets) {
  EnsureGdiPlusStarted();
  const String media = ProgramFolder() + u"Media\\";
  struct TPack {
    const char16_t* File;
    TStylePackKind Kind;
    const char* Sheet;
  } packs[] = {{u"Effects.dat", TStylePackKind::Effects, "pack-effects"},
               {u"Pattern.dat", TStylePackKind::Pattern, "pack-pattern"},
               {u"Brush.dat", TStylePackKind::Brush, "pack-brush"},
               {u"Shadow.dat", TStylePackKind::Shadow, "pack-shadow"},
               {u"Reflection.dat", TStylePackKind::Reflection, "pack-reflection"},
               {u"frame0.dat", TStylePackKind::FrameStyle, "pack-frame0"},
               {u"frame1.dat", TStylePackKind::FrameStyle, "pack-frame1"},
               {u"frame2.dat", TStylePackKind::FrameNested, "pack-frame2"},
               {u"frame3.dat", TStylePackKind::FrameImage, "pack-frame3"}};
  for (const TPack& p : packs) {
    SCOPED_TRACE(p.Sheet);
    TDataTable* t = LoadFor936(media + p.File, p.Kind);
    TSheet sheet(t->ItemCount());
    for (Integer i = 0; i < t->ItemCount(); ++i) {
      TRow* r = t->Items(i);
      std::vector<TCustomBitmap32*> pics = {static_cast<TCustomBitmap32*>(r->Data()), static_cast<TCustomBitmap32*>(r->Data2())};
      if (p.Kind == TStylePackKind::FrameNested) {
        // The layer table's textures beside the preview.
        auto* layers = static_cast<TDataTable*>(r->Data3());
        ASSERT_NE(layers, nullptr);
        for (Integer k = 0; k < layers->ItemCount(); ++k) pics.push_back(static_cast<TCustomBitmap32*>(layers->Items(k)->Data()));
      } else {
        pics.push_back(static_cast<TCustomBitmap32*>(r->Data3()));
      }
      sheet.Add(pics, r->Items(2)->Text(), r->Items(4)->Text());
    }
    sheet.Save(p.Sheet);
    FreeStylePackTable(t, p.Kind);
  }
}

}  // namespace
