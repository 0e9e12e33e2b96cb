// Placing the pieces, filling the descriptions through their own key tables
// and writing a scheme's stored skin.
#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

#include "skin/data/SkinIni.h"
#include "skin/data/StoredSkin.h"
#include "tools/skingen/SkinGen.h"
#include "tools/skingen/SkinRules.h"

namespace skingen {

namespace {

constexpr int MaxPictureSide = 512;
constexpr int Gap = 2;  // pixels between pieces, so no piece bleeds into another when stretched

std::string Lower(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return std::tolower(C); });
  return S;
}

// The section a layout entry reads and writes.
String SectionOf(const TLayoutEntry& E) {
  switch (E.Kind) {
    case TLayoutEntry::FormInfo: return SkinSectionFormInfo;
    case TLayoutEntry::PopupWindow: return SkinSectionPopupWindow;
    case TLayoutEntry::HintWindow: return SkinSectionHintWindow;
    case TLayoutEntry::LayerFrame: return SkinSectionLayerFrame;
    case TLayoutEntry::Colors: return SkinSectionColors;
    default: return ToString(E.Name);
  }
}

// A key's value as the skin text holds it: "@name" becomes the palette colour.
std::string Resolve(const TLayoutKey& K, const TPalette& Palette) {
  if (!K.Value.empty() && K.Value[0] == '@') return std::to_string(Palette.Get(K.Value.substr(1), K.Pos));
  return K.Value;
}

// The value a key reads back as, for the comparison with its source: rects
// and points as the writer spells them.
std::string Normal(const std::string& V) {
  std::string Out;
  for (char C : V)
    if (!std::isspace(static_cast<unsigned char>(C))) Out += C;
  return Out;
}

bool EndsWith(const std::string& S, const std::string& T) {
  return S.size() >= T.size() && S.compare(S.size() - T.size(), T.size(), T) == 0;
}

// Reads a section through a reader; a value the reader refuses is named by
// its line (each key is tried alone to find it).
void ReadSection(const TLayoutEntry& E, const TPalette& Palette, TMemIniFile& Source,
                 const std::function<void(TMemIniFile&)>& Read) {
  try {
    Read(Source);
  } catch (const Exception& X) {
    for (const auto& K : E.Keys) {
      TMemIniFile One;
      One.WriteString(SectionOf(E), ToString(K.Key), ToString(Resolve(K, Palette)));
      try {
        Read(One);
      } catch (const Exception& Y) {
        throw ESkinSource(K.Pos, "\"" + K.Key + " = " + K.Value + "\": " + ToUtf8(Y.Message()));
      }
    }
    throw ESkinSource(E.Pos, ToUtf8(X.Message()));
  }
}

const TLayoutImage* FindImage(const TLayoutEntry& E, const std::string& Key) {
  for (const auto& I : E.Images)
    if (I.Key == Key) return &I;
  return nullptr;
}

// A place given in the source lies inside the piece (W x H) it belongs to.
void CheckPlace(const TLayoutEntry& E, const std::string& Key, int W, int H, const std::string& Piece) {
  const TLayoutKey* K = E.FindKey(Key);
  if (!K) return;
  TRect R;
  try {
    R = TextToRect(ToString(K->Value));
  } catch (const Exception&) {
    throw ESkinSource(K->Pos, "bad rectangle \"" + K->Value + "\"");
  }
  if (IsSkinRectEmpty(R)) return;
  if (R.Left < 0 || R.Top < 0 || R.Right > W || R.Bottom > H)
    throw ESkinSource(K->Pos, Key + " " + ToUtf8(RectToText(R)) + " lies outside the " + std::to_string(W) + "x" +
                                  std::to_string(H) + " " + Piece);
}

