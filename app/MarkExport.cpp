#include "app/MarkExport.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/DefaultData.h"
#include "app/MarkOutput.h"
#include "app/MarkStore.h"
#include "app/PrintModule.h"
#include "design/palette/DsnPanel.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataControls.h"

namespace {

TMarkSides SidesNamed(const std::string& name) {
  return name == "side" ? TMarkSides::Side : name == "both" ? TMarkSides::Both : TMarkSides::Main;
}

std::vector<TMarkDesign> StoredDesigns(const std::string& customer, const std::string& mark, TMarkSides sides) {
  std::vector<TMarkDesign> designs;
  for (const std::string& side : MarkSideKeys(sides)) {
    const std::optional<std::string> stored = ReadMark({customer, mark, side});
    if (!stored)
      throw Exception(std::string("No ") + (side == "0" ? "main" : "side") + " mark is stored for customer " +
                      customer + ", mark " + mark);
    designs.push_back({side, *stored});
  }
  return designs;
}

}  // namespace

int ExportMarksFromCommandLine(const TProgramOptions& options, const char* program) {
  // What to write is told by the name alone: a name of no known kind is the first thing to say.
  if (!IsMarkFileName(options.Export)) {
    std::fprintf(stderr, "markedit: %s\n", UnknownMarkFileKind(options.Export).c_str());
    return 2;
  }
  if (options.Positional.size() < 2) {
    std::fprintf(stderr, "markedit: --export needs a customer and a mark number (%s --help)\n", program);
    return 2;
  }
  // No window opens, so no display is needed; the GUI library's notices (a runtime folder it
  // did not find, say) would only hide the one line that says what went wrong.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
  });
  int qtArgc = 1;
  char* qtArgv[] = {const_cast<char*>(program), nullptr};
  QApplication qapp(qtArgc, qtArgv);
  QCoreApplication::setApplicationName(QStringLiteral("markedit"));
  try {
    std::string error;
    if (!PrepareDefaultData(&error)) throw Exception(error);
    RegisterStandardControls();
    RegisterDataControls();
    RegisterPaletteClasses();
    UseModuleForSvgPictures();
    const std::string& customer = options.Positional[0];
    const std::string& mark = options.Positional[1];
    TMarkOutput output(StoredDesigns(customer, mark, SidesNamed(options.Side)), customer, options.Bill);
    const bool stencil = QFileInfo(QString::fromStdString(options.Export)).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    for (const std::string& warning : output.Warnings(options.WidthMm, stencil))
      std::fprintf(stderr, "markedit: warning: %s\n", warning.c_str());
    WriteMarkFile(output, options.Export, options.WidthMm);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "markedit: %s\n", e.what());
    return 1;
  }
}
