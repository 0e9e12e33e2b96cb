// The skin's fields and lists, the type words of the entry lists, and the
// staged content of one load.
#include "skin/data/SkinContent.h"

#include <functional>
#include <memory>

#include "skin/data/SkinIni.h"
#include "skin/data/StoredSkin.h"

// ---------------------------------------------------------------------------
// Type words

namespace {

template <class T, class Base>
Base* Make(const String& IDName) {
  return new T(IDName);
}

template <class Base>
struct TTypeWord {
  const Char* Word;
  Base* (*Create)(const String& IDName);
  bool (*Is)(const Base* Obj);
};

template <class T, class Base>
TTypeWord<Base> Type(const Char* Word) {
  return {Word, &Make<T, Base>, [](const Base* Obj) { return dynamic_cast<const T*>(Obj) != nullptr; }};
}

// In the order the reader tests the words.
const std::vector<TTypeWord<TspDataSkinObject>>& ObjectTypes() {
  using B = TspDataSkinObject;
  static const std::vector<TTypeWord<B>> T{
      Type<TspDataSkinMenuItem, B>(u"menuitem"),
      Type<TspDataSkinMainMenuBarItem, B>(u"mainmenubaritem"),
      Type<TspDataSkinMainMenuItem, B>(u"mainmenuitem"),
      Type<TspDataSkinStdButton, B>(u"stdbutton"),
      Type<TspDataSkinMainMenuBarButton, B>(u"mainmenubarbutton"),
      Type<TspDataSkinButton, B>(u"button"),
      Type<TspDataSkinCaption, B>(u"caption"),
      Type<TspDataSkinTrackBar, B>(u"trackbar"),
      Type<TspDataSkinGauge, B>(u"gauge"),
      Type<TspDataSkinFrameGaugeObject, B>(u"framegauge"),
      Type<TspDataSkinFrameRegulatorObject, B>(u"frameregulator"),
      Type<TspDataSkinLabel, B>(u"label"),
      Type<TspDataSkinBitLabel, B>(u"bitlabel"),
      Type<TspDataSkinSwitch, B>(u"switch"),
      Type<TspDataSkinAnimate, B>(u"animate"),
      Type<TspDataUserObject, B>(u"userobject"),
  };
  return T;
}

// The words of the objects in the order the writer tests the classes: each
// subclass before its base.
const std::vector<const Char*>& ObjectWriteOrder() {
  static const std::vector<const Char*> T{
      u"menuitem", u"mainmenubaritem", u"mainmenuitem", u"mainmenubarbutton", u"stdbutton", u"button",
      u"caption",  u"trackbar",        u"gauge",        u"framegauge",        u"frameregulator", u"label",
      u"bitlabel", u"switch",          u"animate",      u"userobject"};
  return T;
}

const std::vector<TTypeWord<TspDataSkinControl>>& ControlTypes() {
  using B = TspDataSkinControl;
  static const std::vector<TTypeWord<B>> T{
      Type<TspDataSkinSlider, B>(u"slider"),
      Type<TspDataSkinBevel, B>(u"bevel"),
      Type<TspDataSkinPanelControl, B>(u"panel"),
      Type<TspDataSkinExPanelControl, B>(u"expanel"),
      Type<TspDataSkinMenuButtonControl, B>(u"menubutton"),
      Type<TspDataSkinButtonControl, B>(u"button"),
      Type<TspDataSkinCheckRadioControl, B>(u"checkradio"),
      Type<TspDataSkinGaugeControl, B>(u"gauge"),
      Type<TspDataSkinSplitterControl, B>(u"splitter"),
      Type<TspDataSkinTrackBarControl, B>(u"trackbar"),
      Type<TspDataSkinLabelControl, B>(u"label"),
      Type<TspDataSkinStdLabelControl, B>(u"stdlabel"),
      Type<TspDataSkinBitLabelControl, B>(u"bitlabel"),
      Type<TspDataSkinFrameRegulator, B>(u"frameregulator"),
      Type<TspDataSkinFrameGauge, B>(u"framegauge"),
      Type<TspDataSkinAnimateControl, B>(u"animate"),
      Type<TspDataSkinUpDownControl, B>(u"updown"),
      Type<TspDataSkinSwitchControl, B>(u"switch"),
      Type<TspDataSkinGridControl, B>(u"grid"),
      Type<TspDataSkinTabControl, B>(u"tab"),
      Type<TspDataSkinMainMenuBar, B>(u"mainmenubar"),
      Type<TspDataSkinControlBar, B>(u"controlbar"),
      Type<TspDataSkinMemoControl, B>(u"memo"),
      Type<TspDataSkinEditControl, B>(u"edit"),
      Type<TspDataSkinCheckListBox, B>(u"checklistbox"),
      Type<TspDataSkinListBox, B>(u"listbox"),
      Type<TspDataSkinComboBox, B>(u"combobox"),
      Type<TspDataSkinScrollBarControl, B>(u"scrollbar"),
      Type<TspDataSkinSpinEditControl, B>(u"spinedit"),
      Type<TspDataSkinScrollBoxControl, B>(u"scrollbox"),
      Type<TspDataSkinTreeView, B>(u"treeview"),
      Type<TspDataSkinListView, B>(u"listview"),
      Type<TspDataSkinRichEdit, B>(u"richedit"),
  };
  return T;
}

template <class Base>
Base* CreateByWord(const std::vector<TTypeWord<Base>>& Types, const String& Word, const String& IDName) {
  for (const auto& T : Types)
    if (Word == T.Word) return T.Create(IDName);
  return nullptr;
}

template <class Base>
String WordOfClass(const std::vector<TTypeWord<Base>>& Types, const std::vector<const Char*>* Order, const Base* Obj) {
  if (Order == nullptr) {
    for (const auto& T : Types)
      if (T.Is(Obj)) return T.Word;
    return String();
  }
  for (const Char* W : *Order)
    for (const auto& T : Types)
      if (String(T.Word) == W && T.Is(Obj)) return T.Word;
  return String();
}

// Reads one entry list ("count", "0".."n-1", each IDName ":" type word, split
// at the first ":"): each known word creates a description that is appended
// to List and reads its section.
template <class Base>
void ReadEntries(TCustomIniFile* IniFile, const String& Section, TList* List,
                 const std::function<Base*(const String&, const String&)>& Create) {
  Integer N = SkinListEntryCount(IniFile, Section, IniFile->ReadInteger(Section, u"count", 0));
  for (Integer I = 0; I < N; ++I) {
    String S = IniFile->ReadString(Section, IntToStr(I), String());
    size_t P = S.find(u':');
    if (P == String::npos) continue;
    Base* D = Create(S.substr(P + 1), S.substr(0, P));
    if (D == nullptr) continue;
    List->Add(D);
    D->LoadFromFile(IniFile);
  }
}

template <class Base>
void WriteEntries(TCustomIniFile* F, const String& Section, TList* List,
                  const std::function<String(const Base*)>& WordOf) {
  F->EraseSection(Section);
  F->WriteInteger(Section, u"count", List->Count());
  for (Integer I = 0; I < List->Count(); ++I) {
    auto* D = static_cast<Base*>(List->Items(I));
    F->WriteString(Section, IntToStr(I), D->IDName + u":" + WordOf(D));
    D->SaveToFile(F);
  }
}

template <class T>
Integer IndexOfName(const TList* List, const String& AIDName) {
  for (Integer I = 0; I < List->Count(); ++I)
    if (static_cast<const T*>(List->Items(I))->IDName == AIDName) return I;
  return -1;
}

template <class T>
void FreeItems(TList* List) {
  for (Integer I = List->Count() - 1; I >= 0; --I) delete static_cast<T*>(List->Items(I));
  List->Clear();
}

void MoveItems(TList* From, TList* To) {
  for (Integer I = 0; I < From->Count(); ++I) To->Add(From->Items(I));
  From->Clear();
}

}  // namespace