void CheckPlaces(const TLayout& L) {
  const TLayoutPicture* Frame = L.FindPicture("frame");
  for (const auto& E : L.Entries) {
    if (const TLayoutImage* S = FindImage(E, "skinrect"))
      for (const char* K : {"clientrect", "trackarea", "buttonrect", "upbuttonrect", "downbuttonrect", "captionrect",
                            "textarea", "checkimagearea", "trackbuttonrect", "textrect", "imagerect"})
        CheckPlace(E, K, S->Width, S->Height, "piece");
    if (const TLayoutImage* I = FindImage(E, "itemrect")) CheckPlace(E, "itemtextrect", I->Width, I->Height, "item piece");
    if (E.Kind == TLayoutEntry::FormInfo) {
      CheckPlace(E, "clientrect", Frame->Width, Frame->Height, "frame picture");
      CheckPlace(E, "captionrect", Frame->Width, Frame->Height, "frame picture");
    }
    if (E.Kind == TLayoutEntry::Object && !FindImage(E, "skinrect") && E.FindKey("skinrect")) {
      CheckPlace(E, "skinrect", Frame->Width, Frame->Height, "frame picture");
      const TRect R = TextToRect(ToString(E.FindKey("skinrect")->Value));
      CheckPlace(E, "textrect", R.Width(), R.Height(), "caption");
    }
    if (E.Kind == TLayoutEntry::PopupWindow || E.Kind == TLayoutEntry::HintWindow) {
      const TLayoutKey* K = E.FindKey("windowpictureindex");
      if (!K || K->Value == "-1") continue;
      const TLayoutPicture* P = L.FindPicture(K->Value);
      if (!P) throw ESkinSource(K->Pos, "windowpictureindex names no picture of the layout");
      CheckPlace(E, E.Kind == TLayoutEntry::PopupWindow ? "itemsrect" : "clientrect", P->Width, P->Height,
                 "window picture");
    }
  }
}

}  // namespace

void PlaceImages(TLayout& Layout) {
  for (auto& P : Layout.Pictures) {
    int X = 0, Y = 0, Shelf = 0;
    for (auto& E : Layout.Entries) {
      if (E.Picture != P.Id || !E.Like.empty()) continue;
      for (auto& I : E.Images) {
        if (!P.Atlas) throw ESkinSource(I.Pos, "pieces go to an atlas picture, not to \"" + P.Id + "\"");
        if (I.Width > P.Width) throw ESkinSource(I.Pos, "the piece is wider than its picture");
        if (X > 0 && X + I.Width > P.Width) {
          X = 0;
          Y += Shelf + Gap;
          Shelf = 0;
        }
        I.Placed = TRect(X, Y, X + I.Width, Y + I.Height);
        X += I.Width + Gap;
        Shelf = std::max(Shelf, I.Height);
      }
    }
    if (P.Atlas) P.Height = std::max(Y + Shelf, 1);
    if (P.Width > MaxPictureSide || P.Height > MaxPictureSide)
      throw ESkinSource(P.Pos, "picture \"" + P.Id + "\" is " + std::to_string(P.Width) + "x" +
                                   std::to_string(P.Height) + ", above 512x512");
  }
  CheckPlaces(Layout);
  // Descriptions like another one take its places.
  for (auto& E : Layout.Entries) {
    if (E.Like.empty()) continue;
    const TLayoutEntry* Base = Layout.Find(E.Like);
    for (auto& I : E.Images)
      for (const auto& B : Base->Images)
        if (B.Key == I.Key) I.Placed = B.Placed;
  }
}

