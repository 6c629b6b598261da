#include "platform/controls/Grids.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRect>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <cstdlib>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"
#include "platform/win/ErrorBoundary.h"

DEFINE_CLASS(TStringGrid, TNativeControl) {
  c.Prop("Align", &TStringGrid::Align, &TStringGrid::SetAlign).Default(alNone);
  c.Prop("ColCount", &TStringGrid::ColCount, &TStringGrid::SetColCount).Default(5);
  c.Prop("Color", &TStringGrid::Color, &TStringGrid::SetColor)
      .Type(ColorType())
      .Default(clWindow)
      .Stored(&TStringGrid::IsColorStored);
  c.Prop("DefaultColWidth", &TStringGrid::DefaultColWidth, &TStringGrid::SetDefaultColWidth).Default(64);
  c.Prop("DefaultRowHeight", &TStringGrid::DefaultRowHeight, &TStringGrid::SetDefaultRowHeight).Default(24);
  c.Prop("Enabled", &TStringGrid::Enabled, &TStringGrid::SetEnabled).Default(true);
  c.Prop("FixedColor", &TStringGrid::FixedColor, &TStringGrid::SetFixedColor).Type(ColorType()).Default(clBtnFace);
  c.Prop("FixedCols", &TStringGrid::FixedCols, &TStringGrid::SetFixedCols).Default(1);
  // The row count before the fixed rows, so that a layout can have more of them fixed.
  c.Prop("RowCount", &TStringGrid::RowCount, &TStringGrid::SetRowCount).Default(5);
  c.Prop("FixedRows", &TStringGrid::FixedRows, &TStringGrid::SetFixedRows).Default(1);
  c.Prop("Font", &TStringGrid::Font, &TStringGrid::SetFont).Stored(&TStringGrid::IsFontStored);
  c.Prop("Options", &TStringGrid::Options, &TStringGrid::SetOptions).Default(kDefaultGridOptions.Bits());
  c.Prop("ParentColor", &TStringGrid::ParentColor, &TStringGrid::SetParentColor).Default(false);
  c.Prop("ParentFont", &TStringGrid::ParentFont, &TStringGrid::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TStringGrid::PopupMenu, &TStringGrid::SetPopupMenu);
  c.Prop("ScrollBars", &TStringGrid::ScrollBars, &TStringGrid::SetScrollBars).Default(ssBoth);
  c.Prop("Visible", &TStringGrid::Visible, &TStringGrid::SetVisible).Default(true);
  c.Event("OnClick", &TStringGrid::OnClick);
  c.Event("OnDblClick", &TStringGrid::OnDblClick);
  c.Event("OnEnter", &TStringGrid::OnEnter);
  c.Event("OnExit", &TStringGrid::OnExit);
  c.Event("OnKeyDown", &TStringGrid::OnKeyDown);
  c.Event("OnKeyPress", &TStringGrid::OnKeyPress);
  c.Event("OnKeyUp", &TStringGrid::OnKeyUp);
  c.Event("OnMouseDown", &TStringGrid::OnMouseDown);
  c.Event("OnMouseMove", &TStringGrid::OnMouseMove);
  c.Event("OnMouseUp", &TStringGrid::OnMouseUp);
  c.Event("OnSelectCell", &TStringGrid::OnSelectCell);
  c.Event("OnColumnMoved", &TStringGrid::OnColumnMoved);
  c.Event("OnRowMoved", &TStringGrid::OnRowMoved);
}

namespace {

// Paints the fixed cells in the fixed colour with plain text: Qt would draw them disabled, as their
// items are, to keep them from becoming current.
class FixedCellDelegate : public QStyledItemDelegate {
 public:
  FixedCellDelegate(const TStringGrid& grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!grid_.IsFixedCell(index.column(), index.row())) return;
    option->backgroundBrush = ColorToQColor(grid_.FixedColor());
    option->state |= QStyle::State_Enabled;
    option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    option->palette.setCurrentColorGroup(QPalette::Normal);
  }

 private:
  const TStringGrid& grid_;
};

constexpr Qt::ItemFlags kCellFlags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;

// Pixels the mouse travels before a press on a fixed cell becomes a move of its row or column.
constexpr int kMoveThreshold = 4;

}  // namespace

