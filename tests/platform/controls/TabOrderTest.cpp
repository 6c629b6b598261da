// The tab order of a form: TabOrder and TabStop as code and layouts set them, Tab and Shift+Tab
// moving the focus, and the dialog keys a focused control keeps from the form's buttons.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <string>
#include <utility>
#include <vector>

#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
#include "platform/controls/PageControl.h"
#include "platform/controls/Panel.h"
#include "platform/controls/RadioGroup.h"
#include "platform/controls/StdControls.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

class TabOrderTest : public FormTest {
 protected:
  template <class T>
  T* Put(TWinControl* parent, const std::string& name, int top) {
    auto* control = New<T>(form);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(10, top, 120, 24);
    return control;
  }
  std::vector<std::string> Order(TWinControl* parent) {
    std::vector<std::string> names(static_cast<size_t>(parent->ControlCount()));
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* c = dynamic_cast<TWinControl*>(parent->Controls(i)); c && c->TabOrder() >= 0)
        names.at(static_cast<size_t>(c->TabOrder())) = c->Name();
    names.resize(static_cast<size_t>(std::count_if(names.begin(), names.end(), [](auto& n) { return !n.empty(); })));
    return names;
  }
  void ShowActive() {
    ShowForm();
    QApplication::setActiveWindow(Widget()->window());
  }
  // Presses a key where the keyboard focus is, as the user would.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
  }
  std::string Focused() {
    TWinControl* active = form->ActiveControl();
    return active ? active->Name() : std::string("(none)");
  }
};

TEST_F(TabOrderTest, TabOrderIsThePlaceAmongTheWindowedSiblingsAndMovesTheOthersAlong) {
  auto* a = Put<TEdit>(form, "A", 10);
  auto* b = Put<TEdit>(form, "B", 40);
  auto* c = Put<TEdit>(form, "C", 70);
  EXPECT_EQ(Order(form), (std::vector<std::string>{"A", "B", "C"}));
  c->SetTabOrder(0);
  EXPECT_EQ(Order(form), (std::vector<std::string>{"C", "A", "B"}));
  a->SetTabOrder(99);  // past the end: the last place
  EXPECT_EQ(Order(form), (std::vector<std::string>{"C", "B", "A"}));
  b->SetTabOrder(-5);
  EXPECT_EQ(Order(form), (std::vector<std::string>{"B", "C", "A"}));
  c->SetParent(nullptr);
  EXPECT_EQ(c->TabOrder(), -1);
  EXPECT_EQ(a->TabOrder(), 1);
  c->SetParent(form);  // back at the end
  EXPECT_EQ(Order(form), (std::vector<std::string>{"B", "A", "C"}));
  // Window-less controls and the z-order play no part.
  b->BringToFront();
  EXPECT_EQ(b->TabOrder(), 0);
  // Tab stops by class: the controls the user types or chooses in, not the containers.
  EXPECT_TRUE(a->TabStop());
  EXPECT_TRUE(New<TComboBox>(form)->TabStop());
  EXPECT_TRUE(New<TBitBtn>(form)->TabStop());
  EXPECT_TRUE(New<TStringGrid>(form)->TabStop());
  EXPECT_FALSE(New<TPanel>(form)->TabStop());
}

