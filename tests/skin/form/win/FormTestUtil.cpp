#include "tests/skin/form/win/FormTestUtil.h"

#include "common/Screens.h"

namespace formtest {

namespace {

class FormEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Application->Initialize();
    InitializeSpBitmapUnit();
    InitializeSPUtils();
  }
  void TearDown() override {
    FinalizeSPUtils();
    FinalizeSpBitmapUnit();
  }
};
[[maybe_unused]] auto* const gEnv = ::testing::AddGlobalTestEnvironment(new FormEnvironment);

std::unique_ptr<TBitmap> Main(TColor Top) {
  return skintest::FlatPicture(60, 50, Top,
                               {{TRect(0, 20, 4, 46), LeftColor},
                                {TRect(56, 20, 60, 46), RightColor},
                                {TRect(0, 46, 60, 50), BottomColor},
                                {TRect(4, 20, 56, 46), ClientColor}});
}

std::unique_ptr<TBitmap> MaskPicture() {
  auto B = skintest::FlatPicture(60, 50, clBlack);
  for (auto P : {TPoint(0, 0), TPoint(1, 0), TPoint(0, 1), TPoint(59, 0), TPoint(58, 0), TPoint(59, 1),
                 TPoint(0, 49), TPoint(59, 49)})
    B->Canvas()->SetPixels(P.X, P.Y, clWhite);
  return B;
}


std::unique_ptr<TBitmap> Source() {
  return skintest::FlatPicture(173, 133, LayerMiddle,
                               {{TRect(0, 0, 31, 46), LayerCornerL},
                                {TRect(140, 0, 173, 46), LayerCornerR},
                                {TRect(0, 46, 18, 113), LayerSide},
                                {TRect(0, 46, 18, 47), LayerStripTop},
                                {TRect(155, 46, 173, 113), LayerSideR},
                                {TRect(18, 46, 155, 113), clWhite},
                                {TRect(0, 113, 173, 133), LayerBottom},
                                {TRect(0, 132, 173, 133), LayerBottomLast}});
}

// Opaque frame, transparent client, half-transparent caption band.
std::unique_ptr<TBitmap> Mask() {
  return skintest::FlatPicture(173, 133, clWhite,
                               {{TRect(18, 46, 155, 115), clBlack}, {TRect(31, 14, 140, 46), TColor(0x808080)}});
}

// Close, maximise and minimise faces, 20 x 14 each.
std::unique_ptr<TBitmap> Buttons() {
  return skintest::FlatPicture(60, 14, clRed, {{TRect(20, 0, 40, 14), clLime}, {TRect(40, 0, 60, 14), clBlue}});
}

}  // namespace

Integer AddLayerFrame(TspSkinData* SD) {
  const Integer First = SD->FActivePictures->Count();
  for (auto* B : {Source().release(), Mask().release(), Buttons().release()}) SD->FActivePictures->Add(B);
  DescribeLayerFrame(*SD->LayerFrame, First);
  return First;
}

void AddFullBorderObjects(TspFormSkin* FS, Integer Faces) {
  FS->ClearObjects();
  TspDataSkinCaption Cap(u"caption");
  Cap.FontName = u"Arial";
  Cap.FontHeight = 16;
  Cap.FontColor = Cap.ActiveFontColor = clBlack;
  Cap.DefaultCaption = true;
  FS->ObjectList->Add(new TspSkinCaptionObject(FS, &Cap));
  for (auto [Name, Cmd, X] : {std::tuple{u"closebutton", cmClose, 0}, std::tuple{u"maxbutton", cmMaximize, 20},
                              std::tuple{u"minbutton", cmMinimize, 40}}) {
    TspDataSkinStdButton D(Name);
    D.ActivePictureIndex = Faces;
    D.SkinRectInAPicture = true;
    D.SkinRect = TRect(X, 0, X + 20, 14);
    D.Command = Cmd;
    FS->ObjectList->Add(new TspSkinStdButtonObject(FS, &D));
  }
}

void DescribeLayerFrame(TspDataSkinLayerFrame& D, Integer First) {
  D.PictureIndex = First;
  D.MaskPictureIndex = First + 1;
  D.InActivePictureIndex = D.InActiveMaskPictureIndex = -1;
  D.LTPoint = TPoint(31, 46);
  D.RTPoint = TPoint(140, 45);
  D.LBPoint = TPoint(21, 113);
  D.RBPoint = TPoint(151, 113);
  D.ClRect = TRect(18, 46, 155, 115);
  D.BorderRect = TRect(14, 14, 158, 118);
  D.HitTestEnable = true;
  D.FullBorder = false;
  D.HitTestSize = 3;
  D.CaptionRect = TRect(21, 18, 152, 39);
  D.HitTestLTPoint = TPoint(23, 21);
  D.HitTestRTPoint = TPoint(150, 21);
  D.HitTestLBPoint = TPoint(21, 111);
  D.HitTestRBPoint = TPoint(151, 111);
  D.RollUpFormHeight = 1;
  D.ButtonsTopOffset = 21;
  D.SysButtonTopOffset = 21;
}


