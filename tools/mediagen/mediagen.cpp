// mediagen: makes the program's style packs, scene pictures and cursors from
// their sources in assets/media and assets/cursors.
//
//   mediagen media OUTDIR MANIFEST...
//       builds one pack per manifest into OUTDIR (and, for the effects pack,
//       the scene pictures its rows name)
//   mediagen cursors OUTDIR MANIFEST
//       builds the cursor files and the resource-script fragment Cursors.rc
//       that lists them
//
// A manifest is UTF-8 text, one directive per line, fields separated by TAB;
// empty lines and lines starting with "#" are skipped; a field written in
// double quotes keeps its blanks ("  Basic"). Directives:
//   pack NAME KIND          the pack file and its loader: effects, pattern,
//                           brush, shadow, reflection, frame0 .. frame3
//   cells N                 the cells of every row
//   prop INDEX TEXT         a property cell
//   columns C1 C2 ...       the cells the following rows give, in order
//   row V1 V2 ...           a row
//   picture CELL RECIPE ARGS...   a picture of the last row; CELL gets its
//                           length (a frame-pack-2 row: "layers NAME")
//   layers NAME ... end     a layer table of frame pack 2, with its own
//                           cells, columns and prop directives, "layer"
//                           rows, "texture RECIPE ARGS" of the last layer and
//                           "preview RECIPE ARGS" (or "preview layered W H")
// The text goes into the pack in code page 936. Every fault stops the run
// with one message naming the file and line and exit status 1; nothing is
// written then. A wrong command line gives the usage and exit status 2.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/data/HyDataTable.h"
#include "rtl/SysUtils.h"
#include "tools/mediagen/Encoders.h"
#include "tools/mediagen/PackWriter.h"
#include "tools/mediagen/Recipes.h"

