// Shared by the skinned form's window tests: the toolkit's start-up, a skin
// made of flat-coloured pictures written to a folder and loaded with the
// skin model's LoadFromFile, forms with a message log in front of the
// component, and what the screen shows of a whole window.
#pragma once

#include "tests/classlib/win/test_controls_util.h"

#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "rtl/test_streams_tempdir.h"
#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormSkin.h"
#include "tests/skin/win/SkinFixture.h"

namespace formtest {

using ctltest::Pump;
using ctltest::PumpUntil;

// The fixture skin's colours: caption band, left, right and bottom edges,
// client part; the inactive picture's caption band.
inline constexpr TColor TopColor = 0x000080;
inline constexpr TColor LeftColor = 0x008000;
inline constexpr TColor RightColor = 0x800000;
inline constexpr TColor BottomColor = 0x008080;
inline constexpr TColor ClientColor = 0xFFFFFF;
inline constexpr TColor InactiveTopColor = 0x800080;

struct TSkinOptions {
  bool Mask = true;
  bool InactivePicture = true;
  // Extra [FORMINFO] lines.
  std::vector<String> FormInfo;
  // Active pictures (index order).
  std::vector<std::pair<Integer, Integer>> ActiveSizes;
  bool Objects = true;
  // A roll-up picture of this size (none when empty), flat TopColor.
  std::pair<Integer, Integer> RollUpSize{0, 0};
  // More [SKINOBJECTS] entries: name, kind word, section lines.
  std::vector<std::tuple<String, String, std::vector<String>>> ExtraObjects;
};

// The 60 x 50 fixture skin: client (4, 20, 56, 46), corner points at the
// client's corners, a mask that cuts two pixels off each top corner and
// one off each bottom corner, a caption object and a close button.
std::unique_ptr<TspSkinData> LoadFixtureSkin(TTempFolder& Dir, const TSkinOptions& O = TSkinOptions());

// A form 200 x 150 at (100, 100) whose messages are logged before the
// component sees them pass on (the log sits behind the component).
class TLogForm : public TForm {
 public:
  explicit TLogForm(TFormBorderStyle BS = bsSizeable);
  // Shared with the logging procedure, which still runs while the window
  // is destroyed after this object's own members are gone.
  std::shared_ptr<std::vector<UINT>> Log = std::make_shared<std::vector<UINT>>();
  std::vector<UINT>& Passed = *Log;
  bool WasPassed(UINT Msg) const;
};

// The window's pixels (frame included) as shown now, after pending paints.
std::unique_ptr<TBitmap> GrabWindow(HWND Wnd);
inline TColor Px(TBitmap* B, Integer X, Integer Y) { return ColorToRGB(B->Canvas()->Pixels(X, Y)); }
inline TColor Sys(TColor C) { return ColorToRGB(C); }
// Saves a window picture for review as <screens>/test_skin_form/<look>/<state>.png.
void SaveForReview(HWND Wnd, const char* Look, const char* State);

// The layered border's fixture: colours of its 173 x 133 source picture.
inline constexpr TColor LayerCornerL = 0x0000C0, LayerMiddle = 0x00C000, LayerCornerR = 0xC00000,
                        LayerSide = 0x408040, LayerStripTop = 0x404080, LayerSideR = 0x804040,
                        LayerBottom = 0x808000, LayerBottomLast = 0x008080;
// The default look's layer frame (not a full border) over three active
// pictures appended to SD: the source, its mask (opaque frame, transparent
// client, a half-transparent caption band) and 20 x 14 faces of close
// (red), maximise (lime) and minimise (blue). Returns the source's index.
Integer AddLayerFrame(TspSkinData* SD);
// Describes the default look's layer frame over pictures First, First + 1.
void DescribeLayerFrame(TspDataSkinLayerFrame& D, Integer First = 0);
// Replaces the form's objects by a caption in black Arial and the three
// caption buttons whose faces AddLayerFrame added (picture Faces).
void AddFullBorderObjects(TspFormSkin* FS, Integer Faces = 2);

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::vector<String> Errors;
  UINT_PTR Tick = 0;
};

// Pumps every message, the application's idle work included, for Ms
// milliseconds (real input arriving meanwhile is handled).
inline void PumpFor(DWORD Ms) {
  const DWORD Start = GetTickCount();
  while (GetTickCount() - Start < Ms) {
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Runs During once inside the next modal loop (a thread timer fires there
// 20 ms on); During ends the loop itself. DisarmDuringModal forgets a
// During that never ran.
void DuringNextModal(std::function<void()> During);
void DisarmDuringModal();

// D.Execute() with During run once inside its modal loop.
template <class TDialog>
bool ExecuteDuring(TDialog& D, std::function<void()> During) {
  DuringNextModal(std::move(During));
  const bool R = D.Execute();
  DisarmDuringModal();
  return R;
}

}  // namespace formtest
