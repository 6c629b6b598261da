// Controls over Qt's own widgets: edit boxes, combo boxes, list boxes, string grids, radio groups,
// bit buttons, bevels. The user's input reaches the widget through the window layer; the controls
// answer with their events and keep their state, also before their window exists.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <string>
#include <vector>

#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/RadioGroup.h"
#include "platform/controls/StdControls.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

// The Qt widget of a control's window.
template <class W>
W* QtOf(TWinControl* control) {
  return qobject_cast<W*>(WindowWidget(control->Handle()));
}

class NativeTest : public FormTest {
 protected:
  template <class T>
  T* Put(int left, int top, int width, int height) {
    auto* control = New<T>(form);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
  }
  std::vector<std::string> texts;  // what the handlers saw, in order
};

std::vector<std::string> Strings(const TStrings& strings) {
  std::vector<std::string> all;
  for (int i = 0; i < strings.Count(); ++i) all.push_back(strings.Get(i));
  return all;
}

// ---- published properties ----

class PublishedDefaults : public ::testing::TestWithParam<const TClassInfo*> {};

TEST_P(PublishedDefaults, AreWhatANewComponentHoldsAndTheClassIsKnownByName) {
  TestApp();
  RegisterStandardControls();
  const TClassInfo& cls = *GetParam();
  EXPECT_EQ(GetClass(cls.Name()), &cls);
  auto* component = static_cast<TComponent*>(cls.NewInstance());
  component->Create(nullptr);
  component->AfterConstruction();
  for (const TPropInfo* p : cls.Props()) {
    if (!p->Default) continue;
    EXPECT_EQ(GetOrdProp(component, *p), *p->Default) << p->Name;
  }
  component->Free();
}

INSTANTIATE_TEST_SUITE_P(Native, PublishedDefaults,
                         ::testing::Values(&TEdit::StaticClass(), &TComboBox::StaticClass(), &TListBox::StaticClass(),
                                           &TStringGrid::StaticClass(), &TRadioGroup::StaticClass(),
                                           &TBitBtn::StaticClass(), &TBevel::StaticClass(),
                                           &TColorDialog::StaticClass(), &TFontDialog::StaticClass(),
                                           &TOpenDialog::StaticClass()),
                         [](const auto& info) { return info.param->Name(); });

// ---- edit boxes ----

class EditTest : public NativeTest {
 protected:
  void SetUp() override {
    NativeTest::SetUp();
    edit = Put<TEdit>(10, 10, 150, 24);
    edit->OnChange.Bind([this](TObject*) { texts.push_back(edit->Text()); });
  }
  QLineEdit* Line() { return QtOf<QLineEdit>(edit); }
  TEdit* edit = nullptr;
};

TEST_F(EditTest, TypingFiresOnChangeWithEachNewText) {
  ShowForm();
  QTest::keyClicks(Line(), "abc");
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "ab", "abc"}));
  EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(EditTest, PunctuationWithoutAVirtualKeyIsTypedToo) {
  form->SetKeyPreview(true);  // a preview that sees every key does not swallow them either
  ShowForm();
  QTest::keyClicks(Line(), "C/NO. N.W.;'[]");
  EXPECT_EQ(edit->Text(), "C/NO. N.W.;'[]");
}

TEST_F(EditTest, TextSetByCodeFiresOnChangeOnlyWhenItChangesWithOrWithoutAWindow) {
  auto* loose = New<TEdit>(form);  // no parent, so no window yet
  int changes = 0;
  loose->OnChange.Bind([&changes](TObject*) { ++changes; });
  loose->SetText("x");
  loose->SetText("x");
  EXPECT_EQ(changes, 1);
  ShowForm();
  edit->SetText("shown");
  edit->SetText("shown");
  EXPECT_EQ(texts, (std::vector<std::string>{"shown"}));
  EXPECT_EQ(Line()->text(), "shown");
}

