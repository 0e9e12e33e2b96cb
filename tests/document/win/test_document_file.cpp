// The document's files: saving the image with its project sidecar and
// opening it again, the in-memory project stream, damaged and stale
// sidecars, failed writes, exports and the JPEG size estimate; undo and
// redo over scripted edits.
#include "common/gtest.h"

#include "document/ProjectSidecar.h"
#include "document/UndoSteps.h"
#include "document/win/ImageSmall.h"
#include "gdiplus/win/ImageFiles.h"
#include "tests/document/win/document_fixture.h"
#include "tests/rtl/test_streams_tempdir.h"

namespace {

// A document opened from a file or a project stream, as the editor opens
// one (no bitmap passed when a sidecar exists).
struct TOpened {
  TImgView32* View = nullptr;
  TImageDraw* Doc = nullptr;
  TOpened(const String& File, void* P = nullptr, TBitmap32* B32 = nullptr) {
    EnsureDocumentPlatform();
    View = new TImgView32(nullptr);
    View->SetCentered(false);
    try {
      Doc = new TImageDraw(View, nullptr, B32, nullptr, nullptr, File, 2, false, false, P, 0, 0, 0, false, -1);
    } catch (...) {
      delete View;
      throw;
    }
    Doc->SetPropDT(Presets().Prop.get());
    Doc->SetShadowDT(Presets().Shadow.get());
    Doc->SetReflectDT(Presets().Reflect.get());
    Doc->SetObjGradientDT(Presets().ObjGradient.get());
    Doc->InitBitmap();
    Doc->Draw();
  }
  ~TOpened() {
    delete Doc;
    delete View;
  }
  TImageDraw* operator->() const { return Doc; }
};

String Rows(TImageDraw* D) { return D->DT()->ToString(true); }

// A document with objects, guides, a ruler, saved selections and a canvas.
void Furnish(TTestDocument& d) {
  for (Integer y = 0; y < d->SrcBmp()->Height(); ++y)
    for (Integer x = 0; x < d->SrcBmp()->Width(); ++x)
      d->SrcBmp()->SetPixel(x, y, 0xFF000000u | TColor32(x * 3) << 16 | TColor32(y * 5) << 8 | 0x40);
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 30, 25), {{2, u"框 1"}, {18, u"3"}}));
  d.Add(ObjectRow(2, TShapeType::shLine, TRect(10, 30, 50, 45),
                  {{2, u"線"}, {40, u"10"}, {41, u"30"}, {42, u"50"}, {43, u"45"}}));
  d->CreateGuides(0, 12, true);
  d->CreateGuides(20, 0, false);
  d->SetRulerEnabled(true);
  d->CreateRuler(1, 2, 40, 30);
  AddSavedSelection(d->SelectionDT(), u"中文, 名", u"1.1.5.5");
  AddSavedSelection(d->SelectionDT(), u"a|b", u"2.2.4.6");
  d->DT()->Props(SidecarProp::CanvasColor)->SetText(u"12345");
  d->InitBitmap();
  d->Draw();
}

// A picture of W x H with every pixel different, some half transparent.
std::unique_ptr<TCustomBitmap32> PictureOf(Integer W, Integer H, TColor32 Seed) {
  auto b = std::make_unique<TCustomBitmap32>();
  b->SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x)
      b->SetPixel(x, y, ((x + y) % 3 == 0 ? 0x80000000u : 0xFF000000u) | ((Seed + TColor32(x * 11)) & 0xFF) << 16 |
                            TColor32(y * 13 & 0xFF) << 8 | TColor32(x * y & 0xFF));
  return b;
}

TImgSmall* AddPicture(TTestDocument& D, Integer Id, const TRect& Box, Integer Opacity, TCustomBitmap32* Picture) {
  auto* s = static_cast<TImgSmall*>(
      D.Add(ObjectRow(Id, TShapeType::shSmall, Box, {{ShapeCol::Opacity, IntToStr(Opacity)}})));
  Picture->CopyPixelsTo(s->SrcBmp());  // the object keeps its own resampling
  s->SetChanged2(true);
  return s;
}

}  // namespace

