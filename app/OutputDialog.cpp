#include "app/OutputDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

#include <cstdlib>

#include "platform/win/Profile.h"

namespace {

constexpr const char* kSection = "markedit";
constexpr const char* kWidthKey = "OutputWidthMm";

const char* Title(TOutputKind kind) {
  switch (kind) {
    case TOutputKind::Preview: return "預覽列印";
    case TOutputKind::Print: return "列印";
    case TOutputKind::Pdf: return "匯出 PDF";
    case TOutputKind::Svg: return "匯出 SVG";
    case TOutputKind::Png: return "匯出 PNG";
  }
  return "輸出";
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
  dialog.setWindowTitle(QString::fromUtf8(Title(kind)));
  auto* form = new QFormLayout(&dialog);

  auto* bill = new QComboBox(&dialog);
  bill->setObjectName("bill");
  bill->addItem(QStringLiteral("（不選：印出設計本身）"), QString());
  for (const std::string& b : bills) bill->addItem(QString::fromStdString(b), QString::fromStdString(b));
  if (!bills.empty()) bill->setCurrentIndex(1);
  form->addRow(QStringLiteral("出口文件單號"), bill);

  auto* side = new QComboBox(&dialog);
  side->setObjectName("sides");
  side->addItems({QStringLiteral("正嘜"), QStringLiteral("側嘜"), QStringLiteral("正嘜和側嘜")});
  side->setCurrentIndex(static_cast<int>(sides));
  form->addRow(QStringLiteral("嘜頭"), side);

  auto* width = new QDoubleSpinBox(&dialog);
  width->setObjectName("width");
  width->setRange(kMinMarkWidthMm, kMaxMarkWidthMm);
  width->setDecimals(1);
  width->setSingleStep(10);
  width->setSuffix(QStringLiteral(" mm"));
  width->setValue(RememberedMarkWidthMm());
  form->addRow(QStringLiteral("寬度（高度依比例）"), width);

  auto* dpi = new QSpinBox(&dialog);
  dpi->setObjectName("dpi");
  dpi->setRange(72, 1200);
  dpi->setValue(300);
  dpi->setSuffix(QStringLiteral(" dpi"));
  if (kind == TOutputKind::Png) form->addRow(QStringLiteral("解析度"), dpi);
  else dpi->hide();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("確定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
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
