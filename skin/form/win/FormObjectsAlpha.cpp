// The frame objects drawn into the 32-bit top image of a form's layered
// border (a full border: the border windows are the frame): the caption
// buttons from their eight alpha images, the caption's text in alpha form.
#include <functional>

#include "skin/data/win/SPUtils.h"
#include "skin/form/win/FormObjects.h"
#include "skin/form/win/FormSkin.h"

namespace {

Byte Chan(TspColor C, Integer Shift) { return Byte((C >> Shift) & 0xFF); }

// Source-over of a premultiplied-style source (as the platform's per-pixel
// alpha blend with constant alpha 255): d := s + d * (255 - sa) / 255.
TspColor BlendOver(TspColor S, TspColor D) {
  const Cardinal SA = Chan(S, 24), K = 255 - SA;
  TspColor R = 0;
  for (Integer Sh : {0, 8, 16, 24}) {
    const Cardinal V = std::min<Cardinal>(255, Chan(S, Sh) + (Chan(D, Sh) * K + 127) / 255);
    R |= V << Sh;
  }
  return R;
}

// Img alpha-blended per pixel onto rectangle R of Target (stretched to it).
void BlendImage(TspBitmap* Target, const TRect& R, TspBitmap* Img) {
  if (!Target || Target->Empty() || !Img || Img->Empty() || RectIsEmpty(R)) return;
  const Integer W = R.Width(), H = R.Height();
  for (Integer Y = 0; Y < H; ++Y) {
    const Integer TY = R.Top + Y, SY = Integer(Int64(Y) * Img->Height() / H);
    if (TY < 0 || TY >= Target->Height()) continue;
    for (Integer X = 0; X < W; ++X) {
      const Integer TX = R.Left + X, SX = Integer(Int64(X) * Img->Width() / W);
      if (TX < 0 || TX >= Target->Width()) continue;
      TspColor* P = Target->GetPixelPtr(TX, TY);
      *P = BlendOver(Img->GetPixel(SX, SY), *P);
    }
  }
}

// One drawing in alpha form over rectangle R of Target: the drawing shows
// opaque, the pixels around it keep the alpha the target had. Paint draws
// with the offset it is given; Mask asks for the drawing in white.
void AlphaForm(TspBitmap* Target, TRect R, const std::function<void(TCanvas*, Integer, Integer, bool)>& Paint) {
  if (!Target || Target->Empty()) return;
  R.Left = std::max(R.Left, 0);
  R.Top = std::max(R.Top, 0);
  R.Right = std::min(R.Right, Target->Width());
  R.Bottom = std::min(R.Bottom, Target->Height());
  if (RectIsEmpty(R)) return;
  const Integer W = R.Width(), H = R.Height();
  TspBitmap B1, B2;
  B1.SetSize(W, H);
  B2.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const TspColor T = Target->GetPixel(R.Left + X, R.Top + Y);
      const Cardinal A = Chan(T, 24);
      *B1.GetPixelPtr(X, Y) = T | 0xFF000000u;
      *B2.GetPixelPtr(X, Y) = 0xFF000000u | (A << 16) | (A << 8) | A;
    }
  Paint(B2.Canvas(), -R.Left, -R.Top, true);
  Paint(B1.Canvas(), -R.Left, -R.Top, false);
  GdiFlush();
  AlphaFromGrayBitmap(&B1, &B2);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) *Target->GetPixelPtr(R.Left + X, R.Top + Y) = B1.GetPixel(X, Y);
}

bool NearKey(TColor C) {
  auto Near = [](Integer A, Integer B) { return A >= B - 5 && A <= B + 5; };
  return Near(GetRValue(C), 0x7F) && Near(GetGValue(C), 0x00) && Near(GetBValue(C), 0x7F);
}

