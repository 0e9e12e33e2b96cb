#include "skin/controls/SkinCtrlGeometry.h"

#include "skin/data/SpLayout.h"

Integer CalcResizeMode(const TRect& SkinRect, const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt,
                       const TPoint& RBPt) {
  (void)LTPt;
  if (SkinRect.Width() <= 0 || SkinRect.Height() <= 0) return -1;
  if (RBPt.X != 0 && RBPt.Y != 0) return 1;
  if (RTPt.X != 0 || RTPt.Y != 0) return 2;
  if (LBPt.X != 0 || LBPt.Y != 0) return 3;
  return 0;
}

void CalcSkinSize(TspSkinGeometry& G, bool Skinned, Integer& AWidth, Integer& AHeight) {
  const Integer dW = AWidth - G.SkinRect.Width();
  const Integer dH = AHeight - G.SkinRect.Height();
  if (G.ResizeMode > 0) {
    G.NewLTPoint = G.LTPt;
    switch (G.ResizeMode) {
      case 1:
        G.NewRTPoint = TPoint(G.RTPt.X + dW, G.RTPt.Y);
        G.NewLBPoint = TPoint(G.LBPt.X, G.LBPt.Y + dH);
        G.NewRBPoint = TPoint(G.RBPt.X + dW, G.RBPt.Y + dH);
        G.NewClRect = TRect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + dW, G.ClRect.Bottom + dH);
        break;
      case 2:
        AHeight = G.SkinRect.Height();
        G.NewRTPoint = TPoint(G.RTPt.X + dW, G.RTPt.Y);
        G.NewClRect = TRect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + dW, G.ClRect.Bottom);
        break;
      case 3:
        AWidth = G.SkinRect.Width();
        G.NewLBPoint = TPoint(G.LBPt.X, G.LBPt.Y + dH);
        G.NewClRect = TRect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right, G.ClRect.Bottom + dH);
        break;
    }
  } else if (G.ResizeMode == 0 && Skinned) {
    AWidth = G.SkinRect.Width();
    AHeight = G.SkinRect.Height();
    G.NewClRect = G.ClRect;
  }
}

TRect FreeSizeClientRect(const TRect& ClRect, const TRect& SkinRect, Integer AWidth, Integer AHeight) {
  return TRect(ClRect.Left, ClRect.Top, ClRect.Right + (AWidth - SkinRect.Width()),
               ClRect.Bottom + (AHeight - SkinRect.Height()));
}

