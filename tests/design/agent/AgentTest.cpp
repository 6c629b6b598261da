// Window agents: subclassing a control's window, child agents that make inner windows transparent
// to the mouse, which windows the agent list takes, and how an agent lets go of everything.

#include <gtest/gtest.h>

#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

#include "design/DsnAgent.h"
#include "platform/rtl/Exception.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

// A client agent that records what it sees and how it is attached, unhooked and detached.
class TRecordingAgent : public TClientAgent {
 public:
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_LBUTTONDOWN) presses.push_back({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
    CallOldWndProc(message);
  }
  void Unhook() override {
    if (Hooked() && onUnhook) onUnhook();
    TClientAgent::Unhook();
  }

  std::vector<TPoint> presses;
  std::function<void()> onUnhook;
  std::function<void()> onDetach;
  int attached = 0;
  int detached = 0;

 protected:
  void AttachControl() override { ++attached; }
  void DetachControl() override {
    ++detached;
    if (onDetach) onDetach();
  }
};

// A panel at (10, 10) on a shown form, with an inner window of its own at (100, 50) of 60 x 40
// that belongs to no child control (as a control may make for itself).
class AgentTest : public PanelFormTest {
 protected:
  void SetUp() override {
    PanelFormTest::SetUp();
    ShowForm();
    innerWidget = new QWidget(WindowWidget(panel->Handle()));
    innerWidget->setGeometry(100, 50, 60, 40);
    innerWidget->show();
    inner = CreateWindowHandle(innerWidget, panel->Handle());
    panelProc = GetWindowLong(panel->Handle(), GWL_WNDPROC);
    innerProc = GetWindowLong(inner, GWL_WNDPROC);
  }
  void TearDown() override {
    if (agent) agent->Free();
    PanelFormTest::TearDown();
  }

  // A windowed child panel of `panel` with the given owner.
  TPanel* ChildPanel(TComponent* owner, int left) {
    auto* child = New<TPanel>(owner);
    child->SetParent(panel);
    child->SetBounds(left, 120, 40, 40);
    return child;
  }
  std::vector<HWND> ChildAgentWindows() const {
    std::vector<HWND> windows;
    for (int i = 0; i < agent->Children()->Count(); ++i) windows.push_back(agent->Children()->Items(i)->Handle());
    std::sort(windows.begin(), windows.end());
    return windows;
  }

  QWidget* innerWidget = nullptr;
  HWND inner = 0;
  WNDPROC panelProc = 0;
  WNDPROC innerProc = 0;
  TRecordingAgent* agent = nullptr;
};

TEST_F(AgentTest, APressOverAnInnerWindowOfNoChildControlReachesTheControlsAgent) {
  Subclass innerSpy(inner);
  agent = New<TRecordingAgent>(panel);
  agent->Children()->Build(panel, panel->Handle());
  ASSERT_EQ(ChildAgentWindows(), std::vector<HWND>{inner});
  Click({10 + 110, 10 + 60});
  EXPECT_EQ(innerSpy.Count(WM_LBUTTONDOWN), 0);
  ASSERT_EQ(agent->presses.size(), 1u);
  // In the panel's own client coordinates.
  EXPECT_EQ(agent->presses[0].X, 110);
  EXPECT_EQ(agent->presses[0].Y, 60);
  // Once the agent is gone the inner window takes its presses again.
  FreeAndNil(agent);
  Click({10 + 110, 10 + 60});
  EXPECT_EQ(innerSpy.Count(WM_LBUTTONDOWN), 1);
}