String SkinObjectTypeWord(const TspDataSkinObject* Obj) { return WordOfClass(ObjectTypes(), &ObjectWriteOrder(), Obj); }

String SkinControlTypeWord(const TspDataSkinControl* Ctrl) { return WordOfClass(ControlTypes(), nullptr, Ctrl); }

TspDataSkinObject* CreateSkinObject(const String& TypeWord, const String& IDName) {
  return CreateByWord(ObjectTypes(), TypeWord, IDName);
}

TspDataSkinControl* CreateSkinControl(const String& TypeWord, const String& IDName) {
  return CreateByWord(ControlTypes(), TypeWord, IDName);
}

// ---------------------------------------------------------------------------
// TspSkinFields

TspSkinFields::TspSkinFields()
    : FActivePicturesNames(new TStringList()),
      FCursorsNames(new TStringList()),
      PopupWindow(new TspDataSkinPopupWindow()),
      LayerFrame(new TspDataSkinLayerFrame()),
      HintWindow(new TspDataSkinHintWindow()),
      ObjectList(new TList()),
      AreaList(new TList()),
      CtrlList(new TList()),
      FSkinColors(new TspSkinColors()) {}

TspSkinFields::~TspSkinFields() {
  ClearLists();
  delete ObjectList;
  delete AreaList;
  delete CtrlList;
  delete FActivePicturesNames;
  delete FCursorsNames;
  delete PopupWindow;
  delete LayerFrame;
  delete HintWindow;
  delete FSkinColors;
}

