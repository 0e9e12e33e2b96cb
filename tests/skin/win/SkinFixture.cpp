// The in-memory fixture skin.
#include "tests/skin/win/SkinFixture.h"

namespace skintest {

namespace {

const Char* const PictureKeys[5] = {u"picture", u"inactivepicture", u"mask", u"rolluppicture", u"rollupmask"};

TBytes BmpBytes(TBitmap* B) {
  TMemoryStream S;
  B->SaveToStream(&S);
  return TBytes(static_cast<const Byte*>(S.Memory()), static_cast<size_t>(S.Size()));
}

}  // namespace

std::unique_ptr<TBitmap> FlatPicture(Integer Width, Integer Height, TColor Background,
                                     std::initializer_list<std::pair<TRect, TColor>> Rects, TPixelFormat Format) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(Format);
  B->SetSize(Width, Height);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(Background);
  C->FillRect(TRect(0, 0, Width, Height));
  for (const auto& [R, Color] : Rects) {
    C->Brush()->SetColor(Color);
    C->FillRect(R);
  }
  return B;
}

TFixtureSkin::TFixtureSkin() {
  Keys(u"VERSION", {u"skinname=Fixture"});
  Section(u"PICTURES");
  Section(u"FORMINFO");
}

std::vector<String>& TFixtureSkin::Section(const String& Name) {
  for (auto& S : FSections)
    if (S.first == Name) return S.second;
  FSections.emplace_back(Name, std::vector<String>());
  return FSections.back().second;
}

TFixtureSkin& TFixtureSkin::Keys(const String& Section, std::initializer_list<String> Lines) {
  auto& S = this->Section(Section);
  S.insert(S.end(), Lines.begin(), Lines.end());
  return *this;
}

TFixtureSkin& TFixtureSkin::Object(const String& Name, const String& Word, std::initializer_list<String> Lines) {
  FObjects.push_back(Name + u":" + Word);
  return Keys(Name, Lines);
}

TFixtureSkin& TFixtureSkin::Control(const String& Name, const String& Word, std::initializer_list<String> Lines) {
  FControls.push_back(Name + u":" + Word);
  return Keys(Name, Lines);
}

TFixtureSkin& TFixtureSkin::Picture(TPicture Which, std::unique_ptr<TBitmap> Bitmap) {
  FPictures[Which] = std::move(Bitmap);
  return *this;
}

Integer TFixtureSkin::ActivePicture(std::unique_ptr<TBitmap> Bitmap) {
  FActive.push_back(std::move(Bitmap));
  return static_cast<Integer>(FActive.size()) - 1;
}

String TFixtureSkin::IniText() const {
  String T;
  auto Lines = [&](const String& Name, const std::vector<String>& L) {
    T += u"[" + Name + u"]\r\n";
    for (const String& S : L) T += S + u"\r\n";
    T += u"\r\n";
  };
  for (const auto& [Name, L] : FSections) {
    std::vector<String> Out = L;
    if (Name == u"PICTURES") {
      for (int I = 0; I < 5; ++I)
        Out.push_back(String(PictureKeys[I]) + u"=" + (FPictures[I] ? String(PictureKeys[I]) + u".bmp" : String()));
      Out.push_back(u"activepicturescount=" + IntToStr(static_cast<Int64>(FActive.size())));
      for (size_t I = 0; I < FActive.size(); ++I)
        Out.push_back(IntToStr(static_cast<Int64>(I)) + u"=active" + IntToStr(static_cast<Int64>(I)) + u".bmp");
    }
    if (Name == u"FORMINFO" && Out.empty()) Out.push_back(u"borderwidth=0");
    Lines(Name, Out);
  }
  auto List = [&](const Char* Name, const std::vector<String>& Entries) {
    std::vector<String> Out{u"count=" + IntToStr(static_cast<Int64>(Entries.size()))};
    for (size_t I = 0; I < Entries.size(); ++I) Out.push_back(IntToStr(static_cast<Int64>(I)) + u"=" + Entries[I]);
    Lines(Name, Out);
  };
  List(u"SKINOBJECTS", FObjects);
  List(u"SKINCONTROLS", FControls);
  return T;
}

TBytes TFixtureSkin::Block() const {
  TspStoredSkinLayout L;
  for (int I = 0; I < 5; ++I)
    if (FPictures[I]) L.Pictures[I] = BmpBytes(FPictures[I].get());
  for (const auto& B : FActive) L.ActivePictures.push_back(BmpBytes(B.get()));
  TStringList Lines;
  Lines.SetText(IniText());
  L.IniText = EncodeSkinText(&Lines);
  return CompressSkinBlock(WriteStoredSkinLayout(L));
}

void TFixtureSkin::LoadInto(TspSkinData* Data) const {
  TspCompressedStoredSkin Stored(nullptr);
  const TBytes B = Block();
  Stored.CompressedStream()->WriteBuffer(B.data(), static_cast<Integer>(B.size()));
  Data->LoadCompressedStoredSkin(&Stored);
}

}  // namespace skintest
