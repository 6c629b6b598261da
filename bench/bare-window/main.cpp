// The yardstick of the start-up benchmark: a bare Qt program that shows one main window with a
// menu bar and a status bar, and quits as soon as the window is shown.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.menuBar()->addMenu(QStringLiteral("&File"));
  window.statusBar()->showMessage(QStringLiteral("ready"));
  window.showMaximized();
  return QTest::qWaitForWindowExposed(&window) ? 0 : 1;
}
