// Actions: lists read from layouts, who handles an execution, when actions are updated, the edit
// actions on the focused edit box and the keys they leave alone, and the window actions on a
// multiple-document frame.

#include "platform/controls/ActnList.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/Application.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Panel.h"
#include "platform/controls/StdActns.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

// A root that streams the components it owns that have no parent, as a window does.
class TActionRoot : public TComponent {
  DECLARE_CLASS(TActionRoot)

 public:
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (TComponent* c : std::vector<TComponent*>(ComponentList()))
      if (!c->HasParent() && c->Owner() == root) proc(c);
  }
};

DEFINE_CLASS(TActionRoot, TComponent) {}

// Lets the event loop go idle once, as it does between the user's inputs.
void GoIdle() {
  QEventLoop loop;
  QTimer::singleShot(20, &loop, &QEventLoop::quit);
  loop.exec();
}

void RunQueued() { QApplication::sendPostedEvents(); }

class ActionTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    RegisterStandardControls();
    list = New<TActionList>(form);
  }

  template <class T>
  T* AddAction() {
    auto* action = New<T>(form);
    action->SetActionList(list);
    return action;
  }
  // A menu item that shows the action, as the main window's menus do.
  TMenuItem* ClientOf(TBasicAction* action) {
    if (!menu) menu = New<TMainMenu>(form);
    auto* item = New<TMenuItem>(form);
    menu->Items()->Add(item);
    item->SetAction(action);
    return item;
  }
  // Shows the form as the active window, which shortcuts and the focus need.
  void ShowActive() {
    ShowForm();
    Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Widget()));
  }

  TActionList* list = nullptr;
  TMainMenu* menu = nullptr;
};

// ---- lists and execution ----