// Saved and opened again: the same rows, guides, ruler, selections and the
// same composed picture; a stream made for switching images gives the same.
TEST(DocumentFile, SidecarRoundTrip) {
  TTempFolder dir("lumigra_doc_");
  const String file = dir.Path("图片#1.png");
  TTestDocument d(60, 50, 0xFFFFFF);
  Furnish(d);
  d->SaveAs(file);
  EXPECT_FALSE(d->Changed());
  EXPECT_EQ(d->Profile(), file + u".luda");
  ASSERT_TRUE(FileExists(file + u".luda"));
  const std::vector<TColor32> composed = Pixels(d->Bitmap());
  {
    TOpened o(file);
    EXPECT_EQ(o->MsgString(), u"");
    EXPECT_EQ(Rows(o.Doc), Rows(d.Get()));
    EXPECT_EQ(o->ShapeCount(), 2);
    EXPECT_EQ(o->FileDT()->Items(0)->Items(FileInfoCell::Version)->Text(), u"18");
    EXPECT_EQ(o->HorzGuidesRow()->ToString(), d->HorzGuidesRow()->ToString());
    EXPECT_EQ(o->VertGuidesRow()->ToString(), d->VertGuidesRow()->ToString());
    EXPECT_TRUE(o->RulerEnabled());
    EXPECT_EQ(o->RulerP2().X, d->RulerP2().X);
    ASSERT_EQ(o->SelectionDT()->ItemCount(), 2);
    EXPECT_EQ(SavedSelectionName(o->SelectionDT()->Items(0)), u"中文, 名");
    EXPECT_EQ(SavedSelectionName(o->SelectionDT()->Items(1)), u"a|b");
    EXPECT_EQ(Pixels(o->Bitmap()), composed);
    EXPECT_EQ(o->ExportGetFilterIndex(), 1);  // a new image keeps no original file
  }
  void* p = nullptr;
  d->SaveToStream(p);
  ASSERT_NE(p, nullptr);
  {
    TOpened o(file, p);
    EXPECT_EQ(Rows(o.Doc), Rows(d.Get()));
    EXPECT_EQ(Pixels(o->Bitmap()), composed);
  }
  delete static_cast<TMemoryStream*>(p);
}

// Picture objects keep their pictures through the sidecar and the project
// stream: same pixels, size and opacity, each picture with its own object
// (pictures scaled to their boxes with the object's own resampling, so the
// composed views compare too).
TEST(DocumentFile, PictureObjectsRoundTrip) {
  TTempFolder dir("lumigra_doc_");
  const String file = dir.Path("pictures.png");
  TTestDocument d(70, 60, 0xFFFFFF);
  const auto first = PictureOf(17, 11, 0x10), second = PictureOf(9, 23, 0x70);
  AddPicture(d, 4, TRect(3, 4, 50, 30), 150, first.get());
  d.Add(ObjectRow(5, TShapeType::shRectangle, TRect(40, 40, 60, 55)));
  AddPicture(d, 7, TRect(30, 10, 66, 58), 255, second.get());
  d->InitBitmap();
  d->Draw();
  const std::vector<TColor32> composed = Pixels(d->Bitmap());
  d->SaveAs(file);
  void* p = nullptr;
  d->SaveToStream(p);
  ASSERT_NE(p, nullptr);
  for (void* stream : {static_cast<void*>(nullptr), p}) {
    SCOPED_TRACE(stream ? "project stream" : "sidecar");
    TOpened o(file, stream);
    EXPECT_EQ(o->MsgString(), u"");
    EXPECT_EQ(o->ShapeCount(), 3);
    for (auto [id, picture, opacity] : {std::tuple{4, first.get(), 150}, std::tuple{7, second.get(), 255}}) {
      auto* s = dynamic_cast<TImgSmall*>(o->ShapeById(id));
      ASSERT_NE(s, nullptr);
      EXPECT_EQ(s->Width(), picture->Width());
      EXPECT_EQ(s->Height(), picture->Height());
      EXPECT_EQ(Pixels(s->SrcBmp()), Pixels(picture));
      EXPECT_EQ(s->Opacity(), opacity);
    }
    EXPECT_EQ(Pixels(o->Bitmap()), composed);
  }
  delete static_cast<TMemoryStream*>(p);
}

