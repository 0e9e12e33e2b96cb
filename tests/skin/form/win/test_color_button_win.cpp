// The colour button: the menu's items and swatches for every combination of
// its three command flags, which item is highlighted at popup, the colour
// events of the automatic and the colour items, the more-colours item with
// the dialog closed by OK and by Cancel, the pick item and the user colours.
#include "tests/skin/form/win/FormTestUtil.h"

#include <commctrl.h>

#include <functional>
#include <utility>
#include <vector>

#include "skin/form/SkinColorButton.h"

using namespace formtest;

namespace {

class ColorButton : public FormTest {};

// Pixel (X, Y) of image Index of the list.
TColor ImagePx(TCustomImageList* L, Integer Index, Integer X, Integer Y) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(L->Width(), L->Height());
  B.Canvas()->Brush()->SetColor(clFuchsia);
  B.Canvas()->FillRect(TRect(0, 0, B.Width(), B.Height()));
  ImageList_Draw(L->Handle(), Index, B.Canvas()->Handle(), 0, 0, ILD_NORMAL);
  return TColor(GetPixel(B.Canvas()->Handle(), X, Y));
}

void Popup(TspSkinColorButton* B) { B->ColorMenu()->OnMenuPopup(B->ColorMenu()); }
void Choose(TspSkinColorButton* B, Integer Index) {
  B->ColorMenu()->SetItemIndex(Index);
  B->ColorMenu()->OnItemClick(B->ColorMenu());
}

TEST_F(ColorButton, ItemsAndSwatchesForEveryFlagCombination) {
  auto* F = new TForm(nullptr);
  for (int Flags = 0; Flags < 8; ++Flags) {
    const bool Auto = Flags & 1, More = Flags & 2, Pick = Flags & 4;
    SCOPED_TRACE(Flags);
    auto* B = new TspSkinColorButton(F);
    B->SetShowAutoColor(Auto);
    B->SetShowMoreColor(More);
    B->SetShowPickColor(Pick);
    TspSkinImagesMenu* M = B->ColorMenu();
    EXPECT_EQ(B->SkinImagesMenu(), M);
    EXPECT_EQ(B->SkinPopupMenu(), nullptr);
    EXPECT_EQ(M->ColumnsCount(), 8);
    TspImagesMenuItems* Items = M->ImagesItems();
    const Integer N = 40 + Auto + More + Pick;
    ASSERT_EQ(Items->Count(), N);
    EXPECT_EQ(B->ColorImages()->Count(), 41);
    const Integer First = Auto ? 1 : 0;
    for (Integer k = 0; k < 40; ++k) {
      EXPECT_EQ(Items->Items(First + k)->ImageIndex(), k + 1);
      EXPECT_EQ(Items->Items(First + k)->FColor, ButtonColorTable[k]);
      EXPECT_FALSE(Items->Items(First + k)->Button());
    }
    EXPECT_EQ(ImagePx(B->ColorImages(), 7, 5, 5), 0x353333);
    EXPECT_EQ(ImagePx(B->ColorImages(), 40, 0, 0), 0xFFFFFF);
    if (Auto) {
      EXPECT_EQ(Items->Items(0)->ImageIndex(), 0);
      EXPECT_TRUE(Items->Items(0)->Button());
      EXPECT_EQ(Items->Items(0)->Caption(), u"Automatic");
      EXPECT_EQ(ImagePx(B->ColorImages(), 0, 0, 0), 0xFFFFFF);
      EXPECT_EQ(ImagePx(B->ColorImages(), 0, 11, 0), 0xE9E9E9);
      EXPECT_EQ(ImagePx(B->ColorImages(), 0, 0, 11), 0xE9E9E9);
      EXPECT_EQ(ImagePx(B->ColorImages(), 0, 11, 11), 0xFFFFFF);
    } else {
      EXPECT_EQ(ImagePx(B->ColorImages(), 0, 6, 6), 0x000000);  // the placeholder
    }
    EXPECT_EQ(B->MoreColorsIndex(), More ? (Pick ? N - 2 : N - 1) : -1);
    EXPECT_EQ(B->PickColorIndex(), Pick ? N - 1 : -1);
    if (More) {
      EXPECT_EQ(Items->Items(B->MoreColorsIndex())->Caption(), u"More Colors...");
    }
    if (Pick) {
      EXPECT_EQ(Items->Items(N - 1)->Caption(), u"Select Color From Screen");
      EXPECT_EQ(Items->Items(N - 1)->ImageIndex(), -1);
      Popup(B);
      EXPECT_EQ(Items->Items(N - 1)->Caption(), u"Select Color From Screen");
    }
  }
  delete F;
}

