#include "common/gtest.h"

#include <cstdint>
#include <string>
#include <vector>

#include "rtl/Classes.h"
#include "rtl/Contnrs.h"

namespace {

std::vector<String> Items(const TStrings& L) { return L.ToStringArray(); }

using V = std::vector<String>;

// An object that records its destruction.
struct TTracked : TObject {
  explicit TTracked(std::vector<int>* Log, int Id) : FLog(Log), FId(Id) {}
  ~TTracked() override { FLog->push_back(FId); }
  std::vector<int>* FLog;
  int FId;
};

template <class E, class F>
String MessageOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return u"<no exception>";
}

}  // namespace

// --- TPersistent ------------------------------------------------------------

TEST(Persistent, AssignErrorNamesBothClasses) {
  TStringList L;
  TPersistent P;
  EXPECT_EQ(MessageOf<EConvertError>([&] { L.Assign(&P); }), u"Cannot assign a TPersistent to a TStringList");
  EXPECT_EQ(MessageOf<EConvertError>([&] { P.Assign(nullptr); }), u"Cannot assign a nil to a TPersistent");
}

// --- TList ------------------------------------------------------------------

TEST(List, IndexErrorsCarryTheIndex) {
  TList L;
  int a = 1, b = 2;
  L.Add(&a);
  L.Add(&b);
  struct Case {
    const char* What;
    std::function<void()> Call;
    const char16_t* Message;
  };
  const Case cases[] = {
      {"Items(2)", [&] { L.Items(2); }, u"List index out of bounds (2)"},
      {"Items(-1)", [&] { L.Items(-1); }, u"List index out of bounds (-1)"},
      {"Delete(5)", [&] { L.Delete(5); }, u"List index out of bounds (5)"},
      {"Insert(3)", [&] { L.Insert(3, &a); }, u"List index out of bounds (3)"},
      {"Exchange(0,2)", [&] { L.Exchange(0, 2); }, u"List index out of bounds (2)"},
      {"Move(0,2)", [&] { L.Move(0, 2); }, u"List index out of bounds (2)"},
      {"SetItems(2)", [&] { L.SetItems(2, &a); }, u"List index out of bounds (2)"},
      {"SetCount(-1)", [&] { L.SetCount(-1); }, u"List count out of bounds (-1)"},
      {"SetCapacity(1)", [&] { L.SetCapacity(1); }, u"List capacity out of bounds (1)"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageOf<EListError>(c.Call), c.Message) << c.What;
  EXPECT_EQ(L.Count(), 2);  // nothing changed by the refused calls
  TList Empty;
  EXPECT_THROW(Empty.First(), EListError);
  EXPECT_THROW(Empty.Last(), EListError);
}

TEST(List, EditingOperations) {
  int v[5] = {0, 1, 2, 3, 4};
  TList L;
  for (int& x : v) L.Add(&x);
  L.Insert(5, nullptr);  // Count is a valid insert index
  L.Move(0, 3);          // 1 2 3 0 4 nil
  L.Exchange(0, 4);      // 4 2 3 0 1 nil
  EXPECT_EQ(L.Remove(&v[3]), 2);  // 4 2 0 1 nil
  EXPECT_EQ(L.Remove(&v[3]), -1);
  EXPECT_EQ(L.Extract(&v[2]), &v[2]);  // 4 0 1 nil
  EXPECT_EQ(L.Extract(&v[2]), nullptr);
  L.Insert(1, nullptr);  // 4 nil 0 1 nil
  L.Pack();
  std::vector<void*> want = {&v[4], &v[0], &v[1]};
  ASSERT_EQ(L.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(L.Items(i), want[i]) << i;
  EXPECT_EQ(L.First(), &v[4]);
  EXPECT_EQ(L.Last(), &v[1]);
  L.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  EXPECT_EQ(L.Items(0), &v[0]);
  EXPECT_EQ(L.Items(2), &v[4]);
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(L.Capacity(), 0);
}

TEST(List, CapacityGrowsInTheLibrarySteps) {
  TList L;
  std::vector<Integer> caps;
  for (int i = 0; i < 100; ++i) {
    L.Add(nullptr);
    if (caps.empty() || caps.back() != L.Capacity()) caps.push_back(L.Capacity());
  }
  // +4 up to 8, +16 up to 64, then +25%.
  EXPECT_EQ(caps, (std::vector<Integer>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
}

TEST(List, SortSurvivesAnInconsistentComparison) {
  std::vector<int> v(200);
  TList L;
  for (int& x : v) L.Add(&x);
  unsigned seed = 1;
  L.Sort([&](void*, void*) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<Integer>((seed >> 16) % 3) - 1;
  });
  // Still a permutation of the same items.
  std::vector<void*> got(L.List(), L.List() + L.Count());
  std::sort(got.begin(), got.end());
  for (size_t i = 0; i < v.size(); ++i) EXPECT_EQ(got[i], &v[i]);
}

TEST(ObjectList, OwnsAndFreesOnDeleteClearAndDestroy) {
  std::vector<int> log;
  {
    TObjectList L;
    for (int i = 0; i < 4; ++i) L.Add(new TTracked(&log, i));
    L.Delete(0);
    EXPECT_EQ(log, (std::vector<int>{0}));
    TObject* kept = L.Extract(L.Items(0));  // id 1 leaves without being freed
    EXPECT_EQ(log, (std::vector<int>{0}));
    delete kept;
    L.SetItems(0, new TTracked(&log, 9));  // replaces id 2
    EXPECT_EQ(log, (std::vector<int>{0, 1, 2}));
  }
  EXPECT_EQ(log, (std::vector<int>{0, 1, 2, 3, 9}));  // cleared last first
  log.clear();
  TTracked t(&log, 7);
  {
    TObjectList NotOwning(false);
    NotOwning.Add(&t);
  }
  EXPECT_TRUE(log.empty());
}

// --- TComponent -------------------------------------------------------------

namespace {

// Who heard what about which component. The other side is kept as a pointer:
// while a component is constructed or destroyed it is only a TComponent.
struct TRecord {
  String Who;
  String What;
  std::uintptr_t Other;  // the component's address (it may be gone when compared)
  bool operator==(const TRecord&) const = default;
};

std::vector<TRecord>* gEvents = nullptr;

std::uintptr_t Addr(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

class TProbe : public TComponent {
 public:
  TProbe(TComponent* AOwner, const String& Id) : TComponent(AOwner), FId(Id) {}
  ~TProbe() override {
    if (gEvents) gEvents->push_back({FId, u"destroy", 0});
  }
  String FId;
  TComponent* FLink = nullptr;
  bool FWasLoadingInLoaded = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (gEvents) gEvents->push_back({FId, Operation == opInsert ? u"insert" : u"remove", Addr(AComponent)});
    if (Operation == opRemove && AComponent == FLink) FLink = nullptr;
  }
  void Loaded() override {
    FWasLoadingInLoaded = ComponentState().Contains(csLoading);
    TComponent::Loaded();
    if (gEvents) gEvents->push_back({FId, u"loaded", 0});
  }
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { gEvents = &Events; }
  void TearDown() override { gEvents = nullptr; }
  std::vector<TRecord> Events;
};

}  // namespace

TEST_F(ComponentTest, OwnerFreesOwnedLastFirst) {
  auto* Root = new TProbe(nullptr, u"root");
  auto* A = new TProbe(Root, u"a");
  new TProbe(Root, u"b");
  new TProbe(A, u"a1");
  EXPECT_EQ(Root->ComponentCount(), 2);
  EXPECT_EQ(A->Owner(), Root);
  EXPECT_EQ(A->ComponentIndex(), 0);
  Events.clear();
  delete Root;
  // Each destructor body runs before its owned components go; the owned
  // ones go last first.
  const std::vector<TRecord> want = {{u"root", u"destroy", 0}, {u"b", u"destroy", 0},
                                     {u"a", u"destroy", 0}, {u"a1", u"destroy", 0}};
  EXPECT_EQ(Events, want);
}

TEST_F(ComponentTest, InsertAndRemoveAreBroadcastToSiblings) {
  TProbe Root(nullptr, u"root");
  auto* A = new TProbe(&Root, u"a");
  auto* B = new TProbe(nullptr, u"b");
  Events.clear();
  Root.InsertComponent(B);
  // The owner hears it and passes it to every owned component, last first (B included).
  std::vector<TRecord> want = {{u"b", u"insert", Addr(B)}, {u"a", u"insert", Addr(B)}, {u"root", u"insert", Addr(B)}};
  EXPECT_EQ(Events, want);
  Events.clear();
  const std::uintptr_t a = Addr(A);
  delete A;
  EXPECT_EQ(Root.ComponentCount(), 1);
  EXPECT_EQ(Root.Components(0), B);
  want = {{u"a", u"destroy", 0}, {u"b", u"remove", a}, {u"root", u"remove", a}};
  EXPECT_EQ(Events, want);
}

TEST_F(ComponentTest, FreeNotificationReachesComponentsOfOtherOwners) {
  TProbe OwnerA(nullptr, u"ownerA");
  TProbe OwnerB(nullptr, u"ownerB");
  auto* Watcher = new TProbe(&OwnerA, u"watcher");
  auto* Target = new TProbe(&OwnerB, u"target");
  Watcher->FLink = Target;
  Target->FreeNotification(Watcher);
  EXPECT_TRUE(Target->ComponentState().Contains(csFreeNotification));
  Events.clear();
  const std::uintptr_t t = Addr(Target);
  delete Target;
  EXPECT_EQ(Watcher->FLink, nullptr);
  EXPECT_NE(std::find(Events.begin(), Events.end(), TRecord{u"watcher", u"remove", t}), Events.end());

  // Mutual: the target also hears of the watcher's end.
  auto* Target2 = new TProbe(&OwnerB, u"target2");
  Target2->FLink = Watcher;
  Target2->FreeNotification(Watcher);
  delete Watcher;
  EXPECT_EQ(Target2->FLink, nullptr);

  // RemoveFreeNotification stops it.
  auto* W2 = new TProbe(&OwnerA, u"w2");
  Target2->FreeNotification(W2);
  Target2->RemoveFreeNotification(W2);
  Events.clear();
  const std::uintptr_t t2 = Addr(Target2);
  delete Target2;
  EXPECT_EQ(std::find(Events.begin(), Events.end(), TRecord{u"w2", u"remove", t2}), Events.end());
}

TEST_F(ComponentTest, InsertComponentMovesBetweenOwners) {
  TProbe Old(nullptr, u"old"), New(nullptr, u"new");
  auto* C = new TProbe(&Old, u"c");
  New.InsertComponent(C);
  EXPECT_EQ(C->Owner(), &New);
  EXPECT_EQ(Old.ComponentCount(), 0);
  EXPECT_EQ(New.ComponentCount(), 1);
  New.RemoveComponent(C);
  EXPECT_EQ(C->Owner(), nullptr);
  delete C;
}

TEST_F(ComponentTest, NamesAreCheckedAndFoundIgnoringCase) {
  TProbe Root(nullptr, u"root");
  auto* A = new TProbe(&Root, u"a");
  auto* B = new TProbe(&Root, u"b");
  A->SetName(u"Button1");
  EXPECT_EQ(Root.FindComponent(u"BUTTON1"), A);
  EXPECT_EQ(MessageOf<EComponentError>([&] { B->SetName(u"button1"); }), u"A component named button1 already exists");
  EXPECT_EQ(MessageOf<EComponentError>([&] { B->SetName(u"1x"); }), u"''1x'' is not a valid component name");
  B->SetName(u"_x2");
  A->SetName(u"BUTTON1");  // renaming itself in another case is allowed
  EXPECT_EQ(A->Name(), u"BUTTON1");
  A->SetTag(-5);
  EXPECT_EQ(A->Tag(), -5);
}

TEST_F(ComponentTest, LoadingPhaseCallsLoadedOnceOwnerFirst) {
  TProbe Root(nullptr, u"root");
  auto* A = new TProbe(&Root, u"a");
  auto* A1 = new TProbe(A, u"a1");
  Root.BeginLoading();
  EXPECT_TRUE(A1->ComponentState().Contains(csLoading));
  Events.clear();
  Root.EndLoading();
  const std::vector<TRecord> want = {{u"root", u"loaded", 0}, {u"a", u"loaded", 0},
                                     {u"a1", u"loaded", 0}};
  EXPECT_EQ(Events, want);
  EXPECT_TRUE(A->FWasLoadingInLoaded);
  EXPECT_FALSE(A->ComponentState().Contains(csLoading));
  Events.clear();
  Root.EndLoading();  // nothing is loading any more
  EXPECT_TRUE(Events.empty());
}

TEST_F(ComponentTest, DestroyingStateIsSetBeforeOwnedComponentsGo) {
  struct TSeer : TComponent {
    using TComponent::TComponent;
    bool* Seen = nullptr;
    ~TSeer() override { *Seen = Owner() == nullptr && ComponentState().Contains(csDestroying); }
  };
  bool seen = false;
  auto* Root = new TComponent(nullptr);
  auto* S = new TSeer(Root);
  S->Seen = &seen;
  delete Root;
  EXPECT_TRUE(seen);
}

// Freed through FreeObject, the owner is whole while what it owns goes: the
// owned components go (last first, each freed as a plain delete frees it)
// before its destructor runs, and its own Notification hears of those
// removed through it.
TEST_F(ComponentTest, FreeObjectFreesOwnedComponentsWhileTheOwnerIsWhole) {
  TProbe Other(nullptr, u"other");
  auto* Root = new TProbe(nullptr, u"root");
  auto* A = new TProbe(Root, u"a");
  new TProbe(Root, u"b");
  new TProbe(A, u"a1");
  A->FreeNotification(&Other);  // so a leaves through its owner's RemoveComponent
  Events.clear();
  const std::uintptr_t a = Addr(A);
  FreeObject(Root);
  const std::vector<TRecord> want = {{u"b", u"destroy", 0},   {u"a1", u"remove", a},    {u"a", u"remove", a},
                                     {u"root", u"remove", a}, {u"a", u"destroy", 0},    {u"other", u"remove", a},
                                     {u"a1", u"destroy", 0},  {u"root", u"destroy", 0}};
  EXPECT_EQ(Events, want);
}

TEST(ComponentList, DropsComponentsFreedElsewhere) {
  TComponent Owner(nullptr);
  auto* A = new TComponent(&Owner);
  auto* B = new TComponent(&Owner);
  {
    TComponentList L(false);
    L.Add(A);
    L.Add(B);
    delete A;
    ASSERT_EQ(L.Count(), 1);
    EXPECT_EQ(L.Items(0), B);
  }
  delete B;  // the list is gone; B must not reach it
  EXPECT_EQ(Owner.ComponentCount(), 0);

  // An owning list frees what is left, and not what was freed elsewhere.
  bool seen = false;
  struct TSeen : TComponent {
    bool* Seen;
    TSeen(bool* S) : TComponent(nullptr), Seen(S) {}
    ~TSeen() override { *Seen = true; }
  };
  {
    TComponentList L;
    auto* C = new TComponent(nullptr);
    L.Add(C);
    L.Add(new TSeen(&seen));
    delete C;
    EXPECT_EQ(L.Count(), 1);
  }
  EXPECT_TRUE(seen);
}

// --- TStringList ------------------------------------------------------------

TEST(StringListSorted, DuplicatesAndCase) {
  struct Case {
    const char* What;
    bool CaseSensitive;
    TDuplicates Dups;
    V Adds;
    V Expected;  // empty with Throws
    bool Throws;
  };
  const Case cases[] = {
      {"ignore", false, dupIgnore, {u"b", u"A", u"c", u"a"}, {u"A", u"b", u"c"}, false},
      {"accept puts the new one first", false, dupAccept, {u"b", u"A", u"c", u"a"}, {u"a", u"A", u"b", u"c"}, false},
      {"error", false, dupError, {u"b", u"A", u"c", u"a"}, {}, true},
      {"exact duplicate", true, dupError, {u"x", u"x"}, {}, true},
      {"no duplicates", false, dupError, {u"delta", u"alpha", u"Charlie", u"bravo"},
       {u"alpha", u"bravo", u"Charlie", u"delta"}, false},
  };
  for (const Case& c : cases) {
    TStringList L;
    L.SetCaseSensitive(c.CaseSensitive);
    L.SetDuplicates(c.Dups);
    L.SetSorted(true);
    if (c.Throws) {
      String msg;
      try {
        for (auto& s : c.Adds) L.Add(s);
      } catch (const EStringListError& e) {
        msg = e.Message();
      }
      EXPECT_EQ(msg, u"String list does not allow duplicates") << c.What;
      continue;
    }
    for (auto& s : c.Adds) L.Add(s);
    EXPECT_EQ(Items(L), c.Expected) << c.What;
  }
}

TEST(StringListSorted, FindIndexOfAndRefusedEdits) {
  TStringList L;
  L.SetSorted(true);
  for (const char16_t* s : {u"m", u"c", u"x", u"a"}) L.Add(s);
  Integer I = -1;
  EXPECT_TRUE(L.Find(u"C", I));
  EXPECT_EQ(I, 1);
  EXPECT_FALSE(L.Find(u"n", I));
  EXPECT_EQ(I, 3);  // where "n" would go
  EXPECT_EQ(L.IndexOf(u"X"), 3);
  EXPECT_EQ(L.IndexOf(u"q"), -1);
  EXPECT_EQ(L.Add(u"m"), 2);  // dupIgnore returns the one present
  for (auto call : std::vector<std::function<void()>>{[&] { L.Insert(0, u"z"); }, [&] { L.SetStrings(0, u"z"); },
                                                     [&] { L.Exchange(0, 1); }, [&] { L.Move(0, 1); }})
    EXPECT_EQ(MessageOf<EStringListError>(call), u"Operation not allowed on sorted list");
  EXPECT_EQ(Items(L), (V{u"a", u"c", u"m", u"x"}));
  // Case sensitivity switched on re-sorts and separates the cases.
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf(u"C"), -1);
  EXPECT_EQ(L.IndexOf(u"c"), 1);
  // Unsorted lists take Insert and search linearly, ignoring case.
  TStringList U;
  U.Add(u"b");
  U.Insert(0, u"a");
  EXPECT_EQ(U.IndexOf(u"B"), 1);
  EXPECT_EQ(MessageOf<EStringListError>([&] { U.Strings(2); }), u"List index out of bounds (2)");
  EXPECT_EQ(MessageOf<EStringListError>([&] { U.Insert(3, u"x"); }), u"List index out of bounds (3)");
}

TEST(StringListSorted, CustomSortThatThrowsLeavesTheListAlone) {
  TStringList L;
  for (const char16_t* s : {u"c", u"a", u"b"}) L.Add(s);
  int calls = 0;
  EXPECT_THROW(L.CustomSort([&](TStringList*, Integer, Integer) -> Integer {
    if (++calls == 2) throw EConvertError(u"boom");
    return 0;
  }),
               EConvertError);
  EXPECT_EQ(Items(L), (V{u"c", u"a", u"b"}));
  // Compare by index into the list as it stands.
  L.CustomSort([](TStringList* List, Integer I1, Integer I2) {
    return CompareStr(List->Strings(I2), List->Strings(I1));  // descending
  });
  EXPECT_EQ(Items(L), (V{u"c", u"b", u"a"}));
}

TEST(StringListText, GetAndSet) {
  struct Case {
    String Text;
    V Lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\nb\rc", {u"a", u"b", u"c"}},
      {u"\r\n", {u""}},
      {u"\r\n\r\n", {u"", u""}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {String(u"x\0y\nz", 5), {String(u"x\0y", 3), u"z"}},
  };
  for (const Case& c : cases) {
    TStringList L;
    L.SetText(c.Text);
    EXPECT_EQ(Items(L), c.Lines) << testing::PrintToString(c.Text);
  }
  TStringList L;
  EXPECT_EQ(L.Text(), u"");
  L.Add(u"a");
  L.Add(u"");
  EXPECT_EQ(L.Text(), u"a\r\n\r\n");
}

TEST(StringListDelimited, CommaTextWritten) {
  struct Case {
    V Lines;
    String Expected;
  };
  const Case cases[] = {
      {{}, u""},
      {{u""}, u"\"\""},
      {{u"a", u"b"}, u"a,b"},
      {{u"a b"}, u"\"a b\""},
      {{u"a,b"}, u"\"a,b\""},
      {{u"a\"b"}, u"\"a\"\"b\""},
      {{u"", u"x"}, u",x"},
      {{u"a", u""}, u"a,"},
      {{u"t\tx"}, u"\"t\tx\""},
      {{u"a'b;c"}, u"a'b;c"},
  };
  for (const Case& c : cases) {
    TStringList L;
    for (auto& s : c.Lines) L.Add(s);
    EXPECT_EQ(L.CommaText(), c.Expected);
  }
}

TEST(StringListDelimited, CommaTextRead) {
  struct Case {
    String Text;
    V Lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a,b,c", {u"a", u"b", u"c"}},
      {u"a b", {u"a", u"b"}},
      {u"  a , b  ", {u"a", u"b"}},
      {u"\"a b\",c", {u"a b", u"c"}},
      {u"\"a\"\"b\"", {u"a\"b"}},
      {u"a,,b", {u"a", u"", u"b"}},
      {u"a,", {u"a", u""}},
      {u",", {u"", u""}},
      {u"\"\"", {u""}},
      {u"\"a\"b", {u"a", u"b"}},
      {u"\"open", {u"open"}},
      {u"a, ,b", {u"a", u"", u"b"}},
      {String(u"a,b\0,c", 6), {u"a", u"b"}},
  };
  for (const Case& c : cases) {
    TStringList L;
    L.SetCommaText(c.Text);
    EXPECT_EQ(Items(L), c.Lines) << testing::PrintToString(c.Text);
  }
}

TEST(StringListDelimited, DelimiterQuoteAndStrict) {
  struct Case {
    Char Delim, Quote;
    bool Strict;
    String Text;
    V Lines;
    String Written;
  };
  const Case cases[] = {
      {u';', u'\'', true, u"a b;'c;d';'e''f'", {u"a b", u"c;d", u"e'f"}, u"a b;'c;d';'e''f'"},
      {u';', u'\'', true, u" a ;b", {u" a ", u"b"}, u" a ;b"},
      {u';', u'\'', false, u" a b;c", {u"a", u"b", u"c"}, u"a;b;c"},
      {u'|', u'"', true, u"x|\"y|z\"|", {u"x", u"y|z", u""}, u"x|\"y|z\"|"},
      {u',', u'"', true, u"\"q\"", {u"q"}, u"q"},
  };
  for (const Case& c : cases) {
    TStringList L;
    L.SetDelimiter(c.Delim);
    L.SetQuoteChar(c.Quote);
    L.SetStrictDelimiter(c.Strict);
    L.SetDelimitedText(c.Text);
    EXPECT_EQ(Items(L), c.Lines) << testing::PrintToString(c.Text);
    EXPECT_EQ(L.DelimitedText(), c.Written) << testing::PrintToString(c.Text);
  }
  // CommaText ignores the list's own settings.
  TStringList L;
  L.SetDelimiter(u';');
  L.SetStrictDelimiter(true);
  L.SetCommaText(u"a b;c");
  EXPECT_EQ(Items(L), (V{u"a", u"b;c"}));
  EXPECT_EQ(L.CommaText(), u"a,b;c");
  EXPECT_EQ(L.Delimiter(), u';');
  EXPECT_TRUE(L.StrictDelimiter());
}

TEST(StringListValues, NamesAndValues) {
  TStringList L;
  L.SetText(u"a=1\r\nB=2\r\nc\r\n=x\r\nd=e=f\r\n");
  EXPECT_EQ(L.Names(0), u"a");
  EXPECT_EQ(L.Names(2), u"");
  EXPECT_EQ(L.Names(3), u"");
  EXPECT_EQ(L.Values(u"b"), u"2");
  EXPECT_EQ(L.Values(u"d"), u"e=f");
  EXPECT_EQ(L.Values(u"c"), u"");
  EXPECT_EQ(L.Values(u"zz"), u"");
  EXPECT_EQ(L.ValueFromIndex(2), u"");
  EXPECT_EQ(L.ValueFromIndex(4), u"e=f");
  EXPECT_EQ(L.IndexOfName(u"c"), -1);
  EXPECT_EQ(L.IndexOfName(u""), 3);
  L.SetValue(u"A", u"9");  // replaces, keeping the place and the new spelling
  EXPECT_EQ(L.Strings(0), u"A=9");
  L.SetValue(u"new", u"v");
  EXPECT_EQ(L.Strings(L.Count() - 1), u"new=v");
  L.SetValue(u"b", u"");  // empty deletes
  EXPECT_EQ(L.IndexOfName(u"b"), -1);
  L.SetValue(u"missing", u"");  // nothing to delete
  EXPECT_EQ(L.Count(), 5);
  L.SetValueFromIndex(0, u"7");
  EXPECT_EQ(L.Strings(0), u"A=7");

  TStringList C;
  C.SetNameValueSeparator(u':');
  C.Add(u"k:v=w");
  EXPECT_EQ(C.Values(u"k"), u"v=w");
  EXPECT_EQ(C.Names(0), u"k");
}

TEST(StringListEvents, ChangeNotificationsAndBatching) {
  TStringList L;
  int changing = 0, changed = 0;
  L.OnChanging = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &L);
    ++changing;
  };
  L.OnChange = [&](TObject*) { ++changed; };
  L.Add(u"a");
  L.SetStrings(0, u"b");
  L.Delete(0);
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);
  L.Clear();  // already empty: silent
  EXPECT_EQ(changed, 3);
  L.BeginUpdate();
  L.BeginUpdate();
  L.Add(u"x");
  L.Add(u"y");
  L.EndUpdate();
  EXPECT_EQ(changed, 3);
  L.EndUpdate();
  EXPECT_EQ(changing, 4);
  EXPECT_EQ(changed, 4);
  L.SetText(u"p\r\nq\r\nr");
  EXPECT_EQ(changed, 5);  // one report for the whole text
}

