// The skin model and the stored skin component.
#include "skin/data/win/SkinModel.h"

#include <algorithm>
#include <memory>

#include "classlib/JPEG.h"
#include "rtl/FileUtils.h"
#include "skin/data/SkinIni.h"

namespace {

// A read-only stream over bytes someone else keeps.
class TBytesReader : public TCustomMemoryStream {
 public:
  TBytesReader(const Byte* Data, size_t Size) { SetPointer(const_cast<Byte*>(Data), static_cast<Int64>(Size)); }
  Integer Write(const void*, Integer) override { throw EStreamError(u"Stream write error"); }
};

// A BMP file image decoded by the class library's reader, which must consume
// it exactly.
std::unique_ptr<TBitmap> DecodeBitmap(const TspByteSpan& Bytes) {
  auto B = std::make_unique<TBitmap>();
  TBytesReader S(Bytes.Data, Bytes.Size);
  B->LoadFromStream(&S);
  if (S.Position() != S.Size()) throw EspSkinError(u"Skin data is damaged: %s", {String(u"a picture is not read whole")});
  return B;
}

TBytes EncodeBitmap(TBitmap* B) {
  TMemoryStream S;
  B->SaveToStream(&S);
  return TBytes(static_cast<const Byte*>(S.Memory()), static_cast<size_t>(S.Size()));
}

// A picture file of an ini skin: JPEG when the name holds ".jpg" or ".jpeg"
// (exactly so), else BMP.
std::unique_ptr<TBitmap> LoadPictureFile(const String& Folder, const String& Name) {
  auto B = std::make_unique<TBitmap>();
  if (Name.find(u".jpg") != String::npos || Name.find(u".jpeg") != String::npos) {
    TJPEGImage J;
    J.LoadFromFile(Folder + Name);
    B->Assign(&J);
  } else {
    B->LoadFromFile(Folder + Name);
  }
  return B;
}

TBytes StreamBytes(TMemoryStream* S) {
  return TBytes(static_cast<const Byte*>(S->Memory()), static_cast<size_t>(S->Size()));
}

}  // namespace

// ---------------------------------------------------------------------------
// TspCompressedStoredSkin

TspCompressedStoredSkin::TspCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(new TMemoryStream()) {}

TspCompressedStoredSkin::TspCompressedStoredSkin(TComponent* AOwner, HINSTANCE Instance, const String& ResName)
    : TspCompressedStoredSkin(AOwner) {
  LoadFromResourceName(Instance, ResName);
}

TspCompressedStoredSkin::~TspCompressedStoredSkin() { delete FCompressedStream; }

void TspCompressedStoredSkin::SetBlock(const TBytes& Block) {
  FCompressedStream->Clear();
  if (!Block.empty()) FCompressedStream->WriteBuffer(Block.data(), static_cast<Integer>(Block.size()));
  FCompressedStream->SetPosition(0);
}

void TspCompressedStoredSkin::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  FCompressedStream->Clear();
  TResourceStream R(reinterpret_cast<THandle>(Instance), ResName, reinterpret_cast<const Char*>(RT_RCDATA));
  FCompressedStream->LoadFromStream(&R);
}

void TspCompressedStoredSkin::LoadFromSkinData(TspSkinData* ASkinData) {
  FCompressedStream->Clear();
  TspStoredSkinLayout L;
  TBitmap* const Pictures[5] = {ASkinData->FPicture, ASkinData->FInActivePicture, ASkinData->FMask,
                                ASkinData->FRollUpPicture, ASkinData->FRollUpMask};
  for (int I = 0; I < 5; ++I)
    if (!Pictures[I]->Empty()) L.Pictures[I] = EncodeBitmap(Pictures[I]);
  for (Integer I = 0; I < ASkinData->FActivePictures->Count(); ++I)
    L.ActivePictures.push_back(EncodeBitmap(static_cast<TBitmap*>(ASkinData->FActivePictures->Items(I))));
  TMemIniFile Ini;
  ASkinData->SaveToCustomIniFile(&Ini);
  TStringList Lines;
  Ini.GetStrings(&Lines);
  L.IniText = EncodeSkinText(&Lines);
  SetBlock(CompressSkinBlock(WriteStoredSkinLayout(L)));
}

