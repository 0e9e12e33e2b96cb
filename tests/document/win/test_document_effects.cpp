// Effect previews on a document: runs that start again from the copy,
// cancelling byte for byte, keeping as one undo step, the selection's reach
// per family, the picture object's previews, a lifted selection merged and
// brought back, and the original image restored.
#include "common/gtest.h"

#include <functional>

#include "bitmap/VaZU32Vudover.h"
#include "document/EffectRecipes.h"
#include "document/SelectionCore.h"
#include "document/UndoSteps.h"
#include "document/win/ImageSelection.h"
#include "document/win/ImageSmall.h"
#include "tests/document/win/document_fixture.h"

namespace {

constexpr Cardinal Seed = 0xC0FFEEu;

// A photo-like picture: colour ramps, a texture and a soft disc.
void PaintPhoto(TCustomBitmap32* B) {
  const Integer w = B->Width(), h = B->Height();
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      const Integer dx = x - w / 2, dy = y - h / 3;
      const Integer disc = std::max(0, 90 - (dx * dx + dy * dy) * 90 / std::max(1, (w * w) / 9));
      const Integer r = std::min(255, x * 200 / std::max(w - 1, 1) + disc);
      const Integer g = std::min(255, 40 + y * 180 / std::max(h - 1, 1) + disc / 2);
      const Integer b = std::min(255, 60 + ((x * 7 + y * 13 + (x * y) % 17) & 0x3F) + (h - y) * 80 / std::max(h, 1));
      B->SetPixel(x, y, Color32FromRGBA(Byte(r), Byte(g), Byte(b), 255));
    }
}

TImgSelection* AddSelection(TTestDocument& d, const TRect& R, Integer Kind) {
  d->DT()->AddItem(ObjectRow(70, TShapeType::shSelection, R, {{24, IntToStr(Kind)}}));
  d->CreateShapeObjects(-1);
  auto* s = dynamic_cast<TImgSelection*>(d->ShapeOfRow(d->DT()->ItemCount() - 1));
  if (s == nullptr) return nullptr;
  s->SetSRect(R);
  if (!s->CreateRegion(false)) return nullptr;
  return s;
}

using TRun = std::function<void(TImageDraw*)>;

struct TRunCase {
  const char* Name;
  TEffectMode Mode;
  TRun Run;
  bool LimitedBySelection;
};

const std::vector<TRunCase>& RunCases() {
  static const std::vector<TRunCase> cases = {
      {"blur", TEffectMode::emBlur, [](TImageDraw* d) { d->EffectDo(4, false); }, true},
      {"noise", TEffectMode::emAddNoise, [](TImageDraw* d) { d->EffectDo(30, true); }, true},
      {"increase light", TEffectMode::emIncreaseLight, [](TImageDraw* d) { d->EffectDo(50, false); }, true},
      {"monochrome", TEffectMode::emMonochrome,
       [](TImageDraw* d) { d->EffectDo2(60, 210, 0, 0, 0, 0, false); }, true},
      {"elegant", TEffectMode::emElegant, [](TImageDraw* d) { d->EffectDo2(70, 30, 0, 0, 0, 0, false); }, true},
      {"lomo", TEffectMode::emLomo, [](TImageDraw* d) { d->EffectDo2(40, 20, 30, 120, 0, 0, false); }, false},
      {"blend mode", TEffectMode::emBlendMode,
       [](TImageDraw* d) { d->EffectDo2(60, 0, 0, 0, 0x00FF8000, 2, false); }, false},
      {"fade", TEffectMode::emFade, [](TImageDraw* d) { d->EffectDoDirection(8, 15, false); }, false},
      {"bevel", TEffectMode::emBevel, [](TImageDraw* d) { d->EffectDoDirection(5, 3, false); }, false},
      {"adjust", TEffectMode::emColorAdjust,
       [](TImageDraw* d) { d->ImageAdjust(20, 15, 0, -40, 30, 10, 0, -10, true); }, true},
  };
  return cases;
}

}  // namespace

