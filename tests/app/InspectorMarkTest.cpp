// The property window of a mark editor, used as a clerk uses it: elements selected on the stage,
// rows pressed, values typed and confirmed with Enter, chosen from the drop-down and from the
// colour and font dialogs; wrong values refused with a message and nothing changed.

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include <cstddef>
#include <string>
#include <vector>

#include "design/inspector/DsnProp.h"
#include "design/inspector/DsnSpctr.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
#include "platform/controls/SpeedButton.h"
#include "platform/controls/ToolBar.h"
#include "platform/graphics/Font.h"
#include "tests/app/MarkInputFixture.h"

namespace {

using marks_test::MarkInputTest;
using marks_test::SpotOf;

// A label made in one fixed place of memory, so that the test can make a new one at the address of
// one freed before. A plain build's heap does that all the time; the sanitizer's quarantine never
// does, which would hide every fault that mistakes a new component for a freed one.
class TSlotLabel : public TLabel {
 public:
  static void* operator new(size_t size) {
    EXPECT_LE(size, sizeof(slot_));
    EXPECT_FALSE(taken_) << "one slot label at a time";
    taken_ = true;
    return slot_;
  }
  static void operator delete(void*) { taken_ = false; }

 private:
  alignas(std::max_align_t) static inline unsigned char slot_[sizeof(TLabel) + 256];
  static inline bool taken_ = false;
};

class InspectorMarkTest : public MarkInputTest {
 protected:
  void TearDown() override {
    SetDialogHook(nullptr);
    MarkInputTest::TearDown();
  }

  // Starts the program with design mode on in the side mark's editor.
  Tfmmd* StartDesigning() {
    Start();
    Tfmmd* side = Editor("1");
    EXPECT_NE(side, nullptr);
    ClickOn(side->b1);
    EXPECT_TRUE(side->DsnStage1->DesignActive());
    return side;
  }
  static TInspectorFm* Window(Tfmmd* editor) { return editor->DsnInspector1->Window(); }
  static TStringGrid* Grid(Tfmmd* editor) { return Window(editor)->StringGrid1; }

