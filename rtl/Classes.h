// The class library's base classes: persistent objects, components with
// ownership and notifications, pointer lists, string lists and streams.
// Portable: no Windows header (TResourceStream is declared for Winelib units only).
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "rtl/FileIO.h"
#include "rtl/SysUtils.h"
#include "rtl/System.h"

class TStream;
class TComponent;

// Sorts Index (a permutation) stably by Less with a merge sort that stays in
// bounds whatever Less answers (an inconsistent comparison gives some order,
// never a crash). The lists sort a permutation and commit it when done, so a
// comparison that throws leaves them untouched.
void SortPermutation(std::vector<Integer>& Index, const std::function<bool(Integer, Integer)>& Less);

using TNotifyEvent = std::function<void(TObject*)>;

// Calls an event when it is assigned, through a copy: the handler may
// reassign the event or free the object that holds it.
template <class F, class... A>
void Fire(const F& Event, A&&... Args) {
  if (Event) {
    F Copy = Event;
    Copy(std::forward<A>(Args)...);
  }
}

// ---------------------------------------------------------------------------
// TPersistent

class TPersistent : public TObject {
 public:
  // Copies Source into this object. The default asks Source (AssignTo) and
  // raises EConvertError "Cannot assign a %s to a %s" when neither knows how.
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

// ---------------------------------------------------------------------------
// TList: a list of untyped pointers.

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = std::function<Integer(void* Item1, void* Item2)>;

class TList : public TObject {
 public:
  ~TList() override;

  Integer Add(void* Item);
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  // Index of the removed item, -1 when absent.
  Integer Remove(void* Item);
  // Takes Item out of the list without deleting it; nullptr when absent.
  void* Extract(void* Item);
  Integer IndexOf(void* Item) const;
  void Exchange(Integer Index1, Integer Index2);
  void Move(Integer CurIndex, Integer NewIndex);
  // Stable merge sort; Compare < 0 puts Item1 first.
  void Sort(const TListSortCompare& Compare);
  void Clear();
  // Removes the nil items.
  void Pack();
  void* First() const;
  void* Last() const;
  TList* Expand();

  Integer Count() const { return static_cast<Integer>(FList.size()); }
  void SetCount(Integer NewCount);
  Integer Capacity() const { return FCapacity; }
  void SetCapacity(Integer NewCapacity);
  void* Items(Integer Index) const;
  void SetItems(Integer Index, void* Item);
  void* const* List() const { return FList.data(); }

  [[noreturn]] static void Error(const char16_t* Msg, NativeInt Data);

 protected:
  // Called when an item enters or leaves the list. Destructors of derived
  // classes that act on lnDeleted must Clear() themselves.
  virtual void Notify(void* Ptr, TListNotification Action);
  virtual void Grow();

 private:
  std::vector<void*> FList;
  Integer FCapacity = 0;
};

// ---------------------------------------------------------------------------
// TComponent

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};

class TComponentState {
 public:
  constexpr TComponentState() = default;
  constexpr bool Contains(TComponentStateItem I) const { return (FBits >> I) & 1u; }
  constexpr void Include(TComponentStateItem I) { FBits |= 1u << I; }
  constexpr void Exclude(TComponentStateItem I) { FBits &= ~(1u << I); }
  constexpr bool Empty() const { return FBits == 0; }
  friend constexpr bool operator==(const TComponentState&, const TComponentState&) = default;

 private:
  Cardinal FBits = 0;
};

// While a component is being constructed or destroyed, the notifications it
// causes (opInsert from the constructor, opRemove from the destructor) see it
// as a plain TComponent: C++ does not dispatch into an unfinished object.
// Handlers compare pointers and do not downcast the component they hear of.
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  // Frees the owned components (last first) and tells every free-notified
  // component. A derived destructor that needs csDestroying set while its
  // own members still live calls Destroying() first.
  ~TComponent() override;
  // Freed through FreeObject: Destroying, the free-notified components told
  // and the owned ones freed while this object is still whole (their
  // notifications reach its overrides); the destructor then finds nothing
  // left. Owned components themselves are freed with a plain delete: each
  // destructor body runs before what its component owns goes.
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
  TComponent* Components(Integer Index) const;
  Integer ComponentIndex() const;
  // The owned component with this name (ignoring case), or nullptr.
  TComponent* FindComponent(const String& AName) const;

  const String& Name() const { return FName; }
  // Raises EComponentError for a name that is no identifier or that another
  // component of the same owner already has.
  virtual void SetName(const String& NewName);
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }

  // Takes AComponent into this component's ownership (out of its old
  // owner's) and notifies with opInsert.
  void InsertComponent(TComponent* AComponent);
  // Releases AComponent from this component's ownership, notifying with opRemove.
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component.
  void DestroyComponents();

  // Asks for an opRemove notification when AComponent is freed (and gives
  // AComponent the same about this one).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // The loading phase of a component built in code: BeginLoading sets
  // csLoading on this component and everything it owns (at every depth);
  // EndLoading calls Loaded once on each of them that is still loading, the
  // owner before what it owns.
  void BeginLoading();
  void EndLoading();

  // Sets csDestroying here and on every owned component.
  void Destroying();
  void SetDesigning(bool Value, bool SetChildren = true);

 protected:
  // The component and its owned components have been loaded. The default
  // ends csLoading.
  virtual void Loaded();
  // AComponent was inserted into or is being removed from the owner's list,
  // or a free-notified component is being freed. The default drops the free
  // notification of a removed component and passes the call on to every
  // owned component.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);

  TComponentState FComponentState;

 private:
  void RemoveFreeNotifications();
  void CollectLoading(std::vector<TComponent*>& Out);
  bool OwnsTransitively(const TComponent* C) const;

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  String FName;
  NativeInt FTag = 0;
};

