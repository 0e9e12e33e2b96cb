// The frame geometry rules of skinned forms.
#include "skin/form/FormGeometry.h"

#include <cstdlib>

bool FrameSkinResizable(const TspSkinFormInfo& S) {
  return S.RBPoint.X != S.LTPoint.X && S.RBPoint.Y != S.LTPoint.Y;
}

void CalcFrameRects(const TspFrameSkin& S, Integer W, Integer H, TspFrameRects& R, bool& ButtonsInLeft) {
  const TspSkinFormInfo& I = *S.Info;
  const Integer dW = W - S.PW, dH = H - S.PH;
  R.W = W;
  R.H = H;
  R.NewLTPoint = I.LTPoint;
  R.NewRTPoint = TPoint(I.RTPoint.X + dW, I.RTPoint.Y);
  R.NewLBPoint = TPoint(I.LBPoint.X, I.LBPoint.Y + dH);
  R.NewRBPoint = TPoint(I.RBPoint.X + dW, I.RBPoint.Y + dH);
  R.NewClRect = TRect(I.ClRect.Left, I.ClRect.Top, I.ClRect.Right + dW, I.ClRect.Bottom + dH);
  R.NewCaptionRect = I.CaptionRect;
  if (!RectIsEmpty(I.CaptionRect)) R.NewCaptionRect.Right += dW;
  R.NewButtonsRect = I.ButtonsRect;
  R.NewButtonsInLeft = I.CapButtonsInLeft;
  if (!RectIsEmpty(I.ButtonsRect)) {
    if (S.PW / 2 < I.ButtonsRect.Left) {
      R.NewButtonsRect.Left += dW;
      R.NewButtonsRect.Right += dW;
    } else if (I.ButtonsRect.Left < S.PW / 2) {
      ButtonsInLeft = true;
    }
  }
  R.NewButtonsOffset = I.ButtonsOffset;
  R.NewHitTestLTPoint = I.HitTestLTPoint;
  R.NewHitTestRTPoint = TPoint(I.HitTestRTPoint.X + dW, I.HitTestRTPoint.Y);
  R.NewHitTestLBPoint = TPoint(I.HitTestLBPoint.X, I.HitTestLBPoint.Y + dH);
  R.NewHitTestRBPoint = TPoint(I.HitTestRBPoint.X + dW, I.HitTestRBPoint.Y + dH);
  R.NewMaskRectArea =
      TRect(I.MaskRectArea.Left, I.MaskRectArea.Top, I.MaskRectArea.Right + dW, I.MaskRectArea.Bottom + dH);
  R.NewIconRect = MapFrameRect(S, R, I.IconRect);
  R.NewMainMenuRect = I.MainMenuRect;
  if (FrameSkinResizable(I)) {
    R.NewMainMenuRect.Right += dW;
    if (PointInRect(TRect(0, I.LBPoint.Y, I.LBPoint.X, S.PH), I.MainMenuRect.TopLeft())) {
      R.NewMainMenuRect.Top += dH;
      R.NewMainMenuRect.Bottom += dH;
    }
  }
}

TRect MapFrameRect(const TspFrameSkin& S, const TspFrameRects& R, const TRect& Rect) {
  const TspSkinFormInfo& I = *S.Info;
  const TRect LT(0, 0, I.LTPoint.X, I.LTPoint.Y);
  const TRect LB(0, I.LBPoint.Y, I.LBPoint.X, S.PH);
  const TRect RT(I.RTPoint.X, 0, S.PW, I.RTPoint.Y);
  const TRect RB(I.RBPoint.X, I.RBPoint.Y, S.PW, S.PH);
  if (RectIsEmpty(LT) && RectIsEmpty(LB) && RectIsEmpty(RT) && RectIsEmpty(RB)) return Rect;
  const Integer dX = R.NewRBPoint.X - I.RBPoint.X, dY = R.NewRBPoint.Y - I.RBPoint.Y;
  TRect Out = Rect;
  auto Move = [&](Integer X, Integer Y) {
    Out.Left += X;
    Out.Right += X;
    Out.Top += Y;
    Out.Bottom += Y;
  };
  if (RectInsideRect(Rect, LT)) return Out;
  if (RectInsideRect(Rect, RT)) {
    Move(dX, 0);
    return Out;
  }
  if (RectInsideRect(Rect, LB)) {
    Move(0, dY);
    return Out;
  }
  if (RectInsideRect(Rect, RB)) {
    Move(dX, dY);
    return Out;
  }
  const TPoint TL = Rect.TopLeft(), BR = Rect.BottomRight();
  if (PointInRect(LT, TL) && PointInRect(RB, BR)) {
    Out.Right += dX;
    Out.Bottom += dY;
  } else if (PointInRect(LT, TL) && PointInRect(RT, BR)) {
    Out.Right += dX;
  } else if (PointInRect(LB, TL) && PointInRect(RB, BR)) {
    Out.Right += dX;
    Move(0, dY);
  } else if (PointInRect(LT, TL) && PointInRect(LB, BR)) {
    Out.Bottom += dY;
  } else if (PointInRect(RT, TL) && PointInRect(RB, BR)) {
    Move(dX, 0);
    Out.Bottom += dY;
  }
  return Out;
}

