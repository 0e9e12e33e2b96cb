// TCollection: ownership, order, IDs, Assign and the Update protocol that a
// collection's owner hears every change through.
#include "common/gtest.h"

#include <vector>

#include "rtl/Classes.h"

namespace {

class TNamedItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  void Assign(TPersistent* Source) override {
    if (auto* S = dynamic_cast<TNamedItem*>(Source)) {
      SetName(S->Name);
      return;
    }
    TCollectionItem::Assign(Source);
  }
  void SetName(const String& V) {
    Name = V;
    Changed(false);
  }
  String Name;
};

// Records each Update: the item's name, "*" for the whole list.
class TLogCollection : public TCollection {
 public:
  TLogCollection() : TCollection([](TCollection* C) { return new TNamedItem(C); }) {}
  TNamedItem* Item(Integer I) const { return static_cast<TNamedItem*>(Items(I)); }
  TNamedItem* AddNamed(const String& N) {
    auto* It = static_cast<TNamedItem*>(Add());
    It->Name = N;
    return It;
  }
  std::vector<String> Names() const {
    std::vector<String> R;
    for (Integer I = 0; I < Count(); ++I) R.push_back(Item(I)->Name);
    return R;
  }
  std::vector<String> Log;

 protected:
  void Update(TCollectionItem* It) override { Log.push_back(It ? static_cast<TNamedItem*>(It)->Name : u"*"); }
};

using V = std::vector<String>;

TEST(Collection, AddInsertDeleteKeepOrderAndIDs) {
  TLogCollection C;
  C.AddNamed(u"a");
  C.AddNamed(u"b");
  auto* X = static_cast<TNamedItem*>(C.Insert(1));
  X->Name = u"x";
  EXPECT_EQ(C.Names(), (V{u"a", u"x", u"b"}));
  EXPECT_EQ(X->Index(), 1);
  EXPECT_EQ(X->ID(), 2);  // IDs follow creation, not place
  C.Delete(0);
  EXPECT_EQ(C.Names(), (V{u"x", u"b"}));
  EXPECT_EQ(C.FindItemID(2), X);
  EXPECT_EQ(C.FindItemID(0), nullptr);
  X->SetIndex(1);
  EXPECT_EQ(C.Names(), (V{u"b", u"x"}));
  EXPECT_THROW(C.Delete(2), EListError);
  EXPECT_THROW(C.Items(-1), EListError);
  EXPECT_THROW(C.Insert(3), EListError);
  // An item freed on its own leaves the list.
  delete C.Item(0);
  EXPECT_EQ(C.Names(), (V{u"x"}));
  // New IDs never repeat old ones.
  EXPECT_EQ(C.AddNamed(u"y")->ID(), 3);
}

TEST(Collection, EveryChangeReachesUpdateOnceOutsideBatches) {
  TLogCollection C;
  C.AddNamed(u"a");
  EXPECT_EQ(C.Log, (V{u"*"}));  // the list changed
  C.Log.clear();
  C.Item(0)->SetName(u"b");
  EXPECT_EQ(C.Log, (V{u"b"}));  // one item changed
  C.Log.clear();
  C.BeginUpdate();
  C.AddNamed(u"c");
  C.Item(0)->SetName(u"d");
  C.Delete(1);
  EXPECT_TRUE(C.Log.empty());
  C.EndUpdate();
  EXPECT_EQ(C.Log, (V{u"*"}));
  C.Log.clear();
  C.Insert(0);  // one Update for the add and the move
  EXPECT_EQ(C.Log, (V{u"*"}));
  C.Log.clear();
  C.Clear();
  EXPECT_EQ(C.Log, (V{u"*"}));
  EXPECT_EQ(C.Count(), 0);
}

TEST(Collection, AssignCopiesItemsAndRefusesOtherSources) {
  TLogCollection A, B;
  A.AddNamed(u"p");
  A.AddNamed(u"q");
  B.AddNamed(u"old");
  B.Log.clear();
  B.Assign(&A);
  EXPECT_EQ(B.Names(), (V{u"p", u"q"}));
  EXPECT_NE(B.Items(0), A.Items(0));
  EXPECT_EQ(B.Log, (V{u"*"}));
  B.Assign(&B);
  EXPECT_EQ(B.Names(), (V{u"p", u"q"}));
  TStringList L;
  EXPECT_THROW(B.Assign(&L), EConvertError);
  EXPECT_EQ(B.Count(), 2);
}

TEST(Collection, ItemsMoveBetweenCollections) {
  TLogCollection A, B;
  auto* It = A.AddNamed(u"m");
  It->SetCollection(&B);
  EXPECT_EQ(A.Count(), 0);
  EXPECT_EQ(B.Item(0), It);
  It->SetCollection(nullptr);
  EXPECT_EQ(B.Count(), 0);
  EXPECT_EQ(It->Index(), -1);
  delete It;
}

}  // namespace