namespace {

TRect Offset(const TRect& R, Integer DX, Integer DY) {
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

}  // namespace

TRect MapSkinRect(const TspSkinGeometry& G, Integer Width, Integer Height, const TRect& R) {
  const Integer dW = Width - G.SkinRect.Width();
  const Integer dH = Height - G.SkinRect.Height();
  const Integer SW = G.SkinRect.Width(), SH = G.SkinRect.Height();
  TRect Res = R;
  switch (G.ResizeMode) {
    case 1: {
      const TRect LT(0, 0, G.LTPt.X, G.LTPt.Y);
      const TRect LB(0, G.LBPt.Y, G.LBPt.X, SH);
      const TRect RT(G.RTPt.X, 0, SW, G.RTPt.Y);
      const TRect RB(G.RBPt.X, G.RBPt.Y, SW, SH);
      if (RectInsideRect(R, LT)) return Res;
      if (RectInsideRect(R, RT)) return Offset(R, dW, 0);
      if (RectInsideRect(R, LB)) return Offset(R, 0, dH);
      if (RectInsideRect(R, RB)) return Offset(R, dW, dH);
      const TPoint TL = R.TopLeft(), BR = R.BottomRight();
      if (PointWithinRect(LT, TL) && PointWithinRect(RB, BR)) {
        Res.Right += dW;
        Res.Bottom += dH;
      } else if (PointWithinRect(LT, TL) && PointWithinRect(RT, BR)) {
        Res.Right += dW;
      } else if (PointWithinRect(LB, TL) && PointWithinRect(RB, BR)) {
        Res.Right += dW;
        Res.Top += dH;
        Res.Bottom += dH;
      } else if (PointWithinRect(LT, TL) && PointWithinRect(LB, BR)) {
        Res.Bottom += dH;
      } else if (PointWithinRect(RT, TL) && PointWithinRect(RB, BR)) {
        Res.Left += dW;
        Res.Right += dW;
        Res.Bottom += dH;
      }
      return Res;
    }
    case 2:
      if (R.Left <= G.LTPt.X && R.Right >= G.RTPt.X)
        Res.Right += dW;
      else if (R.Left >= G.RTPt.X && R.Right > G.RTPt.X)
        Res = Offset(R, dW, 0);
      return Res;
    case 3:
      if (R.Top <= G.LTPt.Y && R.Bottom >= G.LBPt.Y)
        Res.Bottom += dH;
      else if (R.Top >= G.LBPt.Y && R.Bottom > G.LBPt.Y)
        Res = Offset(R, 0, dH);
      return Res;
  }
  return Res;
}

// ---------------------------------------------------------------------------

TspButtonImage ChoosePushButtonImage(const TspPushButtonLook& L) {
  if (!L.Enabled && L.HasDisabledRect) return biDisabled;
  if (L.PressedLook) return biDown;
  if (L.Focused && L.HasFocusedRect && !L.AnimationRunning) return biFocused;
  if (L.Focused || L.MouseIn) return biActive;
  if (L.MorphPossible && L.MorphKf == 1) return biActive;
  return biNormal;
}

TspButtonImage ChooseSpeedButtonImage(bool Enabled, bool HasDisabledRect, bool PressedLook, bool MouseIn,
                                      bool MorphActive, double MorphKf) {
  if (!Enabled && HasDisabledRect) return biDisabled;
  if (PressedLook) return biDown;
  if (MouseIn || (MorphActive && MorphKf == 1)) return biActive;
  return biNormal;
}

Integer ButtonGlyphNumber(bool Down, bool MouseIn, bool Enabled, Integer NumGlyphs) {
  if (Down && MouseIn && NumGlyphs > 2) return 3;
  if (MouseIn && NumGlyphs > 3) return 4;
  if (!Enabled && NumGlyphs > 1) return 2;
  return 1;
}

bool MorphTick(double& Kf, bool Active) {
  if (Active && Kf < 1) {
    Kf += 0.2;
    return true;
  }
  if (!Active && Kf > 0) {
    Kf -= 0.2;
    return true;
  }
  Kf = Active ? 1 : 0;
  return false;
}

bool AnimationTick(Integer& Frame, bool Forward, Integer FrameCount, bool& Repaint) {
  if (Forward) {
    Repaint = Frame <= FrameCount;
    if (Repaint) ++Frame;
    return Frame <= FrameCount;
  }
  Repaint = Frame >= 0;
  if (Repaint) --Frame;
  return Frame > 0;
}

bool FrameAnimationUsable(const TRect& AnimateSkinRect, Integer FrameCount, Integer AnimateInterval) {
  return !RectIsEmpty(AnimateSkinRect) && FrameCount >= 1 && AnimateInterval >= 1;
}

TRect AnimationFrameRect(const TRect& AnimateSkinRect, const TRect& SkinRect, Integer FrameCount, Integer Frame) {
  if (FrameCount < 1) return TRect();
  const TRect& A = AnimateSkinRect;
  if (A.Width() > SkinRect.Width()) {
    const Integer FW = A.Width() / FrameCount;
    return TRect(A.Left + (Frame - 1) * FW, A.Top, A.Left + Frame * FW, A.Bottom);
  }
  const Integer FH = A.Height() / FrameCount;
  return TRect(A.Left, A.Top + (Frame - 1) * FH, A.Right, A.Top + Frame * FH);
}

// ---------------------------------------------------------------------------

bool IsToolLookName(const String& SkinDataName) {
  return SkinDataName == u"resizebutton" || SkinDataName == u"resizetoolbutton" || SkinDataName == u"toolbutton" ||
         SkinDataName == u"bigtoolbutton";
}

TRect DropDownPartRect(bool UseTrackRect, const TRect& TrackButtonRect, Integer ResizeMode, const TRect& SkinRect,
                       bool Bottom, Integer Width, Integer Height) {
  if (UseTrackRect) {
    if (ResizeMode == 2) return Offset(TrackButtonRect, Width - SkinRect.Width(), 0);
    if (ResizeMode == 3) return Offset(TrackButtonRect, 0, Height - SkinRect.Height());
    return TrackButtonRect;
  }
  if (Bottom) return TRect(0, Height - DropDownPartSize, Width, Height);
  return TRect(Width - DropDownPartSize, 0, Width, Height);
}

bool ArrowModeTriangle(Integer ArrowMode, Integer Width, Integer Height, Integer TextWidth, TPoint (&P)[3]) {
  if (ArrowMode <= 0) return false;
  const Integer D = Width - TextWidth;
  const Integer X = D >= 40 ? TextWidth + D / 2 + 10 : Width - D / 4 - 3;
  if (ArrowMode == 1) {
    const Integer Y = Height / 2 + 1;
    P[0] = TPoint(X, Y);
    P[1] = TPoint(X + 6, Y);
    P[2] = TPoint(X + 3, Y - 3);
  } else {
    const Integer Y = Height / 2 - 2;
    P[0] = TPoint(X, Y);
    P[1] = TPoint(X + 6, Y);
    P[2] = TPoint(X + 3, Y + 3);
  }
  return true;
}

// ---------------------------------------------------------------------------

TRect PanelClientRect(const TspPanelFrame& P, const TRect& Rect) {
  TRect R = Rect;
  if (P.Skinned && P.TransparentMode) {
    return TRect(2, P.CaptionMode ? P.CaptionTextHeight : 2, P.Width - 2, P.Height - 2);
  }
  if (!P.Skinned) {
    if (!P.BorderNone) R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    if (P.CaptionMode) {
      if (P.RibbonStyle)
        R.Bottom -= P.DefaultCaptionHeight;
      else
        R.Top += P.DefaultCaptionHeight;
    }
    return R;
  }
  const bool BorderlessTiled = P.BorderNone && !P.CaptionMode && P.ResizeMode == 1;
  if (!P.HasBackgroundPicture && !BorderlessTiled) R = P.NewClRect;
  if (!P.UseSkinSize && P.CaptionMode) {
    if (P.RibbonStyle)
      R.Bottom = Rect.Bottom - P.DefaultCaptionHeight;
    else
      R.Top = Rect.Top + P.DefaultCaptionHeight;
  }
  return R;
}

TspPanelPaintPath PanelPaintPath(const TspPanelFrame& P) {
  if (P.Skinned && !P.UseSkinSize && !P.TransparentMode && P.CaptionMode) return ppCaptionStrip;
  if (P.Skinned && P.TransparentMode) return P.CaptionMode ? ppGroupBox : ppTransparent;
  if (!P.Skinned || (!P.ForceBackground && P.StretchEffect)) return ppBase;
  if (P.BorderNone && P.ResizeMode == 1 && !P.CaptionMode && P.ForceBackground && !P.AlphaBlend) return ppBorderless;
  return ppSkinned;
}

TRect PanelCaptionStripRect(bool BorderFrame, bool RibbonStyle, Integer Width, Integer Height,
                            Integer DefaultCaptionHeight) {
  const Integer DCH = DefaultCaptionHeight;
  if (BorderFrame) return RibbonStyle ? TRect(0, Height - DCH, Width, Height) : TRect(0, 0, Width, DCH);
  return RibbonStyle ? TRect(1, Height - DCH - 1, Width - 1, Height - 1) : TRect(1, 1, Width - 1, DCH);
}

Integer PanelCaptionTextX(const TRect& R, TAlignment Align, Integer W, Integer Indent) {
  switch (Align) {
    case taRightJustify:
      return R.Right - W;
    case taCenter:
      return R.Width() / 2 + R.Left + Indent - W / 2;
    default:
      return R.Left + Indent;
  }
}

// ---------------------------------------------------------------------------

TRect FlatCheckTextRect(Integer Left, Integer TextWidth, Integer TextHeight, Integer Width, Integer Height) {
  const Integer Top = Height / 2 - TextHeight / 2;
  TRect T(Left, Top, Left + TextWidth, Top + TextHeight);
  if (T.Right > Width - 2) T.Right = Width - 2;
  return T;
}

TspCheckImage ChooseCheckImage(bool Enabled, bool MouseIn, bool Checked, bool Grayed) {
  const bool Check = Checked || Grayed;
  if (!Enabled) return Check ? ciUnEnabledCheck : ciUnEnabledUnCheck;
  if (MouseIn) return Check ? ciActiveCheck : ciActiveUnCheck;
  return Check ? ciCheck : ciUnCheck;
}

// ---------------------------------------------------------------------------

void BevelLines(Integer Shape, bool DividerMode, Integer W, Integer H, std::vector<TspBevelLine>& Lines) {
  Lines.clear();
  auto Outline = [&](Integer C1, Integer C2, Integer L, Integer T, Integer R, Integer B) {
    Lines.push_back({{TPoint(L, B), TPoint(L, T), TPoint(R, T)}, C1});
    Lines.push_back({{TPoint(R, T), TPoint(R, B), TPoint(L, B)}, C2});
  };
  auto Line = [&](Integer C, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Lines.push_back({{TPoint(X1, Y1), TPoint(X2, Y2)}, C});
  };
  enum { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
  if (DividerMode) {
    if (Shape == TopLine || Shape == BottomLine)
      Outline(1, 2, 2, H / 2 - 1, W - 2, H / 2);
    else if (Shape != Spacer)
      Outline(1, 2, W / 2 - 1, 2, W / 2, H - 2);
    return;
  }
  switch (Shape) {
    case Box:
      Outline(1, 2, 0, 0, W - 1, H - 1);
      break;
    case Frame:
      Outline(2, 2, 1, 1, W - 1, H - 1);
      Outline(1, 1, 0, 0, W - 2, H - 2);
      break;
    case TopLine:
      Line(1, 0, 0, W, 0);
      Line(2, 0, 1, W, 1);
      break;
    case BottomLine:
      Line(1, 0, H - 2, W, H - 2);
      Line(2, 0, H - 1, W, H - 1);
      break;
    case LeftLine:
      Line(1, 0, 0, 0, H);
      Line(2, 1, 0, 1, H);
      break;
    case RightLine:
      Line(1, W - 2, 0, W - 2, H);
      Line(2, W - 1, 0, W - 1, H);
      break;
  }
}