// ---------------------------------------------------------------------------
// TCollection: an owned list of items of one class. Every change of the list
// or of an item reaches the collection's Update (nullptr: the whole list),
// unless updates are held between BeginUpdate and EndUpdate, after which one
// Update(nullptr) follows.

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  // Joins Collection (when given) at its end.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves its collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to the end of another collection (nullptr: none).
  void SetCollection(TCollection* Value);
  // A number unique within the collection, kept for the item's life.
  Integer ID() const { return FID; }
  // The item's place in its collection (-1 without one).
  Integer Index() const;
  // Moves the item; an index outside the list raises EListError.
  void SetIndex(Integer Value);

 protected:
  // Tells the collection of a change: of the whole list or of this item.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
 public:
  // ItemFactory makes the items of Add and Insert (new T(Collection)).
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
  explicit TCollection(TItemFactory ItemFactory, TPersistent* AOwner = nullptr);
  // Frees every item.
  ~TCollection() override;

  TCollectionItem* Add();
  // Adds an item and moves it to Index (0 .. Count).
  TCollectionItem* Insert(Integer Index);
  // Frees the item at Index (EListError for a bad index).
  void Delete(Integer Index);
  void Clear();
  // Replaces the items by new ones assigned from Source's items (another
  // collection); other sources as TPersistent::Assign.
  void Assign(TPersistent* Source) override;
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // EListError "List index out of bounds (%d)" for a bad index.
  TCollectionItem* Items(Integer Index) const;
  TCollectionItem* FindItemID(Integer ID) const;
  TPersistent* Owner() const { return FOwner; }

 protected:
  // A change of Item (nullptr: of the list). Empty here.
  virtual void Update(TCollectionItem* Item);
  // Item has joined the list, or is leaving it.
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  // Update(nullptr) unless updates are held.
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TItemFactory FItemFactory;
  TPersistent* FOwner;
  std::vector<TCollectionItem*> FItems;
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
};

// ---------------------------------------------------------------------------
// Encodings of text files and streams.

enum class TEncoding {
  Default,           // the system's ANSI code page (UTF-8 in the native build)
  ANSI = Default,
  UTF8,              // preamble EF BB BF
  Unicode,           // UTF-16LE, preamble FF FE
  BigEndianUnicode,  // UTF-16BE, preamble FE FF
};

// The bytes of S in Encoding, without a preamble.
std::string EncodingGetBytes(TEncoding Encoding, const String& S);
// The text of Count bytes in Encoding (an odd last byte of UTF-16 is dropped).
String EncodingGetString(TEncoding Encoding, const void* Bytes, size_t Count);
// The byte-order mark of Encoding ("" for Default).
std::string EncodingPreamble(TEncoding Encoding);

