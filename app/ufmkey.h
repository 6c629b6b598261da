#pragma once
// The numbers of a new mark ("新增嘜頭", and "另存新嘜頭" for Save As): a customer number, typed or
// chosen from the customers of table md and of the shipment view, and a mark number. 確定 ends the
// dialog only with numbers a mark may be kept under (MarkKeys.h); otherwise the dialog says what is
// wrong and stays.

#include <string>

#include "platform/controls/Form.h"

class TBitBtn;
class TComboBox;
class TEdit;
class TLabel;

class Tfmkey : public TForm {
  DECLARE_CLASS(Tfmkey)

 public:
  void FormShow(TObject* sender);
  void BitBtn1Click(TObject* sender);

  // The numbers taken, trimmed; valid once the dialog ended with OK.
  const std::string& Customer() const { return customer_; }
  const std::string& Mark() const { return mark_; }

  TLabel* Label1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* Edit1 = nullptr;
  TLabel* Label3 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;

 private:
  std::string customer_;
  std::string mark_;
};
