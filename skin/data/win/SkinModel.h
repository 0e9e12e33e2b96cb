// The skin model TspSkinData: a component that holds a skin's pictures,
// cursors, frame geometry and descriptions, loads skins from ini skin files,
// stored skins and ".skn" files, and tells every form about skin changes by
// the skin messages. The stored skin component TspCompressedStoredSkin holds
// one compressed skin block. Winelib only.
//
// A load decodes and parses everything into a staged copy first; only a skin
// that read completely replaces the current one (messages 1225, 1226, 1227).
// A damaged skin raises and leaves the model, its forms and SkinFileName as
// they were; a skin text without the required sections or a stored skin of a
// version above 3 is refused silently.
#pragma once

#include <vector>

#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "skin/data/SkinContent.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinResStr.h"
#include "skin/data/StoredSkin.h"

class TspSkinData;

// One compressed skin block (zlib, the stored-skin layout inside).
class TspCompressedStoredSkin : public TComponent {
 public:
  explicit TspCompressedStoredSkin(TComponent* AOwner);
  // Filled from the RCDATA resource ResName of the module Instance (raises
  // EResNotFound when it is missing).
  TspCompressedStoredSkin(TComponent* AOwner, HINSTANCE Instance, const String& ResName);
  ~TspCompressedStoredSkin() override;

  bool Empty() const { return FCompressedStream->Size() == 0; }
  TMemoryStream* CompressedStream() const { return FCompressedStream; }

  // The model's pictures and its ini text (UTF-8 with a byte-order mark).
  void LoadFromSkinData(TspSkinData* ASkinData);
  // An ini skin file and its BMP pictures; the file's lines are kept as read,
  // in their encoding. A text without the required sections keeps the block;
  // any other failure leaves it empty.
  void LoadFromIniFile(const String& AFileName);
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  // Inflates the block into S at its position.
  void DeCompressToStream(TMemoryStream* S);
  // The ".skn" envelope (2, the block's length, the block) at the position.
  void SaveToCompressStream(TStream* Stream);
  // Reads an envelope from the start of Stream. Every read empties the block
  // first; a version above 3 leaves it empty; a length below 0 or beyond the
  // stream raises EspSkinError.
  void LoadFromCompressStream(TStream* Stream);
  // The same from a file (EFOpenError when it cannot be opened).
  void LoadFromCompressFile(const String& AFileName);
  // Writes nothing for an empty block.
  void SaveToCompressFile(const String& AFileName);

  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  const String& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const String& Value) { FCompressedFileName = Value; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }

 private:
  void SetBlock(const TBytes& Block);

  String FFileName;
  String FCompressedFileName;
  TMemoryStream* FCompressedStream;
  String FDescription;
};

// One stored skin of a skin list, named "spSkin" and its index.
class TspSkinListItem : public TObject {
 public:
  explicit TspSkinListItem(Integer Index);
  ~TspSkinListItem() override;
  TspCompressedStoredSkin* Skin() const { return FSkin; }

  String Description;
  String FileName;
  String CompressedFileName;
  String Name;

 private:
  TspCompressedStoredSkin* FSkin;
};

class TspCompressedSkinList : public TComponent {
 public:
  explicit TspCompressedSkinList(TComponent* AOwner);
  ~TspCompressedSkinList() override;
  Integer Count() const { return static_cast<Integer>(FSkins.size()); }
  TspSkinListItem* Items(Integer Index) const { return FSkins.at(static_cast<size_t>(Index)); }
  TspSkinListItem* Add();

 private:
  std::vector<TspSkinListItem*> FSkins;
};

class TspSkinData : public TComponent, public TspSkinFields {
 public:
  explicit TspSkinData(TComponent* AOwner);
  ~TspSkinData() override;

  // An ini skin file with its pictures (BMP, or JPEG when the name holds
  // ".jpg"/".jpeg") and cursor files beside it.
  void LoadFromFile(const String& FileName);
  void LoadCompressedStoredSkin(TspCompressedStoredSkin* AStoredSkin);
  // A ".skn" file; SkinFileName becomes FileName after a complete load
  // (not when the file's skin is refused).
  void LoadFromCompressedFile(const String& FileName);
  // The skin text into an ini file (its other sections stay), in UTF-8
  // with a byte-order mark unless the file is UTF-16.
  void SaveToFile(const String& FileName);
  // The skin as a ".skn" file (none for an empty skin).
  void SaveToCompressedFile(const String& FileName);