// ---------------------------------------------------------------------------
// TStrings

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
 public:
  TStrings() = default;

  // --- the storage a subclass provides
  virtual Integer Count() const = 0;
  virtual String Strings(Integer Index) const = 0;
  virtual void SetStrings(Integer Index, const String& S);  // default: Delete + Insert
  virtual TObject* Objects(Integer Index) const;              // default: nullptr
  virtual void SetObjects(Integer Index, TObject* AObject);   // default: ignored
  virtual void Insert(Integer Index, const String& S) = 0;
  virtual void InsertObject(Integer Index, const String& S, TObject* AObject);
  virtual void Delete(Integer Index) = 0;
  virtual void Clear() = 0;

  virtual Integer Add(const String& S);
  virtual Integer AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  void Assign(TPersistent* Source) override;
  virtual void Exchange(Integer Index1, Integer Index2);
  virtual void Move(Integer CurIndex, Integer NewIndex);
  virtual Integer IndexOf(const String& S) const;
  virtual Integer IndexOfName(const String& Name) const;
  Integer IndexOfObject(TObject* AObject) const;
  bool Equals(TStrings* Strings) const;

  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  // Name=Value lines. A line without the separator has the name "".
  String Names(Integer Index) const;
  String Values(const String& Name) const;
  // An empty Value deletes the line.
  void SetValue(const String& Name, const String& Value);
  String ValueFromIndex(Integer Index) const;
  void SetValueFromIndex(Integer Index, const String& Value);
  Char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(Char C) { FNameValueSeparator = C; }

  // Every line followed by CR LF. Setting splits at CR, LF or CR LF; a final
  // line break adds no empty line.
  virtual String Text() const;
  virtual void SetText(const String& Value);
  String CommaText() const;
  void SetCommaText(const String& Value);
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  Char Delimiter() const { return FDelimiter; }
  void SetDelimiter(Char C) { FDelimiter = C; }
  Char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(Char C) { FQuoteChar = C; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // Loading detects a byte-order mark; without one the text is read in
  // Encoding (ANSI by default). The detected or given encoding is kept in
  // Encoding() and used by the saves without an encoding argument.
  virtual void LoadFromFile(const String& FileName);
  virtual void LoadFromFile(const String& FileName, TEncoding Encoding);
  virtual void LoadFromStream(TStream* Stream);
  virtual void LoadFromStream(TStream* Stream, TEncoding Encoding);
  // Saving writes the preamble of UTF-8 and UTF-16 when WriteBOM is on.
  virtual void SaveToFile(const String& FileName);
  virtual void SaveToFile(const String& FileName, TEncoding Encoding);
  virtual void SaveToStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream, TEncoding Encoding);
  TEncoding Encoding() const { return FEncoding; }
  TEncoding DefaultEncoding() const { return FDefaultEncoding; }
  void SetDefaultEncoding(TEncoding Value) { FDefaultEncoding = Value; }
  bool WriteBOM() const { return FWriteBOM; }
  void SetWriteBOM(bool Value) { FWriteBOM = Value; }

  std::vector<String> ToStringArray() const;

 protected:
  virtual void SetUpdateState(bool Updating);
  // Compares two strings the way this list does (for TStrings: ignoring case).
  virtual Integer CompareStrings(const String& S1, const String& S2) const;
  void CheckIndex(Integer Index) const;
  [[noreturn]] static void Error(const char16_t* Msg, NativeInt Data);

 private:
  void LoadFromBytes(const std::string& Bytes, TEncoding Encoding, bool Detect);

  Integer FUpdateCount = 0;
  Char FDelimiter = u',';
  Char FQuoteChar = u'"';
  Char FNameValueSeparator = u'=';
  bool FStrictDelimiter = false;
  bool FWriteBOM = true;
  TEncoding FEncoding = TEncoding::Default;
  TEncoding FDefaultEncoding = TEncoding::Default;
};

class TStringList;
using TStringListSortCompare = std::function<Integer(TStringList* List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
 public:
  TStringList() = default;
  explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
  ~TStringList() override;

  Integer Count() const override { return static_cast<Integer>(FList.size()); }
  String Strings(Integer Index) const override;
  // Raises EStringListError "Operation not allowed on sorted list" when Sorted.
  void SetStrings(Integer Index, const String& S) override;
  TObject* Objects(Integer Index) const override;
  void SetObjects(Integer Index, TObject* AObject) override;
  // Raises EStringListError "Operation not allowed on sorted list" when Sorted.
  void Insert(Integer Index, const String& S) override;
  void InsertObject(Integer Index, const String& S, TObject* AObject) override;
  void Delete(Integer Index) override;
  void Clear() override;
  // A sorted list inserts at the sorted place; duplicates follow Duplicates
  // (dupIgnore returns the index of the one present, dupError raises
  // EStringListError "String list does not allow duplicates").
  Integer Add(const String& S) override;
  Integer AddObject(const String& S, TObject* AObject) override;
  void Assign(TPersistent* Source) override;
  // Both raise EStringListError "Operation not allowed on sorted list" when Sorted.
  void Exchange(Integer Index1, Integer Index2) override;
  void Move(Integer CurIndex, Integer NewIndex) override;
  Integer IndexOf(const String& S) const override;
  // Binary search of a sorted list: true when found; Index is the match or
  // the place where S would go.
  virtual bool Find(const String& S, Integer& Index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool Updating) override;
  Integer CompareStrings(const String& S1, const String& S2) const override;
  virtual void InsertItem(Integer Index, const String& S, TObject* AObject);

 private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};