// The table: Qt's headers hidden. It never scrolls its contents itself: the grid hides the rows and
// columns scrolled out of view and its scroll bars count rows and columns. Drags on the fixed
// cells size columns and rows at their edges (goColSizing, goRowSizing) and move them
// (goColMoving, goRowMoving), as the grid's headers.
class StringGridView : public QTableWidget {
 public:
  explicit StringGridView(TStringGrid& grid) : grid_(grid) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
      header->setMinimumSectionSize(0);
      header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setHorizontalScrollMode(ScrollPerItem);
    setVerticalScrollMode(ScrollPerItem);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setItemDelegate(new FixedCellDelegate(grid, this));
    viewport()->setMouseTracking(true);
  }

  bool Editing() const { return state() == EditingState; }

 protected:
  void updateGeometries() override {
    layingOut_ = true;
    QTableWidget::updateGeometries();
    // Qt has set its scroll bars and offsets for its own scrolling: the grid sets them again.
    horizontalHeader()->setOffset(0);
    verticalHeader()->setOffset(0);
    Guarded([this] { grid_.ViewResized(); });
    layingOut_ = false;
  }

  // A scroll bar moved (dragged, clicked, the wheel, autoscroll while selecting).
  void scrollContentsBy(int, int) override {
    if (!layingOut_) Guarded([this] { grid_.ScrollBarMoved(); });
  }

  void scrollTo(const QModelIndex& index, ScrollHint) override {
    if (index.isValid()) Guarded([this, &index] { grid_.ScrollInView(index.column(), index.row()); });
  }

  // The keys move over the cells scrolled out of view too, never onto the fixed ones.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
    const int fixedCols = grid_.FixedCols(), fixedRows = grid_.FixedRows();
    const int lastCol = grid_.ColCount() - 1, lastRow = grid_.RowCount() - 1;
    int col = grid_.Col(), row = grid_.Row();
    const int page = std::max(grid_.VisibleRowCount(), 1);
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (action) {
      case MoveUp: row = std::max(row - 1, fixedRows); break;
      case MoveDown: row = std::min(row + 1, lastRow); break;
      case MoveLeft: col = std::max(col - 1, fixedCols); break;
      case MoveRight: col = std::min(col + 1, lastCol); break;
      case MovePageUp: row = std::max(row - page, fixedRows); break;
      case MovePageDown: row = std::min(row + page, lastRow); break;
      case MoveHome:
        col = fixedCols;
        if (ctrl) row = fixedRows;
        break;
      case MoveEnd:
        col = lastCol;
        if (ctrl) row = lastRow;
        break;
      case MoveNext:
        if (col < lastCol) ++col;
        else if (row < lastRow) col = fixedCols, ++row;
        break;
      case MovePrevious:
        if (col > fixedCols) --col;
        else if (row > fixedRows) col = lastCol, --row;
        break;
    }
    return model()->index(row, col);
  }

  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) {
      drag_ = DragAt(e->position().toPoint());
      if (drag_.kind != Drag::None) return;
    }
    QTableWidget::mousePressEvent(e);
  }

  void mouseMoveEvent(QMouseEvent* e) override {
    QPoint p = e->position().toPoint();
    switch (drag_.kind) {
      case Drag::None: {
        Drag over = DragAt(p);
        if (over.kind == Drag::SizeColumn) viewport()->setCursor(Qt::SplitHCursor);
        else if (over.kind == Drag::SizeRow) viewport()->setCursor(Qt::SplitVCursor);
        else viewport()->unsetCursor();
        QTableWidget::mouseMoveEvent(e);
        return;
      }
      case Drag::SizeColumn:
      case Drag::SizeRow: {
        bool column = drag_.kind == Drag::SizeColumn;
        int delta = (column ? p.x() : p.y()) - drag_.start;
        QHeaderView* header = column ? horizontalHeader() : verticalHeader();
        header->resizeSection(drag_.index, std::max(drag_.startSize + delta, showGrid() ? 1 : 0));
        return;
      }
      case Drag::MoveColumn:
      case Drag::MoveRow: {
        bool column = drag_.kind == Drag::MoveColumn;
        int along = column ? p.x() : p.y();
        if (!drag_.moving && std::abs(along - drag_.start) < kMoveThreshold) return;
        drag_.moving = true;
        drag_.target = MoveTarget(column, along);
        viewport()->update();
        return;
      }
    }
  }

  void mouseReleaseEvent(QMouseEvent* e) override {
    if (drag_.kind == Drag::None || e->button() != Qt::LeftButton) {
      QTableWidget::mouseReleaseEvent(e);
      return;
    }
    Drag done = drag_;
    drag_ = {};
    viewport()->update();
    if (!done.moving || done.target == done.index) return;
    // The move runs from the event loop, once the release has gone through the grid's window: its
    // handler may free the grid (and this view), and the release's delivery still uses the grid.
    QPointer<StringGridView> self(this);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [self, done] { if (self) self->FinishMove(done); }, Qt::QueuedConnection);
  }

  // While a row or column is dragged, a bar shows where it will go.
  void paintEvent(QPaintEvent* e) override {
    QTableWidget::paintEvent(e);
    if (!drag_.moving) return;
    QPainter painter(viewport());
    const bool column = drag_.kind == Drag::MoveColumn;
    const int t = drag_.target;
    int at = column ? columnViewportPosition(t) : rowViewportPosition(t);
    if (t > drag_.index) at += column ? columnWidth(t) : rowHeight(t);
    QRect bar = column ? QRect(at - 1, 0, 3, viewport()->height()) : QRect(0, at - 1, viewport()->width(), 3);
    painter.fillRect(bar, palette().color(QPalette::Highlight));
  }

 private:
  // A drag on the fixed cells: sizing a column or a row (`start` is where the mouse went down,
  // `startSize` the section's size then) or moving one to `target`.
  struct Drag {
    enum Kind { None, SizeColumn, SizeRow, MoveColumn, MoveRow } kind = None;
    int index = -1;
    int start = 0;
    int startSize = 0;
    bool moving = false;
    int target = -1;
  };

  // Moves the row (column) of a finished drag, unless the grid has since lost it.
  void FinishMove(const Drag& done) {
    const bool column = done.kind == Drag::MoveColumn;
    const int count = column ? grid_.ColCount() : grid_.RowCount();
    const int fixed = column ? grid_.FixedCols() : grid_.FixedRows();
    if (done.index < fixed || done.index >= count || done.target < fixed || done.target >= count) return;
    // The handler of the move may free the grid and this view: nothing here runs after it.
    if (column) Guarded([this, done] { grid_.MoveColumn(done.index, done.target); });
    else Guarded([this, done] { grid_.MoveRow(done.index, done.target); });
  }

  // The drag a press at `p` starts. Sizing takes the grid line after a column (row), within two
  // pixels, in a fixed row (column); the rightmost (lowest) one wins, so a column of width 0 does not
  // hide its neighbour's edge. Elsewhere on a fixed row (column) the press takes the column (row)
  // to move.
  Drag DragAt(QPoint p) const {
    const TGridOptions options = grid_.Options();
    const int row = rowAt(p.y()), col = columnAt(p.x());
    const bool inFixedRow = row >= 0 && row < grid_.FixedRows();
    const bool inFixedCol = col >= 0 && col < grid_.FixedCols();
    Drag drag;
    if (options.Contains(goColSizing) && inFixedRow)
      for (int c = columnCount() - 1; c >= 0; --c)
        if (!isColumnHidden(c) && std::abs(p.x() - (columnViewportPosition(c) + columnWidth(c) - 1)) <= 2) {
          drag.kind = Drag::SizeColumn;
          drag.index = c;
          drag.start = p.x();
          drag.startSize = columnWidth(c);
          return drag;
        }
    if (options.Contains(goRowSizing) && inFixedCol)
      for (int r = rowCount() - 1; r >= 0; --r)
        if (!isRowHidden(r) && std::abs(p.y() - (rowViewportPosition(r) + rowHeight(r) - 1)) <= 2) {
          drag.kind = Drag::SizeRow;
          drag.index = r;
          drag.start = p.y();
          drag.startSize = rowHeight(r);
          return drag;
        }
    if (options.Contains(goColMoving) && inFixedRow && col >= grid_.FixedCols()) {
      drag.kind = Drag::MoveColumn;
      drag.index = drag.target = col;
      drag.start = p.x();
    } else if (options.Contains(goRowMoving) && inFixedCol && row >= grid_.FixedRows()) {
      drag.kind = Drag::MoveRow;
      drag.index = drag.target = row;
      drag.start = p.y();
    }
    return drag;
  }

  // The column (row) a move would go to with the mouse at `along`: the one under it, or the first
  // or last movable one beyond the cells. Over the fixed cells that is the first one in view, not
  // one scrolled out of it.
  int MoveTarget(bool column, int along) const {
    const int first = column ? grid_.LeftCol() : grid_.TopRow();
    const int last = (column ? grid_.ColCount() : grid_.RowCount()) - 1;
    int index = column ? columnAt(along) : rowAt(along);
    if (index < 0) index = along < 0 ? first : last;
    return std::clamp(index, first, last);
  }

  TStringGrid& grid_;
  Drag drag_;
  bool layingOut_ = false;
};

