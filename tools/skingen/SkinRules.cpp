// The rules of a made skin, checked on its fields and pixels.
#include "tools/skingen/SkinRules.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "classlib/BmpImage.h"
#include "skin/data/SkinIni.h"
#include "rtl/SysUtils.h"

namespace skinrules {

namespace {

std::string U8(const String& S) { return ToUtf8(S); }

std::string RectText(const TRect& R) { return U8(RectToText(R)); }

std::string SizeText(const TRect& R) { return std::to_string(R.Width()) + "x" + std::to_string(R.Height()); }

bool PtIn(const TRect& Z, Integer X, Integer Y) { return X >= Z.Left && X < Z.Right && Y >= Z.Top && Y < Z.Bottom; }

// -1 no usable rect; 0 fixed; 1 nine-slice; 2 horizontal and 3 vertical
// three-slice (the stretchable control base's rule).
int ResizeMode(const TRect& SR, TPoint LT, TPoint RT, TPoint LB, TPoint RB) {
  (void)LT;
  if (IsSkinRectEmpty(SR)) return -1;
  if (RB.X != 0 && RB.Y != 0) return 1;
  if (RT.X != 0 || RT.Y != 0) return 2;
  if (LB.X != 0 || LB.Y != 0) return 3;
  return 0;
}

const char* ModeName(int M) {
  switch (M) {
    case 0: return "fixed size";
    case 1: return "nine-slice";
    case 2: return "horizontal three-slice";
    case 3: return "vertical three-slice";
    default: return "no image";
  }
}

// The geometry a stretchable image is composed with.
struct TGeometry {
  TPoint LT, RT, LB, RB;
  TRect Cl;
  bool LS = false, TS = false, RS = false, BS = false, SE = false;
  TspStretchType ST = spstFull;
};

TGeometry GeometryOf(const TspDataSkinCustomControl& D) {
  return {D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.ClRect, D.LeftStretch, D.TopStretch,
          D.RightStretch, D.BottomStretch, D.StretchEffect, D.StretchType};
}

class TChecker {
 public:
  TChecker(const String& Scheme, TspSkinFields& Skin, const TPictures& Pictures)
      : FScheme(U8(Scheme)), S(Skin), P(Pictures) {}

  std::vector<std::string> Faults;

  void Fault(const String& Where, int Rule, const std::string& Detail) {
    static const char* const Titles[] = {"",
                                         "pieces in their picture",
                                         "resize mode and size",
                                         "no piece of length 0",
                                         "zones",
                                         "frame objects in the top strip",
                                         "transparency",
                                         "explicit colours and heights",
                                         "uniform edit bands",
                                         "one layout",
                                         "uniform tiles",
                                         "picture and block size"};
    Faults.push_back(FScheme + ": " + U8(Where) + ": rule " + std::to_string(Rule) + " (" + Titles[Rule] + "): " +
                     Detail);
  }
  void Consumer(const String& Where, const std::string& Title, const std::string& Detail) {
    Faults.push_back(FScheme + ": " + U8(Where) + ": " + Title + ": " + Detail);
  }

  const TImage* Pic(Integer Index) const {
    return Index >= 0 && size_t(Index) < P.Active.size() ? &P.Active[size_t(Index)] : nullptr;
  }

  // Rule 1: a non-empty picture rect inside its picture.
  bool InPicture(const String& W, const std::string& Key, const TImage* Img, const TRect& R) {
    if (IsSkinRectEmpty(R)) return false;
    if (!Img) {
      Fault(W, 1, Key + " " + RectText(R) + " names no picture");
      return false;
    }
    if (!Img->Contains(R)) {
      Fault(W, 1, Key + " " + RectText(R) + " lies outside its " + std::to_string(Img->Width) + "x" +
                      std::to_string(Img->Height) + " picture");
      return false;
    }
    return true;
  }
  // Rule 1: a state image of exactly Base's size in the same picture.
  bool State(const String& W, const std::string& Key, const TImage* Img, const TRect& R, const TRect& Base,
             const std::string& BaseKey) {
    if (IsSkinRectEmpty(R)) return false;
    if (R.Width() != Base.Width() || R.Height() != Base.Height())
      Fault(W, 1, Key + " is " + SizeText(R) + ", " + BaseKey + " " + SizeText(Base));
    return InPicture(W, Key, Img, R);
  }
  // Rule 1: a place inside an image of W x H.
  void Place(const String& W, const std::string& Key, const TRect& R, Integer Width, Integer Height) {
    if (IsSkinRectEmpty(R)) return;
    if (R.Left < 0 || R.Top < 0 || R.Right > Width || R.Bottom > Height)
      Fault(W, 1, Key + " " + RectText(R) + " lies outside the " + std::to_string(Width) + "x" +
                      std::to_string(Height) + " image");
  }

  // Rule 6: no key colour in a piece drawn without a key.
  void NoKey(const String& W, const std::string& Key, const TImage* Img, const TRect& R) {
    if (!Img || !Img->Contains(R)) return;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        if (IsKeyColor(Img->At(X, Y))) {
          Fault(W, 6, Key + " holds a key colour at (" + std::to_string(X - R.Left) + ", " + std::to_string(Y - R.Top) +
                          ") though it is drawn without one");
          return;
        }
  }
  // Rule 6: a piece drawn keyed: by its bottom-left pixel (Auto) or by Color;
  // the key is a key colour, lies only outside the shape (every key pixel
  // reaches the piece's edge through key pixels), and the other key colour
  // does not appear.
  void Keyed(const String& W, const std::string& Key, const TImage* Img, const TRect& R, bool Auto, TColor Color) {
    if (!InPicture(W, Key, Img, R)) return;
    const TColor K = Auto ? Img->At(R.Left, R.Bottom - 1) : Color;
    if (!IsKeyColor(K)) {
      Fault(W, 6, Key + (Auto ? ": its bottom-left pixel is not a key colour" : ": its transparent colour is not a key colour"));
      return;
    }
    const Integer PW = R.Width(), PH = R.Height();
    std::vector<char> Seen(size_t(PW) * PH, 0);
    std::vector<std::pair<Integer, Integer>> Todo;
    auto IsKey = [&](Integer X, Integer Y) { return Img->At(R.Left + X, R.Top + Y) == K; };
    for (Integer X = 0; X < PW; ++X)
      for (Integer Y : {Integer(0), PH - 1})
        if (IsKey(X, Y)) Todo.push_back({X, Y});
    for (Integer Y = 0; Y < PH; ++Y)
      for (Integer X : {Integer(0), PW - 1})
        if (IsKey(X, Y)) Todo.push_back({X, Y});
    while (!Todo.empty()) {
      auto [X, Y] = Todo.back();
      Todo.pop_back();
      if (X < 0 || Y < 0 || X >= PW || Y >= PH || Seen[size_t(Y) * PW + X] || !IsKey(X, Y)) continue;
      Seen[size_t(Y) * PW + X] = 1;
      Todo.push_back({X + 1, Y}), Todo.push_back({X - 1, Y}), Todo.push_back({X, Y + 1}), Todo.push_back({X, Y - 1});
    }
    for (Integer Y = 0; Y < PH; ++Y)
      for (Integer X = 0; X < PW; ++X) {
        const TColor C = Img->At(R.Left + X, R.Top + Y);
        if (C == K && !Seen[size_t(Y) * PW + X]) {
          Fault(W, 6, Key + ": the key colour lies inside the shape at (" + std::to_string(X) + ", " + std::to_string(Y) + ")");
          return;
        }
        if (C != K && IsKeyColor(C)) {
          Fault(W, 6, Key + ": another key colour at (" + std::to_string(X) + ", " + std::to_string(Y) + ")");
          return;
        }
      }
  }

