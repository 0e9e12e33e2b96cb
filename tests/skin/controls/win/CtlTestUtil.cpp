#include "tests/skin/controls/win/CtlTestUtil.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/Screens.h"

namespace ctl {

namespace {

class SkinControlsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Application->Initialize();
    InitializeSpBitmapUnit();
    InitializeSPUtils();
  }
  void TearDown() override {
    FreeSkinScratchBitmaps();
    FinalizeSPUtils();
    FinalizeSpBitmapUnit();
  }
};
[[maybe_unused]] auto* const gEnv = ::testing::AddGlobalTestEnvironment(new SkinControlsEnvironment);

}  // namespace

TForm* SharedForm() {
  static TForm* F = [] {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(40, 40, 460, 380);
    Form->Show();
    Pump();
    return Form;
  }();
  return F;
}

void SkinCtlTest::SetUp() {
  Errors.clear();
  Application->OnException = [this](TObject*, Exception& E) { Errors.push_back(E.Message()); };
  Tick = SetTimer(nullptr, 0, 10, nullptr);
  TForm* F = SharedForm();
  Host = new THost(nullptr);
  Host->SetBounds(10, 10, 400, 300);
  Host->SetParent(F);
  Host->HandleNeeded();
  F->SetModalResult(mrNone);
  SetForegroundWindow(F->Handle());
  SetActiveWindow(F->Handle());
  Pump();
}

void SkinCtlTest::TearDown() {
  delete Host;
  Host = nullptr;
  KillTimer(nullptr, Tick);
  Application->ProcessMessages();
  Application->DoReleaseQueue();
  Application->OnException = [](TObject*, Exception& E) {
    ADD_FAILURE() << "unexpected exception: " << ToUtf8(E.Message());
  };
  EXPECT_TRUE(Errors.empty()) << ToUtf8(Errors.empty() ? String() : Errors[0]);
}

std::unique_ptr<TBitmap> Render(TControl* C, TColor Background) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(C->Width(), C->Height());
  B->Canvas()->Brush()->SetColor(Background);
  B->Canvas()->FillRect(TRect(0, 0, C->Width(), C->Height()));
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(B->Canvas()->Handle()), 0);
  return B;
}

TColor Px(TBitmap* B, Integer X, Integer Y) { return TColor(GetPixel(B->Canvas()->Handle(), X, Y)); }

std::unique_ptr<TBitmap> Grab(TControl* C) {
  auto* W = dynamic_cast<TWinControl*>(C);
  HWND Wnd = W ? W->Handle() : C->Parent()->Handle();
  UpdateWindow(Wnd);
  Pump();
  const Integer X = W ? 0 : C->Left(), Y = W ? 0 : C->Top();
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(C->Width(), C->Height());
  HDC DC = GetDC(Wnd);
  BitBlt(B->Canvas()->Handle(), 0, 0, C->Width(), C->Height(), DC, X, Y, SRCCOPY);
  ReleaseDC(Wnd, DC);
  return B;
}

void Mouse(TControl* C, UINT Msg, Integer X, Integer Y, WPARAM Keys) {
  const TPoint S = C->ClientToScreen(TPoint(X, Y));
  SetCursorPos(S.X, S.Y);
  auto* W = dynamic_cast<TWinControl*>(C);
  if (W)
    SendMessageW(W->Handle(), Msg, Keys, PointToLParam(X, Y));
  else
    SendMessageW(C->Parent()->Handle(), Msg, Keys, PointToLParam(X + C->Left(), Y + C->Top()));
}

void Click(TControl* C) {
  auto Alive = C->LivenessToken();
  const Integer X = C->Width() / 2, Y = C->Height() / 2;
  Press(C, X, Y);
  if (*Alive) Release(C, X, Y);
}

namespace {

LPARAM KeyData(WPARAM VK, bool Alt, bool Up) {
  LPARAM L = 1 | (static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(VK), MAPVK_VK_TO_VSC)) << 16);
  if (Alt) L |= 0x20000000;
  if (Up) L |= 0xC0000000;
  return L;
}

