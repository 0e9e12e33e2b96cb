// The skin engine's own text table: lines NAME=text, looked up by name
// without regard to case, and the character set the skinned controls give
// their fonts.
// Portable header: no Windows header.
#pragma once

#include <vector>

#include "classlib/UITypes.h"
#include "rtl/Classes.h"

class TspResourceStrData : public TComponent {
 public:
  // The built-in English lines and CharSet 1 (DEFAULT_CHARSET).
  explicit TspResourceStrData(TComponent* AOwner);
  ~TspResourceStrData() override;

  TStrings* ResStrings() const { return FResStrs; }
  // Replaces every line (the built-in ones included) by a copy of Value.
  void SetResStrings(TStrings* Value);
  TFontCharset CharSet() const { return FCharSet; }
  void SetCharSet(TFontCharset Value) { FCharSet = Value; }

  // The text after the first "=" of the first line whose name (the text
  // before it, unchanged) equals ResName ignoring case; "" when none.
  String GetResStr(const String& ResName) const;

 private:
  TStringList* FResStrs;
  TFontCharset FCharSet = 1;
};

// The built-in lines, in order (a few names occur twice).
const std::vector<String>& BuiltInSkinStrings();