  // Rule 10: a tiled span uniform along its tiling direction. Horizontal:
  // columns X0..X1 of each row Y0..Y1 equal; else rows equal per column.
  bool Uniform(const TImage* Img, const TRect& Abs, Integer X0, Integer Y0, Integer X1, Integer Y1, bool Horizontal,
               std::string& Where) {
    if (!Img) return true;
    for (Integer Y = Y0; Y < Y1; ++Y)
      for (Integer X = X0; X < X1; ++X) {
        const Integer RX = Horizontal ? X0 : X, RY = Horizontal ? Y : Y0;
        if (Img->At(Abs.Left + X, Abs.Top + Y) != Img->At(Abs.Left + RX, Abs.Top + RY)) {
          Where = "(" + std::to_string(X) + ", " + std::to_string(Y) + ")";
          return false;
        }
      }
    return true;
  }
  void Tiled(const String& W, const std::string& Key, const std::string& Piece, const TImage* Img, const TRect& Abs,
             Integer X0, Integer Y0, Integer X1, Integer Y1, bool Horizontal) {
    std::string At;
    if (!Uniform(Img, Abs, X0, Y0, X1, Y1, Horizontal, At))
      Fault(W, 10, Key + ": the " + Piece + " is tiled " + (Horizontal ? "across" : "down") +
                       " but changes along it at " + At + " (stretch it, or make it uniform)");
  }

  // Rules 3 and 10 for an image composed at any size from Abs with G, as the
  // resize mode says.
  void Composed(const String& W, const std::string& Key, const TImage* Img, const TRect& Abs, const TGeometry& G,
                int Mode) {
    const Integer IW = Abs.Width(), IH = Abs.Height();
    if (Mode == 1) {
      if (G.RT.X <= G.LT.X || G.RB.X <= G.LB.X || G.LB.Y <= G.LT.Y || G.RB.Y <= G.RT.Y) {
        Fault(W, 3, Key + ": an edge piece of length 0 (corner points " + U8(PointToText(G.LT)) + " / " +
                        U8(PointToText(G.RT)) + " / " + U8(PointToText(G.LB)) + " / " + U8(PointToText(G.RB)) + ")");
        return;
      }
      if (IsSkinRectEmpty(G.Cl)) {
        Fault(W, 3, Key + ": the client rect is empty");
        return;
      }
      if (!G.TS) Tiled(W, Key, "top edge", Img, Abs, G.LT.X, 0, G.RT.X, G.Cl.Top, true);
      if (!G.BS) Tiled(W, Key, "bottom edge", Img, Abs, G.LB.X, G.Cl.Bottom, G.RB.X, IH, true);
      if (!G.LS) Tiled(W, Key, "left edge", Img, Abs, 0, G.LT.Y, G.Cl.Left, G.LB.Y, false);
      if (!G.RS) Tiled(W, Key, "right edge", Img, Abs, G.Cl.Right, G.RT.Y, IW, G.RB.Y, false);
      if (!G.SE) {
        Tiled(W, Key, "centre", Img, Abs, G.Cl.Left, G.Cl.Top, G.Cl.Right, G.Cl.Bottom, true);
        Tiled(W, Key, "centre", Img, Abs, G.Cl.Left, G.Cl.Top, G.Cl.Right, G.Cl.Bottom, false);
      } else if (G.ST != spstFull) {
        Tiled(W, Key, "centre", Img, Abs, G.Cl.Left, G.Cl.Top, G.Cl.Right, G.Cl.Bottom, G.ST == spstHorz);
      }
    } else if (Mode == 2) {
      if (G.RT.X <= G.LT.X || G.RT.X > IW) {
        Fault(W, 3, Key + ": the middle piece has length 0 or the right part lies outside");
        return;
      }
      if (!G.SE) Tiled(W, Key, "middle", Img, Abs, G.LT.X, 0, G.RT.X, IH, true);
    } else if (Mode == 3) {
      if (G.LB.Y <= G.LT.Y || G.LB.Y > IH) {
        Fault(W, 3, Key + ": the middle piece has length 0 or the bottom part lies outside");
        return;
      }
      if (!G.SE) Tiled(W, Key, "middle", Img, Abs, 0, G.LT.Y, IW, G.LB.Y, false);
    }
  }

  // A three-slice strip with fixed ends Lo and Ro (horizontal) whose middle
  // is tiled unless Stretch.
  void Strip(const String& W, const std::string& Key, const TImage* Img, const TRect& Abs, Integer Lo, Integer Ro,
             bool Stretch, bool Horizontal) {
    const Integer Len = Horizontal ? Abs.Width() : Abs.Height();
    if (Lo < 0 || Ro < 0 || Lo + Ro >= Len) {
      Fault(W, 3, Key + ": fixed ends " + std::to_string(Lo) + " and " + std::to_string(Ro) + " leave no middle in " +
                      std::to_string(Len) + " pixels");
      return;
    }
    if (Stretch) return;
    if (Horizontal)
      Tiled(W, Key, "middle", Img, Abs, Lo, 0, Len - Ro, Abs.Height(), true);
    else
      Tiled(W, Key, "middle", Img, Abs, 0, Lo, Abs.Width(), Len - Ro, false);
  }

  // Rule 4: where a place that follows the size may lie.
  void Zone(const String& W, const std::string& Key, const TRect& R, Integer IW, Integer IH, int Mode,
            const TGeometry& G, bool MaySpan) {
    if (IsSkinRectEmpty(R)) return;
    bool Ok = true;
    if (Mode == 2) {
      Ok = R.Right <= G.LT.X || R.Left > G.RT.X || (MaySpan && R.Left <= G.LT.X && R.Right >= G.RT.X);
    } else if (Mode == 3) {
      Ok = R.Bottom <= G.LT.Y || R.Top > G.LB.Y || (MaySpan && R.Top <= G.LT.Y && R.Bottom >= G.LB.Y);
    } else if (Mode == 1) {
      const TRect LTz(0, 0, G.LT.X, G.LT.Y), RTz(G.RT.X, 0, IW, G.RT.Y), LBz(0, G.LB.Y, G.LB.X, IH),
          RBz(G.RB.X, G.RB.Y, IW, IH);
      auto In = [&](const TRect& Z) {
        return PtIn(Z, R.Left, R.Top) && R.Right > Z.Left && R.Right < Z.Right && R.Bottom > Z.Top && R.Bottom < Z.Bottom;
      };
      auto Span = [&](const TRect& A, const TRect& B) {
        return PtIn(A, R.Left, R.Top) && R.Right >= B.Left && R.Right < B.Right && R.Bottom >= B.Top && R.Bottom < B.Bottom;
      };
      Ok = In(LTz) || In(RTz) || In(LBz) || In(RBz) ||
           (MaySpan && (Span(LTz, RTz) || Span(LTz, RBz) || Span(LTz, LBz) || Span(LBz, RBz) || Span(RTz, RBz)));
    }
    if (!Ok)
      Fault(W, 4, Key + " " + RectText(R) + " neither lies clear inside a fixed zone nor spans from one zone to another");
  }

  // --- controls ---------------------------------------------------------------

  // The descriptions composed by the client-stretch builder as well as by
  // their corner points (tool buttons; edits that keep their own size).
  static bool ComposedAtClientRect(const String& Name) {
    for (const char16_t* N : {u"toolbutton", u"edit", u"buttonedit", u"spinedit", u"combobox"})
      if (Name == N) return true;
    return false;
  }