void SetModifiers(bool Shift, bool Ctrl, bool Alt) {
  BYTE K[256];
  GetKeyboardState(K);
  K[VK_SHIFT] = K[VK_LSHIFT] = Shift ? 0x80 : 0;
  K[VK_CONTROL] = K[VK_LCONTROL] = Ctrl ? 0x80 : 0;
  K[VK_MENU] = K[VK_LMENU] = Alt ? 0x80 : 0;
  SetKeyboardState(K);
}

}  // namespace

void PressKey(WPARAM VK, bool Shift, bool Ctrl, bool Alt) {
  SetModifiers(Shift, Ctrl, Alt);
  HWND W = GetFocus();
  PostMessageW(W, Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, VK, KeyData(VK, Alt, false));
  PostMessageW(W, Alt ? WM_SYSKEYUP : WM_KEYUP, VK, KeyData(VK, Alt, true));
  Pump();
  SetModifiers(false, false, false);
}

void SendKey(HWND W, UINT Msg, WPARAM VK) {
  SendMessageW(W, Msg, VK, KeyData(VK, false, Msg == WM_KEYUP || Msg == WM_SYSKEYUP));
}

std::unique_ptr<TBitmap> CoordPicture(Integer W, Integer H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<Byte*>(B->ScanLine(Y));
    for (Integer X = 0; X < W; ++X) {
      Row[X * 3] = 0x55;
      Row[X * 3 + 1] = Byte(Y);
      Row[X * 3 + 2] = Byte(X);
    }
  }
  return B;
}

std::unique_ptr<TspSkinData> MadeScheme(const String& Name) {
  auto D = std::make_unique<TspSkinData>(nullptr);
  if (Name == u"Dawn") {
    TspCompressedStoredSkin Stored(nullptr, GetModuleHandleW(nullptr), u"SkinDawn");
    D->LoadCompressedStoredSkin(&Stored);
  } else {
    String Path = u"Z:";
    for (const char* P = LUMIGRA_SKIN_SKN_DIR; *P; ++P) Path += *P == '/' ? u'\\' : char16_t(Byte(*P));
    D->LoadFromCompressedFile(Path + u"\\" + Name + u".skn");
  }
  return D;
}

const std::vector<String>& MadeSchemeNames() {
  static const std::vector<String> Names = {u"Dawn", u"Charm", u"Laconic", u"Cool"};
  return Names;
}

std::vector<std::pair<String, TspSkinData*>> DefaultAndMadeSchemes(std::vector<std::unique_ptr<TspSkinData>>& Loaded) {
  std::vector<std::pair<String, TspSkinData*>> S = {{u"default", nullptr}};
  for (const String& Name : MadeSchemeNames()) {
    Loaded.push_back(MadeScheme(Name));
    EXPECT_FALSE(Loaded.back()->Empty) << ToUtf8(Name);
    if (!Loaded.back()->Empty) S.emplace_back(Name, Loaded.back().get());
  }
  return S;
}

std::unique_ptr<TspSkinData> LoadSkin(const skintest::TFixtureSkin& S) {
  auto SD = std::make_unique<TspSkinData>(nullptr);
  S.LoadInto(SD.get());
  return SD;
}

String RectValue(const TRect& R) {
  return IntToStr(R.Left) + u"," + IntToStr(R.Top) + u"," + IntToStr(R.Right) + u"," + IntToStr(R.Bottom);
}

void SaveScreen(const String& Scheme, const String& Control, const String& State, TBitmap* B) {
  if (!B || B->Empty()) return;
  auto Ascii = [](const String& S) {
    std::string R;
    for (Char C : S) R += char(C);
    return R;
  };
  TBitmap Rgb;
  Rgb.Assign(B);
  Rgb.SetPixelFormat(pf32bit);
  const Integer W = Rgb.Width(), H = Rgb.Height();
  std::vector<std::uint8_t> Pixels(size_t(W) * size_t(H) * 4);
  for (Integer Y = 0; Y < H; ++Y) std::memcpy(&Pixels[size_t(Y) * size_t(W) * 4], Rgb.ScanLine(Y), size_t(W) * 4);
  lumigra_test::SaveScreenPixels(Pixels.data(), W, H, W * 4, Ascii(Control + u"-" + State), Ascii(Scheme));
}

}  // namespace ctl

namespace ctl {

skintest::TFixtureSkin CoordSkin() {
  skintest::TFixtureSkin S;
  S.ActivePicture(CoordPicture(256, 256));
  return S;
}

}  // namespace ctl
