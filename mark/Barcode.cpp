#include "mark/Barcode.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/controls/Label.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Placeholders.h"
#include "platform/win/DeviceContext.h"

DEFINE_CLASS(TBarcode, TGraphicControl) {
  c.Prop("symbology", &TBarcode::symbology, &TBarcode::Setsymbology).Default(bcCode128);
  c.Prop("data", &TBarcode::data, &TBarcode::Setdata);
  c.Prop("showtext", &TBarcode::showtext, &TBarcode::Setshowtext).Default(true);
  c.Prop("PopupMenu", &TBarcode::PopupMenu, &TBarcode::SetPopupMenu);
  c.Prop("Visible", &TBarcode::Visible, &TBarcode::SetVisible).Default(true);
}

namespace {

// Symbols kept per element: a print run of many rows draws each row's symbol again and again.
constexpr size_t kKeptSymbols = 4096;

bool IsRaster(const QPaintDevice* device) {
  const int type = device ? device->devType() : 0;
  return type == QInternal::Widget || type == QInternal::Pixmap || type == QInternal::Image;
}

// The transform from the symbol's modules to the element's client pixels: linear codes stretched
// to the box, matrix codes square in its middle.
QTransform Placement(const TBarcodeSymbol& symbol, bool matrix, double width, double height) {
  if (symbol.Width <= 0 || symbol.Height <= 0) return {};
  double sx = width / symbol.Width, sy = height / symbol.Height;
  double dx = 0, dy = 0;
  if (matrix) {
    sx = sy = std::min(sx, sy);
    dx = (width - symbol.Width * sx) / 2;
    dy = (height - symbol.Height * sy) / 2;
  }
  return QTransform(sx, 0, 0, sy, dx, dy);
}

// The human-readable texts, each at the place `map` gives its anchor, upright and unstretched,
// `scale` device units to a module.
void DrawTexts(QPainter& painter, const TBarcodeSymbol& symbol, const QTransform& map, double scale, const QColor& ink) {
  if (symbol.Texts.empty()) return;
  painter.setPen(ink);
  for (const TBarcodeText& text : symbol.Texts) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(text.Size * scale))));
    painter.setFont(font);
    const QString chars = QString::fromStdString(text.Chars);
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(chars);
    const QPointF at = map.map(text.At);
    const double left = text.Align == 1 ? at.x() : text.Align == 2 ? at.x() - width : at.x() - width / 2;
    painter.drawText(QPointF(left, at.y()), chars);
  }
}

// Draws `symbol` placed by `place` (modules to the painter's coordinates).
void DrawSymbol(QPainter& painter, const TBarcodeSymbol& symbol, const QTransform& place, bool matrix, const QColor& ink) {
  painter.save();
  painter.setPen(Qt::NoPen);
  // Device pixels from the painter's origin, whatever the device's pixel ratio (a widget's painter
  // may add its offset in the window below this; it stays).
  const double ratio = painter.device()->devicePixelRatioF();
  const QTransform toDevice = place * painter.transform() * QTransform::fromScale(ratio, ratio);
  if (IsRaster(painter.device()) && toDevice.type() <= QTransform::TxScale) {
    // On pixels every module is a whole number of device pixels wide (as many as fit), so that
    // bars of one width stay equal and a scanner reads the picture; the symbol keeps the middle
    // of its box. Linear codes still fill the box's height.
    const double across = std::max(1.0, std::floor(toDevice.m11() + 1e-6));
    const double down = matrix ? across : toDevice.m22();
    const QPointF origin = toDevice.map(QPointF(0, 0));
    const double left = std::round(origin.x() + (toDevice.m11() - across) * symbol.Width / 2);
    const double top = matrix ? std::round(origin.y() + (toDevice.m22() - down) * symbol.Height / 2) : origin.y();
    const QTransform snapped(across, 0, 0, down, left, top);
    painter.resetTransform();
    painter.scale(1 / ratio, 1 / ratio);
    for (const QRectF& bar : symbol.Bars) {
      const QRectF d = snapped.mapRect(bar);
      painter.fillRect(QRect(QPoint(static_cast<int>(std::lround(d.left())), static_cast<int>(std::lround(d.top()))),
                             QPoint(static_cast<int>(std::lround(d.right())) - 1, static_cast<int>(std::lround(d.bottom())) - 1)),
                       ink);
    }
    DrawTexts(painter, symbol, snapped, std::min(across, down), ink);
  } else {
    for (const QRectF& bar : symbol.Bars) painter.fillRect(place.mapRect(bar), ink);
    DrawTexts(painter, symbol, place, std::min(place.m11(), place.m22()), ink);
  }
  painter.restore();
}

}  // namespace