TBuiltScheme BuildScheme(const TLayout& Layout, const TPalette& Palette) {
  TBuiltScheme Out;
  Out.Name = Palette.Setting("skinname");
  if (Out.Name.empty()) throw std::runtime_error("a scheme file names no skinname");
  Out.Stored = Palette.Setting("stored") == "yes";
  Palette.CheckAll();
  TSchemePictures Pictures = PaintPictures(Layout, Palette);

  auto C = std::make_unique<TspSkinContent>();
  C->SkinName = ToString(Out.Name);
  for (const auto& P : Layout.Pictures) {
    if (P.Id == "frame") {
      C->FPictureName = ToString(P.File);
      C->Pictures[TspSkinContent::spMain] = EncodeBmp24(*Pictures.Frame);
    } else {
      C->FActivePicturesNames->Add(ToString(P.File));
    }
  }
  for (const auto& B : Pictures.Active) C->ActivePictures.push_back(EncodeBmp24(*B));

  // The source values of every section, in a text the classes read.
  TMemIniFile Source;
  for (const auto& E : Layout.Entries) {
    const String Sec = SectionOf(E);
    for (const auto& K : E.Keys) Source.WriteString(Sec, ToString(K.Key), ToString(Resolve(K, Palette)));
    for (const auto& I : E.Images) Source.WriteString(Sec, ToString(I.Key), RectToText(I.Placed));
  }
  TspSkinContent* Content = C.get();
  for (const auto& E : Layout.Entries) {
    std::function<void(TMemIniFile&)> Read;
    switch (E.Kind) {
      case TLayoutEntry::FormInfo: Read = [&](TMemIniFile& I) { Content->LoadFormInfo(&I, false); }; break;
      case TLayoutEntry::PopupWindow: Read = [&](TMemIniFile& I) { Content->PopupWindow->LoadFromFile(&I); }; break;
      case TLayoutEntry::LayerFrame: Read = [&](TMemIniFile& I) { Content->LayerFrame->LoadFromFile(&I); }; break;
      case TLayoutEntry::HintWindow: Read = [&](TMemIniFile& I) { Content->HintWindow->LoadFromFile(&I); }; break;
      case TLayoutEntry::Colors: Read = [&](TMemIniFile& I) { Content->SkinColors()->LoadFromFile(&I); }; break;
      case TLayoutEntry::Object: {
        TspDataSkinObject* D = CreateSkinObject(ToString(E.Word), ToString(E.Name));
        C->ObjectList->Add(D);
        Read = [D](TMemIniFile& I) { D->LoadFromFile(&I); };
        break;
      }
      case TLayoutEntry::Control: {
        TspDataSkinControl* D = CreateSkinControl(ToString(E.Word), ToString(E.Name));
        C->CtrlList->Add(D);
        Read = [D](TMemIniFile& I) { D->LoadFromFile(&I); };
        break;
      }
    }
    ReadSection(E, Palette, Source, Read);
  }

  // Written through the classes: every source key must read back as given
  // (a key the class does not know, or a value its reader changes, is a
  // fault of the source), and every colour and font height of a section
  // must come from the source.
  TMemIniFile Written;
  C->SaveToCustomIniFile(&Written);
  for (const auto& E : Layout.Entries) {
    const String Sec = SectionOf(E);
    for (const auto& K : E.Keys) {
      const String Got = Written.ReadString(Sec, ToString(K.Key), u"\x1");
      if (Got == u"\x1")
        throw ESkinSource(K.Pos, "\"" + K.Key + "\" is no key of [" + ToUtf8(Sec) + "] (" +
                                     (E.Word.empty() ? E.Name : E.Word) + ")");
      if (Normal(ToUtf8(Got)) != Normal(Resolve(K, Palette)))
        throw ESkinSource(K.Pos, "\"" + K.Key + " = " + K.Value + "\" reads back as \"" + ToUtf8(Got) + "\"");
    }
    TStringList Keys;
    Written.ReadSection(Sec, &Keys);
    for (Integer I = 0; I < Keys.Count(); ++I) {
      const std::string Key = Lower(ToUtf8(Keys.Strings(I)));
      // Colours and heights; "useimagecolor" is a switch.
      if ((!EndsWith(Key, "color") || Key.rfind("use", 0) == 0) && !EndsWith(Key, "fontheight")) continue;
      bool Given = false;
      for (const auto& K : E.Keys) Given = Given || K.Key == Key;
      if (!Given) throw ESkinSource(E.Pos, "[" + ToUtf8(Sec) + "] must give \"" + Key + "\" (a missing colour reads black, a missing height 14)");
    }
  }
  TStringList Lines;
  Written.GetStrings(&Lines);
  Out.IniText = EncodeSkinText(&Lines);

  const TBytes Stored = C->SaveToStoredSkin();
  Out.InflatedSize = Stored.size();
  Out.Block = CompressSkinBlock(Stored);
  Out.Skn = WriteSknEnvelope(Out.Block);
  Out.Content = std::move(C);
  return Out;
}

