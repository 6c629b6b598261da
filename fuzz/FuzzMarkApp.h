#pragma once
// The start of a fuzz target that puts mark elements on windows: a headless application and the
// element classes known to the stream reader by name.

#include <QApplication>

#include <cstdlib>

#include "mark/shape2.h"
#include "platform/controls/StdControls.h"

inline void StartMarkApp(char* programName) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char* argv[] = {programName, nullptr};
  new QApplication(argc, argv);
  RegisterStandardControls();
  RegisterClass(tshape2::StaticClass());
}