TRect MapFrameAreaRect(const TspFrameSkin& S, const TspFrameRects& R, const TRect& Rect, bool UseAnchors,
                       bool AnchorLeft, bool AnchorTop, bool AnchorRight, bool AnchorBottom) {
  if (!UseAnchors) return MapFrameRect(S, R, Rect);
  const Integer dX = R.NewRBPoint.X - S.Info->RBPoint.X, dY = R.NewRBPoint.Y - S.Info->RBPoint.Y;
  TRect Out = Rect;
  if (AnchorBottom) {
    if (!AnchorTop) Out.Top += dY;
    Out.Bottom += dY;
  }
  if (AnchorRight) {
    if (!AnchorLeft) Out.Left += dX;
    Out.Right += dX;
  }
  return Out;
}

Integer DefaultFrameHitTest(TPoint P, Integer W, Integer H, bool Sizing, bool ObjectHot, const TRect& CaptionRect,
                            Integer CaptionHeight) {
  if (Sizing) {
    if (ObjectHot) return spHTOBJECT;
    const bool L = P.X <= 2, T = P.Y <= 2, R = P.X >= W - 2, B = P.Y >= H - 2;
    if (L && T) return spHTTOPLEFT;
    if (R && T) return spHTTOPRIGHT;
    if (L && B) return spHTBOTTOMLEFT;
    if (R && B) return spHTBOTTOMRIGHT;
    if (L) return spHTLEFT;
    if (T) return spHTTOP;
    if (R) return spHTRIGHT;
    if (B) return spHTBOTTOM;
  }
  if (PointInRect(CaptionRect, P)) return spHTCAPTION;
  if (PointInRect(TRect(3, CaptionHeight + 3, W - 3, H - 3), P)) return spHTCLIENT;
  return spHTOBJECT;
}

Integer FrameSizingZone(TPoint P, const TspFrameRects& R) {
  if (P.X <= R.NewHitTestLTPoint.X && P.Y <= R.NewHitTestLTPoint.Y) return spHTTOPLEFT;
  if (P.X >= R.NewHitTestRTPoint.X && P.Y <= R.NewHitTestRTPoint.Y) return spHTTOPRIGHT;
  if (P.X <= R.NewHitTestLBPoint.X && P.Y >= R.NewHitTestLBPoint.Y) return spHTBOTTOMLEFT;
  if (P.X >= R.NewHitTestRBPoint.X && P.Y >= R.NewHitTestRBPoint.Y) return spHTBOTTOMRIGHT;
  if (PointInRect(TRect(R.NewHitTestLTPoint.X, 0, R.NewHitTestRTPoint.X, R.NewClRect.Top), P)) return spHTTOP;
  if (PointInRect(TRect(R.NewHitTestLBPoint.X, R.NewClRect.Bottom, R.NewHitTestRBPoint.X, R.H), P)) return spHTBOTTOM;
  if (PointInRect(TRect(0, R.NewHitTestLTPoint.Y, R.NewClRect.Left, R.NewHitTestLBPoint.Y), P)) return spHTLEFT;
  if (PointInRect(TRect(R.NewClRect.Right, R.NewHitTestRTPoint.Y, R.W, R.NewHitTestRBPoint.Y), P)) return spHTRIGHT;
  return 0;
}

bool PointInMaskShape(TPoint P, const TspMaskShape& M) {
  if (P.X < 0 || P.Y < 0 || P.X >= M.W || P.Y >= M.H) return false;
  const TRect& A = M.MaskRect;
  if (PointInRect(A, P)) return true;
  auto Read = [&](TspMaskStrip S, Integer X, Integer Y) {
    if (X < 0 || Y < 0 || X >= M.Strip[S].X || Y >= M.Strip[S].Y) return false;
    return M.Black ? M.Black(S, X, Y) : false;
  };
  // Each strip holds the rows (columns) strictly before its inner edge.
  if (P.Y < A.Top) return Read(msTop, P.X, P.Y);
  if (P.Y >= A.Bottom) return Read(msBottom, P.X, P.Y - A.Bottom);
  if (P.X < A.Left) return Read(msLeft, P.X, P.Y - A.Top);
  return Read(msRight, P.X - A.Right, P.Y - A.Top);
}

