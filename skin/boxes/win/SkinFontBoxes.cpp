// TspSkinFontComboBox and TspSkinFontSizeComboBox: the installed families
// with their previews, and the sizes of one family.
#include <algorithm>

#include "classlib/Printers.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"
#include "skin/boxes/SkinBoxLists.h"
#include "skin/data/win/SPUtils.h"

namespace {

// Enumeration callbacks: nothing crosses back into Wine.
int CALLBACK EnumFamily(const LOGFONTW* LF, const TEXTMETRICW* TM, DWORD FontType, LPARAM Data) {
  try {
    (void)TM;
    auto* Box = reinterpret_cast<TspSkinFontComboBox*>(Data);
    Box->AddFamily(String(reinterpret_cast<const char16_t*>(LF->lfFaceName)), static_cast<Integer>(FontType),
                   LF->lfCharSet, LF->lfPitchAndFamily);
  } catch (...) {
  }
  return 1;
}

int CALLBACK EnumSize(const LOGFONTW* LF, const TEXTMETRICW* TM, DWORD FontType, LPARAM Data) {
  try {
    auto* Box = reinterpret_cast<TspSkinFontSizeComboBox*>(Data);
    return Box->AddSize(static_cast<Integer>(FontType), LF->lfHeight, TM->tmInternalLeading) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

// The letter mark of scalable families: a serif T nine pixels high, each
// segment drawn up to but excluding its end point.
void DrawTrueTypeMark(TCanvas* C, Integer X, Integer Y, TColor Color) {
  C->Pen()->SetColor(Color);
  const Integer Seg[8][4] = {{0, 0, 7, 0}, {7, 0, 7, 3}, {0, 0, 0, 3}, {1, 0, 1, 1},
                             {6, 0, 6, 1}, {3, 0, 3, 8}, {4, 0, 4, 8}, {2, 8, 6, 8}};
  for (const auto& S : Seg) {
    C->MoveTo(X + S[0], Y + S[1]);
    C->LineTo(X + S[2], Y + S[3]);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TspSkinFontComboBox

TspSkinFontComboBox::TspSkinFontComboBox(TComponent* AOwner) : TspSkinCustomComboBox(AOwner) {
  SetOnListBoxDrawItem([this](TCanvas* C, Integer Index, Integer, Integer, TRect TR, TOwnerDrawState) {
    DrawPreview(C, Index, TR);
  });
  OnComboBoxDrawItem = [this](TCanvas* C, Integer Index, Integer, Integer, TRect TR, TOwnerDrawState) {
    DrawVCenteredText(C, Items()->Strings(Index), TRect(TR.Left + 2, TR.Top, TR.Right, TR.Bottom));
  };
  SetSorted(true);
}

void TspSkinFontComboBox::DrawPreview(TCanvas* C, Integer Index, TRect TR) {
  const Integer Data = static_cast<Integer>(reinterpret_cast<intptr_t>(Items()->Objects(Index)));
  if (Data & sfTrueTypeType) {
    const Integer Y = TR.Top + TR.Height() / 2 - 7;
    DrawTrueTypeMark(C, TR.Left, Y, TColor(0x808080));
    DrawTrueTypeMark(C, TR.Left + 4, Y + 4, clBlack);
  }
  TR.Left += 15;
  C->Font()->SetName(Items()->Strings(Index));
  C->Font()->SetStyle(0);
  DrawVCenteredText(C, Items()->Strings(Index), TR);
}

void TspSkinFontComboBox::AddFamily(const String& Name, Integer FontType, Byte CharSet, Byte PitchAndFamily) {
  if (Name.empty() || !FontPassesOptions(FOptions, FontType, CharSet, PitchAndFamily)) return;
  if (FCollect) {
    if (FCollect->Seen.insert(AnsiUpperCase(Name)).second)
      FCollect->Families.emplace_back(Name, FontItemData(FontType, CharSet));
    return;
  }
  HWND LW = ListBox()->ListBox->Handle();
  if (SendMessageW(LW, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Name.c_str())) != LB_ERR)
    return;
  Items()->AddObject(Name, reinterpret_cast<TObject*>(static_cast<intptr_t>(FontItemData(FontType, CharSet))));
}

void TspSkinFontComboBox::PopulateList() {
  PopulateWith([this] {
    HDC DC = GetDC(nullptr);
    TFinally Release([&] { ReleaseDC(nullptr, DC); });
    if (FDevice == fdScreen || FDevice == fdBoth)
      EnumFontFamiliesW(DC, nullptr, EnumFamily, reinterpret_cast<LPARAM>(this));
    if (FDevice == fdPrinter || FDevice == fdBoth) {
      // No printer (or one that cannot be read) leaves the screen families.
      try {
        HDC PDC = Printer()->Handle();
        if (PDC) EnumFontFamiliesW(PDC, nullptr, EnumFamily, reinterpret_cast<LPARAM>(this));
      } catch (...) {
      }
    }
  });
}

void TspSkinFontComboBox::PopulateWith(const std::function<void()>& Enumerate) {
  if (!HandleAllocated()) return;
  const Integer Old = ItemIndex();
  TCollect Found;
  {
    // The enumerations only collect; the list takes the families in one
    // update afterwards (each family once, whatever its character sets).
    FCollect = &Found;
    TFinally Done([&] { FCollect = nullptr; });
    Enumerate();
  }
  Items()->BeginUpdate();
  {
    TFinally EndUpdate([&] { Items()->EndUpdate(); });
    Items()->Clear();
    for (const auto& [Name, Data] : Found.Families)
      Items()->AddObject(Name, reinterpret_cast<TObject*>(static_cast<intptr_t>(Data)));
  }
  SetItemIndex(std::min(Old, Items()->Count() - 1));
}

void TspSkinFontComboBox::SetFontName(const String& Value) {
  if (Value == Text()) return;
  auto Alive = LivenessToken();
  if (ComponentState().Contains(csLoading)) {
    SetText(Value);
    return;
  }
  HandleNeeded();
  Integer Found = -1;
  for (Integer I = 0; I < Items()->Count(); ++I)
    if (AnsiCompareText(Items()->Strings(I), Value) == 0) {
      Found = I;
      break;
    }
  if (Found >= 0)
    SetItemIndex(Found);
  else if (Style() == spcbFixedStyle)
    SetItemIndex(-1);
  else
    SetText(Value);
  if (!*Alive) return;
  if (!ComponentState().Contains(csReading) && !FUpdate && OnChange) OnChange(this);
}

void TspSkinFontComboBox::Refresh() {
  if (!HandleAllocated()) return;
  auto Alive = LivenessToken();
  String Old;
  {
    FUpdate = true;
    TFinally Done([&] {
      if (*Alive) FUpdate = false;
    });
    Old = FontName();
    PopulateList();
    SetFontName(Old);
  }
  if (*Alive && FontName() != Old && !ComponentState().Contains(csReading) && OnChange) OnChange(this);
}

void TspSkinFontComboBox::CreateWnd() {
  const String Old = FontName();
  TspSkinCustomComboBox::CreateWnd();
  FUpdate = true;
  TFinally Done([&] { FUpdate = false; });
  PopulateList();
  SetText(String());
  SetFontName(Old);
}

void TspSkinFontComboBox::SetDevice(TspFontDevice Value) {
  if (FDevice == Value) return;
  FDevice = Value;
  Refresh();
}

void TspSkinFontComboBox::SetOptions(TspFontListOptions Value) {
  if (FOptions == Value) return;
  FOptions = Value;
  Refresh();
}

void TspSkinFontComboBox::SetTrueTypeOnly(bool Value) {
  SetOptions(Value ? (FOptions | FontOption(foTrueTypeOnly)) : (FOptions & ~FontOption(foTrueTypeOnly)));
}

void TspSkinFontComboBox::SetUseFonts(bool Value) {
  if (FUseFonts == Value) return;
  FUseFonts = Value;
  Invalidate();
}

void TspSkinFontComboBox::Dispatch(TMessage& M) {
  if (M.Msg == WM_FONTCHANGE) {
    auto Alive = LivenessToken();
    TspSkinCustomComboBox::Dispatch(M);
    if (*Alive) Refresh();
    return;
  }
  TspSkinCustomComboBox::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TspSkinFontSizeComboBox

TspSkinFontSizeComboBox::TspSkinFontSizeComboBox(TComponent* AOwner) : TspSkinCustomComboBox(AOwner) { FNumEdit = true; }

void TspSkinFontSizeComboBox::SetFontName(const String& Value) {
  FFontName = Value;
  Build();
}

bool TspSkinFontSizeComboBox::AddSize(Integer FontType, Integer LfHeight, Integer InternalLeading) {
  if (FontType & sfTrueTypeType) {
    for (const String& S : TrueTypeFontSizes()) Items()->Add(S);
    return false;
  }
  const Integer Size = RasterFontSize(LfHeight, InternalLeading, PixelsPerInch);
  std::vector<Integer> Sizes;
  for (Integer I = 0; I < Items()->Count(); ++I) Sizes.push_back(StrToIntDef(Items()->Strings(I), 0));
  const Integer At = SizeInsertIndex(Sizes, Size);
  if (At < 0) return true;
  if (At >= Items()->Count())
    Items()->Add(IntToStr(Size));
  else
    Items()->Insert(At, IntToStr(Size));
  return true;
}

void TspSkinFontSizeComboBox::Build() {
  auto Alive = LivenessToken();
  HDC DC = GetDC(nullptr);
  TFinally Release([&] { ReleaseDC(nullptr, DC); });
  Items()->BeginUpdate();
  TFinally EndUpdate([&] {
    if (*Alive) Items()->EndUpdate();
  });
  Items()->Clear();
  if (FFontName.empty()) return;
  PixelsPerInch = GetDeviceCaps(DC, LOGPIXELSY);
  EnumFontFamiliesW(DC, reinterpret_cast<LPCWSTR>(FFontName.c_str()), EnumSize, reinterpret_cast<LPARAM>(this));
  TNotifyEvent Saved = OnClick;
  OnClick = nullptr;
  {
    TFinally Hook([&] {
      if (*Alive) OnClick = Saved;
    });
    SetItemIndex(Items()->IndexOf(Text()));
  }
  if (*Alive && OnClick) OnClick(this);
}

Integer TspSkinFontSizeComboBox::SizeValue() {
  if (Style() == spcbFixedStyle) {
    const Integer I = ItemIndex();
    return I < 0 ? 0 : SizeValueOf(Items()->Strings(I));
  }
  return SizeValueOf(Text());
}