Integer TspSkinFields::GetIndex(const String& AIDName) const { return IndexOfName<TspDataSkinObject>(ObjectList, AIDName); }

Integer TspSkinFields::GetControlIndex(const String& AIDName) const {
  return IndexOfName<TspDataSkinControl>(CtrlList, AIDName);
}

Integer TspSkinFields::GetAreaIndex(const String& AIDName) const { return IndexOfName<TspDataSkinArea>(AreaList, AIDName); }

void TspSkinFields::AddSkinArea(const String& AName, const TRect& ARect, bool UseAnchors, bool AnchorLeft,
                                bool AnchorTop, bool AnchorRight, bool AnchorBottom) {
  AreaList->Add(new TspDataSkinArea(AName, ARect, UseAnchors, AnchorLeft, AnchorTop, AnchorRight, AnchorBottom));
}

void TspSkinFields::ClearLists() {
  FreeItems<TspDataSkinArea>(AreaList);
  FreeItems<TspDataSkinObject>(ObjectList);
  FreeItems<TspDataSkinControl>(CtrlList);
}

void TspSkinFields::ReadVersion(TCustomIniFile* IniFile) {
  const String S = SkinSectionVersion;
  SkinName = IniFile->ReadString(S, u"skinname", String());
  SkinAuthor = IniFile->ReadString(S, u"skinauthor", String());
  AuthorEmail = IniFile->ReadString(S, u"authoremail", String());
  AuthorURL = IniFile->ReadString(S, u"authorurl", String());
  SkinComments = IniFile->ReadString(S, u"skincomments", String());
}

void TspSkinFields::ReadPictureNames(TCustomIniFile* IniFile) {
  const String S = SkinSectionPictures;
  FPictureName = IniFile->ReadString(S, u"picture", String());
  FInActivePictureName = IniFile->ReadString(S, u"inactivepicture", String());
  FMaskName = IniFile->ReadString(S, u"mask", String());
  FRollUpPictureName = IniFile->ReadString(S, u"rolluppicture", String());
  FRollUpMaskName = IniFile->ReadString(S, u"rollupmask", String());
  ReadCountedStringsKey(IniFile, S, u"activepictures", FActivePicturesNames);
}

void TspSkinFields::ReadCursors(TCustomIniFile* IniFile) {
  StartCursorIndex = IniFile->ReadInteger(SkinSectionCursors, u"startcursorindex", 1);
  if (StartCursorIndex < 1) StartCursorIndex = 1;
  ReadCountedStringsKey(IniFile, SkinSectionCursors, u"cursors", FCursorsNames);
}

void TspSkinFields::ReadDescriptions(TCustomIniFile* IniFile) {
  LoadFormInfo(IniFile, !FMaskName.empty());
  PopupWindow->LoadFromFile(IniFile);
  LayerFrame->LoadFromFile(IniFile);
  HintWindow->LoadFromFile(IniFile);
  FSkinColors->LoadFromFile(IniFile);
  Integer N = SkinListEntryCount(IniFile, SkinSectionAreas, IniFile->ReadInteger(SkinSectionAreas, u"count", 0));
  for (Integer I = 0; I < N; ++I) {
    std::unique_ptr<TspDataSkinArea> A(ParseSkinArea(IniFile->ReadString(SkinSectionAreas, IntToStr(I), String())));
    AreaList->Add(A.release());
  }
  ReadEntries<TspDataSkinObject>(IniFile, SkinSectionObjects, ObjectList, CreateSkinObject);
  ReadEntries<TspDataSkinControl>(IniFile, SkinSectionControls, CtrlList, CreateSkinControl);
}