TEST_F(ColorButton, HighlightAtPopup) {
  struct Row {
    bool Marker, InTable, More, Pick;
    Integer Expected;  // -2: the more-colours item
  };
  // With the automatic item: colour k of the table is item k + 1.
  const Row Rows[] = {
      {false, true, true, true, 0},  {false, false, true, true, 0},  {true, true, true, true, 17},
      {true, true, false, false, 17}, {true, false, true, true, -2}, {true, false, true, false, -2},
      {true, false, false, true, -1},
  };
  auto* F = new TForm(nullptr);
  auto* B = new TspSkinColorButton(F);
  for (const Row& R : Rows) {
    B->SetShowMoreColor(R.More);
    B->SetShowPickColor(R.Pick);
    B->SetDrawColorMarker(R.Marker);
    B->SetColorValue(R.InTable ? ButtonColorTable[16] : 0x123456);
    Popup(B);
    EXPECT_EQ(B->ColorMenu()->ItemIndex(), R.Expected == -2 ? B->MoreColorsIndex() : R.Expected)
        << R.Marker << R.InTable << R.More << R.Pick;
    EXPECT_EQ(B->FDrawColorMarker_B, R.Marker);
  }
  // The last colour is found whatever the flags.
  for (int Flags = 0; Flags < 8; ++Flags) {
    B->SetShowAutoColor(Flags & 1);
    B->SetShowMoreColor(Flags & 2);
    B->SetShowPickColor(Flags & 4);
    B->SetDrawColorMarker(true);
    B->SetColorValue(0xFFFFFF);
    Popup(B);
    EXPECT_EQ(B->ColorMenu()->ItemIndex(), (Flags & 1) + 39);
  }
  delete F;
}

TEST_F(ColorButton, ColourEvents) {
  auto* F = new TForm(nullptr);
  auto* B = new TspSkinColorButton(F);
  int Changes = 0;
  B->OnChangeColor = [&](TObject* S) {
    EXPECT_EQ(S, B);
    ++Changes;
  };
  EXPECT_TRUE(B->DrawColorMarker());
  EXPECT_EQ(B->ColorValue(), 0);
  // Before any popup the remembered marker state is off: the same value fires.
  B->SetColorValue(0);
  EXPECT_EQ(Changes, 1);
  Popup(B);
  B->SetColorValue(0);
  EXPECT_EQ(Changes, 1);
  B->SetColorValue(0x00FF00);
  EXPECT_EQ(Changes, 2);
  // The automatic item: the marker goes, the colour stays, one event.
  Popup(B);
  Choose(B, 0);
  EXPECT_EQ(Changes, 3);
  EXPECT_FALSE(B->DrawColorMarker());
  EXPECT_EQ(B->ColorValue(), 0x00FF00);
  Popup(B);
  EXPECT_EQ(B->ColorMenu()->ItemIndex(), 0);
  Choose(B, 0);
  EXPECT_EQ(Changes, 3);
  // A colour item turns the marker on again.
  Popup(B);
  Choose(B, 1 + 13);
  EXPECT_EQ(Changes, 4);
  EXPECT_TRUE(B->DrawColorMarker());
  EXPECT_EQ(B->ColorValue(), ButtonColorTable[13]);
  // The pick item only tells the owner.
  int Picks = 0;
  B->OnStartPickColor = [&](TObject*) { ++Picks; };
  Choose(B, B->PickColorIndex());
  EXPECT_EQ(Picks, 1);
  EXPECT_EQ(Changes, 4);
  Choose(B, -1);
  EXPECT_EQ(Changes, 4);
  // Alpha value keeps the low byte; the user colours clamp their count.
  B->SetMenuAlphaBlendValue(300);
  EXPECT_EQ(B->ColorMenu()->AlphaBlendValue(), 44);
  TspCustomColorValues V;
  V.fill(0x010101);
  B->SetCustomColors(V, 13);
  EXPECT_EQ(B->CustomColorValuesCount, 12);
  B->SetCustomColors(V, -1);
  EXPECT_EQ(B->CustomColorValuesCount, 0);
  // Hover changes are forwarded with the button as sender.
  int Hovered = -5;
  B->OnItemIndexChanged = [&](TObject* S, Integer I) {
    EXPECT_EQ(S, B);
    Hovered = I;
  };
  B->ColorMenu()->OnItemIndexChanged(B->ColorMenu(), 7);
  EXPECT_EQ(Hovered, 7);
  delete F;
}


