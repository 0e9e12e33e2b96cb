// The skinned controls under Wine: a 1280 x 800 form of 200 controls in the
// mix of the program's dialogs (push and speed buttons, flat check and radio
// boxes on panels, panels, bevels, labels) painted whole (budget 33 ms a
// frame); one control's state change with its repaint (a 75 x 25 button's
// hover and press, a morph step, a flat box's toggle with the panel behind
// it: 2 ms each); and a skin switch of the whole form (100 ms). The skin is
// the program's own: Dawn, switched to Charm and back.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "bench/BenchTable.h"
#include "classlib/Forms.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/data/win/SPUtils.h"

namespace {

// A made scheme: Dawn is stored in the program's resources, the others are
// ".skn" files of its Skin folder.
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
  if (D->Empty) std::fprintf(stderr, "bench_skin_controls: the scheme %s did not load\n", ToUtf8(Name).c_str());
  return D;
}

struct TBenchForm {
  TForm* Form;
  std::vector<TControl*> Controls;
  TspSkinButton* Button = nullptr;
  TspSkinCheckRadioBox* Box = nullptr;
};

void ApplySkin(TBenchForm& F, TspSkinData* SD) {
  for (TControl* C : F.Controls) {
    if (auto* W = dynamic_cast<TspSkinControl*>(C)) W->SetSkinData(SD);
    if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) G->SetSkinData(SD);
    if (auto* B = dynamic_cast<TspSkinBevel*>(C)) B->SetSkinData(SD);
    if (auto* L = dynamic_cast<TspSkinStdLabel*>(C)) L->SetSkinData(SD);
  }
}

// 20 panels of 240 x 180 in a 5 x 4 grid; each holds 2 push buttons, 3
// speed buttons, 2 flat boxes, a bevel and a label: 20 + 20 x 9 = 200.
TBenchForm& Form(TspSkinData* SD) {
  static TBenchForm F = [SD] {
    TBenchForm R;
    R.Form = new TForm(nullptr);
    R.Form->SetBounds(0, 0, 1280, 800);
    for (Integer P = 0; P < 20; ++P) {
      auto* Panel = new TspSkinPanel(R.Form);
      Panel->SetParent(R.Form);
      Panel->SetBounds((P % 5) * 250 + 5, (P / 5) * 190 + 5, 240, 180);
      R.Controls.push_back(Panel);
      for (Integer I = 0; I < 2; ++I) {
        auto* B = new TspSkinButton(R.Form);
        B->SetParent(Panel);
        B->SetBounds(10 + I * 85, 140, 75, 25);
        B->SetCaption(I ? u"Cancel" : u"OK");
        R.Controls.push_back(B);
        if (!R.Button) R.Button = B;
      }
      for (Integer I = 0; I < 3; ++I) {
        auto* B = new TspSkinSpeedButton(R.Form);
        B->SetParent(Panel);
        B->SetBounds(10 + I * 28, 10, 25, 25);
        B->SetFlat(I % 2 == 1);
        R.Controls.push_back(B);
      }
      for (Integer I = 0; I < 2; ++I) {
        auto* C = new TspSkinCheckRadioBox(R.Form);
        C->SetParent(Panel);
        C->SetBounds(10, 45 + I * 25, 200, 20);
        C->SetRadio(I == 1);
        C->SetSkinDataName(I ? u"radiobox" : u"checkbox");
        C->SetCaption(I ? u"Radio choice" : u"Check option");
        R.Controls.push_back(C);
        if (!R.Box) R.Box = C;
      }
      auto* Bv = new TspSkinBevel(R.Form);
      Bv->SetParent(Panel);
      Bv->SetBounds(125, 10, 8, 22);
      Bv->SetShape(bsLeftLine);
      Bv->SetDividerMode(true);
      R.Controls.push_back(Bv);
      auto* L = new TspSkinStdLabel(R.Form);
      L->SetParent(Panel);
      L->SetBounds(10, 100, 150, 18);
      L->SetCaption(u"A label of the dialog");
      R.Controls.push_back(L);
    }
    ApplySkin(R, SD);
    R.Form->Show();
    Application->ProcessMessages();
    return R;
  }();
  return F;
}

void Start() {
  static bool Done = [] {
    Application->Initialize();
    InitializeSpBitmapUnit();
    InitializeSPUtils();
    return true;
  }();
  (void)Done;
}

TspSkinData* SkinA() {
  static auto SD = MadeScheme(u"Dawn");
  return SD.get();
}
TspSkinData* SkinB() {
  static auto SD = MadeScheme(u"Charm");
  return SD.get();
}

