#include "platform/controls/Label.h"
#include "tests/platform/controls/ControlsTestSupport.h"

using controls_test::FormTest;

TEST_F(FormTest, MouseEnterAndLeaveReachAWindowlessControl) {
  auto* label = New<TLabel>(form);
  label->SetAutoSize(false);
  label->SetParent(form);
  label->SetBounds(10, 10, 60, 20);
  std::vector<UINT> seen;
  auto original = label->WindowProc;
  label->WindowProc = [&seen, original](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) seen.push_back(m.Msg);
    original(m);
  };
  ShowForm();
  QTest::mouseMove(Window(), QPoint(20, 20));
  QTest::mouseMove(Window(), QPoint(30, 22));  // still over it: nothing new
  QTest::mouseMove(Window(), QPoint(200, 200));
  EXPECT_EQ(seen, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
}
