#include "tests/skins/win/SkinsWinUtil.h"

#include "common/Screens.h"
#include "foundation/app/HySkinSchemes.h"
#include "tests/skins/SkinsTestUtil.h"

namespace skinstest {

String SknFile(const std::string& Name) { return HostPath(std::string(LUMIGRA_SKIN_SKN_DIR) + "/" + Name + ".skn"); }

String SourceIniFile(const std::string& Name) {
  return HostPath(std::string(LUMIGRA_SKIN_DIR) + "/" + Name + "/skin.ini");
}

std::unique_ptr<TspSkinData> LoadScheme(const std::string& Name) {
  auto D = std::make_unique<TspSkinData>(nullptr);
  if (ToString(Name) == StoredSkinScheme) {
    TspCompressedStoredSkin Stored(nullptr, ::GetModuleHandleW(nullptr), StoredSkinResName);
    D->LoadCompressedStoredSkin(&Stored);
  } else {
    D->LoadFromCompressedFile(SknFile(Name));
  }
  return D;
}

skinrules::TImage ImageOf(TBitmap* Bitmap) {
  skinrules::TImage I;
  std::vector<Byte> P;
  GetBitmapBGRA(Bitmap, P);
  I.Width = Bitmap->Width();
  I.Height = Bitmap->Height();
  I.Pixels.resize(size_t(I.Width) * I.Height);
  for (size_t K = 0; K < I.Pixels.size(); ++K)
    I.Pixels[K] = Cardinal(P[4 * K + 2]) | (Cardinal(P[4 * K + 1]) << 8) | (Cardinal(P[4 * K]) << 16);
  return I;
}

skinrules::TPictures PicturesOf(TspSkinData* Data) {
  skinrules::TPictures P;
  P.Frame = ImageOf(Data->FPicture);
  for (Integer I = 0; I < Data->FActivePictures->Count(); ++I)
    P.Active.push_back(ImageOf(static_cast<TBitmap*>(Data->FActivePictures->Items(I))));
  return P;
}

void SaveScreen(TBitmap* Bitmap, const std::string& Scheme, const std::string& Name) {
  std::vector<Byte> P;
  GetBitmapBGRA(Bitmap, P);
  lumigra_test::SaveScreenPixels(P.data(), Bitmap->Width(), Bitmap->Height(), Bitmap->Width() * 4, Name, Scheme);
}

}  // namespace skinstest
