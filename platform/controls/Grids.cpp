#include "platform/controls/Grids.h"

#include <QHeaderView>
#include <QRect>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <cstdlib>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

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

// The table: Qt's headers hidden, columns and rows sized by dragging their edges in the fixed cells
// (goColSizing, goRowSizing), as the grid's headers.
class GridView : public QTableWidget {
 public:
  explicit GridView(const TStringGrid& grid) : grid_(grid) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
      header->setMinimumSectionSize(0);
      header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setItemDelegate(new FixedCellDelegate(grid, this));
    viewport()->setMouseTracking(true);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) {
      sizing_ = SizingAt(e->position().toPoint());
      if (sizing_.kind != Sizing::None) return;
    }
    QTableWidget::mousePressEvent(e);
  }

  void mouseMoveEvent(QMouseEvent* e) override {
    QPoint p = e->position().toPoint();
    if (sizing_.kind == Sizing::None) {
      Sizing over = SizingAt(p);
      if (over.kind == Sizing::None) viewport()->unsetCursor();
      else viewport()->setCursor(over.kind == Sizing::Column ? Qt::SplitHCursor : Qt::SplitVCursor);
      QTableWidget::mouseMoveEvent(e);
      return;
    }
    bool column = sizing_.kind == Sizing::Column;
    int delta = (column ? p.x() : p.y()) - sizing_.start;
    QHeaderView* header = column ? horizontalHeader() : verticalHeader();
    header->resizeSection(sizing_.index, std::max(sizing_.startSize + delta, showGrid() ? 1 : 0));
  }

  void mouseReleaseEvent(QMouseEvent* e) override {
    if (sizing_.kind != Sizing::None && e->button() == Qt::LeftButton) {
      sizing_ = {};
      return;
    }
    QTableWidget::mouseReleaseEvent(e);
  }

 private:
  // A drag that sizes a column or a row; `start` is where the mouse went down, `startSize` the
  // section's size then.
  struct Sizing {
    enum Kind { None, Column, Row } kind = None;
    int index = -1;
    int start = 0;
    int startSize = 0;
  };

  // The edge under the mouse that a drag would move: the grid line after a column, within two
  // pixels, in a fixed row (for rows: in a fixed column). The rightmost (lowest) one wins, so a
  // column of width 0 does not hide its neighbour's edge.
  Sizing SizingAt(QPoint p) const {
    const TGridOptions options = grid_.Options();
    int row = rowAt(p.y()), col = columnAt(p.x());
    if (options.Contains(goColSizing) && row >= 0 && row < grid_.FixedRows())
      for (int c = columnCount() - 1; c >= 0; --c)
        if (std::abs(p.x() - (columnViewportPosition(c) + columnWidth(c) - 1)) <= 2)
          return {Sizing::Column, c, p.x(), columnWidth(c)};
    if (options.Contains(goRowSizing) && col >= 0 && col < grid_.FixedCols())
      for (int r = rowCount() - 1; r >= 0; --r)
        if (std::abs(p.y() - (rowViewportPosition(r) + rowHeight(r) - 1)) <= 2)
          return {Sizing::Row, r, p.y(), rowHeight(r)};
    return {};
  }

  const TStringGrid& grid_;
  Sizing sizing_;
};

constexpr Qt::ItemFlags kCellFlags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;

}  // namespace

void TStringGrid::Create(TComponent* owner) {
  TNativeControl::Create(owner);
  controlStyle_.Include(csClickEvents);
  cells_.resize(static_cast<size_t>(colCount_ * rowCount_));
  colWidths_.assign(static_cast<size_t>(colCount_), defaultColWidth_);
  rowHeights_.assign(static_cast<size_t>(rowCount_), defaultRowHeight_);
  SetBounds(0, 0, 320, 120);
}

QWidget* TStringGrid::CreateWidget() {
  table_ = new GridView(*this);
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
  if (defaultColWidth_ == v) return;
  defaultColWidth_ = v;
  std::fill(colWidths_.begin(), colWidths_.end(), v);
  PushSizes();
}

void TStringGrid::SetDefaultRowHeight(int v) {
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