TEST_F(EditTest, CtrlCStillCopiesTheSelection) {
  edit->SetText("copy me");
  ShowForm();
  edit->SelectAll();
  QApplication::clipboard()->clear();
  QTest::keyClick(Line(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "copy me");
  EXPECT_EQ(edit->Text(), "copy me");
}

TEST_F(EditTest, AKeyThatOnKeyPressKeepsNeverReachesTheText) {
  edit->OnKeyPress.Bind([](TObject*, char32_t& key) {
    if (key == U'x') key = 0;
  });
  ShowForm();
  QTest::keyClicks(Line(), "axb");
  EXPECT_EQ(edit->Text(), "ab");
}

TEST_F(EditTest, MaxLengthLimitsTyping) {
  edit->SetMaxLength(3);
  ShowForm();
  QTest::keyClicks(Line(), "abcdef");
  EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(EditTest, SelTextReplacesTheSelectionAsTypingWould) {
  edit->SetText("hello world");
  edit->SetSelStart(6);
  edit->SetSelLength(5);
  EXPECT_EQ(edit->SelText(), "world");
  texts.clear();
  edit->SetSelText("there");
  EXPECT_EQ(edit->Text(), "hello there");
  EXPECT_EQ(texts, (std::vector<std::string>{"hello there"}));
}

TEST_F(EditTest, EnterAndExitFireOnceWhenTheFocusMovesToAnotherControl) {
  auto* other = Put<TEdit>(10, 50, 150, 24);
  std::vector<std::string> focus;
  edit->OnEnter.Bind([&focus](TObject*) { focus.push_back("enter edit"); });
  edit->OnExit.Bind([&focus](TObject*) { focus.push_back("exit edit"); });
  other->OnEnter.Bind([&focus](TObject*) { focus.push_back("enter other"); });
  ShowForm();
  QApplication::setActiveWindow(Widget()->window());
  edit->SetFocus();
  other->SetFocus();
  EXPECT_EQ(focus, (std::vector<std::string>{"enter edit", "exit edit", "enter other"}));
}

// ---- combo boxes ----

class ComboTest : public NativeTest {
 protected:
  void SetUp() override {
    NativeTest::SetUp();
    combo = Put<TComboBox>(10, 10, 150, 24);
    combo->Items()->SetText("square1\nsquare2\neclipse\n");
    combo->OnChange.Bind([this](TObject*) { texts.push_back(std::to_string(combo->ItemIndex()) + " " + combo->Text()); });
  }
  QComboBox* Box() { return QtOf<QComboBox>(combo); }
  TComboBox* combo = nullptr;
};

TEST_F(ComboTest, ItemsAndChoiceSetBeforeTheWindowShowInTheWidget) {
  auto* late = New<TComboBox>(form);
  late->SetStyle(csDropDownList);
  late->Items()->Add("one");
  late->Items()->Add("two");
  late->SetItemIndex(1);
  late->SetParent(form);
  ShowForm();
  QComboBox* box = QtOf<QComboBox>(late);
  ASSERT_EQ(box->count(), 2);
  EXPECT_EQ(box->itemText(0), "one");
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(late->Text(), "two");
  EXPECT_FALSE(box->isEditable());
}

TEST_F(ComboTest, ChoosingInTheOpenListMovesItemIndexAndTextAndFiresOnChange) {
  combo->SetStyle(csDropDownList);
  ShowForm();
  Box()->showPopup();
  QAbstractItemView* list = Box()->view();
  list->setCurrentIndex(list->model()->index(2, 0));
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "eclipse");
  EXPECT_EQ(texts, (std::vector<std::string>{"2 eclipse"}));
  EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(ComboTest, OnDropDownFiresBeforeTheListOpens) {
  std::vector<bool> openWhenTold;
  combo->OnDropDown.Bind([&](TObject*) { openWhenTold.push_back(combo->DroppedDown()); });
  ShowForm();
  Box()->showPopup();
  EXPECT_EQ(openWhenTold, (std::vector<bool>{false}));
  EXPECT_TRUE(combo->DroppedDown());
  Box()->hidePopup();
}

TEST_F(ComboTest, TheOpenListIsNoFocusChange) {
  int exits = 0, enters = 0;
  combo->OnExit.Bind([&exits](TObject*) { ++exits; });
  combo->OnEnter.Bind([&enters](TObject*) { ++enters; });
  ShowForm();
  QApplication::setActiveWindow(Widget()->window());
  combo->SetFocus();
  Box()->showPopup();
  Box()->hidePopup();
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(exits, 0);
}

TEST_F(ComboTest, TypingInTheEditBoxKeepsWhatIsTypedWithoutCompletingIt) {
  ShowForm();
  QTest::keyClicks(Box()->lineEdit(), "sq");
  EXPECT_EQ(combo->Text(), "sq");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(texts, (std::vector<std::string>{"-1 s", "-1 sq"}));
  EXPECT_EQ(combo->Items()->Count(), 3);

  // The list filled again while the user types (items read in the background): the text, the
  // caret and the typing go on where they were.
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Home);
  combo->Items()->BeginUpdate();
  combo->Items()->Insert(1, "square");
  combo->Items()->EndUpdate();
  QTest::keyClicks(Box()->lineEdit(), "x");
  EXPECT_EQ(combo->Text(), "xsq");
}

TEST_F(ComboTest, ChangesByCodeFireNoOnChange) {
  ShowForm();
  combo->SetItemIndex(1);
  combo->SetText("typed");
  combo->Items()->Insert(0, "first");
  combo->SetStyle(csDropDownList);
  combo->SetItemIndex(0);
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(Box()->currentText(), "first");
}

TEST_F(ComboTest, TheChoiceStaysOnItsItemAndGoesWithIt) {
  combo->SetStyle(csDropDownList);
  combo->SetItemIndex(1);
  ShowForm();
  combo->Items()->Insert(0, "new");
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(Box()->currentIndex(), 2);
  combo->Items()->Delete(2);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  EXPECT_EQ(Box()->currentIndex(), -1);
}

struct ListTextCase {
  const char* name;
  int chosen;          // before
  const char* text;    // set by code
  int expectedIndex;
  const char* expectedText;
};

class DropDownListText : public ::testing::TestWithParam<ListTextCase> {};

TEST_P(DropDownListText, ChoosesTheItemItNamesOrKeepsTheChoice) {
  TestApp();
  const ListTextCase& c = GetParam();
  auto* combo = New<TComboBox>(nullptr);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetText("square1\nSquare2\neclipse\n");
  combo->SetItemIndex(c.chosen);
  combo->SetText(c.text);
  EXPECT_EQ(combo->ItemIndex(), c.expectedIndex);
  EXPECT_EQ(combo->Text(), c.expectedText);
  combo->Free();
}

INSTANTIATE_TEST_SUITE_P(Texts, DropDownListText,
                         ::testing::Values(ListTextCase{"Item", -1, "eclipse", 2, "eclipse"},
                                           ListTextCase{"OtherLetterCase", 0, "SQUARE2", 1, "Square2"},
                                           ListTextCase{"UnknownKeepsTheChoice", 2, "diamond", 2, "eclipse"},
                                           ListTextCase{"UnknownWithoutAChoice", -1, "diamond", -1, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- list boxes ----

class ListBoxTest : public NativeTest {
 protected:
  void SetUp() override {
    NativeTest::SetUp();
    list = Put<TListBox>(10, 10, 200, 150);
    list->Items()->SetText("PACKING\nSHIPTO\nVIA\n");
    list->OnClick.Bind([this](TObject*) { texts.push_back("click " + std::to_string(list->ItemIndex())); });
    list->OnDblClick.Bind([this](TObject*) { texts.push_back("double " + std::to_string(list->ItemIndex())); });
  }
  QPoint ItemCentre(int row) {
    auto* widget = QtOf<QListWidget>(list);
    return widget->visualItemRect(widget->item(row)).center();
  }
  QWidget* Viewport() { return QtOf<QListWidget>(list)->viewport(); }
  TListBox* list = nullptr;
};

TEST_F(ListBoxTest, DoubleClickOnAnItemFiresOnDblClickWithItemIndexOnIt) {
  ShowForm();
  QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, ItemCentre(1));
  QTest::mouseDClick(Viewport(), Qt::LeftButton, Qt::NoModifier, ItemCentre(1));
  QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::NoModifier, ItemCentre(1));
  EXPECT_EQ(texts, (std::vector<std::string>{"click 1", "double 1"}));
}

TEST_F(ListBoxTest, ClickingAnItemChoosesItButCodeFiresNoClick) {
  list->SetItemIndex(0);
  ShowForm();
  EXPECT_EQ(QtOf<QListWidget>(list)->currentRow(), 0);
  QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, ItemCentre(2));
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(texts, (std::vector<std::string>{"click 2"}));
}

TEST_F(ListBoxTest, ASortedListAddsInOrderAndTheChoiceFollowsItsItem) {
  list->SetItemIndex(1);  // SHIPTO
  list->SetSorted(true);
  list->Items()->Add("NW");
  list->Items()->Add("cuft");
  EXPECT_EQ(Strings(*list->Items()), (std::vector<std::string>{"cuft", "NW", "PACKING", "SHIPTO", "VIA"}));
  ShowForm();
  EXPECT_EQ(list->ItemIndex(), -1);  // sorting chose nothing again
  list->SetItemIndex(3);
  list->Items()->Delete(0);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(QtOf<QListWidget>(list)->currentItem()->text(), "SHIPTO");
  list->Items()->Delete(2);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(QtOf<QListWidget>(list)->currentRow(), -1);
}

// ---- string grids ----

class GridTest : public NativeTest {
 protected:
  void SetUp() override {
    NativeTest::SetUp();
    grid = Put<TStringGrid>(20, 20, 360, 200);
    grid->OnMouseDown.Bind([this](TObject*, TMouseButton, TShiftState, int x, int y) {
      pressedAt = {x, y};
      rowAtPress = grid->Row();
    });
  }
  QTableWidget* Table() { return QtOf<QTableWidget>(grid); }
  // A point of the grid's client area, on its viewport.
  QPoint OnViewport(TPoint p) { return Table()->viewport()->mapFrom(Table(), QPoint(p.X, p.Y)); }
  static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  void Press(TPoint p) { QTest::mouseClick(Table()->viewport(), Qt::LeftButton, Qt::NoModifier, OnViewport(p)); }

  TStringGrid* grid = nullptr;
  TPoint pressedAt{-1, -1};
  int rowAtPress = -1;
};

class GridCellClick : public GridTest, public ::testing::WithParamInterface<TPoint> {};

TEST_P(GridCellClick, PressAtTheCellRectMakesThatCellCurrent) {
  const TPoint cell = GetParam();
  grid->SetColWidths(2, 90);
  grid->SetRowHeights(3, 30);
  ShowForm();
  TRect rect = grid->CellRect(cell.X, cell.Y);
  EXPECT_EQ(rect.Width(), grid->ColWidths(cell.X));
  int col = -2, row = -2;
  grid->MouseToCell(Centre(rect).X, Centre(rect).Y, col, row);
  EXPECT_EQ(col, cell.X);
  EXPECT_EQ(row, cell.Y);
  Press(Centre(rect));
  EXPECT_EQ(grid->Col(), cell.X);
  EXPECT_EQ(grid->Row(), cell.Y);
  // The mouse event reports the same client coordinates, after the press moved the current cell.
  EXPECT_EQ(pressedAt.X, Centre(rect).X);
  EXPECT_EQ(pressedAt.Y, Centre(rect).Y);
  EXPECT_EQ(rowAtPress, cell.Y);
}

INSTANTIATE_TEST_SUITE_P(Cells, GridCellClick, ::testing::Values(TPoint{1, 1}, TPoint{2, 3}, TPoint{4, 2}, TPoint{3, 4}),
                         [](const auto& info) {
                           return "Col" + std::to_string(info.param.X) + "Row" + std::to_string(info.param.Y);
                         });

TEST_F(GridTest, PressOnAFixedCellOrBelowTheRowsKeepsTheCurrentCell) {
  grid->SetRowCount(3);
  grid->SetRow(2);
  ShowForm();
  Press(Centre(grid->CellRect(2, 0)));
  Press(Centre(grid->CellRect(0, 1)));
  TRect last = grid->CellRect(2, 2);
  Press({Centre(last).X, last.Bottom + 20});
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 1);  // the first column after the fixed one
  EXPECT_EQ(Table()->currentColumn(), 1);
  EXPECT_EQ(rowAtPress, 2);
}

