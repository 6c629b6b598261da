#include "app/OutputDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

#include <cstdlib>

#include "platform/rtl/Tr.h"
#include "platform/win/Profile.h"

namespace {

// What the output dialog says.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(OutputDialog)
};

constexpr const char* kSection = "markedit";
constexpr const char* kWidthKey = "OutputWidthMm";

QString Title(TOutputKind kind) {
  switch (kind) {
    case TOutputKind::Preview: return Texts::tr("Print preview");
    case TOutputKind::Print: return Texts::tr("Print");
    case TOutputKind::Pdf: return Texts::tr("Export PDF");
    case TOutputKind::Svg: return Texts::tr("Export SVG");
    case TOutputKind::Png: return Texts::tr("Export PNG");
  }
  return Texts::tr("Output");
}

}  // namespace

double RememberedMarkWidthMm() {
  const std::string text = GetPrivateProfileString(kSection, kWidthKey, "", "win.ini");
  char* end = nullptr;
  const double mm = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(mm >= kMinMarkWidthMm && mm <= kMaxMarkWidthMm)) return kDefaultMarkWidthMm;
  return mm;
}

void RememberMarkWidthMm(double widthMm) {
  if (widthMm == RememberedMarkWidthMm()) return;
  WritePrivateProfileString(kSection, kWidthKey, QString::number(widthMm, 'f', 1).toStdString(), "win.ini");
}

std::optional<TOutputChoice> AskOutputChoice(QWidget* parent, TOutputKind kind, const std::vector<std::string>& bills,
                                             TMarkSides sides) {
  QDialog dialog(parent);
  dialog.setWindowTitle(Title(kind));
  auto* form = new QFormLayout(&dialog);

  auto* bill = new QComboBox(&dialog);
  bill->setObjectName("bill");
  bill->addItem(Texts::tr("(none: print the design itself)"), QString());
  for (const std::string& b : bills) bill->addItem(QString::fromStdString(b), QString::fromStdString(b));
  if (!bills.empty()) bill->setCurrentIndex(1);
  form->addRow(Texts::tr("Export document no."), bill);

  auto* side = new QComboBox(&dialog);
  side->setObjectName("sides");
  side->addItems({Texts::tr("Main mark"), Texts::tr("Side mark"), Texts::tr("Main and side mark")});
  side->setCurrentIndex(static_cast<int>(sides));
  form->addRow(Texts::tr("Mark"), side);

  auto* width = new QDoubleSpinBox(&dialog);
  width->setObjectName("width");
  width->setRange(kMinMarkWidthMm, kMaxMarkWidthMm);
  width->setDecimals(1);
  width->setSingleStep(10);
  width->setSuffix(QStringLiteral(" mm"));
  width->setValue(RememberedMarkWidthMm());
  form->addRow(Texts::tr("Width (the height follows)"), width);

  auto* dpi = new QSpinBox(&dialog);
  dpi->setObjectName("dpi");
  dpi->setRange(72, 1200);
  dpi->setValue(300);
  dpi->setSuffix(QStringLiteral(" dpi"));
  if (kind == TOutputKind::Png) form->addRow(Texts::tr("Resolution"), dpi);
  else dpi->hide();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(Texts::tr("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(Texts::tr("Cancel"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  TOutputChoice choice;
  choice.Bill = bill->currentData().toString().toStdString();
  choice.Sides = static_cast<TMarkSides>(side->currentIndex());
  choice.WidthMm = width->value();
  choice.Dpi = dpi->value();
  RememberMarkWidthMm(choice.WidthMm);
  return choice;
}
