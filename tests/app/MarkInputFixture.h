#pragma once
// Input to the real editor as a user gives it: clicks and drags at positions of controls, keys to
// the focused widget, and the palette's buttons found by what they show.

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <string>
#include <vector>

#include "design/palette/DsnPanel.h"
#include "design/select/DsnHandle.h"
#include "tests/app/MarkEditorFixture.h"

namespace marks_test {

// The window a control's input arrives at, and a point of the control in that window's coordinates.
struct Spot {
  QWindow* window;
  QPoint at;
};

inline Spot SpotOf(TControl* control, int x, int y) {
  TWinControl* holder = dynamic_cast<TWinControl*>(control);
  if (!holder) {
    holder = control->Parent();
    x += control->Left();
    y += control->Top();
  }
  QWidget* widget = WindowWidget(holder->Handle());
  return {widget->window()->windowHandle(), widget->mapTo(widget->window(), QPoint(x, y))};
}

class MarkInputTest : public MarkEditorTest {
 protected:
  void ClickOn(TControl* control) {
    const Spot spot = SpotOf(control, control->Width() / 2, control->Height() / 2);
    QTest::mouseClick(spot.window, Qt::LeftButton, Qt::NoModifier, spot.at);
    Settle();
  }

  // A drag with the left button on the stage, in its client coordinates.
  void DragOnStage(Tfmmd* editor, TPoint from, TPoint to) {
    TDsnStage* stage = editor->DsnStage1;
    const Spot a = SpotOf(stage, from.X, from.Y);
    const Spot b = SpotOf(stage, to.X, to.Y);
    const Spot mid = SpotOf(stage, (from.X + to.X) / 2, (from.Y + to.Y) / 2);
    QTest::mousePress(a.window, Qt::LeftButton, Qt::NoModifier, a.at);
    QTest::mouseMove(mid.window, mid.at);
    QTest::mouseMove(b.window, b.at);
    QTest::mouseRelease(b.window, Qt::LeftButton, Qt::NoModifier, b.at);
    Settle();
  }

  void Key(Tfmmd* editor, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus ? focus : WindowWidget(editor->DsnStage1->Handle());
    QTest::keyClick(target, key, modifiers);
    Settle();
  }

  // The palette button whose caption is `caption`, or whose prototype is a shape of `kind`.
  TDsnButton* PaletteButton(const std::string& caption) {
    for (int i = 0; i < main_->DsnPanel1->ControlCount(); ++i)
      if (auto* button = dynamic_cast<TDsnButton*>(main_->DsnPanel1->Controls(i)))
        if (button->Caption() == caption) return button;
    return nullptr;
  }
  TDsnButton* ShapeButton(tkind kind) {
    for (int i = 0; i < main_->DsnPanel1->ControlCount(); ++i)
      if (auto* button = dynamic_cast<TDsnButton*>(main_->DsnPanel1->Controls(i)))
        if (auto* shape = dynamic_cast<tshape2*>(button->Gene()); shape && shape->kind() == kind) return button;
    return nullptr;
  }

  static std::vector<TControl*> Elements(Tfmmd* editor) {
    std::vector<TControl*> list;
    for (int i = 0; i < editor->DsnStage1->ControlCount(); ++i)
      if (!dynamic_cast<TSmallRect*>(editor->DsnStage1->Controls(i))) list.push_back(editor->DsnStage1->Controls(i));
    return list;
  }
};

}  // namespace marks_test
