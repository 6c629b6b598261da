#include "app/MarkPreview.h"

#include <QPainter>

#include <algorithm>
#include <vector>

#include "app/MarkOutput.h"
#include "app/MarkStore.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Tr.h"
#include "platform/win/DeviceContext.h"

namespace {

// What the open dialog's preview says.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(OpenDialog)
};

}  // namespace

DEFINE_CLASS(TMarkPreview, TGraphicControl) {}

namespace {

constexpr int kStageWidth = 400;   // the design area a page shows
constexpr int kStageHeight = 249;
constexpr int kCaptionHeight = 20;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TMarkPreview::ShowText(const std::string& text) {
  picture_ = QImage(std::max(1, Width()), std::max(1, Height()), QImage::Format_RGB32);
  picture_.fill(Qt::lightGray);
  QPainter painter(&picture_);
  painter.drawText(picture_.rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, Q(text));
  painter.end();
  Invalidate();
}

void TMarkPreview::ShowMark(const std::optional<std::string>& main, const std::optional<std::string>& side,
                            const std::string& customer) {
  std::vector<TMarkDesign> designs;
  if (main) designs.push_back({"0", *main});
  if (side) designs.push_back({"1", *side});
  try {
    // Without a shipment there is one page per side, in the order given.
    const TMarkOutput output(designs, customer, "");
    picture_ = QImage(std::max(1, Width()), std::max(1, Height()), QImage::Format_RGB32);
    picture_.fill(Qt::lightGray);
    QPainter painter(&picture_);
    const int half = Height() / 2;
    const double scale = std::min(static_cast<double>(Width() - 8) / kStageWidth,
                                  static_cast<double>(half - kCaptionHeight - 8) / kStageHeight);
    int page = 0;
    for (int i = 0; i < 2; ++i) {
      const bool stored = i == 0 ? main.has_value() : side.has_value();
      const int top = i * half;
      painter.setPen(Qt::black);
      painter.drawText(QRect(4, top + 2, Width() - 8, kCaptionHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       Q(stored ? MarkSideName(i == 0 ? "0" : "1") : Tr(Texts::tr("%1 (none)"), MarkSideName(i == 0 ? "0" : "1"))));
      if (!stored) continue;
      painter.save();
      painter.translate(4, top + kCaptionHeight + 2);
      painter.scale(scale, scale);
      painter.setClipRect(0, 0, kStageWidth, kStageHeight);
      output.PaintPage(page++, painter, true);
      painter.restore();
    }
    painter.end();
    Invalidate();
  } catch (const std::exception& e) {
    ShowText(Tr(Texts::tr("Cannot show this mark: %1"), std::string(e.what())));
  }
}

void TMarkPreview::Paint() {
  HDC dc = Canvas()->Handle();
  QPainter* painter = DCPainter(dc);
  if (!painter || picture_.isNull()) return;
  painter->drawImage(0, 0, picture_);
  DCDrawn(dc, {0, 0, picture_.width(), picture_.height()});
}