void BM_FormFullPaint(benchmark::State& State) {
  Start();
  TBenchForm& F = Form(SkinA());
  for (auto _ : State)
    RedrawWindow(F.Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  State.counters["controls"] = double(F.Controls.size());
  benchtable::Ours(State, "", "33ms");
}
BENCHMARK(BM_FormFullPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same windows and graphic controls painting one colour each: what the
// platform costs for the form before any control draws its look.
class TPlainWin : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(TRect(0, 0, Width(), Height()));
  }
};
class TPlainGraphic : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(TRect(0, 0, Width(), Height()));
  }
};

void BM_FormFullPaintPlatformOnly(benchmark::State& State) {
  Start();
  static TForm* F = [] {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 1280, 800);
    for (Integer P = 0; P < 20; ++P) {
      auto* Panel = new TPlainWin(Form);
      Panel->SetParent(Form);
      Panel->SetBounds((P % 5) * 250 + 5, (P / 5) * 190 + 5, 240, 180);
      for (Integer I = 0; I < 4; ++I) {  // push buttons and boxes
        auto* W = new TPlainWin(Form);
        W->SetParent(Panel);
        W->SetBounds(10, 45 + I * 25, 75, 20);
      }
      for (Integer I = 0; I < 5; ++I) {  // speed buttons, bevel, label
        auto* G = new TPlainGraphic(Form);
        G->SetParent(Panel);
        G->SetBounds(10 + I * 28, 10, 25, 25);
      }
    }
    Form->Show();
    Application->ProcessMessages();
    return Form;
  }();
  for (auto _ : State)
    RedrawWindow(F->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  benchtable::Ours(State, "");
}
BENCHMARK(BM_FormFullPaintPlatformOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// One frame an iteration: the mouse comes and goes in turn.
void BM_ButtonHover(benchmark::State& State) {
  Start();
  TBenchForm& F = Form(SkinA());
  bool In = false;
  for (auto _ : State) {
    In = !In;
    F.Button->Perform(In ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
    F.Button->FMorphKf = In ? 1 : 0;  // the cross-fade's last step
    F.Button->Repaint();
  }
  benchtable::Ours(State, "", "2ms");
}
BENCHMARK(BM_ButtonHover)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One frame an iteration: pressed and released in turn.
void BM_ButtonPress(benchmark::State& State) {
  Start();
  TBenchForm& F = Form(SkinA());
  F.Button->SetCanFocused(false);
  bool Down = false;
  for (auto _ : State) {
    Down = !Down;
    SendMessageW(F.Button->Handle(), Down ? WM_LBUTTONDOWN : WM_LBUTTONUP, Down ? MK_LBUTTON : 0,
                 MAKELPARAM(10, 10));
  }
  if (Down) SendMessageW(F.Button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  benchtable::Ours(State, "", "2ms");
}
BENCHMARK(BM_ButtonPress)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_MorphStep(benchmark::State& State) {
  Start();
  TBenchForm& F = Form(SkinA());
  F.Button->Perform(CM_MOUSEENTER, 0, 0);
  for (auto _ : State) {
    F.Button->FMorphKf = 0.4;
    F.Button->Repaint();
  }
  F.Button->Perform(CM_MOUSELEAVE, 0, 0);
  F.Button->FMorphKf = 0;
  benchtable::Ours(State, "", "2ms");
}
BENCHMARK(BM_MorphStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The box repaints with what lies behind it (the panel).
void BM_FlatBoxToggle(benchmark::State& State) {
  Start();
  TBenchForm& F = Form(SkinA());
  for (auto _ : State) {
    F.Box->SetChecked(!F.Box->Checked());
    UpdateWindow(F.Box->Handle());
  }
  benchtable::Ours(State, "", "2ms");
}
BENCHMARK(BM_FlatBoxToggle)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_SkinSwitch(benchmark::State& State) {
  Start();
  TBenchForm& F = Form(SkinA());
  bool B = false;
  for (auto _ : State) {
    B = !B;
    for (TControl* C : F.Controls) {
      if (auto* W = dynamic_cast<TspSkinControl*>(C)) W->BeforeChangeSkinData();
      if (auto* G = dynamic_cast<TspGraphicSkinControl*>(C)) G->BeforeChangeSkinData();
    }
    ApplySkin(F, B ? SkinB() : SkinA());
    UpdateWindow(F.Form->Handle());
    RedrawWindow(F.Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  benchtable::Ours(State, "", "100ms");
}
BENCHMARK(BM_SkinSwitch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace


BENCHMARK_MAIN();
