#include "skin/controls/SkinHorzListGeometry.h"

#include <algorithm>

TRect HorzItemRect(const TspHorzRow& R, Integer I) {
  const Integer L = R.Area.Left + I * R.ItemWidth - R.Offset;
  return TRect(L, R.Area.Top, L + R.ItemWidth, R.Area.Bottom);
}

bool HorzItemVisible(const TRect& Item, const TRect& Area) {
  auto In = [&](Integer X) { return X >= Area.Left && X < Area.Right; };
  return In(Item.Left) || In(Item.Right) || (Item.Left <= Area.Left && Item.Right >= Area.Right);
}

Integer HorzRealMax(const TspHorzRow& R) {
  Integer M = 0;
  for (Integer I = 0; I < R.Count; ++I) {
    const TRect T = HorzItemRect(R, I);
    if (HorzItemVisible(T, R.Area)) M = T.Right;
  }
  return M;
}

TspHorzScroll HorzScrollInfo(const TspHorzRow& R) {
  TspHorzScroll S;
  S.Max = R.Count * R.ItemWidth;
  S.Page = R.Area.Width();
  if (S.Page >= S.Max) S.Max = S.Page = 0;
  S.Position = R.Offset;
  return S;
}

Integer HorzScrollToItem(const TspHorzRow& R, Integer I, Integer ControlWidth) {
  if (I < 0 || I >= R.Count) return R.Offset;
  const TRect S = HorzItemRect(R, I);
  const Integer Left = S.Left + R.Offset;  // unscrolled
  if (S.Left <= R.Area.Left) return Left - R.Area.Left;
  if (S.Right >= R.Area.Right) return Left + R.ItemWidth + R.Area.Left - ControlWidth + 1;
  return R.Offset;
}

Integer HorzPullBack(const TspHorzRow& R) {
  const Integer RealMax = HorzRealMax(R);
  if (R.Area.Right >= RealMax && R.Offset > 0) return std::max(0, R.Offset - (R.Area.Right - RealMax));
  return R.Offset;
}

Integer HorzFindUp(const std::vector<bool>& Enabled, Integer ItemIndex) {
  if (ItemIndex <= 0) return -1;
  for (Integer I = std::min<Integer>(ItemIndex, Integer(Enabled.size())) - 1; I >= 0; --I)
    if (Enabled[size_t(I)]) return I;
  return -1;
}

Integer HorzFindDown(const std::vector<bool>& Enabled, Integer ItemIndex) {
  for (Integer I = ItemIndex < 0 ? 0 : ItemIndex + 1; I < Integer(Enabled.size()); ++I)
    if (Enabled[size_t(I)]) return I;
  return -1;
}

Integer HorzFindPageUp(const std::vector<bool>& Enabled, Integer ItemIndex, Integer Page) {
  if (ItemIndex <= 0) return -1;
  Page = std::max(1, Page);
  const Integer From = std::min<Integer>(ItemIndex - 1, Integer(Enabled.size()) - 1);
  const Integer To = std::max(ItemIndex - 1 - Page, 0);
  Integer Found = -1;
  for (Integer I = From; I >= To; --I)
    if (Enabled[size_t(I)]) Found = I;
  return Found;
}

Integer HorzFindPageDown(const std::vector<bool>& Enabled, Integer ItemIndex, Integer Page) {
  const Integer First = ItemIndex < 0 ? 0 : ItemIndex + 1;
  const Integer Last = Integer(Enabled.size()) - 1;
  if (First > Last) return -1;
  Page = std::max(1, Page);
  const Integer To = std::min(First + Page, Last);
  for (Integer I = To; I >= First; --I)
    if (Enabled[size_t(I)]) return I;
  return -1;
}