  void Control(TspDataSkinControl* D) {
    const String& W = D->IDName;
    const TImage* Img = Pic(D->PictureIndex);
    if (D->PictureIndex != -1 && !Img)
      Fault(W, 1, "pictureindex " + std::to_string(D->PictureIndex) + " names no active picture");
    if (D->PictureIndex == -1 && !IsSkinRectEmpty(D->SkinRect)) Fault(W, 1, "a skinrect without a picture");
    if (auto* T = dynamic_cast<TspDataSkinTabControl*>(D)) return Tab(T, Img);
    if (auto* T = dynamic_cast<TspDataSkinTreeView*>(D)) return Tree(T, Img);
    if (auto* T = dynamic_cast<TspDataSkinSlider*>(D)) return Slider(T, Img);
    if (Img && IsSkinRectEmpty(D->SkinRect)) Fault(W, 1, "a picture without a skinrect");
    auto* C = dynamic_cast<TspDataSkinCustomControl*>(D);
    if (!C) return;
    const TGeometry G = GeometryOf(*C);
    const int Mode = ResizeMode(C->SkinRect, G.LT, G.RT, G.LB, G.RB);
    const Integer IW = C->SkinRect.Width(), IH = C->SkinRect.Height();
    std::vector<std::pair<std::string, TRect>> States{{"skinrect", C->SkinRect}};
    auto AddState = [&](const std::string& K, const TRect& R) {
      if (State(W, K, Img, R, C->SkinRect, "skinrect")) States.push_back({K, R});
    };
    if (Img && InPicture(W, "skinrect", Img, C->SkinRect)) {
      Place(W, "clientrect", G.Cl, IW, IH);
      for (const auto& [K, Pt] : {std::pair<const char*, TPoint>{"lefttoppoint", G.LT}, {"righttoppoint", G.RT},
                                  {"leftbottompoint", G.LB}, {"rightbottompoint", G.RB}})
        if (Pt.X > IW || Pt.Y > IH) Fault(W, 1, std::string(K) + " " + U8(PointToText(Pt)) + " lies outside the image");
      if (IsSkinRectEmpty(G.Cl)) Fault(W, 3, "the client rect is empty");
      // Controls that keep their own size compose these images at the client
      // rect's corners: an inset of 0 leaves an edge piece of length 0.
      if (ComposedAtClientRect(W) && !IsSkinRectEmpty(G.Cl) &&
          (G.Cl.Left < 1 || G.Cl.Top < 1 || G.Cl.Right > IW - 1 || G.Cl.Bottom > IH - 1))
        Fault(W, 3, "clientrect " + RectText(G.Cl) + " must keep at least 1 pixel from every side");
    }

    if (auto* B = dynamic_cast<TspDataSkinButtonControl*>(D)) {
      AddState("activeskinrect", B->ActiveSkinRect);
      AddState("downskinrect", B->DownSkinRect);
      AddState("focusedskinrect", B->FocusedSkinRect);
      AddState("disabledskinrect", B->DisabledSkinRect);
      if (B->DisabledFontColor == B->FontColor)
        Consumer(W, "button colours", "disabledfontcolor equals fontcolor (the button would draw it grey)");
      if (auto* M = dynamic_cast<TspDataSkinMenuButtonControl*>(D)) {
        Place(W, "trackbuttonrect", M->TrackButtonRect, IW, IH);
        if (!IsSkinRectEmpty(M->TrackButtonRect) && M->TrackButtonRect.Left < G.RT.X)
          Fault(W, 4, "trackbuttonrect starts left of the right-top corner point");
      }
    } else if (auto* K = dynamic_cast<TspDataSkinCheckRadioControl*>(D)) {
      AddState("activeskinrect", K->ActiveSkinRect);
      Place(W, "checkimagearea", K->CheckImageArea, IW, IH);
      Place(W, "textarea", K->TextArea, IW, IH);
      // The text area's right edge follows the width; the mark keeps its place.
      if (Mode == 2 && !IsSkinRectEmpty(K->TextArea) && K->TextArea.Right < G.RT.X)
        Fault(W, 4, "textarea must reach into the fixed right part");
      if (IsSkinRectEmpty(K->CheckImageRect) || IsSkinRectEmpty(K->UnCheckImageRect))
        Fault(W, 1, "the checked and unchecked marks are needed");
      for (const auto& [Key, R] :
           {std::pair<const char*, TRect>{"checkimagerect", K->CheckImageRect}, {"uncheckimagerect", K->UnCheckImageRect},
            {"activecheckimagerect", K->ActiveCheckImageRect}, {"activeuncheckimagerect", K->ActiveUnCheckImageRect},
            {"unenabledcheckimagerect", K->UnEnabledCheckImageRect},
            {"unenableduncheckimagerect", K->UnEnabledUnCheckImageRect},
            {"grayedcheckimagerect", K->GrayedCheckImageRect}, {"activegrayedcheckimagerect", K->ActiveGrayedCheckImageRect}}) {
        if (IsSkinRectEmpty(R)) continue;
        State(W, Key, Img, R, K->CheckImageRect, "checkimagerect");
        Keyed(W, Key, Img, R, true, 0);
      }
    } else if (auto* Pn = dynamic_cast<TspDataSkinPanelControl*>(D)) {
      if (Pn->BGPictureIndex != -1) Consumer(W, "effects off", "bgpictureindex is not -1");
      Place(W, "captionrect", Pn->CaptionRect, IW, IH);
      Zone(W, "captionrect", Pn->CaptionRect, IW, IH, Mode, G, true);
      for (const auto& [Key, R] : {std::pair<const char*, TRect>{"checkimagerect", Pn->CheckImageRect},
                                   {"uncheckimagerect", Pn->UnCheckImageRect}})
        if (!IsSkinRectEmpty(R)) Keyed(W, Key, Img, R, true, 0);
      if (!IsSkinRectEmpty(Pn->GripperRect)) {
        if (Pn->GripperTransparent)
          Keyed(W, "gripperrect", Img, Pn->GripperRect, false, Pn->GripperTransparentColor);
        else
          NoKey(W, "gripperrect", Img, Pn->GripperRect);
      }
    } else if (auto* Sb = dynamic_cast<TspDataSkinScrollBarControl*>(D)) {
      ScrollBar(Sb, Img, Mode, G);
    } else if (auto* Tb = dynamic_cast<TspDataSkinTrackBarControl*>(D)) {
      AddState("activeskinrect", Tb->ActiveSkinRect);
      Place(W, "trackarea", Tb->TrackArea, IW, IH);
      Zone(W, "trackarea", Tb->TrackArea, IW, IH, Mode, G, true);
      if (InPicture(W, "buttonrect", Img, Tb->ButtonRect)) {
        State(W, "activebuttonrect", Img, Tb->ActiveButtonRect, Tb->ButtonRect, "buttonrect");
        for (const auto& [Key, R] : {std::pair<const char*, TRect>{"buttonrect", Tb->ButtonRect},
                                     {"activebuttonrect", Tb->ActiveButtonRect}}) {
          if (IsSkinRectEmpty(R)) continue;
          if (Tb->ButtonTransparent)
            Keyed(W, Key, Img, R, false, Tb->ButtonTransparentColor);
          else
            NoKey(W, Key, Img, R);
        }
      } else {
        Fault(W, 1, "the thumb image (buttonrect) is needed");
      }
    } else if (auto* Sp = dynamic_cast<TspDataSkinSplitterControl*>(D)) {
      if (!IsSkinRectEmpty(Sp->GripperRect)) {
        if (Sp->GripperTransparent)
          Keyed(W, "gripperrect", Img, Sp->GripperRect, false, Sp->GripperTransparentColor);
        else
          NoKey(W, "gripperrect", Img, Sp->GripperRect);
      }
    } else if (auto* U = dynamic_cast<TspDataSkinUpDownControl*>(D)) {
      ButtonPlace(W, "upbuttonrect", U->UpButtonRect, {{"activeupbuttonrect", U->ActiveUpButtonRect},
                                                       {"downupbuttonrect", U->DownUpButtonRect}}, Img, IW, IH);
      ButtonPlace(W, "downbuttonrect", U->DownButtonRect, {{"activedownbuttonrect", U->ActiveDownButtonRect},
                                                           {"downdownbuttonrect", U->DownDownButtonRect}}, Img, IW, IH);
    } else if (auto* E = dynamic_cast<TspDataSkinEditControl*>(D)) {
      AddState("activeskinrect", E->ActiveSkinRect);
      ButtonPlace(W, "buttonrect", E->ButtonRect, {{"activebuttonrect", E->ActiveButtonRect},
                                                   {"downbuttonrect", E->DownButtonRect},
                                                   {"unenabledbuttonrect", E->UnEnabledButtonRect}}, Img, IW, IH);
      Zone(W, "buttonrect", E->ButtonRect, IW, IH, Mode, G, false);
      EditBands(W, Img, States, G, {E->ButtonRect});
    } else if (auto* Se = dynamic_cast<TspDataSkinSpinEditControl*>(D)) {
      AddState("activeskinrect", Se->ActiveSkinRect);
      ButtonPlace(W, "upbuttonrect", Se->UpButtonRect, {{"activeupbuttonrect", Se->ActiveUpButtonRect},
                                                        {"downupbuttonrect", Se->DownUpButtonRect}}, Img, IW, IH);
      ButtonPlace(W, "downbuttonrect", Se->DownButtonRect, {{"activedownbuttonrect", Se->ActiveDownButtonRect},
                                                            {"downdownbuttonrect", Se->DownDownButtonRect}}, Img, IW, IH);
      Zone(W, "upbuttonrect", Se->UpButtonRect, IW, IH, Mode, G, false);
      Zone(W, "downbuttonrect", Se->DownButtonRect, IW, IH, Mode, G, false);
      EditBands(W, Img, States, G, {Se->UpButtonRect, Se->DownButtonRect});
    } else if (auto* L = dynamic_cast<TspDataSkinListBox*>(D)) {
      Items(W, Img, L->SItemRect, L->ActiveItemRect, L->FocusItemRect, L->ItemLeftOffset, L->ItemRightOffset,
            L->ItemTextRect, false, false);
      for (const auto& [Key, Name] : {std::pair<const char*, String>{"vscrollbarname", L->VScrollBarName},
                                      {"hscrollbarname", L->HScrollBarName},
                                      {"bothhscrollbarname", L->BothScrollBarName}})
        Reference(W, Key, Name, u"scrollbar");
    } else if (auto* Cb = dynamic_cast<TspDataSkinComboBox*>(D)) {
      AddState("activeskinrect", Cb->ActiveSkinRect);
      ButtonPlace(W, "buttonrect", Cb->ButtonRect, {{"activebuttonrect", Cb->ActiveButtonRect},
                                                    {"downbuttonrect", Cb->DownButtonRect},
                                                    {"unenabledbuttonrect", Cb->UnEnabledButtonRect}}, Img, IW, IH);
      Zone(W, "buttonrect", Cb->ButtonRect, IW, IH, Mode, G, false);
      Items(W, Img, Cb->SItemRect, Cb->ActiveItemRect, Cb->FocusItemRect, Cb->ItemLeftOffset, Cb->ItemRightOffset,
            Cb->ItemTextRect, Cb->ItemStretchEffect, Cb->FocusItemStretchEffect);
      Reference(W, "listboxname", Cb->ListBoxName, u"listbox");
      EditBands(W, Img, States, G, {Cb->ButtonRect});
    } else if (auto* Sx = dynamic_cast<TspDataSkinScrollBoxControl*>(D)) {
      if (Sx->BGPictureIndex != -1) Consumer(W, "effects off", "bgpictureindex is not -1");
    }

    for (const auto& [Key, R] : States) {
      Composed(W, Key, Img, R, G, Mode);
      NoKey(W, Key, Img, R);
    }
  }