TEST_F(GridTest, CellsSetBeforeTheWindowShowAndFixedCellsAreInTheFixedColour) {
  grid->SetCells(1, 0, "屬性");
  grid->SetCells(2, 3, "value");
  grid->SetFixedColor(kPanelColor);
  ShowForm();
  EXPECT_EQ(Table()->item(0, 1)->text(), "屬性");
  EXPECT_EQ(Table()->item(3, 2)->text(), "value");
  QImage image = Table()->grab().toImage();
  TRect fixed = grid->CellRect(3, 0);
  TRect plain = grid->CellRect(3, 3);
  EXPECT_EQ(image.pixel(fixed.Left + 2, fixed.Bottom - 2) | 0xFF000000u, Rgb(kPanelColor) | 0xFF000000u);
  EXPECT_NE(image.pixel(plain.Left + 2, plain.Bottom - 2) | 0xFF000000u, Rgb(kPanelColor) | 0xFF000000u);
}

TEST_F(GridTest, FewerRowsKeepTheCellsThatFitAndLeaveOneRowUnfixed) {
  grid->SetCells(1, 1, "kept");
  grid->SetCells(1, 3, "dropped");
  grid->SetRow(3);
  grid->SetRowCount(2);
  EXPECT_EQ(grid->Row(), 1);
  grid->SetRowCount(4);
  EXPECT_EQ(grid->Cells(1, 1), "kept");
  EXPECT_EQ(grid->Cells(1, 3), "");
  grid->SetRowCount(1);
  EXPECT_EQ(grid->FixedRows(), 0);
  EXPECT_EQ(grid->Row(), 0);
  EXPECT_THROW(grid->SetFixedRows(1), EInvalidGridOperation);
  EXPECT_THROW(grid->SetCells(1, 1, "outside"), EInvalidGridOperation);
  EXPECT_THROW(grid->SetCol(0), EInvalidGridOperation);  // a fixed column
}

