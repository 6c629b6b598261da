#include "platform/win/MessageBox.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/platform/win/QtApp.h"

namespace {

std::vector<QMessageBox*> OpenBoxes() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box && box->isVisible()) boxes.push_back(box);
  }
  return boxes;
}

// Real boxes are answered from inside their own event loop. A safety net rejects any box that a
// test leaves open, so that a fault shows as a failure and never as a hang.
class MessageBoxes : public testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    QObject::connect(&safetyNet_, &QTimer::timeout, [] {
      for (QMessageBox* box : OpenBoxes()) {
        ADD_FAILURE() << "a message box was left open: " << box->text().toStdString();
        box->reject();
      }
    });
    safetyNet_.start(2000);
  }

  void TearDown() override {
    SetMessageBoxHook({});
    EXPECT_TRUE(OpenBoxes().empty());
  }

  // Calls MessageBox and lets `answer` act on the box it shows.
  int AnswerBox(HWND owner, const std::string& text, const std::string& caption, UINT type,
                const std::function<void(QMessageBox&)>& answer) {
    QTimer poll;
    bool shown = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      poll.stop();
      shown = true;
      answer(*box);
    });
    poll.start(5);
    const int result = MessageBox(owner, text, caption, type);
    EXPECT_TRUE(shown) << "no modal box appeared";
    return result;
  }

  QTimer safetyNet_;
};

TEST_F(MessageBoxes, HookAnswersInsteadOfBox) {
  std::string seenText, seenCaption;
  UINT seenType = 0;
  SetMessageBoxHook([&](const std::string& text, const std::string& caption, UINT type) {
    seenText = text;
    seenCaption = caption;
    seenType = type;
    return IDNO;
  });
  const UINT type = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
  EXPECT_EQ(MessageBox(0, "存檔嗎?", "markedit", type), IDNO);
  EXPECT_EQ(seenText, "存檔嗎?");
  EXPECT_EQ(seenCaption, "markedit");
  EXPECT_EQ(seenType, type);
}

TEST_F(MessageBoxes, UnknownButtonSetGivesZeroWithoutAsking) {
  int calls = 0;
  SetMessageBoxHook([&](const std::string&, const std::string&, UINT) { return ++calls; });
  for (UINT set = 6; set <= MB_TYPEMASK; ++set) {
    EXPECT_EQ(MessageBox(0, "?", "", set | MB_ICONHAND), 0) << set;
  }
  EXPECT_EQ(calls, 0);
}

TEST_F(MessageBoxes, BoxBelongsToOwnerWindow) {
  QWidget main;
  const HWND owner = CreateWindowHandle(&main, 0);
  ASSERT_NE(owner, 0u);
  AnswerBox(owner, "text", "caption", MB_OK, [&](QMessageBox& box) {
    EXPECT_EQ(box.parentWidget(), &main);
    box.button(QMessageBox::Ok)->click();
  });
  DestroyWindow(owner);
}

struct BoxCase {
  const char* name;
  UINT type;
  std::vector<QMessageBox::StandardButton> buttons;  // in MB_DEFBUTTONn order
  QMessageBox::Icon icon;
  QMessageBox::StandardButton initial;
  size_t click;
  int answer;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class RealMessageBox : public MessageBoxes, public testing::WithParamInterface<BoxCase> {};

TEST_P(RealMessageBox, ShowsButtonsAndIconAndAnswersClickedButton) {
  const BoxCase& c = GetParam();
  const int answer = AnswerBox(0, "嘜頭 C001 已存在", "markedit", c.type, [&](QMessageBox& box) {
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.windowTitle().toStdString(), "markedit");
    EXPECT_EQ(box.text().toStdString(), "嘜頭 C001 已存在");
    EXPECT_EQ(box.icon(), c.icon);
    QMessageBox::StandardButtons expected;
    for (const auto button : c.buttons) expected |= button;
    EXPECT_EQ(box.standardButtons().toInt(), expected.toInt());
    EXPECT_EQ(box.defaultButton(), box.button(c.initial));
    box.button(c.buttons[c.click])->click();
  });
  EXPECT_EQ(answer, c.answer);
}

using B = QMessageBox;
INSTANTIATE_TEST_SUITE_P(
    MessageBox, RealMessageBox,
    testing::Values(
        BoxCase{"Ok", MB_OK, {B::Ok}, B::NoIcon, B::Ok, 0, IDOK},
        BoxCase{"OkCancel", MB_OKCANCEL | MB_ICONINFORMATION, {B::Ok, B::Cancel}, B::Information,
                B::Ok, 1, IDCANCEL},
        BoxCase{"AbortRetryIgnore", MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_DEFBUTTON3,
                {B::Abort, B::Retry, B::Ignore}, B::Critical, B::Ignore, 1, IDRETRY},
        BoxCase{"YesNoCancel", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2,
                {B::Yes, B::No, B::Cancel}, B::Question, B::No, 0, IDYES},
        BoxCase{"YesNo", MB_YESNO | MB_ICONWARNING, {B::Yes, B::No}, B::Warning, B::Yes, 1, IDNO},
        BoxCase{"RetryCancel", MB_RETRYCANCEL | MB_DEFBUTTON2, {B::Retry, B::Cancel}, B::NoIcon,
                B::Cancel, 0, IDRETRY},
        BoxCase{"DefaultBeyondButtonsIsFirst", MB_YESNO | MB_DEFBUTTON4, {B::Yes, B::No},
                B::NoIcon, B::Yes, 1, IDNO},
        BoxCase{"HelpAddsNoButton", MB_OK | MB_HELP | MB_ICONASTERISK, {B::Ok}, B::Information,
                B::Ok, 0, IDOK}),
    [](const auto& info) { return std::string(info.param.name); });

class EscapeMessageBox : public MessageBoxes,
                         public testing::WithParamInterface<std::pair<UINT, int>> {};

TEST_P(EscapeMessageBox, EscapeAnswersCancelOrTheOnlyButton) {
  const int answer = AnswerBox(0, "escape", "", GetParam().first, [](QMessageBox& box) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&box, &escape);
  });
  EXPECT_EQ(answer, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(MessageBox, EscapeMessageBox,
                         testing::Values(std::pair{MB_OK, IDOK}, std::pair{MB_OKCANCEL, IDCANCEL},
                                         std::pair{MB_YESNOCANCEL | MB_DEFBUTTON2, IDCANCEL},
                                         std::pair{MB_RETRYCANCEL, IDCANCEL}));

// Runs in a fresh process of its own, where no QApplication exists.
TEST(MessageBoxWithoutGui, WritesTextToStderrAndAnswersDefaultButton) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::_Exit(MessageBox(0, "disk full", "markedit", MB_YESNOCANCEL | MB_DEFBUTTON2)),
              testing::ExitedWithCode(IDNO), "markedit: disk full");
  EXPECT_EXIT(std::_Exit(MessageBox(0, "x", "", MB_RETRYCANCEL | MB_DEFBUTTON3)),
              testing::ExitedWithCode(IDRETRY), "x");
}

}  // namespace
