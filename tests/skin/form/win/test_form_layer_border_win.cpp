// The layered border of a skinned form: what a skin change prepares (and
// what a damaged layer frame leaves), the images drawn through Draw, the
// caption objects laid out and drawn into the top image of a full border,
// the four windows' places and sizes, their hit zones and a drag step. No
// compositing manager runs: values, sizes and places are checked, not
// translucency.
#include "tests/skin/form/win/FormTestUtil.h"

#include "classlib/ImgList.h"

#include "common/Screens.h"

using namespace formtest;

namespace {

class LayerBorder : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    TSkinOptions O;
    O.FormInfo = {u"buttonsoffset=2"};
    SD = LoadFixtureSkin(Dir, O);
    AddLayerFrame(SD.get());
    F = new TLogForm(bsSizeable);
    FS = new TspFormSkin(F);
  }
  void TearDown() override {
    delete F;
    FormTest::TearDown();
  }
  TspFormLayerBorder* B() { return FS->FBorderLayer; }
  // The border drawn on white for a form of W x H.
  std::unique_ptr<TBitmap> Drawn(Integer W, Integer H, Integer CW = 400, Integer CH = 300) {
    auto C = std::make_unique<TBitmap>();
    C->SetPixelFormat(pf24bit);
    C->SetSize(CW, CH);
    C->Canvas()->Brush()->SetColor(clWhite);
    C->Canvas()->FillRect(TRect(0, 0, CW, CH));
    B()->Draw(C->Canvas(), 0, 0, W + 173 - 137, H + 133 - 69);
    return C;
  }
  TTempFolder Dir{"layerborder"};
  std::unique_ptr<TspSkinData> SD;
  TLogForm* F = nullptr;
  TspFormSkin* FS = nullptr;
};

void SaveForReview(TBitmap* B, const std::string& Name) {
  std::vector<std::uint8_t> Buf(size_t(B->Width()) * B->Height() * 4);
  for (Integer Y = 0; Y < B->Height(); ++Y)
    for (Integer X = 0; X < B->Width(); ++X) {
      const TColor C = Px(B, X, Y);
      std::uint8_t* P = &Buf[(size_t(Y) * B->Width() + X) * 4];
      P[0] = GetBValue(C);
      P[1] = GetGValue(C);
      P[2] = GetRValue(C);
      P[3] = 255;
    }
  lumigra_test::SaveScreenPixels(Buf.data(), B->Width(), B->Height(), B->Width() * 4, Name, "layered_border");
}

TspColor Argb(TColor C, Byte A) {
  return (TspColor(A) << 24) | (TspColor(GetRValue(C)) << 16) | (TspColor(GetGValue(C)) << 8) | GetBValue(C);
}

}  // namespace

TEST_F(LayerBorder, SkinChangePreparesTheFrame) {
  FS->SetSkinData(SD.get());
  ASSERT_NE(B()->FData, nullptr);
  EXPECT_EQ(std::vector<Integer>({B()->LeftSize, B()->TopSize, B()->RightSize, B()->BottomSize}),
            std::vector<Integer>({4, 32, 3, 3}));
  EXPECT_EQ(B()->HitTopLeftX, 9);
  EXPECT_EQ(B()->HitBottomRightY, 7);
  ASSERT_NE(B()->FSourceBitmap, nullptr);
  EXPECT_EQ(B()->FSourceBitmap->Width(), 173);
  // The mask's grey is the source's alpha.
  EXPECT_EQ(B()->FSourceBitmap->GetPixel(0, 0) >> 24, 255u);
  EXPECT_EQ(B()->FSourceBitmap->GetPixel(50, 80) >> 24, 0u);
  EXPECT_EQ(B()->FSourceBitmap->GetPixel(50, 20) >> 24, 128u);
  EXPECT_EQ(B()->FSourceInActiveBitMap, nullptr);
  EXPECT_EQ(B()->FCurrentAlphaBlendValue, 255);
  EXPECT_FALSE(B()->FVisible);
  // The skin components keep layered borders off: never shown.
  EXPECT_FALSE(FS->CanShowLayeredBorder());
  EXPECT_TRUE(Errors.empty());
}

