// Menus: trees read from layouts and written back, items bound to actions, items moved between
// menus while they show, menu bars and popup menus, and the text of shortcuts.

#include "platform/controls/Menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <string>
#include <vector>

#include "platform/controls/ImgList.h"
#include "platform/controls/Panel.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

// A root that streams the components it owns that have no parent, as a window does.
class TMenuRoot : public TComponent {
  DECLARE_CLASS(TMenuRoot)

 public:
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (TComponent* c : std::vector<TComponent*>(ComponentList()))
      if (!c->HasParent() && c->Owner() == root) proc(c);
  }
};

DEFINE_CLASS(TMenuRoot, TComponent) {}

std::vector<QAction*> ActionsOf(const std::vector<TMenuItem*>& items) {
  std::vector<QAction*> actions;
  for (TMenuItem* item : items) actions.push_back(item->QtAction());
  return actions;
}

std::vector<QAction*> ActionsOf(QWidget* widget) {
  const QList<QAction*> list = widget->actions();
  return {list.begin(), list.end()};
}

class MenuTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    RegisterStandardControls();
    root = New<TMenuRoot>(nullptr);
  }
  void TearDown() override {
    FreeAndNil(root);
    FormTest::TearDown();
  }

  void Read(const std::string& text) {
    TMemoryStream in(TextToStream(text));
    TReader(in).ReadRootComponent(root);
  }
  std::string Written() {
    TMemoryStream out;
    TWriter(out).WriteRootComponent(root);
    return StreamToText(out.Bytes());
  }
  template <class T>
  T* Find(const char* name) {
    auto* found = dynamic_cast<T*>(root->FindComponent(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  TMenuItem* Item(TMenuItem* parent, const char* caption) {
    auto* item = New<TMenuItem>(root);
    item->SetCaption(caption);
    if (parent) parent->Add(item);
    return item;
  }
  // Runs what the event loop runs next: the clicks that menus hand over.
  static void RunQueued() { QApplication::sendPostedEvents(); }

  TMenuRoot* root = nullptr;
};

// ---- layouts ----

const char* const kMenuLayout =
    "object Root: TMenuRoot\n"
    "  object MainMenu1: TMainMenu\n"
    "    object File1: TMenuItem\n"
    "      Caption = '&File'\n"
    "      object FileNew1Item: TMenuItem\n"
    "        Action = FileNew1\n"
    "      end\n"
    "      object N1: TMenuItem\n"
    "        Caption = '-'\n"
    "      end\n"
    "      object Exit1: TMenuItem\n"
    "        Caption = 'E&xit'\n"
    "        ShortCut = 32856\n"
    "      end\n"
    "    end\n"
    "    object Help1: TMenuItem\n"
    "      Caption = '&Help'\n"
    "      object About1: TMenuItem\n"
    "        Caption = '&About'\n"
    "        Enabled = False\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "  object ActionList1: TActionList\n"
    "    object FileNew1: TAction\n"
    "      Caption = '&New'\n"
    "      ShortCut = 16462\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST_F(MenuTest, LayoutBuildsTheTreeInOrderAndWritesItBackUnchanged) {
  Read(kMenuLayout);
  auto* menu = Find<TMainMenu>("MainMenu1");
  auto* file = Find<TMenuItem>("File1");
  auto* help = Find<TMenuItem>("Help1");
  ASSERT_TRUE(menu && file && help);
  EXPECT_EQ(menu->Items()->ItemList(), (std::vector<TMenuItem*>{file, help}));
  ASSERT_EQ(file->Count(), 3);
  EXPECT_EQ(file->Items(1)->Name(), "N1");
  EXPECT_EQ(file->Items(2)->Caption(), "E&xit");
  EXPECT_EQ(help->Items(0)->GetParentMenu(), menu);
  EXPECT_EQ(file->GetParentComponent(), menu);
  EXPECT_EQ(file->Items(0)->GetParentComponent(), file);

  // The item bound to the action took its caption and shortcut.
  TMenuItem* fileNew = file->Items(0);
  EXPECT_EQ(fileNew->Caption(), "&New");
  EXPECT_EQ(ShortCutToText(fileNew->ShortCut()), "Ctrl+N");

  // Qt shows the same tree.
  EXPECT_EQ(ActionsOf(file->QtMenu()), ActionsOf(file->ItemList()));
  EXPECT_EQ(file->QtAction()->menu<QMenu*>(), file->QtMenu());
  EXPECT_TRUE(file->Items(1)->QtAction()->isSeparator());
  EXPECT_EQ(file->Items(2)->QtAction()->shortcut(), QKeySequence("Alt+X"));
  EXPECT_EQ(fileNew->QtAction()->text(), "&New");
  EXPECT_FALSE(help->Items(0)->QtAction()->isEnabled());
  EXPECT_EQ(help->QtAction()->menu<QMenu*>(), help->QtMenu());

  // What came from the action is not written with the item.
  EXPECT_EQ(Written(), kMenuLayout);
}

TEST_F(MenuTest, ValuesTheLayoutGivesAnItemWinOverItsAction) {
  Read(
      "object Root: TMenuRoot\n"
      "  object PopupMenu1: TPopupMenu\n"
      "    object Own1: TMenuItem\n"
      "      Action = Shape1\n"
      "      Caption = 'Own'\n"
      "    end\n"
      "  end\n"
      "  object ActionList1: TActionList\n"
      "    object Shape1: TAction\n"
      "      Caption = 'Shape'\n"
      "      Hint = 'Sets the shape'\n"
      "    end\n"
      "  end\n"
      "end\n");
  auto* own = Find<TMenuItem>("Own1");
  ASSERT_TRUE(own);
  EXPECT_EQ(own->Caption(), "Own");
  EXPECT_EQ(own->Hint(), "Sets the shape");
  Find<TAction>("Shape1")->SetCaption("Shape 2");
  EXPECT_EQ(own->Caption(), "Own");  // a caption of its own doesn't follow the action
  EXPECT_NE(Written().find("Caption = 'Own'"), std::string::npos);
}

// ---- items and their actions ----

TEST_F(MenuTest, ItemFollowsEveryChangeOfItsAction) {
  auto* action = New<TAction>(root);
  action->OnExecute.Bind([](TObject*) {});
  auto* images = New<TImageList>(root);
  TBitmap strip;
  strip.SetSize(32, 16);
  images->Add(&strip, nullptr);
  auto* menu = New<TPopupMenu>(root);
  menu->SetImages(images);
  TMenuItem* item = Item(menu->Items(), "");
  item->SetAction(action);

  action->SetCaption("&Save");
  action->SetEnabled(false);
  action->SetChecked(true);
  action->SetImageIndex(1);
  action->SetShortCut(TextToShortCut("Ctrl+S"));
  EXPECT_EQ(item->Caption(), "&Save");
  EXPECT_FALSE(item->Enabled());
  EXPECT_TRUE(item->Checked());
  EXPECT_EQ(item->ImageIndex(), 1);
  QAction* qt = item->QtAction();
  EXPECT_EQ(qt->text(), "&Save");
  EXPECT_FALSE(qt->isEnabled());
  EXPECT_TRUE(qt->isChecked());
  EXPECT_FALSE(qt->icon().isNull());
  EXPECT_EQ(qt->shortcut(), QKeySequence("Ctrl+S"));

  action->SetChecked(false);
  action->SetVisible(false);
  EXPECT_FALSE(qt->isChecked());
  EXPECT_FALSE(qt->isVisible());
  action->SetImageIndex(-1);
  EXPECT_TRUE(qt->icon().isNull());
}

// A "-" caption makes the item a bare line (a style would draw the text beside it); another
// caption makes it an item again.
TEST_F(MenuTest, ACaptionOfOneDashIsALineWithoutText) {
  auto* menu = New<TPopupMenu>(root);
  TMenuItem* item = Item(menu->Items(), "-");
  QAction* qt = item->QtAction();
  EXPECT_TRUE(item->IsLine());
  EXPECT_TRUE(qt->isSeparator());
  EXPECT_TRUE(qt->text().isEmpty());
  item->SetCaption("&Exit");
  EXPECT_FALSE(qt->isSeparator());
  EXPECT_EQ(qt->text(), "&Exit");
  item->SetCaption("-");
  EXPECT_TRUE(qt->text().isEmpty());
  EXPECT_EQ(item->Caption(), "-");
}

TEST_F(MenuTest, TriggeringTheItemExecutesItsActionOnceTheMenuIsDone) {
  auto* action = New<TAction>(root);
  std::vector<TComponent*> executedFor;
  action->OnExecute.Bind([&](TObject*) { executedFor.push_back(action->ActionComponent()); });
  auto* menu = New<TPopupMenu>(root);
  TMenuItem* item = Item(menu->Items(), "x");
  item->SetAction(action);

  item->QtAction()->trigger();
  EXPECT_TRUE(executedFor.empty());  // not from inside Qt's handling of the menu
  RunQueued();
  EXPECT_EQ(executedFor, (std::vector<TComponent*>{item}));
  EXPECT_EQ(action->ActionComponent(), nullptr);

  action->SetEnabled(false);
  item->QtAction()->trigger();
  item->Click();
  RunQueued();
  EXPECT_EQ(executedFor.size(), 1u);
}

TEST_F(MenuTest, AnItemsOwnClickHandlerRunsInsteadOfTheAction) {
  auto* action = New<TAction>(root);
  int executed = 0, clicked = 0;
  action->OnExecute.Bind([&](TObject*) { ++executed; });
  auto* menu = New<TPopupMenu>(root);
  TMenuItem* item = Item(menu->Items(), "x");
  item->SetAction(action);
  item->OnClick.Bind([&](TObject*) { ++clicked; });
  item->Click();
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(executed, 0);
}

TEST_F(MenuTest, AClickThatFreesTheMenuEndsQuietly) {
  auto* menu = New<TPopupMenu>(root);
  TMenuItem* item = Item(menu->Items(), "Close");
  item->OnClick.Bind([&](TObject*) { FreeAndNil(menu); });
  item->QtAction()->trigger();
  RunQueued();
  EXPECT_EQ(menu, nullptr);
  EXPECT_EQ(root->ComponentCount(), 0);  // the item went with its menu
}

TEST_F(MenuTest, RadioItemsOfOneGroupKeepOneChecked) {
  auto* menu = New<TPopupMenu>(root);
  std::vector<TMenuItem*> items;
  for (const char* caption : {"Small", "Large", "Other"}) {
    items.push_back(Item(menu->Items(), caption));
    items.back()->SetRadioItem(true);
    items.back()->SetGroupIndex(1);
  }
  items[2]->SetGroupIndex(2);
  items[0]->SetChecked(true);
  items[2]->SetChecked(true);
  items[1]->SetAutoCheck(true);
  items[1]->Click();
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_TRUE(items[2]->Checked());  // another group
  // Qt's own toggling on a trigger does not uncheck the item.
  items[2]->QtAction()->trigger();
  EXPECT_TRUE(items[2]->QtAction()->isChecked());
  RunQueued();
  EXPECT_TRUE(items[2]->Checked());
}

// ---- the tree while it shows ----

TEST_F(MenuTest, ItemsMoveBetweenMenusAndTheQtMenusFollow) {
  auto* main = New<TMainMenu>(root);
  auto* popup = New<TPopupMenu>(root);
  TMenuItem* edit = Item(main->Items(), "&Edit");
  TMenuItem* cut = Item(edit, "Cu&t");
  TMenuItem* copy = Item(edit, "&Copy");
  TMenuItem* paste = Item(edit, "&Paste");
  QMenuBar* bar = main->CreateMenuBar(Widget());

  edit->Remove(copy);
  popup->Items()->Add(copy);
  EXPECT_EQ(ActionsOf(edit->QtMenu()), ActionsOf({cut, paste}));
  EXPECT_EQ(ActionsOf(popup->QtMenu()), ActionsOf({copy}));
  EXPECT_EQ(copy->GetParentMenu(), popup);

  paste->SetMenuIndex(0);
  EXPECT_EQ(ActionsOf(edit->QtMenu()), ActionsOf({paste, cut}));
  popup->Items()->Remove(copy);
  edit->Insert(1, copy);
  EXPECT_EQ(ActionsOf(edit->QtMenu()), ActionsOf({paste, copy, cut}));

  // The top level shows in the bar, and an emptied item is a command again.
  TMenuItem* help = Item(main->Items(), "&Help");
  EXPECT_EQ(ActionsOf(bar), ActionsOf({edit, help}));
  edit->Clear();
  EXPECT_EQ(edit->QtAction()->menu<QMenu*>(), nullptr);
  help->Free();
  EXPECT_EQ(ActionsOf(bar), ActionsOf({edit}));
}

TEST_F(MenuTest, ActionsOthersAddToAMenuStayAfterTheItems) {
  auto* main = New<TMainMenu>(root);
  TMenuItem* window = Item(main->Items(), "&Window");
  TMenuItem* cascade = Item(window, "&Cascade");
  QAction foreign("1 Main mark");
  window->QtMenu()->addAction(&foreign);
  TMenuItem* tile = Item(window, "&Tile");
  EXPECT_EQ(ActionsOf(window->QtMenu()), (std::vector<QAction*>{cascade->QtAction(), tile->QtAction(), &foreign}));
  cascade->Free();
  EXPECT_EQ(ActionsOf(window->QtMenu()), (std::vector<QAction*>{tile->QtAction(), &foreign}));
}

struct InsertCase {
  const char* name;
  std::function<void(TMenuItem* parent, TMenuItem* child, TMenuItem* other)> insert;
};

class MenuInsertError : public MenuTest, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(MenuInsertError, IsRefusedAndChangesNothing) {
  auto* menu = New<TPopupMenu>(root);
  TMenuItem* parent = Item(menu->Items(), "Parent");
  TMenuItem* child = Item(parent, "Child");
  TMenuItem* other = Item(nullptr, "Other");
  EXPECT_THROW(GetParam().insert(parent, child, other), EMenuError);
  EXPECT_EQ(parent->ItemList(), (std::vector<TMenuItem*>{child}));
  EXPECT_EQ(child->Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MenuInsertError,
    ::testing::Values(InsertCase{"ItemThatHasAParent", [](auto*, auto* child, auto* other) { other->Add(child); }},
                      InsertCase{"ItemIntoItself", [](auto* parent, auto*, auto*) { parent->Add(parent); }},
                      InsertCase{"AncestorIntoDescendant", [](auto* parent, auto* child, auto*) { child->Add(parent); }},
                      InsertCase{"Nothing", [](auto* parent, auto*, auto*) { parent->Add(nullptr); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- popup menus ----

TEST_F(MenuTest, PopupRunsOnPopupThenUpdatesAndShowsAtThePointWithoutWaiting) {
  ShowForm();
  auto* menu = New<TPopupMenu>(root);
  auto* action = New<TAction>(root);
  action->OnExecute.Bind([](TObject*) {});
  std::vector<std::string> order;
  action->OnUpdate.Bind([&](TObject*) {
    order.push_back("update");
    action->SetCaption("設定形狀");
  });
  TMenuItem* item = Item(menu->Items(), "");
  item->SetAction(action);
  menu->OnPopup.Bind([&](TObject*) {
    order.push_back(menu->QtMenu()->isVisible() ? "popup while shown" : "popup");
  });

  menu->Popup(120, 90);
  EXPECT_EQ(order, (std::vector<std::string>{"popup", "update"}));
  QMenu* shown = menu->QtMenu();
  EXPECT_TRUE(shown->isVisible());
  EXPECT_EQ(shown->pos(), QPoint(120, 90));
  EXPECT_EQ(item->QtAction()->text(), "設定形狀");
  EXPECT_EQ(menu->PopupPoint().X, 120);
  shown->close();
  EXPECT_FALSE(shown->isVisible());
}

TEST_F(MenuTest, ARightClickShowsThePopupMenuOfTheControlOrOfItsParent) {
  ShowForm();
  auto* menu = New<TPopupMenu>(root);
  Item(menu->Items(), "設定形狀");
  auto* outer = New<TPanel>(form);
  outer->SetParent(form);
  outer->SetBounds(10, 10, 200, 150);
  auto* inner = New<TPanel>(form);
  inner->SetParent(outer);
  inner->SetBounds(10, 10, 50, 50);

  EXPECT_FALSE(ShowPopupMenuOf(inner, {50, 50}));
  outer->SetPopupMenu(menu);
  EXPECT_TRUE(ShowPopupMenuOf(inner, {50, 50}));
  EXPECT_EQ(menu->PopupComponent(), outer);
  EXPECT_TRUE(menu->QtMenu()->isVisible());
  menu->QtMenu()->close();

  menu->SetAutoPopup(false);
  EXPECT_FALSE(ShowPopupMenuOf(inner, {50, 50}));
  EXPECT_FALSE(menu->QtMenu()->isVisible());
  FreeAndNil(outer);
  EXPECT_EQ(menu->PopupComponent(), nullptr);
}

// ---- shortcuts ----

struct ShortCutCase {
  const char* text;
  TShortCut value;
  const char* qt;  // the same key sequence as Qt writes it
};

class ShortCutText : public ::testing::TestWithParam<ShortCutCase> {};

TEST_P(ShortCutText, ConvertsBothWaysAndToQt) {
  const ShortCutCase& c = GetParam();
  EXPECT_EQ(ShortCutToText(c.value), c.text);
  EXPECT_EQ(TextToShortCut(c.text), c.value);
  EXPECT_EQ(ShortCutToKeySequence(c.value).toString().toStdString(), c.qt);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ShortCutText,
    ::testing::Values(ShortCutCase{"Ctrl+N", 16462, "Ctrl+N"}, ShortCutCase{"Ctrl+C", scCtrl | 'C', "Ctrl+C"},
                      ShortCutCase{"Shift+Del", scShift | VK_DELETE, "Shift+Del"},
                      ShortCutCase{"Ctrl+Alt+F5", scCtrl | scAlt | (VK_F1 + 4), "Ctrl+Alt+F5"},
                      ShortCutCase{"Shift+Ctrl+Alt+Home", scShift | scCtrl | scAlt | VK_HOME, "Ctrl+Alt+Shift+Home"},
                      ShortCutCase{"F12", VK_F12, "F12"}, ShortCutCase{"Alt+BkSp", scAlt | VK_BACK, "Alt+Backspace"},
                      ShortCutCase{"Esc", VK_ESCAPE, "Esc"}, ShortCutCase{"Ctrl+PgDn", scCtrl | VK_NEXT, "Ctrl+PgDown"},
                      ShortCutCase{"Ctrl+0", scCtrl | '0', "Ctrl+0"}),
    [](const auto& info) {
      std::string name;
      for (char ch : std::string(info.param.text))
        if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
      return name;
    });

TEST(ShortCutTextTest, ReadsTextLooselyAndRefusesWhatNamesNoKey) {
  EXPECT_EQ(TextToShortCut("ctrl + n"), TextToShortCut("Ctrl+N"));
  EXPECT_EQ(TextToShortCut("Alt+Ctrl+x"), scAlt | scCtrl | 'X');
  for (const char* bad : {"", "Ctrl+", "Hyper+N", "Ctrl+F13", "Ctrl+NN", "+"}) EXPECT_EQ(TextToShortCut(bad), 0) << bad;
  EXPECT_EQ(ShortCut('N', {ssCtrl}), 16462);
  EXPECT_EQ(ShortCut(0x100, {ssCtrl}), 0);
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCutFromQtKey(Qt::Key_C, Qt::ControlModifier), scCtrl | 'C');
  EXPECT_EQ(ShortCutFromQtKey(Qt::Key_F2, Qt::ShiftModifier), scShift | (VK_F1 + 1));
}

}  // namespace