  // The rows as the window shows them: caption = value.
  static std::vector<std::string> Rows(Tfmmd* editor) {
    std::vector<std::string> rows;
    TStringGrid* grid = Grid(editor);
    for (int r = 1; r < grid->RowCount(); ++r) rows.push_back(grid->Cells(1, r) + " = " + grid->Cells(2, r));
    return rows;
  }
  int RowOf(Tfmmd* editor, const std::string& caption) {
    TStringGrid* grid = Grid(editor);
    for (int r = 1; r < grid->RowCount(); ++r)
      if (grid->Cells(1, r) == caption) return r;
    ADD_FAILURE() << "no row " << caption;
    return -1;
  }
  // A press on the value cell of a row.
  void PressRow(Tfmmd* editor, const std::string& caption) {
    TStringGrid* grid = Grid(editor);
    const TRect cell = grid->CellRect(2, RowOf(editor, caption));
    const auto spot = SpotOf(grid, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    QTest::mouseClick(spot.window, Qt::LeftButton, Qt::NoModifier, spot.at);
    Settle();
  }
  void Type(const std::string& text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClicks(focus, QString::fromStdString(text));
    Settle();
  }
  void Press(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key);
    Settle();
  }
  // What a user sees of three elements.
  static std::string State(TLabel* label, tshape2* shape, TDBText* text) {
    std::string state;
    for (TControl* c : std::vector<TControl*>{label, shape, text})
      state += c->Caption() + "|" + std::to_string(c->Color()) + "|" + c->Font()->Name() + "|" +
               std::to_string(c->Font()->Height()) + "|" + std::to_string(c->Width()) + ";";
    return state + std::to_string(shape->kind()) + text->DataField();
  }
  // Opens the drop-down of an enumeration row and clicks the entry `value`.
  void Choose(Tfmmd* editor, const std::string& value) {
    TComboBox* combo = Window(editor)->ComboBox2;
    ASSERT_TRUE(combo->Visible());
    auto* widget = dynamic_cast<QComboBox*>(WindowWidget(combo->Handle()));
    ASSERT_NE(widget, nullptr);
    widget->showPopup();
    Settle();
    const int index = widget->findText(QString::fromStdString(value));
    ASSERT_GE(index, 0) << value;
    QAbstractItemView* list = widget->view();
    const QRect item = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
    Settle();
  }
};

TEST_F(InspectorMarkTest, ACaptionTypedIntoTheWindowReachesTheLabelOnEnter) {
  Tfmmd* side = StartDesigning();
  TDsnInspector* inspector = side->DsnInspector1;
  ASSERT_NE(Window(side), nullptr) << "design mode opens the property window";
  EXPECT_EQ(Window(side)->Caption(), "屬性視窗");
  EXPECT_EQ(inspector->Position()->Left, main_->Left() + main_->Width() - 230 - 10);
  EXPECT_EQ(Window(side)->Left(), inspector->Position()->Left);
  EXPECT_EQ(Grid(side)->Cells(1, 0), "屬性");
  EXPECT_EQ(Grid(side)->Cells(2, 0), "設定值");

  TLabel* label = PlaceLabel(side, "PO/NO", 16, 16);
  ClickOn(side->b1);  // design mode off and on again covers the new label
  ClickOn(side->b1);
  ClickOn(label);
  EXPECT_EQ(Rows(side), (std::vector<std::string>{"文字內容 = PO/NO", "顏色 = 16777215", "字型 = (TFont)"}));

  PressRow(side, "文字內容");
  TEdit* edit = Window(side)->Edit1;
  EXPECT_TRUE(edit->Focused()) << "the caption's edit box takes the focus";
  EXPECT_EQ(edit->SelText(), "PO/NO") << "with all its text selected";
  Type("DESTINATION");
  EXPECT_EQ(label->Caption(), "PO/NO") << "nothing applies while typing";
  Press(Qt::Key_Return);
  EXPECT_EQ(label->Caption(), "DESTINATION");
  EXPECT_EQ(Rows(side).front(), "文字內容 = DESTINATION");
  EXPECT_TRUE(edit->Focused()) << "Enter keeps the editor on its row";
  EXPECT_GE(edit->Left(), 0);

  // Escape puts the shown value back.
  Type("GARBAGE");
  Press(Qt::Key_Escape);
  EXPECT_EQ(edit->Text(), "DESTINATION");
  EXPECT_EQ(label->Caption(), "DESTINATION");

  // A caption typed and then a press on the colour row: the caption applies first, then the
  // colour row gets the button over a disabled edit box.
  Type("N.W.");
  PressRow(side, "顏色");
  EXPECT_EQ(label->Caption(), "N.W.");
  EXPECT_TRUE(Window(side)->Panel2->Visible());
  EXPECT_FALSE(edit->Enabled());
  EXPECT_EQ(edit->Text(), "16777215");

  // The window closed with its caption button comes back with the next selection.
  Window(side)->Close();
  Settle();
  EXPECT_FALSE(Window(side)->Visible());
  ClickOn(label);
  EXPECT_TRUE(Window(side)->Visible());

  ClickOn(side->b1);
  EXPECT_EQ(Window(side), nullptr) << "design mode off closes the window";
}

// One of two selected elements freed by code (a load, an event handler) and a new element made at
// the same address, then added with Shift+click: a caption typed into the property window reaches
// both elements selected, the new one included.
TEST_F(InspectorMarkTest, AnElementMadeWhereAFreedSelectedOneWasIsEditedWithTheSelection) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  auto* old = New<TSlotLabel>(side);
  old->SetParent(side->DsnStage1);
  old->SetBounds(16, 16, 90, 20);
  old->SetCaption("PO/NO");
  TLabel* kept = PlaceLabel(side, "Q'TY", 16, 64);
  ClickOn(side->b1);
  DragOnStage(side, {300, 150}, {8, 8});  // a band over both
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 2);

  const void* address = old;
  old->Free();
  Settle();
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 1);
  auto* fresh = New<TSlotLabel>(side);
  ASSERT_EQ(static_cast<const void*>(fresh), address);
  fresh->SetParent(side->DsnStage1);
  fresh->SetBounds(16, 112, 90, 20);
  fresh->SetCaption("N.W.");
  const auto spot = SpotOf(fresh, 20, 10);
  QTest::mouseClick(spot.window, Qt::LeftButton, Qt::ShiftModifier, spot.at);
  Settle();
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 2);
  PressRow(side, "文字內容");
  Type("C/NO.");
  Press(Qt::Key_Return);
  EXPECT_EQ(kept->Caption(), "C/NO.");
  EXPECT_EQ(fresh->Caption(), "C/NO.") << "the property window edits the whole selection";
}

