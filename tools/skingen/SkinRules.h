// The rules a made skin keeps so that every consumer of the skin engine reads
// what it expects: the consumer list (every name the program looks up, with
// the class and the size it needs), and the checks run on a skin's fields and
// pictures: by the generator on what it wrote, read back through the
// portable reader, and by the tests on what the skin model loaded.
// Portable: no Windows header.
#pragma once

#include <string>
#include <vector>

#include "skin/data/SkinContent.h"

namespace skinrules {

// One picture as pixels: TColor values ($00BBGGRR), rows top-down.
struct TImage {
  Integer Width = 0, Height = 0;
  std::vector<Cardinal> Pixels;
  TColor At(Integer X, Integer Y) const { return static_cast<TColor>(Pixels[size_t(Y) * Width + X]); }
  bool Contains(const TRect& R) const {
    return R.Left >= 0 && R.Top >= 0 && R.Right <= Width && R.Bottom <= Height && R.Right > R.Left && R.Bottom > R.Top;
  }
};

struct TPictures {
  TImage Frame;
  std::vector<TImage> Active;
};

// A BMP file image decoded (the class library's reader); raises on a bad one.
TImage DecodeBmp(const TBytes& Bmp);

// One name of the consumer list.
struct TLookup {
  bool Object = false;  // a frame object ([SKINOBJECTS]), else a control description
  String Name;
  String Word;          // the type word of the class the consumer expects
  char Need = 'R';      // R required, F a fallback is looked up, O optional, X must be absent
  String Fallback;      // F: the name looked up instead
  String Scheme;        // only in this scheme (empty: every scheme)
  Integer Width = 0, Height = 0;  // the size the consumer needs (0: any)
  char Mode = 0;        // 'n' nine-slice, 'h' horizontal, 'v' vertical three-slice, 'f' fixed; 0 any
  int Line = 0;
};

// Parses the consumer list; raises std::runtime_error "File:line: message".
std::vector<TLookup> ParseLookups(const std::string& File, const std::string& Text);

// Every fault of the skin named Scheme, one line each:
// "Scheme: description: rule N (title): detail". Empty when all rules hold.
std::vector<std::string> CheckSkin(const String& Scheme, TspSkinFields& Skin, const TPictures& Pictures,
                                   const std::vector<TLookup>& Lookups);

// The ini text of a skin with every colour value and the scheme's name
// masked: the text the schemes must share.
std::string MaskedIniText(TspSkinFields& Skin);

// The key colours of pieces drawn transparently.
inline constexpr TColor KeyMagenta = 0xFF00FF;
inline constexpr TColor KeyDarkMagenta = 0x7F007F;
inline bool IsKeyColor(TColor C) { return C == KeyMagenta || C == KeyDarkMagenta; }

}  // namespace skinrules