void TStringGrid::Create(TComponent* owner) {
  TNativeControl::Create(owner);
  controlStyle_.Include(csClickEvents);
  cells_.resize(static_cast<size_t>(colCount_ * rowCount_));
  colWidths_.assign(static_cast<size_t>(colCount_), defaultColWidth_);
  rowHeights_.assign(static_cast<size_t>(rowCount_), defaultRowHeight_);
  SetBounds(0, 0, 320, 120);
}

QWidget* TStringGrid::CreateWidget() {
  table_ = new StringGridView(*this);
  QObject::connect(table_, &QTableWidget::currentCellChanged, table_,
                   [this](int row, int col) { FromWidget([=] { CurrentFromWidget(row, col); }); });
  QObject::connect(table_, &QTableWidget::itemChanged, table_, [this](QTableWidgetItem* item) {
    FromWidget([this, item] { CellFromWidget(item->row(), item->column()); });
  });
  QObject::connect(table_->horizontalHeader(), &QHeaderView::sectionResized, table_,
                   [this](int index, int, int size) { FromWidget([=] { SizeFromWidget(true, index, size); }); });
  QObject::connect(table_->verticalHeader(), &QHeaderView::sectionResized, table_,
                   [this](int index, int, int size) { FromWidget([=] { SizeFromWidget(false, index, size); }); });
  return table_;
}

