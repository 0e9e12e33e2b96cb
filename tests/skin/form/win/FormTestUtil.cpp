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

}  // namespace

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

}  // namespace formtest
