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
// FIXME: fixed rows and columns scroll with the others, and goRowMoving / goColMoving move nothing.

#include <string>
#include <vector>

#include "platform/controls/NativeControl.h"
#include "platform/rtl/Exception.h"

class QRect;
class QTableWidget;

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
  int Col() const { return col_; }
  void SetCol(int v);
  int Row() const { return row_; }
  void SetRow(int v);

  // The cell's rectangle without its grid lines; empty when none of it is in view. Both make the
  // window when there is none: where the cells start depends on the frame the style draws.
  TRect CellRect(int col, int row);
  // The cell at a point; -1 and -1 outside every cell.
  void MouseToCell(int x, int y, int& col, int& row);
  bool IsFixedCell(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }

  TSelectCellEvent OnSelectCell;

  void DefineProperties(TFiler* filer) override;

 protected:
  QWidget* CreateWidget() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual bool SelectCell(int col, int row);

 private:
  // The Qt section of a column or row: the cell and the line after it.
  int LineWidth() const;
  // Resizes the cells and sizes to the counts, keeping what still fits.
  void ChangeSize(int cols, int rows);
  // Moves the current cell back inside the grid, off the fixed cells.
  void ClampCurrent();
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

  QTableWidget* table_ = nullptr;
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
};