void TStringGrid::CreateWnd() {
  TNativeControl::CreateWnd();
  PushAll();
}

void TStringGrid::DestroyWnd() {
  table_ = nullptr;
  TNativeControl::DestroyWnd();
}

// ---- counts and sizes ----

int TStringGrid::LineWidth() const {
  return options_.Contains(goVertLine) || options_.Contains(goHorzLine) ? 1 : 0;
}

void TStringGrid::ChangeSize(int cols, int rows) {
  std::vector<std::string> cells(static_cast<size_t>(cols) * static_cast<size_t>(rows));
  for (int r = 0; r < std::min(rows, rowCount_); ++r)
    for (int c = 0; c < std::min(cols, colCount_); ++c)
      cells[static_cast<size_t>(r * cols + c)] = std::move(cells_[static_cast<size_t>(r * colCount_ + c)]);
  cells_ = std::move(cells);
  colWidths_.resize(static_cast<size_t>(cols), defaultColWidth_);
  rowHeights_.resize(static_cast<size_t>(rows), defaultRowHeight_);
  colCount_ = cols;
  rowCount_ = rows;
}

void TStringGrid::ClampCurrent() {
  col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
  row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
  leftCol_ = std::clamp(leftCol_, fixedCols_, colCount_ - 1);
  topRow_ = std::clamp(topRow_, fixedRows_, rowCount_ - 1);
}

void TStringGrid::SetColCount(int v) {
  v = std::max(v, 1);
  if (colCount_ == v) return;
  if (v <= fixedCols_) fixedCols_ = v - 1;
  ChangeSize(v, rowCount_);
  ClampCurrent();
  PushAll();
}

void TStringGrid::SetRowCount(int v) {
  v = std::max(v, 1);
  if (rowCount_ == v) return;
  if (v <= fixedRows_) fixedRows_ = v - 1;
  ChangeSize(colCount_, v);
  ClampCurrent();
  PushAll();
}

void TStringGrid::SetFixedCols(int v) {
  if (fixedCols_ == v) return;
  if (v < 0 || v >= colCount_) throw EInvalidGridOperation("Fixed column count must be less than column count");
  fixedCols_ = v;
  ClampCurrent();
  PushAll();
}

void TStringGrid::SetFixedRows(int v) {
  if (fixedRows_ == v) return;
  if (v < 0 || v >= rowCount_) throw EInvalidGridOperation("Fixed row count must be less than row count");
  fixedRows_ = v;
  ClampCurrent();
  PushAll();
}

