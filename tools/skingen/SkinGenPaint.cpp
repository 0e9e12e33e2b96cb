// Drawing the skin pictures with the bitmap engine: fills, frames, lines and
// per-row gradients through TCustomBitmap32, and anti-aliased shapes (rounded
// rectangles, discs, strokes) by a coverage computed here from the shape's
// signed distance at each pixel centre and blended by the engine. Everything
// is drawn opaque; a piece that the program draws keyed gets the key colour
// only where its shape does not reach (its edges are composed onto the face
// the piece will sit on).
#include <algorithm>
#include <cmath>
#include <functional>

#include "skin/data/SkinIni.h"
#include "tools/skingen/SkinGen.h"

namespace skingen {

namespace {

constexpr TColor KeyColor = 0xFF00FF;  // $FF00FF, the keyed pieces' transparent colour

TColor32 C32(TColor C) {
  const Cardinal V = static_cast<Cardinal>(C);
  return 0xFF000000u | ((V & 0xFF) << 16) | (V & 0xFF00) | ((V >> 16) & 0xFF);
}

TColor FromC32(TColor32 C) {
  return static_cast<TColor>(((C >> 16) & 0xFF) | (C & 0xFF00) | ((C & 0xFF) << 16));
}

TColor MixC(TColor A, TColor B, double T) {
  auto Ch = [&](int S) {
    const double X = double((Cardinal(A) >> S) & 0xFF), Y = double((Cardinal(B) >> S) & 0xFF);
    return Cardinal(std::lround(X + (Y - X) * std::clamp(T, 0.0, 1.0))) << S;
  };
  return static_cast<TColor>(Ch(0) | Ch(8) | Ch(16));
}

using TColorAt = std::function<TColor(int X, int Y)>;

// A window of a picture in local coordinates (0, 0 at its top-left corner);
// nothing is drawn outside it.
class TDraw {
 public:
  TDraw(TCustomBitmap32& B, const TRect& R) : FB(B), FR(R) {}
  int W() const { return FR.Width(); }
  int H() const { return FR.Height(); }

  void Fill(int X0, int Y0, int X1, int Y1, TColor C) {
    X0 = std::max(X0, 0), Y0 = std::max(Y0, 0), X1 = std::min(X1, W()), Y1 = std::min(Y1, H());
    if (X1 > X0 && Y1 > Y0) FB.FillRectS(FR.Left + X0, FR.Top + Y0, FR.Left + X1, FR.Top + Y1, C32(C));
  }
  void Fill(TColor C) { Fill(0, 0, W(), H(), C); }
  // A horizontal line X0..X1-1 and a vertical line Y0..Y1-1.
  void HLine(int X0, int X1, int Y, TColor C) {
    X0 = std::max(X0, 0), X1 = std::min(X1, W());
    if (Y >= 0 && Y < H() && X1 > X0) FB.HorzLineS(FR.Left + X0, FR.Top + Y, FR.Left + X1 - 1, C32(C));
  }
  void VLine(int X, int Y0, int Y1, TColor C) {
    Y0 = std::max(Y0, 0), Y1 = std::min(Y1, H());
    if (X >= 0 && X < W() && Y1 > Y0) FB.VertLineS(FR.Left + X, FR.Top + Y0, FR.Top + Y1 - 1, C32(C));
  }
  void Frame(int X0, int Y0, int X1, int Y1, TColor C) {
    FB.FrameRectS(FR.Left + X0, FR.Top + Y0, FR.Left + X1, FR.Top + Y1, C32(C));
  }
  // Rows Y0..Y1-1 from Top to Bottom, each row one colour.
  void VGradient(int X0, int Y0, int X1, int Y1, TColor Top, TColor Bottom) {
    for (int Y = Y0; Y < Y1; ++Y) HLine(X0, X1, Y, MixC(Top, Bottom, Y1 - Y0 > 1 ? double(Y - Y0) / (Y1 - Y0 - 1) : 0));
  }
  TColor Get(int X, int Y) const { return FromC32(FB.GetPixel(FR.Left + X, FR.Top + Y)); }
  void Set(int X, int Y, TColor C) {
    if (X >= 0 && Y >= 0 && X < W() && Y < H()) FB.SetPixel(FR.Left + X, FR.Top + Y, C32(C));
  }
  // C over the pixel by the coverage A (0..1), blended by the engine.
  void Blend(int X, int Y, TColor C, double A) {
    if (X < 0 || Y < 0 || X >= W() || Y >= H() || A <= 0) return;
    if (A >= 1) return Set(X, Y, C);
    FB.SetPixelTS(FR.Left + X, FR.Top + Y, (C32(C) & 0xFFFFFFu) | (Cardinal(std::lround(A * 255)) << 24));
  }
  // A shape given by its signed distance (negative inside) at pixel centres:
  // coverage clamp(0.5 - d); Paint gets each covered pixel and its coverage.
  template <class Dist>
  void Shape(int X0, int Y0, int X1, int Y1, Dist D, const TColorAt& Color) {
    for (int Y = std::max(Y0, 0); Y < std::min(Y1, H()); ++Y)
      for (int X = std::max(X0, 0); X < std::min(X1, W()); ++X) {
        const double A = std::clamp(0.5 - D(X + 0.5, Y + 0.5), 0.0, 1.0);
        if (A > 0) Blend(X, Y, Color(X, Y), A);
      }
  }