namespace {

using namespace mediagen;

const char kUsage[] =
    "usage: mediagen media OUTDIR MANIFEST...\n"
    "       mediagen cursors OUTDIR MANIFEST\n";

struct TFault {
  std::string Where, Message;
};

[[noreturn]] void Fail(const std::string& File, int Line, const std::string& Message) {
  throw TFault{Line > 0 ? File + ":" + std::to_string(Line) : File, Message};
}

bool ReadFile(const std::string& Name, std::string& Bytes) {
  std::ifstream in(Name, std::ios::binary);
  if (!in) return false;
  Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool IsValidUtf8(const std::string& S) {
  for (size_t i = 0; i < S.size();) {
    const unsigned c = std::uint8_t(S[i]);
    size_t n = 0;
    if (c < 0x80) n = 0;
    else if (c >= 0xC2 && c <= 0xDF) n = 1;
    else if (c >= 0xE0 && c <= 0xEF) n = 2;
    else if (c >= 0xF0 && c <= 0xF4) n = 3;
    else return false;
    if (i + n >= S.size() && n > 0) return false;
    for (size_t k = 1; k <= n; ++k)
      if ((std::uint8_t(S[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

struct TLine {
  int No = 0;
  std::vector<std::string> Fields;
};

std::vector<TLine> ReadLines(const std::string& File) {
  std::string bytes;
  if (!ReadFile(File, bytes)) Fail(File, 0, "cannot read the file");
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) Fail(File, 1, "the file starts with a byte-order mark");
  std::vector<TLine> lines;
  size_t pos = 0;
  for (int no = 1; pos < bytes.size(); ++no) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string text = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (!IsValidUtf8(text)) Fail(File, no, "not valid UTF-8");
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] == '#') continue;
    TLine l;
    l.No = no;
    size_t s = 0;
    while (true) {
      const size_t t = text.find('\t', s);
      std::string f = text.substr(s, t == std::string::npos ? std::string::npos : t - s);
      if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = f.substr(1, f.size() - 2);
      l.Fields.push_back(f);
      if (t == std::string::npos) break;
      s = t + 1;
    }
    lines.push_back(l);
  }
  return lines;
}

bool ParseInt(const std::string& S, long long& V) {
  if (S.empty()) return false;
  size_t i = S[0] == '-' ? 1 : 0;
  if (i == S.size() || S.size() > 12) return false;
  for (size_t k = i; k < S.size(); ++k)
    if (S[k] < '0' || S[k] > '9') return false;
  V = std::stoll(S);
  return true;
}

// ---------------------------------------------------------------------------
// Manifests

enum class TKind { Effects, Pattern, Brush, Shadow, Reflection, Frame0, Frame1, Frame2, Frame3 };

struct TPicSpec {
  int Line = 0;
  int Cell = 0;
  TRecipe Recipe;
};

struct TRowSpec {
  int Line = 0;
  std::map<int, std::string> Cells;
  std::vector<TPicSpec> Pictures;
  const TPicSpec* Picture(int Cell) const {
    for (const TPicSpec& p : Pictures)
      if (p.Cell == Cell) return &p;
    return nullptr;
  }
  std::string Cell(int I) const {
    auto it = Cells.find(I);
    return it == Cells.end() ? std::string() : it->second;
  }
};

struct TTableSpec {
  int Line = 0;
  int CellCount = 20;
  std::map<int, std::string> Props;
  std::vector<int> Columns;
  std::vector<TRowSpec> Rows;
};

struct TLayersSpec : TTableSpec {
  std::string Name;
  std::optional<TPicSpec> Preview;
};

struct TPackSpec : TTableSpec {
  std::string File;  // the manifest
  std::string PackName;
  TKind Kind = TKind::Effects;
  std::map<std::string, TLayersSpec> Layers;
};

const std::map<std::string, TKind> kKinds = {
    {"effects", TKind::Effects}, {"pattern", TKind::Pattern}, {"brush", TKind::Brush},
    {"shadow", TKind::Shadow},   {"reflection", TKind::Reflection}, {"frame0", TKind::Frame0},
    {"frame1", TKind::Frame1},   {"frame2", TKind::Frame2}, {"frame3", TKind::Frame3}};

int CellIndex(const std::string& File, int Line, const std::string& S, int Count) {
  long long v = 0;
  if (!ParseInt(S, v) || v < 0 || v >= Count) Fail(File, Line, "\"" + S + "\" is not a cell index below " + std::to_string(Count));
  return int(v);
}

TRecipe RecipeOf(const std::string& File, const TLine& L, size_t From) {
  if (L.Fields.size() <= From) Fail(File, L.No, "a picture needs a recipe");
  TRecipe r;
  r.Name = L.Fields[From];
  r.Args.assign(L.Fields.begin() + long(From) + 1, L.Fields.end());
  if (!KnownRecipe(r.Name) && r.Name != "layers" && r.Name != "layered") Fail(File, L.No, "unknown recipe \"" + r.Name + "\"");
  return r;
}

// The directives shared by packs and layer tables; false when D is not one.
bool TableDirective(const std::string& File, const TLine& L, TTableSpec& T, const char* RowWord) {
  const std::string& d = L.Fields[0];
  if (d == "cells") {
    long long n = 0;
    if (L.Fields.size() != 2 || !ParseInt(L.Fields[1], n) || n < 1 || n > 100) Fail(File, L.No, "cells takes a number 1..100");
    T.CellCount = int(n);
  } else if (d == "prop") {
    if (L.Fields.size() != 3) Fail(File, L.No, "prop takes an index and a text");
    T.Props[CellIndex(File, L.No, L.Fields[1], 100)] = L.Fields[2];
  } else if (d == "columns") {
    T.Columns.clear();
    std::set<int> seen;
    for (size_t i = 1; i < L.Fields.size(); ++i) {
      const int c = CellIndex(File, L.No, L.Fields[i], T.CellCount);
      if (!seen.insert(c).second) Fail(File, L.No, "cell " + L.Fields[i] + " named twice");
      T.Columns.push_back(c);
    }
  } else if (d == RowWord) {
    if (L.Fields.size() - 1 != T.Columns.size())
      Fail(File, L.No, "a row of " + std::to_string(L.Fields.size() - 1) + " values for " + std::to_string(T.Columns.size()) + " columns");
    TRowSpec r;
    r.Line = L.No;
    for (size_t i = 0; i < T.Columns.size(); ++i)
      if (!L.Fields[i + 1].empty()) r.Cells[T.Columns[i]] = L.Fields[i + 1];
    T.Rows.push_back(r);
  } else {
    return false;
  }
  return true;
}

TPackSpec ReadManifest(const std::string& File) {
  TPackSpec p;
  p.File = File;
  TLayersSpec* layers = nullptr;
  bool havePack = false;
  for (const TLine& l : ReadLines(File)) {
    const std::string& d = l.Fields[0];
    if (!havePack) {
      if (d != "pack" || l.Fields.size() != 3) Fail(File, l.No, "the manifest starts with \"pack NAME KIND\"");
      auto k = kKinds.find(l.Fields[2]);
      if (k == kKinds.end()) Fail(File, l.No, "unknown pack kind \"" + l.Fields[2] + "\"");
      p.PackName = l.Fields[1];
      p.Kind = k->second;
      p.Line = l.No;
      havePack = true;
      continue;
    }
    if (layers) {
      if (d == "end") {
        layers = nullptr;
      } else if (d == "texture") {
        if (layers->Rows.empty()) Fail(File, l.No, "a texture before the first layer");
        layers->Rows.back().Pictures.push_back(TPicSpec{l.No, 19, RecipeOf(File, l, 1)});
      } else if (d == "preview") {
        layers->Preview = TPicSpec{l.No, 9, RecipeOf(File, l, 1)};
      } else if (!TableDirective(File, l, *layers, "layer")) {
        Fail(File, l.No, "unknown directive \"" + d + "\" in a layer table");
      }
      continue;
    }
    if (d == "layers") {
      if (p.Kind != TKind::Frame2) Fail(File, l.No, "layer tables belong to frame pack 2");
      if (l.Fields.size() != 2) Fail(File, l.No, "layers takes a name");
      if (p.Layers.count(l.Fields[1])) Fail(File, l.No, "layer table \"" + l.Fields[1] + "\" defined twice");
      layers = &p.Layers[l.Fields[1]];
      layers->Name = l.Fields[1];
      layers->Line = l.No;
    } else if (d == "picture") {
      if (p.Rows.empty()) Fail(File, l.No, "a picture before the first row");
      if (l.Fields.size() < 3) Fail(File, l.No, "picture takes a cell and a recipe");
      TPicSpec pic{l.No, CellIndex(File, l.No, l.Fields[1], p.CellCount), RecipeOf(File, l, 2)};
      if (p.Rows.back().Picture(pic.Cell)) Fail(File, l.No, "a second picture for cell " + l.Fields[1]);
      p.Rows.back().Pictures.push_back(pic);
    } else if (!TableDirective(File, l, p, "row")) {
      Fail(File, l.No, "unknown directive \"" + d + "\"");
    }
  }
  if (!havePack) Fail(File, 0, "the manifest holds no pack");
  if (layers) Fail(File, layers->Line, "layer table \"" + layers->Name + "\" has no \"end\"");
  return p;
}

// ---------------------------------------------------------------------------
// Checks of cells and pictures

struct TCellRule {
  int Cell;
  enum { Text, Int, Bool } Type;
  long long Min = 0, Max = 0;
};

long long NeedInt(const std::string& File, const TRowSpec& R, int Cell, long long Min, long long Max) {
  const std::string s = R.Cell(Cell);
  long long v = 0;
  if (s.empty()) Fail(File, R.Line, "cell " + std::to_string(Cell) + " is missing");
  if (!ParseInt(s, v) || v < Min || v > Max)
    Fail(File, R.Line, "cell " + std::to_string(Cell) + " \"" + s + "\" is not a number " + std::to_string(Min) + ".." + std::to_string(Max));
  return v;
}

void NeedText(const std::string& File, const TRowSpec& R, int Cell) {
  if (R.Cell(Cell).empty()) Fail(File, R.Line, "cell " + std::to_string(Cell) + " is missing");
}

bool NeedBool(const std::string& File, const TRowSpec& R, int Cell) {
  const std::string s = R.Cell(Cell);
  if (s != "-1" && s != "0") Fail(File, R.Line, "cell " + std::to_string(Cell) + " \"" + s + "\" is not a Boolean (-1 or 0)");
  return s == "-1";
}

void NeedEmpty(const std::string& File, const TRowSpec& R, int Cell, const char* Why) {
  if (!R.Cell(Cell).empty()) Fail(File, R.Line, "cell " + std::to_string(Cell) + " must stay empty: " + Why);
}

const TPicSpec& NeedPicture(const std::string& File, const TRowSpec& R, int Cell) {
  const TPicSpec* p = R.Picture(Cell);
  if (!p) Fail(File, R.Line, "the row has no picture for cell " + std::to_string(Cell));
  return *p;
}

void OnlyPictures(const std::string& File, const TRowSpec& R, std::set<int> Allowed) {
  for (const TPicSpec& p : R.Pictures)
    if (!Allowed.count(p.Cell)) Fail(File, p.Line, "this pack reads no picture for cell " + std::to_string(p.Cell) + " here");
  for (const TPicSpec& p : R.Pictures)
    if (!R.Cell(p.Cell).empty()) Fail(File, p.Line, "cell " + std::to_string(p.Cell) + " holds the picture's length: leave it empty");
}

void Distinct(const std::string& File, const TRowSpec& R, int Cell, std::map<long long, int>& Seen, long long V) {
  auto it = Seen.find(V);
  if (it != Seen.end())
    Fail(File, R.Line, "cell " + std::to_string(Cell) + " value " + std::to_string(V) + " already used on line " + std::to_string(it->second));
  Seen[V] = R.Line;
}

// Text cells: no separator of the table text, code page 936, and the same
// cells under 936 and 1252.
std::string CellBytes(const std::string& File, int Line, const std::string& Text) {
  for (char c : {',', '|', '#'})
    if (Text.find(c) != std::string::npos)
      Fail(File, Line, std::string("\"") + Text + "\" holds \"" + c + "\", a separator of the table text" +
                           (c == ',' ? " (write \xEF\xBC\x8C for a comma)" : ""));
  for (unsigned char c : Text)
    if (c < 0x20) Fail(File, Line, "\"" + Text + "\" holds a control character");
  std::string gbk;
  if (!Utf8ToGbk(Text, gbk)) Fail(File, Line, "\"" + Text + "\" has a character outside code page 936");
  if (GbkTrailBar(gbk) >= 0)
    Fail(File, Line, "\"" + Text + "\" has a character whose second byte in code page 936 is 0x7C (\"|\" under code page 1252)");
  return gbk;
}

void CheckPictureSize(const std::string& File, const TPicSpec& P, const TImage& I, int MinW, int MaxW, int MinH, int MaxH,
                      bool Square = false) {
  if (I.W < MinW || I.W > MaxW || I.H < MinH || I.H > MaxH || (Square && I.W != I.H))
    Fail(File, P.Line, "a picture of " + std::to_string(I.W) + " x " + std::to_string(I.H) + " here must be " +
                           (Square ? "square, " : "") + std::to_string(MinW) + ".." + std::to_string(MaxW) + " wide and " +
                           std::to_string(MinH) + ".." + std::to_string(MaxH) + " high");
}

TImage Draw(const std::string& File, const TPicSpec& P) {
  try {
    return DrawRecipe(P.Recipe);
  } catch (const std::invalid_argument& e) {
    Fail(File, P.Line, e.what());
  }
}

// The cells every frame row carries: its tab in cell 1, the names, a frame
// number in cell 5 that no other row has (LastMode > 0: the frame modes
// 1..LastMode), cell 14 when the loader needs it; and its one picture, the
// length of cell 15.
const TPicSpec& FrameRow(const std::string& File, const TRowSpec& R, int Tab, long long LastMode, bool Need14,
                         std::map<long long, int>& Seen) {
  NeedInt(File, R, 1, Tab, Tab);
  NeedText(File, R, 2);
  NeedText(File, R, 4);
  Distinct(File, R, 5, Seen, NeedInt(File, R, 5, LastMode > 0 ? 1 : 0, LastMode > 0 ? LastMode : 1000000));
  if (Need14) NeedText(File, R, 14);
  OnlyPictures(File, R, {15});
  return NeedPicture(File, R, 15);
}

// The colours a thumbnail of frame packs 0 and 1 must not use: the panel
// keys them out.
void AvoidKeyedColours(TImage& I) {
  for (TRgba& p : I.Px) {
    const int r = ToByte(p.R), g = ToByte(p.G), b = ToByte(p.B);
    if ((r == 255 && g == 255 && b == 255) || (r == 249 && g == 253 && b == 253) || (r == 230 && g == 230 && b == 230))
      p.R -= 1 / 255.f;
  }
}

// ---------------------------------------------------------------------------
// Building

struct TBuiltTable {
  std::vector<std::vector<std::string>> Rows;  // cells as UTF-8
  std::map<int, std::string> Props;
  std::vector<TBlob> Blobs;
};

std::string TableText(const std::string& File, const TTableSpec& T, const TBuiltTable& B) {
  TDataTable dt;
  int propCount = 0;
  for (auto& [i, v] : B.Props) propCount = std::max(propCount, i + 1);
  std::vector<String> props(static_cast<size_t>(propCount));
  for (auto& [i, v] : B.Props) {
    CellBytes(File, T.Line, v);
    props[size_t(i)] = UTF8Decode(v);
  }
  dt.PropertyRow()->Init(props);
  for (size_t r = 0; r < B.Rows.size(); ++r) {
    std::vector<String> cells;
    for (const std::string& c : B.Rows[r]) {
      CellBytes(File, T.Rows[r].Line, c);
      cells.push_back(UTF8Decode(c));
    }
    TRow* row = dt.AddItem(String());
    row->Init(cells);
  }
  std::string gbk;
  if (!Utf8ToGbk(UTF8Encode(dt.ToString(true)), gbk)) Fail(File, T.Line, "the table text has no form in code page 936");
  return gbk;
}

std::vector<std::string> RowCells(const TTableSpec& T, const TRowSpec& R) {
  std::vector<std::string> cells(size_t(T.CellCount));
  for (auto& [i, v] : R.Cells) cells[size_t(i)] = v;
  return cells;
}

TBlob LayerPack(const TPackSpec& P, const TLayersSpec& L) {
  const std::string& f = P.File;
  if (L.Rows.size() < 3) Fail(f, L.Line, "a layer table has at least 3 layers (the frames dialog edits rows 0 to 2)");
  TBuiltTable b;
  b.Props = L.Props;
  int enabled = 0;
  std::vector<TImage> textures(L.Rows.size());
  std::vector<TPreviewLayer> preview;
  for (size_t i = 0; i < L.Rows.size(); ++i) {
    const TRowSpec& r = L.Rows[i];
    TPreviewLayer pl;
    pl.Enabled = NeedBool(f, r, 0);
    enabled += pl.Enabled;
    pl.Solid = NeedBool(f, r, 1);
    pl.Color = std::uint32_t(NeedInt(f, r, 2, 0, 0xFFFFFF));
    NeedBool(f, r, 3);
    pl.Shaded = NeedBool(f, r, 5);
    pl.ShadeCount = int(NeedInt(f, r, 6, 1, 9));
    pl.Top = int(NeedInt(f, r, 10, 0, 100));
    pl.Left = int(NeedInt(f, r, 11, 0, 100));
    pl.Right = int(NeedInt(f, r, 12, 0, 100));
    pl.Bottom = int(NeedInt(f, r, 13, 0, 100));
    std::vector<std::string> cells = RowCells(L, r);
    OnlyPictures(f, r, {19});
    if (!pl.Solid) {
      const TPicSpec& t = NeedPicture(f, r, 19);
      textures[i] = Draw(f, t);
      CheckPictureSize(f, t, textures[i], 8, 512, 8, 512);
      pl.Texture = &textures[i];
      b.Blobs.push_back(Deflate(EncodeBmp(textures[i], 32)));
      cells[19] = std::to_string(b.Blobs.back().size());
    } else if (r.Picture(19)) {
      Fail(f, r.Picture(19)->Line, "a solid layer reads no texture");
    }
    preview.push_back(pl);
    b.Rows.push_back(cells);
  }
  if (enabled > 6) Fail(f, L.Line, "a layer table has at most 6 enabled layers");
  if (!L.Preview) Fail(f, L.Line, "the layer table has no preview");
  TImage prev;
  if (L.Preview->Recipe.Name == "layered") {
    const TRecipe& rc = L.Preview->Recipe;
    if (rc.Args.size() != 2) Fail(f, L.Preview->Line, "preview layered takes a width and a height");
    prev = DrawLayeredPreview(preview, std::atoi(rc.Args[0].c_str()), std::atoi(rc.Args[1].c_str()));
  } else {
    prev = Draw(f, *L.Preview);
  }
  CheckPictureSize(f, *L.Preview, prev, 1, 78, 1, 71);
  b.Blobs.push_back(Deflate(EncodeJpeg(prev, 90)));
  b.Props[9] = std::to_string(b.Blobs.back().size());
  return AssemblePack(b.Blobs, TableText(f, L, b), false);
}

struct TOutput {
  std::string Name;
  TBlob Bytes;
};

std::vector<TOutput> BuildPack(const TPackSpec& P) {
  const std::string& f = P.File;
  TBuiltTable b;
  b.Props = P.Props;
  std::vector<TOutput> extra;
  std::map<long long, int> kinds, modes;
  auto put = [&](std::vector<std::string>& Cells, int Cell, TBlob Blob) {
    Cells[size_t(Cell)] = std::to_string(Blob.size());
    b.Blobs.push_back(std::move(Blob));
  };
  for (const TRowSpec& r : P.Rows) {
    std::vector<std::string> cells = RowCells(P, r);
    const bool set14 = !r.Cell(14).empty();
    switch (P.Kind) {
      case TKind::Effects: {
        if (P.CellCount != 17) Fail(f, P.Line, "effects rows have 17 cells");
        if (r.Cell(0) != "0") Fail(f, r.Line, "cell 0 of an effects row is \"0\"");
        NeedInt(f, r, 1, 0, 3);
        NeedText(f, r, 2);
        NeedText(f, r, 4);
        const long long kind = NeedInt(f, r, 5, 1, 49);
        Distinct(f, r, 5, kinds, kind);
        NeedInt(f, r, 10, -1000, 1000);
        OnlyPictures(f, r, {15, 16});
        const bool scene = kind >= 27 && kind <= 32;
        if (scene != set14) Fail(f, r.Line, scene ? "a scene row names its picture in cell 14" : "only scene rows carry pictures");
        if (scene) {
          const TPicSpec& tex = NeedPicture(f, r, 15);
          TImage t = Draw(f, tex);
          if (std::max(t.W, t.H) < 1024) CheckPictureSize(f, tex, t, 1024, 8192, 1, 8192);
          TBlob jpeg = EncodeJpeg(t, 88);
          extra.push_back({r.Cell(14), jpeg});
          put(cells, 15, Deflate(jpeg));
          const TPicSpec& copy = NeedPicture(f, r, 16);
          TImage c = Draw(f, copy);
          CheckPictureSize(f, copy, c, 32, 128, 32, 128);
          put(cells, 16, Deflate(EncodeJpeg(c, 90)));
        }
        break;
      }
      case TKind::Pattern: {
        NeedText(f, r, 2);
        NeedText(f, r, 4);
        NeedText(f, r, 14);
        OnlyPictures(f, r, {15});
        const TPicSpec& p = NeedPicture(f, r, 15);
        TImage t = Draw(f, p);
        CheckPictureSize(f, p, t, 64, 128, 64, 128, true);
        put(cells, 15, Deflate(EncodeJpeg(t, 92)));
        break;
      }
      case TKind::Brush: {
        NeedText(f, r, 2);
        NeedText(f, r, 4);
        NeedBool(f, r, 8);
        NeedInt(f, r, 9, 1, 1000);
        NeedInt(f, r, 10, 1, 1000);
        NeedText(f, r, 14);
        OnlyPictures(f, r, {15, 16});
        const TPicSpec& tip = NeedPicture(f, r, 15);
        TImage t = Draw(f, tip);
        CheckPictureSize(f, tip, t, 256, 1024, 256, 1024, true);
        put(cells, 15, Deflate(EncodeBmp(t, 24)));
        const TPicSpec& pv = NeedPicture(f, r, 16);
        TImage v = Draw(f, pv);
        CheckPictureSize(f, pv, v, 8, 32, 8, 32);
        put(cells, 16, EncodePng(v, true));
        break;
      }
      case TKind::Shadow:
      case TKind::Reflection: {
        NeedText(f, r, 2);
        NeedText(f, r, 4);
        NeedText(f, r, 14);
        NeedEmpty(f, r, 15, "these packs never read it");
        OnlyPictures(f, r, {16});
        const TPicSpec& p = NeedPicture(f, r, 16);
        TImage t = Draw(f, p);
        CheckPictureSize(f, p, t, 32, 32, 32, 32);
        put(cells, 16, EncodePng(t, true));
        break;
      }
      case TKind::Frame0:
      case TKind::Frame1: {
        const int tab = P.Kind == TKind::Frame0 ? 0 : 1;
        if (r.Cell(17) != "0") Fail(f, r.Line, "cell 17 is \"0\": nothing reads a second picture");
        const TPicSpec& p = FrameRow(f, r, tab, tab == 0 ? 10 : 16, false, modes);
        TImage t = Draw(f, p);
        CheckPictureSize(f, p, t, 1, 78, 1, 66);
        AvoidKeyedColours(t);
        put(cells, 15, Deflate(EncodeBmp(t, 32)));
        break;
      }
      case TKind::Frame2: {
        const TPicSpec& p = FrameRow(f, r, 2, 0, true, modes);
        if (p.Recipe.Name != "layers" || p.Recipe.Args.size() != 1) Fail(f, p.Line, "frame pack 2 rows take \"layers NAME\"");
        auto it = P.Layers.find(p.Recipe.Args[0]);
        if (it == P.Layers.end()) Fail(f, p.Line, "no layer table \"" + p.Recipe.Args[0] + "\"");
        put(cells, 15, Deflate(LayerPack(P, it->second)));
        break;
      }
      case TKind::Frame3: {
        const TPicSpec& p = FrameRow(f, r, 3, 0, true, modes);
        TImage t = Draw(f, p);
        CheckPictureSize(f, p, t, 256, 4096, 256, 4096);
        put(cells, 15, Deflate(EncodePng(t, false)));
        break;
      }
    }
    b.Rows.push_back(cells);
  }
  // Row counts.
  const int n = int(P.Rows.size());
  switch (P.Kind) {
    case TKind::Pattern:
      if (n < 6) Fail(f, P.Line, "the pattern pack has at least 6 rows (the new-image dialog's six pictures), not " + std::to_string(n));
      break;
    case TKind::Brush:
      if (n < 2) Fail(f, P.Line, "the brush pack has at least 2 rows (row 1 is the default brush), not " + std::to_string(n));
      break;
    case TKind::Shadow:
    case TKind::Reflection:
      if (n != 8) Fail(f, P.Line, "this pack has exactly 8 rows (none, presets 1 to 6, custom), not " + std::to_string(n));
      break;
    case TKind::Frame0:
    case TKind::Frame1: {
      const int last = P.Kind == TKind::Frame0 ? 10 : 16;
      for (int m = 1; m <= last; ++m)
        if (!modes.count(m)) Fail(f, P.Line, "no row of frame mode " + std::to_string(m));
      break;
    }
    case TKind::Effects:
      if (n < 1) Fail(f, P.Line, "the effects pack has no rows");
      for (int prop : {0, 2, 9})
        if (!P.Props.count(prop)) Fail(f, P.Line, "the effects pack carries the catalogue's property " + std::to_string(prop));
      break;
    default:
      if (n < 1) Fail(f, P.Line, "the pack has no rows");
      break;
  }
  std::vector<TOutput> out = {{P.PackName, AssemblePack(b.Blobs, TableText(f, P, b), P.Kind >= TKind::Frame0)}};
  out.insert(out.end(), extra.begin(), extra.end());
  return out;
}

// ---------------------------------------------------------------------------
// Cursors: 32 x 32 text pictures with a palette and a hot spot, and the
// "+" / "-" badges of the add and subtract variants.

struct TCursor {
  std::vector<std::uint32_t> Argb;  // 32 x 32, top-down
  int HotX = -1, HotY = -1;
};

TCursor ReadCursor(const std::string& File) {
  TCursor c;
  std::map<char, std::uint32_t> palette = {{'.', 0}};
  std::vector<std::string> grid;
  int gridLine = 0;
  for (const TLine& l : ReadLines(File)) {
    const std::string& d = l.Fields[0];
    if (!grid.empty() || d == "grid") {
      if (d == "grid") {
        gridLine = l.No;
        if (!grid.empty()) Fail(File, l.No, "a second grid");
        grid.push_back("");
        continue;
      }
      if (l.Fields.size() != 1) Fail(File, l.No, "a grid line holds no TAB");
      if (d.size() != 32) Fail(File, l.No, "a grid line of " + std::to_string(d.size()) + " characters; cursors are 32 x 32");
      grid.push_back(d);
      continue;
    }
    long long v1 = 0, v2 = 0;
    if (d == "hotspot") {
      if (l.Fields.size() != 3 || !ParseInt(l.Fields[1], v1) || !ParseInt(l.Fields[2], v2) || v1 < 0 || v1 > 31 || v2 < 0 || v2 > 31)
        Fail(File, l.No, "hotspot takes X and Y, 0..31");
      c.HotX = int(v1);
      c.HotY = int(v2);
    } else if (d == "palette") {
      if (l.Fields.size() != 3 || l.Fields[1].size() != 1 || l.Fields[1] == "." || l.Fields[2].size() != 8)
        Fail(File, l.No, "palette takes a character and a colour AARRGGBB");
      c.Argb.clear();
      palette[l.Fields[1][0]] = std::uint32_t(std::stoul(l.Fields[2], nullptr, 16));
    } else {
      Fail(File, l.No, "unknown directive \"" + d + "\"");
    }
  }
  if (c.HotX < 0) Fail(File, 0, "the cursor has no hot spot");
  if (grid.size() != 33) Fail(File, gridLine, "the grid has " + std::to_string(grid.empty() ? 0 : grid.size() - 1) + " lines; cursors are 32 x 32");
  for (int y = 0; y < 32; ++y)
    for (char ch : grid[size_t(y) + 1]) {
      auto it = palette.find(ch);
      if (it == palette.end()) Fail(File, gridLine + 1 + y, std::string("character \"") + ch + "\" is not in the palette");
      c.Argb.push_back(it->second);
    }
  return c;
}

// A badge of 9 x 9 at the lower right: a white box with a dark border and a
// "+" or "-".
void AddBadge(TCursor& C, bool Plus, const std::string& File, int Line) {
  const int x0 = 22, y0 = 22;
  if (C.HotX >= x0 - 1 && C.HotY >= y0 - 1) Fail(File, Line, "the badge would cover the hot spot");
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool border = x == 0 || y == 0 || x == 8 || y == 8;
      const bool sign = (y == 4 && x >= 2 && x <= 6) || (Plus && x == 4 && y >= 2 && y <= 6);
      C.Argb[size_t(y0 + y) * 32 + size_t(x0 + x)] = border || sign ? 0xFF000000u : 0xFFFFFFFFu;
    }
}

// A .cur file: one 32 x 32 image, 32-bit ARGB colours and the 1-bit AND mask
// (set where the pixel is transparent), rows bottom-up.
TBlob CurFile(const TCursor& C) {
  TBlob b;
  auto le = [&](std::uint32_t V, int N) {
    for (int i = 0; i < N; ++i) b.push_back(std::uint8_t(V >> (8 * i)));
  };
  const std::uint32_t image = 40 + 32 * 32 * 4 + 32 * 4;
  le(0, 2);
  le(2, 2);  // cursor
  le(1, 2);
  b.insert(b.end(), {32, 32, 0, 0});
  le(std::uint32_t(C.HotX), 2);
  le(std::uint32_t(C.HotY), 2);
  le(image, 4);
  le(22, 4);
  le(40, 4);
  le(32, 4);
  le(64, 4);  // colour and mask
  le(1, 2);
  le(32, 2);
  le(0, 4);
  le(32 * 32 * 4 + 32 * 4, 4);
  for (int i = 0; i < 4; ++i) le(0, 4);
  for (int y = 31; y >= 0; --y)
    for (int x = 0; x < 32; ++x) {
      const std::uint32_t p = C.Argb[size_t(y) * 32 + size_t(x)];
      le((p >> 24) >= 128 ? p : 0, 4);
    }
  for (int y = 31; y >= 0; --y) {
    std::uint32_t bits = 0;
    for (int x = 0; x < 32; ++x)
      if ((C.Argb[size_t(y) * 32 + size_t(x)] >> 24) < 128) bits |= 1u << (31 - x);
    for (int k = 3; k >= 0; --k) b.push_back(std::uint8_t(bits >> (8 * k)));
  }
  return b;
}

std::vector<TOutput> BuildCursors(const std::string& Manifest) {
  const std::filesystem::path dir = std::filesystem::path(Manifest).parent_path();
  std::vector<TOutput> out;
  std::string rc = "/* The editor's cursors, made by tools/mediagen from assets/cursors. */\n";
  std::set<std::string> names;
  for (const TLine& l : ReadLines(Manifest)) {
    if (l.Fields[0] != "cursor" || l.Fields.size() < 3 || l.Fields.size() > 4)
      Fail(Manifest, l.No, "expected \"cursor NAME SOURCE [plus|minus]\"");
    const std::string& name = l.Fields[1];
    for (char ch : name)
      if (!std::isalnum(std::uint8_t(ch)) && ch != '_') Fail(Manifest, l.No, "\"" + name + "\" is not a resource name");
    if (!names.insert(name).second) Fail(Manifest, l.No, "cursor \"" + name + "\" listed twice");
    TCursor c = ReadCursor((dir / l.Fields[2]).string());
    if (l.Fields.size() == 4) {
      if (l.Fields[3] != "plus" && l.Fields[3] != "minus") Fail(Manifest, l.No, "the badge is \"plus\" or \"minus\"");
      AddBadge(c, l.Fields[3] == "plus", Manifest, l.No);
    }
    out.push_back({name + ".cur", CurFile(c)});
    rc += name + " CURSOR \"" + name + ".cur\"\n";
  }
  if (out.empty()) Fail(Manifest, 0, "no cursors");
  out.push_back({"Cursors.rc", TBlob(rc.begin(), rc.end())});
  return out;
}

void WriteAll(const std::string& Dir, const std::vector<TOutput>& Files) {
  std::filesystem::create_directories(Dir);
  for (const TOutput& o : Files) {
    const std::string path = (std::filesystem::path(Dir) / o.Name).string();
    const std::string tmp = path + ".tmp";
    {
      std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(o.Bytes.data()), std::streamsize(o.Bytes.size()));
      if (!out) throw std::runtime_error("cannot write " + tmp);
    }
    std::filesystem::rename(tmp, path);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || (std::string(argv[1]) != "media" && std::string(argv[1]) != "cursors") ||
      (std::string(argv[1]) == "cursors" && argc != 4)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string mode = argv[1], outDir = argv[2];
  try {
    std::vector<TOutput> files;
    if (mode == "cursors") {
      files = BuildCursors(argv[3]);
    } else {
      std::set<std::string> names;
      for (int i = 3; i < argc; ++i) {
        const TPackSpec spec = ReadManifest(argv[i]);
        for (TOutput& o : BuildPack(spec)) {
          if (!names.insert(o.Name).second) Fail(argv[i], spec.Line, "\"" + o.Name + "\" is made twice");
          files.push_back(std::move(o));
        }
      }
    }
    // Only a run without faults writes anything.
    WriteAll(outDir, files);
  } catch (const TFault& f) {
    std::fprintf(stderr, "mediagen: %s: %s\n", f.Where.c_str(), f.Message.c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mediagen: %s\n", e.what());
    return 1;
  }
  return 0;
}
