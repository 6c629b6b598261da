#include "app/OutputCommand.h"

#include <QFileDialog>
#include <QWidget>

#include <exception>
#include <vector>

#include "app/PrintModule.h"
#include "app/Shipments.h"
#include "app/UPub.h"
#include "app/ufmmain.h"
#include "app/ufmmd.h"
#include "platform/rtl/Tr.h"

namespace {

// What output says.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Output)
};

Tfmmd* EditorOf(const std::string& side) { return fmmain ? fmmain->Editor(side) : nullptr; }

// The file to write, asked with the program's own file dialog; empty when the clerk cancelled.
std::string AskFileName(QWidget* parent, TOutputKind kind, const std::string& suggested) {
  const char* suffix = kind == TOutputKind::Pdf ? "pdf" : kind == TOutputKind::Svg ? "svg" : "png";
  const QString filter = kind == TOutputKind::Pdf   ? QStringLiteral("PDF (*.pdf)")
                         : kind == TOutputKind::Svg ? QStringLiteral("SVG (*.svg)")
                                                    : QStringLiteral("PNG (*.png)");
  QString name = QFileDialog::getSaveFileName(parent, Texts::tr("Export"),
                                              QString::fromStdString(suggested + "." + suffix), filter, nullptr,
                                              QFileDialog::DontUseNativeDialog);
  if (!name.isEmpty() && !name.endsWith(QString(".") + suffix, Qt::CaseInsensitive)) name += QString(".") + suffix;
  return name.toStdString();
}

}  // namespace

void RunMarkOutput(TOutputKind kind, const std::string& side) {
  Tfmmd* first = EditorOf("0") ? EditorOf("0") : EditorOf("1");
  if (!first || !fmmain) return;
  QWidget* parent = fmmain->FrameWidget();
  const std::string customer = first->CustomerId();
  std::vector<std::string> bills;
  try {
    if (!customer.empty()) bills = CustomerShipments(customer);
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("Cannot read this customer's export documents; only the design itself can be printed.\n%1"), std::string(e.what())));
  }
  const auto choice = AskOutputChoice(parent, kind, bills, side == "1" ? TMarkSides::Side : TMarkSides::Main);
  if (!choice) return;
  try {
    std::vector<TMarkDesign> designs;
    for (const std::string& s : MarkSideKeys(choice->Sides))
      if (Tfmmd* editor = EditorOf(s)) designs.push_back({s, editor->CurrentDesign()});
    if (designs.empty()) throw Exception(Tr(Texts::tr("No open mark to output.")));
    TMarkOutput output(designs, customer, choice->Bill);
    const std::vector<std::string> warnings = output.Warnings(choice->WidthMm, kind == TOutputKind::Svg);
    if (!warnings.empty()) ShowWarning(JoinedWarnings(warnings));
    switch (kind) {
      case TOutputKind::Preview:
        PreviewMarks(parent, output, choice->WidthMm);
        return;
      case TOutputKind::Print:
        PrintMarks(parent, output, choice->WidthMm);
        return;
      default:
        break;
    }
    const std::string suggested = customer.empty() ? "mark" : customer + "-" + first->MarkId();
    const std::string file = AskFileName(parent, kind, suggested);
    if (file.empty()) return;
    WriteMarkFile(output, file, choice->WidthMm, choice->Dpi);  // the name ends in the kind's extension
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("Cannot output the mark: %1"), std::string(e.what())));
  }
}
