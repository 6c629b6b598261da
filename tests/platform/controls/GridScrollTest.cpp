// String grids beyond one screen: fixed rows and columns stay while the others scroll by whole
// rows and columns, the keys and the current cell scroll it into view, rows and columns move by
// dragging their fixed cells, and a drag selects a block of cells.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTableWidget>

#include <string>
#include <utility>
#include <vector>

#include "platform/controls/Grids.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

class GridScrollTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    grid = New<TStringGrid>(form);
    grid->SetParent(form);
    grid->SetBounds(10, 10, 300, 200);
    grid->SetColCount(8);
    grid->SetRowCount(20);
    grid->SetDefaultColWidth(50);
    grid->SetDefaultRowHeight(20);
    for (int r = 0; r < grid->RowCount(); ++r)
      for (int c = 0; c < grid->ColCount(); ++c) grid->SetCells(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
  }
  QTableWidget* Table() { return qobject_cast<QTableWidget*>(WindowWidget(grid->Handle())); }
  QPoint OnViewport(TPoint p) { return Table()->viewport()->mapFrom(Table(), QPoint(p.X, p.Y)); }
  static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  void Click(TPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(Table()->viewport(), Qt::LeftButton, modifiers, OnViewport(p));
  }
  // Presses at one point of the grid, moves the mouse through the others and lets go at the last.
  void Drag(std::vector<TPoint> path) {
    QWidget* viewport = Table()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, OnViewport(path.front()));
    for (TPoint p : path) {
      QMouseEvent move(QEvent::MouseMove, QPointF(OnViewport(p)), viewport->mapToGlobal(QPointF(OnViewport(p))),
                       Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, OnViewport(path.back()));
    QApplication::processEvents();  // a move runs from the event loop
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(Table(), key, modifiers); }
  void Step(QScrollBar* bar, int times) {
    for (int i = 0; i < times; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  }
  // The bottom of the area the cells are shown in, in client coordinates.
  int ViewBottom() { return Table()->viewport()->geometry().bottom(); }

  TStringGrid* grid = nullptr;
};

TEST_F(GridScrollTest, FixedRowsAndColumnsStayInPlaceWhileTheOthersScrollByWholeCells) {
  grid->SetFixedColor(kPanelColor);
  ShowForm();
  const TRect corner = grid->CellRect(0, 0), header = grid->CellRect(1, 0), side = grid->CellRect(0, 1);
  const TRect first = grid->CellRect(1, 1);
  ASSERT_TRUE(Table()->verticalScrollBar()->isVisible());
  Step(Table()->verticalScrollBar(), 3);
  Step(Table()->horizontalScrollBar(), 2);
  EXPECT_EQ(grid->TopRow(), 4);
  EXPECT_EQ(grid->LeftCol(), 3);
  // The fixed cells are where they were; the first cells scrolled in take the place of the first
  // ones, which are out of view.
  EXPECT_EQ(grid->CellRect(0, 0), corner);
  EXPECT_EQ(grid->CellRect(3, 0), header);
  EXPECT_EQ(grid->CellRect(0, 4), side);
  EXPECT_EQ(grid->CellRect(3, 4), first);
  EXPECT_EQ(grid->CellRect(1, 1), TRect{});
  EXPECT_EQ(grid->CellRect(1, 0), TRect{});
  QImage image = Table()->grab().toImage();
  auto at = [&image](const TRect& r) { return image.pixel(r.Left + 2, r.Bottom - 2) | 0xFF000000u; };
  EXPECT_EQ(at(header), Rgb(kPanelColor) | 0xFF000000u);
  EXPECT_EQ(at(side), Rgb(kPanelColor) | 0xFF000000u);
  EXPECT_NE(at(first), Rgb(kPanelColor) | 0xFF000000u);
  // The user's press finds the cell shown there.
  int col = -1, row = -1;
  grid->MouseToCell(Centre(first).X, Centre(first).Y, col, row);
  EXPECT_EQ(std::make_pair(col, row), std::make_pair(3, 4));
  Click(Centre(first));
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 4);
  // Sizing at the line after the fixed column sizes that column, not one scrolled out of view.
  grid->SetOptions(grid->Options() + TGridOptions{goColSizing});
  const int line = grid->CellRect(0, 0).Right;
  Drag({{line, Centre(header).Y}, {line + 10, Centre(header).Y}});
  EXPECT_EQ(grid->ColWidths(0), 60);
  EXPECT_EQ(grid->ColWidths(2), 50);
}

