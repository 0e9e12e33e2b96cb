// Reading the generator's sources: the palettes and the layout table.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

#include "tools/skingen/SkinGen.h"

namespace skingen {

namespace {

std::string Trim(const std::string& S) {
  size_t B = 0, E = S.size();
  while (B < E && std::isspace(static_cast<unsigned char>(S[B]))) ++B;
  while (E > B && std::isspace(static_cast<unsigned char>(S[E - 1]))) --E;
  return S.substr(B, E - B);
}

// The line without its "#" comment, trimmed.
std::string Content(const std::string& Line) {
  const size_t Hash = Line.find('#');
  return Trim(Hash == std::string::npos ? Line : Line.substr(0, Hash));
}

std::vector<std::string> Words(const std::string& S) {
  std::vector<std::string> W;
  size_t I = 0;
  while (I < S.size()) {
    while (I < S.size() && std::isspace(static_cast<unsigned char>(S[I]))) ++I;
    size_t J = I;
    while (J < S.size() && !std::isspace(static_cast<unsigned char>(S[J]))) ++J;
    if (J > I) W.push_back(S.substr(I, J - I));
    I = J;
  }
  return W;
}

bool IsName(const std::string& S) {
  if (S.empty()) return false;
  for (char C : S)
    if (!std::isalnum(static_cast<unsigned char>(C)) && C != '_') return false;
  return true;
}

// "W,H" with both above 0.
bool ParseSize(const std::string& S, int& W, int& H) {
  const size_t Comma = S.find(',');
  if (Comma == std::string::npos) return false;
  try {
    size_t N1 = 0, N2 = 0;
    const std::string A = S.substr(0, Comma), B = S.substr(Comma + 1);
    W = std::stoi(A, &N1);
    H = std::stoi(B, &N2);
    if (N1 != A.size() || N2 != B.size()) return false;
  } catch (const std::exception&) {
    return false;
  }
  return W > 0 && H > 0;
}

// --- colour arithmetic ------------------------------------------------------

struct TRgb {
  double R, G, B;
};

TRgb ToRgb(TColor C) {
  const Cardinal V = static_cast<Cardinal>(C);
  return {double(V & 0xFF), double((V >> 8) & 0xFF), double((V >> 16) & 0xFF)};
}

TColor FromRgb(const TRgb& C) {
  auto Q = [](double V) { return Cardinal(std::lround(std::clamp(V, 0.0, 255.0))); };
  return static_cast<TColor>(Q(C.R) | (Q(C.G) << 8) | (Q(C.B) << 16));
}

TColor Mix(TColor A, TColor B, double P) {
  const TRgb X = ToRgb(A), Y = ToRgb(B);
  const double T = P / 100.0;
  return FromRgb({X.R + (Y.R - X.R) * T, X.G + (Y.G - X.G) * T, X.B + (Y.B - X.B) * T});
}

// A colour with HSL lightness L (0..100) and its saturation scaled by S percent.
TColor Tone(TColor C, double L, double S) {
  const TRgb X = ToRgb(C);
  const double R = X.R / 255, G = X.G / 255, B = X.B / 255;
  const double Max = std::max({R, G, B}), Min = std::min({R, G, B});
  const double Light = (Max + Min) / 2;
  double H = 0, Sat = 0;
  if (Max > Min) {
    const double D = Max - Min;
    Sat = Light > 0.5 ? D / (2 - Max - Min) : D / (Max + Min);
    if (Max == R)
      H = (G - B) / D + (G < B ? 6 : 0);
    else if (Max == G)
      H = (B - R) / D + 2;
    else
      H = (R - G) / D + 4;
    H /= 6;
  }
  Sat = std::clamp(Sat * S / 100.0, 0.0, 1.0);
  const double Lt = std::clamp(L / 100.0, 0.0, 1.0);
  auto Hue = [](double P, double Q, double T) {
    if (T < 0) T += 1;
    if (T > 1) T -= 1;
    if (T < 1.0 / 6) return P + (Q - P) * 6 * T;
    if (T < 0.5) return Q;
    if (T < 2.0 / 3) return P + (Q - P) * (2.0 / 3 - T) * 6;
    return P;
  };
  if (Sat == 0) return FromRgb({Lt * 255, Lt * 255, Lt * 255});
  const double Q = Lt < 0.5 ? Lt * (1 + Sat) : Lt + Sat - Lt * Sat;
  const double P = 2 * Lt - Q;
  return FromRgb({Hue(P, Q, H + 1.0 / 3) * 255, Hue(P, Q, H) * 255, Hue(P, Q, H - 1.0 / 3) * 255});
}

// Splits "f(a, b, c)" into f and its arguments (commas inside brackets kept).
bool SplitCall(const std::string& E, std::string& Fn, std::vector<std::string>& Args) {
  const size_t Open = E.find('(');
  if (Open == std::string::npos || E.back() != ')') return false;
  Fn = Trim(E.substr(0, Open));
  int Depth = 0;
  std::string Cur;
  for (size_t I = Open + 1; I + 1 < E.size(); ++I) {
    const char C = E[I];
    if (C == '(') ++Depth;
    if (C == ')') --Depth;
    if (Depth < 0) return false;
    if (C == ',' && Depth == 0) {
      Args.push_back(Trim(Cur));
      Cur.clear();
    } else {
      Cur += C;
    }
  }
  if (Depth != 0) return false;
  Args.push_back(Trim(Cur));
  return true;
}

bool ParseNumber(const std::string& S, double& V) {
  if (S.empty()) return false;
  try {
    size_t N = 0;
    V = std::stod(S, &N);
    return N == S.size() && std::isfinite(V);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::vector<std::string> SourceLines(const std::string& Text) {
  std::vector<std::string> Lines;
  size_t I = Text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (I <= Text.size()) {
    size_t E = Text.find('\n', I);
    if (E == std::string::npos) E = Text.size();
    std::string L = Text.substr(I, E - I);
    if (!L.empty() && L.back() == '\r') L.pop_back();
    Lines.push_back(L);
    if (E == Text.size()) break;
    I = E + 1;
  }
  return Lines;
}

// ---------------------------------------------------------------------------
// TPalette

void TPalette::AddFile(const std::string& File, const std::string& Text, bool SchemeFile) {
  auto& Target = SchemeFile ? FScheme : FShared;
  std::set<std::string> Seen;
  const auto Lines = SourceLines(Text);
  for (size_t N = 0; N < Lines.size(); ++N) {
    const TSourcePos Pos{File, int(N + 1)};
    const std::string L = Content(Lines[N]);
    if (L.empty()) continue;
    const size_t Eq = L.find('=');
    if (Eq == std::string::npos) throw ESkinSource(Pos, "expected \"name = colour\"");
    const std::string Name = Trim(L.substr(0, Eq)), Expr = Trim(L.substr(Eq + 1));
    if (!IsName(Name)) throw ESkinSource(Pos, "bad entry name \"" + Name + "\"");
    if (Expr.empty()) throw ESkinSource(Pos, "entry \"" + Name + "\" has no value");
    if (!Seen.insert(Name).second) throw ESkinSource(Pos, "entry \"" + Name + "\" is given twice");
    if (SchemeFile && (Name == "skinname" || Name == "stored")) {
      FSettings[Name] = {Expr, Pos};
      continue;
    }
    Target[Name] = {Expr, Pos};
  }
}

std::string TPalette::Setting(const std::string& Name) const {
  auto It = FSettings.find(Name);
  return It == FSettings.end() ? std::string() : It->second.first;
}

bool TPalette::Has(const std::string& Name) const { return FScheme.count(Name) || FShared.count(Name); }

TColor TPalette::Get(const std::string& Name, const TSourcePos& At) const {
  std::vector<std::string> Stack;
  return Eval(Name, At, Stack);
}

void TPalette::CheckAll() const {
  for (const auto* M : {&FScheme, &FShared})
    for (const auto& [Name, E] : *M) Get(Name, E.Pos);
}

TColor TPalette::Eval(const std::string& Name, const TSourcePos& At, std::vector<std::string>& Stack) const {
  const TEntry* E = nullptr;
  if (auto It = FScheme.find(Name); It != FScheme.end())
    E = &It->second;
  else if (auto It2 = FShared.find(Name); It2 != FShared.end())
    E = &It2->second;
  if (!E) throw ESkinSource(At, "palette entry \"" + Name + "\" is missing");
  if (std::find(Stack.begin(), Stack.end(), Name) != Stack.end())
    throw ESkinSource(E->Pos, "palette entry \"" + Name + "\" refers to itself");
  Stack.push_back(Name);
  const TColor C = EvalExpr(E->Expr, E->Pos, Stack);
  Stack.pop_back();
  return C;
}

TColor TPalette::EvalExpr(const std::string& Expr, const TSourcePos& Pos, std::vector<std::string>& Stack) const {
  if (!Expr.empty() && Expr[0] == '$') {
    const std::string Hex = Expr.substr(1);
    if (Hex.size() != 6 || Hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
      throw ESkinSource(Pos, "bad colour \"" + Expr + "\" (write $BBGGRR)");
    return static_cast<TColor>(std::stoul(Hex, nullptr, 16));
  }
  if (IsName(Expr)) return Eval(Expr, Pos, Stack);
  std::string Fn;
  std::vector<std::string> Args;
  if (!SplitCall(Expr, Fn, Args)) throw ESkinSource(Pos, "bad colour expression \"" + Expr + "\"");
  double A = 0, B = 0;
  if (Fn == "mix" && Args.size() == 3 && ParseNumber(Args[2], A) && A >= 0 && A <= 100)
    return Mix(EvalExpr(Args[0], Pos, Stack), EvalExpr(Args[1], Pos, Stack), A);
  if (Fn == "tone" && Args.size() == 3 && ParseNumber(Args[1], A) && ParseNumber(Args[2], B) && A >= 0 &&
      A <= 100 && B >= 0)
    return Tone(EvalExpr(Args[0], Pos, Stack), A, B);
  throw ESkinSource(Pos, "bad colour expression \"" + Expr + "\" (mix(A, B, percent) or tone(A, lightness, saturation))");
}

// ---------------------------------------------------------------------------
// TLayout

const TLayoutKey* TLayoutEntry::FindKey(const std::string& Key) const {
  for (const auto& K : Keys)
    if (K.Key == Key) return &K;
  return nullptr;
}

const TLayoutEntry* TLayout::Find(const std::string& Name) const {
  for (const auto& E : Entries)
    if (E.Name == Name) return &E;
  return nullptr;
}

const TLayoutPicture* TLayout::FindPicture(const std::string& Id) const {
  for (const auto& P : Pictures)
    if (P.Id == Id) return &P;
  return nullptr;
}

TLayout TLayout::Parse(const std::string& File, const std::string& Text) {
  static const std::map<std::string, TLayoutEntry::TKind> Fixed{{"forminfo", TLayoutEntry::FormInfo},
                                                                 {"popupwindow", TLayoutEntry::PopupWindow},
                                                                 {"hintwindow", TLayoutEntry::HintWindow},
                                                                 {"layerframe", TLayoutEntry::LayerFrame},
                                                                 {"colors", TLayoutEntry::Colors}};
  TLayout L;
  TLayoutEntry* Cur = nullptr;
  std::set<std::string> Names;
  const auto Lines = SourceLines(Text);
  for (size_t N = 0; N < Lines.size(); ++N) {
    const TSourcePos Pos{File, int(N + 1)};
    const std::string Line = Content(Lines[N]);
    if (Line.empty()) continue;
    const auto W = Words(Line);
    const std::string& First = W[0];
    const bool Directive = W.size() >= 2 && W[1] != "=" && W[1][0] != '=';
    if (First == "picture" && Directive && Cur == nullptr) {
      // picture ID FILE W,H [paint ...] | picture ID FILE atlas WIDTH
      TLayoutPicture P;
      P.Pos = Pos;
      if (W.size() < 4) throw ESkinSource(Pos, "expected \"picture ID FILE W,H [painter ...]\" or \"picture ID FILE atlas WIDTH\"");
      P.Id = W[1];
      P.File = W[2];
      if (W[3] == "atlas") {
        int H = 1;
        if (W.size() != 5 || !ParseSize(W[4] + ",1", P.Width, H)) throw ESkinSource(Pos, "expected \"atlas WIDTH\"");
        P.Atlas = true;
      } else {
        if (!ParseSize(W[3], P.Width, P.Height)) throw ESkinSource(Pos, "bad picture size \"" + W[3] + "\"");
        P.Paint.assign(W.begin() + 4, W.end());
      }
      if (P.Id != "frame") {
        const std::string Want = std::to_string(L.Pictures.size() - (L.FindPicture("frame") ? 1 : 0));
        if (P.Id != Want) throw ESkinSource(Pos, "active pictures are numbered from 0 in order; expected " + Want);
      } else if (L.FindPicture("frame")) {
        throw ESkinSource(Pos, "the frame picture is given twice");
      }
      L.Pictures.push_back(P);
      continue;
    }
    if (Fixed.count(First) && W.size() == 1) {
      TLayoutEntry E;
      E.Kind = Fixed.at(First);
      E.Name = First;
      E.Pos = Pos;
      if (!Names.insert("/" + First).second) throw ESkinSource(Pos, "section \"" + First + "\" is given twice");
      L.Entries.push_back(E);
      Cur = &L.Entries.back();
      continue;
    }
    if ((First == "object" || First == "control") && Directive) {
      if (!(W.size() == 3 || (W.size() == 5 && W[3] == "like")))
        throw ESkinSource(Pos, "expected \"" + First + " NAME WORD [like OTHER]\"");
      TLayoutEntry E;
      E.Kind = First == "object" ? TLayoutEntry::Object : TLayoutEntry::Control;
      E.Name = W[1];
      E.Word = W[2];
      E.Pos = Pos;
      if (W.size() == 5) E.Like = W[4];
      if (!Names.insert(E.Name).second) throw ESkinSource(Pos, "description \"" + E.Name + "\" is given twice");
      const bool Known = E.Kind == TLayoutEntry::Object
                             ? std::unique_ptr<TspDataSkinObject>(CreateSkinObject(ToString(E.Word), u"x")) != nullptr
                             : std::unique_ptr<TspDataSkinControl>(CreateSkinControl(ToString(E.Word), u"x")) != nullptr;
      if (!Known) throw ESkinSource(Pos, "unknown type word \"" + E.Word + "\"");
      L.Entries.push_back(E);
      Cur = &L.Entries.back();
      continue;
    }
    if (Cur == nullptr) throw ESkinSource(Pos, "a line outside any section");
    if (First == "picture" && Directive) {
      if (W.size() != 2) throw ESkinSource(Pos, "expected \"picture ID\"");
      Cur->Picture = W[1];
      continue;
    }
    if (First == "paint" && Directive) {
      Cur->Paint.assign(W.begin() + 1, W.end());
      continue;
    }
    if (First == "image" && Directive) {
      TLayoutImage I;
      I.Pos = Pos;
      if (W.size() < 3 || !ParseSize(W[2], I.Width, I.Height))
        throw ESkinSource(Pos, "expected \"image KEY W,H [painter arguments]\"");
      I.Key = W[1];
      I.Args.assign(W.begin() + 3, W.end());
      for (const auto& Other : Cur->Images)
        if (Other.Key == I.Key) throw ESkinSource(Pos, "piece \"" + I.Key + "\" is given twice");
      Cur->Images.push_back(I);
      continue;
    }
    const size_t Eq = Line.find('=');
    if (Eq == std::string::npos) throw ESkinSource(Pos, "expected \"key = value\"");
    TLayoutKey K{Trim(Line.substr(0, Eq)), Trim(Line.substr(Eq + 1)), Pos};
    std::transform(K.Key.begin(), K.Key.end(), K.Key.begin(), [](unsigned char C) { return std::tolower(C); });
    if (!IsName(K.Key)) throw ESkinSource(Pos, "bad key \"" + K.Key + "\"");
    if (Cur->FindKey(K.Key)) throw ESkinSource(Pos, "key \"" + K.Key + "\" is given twice");
    for (const auto& I : Cur->Images)
      if (I.Key == K.Key) throw ESkinSource(Pos, "key \"" + K.Key + "\" is also a piece");
    Cur->Keys.push_back(K);
  }

  // Shared descriptions, pictures named, pieces in a picture.
  for (auto& E : L.Entries) {
    if (!E.Picture.empty() && !L.FindPicture(E.Picture))
      throw ESkinSource(E.Pos, "picture \"" + E.Picture + "\" is not declared");
    if (!E.Images.empty() && E.Picture.empty() && E.Like.empty())
      throw ESkinSource(E.Images[0].Pos, "a piece without a picture (add \"picture ID\")");
    if (E.Like.empty()) continue;
    const TLayoutEntry* Base = nullptr;
    for (const auto& B : L.Entries)
      if (B.Name == E.Like && &B != &E) Base = &B;
    if (!Base) throw ESkinSource(E.Pos, "\"like " + E.Like + "\" names no description");
    if (!Base->Like.empty()) throw ESkinSource(E.Pos, "\"" + E.Like + "\" is itself like another description");
    if (Base->Word != E.Word) throw ESkinSource(E.Pos, "\"" + E.Like + "\" has another type word");
    if (!E.Images.empty() || !E.Paint.empty() || !E.Picture.empty())
      throw ESkinSource(E.Pos, "a description like another takes its pieces; give keys only");
    E.Picture = Base->Picture;
    E.Images = Base->Images;
    for (const auto& K : Base->Keys)
      if (!E.FindKey(K.Key)) E.Keys.push_back(K);
  }
  if (!L.FindPicture("frame")) throw ESkinSource({File, int(Lines.size())}, "no frame picture declared");
  for (const char* Need : {"forminfo", "popupwindow", "hintwindow", "layerframe", "colors"})
    if (!Names.count(std::string("/") + Need))
      throw ESkinSource({File, int(Lines.size())}, std::string("section \"") + Need + "\" is missing");
  return L;
}

}  // namespace skingen