void TStringGrid::SetDefaultColWidth(int v) {
  v = std::max(v, 0);
  if (defaultColWidth_ == v) return;
  defaultColWidth_ = v;
  std::fill(colWidths_.begin(), colWidths_.end(), v);
  PushSizes();
}

void TStringGrid::SetDefaultRowHeight(int v) {
  v = std::max(v, 0);
  if (defaultRowHeight_ == v) return;
  defaultRowHeight_ = v;
  std::fill(rowHeights_.begin(), rowHeights_.end(), v);
  PushSizes();
}

int TStringGrid::ColWidths(int col) const {
  return col >= 0 && col < colCount_ ? colWidths_[static_cast<size_t>(col)] : defaultColWidth_;
}

int TStringGrid::RowHeights(int row) const {
  return row >= 0 && row < rowCount_ ? rowHeights_[static_cast<size_t>(row)] : defaultRowHeight_;
}

void TStringGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= colCount_) throw EInvalidGridOperation("Grid index out of range");
  colWidths_[static_cast<size_t>(col)] = std::max(width, 0);
  PushSizes();
}

void TStringGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= rowCount_) throw EInvalidGridOperation("Grid index out of range");
  rowHeights_[static_cast<size_t>(row)] = std::max(height, 0);
  PushSizes();
}

void TStringGrid::SetFixedColor(TColor v) {
  if (fixedColor_ == v) return;
  fixedColor_ = v;
  if (table_) table_->viewport()->update();
}

void TStringGrid::SetOptions(TGridOptions v) {
  if (options_ == v) return;
  options_ = v;
  PushAll();
}

void TStringGrid::SetScrollBars(TScrollStyle v) {
  if (scrollBars_ == v) return;
  scrollBars_ = v;
  PushOptions();
}

// ---- cells and the current cell ----

std::string TStringGrid::Cells(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
  return cells_[static_cast<size_t>(row * colCount_ + col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) throw EInvalidGridOperation("Grid index out of range");
  cells_[static_cast<size_t>(row * colCount_ + col)] = text;
  if (!table_) return;
  WidgetChange change(*this);
  table_->item(row, col)->setText(QString::fromStdString(text));
}

bool TStringGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  OnSelectCell(this, col, row, canSelect);
  return canSelect;
}

void TStringGrid::SetCol(int v) {
  if (v < fixedCols_ || v >= colCount_) throw EInvalidGridOperation("Grid index out of range");
  if (col_ == v || !SelectCell(v, row_)) return;
  col_ = v;
  PushCurrent();
}

void TStringGrid::SetRow(int v) {
  if (v < fixedRows_ || v >= rowCount_) throw EInvalidGridOperation("Grid index out of range");
  if (row_ == v || !SelectCell(col_, v)) return;
  row_ = v;
  PushCurrent();
}

QRect TStringGrid::ViewArea() const {
  // Until the table is shown Qt has not laid out its viewport; it will sit inside the frame.
  if (!table_->isVisible()) {
    int frame = table_->frameWidth();
    return QRect(frame, frame, std::max(Width() - 2 * frame, 0), std::max(Height() - 2 * frame, 0));
  }
  return table_->viewport()->geometry();
}

TRect TStringGrid::CellRect(int col, int row) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
  HandleNeeded();  // the frame around the cells is the style's
  QRect view = ViewArea();
  TRect rect = Bounds(view.x() + table_->columnViewportPosition(col), view.y() + table_->rowViewportPosition(row),
                      ColWidths(col), RowHeights(row));
  if (table_->isColumnHidden(col) || table_->isRowHidden(row)) return {};  // scrolled out of view
  // A column or row of size 0 still stands where its line is.
  bool inView = std::max(rect.Right, rect.Left + 1) > view.left() && rect.Left <= view.right() &&
                std::max(rect.Bottom, rect.Top + 1) > view.top() && rect.Top <= view.bottom();
  return inView ? rect : TRect{};
}

void TStringGrid::MouseToCell(int x, int y, int& col, int& row) {
  col = row = -1;
  HandleNeeded();
  QRect view = ViewArea();
  if (!view.contains(x, y)) return;
  int c = table_->columnAt(x - view.x());
  int r = table_->rowAt(y - view.y());
  if (c < 0 || r < 0) return;
  col = c;
  row = r;
}