TEST_F(LayerBorder, DamagedLayerFrameMeansNone) {
  struct Row {
    const char* What;
    std::function<void(TspDataSkinLayerFrame&)> Break;
  };
  const Row Rows[] = {
      {"picture beyond the skin's pictures", [](auto& D) { D.PictureIndex = 9; }},
      {"negative picture number", [](auto& D) { D.PictureIndex = -4; }},
      {"no mask", [](auto& D) { D.MaskPictureIndex = -1; }},
      {"mask beyond the pictures", [](auto& D) { D.MaskPictureIndex = 3; }},
      {"inactive picture beyond the pictures", [](auto& D) { D.InActivePictureIndex = 12; D.InActiveMaskPictureIndex = 1; }},
      {"inactive picture without its mask", [](auto& D) { D.InActivePictureIndex = 0; }},
  };
  SD->SetShowLayeredBorders(true);
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.What);
    DescribeLayerFrame(*SD->LayerFrame);
    R.Break(*SD->LayerFrame);
    FS->SetSkinData(nullptr);
    FS->SetSkinData(SD.get());
    EXPECT_EQ(B()->FData, nullptr);
    EXPECT_FALSE(FS->CanShowLayeredBorder());
    // The skin change completed: the frame objects are there.
    EXPECT_EQ(FS->ObjectList->Count(), 2);
    B()->ShowWithForm();
    EXPECT_FALSE(B()->FVisible);
  }
  // A blur mask the skin lacks only means no blur.
  DescribeLayerFrame(*SD->LayerFrame);
  SD->LayerFrame->BlurMaskPictureIndex = 40;
  FS->SetSkinData(nullptr);
  FS->SetSkinData(SD.get());
  EXPECT_NE(B()->FData, nullptr);
  EXPECT_EQ(B()->DataRgn1, nullptr);
  // A sound inactive picture is built.
  DescribeLayerFrame(*SD->LayerFrame);
  SD->LayerFrame->InActivePictureIndex = 2;
  SD->LayerFrame->InActiveMaskPictureIndex = 1;
  FS->SetSkinData(nullptr);
  FS->SetSkinData(SD.get());
  ASSERT_NE(B()->FSourceInActiveBitMap, nullptr);
  EXPECT_EQ(B()->FSourceInActiveBitMap->Width(), 60);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(LayerBorder, ImagesCutFromTheSource) {
  FS->SetSkinData(SD.get());
  ASSERT_NE(B()->FData, nullptr);
  // Form of 300 x 200: outer 336 x 264; top 46 rows, bottom 20, sides 198.
  auto C = Drawn(300, 200);
  EXPECT_EQ(B()->TopImage->Height(), 46);
  EXPECT_EQ(B()->BottomImage->Height(), 20);
  EXPECT_EQ(B()->LeftImage->Height(), 198);
  EXPECT_EQ(B()->LeftImage->Width(), 18);
  EXPECT_EQ(B()->RightImage->Width(), 18);
  struct Row {
    Integer X, Y;
    TColor Want;
  };
  const Row Rows[] = {
      {0, 0, LayerCornerL},       {335, 0, LayerCornerR},       {150, 5, LayerMiddle},   {0, 46, LayerStripTop}, {0, 47, LayerSide},
      {0, 46 + 67, LayerStripTop},  // the strip tiles every 67 rows
      {0, 46 + 134, LayerStripTop}, {335, 100, LayerSideR},     {0, 244, LayerBottom},   {0, 263, LayerBottomLast},
      {335, 250, LayerBottom},      {150, 150, clWhite},    {336, 10, clWhite}, {10, 264, clWhite},
  };
  for (const Row& R : Rows) EXPECT_EQ(Px(C.get(), R.X, R.Y), Sys(R.Want)) << R.X << "," << R.Y;
  // Colour channels never exceed the alpha.
  EXPECT_EQ(B()->TopImage->GetPixel(150, 20), Argb(TColor(0x008000), 128));

  // Stretched sides: the strip's first row covers three rows.
  SD->LayerFrame->FullStretch = true;
  C = Drawn(300, 200);
  EXPECT_EQ(Px(C.get(), 0, 48), Sys(LayerStripTop));
  EXPECT_EQ(Px(C.get(), 0, 49), Sys(LayerSide));
  SD->LayerFrame->FullStretch = false;

  // Shorter than both bands: a 4-row bottom from the band's lowest rows, no sides.
  C = Drawn(300, -14);  // outer height 50
  EXPECT_EQ(B()->BottomImage->Height(), 4);
  EXPECT_EQ(B()->LeftImage->Height(), 0);
  EXPECT_EQ(Px(C.get(), 0, 46), Sys(LayerBottom));
  EXPECT_EQ(Px(C.get(), 0, 49), Sys(LayerBottomLast));
  EXPECT_EQ(Px(C.get(), 0, 50), Sys(clWhite));

  // One picture: the whole source, whatever the size.
  SD->LayerFrame->RBPoint = TPoint(0, 0);
  C = Drawn(100, 60);
  EXPECT_EQ(B()->BottomImage, nullptr);
  EXPECT_EQ(B()->LeftImage, nullptr);
  EXPECT_EQ(B()->TopImage->Width(), 173);
  EXPECT_EQ(Px(C.get(), 172, 132), Sys(LayerBottomLast));
  EXPECT_EQ(Px(C.get(), 173, 5), Sys(clWhite));
}

