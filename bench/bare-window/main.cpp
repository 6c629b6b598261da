// The yardstick of the start-up benchmark: the least any program of this job must load. It shows
// one main window with a menu bar, a status bar and a label in the Ming font that marks are
// printed in, opens an SQLite database (a file in the profile's data folder) through Qt SQL, and
// quits as soon as the window is shown.
//
// This program is the fixed yardstick every start-up figure is measured against: it stays as it
// is. Changing what it loads changes every ratio the benchmark has ever reported.

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>

int main(int argc, char** argv) {
  QApplication app(argc, argv);

  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (!QDir().mkpath(folder)) return 1;
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
  db.setDatabaseName(folder + QStringLiteral("/bench-bare-window.db"));
  // SQLite opens a file lazily: one statement makes it read (or create) it.
  if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("create table if not exists t (x integer)")))
    return 1;

  QMainWindow window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.menuBar()->addMenu(QStringLiteral("&File"));
  window.statusBar()->showMessage(QStringLiteral("ready"));
  auto* label = new QLabel(QStringLiteral("嘜頭 PO/NO"), &window);
  QFont ming(QStringLiteral("AR PL UMing TW"));
  ming.setPixelSize(13);
  label->setFont(ming);
  window.setCentralWidget(label);
  window.showMaximized();
  return QTest::qWaitForWindowExposed(&window) ? 0 : 1;
}
