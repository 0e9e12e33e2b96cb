// The colour dialog under Wine: one drag step over the palette's square and
// one around its ring, from the mouse message to the last repaint of the
// palette, the swatch and the six edits (UpdateWindow over the form, target
// one frame at 60 Hz: 16 ms); and the palette's full drawing as Execute
// does it (16 ms). Each runs inside the dialog's own modal loop.
#include <benchmark/benchmark.h>

#include <cmath>
#include <functional>

#include "bench/BenchTable.h"
#include "skin/form/SkinColorButton.h"

namespace {

std::function<void()>* Pending = nullptr;
void CALLBACK RunPending(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (!Pending) return;
  auto F = *Pending;
  Pending = nullptr;
  F();
}

// Runs Body inside a run of the dialog, then closes it.
void InDialog(const std::function<void(TspSkinColorDialog&)>& Body) {
  TspSkinColorDialog D(nullptr);
  D.SetColor(0x3080C0);
  D.DialogFormLeft = 40;
  D.DialogFormTop = 40;
  std::function<void()> Run = [&] {
    Body(D);
    D.Form->SetModalResult(mrCancel);
  };
  Pending = &Run;
  SetTimer(nullptr, 0, 10, RunPending);
  D.Execute();
}

void Drag(TspSkinColorDialog& D, Integer X, Integer Y) {
  SendMessageW(D.PalettePSPPanel->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X, Y));
  RedrawWindow(D.Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

void BM_ColorDialogSquareDragStep(benchmark::State& State) {
  InDialog([&](TspSkinColorDialog& D) {
    SendMessageW(D.PalettePSPPanel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
    Integer K = 0;
    for (auto _ : State) {
      ++K;
      Drag(D, 50 + K % 90, 50 + (K * 7) % 90);
    }
    SendMessageW(D.PalettePSPPanel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(60, 60));
  });
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_ColorDialogSquareDragStep)->Unit(benchmark::kMillisecond);

void BM_ColorDialogRingDragStep(benchmark::State& State) {
  InDialog([&](TspSkinColorDialog& D) {
    SendMessageW(D.PalettePSPPanel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(97, 6));
    Integer K = 0;
    for (auto _ : State) {
      // Around the ring, a few degrees a step.
      ++K;
      const double A = (K * 7 % 360) * 0.01745329252;
      Drag(D, Integer(97 + 88 * std::sin(A)), Integer(97 - 88 * std::cos(A)));
    }
    SendMessageW(D.PalettePSPPanel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(97, 6));
  });
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_ColorDialogRingDragStep)->Unit(benchmark::kMillisecond);

void BM_ColorDialogPaletteDraw(benchmark::State& State) {
  InDialog([&](TspSkinColorDialog& D) {
    for (auto _ : State) {
      D.DrawMarkers();  // the full drawing draws them again
      D.DrawPalette();
      GdiFlush();
    }
  });
  benchtable::Ours(State, "", "16ms");
}
BENCHMARK(BM_ColorDialogPaletteDraw)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