void TspCompressedStoredSkin::LoadFromIniFile(const String& AFileName) {
  TStringList Lines;
  Lines.LoadFromFile(AFileName);
  TMemIniFile Ini(AFileName);
  if (!HasRequiredSkinSections(&Ini)) return;
  FCompressedStream->Clear();
  const String Folder = ExtractFilePath(AFileName);
  TspStoredSkinLayout L;
  const Char* const Keys[5] = {u"picture", u"inactivepicture", u"mask", u"rolluppicture", u"rollupmask"};
  auto Picture = [&](const String& Name) {
    TBitmap B;
    B.LoadFromFile(Folder + Name);
    return EncodeBitmap(&B);
  };
  for (int I = 0; I < 5; ++I) {
    const String Name = Ini.ReadString(SkinSectionPictures, Keys[I], String());
    if (!Name.empty()) L.Pictures[I] = Picture(Name);
  }
  TStringList Active;
  ReadCountedStringsKey(&Ini, SkinSectionPictures, u"activepictures", &Active);
  for (Integer I = 0; I < Active.Count(); ++I) L.ActivePictures.push_back(Picture(Active.Strings(I)));
  TMemoryStream Text;
  Lines.SaveToStream(&Text, Lines.Encoding());
  const TBytes T = StreamBytes(&Text);
  L.IniText.assign(T.begin(), T.end());
  SetBlock(CompressSkinBlock(WriteStoredSkinLayout(L)));
}

void TspCompressedStoredSkin::DeCompressToStream(TMemoryStream* S) {
  const std::vector<Byte> Layout = InflateSkinBlock(FCompressedStream->Memory(), static_cast<size_t>(FCompressedStream->Size()));
  if (!Layout.empty()) S->WriteBuffer(Layout.data(), static_cast<Integer>(Layout.size()));
}

void TspCompressedStoredSkin::SaveToCompressStream(TStream* Stream) {
  const TBytes Block(static_cast<const Byte*>(FCompressedStream->Memory()),
                     static_cast<size_t>(FCompressedStream->Size()));
  const TBytes Skn = WriteSknEnvelope(Block);
  Stream->WriteBuffer(Skn.data(), static_cast<Integer>(Skn.size()));
}

void TspCompressedStoredSkin::LoadFromCompressStream(TStream* Stream) {
  FCompressedStream->Clear();
  Stream->SetPosition(0);
  Integer Head[2];
  Stream->ReadBuffer(&Head[0], 4);
  if (Head[0] > 3) return;
  Stream->ReadBuffer(&Head[1], 4);
  if (Head[1] < 0 || Head[1] > Stream->Size() - Stream->Position())
    throw EspSkinError(u"Skin data is damaged: %s", {String(u"the skin file is cut or its length is wrong")});
  if (Head[1] > 0) FCompressedStream->CopyFrom(Stream, Head[1]);
  FCompressedStream->SetPosition(0);
}

void TspCompressedStoredSkin::LoadFromCompressFile(const String& AFileName) {
  FCompressedStream->Clear();
  TFileStream F(AFileName, fmOpenRead | fmShareDenyWrite);
  LoadFromCompressStream(&F);
}

void TspCompressedStoredSkin::SaveToCompressFile(const String& AFileName) {
  if (Empty()) return;
  TFileStream F(AFileName, fmCreate);
  SaveToCompressStream(&F);
}

// ---------------------------------------------------------------------------
// Skin lists

TspSkinListItem::TspSkinListItem(Integer Index)
    : Name(u"spSkin" + IntToStr(Index)), FSkin(new TspCompressedStoredSkin(nullptr)) {}