TEST_F(ActionTest, ListLayoutKeepsTheActionsInOrderAndWritesThemBack) {
  const std::string layout =
      "object Root: TActionRoot\n"
      "  object ActionList1: TActionList\n"
      "    object acshape: TAction\n"
      "      Caption = '設定形狀'\n"
      "    end\n"
      "    object acsavemd: TAction\n"
      "      Category = 'File'\n"
      "      Caption = '儲存設定'\n"
      "      ImageIndex = 8\n"
      "    end\n"
      "    object EditCopy1: TEditCopy\n"
      "      Caption = '&Copy'\n"
      "      Hint = 'Copy'\n"
      "      ShortCut = 16451\n"
      "    end\n"
      "  end\n"
      "end\n";
  auto* root = New<TActionRoot>(nullptr);
  TMemoryStream in(TextToStream(layout));
  TReader(in).ReadRootComponent(root);
  auto* read = dynamic_cast<TActionList*>(root->FindComponent("ActionList1"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->ActionCount(), 3);
  EXPECT_EQ(read->Actions(1)->Name(), "acsavemd");
  EXPECT_EQ(read->Actions(1)->Category(), "File");
  EXPECT_EQ(read->Actions(2)->Index(), 2);
  EXPECT_EQ(static_cast<TCustomAction*>(read->Actions(1))->ImageIndex(), 8);
  EXPECT_EQ(read->Actions(0)->GetParentComponent(), read);
  TMemoryStream out;
  TWriter(out).WriteRootComponent(root);
  EXPECT_EQ(StreamToText(out.Bytes()), layout);
  root->Free();
}

TEST_F(ActionTest, TheListsHandlerComesBeforeTheActionsOwn) {
  auto* action = AddAction<TAction>();
  std::vector<std::string> calls;
  bool listTakesIt = true;
  list->OnExecute.Bind([&](TBasicAction* a, bool& handled) {
    calls.push_back("list " + a->Name());
    handled = listTakesIt;
  });
  action->SetName("acedit");
  action->OnExecute.Bind([&](TObject*) { calls.push_back("action"); });
  EXPECT_TRUE(action->Execute());
  listTakesIt = false;
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(calls, (std::vector<std::string>{"list acedit", "list acedit", "action"}));
}

TEST_F(ActionTest, AnActionNothingHandlesIsDisabledByItsUpdate) {
  auto* idle = AddAction<TAction>();
  EXPECT_FALSE(idle->Update());
  EXPECT_FALSE(idle->Enabled());
  EXPECT_FALSE(idle->Execute());

  auto* kept = AddAction<TAction>();
  kept->SetDisableIfNoHandler(false);
  kept->Update();
  EXPECT_TRUE(kept->Enabled());

  auto* handled = AddAction<TAction>();
  handled->OnExecute.Bind([](TObject*) {});
  handled->Update();
  EXPECT_TRUE(handled->Enabled());

  auto* decided = AddAction<TAction>();
  decided->OnUpdate.Bind([&](TObject*) { decided->SetEnabled(false); });
  decided->OnExecute.Bind([](TObject*) {});
  EXPECT_TRUE(decided->Update());
  EXPECT_FALSE(decided->Execute());  // updated first, and then disabled
}

TEST_F(ActionTest, ActionsWithClientsAreUpdatedWhenTheLoopGoesIdle) {
  auto* shown = AddAction<TAction>();
  auto* unseen = AddAction<TAction>();
  int shownUpdates = 0, unseenUpdates = 0;
  shown->OnUpdate.Bind([&](TObject*) { ++shownUpdates; });
  unseen->OnUpdate.Bind([&](TObject*) { ++unseenUpdates; });
  ClientOf(shown);
  GoIdle();
  EXPECT_GT(shownUpdates, 0);
  EXPECT_EQ(unseenUpdates, 0);
}

TEST_F(ActionTest, FreeingTheListFreesItsActionsAndUnlinksTheirClients) {
  auto* action = AddAction<TAction>();
  action->SetCaption("E&xit");
  TMenuItem* item = ClientOf(action);
  FreeAndNil(list);
  EXPECT_EQ(item->Action(), nullptr);
  EXPECT_EQ(item->Caption(), "E&xit");
  for (TComponent* c : form->ComponentList()) EXPECT_EQ(dynamic_cast<TAction*>(c), nullptr);
}

// ---- edit actions ----

struct EditCase {
  const char* name;
  std::function<TCustomAction*(TActionList*, TForm*)> make;
  const char* clipboardBefore;
  const char* textAfter;
  const char* clipboardAfter;
};

template <class T>
TCustomAction* Make(TActionList* list, TForm* form) {
  auto* action = New<T>(form);
  action->SetActionList(list);
  return action;
}

class EditActionTest : public ActionTest, public ::testing::WithParamInterface<EditCase> {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    edit = New<TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 150, 24);
    panel = New<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 50, 100, 60);
    QGuiApplication::clipboard()->setText(GetParam().clipboardBefore);
  }
  TEdit* edit = nullptr;
  TPanel* panel = nullptr;
};

TEST_P(EditActionTest, ActsOnTheSelectionOfTheFocusedEdit) {
  ShowActive();
  TCustomAction* action = GetParam().make(list, form);
  edit->SetText("PO/NO");
  edit->SetFocus();
  edit->SetSelStart(0);
  edit->SetSelLength(2);
  action->Update();
  EXPECT_TRUE(action->Enabled());
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(edit->Text(), GetParam().textAfter);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), GetParam().clipboardAfter);
}