// Runs start again from the copy (two runs equal the second alone);
// cancelling puts the copy back byte for byte and leaves Modified as it was,
// except after the adjustment, whose runs mark the document changed.
TEST(DocumentEffects, RunsRepeatAndCancelRestores) {
  for (const TRunCase& c : RunCases()) {
    for (bool modifiedBefore : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (modifiedBefore ? " modified" : " clean"));
      TTestDocument d(48, 32);
      PaintPhoto(d->SrcBmp());
      d->SetModified(modifiedBefore);
      const std::vector<TColor32> before = Pixels(d->SrcBmp());
      d->SetEffectMode(c.Mode);
      d->EffectBegin();
      ASSERT_NE(d->SrcBmp_T(), nullptr);
      EffectRandomFixSeed(Seed);
      c.Run(d.Get());
      const std::vector<TColor32> once = Pixels(d->SrcBmp());
      EXPECT_NE(once, before);
      EffectRandomFixSeed(Seed);
      c.Run(d.Get());
      EXPECT_EQ(Pixels(d->SrcBmp()), once);
      d->EffectEnd(false);
      EXPECT_EQ(Pixels(d->SrcBmp()), before);
      EXPECT_EQ(d->SrcBmp_T(), nullptr);
      EXPECT_FALSE(d->SrcBmpChanged());
      EXPECT_EQ(d->Modified(), modifiedBefore || c.Mode == TEffectMode::emColorAdjust);
    }
  }
}

// A preview begun again after the raster took another size and other
// pixels shows nothing of the earlier preview's runs: the result equals the
// same run in a document that only ever held the new picture.
TEST(DocumentEffects, PreviewAfterResizeShowsNoEarlierRun) {
  for (const TRunCase& c : RunCases()) {
    SCOPED_TRACE(c.Name);
    TTestDocument d(48, 32);
    PaintPhoto(d->SrcBmp());
    d->SetEffectMode(c.Mode);
    d->EffectBegin();
    EffectRandomFixSeed(Seed);
    c.Run(d.Get());
    d->EffectEnd(false);
    d->SrcBmp()->SetSize(30, 40);
    PaintPhoto(d->SrcBmp());
    d->EffectBegin();
    EffectRandomFixSeed(Seed);
    c.Run(d.Get());

    TTestDocument fresh(30, 40);
    PaintPhoto(fresh->SrcBmp());
    fresh->SetEffectMode(c.Mode);
    fresh->EffectBegin();
    EffectRandomFixSeed(Seed);
    c.Run(fresh.Get());
    ASSERT_EQ(d->SrcBmp()->Width(), 30);
    EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(fresh->SrcBmp()));
    d->EffectEnd(false);
    fresh->EffectEnd(false);
  }
}

// A selection limits the one-value runs, the adjustment, monochrome and
// elegant to its region; the other several-value modes and the edge effects
// change the whole image. Inside, the result is the recipe on the cut-out.
TEST(DocumentEffects, SelectionReachPerFamily) {
  for (const TRunCase& c : RunCases()) {
    SCOPED_TRACE(c.Name);
    TTestDocument d(48, 32);
    PaintPhoto(d->SrcBmp());
    TImgSelection* s = AddSelection(d, TRect(10, 6, 38, 26), SelKind::Ellipse);
    ASSERT_NE(s, nullptr);
    const TRegion region = s->Region();
    const std::vector<TColor32> before = Pixels(d->SrcBmp());
    d->SetEffectMode(c.Mode);
    d->EffectBegin();
    EffectRandomFixSeed(Seed);
    c.Run(d.Get());
    Integer changedOutside = 0, changedInside = 0;
    for (Integer y = 0; y < 32; ++y)
      for (Integer x = 0; x < 48; ++x) {
        const bool changed = d->SrcBmp()->GetPixel(x, y) != before[size_t(y) * 48 + x];
        (region.Contains(x, y) ? changedInside : changedOutside) += changed ? 1 : 0;
      }
    if (c.LimitedBySelection) {
      EXPECT_GT(changedInside, 0);
      EXPECT_EQ(changedOutside, 0);
    } else {
      EXPECT_GT(changedOutside, 0);
    }
    d->EffectEnd(true);
  }
  // The blur inside the region equals the recipe run on the region's box
  // (pixels near the region's edge see their neighbours inside the box).
  TTestDocument d(48, 32);
  PaintPhoto(d->SrcBmp());
  TImgSelection* s = AddSelection(d, TRect(10, 6, 38, 26), SelKind::Ellipse);
  ASSERT_NE(s, nullptr);
  TCustomBitmap32 want;
  want.Assign(d->SrcBmp());
  TPoint origin;
  std::unique_ptr<TCustomBitmap32> cut(RegionToBitmap(s->Region(), &want, false, false, origin));
  RunEffectDo(TEffectMode::emBlur, cut.get(), 4, false, TEffectInputs());
  CopyInRegion(s->Region(), cut.get(), &want, origin);
  d->SetEffectMode(TEffectMode::emBlur);
  d->EffectBegin();
  d->EffectDo(4, false);
  EXPECT_EQ(Pixels(d->SrcBmp()), Pixels(&want));
  d->EffectEnd(false);
}

