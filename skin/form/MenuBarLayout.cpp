#include "skin/form/MenuBarLayout.h"

#include <algorithm>

std::vector<TspMenuBarEntry> MergeMenuBarEntries(const std::vector<TspMenuBarEntry>& Main,
                                                 const std::vector<TspMenuBarEntry>& Child) {
  std::vector<TspMenuBarEntry> L;
  for (const TspMenuBarEntry& M : Main) {
    const bool Replaced =
        std::any_of(Child.begin(), Child.end(), [&](const TspMenuBarEntry& C) { return C.GroupIndex == M.GroupIndex; });
    if (!Replaced) L.push_back(M);
  }
  L.insert(L.end(), Child.begin(), Child.end());
  // Stable: a plain quicksort would shuffle items of one group.
  std::stable_sort(L.begin(), L.end(),
                   [](const TspMenuBarEntry& A, const TspMenuBarEntry& B) { return A.GroupIndex < B.GroupIndex; });
  L.erase(std::remove_if(L.begin(), L.end(), [](const TspMenuBarEntry& E) { return !E.Visible; }), L.end());
  return L;
}

TRect MenuBarItemsRect(bool Skinned, const TRect& SkinRect, const TRect& ItemsRect, bool UseSkinSize, Integer W,
                       Integer H) {
  if (!Skinned) return TRect(2, 2, W - 2, H - 2);
  TRect R(ItemsRect.Left, ItemsRect.Top, W - (SkinRect.Width() - ItemsRect.Right), ItemsRect.Bottom);
  if (!UseSkinSize) R.Bottom = H - (SkinRect.Height() - ItemsRect.Bottom);
  return R;
}

std::vector<TRect> PlaceMenuBarButtons(TRect& Area, const std::vector<TPoint>& Sizes) {
  std::vector<TRect> Out;
  for (size_t I = 0; I < Sizes.size(); ++I) {
    const bool Skinned = Sizes[I].X > 0 && Sizes[I].Y > 0;
    const Integer AH = Area.Height();
    const Integer BW = Skinned ? Sizes[I].X : AH, BH = Skinned ? Sizes[I].Y : AH;
    const Integer Top = Skinned ? Area.Top + AH / 2 - BH / 2 : Area.Top;
    TRect R;
    if (I == 0) {  // the system-menu button at the left
      R = TRect(Area.Left, Top, Area.Left + BW, Top + BH);
      Area.Left += BW + 2;
    } else {
      R = TRect(Area.Right - BW, Top, Area.Right, Top + BH);
      Area.Right -= BW + 2;
    }
    Out.push_back(R);
  }
  return Out;
}

TspMenuBarLayout LayoutMenuBarItems(const TRect& Area, const std::vector<Integer>& Widths, bool ScrollMenu) {
  TspMenuBarLayout L;
  const Integer Limit = ScrollMenu ? Area.Right - 5 : Area.Right;
  Integer X = Area.Left;
  for (Integer W : Widths) {
    const TRect R(X, Area.Top, X + W, Area.Bottom);
    const bool Fits = R.Right <= Limit;
    L.Rects.push_back(R);
    L.Fits.push_back(Fits);
    if (!Fits) L.Scroll = true;
    X = R.Right;
  }
  return L;
}

TRect MenuBarMarkerRect(const TRect& Area) { return TRect(Area.Right - 5, Area.Top, Area.Right, Area.Bottom); }

namespace {

Integer Walk(const std::vector<bool>& Available, Integer Current, Integer Dir) {
  const Integer N = Integer(Available.size());
  if (N == 0) return -1;
  const bool Valid = Current >= 0 && Current < N && Available[size_t(Current)];
  Integer I = Valid ? Current : (Dir > 0 ? -1 : N);
  for (Integer K = 0; K < N; ++K) {
    I = (I + Dir + N) % N;
    if (Available[size_t(I)]) return I;
  }
  return -1;
}

}  // namespace

Integer NextMenuBarItem(const std::vector<bool>& Available, Integer Current) { return Walk(Available, Current, 1); }
Integer PrevMenuBarItem(const std::vector<bool>& Available, Integer Current) { return Walk(Available, Current, -1); }