bool NearFrameEdge(TPoint P, Integer B, const TspMaskShape* Mask) {
  const TPoint Probes[4] = {TPoint(P.X - B, P.Y), TPoint(P.X, P.Y - B), TPoint(P.X + B, P.Y), TPoint(P.X, P.Y + B)};
  if (!Mask) return false;
  if (!Mask->Black) {
    const TRect Win(0, 0, Mask->W, Mask->H);
    for (const TPoint& Q : Probes)
      if (!PointInRect(Win, Q)) return true;
    return false;
  }
  if (PointInRect(Mask->MaskRect, P)) return false;
  for (const TPoint& Q : Probes)
    if (!PointInMaskShape(Q, *Mask)) return true;
  return false;
}

TPoint FindMinimizedPlace(const TRect& Area, Integer w, Integer h, const std::function<bool(TPoint)>& Taken) {
  const Integer StepX = w > 0 ? w : 1, StepY = h > 0 ? h : 1;
  TPoint P(Area.Left, Area.Bottom - h);
  while (Taken(P)) {
    P.X += StepX;
    if (P.X + w > Area.Right) {
      P.X = Area.Left;
      P.Y -= StepY;
    }
    if (P.Y < Area.Top) {
      P.Y = Area.Bottom - h;
      break;
    }
  }
  return P;
}

void SnapToArea(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight, const TRect& R, Integer M,
                TPoint Cursor, TspSnapState& S, const Integer* Border) {
  if (Border) {
    ALeft -= Border[0];
    ATop -= Border[1];
    AWidth += Border[0] + Border[2];
    AHeight += Border[1] + Border[3];
  }
  const bool NearLeft = R.Left - M < ALeft && ALeft < R.Left + M;
  const bool NearTop = R.Top - M < ATop && ATop < R.Top + M;
  if (NearLeft && !S.HMagnetized) {
    ALeft = R.Left;
    S.MouseDownCoord.X = Cursor.X;
  } else if (S.HMagnetized) {
    if (std::abs(Cursor.X - S.MouseDownCoord.X) > M)
      ALeft = Cursor.X + R.Left - S.MouseDownCoord.X;
    else
      ALeft = R.Left;
  }
  S.HMagnetized = NearLeft;
  if (NearTop && !S.VMagnetized) {
    ATop = R.Top;
    S.MouseDownCoord.Y = Cursor.Y;
  } else if (S.VMagnetized) {
    if (std::abs(Cursor.Y - S.MouseDownCoord.Y) > M)
      ATop = Cursor.Y + R.Top - S.MouseDownCoord.Y;
    else
      ATop = R.Top;
  }
  S.VMagnetized = NearTop;
  const bool NearRight = R.Right - M < ALeft + AWidth && ALeft + AWidth < R.Right + M;
  const bool NearBottom = R.Bottom - M < ATop + AHeight && ATop + AHeight < R.Bottom + M;
  // On a near side the outer rectangle ends flush: the shift back below is
  // skipped there, so the near size loses the far side's border here.
  if (Border) {
    if (NearBottom) AHeight -= Border[1];
    if (NearRight) AWidth -= Border[0];
  }
  if (NearRight && !S.HMagnetized2) {
    ALeft = R.Right - AWidth;
    S.MouseDownCoord.X = Cursor.X;
  } else if (S.HMagnetized2) {
    if (std::abs(Cursor.X - S.MouseDownCoord.X) > M)
      ALeft = Cursor.X + R.Right - AWidth - S.MouseDownCoord.X;
    else
      ALeft = R.Right - AWidth;
  }
  S.HMagnetized2 = NearRight;
  if (NearBottom && !S.VMagnetized2) {
    ATop = R.Bottom - AHeight;
    S.MouseDownCoord.Y = Cursor.Y;
  } else if (S.VMagnetized2) {
    if (std::abs(Cursor.Y - S.MouseDownCoord.Y) > M)
      ATop = Cursor.Y + R.Bottom - AHeight - S.MouseDownCoord.Y;
    else
      ATop = R.Bottom - AHeight;
  }
  S.VMagnetized2 = NearBottom;
  if (Border) {
    if (!NearRight) ALeft += Border[0];
    if (!NearBottom) ATop += Border[1];
  }
}

TPoint CentreInArea(const TRect& R, Integer AW, Integer AH) {
  return TPoint(R.Left + R.Width() / 2 - AW / 2, R.Top + R.Height() / 2 - AH / 2);
}