// Keeping a run stores one undo step holding the result; a run or an end
// without a preview changes nothing.
TEST(DocumentEffects, ApplyStoresOneStep) {
  TTestDocument d(24, 16);
  PaintPhoto(d->SrcBmp());
  TDataTable history;
  d->SetUndoDT(&history);
  d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
  d->SaveUndoFirst();
  const std::vector<TColor32> original = Pixels(d->SrcBmp());
  d->SetEffectMode(TEffectMode::emInvert);
  d->EffectDo(0, false);  // no preview open
  d->EffectEnd(true);
  EXPECT_EQ(Pixels(d->SrcBmp()), original);
  EXPECT_EQ(d->UndoCount(), 1);
  d->EffectBegin();
  d->EffectDo(0, false);
  d->EffectEnd(true);
  EXPECT_EQ(d->UndoCount(), 2);
  EXPECT_EQ(d->SrcBmp()->GetPixel(3, 4), (original[4 * 24 + 3] ^ 0x00FFFFFFu));
  EXPECT_FALSE(d->Modified());
  d->Undo();
  EXPECT_EQ(Pixels(d->SrcBmp()), original);
  d->Redo();
  EXPECT_EQ(d->SrcBmp()->GetPixel(3, 4), (original[4 * 24 + 3] ^ 0x00FFFFFFu));
  ClearHistory(&history);
}

// With EffectSmall the runs change only the current picture object: the
// raster and the history stay until the preview is kept; a cancel puts the
// picture back.
TEST(DocumentEffects, PictureObjectPreview) {
  TTestDocument d(60, 40);
  PaintPhoto(d->SrcBmp());
  TDataTable history;
  d->SetUndoDT(&history);
  d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
  d->SaveUndoFirst();
  auto* pic = static_cast<TImgSmall*>(d.Add(ObjectRow(1, TShapeType::shSmall, TRect(5, 5, 45, 25))));
  pic->SrcBmp()->SetSize(20, 10);
  PaintPhoto(pic->SrcBmp());
  d->ClickShape(TSelectMode::selOne, 1);
  ASSERT_EQ(d->Shape(), pic);
  const std::vector<TColor32> raster = Pixels(d->SrcBmp());
  const std::vector<TColor32> picture = Pixels(pic->SrcBmp());
  const Integer steps = d->UndoCount();
  d->SetEffectSmall(true);
  d->SetEffectMode(TEffectMode::emGrayscale);
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept" : "cancelled");
    d->EffectBegin();
    d->EffectDo(0, false);
    const TColor32 grey = pic->SrcBmp()->GetPixel(7, 3);
    EXPECT_EQ((grey >> 16) & 0xFF, grey & 0xFF);
    EXPECT_NE(Pixels(pic->SrcBmp()), picture);
    EXPECT_EQ(Pixels(d->SrcBmp()), raster);
    EXPECT_EQ(d->UndoCount(), steps);
    d->EffectEnd(keep);
    EXPECT_EQ(Pixels(pic->SrcBmp()) == picture, !keep);
    EXPECT_EQ(d->UndoCount(), keep ? steps + 1 : steps);
  }
  EXPECT_EQ(Pixels(d->SrcBmp()), raster);
  d->SetEffectSmall(false);
  ClearHistory(&history);
}

