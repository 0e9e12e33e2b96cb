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
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "skin/data/StoredSkin.h"
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

// The pictures of a read-back skin.
skinrules::TPictures DecodePictures(const TspSkinContent& C) {
  skinrules::TPictures P;
  P.Frame = skinrules::DecodeBmp(C.Pictures[TspSkinContent::spMain]);
  for (const auto& B : C.ActivePictures) P.Active.push_back(skinrules::DecodeBmp(B));
  return P;
}

int Build(const std::map<std::string, std::string>& Opt, const std::vector<std::string>& Schemes) {
  for (const char* K : {"--layout", "--palette", "--lookups", "--out", "--skn-dir"})
    if (!Opt.count(K)) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  TLayout Layout = TLayout::Parse(Opt.at("--layout"), ReadText(Opt.at("--layout")));
  PlaceImages(Layout);
  const auto Lookups = skinrules::ParseLookups(Opt.at("--lookups"), ReadText(Opt.at("--lookups")));
  const std::string Shared = ReadText(Opt.at("--palette"));

  std::vector<TBuiltScheme> Built;
  std::vector<std::string> Faults;
  std::string FirstMasked;
  std::set<std::string> Names;
  int StoredCount = 0;
  for (const auto& File : Schemes) {
    TPalette Palette;
    Palette.AddFile(File, ReadText(File), true);
    if (Palette.Setting("skinname") != fs::path(File).stem().string())
      throw std::runtime_error(File + ": the scheme file is named after its skinname (\"" + Palette.Setting("skinname") +
                               "\")");
    Palette.AddFile(Opt.at("--palette"), Shared, false);
    TBuiltScheme S = BuildScheme(Layout, Palette);
    if (!Names.insert(S.Name).second) throw std::runtime_error(File + ": scheme \"" + S.Name + "\" is built twice");
    StoredCount += S.Stored;

    // Read back as the program reads it: the block, and the ".skn" file.
    TspSkinContent Back;
    if (!Back.LoadFromStoredSkinBlock(S.Block.data(), S.Block.size()))
      throw std::runtime_error(S.Name + ": the written block is refused");
    TBytes Inner;
    if (!ReadSknEnvelope(S.Skn.data(), S.Skn.size(), Inner) || Inner != S.Block)
      throw std::runtime_error(S.Name + ": the \".skn\" envelope does not give the block back");
    TMemIniFile Again;
    Back.SaveToCustomIniFile(&Again);
    TStringList Lines;
    Again.GetStrings(&Lines);
    if (EncodeSkinText(&Lines) != S.IniText)
      Faults.push_back(S.Name + ": the skin text read back differs from the text written");
    for (auto& F : skinrules::CheckSkin(ToString(S.Name), Back, DecodePictures(Back), Lookups)) Faults.push_back(F);
    if (S.InflatedSize >= (size_t(1) << 20))
      Faults.push_back(S.Name + ": rule 11 (picture and block size): the inflated skin is " +
                       std::to_string(S.InflatedSize) + " bytes, not under 1 MB");
    const std::string Masked = skinrules::MaskedIniText(Back);
    if (FirstMasked.empty())
      FirstMasked = Masked;
    else if (Masked != FirstMasked)
      Faults.push_back(S.Name + ": rule 9 (one layout): the skin text differs from " + Built[0].Name +
                       "'s in more than colours");
    Built.push_back(std::move(S));
  }
  if (StoredCount != 1) Faults.push_back("exactly one scheme is the stored one (\"stored = yes\")");
  if (!Faults.empty()) {
    for (const auto& F : Faults) std::fprintf(stderr, "%s\n", F.c_str());
    return 1;
  }

  const fs::path Out = Opt.at("--out"), SknDir = Opt.at("--skn-dir");
  fs::create_directories(Out);
  fs::create_directories(SknDir);
  for (const auto& S : Built) {
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

// Every literal name the program looks up in a skin is in the consumer list.
int CheckLookups(const std::string& ListFile, const std::vector<std::string>& Dirs) {
  std::set<std::string> Known;
  for (const auto& L : skinrules::ParseLookups(ListFile, ReadText(ListFile))) Known.insert(ToUtf8(L.Name));
  static const std::regex Call(R"((GetControlIndex|GetIndex|GetAreaIndex|SkinDataName)\s*(\(|=)\s*u"([^"]*)\")");
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
        for (std::sregex_iterator It(Line.begin(), Line.end(), Call), End; It != End; ++It)
          if (!Known.count((*It)[3].str())) {
            std::fprintf(stderr, "%s:%d: \"%s\" is looked up in the skin but missing from %s\n", F.string().c_str(), N,
                         (*It)[3].str().c_str(), ListFile.c_str());
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
