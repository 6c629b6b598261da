// A click handler may free the control that was clicked: what runs after the handler must not
// touch it.

#include "tests/platform/controls/ControlsTestSupport.h"

#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"

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

TEST_F(FreedInHandler, LabelFreedByItsOwnClick) { ClickFreesItself<TLabel>(); }
TEST_F(FreedInHandler, SpeedButtonFreedByItsOwnClick) { ClickFreesItself<TSpeedButton>(); }
TEST_F(FreedInHandler, PanelFreedByItsOwnClick) { ClickFreesItself<TPanel>(); }

TEST_F(FreedInHandler, LabelClickFreesItsForm) { ClickFreesTheForm<TLabel>(false); }
TEST_F(FreedInHandler, PanelClickFreesItsForm) { ClickFreesTheForm<TPanel>(false); }
TEST_F(FreedInHandler, LabelDoubleClickFreesItsForm) { ClickFreesTheForm<TLabel>(true); }

}  // namespace
}  // namespace controls_test