  // A button place of an image and its hot, pressed and disabled pictures.
  void ButtonPlace(const String& W, const std::string& Key, const TRect& Place_,
                   std::initializer_list<std::pair<const char*, TRect>> Looks, const TImage* Img, Integer IW, Integer IH) {
    Place(W, Key, Place_, IW, IH);
    for (const auto& [K, R] : Looks) {
      if (IsSkinRectEmpty(R)) continue;
      if (!IsSkinRectEmpty(Place_) && (R.Width() != Place_.Width() || R.Height() != Place_.Height()))
        Fault(W, 1, std::string(K) + " is " + SizeText(R) + ", the place " + Key + " " + SizeText(Place_));
      if (InPicture(W, K, Img, R)) NoKey(W, K, Img, R);
    }
  }

  // Rule 8: the border bands of an edit are uniform along their length, so
  // stretching them at the client rect's corners smears nothing (the button
  // places are drawn over).
  void EditBands(const String& W, const TImage* Img, const std::vector<std::pair<std::string, TRect>>& States,
                 const TGeometry& G, std::vector<TRect> Buttons) {
    if (!Img) return;
    for (const auto& [Key, Abs] : States) {
      const Integer IW = Abs.Width(), IH = Abs.Height();
      auto Covered = [&](Integer X, Integer Y) {
        for (const auto& B : Buttons)
          if (!IsSkinRectEmpty(B) && X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom) return true;
        return false;
      };
      auto Check = [&](const std::string& Band, Integer X0, Integer Y0, Integer X1, Integer Y1, bool Horizontal) {
        for (Integer Y = Y0; Y < Y1; ++Y)
          for (Integer X = X0; X < X1; ++X) {
            const Integer RX = Horizontal ? X0 : X, RY = Horizontal ? Y : Y0;
            if (Covered(X, Y) || Covered(RX, RY)) continue;
            if (Img->At(Abs.Left + X, Abs.Top + Y) != Img->At(Abs.Left + RX, Abs.Top + RY)) {
              Fault(W, 8, Key + ": the " + Band + " band changes along its length at (" + std::to_string(X) + ", " +
                              std::to_string(Y) + ")");
              return;
            }
          }
      };
      Check("top", G.Cl.Left, 0, G.Cl.Right, G.Cl.Top, true);
      Check("bottom", G.Cl.Left, G.Cl.Bottom, G.Cl.Right, IH, true);
      Check("left", 0, G.Cl.Top, G.Cl.Left, G.Cl.Bottom, false);
      Check("right", G.Cl.Right, G.Cl.Top, IW, G.Cl.Bottom, false);
    }
  }

  // Item images of lists and combo boxes: one size, a text rect inside, a
  // middle tiled unless stretched.
  void Items(const String& W, const TImage* Img, const TRect& Item, const TRect& Active, const TRect& Focus,
             Integer Lo, Integer Ro, const TRect& Text, bool Stretch, bool FocusStretch) {
    if (!InPicture(W, "itemrect", Img, Item)) {
      Fault(W, 1, "the item image (itemrect) is needed");
      return;
    }
    State(W, "activeitemrect", Img, Active, Item, "itemrect");
    State(W, "focusitemrect", Img, Focus, Item, "itemrect");
    Place(W, "itemtextrect", Text, Item.Width(), Item.Height());
    for (const auto& [Key, R, S] : {std::tuple<const char*, TRect, bool>{"itemrect", Item, Stretch},
                                    {"activeitemrect", Active, Stretch}, {"focusitemrect", Focus, FocusStretch}}) {
      if (IsSkinRectEmpty(R)) continue;
      Strip(W, Key, Img, R, Lo, Ro, S, true);
      NoKey(W, Key, Img, R);
    }
  }

  void ScrollBar(TspDataSkinScrollBarControl* Sb, const TImage* Img, int Mode, const TGeometry& G) {
    const String& W = Sb->IDName;
    const Integer IW = Sb->SkinRect.Width(), IH = Sb->SkinRect.Height();
    const bool Horz = Mode == 2;
    if (Mode != 2 && Mode != 3) Fault(W, 2, std::string("a scroll bar is a three-slice image, not ") + ModeName(Mode));
    Place(W, "trackarea", Sb->TrackArea, IW, IH);
    Zone(W, "trackarea", Sb->TrackArea, IW, IH, Mode, G, true);
    ButtonPlace(W, "upbuttonrect", Sb->UpButtonRect, {{"activeupbuttonrect", Sb->ActiveUpButtonRect},
                                                      {"downupbuttonrect", Sb->DownUpButtonRect}}, Img, IW, IH);
    ButtonPlace(W, "downbuttonrect", Sb->DownButtonRect, {{"activedownbuttonrect", Sb->ActiveDownButtonRect},
                                                          {"downdownbuttonrect", Sb->DownDownButtonRect}}, Img, IW, IH);
    // The increasing button follows the size at the right (bottom) end, the
    // decreasing one stays at the left (top).
    if (Horz) {
      if (!(Sb->UpButtonRect.Left > G.RT.X)) Fault(W, 4, "upbuttonrect (the increasing button) must lie right of the right-top point");
      if (!(Sb->DownButtonRect.Right <= G.LT.X)) Fault(W, 4, "downbuttonrect (the decreasing button) must lie in the fixed left part");
    } else if (Mode == 3) {
      if (!(Sb->UpButtonRect.Top > G.LB.Y)) Fault(W, 4, "upbuttonrect (the increasing button) must lie below the left-bottom point");
      if (!(Sb->DownButtonRect.Bottom <= G.LT.Y)) Fault(W, 4, "downbuttonrect (the decreasing button) must lie in the fixed top part");
    }
    if (!InPicture(W, "thumbrect", Img, Sb->ThumbRect)) {
      Fault(W, 1, "the thumb image (thumbrect) is needed");
      return;
    }
    for (const auto& [Key, R] : {std::pair<const char*, TRect>{"thumbrect", Sb->ThumbRect},
                                 {"activethumbrect", Sb->ActiveThumbRect}, {"downthumbrect", Sb->DownThumbRect}}) {
      if (IsSkinRectEmpty(R)) continue;
      State(W, Key, Img, R, Sb->ThumbRect, "thumbrect");
      Strip(W, Key, Img, R, Sb->ThumbOffset1, Sb->ThumbOffset2, Sb->ThumbStretchEffect, Horz);
      if (Sb->ThumbTransparent)
        Keyed(W, Key, Img, R, false, Sb->ThumbTransparentColor);
      else
        NoKey(W, Key, Img, R);
    }
    const Integer Cross = Horz ? Sb->TrackArea.Height() : Sb->TrackArea.Width();
    if ((Horz ? Sb->ThumbRect.Height() : Sb->ThumbRect.Width()) > Cross)
      Fault(W, 1, "the thumb is thicker than the track");
    for (const auto& [Key, R] : {std::pair<const char*, TRect>{"glyphrect", Sb->GlyphRect},
                                 {"activeglyphrect", Sb->ActiveGlyphRect}, {"downglyphrect", Sb->DownGlyphRect}}) {
      if (IsSkinRectEmpty(R)) continue;
      if (Sb->GlyphTransparent)
        Keyed(W, Key, Img, R, false, Sb->GlyphTransparentColor);
      else
        NoKey(W, Key, Img, R);
    }
  }

