// A skin built in memory for the skin tests: its ini text section by section
// and pictures of flat, distinct colours, loaded into a TspSkinData through a
// stored skin, without files. Controls can then be checked by pixels.
#pragma once

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "skin/data/SkinData.h"

namespace skintest {

// A picture of Background with each rectangle filled in its colour.
std::unique_ptr<TBitmap> FlatPicture(Integer Width, Integer Height, TColor Background,
                                     std::initializer_list<std::pair<TRect, TColor>> Rects = {},
                                     TPixelFormat Format = pf24bit);

class TFixtureSkin {
 public:
  enum TPicture { Main, InActive, Mask, RollUp, RollUpMask };

  TFixtureSkin();
  // Appends "key=value" lines to Section (a new section goes to the end).
  TFixtureSkin& Keys(const String& Section, std::initializer_list<String> Lines);
  // An entry of [SKINOBJECTS] / [SKINCONTROLS] with the lines of its section.
  TFixtureSkin& Object(const String& Name, const String& Word, std::initializer_list<String> Lines = {});
  TFixtureSkin& Control(const String& Name, const String& Word, std::initializer_list<String> Lines = {});
  // One of the five main pictures (named "<which>.bmp" in [PICTURES]).
  TFixtureSkin& Picture(TPicture Which, std::unique_ptr<TBitmap> Bitmap);
  // Appends an active picture; its index.
  Integer ActivePicture(std::unique_ptr<TBitmap> Bitmap);

  String IniText() const;
  // The compressed stored skin.
  TBytes Block() const;
  // Loads the skin into Data as its stored skin.
  void LoadInto(TspSkinData* Data) const;

 private:
  std::vector<String>& Section(const String& Name);

  std::vector<std::pair<String, std::vector<String>>> FSections;
  std::vector<String> FObjects;
  std::vector<String> FControls;
  std::unique_ptr<TBitmap> FPictures[5];
  std::vector<std::unique_ptr<TBitmap>> FActive;
};

}  // namespace skintest
