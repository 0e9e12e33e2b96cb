// The skin generator: reads the layout shared by every scheme and one palette
// per scheme (assets/skins), places every picture piece, draws it with the
// bitmap engine, fills the description objects through their own key tables
// and writes the stored skin, the ".skn" file and a source folder of each
// scheme. Sources are UTF-8 text; every fault names the file and line.
// Portable: no Windows header (a native build-time tool).
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bitmap/Bmp32.h"
#include "skin/data/SkinContent.h"

namespace skingen {

// Where a source line is.
struct TSourcePos {
  std::string File;
  int Line = 0;
  std::string Text() const { return File + ":" + std::to_string(Line); }
};

// A source that cannot be used: "file:line: message".
class ESkinSource : public std::runtime_error {
 public:
  ESkinSource(const TSourcePos& Pos, const std::string& Message)
      : std::runtime_error(Pos.Text() + ": " + Message) {}
};

// A layout that breaks a rule of the skin: "scheme: description: rule: detail".
class ESkinRule : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------
// Palettes

// The colours of one scheme: its own entries (the anchors and any override)
// over the rules shared by all schemes. Values are TColor ($BBGGRR).
// Expressions: "$BBGGRR"; another entry's name; mix(A, B, P) (P percent of B
// in A); tone(A, L, S) (A with HSL lightness L percent and saturation
// multiplied by S percent).
class TPalette {
 public:
  // Reads "name = expression" lines ("#" comments, blank lines); a name given
  // twice in one file is refused.
  void AddFile(const std::string& File, const std::string& Text, bool SchemeFile);
  // The value of Name; a missing entry or a bad expression is refused naming
  // the place that asked (At) or the entry's line.
  TColor Get(const std::string& Name, const TSourcePos& At) const;
  bool Has(const std::string& Name) const;
  // Every entry evaluated (so a fault anywhere stops the build).
  void CheckAll() const;
  // Entries of the scheme file that are not colours: "skinname", "stored".
  std::string Setting(const std::string& Name) const;

 private:
  struct TEntry {
    std::string Expr;
    TSourcePos Pos;
  };
  TColor Eval(const std::string& Name, const TSourcePos& At, std::vector<std::string>& Stack) const;
  TColor EvalExpr(const std::string& Expr, const TSourcePos& Pos, std::vector<std::string>& Stack) const;

  std::map<std::string, TEntry> FScheme;
  std::map<std::string, TEntry> FShared;
  std::map<std::string, std::pair<std::string, TSourcePos>> FSettings;
};

// ---------------------------------------------------------------------------
// Layout

struct TLayoutKey {
  std::string Key;
  std::string Value;  // as written; "@name" names a palette entry
  TSourcePos Pos;
};

// A piece the generator places in a picture: the key that receives its
// rectangle, its size and what the painter draws there.
struct TLayoutImage {
  std::string Key;
  int Width = 0, Height = 0;
  std::vector<std::string> Args;
  TSourcePos Pos;
  TRect Placed;  // picture coordinates, after placement
};

// A picture: the frame picture ("frame") or an active picture (0, 1, ...),
// of a fixed size painted whole, or an atlas of a fixed width whose height
// follows the pieces placed in it.
struct TLayoutPicture {
  std::string Id;
  std::string File;
  int Width = 0, Height = 0;
  bool Atlas = false;
  std::vector<std::string> Paint;
  TSourcePos Pos;
};

// One section of the skin text: a frame object or control description, or
// one of the fixed sections ([FORMINFO], [POPUPWINDOW], [HINTWINDOW],
// [LAYERFRAME], [SKINCOLORS]).
struct TLayoutEntry {
  enum TKind { Object, Control, FormInfo, PopupWindow, HintWindow, LayerFrame, Colors };
  TKind Kind = Control;
  std::string Name;  // the section name
  std::string Word;  // the type word of a description
  std::string Like;  // a description whose pieces and keys this one shares
  std::string Picture;  // the picture its pieces go to ("" none)
  std::vector<std::string> Paint;
  std::vector<TLayoutImage> Images;
  std::vector<TLayoutKey> Keys;
  TSourcePos Pos;

  const TLayoutKey* FindKey(const std::string& Key) const;
};

struct TLayout {
  std::vector<TLayoutPicture> Pictures;
  std::vector<TLayoutEntry> Entries;

  static TLayout Parse(const std::string& File, const std::string& Text);
  const TLayoutEntry* Find(const std::string& Name) const;
  const TLayoutPicture* FindPicture(const std::string& Id) const;
};

// ---------------------------------------------------------------------------
// Building

// The pictures of a scheme as drawn.
struct TSchemePictures {
  std::unique_ptr<TCustomBitmap32> Frame;
  std::vector<std::unique_ptr<TCustomBitmap32>> Active;
};

// One scheme built: its skin content (descriptions and BMP pictures), the
// ini text as written, the compressed block and the ".skn" file.
struct TBuiltScheme {
  std::string Name;
  bool Stored = false;
  std::unique_ptr<TspSkinContent> Content;
  std::string IniText;  // UTF-8 with a byte-order mark, CR LF lines
  TBytes Block;
  TBytes Skn;
  size_t InflatedSize = 0;
};

// Places the pieces of every atlas (the layout's rectangles are filled in),
// checks that each picture stays within 512 x 512 and that every place
// (client rects, button places, text rects) lies inside its piece.
void PlaceImages(TLayout& Layout);
// Draws every picture of the layout in one palette.
TSchemePictures PaintPictures(const TLayout& Layout, const TPalette& Palette);
// The 24-bit bottom-up BMP file image of a bitmap, as the class library
// writes one (40-byte header, rows padded to 4 bytes, exact bfSize).
TBytes EncodeBmp24(const TCustomBitmap32& Bitmap);
// Builds one scheme from a placed layout: descriptions filled through their
// key tables, written, and checked to read back to the same keys.
TBuiltScheme BuildScheme(const TLayout& Layout, const TPalette& Palette);

// A source file's name and text.
struct TSourceFile {
  std::string File;
  std::string Text;
};

struct TBuildResult {
  std::vector<TBuiltScheme> Schemes;
  std::vector<std::string> Faults;  // broken rules, one line each; empty when all hold
};

// Builds every scheme (each file named after its skinname, one of them the
// stored one) with the one layout, reads each result back through the skin
// reader and the ".skn" envelope, and checks it against the rules and the
// consumer list (Lookups: a parsed list, see SkinRules.h). A faulty source
// raises ESkinSource.
TBuildResult BuildSchemes(const TSourceFile& Layout, const TSourceFile& Palette,
                          const std::vector<TSourceFile>& Schemes, const std::string& LookupsFile,
                          const std::string& LookupsText);

// Text of the UTF-8 source lines split as the parsers see them (CR LF or
// LF, a leading byte-order mark dropped).
std::vector<std::string> SourceLines(const std::string& Text);

}  // namespace skingen
