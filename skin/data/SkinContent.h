// Everything a skin says apart from its decoded pictures: the [VERSION]
// texts, picture and cursor names, the frame geometry, the four special
// descriptions, the skin colours and the lists of areas, frame objects and
// control descriptions. TspSkinFields is shared by the skin model (which
// adds its pictures, cursors and messages) and TspSkinContent (which adds
// the pictures as BMP file images); both read and write the whole ini text.
// Portable header: no Windows header.
#pragma once

#include <vector>

#include "skin/data/SkinControlData.h"
#include "skin/data/SkinFormInfo.h"
#include "skin/data/SkinObjectData.h"
#include "skin/data/SkinSpecialData.h"
#include "skin/data/StoredSkin.h"

class TspSkinFields : public TspSkinFormInfo {
 public:
  TspSkinFields();
  virtual ~TspSkinFields();
  TspSkinFields(const TspSkinFields&) = delete;
  TspSkinFields& operator=(const TspSkinFields&) = delete;

  // The first entry whose IDName equals AIDName exactly (case included), or -1.
  Integer GetIndex(const String& AIDName) const;         // ObjectList
  Integer GetControlIndex(const String& AIDName) const;  // CtrlList
  Integer GetAreaIndex(const String& AIDName) const;     // AreaList
  void AddSkinArea(const String& AName, const TRect& ARect, bool UseAnchors, bool AnchorLeft, bool AnchorTop,
                   bool AnchorRight, bool AnchorBottom);

  // Reading a skin text, in the order a load runs: [VERSION]; the picture
  // names of [PICTURES] with its active-picture names; [CURSORS];
  // [FORMINFO] (corrected as the mask name says), the special descriptions,
  // the colours and the three lists. Lists append.
  void ReadVersion(TCustomIniFile* IniFile);
  void ReadPictureNames(TCustomIniFile* IniFile);
  void ReadCursors(TCustomIniFile* IniFile);
  void ReadDescriptions(TCustomIniFile* IniFile);
  // The whole skin text in the model's section order.
  void SaveToCustomIniFile(TCustomIniFile* F);

  // Frees every area, object and control description.
  void ClearLists();

  TspSkinColors* SkinColors() const { return FSkinColors; }

  String SkinName;
  String SkinAuthor;
  String AuthorURL;
  String AuthorEmail;
  String SkinComments;
  String FPictureName;
  String FInActivePictureName;
  String FMaskName;
  String FRollUpPictureName;
  String FRollUpMaskName;
  TStrings* FActivePicturesNames;
  TStrings* FCursorsNames;
  Integer StartCursorIndex = 1;
  TspDataSkinPopupWindow* PopupWindow;
  TspDataSkinLayerFrame* LayerFrame;
  TspDataSkinHintWindow* HintWindow;
  TList* ObjectList;  // TspDataSkinObject*, owned
  TList* AreaList;    // TspDataSkinArea*, owned
  TList* CtrlList;    // TspDataSkinControl*, owned

 protected:
  // Moves Source's values, descriptions and lists into this one (the lists
  // of this one are expected empty); Source's lists are left empty. The
  // first cursor number is taken only WithCursors.
  void TakeFields(TspSkinFields& Source, bool WithCursors);

  TspSkinColors* FSkinColors;
};

// The type word of a description's class as written in [SKINOBJECTS] /
// [SKINCONTROLS] ("" for a class in neither table), and the description a
// word creates (nullptr for an unknown word).
String SkinObjectTypeWord(const TspDataSkinObject* Obj);
String SkinControlTypeWord(const TspDataSkinControl* Ctrl);
TspDataSkinObject* CreateSkinObject(const String& TypeWord, const String& IDName);
TspDataSkinControl* CreateSkinControl(const String& TypeWord, const String& IDName);

// A skin as one load stages it or a generator builds it.
class TspSkinContent : public TObject, public TspSkinFields {
 public:
  enum TPicture { spMain, spInActive, spMask, spRollUp, spRollUpMask };

  // BMP file images; an empty block is an absent picture.
  TBytes Pictures[5];
  std::vector<TBytes> ActivePictures;

  // Reads an ini skin text without its pictures: everything a load reads
  // (with [CURSORS] when WithCursors). Raises on malformed values.
  void LoadFromIni(TCustomIniFile* IniFile, bool WithCursors);
  // Reads the ini text of a stored skin (a byte-order mark selects UTF-8
  // or UTF-16, else the ANSI code page), without [CURSORS].
  void LoadFromIniText(const TspByteSpan& Text);
  // Reads an inflated stored skin; false for a version above 3 (nothing is
  // read). Raises EspSkinError for a damaged layout.
  bool LoadFromStoredSkin(const Byte* Data, size_t Size);
  // Inflates a compressed block, then as LoadFromStoredSkin.
  bool LoadFromStoredSkinBlock(const void* Data, size_t Size);
  // The stored-skin layout (version 2) and the compressed block.
  TBytes SaveToStoredSkin();
  TBytes SaveToStoredSkinBlock();

};
