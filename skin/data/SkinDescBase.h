// What every description class of the skin shares: a key table of its own
// and the load/save chain that runs the base class's keys first.
// Portable header: no Windows header.
#pragma once

#include "skin/data/SkinKeys.h"

// Base: the description class one level up. Self: the class itself, with a
// static Keys() table of its own keys. Self's constructor calls
// Keys().Init(*this); a class with extra rules overrides LoadFromFile again.
template <class Self, class Base>
class TspKeyedDescription : public Base {
 public:
  using Base::Base;
  void LoadFromFile(TCustomIniFile* IniFile) override {
    Base::LoadFromFile(IniFile);
    Self::Keys().Load(*this, IniFile, this->IDName);
  }
  void SaveToFile(TCustomIniFile* IniFile) override {
    Base::SaveToFile(IniFile);
    Self::Keys().Save(*this, IniFile, this->IDName);
  }
};

// The empty rectangle test of the skin: width or height not above 0.
inline bool IsSkinRectEmpty(const TRect& R) { return R.Right - R.Left <= 0 || R.Bottom - R.Top <= 0; }