  void Slider(TspDataSkinSlider* Sl, const TImage* Img) {
    const String& W = Sl->IDName;
    for (const auto& [Key, R] : {std::pair<const char*, TRect>{"hrulerrect", Sl->HRulerRect}, {"hthumbrect", Sl->HThumbRect},
                                 {"vrulerrect", Sl->VRulerRect}, {"vthumbrect", Sl->VThumbRect}}) {
      if (!InPicture(W, Key, Img, R)) {
        Fault(W, 1, std::string(Key) + " is needed");
        continue;
      }
      Keyed(W, Key, Img, R, true, 0);
    }
    if (Sl->HThumbRect.Width() % 2 || Sl->VThumbRect.Width() % 2)
      Fault(W, 1, "a thumb rect holds two frames side by side: its width must be even");
    if (2 * Sl->EdgeSize >= Sl->HRulerRect.Width() || 2 * Sl->EdgeSize >= Sl->VRulerRect.Height())
      Fault(W, 3, "twice the edge size does not leave a middle in the rulers");
    else {
      Strip(W, "hrulerrect", Img, Sl->HRulerRect, Sl->EdgeSize, Sl->EdgeSize, false, true);
      Strip(W, "vrulerrect", Img, Sl->VRulerRect, Sl->EdgeSize, Sl->EdgeSize, false, false);
    }
  }

  void Tree(TspDataSkinTreeView* T, const TImage* Img) {
    const String& W = T->IDName;
    if (IsSkinRectEmpty(T->ExpandImageRect) || IsSkinRectEmpty(T->NoExpandImageRect)) {
      Fault(W, 1, "both button images are needed (one alone gives no skinned buttons)");
      return;
    }
    State(W, "noexpandimagerect", Img, T->NoExpandImageRect, T->ExpandImageRect, "expandimagerect");
    Keyed(W, "expandimagerect", Img, T->ExpandImageRect, true, 0);
    Keyed(W, "noexpandimagerect", Img, T->NoExpandImageRect, true, 0);
  }

  void Tab(TspDataSkinTabControl* T, const TImage* Img) {
    const String& W = T->IDName;
    if (!InPicture(W, "skinrect", Img, T->SkinRect)) {
      Fault(W, 1, "the page frame (skinrect) is needed");
      return;
    }
    const TGeometry G{T->LTPoint, T->RTPoint, T->LBPoint, T->RBPoint, T->ClRect, T->LeftStretch, T->TopStretch,
                      T->RightStretch, T->BottomStretch, T->StretchEffect, T->StretchType};
    Place(W, "clientrect", T->ClRect, T->SkinRect.Width(), T->SkinRect.Height());
    Composed(W, "skinrect", Img, T->SkinRect, G, 1);
    NoKey(W, "skinrect", Img, T->SkinRect);
    if (!InPicture(W, "tabrect", Img, T->TabRect)) {
      Fault(W, 1, "the tab image (tabrect) is needed");
      return;
    }
    State(W, "mouseintabrect", Img, T->MouseInTabRect, T->TabRect, "tabrect");
    for (const auto& [Key, R] : {std::pair<const char*, TRect>{"tabrect", T->TabRect}, {"activetabrect", T->ActiveTabRect},
                                 {"focustabrect", T->FocusTabRect}, {"mouseintabrect", T->MouseInTabRect}}) {
      if (IsSkinRectEmpty(R)) continue;
      if (!InPicture(W, Key, Img, R)) continue;
      if (R.Width() != T->TabRect.Width() || R.Height() < T->TabRect.Height())
        Fault(W, 1, std::string(Key) + " is " + SizeText(R) + ", tabrect " + SizeText(T->TabRect));
      Strip(W, Key, Img, R, T->TabLeftOffset, T->TabRightOffset, T->TabStretchEffect, true);
      NoKey(W, Key, Img, R);
    }
    if (InPicture(W, "tabsbgrect", Img, T->TabsBGRect)) {
      Tiled(W, "tabsbgrect", "tile", Img, T->TabsBGRect, 0, 0, T->TabsBGRect.Width(), T->TabsBGRect.Height(), true);
      Tiled(W, "tabsbgrect", "tile", Img, T->TabsBGRect, 0, 0, T->TabsBGRect.Width(), T->TabsBGRect.Height(), false);
    }
    if (Reference(W, "updown", T->UpDown, u"updown")) {
      auto* U = static_cast<TspDataSkinControl*>(S.CtrlList->Items(S.GetControlIndex(T->UpDown)));
      if (U->SkinRect.Height() != T->TabRect.Height() || U->SkinRect.Width() != 2 * T->TabRect.Height())
        Consumer(W, "tab row", "the up-down \"" + U8(T->UpDown) + "\" is " + SizeText(U->SkinRect) +
                                   "; the page control sizes it twice the tab height by the tab height");
    }
  }

  // A name that a description gives for another one: it resolves to a
  // description of the class Word.
  bool Reference(const String& W, const std::string& Key, const String& Name, const String& Word) {
    const Integer I = S.GetControlIndex(Name);
    if (I < 0 || SkinControlTypeWord(static_cast<TspDataSkinControl*>(S.CtrlList->Items(I))) != Word) {
      Consumer(W, "references", Key + " \"" + U8(Name) + "\" names no " + U8(Word) + " description");
      return false;
    }
    return true;
  }

  // --- frame --------------------------------------------------------------