// A sidecar that does not read: the image opens alone, MsgString says why,
// the sidecar is kept aside and the image file is untouched.
TEST(DocumentFile, DamagedSidecarOpensTheImage) {
  TTempFolder dir("lumigra_doc_");
  const String file = dir.Path("a.png");
  TTestDocument d(40, 30, 0xFFFFFF);
  Furnish(d);
  d->SaveAs(file);
  const std::string image = dir.ReadAll("a.png");
  const std::string sidecar = dir.ReadAll("a.png.luda");
  const size_t cuts[] = {0, 5, sidecar.size() / 2, sidecar.size() - 13, sidecar.size() - 4, sidecar.size() - 1};
  for (size_t cut : cuts) {
    SCOPED_TRACE(cut);
    dir.WriteAll("a.png.luda", sidecar.substr(0, cut));
    TOpened o(file);
    EXPECT_NE(o->MsgString(), u"");
    EXPECT_EQ(o->ShapeCount(), 0);
    EXPECT_EQ(o->SrcBmp()->Width(), 40);
    EXPECT_FALSE(FileExists(file + u".luda"));
    EXPECT_EQ(dir.ReadAll("a.png.luda.bad"), sidecar.substr(0, cut));
    EXPECT_EQ(dir.ReadAll("a.png"), image);
  }
  // An image that does not decode either: a clear error naming it.
  dir.WriteAll("a.png", "not a picture");
  dir.WriteAll("a.png.luda", "junk");
  try {
    TOpened o(file);
    ADD_FAILURE() << "opened";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(u"a.png"), String::npos);
  }
  EXPECT_EQ(dir.ReadAll("a.png"), "not a picture");
}

// An image written by another program after the sidecar: the sidecar is
// stale, kept aside as ".old", and the image opens alone.
TEST(DocumentFile, StaleSidecarIsSetAside) {
  TTempFolder dir("lumigra_doc_");
  const String file = dir.Path("b.png");
  TTestDocument d(40, 30, 0xFFFFFF);
  Furnish(d);
  d->SaveAs(file);
  {
    TOpened o(file);
    EXPECT_EQ(o->ShapeCount(), 2);  // trusted while the image is the one written
  }
  TBitmap32 other;
  other.SetSize(12, 8);
  other.Clear(0xFF112233u);
  SaveBitmap32ToFile(&other, file, ifPng, 0);
  TOpened o(file);
  EXPECT_NE(o->MsgString(), u"");
  EXPECT_EQ(o->SrcBmp()->Width(), 12);
  EXPECT_EQ(o->ShapeCount(), 0);
  EXPECT_TRUE(FileExists(file + u".luda.old"));
  EXPECT_FALSE(FileExists(file + u".luda"));
}

// Older sidecar names move to the current one, unless it exists.
TEST(DocumentFile, OldSidecarNamesMigrate) {
  TTempFolder dir("lumigra_doc_");
  const String file = dir.Path("c.png");
  TTestDocument d(30, 20, 0xFFFFFF);
  Furnish(d);
  d->SaveAs(file);
  const std::string sidecar = dir.ReadAll("c.png.luda");
  for (const char* old : {"c.hvie", "c.png.hvie"}) {
    SCOPED_TRACE(old);
    RenameFile(file + u".luda", dir.Path(old));
    TOpened o(file);
    EXPECT_EQ(o->ShapeCount(), 2);
    EXPECT_EQ(dir.ReadAll("c.png.luda"), sidecar);
    EXPECT_FALSE(FileExists(dir.Path(old)));
  }
  dir.WriteAll("c.hvie", "older");
  TOpened o(file);
  EXPECT_EQ(o->ShapeCount(), 2);
  EXPECT_EQ(dir.ReadAll("c.png.hvie"), "older");
}