TEST_F(InspectorMarkTest, ButtonNamesMatchExactlyAndAnEmptyCaptionShowsThePropertyName) {
  Start();
  Tfmmd* side = Editor("1");
  side->DsnInspector1->BtnProps()->SetText("color\nFont\n");
  side->DsnInspector1->ShowProps()->aCaptionCp = "";
  TLabel* label = PlaceLabel(side, "PO/NO", 16, 16);
  ClickOn(side->b1);
  ClickOn(label);
  EXPECT_EQ(Rows(side).front(), "Caption = PO/NO");
  PressRow(side, "顏色");
  EXPECT_FALSE(Window(side)->Panel2->Visible()) << "color is not Color: an edit box, no button";
  EXPECT_TRUE(Window(side)->Edit1->Enabled());
  Type("255");
  PressRow(side, "字型");
  EXPECT_EQ(label->Color(), 255) << "leaving the colour's edit box applies it";
  EXPECT_TRUE(Window(side)->Panel2->Visible());
}

TEST_F(InspectorMarkTest, AShapesKindIsChosenFromTheDropDownAndTheStageShowsIt) {
  Tfmmd* side = StartDesigning();
  ClickOn(ShapeButton(square1));
  DragOnStage(side, {40, 40}, {104, 104});
  std::vector<TControl*> made = Elements(side);
  ASSERT_EQ(made.size(), 1u);
  auto* shape = dynamic_cast<tshape2*>(made[0]);
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(Rows(side), (std::vector<std::string>{"文字內容 = ", "顏色 = 16777215", "字型 = (TFont)", "kind = square1"}));

  QWidget* stage = WindowWidget(side->DsnStage1->Handle());
  const QImage square = stage->grab().toImage();
  PressRow(side, "kind");
  TComboBox* combo = Window(side)->ComboBox2;
  ASSERT_TRUE(combo->Visible());
  std::vector<std::string> names;
  for (int i = 0; i < combo->Items()->Count(); ++i) names.push_back(combo->Items()->Get(i));
  EXPECT_EQ(names, (std::vector<std::string>{"square1", "square2", "triangle1", "triangle2", "eclipse", "lab", "field"}));
  Choose(side, "eclipse");
  EXPECT_EQ(shape->kind(), eclipse) << "a choice applies at once";
  EXPECT_EQ(Rows(side).back(), "kind = eclipse");
  const QImage ellipse = stage->grab().toImage();
  EXPECT_NE(ellipse, square) << "the stage shows the new figure";
  auto dark = [&](int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) count += (ellipse.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    return count;
  };
  const int l = shape->Left();
  const int t = shape->Top();
  EXPECT_EQ(dark(l + 5, t + 5, l + 8, t + 8), 0) << "an ellipse leaves the corner white";
  EXPECT_GT(dark(l + shape->Width() / 2 - 1, t + 1, l + shape->Width() / 2 + 1, t + 6), 0) << "and draws its top";

  // A name typed to its end applies too; a wrong one is refused on Enter and changes nothing.
  QWidget* edit = WindowWidget(combo->Handle());
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, "ecl");
  Settle();
  EXPECT_EQ(shape->kind(), eclipse);
  EXPECT_TRUE(warnings_.empty()) << "a name still being typed is no error";
  QTest::keyClick(edit, Qt::Key_Return);
  Settle();
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(warnings_[0], "ecl is illegal (kind).") << "the message as the error display shows it";
  EXPECT_EQ(shape->kind(), eclipse);
  EXPECT_EQ(Rows(side).back(), "kind = eclipse");
}