TEST_F(AgentTest, BuildLeavesSameOwnerChildrenToTheirAgentsAndTakesOtherOwnersWithAllInside) {
  TPanel* target = ChildPanel(form, 10);  // a design target of its own
  TComponent* elsewhere = New<TComponent>(nullptr);
  TPanel* foreign = ChildPanel(elsewhere, 200);
  auto* deepWidget = new QWidget(WindowWidget(foreign->Handle()));
  HWND deep = CreateWindowHandle(deepWidget, foreign->Handle());
  const WNDPROC targetProc = GetWindowLong(target->Handle(), GWL_WNDPROC);

  agent = New<TRecordingAgent>(panel);
  agent->Children()->Build(panel, panel->Handle());
  std::vector<HWND> expected{inner, foreign->Handle(), deep};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ChildAgentWindows(), expected);
  EXPECT_EQ(GetWindowLong(target->Handle(), GWL_WNDPROC), targetProc);
  EXPECT_EQ(SendMessage(deep, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_NE(SendMessage(target->Handle(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);

  FreeAndNil(agent);
  EXPECT_EQ(SendMessage(deep, WM_NCHITTEST, 0, 0), HTNOWHERE);
  foreign->Free();
  elsewhere->Free();
}

TEST_F(AgentTest, FreeingRestoresInnerWindowsThenTheControlThenDetachesOnce) {
  agent = New<TRecordingAgent>(panel);
  agent->Children()->Build(panel, panel->Handle());
  EXPECT_EQ(agent->attached, 1);
  EXPECT_NE(GetWindowLong(panel->Handle(), GWL_WNDPROC), panelProc);
  EXPECT_NE(GetWindowLong(inner, GWL_WNDPROC), innerProc);
  std::vector<std::string> order;
  agent->onUnhook = [&] {
    order.push_back("unhook control");
    EXPECT_EQ(GetWindowLong(inner, GWL_WNDPROC), innerProc) << "the inner window is restored first";
  };
  agent->onDetach = [&] {
    order.push_back("detach");
    EXPECT_EQ(GetWindowLong(panel->Handle(), GWL_WNDPROC), panelProc);
  };
  FreeAndNil(agent);
  EXPECT_EQ(order, (std::vector<std::string>{"unhook control", "detach"}));
  EXPECT_EQ(GetWindowLong(panel->Handle(), GWL_WNDPROC), panelProc);
}

TEST_F(AgentTest, WithoutAControlNothingIsHookedAndFreeStillDetaches) {
  agent = New<TRecordingAgent>(static_cast<TWinControl*>(nullptr));
  EXPECT_EQ(agent->Handle(), 0u);
  EXPECT_FALSE(agent->Hooked());
  EXPECT_EQ(agent->WndProcInstance(), 0);
  int detached = 0;
  agent->onDetach = [&] { ++detached; };
  FreeAndNil(agent);
  EXPECT_EQ(detached, 1);
  EXPECT_EQ(GetWindowLong(panel->Handle(), GWL_WNDPROC), panelProc);
}

TEST_F(AgentTest, AWindowThatRefusesTheProcedureRaisesAndKeepsItsOwn) {
  HWND gone = CreateWindowHandle(new QWidget(WindowWidget(panel->Handle())), panel->Handle());
  DestroyWindow(gone);
  try {
    New<TChildAgent>(gone);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Subclassing is failure.");
  }

  // Hooking again after the window was lost: the failed attempt leaves the agent unhooked, and the
  // next good window is taken as usual.
  agent = New<TRecordingAgent>(panel);
  agent->Unhook();
  EXPECT_THROW(agent->Hook(gone), Exception);
  EXPECT_FALSE(agent->Hooked());
  EXPECT_EQ(agent->WndProcInstance(), 0);
  EXPECT_EQ(GetWindowLong(panel->Handle(), GWL_WNDPROC), panelProc);
  agent->Hook(panel->Handle());
  EXPECT_TRUE(agent->Hooked());
  EXPECT_EQ(agent->Children()->Count(), 1) << "Hook builds the inner windows' agents anew";
  Click({10 + 20, 10 + 20});
  EXPECT_EQ(agent->presses.size(), 1u);
}

TEST_F(AgentTest, HookingAHookedAgentLetsGoOfTheOldWindowFirst) {
  TPanel* other = ChildPanel(form, 10);
  const WNDPROC otherProc = GetWindowLong(other->Handle(), GWL_WNDPROC);
  agent = New<TRecordingAgent>(panel);
  agent->Hook(other->Handle());
  EXPECT_EQ(GetWindowLong(panel->Handle(), GWL_WNDPROC), panelProc);
  FreeAndNil(agent);
  EXPECT_EQ(GetWindowLong(other->Handle(), GWL_WNDPROC), otherProc);
}

}  // namespace