// What a save writes per format, and what a failed save leaves.
TEST(DocumentFile, SaveFormatsAndFailures) {
  TTempFolder dir("lumigra_doc_");
  TTestDocument d(30, 20, 0xFFFFFF);
  Furnish(d);
  struct TCase {
    const char* Name;
    bool Transparent;
    Integer Bits;
  } cases[] = {{"s.png", false, 24}, {"t.png", true, 32}, {"s.jpg", false, 24}, {"s.gif", false, 8},
               {"s.bmp", false, 32}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    d->DT()->Props(SidecarProp::Transparent)->SetAsBool(c.Transparent);
    d->InitBitmap();
    d->Draw();
    d->SaveAs(dir.Path(c.Name));
    EXPECT_EQ(d->FileDT()->Items(0)->Items(FileInfoCell::Bpp)->Value(), c.Bits);
    EXPECT_EQ(d->SrcBmpBitsPixelPer(), c.Bits);
    EXPECT_TRUE(FileExists(dir.Path(c.Name)));
    EXPECT_FALSE(FileExists(dir.Path(c.Name) + u".tmp"));
  }
  // A name that gives no image type: refused before anything is written.
  d->SetChanged(false);
  EXPECT_THROW(d->SaveAs(dir.Path("folder.v2")), Exception);
  EXPECT_TRUE(d->Changed());
  EXPECT_FALSE(FileExists(dir.Path("folder.v2.luda")));
  // The temporary name taken by a folder: the old image and sidecar stay.
  const String file = dir.Path("s.png");
  const std::string image = dir.ReadAll("s.png"), sidecar = dir.ReadAll("s.png.luda");
  d.Add(ObjectRow(9, TShapeType::shRectangle, TRect(1, 1, 9, 9)));
  d->Draw();
  ForceDirectories(file + u".tmp");
  EXPECT_ANY_THROW(d->SaveAs(file));
  EXPECT_EQ(dir.ReadAll("s.png"), image);
  EXPECT_EQ(dir.ReadAll("s.png.luda"), sidecar);
  RemoveDir(file + u".tmp");
  ForceDirectories(file + u".luda.tmp");
  EXPECT_ANY_THROW(d->SaveAs(file));
  EXPECT_EQ(dir.ReadAll("s.png.luda"), sidecar);
  RemoveDir(file + u".luda.tmp");
  // NotSaveDataFile: the image only, an existing sidecar untouched.
  d->SetNotSaveDataFile(true);
  d->SaveAs(file);
  EXPECT_NE(dir.ReadAll("s.png"), image);
  EXPECT_EQ(dir.ReadAll("s.png.luda"), sidecar);
}

// Exports: the original's bytes when both names give one format, else an
// encoding; the JPEG estimate is the size Save writes.
TEST(DocumentFile, ExportsAndJpegEstimate) {
  TTempFolder dir("lumigra_doc_");
  TBitmap32 pic;
  pic.SetSize(20, 16);
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 20; ++x) pic.SetPixel(x, y, 0xFF000000u | TColor32(x * 12) << 8 | TColor32(y * 15));
  SaveBitmap32ToFile(&pic, dir.Path("o.png"), ifPng, 0);
  SaveBitmap32ToFile(&pic, dir.Path("o.tif.png"), ifPng, 0);
  TOpened o(dir.Path("o.png"), nullptr, &pic);
  o->ExportOriBmpAs(dir.Path("copy.png"));
  EXPECT_EQ(dir.ReadAll("copy.png"), dir.ReadAll("o.png"));
  o->ExportOriBmpAs(dir.Path("copy.jpg"));
  EXPECT_EQ(dir.ReadAll("copy.jpg").substr(0, 2), "\xFF\xD8");
  // An original of another format that the filter index counts as GIF is
  // encoded, never copied under a ".gif" name.
  o->DT()->Props(SidecarProp::OriginalName)->SetText(EscapeOriginalName(u"o.tif"));
  EXPECT_EQ(o->ExportGetFilterIndex(), 1);
  o->ExportOriBmpAs(dir.Path("copy.gif"));
  EXPECT_EQ(dir.ReadAll("copy.gif").substr(0, 3), "GIF");
  for (Integer level : {1, 5, 10}) {
    SCOPED_TRACE(level);
    o->FileDT()->Items(0)->Items(FileInfoCell::JpegLevel)->SetValue(level);
    o->SaveAs(dir.Path("est.jpg"));
    EXPECT_EQ(o->CalcJpgFileSize(level * 10), Int64(dir.ReadAll("est.jpg").size()));
  }
}