TEST_F(LayerBorder, FullBorderCaptionAndButtonsInTheTopImage) {
  SD->LayerFrame->FullBorder = true;
  FS->SetSkinData(SD.get());
  F->SetCaption(u"Layered");
  AddFullBorderObjects(FS);
  B()->InitFrame(SD.get(), F);
  auto C = Drawn(300, 200);
  // R.Right = 152 + (336 - 173) = 315; buttons from the right end, 2 apart.
  auto* Close = static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(1));
  auto* Max = static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(2));
  auto* Min = static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(3));
  auto* Caption = static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(0));
  EXPECT_EQ(Close->ObjectRect, TRect(295, 21, 315, 35));
  EXPECT_EQ(Max->ObjectRect, TRect(273, 21, 293, 35));
  EXPECT_EQ(Min->ObjectRect, TRect(251, 21, 271, 35));
  EXPECT_EQ(Caption->ObjectRect, TRect(21, 18, 247, 39));
  // The faces are opaque over the half-transparent band.
  TspBitmap* Top = B()->TopImage;
  EXPECT_EQ(Top->GetPixel(300, 25), Argb(clRed, 255));
  EXPECT_EQ(Top->GetPixel(280, 25), Argb(clLime, 255));
  EXPECT_EQ(Top->GetPixel(260, 25), Argb(clBlue, 255));
  // The caption's text is opaque; the band around it keeps its alpha.
  Integer Ink = 0;
  for (Integer Y = 18; Y < 39; ++Y)
    for (Integer X = 31; X < 120; ++X) {
      const TspColor P = Top->GetPixel(X, Y);
      if ((P >> 24) == 255 && (P & 0xFFFFFF) == 0) ++Ink;
    }
  EXPECT_GT(Ink, 20);
  EXPECT_EQ(Top->GetPixel(240, 20) >> 24, 128u);
  EXPECT_EQ(Top->GetPixel(150, 5) >> 24, 255u);
  TBitmap Shot;
  Shot.SetPixelFormat(pf24bit);
  Shot.SetSize(400, 300);
  Shot.Canvas()->Brush()->SetColor(TColor(0xD0D0D0));
  Shot.Canvas()->FillRect(TRect(0, 0, 400, 300));
  B()->Draw(Shot.Canvas(), 20, 10, 336, 264);
  SaveForReview(&Shot, "full_border");
  EXPECT_TRUE(Errors.empty());
}