void TBarcode::Create(TComponent* owner) {
  TGraphicControl::Create(owner);
  data_ = "{產品編號}";
  SetBounds(Left(), Top(), 160, 64);
}

void TBarcode::Changed() {
  symbols_.clear();
  Invalidate();
}

void TBarcode::Setsymbology(TBarcodeKind v) {
  if (kind_ == v) return;
  kind_ = v;
  Changed();
}

void TBarcode::Setdata(const std::string& v) {
  if (data_ == v) return;
  data_ = v;
  Invalidate();
}

void TBarcode::Setshowtext(bool v) {
  if (showText_ == v) return;
  showText_ = v;
  Changed();
}

bool TBarcode::NeedsRow() const { return !FindPlaceholders(data_).empty() && !RowShownFor(this); }

std::string TBarcode::ShownData() const {
  const TLabelRow* row = RowShownFor(this);
  return row ? WithRowValues(data_, *row) : data_;
}

std::shared_ptr<const TBarcodeSymbol> TBarcode::Symbol(const std::string& data) const {
  const auto found = symbols_.find(data);
  if (found != symbols_.end()) return found->second;
  if (symbols_.size() >= kKeptSymbols) symbols_.clear();
  std::shared_ptr<const TBarcodeSymbol> symbol = EncodeBarcode(kind_, data, showText_);
  symbols_.emplace(data, symbol);
  return symbol;
}

std::shared_ptr<const TBarcodeSymbol> TBarcode::ShownSymbol(bool* sample) const {
  const bool waits = NeedsRow();
  if (sample) *sample = waits;
  return Symbol(waits ? SampleBarcodeData(kind_) : ShownData());
}

double TBarcode::ModulePixels(const TBarcodeSymbol& symbol) const {
  return Placement(symbol, IsMatrixKind(kind_), Width(), Height()).m11();
}

void TBarcode::PaintProblem(const std::string& reason) {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsBDiagonal);
  canvas->Brush()->SetColor(clRed);
  canvas->Pen()->SetColor(clRed);
  canvas->Pen()->SetWidth(1);
  canvas->Rectangle(0, 0, Width(), Height());
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetColor(clBlack);
  canvas->Font()->SetHeight(-12);
  TRect box{2, 2, Width() - 2, Height() - 2};
  canvas->DrawText(reason, box, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
}

void TBarcode::Paint() {
  TCanvas* canvas = Canvas();
  QPainter* painter = DCPainter(canvas->Handle());
  if (!painter) return;
  bool sample = false;
  const std::shared_ptr<const TBarcodeSymbol> symbol = ShownSymbol(&sample);
  if (!symbol->Error.empty()) {
    PaintProblem(symbol->Error);
    return;
  }
  DrawSymbol(*painter, *symbol, Placement(*symbol, IsMatrixKind(kind_), Width(), Height()), IsMatrixKind(kind_),
             sample ? QColor(160, 160, 160) : QColor(Qt::black));
  if (sample) {
    // The data as typed, on white in the middle, over the grey sample.
    canvas->Font()->SetColor(clBlack);
    canvas->Font()->SetHeight(-12);
    const int width = std::min(Width(), canvas->TextWidth(data_) + 6), height = canvas->TextHeight(data_) + 2;
    TRect box{(Width() - width) / 2, (Height() - height) / 2, (Width() + width) / 2, (Height() + height) / 2};
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(box);
    canvas->Brush()->SetStyle(bsClear);
    canvas->DrawText(data_, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}