TspSkinListItem::~TspSkinListItem() { delete FSkin; }

TspCompressedSkinList::TspCompressedSkinList(TComponent* AOwner) : TComponent(AOwner) {}

TspCompressedSkinList::~TspCompressedSkinList() {
  for (TspSkinListItem* I : FSkins) delete I;
}

TspSkinListItem* TspCompressedSkinList::Add() {
  FSkins.push_back(new TspSkinListItem(Count()));
  return FSkins.back();
}

// ---------------------------------------------------------------------------
// TspSkinData

// What one load produces before it replaces the current skin.
struct TspSkinData::TStaged {
  TspSkinContent Content;
  std::unique_ptr<TBitmap> Pictures[5];
  std::vector<std::unique_ptr<TBitmap>> Active;
  std::vector<HCURSOR> Cursors;  // loaded, not installed
  ~TStaged() {
    for (HCURSOR C : Cursors)
      if (C) DestroyCursor(C);
  }
};

TspSkinData::TspSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FPicture(new TBitmap()),
      FInActivePicture(new TBitmap()),
      FMask(new TBitmap()),
      FRollUpPicture(new TBitmap()),
      FRollUpMask(new TBitmap()),
      FActivePictures(new TList()) {}

TspSkinData::~TspSkinData() {
  Empty = true;
  ClearObjects();
  delete FActivePictures;
  delete FPicture;
  delete FInActivePicture;
  delete FMask;
  delete FRollUpPicture;
  delete FRollUpMask;
}

void TspSkinData::FreeActivePictures() {
  for (Integer I = FActivePictures->Count() - 1; I >= 0; --I) delete static_cast<TBitmap*>(FActivePictures->Items(I));
  FActivePictures->Clear();
}

void TspSkinData::ClearObjects() {
  ClearLists();
  FreeActivePictures();
  PopupWindow->WindowPictureIndex = -1;
  HintWindow->WindowPictureIndex = -1;
  LayerFrame->PictureIndex = -1;
  FCursorsNames->Clear();
  FActivePicturesNames->Clear();
  FSkinColors->SetColorsToDefault();
}

void TspSkinData::ClearAll() {
  ClearObjects();
  for (TBitmap* B : {FPicture, FInActivePicture, FMask, FRollUpPicture, FRollUpMask}) B->Assign(nullptr);
  FPictureName.clear();
  FInActivePictureName.clear();
  FMaskName.clear();
  FRollUpPictureName.clear();
  FRollUpMaskName.clear();
  Empty = true;
}

void TspSkinData::ClearSkin() {
  ClearAll();
  SendSkinDataMessage(FEM_SKIN_BEFORE_CHANGE);
  SendSkinDataMessage(FEM_SKIN_CHANGED);
  SendSkinDataMessage(FEM_SKIN_CHANGED_MDI);
}

void TspSkinData::SendSkinDataMessage(unsigned M) {
  if (BuildMode) return;
  const WPARAM W = reinterpret_cast<WPARAM>(this);
  TCustomForm* Served = nullptr;
  if (auto* Form = dynamic_cast<TCustomForm*>(Owner()); Form != nullptr && !FShowLayeredBorders) {
    SendMessageW(Form->Handle(), M, W, SkinMessageLParam);
    Served = Form;
  }
  std::vector<HWND> Windows;
  for (Integer I = 0; I < Screen->FormCount(); ++I) {
    TCustomForm* F = Screen->Forms(I);
    if (F == Served || F->ClassName() == u"TspFormLayerWindow") continue;
    Windows.push_back(F->Handle());
  }
  if (FShowLayeredBorders && LayerFrame->PictureIndex != -1) std::reverse(Windows.begin(), Windows.end());
  // A form freed by an earlier receiver leaves a dead handle: that send fails.
  for (HWND H : Windows) SendMessageW(H, M, W, SkinMessageLParam);
}