TEST(StringListObjects, OwnedObjectsAreFreed) {
  std::vector<int> log;
  {
    TStringList L(true);
    L.AddObject(u"a", new TTracked(&log, 1));
    L.AddObject(u"b", new TTracked(&log, 2));
    L.AddObject(u"c", new TTracked(&log, 3));
    L.AddObject(u"d", new TTracked(&log, 4));
    L.Move(0, 2);  // moving keeps the object alive
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(L.IndexOfObject(L.Objects(2)), 2);
    L.Delete(2);  // "a"
    EXPECT_EQ(log, (std::vector<int>{1}));
    L.Clear();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4}));
    L.AddObject(u"e", new TTracked(&log, 5));
  }
  EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(StringListAssign, CopiesLinesObjectsAndSettings) {
  TStringList Src;
  Src.SetCaseSensitive(true);
  Src.SetSorted(true);
  Src.SetDelimiter(u';');
  TObject obj;
  Src.AddObject(u"b", &obj);
  Src.Add(u"a");
  TStringList Dst;
  Dst.Add(u"old");
  Dst.Assign(&Src);
  EXPECT_EQ(Items(Dst), (V{u"a", u"b"}));
  EXPECT_EQ(Dst.Objects(1), &obj);
  EXPECT_TRUE(Dst.Sorted());
  EXPECT_TRUE(Dst.CaseSensitive());
  EXPECT_EQ(Dst.Delimiter(), u';');
  EXPECT_FALSE(Dst.OwnsObjects());
  EXPECT_TRUE(Dst.Equals(&Src));
}