TEST_F(GridTest, AColumnOfWidthZeroLeavesOnlyItsLine) {
  grid->SetFixedCols(0);
  grid->SetColWidths(0, 0);
  TRect before = grid->CellRect(1, 2);
  ShowForm();
  TRect hidden = grid->CellRect(0, 2), next = grid->CellRect(1, 2);
  EXPECT_EQ(next, before);  // the same whether the grid was shown yet or not
  EXPECT_EQ(hidden.Width(), 0);
  EXPECT_EQ(next.Left, hidden.Right + 1);
  EXPECT_EQ(grid->CellRect(2, 2).Left, next.Right + 1);
}

TEST_F(GridTest, DraggingAColumnEdgeInAFixedRowSizesTheColumnWithColSizing) {
  ShowForm();
  auto drag = [this](int col, int by) {
    TRect head = grid->CellRect(col, 0);
    QPoint edge = OnViewport({head.Right, Centre(head).Y});
    QWidget* viewport = Table()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, edge);
    QTest::mouseMove(viewport, edge + QPoint(by, 0));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, edge + QPoint(by, 0));
  };
  drag(1, 20);
  EXPECT_EQ(grid->ColWidths(1), 64);
  grid->SetOptions(grid->Options() + TGridOptions{goColSizing});
  drag(1, 20);
  EXPECT_EQ(grid->ColWidths(1), 84);
  EXPECT_EQ(grid->CellRect(1, 2).Width(), 84);
}

