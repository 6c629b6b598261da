#pragma once
// The one QApplication of a test program, made on first use and headless unless a display was
// asked for. Tests create it lazily: listing the tests at build time must not need a display.

#include <QApplication>

inline QApplication& TestApp() {
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "markedit-test";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}