TEST_F(ColorButton, MoreColoursThroughTheDialog) {
  auto* F = new TForm(nullptr);
  auto* B = new TspSkinColorButton(F);
  B->SetColorValue(0x0000FF);
  B->DialogFormLeft = 140;
  B->DialogFormTop = 100;
  TspCustomColorValues V;
  V.fill(0x00AA00);
  B->SetCustomColors(V, 3);
  int Changes = 0, Closes = 0;
  B->OnChangeColor = [&](TObject*) { ++Changes; };
  B->OnColorDialogClose = [&](TObject*) { ++Closes; };
  // Cancel: nothing fires, the position comes back.
  std::function<void()> Cancel = [&] {
    TspSkinColorDialog* D = B->ColorDialog();
    ASSERT_NE(D, nullptr);
    EXPECT_EQ(D->Form->Left(), 140);
    EXPECT_EQ(D->CustomColorGrid->FColorsCount, 3);
    EXPECT_EQ(D->ColorViewer->ColorValue(), 0x0000FF);
    D->REdit->SetValue(10);
    D->Form->SetBounds(150, 110, D->Form->Width(), D->Form->Height());
    D->Form->SetModalResult(mrCancel);
  };
  DuringNextModal(Cancel);
  Popup(B);
  Choose(B, B->MoreColorsIndex());
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Closes, 0);
  EXPECT_EQ(B->ColorValue(), 0x0000FF);
  EXPECT_EQ(B->DialogFormLeft, 150);
  EXPECT_EQ(B->DialogFormTop, 110);
  ASSERT_NE(B->ColorDialog(), nullptr);
  EXPECT_EQ(B->ColorDialog()->Owner(), B);
  // OK: the colour, the user colours and one close event.
  std::function<void()> Ok = [&] {
    TspSkinColorDialog* D = B->ColorDialog();
    D->GEdit->SetValue(0x80);
    D->AddCustomColorButton->ButtonClick();
    D->Form->SetModalResult(mrOk);
  };
  DuringNextModal(Ok);
  Popup(B);
  Choose(B, B->MoreColorsIndex());
  EXPECT_EQ(Closes, 1);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(B->ColorValue(), 0x0080FF);
  EXPECT_EQ(B->CustomColorValues[3], 0x0080FF);
  EXPECT_EQ(B->CustomColorValuesCount, 4);
  EXPECT_TRUE(Errors.empty());
  delete F;
}

// Hovering the open menu's cells tells the main window which colour is
// under the pointer (message 1035: the colour and the item index); the
// shown form is freed with its button afterwards.
std::vector<std::pair<WPARAM, LPARAM>> Hovers;
LRESULT CALLBACK HoverProc(HWND W, UINT M, WPARAM WP, LPARAM LP) {
  if (M == WM_USER + 11) {
    Hovers.emplace_back(WP, LP);
    return 0;
  }
  return DefWindowProcW(W, M, WP, LP);
}

TEST_F(ColorButton, HoverSendsThePreview) {
  WNDCLASSW C{};
  C.lpfnWndProc = HoverProc;
  C.hInstance = GetModuleHandleW(nullptr);
  C.lpszClassName = L"LumigraHoverProbe";
  RegisterClassW(&C);
  HWND Probe = CreateWindowW(L"LumigraHoverProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  Hovers.clear();
  auto* F = new TForm(nullptr);
  F->SetBounds(50, 50, 200, 100);
  auto* B = new TspSkinColorButton(F);
  B->SetParent(F);
  B->SetBounds(10, 10, 40, 24);
  B->SetMainWindowHandle(Probe);
  EXPECT_EQ(B->ColorMenu()->MainWindowHandle(), Probe);
  F->Show();
  Pump();
  ASSERT_TRUE(B->ColorMenu()->PopupFromRect(TRect(60, 90, 100, 114)));
  Pump();
  TspSkinImagesMenuPopupWindow* W = B->ColorMenu()->PopupWindow();
  ASSERT_NE(W, nullptr);
  const TRect R = B->ColorMenu()->ImagesItems()->Items(6)->ItemRect;
  const TPoint P = W->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  SetCursorPos(P.X, P.Y);
  const TPoint L = W->ScreenToClient(P);
  SendMessageW(W->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(L.X, L.Y));
  EXPECT_TRUE(PumpUntil([] { return !Hovers.empty(); }, 2000));
  if (!Hovers.empty()) {
    EXPECT_EQ(Hovers.back().first, WPARAM(ButtonColorTable[5]));
    EXPECT_EQ(Hovers.back().second, LPARAM(6));
  }
  B->ColorMenu()->Hide();
  SetCursorPos(0, 0);
  Pump();
  delete F;  // a shown form frees its colour button without a crash
  DestroyWindow(Probe);
}

}  // namespace
