#include "skin/data/SpLayout.h"

void CalcGlyphTextPos(TspButtonLayout Layout, const TRect& R, Integer GlyphWidth, Integer GlyphHeight,
                      Integer TextWidth, Integer TextHeight, Integer Spacing, Integer Margin, Integer& TextX,
                      Integer& TextY, Integer& GlyphX, Integer& GlyphY) {
  if (GlyphWidth == 0) Spacing = 0;
  const Integer cx = R.Left + RectWidth(R) / 2, cy = R.Top + RectHeight(R) / 2;
  if (Margin == -1) {
    const Integer hw = (TextWidth + GlyphWidth + Spacing) / 2, hh = (TextHeight + GlyphHeight + Spacing) / 2;
    switch (Layout) {
      case blGlyphLeft:
        GlyphX = cx - hw;
        GlyphY = cy - GlyphHeight / 2;
        TextX = cx + hw - TextWidth;
        TextY = cy - TextHeight / 2;
        break;
      case blGlyphRight:
        TextX = cx - hw;
        TextY = cy - TextHeight / 2;
        GlyphX = cx + hw - GlyphWidth;
        GlyphY = cy - GlyphHeight / 2;
        break;
      case blGlyphTop:
        GlyphX = cx - GlyphWidth / 2;
        GlyphY = cy - hh;
        TextX = cx - TextWidth / 2;
        TextY = cy + hh - TextHeight;
        break;
      case blGlyphBottom:
        TextX = cx - TextWidth / 2;
        TextY = cy - hh;
        GlyphX = cx - GlyphWidth / 2;
        GlyphY = cy + hh - GlyphHeight;
        break;
    }
    return;
  }
  switch (Layout) {
    case blGlyphLeft:
      GlyphX = R.Left + Margin;
      GlyphY = cy - GlyphHeight / 2;
      TextX = GlyphX + GlyphWidth + Spacing;
      TextY = cy - TextHeight / 2;
      break;
    case blGlyphRight:
      GlyphX = R.Right - GlyphWidth - Margin;
      GlyphY = cy - GlyphHeight / 2;
      TextX = GlyphX - Spacing - TextWidth;
      TextY = cy - TextHeight / 2;
      break;
    case blGlyphTop:
      GlyphY = R.Top + Margin;
      GlyphX = cx - GlyphWidth / 2;
      TextY = GlyphY + GlyphHeight + Spacing;
      TextX = cx - TextWidth / 2;
      break;
    case blGlyphBottom:
      GlyphY = R.Bottom - GlyphHeight - Margin;
      GlyphX = cx - GlyphWidth / 2;
      TextY = GlyphY - Spacing - TextHeight;
      TextX = cx - TextWidth / 2;
      break;
  }
}

void EllipsizeText(String& S, Integer MaxWidth, const std::function<Integer(const String&)>& Width) {
  if (Width(S) <= MaxWidth) return;
  while (!S.empty()) {
    // A trailing low surrogate takes its high surrogate with it.
    size_t n = 1;
    if (S.size() >= 2 && S.back() >= 0xDC00 && S.back() <= 0xDFFF && S[S.size() - 2] >= 0xD800 &&
        S[S.size() - 2] <= 0xDBFF)
      n = 2;
    S.erase(S.size() - n);
    if (Width(S + u"...") <= MaxWidth) break;
  }
  S += u"...";
}

void DottedFocusDots(const TRect& R, std::vector<TPoint>& Dots) {
  Dots.clear();
  const Integer L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  bool Flag = (Rt - L) % 2 == 0 && (B - T) % 2 == 0;
  auto Visit = [&](Integer x, Integer y) {
    Flag = !Flag;
    if (Flag) Dots.push_back(TPoint(x, y));
  };
  for (Integer x = L; x <= Rt; ++x) Visit(x, T);
  Flag = !Flag;
  for (Integer y = T; y <= B; ++y) Visit(Rt, y);
  Flag = !Flag;
  for (Integer x = Rt; x >= L; --x) Visit(x, B);
  Flag = !Flag;
  for (Integer y = B; y >= T; --y) Visit(L, y);
}

bool IsJpegFileName(const String& S) {
  return S.find(u".jpg") != String::npos || S.find(u".jpeg") != String::npos;
}
