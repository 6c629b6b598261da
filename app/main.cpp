// The editor's program: reads the customer and mark numbers from the command line, opens the main
// window, which opens the two mark editors, and runs until the main window closes.
//
//   markedit CUSTOMER MARK [IGNORED]
//   markedit --quit-when-shown CUSTOMER MARK     start, wait until both editors are shown, quit
//   markedit --screenshot FILE CUSTOMER MARK     the same, saving a picture of the main window
//   markedit --export FILE [--side main|side|both] [--bill NO] [--width-mm W] CUSTOMER MARK
//   markedit --help | --version

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/DefaultData.h"
#include "app/MarkExport.h"
#include "app/PrintModule.h"
#include "app/ProgramGlyphs.h"
#include "app/Translations.h"
#include "app/UPub.h"
#include "app/ufmmain.h"
#include "design/palette/DsnPanel.h"
#include "platform/controls/Application.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataControls.h"
#include "platform/rtl/Tr.h"
#include "platform/win/MessageBox.h"

namespace {

// The program's title.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

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

// Ends the event loop once both editors are shown, after saving a picture of the main window when
// asked to. The picture is taken when the loop has been idle for a moment, so that what updates
// itself when the program waits for input (the enabled state of commands) shows as a user sees it.
void QuitWhenShown(QTimer& poll, TApplication* app, Tfmmain* mainForm, const std::string& screenshot,
                   int& status) {
  auto waited = std::make_shared<QElapsedTimer>();
  waited->start();
  QObject::connect(&poll, &QTimer::timeout, [=, &poll, &status] {
    if (!EditorsShown()) {
      if (waited->elapsed() < 30000) return;
      std::fprintf(stderr, "markedit: the mark editors did not open\n");
      status = 1;
    } else if (!screenshot.empty()) {
      if (!mainForm->FrameWidget()->grab().save(QString::fromStdString(screenshot))) {
        std::fprintf(stderr, "markedit: could not write %s\n", screenshot.c_str());
        status = 1;
      }
    }
    poll.stop();
    app->Terminate();
  });
  // A screenshot waits a little for the first paints and idle updates.
  poll.start(screenshot.empty() ? 0 : 600);
}

}  // namespace

int main(int argc, char** argv) {
  // The command line is settled first: a mistyped option stops the program before it opens a
  // window, looks for a display or touches a database.
  const TProgramOptions options = ParseProgramOptions(argc, argv);
  if (!options.Error.empty()) {
    std::fprintf(stderr, "markedit: %s (markedit --help lists the options)\n", options.Error.c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(ProgramUsage(argv[0]).c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("markedit %s\n", MARKEDIT_VERSION);
    return 0;
  }
  if (!options.Export.empty()) return ExportMarksFromCommandLine(options, argv[0]);
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "markedit: no display found; run it in a desktop session, or under a virtual "
                 "display: xvfb-run -a %s CUSTOMER MARK\n",
                 argv[0]);
    return 2;
  }
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication qapp(qtArgc, qtArgv);
  QCoreApplication::setApplicationName(QStringLiteral("markedit"));
  QApplication::setWindowIcon(ProgramIcon());
  // Windows speak Chinese whatever the locale; the command line above stayed English.
  if (!InstallTranslations()) std::fprintf(stderr, "markedit: the Chinese texts cannot be loaded\n");
  SetCommandLineArguments(options.Positional);

  // Without its default data the editor still opens; only the shipment data is missing then.
  std::string error;
  const bool prepared = PrepareDefaultData(&error);
  if (!prepared) std::fprintf(stderr, "markedit: %s\n", error.c_str());
  // A check run (--quit-when-shown) reports the failure in its exit code.
  int status = !prepared && options.QuitWhenShown ? 1 : 0;
  // Nobody answers a check run's message boxes (a mark that cannot be read, an error): each one
  // goes to standard error and fails the run instead of waiting.
  if (options.QuitWhenShown) {
    SetMessageBoxHook([&status](const std::string& text, const std::string&, UINT type) {
      std::fprintf(stderr, "markedit: %s\n", text.c_str());
      status = 1;
      return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    });
  }

  RegisterStandardControls();
  RegisterDataControls();
  RegisterPaletteClasses();
  UseModuleForSvgPictures();
  TApplication* app = ApplicationInstance();
  QTimer poll;
  try {
    app->Initialize();
    app->SetTitle(Tr(Texts::tr("Shipping mark editor")));
    if (!prepared && !options.QuitWhenShown) ShowWarning(error);
    Tfmmain* mainForm = nullptr;
    app->CreateForm(mainForm);
    // A mark file is read once the editors are up (before a check run looks at them).
    if (!options.Import.empty())
      QTimer::singleShot(0, [mainForm = TWeak<Tfmmain>(mainForm), file = options.Import] {
        if (mainForm) mainForm->ImportMarkFile(file);
      });
    if (options.QuitWhenShown) QuitWhenShown(poll, app, mainForm, options.Screenshot, status);
    // Started without numbers, the clerk picks a mark first, once the editors are up; a mark file
    // opened from the desktop is there already.
    else if (options.Positional.size() < 2 && options.Import.empty())
      QTimer::singleShot(0, [mainForm = TWeak<Tfmmain>(mainForm)] {
        if (mainForm) mainForm->ChooseAndOpenMark();
      });
    app->Run();
  } catch (const std::exception& e) {
    app->ShowException(e);
    status = 1;
  }
  app->Free();
  SetMessageBoxHook({});
  return status;
}