 private:
  TCustomBitmap32& FB;
  TRect FR;
};

// Signed distance to a rounded rectangle (X0, Y0)-(X1, Y1) of corner radius R.
double RoundRectDist(double PX, double PY, double X0, double Y0, double X1, double Y1, double R) {
  const double CX = (X0 + X1) / 2, CY = (Y0 + Y1) / 2;
  const double BX = (X1 - X0) / 2 - R, BY = (Y1 - Y0) / 2 - R;
  const double QX = std::abs(PX - CX) - BX, QY = std::abs(PY - CY) - BY;
  const double OX = std::max(QX, 0.0), OY = std::max(QY, 0.0);
  return std::sqrt(OX * OX + OY * OY) + std::min(std::max(QX, QY), 0.0) - R;
}

double SegmentDist(double PX, double PY, double AX, double AY, double BX, double BY) {
  const double DX = BX - AX, DY = BY - AY;
  const double L = DX * DX + DY * DY;
  const double T = L > 0 ? std::clamp(((PX - AX) * DX + (PY - AY) * DY) / L, 0.0, 1.0) : 0;
  const double EX = AX + T * DX - PX, EY = AY + T * DY - PY;
  return std::sqrt(EX * EX + EY * EY);
}

TColorAt Flat(TColor C) {
  return [C](int, int) { return C; };
}

TColorAt Vertical(TColor Top, TColor Bottom, int Y0, int Y1) {
  return [=](int, int Y) { return MixC(Top, Bottom, Y1 - Y0 > 1 ? double(Y - Y0) / (Y1 - Y0 - 1) : 0); };
}

// A rounded rectangle with a border of width BW in Border and its inside in
// Fill (BW 0: no border).
void RoundBox(TDraw& D, double X0, double Y0, double X1, double Y1, double R, double BW, TColor Border,
              const TColorAt& Fill) {
  const int IX0 = int(std::floor(X0)), IY0 = int(std::floor(Y0)), IX1 = int(std::ceil(X1)),
            IY1 = int(std::ceil(Y1));
  if (BW > 0)
    D.Shape(IX0, IY0, IX1, IY1, [&](double X, double Y) { return RoundRectDist(X, Y, X0, Y0, X1, Y1, R); },
            Flat(Border));
  const double IR = std::max(R - BW, 0.0);
  D.Shape(IX0, IY0, IX1, IY1,
          [&](double X, double Y) { return RoundRectDist(X, Y, X0 + BW, Y0 + BW, X1 - BW, Y1 - BW, IR); }, Fill);
}

// A polyline of width Width with round ends and joins.
void Stroke(TDraw& D, const std::vector<std::pair<double, double>>& P, double Width, TColor C) {
  double MinX = 1e9, MinY = 1e9, MaxX = -1e9, MaxY = -1e9;
  for (auto [X, Y] : P) MinX = std::min(MinX, X), MinY = std::min(MinY, Y), MaxX = std::max(MaxX, X), MaxY = std::max(MaxY, Y);
  const int M = int(std::ceil(Width)) + 1;
  D.Shape(int(MinX) - M, int(MinY) - M, int(MaxX) + M + 1, int(MaxY) + M + 1,
          [&](double X, double Y) {
            double Best = 1e9;
            for (size_t I = 0; I + 1 < P.size(); ++I)
              Best = std::min(Best, SegmentDist(X, Y, P[I].first, P[I].second, P[I + 1].first, P[I + 1].second));
            return Best - Width / 2;
          },
          Flat(C));
}

void Disc(TDraw& D, double CX, double CY, double R, TColor C) {
  D.Shape(int(CX - R) - 1, int(CY - R) - 1, int(CX + R) + 2, int(CY + R) + 2,
          [&](double X, double Y) { return std::hypot(X - CX, Y - CY) - R; }, Flat(C));
}

// A chevron pointing Dir ('l', 'r', 'u', 'd') centred at (CX, CY), arms S long.
void Chevron(TDraw& D, double CX, double CY, double S, char Dir, TColor C, double Width = 1.5) {
  std::vector<std::pair<double, double>> P;
  const double H = S / 2;
  switch (Dir) {
    case 'd': P = {{CX - S, CY - H}, {CX, CY + H}, {CX + S, CY - H}}; break;
    case 'u': P = {{CX - S, CY + H}, {CX, CY - H}, {CX + S, CY + H}}; break;
    case 'r': P = {{CX - H, CY - S}, {CX + H, CY}, {CX - H, CY + S}}; break;
    default: P = {{CX + H, CY - S}, {CX - H, CY}, {CX + H, CY + S}}; break;
  }
  Stroke(D, P, Width, C);
}

// Every pixel of the piece that still holds the face colour it was filled
// with and that no shape reached becomes the key colour. Called with a mask
// of the pixels the shapes covered.
void KeyOutside(TDraw& D, const std::vector<bool>& Covered) {
  for (int Y = 0; Y < D.H(); ++Y)
    for (int X = 0; X < D.W(); ++X)
      if (!Covered[size_t(Y) * D.W() + X]) D.Set(X, Y, KeyColor);
}

// The pixels a rounded rectangle covers at all.
std::vector<bool> CoverRoundRect(int W, int H, double X0, double Y0, double X1, double Y1, double R) {
  std::vector<bool> M(size_t(W) * H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) M[size_t(Y) * W + X] = RoundRectDist(X + 0.5, Y + 0.5, X0, Y0, X1, Y1, R) < 0.5;
  return M;
}

// ---------------------------------------------------------------------------
// Painting context

struct TCtx {
  const TLayout& Layout;
  const TPalette& Pal;
  const TLayoutEntry* Entry;
  const TSourcePos& Pos;