void TspSkinData::Commit(TStaged& S, bool WithCursors) {
  Empty = true;
  ChangeSkinDataProcess = true;
  SendSkinDataMessage(FEM_SKIN_BEFORE_CHANGE);
  ClearAll();
  TakeFields(S.Content, WithCursors);
  // The staged pictures hand their bitmaps over; consumers keep the five
  // objects they hold.
  TBitmap* const Main[5] = {FPicture, FInActivePicture, FMask, FRollUpPicture, FRollUpMask};
  for (int I = 0; I < 5; ++I)
    if (S.Pictures[I]) Main[I]->SetHandle(S.Pictures[I]->ReleaseHandle());
  for (auto& B : S.Active) FActivePictures->Add(B.release());
  S.Active.clear();
  for (size_t I = 0; I < S.Cursors.size(); ++I) Screen->SetCursors(StartCursorIndex + static_cast<Integer>(I), S.Cursors[I]);
  S.Cursors.clear();
  Empty = false;
  Fire(OnLoadData, this);
  SendSkinDataMessage(FEM_SKIN_CHANGED);
  ChangeSkinDataProcess = false;
  SendSkinDataMessage(FEM_SKIN_CHANGED_MDI);
}

void TspSkinData::LoadFromFile(const String& FileName) {
  TIniFile Ini(ExpandFileName(FileName));
  if (!HasRequiredSkinSections(&Ini)) return;
  TStaged S;
  TspSkinContent& C = S.Content;
  C.ReadVersion(&Ini);
  C.ReadPictureNames(&Ini);
  const String Folder = ExtractFilePath(Ini.FileName());
  const String* const Names[5] = {&C.FPictureName, &C.FInActivePictureName, &C.FMaskName, &C.FRollUpPictureName,
                                  &C.FRollUpMaskName};
  for (int I = 0; I < 5; ++I)
    if (!Names[I]->empty()) S.Pictures[I] = LoadPictureFile(Folder, *Names[I]);
  for (Integer I = 0; I < C.FActivePicturesNames->Count(); ++I)
    S.Active.push_back(LoadPictureFile(Folder, C.FActivePicturesNames->Strings(I)));
  C.ReadCursors(&Ini);
  if (!BuildMode)
    for (Integer I = 0; I < C.FCursorsNames->Count(); ++I) {
      const String Path = Folder + C.FCursorsNames->Strings(I);
      S.Cursors.push_back(LoadCursorFromFileW(reinterpret_cast<const WCHAR*>(Path.c_str())));
    }
  C.ReadDescriptions(&Ini);
  Commit(S, true);
  FSkinFileName = FileName;
}

bool TspSkinData::LoadStoredBlock(const TBytes& Block) {
  const std::vector<Byte> Inflated = InflateSkinBlock(Block.data(), Block.size());
  TspStoredSkinView View;
  if (!ReadStoredSkinLayout(Inflated.data(), Inflated.size(), View)) return false;
  TStaged S;
  for (int I = 0; I < 5; ++I)
    if (!View.Pictures[I].Empty()) S.Pictures[I] = DecodeBitmap(View.Pictures[I]);
  for (const TspByteSpan& B : View.ActivePictures) S.Active.push_back(DecodeBitmap(B));
  S.Content.LoadFromIniText(View.IniText);
  Commit(S, false);
  return true;
}

namespace {
TBytes BlockOf(TspCompressedStoredSkin* S) {
  TMemoryStream* M = S->CompressedStream();
  return TBytes(static_cast<const Byte*>(M->Memory()), static_cast<size_t>(M->Size()));
}
}  // namespace

void TspSkinData::LoadCompressedStoredSkin(TspCompressedStoredSkin* AStoredSkin) {
  if (AStoredSkin == nullptr || AStoredSkin->Empty()) return;
  LoadStoredBlock(BlockOf(AStoredSkin));
}