// A lifted selection is stamped when a preview opens (one step stored);
// cancelling goes back through the history, so the lifted picture returns.
// The edge and tone group leaves the lifted picture alone.
TEST(DocumentEffects, LiftedSelectionMergedAndBroughtBack) {
  for (TEffectMode mode : {TEffectMode::emBlur, TEffectMode::emLomo}) {
    SCOPED_TRACE(Integer(mode));
    TTestDocument d(40, 30);
    PaintPhoto(d->SrcBmp());
    TDataTable history;
    d->SetUndoDT(&history);
    d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
    d->SaveUndoFirst();
    TImgSelection* s = AddSelection(d, TRect(5, 5, 20, 15), SelKind::Rectangle);
    ASSERT_NE(s, nullptr);
    d->SetChanged(true);
    d->SaveUndo();
    s->SetUseMoveSelection(true);
    s->Click();
    s->MoveShape(0, 0, 4, 3);
    ASSERT_NE(s->SelBitmap(), nullptr);
    d->SetChanged(true);
    d->SaveUndo();
    const Integer steps = d->UndoCount();
    const std::vector<TColor32> holed = Pixels(d->SrcBmp());
    const std::vector<TColor32> lifted = Pixels(s->SelBitmap());
    d->SetEffectMode(mode);
    d->EffectBegin();
    const bool merges = mode == TEffectMode::emBlur;
    EXPECT_EQ(d->UndoCount(), merges ? steps + 1 : steps);
    EXPECT_EQ(d->Selection()->SelBitmap() == nullptr, merges);
    if (merges) {
      EXPECT_NE(Pixels(d->SrcBmp()), holed);
    }
    d->EffectDo(3, false);
    d->EffectEnd(false);
    ASSERT_NE(d->Selection(), nullptr);
    ASSERT_NE(d->Selection()->SelBitmap(), nullptr);
    EXPECT_EQ(Pixels(d->Selection()->SelBitmap()), lifted);
    EXPECT_EQ(Pixels(d->SrcBmp()), holed);
    ClearHistory(&history);
  }
}

// The original image comes back into the raster; the document is changed.
TEST(DocumentEffects, ImageRestore) {
  TTestDocument d(20, 12);
  const std::vector<TColor32> original = Pixels(d->OriBmp());
  PaintPhoto(d->SrcBmp());
  ASSERT_NE(Pixels(d->SrcBmp()), original);
  d->ImageRestore();
  EXPECT_EQ(Pixels(d->SrcBmp()), original);
  EXPECT_TRUE(d->SrcBmpChanged());
  EXPECT_TRUE(d->Modified());
}