// Going to every step and back gives the view recorded when the step was
// made: object edits, raster strokes, removals.
TEST(DocumentUndo, EveryStepComesBackExactly) {
  TTestDocument d(50, 40, 0xFFFFFF);
  TDataTable history;
  d->SetUndoDT(&history);
  d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
  std::vector<std::vector<TColor32>> views;
  auto record = [&] {
    d->SaveUndo();
    d->InitBitmap();
    d->Draw();
    views.push_back(Pixels(d->Bitmap()));
  };
  d->SaveUndoFirst();
  d->Draw();
  views.push_back(Pixels(d->Bitmap()));
  auto stroke = [&](Integer Y, TColor32 C) {
    for (Integer x = 0; x < 50; ++x) d->SrcBmp()->SetPixel(x, Y, C);
    d->SetSrcBmpChanged(true);
    d->SetChanged(true);
  };
  d.Add(ObjectRow(1, TShapeType::shRectangle, TRect(5, 5, 20, 20)));
  d->SetChanged(true);
  record();  // 1
  d->ShapeById(1)->OffsetShape(10, 3);
  d->SetChanged(true);
  record();  // 2
  stroke(30, 0xFFFF0000u);
  record();  // 3
  d.Add(ObjectRow(2, TShapeType::shLine, TRect(2, 2, 40, 35), {{40, u"2"}, {41, u"2"}, {42, u"40"}, {43, u"35"}}));
  d->SetChanged(true);
  record();  // 4
  stroke(10, 0xFF0000FFu);
  record();  // 5
  ASSERT_EQ(d->UndoCount(), 6);
  ASSERT_EQ(d->UndoIndex(), 5);
  // An object-only step holds no raster copy.
  EXPECT_EQ(StepTable(&history, 2)->Data(), nullptr);
  EXPECT_NE(StepTable(&history, 3)->Data(), nullptr);
  for (Integer target : {0, 3, 1, 5, 2, 4, 0, 5}) {
    SCOPED_TRACE(target);
    d->SetUndoIndex(target);
    d->Godo(false);
    d->Draw();
    EXPECT_EQ(Pixels(d->Bitmap()), views[size_t(target)]);
  }
  d->Undo();
  d->Draw();
  EXPECT_EQ(Pixels(d->Bitmap()), views[4]);
  d->Redo();
  d->Draw();
  EXPECT_EQ(Pixels(d->Bitmap()), views[5]);
  // Out of the history: refused before anything changes.
  d->SetUndoIndex(6);
  EXPECT_THROW(d->Godo(false), EListError);
  EXPECT_EQ(d->ShapeCount(), 2);
  // Undo twice and record: the redo steps go.
  d->SetUndoIndex(3);
  d->Godo(false);
  stroke(0, 0xFF00FF00u);
  d->SaveUndo();
  EXPECT_EQ(d->UndoCount(), 5);
  EXPECT_EQ(d->UndoIndex(), 4);
  // Nothing pending: nothing recorded.
  d->SaveUndo();
  EXPECT_EQ(d->UndoCount(), 5);
  // Effect drawing names its steps.
  d->SetEffectDrawing(true);
  d->SetChanged(true);
  d->SaveUndo();
  String seen;
  d->OnGodoDone = [&](TObject*, const String& Name) { seen = Name; };
  d->Godo(true);
  EXPECT_EQ(seen, u"EffectDraw");
  d->ClearUndoStateName(u"EffectDraw");
  d->Godo(true);
  EXPECT_EQ(seen, u"");
  ClearHistory(&history);
}