TBuildResult BuildSchemes(const TSourceFile& LayoutSource, const TSourceFile& PaletteSource,
                          const std::vector<TSourceFile>& Schemes, const std::string& LookupsFile,
                          const std::string& LookupsText) {
  TLayout Layout = TLayout::Parse(LayoutSource.File, LayoutSource.Text);
  PlaceImages(Layout);
  const auto Lookups = skinrules::ParseLookups(LookupsFile, LookupsText);
  TBuildResult Out;
  std::string FirstMasked;
  int Stored = 0;
  for (const auto& File : Schemes) {
    TPalette Palette;
    Palette.AddFile(File.File, File.Text, true);
    Palette.AddFile(PaletteSource.File, PaletteSource.Text, false);
    std::string Stem = File.File.substr(File.File.find_last_of("/\\") + 1);
    Stem = Stem.substr(0, Stem.rfind('.'));
    if (Palette.Setting("skinname") != Stem)
      throw ESkinSource({File.File, 1}, "a scheme file is named after its skinname (\"" + Palette.Setting("skinname") + "\")");
    TBuiltScheme S = BuildScheme(Layout, Palette);
    for (const auto& Other : Out.Schemes)
      if (Other.Name == S.Name) throw ESkinSource({File.File, 1}, "scheme \"" + S.Name + "\" is built twice");
    Stored += S.Stored;

    // Read back as the program reads it: the block, and the ".skn" file.
    TspSkinContent Back;
    TBytes Inner;
    if (!Back.LoadFromStoredSkinBlock(S.Block.data(), S.Block.size()) ||
        !ReadSknEnvelope(S.Skn.data(), S.Skn.size(), Inner) || Inner != S.Block)
      throw std::runtime_error(S.Name + ": the written skin does not read back");
    TMemIniFile Again;
    Back.SaveToCustomIniFile(&Again);
    TStringList Lines;
    Again.GetStrings(&Lines);
    if (EncodeSkinText(&Lines) != S.IniText)
      Out.Faults.push_back(S.Name + ": the skin text read back differs from the text written");
    skinrules::TPictures Pictures;
    Pictures.Frame = skinrules::DecodeBmp(Back.Pictures[TspSkinContent::spMain]);
    for (const auto& B : Back.ActivePictures) Pictures.Active.push_back(skinrules::DecodeBmp(B));
    for (auto& F : skinrules::CheckSkin(ToString(S.Name), Back, Pictures, Lookups)) Out.Faults.push_back(F);
    if (S.InflatedSize >= (size_t(1) << 20))
      Out.Faults.push_back(S.Name + ": rule 11 (picture and block size): the inflated skin is " +
                           std::to_string(S.InflatedSize) + " bytes, not under 1 MB");
    const std::string Masked = skinrules::MaskedIniText(Back);
    if (FirstMasked.empty())
      FirstMasked = Masked;
    else if (Masked != FirstMasked)
      Out.Faults.push_back(S.Name + ": rule 9 (one layout): the skin text differs from " + Out.Schemes[0].Name +
                           "'s in more than colours");
    Out.Schemes.push_back(std::move(S));
  }
  if (Stored != 1) Out.Faults.push_back("exactly one scheme is the stored one (\"stored = yes\")");
  return Out;
}

}  // namespace skingen