TEST_F(GridScrollTest, KeysAndTheCurrentCellScrollItWhollyIntoView) {
  ShowForm();
  QApplication::setActiveWindow(Widget()->window());
  grid->SetFocus();
  const int shown = grid->VisibleRowCount();
  ASSERT_GT(shown, 2);
  ASSERT_LT(shown, 18);
  for (int i = 0; i < shown; ++i) Key(Qt::Key_Down);
  EXPECT_EQ(grid->Row(), 1 + shown);
  EXPECT_EQ(grid->TopRow(), 2);
  EXPECT_LE(grid->CellRect(1, grid->Row()).Bottom, ViewBottom() + 1);
  for (int i = 0; i < shown; ++i) Key(Qt::Key_Up);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->TopRow(), 1);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(7, 19));
  const TRect last = grid->CellRect(7, 19);
  EXPECT_NE(last, TRect{});
  EXPECT_LE(last.Bottom, ViewBottom() + 1);
  QScrollBar* bar = Table()->verticalScrollBar();
  EXPECT_EQ(bar->value(), bar->maximum());  // the scroll bar counts rows
  EXPECT_EQ(bar->value(), grid->TopRow() - 1);
  // The last row in view, the view cannot scroll further.
  grid->SetTopRow(19);
  EXPECT_EQ(grid->TopRow(), bar->maximum() + 1);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(std::make_pair(grid->LeftCol(), grid->TopRow()), std::make_pair(1, 1));
  // The current cell set by code is scrolled to as well.
  grid->SetRow(12);
  EXPECT_NE(grid->CellRect(1, 12), TRect{});
  EXPECT_LE(grid->CellRect(1, 12).Bottom, ViewBottom() + 1);
}

TEST_F(GridScrollTest, ChangedCountsKeepTheViewInsideTheGrid) {
  ShowForm();
  grid->SetRow(19);
  grid->SetCol(7);
  ASSERT_GT(grid->TopRow(), 1);
  ASSERT_GT(grid->LeftCol(), 1);
  grid->SetRowCount(3);
  grid->SetColCount(2);
  EXPECT_EQ(std::make_pair(grid->LeftCol(), grid->TopRow()), std::make_pair(1, 1));
  EXPECT_NE(grid->CellRect(1, 2), TRect{});
  // Rows that become fixed are in view again, and no longer scroll.
  grid->SetRowCount(20);
  grid->SetRow(12);
  const int top = grid->TopRow();
  ASSERT_GT(top, 4);
  grid->SetFixedRows(3);
  EXPECT_EQ(grid->TopRow(), top);
  EXPECT_NE(grid->CellRect(1, 2), TRect{});
  EXPECT_EQ(grid->CellRect(1, 3), TRect{});
  grid->SetFixedRows(top + 1);
  EXPECT_EQ(grid->TopRow(), top + 1);
  EXPECT_NE(grid->CellRect(1, 4), TRect{});
}

TEST_F(GridScrollTest, DraggingAFixedCellMovesItsRowOrColumnWithItsCellsAndSize) {
  grid->SetOptions(grid->Options() + TGridOptions{goRowMoving, goColMoving});
  grid->SetRowHeights(2, 30);
  grid->SetRow(2);
  std::vector<std::string> moves;
  grid->OnRowMoved.Bind([&moves](TObject*, int from, int to) {
    moves.push_back("row " + std::to_string(from) + ">" + std::to_string(to));
  });
  grid->OnColumnMoved.Bind([&moves](TObject*, int from, int to) {
    moves.push_back("col " + std::to_string(from) + ">" + std::to_string(to));
  });
  ShowForm();
  Drag({Centre(grid->CellRect(0, 2)), Centre(grid->CellRect(0, 3)), Centre(grid->CellRect(0, 4))});
  EXPECT_EQ(grid->Cells(1, 4), "r2c1");
  EXPECT_EQ(grid->Cells(0, 4), "r2c0");
  EXPECT_EQ(grid->Cells(1, 2), "r3c1");
  EXPECT_EQ(grid->Cells(1, 3), "r4c1");
  EXPECT_EQ(grid->RowHeights(4), 30);
  EXPECT_EQ(grid->RowHeights(2), 20);
  EXPECT_EQ(grid->Row(), 4);  // the current cell went with its row
  EXPECT_EQ(Table()->item(4, 1)->text(), "r2c1");
  // A column back to the left.
  Drag({Centre(grid->CellRect(3, 0)), Centre(grid->CellRect(2, 0)), Centre(grid->CellRect(1, 0))});
  EXPECT_EQ(grid->Cells(1, 0), "r0c3");
  EXPECT_EQ(grid->Cells(2, 5), "r5c1");
  EXPECT_EQ(grid->Cells(3, 5), "r5c2");
  EXPECT_EQ(moves, (std::vector<std::string>{"row 2>4", "col 3>1"}));
  // A click on a fixed cell, or a drag without the option, moves nothing.
  Click(Centre(grid->CellRect(0, 6)));
  grid->SetOptions(grid->Options() - TGridOptions{goRowMoving});
  Drag({Centre(grid->CellRect(0, 2)), Centre(grid->CellRect(0, 4))});
  EXPECT_EQ(moves.size(), 2u);
  EXPECT_EQ(grid->Cells(1, 2), "r3c3");
  // Code moves rows the same way and checks the indexes.
  grid->MoveRow(5, 1);
  EXPECT_EQ(grid->Cells(0, 1), "r5c0");
  EXPECT_EQ(grid->Cells(0, 2), "r1c0");
  EXPECT_THROW(grid->MoveRow(0, 20), EInvalidGridOperation);
  EXPECT_THROW(grid->MoveColumn(-1, 2), EInvalidGridOperation);
}