  TColor C(const std::string& Name) const { return Pal.Get(Name, Pos); }
  const TLayoutKey& Key(const TLayoutEntry& E, const std::string& K) const {
    const TLayoutKey* P = E.FindKey(K);
    if (!P) throw ESkinSource(E.Pos, "the painter needs the key \"" + K + "\"");
    return *P;
  }
  TRect Rect(const std::string& K) const { return Rect(*Entry, K); }
  TRect Rect(const TLayoutEntry& E, const std::string& K) const {
    const TLayoutKey& P = Key(E, K);
    try {
      return TextToRect(ToString(P.Value));
    } catch (const Exception&) {
      throw ESkinSource(P.Pos, "bad rectangle \"" + P.Value + "\"");
    }
  }
  TPoint Point(const std::string& K) const {
    const TLayoutKey& P = Key(*Entry, K);
    try {
      return TextToPoint(ToString(P.Value));
    } catch (const Exception&) {
      throw ESkinSource(P.Pos, "bad point \"" + P.Value + "\"");
    }
  }
  // A painter argument "name:value" of the description, as an integer.
  int Arg(const std::string& Name, int Default) const {
    for (const auto& A : Entry->Paint)
      if (A.rfind(Name + ":", 0) == 0) {
        try {
          return std::stoi(A.substr(Name.size() + 1));
        } catch (const std::exception&) {
          throw ESkinSource(Entry->Pos, "bad painter argument \"" + A + "\"");
        }
      }
    return Default;
  }
  bool Flag(const std::string& Name) const {
    return std::find(Entry->Paint.begin(), Entry->Paint.end(), Name) != Entry->Paint.end();
  }
};

std::string State(const TLayoutImage& I) { return I.Args.empty() ? std::string("normal") : I.Args[0]; }

[[noreturn]] void BadState(const TLayoutImage& I, const std::string& Painter) {
  throw ESkinSource(I.Pos, "the painter \"" + Painter + "\" cannot draw \"" + State(I) + "\"");
}

// The caption band of the frame: its colour at frame row Y.
TColor BandColor(const TCtx& X, int Y) {
  const TLayoutEntry* F = X.Layout.Find("forminfo");
  const int Top = X.Rect(*F, "clientrect").Top;
  if (Y >= Top - 1) return X.C("capline");
  return MixC(X.C("captop"), X.C("capbottom"), double(std::clamp(Y - 1, 0, Top - 3)) / std::max(Top - 3, 1));
}

// ---------------------------------------------------------------------------
// Whole pictures

void PaintFrame(const TCtx& X, TDraw& D) {
  const TRect Cl = X.Rect(*X.Layout.Find("forminfo"), "clientrect");
  D.Fill(X.C("header"));
  for (int Y = 1; Y < Cl.Top; ++Y) D.HLine(1, D.W() - 1, Y, BandColor(X, Y));
  const TColor Line = X.C("capline");
  D.VLine(Cl.Left - 1, Cl.Top, Cl.Bottom + 1, Line);
  D.VLine(Cl.Right, Cl.Top, Cl.Bottom + 1, Line);
  D.HLine(Cl.Left - 1, Cl.Right + 1, Cl.Bottom, Line);
  D.Fill(Cl.Left, Cl.Top, Cl.Right, Cl.Bottom, X.C("face"));
  D.Frame(0, 0, D.W(), D.H(), X.C("frameborder"));
}

void PaintWindow(const TCtx& X, TDraw& D, const std::string& Face, const std::string& Border) {
  D.Fill(X.C(Face));
  D.Frame(0, 0, D.W(), D.H(), X.C(Border));
}

// ---------------------------------------------------------------------------
// Pieces

// Caption buttons on the caption band: glyph Glyph in state S.
void PaintCapButton(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const TLayoutEntry* F = X.Layout.Find("forminfo");
  const int Row = X.Rect(*F, "captionrect").Top + (X.Rect(*F, "captionrect").Height() - D.H()) / 2;
  for (int Y = 0; Y < D.H(); ++Y) D.HLine(0, D.W(), Y, BandColor(X, Row + Y));
  const std::string S = State(I);
  std::string Glyph = X.Entry->Paint.size() > 1 ? X.Entry->Paint[1] : "close";
  if (I.Args.size() > 1) Glyph = I.Args[1];
  const bool Close = Glyph == "close";
  TColor Ink = X.C("captext");
  if (S == "hot" || S == "down") {
    const TColor Face = X.C(Close ? (S == "hot" ? "closehot" : "closedown") : (S == "hot" ? "capbtnhot" : "capbtndown"));
    RoundBox(D, 0, 0, D.W(), D.H(), 3, 0, Face, Flat(Face));
    if (Close) Ink = X.C("closeglyph");
  } else if (S != "normal") {
    BadState(I, "capbutton");
  }
  const double CX = D.W() / 2.0, CY = D.H() / 2.0;
  if (Glyph == "close") {
    Stroke(D, {{CX - 3.5, CY - 3.5}, {CX + 3.5, CY + 3.5}}, 1.25, Ink);
    Stroke(D, {{CX - 3.5, CY + 3.5}, {CX + 3.5, CY - 3.5}}, 1.25, Ink);
  } else if (Glyph == "min") {
    D.Fill(int(CX) - 4, int(CY) + 2, int(CX) + 4, int(CY) + 3, Ink);
  } else if (Glyph == "max") {
    const int L = int(CX) - 4, T = int(CY) - 4;
    D.Frame(L, T, L + 8, T + 8, Ink);
    D.HLine(L, L + 8, T + 1, Ink);
  } else if (Glyph == "restore") {
    const int L = int(CX) - 4, T = int(CY) - 4;
    D.HLine(L + 2, L + 9, T - 1, Ink);
    D.HLine(L + 2, L + 9, T, Ink);
    D.VLine(L + 8, T - 1, T + 5, Ink);
    D.VLine(L + 2, T - 1, T + 2, Ink);
    D.HLine(L + 7, L + 9, T + 4, Ink);
    D.Frame(L, T + 2, L + 7, T + 9, Ink);
    D.HLine(L, L + 7, T + 3, Ink);
  } else if (Glyph == "sysmenu") {
    const TColor Acc = X.C("accent");
    RoundBox(D, CX - 6, CY - 6, CX + 6, CY + 6, 2.5, 1, Acc, Flat(X.C("sysmenuface")));
    D.Fill(int(CX) - 5, int(CY) - 5, int(CX) + 5, int(CY) - 2, Acc);
    D.Fill(int(CX) - 3, int(CY), int(CX) + 3, int(CY) + 1, Acc);
    D.Fill(int(CX) - 3, int(CY) + 2, int(CX) + 1, int(CY) + 3, Acc);
  } else {
    throw ESkinSource(I.Pos, "unknown caption button glyph \"" + Glyph + "\"");
  }
}

void PaintMenuItem(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  D.Fill(X.C("menuface"));
  if (S == "active") {
    RoundBox(D, 2, 1, D.W() - 2, D.H() - 1, 3, 1, X.C("menuselborder"), Flat(X.C("menusel")));
  } else if (S == "divider") {
    D.HLine(X.Arg("divider", 0), D.W() - 4, D.H() / 2, X.C("menudivider"));
  } else if (S != "normal") {
    BadState(I, "menuitem");
  }
}

// Push buttons: five states of a rounded box with a vertical gradient.
void PaintButton(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  const double R = X.Arg("radius", 3);
  D.Fill(X.C("face"));
  const int H = D.H();
  if (S == "normal")
    RoundBox(D, 0, 0, D.W(), H, R, 1, X.C("btnborder"), Vertical(X.C("btntop"), X.C("btnbottom"), 1, H - 1));
  else if (S == "hot")
    RoundBox(D, 0, 0, D.W(), H, R, 1, X.C("btnhotborder"), Vertical(X.C("btnhottop"), X.C("btnhotbottom"), 1, H - 1));
  else if (S == "down")
    RoundBox(D, 0, 0, D.W(), H, R, 1, X.C("btndownborder"), Flat(X.C("btndown")));
  else if (S == "focused") {
    RoundBox(D, 0, 0, D.W(), H, R, 1, X.C("accent"), Flat(X.C("focusring")));
    RoundBox(D, 1, 1, D.W() - 1, H - 1, R - 1, 0, 0, Vertical(X.C("btntop"), X.C("btnbottom"), 2, H - 2));
  } else if (S == "disabled")
    RoundBox(D, 0, 0, D.W(), H, R, 1, X.C("btndisabledborder"), Flat(X.C("btndisabled")));
  else
    BadState(I, "button");
}

// Tool buttons: flat on the face at rest, a tinted box when hot or down; with
// "track:X" a drop-down part from X on with its arrow.
void PaintToolButton(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  const double R = X.Arg("radius", 3);
  const int Track = X.Arg("track", 0);
  D.Fill(X.C("face"));
  if (S == "hot")
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("toolhotborder"), Flat(X.C("toolhot")));
  else if (S == "down")
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("tooldownborder"), Flat(X.C("tooldown")));
  else if (S == "framed")  // the framed look of check boxes: no border at rest
    ;
  else if (S == "framedhot")
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("toolhotborder"), Flat(X.C("toolhot")));
  else if (S != "normal")
    BadState(I, "toolbutton");
  if (Track > 0) {
    if (S == "hot" || S == "down") D.VLine(Track, 3, D.H() - 3, X.C("toolhotborder"));
    Chevron(D, (Track + 1 + D.W()) / 2.0, D.H() / 2.0, 3, 'd', X.C("text"), 1.4);
  }
}

