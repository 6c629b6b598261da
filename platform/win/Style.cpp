#include "platform/win/Style.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

#include <map>

namespace {

class DeferredIconStyle;

// An icon that asks the style for the real one the first time it is needed.
class DeferredIconEngine : public QIconEngine {
 public:
  DeferredIconEngine(const DeferredIconStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return Icon().pixmap(size, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QString iconName() override { return Icon().name(); }
  QString key() const override { return QStringLiteral("DeferredStandardIcon"); }
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

 private:
  DeferredIconEngine(const DeferredIconEngine& other) = default;
  QIcon Icon();

  QPointer<const DeferredIconStyle> style_;
  QStyle::StandardPixmap which_;
};

class DeferredIconStyle : public QProxyStyle {
 public:
  explicit DeferredIconStyle(const QString& key) : QProxyStyle(key) {}

  QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
    // An icon drawn for a particular option (a direction, a state) is made as asked.
    if (option) return QProxyStyle::standardIcon(which, option, widget);
    return QIcon(new DeferredIconEngine(this, which));
  }

  // Each icon is decoded once for the whole program: every document window asks for the same
  // few, and an icon drawn once keeps its drawn sizes for the next window that shows it.
  QIcon Loaded(StandardPixmap which) const {
    auto found = loaded_.find(which);
    if (found == loaded_.end()) found = loaded_.emplace(which, baseStyle()->standardIcon(which, nullptr, nullptr)).first;
    return found->second;
  }

 private:
  mutable std::map<StandardPixmap, QIcon> loaded_;
};

// A style replaced since leaves the icon empty rather than reading a freed one.
QIcon DeferredIconEngine::Icon() { return style_ ? style_->Loaded(which_) : QIcon(); }

}  // namespace

void UseDeferredIconStyle() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  if (dynamic_cast<DeferredIconStyle*>(QApplication::style())) return;
  // The platform's choice of style (or the one QT_STYLE_OVERRIDE names) stays underneath.
  QApplication::setStyle(new DeferredIconStyle(QApplication::style()->name()));
}
