#pragma once
// TStringGrid: a grid of text cells over QTableWidget. The first FixedRows rows and FixedCols
// columns are fixed: grey, never current and never selected, like headers, but part of the cell
// grid, so cell (0, 0) is the top-left corner and Cells, CellRect and MouseToCell count from there.
// Qt's own headers are hidden.
//
// Widths and heights are those of the cells without the grid lines; each line takes one pixel
// after its cell. CellRect and MouseToCell work in the control's client coordinates, the ones its
// mouse events report. Cells and sizes are kept by the control and live before the window.
//
// The grid scrolls by whole rows and columns: TopRow is the first row shown below the fixed rows,
// LeftCol the first column right of the fixed columns; the rows and columns before them are out of
// view, and the fixed ones never move. The scroll bars count rows and columns.
//
// With goRowMoving, dragging a cell of a fixed column up or down moves its row to the row where the
// mouse is let go; with goColMoving, dragging a cell of a fixed row moves its column. The cells,
// sizes and the current cell go with them, and OnRowMoved / OnColumnMoved report the move. Let go
// over the fixed cells, the row (column) becomes the first one in view. A drag's move runs from
// the event loop after the mouse release, so its handler may free the grid.

#include <string>
#include <vector>

#include "platform/controls/NativeControl.h"
#include "platform/rtl/Exception.h"

class QRect;
class StringGridView;

ENUMERATION(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
            goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
            goRowSelect, goAlwaysShowEditor, goThumbTracking)
SET_OF(TGridOptions, TGridOption)
ENUMERATION(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

// A cell or count a grid can't take.
class EInvalidGridOperation : public Exception {
  using Exception::Exception;
};

// Asked before the user makes a cell current; clearing the flag keeps the current cell.
using TSelectCellEvent = TEvent<TObject*, int, int, bool&>;
// A row or column moved from one index to another.
using TMovedEvent = TEvent<TObject*, int, int>;

// A block of cells, both corners included.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TGridRect& a, const TGridRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
};

constexpr TGridOptions kDefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};

class TStringGrid : public TNativeControl {
  DECLARE_CLASS(TStringGrid)

 public:
  void Create(TComponent* owner) override;

  // At least 1. Fewer rows than fixed ones leave one row fewer fixed; the current cell stays inside.
  int ColCount() const { return colCount_; }
  void SetColCount(int v);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int v);
  // Fewer than the columns (rows): at least one column (row) is never fixed.
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int v);
  // Setting a default sets every column (row) to it.
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int v);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int v);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor v);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions v);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);

  // Cells outside the grid read empty; writing one raises EInvalidGridOperation.
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);

  // The current cell, never a fixed one; setting it outside the grid or on a fixed cell raises.
  // Setting it scrolls it into view.
  int Col() const { return col_; }
  void SetCol(int v);
  int Row() const { return row_; }
  void SetRow(int v);
  // The selected block: the cells the user dragged over or Shift-clicked to with goRangeSelect,
  // whole rows with goRowSelect, else the current cell.
  TGridRect Selection() const;

  // The first row below the fixed rows and the first column right of the fixed columns that are in
  // view; kept between the first one and the last that still fills the view.
  int TopRow() const { return topRow_; }
  void SetTopRow(int v);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int v);
  // How many rows (columns) from TopRow (LeftCol) on are wholly in view; these need the window.
  int VisibleRowCount();
  int VisibleColCount();

  // Moves a row (column) with its cells and size to another index, the rows in between making
  // room; the current cell stays on its row (column). Raises EInvalidGridOperation for an index
  // outside the grid.
  void MoveRow(int fromIndex, int toIndex);
  void MoveColumn(int fromIndex, int toIndex);

  // The cell's rectangle without its grid lines; empty when none of it is in view. Both make the
  // window when there is none: where the cells start depends on the frame the style draws.
  TRect CellRect(int col, int row);
  // The cell at a point; -1 and -1 outside every cell.
  void MouseToCell(int x, int y, int& col, int& row);
  bool IsFixedCell(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }

  TSelectCellEvent OnSelectCell;
  TMovedEvent OnRowMoved;
  TMovedEvent OnColumnMoved;

  void DefineProperties(TFiler* filer) override;

 protected:
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual bool SelectCell(int col, int row);
  virtual void RowMoved(int fromIndex, int toIndex) { OnRowMoved(this, fromIndex, toIndex); }
  virtual void ColumnMoved(int fromIndex, int toIndex) { OnColumnMoved(this, fromIndex, toIndex); }
  // Enter and Escape while a cell is edited; Tab with goTabs unless it would leave the grid.
  bool WantsDialogKey(uint16_t key) const override;

 private:
  friend class StringGridView;
  // The Qt section of a column or row: the cell and the line after it.
  int LineWidth() const;
  // Resizes the cells and sizes to the counts, keeping what still fits.
  void ChangeSize(int cols, int rows);
  // Moves the current cell back inside the grid, off the fixed cells, and the scroll position
  // past the fixed rows and columns.
  void ClampCurrent();
  // The pixels a row (column) takes with its line, and those the fixed ones take.
  int RowExtent(int row) const { return RowHeights(row) + LineWidth(); }
  int ColExtent(int col) const { return ColWidths(col) + LineWidth(); }
  int FixedExtent(bool rows) const;
  // The pixels of the view left for the rows (columns) that scroll; needs the window.
  int Room(bool rows) const;
  // How many rows (columns) from the first in view on are wholly in view; needs the window.
  int VisibleCount(bool rows) const;
  // The largest TopRow (LeftCol) that still fills the view, and the smallest that shows `index`
  // wholly (or at least at the top when it does not fit).
  int MaxFirst(bool rows);
  int FirstShowing(bool rows, int index);
  // Scrolls so that a cell is wholly in view.
  void ScrollInView(int col, int row);
  void SetFirst(bool rows, int v);
  // Hides the rows and columns scrolled out of view and sets the scroll bars.
  void PushScroll();
  // The view laid itself out again or the user moved a scroll bar.
  void ViewResized();
  void ScrollBarMoved();
  void PushAll();
  void PushCells();
  void PushSizes();
  void PushOptions();
  void PushCurrent();
  // The user moved to another cell, edited one or sized a column or row.
  void CurrentFromWidget(int row, int col);
  void CellFromWidget(int row, int col);
  void SizeFromWidget(bool column, int index, int size);
  // Where the cells are shown, in client coordinates.
  QRect ViewArea() const;

  StringGridView* table_ = nullptr;
  int colCount_ = 5;
  int rowCount_ = 5;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
  std::vector<std::string> cells_;  // row by row
  TColor fixedColor_ = clBtnFace;
  TGridOptions options_ = kDefaultGridOptions;
  TScrollStyle scrollBars_ = ssBoth;
  int col_ = 1;
  int row_ = 1;
  int topRow_ = 1;
  int leftCol_ = 1;
};