// Check and radio marks, 14 x 14: the shape in the middle with a key-coloured
// margin; the shape's edges are composed onto the face.
void PaintToolButton(const TCtx& X, TDraw& D, const TLayoutImage& I);

void PaintMark(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const bool Radio = X.Flag("radio");
  const std::string S = State(I);
  if (S == "framed" || S == "framedhot") return PaintToolButton(X, D, I);
  const bool On = S == "on" || S == "hoton" || S == "dison";
  const bool Hot = S == "hoton" || S == "hotoff";
  const bool Dis = S == "dison" || S == "disoff";
  if (!On && S != "off" && S != "hotoff" && S != "disoff") BadState(I, "mark");
  D.Fill(X.C("face"));
  const double X0 = 1, Y0 = 1, X1 = D.W() - 1, Y1 = D.H() - 1;
  const double R = Radio ? (X1 - X0) / 2 : 2.5;
  TColor Border = X.C(Dis ? "btndisabledborder" : (Hot || On) ? "accent" : "markborder");
  TColor Face = X.C(Dis ? "markdisabled" : Hot ? "markhot" : "field");
  if (On && !Radio) Face = Border = X.C(Dis ? "btndisabledborder" : Hot ? "accenthot" : "accent");
  RoundBox(D, X0, Y0, X1, Y1, R, 1, Border, Flat(Face));
  if (On && Radio) Disc(D, D.W() / 2.0, D.H() / 2.0, 3, X.C(Dis ? "btndisabledborder" : Hot ? "accenthot" : "accent"));
  if (On && !Radio) Stroke(D, {{3.9, 7.1}, {6.0, 9.3}, {10.2, 4.7}}, 1.7, X.C("highlighttext"));
  KeyOutside(D, CoverRoundRect(D.W(), D.H(), X0, Y0, X1, Y1, R));
}

