// Edits filled while their form is still hidden (as the dialogs do before
// they show): once the form shows, each edit's text is on the screen at the
// first paint, without a later full redraw, in the default look and in a
// made scheme.
#include "tests/skin/boxes/win/BoxTestUtil.h"

#include "common/Screens.h"
#include "skin/boxes/SkinBoxCtrls.h"

using namespace ctl;

namespace {

// Dark pixels (text ink) inside an edit's text area, as the form's window
// shows it now.
int InkInTextArea(const lumigra_test::TWindowPixels& Shot, HWND Form, TspSkinCustomEdit* E) {
  RECT FR{}, ER{};
  GetWindowRect(Form, &FR);
  GetWindowRect(E->Handle(), &ER);
  E->CalcRects();
  const TRect T = E->EditRect();
  int Ink = 0;
  for (Integer Y = T.Top + 1; Y < T.Bottom - 1; ++Y)
    for (Integer X = T.Left + 1; X < T.Right - 1; ++X) {
      const int SX = ER.left - FR.left + X, SY = ER.top - FR.top + Y;
      if (SX < 0 || SY < 0 || SX >= Shot.Width || SY >= Shot.Height) continue;
      const std::uint32_t P = Shot.At(SX, SY);
      const int Sum = int(P & 0xFF) + int((P >> 8) & 0xFF) + int((P >> 16) & 0xFF);
      if (Sum < 3 * 110) ++Ink;
    }
  return Ink;
}

class EditsOnAHiddenForm : public SkinCtlTest {};

TEST_F(EditsOnAHiddenForm, TextSetBeforeTheFormShowsIsPaintedAtOnce) {
  std::vector<std::unique_ptr<TspSkinData>> Loaded;
  std::vector<std::pair<String, TspSkinData*>> Looks;
  Looks.emplace_back(u"default", nullptr);
  Loaded.push_back(MadeScheme(u"Dawn"));
  ASSERT_FALSE(Loaded.back()->Empty);
  Looks.emplace_back(u"Dawn", Loaded.back().get());
  for (const auto& [Scheme, Skin] : Looks) {
    SCOPED_TRACE(ToUtf8(Scheme));
    SetCursorPos(0, 0);
    auto* F = new TForm(nullptr);
    F->SetBounds(80, 80, 300, 200);
    auto* Plain = new TspSkinEdit(F);
    Plain->SetParent(F);
    Plain->SetBounds(10, 10, 120, 20);
    auto* Num = new TspSkinNumericEdit(F);
    Num->SetParent(F);
    Num->SetBounds(10, 40, 120, 20);
    Num->SetUseSkinFont(false);
    Num->SetMinValue(0);
    Num->SetMaxValue(30000);
    auto* Track = new TspSkinTrackEdit(F);
    Track->SetParent(F);
    Track->SetBounds(10, 70, 120, 20);
    Track->SetUseSkinFont(false);
    Track->SetMaxValue(255);
    for (TspSkinCustomEdit* E : {static_cast<TspSkinCustomEdit*>(Plain), static_cast<TspSkinCustomEdit*>(Num),
                                 static_cast<TspSkinCustomEdit*>(Track)})
      E->SetSkinData(Skin);
    F->HandleNeeded();
    // The values go in while the form is hidden, as the colour dialog fills
    // its track edits before it shows.
    Plain->SetText(u"888");
    Num->SetValue(888);
    Track->SetValue(188);
    ASSERT_FALSE(IsWindowVisible(F->Handle()));
    F->Show();
    Pump();
    const lumigra_test::TWindowPixels Shot = lumigra_test::CaptureWindow(F->Handle());
    ASSERT_GT(Shot.Width, 0);
    lumigra_test::SaveWindowScreen(F->Handle(), "hidden-form-edits", ToUtf8(Scheme));
    const int PlainInk = InkInTextArea(Shot, F->Handle(), Plain);
    EXPECT_GT(PlainInk, 20) << "the plain edit shows its text";
    EXPECT_GT(InkInTextArea(Shot, F->Handle(), Num), 20) << "the numeric edit shows its value";
    EXPECT_GT(InkInTextArea(Shot, F->Handle(), Track), 20) << "the track edit shows its value";
    delete F;
    Pump();
  }
}

}  // namespace