// ---------------------------------------------------------------------------
// Streams

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
inline constexpr TSeekOrigin soFromBeginning = soBeginning;
inline constexpr TSeekOrigin soFromCurrent = soCurrent;
inline constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
 public:
  // Bytes read or written (fewer at the end or on failure; never negative).
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  // The new position from the start.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  // Exactly Count bytes, or EReadError "Stream read error" / EWriteError
  // "Stream write error".
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  // Copies Count bytes from Source's position; Count <= 0 copies the whole
  // of Source from position 0. Returns the count copied; a short Source
  // raises EReadError.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 Size();
  virtual void SetSize(Int64 NewSize);
};

// A stream over a block of memory the subclass provides.
class TCustomMemoryStream : public TStream {
 public:
  Integer Read(void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FSize; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);
  void* Memory() const { return FMemory; }

 protected:
  void SetPointer(void* Ptr, Int64 Size) {
    FMemory = Ptr;
    FSize = Size;
  }
  void* FMemory = nullptr;
  Int64 FSize = 0;
  Int64 FPosition = 0;
};

// A growable stream in memory. The capacity grows in 8 KiB steps and by at
// least a quarter of itself, so many small writes stay linear. Bytes between
// the old end and a write or SetSize past it read as zero.
class TMemoryStream : public TCustomMemoryStream {
 public:
  ~TMemoryStream() override;
  Integer Write(const void* Buffer, Integer Count) override;
  void SetSize(Int64 NewSize) override;
  // Frees the memory; size and position become 0.
  void Clear();
  // Replaces the content by Stream's whole content (from its start) / the file's.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  Int64 Capacity() const { return FCapacity; }
  void SetCapacity(Int64 NewCapacity);

 private:
  void Realloc(Int64 NewCapacity);
  Int64 FCapacity = 0;
};

// A memory stream whose content is a byte array.
class TBytesStream : public TMemoryStream {
 public:
  TBytesStream() = default;
  explicit TBytesStream(const TBytes& Data);
  // The content (Size bytes).
  TBytes Bytes() const;
};

// A memory stream holding text in an encoding.
class TStringStream : public TBytesStream {
 public:
  explicit TStringStream(const String& AString = String(), TEncoding Encoding = TEncoding::Default);
  // Raw bytes, taken as they are.
  explicit TStringStream(const std::string& Bytes, TEncoding Encoding = TEncoding::Default);
  // The whole content decoded in the stream's encoding.
  String DataString() const;
  TEncoding Encoding() const { return FEncoding; }
  // Count characters' worth of bytes from the position (all when Count < 0), decoded.
  String ReadString(Integer Count);
  void WriteString(const String& AString);

 private:
  TEncoding FEncoding;
};

// A stream over an open file handle; the handle stays the caller's.
class THandleStream : public TStream {
 public:
  explicit THandleStream(THandle AHandle) : FHandle(AHandle) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Raises EStreamError with the OS message when the file cannot be cut.
  void SetSize(Int64 NewSize) override;
  THandle Handle() const { return FHandle; }

 protected:
  THandle FHandle;
};

// A stream over a file it opens and closes.
class TFileStream : public THandleStream {
 public:
  // Mode: fmCreate (optionally with a share mode), or an open mode with a
  // share mode. Raises EFCreateError "Cannot create file \"%s\". %s" or
  // EFOpenError "Cannot open file \"%s\". %s" with the OS's message.
  TFileStream(const String& AFileName, Word Mode);
  ~TFileStream() override;
  const String& FileName() const { return FFileName; }
  // Writes the file's buffers through to the disk (EWriteError on failure).
  void Flush();

 private:
  String FFileName;
};

#if defined(_WIN32)
// A read-only stream over a resource of a module (Winelib build only).
// ResType is a resource type name or MAKEINTRESOURCE id (e.g. RT_RCDATA cast
// to const Char*). Raises EResNotFound "Resource %s not found".
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(THandle Instance, const String& ResName, const Char* ResType);
  static TResourceStream* CreateFromID(THandle Instance, Integer ResID, const Char* ResType);
  ~TResourceStream() override;
  // Raises EStreamError "Can't write to a read-only resource stream".
  Integer Write(const void* Buffer, Integer Count) override;

 private:
  TResourceStream() = default;
  void Initialize(THandle Instance, const Char* Name, const Char* ResType, const String& NameForMessage);
  void* FResource = nullptr;
};
#endif
