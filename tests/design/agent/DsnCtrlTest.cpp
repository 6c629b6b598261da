// The design agent: while a control is covered its mouse input becomes register reports and the
// focus stays on the stage; once the agent is gone the control, native widgets included, works as
// before. Input is injected at form positions as a user would give it.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
#include "platform/rtl/PostedRefs.h"
#include "tests/design/agent/AgentTestSupport.h"

namespace {

using namespace agent_test;
using namespace controls_test;

// A panel that, like a page control, wants its press even while it is designed.
class TPressPanel : public TPanel {
 public:
  void Dispatch(TMessage& message) override {
    if (message.Msg == CM_DESIGNHITTEST) {
      message.Result = 1;
      return;
    }
    TPanel::Dispatch(message);
  }
};

// A shown, active form with a stage of 300 x 200 at (10, 10) that has the focus and an agent.
class DsnCtrlTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    reg = New<TAgentRegister>(form);
    stage = New<TDsnStage>(form);
    stage->SetName("DsnStage1");
    stage->SetParent(form);
    stage->SetBounds(10, 10, 300, 200);
    reg->stage = stage;
    stage->SetDsnRegister(reg);
  }
  void TearDown() override {
    if (reg) reg->Uncover();
    DispatchPostedMessages();
    QApplication::processEvents();
    FormTest::TearDown();
  }

  // Shows the form, gives the stage the focus and covers the stage.
  void Start() {
    ShowForm();
    QApplication::setActiveWindow(Widget()->window());
    stage->SetFocus();
    ASSERT_EQ(GetFocus(), stage->Handle());
    stageAgent = reg->Cover(stage);
  }

  template <class T>
  T* Put(int left, int top, int width, int height, TComponent* owner = nullptr) {
    auto* control = New<T>(owner ? owner : form);
    control->SetParent(stage);
    control->SetBounds(left, top, width, height);
    return control;
  }

  // The form position of a point of a control on the stage.
  TPoint At(TControl* control, TPoint p) const { return {10 + control->Left() + p.X, 10 + control->Top() + p.Y}; }
  TPoint OnStage(TPoint p) const { return {10 + p.X, 10 + p.Y}; }

  // Frees one agent the register holds, as stopping design mode does for all of them.
  void Uncover(TDsnCtrl* agent) {
    reg->agents.erase(std::find(reg->agents.begin(), reg->agents.end(), agent));
    agent->Free();
  }

  // Keys typed into the focused widget of the form's window.
  void Type(const char* text) {
    for (const char* c = text; *c; ++c) QTest::keyClick(Window(), *c);
  }

  std::vector<std::string> Ops() const {
    std::vector<std::string> ops;
    for (const Call& c : reg->calls) ops.push_back(c.op);
    return ops;
  }

  TAgentRegister* reg = nullptr;
  TDsnStage* stage = nullptr;
  TDsnCtrl* stageAgent = nullptr;
};

// ---- presses and their targets ----

TEST_F(DsnCtrlTest, APressGivesTheWindowlessChildOfTheSameOwnerThereElseTheStage) {
  TLabel* label = Put<TLabel>(20, 20, 60, 20);
  TLabel* disabled = Put<TLabel>(20, 60, 60, 20);
  disabled->SetEnabled(false);
  TComponent* elsewhere = New<TComponent>(nullptr);
  TLabel* foreign = Put<TLabel>(120, 20, 60, 20, elsewhere);
  Start();

  Click(At(label, {10, 5}), Qt::ShiftModifier);
  ASSERT_EQ(Ops(), (std::vector<std::string>{"MouseDown", "MouseUp"}));
  EXPECT_EQ(reg->calls[0].control, stage);
  EXPECT_EQ(reg->calls[0].target, label);
  EXPECT_EQ(reg->calls[0].point.X, 30);
  EXPECT_EQ(reg->calls[0].point.Y, 25);
  EXPECT_TRUE(reg->calls[0].shift.Contains(ssShift));
  EXPECT_TRUE(reg->calls[0].shift.Contains(ssLeft));
  EXPECT_EQ(reg->calls[1].point.X, 30);
  EXPECT_EQ(stageAgent->CurrentTarget(), label);
  EXPECT_EQ(GetCapture(), 0u) << "the release gives the mouse back";

  for (auto [where, expected] : {std::pair<TPoint, TControl*>{At(disabled, {5, 5}), disabled},
                                 {At(foreign, {5, 5}), stage},
                                 {OnStage({250, 150}), stage}}) {
    reg->calls.clear();
    Click(where);
    auto down = std::find_if(reg->calls.begin(), reg->calls.end(), [](const Call& c) { return c.op == "MouseDown"; });
    ASSERT_NE(down, reg->calls.end());
    EXPECT_EQ(down->target, expected);
  }
  foreign->Free();
  elsewhere->Free();
}

