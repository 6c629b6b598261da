#include <QTimer>

#include "platform/controls/Buttons.h"
#include "platform/controls/Panel.h"
#include "tests/platform/controls/ControlsTestSupport.h"

using controls_test::VisibleTopLevels;

namespace {

class ModalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    dialog = New<TForm>(nullptr);
    dialog->SetBounds(50, 50, 300, 200);
    ok = New<TBitBtn>(dialog);
    ok->SetParent(dialog);
    ok->SetBounds(20, 150, 80, 30);
    ok->SetKind(bkOK);
    cancel = New<TBitBtn>(dialog);
    cancel->SetParent(dialog);
    cancel->SetBounds(120, 150, 80, 30);
    cancel->SetKind(bkCancel);
  }
  void TearDown() override {
    FreeAndNil(dialog);
    QApplication::processEvents();
    EXPECT_TRUE(VisibleTopLevels().empty());
  }
  // Clicks `button` as a user would once the modal loop runs.
  void ClickLater(TBitBtn* button) {
    QTimer::singleShot(0, [button] {
      QTest::mouseClick(WindowWidget(button->Handle()), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    });
  }
  TForm* dialog = nullptr;
  TBitBtn* ok = nullptr;
  TBitBtn* cancel = nullptr;
};

}  // namespace

TEST_F(ModalTest, ShowModalReturnsTheResultOfTheButtonClicked) {
  ClickLater(ok);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(dialog->Showing());
  ClickLater(cancel);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(ModalTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
  auto* edit = New<TPanel>(dialog);  // a focusable window that leaves Enter and Escape alone
  edit->SetParent(dialog);
  edit->SetBounds(10, 10, 100, 30);
  auto press = [this, edit](Qt::Key key) {
    QTimer::singleShot(0, [edit, key] {
      QWidget* w = WindowWidget(edit->Handle());
      w->setFocusPolicy(Qt::StrongFocus);
      w->activateWindow();
      w->setFocus();
      QTest::keyClick(w, key);
    });
    return dialog->ShowModal();
  };
  EXPECT_EQ(press(Qt::Key_Return), mrOk);
  EXPECT_EQ(press(Qt::Key_Escape), mrCancel);
}

TEST_F(ModalTest, ClosingAModalFormGivesCancel) {
  QTimer::singleShot(0, [this] { dialog->Close(); });
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_FALSE(dialog->Showing());
}
