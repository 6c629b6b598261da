// Code that Qt calls runs inside the one error boundary: whichever way a handler is reached, its
// exception ends in the application's error display and nowhere else.

#include <QAction>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls/ActnList.h"
#include "platform/controls/Application.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Panel.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

class ErrorBoundary : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ApplicationInstance()->OnException.Bind([this](TObject*, const std::exception& e) { shown.push_back(e.what()); });
  }
  void TearDown() override {
    Application->OnException.Clear();
    FormTest::TearDown();
  }
  std::vector<std::string> shown;
};

TEST_F(ErrorBoundary, AWindowProcedureAMenuClickAndAnActionUpdateAllReachTheApplication) {
  auto* panel = New<TPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 100, 60);
  panel->OnClick.Bind([](TObject*) { throw Exception("click failed"); });

  auto* menu = New<TPopupMenu>(form);
  auto* item = New<TMenuItem>(form);
  item->SetCaption("Item");
  menu->Items()->Add(item);
  item->OnClick.Bind([](TObject*) { throw Exception("menu failed"); });

  auto* update = New<TAction>(form);
  auto* updated = New<TMenuItem>(form);
  menu->Items()->Add(updated);
  updated->SetAction(update);

  ShowForm();
  Click({40, 30});
  item->QtAction()->trigger();
  QApplication::sendPostedEvents();
  // Bound only now: the event loop brings actions up to date whenever it waits.
  update->OnUpdate.Bind([](TObject*) { throw std::runtime_error("update failed"); });
  UpdateActions();
  update->OnUpdate.Clear();
  EXPECT_EQ(shown, (std::vector<std::string>{"click failed", "menu failed", "update failed"}));
}

}  // namespace