TEST_P(EditActionTest, IsDisabledWithoutAFocusedEdit) {
  ShowActive();
  TCustomAction* action = GetParam().make(list, form);
  edit->SetText("PO/NO");
  panel->SetFocus();
  action->Update();
  EXPECT_FALSE(action->Enabled());
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(edit->Text(), "PO/NO");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), GetParam().clipboardBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, EditActionTest,
    ::testing::Values(EditCase{"Cut", Make<TEditCut>, "x", "/NO", "PO"},
                      EditCase{"Copy", Make<TEditCopy>, "x", "PO/NO", "PO"},
                      EditCase{"Paste", Make<TEditPaste>, "C/NO.", "C/NO./NO", "C/NO."}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the Ctrl+C key ----

struct CopyKeyCase {
  const char* name;
  bool editCopy;       // the item's action: the standard copy action, or one with a handler
  bool reachesPanel;   // the panel receives the character 3
};

class CopyKeyTest : public ActionTest, public ::testing::WithParamInterface<CopyKeyCase> {};

TEST_P(CopyKeyTest, GoesToTheMenuOnlyWhenItsActionIsEnabled) {
  int executed = 0;
  TCustomAction* action;
  if (GetParam().editCopy) {
    action = AddAction<TEditCopy>();
  } else {
    action = AddAction<TAction>();
    action->SetShortCut(TextToShortCut("Ctrl+C"));
    action->OnExecute.Bind([&](TObject*) { ++executed; });
  }
  ClientOf(action);
  menu->CreateMenuBar(Widget())->setGeometry(0, 0, 400, 20);
  auto* panel = New<TPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(10, 40, 100, 60);
  ShowActive();
  panel->SetFocus();

  std::vector<WPARAM> chars;
  WNDPROC old = 0;
  HWND window = panel->Handle();
  WNDPROC recorder = MakeObjectInstance([&](TMessage& m) {
    if (m.Msg == WM_CHAR) chars.push_back(m.WParam);
    m.Result = CallWindowProc(old, window, m.Msg, m.WParam, m.LParam);
  });
  old = SetWindowLong(window, GWL_WNDPROC, recorder);
  QTest::keyClick(WindowWidget(window), Qt::Key_C, Qt::ControlModifier);
  RunQueued();
  SetWindowLong(window, GWL_WNDPROC, old);
  FreeObjectInstance(recorder);

  const bool reached = std::find(chars.begin(), chars.end(), WPARAM{3}) != chars.end();
  EXPECT_EQ(reached, GetParam().reachesPanel);
  EXPECT_EQ(executed, GetParam().editCopy ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, CopyKeyTest,
                         ::testing::Values(CopyKeyCase{"EditCopyWithoutAnEdit", true, true},
                                           CopyKeyCase{"ActionWithAHandler", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActionTest, CopyKeyInAFocusedEditCopiesItsSelection) {
  ClientOf(AddAction<TEditCopy>());
  menu->CreateMenuBar(Widget());
  auto* edit = New<TEdit>(form);
  edit->SetParent(form);
  edit->SetBounds(10, 40, 150, 24);
  edit->SetText("DESTINATION");
  ShowActive();
  edit->SetFocus();
  edit->SetSelStart(0);
  edit->SetSelLength(4);
  QGuiApplication::clipboard()->setText("x");
  QTest::keyClick(WindowWidget(edit->Handle()), Qt::Key_C, Qt::ControlModifier);
  RunQueued();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "DEST");
  EXPECT_EQ(edit->Text(), "DESTINATION");
}

// ---- window actions ----

// A multiple-document frame owned by the application, with an action list of its own.
class WindowActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    RegisterStandardControls();
    ApplicationInstance();
    frame = New<TForm>(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(40, 40, 500, 400);
    list = New<TActionList>(frame);
    frame->Show();
    WindowWidget(frame->Handle())->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(WindowWidget(frame->Handle())));
  }
  void TearDown() override {
    Application->Free();
    QApplication::processEvents();
    EXPECT_TRUE(VisibleTopLevels().empty()) << "a window outlived its test";
  }
  TForm* AddChild() {
    auto* child = New<TForm>(Application);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(0, 0, 150, 100);
    child->Show();
    return child;
  }
  template <class T>
  T* AddAction() {
    auto* action = New<T>(frame);
    action->SetActionList(list);
    return action;
  }
  std::vector<QMdiSubWindow*> Windows() const {
    const QList<QMdiSubWindow*> windows = frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    return {windows.begin(), windows.end()};
  }
  QRect Area() const { return frame->MdiArea()->viewport()->rect(); }

  TForm* frame = nullptr;
  TActionList* list = nullptr;
};

struct ArrangeCase {
  const char* name;
  std::function<TCustomAction*(TActionList*, TForm*)> make;
  // Whether a child window lies as the command puts it, given the frame's document area.
  std::function<bool(QMdiSubWindow*, QRect area)> placed;
};

class ArrangeTest : public WindowActionTest, public ::testing::WithParamInterface<ArrangeCase> {};

TEST_P(ArrangeTest, ReachesTheFrame) {
  for (int i = 0; i < 3; ++i) AddChild();
  for (QMdiSubWindow* window : Windows()) window->move(200, 150);  // none lies as it will
  TCustomAction* action = GetParam().make(list, frame);
  action->Update();
  EXPECT_TRUE(action->Enabled());
  ASSERT_TRUE(action->Execute());
  for (QMdiSubWindow* window : Windows()) EXPECT_TRUE(GetParam().placed(window, Area())) << window->geometry().x();
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ArrangeTest,
    ::testing::Values(
        ArrangeCase{"TileHorizontally", Make<TWindowTileHorizontal>,
                    [](QMdiSubWindow* w, QRect area) { return w->width() == area.width() && w->height() < area.height(); }},
        ArrangeCase{"TileVertically", Make<TWindowTileVertical>,
                    [](QMdiSubWindow* w, QRect area) { return w->height() == area.height() && w->width() < area.width(); }},
        ArrangeCase{"MinimizeAll", Make<TWindowMinimizeAll>, [](QMdiSubWindow* w, QRect) { return w->isMinimized(); }},
        ArrangeCase{"Cascade", Make<TWindowCascade>,
                    [](QMdiSubWindow* w, QRect) { return !w->isMinimized() && w->y() < 100; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowActionTest, ArrangePutsTheMinimizedWindowsAlongTheBottom) {
  for (int i = 0; i < 2; ++i) AddChild();
  AddAction<TWindowMinimizeAll>()->Execute();
  Windows()[0]->move(100, 10);
  ASSERT_TRUE(AddAction<TWindowArrange>()->Execute());
  for (QMdiSubWindow* window : Windows()) EXPECT_EQ(window->geometry().bottom() + 1, Area().bottom() + 1);
}

// A child with a border shows its caption in its title bar. Without a border it has no title bar
// and keeps no title, and it shows its current caption again once it has a border.
TEST_F(WindowActionTest, ChildTitleBarShowsTheCaptionWhileTheChildHasABorder) {
  TForm* child = AddChild();
  child->SetCaption("正嘜");
  EXPECT_EQ(Windows()[0]->windowTitle(), QStringLiteral("正嘜"));
  child->SetBorderStyle(bsNone);
  EXPECT_TRUE(Windows()[0]->windowTitle().isEmpty());
  child->SetCaption("側嘜");
  child->SetBorderStyle(bsSizeable);
  EXPECT_EQ(Windows()[0]->windowTitle(), QStringLiteral("側嘜"));
}

TEST_F(WindowActionTest, AreDisabledWithoutChildrenOrOutsideAFrame) {
  auto* cascade = AddAction<TWindowCascade>();
  auto* close = AddAction<TWindowClose>();
  cascade->Update();
  close->Update();
  EXPECT_FALSE(cascade->Enabled());
  EXPECT_FALSE(close->Enabled());
  AddChild();
  cascade->Update();
  EXPECT_TRUE(cascade->Enabled());

  // An action list of a window that is no frame has nothing to act on.
  auto* plain = New<TForm>(Application);
  auto* elsewhere = Make<TWindowTileVertical>(New<TActionList>(plain), plain);
  elsewhere->Update();
  EXPECT_FALSE(elsewhere->Enabled());
  EXPECT_FALSE(elsewhere->Execute());
}

TEST_F(WindowActionTest, CloseClosesTheActiveChildAsAForm) {
  TForm* first = AddChild();
  TForm* second = AddChild();
  int asked = 0;
  bool refuse = true;
  second->OnClose.Bind([&](TObject*, TCloseAction& action) {
    ++asked;
    if (refuse) action = caNone;
  });
  frame->MdiArea()->setActiveSubWindow(Windows()[1]);
  auto* close = AddAction<TWindowClose>();
  ASSERT_TRUE(close->Execute());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(frame->MDIChildCount(), 2);  // the child said no
  refuse = false;
  close->Execute();
  RunQueued();
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->MDIChildren(0), first);
}

}  // namespace
