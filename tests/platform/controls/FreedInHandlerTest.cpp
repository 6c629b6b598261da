// A click handler may free the control that was clicked: what runs after the handler must not
// touch it.

#include "tests/platform/controls/ControlsTestSupport.h"

#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"

#include <string>
#include <vector>

namespace controls_test {
namespace {

class FreedInHandler : public FormTest {
 protected:
  template <class T>
  void ClickFreesItself() {
    T* control = New<T>(form);
    control->SetParent(form);
    control->SetBounds(20, 20, 80, 40);
    bool clicked = false;
    control->OnClick.Bind([&clicked, control](TObject*) {
      clicked = true;
      control->Free();
    });
    ShowForm();
    Click({40, 30});
    QApplication::processEvents();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(form->ComponentCount(), 0);
  }

  // The form goes with a click on one of its controls, with and without a window of its own, or
  // with a double click.
  template <class T>
  void ClickFreesTheForm(bool dbl) {
    auto* control = New<T>(form);
    control->SetParent(form);
    control->SetBounds(20, 20, 80, 40);
    ShowForm();
    QWindow* window = Window();
    TNotifyEvent& event = dbl ? control->OnDblClick : control->OnClick;
    event.Bind([this](TObject*) { FreeAndNil(form); });
    if (dbl) QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    else QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    QApplication::processEvents();
    EXPECT_EQ(form, nullptr);
  }
};

// A window-less control that frees itself as the button goes down holds the mouse at that
// moment: the rest of the drag goes to its parent, and the next press works as usual.
TEST_F(FreedInHandler, ControlFreedWhileItHoldsTheMouseLeavesTheDragToItsParent) {
  auto* label = New<TLabel>(form);
  label->SetParent(form);
  label->SetBounds(20, 20, 80, 40);
  label->OnMouseDown.Bind([&label](TObject*, TMouseButton, TShiftState, int, int) { FreeAndNil(label); });
  std::vector<std::string> formSaw;
  int moves = 0;
  form->OnMouseMove.Bind([&moves](TObject*, TShiftState, int, int) { ++moves; });
  form->OnMouseUp.Bind([&formSaw](TObject*, TMouseButton, TShiftState, int, int) { formSaw.push_back("up"); });
  form->OnMouseDown.Bind([&formSaw](TObject*, TMouseButton, TShiftState, int, int) { formSaw.push_back("down"); });
  ShowForm();
  Press({40, 30});
  ASSERT_EQ(label, nullptr);
  Move({50, 35});
  Move({200, 150});
  EXPECT_EQ(moves, 2);
  Release({200, 150});
  Click({60, 30});
  QApplication::processEvents();
  EXPECT_EQ(formSaw, (std::vector<std::string>{"up", "down", "up"}));
}

// The notice that the mouse left a control may free the parent the mouse moved onto: the parent
// stops handling the move at once.
TEST_F(FreedInHandler, MouseLeaveThatFreesTheParentEndsTheMove) {
  auto* inner = New<TPanel>(form);
  inner->SetParent(form);
  inner->SetBounds(10, 10, 200, 150);
  auto* label = New<TLabel>(form);
  label->SetAutoSize(false);
  label->SetParent(inner);
  label->SetBounds(10, 10, 60, 20);
  auto original = label->WindowProc;
  label->WindowProc = [&inner, original](TMessage& m) {
    if (m.Msg == CM_MOUSELEAVE && inner) FreeAndNil(inner);
    else original(m);
  };
  ShowForm();
  Move({30, 25});
  Move({150, 120});
  QApplication::processEvents();
  EXPECT_EQ(inner, nullptr);
  EXPECT_EQ(form->ComponentCount(), 0);
  Move({300, 250});
  Click({300, 250});
}

// A panel whose paint frees its form, and one whose paint frees itself: Qt goes on painting with
// those windows after the paint returns, so they leave the screen at once and are deleted once the
// event is over; the next form paints and takes clicks as usual.
TEST_F(FreedInHandler, PaintThatFreesTheFormOrTheControlItselfEndsCleanly) {
  for (bool freesForm : {true, false}) {
    SCOPED_TRACE(freesForm ? "frees the form" : "frees itself");
    if (!form) {
      form = New<TForm>(nullptr);
      form->SetBounds(40, 40, 400, 300);
    }
    auto* panel = New<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 200, 150);
    auto* sibling = New<TPanel>(form);  // painted after the first one
    sibling->SetParent(form);
    sibling->SetBounds(220, 10, 100, 150);
    bool painted = false;
    auto original = panel->WindowProc;
    panel->WindowProc = [this, &painted, &panel, freesForm, original](TMessage& m) {
      original(m);
      if (m.Msg != WM_PAINT || painted) return;
      painted = true;
      if (freesForm) FreeAndNil(form);
      else FreeAndNil(panel);
    };
    form->Show();  // not ShowForm: the window it would wait for may go meanwhile
    for (int i = 0; i < 100 && !painted; ++i) QTest::qWait(10);
    QTest::qWait(10);
    ASSERT_TRUE(painted);
    EXPECT_EQ(form == nullptr, freesForm);
    if (form) {
      EXPECT_EQ(form->ComponentCount(), 1);
      bool clicked = false;
      sibling->OnClick.Bind([&clicked](TObject*) { clicked = true; });
      Click({260, 60});
      EXPECT_TRUE(clicked);
      FreeAndNil(form);
    }
    QApplication::processEvents();
    EXPECT_TRUE(VisibleTopLevels().empty());
  }
}

TEST_F(FreedInHandler, LabelFreedByItsOwnClick) { ClickFreesItself<TLabel>(); }
TEST_F(FreedInHandler, SpeedButtonFreedByItsOwnClick) { ClickFreesItself<TSpeedButton>(); }
TEST_F(FreedInHandler, PanelFreedByItsOwnClick) { ClickFreesItself<TPanel>(); }

TEST_F(FreedInHandler, LabelClickFreesItsForm) { ClickFreesTheForm<TLabel>(false); }
TEST_F(FreedInHandler, PanelClickFreesItsForm) { ClickFreesTheForm<TPanel>(false); }
TEST_F(FreedInHandler, LabelDoubleClickFreesItsForm) { ClickFreesTheForm<TLabel>(true); }

}  // namespace
}  // namespace controls_test
