// Pictures of the edits in their main states, in the default look and in
// each made scheme: plain and button edits, numeric, spin and track edits
// (the track edit with its pop-up open). The default look's pictures are
// compared with their golden pictures; the schemes' are for review, checked
// by the geometry each scheme gives the controls.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include "skin/boxes/SkinBoxCtrls.h"

using namespace ctl;

namespace {

class EditScreens : public SkinCtlTest {};

TEST_F(EditScreens, EveryEditInEveryScheme) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  const auto Schemes = DefaultAndMadeSchemes(Loaded);
  for (const auto& [Scheme, Skin] : Schemes) {
    SCOPED_TRACE(ToUtf8(Scheme));
    SetCursorPos(0, 0);
    auto* E = new TspSkinEdit(Host);
    E->SetParent(Host);
    E->SetBounds(10, 10, 140, 20);
    E->SetText(u"Lumigra 123");
    E->SetSkinData(Skin);
    if (E->Skinned()) EXPECT_EQ(E->Height(), E->SkinRect.Height());
    boxtest::Shoot(Scheme, u"edit", u"normal", E);
    E->SetFocus();
    Pump();
    boxtest::Shoot(Scheme, u"edit", u"focused", E);
    E->SetReadOnly(true);
    boxtest::Shoot(Scheme, u"edit", u"read-only", E);
    for (TAlignment A : {taLeftJustify, taRightJustify, taCenter}) {
      E->SetAlignment(A);
      E->SetEnabled(false);
      const char16_t* Names[] = {u"disabled-left", u"disabled-right", u"disabled-centre"};
      boxtest::Shoot(Scheme, u"edit", Names[A], E);
      E->SetEnabled(true);
    }
    auto* BE = new TspSkinEdit(Host);
    BE->SetParent(Host);
    BE->SetBounds(10, 40, 140, 20);
    BE->SetSkinDataName(u"buttonedit");
    BE->SetButtonMode(true);
    BE->SetSkinData(Skin);
    BE->SetText(u"with a button");
    boxtest::Shoot(Scheme, u"buttonedit", u"normal", BE);
    SendMessageW(BE->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
    boxtest::Shoot(Scheme, u"buttonedit", u"button-hot", BE);
    SendMessageW(BE->Handle(), WM_NCLBUTTONDOWN, HTHSCROLL, 0);
    boxtest::Shoot(Scheme, u"buttonedit", u"button-pressed", BE);
    SendMessageW(BE->Handle(), WM_NCLBUTTONUP, HTHSCROLL, 0);

    auto* S = new TspSkinSpinEdit(Host);
    S->SetParent(Host);
    S->SetBounds(10, 70, 100, 22);
    S->SetUseSkinSize(false);
    S->SetUseSkinFont(false);
    S->SetValueType(TspValueType::vtFloat);
    S->SetSkinData(Skin);
    S->SetValue(12.5);
    S->HandleNeeded();
    boxtest::Shoot(Scheme, u"spinedit", u"normal", S);
    // Painted into another device context: the inner edit's text at its place.
    boxtest::ShootBitmap(Scheme, u"spinedit", u"erase-dc", boxtest::ErasePixels(S).get());
    const TRect Up = S->ButtonRect(0);
    Move(S, (Up.Left + Up.Right) / 2, (Up.Top + Up.Bottom) / 2, false);
    boxtest::Shoot(Scheme, u"spinedit", u"up-hot", S);
    Press(S, (Up.Left + Up.Right) / 2, (Up.Top + Up.Bottom) / 2);
    boxtest::Shoot(Scheme, u"spinedit", u"up-pressed", S);
    Release(S, (Up.Left + Up.Right) / 2, (Up.Top + Up.Bottom) / 2);
    EXPECT_EQ(S->Value(), 13.5);
    S->SetEnabled(false);
    boxtest::Shoot(Scheme, u"spinedit", u"disabled", S);

    auto* N = new TspSkinNumericEdit(Host);
    N->SetParent(Host);
    N->SetBounds(10, 100, 100, 20);
    N->SetUseSkinFont(false);
    N->SetSkinData(Skin);
    N->SetValue(300);
    boxtest::Shoot(Scheme, u"numericedit", u"normal", N);

    auto* T = new TspSkinTrackEdit(Host);
    T->SetParent(Host);
    T->SetBounds(10, 130, 100, 20);
    T->SetUseSkinFont(false);
    T->SetSkinData(Skin);
    T->SetValue(60);
    T->ButtonClick(T);
    ASSERT_TRUE(T->PopupShown());
    boxtest::Shoot(Scheme, u"trackedit", u"popup-below", T->PopupTrackBar());
    T->ButtonClick(T);
    T->WorkArea = [](HWND W) {
      RECT R{};
      GetWindowRect(W, &R);
      return TRect(0, 0, 4000, R.bottom + 2);
    };
    T->ButtonClick(T);
    RECT PR{}, ER{};
    GetWindowRect(T->PopupTrackBar()->Handle(), &PR);
    GetWindowRect(T->Handle(), &ER);
    EXPECT_EQ(PR.bottom, ER.top);
    boxtest::Shoot(Scheme, u"trackedit", u"popup-above", T->PopupTrackBar());
    T->ButtonClick(T);
    delete T;
    delete N;
    delete S;
    delete BE;
    delete E;
  }
}

}  // namespace
