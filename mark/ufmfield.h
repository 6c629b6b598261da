#pragma once
// The field link dialog ("欄位設定"): the column names of the shipment view VMD, read once when
// the dialog is made; the one the user takes is SelectedField, empty when none was taken or the
// dialog was cancelled or closed.

#include <string>

#include "platform/controls/Form.h"

class TBitBtn;
class TListBox;
class TTable;

class Tfmfield : public TForm {
  DECLARE_CLASS(Tfmfield)

 public:
  // Reads the view's column names into the list; a database that cannot give them raises, and
  // then there is no dialog.
  void FormCreate(TObject* sender);
  // A dialog ended otherwise than with OK (Cancel, Escape, its window's close button) links no
  // field, whatever was chosen the last time.
  void FormClose(TObject* sender, TCloseAction& action);
  void BitBtn1Click(TObject* sender);
  void BitBtn2Click(TObject* sender);
  void ListBox1DblClick(TObject* sender);

  const std::string& SelectedField() const { return selectedField_; }

  TListBox* ListBox1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  TTable* Table1 = nullptr;

 private:
  // The highlighted line becomes the choice; without one the choice stays.
  void TakeHighlighted();

  std::string selectedField_;
};
