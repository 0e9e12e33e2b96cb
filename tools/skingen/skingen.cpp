// skingen: makes the program's skin schemes from assets/skins.
//
//   skingen --layout FILE --palette FILE --lookups FILE --out DIR --skn-dir DIR SCHEME...
//       builds every scheme file (its anchors and overrides over the shared
//       palette) with the one layout, reads each result back through the
//       skin reader and checks it against the rules and the consumer list,
//       then writes: the stored scheme's compressed block as DIR/NAME.skinblock,
//       every other scheme as SKN-DIR/NAME.skn, and each scheme's source
//       folder DIR/NAME/ (skin.ini and its BMP pictures)
//   skingen --check-lookups LOOKUPS DIR...
//       finds every name the program's C++ files look up in a skin
//       (GetControlIndex, GetIndex, GetAreaIndex or a SkinDataName with a
//       literal) and checks that the consumer list holds it
//
// A fault in a source stops with one line naming the file and line; a broken
// rule with one line per fault naming the scheme, the description and the
// rule. Exit status 1 for faults, 2 for a wrong command line.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tools/skingen/SkinGen.h"
#include "tools/skingen/SkinRules.h"

namespace fs = std::filesystem;
using namespace skingen;

namespace {

const char kUsage[] =
    "usage: skingen --layout FILE --palette FILE --lookups FILE --out DIR --skn-dir DIR SCHEME...\n"
    "       skingen --check-lookups LOOKUPS DIR...\n";

std::string ReadText(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  if (!In) throw std::runtime_error(Name + ": cannot be read");
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& Name, const void* Data, size_t Size) {
  std::ofstream Out(Name, std::ios::binary | std::ios::trunc);
  Out.write(static_cast<const char*>(Data), std::streamsize(Size));
  if (!Out) throw std::runtime_error(Name.string() + ": cannot be written");
}

int Build(const std::map<std::string, std::string>& Opt, const std::vector<std::string>& SchemeFiles) {
  for (const char* K : {"--layout", "--palette", "--lookups", "--out", "--skn-dir"})
    if (!Opt.count(K)) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  std::vector<TSourceFile> Schemes;
  for (const auto& F : SchemeFiles) Schemes.push_back({F, ReadText(F)});
  const TBuildResult R = BuildSchemes({Opt.at("--layout"), ReadText(Opt.at("--layout"))},
                                      {Opt.at("--palette"), ReadText(Opt.at("--palette"))}, Schemes,
                                      Opt.at("--lookups"), ReadText(Opt.at("--lookups")));
  if (!R.Faults.empty()) {
    for (const auto& F : R.Faults) std::fprintf(stderr, "%s\n", F.c_str());
    return 1;
  }
  const fs::path Out = Opt.at("--out"), SknDir = Opt.at("--skn-dir");
  fs::create_directories(Out);
  fs::create_directories(SknDir);
  for (const auto& S : R.Schemes) {
    if (S.Stored)
      WriteBytes(Out / (S.Name + ".skinblock"), S.Block.data(), S.Block.size());
    else
      WriteBytes(SknDir / (S.Name + ".skn"), S.Skn.data(), S.Skn.size());
    const fs::path Dir = Out / S.Name;
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    WriteBytes(Dir / "skin.ini", S.IniText.data(), S.IniText.size());
    const TspSkinContent& C = *S.Content;
    WriteBytes(Dir / ToUtf8(C.FPictureName), C.Pictures[TspSkinContent::spMain].data(),
               C.Pictures[TspSkinContent::spMain].size());
    for (Integer I = 0; I < C.FActivePicturesNames->Count(); ++I)
      WriteBytes(Dir / ToUtf8(C.FActivePicturesNames->Strings(I)), C.ActivePictures[size_t(I)].data(),
                 C.ActivePictures[size_t(I)].size());
  }
  return 0;
}

// The literal names a line looks up: GetControlIndex(u"x"), GetIndex(u"x"),
// GetAreaIndex(u"x"), SkinDataName(u"x") or ...SkinDataName = u"x".
std::vector<std::string> LookedUp(const std::string& Line) {
  std::vector<std::string> Names;
  for (const char* Word : {"GetControlIndex", "GetIndex", "GetAreaIndex", "SkinDataName"}) {
    for (size_t At = Line.find(Word); At != std::string::npos; At = Line.find(Word, At + 1)) {
      size_t I = At + std::strlen(Word);
      while (I < Line.size() && Line[I] == ' ') ++I;
      if (I >= Line.size() || (Line[I] != '(' && Line[I] != '=')) continue;
      ++I;
      while (I < Line.size() && Line[I] == ' ') ++I;
      if (Line.compare(I, 2, "u\"") != 0) continue;
      const size_t End = Line.find('"', I + 2);
      if (End != std::string::npos) Names.push_back(Line.substr(I + 2, End - I - 2));
    }
  }
  return Names;
}

// Every literal name the program looks up in a skin is in the consumer list.
int CheckLookups(const std::string& ListFile, const std::vector<std::string>& Dirs) {
  std::set<std::string> Known;
  for (const auto& L : skinrules::ParseLookups(ListFile, ReadText(ListFile))) Known.insert(ToUtf8(L.Name));
  int Faults = 0;
  for (const auto& D : Dirs) {
    std::vector<fs::path> Files;
    for (const auto& E : fs::recursive_directory_iterator(D))
      if (E.is_regular_file() && (E.path().extension() == ".cpp" || E.path().extension() == ".h"))
        Files.push_back(E.path());
    std::sort(Files.begin(), Files.end());
    for (const auto& F : Files) {
      std::ifstream In(F);
      std::string Line;
      for (int N = 1; std::getline(In, Line); ++N)
        for (const std::string& Name : LookedUp(Line))
          if (!Known.count(Name)) {
            std::fprintf(stderr, "%s:%d: \"%s\" is looked up in the skin but missing from %s\n", F.string().c_str(), N,
                         Name.c_str(), ListFile.c_str());
            ++Faults;
          }
    }
  }
  return Faults ? 1 : 0;
}

}  // namespace

int main(int Argc, char** Argv) {
  try {
    std::vector<std::string> Args(Argv + 1, Argv + Argc);
    if (!Args.empty() && Args[0] == "--check-lookups") {
      if (Args.size() < 3) {
        std::fputs(kUsage, stderr);
        return 2;
      }
      return CheckLookups(Args[1], std::vector<std::string>(Args.begin() + 2, Args.end()));
    }
    std::map<std::string, std::string> Opt;
    std::vector<std::string> Schemes;
    for (size_t I = 0; I < Args.size(); ++I) {
      if (Args[I].rfind("--", 0) == 0) {
        if (I + 1 >= Args.size()) {
          std::fputs(kUsage, stderr);
          return 2;
        }
        Opt[Args[I]] = Args[I + 1];
        ++I;
      } else {
        Schemes.push_back(Args[I]);
      }
    }
    if (Schemes.empty()) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    return Build(Opt, Schemes);
  } catch (const Exception& E) {
    std::fprintf(stderr, "%s\n", ToUtf8(E.Message()).c_str());
    return 1;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
}