// Quick buttons in the top image: their images opaque at their places, the
// band between them keeping its alpha, the caption text moved past them.
TEST_F(LayerBorder, FullBorderQuickButtonsInTheTopImage) {
  SD->LayerFrame->FullBorder = true;
  FS->SetSkinData(SD.get());
  F->SetCaption(u"Layered");
  AddFullBorderObjects(FS);
  B()->InitFrame(SD.get(), F);
  Drawn(300, 200);
  // The top image without quick buttons, where the key-coloured corner and
  // a gap between the buttons will be.
  const TspColor Corner = B()->TopImage->GetPixel(28, 23), Gap = B()->TopImage->GetPixel(42, 30);
  auto* Images = new TImageList(F);
  Images->SetSize(10, 10);
  for (TColor C : {TColor(clRed), TColor(clBlue)}) {
    TBitmap P;
    P.SetPixelFormat(pf24bit);
    P.SetSize(10, 10);
    P.Canvas()->Brush()->SetColor(C);
    P.Canvas()->FillRect(TRect(0, 0, 10, 10));
    // A corner in the key colour stays see-through.
    P.Canvas()->Brush()->SetColor(TColor(0x7F007F));
    P.Canvas()->FillRect(TRect(0, 0, 3, 3));
    Images->Add(&P, nullptr);
  }
  FS->SetQuickImageList(Images);
  for (Integer I = 0; I < 2; ++I) FS->QuickButtons()->Add()->SetImageIndex(I);
  auto* Caption = static_cast<TspSkinCaptionObject*>(FS->ObjectList->Items(0));
  ASSERT_TRUE(Caption->QuickButtonsShown());
  B()->InitFrame(SD.get(), F);
  Drawn(300, 200);
  TspBitmap* Top = B()->TopImage;
  // Caption (21, 18, 247, 39): buttons from x 26, 18 apart, images 2 in.
  EXPECT_EQ(FS->QuickButtons()->Items(0)->ItemRect, TRect(26, 21, 40, 35));
  EXPECT_EQ(FS->QuickButtons()->Items(1)->ItemRect, TRect(44, 21, 58, 35));
  EXPECT_EQ(Top->GetPixel(33, 30), Argb(clRed, 255));
  EXPECT_EQ(Top->GetPixel(51, 30), Argb(clBlue, 255));
  EXPECT_EQ(Top->GetPixel(28, 23), Corner);
  EXPECT_EQ(Top->GetPixel(42, 30), Gap);
  // The text starts after the buttons: nothing of it left of x 62.
  for (Integer Y = 18; Y < 39; ++Y)
    for (Integer X = 58; X < 62; ++X) EXPECT_NE(Top->GetPixel(X, Y), Argb(clBlack, 255)) << X << "," << Y;
  EXPECT_TRUE(Errors.empty());
}

