#pragma once
// The common dialogs: colour, font and file-open, over Qt's own dialogs (never the desktop's
// native ones, so that every run looks and behaves the same). Execute shows the dialog modally and
// returns true when the user confirmed; the chosen value is then in the component.
//
// Tests answer the dialogs without a person: while a dialog hook is set, Execute calls it instead
// of showing anything. The hook may change the dialog's values and returns whether OK was pressed.

#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/IntegerConsts.h"

class TCommonDialog;

using TDialogHook = std::function<bool(TCommonDialog&)>;
// An empty hook shows the dialogs again.
void SetDialogHook(TDialogHook hook);

class TCommonDialog : public TComponent {
  DECLARE_CLASS(TCommonDialog)

 public:
  bool Execute();

 protected:
  // Shows the dialog itself.
  virtual bool ShowDialog() = 0;
};

class TColorDialog : public TCommonDialog {
  DECLARE_CLASS(TColorDialog)

 public:
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }

 protected:
  bool ShowDialog() override;

 private:
  TColor color_ = clBlack;
};

class TFontDialog : public TCommonDialog {
  DECLARE_CLASS(TFontDialog)

 public:
  void Create(TComponent* owner) override;

  TFont* Font() const { return font_; }
  void SetFont(TFont* v) { font_->Assign(v); }
  // Limits of the chosen size in points; 0 means none.
  int MinFontSize() const { return minFontSize_; }
  void SetMinFontSize(int v) { minFontSize_ = v; }
  int MaxFontSize() const { return maxFontSize_; }
  void SetMaxFontSize(int v) { maxFontSize_ = v; }

 protected:
  void Destroy() override;
  bool ShowDialog() override;

 private:
  TFont* font_ = nullptr;
  int minFontSize_ = 0;
  int maxFontSize_ = 0;
};

class TOpenDialog : public TCommonDialog {
  DECLARE_CLASS(TOpenDialog)

 public:
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& v) { fileName_ = v; }
  // Pairs of description and patterns, all separated by "|": "Marks (*.mk)|*.mk|All files (*.*)|*.*".
  // Patterns are separated by ";".
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& v) { filter_ = v; }
  // The filter shown first, and after Execute the one the user chose; counts from 1.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int v) { filterIndex_ = v; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& v) { initialDir_ = v; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }
  // Added to a chosen name that has no extension.
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& v) { defaultExt_ = v; }

 protected:
  bool ShowDialog() override;
  // The file dialog, for a file to open or (`save`) one to write.
  bool RunFileDialog(bool save);

 private:
  std::string fileName_;
  std::string filter_;
  int filterIndex_ = 1;
  std::string initialDir_;
  std::string title_;
  std::string defaultExt_;
};

// The same for a file to write: any name may be given, in a folder that exists.
class TSaveDialog : public TOpenDialog {
  DECLARE_CLASS(TSaveDialog)

 protected:
  bool ShowDialog() override;
};

// The name filters of a Qt file dialog for a dialog filter. Patterns are shown in parentheses
// after the description (taking the place of those the description already shows), and "*.*"
// becomes "*", which on this platform also matches names without a dot.
std::vector<std::string> FileDialogNameFilters(const std::string& filter);