TEST_F(TabOrderTest, ALayoutGivesTheOrderWhateverTheOrderOfTheRecordsAndWritesItBack) {
  RegisterStandardControls();
  const std::string text =
      "object Form1: TForm\n"
      "  object Third: TEdit\n    Left = 8\n    Top = 8\n    Width = 100\n    Height = 21\n"
      "    TabOrder = 2\n  end\n"
      "  object Box: TPanel\n    Left = 8\n    Top = 40\n    Width = 200\n    Height = 80\n"
      "    TabOrder = 0\n"
      "    object Inner2: TEdit\n      Left = 8\n      Top = 40\n      Width = 100\n      Height = 21\n"
      "      TabOrder = 1\n    end\n"
      "    object Inner1: TEdit\n      Left = 8\n      Top = 8\n      Width = 100\n      Height = 21\n"
      "      TabOrder = 0\n      TabStop = False\n    end\n"
      "  end\n"
      "  object Second: TEdit\n    Left = 8\n    Top = 130\n    Width = 100\n    Height = 21\n"
      "    TabOrder = 1\n  end\n"
      "end\n";
  TMemoryStream in(TextToStream(text));
  TReader(in).ReadRootComponent(form);
  auto* box = dynamic_cast<TPanel*>(form->FindComponent("Box"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Order(form), (std::vector<std::string>{"Box", "Second", "Third"}));
  EXPECT_EQ(Order(box), (std::vector<std::string>{"Inner1", "Inner2"}));
  EXPECT_FALSE(dynamic_cast<TEdit*>(form->FindComponent("Inner1"))->TabStop());

  TMemoryStream out;
  TWriter(out).WriteRootComponent(form);
  const std::string written = StreamToText(out.Bytes());
  EXPECT_NE(written.find("object Third: TEdit\n    Left = 8\n    Top = 8\n    Width = 100\n    Height = 21\n"
                         "    TabOrder = 2\n"),
            std::string::npos)
      << written;
  EXPECT_NE(written.find("TabOrder = 0\n      TabStop = False\n"), std::string::npos) << written;
  EXPECT_EQ(written.find("TabStop = True"), std::string::npos) << written;  // the edits' default

  // A control read on its own into a parent that has children already goes to the end.
  std::string pasted = TextToStream("object Pasted: TEdit\n  TabOrder = 0\nend\n");
  pasted.push_back('\0');  // the end of a list of component blocks
  TMemoryStream one(pasted);
  TReader(one).ReadComponents(form, form, [](TComponent*) {});
  EXPECT_EQ(Order(form), (std::vector<std::string>{"Box", "Second", "Third", "Pasted"}));
  // The place the pasted record asked for is forgotten: a later read into the form keeps the order.
  TMemoryStream again(TextToStream("object Form1: TForm\n  Caption = 'again'\nend\n"));
  TReader(again).ReadRootComponent(form);
  EXPECT_EQ(form->Caption(), "again");
  EXPECT_EQ(Order(form), (std::vector<std::string>{"Box", "Second", "Third", "Pasted"}));
}

TEST_F(TabOrderTest, TabAndShiftTabVisitTheTabStopsInOrderIntoContainersAndAround) {
  auto* first = Put<TEdit>(form, "First", 10);
  auto* box = Put<TPanel>(form, "Box", 40);
  box->SetHeight(100);
  auto* inner = Put<TEdit>(box, "Inner", 10);
  auto* skipped = Put<TEdit>(box, "Skipped", 40);
  skipped->SetTabStop(false);
  auto* hidden = Put<TEdit>(box, "Hidden", 70);
  hidden->Hide();
  auto* last = Put<TComboBox>(form, "Last", 150);
  auto* disabled = Put<TEdit>(form, "Disabled", 180);
  disabled->SetEnabled(false);
  auto* group = Put<TRadioGroup>(form, "Group", 210);
  group->SetHeight(80);
  group->Items()->SetText("one\ntwo\n");
  group->SetItemIndex(1);
  // The order the user meets them differs from the order they were made in.
  last->SetTabOrder(0);
  box->SetTabOrder(1);
  first->SetTabOrder(2);
  std::vector<std::string> typed;
  for (TEdit* edit : {first, inner})
    edit->OnKeyPress.Bind([&typed](TObject*, char32_t& key) { typed.push_back(std::to_string(key)); });
  ShowActive();
  EXPECT_EQ(Focused(), "Last");  // the first tab stop has the focus when the form opens
  std::vector<std::string> visited;
  for (int i = 0; i < 5; ++i) {
    Key(Qt::Key_Tab);
    visited.push_back(Focused());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"Inner", "First", "Group", "Last", "Inner"}));
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), "Last");
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  // In a radio group the checked button takes the focus.
  auto* checked = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
  ASSERT_NE(checked, nullptr);
  EXPECT_EQ(checked->text(), "two");
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), "First");
  // The key moved the focus and nothing else: no character, no tab in the text.
  EXPECT_TRUE(typed.empty());
  EXPECT_EQ(first->Text(), "");
  // A click still focuses a control that Tab passes over.
  skipped->SetFocus();
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focused(), "First");
}

