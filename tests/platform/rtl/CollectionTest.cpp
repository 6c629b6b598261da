#include "platform/rtl/Collection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"

namespace {

class TPanelItem : public TCollectionItem {
  DECLARE_CLASS(TPanelItem)

 public:
  std::string Text;
  int Width = 50;
  void Assign(TPersistent* source) override {
    if (auto* other = dynamic_cast<TPanelItem*>(source)) {
      Text = other->Text;
      Width = other->Width;
      return;
    }
    TCollectionItem::Assign(source);
  }
};
DEFINE_CLASS(TPanelItem, TCollectionItem) {
  c.Prop("Text", &TPanelItem::Text, &TPanelItem::Text);
  c.Prop("Width", &TPanelItem::Width, &TPanelItem::Width).Default(50);
}

// Counts the updates it would repaint for.
class TCountingCollection : public TCollection {
  DECLARE_CLASS(TCountingCollection)

 public:
  int WholeUpdates = 0;

 protected:
  void Update(TCollectionItem* item) override {
    if (!item) ++WholeUpdates;
  }
};
DEFINE_CLASS(TCountingCollection, TCollection) {}

// An owner of a collection property, for name paths.
class TStatusBar : public TComponent {
  DECLARE_CLASS(TStatusBar)

 public:
  void Create(TComponent* owner) override {
    TComponent::Create(owner);
    panels_ = New<TOwnedCollection>(this, TPanelItem::StaticClass());
  }
  TOwnedCollection* Panels() const { return panels_; }

 protected:
  void Destroy() override {
    FreeAndNil(panels_);
    TComponent::Destroy();
  }