// The caption's quick buttons and divider in alpha form: faces and images
// opaque, the divider with the alpha the border image has under it.
void DrawQuickButtonsAlpha(TspSkinCaptionObject* O, TspBitmap* ABitMap) {
  TspFormSkin* F = O->Parent;
  TspQuickButtonItems* Q = F->QuickButtons();
  TCustomImageList* IL = F->QuickImageList();
  const Integer IW = IL->Width(), IH = IL->Height();
  const TRect& OR = O->ObjectRect;
  const bool Divider = !RectIsEmpty(O->DividerRect);
  if (Divider && O->ActivePicture) {
    const TRect D = (!F->FFormActive && !RectIsEmpty(O->InActiveDividerRect)) ? O->InActiveDividerRect : O->DividerRect;
    const Integer DX = OR.Left + 3, DY = OR.Top + OR.Height() / 2 - D.Height() / 2;
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(D.Width(), D.Height());
    B.Canvas()->CopyRect(TRect(0, 0, D.Width(), D.Height()), O->ActivePicture->Canvas(), D);
    if (O->DividerTransparent) {
      B.SetTransparent(true);
      B.SetTransparentColor(O->DividerTransparentColor);
    }
    AlphaForm(ABitMap, Bounds(DX, DY, D.Width(), D.Height()), [&](TCanvas* C, Integer OX, Integer OY, bool Mask) {
      if (!Mask) C->Draw(DX + OX, DY + OY, &B);
    });
  }
  TspSkinData* S = F->SkinData();
  TspDataSkinButtonControl* Face = nullptr;
  for (const Char* Name : {u"officequickbutton", u"resizetoolbutton"}) {
    const Integer I = S ? S->GetControlIndex(Name) : -1;
    if (I != -1 && !Face) Face = dynamic_cast<TspDataSkinButtonControl*>(static_cast<TObject*>(S->CtrlList->Items(I)));
  }
  TBitmap* FacePicture = nullptr;
  if (Face && Face->PictureIndex >= 0 && Face->PictureIndex < S->FActivePictures->Count())
    FacePicture = static_cast<TBitmap*>(S->FActivePictures->Items(Face->PictureIndex));
  Integer X = OR.Left + (Divider ? O->DividerRect.Width() + 6 : 5);
  const Integer Y = OR.Top + OR.Height() / 2 - IH / 2 - 2;
  for (Integer I = 0; I < Q->Count(); ++I) {
    TspQuickButtonItem* It = Q->Items(I);
    if (!It->Visible()) continue;
    It->ItemRect = TRect(X, Y, X + IW + 4, Y + IH + 4);
    X += IW + 8;
    if (It->ImageIndex() < 0) continue;
    const TRect IR = It->ItemRect;
    TBitmap FaceImg;
    bool HasFace = false;
    if (It->Active && FacePicture) {
      const TRect Src = It->Down ? Face->DownSkinRect : Face->ActiveSkinRect;
      if (!RectIsEmpty(Src)) {
        FaceImg.SetPixelFormat(pf24bit);
        FaceImg.SetSize(IR.Width(), IR.Height());
        CreateClientStretchImage(&FaceImg, FacePicture, Src, Face->ClRect, true);
        HasFace = true;
      }
    }
    // The image over a key colour: what stays near the key is see-through.
    TBitmap Img;
    Img.SetPixelFormat(pf24bit);
    Img.SetSize(IW, IH);
    Img.Canvas()->Brush()->SetColor(0x7F007F);
    Img.Canvas()->FillRect(TRect(0, 0, IW, IH));
    IL->Draw(Img.Canvas(), 0, 0, It->ImageIndex(), It->Enabled());
    AlphaForm(ABitMap, IR, [&](TCanvas* C, Integer OX, Integer OY, bool Mask) {
      if (HasFace) {
        if (Mask) {
          C->Brush()->SetColor(clWhite);
          C->FillRect(TRect(IR.Left + OX, IR.Top + OY, IR.Right + OX, IR.Bottom + OY));
        } else {
          C->Draw(IR.Left + OX, IR.Top + OY, &FaceImg);
        }
      }
      for (Integer PY = 0; PY < IH; ++PY)
        for (Integer PX = 0; PX < IW; ++PX) {
          const TColor Col = Img.Canvas()->Pixels(PX, PY);
          if (NearKey(Col)) continue;
          C->SetPixels(IR.Left + 2 + PX + OX, IR.Top + 2 + PY + OY, Mask ? clWhite : Col);
        }
    });
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Caption buttons

void TspSkinStdButtonObject::InitAlphaImages() {
  auto Build = [this](std::unique_ptr<TspBitmap>& Img, const TRect& R, Integer MaskIndex) {
    Img.reset();
    if (RectIsEmpty(R) || !ActivePicture) return;
    Img = std::make_unique<TspBitmap>();
    Img->SetSize(R.Width(), R.Height());
    // The rectangle of the active picture, opaque.
    TBitmap Part;
    Part.SetPixelFormat(pf24bit);
    Part.SetSize(R.Width(), R.Height());
    Part.Canvas()->CopyRect(TRect(0, 0, R.Width(), R.Height()), ActivePicture->Canvas(), R);
    Img->Assign(&Part);
    TBitmap* Mask = nullptr;
    if (SD && SD->FActivePictures && MaskIndex >= 0 && MaskIndex < SD->FActivePictures->Count())
      Mask = static_cast<TBitmap*>(SD->FActivePictures->Items(MaskIndex));
    if (MaskIndex == -1 || !Mask) {
      // No mask (or one the skin lacks): opaque everywhere.
      Img->SetAlpha(255);
      Img->SetAlphaBlend(true);
      return;
    }
    TspBitmap M;
    M.SetSize(R.Width(), R.Height());
    Mask->Canvas();  // its DC exists
    BitBlt(M.DC(), 0, 0, R.Width(), R.Height(), Mask->Canvas()->Handle(), 0, 0, SRCCOPY);
    AlphaFromGrayBitmapChecked(Img.get(), &M);
  };
  Build(FAlphaNormalImage, SkinRect, AlphaMaskPictureIndex);
  Build(FAlphaActiveImage, ActiveSkinRect, AlphaMaskActivePictureIndex);
  Build(FAlphaDownImage, DownRect, AlphaMaskActivePictureIndex);
  Build(FAlphaRestoreNormalImage, RestoreRect, AlphaMaskPictureIndex);
  Build(FAlphaRestoreActiveImage, RestoreActiveRect, AlphaMaskActivePictureIndex);
  Build(FAlphaRestoreDownImage, RestoreDownRect, AlphaMaskActivePictureIndex);
  Build(FAlphaInActiveImage, InActiveSkinRect, AlphaMaskInActivePictureIndex);
  Build(FAlphaInActiveRestoreImage, RestoreInActiveRect, AlphaMaskInActivePictureIndex);
}

void TspSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) {
  if (!ABitMap || ABitMap->Empty()) return;
  if (Command == cmSysMenu && Parent->ShowIcon()) {
    if (Parent->IsAlphaIcon) {
      Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
      return;
    }
    Integer W = GetSystemMetrics(SM_CXSMICON), H = GetSystemMetrics(SM_CYSMICON);
    TspBitmap B;
    B.SetSize(W, H);
    B.Clear(TransparentKeyColor);
    Parent->DrawFormIcon(B.Canvas(), 0, 0);
    GdiFlush();
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        const TspColor C = B.GetPixel(X, Y) & 0x00FFFFFFu;
        const Integer TX = ObjectRect.Left + X, TY = ObjectRect.Top + Y;
        if (C == TransparentKeyColor || TX < 0 || TY < 0 || TX >= ABitMap->Width() || TY >= ABitMap->Height())
          continue;
        *ABitMap->GetPixelPtr(TX, TY) = C | 0xFF000000u;
      }
    return;
  }
  const bool Restore = IsRestoreState();
  auto Pick = [&](const std::unique_ptr<TspBitmap>& Plain, const std::unique_ptr<TspBitmap>& Rest) {
    return (Restore && Rest) ? Rest.get() : Plain.get();
  };
  TspBitmap* Img;
  if (Parent->FFormActive || RectIsEmpty(InActiveSkinRect)) {
    if (FDown && !RectIsEmpty(DownRect) && (Command == cmSysMenu || Active))
      Img = Pick(FAlphaDownImage, FAlphaRestoreDownImage);
    else if (Active && !RectIsEmpty(ActiveSkinRect))
      Img = Pick(FAlphaActiveImage, FAlphaRestoreActiveImage);
    else
      Img = Pick(FAlphaNormalImage, FAlphaRestoreNormalImage);
  } else {
    Img = Pick(FAlphaInActiveImage, FAlphaInActiveRestoreImage);
  }
  if (!Img) return;
  GdiFlush();
  BlendImage(ABitMap, ObjectRect, Img);
}