TEST_F(TabOrderTest, TabPassesOverTheControlsOfPagesNotShown) {
  auto* first = Put<TEdit>(form, "First", 10);
  auto* pages = Put<TPageControl>(form, "Pages", 40);
  pages->SetHeight(150);
  TTabSheet* sheets[2] = {};
  for (int i = 0; i < 2; ++i) {
    sheets[i] = New<TTabSheet>(form);
    sheets[i]->SetName("S" + std::to_string(i + 1));
    sheets[i]->SetPageControl(pages);
    Put<TEdit>(sheets[i], "OnPage" + std::to_string(i + 1), 10);
  }
  Put<TEdit>(form, "After", 200);
  // The form opens with the focus on the first control the user can see.
  first->SetTabStop(false);
  pages->SetTabStop(false);
  pages->SetActivePage(sheets[1]);
  ShowActive();
  EXPECT_EQ(Focused(), "OnPage2");
  first->SetTabStop(true);
  pages->SetTabStop(true);
  auto walk = [this](Qt::Key key) {
    std::vector<std::string> visited;
    for (int i = 0; i < 3; ++i) {
      Key(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
      visited.push_back(Focused());
    }
    return visited;
  };
  pages->SetActivePage(sheets[0]);
  first->SetFocus();
  EXPECT_EQ(walk(Qt::Key_Tab), (std::vector<std::string>{"Pages", "OnPage1", "After"}));
  pages->SetActivePage(sheets[1]);
  first->SetFocus();
  EXPECT_EQ(walk(Qt::Key_Tab), (std::vector<std::string>{"Pages", "OnPage2", "After"}));
  EXPECT_EQ(walk(Qt::Key_Backtab), (std::vector<std::string>{"OnPage2", "Pages", "First"}));
}

// ---- Enter and Escape ----

class DialogKeyTest : public TabOrderTest {
 protected:
  void SetUp() override {
    TabOrderTest::SetUp();
    ok = Put<TBitBtn>(form, "Ok", 250);
    ok->SetKind(bkOK);
    cancel = Put<TBitBtn>(form, "Cancel", 220);
    cancel->SetKind(bkCancel);
    ok->OnClick.Bind([this](TObject*) { clicks.push_back("ok"); });
    cancel->OnClick.Bind([this](TObject*) { clicks.push_back("cancel"); });
  }
  TBitBtn* ok = nullptr;
  TBitBtn* cancel = nullptr;
  std::vector<std::string> clicks;
};

TEST_F(DialogKeyTest, AGridKeepsEnterAndEscapeWhileACellIsEdited) {
  auto* grid = Put<TStringGrid>(form, "Grid", 10);
  grid->SetBounds(10, 10, 300, 150);
  grid->SetOptions(grid->Options() + TGridOptions{goEditing});
  grid->SetTabOrder(0);
  ShowActive();
  ASSERT_EQ(Focused(), "Grid");
  auto* table = qobject_cast<QTableWidget*>(WindowWidget(grid->Handle()));
  QTest::keyClick(table, Qt::Key_F2);  // starts editing the current cell
  ASSERT_NE(QApplication::focusWidget(), table);
  QTest::keyClicks(QApplication::focusWidget(), "new");
  Key(Qt::Key_Return);
  QApplication::processEvents();  // the editor hands its text over from the event loop
  EXPECT_EQ(grid->Cells(1, 1), "new");
  EXPECT_TRUE(clicks.empty());
  QTest::keyClick(table, Qt::Key_F2);
  QTest::keyClicks(QApplication::focusWidget(), "x");
  Key(Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(grid->Cells(1, 1), "new");
  EXPECT_TRUE(clicks.empty());
  // Not editing, the keys are the form's again.
  Key(Qt::Key_Return);
  Key(Qt::Key_Escape);
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel"}));
}

TEST_F(DialogKeyTest, AnOpenComboListKeepsEnterAndEscape) {
  auto* combo = Put<TComboBox>(form, "Combo", 10);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetText("one\ntwo\n");
  combo->SetTabOrder(0);
  ShowActive();
  auto* box = qobject_cast<QComboBox*>(WindowWidget(combo->Handle()));
  box->showPopup();
  ASSERT_TRUE(combo->DroppedDown());
  // Whatever the list does with the keys, they reach the combo box's window first.
  QTest::keyClick(box, Qt::Key_Return);
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_TRUE(clicks.empty());
  box->hidePopup();
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok"}));
}

TEST_F(DialogKeyTest, EnterClicksTheFocusedButtonOnceAndAnEditsEnterTheDefaultOne) {
  auto* edit = Put<TEdit>(form, "Edit", 10);
  edit->SetTabOrder(0);
  std::vector<uint16_t> keysDown;
  edit->OnKeyDown.Bind([&keysDown](TObject*, uint16_t& key, TShiftState) {
    if (key != VK_SHIFT) keysDown.push_back(key);
  });
  ShowActive();
  Key(Qt::Key_Return);
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok"}));
  EXPECT_TRUE(keysDown.empty());  // the form's button took the key first
  cancel->SetFocus();
  Key(Qt::Key_Return);
  ok->SetFocus();
  Key(Qt::Key_Return);  // the push button, default as it is, must not click a second time
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "ok"}));
  // Shift+Enter is an ordinary key.
  edit->SetFocus();
  Key(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(clicks.size(), 3u);
  EXPECT_EQ(keysDown, (std::vector<uint16_t>{VK_RETURN}));
}