TEST_F(DsnCtrlTest, DraggingReportsMovesWhileTheStageHoldsTheMouse) {
  Start();
  Press(OnStage({40, 40}));
  EXPECT_EQ(GetCapture(), stage->Handle());
  Move(OnStage({350, 220}));  // beyond the stage: the capture still brings it
  Release(OnStage({350, 220}));
  ASSERT_EQ(Ops(), (std::vector<std::string>{"MouseDown", "MouseMove", "MouseUp"}));
  EXPECT_EQ(reg->calls[1].point.X, 350);
  EXPECT_EQ(reg->calls[1].point.Y, 220);
  EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(DsnCtrlTest, ARightPressReportsXAndYAndItsCaptureEndsWithTheReleaseOrThePopup) {
  TLabel* label = Put<TLabel>(20, 20, 60, 20);
  Start();
  QTest::mousePress(Window(), Qt::RightButton, Qt::NoModifier, QPoint(At(label, {7, 3}).X, At(label, {7, 3}).Y));
  ASSERT_EQ(Ops(), (std::vector<std::string>{"RightMouseDown"}));
  EXPECT_EQ(reg->calls[0].target, label);
  EXPECT_EQ(reg->calls[0].point.X, 27);
  EXPECT_EQ(reg->calls[0].point.Y, 23);
  EXPECT_EQ(GetCapture(), stage->Handle());
  QTest::mouseRelease(Window(), Qt::RightButton, Qt::NoModifier, QPoint(At(label, {7, 3}).X, At(label, {7, 3}).Y));
  EXPECT_EQ(GetCapture(), 0u);

  // A popup menu opened by the register takes the release: the next move without a button down
  // must not stay with the stage.
  QTest::mousePress(Window(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_EQ(GetCapture(), stage->Handle());
  SendMessage(stage->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
  EXPECT_EQ(GetCapture(), 0u);
  QTest::mouseRelease(Window(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
}

TEST_F(DsnCtrlTest, ADoubleClickCallsTheCoverEditorWithThePressedTarget) {
  TLabel* label = Put<TLabel>(20, 20, 60, 20);
  Start();
  const QPoint at(At(label, {5, 5}).X, At(label, {5, 5}).Y);
  QTest::mouseClick(Window(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(Window(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, at);
  int dbl = 0;
  for (const Call& c : reg->calls)
    if (c.op == "CoverDblClick") {
      ++dbl;
      EXPECT_EQ(c.target, label);
    }
  EXPECT_EQ(dbl, 1);
}

TEST_F(DsnCtrlTest, FrameworkMessagesReachTheRegisterAndATargetIsHeldWeakly) {
  TLabel* label = Put<TLabel>(20, 20, 60, 20);
  Start();
  SendMessage(stage->Handle(), DM_SETTARGET, reinterpret_cast<WPARAM>(label), 0);
  EXPECT_EQ(stageAgent->CurrentTarget(), label);
  SendMessage(stage->Handle(), DM_TARGETSIZED, MAKELPARAM(1, 2), MAKELPARAM(3, 4));
  SendMessage(stage->Handle(), DM_HANDLESSHOWN, 0, 0);
  SendMessage(stage->Handle(), DM_SELECTCOMPONENT, reinterpret_cast<WPARAM>(label), 0);
  ASSERT_EQ(Ops(), (std::vector<std::string>{"PropsRefresh", "HandlesShown", "SelectComponent"}));
  EXPECT_EQ(reg->calls[2].target, label);

  label->Free();
  EXPECT_EQ(stageAgent->CurrentTarget(), nullptr);
  reg->calls.clear();
  Move(OnStage({100, 100}));
  EXPECT_TRUE(reg->calls.empty()) << "no move is reported for a target that is gone";
}

TEST_F(DsnCtrlTest, AControlAnsweringTheDesignHitTestStillGetsItsPress) {
  auto* pages = Put<TPressPanel>(20, 20, 100, 80);
  auto* plain = Put<TPanel>(150, 20, 100, 80);
  int pagesPressed = 0, plainPressed = 0;
  pages->OnMouseDown.Bind([&](TObject*, TMouseButton, TShiftState, int, int) { ++pagesPressed; });
  plain->OnMouseDown.Bind([&](TObject*, TMouseButton, TShiftState, int, int) { ++plainPressed; });
  Start();
  reg->Cover(pages);
  reg->Cover(plain);
  Click(At(pages, {10, 10}));
  Click(At(plain, {10, 10}));
  EXPECT_EQ(pagesPressed, 1);
  EXPECT_EQ(plainPressed, 0);
  ASSERT_EQ(Ops(), (std::vector<std::string>{"MouseDown", "MouseUp", "MouseDown", "MouseUp"}));
  EXPECT_EQ(reg->calls[0].control, pages);
  EXPECT_EQ(reg->calls[2].control, plain);
}

// ---- focus, cursor and native controls ----

TEST_F(DsnCtrlTest, ClickingIntoACoveredEditLeavesTheFocusOnTheStage) {
  auto* edit = Put<TEdit>(20, 20, 120, 24);
  Start();
  int entered = 0;
  edit->OnEnter.Bind([&](TObject*) { ++entered; });
  reg->Cover(edit);
  Click(At(edit, {10, 10}));
  ASSERT_EQ(Ops(), (std::vector<std::string>{"MouseDown", "MouseUp"}));
  EXPECT_EQ(reg->calls[0].control, edit);
  EXPECT_EQ(GetFocus(), stage->Handle());
  EXPECT_EQ(entered, 0);
  // Code that focuses the control is redirected as well.
  edit->SetFocus();
  EXPECT_EQ(GetFocus(), stage->Handle());
}

TEST_F(DsnCtrlTest, TheFreedAgentGivesTheControlItsOwnCursorBack) {
  auto* edit = Put<TEdit>(20, 20, 120, 24);
  auto* hand = Put<TPanel>(20, 80, 60, 60);
  hand->SetCursor(crHandPoint);
  Start();
  TDsnCtrl* editAgent = reg->Cover(edit);
  TDsnCtrl* handAgent = reg->Cover(hand);
  QWidget* line = WindowWidget(edit->Handle());
  EXPECT_EQ(edit->Cursor(), crArrow);
  EXPECT_EQ(line->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(hand->Cursor(), crArrow);
  Uncover(editAgent);
  Uncover(handAgent);
  EXPECT_EQ(edit->Cursor(), crDefault);
  EXPECT_EQ(line->cursor().shape(), Qt::IBeamCursor);
  EXPECT_EQ(hand->Cursor(), crHandPoint);
}

TEST_F(DsnCtrlTest, ACoveredEditableComboBoxTakesNoPressAndWorksAgainOnceUncovered) {
  auto* combo = Put<TComboBox>(20, 20, 150, 24);
  Start();
  TDsnCtrl* agent = reg->Cover(combo);
  QLineEdit* line = qobject_cast<QComboBox*>(WindowWidget(combo->Handle()))->lineEdit();
  ASSERT_NE(line, nullptr);
  const QPoint inLine = line->mapTo(Widget(), line->rect().center());
  Click({inLine.x(), inLine.y()});
  ASSERT_EQ(Ops(), (std::vector<std::string>{"MouseDown", "MouseUp"}));
  EXPECT_EQ(reg->calls[0].control, combo);
  EXPECT_EQ(reg->calls[0].target, combo);
  EXPECT_EQ(GetFocus(), stage->Handle());
  EXPECT_FALSE(line->hasFocus());
  Type("xy");
  EXPECT_EQ(combo->Text(), "");

  Uncover(agent);
  Click({inLine.x(), inLine.y()});
  EXPECT_EQ(GetFocus(), combo->Handle());
  Type("ab");
  EXPECT_EQ(combo->Text(), "ab");
}

TEST_F(DsnCtrlTest, ACoveredGridTakesNoPressOnItsViewportAndWorksAgainOnceUncovered) {
  auto* grid = Put<TStringGrid>(20, 20, 260, 160);
  TGridOptions options = grid->Options();
  options.Include(goEditing);
  grid->SetOptions(options);
  Start();
  TDsnCtrl* agent = reg->Cover(grid);
  const TRect cell = grid->CellRect(2, 3);
  const TPoint inCell = At(grid, {(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2});
  const int row = grid->Row(), col = grid->Col();
  Click(inCell);
  ASSERT_EQ(Ops(), (std::vector<std::string>{"MouseDown", "MouseUp"}));
  EXPECT_EQ(reg->calls[0].control, grid);
  EXPECT_EQ(grid->Row(), row);
  EXPECT_EQ(grid->Col(), col);
  EXPECT_EQ(GetFocus(), stage->Handle());

  Uncover(agent);
  Click(inCell);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_EQ(GetFocus(), grid->Handle());
  Type("z");
  QTest::keyClick(Window(), Qt::Key_Return);
  EXPECT_EQ(grid->Cells(2, 3), "z");
}

// ---- windows that go, controls that go ----

TEST_F(DsnCtrlTest, ARecreatedWindowIsHookedAgainThroughTheStage) {
  auto* edit = Put<TEdit>(20, 20, 120, 24);
  Start();
  TDsnCtrl* agent = reg->Cover(edit);
  const HWND old = edit->Handle();
  edit->RecreateWnd();
  ASSERT_NE(edit->Handle(), old);
  EXPECT_FALSE(agent->Hooked());
  DispatchPostedMessages();
  ASSERT_TRUE(agent->Hooked());
  EXPECT_EQ(agent->Handle(), edit->Handle());
  EXPECT_EQ(GetWindowLong(edit->Handle(), GWL_WNDPROC), agent->WndProcInstance());
  Click(At(edit, {10, 10}));
  ASSERT_EQ(Ops(), (std::vector<std::string>{"MouseDown", "MouseUp"}));
  EXPECT_EQ(reg->calls[0].control, edit);
  EXPECT_EQ(GetFocus(), stage->Handle());
}

TEST_F(DsnCtrlTest, TheAgentOfADestroyedControlIsFreedByTheStage) {
  auto* edit = Put<TEdit>(20, 20, 120, 24);
  Start();
  const std::weak_ptr<const void> alive = reg->Cover(edit)->AliveToken();
  edit->Free();
  EXPECT_TRUE(reg->agents.size() == 1u) << "the register dropped the released agent";
  EXPECT_FALSE(alive.expired());
  DispatchPostedMessages();
  EXPECT_TRUE(alive.expired());
}

TEST_F(DsnCtrlTest, ReleasedAgentsWhoseMessageCannotArriveFreeThemselves) {
  auto* edit = Put<TEdit>(20, 20, 120, 24);
  auto* panel = Put<TPanel>(20, 80, 60, 60);
  Start();
  std::vector<std::weak_ptr<const void>> tokens{stageAgent->AliveToken(), reg->Cover(edit)->AliveToken(),
                                                reg->Cover(panel)->AliveToken()};
  // The stage goes with its controls: every DM_AGENTDONE is addressed to a window that is gone.
  stage->Free();
  stage = nullptr;
  EXPECT_TRUE(reg->agents.empty());
  DispatchPostedMessages();
  QApplication::processEvents();
  for (const auto& token : tokens) EXPECT_TRUE(token.expired());
}

TEST_F(DsnCtrlTest, TheRegisterMayFreeTheAgentOrTheControlWhileItHearsAPress) {
  auto* edit = Put<TEdit>(20, 20, 120, 24);
  auto* other = Put<TEdit>(20, 80, 120, 24);
  Start();
  const WNDPROC ownProc = GetWindowLong(edit->Handle(), GWL_WNDPROC);
  const std::weak_ptr<const void> alive = reg->Cover(edit)->AliveToken();
  reg->during = [this] { reg->Uncover(); };  // design mode stops inside MouseDown
  Click(At(edit, {10, 10}));
  EXPECT_TRUE(alive.expired());
  EXPECT_EQ(GetWindowLong(edit->Handle(), GWL_WNDPROC), ownProc);
  EXPECT_EQ(GetCapture(), 0u);

  const std::weak_ptr<const void> otherAlive = reg->Cover(other)->AliveToken();
  reg->during = [other] { other->Free(); };
  Click(At(other, {10, 10}));
  DispatchPostedMessages();
  QApplication::processEvents();
  EXPECT_TRUE(otherAlive.expired());
}

}  // namespace