// Panels, group boxes, scroll boxes and list frames: a rounded frame around
// a flat inside.
void PaintPanel(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const TRect Cl = X.Rect("clientrect");
  const std::string Style = X.Entry->Paint.size() > 1 ? X.Entry->Paint[1] : "plain";
  if (State(I) != "normal") BadState(I, "panel");
  D.Fill(X.C("face"));
  const double R = X.Arg("radius", 2);
  if (Style == "plain") {
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("panelborder"), Flat(X.C("face")));
  } else if (Style == "info") {
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("infoborder"), Flat(X.C("inforing")));
    RoundBox(D, 1, 1, D.W() - 1, D.H() - 1, R - 1, 0, 0, Flat(X.C("face")));
  } else if (Style == "group") {
    const TColor Band = X.C("groupheader");
    const int Line = Cl.Top - 1;
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("groupborder"),
             [&](int, int Y) { return Y < Line ? Band : Y == Line ? X.C("groupline") : X.C("face"); });
  } else if (Style == "field") {
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("border"), Flat(X.C("field")));
  } else if (Style == "scroll") {
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("border"), Flat(X.C("face")));
  } else {
    throw ESkinSource(X.Entry->Pos, "unknown panel style \"" + Style + "\"");
  }
}

// The arrow glyph of a button place: "up", "down", "left", "right" or none.
void PlaceArrow(const TCtx& X, TDraw& D, const TRect& R, const std::string& Glyph, TColor C) {
  const double CX = (R.Left + R.Right) / 2.0, CY = (R.Top + R.Bottom) / 2.0;
  const double S = std::min(R.Width(), R.Height()) >= 12 ? 3.5 : 2.5;
  if (Glyph == "up") Chevron(D, CX, CY, S, 'u', C);
  if (Glyph == "down") Chevron(D, CX, CY, S, 'd', C);
  if (Glyph == "left") Chevron(D, CX, CY, S, 'l', C);
  if (Glyph == "right") Chevron(D, CX, CY, S, 'r', C);
  (void)X;
}

// Edits, button edits, spin edits and combo boxes: a field with a border of
// straight lines (the bands stay uniform along their length), the button
// places drawn at rest with their arrows ("combo" and "arrow" put a down
// arrow on the single button place, "arrow" keeping the divider beside the
// text); "button" pieces are the hot, pressed and disabled looks of one place.
void PaintItem(const TCtx& X, TDraw& D, const TLayoutImage& I);

void PaintField(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  if (S == "item") {
    TLayoutImage Item = I;
    Item.Args.erase(Item.Args.begin());
    return PaintItem(X, D, Item);
  }
  const double R = X.Arg("radius", 2);
  if (S == "button") {
    const std::string Look = I.Args.size() > 1 ? I.Args[1] : "hot";
    const std::string Glyph = I.Args.size() > 2 ? I.Args[2] : "";
    D.Fill(X.C("field"));
    TColor Ink = X.C("arrow");
    if (Look == "hot")
      RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("toolhotborder"), Flat(X.C("toolhot")));
    else if (Look == "down")
      RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C("tooldownborder"), Flat(X.C("tooldown")));
    else if (Look == "disabled")
      D.Fill(X.C("fielddisabled")), Ink = X.C("textdim");
    else
      BadState(I, "field");
    PlaceArrow(X, D, TRect(0, 0, D.W(), D.H()), Glyph, Ink);
    return;
  }
  TColor Border, Face = X.C("field");
  if (S == "normal")
    Border = X.C("border");
  else if (S == "hot")
    Border = X.C("accent");
  else if (S == "disabled")
    Border = X.C("btndisabledborder"), Face = X.C("fielddisabled");
  else
    BadState(I, "field");
  D.Fill(X.C("face"));
  RoundBox(D, 0, 0, D.W(), D.H(), R, 1, Border, Flat(Face));
  // The button places at rest.
  for (const char* K : {"buttonrect", "upbuttonrect", "downbuttonrect"}) {
    const TLayoutKey* P = X.Entry->FindKey(K);
    if (!P) continue;
    const TRect B = X.Rect(K);
    const std::string Glyph = std::string(K) == "upbuttonrect"     ? "up"
                              : std::string(K) == "downbuttonrect" ? "down"
                              : X.Flag("combo") || X.Flag("arrow") ? "down"
                                                                   : "";
    // A button beside the text (not a combo box's) keeps its divider.
    if (!X.Flag("combo") && std::string(K) == "buttonrect")
      D.VLine(B.Left - 1, B.Top + 1, B.Bottom - 1, X.C("fieldline"));
    PlaceArrow(X, D, B, Glyph, S == "disabled" ? X.C("textdim") : X.C("arrow"));
  }
}

