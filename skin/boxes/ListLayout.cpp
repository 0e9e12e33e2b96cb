#include "skin/boxes/ListLayout.h"

#include <algorithm>

namespace {
TRect BoundsOf(Integer L, Integer T, Integer W, Integer H) { return TRect(L, T, W, H); }
}  // namespace

TspListLayout ListBoxLayout(const TspListLayoutIn& In) {
  TspListLayout Out;
  const Integer W = In.Width, H = In.Height;
  const Integer c = In.Skinned ? 0 : (In.CaptionMode ? In.DefaultCaptionHeight : 1);
  const TRect& N = In.NewClRect;
  Integer d = 0;
  if (In.Columns == 0 && In.HBar) {
    if (!In.Skinned) {
      Out.HBarBounds = BoundsOf(1, H - 20, W - 2, 19);
      d = 19 - 1;
    } else {
      Out.HBarBounds = BoundsOf(N.Left, N.Bottom - In.HBarHeight, N.Width(), In.HBarHeight);
      d = In.HBarHeight;
    }
  }
  if (In.MainBar) {
    const Integer BW = In.MainBarWidth;
    if (!In.Skinned) {
      if (In.Columns == 0) {
        Out.MainBarBounds = BoundsOf(W - 20, c, 19, H - 1 - c - d);
        Out.ListRect = TRect(2, c + 1, W - 20, H - 2 - d);
      } else {
        Out.MainBarBounds = BoundsOf(1, H - 20, W - 2, 19);
        Out.ListRect = TRect(2, c + 1, W - 2, H - 20);
      }
    } else if (In.Columns == 0) {
      Out.MainBarBounds = BoundsOf(N.Right - BW, N.Top, BW, N.Height() - d);
      Out.ListRect = TRect(N.Left, N.Top, N.Right - BW, N.Bottom - d);
    } else {
      Out.MainBarBounds = BoundsOf(N.Left, N.Bottom - BW, N.Width(), BW);
      Out.ListRect = TRect(N.Left, N.Top, N.Right, N.Bottom - BW);
    }
  } else if (!In.Skinned) {
    Out.ListRect = TRect(2, c + 1, W - 2, H - 2 - d);
  } else {
    Out.ListRect = TRect(N.Left, N.Top, N.Right, N.Bottom - d);
  }
  return Out;
}

Integer ListCalcHeight(Integer Rows, Integer ItemHeight, bool Skinned, bool CaptionMode, Integer CaptionHeight,
                       Integer SkinHeight, Integer SkinClientHeight, Integer HBarHeight) {
  Integer H;
  if (!Skinned)
    H = Rows * ItemHeight + 4 + (CaptionMode ? CaptionHeight : 0);
  else
    H = SkinHeight + Rows * ItemHeight - SkinClientHeight;
  return H + HBarHeight;
}

TspListBarState ListVerticalBar(Integer NativeMin, Integer NativeMax, Integer NativePos, Integer ListHeight,
                                Integer ItemHeight, Integer Count, Integer RowCount) {
  TspListBarState S;
  if (RowCount > 0 && RowCount == Count) return S;
  const Integer Page = ItemHeight > 0 ? ListHeight / ItemHeight : 0;
  if (NativeMax > NativeMin && NativePos <= NativeMax && Page < Count) {
    S.Needed = true;
    S.Min = NativeMin;
    S.Max = NativeMax;
    S.Position = NativePos;
    S.Page = Page;
  }
  return S;
}

TspListBarState ListColumnsBar(Integer NativeMin, Integer NativeMax, Integer NativePos, Integer ListHeight,
                               Integer ItemHeight, Integer Count, Integer Columns) {
  TspListBarState S;
  const Integer Rows = ItemHeight > 0 ? ListHeight / ItemHeight : 0;
  if (NativeMax > NativeMin && NativePos <= NativeMax && Columns <= NativeMax && Rows * Columns < Count) {
    S.Needed = true;
    S.Min = NativeMin;
    S.Max = NativeMax;
    S.Position = NativePos;
    S.Page = Columns;
  }
  return S;
}

Integer ListVisibleTextWidth(Integer ListWidth, bool Skinned, Integer ItemTextWidth, Integer SItemWidth,
                             Integer ImagesWidth) {
  Integer V = Skinned ? ListWidth + ItemTextWidth - SItemWidth : ListWidth - 4;
  if (ImagesWidth > 0) V -= ImagesWidth + 4;
  return V;
}

Integer ListOffsetAfterResize(Integer Offset, Integer OldWidth, Integer NewWidth) {
  if (Offset < 1 || OldWidth == NewWidth) return Offset;
  return std::max(0, Offset + (OldWidth - NewWidth));
}

TspListPaintRange ListPaintRange(Integer TopIndex, Integer ListHeight, Integer ItemHeight, Integer Columns,
                                 Integer Count) {
  TspListPaintRange R;
  if (ItemHeight <= 0 || Count <= 0 || TopIndex < 0 || TopIndex >= Count) return R;
  Integer Rows = ListHeight / ItemHeight;
  if (Columns > 0) Rows *= Columns;
  R.First = TopIndex;
  R.Last = std::min(Count - 1, TopIndex + Rows - 1);
  return R;
}

std::vector<Integer> ListTabStops(const std::vector<String>& Lines) {
  std::vector<Integer> Stops;
  for (size_t I = 0; I < Lines.size() && I < 10; ++I) {
    const String& S = Lines[I];
    Int64 V = 0;
    bool Digits = !S.empty();
    for (char16_t Ch : S) {
      if (Ch < u'0' || Ch > u'9') {
        Digits = false;
        break;
      }
      V = V * 10 + (Ch - u'0');
      if (V > 0x7FFFFFFF) {
        Digits = false;
        break;
      }
    }
    Stops.push_back(Digits ? static_cast<Integer>(V) : 0);
  }
  return Stops;
}

std::vector<Integer> ListTabStops(const TStrings& Lines) {
  std::vector<String> V;
  for (Integer I = 0; I < Lines.Count() && I < 10; ++I) V.push_back(Lines.Strings(I));
  return ListTabStops(V);
}

TspListCaptionButtons ListDefaultCaptionButtons(Integer Width, Integer CaptionHeight) {
  const Integer a = std::min(CaptionHeight - 3, 17);
  TspListCaptionButtons B;
  B.Up = TRect(Width - a - 2, 2, Width - 2, a + 1);
  B.Down = TRect(B.Up.Left - a, 2, B.Up.Left, a + 1);
  B.Check = TRect(B.Down.Left - a, 2, B.Down.Left, a + 1);
  return B;
}