TEST_F(GridTest, OnSelectCellCanKeepTheUserOnTheCurrentCell) {
  grid->OnSelectCell.Bind([](TObject*, int col, int, bool& canSelect) { canSelect = col != 3; });
  ShowForm();
  Press(Centre(grid->CellRect(3, 2)));
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(Table()->currentColumn(), 1);
  Press(Centre(grid->CellRect(2, 2)));
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 2);
}

// ---- radio groups ----

class RadioGroupTest : public NativeTest {
 protected:
  void SetUp() override {
    NativeTest::SetUp();
    group = Put<TRadioGroup>(10, 10, 240, 160);
    group->SetCaption("圖形");
    group->Items()->SetText("矩形\n菱形\n三角形(上)\n三角形(下)\n橢圓形\n");
    group->OnClick.Bind([this](TObject*) { texts.push_back(std::to_string(group->ItemIndex())); });
  }
  QRadioButton* Button(int index) {
    return qobject_cast<QRadioButton*>(QtOf<QGroupBox>(group)->findChild<QButtonGroup*>()->button(index));
  }
  // On the button's circle: Qt takes clicks on the circle and the text only.
  void ClickButton(int index) {
    QPoint circle(6, Button(index)->height() / 2);
    QTest::mouseClick(Button(index), Qt::LeftButton, Qt::NoModifier, circle);
  }
  TRadioGroup* group = nullptr;
};