// Item backgrounds of lists and combo boxes.
void PaintItem(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  D.Fill(X.C("field"));
  if (S == "frame")
    D.Frame(0, 0, D.W(), D.H(), X.C("border"));
  else if (S == "selected")
    RoundBox(D, 1, 0, D.W() - 1, D.H(), 2, 1, X.C("selborder"), Flat(X.C("selface")));
  else if (S == "focused")
    RoundBox(D, 1, 0, D.W() - 1, D.H(), 2, 0, 0, Flat(X.C("accent")));
  else if (S != "normal")
    BadState(I, "item");
}

// Scroll bars ("h" or "v"): a flat track with the two arrow places, hot and
// pressed arrow buttons, and a rounded thumb drawn on the track.
void PaintScrollBar(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const bool Vert = X.Flag("v");
  const std::string S = State(I);
  D.Fill(X.C("track"));
  if (S == "bar") {
    PlaceArrow(X, D, X.Rect("downbuttonrect"), Vert ? "up" : "left", X.C("arrow"));
    PlaceArrow(X, D, X.Rect("upbuttonrect"), Vert ? "down" : "right", X.C("arrow"));
  } else if (S == "button") {
    const std::string Look = I.Args.size() > 1 ? I.Args[1] : "hot";
    const std::string Glyph = I.Args.size() > 2 ? I.Args[2] : "";
    if (Look != "hot" && Look != "down") BadState(I, "scrollbar");
    RoundBox(D, 1, 1, D.W() - 1, D.H() - 1, 2, 0, 0, Flat(X.C(Look == "hot" ? "sbbtnhot" : "sbbtndown")));
    PlaceArrow(X, D, TRect(0, 0, D.W(), D.H()), Glyph, X.C(Look == "hot" ? "arrowhot" : "arrowdown"));
  } else if (S == "thumb") {
    const std::string Look = I.Args.size() > 1 ? I.Args[1] : "normal";
    const TColor C = X.C(Look == "normal" ? "thumb" : Look == "hot" ? "thumbhot" : "thumbdown");
    if (Look != "normal" && Look != "hot" && Look != "down") BadState(I, "scrollbar");
    const double In = X.Arg("thumbinset", 4);
    if (Vert)
      RoundBox(D, In, 1, D.W() - In, D.H() - 1, (D.W() - 2 * In) / 2, 0, 0, Flat(C));
    else
      RoundBox(D, 1, In, D.W() - 1, D.H() - In, (D.H() - 2 * In) / 2, 0, 0, Flat(C));
  } else {
    BadState(I, "scrollbar");
  }
}

// Up-down pairs ("h": decreasing left, increasing right; "v": increasing on
// top): small buttons with arrows.
void PaintUpDown(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const bool Vert = X.Flag("v");
  const std::string S = State(I);
  D.Fill(X.C("face"));
  auto Button = [&](const TRect& R, const std::string& Look, const std::string& Glyph) {
    const TColorAt Fill = Look == "normal" ? Vertical(X.C("btntop"), X.C("btnbottom"), R.Top + 1, R.Bottom - 1)
                          : Look == "hot"  ? Vertical(X.C("btnhottop"), X.C("btnhotbottom"), R.Top + 1, R.Bottom - 1)
                                           : Flat(X.C("btndown"));
    const TColor Border = X.C(Look == "normal" ? "btnborder" : Look == "hot" ? "btnhotborder" : "btndownborder");
    RoundBox(D, R.Left, R.Top, R.Right, R.Bottom, 2, 1, Border, Fill);
    PlaceArrow(X, D, R, Glyph, X.C("arrow"));
  };
  if (S == "bar") {
    const TRect Up = X.Rect("upbuttonrect"), Dn = X.Rect("downbuttonrect");
    Button(Up, "normal", Vert ? "up" : "right");
    Button(Dn, "normal", Vert ? "down" : "left");
  } else if (S == "button") {
    const std::string Look = I.Args.size() > 1 ? I.Args[1] : "hot";
    const std::string Glyph = I.Args.size() > 2 ? I.Args[2] : "";
    if (Look != "hot" && Look != "down") BadState(I, "updown");
    Button(TRect(0, 0, D.W(), D.H()), Look, Glyph);
  } else {
    BadState(I, "updown");
  }
}

