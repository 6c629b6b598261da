#include "mark/ufmfield.h"

#include "platform/controls/Buttons.h"
#include "platform/controls/ListBox.h"
#include "platform/db/Fields.h"
#include "platform/db/Table.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/StringList.h"

DEFINE_CLASS(Tfmfield, TForm) {
  c.Field("ListBox1", &Tfmfield::ListBox1);
  c.Field("BitBtn1", &Tfmfield::BitBtn1);
  c.Field("BitBtn2", &Tfmfield::BitBtn2);
  c.Field("Table1", &Tfmfield::Table1);
  c.Method("FormCreate", &Tfmfield::FormCreate);
  c.Method("FormClose", &Tfmfield::FormClose);
  c.Method("BitBtn1Click", &Tfmfield::BitBtn1Click);
  c.Method("BitBtn2Click", &Tfmfield::BitBtn2Click);
  c.Method("ListBox1DblClick", &Tfmfield::ListBox1DblClick);
}

void Tfmfield::FormCreate(TObject*) {
  selectedField_.clear();
  Table1->Open();
  TStrings* lines = ListBox1->Items();
  lines->BeginUpdate();
  for (int i = 0; i < Table1->FieldCount(); ++i) lines->Add(Table1->Fields()[i]->FieldName());
  lines->EndUpdate();
  Table1->Close();
}

void Tfmfield::FormClose(TObject*, TCloseAction&) {
  if (ModalResult() != mrOk) selectedField_.clear();
}

void Tfmfield::TakeHighlighted() {
  const int index = ListBox1->ItemIndex();
  if (index >= 0 && index < ListBox1->Items()->Count()) selectedField_ = ListBox1->Items()->Get(index);
}

void Tfmfield::BitBtn1Click(TObject*) { TakeHighlighted(); }

void Tfmfield::BitBtn2Click(TObject*) { selectedField_.clear(); }

void Tfmfield::ListBox1DblClick(TObject*) {
  TakeHighlighted();
  SetModalResult(mrOk);
}
