#include "app/ufmkey.h"

#include <algorithm>
#include <utility>

#include "app/MarkKeys.h"
#include "app/MarkStore.h"
#include "app/Shipments.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Label.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Tr.h"

namespace {

// What the new-numbers dialog says.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(NumbersDialog)
};

}  // namespace

DEFINE_CLASS(Tfmkey, TForm) {
  c.Field("Label1", &Tfmkey::Label1);
  c.Field("ComboBox1", &Tfmkey::ComboBox1);
  c.Field("Label2", &Tfmkey::Label2);
  c.Field("Edit1", &Tfmkey::Edit1);
  c.Field("Label3", &Tfmkey::Label3);
  c.Field("BitBtn1", &Tfmkey::BitBtn1);
  c.Field("BitBtn2", &Tfmkey::BitBtn2);
  c.Method("FormShow", &Tfmkey::FormShow);
  c.Method("BitBtn1Click", &Tfmkey::BitBtn1Click);
}

void Tfmkey::FormShow(TObject*) {
  ComboBox1->Items()->Clear();
  try {
    AddCustomers(ListCustomers());
  } catch (const std::exception& e) {
    // The clerk may still type a number; the save tells when the database is back.
    Label3->SetCaption(Tr(Texts::tr("Cannot read the list of customers: %1"), WithAdvice(e)));
  }
  // A view that cannot be found or read only leaves its customers out of the choice.
  try {
    reading_ = ReadShipmentCustomers([this](std::vector<std::string> customers, std::string, TDatabaseFailure) {
      reading_.reset();
      for (std::string& customer : customers) customer = Trimmed(customer);
      AddCustomers(std::move(customers));
    });
  } catch (const std::exception&) {
  }
  if (ComboBox1->CanFocus()) ComboBox1->SetFocus();
}

void Tfmkey::AddCustomers(std::vector<std::string> more) {
  std::sort(more.begin(), more.end());
  // Each new one goes in at its place: the list is never emptied, so the edit box keeps what the
  // clerk is typing, caret and all.
  TStrings* lines = ComboBox1->Items();
  lines->BeginUpdate();
  int at = 0;
  for (const std::string& customer : more) {
    if (customer.empty()) continue;
    while (at < lines->Count() && lines->Get(at) < customer) ++at;
    if (at < lines->Count() && lines->Get(at) == customer) continue;
    lines->Insert(at++, customer);
  }
  lines->EndUpdate();
}

void Tfmkey::BitBtn1Click(TObject*) {
  std::string customer = ComboBox1->Text();
  std::string mark = Edit1->Text();
  std::string wrong = CheckNewMarkNumber(customer, Tr(Texts::tr("customer number")));
  if (wrong.empty()) wrong = CheckNewMarkNumber(mark, Tr(Texts::tr("mark number")));
  if (!wrong.empty()) {
    Label3->SetCaption(wrong);
    SetModalResult(mrNone);
    return;
  }
  customer_ = customer;
  mark_ = mark;
}
