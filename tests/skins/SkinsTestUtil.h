// Helpers of the skin scheme tests: the generator's sources and outputs as
// the build tree holds them, read through the runtime library's files (a
// Windows path under Wine).
#pragma once

#include <algorithm>
#include <string>

#include "rtl/Classes.h"
#include "rtl/SysUtils.h"
#include "tools/skingen/SkinGen.h"

namespace skinstest {

// A path of the build machine as the test program sees it.
inline String HostPath(std::string P) {
#if defined(_WIN32)
  std::replace(P.begin(), P.end(), '/', '\\');
  return u"Z:" + ToString(P);
#else
  return ToString(P);
#endif
}

inline TBytes ReadBytes(const std::string& Path) {
  TMemoryStream S;
  S.LoadFromFile(HostPath(Path));
  const Byte* P = static_cast<const Byte*>(S.Memory());
  return TBytes(P, P + S.Size());
}

inline std::string ReadText(const std::string& Path) {
  const TBytes B = ReadBytes(Path);
  return std::string(B.begin(), B.end());
}

inline std::string Asset(const std::string& Name) { return std::string(LUMIGRA_SKIN_ASSETS) + "/" + Name; }

// The generator's sources as checked in.
struct TSources {
  skingen::TSourceFile Layout{Asset("Layout.txt"), ReadText(Asset("Layout.txt"))};
  skingen::TSourceFile Palette{Asset("Palette.txt"), ReadText(Asset("Palette.txt"))};
  std::string LookupsFile = LUMIGRA_SKIN_LOOKUPS;
  std::string Lookups = ReadText(LUMIGRA_SKIN_LOOKUPS);
  skingen::TSourceFile Scheme(const std::string& Name) const {
    return {Asset(Name + ".scheme"), ReadText(Asset(Name + ".scheme"))};
  }
  skingen::TBuildResult Build(const std::vector<std::string>& Names) const {
    std::vector<skingen::TSourceFile> S;
    for (const auto& N : Names) S.push_back(Scheme(N));
    return skingen::BuildSchemes(Layout, Palette, S, LookupsFile, Lookups);
  }
};

inline const char* const SchemeNames[] = {"Dawn", "Charm", "Laconic", "Cool"};

}  // namespace skinstest