TEST_F(LayerBorder, ShownFormCarriesItsBorderWindows) {
  SD->SetShowLayeredBorders(true);
  FS->SetSkinData(SD.get());
  ASSERT_TRUE(FS->CanShowLayeredBorder());
  F->Show();
  SetForegroundWindow(F->Handle());
  PumpUntil([&] { return F->Active(); }, 2000);
  Pump();
  ASSERT_TRUE(B()->FVisible);
  ASSERT_NE(B()->TopBorder, nullptr);
  auto Rect = [](TWinControl* W) {
    RECT R;
    GetWindowRect(W->Handle(), &R);
    return TRect(R.left, R.top, R.right, R.bottom);
  };
  auto Check = [&](const char* When) {
    SCOPED_TRACE(When);
    const Integer L = F->Left(), T = F->Top(), W = F->Width(), H = F->Height();
    const Integer X = L - 18, Y = T - 46, AW = W + 36, AH = H + 64;
    EXPECT_EQ(Rect(B()->TopBorder), Bounds(X, Y, AW, 46));
    EXPECT_EQ(Rect(B()->BottomBorder), Bounds(X, Y + AH - 20, AW, 20));
    EXPECT_EQ(Rect(B()->LeftBorder), Bounds(X, Y + 46, 18, AH - 66));
    EXPECT_EQ(Rect(B()->RightBorder), Bounds(X + AW - 18, Y + 46, 18, AH - 66));
    for (TspFormLayerWindow* Wnd : {B()->TopBorder, B()->BottomBorder, B()->LeftBorder, B()->RightBorder}) {
      EXPECT_TRUE(IsWindowVisible(Wnd->Handle()));
      EXPECT_TRUE(GetWindowLongW(Wnd->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    }
    // The border windows never take the activation.
    for (TspFormLayerWindow* Wnd : {B()->TopBorder, B()->BottomBorder, B()->LeftBorder, B()->RightBorder})
      EXPECT_NE(GetActiveWindow(), Wnd->Handle());
  };
  Check("shown");
  F->SetBounds(F->Left() + 30, F->Top() + 20, F->Width(), F->Height());
  Pump();
  Check("moved");
  F->SetBounds(F->Left(), F->Top(), F->Width() + 40, F->Height() + 10);
  Pump();
  Check("sized");

  // What the windows answer, under a cursor the test puts.
  TPoint Cursor;
  FS->CursorPosSource = [&] { return Cursor; };
  const Integer L = F->Left(), T = F->Top();
  struct Row {
    TspFormLayerWindow* Wnd;
    TPoint P;
    TspFormLayerBorderHit Want;
  };
  const Row Rows[] = {
      {B()->TopBorder, TPoint(L - 4, T - 32), spflhTopLeft},
      {B()->TopBorder, TPoint(L + 60, T - 31), spflhTop},
      {B()->TopBorder, TPoint(L + 60, T - 20), spflhNone},
      {B()->LeftBorder, TPoint(L - 4, T + 50), spflhLeft},
      {B()->LeftBorder, TPoint(L - 10, T + 50), spflhNone},
      {B()->BottomBorder, TPoint(L + 60, F->Top() + F->Height() + 2), spflhBottom},
  };
  for (const Row& R : Rows) {
    Cursor = R.P;
    EXPECT_EQ(R.Wnd->HitTestBorder(R.P.X - R.Wnd->Left(), R.P.Y - R.Wnd->Top()), R.Want) << R.P.X << "," << R.P.Y;
  }

  // A drag on the left band: the left edge follows, the right edge stays.
  TspFormLayerWindow* LW = B()->LeftBorder;
  const Integer W0 = F->Width(), Right = F->Left() + F->Width();
  Cursor = TPoint(L - 3, T + 50);
  auto Client = [&](const TPoint& P) { return MAKELPARAM(P.X - LW->Left(), P.Y - LW->Top()); };
  LW->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Client(Cursor));
  EXPECT_TRUE(LW->FDown);
  Cursor = TPoint(L - 9, T + 50);
  LW->Perform(WM_MOUSEMOVE, MK_LBUTTON, Client(Cursor));
  EXPECT_EQ(F->Left(), L - 6);
  EXPECT_EQ(F->Width(), W0 + 6);
  EXPECT_EQ(F->Left() + F->Width(), Right);
  // Back inside the form: the edge moves right again (shrinking is always allowed).
  Cursor = TPoint(L + 2, T + 50);
  LW->Perform(WM_MOUSEMOVE, MK_LBUTTON, Client(Cursor));
  EXPECT_EQ(F->Left(), L + 5);
  LW->Perform(WM_LBUTTONUP, 0, Client(Cursor));
  EXPECT_FALSE(LW->FDown);
  EXPECT_FALSE(FS->FBorderLayerChangeSize);
  Pump();
  Check("after the drag");
  FS->CursorPosSource = nullptr;

  B()->CheckFormAlpha(100, true);
  EXPECT_EQ(B()->FCurrentAlphaBlendValue, 100);

  F->Hide();
  Pump();
  EXPECT_FALSE(B()->FVisible);
  EXPECT_EQ(B()->TopBorder, nullptr);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(LayerBorder, FullBorderWindowsCarryTheCaption) {
  SD->SetShowLayeredBorders(true);
  SD->LayerFrame->FullBorder = true;
  FS->SetSkinData(SD.get());
  AddFullBorderObjects(FS);
  B()->InitFrame(SD.get(), F);
  F->Show();
  Pump();
  ASSERT_TRUE(B()->FVisible);
  ASSERT_NE(B()->TopBorder, nullptr);
  // Shown at alpha 0 with the form, raised to full by the form's show step.
  PumpUntil([&] { return B()->FCurrentAlphaBlendValue == 255; }, 2000);
  EXPECT_EQ(B()->FCurrentAlphaBlendValue, 255);
  // The form answers every non-client hit test with its client area.
  EXPECT_EQ(SendMessageW(F->Handle(), WM_NCHITTEST, 0, MAKELPARAM(F->Left() + 2, F->Top() + 2)), HTCLIENT);
  FS->FFormActive = true;
  TPoint Cursor;
  FS->CursorPosSource = [&] { return Cursor; };
  TspFormLayerWindow* TW = B()->TopBorder;
  auto At = [&](Integer X, Integer Y) {
    Cursor = TPoint(TW->Left() + X, TW->Top() + Y);
    return TW->HitTestBorder(X, Y);
  };
  // Close button (index 1) and caption (index 0) in top-image coordinates.
  const TRect CloseR = static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(1))->ObjectRect;
  EXPECT_EQ(At(CloseR.Left + 5, CloseR.Top + 5), spflObject);
  EXPECT_EQ(B()->ActiveObject, 1);
  EXPECT_TRUE(static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(1))->Active);
  EXPECT_EQ(At(100, 28), spflCaption);
  EXPECT_EQ(B()->ActiveObject, 0);
  EXPECT_FALSE(static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(1))->Active);  // it left

  // Dragging the caption moves the form and its windows.
  const Integer L = F->Left(), T = F->Top();
  At(100, 28);
  TW->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 28));
  ASSERT_TRUE(TW->FDown);
  EXPECT_EQ(TW->FHitMode, spflCaption);
  Cursor = TPoint(Cursor.X + 15, Cursor.Y + 10);
  TW->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(115, 38));
  EXPECT_EQ(F->Left(), L + 15);
  EXPECT_EQ(F->Top(), T + 10);
  TW->Perform(WM_LBUTTONUP, 0, MAKELPARAM(115, 38));
  Pump();
  EXPECT_EQ(TW->Left(), F->Left() - 18);
  EXPECT_EQ(TW->Top(), F->Top() - 46);

  // A double-click on the caption maximises a sizeable form, a second one restores it.
  At(100, 28);
  TW->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 28));
  EXPECT_EQ(FS->WindowState(), wsMaximized);
  Pump();
  TW = B()->TopBorder;
  ASSERT_NE(TW, nullptr);
  At(100, 28);
  TW->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 28));
  EXPECT_EQ(FS->WindowState(), wsNormal);
  Pump();
  FS->CursorPosSource = nullptr;

  // The fade-in ends at the description's alpha.
  B()->Hide();
  B()->FCurrentAlphaBlendValue = 200;
  B()->ShowWithFormAnimation();
  EXPECT_TRUE(B()->FVisible);
  EXPECT_EQ(B()->FCurrentAlphaBlendValue, 200);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(LayerBorder, DoubleClicksOfAFullBorder) {
  // The real pointer stays off the border: Wine's mouse messages for it would
  // track the objects under the real position instead of the test's.
  SetCursorPos(1500, 1100);
  SD->SetShowLayeredBorders(true);
  SD->LayerFrame->FullBorder = true;
  SD->LayerFrame->SysMenuButtonRect = TRect(2, 20, 18, 36);
  FS->SetSkinData(SD.get());
  AddFullBorderObjects(FS);
  TspDataSkinStdButton Sys(u"sysmenubutton");
  Sys.ActivePictureIndex = 2;
  Sys.SkinRectInAPicture = true;
  Sys.SkinRect = TRect(0, 0, 16, 14);
  Sys.Command = cmSysMenu;
  FS->ObjectList->Add(new TspSkinStdButtonObject(FS, &Sys));
  B()->InitFrame(SD.get(), F);
  F->Show();
  Pump();
  ASSERT_NE(B()->TopBorder, nullptr);
  FS->FFormActive = true;
  TPoint Cursor;
  FS->CursorPosSource = [&] { return Cursor; };
  auto DblClick = [&](Integer X, Integer Y) {
    TspFormLayerWindow* TW = B()->TopBorder;
    Cursor = TPoint(TW->Left() + X, TW->Top() + Y);
    TW->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(X, Y));
    Pump();
  };
  // The system-menu button sits in its own rectangle, centred on its height.
  EXPECT_EQ(static_cast<TspActiveSkinObject*>(FS->ObjectList->Items(4))->ObjectRect, TRect(2, 21, 18, 35));
  // A form that may not be sized rolls up and down.
  FS->FSizeable = false;
  DblClick(60, 28);
  EXPECT_TRUE(FS->RollUpState());
  DblClick(60, 28);
  EXPECT_FALSE(FS->RollUpState());
  FS->FSizeable = true;
  // On the system-menu button the form closes.
  bool Closed = false;
  F->OnClose = [&](TObject*, TCloseAction&) { Closed = true; };
  DblClick(8, 25);
  EXPECT_TRUE(Closed);
  FS->CursorPosSource = nullptr;
  EXPECT_TRUE(Errors.empty());
}
