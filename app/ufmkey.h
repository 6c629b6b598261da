#pragma once
// The numbers of a new mark ("新增嘜頭", and "另存新嘜頭" for Save As): a customer number, typed or
// chosen from the customers of table md and of the shipment view (read in the background: on a
// large view they join the list a moment after the dialog shows), and a mark number. 確定 ends the
// dialog only with numbers a mark may be kept under (MarkKeys.h); otherwise the dialog says what is
// wrong and stays.

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Form.h"
#include "platform/db/BackgroundQuery.h"

class TBitBtn;
class TComboBox;
class TEdit;
class TLabel;

class Tfmkey : public TForm {
  DECLARE_CLASS(Tfmkey)

 public:
  void FormShow(TObject* sender);
  void BitBtn1Click(TObject* sender);
  // True while the shipment view's customers are still being read.
  bool ReadingCustomers() const { return reading_ != nullptr; }

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
  // Adds customers to the list, each once, in order; what the clerk typed stays.
  void AddCustomers(std::vector<std::string> more);

  std::unique_ptr<TBackgroundQuery> reading_;
  std::string customer_;
  std::string mark_;
};