// Review pictures: every mode of the effect tables and each adjustment
// slider on the photo, without and with an ellipse selection, gathered into
// one contact sheet per family. Nothing is compared.
TEST(DocumentEffects, ReviewPictures) {
  struct TShot {
    const char* Name;
    TEffectMode Mode;
    TRun Run;
  };
  auto one = [](TEffectMode m, Integer v) { return TShot{"", m, [v](TImageDraw* d) { d->EffectDo(v, true); }}; };
  std::vector<std::pair<const char*, std::vector<TShot>>> sheets;
  std::vector<TShot> effectDo;
  for (TEffectMode m : {TEffectMode::emBlur, TEffectMode::emSharpen, TEffectMode::emAddNoise, TEffectMode::emDenoising,
                        TEffectMode::emGrayscale, TEffectMode::emInvert, TEffectMode::emSoften,
                        TEffectMode::emIncreaseLight, TEffectMode::emReduceLight, TEffectMode::emColdBlue,
                        TEffectMode::emColdGreen, TEffectMode::emWarmRed, TEffectMode::emWarmYellow,
                        TEffectMode::emYellowing, TEffectMode::emFreeze, TEffectMode::emAttemper,
                        TEffectMode::emStyleSunshine, TEffectMode::emStyleSunny, TEffectMode::emStyleDroplet,
                        TEffectMode::emStyleSnow, TEffectMode::emStyleStar, TEffectMode::emStyleHeart}) {
    const Integer v = m == TEffectMode::emSharpen ? 2 : m == TEffectMode::emBlur ? 5 : 60;
    effectDo.push_back(one(m, v));
  }
  effectDo.push_back(one(TEffectMode::emAttemper, -60));
  sheets.push_back({"effects_one_value", effectDo});
  sheets.push_back(
      {"effects_several_values",
       {{"", TEffectMode::emMonochrome, [](TImageDraw* d) { d->EffectDo2(60, 30, 0, 0, 0, 0, false); }},
        {"", TEffectMode::emLomo, [](TImageDraw* d) { d->EffectDo2(40, 20, 30, 120, 0, 0, false); }},
        {"", TEffectMode::emGlow, [](TImageDraw* d) { d->EffectDo2(40, 80, 0, 0, 0x0080FFFF, 0, false); }},
        {"", TEffectMode::emOldPhoto, [](TImageDraw* d) { d->EffectDo2(70, 30, 0, 0, 0, 0, false); }},
        {"", TEffectMode::emElegant, [](TImageDraw* d) { d->EffectDo2(80, 40, 0, 0, 0, 0, false); }},
        {"", TEffectMode::emBlendMode, [](TImageDraw* d) { d->EffectDo2(60, 0, 0, 0, 0x00FF4080, 3, false); }}}});
  sheets.push_back(
      {"effects_edges",
       {{"", TEffectMode::emFade, [](TImageDraw* d) { d->EffectDoDirection(12, 15, false); }},
        {"", TEffectMode::emTorn, [](TImageDraw* d) { d->EffectDoDirection(8, 15, false); }},
        {"", TEffectMode::emTorn, [](TImageDraw* d) { d->EffectDoDirection(8, 5, true); }},
        {"", TEffectMode::emBevel, [](TImageDraw* d) { d->EffectDoDirection(8, 15, false); }}}});
  std::vector<TShot> adjust;
  for (Integer k = 0; k < 8; ++k)
    adjust.push_back({"", TEffectMode::emColorAdjust, [k](TImageDraw* d) {
                        Integer a[8] = {};
                        a[k] = k == 4 ? 90 : (k % 2 ? -40 : 40);
                        d->ImageAdjust(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], true);
                      }});
  sheets.push_back({"effects_adjust", adjust});

  // The style texture: rings, as a picture of the effects pack would be.
  TBitmap32 mask;
  mask.SetSize(32, 32);
  for (Integer y = 0; y < 32; ++y)
    for (Integer x = 0; x < 32; ++x) {
      const Integer r2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
      mask.SetPixel(x, y, (r2 / 20) % 2 ? 0xFFF0E0A0u : 0xFF203060u);
    }
  const Integer w = 96, h = 64;
  for (const auto& sheet : sheets) {
    for (bool withSelection : {false, true}) {
      const Integer n = Integer(sheet.second.size());
      const Integer cols = std::min(n, 6);
      TBitmap32 contact;
      contact.SetSize(cols * (w + 4), ((n + cols - 1) / cols) * (h + 4));
      contact.Clear(0xFF808080u);
      for (Integer i = 0; i < n; ++i) {
        TTestDocument d(w, h);
        PaintPhoto(d->SrcBmp());
        if (withSelection) {
          ASSERT_NE(AddSelection(d, TRect(20, 10, 76, 54), SelKind::Ellipse), nullptr);
        }
        d->SetEffectMaskBmp(&mask);
        d->SetEffectMode(sheet.second[i].Mode);
        d->EffectBegin();
        EffectRandomFixSeed(Seed);
        sheet.second[i].Run(d.Get());
        d->SrcBmp()->SetDrawMode(dmOpaque);
        contact.Draw((i % cols) * (w + 4) + 2, (i / cols) * (h + 4) + 2, d->SrcBmp());
        d->EffectEnd(false);
      }
      SaveReviewPicture(String(sheet.first, sheet.first + strlen(sheet.first)) +
                            (withSelection ? u"_selection" : u""),
                        &contact);
    }
  }
}
