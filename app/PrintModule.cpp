#include "app/PrintModule.h"

#include <QCoreApplication>
#include <QLibrary>

#include "app/MarkOutput.h"
#include "app/UPub.h"
#include "app/printsupport/PrintSupport.h"
#include "mark/PictureData.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Tr.h"

namespace {

// What the clerk is told when printing cannot start.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(PrintModule)
};

std::string ScaledDown() { return Tr(Texts::tr("The mark is larger than the printable part of the paper; it was scaled down to fit.")); }

struct Module {
  TSvgFunctions Svg;
  MarkeditWriteSvgPage WriteSvgPage = nullptr;
  MarkeditExceedsPage ExceedsPage = nullptr;
  MarkeditPreview Preview = nullptr;
  MarkeditPrint Print = nullptr;
};

const Module& Loaded() {
  static Module module;
  static QLibrary library;
  if (module.Print) return module;
  // Beside the program in the build tree; installed, in the program's library folder, found from
  // the program's own folder so that any installation prefix works.
  const QString here = QCoreApplication::applicationDirPath();
  for (const QString& folder : {here, here + QStringLiteral("/" MARKEDIT_MODULE_DIR)}) {
    library.setFileName(folder + QStringLiteral("/libmarkedit-print"));
    if (library.load()) break;
  }
  if (!library.isLoaded())
    throw Exception(Tr(Texts::tr("The print and SVG module cannot be loaded: %1"), library.errorString().toStdString()));
  module.WriteSvgPage = reinterpret_cast<MarkeditWriteSvgPage>(library.resolve("markedit_write_svg_page"));
  module.ExceedsPage = reinterpret_cast<MarkeditExceedsPage>(library.resolve("markedit_exceeds_page"));
  module.Preview = reinterpret_cast<MarkeditPreview>(library.resolve("markedit_preview"));
  module.Print = reinterpret_cast<MarkeditPrint>(library.resolve("markedit_print"));
  module.Svg.Open = reinterpret_cast<MarkeditSvgOpen>(library.resolve("markedit_svg_open"));
  module.Svg.Render = reinterpret_cast<MarkeditSvgRender>(library.resolve("markedit_svg_render"));
  module.Svg.Close = reinterpret_cast<MarkeditSvgClose>(library.resolve("markedit_svg_close"));
  if (!module.WriteSvgPage || !module.ExceedsPage || !module.Preview || !module.Print || !module.Svg.Open ||
      !module.Svg.Render || !module.Svg.Close) {
    module = Module{};
    throw Exception(Tr(Texts::tr("The print and SVG module %1 is not this program's"), library.fileName().toStdString()));
  }
  return module;
}

void PaintPage(void* context, int page, QPainter* painter) {
  static_cast<const TMarkOutput*>(context)->PaintPage(page, *painter, false);
}

MarkeditPages Pages(const TMarkOutput& output, double widthMm) {
  return {output.PageCount(), kMarkWidth, kMarkHeight, widthMm, &PaintPage,
          const_cast<void*>(static_cast<const void*>(&output))};
}

}  // namespace

void PreviewMarks(QWidget* parent, const TMarkOutput& output, double widthMm) {
  const Module& module = Loaded();
  const MarkeditPages pages = Pages(output, widthMm);
  if (module.ExceedsPage(&pages)) ShowWarning(ScaledDown());
  module.Preview(&pages, parent);
}

bool PrintMarks(QWidget* parent, const TMarkOutput& output, double widthMm) {
  const Module& module = Loaded();
  const MarkeditPages pages = Pages(output, widthMm);
  const int printed = module.Print(&pages, parent);
  if (printed == 2) ShowWarning(ScaledDown());
  return printed != 0;
}

void WriteSvgPage(const TMarkOutput& output, int page, double widthMm, QIODevice& device) {
  const Module& module = Loaded();
  const MarkeditPages pages = Pages(output, widthMm);
  if (!module.WriteSvgPage(&pages, page, &device)) throw Exception(Tr(Texts::tr("Cannot write the SVG file")));
}

void UseModuleForSvgPictures() {
  SetSvgFunctions([]() -> const TSvgFunctions& { return Loaded().Svg; });
}