TEST_F(InspectorMarkTest, ColourAndFontFromTheirDialogsReachEverySelectedElement) {
  Tfmmd* side = StartDesigning();
  TLabel* a = PlaceLabel(side, "PO/NO", 16, 16);
  TLabel* b = PlaceLabel(side, "Q'TY", 16, 64);
  b->SetColor(clBlack);
  ClickOn(side->b1);
  ClickOn(side->b1);
  DragOnStage(side, {300, 150}, {8, 8});  // a band over both
  ASSERT_EQ(side->DsnStage1->SelectedCount(), 2);
  EXPECT_EQ(Rows(side), (std::vector<std::string>{"文字內容 = PO/NO", "顏色 = ", "字型 = "}));

  std::vector<std::string> asked;
  SetDialogHook([&](TCommonDialog& dialog) {
    if (auto* colour = dynamic_cast<TColorDialog*>(&dialog)) {
      asked.push_back("colour");
      colour->SetColor(255);
    }
    if (auto* font = dynamic_cast<TFontDialog*>(&dialog)) {
      asked.push_back("font " + font->Font()->Name());
      font->Font()->SetName("DejaVu Serif");
      font->Font()->SetHeight(-20);
    }
    return true;
  });
  PressRow(side, "顏色");
  ClickOn(Window(side)->SpeedButton1);
  EXPECT_EQ(a->Color(), 255);
  EXPECT_EQ(b->Color(), 255);
  EXPECT_EQ(Rows(side)[1], "顏色 = 255");

  const std::string before = a->Font()->Name();
  PressRow(side, "字型");
  ClickOn(Window(side)->SpeedButton1);
  EXPECT_EQ(asked, (std::vector<std::string>{"colour", "font " + before}));
  for (TLabel* label : {a, b}) {
    EXPECT_EQ(label->Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(label->Font()->Height(), -20);
  }

  // A cancelled dialog changes nothing.
  SetDialogHook([](TCommonDialog& dialog) {
    if (auto* colour = dynamic_cast<TColorDialog*>(&dialog)) colour->SetColor(0xABCDEF);
    return false;
  });
  PressRow(side, "顏色");
  ClickOn(Window(side)->SpeedButton1);
  EXPECT_EQ(a->Color(), 255);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(InspectorMarkTest, BadValuesOnEveryRowChangeNothingAndNeverCrash) {
  Tfmmd* side = StartDesigning();
  TLabel* label = PlaceLabel(side, "PO/NO", 16, 16);
  tshape2* shape = PlaceShape(side, triangle1, 120, 16);
  TDBText* text = PlaceDBText(side, "數量", 16, 80);
  ClickOn(side->b1);
  ClickOn(side->b1);
  TDsnInspector* inspector = side->DsnInspector1;
  const std::string longText(100000, 'W');
  const std::vector<std::string> values{longText, "😀 ㄅ ﾃｽﾄ", "-1", "-2147483648", "2147483647", "99999999999999999999",
                                        "", " ", "$FFFFFFFF", "1e308"};
  for (TControl* element : std::vector<TControl*>{label, shape, text}) {
    ClickOn(element);
    ASSERT_EQ(side->DsnStage1->SelectedItem(0), element);
    TMultiProps* props = inspector->Props();
    ASSERT_NE(props, nullptr);
    for (const std::string& name : props->CommonNames()) {
      for (const std::string& value : values) {
        const std::string before = State(label, shape, text);
        try {
          inspector->ApplyValue(name, value);
        } catch (const EPropertyError& error) {
          EXPECT_EQ(error.Message(), value + " is illegal (" + name + ")");
          EXPECT_EQ(State(label, shape, text), before);
        }
        Settle();
      }
    }
  }
  EXPECT_EQ(label->Caption(), "1e308") << "a caption takes any text";
  EXPECT_EQ(shape->kind(), triangle1);
  EXPECT_EQ(text->DataField(), "1e308");
  EXPECT_EQ(label->Color(), -1) << "$FFFFFFFF is the bit pattern of -1";
  // The stage is painted with whatever the values left.
  WindowWidget(side->DsnStage1->Handle())->grab();
}

}  // namespace