 private:
  TOwnedCollection* panels_ = nullptr;
};
DEFINE_CLASS(TStatusBar, TComponent) {
  c.Prop("Panels", &TStatusBar::Panels, nullptr);
}

std::vector<std::string> Texts(const TCollection& collection) {
  std::vector<std::string> texts;
  for (int i = 0; i < collection.Count(); ++i)
    texts.push_back(static_cast<TPanelItem*>(collection.Items(i))->Text);
  return texts;
}

TPanelItem* AddPanel(TCollection* collection, const std::string& text) {
  auto* item = static_cast<TPanelItem*>(collection->Add());
  item->Text = text;
  return item;
}

using Texts_ = std::vector<std::string>;

TEST(Collection, AddCreatesItemsOfTheItemClass) {
  TCollection* panels = New<TCollection>(TPanelItem::StaticClass());
  TCollectionItem* item = panels->Add();
  EXPECT_EQ(item->ClassType().Name(), "TPanelItem");
  EXPECT_EQ(item->Collection(), panels);
  EXPECT_EQ(static_cast<TPanelItem*>(item)->Width, 50);
  EXPECT_EQ(panels->Count(), 1);
  EXPECT_EQ(panels->Items(0), item);
  EXPECT_THROW(panels->Items(1), EListError);
  panels->Free();  // frees the item too (ASan)
}

TEST(Collection, ItemClassThatIsNoItemClassRaisesWithoutLeaking) {
  for (const TClassInfo* cls : {&TComponent::StaticClass(), &TStrings::StaticClass()}) {
    TCollection* wrong = New<TCollection>(*cls);
    try {
      wrong->Add();
      ADD_FAILURE() << "no error for " << cls->Name();
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Cannot create an item of class " + cls->Name());
    }
    EXPECT_EQ(wrong->Count(), 0);
    wrong->Free();
  }
}

TEST(Collection, DeletingOrFreeingAnItemRemovesIt) {
  TCollection* panels = New<TCollection>(TPanelItem::StaticClass());
  for (const char* text : {"a", "b", "c", "d"}) AddPanel(panels, text);
  panels->Delete(1);
  EXPECT_EQ(Texts(*panels), (Texts_{"a", "c", "d"}));
  panels->Items(2)->Free();
  EXPECT_EQ(Texts(*panels), (Texts_{"a", "c"}));
  EXPECT_EQ(panels->Items(1)->Index(), 1);
  EXPECT_THROW(panels->Delete(2), EListError);
  panels->Clear();
  EXPECT_EQ(panels->Count(), 0);
  panels->Free();
}

TEST(Collection, SetIndexMovesAndClamps) {
  TCollection* panels = New<TCollection>(TPanelItem::StaticClass());
  for (const char* text : {"a", "b", "c"}) AddPanel(panels, text);
  panels->Items(0)->SetIndex(2);
  EXPECT_EQ(Texts(*panels), (Texts_{"b", "c", "a"}));
  panels->Items(2)->SetIndex(-5);
  EXPECT_EQ(Texts(*panels), (Texts_{"a", "b", "c"}));
  panels->Items(1)->SetIndex(99);
  EXPECT_EQ(Texts(*panels), (Texts_{"a", "c", "b"}));
  TCollectionItem* inserted = panels->Insert(1);
  EXPECT_EQ(inserted->Index(), 1);
  EXPECT_EQ(panels->Count(), 4);
  panels->Free();
}

TEST(Collection, ItemsMoveBetweenCollections) {
  TCollection* first = New<TCollection>(TPanelItem::StaticClass());
  TCollection* second = New<TCollection>(TPanelItem::StaticClass());
  TPanelItem* item = AddPanel(first, "moving");
  item->SetCollection(second);
  EXPECT_EQ(first->Count(), 0);
  EXPECT_EQ(Texts(*second), (Texts_{"moving"}));
  item->SetCollection(nullptr);
  EXPECT_EQ(item->Index(), -1);
  EXPECT_EQ(second->Count(), 0);
  first->Free();
  second->Free();
  item->Free();
}

TEST(Collection, AssignCopiesItemsAndReplacesOldOnes) {
  TCollection* source = New<TCollection>(TPanelItem::StaticClass());
  AddPanel(source, "x")->Width = 7;
  AddPanel(source, "y");
  TCountingCollection* target = New<TCountingCollection>(TPanelItem::StaticClass());
  AddPanel(target, "old");
  target->WholeUpdates = 0;
  target->Assign(source);
  EXPECT_EQ(Texts(*target), (Texts_{"x", "y"}));
  EXPECT_EQ(static_cast<TPanelItem*>(target->Items(0))->Width, 7);
  EXPECT_NE(target->Items(0), source->Items(0));
  EXPECT_EQ(target->WholeUpdates, 1);  // one update for the whole copy
  target->Assign(target);
  EXPECT_EQ(target->Count(), 2);
  source->Free();
  target->Free();
}

TEST(Collection, UpdatesWaitForTheOutermostEndUpdate) {
  TCountingCollection* panels = New<TCountingCollection>(TPanelItem::StaticClass());
  panels->BeginUpdate();
  panels->BeginUpdate();
  panels->Add();
  panels->Add();
  panels->EndUpdate();
  EXPECT_EQ(panels->WholeUpdates, 0);
  panels->EndUpdate();
  EXPECT_EQ(panels->WholeUpdates, 1);
  panels->Items(0)->SetIndex(1);
  EXPECT_EQ(panels->WholeUpdates, 2);
  panels->Free();
}

TEST(Collection, NamePathsRunThroughTheOwningProperty) {
  TStatusBar* bar = New<TStatusBar>(nullptr);
  bar->SetName("StatusBar1");
  AddPanel(bar->Panels(), "a");
  TCollectionItem* second = bar->Panels()->Add();
  EXPECT_EQ(bar->Panels()->GetNamePath(), "StatusBar1.Panels");
  EXPECT_EQ(second->GetNamePath(), "StatusBar1.Panels[1]");
  EXPECT_EQ(second->GetOwner(), bar->Panels());
  bar->Free();
}

}  // namespace

namespace {

// An item class that can't copy itself.
class TBareItem : public TCollectionItem {
  DECLARE_CLASS(TBareItem)
};
DEFINE_CLASS(TBareItem, TCollectionItem) {}

TEST(Collection, FailedAssignStillEndsItsUpdate) {
  TCollection* source = New<TCollection>(TBareItem::StaticClass());
  source->Add();
  TCountingCollection* target = New<TCountingCollection>(TBareItem::StaticClass());
  EXPECT_THROW(target->Assign(source), EConvertError);
  target->WholeUpdates = 0;
  target->Add();
  EXPECT_EQ(target->WholeUpdates, 1);
  source->Free();
  target->Free();
}

}  // namespace