TEST_F(RadioGroupTest, ClickingAButtonChoosesItsItemAndFiresOnClickOnce) {
  ShowForm();
  EXPECT_EQ(group->ItemIndex(), -1);
  ClickButton(3);
  ClickButton(3);
  EXPECT_EQ(group->ItemIndex(), 3);
  EXPECT_TRUE(Button(3)->isChecked());
  EXPECT_EQ(texts, (std::vector<std::string>{"3"}));
  group->SetItemIndex(-1);
  EXPECT_FALSE(Button(3)->isChecked());
  EXPECT_EQ(texts.size(), 1u);
}

TEST_F(RadioGroupTest, ColumnsFillTopToBottom) {
  group->SetColumns(2);
  ShowForm();
  EXPECT_EQ(QtOf<QGroupBox>(group)->title(), "圖形");
  // Five items in two columns: three in the first, two in the second.
  EXPECT_EQ(Button(1)->x(), Button(0)->x());
  EXPECT_GT(Button(1)->y(), Button(0)->y());
  EXPECT_GT(Button(3)->x(), Button(2)->x());
  EXPECT_EQ(Button(3)->y(), Button(0)->y());
}

// ---- bit buttons ----

struct KindCase {
  TBitBtnKind kind;
  const char* caption;
  int modalResult;
  bool isDefault;
  bool isCancel;
};

class BitBtnKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(BitBtnKinds, KindGivesCaptionModalResultAndKeys) {
  TestApp();
  const KindCase& c = GetParam();
  auto* button = New<TBitBtn>(nullptr);
  button->SetKind(c.kind);
  EXPECT_EQ(button->Caption(), c.caption);
  EXPECT_EQ(button->ModalResult(), c.modalResult);
  EXPECT_EQ(button->Default(), c.isDefault);
  EXPECT_EQ(button->Cancel(), c.isCancel);
  EXPECT_FALSE(button->IsCaptionStored());
  EXPECT_FALSE(button->IsModalResultStored());
  button->Free();
}