TEST_F(GridScrollTest, ADropOnTheFixedCellsWhileScrolledPutsTheRowOrColumnFirstInView) {
  grid->SetColCount(20);
  for (int c = 8; c < 20; ++c) grid->SetCells(c, 0, "r0c" + std::to_string(c));
  grid->SetOptions(grid->Options() + TGridOptions{goRowMoving, goColMoving});
  ShowForm();
  grid->SetLeftCol(10);
  grid->SetTopRow(10);
  ASSERT_EQ(std::make_pair(grid->LeftCol(), grid->TopRow()), std::make_pair(10, 10));
  Drag({Centre(grid->CellRect(11, 0)), Centre(grid->CellRect(10, 0)), Centre(grid->CellRect(0, 0))});
  EXPECT_EQ(grid->Cells(10, 0), "r0c11");
  EXPECT_EQ(grid->Cells(11, 0), "r0c10");
  EXPECT_EQ(grid->Cells(1, 0), "r0c1");
  Drag({Centre(grid->CellRect(0, 11)), Centre(grid->CellRect(0, 10)), Centre(grid->CellRect(0, 0))});
  EXPECT_EQ(grid->Cells(0, 10), "r11c0");
  EXPECT_EQ(grid->Cells(0, 1), "r1c0");
  // The view stayed where it was and shows the moved row and column in its first places.
  EXPECT_EQ(std::make_pair(grid->LeftCol(), grid->TopRow()), std::make_pair(10, 10));
  EXPECT_EQ(grid->CellRect(10, 10).Left, grid->CellRect(0, 0).Right + 1);
  EXPECT_EQ(grid->CellRect(10, 10).Top, grid->CellRect(0, 0).Bottom + 1);
}

// The handler of a move may free the grid, or the whole form, as it likes: the mouse release that
// moved the row must not touch either afterwards.
TEST_F(GridScrollTest, AMoveHandlerMayFreeTheGridOrItsForm) {
  int moved = 0;
  auto dragRow = [this] { Drag({Centre(grid->CellRect(0, 2)), Centre(grid->CellRect(0, 4))}); };
  grid->SetOptions(grid->Options() + TGridOptions{goRowMoving});
  grid->OnRowMoved.Bind([this, &moved](TObject*, int, int) {
    ++moved;
    FreeAndNil(grid);
  });
  ShowForm();
  dragRow();
  EXPECT_EQ(moved, 1);
  EXPECT_EQ(grid, nullptr);
  EXPECT_EQ(form->ControlCount(), 0);
  grid = New<TStringGrid>(form);
  grid->SetParent(form);
  grid->SetOptions(grid->Options() + TGridOptions{goRowMoving});
  grid->OnRowMoved.Bind([this, &moved](TObject*, int, int) {
    ++moved;
    grid = nullptr;
    FreeAndNil(form);
  });
  dragRow();
  EXPECT_EQ(moved, 2);
  EXPECT_EQ(form, nullptr);
  EXPECT_TRUE(VisibleTopLevels().empty());
}

TEST_F(GridScrollTest, ADragSelectsABlockOnlyWithRangeSelect) {
  ShowForm();
  Drag({Centre(grid->CellRect(1, 1)), Centre(grid->CellRect(2, 2)), Centre(grid->CellRect(3, 2))});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 2}));
  Click(Centre(grid->CellRect(2, 4)), Qt::ShiftModifier);
  TGridRect extended = grid->Selection();
  EXPECT_EQ(extended.Bottom, 4);
  EXPECT_GE(extended.Right, 2);
  grid->SetOptions(grid->Options() - TGridOptions{goRangeSelect});
  Drag({Centre(grid->CellRect(1, 1)), Centre(grid->CellRect(3, 2))});
  const TGridRect current{grid->Col(), grid->Row(), grid->Col(), grid->Row()};
  EXPECT_EQ(grid->Selection(), current);
  EXPECT_EQ(Table()->selectedItems().size(), 1);
  grid->SetOptions(grid->Options() + TGridOptions{goRowSelect});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, grid->Row(), 7, grid->Row()}));
}

}  // namespace