// Track bars ("h" or "v"): a groove, the filled groove, and a keyed thumb
// whose rounded corners lie over the face and whose sides are straight where
// they cross the groove.
void PaintTrackBar(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const bool Vert = X.Flag("v");
  const std::string S = State(I);
  D.Fill(X.C("face"));
  if (S == "track" || S == "filled") {
    const TColor C = X.C(S == "track" ? "groove" : "accent");
    const TColor Edge = X.C(S == "track" ? "grooveborder" : "accent");
    const double T = 2;  // half the groove's thickness
    if (Vert)
      RoundBox(D, D.W() / 2.0 - T, 3, D.W() / 2.0 + T, D.H() - 3, T, 1, Edge, Flat(C));
    else
      RoundBox(D, 3, D.H() / 2.0 - T, D.W() - 3, D.H() / 2.0 + T, T, 1, Edge, Flat(C));
  } else if (S == "thumb") {
    const std::string Look = I.Args.size() > 1 ? I.Args[1] : "normal";
    if (Look != "normal" && Look != "hot") BadState(I, "trackbar");
    const bool Hot = Look == "hot";
    const double R = 3;
    RoundBox(D, 0, 0, D.W(), D.H(), R, 1, X.C(Hot ? "accent" : "btnborder"),
             Hot ? Vertical(X.C("btnhottop"), X.C("btnhotbottom"), 1, D.H() - 1)
                 : Vertical(X.C("btntop"), X.C("btnbottom"), 1, D.H() - 1));
    KeyOutside(D, CoverRoundRect(D.W(), D.H(), 0, 0, D.W(), D.H(), R));
  } else {
    BadState(I, "trackbar");
  }
}

// Slider rulers and thumbs, drawn keyed.
void PaintSlider(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  D.Fill(X.C("face"));
  auto Shape = [&](double X0, double Y0, double X1, double Y1, double R, TColor Border, const TColorAt& Fill) {
    RoundBox(D, X0, Y0, X1, Y1, R, 1, Border, Fill);
    return CoverRoundRect(D.W(), D.H(), X0, Y0, X1, Y1, R);
  };
  std::vector<bool> Cover(size_t(D.W()) * D.H());
  auto Merge = [&](const std::vector<bool>& M) {
    for (size_t K = 0; K < M.size(); ++K) Cover[K] = Cover[K] || M[K];
  };
  if (S == "hruler") {
    Merge(Shape(1, D.H() / 2.0 - 2, D.W() - 1, D.H() / 2.0 + 2, 2, X.C("grooveborder"), Flat(X.C("groove"))));
  } else if (S == "vruler") {
    Merge(Shape(D.W() / 2.0 - 2, 1, D.W() / 2.0 + 2, D.H() - 1, 2, X.C("grooveborder"), Flat(X.C("groove"))));
  } else if (S == "hthumb" || S == "vthumb") {
    // Two frames side by side: at rest, hot.
    const int FW = D.W() / 2;
    for (int F = 0; F < 2; ++F) {
      const TColorAt Fill = F ? Vertical(X.C("btnhottop"), X.C("btnhotbottom"), 1, D.H() - 1)
                              : Vertical(X.C("btntop"), X.C("btnbottom"), 1, D.H() - 1);
      const double X0 = F * FW + 1, X1 = (F + 1) * FW - 1;
      Merge(Shape(X0, 1, X1, D.H() - 1, S == "hthumb" ? 3 : 3, X.C(F ? "accent" : "btnborder"), Fill));
    }
  } else {
    BadState(I, "slider");
  }
  KeyOutside(D, Cover);
}

// Splitter bars and their keyed gripper.
void PaintSplitter(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  if (S == "bar") {
    D.Fill(X.C("face"));
  } else if (S == "grip") {
    D.Fill(KeyColor);
    const bool Vert = D.H() > D.W();
    for (int K = 1; K < (Vert ? D.H() : D.W()); K += 2)
      D.Set(Vert ? D.W() / 2 : K, Vert ? K : D.H() / 2, X.C("grip"));
  } else {
    BadState(I, "splitter");
  }
}

// Page frames and tabs.
void PaintTab(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  D.Fill(X.C("face"));
  if (S == "page") {
    D.Frame(0, 0, D.W(), D.H(), X.C("tabborder"));
    return;
  }
  if (S == "tabsbg") return;
  const double R = 3;
  const double Bottom = D.H() + R + 1;  // the lower corners lie below the piece
  if (S == "tab" || S == "hot") {
    RoundBox(D, 0, 0, D.W(), Bottom, R, 1, X.C("tabborder"), Flat(X.C(S == "tab" ? "tabface" : "tabhot")));
  } else if (S == "active") {
    RoundBox(D, 0, 0, D.W(), Bottom, R, 1, X.C("tabborder"), Flat(X.C("face")));
    // An accent cap along the top edge.
    D.Shape(0, 0, D.W(), 3, [&](double PX, double PY) { return RoundRectDist(PX, PY, 0, 0, D.W(), 8, R); },
            Flat(X.C("accent")));
  } else {
    BadState(I, "tab");
  }
}

