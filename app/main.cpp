// The editor's program: reads the customer and mark numbers from the command line, opens the main
// window, which opens the two mark editors, and runs until the main window closes.
//
//   markedit CUSTOMER MARK [IGNORED]
//   markedit --quit-when-shown CUSTOMER MARK     start, wait until both editors are shown, quit
//   markedit --screenshot FILE CUSTOMER MARK     the same, saving a picture of the main window

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/DefaultData.h"
#include "app/ufmmain.h"
#include "design/palette/DsnPanel.h"
#include "platform/controls/Application.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataControls.h"

namespace {

struct Options {
  bool quitWhenShown = false;
  const char* screenshot = nullptr;
  std::vector<char*> qtArguments;  // what QApplication sees: the program name and the positional ones
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  options.qtArguments.push_back(argv[0]);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quit-when-shown") == 0) {
      options.quitWhenShown = true;
    } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      options.screenshot = argv[++i];
      options.quitWhenShown = true;
    } else {
      options.qtArguments.push_back(argv[i]);
    }
  }
  return options;
}

// Without a display the GUI library would stop the program with a message about plugins; say
// plainly what is missing and how to run the editor anyway.
bool HasDisplay() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// Both editors are open and visible.
bool EditorsShown() {
  if (!fmmain || fmmain->MDIChildCount() < 2) return false;
  for (int i = 0; i < fmmain->MDIChildCount(); ++i)
    if (!fmmain->MDIChildren(i)->Showing()) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "markedit: no display found; run it in a desktop session, or under a virtual "
                 "display: xvfb-run -a %s CUSTOMER MARK\n",
                 argv[0]);
    return 2;
  }
  Options options = ParseOptions(argc, argv);
  int qtArgc = static_cast<int>(options.qtArguments.size());
  options.qtArguments.push_back(nullptr);
  QApplication qapp(qtArgc, options.qtArguments.data());
  QCoreApplication::setApplicationName(QStringLiteral("markedit"));

  std::vector<std::string> arguments;
  const QStringList qtArguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < qtArguments.size(); ++i) arguments.push_back(qtArguments[i].toStdString());
  SetCommandLineArguments(arguments);

  std::string error;
  if (!PrepareDefaultData(&error)) std::fprintf(stderr, "markedit: %s\n", error.c_str());

  RegisterStandardControls();
  RegisterDataControls();
  RegisterPaletteClasses();
  TApplication* app = ApplicationInstance();
  int status = 0;
  try {
    app->Initialize();
    app->SetTitle("嘜頭編輯程式");
    Tfmmain* mainForm = nullptr;
    app->CreateForm(mainForm);
    if (options.quitWhenShown) {
      mainForm->Show();
      QElapsedTimer waited;
      waited.start();
      while (!EditorsShown() && mainForm->Showing() && waited.elapsed() < 30000) app->ProcessMessages();
      if (!EditorsShown()) {
        std::fprintf(stderr, "markedit: the mark editors did not open\n");
        status = 1;
      }
      if (options.screenshot) {
        for (int i = 0; i < 20; ++i) app->ProcessMessages();
        if (!mainForm->FrameWidget()->grab().save(QString::fromLocal8Bit(options.screenshot))) {
          std::fprintf(stderr, "markedit: could not write %s\n", options.screenshot);
          status = 1;
        }
      }
    } else {
      app->Run();
    }
  } catch (const std::exception& e) {
    app->ShowException(e);
    status = 1;
  }
  app->Free();
  return status;
}