INSTANTIATE_TEST_SUITE_P(Kinds, BitBtnKinds,
                         ::testing::Values(KindCase{bkOK, "OK", mrOk, true, false},
                                           KindCase{bkCancel, "Cancel", mrCancel, false, true},
                                           KindCase{bkHelp, "&Help", mrNone, false, false},
                                           KindCase{bkYes, "&Yes", mrYes, true, false},
                                           KindCase{bkNo, "&No", mrNo, false, true},
                                           KindCase{bkAbort, "Abort", mrAbort, false, false},
                                           KindCase{bkRetry, "&Retry", mrRetry, false, false},
                                           KindCase{bkIgnore, "&Ignore", mrIgnore, false, false},
                                           KindCase{bkAll, "&All", mrAll, false, false}),
                         [](const auto& info) { return GetEnumName(TypeInfoOf(&info.param.kind), info.param.kind); });

TEST_F(NativeTest, AClickGivesTheFormTheResultBeforeOnClickWhichMayTakeItBack) {
  auto* ok = Put<TBitBtn>(10, 10, 80, 28);
  ok->SetKind(bkOK);
  std::vector<int> seen;
  bool veto = false;
  ok->OnClick.Bind([&](TObject*) {
    seen.push_back(form->ModalResult());
    if (veto) form->SetModalResult(mrNone);
  });
  ShowForm();
  EXPECT_FALSE(QtOf<QPushButton>(ok)->icon().isNull());
  QPushButton* push = QtOf<QPushButton>(ok);
  QTest::mouseClick(push, Qt::LeftButton, Qt::NoModifier, push->rect().center());
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);
  veto = true;
  QTest::mouseClick(push, Qt::LeftButton, Qt::NoModifier, push->rect().center());
  EXPECT_EQ(form->ModalResult(), mrNone);
  EXPECT_EQ(seen, (std::vector<int>{mrOk, mrOk}));
}