  // Frees descriptions and active pictures, sets the system colours.
  void ClearObjects();
  // ClearObjects, empties the five pictures and their names; Empty := true.
  void ClearAll();
  // ClearAll, then 1225, 1226 and 1227.
  void ClearSkin();
  // M to every form (wParam: this model, lParam 1000): the owner form first
  // unless layered borders are shown; reversed when they are shown and the
  // skin has a layered border; layered-border windows left out.
  void SendSkinDataMessage(unsigned M);

  const String& SkinFileName() const { return FSkinFileName; }

  bool SkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  bool ShowLayeredBorders() const { return FShowLayeredBorders; }
  void SetShowLayeredBorders(bool Value);
  bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
  void SetAeroBlurEnabled(bool Value);
  bool EnableSkinEffects() const { return FEnableSkinEffects; }
  void SetEnableSkinEffects(bool Value) { FEnableSkinEffects = Value; }
  bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
  void SetShowButtonGlowFrames(bool Value) { FShowButtonGlowFrames = Value; }
  bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
  void SetShowCaptionButtonGlowFrames(bool Value) { FShowCaptionButtonGlowFrames = Value; }
  bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
  void SetAnimationForAllWindows(bool Value) { FAnimationForAllWindows = Value; }
  bool DlgTreeViewDrawSkin() const { return FDlgTreeViewDrawSkin; }
  void SetDlgTreeViewDrawSkin(bool Value) { FDlgTreeViewDrawSkin = Value; }
  const String& DlgTreeViewItemSkinDataName() const { return FDlgTreeViewItemSkinDataName; }
  void SetDlgTreeViewItemSkinDataName(const String& Value) { FDlgTreeViewItemSkinDataName = Value; }
  bool DlgListViewDrawSkin() const { return FDlgListViewDrawSkin; }
  void SetDlgListViewDrawSkin(bool Value) { FDlgListViewDrawSkin = Value; }
  const String& DlgListViewItemSkinDataName() const { return FDlgListViewItemSkinDataName; }
  void SetDlgListViewItemSkinDataName(const String& Value) { FDlgListViewItemSkinDataName = Value; }

  // Setting sends 1274, also for the same table or none.
  TspResourceStrData* ResourceStrData() const { return FResourceStrData; }
  void SetResourceStrData(TspResourceStrData* Value);
  // Setting a stored skin loads it.
  TspCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
  void SetCompressedStoredSkin(TspCompressedStoredSkin* Value);
  // Setting a list, or an index within it, loads that item's skin.
  TspCompressedSkinList* SkinList() const { return FCompressedSkinList; }
  void SetSkinList(TspCompressedSkinList* Value);
  Integer SkinIndex() const { return FCompressedSkinIndex; }
  void SetSkinIndex(Integer Value);

  TNotifyEvent OnLoadData;

  bool Empty = true;
  bool ChangeSkinDataProcess = false;
  bool BuildMode = false;
  TBitmap* FPicture;
  TBitmap* FInActivePicture;
  TBitmap* FMask;
  TBitmap* FRollUpPicture;
  TBitmap* FRollUpMask;
  TList* FActivePictures;  // TBitmap*, owned

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  struct TStaged;
  // False when the block's skin is refused silently (a version above 3).
  bool LoadStoredBlock(const TBytes& Block);
  void Commit(TStaged& S, bool WithCursors);
  void FreeActivePictures();

  TspCompressedSkinList* FCompressedSkinList = nullptr;
  Integer FCompressedSkinIndex = 0;
  bool FSkinnableForm = true;
  bool FEnableSkinEffects = true;
  TspCompressedStoredSkin* FCompressedStoredSkin = nullptr;
  TspResourceStrData* FResourceStrData = nullptr;
  bool FShowButtonGlowFrames = true;
  bool FShowCaptionButtonGlowFrames = true;
  bool FShowLayeredBorders = true;
  bool FAeroBlurEnabled = true;
  bool FAnimationForAllWindows = false;
  bool FDlgTreeViewDrawSkin = true;
  String FDlgTreeViewItemSkinDataName = u"listbox";
  bool FDlgListViewDrawSkin = true;
  String FDlgListViewItemSkinDataName = u"listbox";
  String FSkinFileName;
};