// ---------------------------------------------------------------------------
// Caption

void TspSkinCaptionObject::DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) {
  if (!ABitMap || ABitMap->Empty()) return;
  TRect TR(0, 0, ObjectRect.Width(), ObjectRect.Height());
  if (QuickButtonsShown()) {
    const Integer N = Parent->QuickButtons()->Count();
    const Integer IW = Parent->QuickImageList()->Width();
    TR.Left += RectIsEmpty(DividerRect) ? N * (IW + 8) + 5 : DividerRect.Width() + N * (IW + 8) + 6;
    DrawQuickButtonsAlpha(this, ABitMap);
  }
  if (VistaGlowEffect) {
    TR.Left += 3;
    TR.Right -= 6;
  } else if (GlowEffect) {
    TR.Left += 3;
    TR.Right -= 3;
  }
  Active = Parent->FFormActive;
  const bool A = Active;
  if (Parent->OnCaptionPaint) {
    Parent->OnCaptionPaint(Cnvs, ObjectRect, A);
    return;
  }
  TspSkinData* S = Parent->SkinData();
  auto SetFont = [&](TFont* F, TColor Color) {
    if (Parent->FUseSkinFontInCaption) {
      F->SetName(FontName);
      F->SetStyle(FontStyle);
      F->SetHeight(FontHeight);
    } else {
      F->Assign(Parent->DefCaptionFont());
    }
    F->SetColor(Color);
    if (S && S->ResourceStrData())
      F->SetCharset(S->ResourceStrData()->CharSet());
    else
      F->SetCharset(Parent->DefCaptionFont()->Charset());
  };
  const TColor FontCol = A ? ActiveFontColor : FontColor;
  SetFont(Cnvs->Font(), FontCol);
  String Text = Parent->FormCaptionText();
  if (Text.empty() || RectIsEmpty(TR)) return;
  EllipsizeWideText(Cnvs, Text, TR.Width());
  TRect M(0, 0, 0, 0);
  DrawWideText(Cnvs, Text, M, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const Integer W = M.Width(), H = M.Height();
  const TPoint Pos = CaptionTextPos(TR, W, H, Alignment, QuickButtonsShown(), Cnvs->Font()->Height());
  const Integer X = Pos.X + ObjectRect.Left, Y = Pos.Y + ObjectRect.Top;
  const UINT Flags = DT_SINGLELINE | DT_NOPREFIX;
  // One text drawing at PX, PY in colour Col with drawing routine Draw.
  auto Text1 = [&](Integer PX, Integer PY, TColor Col, Integer Margin,
                   const std::function<void(TCanvas*, const TRect&, bool)>& Draw) {
    const TRect R(PX - Margin, PY - Margin, PX + W + Margin, PY + H + Margin);
    AlphaForm(ABitMap, R, [&](TCanvas* C, Integer DX, Integer DY, bool Mask) {
      SetFont(C->Font(), Mask ? clWhite : Col);
      C->Brush()->SetStyle(bsClear);
      Draw(C, TRect(PX + DX, PY + DY, PX + DX + W, PY + DY + H), Mask);
    });
  };
  auto Plain = [&](TCanvas* C, const TRect& R, bool) {
    TRect Q = R;
    DrawWideText(C, Text, Q, Flags);
  };
  if (Light) Text1(X - 1, Y - 1, A ? ActiveLightColor : LightColor, 0, Plain);
  if (Shadow) Text1(X + 1, Y + 1, A ? ActiveShadowColor : ShadowColor, 0, Plain);
  if (ReflectionEffect) {
    const TColor RC = A ? ReflectionActiveColor : ReflectionColor;
    Text1(X, Y, FontCol, 6, [&](TCanvas* C, const TRect& R, bool Mask) {
      DrawReflectionText(C, R, Text, Flags, ReflectionOffset, Mask ? clWhite : RC);
    });
  } else if (VistaGlowEffect) {
    const TColor GC = A ? GlowActiveColor : GlowColor;
    Text1(X, Y, FontCol, 6, [&](TCanvas* C, const TRect& R, bool Mask) {
      DrawVistaGlowTextNarrow(C, R, Text, Flags, Mask ? clWhite : GC);
    });
  } else if (GlowEffect) {
    const TColor GC = A ? GlowActiveColor : GlowColor;
    Text1(X, Y, FontCol, 6, [&](TCanvas* C, const TRect& R, bool Mask) {
      DrawGlowText(C, R, Text, Flags, GlowOffset, Mask ? clWhite : GC, GlowSize);
    });
  } else {
    Text1(X, Y, FontCol, 0, Plain);
  }
}