TEST_F(NativeTest, AModalFormEndsWithTheResultOfTheButtonClicked) {
  auto* cancel = Put<TBitBtn>(100, 10, 80, 28);
  cancel->SetKind(bkCancel);
  QTimer::singleShot(0, [cancel] { QtOf<QPushButton>(cancel)->click(); });
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(NativeTest, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
  auto* ok = Put<TBitBtn>(10, 10, 80, 28);
  auto* cancel = Put<TBitBtn>(100, 10, 80, 28);
  ok->SetKind(bkOK);
  cancel->SetKind(bkCancel);
  EXPECT_TRUE(PressDialogButton(form, VK_ESCAPE));
  EXPECT_EQ(form->ModalResult(), mrCancel);
  ok->SetEnabled(false);
  EXPECT_FALSE(PressDialogButton(form, VK_RETURN));
  ok->SetEnabled(true);
  EXPECT_TRUE(PressDialogButton(form, VK_RETURN));
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_FALSE(PressDialogButton(form, VK_SPACE));
}

// ---- bevels ----

struct BevelCase {
  TBevelShape shape;
  TBevelStyle style;
  int row;           // a row of the 40 x 20 bevel and the colour it has there
  TColor colour;
};

class BevelLines : public NativeTest, public ::testing::WithParamInterface<BevelCase> {};

TEST_P(BevelLines, LowerTheirTopLeftEdgeInShadowAndRaiseItInLight) {
  const BevelCase& c = GetParam();
  form->SetColor(kPanelColor);
  auto* bevel = New<TBevel>(form);
  bevel->SetParent(form);
  bevel->SetBounds(10, 10, 40, 20);
  bevel->SetShape(c.shape);
  bevel->SetStyle(c.style);
  ShowForm();
  QImage image = Grab();
  EXPECT_EQ(image.pixel(30, 10 + c.row), Rgb(c.colour) | 0xFF000000u);
}

INSTANTIATE_TEST_SUITE_P(Shapes, BevelLines,
                         ::testing::Values(BevelCase{bsTopLine, bsLowered, 0, clBtnShadow},
                                           BevelCase{bsTopLine, bsLowered, 1, clBtnHighlight},
                                           BevelCase{bsTopLine, bsRaised, 0, clBtnHighlight},
                                           BevelCase{bsBottomLine, bsLowered, 18, clBtnShadow},
                                           BevelCase{bsBottomLine, bsLowered, 19, clBtnHighlight},
                                           BevelCase{bsBox, bsLowered, 19, clBtnHighlight},
                                           BevelCase{bsFrame, bsLowered, 1, clBtnHighlight},
                                           BevelCase{bsSpacer, bsLowered, 0, kPanelColor}));

// ---- layouts ----

TEST_F(NativeTest, ALayoutKeepsItemsIndexesAndSizesThroughTheStream) {
  RegisterStandardControls();
  const std::string text =
      "object Form1: TForm\n"
      "  object Kinds: TComboBox\n"
      "    Left = 5\n    Top = 6\n    Width = 173\n    Height = 24\n"
      "    Style = csDropDownList\n    Text = 'eclipse'\n"
      "    Items.Strings = (\n      'square1'\n      'eclipse')\n"
      "  end\n"
      "  object Shapes: TRadioGroup\n"
      "    Left = 0\n    Top = 40\n    Width = 121\n    Height = 150\n"
      "    ItemIndex = 1\n"
      "    Items.Strings = (\n      '矩形'\n      '菱形')\n"
      "  end\n"
      "  object Grid: TStringGrid\n"
      "    Left = 130\n    Top = 40\n    Width = 230\n    Height = 150\n"
      "    ColCount = 3\n    FixedCols = 0\n"
      "    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goColSizing]\n"
      "    ScrollBars = ssVertical\n"
      "    ColWidths = (\n      0\n      80\n      100)\n"
      "  end\n"
      "  object Ok: TBitBtn\n"
      "    Left = 234\n    Top = 176\n    Width = 129\n    Height = 41\n"
      "    Caption = '&OK'\n    Kind = bkOK\n"
      "  end\n"
      "end\n";
  TMemoryStream in(TextToStream(text));
  TReader(in).ReadRootComponent(form);
  auto* kinds = dynamic_cast<TComboBox*>(form->FindComponent("Kinds"));
  auto* shapes = dynamic_cast<TRadioGroup*>(form->FindComponent("Shapes"));
  auto* grid = dynamic_cast<TStringGrid*>(form->FindComponent("Grid"));
  auto* ok = dynamic_cast<TBitBtn*>(form->FindComponent("Ok"));
  ASSERT_TRUE(kinds && shapes && grid && ok);
  EXPECT_EQ(Strings(*kinds->Items()), (std::vector<std::string>{"square1", "eclipse"}));
  EXPECT_EQ(kinds->ItemIndex(), 1);  // the text was read before the items it names
  EXPECT_EQ(shapes->ItemIndex(), 1);  // and the index before the items it counts in
  EXPECT_EQ(grid->ColWidths(0), 0);
  EXPECT_EQ(grid->ColWidths(2), 100);
  EXPECT_EQ(ok->Caption(), "&OK");
  EXPECT_EQ(ok->ModalResult(), mrOk);

  TMemoryStream out;
  TWriter(out).WriteRootComponent(form);
  const std::string written = StreamToText(out.Bytes());
  EXPECT_NE(written.find("Items.Strings = (\n      'square1'\n      'eclipse')"), std::string::npos) << written;
  EXPECT_NE(written.find("ColWidths = (\n      0\n      80\n      100)"), std::string::npos) << written;
  EXPECT_NE(written.find("Caption = '&OK'"), std::string::npos) << written;
  EXPECT_EQ(written.find("ModalResult"), std::string::npos) << written;  // the kind gives it
  EXPECT_EQ(written.find("RowHeights"), std::string::npos) << written;   // all the default
}

}  // namespace