  void Frame() {
    const String W = u"[FORMINFO]";
    const TImage& F = P.Frame;
    if (F.Width == 0) {
      Fault(W, 1, "no frame picture");
      return;
    }
    const TGeometry G{S.LTPoint, S.RTPoint, S.LBPoint, S.RBPoint, S.ClRect, S.LeftStretch, S.TopStretch,
                      S.RightStretch, S.BottomStretch, S.StretchEffect, S.StretchType};
    const TRect All(0, 0, F.Width, F.Height);
    Place(W, "clientrect", S.ClRect, F.Width, F.Height);
    Composed(W, "frame", &F, All, G, 1);
    NoKey(W, "frame picture", &F, All);
    if (S.LTPoint.X < S.ClRect.Left || S.LTPoint.Y < S.ClRect.Top || S.RBPoint.X > S.ClRect.Right ||
        S.RBPoint.Y > S.ClRect.Bottom || S.RTPoint.X > S.ClRect.Right || S.LBPoint.Y > S.ClRect.Bottom)
      Fault(W, 3, "a corner point lies outside the client rect's corners (the reader would move it)");
    if (S.ClRect.Left != 3 || S.ClRect.Top != 22 || F.Width - S.ClRect.Right != 3 || F.Height - S.ClRect.Bottom != 3)
      Consumer(W, "frame", "borders of 3 px and a client top of 22 keep the forms' client sizes; the client rect is " +
                               RectText(S.ClRect));
    if (!IsSkinRectEmpty(S.ButtonsRect)) Consumer(W, "frame", "buttonsrect must be empty (the buttons pack into the caption row)");
    if (S.ButtonsOffset < 1) Consumer(W, "frame", "buttonsoffset must be at least 1");
    if (S.HitTestLTPoint != S.LTPoint || S.HitTestRTPoint != S.RTPoint || S.HitTestLBPoint != S.LBPoint ||
        S.HitTestRBPoint != S.RBPoint)
      Consumer(W, "frame", "the hit-test points must equal the corner points (without a mask they are not corrected)");
    if (S.BorderW != 4) Consumer(W, "frame", "borderwidth must be 4");
    if (S.StretchEffect || S.BGPictureIndex != -1 || S.MDIBGPictureIndex != -1 || S.CursorIndex != -1 ||
        !S.StatusBarName.empty() || S.AutoRenderingInActiveImage || !S.FMaskName.empty() ||
        !S.FInActivePictureName.empty() || !S.FRollUpPictureName.empty())
      Consumer(W, "effects off", "stretcheffect 0, no background, mask, inactive or roll-up picture, cursor or status bar");
    // The caption row: from the left-top zone to the right-top zone.
    const TRect LTz(0, 0, S.LTPoint.X, S.LTPoint.Y), RTz(S.RTPoint.X, 0, F.Width, S.RTPoint.Y);
    auto Spans = [&](const TRect& R) {
      return PtIn(LTz, R.Left, R.Top) && R.Right >= RTz.Left && R.Right < RTz.Right && R.Bottom < RTz.Bottom;
    };
    if (!Spans(S.CaptionRect)) Fault(W, 4, "captionrect " + RectText(S.CaptionRect) + " must span from the left-top to the right-top zone");
    Integer ButtonsWidth = 0;
    for (Integer I = 0; I < S.ObjectList->Count(); ++I) {
      auto* O = static_cast<TspDataSkinObject*>(S.ObjectList->Items(I));
      if (auto* B = dynamic_cast<TspDataSkinStdButton*>(O)) {
        ButtonsWidth += B->SkinRect.Width() + S.ButtonsOffset;
        if (B->SkinRect.Height() > S.CaptionRect.Height())
          Fault(O->IDName, 5, "the button is higher than the caption row");
        if (S.CaptionRect.Top + B->SkinRect.Height() > S.ClRect.Top)
          Fault(O->IDName, 5, "the button reaches below the top strip");
      } else if (auto* C = dynamic_cast<TspDataSkinCaption*>(O)) {
        if (!F.Contains(C->SkinRect)) Fault(O->IDName, 1, "skinrect lies outside the frame picture");
        if (!Spans(C->SkinRect)) Fault(O->IDName, 4, "skinrect " + RectText(C->SkinRect) + " must span from the left-top to the right-top zone");
        if (C->SkinRect.Bottom > S.ClRect.Top) Fault(O->IDName, 5, "the caption reaches below the top strip");
        Place(O->IDName, "textrect", C->TextRct, C->SkinRect.Width(), C->SkinRect.Height());
        if (!C->StretchEffect && F.Contains(C->SkinRect))
          Tiled(O->IDName, "skinrect", "middle", &F, C->SkinRect, S.LTPoint.X - C->SkinRect.Left, 0,
                S.RTPoint.X - C->SkinRect.Left, C->SkinRect.Height(), true);
        if (C->Shadow || C->Light || C->GlowEffect || C->VistaGlowEffect || C->ReflectionEffect ||
            !IsSkinRectEmpty(C->FrameRect) || !IsSkinRectEmpty(C->DividerRect) || !C->DefaultCaption)
          Consumer(O->IDName, "caption", "shadow, light, glow, reflection, plate and divider off; defaultcaption 1");
      }
    }
    const Integer MinW = S.LTPoint.X + (F.Width - S.RTPoint.X) + ButtonsWidth;
    const Integer MinH = S.ClRect.Top + (F.Height - S.ClRect.Bottom);
    if (S.FormMinWidth > 282 || S.FormMinHeight > 168 || S.FormMinWidth < MinW || S.FormMinHeight < MinH)
      Consumer(W, "frame", "formminwidth/formminheight " + std::to_string(S.FormMinWidth) + "x" +
                               std::to_string(S.FormMinHeight) + " must lie between the corners and caption buttons (" +
                               std::to_string(MinW) + "x" + std::to_string(MinH) + ") and the smallest form (282x168)");
    if (S.LayerFrame->PictureIndex != -1) Consumer(u"[LAYERFRAME]", "effects off", "pictureindex must be -1");
    if (S.AreaList->Count() != 0) Consumer(u"[SKINAREAS]", "effects off", "the skin has no areas");
  }

  // The popup-menu and hint windows: a whole picture each, nine-sliced.
  void Window(const String& W, Integer PictureIndex, Integer MaskIndex, const TGeometry& G, const TRect& Inner,
              const std::string& InnerKey) {
    const TImage* Img = Pic(PictureIndex);
    if (!Img) {
      Fault(W, 1, "windowpictureindex " + std::to_string(PictureIndex) + " names no active picture");
      return;
    }
    if (MaskIndex != -1) Consumer(W, "effects off", "maskpictureindex must be -1");
    const TRect All(0, 0, Img->Width, Img->Height);
    TGeometry G2 = G;
    // The window image is nine-sliced with the inner rect as its client rect.
    G2.Cl = Inner;
    Composed(W, "window picture", Img, All, G2, 1);
    NoKey(W, "window picture", Img, All);
    Place(W, InnerKey, Inner, Img->Width, Img->Height);
    const TRect LTz(0, 0, G.LT.X, G.LT.Y), RBz(G.RB.X, G.RB.Y, Img->Width, Img->Height);
    if (!PtIn(LTz, Inner.Left, Inner.Top) || !(Inner.Right >= RBz.Left && Inner.Right < RBz.Right &&
                                                 Inner.Bottom >= RBz.Top && Inner.Bottom < RBz.Bottom))
      Fault(W, 4, InnerKey + " " + RectText(Inner) + " must span from the left-top to the right-bottom zone");
  }

  void Windows() {
    auto* Pw = S.PopupWindow;
    Window(u"[POPUPWINDOW]", Pw->WindowPictureIndex, Pw->MaskPictureIndex,
           {Pw->LTPoint, Pw->RTPoint, Pw->LBPoint, Pw->RBPoint, {}, Pw->LeftStretch, Pw->TopStretch, Pw->RightStretch,
            Pw->BottomStretch, Pw->StretchEffect, Pw->StretchType},
           Pw->ItemsRect, "itemsrect");
    auto* H = S.HintWindow;
    Window(u"[HINTWINDOW]", H->WindowPictureIndex, H->MaskPictureIndex,
           {H->LTPoint, H->RTPoint, H->LBPoint, H->RBPoint, {}, H->LeftStretch, H->TopStretch, H->RightStretch,
            H->BottomStretch, H->StretchEffect, H->StretchType},
           H->ClRect, "clientrect");
    if (Pw->WindowPictureIndex != -1) {
      if (S.GetIndex(u"menuitem") < 0) Consumer(u"[POPUPWINDOW]", "menus", "a window picture needs the \"menuitem\" object");
      if (S.GetIndex(u"MENUITEM") >= 0) Consumer(u"MENUITEM", "menus", "give \"menuitem\" only");
    }
  }