// A dialog key drops the character of its own key press only, even when that press typed no
// character or its window went away: a character sent afterwards still arrives.
TEST_F(DialogKeyTest, ACharacterSentAfterADialogKeyArrives) {
  auto* edit = Put<TEdit>(form, "Edit", 10);
  edit->SetTabOrder(0);
  auto* doomed = Put<TEdit>(form, "Doomed", 40);
  std::vector<char32_t> typed;
  edit->OnKeyPress.Bind([&typed](TObject*, char32_t& key) { typed.push_back(key); });
  cancel->OnClick.Bind([&doomed](TObject*) { FreeAndNil(doomed); });
  ShowActive();
  doomed->SetFocus();
  Key(Qt::Key_Escape);
  ASSERT_EQ(doomed, nullptr);
  SendMessage(edit->Handle(), WM_CHAR, 'x', 1);
  // A Tab whose event carries no text.
  edit->SetFocus();
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QString());
  QApplication::sendEvent(QApplication::focusWidget(), &tab);
  EXPECT_EQ(Focused(), "Ok");
  SendMessage(edit->Handle(), WM_CHAR, 'y', 1);
  EXPECT_EQ(typed, (std::vector<char32_t>{U'x', U'y'}));
}

TEST_F(DialogKeyTest, AKeyTheWidgetIgnoresReachesTheFormsPreviewOnce) {
  auto* combo = Put<TComboBox>(form, "Combo", 10);
  combo->SetStyle(csDropDownList);
  combo->SetTabOrder(0);
  form->SetKeyPreview(true);
  std::vector<uint16_t> previewed;
  form->OnKeyDown.Bind([&previewed](TObject*, uint16_t& key, TShiftState) { previewed.push_back(key); });
  ShowActive();
  QTest::keyClick(WindowWidget(combo->Handle()), Qt::Key_F5);
  EXPECT_EQ(previewed, (std::vector<uint16_t>{VK_F1 + 4}));
}

// The form's preview sees the modifiers held with the key, as the focused control does.
TEST_F(TabOrderTest, TheFormsKeyPreviewSeesShiftAndCtrl) {
  auto* edit = Put<TEdit>(form, "Edit", 10);
  form->SetKeyPreview(true);
  using Seen = std::vector<std::pair<uint16_t, TShiftState>>;
  Seen downs, ups, editDowns;
  // The modifier keys themselves come as keys too; only the function keys count here.
  auto record = [](Seen& seen) {
    return [&seen](TObject*, uint16_t& key, TShiftState shift) {
      if (key >= VK_F1) seen.emplace_back(key, shift);
    };
  };
  form->OnKeyDown.Bind(record(downs));
  form->OnKeyUp.Bind(record(ups));
  edit->OnKeyDown.Bind(record(editDowns));
  ShowActive();
  edit->SetFocus();
  Key(Qt::Key_F5, Qt::ShiftModifier);
  Key(Qt::Key_F6, Qt::ControlModifier);
  Key(Qt::Key_F7);
  const Seen expected = {{VK_F1 + 4, {ssShift}}, {VK_F1 + 5, {ssCtrl}}, {VK_F1 + 6, {}}};
  EXPECT_EQ(downs, expected);
  EXPECT_EQ(ups, expected);
  EXPECT_EQ(editDowns, expected);
}

}  // namespace
