// The application's style: standard icons decoded when first drawn look exactly as the platform's
// style draws them, and one that outlives its style draws nothing instead of reading a freed one.

#include "platform/win/Style.h"

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QProxyStyle>
#include <QStyleFactory>

#include <memory>

#include "tests/platform/win/QtApp.h"

namespace {

QImage Drawn(const QIcon& icon) { return icon.pixmap(QSize(16, 16)).toImage(); }

TEST(DeferredIconStyle, StandardIconsDrawAsTheirPlatformStyleDrawsThem) {
  TestApp();
  UseDeferredIconStyle();
  QStyle* style = QApplication::style();
  UseDeferredIconStyle();  // a second call keeps the style in place
  EXPECT_EQ(QApplication::style(), style);

  auto* proxy = qobject_cast<QProxyStyle*>(style);
  ASSERT_TRUE(proxy);
  std::unique_ptr<QStyle> plain(QStyleFactory::create(proxy->baseStyle()->name()));
  ASSERT_TRUE(plain);
  for (QStyle::StandardPixmap which : {QStyle::SP_TitleBarMenuButton, QStyle::SP_TitleBarCloseButton,
                                       QStyle::SP_DirIcon, QStyle::SP_MessageBoxWarning}) {
    SCOPED_TRACE(static_cast<int>(which));
    const QIcon icon = style->standardIcon(which);
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(Drawn(icon), Drawn(plain->standardIcon(which)));
  }

  // The commands of a document window's system menu keep their pictures.
  QMdiArea area;
  QMdiSubWindow* window = area.addSubWindow(new QWidget());
  int withIcons = 0;
  for (QAction* action : window->systemMenu()->actions())
    if (!action->icon().isNull() && !Drawn(action->icon()).isNull()) ++withIcons;
  EXPECT_GE(withIcons, 4);  // restore, minimize, maximize, close
}

TEST(DeferredIconStyle, AnIconThatOutlivesItsStyleDrawsNothing) {
  TestApp();
  UseDeferredIconStyle();
  const QIcon kept = QApplication::style()->standardIcon(QStyle::SP_TitleBarCloseButton);
  QApplication::setStyle(new QProxyStyle(QApplication::style()->name()));  // frees the style
  EXPECT_TRUE(kept.pixmap(QSize(16, 16)).isNull());
  UseDeferredIconStyle();
  EXPECT_FALSE(QApplication::style()->standardIcon(QStyle::SP_TitleBarCloseButton).pixmap(QSize(16, 16)).isNull());
}

}  // namespace