// A picture object over undo and redo: a step copies the picture only when
// it changed (added, replaced, painted on); every step, reached in any
// order, shows its own picture again.
TEST(DocumentUndo, PictureObjectStepsComeBack) {
  TTestDocument d(60, 50, 0xFFFFFF);
  TDataTable history;
  d->SetUndoDT(&history);
  d->SetAvailMemoryFunc([] { return Int64(1) << 40; });
  d->SaveUndoFirst();
  const auto first = PictureOf(12, 8, 0x20), second = PictureOf(20, 15, 0x90);
  std::vector<std::vector<TColor32>> pictures{{}}, views;
  d->Draw();
  views.push_back(Pixels(d->Bitmap()));
  TImgSmall* s = nullptr;
  auto record = [&] {
    d->SetChanged(true);
    d->SaveUndo();
    pictures.push_back(Pixels(s->SrcBmp()));
    d->InitBitmap();
    d->Draw();
    views.push_back(Pixels(d->Bitmap()));
  };
  s = AddPicture(d, 3, TRect(5, 5, 45, 35), 200, first.get());
  record();  // 1: added
  s->OffsetShape(6, 4);
  record();  // 2: moved, picture unchanged
  s->RestorePicture(second.get());
  record();  // 3: replaced
  s->SrcBmp()->FillRectS(TRect(2, 2, 9, 7), 0xFF00FF00u);
  s->SetDataChanged(true);
  s->SetChanged2(true);
  record();  // 4: painted on
  s->OffsetShape(-3, 1);
  record();  // 5: moved
  ASSERT_EQ(d->UndoIndex(), 5);
  // The picture object's row (the only row) of a step.
  auto row = [&](Integer Step) { return StepTable(&history, Step)->Items(0); };
  // Only the steps that changed the picture hold a copy.
  for (Integer i = 1; i <= 5; ++i)
    EXPECT_EQ(PartOf(row(i), TUndoSlot::Picture) != nullptr, i == 1 || i == 3 || i == 4) << i;
  for (Integer target : {2, 0, 5, 1, 3, 2, 4, 5}) {
    SCOPED_TRACE(target);
    d->SetUndoIndex(target);
    d->Godo(false);
    d->Draw();
    EXPECT_EQ(Pixels(d->Bitmap()), views[size_t(target)]);
    auto* now = dynamic_cast<TImgSmall*>(d->ShapeById(3));
    ASSERT_EQ(now != nullptr, target > 0);
    if (now) {
      EXPECT_EQ(Pixels(now->SrcBmp()), pictures[size_t(target)]);
      EXPECT_FALSE(now->DataChanged());
    }
  }
  // Undo from the painted picture to the replaced one, redo back, then a
  // new step after undoing: it holds no copy, its picture is found again.
  d->Undo();
  d->Draw();
  EXPECT_EQ(Pixels(d->Bitmap()), views[4]);
  d->Undo();
  d->Draw();
  EXPECT_EQ(Pixels(d->Bitmap()), views[3]);
  d->Redo();
  d->Draw();
  EXPECT_EQ(Pixels(d->Bitmap()), views[4]);
  s = dynamic_cast<TImgSmall*>(d->ShapeById(3));
  ASSERT_NE(s, nullptr);
  s->OffsetShape(1, 1);
  d->SetChanged(true);
  d->SaveUndo();
  EXPECT_EQ(d->UndoIndex(), 5);
  EXPECT_EQ(PartOf(row(5), TUndoSlot::Picture), nullptr);
  d->Godo(false);
  EXPECT_EQ(Pixels(static_cast<TImgSmall*>(d->ShapeById(3))->SrcBmp()), pictures[4]);
  ClearHistory(&history);
}
