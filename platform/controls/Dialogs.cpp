#include "platform/controls/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TCommonDialog, TComponent) {}

DEFINE_CLASS(TColorDialog, TCommonDialog) {
  c.Prop("Color", &TColorDialog::Color, &TColorDialog::SetColor).Type(ColorType()).Default(clBlack);
}

DEFINE_CLASS(TFontDialog, TCommonDialog) {
  c.Prop("Font", &TFontDialog::Font, &TFontDialog::SetFont);
  c.Prop("MaxFontSize", &TFontDialog::MaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
  c.Prop("MinFontSize", &TFontDialog::MinFontSize, &TFontDialog::SetMinFontSize).Default(0);
}

DEFINE_CLASS(TSaveDialog, TOpenDialog) {}

DEFINE_CLASS(TOpenDialog, TCommonDialog) {
  c.Prop("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
  c.Prop("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
  c.Prop("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
  c.Prop("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  c.Prop("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
  c.Prop("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}

namespace {

TDialogHook& Hook() {
  static TDialogHook hook;
  return hook;
}

// Dialogs stand over the window the user works in.
QWidget* DialogParent() { return QApplication::activeWindow(); }

std::string Trimmed(const std::string& s) {
  size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Split(const std::string& s, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = s.find(separator, start)) != std::string::npos; start = at + 1)
    parts.push_back(s.substr(start, at - start));
  parts.push_back(s.substr(start));
  return parts;
}

}  // namespace

void SetDialogHook(TDialogHook hook) { Hook() = std::move(hook); }

bool TCommonDialog::Execute() {
  if (Hook()) return Hook()(*this);
  return ShowDialog();
}

// ---- colour ----

bool TColorDialog::ShowDialog() {
  QColorDialog dialog(ColorToQColor(color_), DialogParent());
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  color_ = QColorToColor(dialog.selectedColor());
  return true;
}

// ---- font ----

void TFontDialog::Create(TComponent* owner) {
  TCommonDialog::Create(owner);
  font_ = New<TFont>();
}

void TFontDialog::Destroy() {
  FreeAndNil(font_);
  TCommonDialog::Destroy();
}

bool TFontDialog::ShowDialog() {
  // The dialog lists sizes in points.
  QFont initial = font_->ToQFont();
  initial.setPointSize(std::max(font_->Size(), 1));
  QFontDialog dialog(initial, DialogParent());
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  QFont chosen = dialog.selectedFont();
  // A face shown through its installed stand-in keeps its own name when the user kept the face.
  std::string family = chosen.family().toStdString();
  if (family != SubstituteFontFamily(font_->Name())) font_->SetName(family);
  int size = chosen.pointSize() > 0 ? chosen.pointSize() : MulDiv(chosen.pixelSize(), 72, 96);
  if (minFontSize_ > 0) size = std::max(size, minFontSize_);
  if (maxFontSize_ > 0) size = std::min(size, maxFontSize_);
  // The same size in points keeps the height in pixels it came from.
  if (size != font_->Size()) font_->SetSize(size);
  TFontStyles style;
  if (chosen.bold()) style.Include(fsBold);
  if (chosen.italic()) style.Include(fsItalic);
  if (chosen.underline()) style.Include(fsUnderline);
  if (chosen.strikeOut()) style.Include(fsStrikeOut);
  font_->SetStyle(style);
  return true;
}

// ---- file open ----

std::vector<std::string> FileDialogNameFilters(const std::string& filter) {
  std::vector<std::string> result;
  if (filter.empty()) return result;
  std::vector<std::string> parts = Split(filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string description = Trimmed(parts[i]);
    size_t open = description.rfind('(');
    if (!description.empty() && description.back() == ')' && open != std::string::npos &&
        description.find('*', open) != std::string::npos)
      description = Trimmed(description.substr(0, open));
    std::string patterns;
    for (const std::string& part : Split(parts[i + 1], ';')) {
      std::string pattern = Trimmed(part);
      if (pattern.empty()) continue;
      if (pattern == "*.*") pattern = "*";
      if (!patterns.empty()) patterns += ' ';
      patterns += pattern;
    }
    result.push_back(description + " (" + patterns + ")");
  }
  return result;
}

bool TOpenDialog::ShowDialog() { return RunFileDialog(false); }

bool TSaveDialog::ShowDialog() { return RunFileDialog(true); }

bool TOpenDialog::RunFileDialog(bool save) {
  QFileDialog dialog(DialogParent(), QString::fromStdString(title_), QString::fromStdString(initialDir_));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const std::string& f : FileDialogNameFilters(filter_)) filters << QString::fromStdString(f);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters[std::clamp(filterIndex_, 1, static_cast<int>(filters.size())) - 1]);
  }
  std::string suffix = defaultExt_.substr(defaultExt_.rfind('.') == 0 ? 1 : 0);
  if (!suffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(suffix));
  if (!fileName_.empty()) dialog.selectFile(QString::fromStdString(fileName_));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName_ = dialog.selectedFiles().first().toStdString();
  if (int chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())); chosen >= 0) filterIndex_ = chosen + 1;
  return true;
}
