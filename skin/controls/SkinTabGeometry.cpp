#include "skin/controls/SkinTabGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

bool Vertical(TTabPosition P) { return P == tpLeft || P == tpRight; }

}  // namespace

// ---------------------------------------------------------------------------
// Layout corrections

TRect CorrectPageRect(const TspPageRectIn& In, TRect P) {
  if (In.HideBorder) return TRect(0, -2, In.Width, In.Height);
  const Integer CW = In.ClientWidth, CH = In.ClientHeight;
  const Integer ml = In.ClRect.Left, mt = In.ClRect.Top;
  const Integer mr = In.SkinRect.Width() - In.ClRect.Right, mb = In.SkinRect.Height() - In.ClRect.Bottom;
  switch (In.Position) {
    case tpTop:
      if (In.Skinned)
        P = TRect(ml, P.Top - 6 + mt, CW - mr, CH - mb);
      else
        P = TRect(1, P.Top - 5, CW - 1, CH - 1);
      if (In.HideTabs) P.Top -= 1;
      break;
    case tpBottom:
      if (In.Skinned)
        P = TRect(ml, P.Top - 4 + mt, CW - mr, P.Bottom + 4 - mb);
      else
        P = TRect(1, 1, CW - 1, P.Bottom + 3);
      if (In.HideTabs) P.Bottom += 1;
      break;
    case tpLeft:
      if (In.Skinned)
        P = TRect(P.Left + ml - 4, P.Top - 4 + mt, CW - mr, CH - mb);
      else
        P = TRect(P.Left - 3, P.Top - 5, CW - 1, CH - 1);
      if (In.HideTabs) P.Left -= 1;
      break;
    case tpRight:
      if (In.Skinned)
        P = TRect(ml, P.Top - 4 + mt, P.Right - mr + 4, CH - mb);
      else
        P = TRect(P.Left - 3, P.Top - 5, P.Right + 3, CH - 1);
      if (In.HideTabs) P.Right += 1;
      break;
  }
  return P;
}

TRect CorrectTabRect(TTabPosition Position, TTabStyle Style, bool MultiLine, Integer RowOffset, TRect R) {
  if (Style != tsTabs) return R;
  switch (Position) {
    case tpTop:
      if (!MultiLine) {
        R.Left -= 2;
        R.Right -= 2;
      }
      R.Top -= 2;
      R.Bottom -= 2;
      R.Left += RowOffset;
      R.Right += RowOffset;
      break;
    case tpBottom:
      if (!MultiLine) {
        R.Left -= 2;
        R.Right -= 2;
      }
      R.Top += 2;
      R.Bottom += 2;
      break;
    case tpLeft:
      R.Left -= 2;
      R.Right -= 2;
      break;
    case tpRight:
      R.Left += 2;
      R.Right += 2;
      break;
  }
  return R;
}

Integer TabsRowOffset(Integer TabsOffset, Integer TabWidth, Integer Width, Integer VisibleTabs) {
  if (TabsOffset > 0) return TabsOffset;
  if (TabWidth == 0) return 0;
  return std::max(0, Width / 2 - (TabWidth * VisibleTabs) / 2);
}

TPoint ReserveImageSize(TTabPosition Position, Integer GlyphWidth, Integer GlyphHeight, bool HasImages,
                        bool ShowCloseButtons, Integer CloseSize) {
  const bool V = Vertical(Position);
  Integer Sum = 1;
  if (HasImages) Sum += V ? GlyphHeight : GlyphWidth;
  if (ShowCloseButtons) Sum += CloseSize;
  return V ? TPoint(1, Sum) : TPoint(Sum, 1);
}

// ---------------------------------------------------------------------------
// The skinned scroll arrows

Integer HiddenTabCount(const std::vector<TRect>& Tabs, Integer Limit) {
  return Integer(std::count_if(Tabs.begin(), Tabs.end(), [&](const TRect& R) { return R.Right > Limit || R.Right <= 0; }));
}

Integer ScrolledTabCount(const std::vector<TRect>& Tabs) {
  return Integer(std::count_if(Tabs.begin(), Tabs.end(), [](const TRect& R) { return R.Right <= 0; }));
}

TPoint TabArrowsPlace(const TspArrowPlaceIn& In) {
  const Integer Left = In.Width - In.ArrowWidth;
  Integer Top;
  if (In.Position == tpTop) {
    Top = In.Skinned ? In.DisplayRect.Top - In.ArrowHeight - In.ClRect.Top : 0;
    Top = std::max(Top, 0);
  } else {
    const Integer Lowest = In.Height - In.ArrowHeight;
    Top = In.Skinned ? (In.SkinRect.Height() - In.ClRect.Bottom) + In.DisplayRect.Bottom : Lowest;
    Top = std::min(Top, Lowest);
  }
  return TPoint(Left, Top);
}

// ---------------------------------------------------------------------------
// Tab images

TRect TabCloseButtonRect(TTabPosition Position, bool TextInHorizontal, const TRect& R, Integer W, Integer H) {
  if (TextInHorizontal) return R;
  if (Position == tpLeft) return TRect(R.Top, W - R.Right, R.Bottom, W - R.Left);
  if (Position == tpRight) return TRect(H - R.Bottom, R.Left, H - R.Top, R.Right);
  return R;
}

TspTabContentPlace TabImageAndTextPlace(Integer W, Integer H, Integer Offset, bool EmptyText, Integer TextWidth,
                                        Integer TextHeight, Integer IW, Integer IH) {
  const Integer tw = EmptyText ? 0 : TextWidth + 2;
  TspTabContentPlace P;
  P.Glyph = TPoint(W / 2 - (tw + IW + 2) / 2, H / 2 - IH / 2 + Offset);
  P.Caption.Left = P.Glyph.X + IW + 2;
  P.Caption.Top = H / 2 - TextHeight / 2 + Offset;
  P.Caption.Right = P.Caption.Left + tw;
  P.Caption.Bottom = P.Caption.Top + TextHeight;
  return P;
}

TspTileCount TileCopies(Integer AreaWidth, Integer AreaHeight, Integer TileWidth, Integer TileHeight) {
  if (AreaWidth <= 0 || AreaHeight <= 0 || TileWidth <= 0 || TileHeight <= 0) return {};
  return {AreaWidth / TileWidth + 1, AreaHeight / TileHeight + 1};
}

// ---------------------------------------------------------------------------
// Tree

bool TreeVertBarVisible(bool StyleBit, Integer Max, Integer Page, Integer ItemCount, bool TreeVisible) {
  return StyleBit && Max > 0 && Page <= Max && Max < ItemCount && TreeVisible;
}

bool TreeHorzBarVisible(bool StyleBit, Integer Max, Integer Width, bool TreeVisible) {
  return StyleBit && Width < Max && TreeVisible;
}

std::vector<Byte> FadingLineAlphas(Integer W) {
  if (W <= 0) return {};
  std::vector<Byte> A(size_t(W), 255);
  const Integer h = std::max(1, W / 2);
  const Integer Step = Integer(std::nearbyint(255.0 / h));
  Integer Alpha = 255;
  for (Integer X = h; X < W; ++X) {
    A[size_t(X)] = Byte(std::max(Alpha, 0));
    Alpha -= Step;
  }
  return A;
}