std::unique_ptr<TspSkinData> LoadFixtureSkin(TTempFolder& Dir, const TSkinOptions& O) {
  skintest::TFixtureSkin S;
  S.Keys(u"FORMINFO", {u"lefttoppoint=4,20", u"righttoppoint=56,20", u"leftbottompoint=4,46",
                       u"rightbottompoint=56,46", u"clientrect=4,20,56,46", u"borderwidth=3",
                       u"captionrect=10,2,50,18"});
  S.Keys(u"FORMINFO", {});
  for (const String& L : O.FormInfo) S.Keys(u"FORMINFO", {L});
  if (O.Objects) {
    S.Object(u"caption", u"caption", {u"skinrect=10,2,40,16", u"defaultcaption=1"});
    S.Object(u"closebutton", u"stdbutton", {u"skinrect=44,4,54,14", u"command=cmclose"});
  }
  for (const auto& [Name, Word, Lines] : O.ExtraObjects) {
    S.Object(Name, Word);
    for (const String& L : Lines) S.Keys(Name, {L});
  }
  S.Picture(skintest::TFixtureSkin::Main, Main(TopColor));
  Main(TopColor)->SaveToFile(Dir.Path("picture.bmp"));
  if (O.InactivePicture) {
    S.Picture(skintest::TFixtureSkin::InActive, Main(InactiveTopColor));
    Main(InactiveTopColor)->SaveToFile(Dir.Path("inactivepicture.bmp"));
  }
  if (O.Mask) {
    S.Picture(skintest::TFixtureSkin::Mask, MaskPicture());
    MaskPicture()->SaveToFile(Dir.Path("mask.bmp"));
  }
  if (O.RollUpSize.first > 0) {
    auto R = [&] { return skintest::FlatPicture(O.RollUpSize.first, O.RollUpSize.second, TopColor); };
    S.Picture(skintest::TFixtureSkin::RollUp, R());
    R()->SaveToFile(Dir.Path("rolluppicture.bmp"));
  }
  Integer I = 0;
  for (auto [W, H] : O.ActiveSizes) {
    // A 2 x 2 checker of two colours (a zero size stays empty).
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(W, H);
    if (W > 0 && H > 0) {
      B->Canvas()->Brush()->SetColor(clYellow);
      B->Canvas()->FillRect(TRect(0, 0, W, H));
      B->Canvas()->Brush()->SetColor(clTeal);
      B->Canvas()->FillRect(TRect(0, 0, W / 2, H / 2));
    }
    B->SaveToFile(Dir.Path(("active" + std::to_string(I++) + ".bmp").c_str()));
    S.ActivePicture(std::move(B));
  }
  Dir.WriteAll("skin.ini", "\xEF\xBB\xBF" + ToUtf8(S.IniText()));
  auto D = std::make_unique<TspSkinData>(nullptr);
  D->SetShowLayeredBorders(false);
  D->SetAeroBlurEnabled(false);
  D->LoadFromFile(Dir.Path("skin.ini"));
  return D;
}

TLogForm::TLogForm(TFormBorderStyle BS) : TForm(nullptr) {
  SetBorderStyle(BS);
  SetBounds(100, 100, 200, 150);
  TWndMethod Inner = WindowProc();
  SetWindowProc([L = Log, Inner](TMessage& M) {
    L->push_back(M.Msg);
    Inner(M);
  });
}

bool TLogForm::WasPassed(UINT Msg) const {
  for (UINT M : Passed)
    if (M == Msg) return true;
  return false;
}

std::unique_ptr<TBitmap> GrabWindow(HWND Wnd) {
  Pump();
  RECT R;
  GetWindowRect(Wnd, &R);
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(R.right - R.left, R.bottom - R.top);
  const HDC DC = GetWindowDC(Wnd);
  BitBlt(B->Canvas()->Handle(), 0, 0, B->Width(), B->Height(), DC, 0, 0, SRCCOPY);
  ReleaseDC(Wnd, DC);
  return B;
}

void SaveForReview(HWND Wnd, const char* Look, const char* State) {
  lumigra_test::SaveWindowScreen(Wnd, State, Look);
}

void FormTest::SetUp() {
  Errors.clear();
  Application->OnException = [this](TObject*, Exception& E) { Errors.push_back(E.Message()); };
  Tick = SetTimer(nullptr, 0, 10, nullptr);
}

void FormTest::TearDown() {
  KillTimer(nullptr, Tick);
  Application->ProcessMessages();
  Application->DoReleaseQueue();
  Application->OnException = [](TObject*, Exception& E) {
    ADD_FAILURE() << "unexpected exception: " << ToUtf8(E.Message());
  };
}

namespace {
std::function<void()> PendingDuring;
void CALLBACK DuringTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  auto F = std::move(PendingDuring);
  PendingDuring = nullptr;
  if (F) F();
}
}  // namespace

void DuringNextModal(std::function<void()> During) {
  PendingDuring = std::move(During);
  SetTimer(nullptr, 0, 20, DuringTimer);
}

void DisarmDuringModal() { PendingDuring = nullptr; }

}  // namespace formtest