  void Objects() {
    for (Integer I = 0; I < S.ObjectList->Count(); ++I) {
      auto* O = static_cast<TspDataSkinObject*>(S.ObjectList->Items(I));
      const String& W = O->IDName;
      const TImage* Img = Pic(O->ActivePictureIndex);
      if (O->ActivePictureIndex != -1 && !Img) Fault(W, 1, "activepictureindex names no active picture");
      if (O->Morphing || O->GlowLayerPictureIndex != -1 || O->ActiveMaskPictureIndex != -1)
        Consumer(W, "effects off", "morphing 0, no glow, no mask");
      if (auto* B = dynamic_cast<TspDataSkinStdButton*>(O)) {
        if (!B->SkinRectInAPicture) Consumer(W, "caption buttons", "skinrectinapicture must be 1");
        if (!InPicture(W, "skinrect", Img, B->SkinRect)) continue;
        for (const auto& [Key, R] : {std::pair<const char*, TRect>{"skinrect", B->SkinRect},
                                     {"activeskinrect", B->ActiveSkinRect}, {"downrect", B->DownRect},
                                     {"inactiveskinrect", B->InActiveSkinRect}, {"disableskinrect", B->DisableSkinRect},
                                     {"restorerect", B->RestoreRect}, {"restoreactiverect", B->RestoreActiveRect},
                                     {"restoredownrect", B->RestoreDownRect}, {"restoreinactiverect", B->RestoreInActiveRect}}) {
          if (State(W, Key, Img, R, B->SkinRect, "skinrect")) NoKey(W, Key, Img, R);
        }
        if (B->GroupIndex != -1) Consumer(W, "caption buttons", "groupindex must be -1");
        if (B->Hint.empty()) Consumer(W, "caption buttons", "the hint is empty");
      } else if (auto* M = dynamic_cast<TspDataSkinMenuItem*>(O)) {
        if (!InPicture(W, "skinrect", Img, M->SkinRect)) continue;
        State(W, "activeskinrect", Img, M->ActiveSkinRect, M->SkinRect, "skinrect");
        Place(W, "textrect", M->TextRct, M->SkinRect.Width(), M->SkinRect.Height());
        Place(W, "imagerect", M->ImageRct, M->SkinRect.Width(), M->SkinRect.Height());
        Strip(W, "skinrect", Img, M->SkinRect, M->ItemLO, M->ItemRO, M->InActiveStretchEffect, true);
        if (!IsSkinRectEmpty(M->ActiveSkinRect))
          Strip(W, "activeskinrect", Img, M->ActiveSkinRect, M->ItemLO, M->ItemRO, M->StretchEffect, true);
        if (InPicture(W, "dividerrect", Img, M->DividerRect))
          Strip(W, "dividerrect", Img, M->DividerRect, M->DividerLO, M->DividerRO, M->DividerStretchEffect, true);
        for (const auto& [Key, R] : {std::pair<const char*, TRect>{"skinrect", M->SkinRect},
                                     {"activeskinrect", M->ActiveSkinRect}, {"dividerrect", M->DividerRect}})
          NoKey(W, Key, Img, R);
        for (const auto& [Key, R] : {std::pair<const char*, TRect>{"checkimagerect", M->CheckImageRect},
                                     {"radioimagerect", M->RadioImageRect}, {"arrowimagerect", M->ArrowImageRect}})
          if (!IsSkinRectEmpty(R)) Keyed(W, Key, Img, R, true, 0);
      }
    }
  }

  // Keys of the written text that every skin of the program must hold.
  void Text() {
    TMemIniFile Ini;
    S.SaveToCustomIniFile(&Ini);
    TStringList Sections, Keys;
    Ini.ReadSections(&Sections);
    for (Integer I = 0; I < Sections.Count(); ++I) {
      const String Sec = Sections.Strings(I);
      Ini.ReadSection(Sec, &Keys);
      for (Integer K = 0; K < Keys.Count(); ++K) {
        const String Key = LowerCase(Keys.Strings(K));
        const String V = Ini.ReadString(Sec, Keys.Strings(K), String());
        auto Ends = [&](const char16_t* Tail) {
          const String T(Tail);
          return Key.size() >= T.size() && Key.compare(Key.size() - T.size(), T.size(), T) == 0;
        };
        if (Ends(u"color") && Key.rfind(u"use", 0) != 0 && V == u"0") Fault(Sec, 7, U8(Key) + " reads black (0)");
        if (Ends(u"fontheight") && StrToIntDef(V, 0) <= 0) Fault(Sec, 7, U8(Key) + " is not a height");
        if (Ends(u"fontname") && V != u"Arial") Consumer(Sec, "fonts", U8(Key) + " must be Arial");
        if ((Key == u"morphing" || Key == u"framecount") && V != u"0") Consumer(Sec, "effects off", U8(Key) + " must be 0");
        if ((Ends(u"maskpictureindex") || Key == u"glowlayerpictureindex") && V != u"-1")
          Consumer(Sec, "effects off", U8(Key) + " must be -1");
      }
    }
    if (Ini.ReadInteger(SkinSectionCursors, u"startcursorindex", 0) != 1 || S.FCursorsNames->Count() != 0)
      Consumer(u"[CURSORS]", "cursors", "startcursorindex 1 and no cursors (a stored skin carries none)");
  }

  // The consumer list.
  void Lookups(const std::vector<TLookup>& List, const String& Scheme) {
    for (const TLookup& L : List) {
      if (!L.Scheme.empty() && L.Scheme != Scheme) continue;
      const Integer I = L.Object ? S.GetIndex(L.Name) : S.GetControlIndex(L.Name);
      auto WordAt = [&](Integer Index) {
        return L.Object ? SkinObjectTypeWord(static_cast<TspDataSkinObject*>(S.ObjectList->Items(Index)))
                        : SkinControlTypeWord(static_cast<TspDataSkinControl*>(S.CtrlList->Items(Index)));
      };
      const std::string Line = "consumer list line " + std::to_string(L.Line);
      if (L.Need == 'X') {
        if (I >= 0) Consumer(L.Name, "names", "must be left out (" + Line + ")");
        continue;
      }
      if (I < 0) {
        if (L.Need == 'R') Consumer(L.Name, "names", "missing (" + Line + ")");
        if (L.Need == 'F') {
          const Integer J = L.Object ? S.GetIndex(L.Fallback) : S.GetControlIndex(L.Fallback);
          if (J < 0 || WordAt(J) != L.Word)
            Consumer(L.Name, "names", "left out, but its fallback \"" + U8(L.Fallback) + "\" is no " + U8(L.Word) +
                                          " description (" + Line + ")");
        }
        continue;
      }
      if (WordAt(I) != L.Word) {
        Consumer(L.Name, "names", "is a " + U8(WordAt(I)) + " description; the program reads a " + U8(L.Word) + " (" + Line + ")");
        continue;
      }
      TRect SR;
      TGeometry G;
      int Mode = -2;
      if (L.Object) {
        SR = static_cast<TspDataSkinObject*>(S.ObjectList->Items(I))->SkinRect;
      } else {
        auto* D = static_cast<TspDataSkinControl*>(S.CtrlList->Items(I));
        SR = D->SkinRect;
        if (auto* C = dynamic_cast<TspDataSkinCustomControl*>(D)) {
          G = GeometryOf(*C);
          Mode = ResizeMode(SR, G.LT, G.RT, G.LB, G.RB);
        }
        // Marks and thumbs the consumer needs at a size.
        if (auto* K = dynamic_cast<TspDataSkinCheckRadioControl*>(D)) SR = K->CheckImageRect;
        if (auto* T = dynamic_cast<TspDataSkinTreeView*>(D)) SR = T->ExpandImageRect;
        if (auto* Sl = dynamic_cast<TspDataSkinSlider*>(D))
          SR = TRect(0, 0, Sl->HThumbRect.Width() / 2, Sl->HThumbRect.Height());
      }
      if (L.Mode) {
        const int Want = L.Mode == 'n' ? 1 : L.Mode == 'h' ? 2 : L.Mode == 'v' ? 3 : 0;
        if (Mode != -2 && Mode != Want)
          Fault(L.Name, 2, std::string("the corner points give a ") + ModeName(Mode) + " image; the program needs " +
                               ModeName(Want) + " (" + Line + ")");
      }
      if ((L.Width && SR.Width() != L.Width) || (L.Height && SR.Height() != L.Height))
        Fault(L.Name, 2, "the image is " + SizeText(SR) + "; the program lays it out at " +
                             (L.Width ? std::to_string(L.Width) : std::string("any")) + "x" +
                             (L.Height ? std::to_string(L.Height) : std::string("any")) + " (" + Line + ")");
    }
  }