void TspSkinFields::SaveToCustomIniFile(TCustomIniFile* F) {
  String S = SkinSectionVersion;
  F->EraseSection(S);
  F->WriteInteger(S, u"ver", 2);
  F->WriteString(S, u"skinname", SkinName);
  F->WriteString(S, u"skinauthor", SkinAuthor);
  F->WriteString(S, u"authoremail", AuthorEmail);
  F->WriteString(S, u"authorurl", AuthorURL);
  F->WriteString(S, u"skincomments", SkinComments);

  S = SkinSectionPictures;
  F->EraseSection(S);
  F->WriteString(S, u"picture", FPictureName);
  F->WriteString(S, u"inactivepicture", FInActivePictureName);
  F->WriteString(S, u"mask", FMaskName);
  F->WriteString(S, u"rolluppicture", FRollUpPictureName);
  F->WriteString(S, u"rollupmask", FRollUpMaskName);
  WriteCountedStringsKey(F, S, u"activepictures", FActivePicturesNames);

  S = SkinSectionCursors;
  F->EraseSection(S);
  F->WriteInteger(S, u"startcursorindex", StartCursorIndex);
  WriteCountedStringsKey(F, S, u"cursors", FCursorsNames);

  SaveFormInfo(F);
  PopupWindow->SaveToFile(F);
  LayerFrame->SaveToFile(F);
  HintWindow->SaveToFile(F);

  S = SkinSectionAreas;
  F->EraseSection(S);
  F->WriteInteger(S, u"count", AreaList->Count());
  for (Integer I = 0; I < AreaList->Count(); ++I)
    F->WriteString(S, IntToStr(I), SkinAreaToText(*static_cast<TspDataSkinArea*>(AreaList->Items(I))));

  F->EraseSection(SkinSectionColors);
  FSkinColors->SaveToFile(F);

  WriteEntries<TspDataSkinObject>(F, SkinSectionObjects, ObjectList, SkinObjectTypeWord);
  WriteEntries<TspDataSkinControl>(F, SkinSectionControls, CtrlList, SkinControlTypeWord);
}

void TspSkinFields::TakeFields(TspSkinFields& Source, bool WithCursors) {
  static_cast<TspSkinFormInfo&>(*this) = Source;
  SkinName = Source.SkinName;
  SkinAuthor = Source.SkinAuthor;
  AuthorURL = Source.AuthorURL;
  AuthorEmail = Source.AuthorEmail;
  SkinComments = Source.SkinComments;
  FPictureName = Source.FPictureName;
  FInActivePictureName = Source.FInActivePictureName;
  FMaskName = Source.FMaskName;
  FRollUpPictureName = Source.FRollUpPictureName;
  FRollUpMaskName = Source.FRollUpMaskName;
  FActivePicturesNames->Assign(Source.FActivePicturesNames);
  FCursorsNames->Assign(Source.FCursorsNames);
  if (WithCursors) StartCursorIndex = Source.StartCursorIndex;
  PopupWindow->Assign(*Source.PopupWindow);
  LayerFrame->Assign(*Source.LayerFrame);
  HintWindow->Assign(*Source.HintWindow);
  FSkinColors->Assign(*Source.FSkinColors);
  MoveItems(Source.AreaList, AreaList);
  MoveItems(Source.ObjectList, ObjectList);
  MoveItems(Source.CtrlList, CtrlList);
}

// ---------------------------------------------------------------------------
// TspSkinContent

void TspSkinContent::LoadFromIni(TCustomIniFile* IniFile, bool WithCursors) {
  ReadVersion(IniFile);
  ReadPictureNames(IniFile);
  if (WithCursors) ReadCursors(IniFile);
  ReadDescriptions(IniFile);
}

void TspSkinContent::LoadFromIniText(const TspByteSpan& Text) {
  TStringList Lines;
  DecodeSkinLines(Text, &Lines);
  TMemIniFile Ini;
  Ini.SetStrings(&Lines);
  LoadFromIni(&Ini, false);
}

bool TspSkinContent::LoadFromStoredSkin(const Byte* Data, size_t Size) {
  TspStoredSkinView L;
  if (!ReadStoredSkinLayout(Data, Size, L)) return false;
  LoadFromIniText(L.IniText);
  for (int I = 0; I < 5; ++I) Pictures[I] = L.Pictures[I].Bytes();
  for (const TspByteSpan& P : L.ActivePictures) ActivePictures.push_back(P.Bytes());
  return true;
}

bool TspSkinContent::LoadFromStoredSkinBlock(const void* Data, size_t Size) {
  const std::vector<Byte> Layout = InflateSkinBlock(Data, Size);
  return LoadFromStoredSkin(Layout.data(), Layout.size());
}

TBytes TspSkinContent::SaveToStoredSkin() {
  TspStoredSkinLayout L;
  for (int I = 0; I < 5; ++I) L.Pictures[I] = Pictures[I];
  L.ActivePictures = ActivePictures;
  TMemIniFile Ini;
  SaveToCustomIniFile(&Ini);
  TStringList Lines;
  Ini.GetStrings(&Lines);
  L.IniText = EncodeSkinText(&Lines);
  return WriteStoredSkinLayout(L);
}

TBytes TspSkinContent::SaveToStoredSkinBlock() { return CompressSkinBlock(SaveToStoredSkin()); }