// Tree buttons: chevrons on the tree's background, keyed outside.
void PaintTreeButton(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  const std::string S = State(I);
  D.Fill(X.C("field"));
  if (S != "expand" && S != "collapse") BadState(I, "treebutton");
  Chevron(D, D.W() / 2.0, D.H() / 2.0, 2.6, S == "expand" ? 'd' : 'r', X.C("treearrow"), 1.3);
  std::vector<bool> Cover(size_t(D.W()) * D.H());
  for (int Y = 0; Y < D.H(); ++Y)
    for (int Xp = 0; Xp < D.W(); ++Xp) Cover[size_t(Y) * D.W() + Xp] = D.Get(Xp, Y) != X.C("field");
  KeyOutside(D, Cover);
}

// Header strips of menus and labels.
void PaintHeader(const TCtx& X, TDraw& D, const TLayoutImage& I) {
  if (State(I) != "normal") BadState(I, "header");
  D.Fill(X.C("headerface"));
  D.HLine(0, D.W(), D.H() - 1, X.C("headerline"));
}

using TPiecePainter = void (*)(const TCtx&, TDraw&, const TLayoutImage&);

const std::map<std::string, TPiecePainter>& PiecePainters() {
  static const std::map<std::string, TPiecePainter> M{
      {"capbutton", PaintCapButton}, {"menuitem", PaintMenuItem},     {"button", PaintButton},
      {"toolbutton", PaintToolButton}, {"mark", PaintMark},          {"panel", PaintPanel},
      {"field", PaintField},         {"item", PaintItem},             {"scrollbar", PaintScrollBar},
      {"updown", PaintUpDown},       {"trackbar", PaintTrackBar},     {"slider", PaintSlider},
      {"splitter", PaintSplitter},   {"tab", PaintTab},               {"treebutton", PaintTreeButton},
      {"header", PaintHeader}};
  return M;
}

}  // namespace

TSchemePictures PaintPictures(const TLayout& Layout, const TPalette& Palette) {
  TSchemePictures Out;
  for (const auto& P : Layout.Pictures) {
    auto B = std::make_unique<TCustomBitmap32>();
    B->SetSize(P.Width, P.Height);
    const TCtx X{Layout, Palette, nullptr, P.Pos};
    TDraw D(*B, TRect(0, 0, P.Width, P.Height));
    if (P.Atlas) {
      D.Fill(X.C("atlas"));
    } else if (P.Paint.empty()) {
      throw ESkinSource(P.Pos, "a picture of fixed size needs a painter");
    } else if (P.Paint[0] == "frame") {
      PaintFrame(X, D);
    } else if (P.Paint[0] == "window" && P.Paint.size() == 3) {
      PaintWindow(X, D, P.Paint[1], P.Paint[2]);
    } else {
      throw ESkinSource(P.Pos, "unknown picture painter \"" + P.Paint[0] + "\"");
    }
    if (P.Id == "frame")
      Out.Frame = std::move(B);
    else
      Out.Active.push_back(std::move(B));
  }
  for (const auto& E : Layout.Entries) {
    if (E.Images.empty() || !E.Like.empty()) continue;
    if (E.Paint.empty()) throw ESkinSource(E.Pos, "pieces without a painter (add \"paint NAME\")");
    auto It = PiecePainters().find(E.Paint[0]);
    if (It == PiecePainters().end()) throw ESkinSource(E.Pos, "unknown painter \"" + E.Paint[0] + "\"");
    TCustomBitmap32* Target = E.Picture == "frame" ? Out.Frame.get() : Out.Active[std::stoul(E.Picture)].get();
    for (const auto& I : E.Images) {
      const TCtx X{Layout, Palette, &E, I.Pos};
      TDraw D(*Target, I.Placed);
      It->second(X, D, I);
    }
  }
  return Out;
}

TBytes EncodeBmp24(const TCustomBitmap32& Bitmap) {
  const int W = Bitmap.Width(), H = Bitmap.Height();
  const size_t Stride = (size_t(W) * 3 + 3) & ~size_t(3);
  const size_t Pixels = Stride * size_t(H), Off = 54;
  TBytes B(Off + Pixels, 0);
  auto Put = [&](size_t At, Cardinal V, int N) {
    for (int K = 0; K < N; ++K) B[At + K] = Byte(V >> (8 * K));
  };
  B[0] = 'B';
  B[1] = 'M';
  Put(2, Cardinal(Off + Pixels), 4);
  Put(10, Cardinal(Off), 4);
  Put(14, 40, 4);
  Put(18, Cardinal(W), 4);
  Put(22, Cardinal(H), 4);
  Put(26, 1, 2);
  Put(28, 24, 2);
  Put(34, Cardinal(Pixels), 4);
  for (int Y = 0; Y < H; ++Y) {
    Byte* Row = B.data() + Off + size_t(H - 1 - Y) * Stride;
    for (int X = 0; X < W; ++X) {
      const TColor32 C = Bitmap.GetPixel(X, Y);
      Row[3 * X] = Byte(C);
      Row[3 * X + 1] = Byte(C >> 8);
      Row[3 * X + 2] = Byte(C >> 16);
    }
  }
  return B;
}

}  // namespace skingen