TGridRect TStringGrid::Selection() const {
  TGridRect current{col_, row_, col_, row_};
  if (options_.Contains(goRowSelect)) current = {fixedCols_, row_, colCount_ - 1, row_};
  if (!table_ || !options_.Contains(goRangeSelect)) return current;
  const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
  if (ranges.isEmpty()) return current;
  // The fixed cells a drag passed over are never part of it.
  TGridRect block{colCount_, rowCount_, -1, -1};
  for (const QTableWidgetSelectionRange& range : ranges) {
    block.Left = std::min(block.Left, std::max(range.leftColumn(), fixedCols_));
    block.Top = std::min(block.Top, std::max(range.topRow(), fixedRows_));
    block.Right = std::max(block.Right, range.rightColumn());
    block.Bottom = std::max(block.Bottom, range.bottomRow());
  }
  return block.Left <= block.Right && block.Top <= block.Bottom ? block : current;
}

// ---- moving rows and columns ----

namespace {
// Where an index is after the item at `from` moved to `to`.
int FollowMove(int index, int from, int to) {
  if (index == from) return to;
  if (from < index && index <= to) return index - 1;
  if (to <= index && index < from) return index + 1;
  return index;
}

// Moves element `from` of a range to `to`, the elements between making room.
template <class It>
void MoveElement(It begin, int from, int to) {
  if (from < to) std::rotate(begin + from, begin + from + 1, begin + to + 1);
  else std::rotate(begin + to, begin + from, begin + from + 1);
}
}  // namespace

void TStringGrid::MoveRow(int fromIndex, int toIndex) {
  if (fromIndex < 0 || fromIndex >= rowCount_ || toIndex < 0 || toIndex >= rowCount_)
    throw EInvalidGridOperation("Grid index out of range");
  if (fromIndex == toIndex) return;
  // Each row is a run of ColCount cells: rotating the runs moves whole rows.
  std::vector<std::vector<std::string>> rows(static_cast<size_t>(rowCount_));
  for (int r = 0; r < rowCount_; ++r)
    rows[static_cast<size_t>(r)].assign(std::make_move_iterator(cells_.begin() + r * colCount_),
                                        std::make_move_iterator(cells_.begin() + (r + 1) * colCount_));
  MoveElement(rows.begin(), fromIndex, toIndex);
  cells_.clear();
  for (auto& row : rows) cells_.insert(cells_.end(), std::make_move_iterator(row.begin()), std::make_move_iterator(row.end()));
  MoveElement(rowHeights_.begin(), fromIndex, toIndex);
  row_ = FollowMove(row_, fromIndex, toIndex);
  ClampCurrent();
  PushAll();
  RowMoved(fromIndex, toIndex);
}

void TStringGrid::MoveColumn(int fromIndex, int toIndex) {
  if (fromIndex < 0 || fromIndex >= colCount_ || toIndex < 0 || toIndex >= colCount_)
    throw EInvalidGridOperation("Grid index out of range");
  if (fromIndex == toIndex) return;
  for (int r = 0; r < rowCount_; ++r) MoveElement(cells_.begin() + r * colCount_, fromIndex, toIndex);
  MoveElement(colWidths_.begin(), fromIndex, toIndex);
  col_ = FollowMove(col_, fromIndex, toIndex);
  ClampCurrent();
  PushAll();
  ColumnMoved(fromIndex, toIndex);
}

// ---- scrolling ----

int TStringGrid::FixedExtent(bool rows) const {
  int extent = 0;
  for (int i = 0; i < (rows ? fixedRows_ : fixedCols_); ++i) extent += rows ? RowExtent(i) : ColExtent(i);
  return extent;
}

int TStringGrid::MaxFirst(bool rows) {
  const int fixed = rows ? fixedRows_ : fixedCols_;
  const int last = (rows ? rowCount_ : colCount_) - 1;
  // Without a window nothing is known of the view yet.
  if (!table_) return std::max(fixed, last);
  return FirstShowing(rows, last);
}

int TStringGrid::Room(bool rows) const {
  const QRect view = ViewArea();
  // The line after the last cell shown may fall outside.
  return (rows ? view.height() : view.width()) - FixedExtent(rows) + LineWidth();
}

int TStringGrid::FirstShowing(bool rows, int index) {
  const int fixed = rows ? fixedRows_ : fixedCols_;
  if (!table_ || index <= fixed) return std::max(index, fixed);
  const int room = Room(rows);
  int used = 0, first = index;
  for (int i = index; i >= fixed; --i) {
    used += rows ? RowExtent(i) : ColExtent(i);
    if (used > room) break;
    first = i;
  }
  return first;
}