void TspSkinData::LoadFromCompressedFile(const String& FileName) {
  std::unique_ptr<TspCompressedStoredSkin> Stored(new TspCompressedStoredSkin(this));
  Stored->LoadFromCompressFile(FileName);
  if (Stored->Empty()) return;
  // A skin the block refuses leaves the file name of the skin in place.
  if (LoadStoredBlock(BlockOf(Stored.get()))) FSkinFileName = FileName;
}

void TspSkinData::SaveToCompressedFile(const String& FileName) {
  std::unique_ptr<TspCompressedStoredSkin> Stored(new TspCompressedStoredSkin(this));
  Stored->LoadFromSkinData(this);
  Stored->SaveToCompressFile(FileName);
}

void TspSkinData::SaveToFile(const String& FileName) {
  TMemIniFile Ini(FileName);
  SaveToCustomIniFile(&Ini);
  // Skin texts may hold any language: an ANSI file would lose what its code
  // page lacks, so they are written as UTF-8 (a UTF-16 file stays UTF-16).
  if (Ini.Encoding() == TEncoding::Default) Ini.SetEncoding(TEncoding::UTF8);
  Ini.UpdateFile();
}

// ---------------------------------------------------------------------------
// Properties

void TspSkinData::SetSkinnableForm(bool Value) {
  if (FSkinnableForm == Value) return;
  FSkinnableForm = Value;
  if (!FComponentState.Contains(csDesigning) && !FComponentState.Contains(csLoading))
    SendSkinDataMessage(FEM_SKIN_SKINNABLE_CHANGED);
}

void TspSkinData::SetShowLayeredBorders(bool Value) {
  if (FShowLayeredBorders == Value) return;
  FShowLayeredBorders = Value;
  if (!FComponentState.Contains(csDesigning) && !FComponentState.Contains(csLoading))
    SendSkinDataMessage(FEM_LAYERED_BORDERS_CHANGED);
}

void TspSkinData::SetAeroBlurEnabled(bool Value) {
  if (FAeroBlurEnabled == Value) return;
  FAeroBlurEnabled = Value;
  if (!FComponentState.Contains(csDesigning) && !FComponentState.Contains(csLoading))
    SendSkinDataMessage(FEM_AERO_BLUR_CHANGED);
}

void TspSkinData::SetResourceStrData(TspResourceStrData* Value) {
  FResourceStrData = Value;
  if (Value) Value->FreeNotification(this);
  if (!FComponentState.Contains(csDesigning)) SendSkinDataMessage(FEM_SKIN_STRINGS_CHANGED);
}

void TspSkinData::SetCompressedStoredSkin(TspCompressedStoredSkin* Value) {
  FCompressedStoredSkin = Value;
  if (Value) Value->FreeNotification(this);
  if (!FComponentState.Contains(csDesigning) && Value) LoadCompressedStoredSkin(Value);
}

void TspSkinData::SetSkinList(TspCompressedSkinList* Value) {
  FCompressedSkinList = Value;
  if (Value) Value->FreeNotification(this);
  if (!FComponentState.Contains(csDesigning) && Value && FCompressedSkinIndex >= 0 &&
      FCompressedSkinIndex < Value->Count())
    LoadCompressedStoredSkin(Value->Items(FCompressedSkinIndex)->Skin());
}

void TspSkinData::SetSkinIndex(Integer Value) {
  if (Value == FCompressedSkinIndex) return;
  if (FCompressedSkinList == nullptr) {
    FCompressedSkinIndex = Value;
    return;
  }
  if (Value < 0 || Value >= FCompressedSkinList->Count()) return;
  FCompressedSkinIndex = Value;
  if (!FComponentState.Contains(csDesigning))
    LoadCompressedStoredSkin(FCompressedSkinList->Items(Value)->Skin());
}

void TspSkinData::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
  if (AComponent == FResourceStrData) FResourceStrData = nullptr;
  if (AComponent == FCompressedSkinList) FCompressedSkinList = nullptr;
}