  // The panel colour: the face of the panels the program colours itself.
  void PanelFace() {
    const TColor Face = S.SkinColors()->cBtnFace();
    for (const char16_t* N : {u"panel", u"resizetoolpanel", u"groupbox", u"scrollbox", u"panel2"}) {
      const Integer I = S.GetControlIndex(N);
      if (I < 0) continue;
      auto* C = dynamic_cast<TspDataSkinCustomControl*>(static_cast<TspDataSkinControl*>(S.CtrlList->Items(I)));
      const TImage* Img = C ? Pic(C->PictureIndex) : nullptr;
      if (!Img || !Img->Contains(C->SkinRect)) continue;
      const TRect Cl = C->ClRect;
      for (Integer Y = Cl.Top; Y < Cl.Bottom; ++Y)
        for (Integer X = Cl.Left; X < Cl.Right; ++X)
          if (Img->At(C->SkinRect.Left + X, C->SkinRect.Top + Y) != Face) {
            Consumer(N, "panel colour", "the face differs from cbtnface at (" + std::to_string(X) + ", " +
                                            std::to_string(Y) + ")");
            Y = Cl.Bottom;
            break;
          }
    }
  }

  // The tab control's scroll buttons sit in its tab row: "hupdown" is as
  // high as a tab.
  void TabUpDown() {
    const Integer T = S.GetControlIndex(u"tab");
    if (T < 0) return;
    auto* Tab = dynamic_cast<TspDataSkinTabControl*>(static_cast<TspDataSkinControl*>(S.CtrlList->Items(T)));
    const Integer U = Tab ? S.GetControlIndex(Tab->UpDown) : -1;
    if (U < 0) return;
    auto* Ud = dynamic_cast<TspDataSkinCustomControl*>(static_cast<TspDataSkinControl*>(S.CtrlList->Items(U)));
    if (Ud && Ud->SkinRect.Height() != Tab->TabRect.Height())
      Consumer(Ud->IDName, "tab row", "the image is " + std::to_string(Ud->SkinRect.Height()) + " high, a tab " +
                                          std::to_string(Tab->TabRect.Height()));
  }

  void Sizes() {
    auto Check = [&](const String& N, const TImage& I) {
      if (I.Width > 512 || I.Height > 512)
        Fault(N, 11, "the picture is " + std::to_string(I.Width) + "x" + std::to_string(I.Height) + ", above 512x512");
    };
    Check(u"frame picture", P.Frame);
    for (size_t I = 0; I < P.Active.size(); ++I) Check(u"active picture " + IntToStr(Integer(I)), P.Active[I]);
  }

 private:
  std::string FScheme;
  TspSkinFields& S;
  const TPictures& P;
};

std::string Trim(const std::string& S) {
  size_t B = 0, E = S.size();
  while (B < E && std::isspace(static_cast<unsigned char>(S[B]))) ++B;
  while (E > B && std::isspace(static_cast<unsigned char>(S[E - 1]))) --E;
  return S.substr(B, E - B);
}

}  // namespace

TImage DecodeBmp(const TBytes& Bmp) {
  TBytesStream Stream(Bmp);
  TBmpImage B;
  if (!ReadBmpImage(&Stream, B) || B.BitCount != 24) throw std::runtime_error("not a 24-bit BMP image");
  TImage I;
  I.Width = B.Width;
  I.Height = B.Height;
  I.Pixels.resize(size_t(B.Width) * B.Height);
  for (Integer Y = 0; Y < B.Height; ++Y) {
    const Byte* Row = B.Pixels.data() + size_t(B.Height - 1 - Y) * B.Stride;
    for (Integer X = 0; X < B.Width; ++X)
      I.Pixels[size_t(Y) * B.Width + X] = Cardinal(Row[3 * X + 2]) | (Cardinal(Row[3 * X + 1]) << 8) |
                                          (Cardinal(Row[3 * X]) << 16);
  }
  return I;
}

std::vector<TLookup> ParseLookups(const std::string& File, const std::string& Text) {
  std::vector<TLookup> Out;
  std::istringstream In(Text);
  std::string Line;
  int N = 0;
  while (std::getline(In, Line)) {
    ++N;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    const size_t Hash = Line.find('#');
    Line = Trim(Hash == std::string::npos ? Line : Line.substr(0, Hash));
    if (Line.empty()) continue;
    std::istringstream W(Line);
    std::vector<std::string> T;
    for (std::string X; W >> X;) T.push_back(X);
    auto Bad = [&](const std::string& M) { return std::runtime_error(File + ":" + std::to_string(N) + ": " + M); };
    if (T.size() < 4 || (T[0] != "control" && T[0] != "object"))
      throw Bad("expected \"control|object NAME WORD R|F|O|X [key=value ...]\"");
    TLookup L;
    L.Object = T[0] == "object";
    L.Name = ToString(T[1]);
    L.Word = ToString(T[2]);
    L.Line = N;
    if (T[3].size() != 1 || std::string("RFOX").find(T[3][0]) == std::string::npos) throw Bad("need R, F, O or X");
    L.Need = T[3][0];
    for (size_t I = 4; I < T.size(); ++I) {
      const size_t Eq = T[I].find('=');
      if (Eq == std::string::npos) throw Bad("expected key=value, not \"" + T[I] + "\"");
      const std::string K = T[I].substr(0, Eq), V = T[I].substr(Eq + 1);
      try {
        if (K == "fallback")
          L.Fallback = ToString(V);
        else if (K == "scheme")
          L.Scheme = ToString(V);
        else if (K == "width")
          L.Width = std::stoi(V);
        else if (K == "height")
          L.Height = std::stoi(V);
        else if (K == "size") {
          const size_t X = V.find('x');
          if (X == std::string::npos) throw Bad("size=WxH");
          L.Width = std::stoi(V.substr(0, X));
          L.Height = std::stoi(V.substr(X + 1));
        } else if (K == "mode") {
          if (V != "nine" && V != "horz" && V != "vert" && V != "fixed") throw Bad("mode=nine|horz|vert|fixed");
          L.Mode = V == "nine" ? 'n' : V == "horz" ? 'h' : V == "vert" ? 'v' : 'f';
        } else {
          throw Bad("unknown key \"" + K + "\"");
        }
      } catch (const std::invalid_argument&) {
        throw Bad("bad number in \"" + T[I] + "\"");
      }
    }
    if (L.Need == 'F' && L.Fallback.empty()) throw Bad("F needs fallback=NAME");
    Out.push_back(L);
  }
  return Out;
}

std::vector<std::string> CheckSkin(const String& Scheme, TspSkinFields& Skin, const TPictures& Pictures,
                                   const std::vector<TLookup>& Lookups) {
  TChecker C(Scheme, Skin, Pictures);
  if (Skin.SkinName != Scheme) C.Consumer(u"[VERSION]", "name", "skinname is \"" + U8(Skin.SkinName) + "\"");
  C.Sizes();
  C.Frame();
  C.Windows();
  C.Objects();
  for (Integer I = 0; I < Skin.CtrlList->Count(); ++I) C.Control(static_cast<TspDataSkinControl*>(Skin.CtrlList->Items(I)));
  C.PanelFace();
  C.TabUpDown();
  C.Text();
  C.Lookups(Lookups, Scheme);
  return C.Faults;
}

std::string MaskedIniText(TspSkinFields& Skin) {
  TMemIniFile Ini;
  Skin.SaveToCustomIniFile(&Ini);
  TStringList Lines;
  Ini.GetStrings(&Lines);
  std::string Out;
  bool Colors = false;
  for (Integer I = 0; I < Lines.Count(); ++I) {
    std::string L = U8(Lines.Strings(I));
    if (!L.empty() && L[0] == '[') Colors = L == "[SKINCOLORS]";
    const size_t Eq = L.find('=');
    if (Eq != std::string::npos && Colors) {
      L = L.substr(0, Eq) + "=*";
    } else if (Eq != std::string::npos) {
      std::string Key = L.substr(0, Eq);
      std::transform(Key.begin(), Key.end(), Key.begin(), [](unsigned char C) { return std::tolower(C); });
      if ((Key.size() >= 5 && Key.compare(Key.size() - 5, 5, "color") == 0) || Key == "skinname")
        L = L.substr(0, Eq) + "=*";
    }
    Out += L + "\n";
  }
  return Out;
}

}  // namespace skinrules