int TStringGrid::VisibleCount(bool rows) const {
  const int room = Room(rows);
  int used = 0, shown = 0;
  for (int i = rows ? topRow_ : leftCol_; i < (rows ? rowCount_ : colCount_); ++i, ++shown) {
    used += rows ? RowExtent(i) : ColExtent(i);
    if (used > room) break;
  }
  return shown;
}

void TStringGrid::SetFirst(bool rows, int v) {
  const int fixed = rows ? fixedRows_ : fixedCols_;
  v = std::clamp(v, fixed, std::max(MaxFirst(rows), fixed));
  int& first = rows ? topRow_ : leftCol_;
  if (first == v) return;
  first = v;
  PushScroll();
}

void TStringGrid::SetTopRow(int v) { SetFirst(true, v); }
void TStringGrid::SetLeftCol(int v) { SetFirst(false, v); }

int TStringGrid::VisibleRowCount() {
  HandleNeeded();
  return VisibleCount(true);
}

int TStringGrid::VisibleColCount() {
  HandleNeeded();
  return VisibleCount(false);
}

void TStringGrid::ScrollInView(int col, int row) {
  if (!table_) return;
  if (row >= fixedRows_ && row < rowCount_) SetFirst(true, row < topRow_ ? row : std::max(topRow_, FirstShowing(true, row)));
  if (col >= fixedCols_ && col < colCount_) SetFirst(false, col < leftCol_ ? col : std::max(leftCol_, FirstShowing(false, col)));
}

void TStringGrid::ViewResized() {
  if (!table_ || ChangingWidget()) return;
  // A larger view shows more of the last rows rather than leaving room below them.
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(MaxFirst(true), fixedRows_));
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(MaxFirst(false), fixedCols_));
  PushScroll();
}

void TStringGrid::ScrollBarMoved() {
  if (!table_ || ChangingWidget()) return;
  SetFirst(true, fixedRows_ + table_->verticalScrollBar()->value());
  SetFirst(false, fixedCols_ + table_->horizontalScrollBar()->value());
}

void TStringGrid::PushScroll() {
  if (!table_) return;
  WidgetChange change(*this);
  for (int r = 0; r < rowCount_; ++r)
    if (bool hide = r >= fixedRows_ && r < topRow_; table_->isRowHidden(r) != hide) table_->setRowHidden(r, hide);
  for (int c = 0; c < colCount_; ++c)
    if (bool hide = c >= fixedCols_ && c < leftCol_; table_->isColumnHidden(c) != hide) table_->setColumnHidden(c, hide);
  auto bar = [](QScrollBar* scrollBar, int max, int value, int page) {
    scrollBar->setRange(0, std::max(max, 0));
    scrollBar->setSingleStep(1);
    scrollBar->setPageStep(std::max(page, 1));
    scrollBar->setValue(value);
  };
  bar(table_->verticalScrollBar(), MaxFirst(true) - fixedRows_, topRow_ - fixedRows_, VisibleCount(true));
  bar(table_->horizontalScrollBar(), MaxFirst(false) - fixedCols_, leftCol_ - fixedCols_, VisibleCount(false));
  table_->horizontalHeader()->setOffset(0);
  table_->verticalHeader()->setOffset(0);
}

bool TStringGrid::WantsDialogKey(uint16_t key) const {
  if (key == VK_TAB) {
    if (!options_.Contains(goTabs)) return false;
    // Tab goes from cell to cell and leaves the grid after the last one (Shift+Tab: the first).
    if (KeyShiftState().Contains(ssShift)) return col_ > fixedCols_ || row_ > fixedRows_;
    return col_ < colCount_ - 1 || row_ < rowCount_ - 1;
  }
  // The editor takes Enter to end the edit and Escape to undo it.
  return table_ && table_->Editing();
}

// ---- the widget ----

void TStringGrid::PushAll() {
  if (!table_) return;
  {
    WidgetChange change(*this);
    table_->setColumnCount(colCount_);
    table_->setRowCount(rowCount_);
  }
  PushOptions();
  PushSizes();
  PushCells();
  PushScroll();
  PushCurrent();
}

