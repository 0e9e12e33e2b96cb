#include "common/gtest.h"

#include "tests/gdiplus/win/gdiplus_fixture.h"

void EnsureGdiPlus() {
  if (!GdiPlusStarted()) GdiPlusStartup();
}

TTestSurface::TTestSurface(int Width, int Height, uint32_t Fill) : W(Width), H(Height) {
  EnsureGdiPlus();
  BITMAPINFO bi;
  std::memset(&bi, 0, sizeof(bi));
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = W;
  bi.bmiHeader.biHeight = -H;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Dc = CreateCompatibleDC(nullptr);
  Bmp = CreateDIBSection(Dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  Old = SelectObject(Dc, Bmp);
  Bits = static_cast<uint32_t*>(bits);
  for (int i = 0; i < W * H; ++i) Bits[i] = Fill;
}

TTestSurface::~TTestSurface() {
  SelectObject(Dc, Old);
  DeleteObject(Bmp);
  DeleteDC(Dc);
}

TNoRefusedCalls::TNoRefusedCalls() {
  gdipflat::ClearTracedFailures();
  gdipflat::TraceStatuses(true);
}

TNoRefusedCalls::~TNoRefusedCalls() {
  gdipflat::TraceStatuses(false);
  EXPECT_EQ(gdipflat::TracedFailures(), std::vector<std::string>{}) << "GDI+ refused calls";
  gdipflat::ClearTracedFailures();
}

void TTestSurface::Draw(const std::function<void(const IGPGraphics&)>& Paint, Integer Smoothing) {
  TNoRefusedCalls watch;
  IGPGraphics g = TGPGraphics::FromHDC(Dc);
  ASSERT_NE(g->GetNativeHandle(), nullptr);
  g->SetSmoothingMode(Smoothing);
  g->SetTextRenderingHint(TextRenderingHintAntiAlias);
  Paint(g);
  g = nullptr;  // released (and composed) while the watch still looks
}

int TTestSurface::CountWhere(const std::function<bool(uint32_t)>& Pred, int X0, int Y0, int X1, int Y1) const {
  if (X1 < 0) X1 = W;
  if (Y1 < 0) Y1 = H;
  int n = 0;
  for (int y = Y0; y < Y1; ++y)
    for (int x = X0; x < X1; ++x)
      if (Pred(At(x, y))) ++n;
  return n;
}