void TStringGrid::PushOptions() {
  if (!table_) return;
  WidgetChange change(*this);
  table_->setShowGrid(LineWidth() > 0);
  table_->setSelectionMode(options_.Contains(goRangeSelect) ? QAbstractItemView::ContiguousSelection
                                                            : QAbstractItemView::SingleSelection);
  table_->setSelectionBehavior(options_.Contains(goRowSelect) ? QAbstractItemView::SelectRows
                                                              : QAbstractItemView::SelectItems);
  QAbstractItemView::EditTriggers triggers = QAbstractItemView::NoEditTriggers;
  if (options_.Contains(goEditing)) {
    triggers = QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
    if (options_.Contains(goAlwaysShowEditor))
      triggers |= QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked;
  }
  table_->setEditTriggers(triggers);
  table_->setTabKeyNavigation(options_.Contains(goTabs));
  bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  table_->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  table_->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TStringGrid::PushSizes() {
  if (!table_) return;
  WidgetChange change(*this);
  const int line = LineWidth();
  table_->horizontalHeader()->setDefaultSectionSize(defaultColWidth_ + line);
  table_->verticalHeader()->setDefaultSectionSize(defaultRowHeight_ + line);
  for (int c = 0; c < colCount_; ++c) table_->horizontalHeader()->resizeSection(c, ColWidths(c) + line);
  for (int r = 0; r < rowCount_; ++r) table_->verticalHeader()->resizeSection(r, RowHeights(r) + line);
}

void TStringGrid::PushCells() {
  if (!table_) return;
  WidgetChange change(*this);
  // Every cell has an item: a cell without one would be enabled, and a press could make a fixed
  // cell current.
  const Qt::ItemFlags cellFlags = kCellFlags | (options_.Contains(goEditing) ? Qt::ItemIsEditable : Qt::NoItemFlags);
  for (int r = 0; r < rowCount_; ++r)
    for (int c = 0; c < colCount_; ++c) {
      QTableWidgetItem* item = table_->item(r, c);
      if (!item) {
        item = new QTableWidgetItem();
        table_->setItem(r, c, item);
      }
      item->setText(QString::fromStdString(Cells(c, r)));
      item->setFlags(IsFixedCell(c, r) ? Qt::NoItemFlags : cellFlags);
    }
}

void TStringGrid::PushCurrent() {
  if (!table_ || (table_->currentRow() == row_ && table_->currentColumn() == col_)) return;
  WidgetChange change(*this);
  table_->setCurrentCell(row_, col_);
}

void TStringGrid::CurrentFromWidget(int row, int col) {
  if (row < 0 || col < 0 || (row == row_ && col == col_)) return;
  if (IsFixedCell(col, row) || !SelectCell(col, row)) {
    // Qt moved where the grid may not go; put the current cell back.
    PushCurrent();
    return;
  }
  row_ = row;
  col_ = col;
}

void TStringGrid::CellFromWidget(int row, int col) {
  if (row < 0 || col < 0 || row >= rowCount_ || col >= colCount_) return;
  cells_[static_cast<size_t>(row * colCount_ + col)] = table_->item(row, col)->text().toStdString();
}

void TStringGrid::SizeFromWidget(bool column, int index, int size) {
  int cell = std::max(size - LineWidth(), 0);
  if (column && index < colCount_) colWidths_[static_cast<size_t>(index)] = cell;
  if (!column && index < rowCount_) rowHeights_[static_cast<size_t>(index)] = cell;
}

// ---- stream ----

void TStringGrid::DefineProperties(TFiler* filer) {
  TNativeControl::DefineProperties(filer);
  auto sizes = [filer](const char* name, std::vector<int>& list, int fallback, auto set) {
    bool custom = std::any_of(list.begin(), list.end(), [fallback](int v) { return v != fallback; });
    filer->DefineProperty(
        name,
        [&list, set](TReader& reader) {
          reader.ReadListBegin();
          for (int i = 0; !reader.EndOfList(); ++i) {
            int value = reader.ReadInteger();
            if (i < static_cast<int>(list.size())) set(i, value);
          }
          reader.ReadListEnd();
        },
        [&list](TWriter& writer) {
          writer.WriteListBegin();
          for (int v : list) writer.WriteInteger(v);
          writer.WriteListEnd();
        },
        custom);
  };
  sizes("ColWidths", colWidths_, defaultColWidth_, [this](int i, int v) { SetColWidths(i, v); });
  sizes("RowHeights", rowHeights_, defaultRowHeight_, [this](int i, int v) { SetRowHeights(i, v); });
}
