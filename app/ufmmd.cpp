#include "app/ufmmd.h"

#include <QTimer>

#include <exception>
#include <utility>
#include <vector>

#include "app/EditMenu.h"
#include "app/MarkPolicy.h"
#include "app/MarkStore.h"
#include "app/OutputCommand.h"
#include "app/Question.h"
#include "app/Shipments.h"
#include "app/UPub.h"
#include "app/ufmmain.h"
#include "design/select/DsnHistory.h"
#include "mark/Barcode.h"
#include "mark/MarkImage.h"
#include "mark/MarkLine.h"
#include "mark/shape2.h"
#include "mark/ufmfield.h"
#include "mark/ufmsetup.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Label.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Panel.h"
#include "platform/controls/ToolBar.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/graphics/Font.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/ScopedRollback.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Tr.h"

namespace {

// What the mark editor says.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MarkEditor)
};
// The font a component publishes as "Font"; null for none (or no component).
TFont* FontOf(TComponent* component) {
  const TPropInfo* prop = component ? GetPropInfo(component, "Font") : nullptr;
  return prop ? ClassCast<TFont>(GetObjectProp(component, *prop)) : nullptr;
}

// What the shape dialog edits: lines, font, caption and figure.
void CopyShapeSettings(const tshape2& from, tshape2& to) {
  to.Setslset(from.slset());
  to.Font()->Assign(from.Font());
  to.SetCaption(from.Caption());
  to.Setkind(from.kind());
}

// A mark that could not be read (or shown) leaves the stage empty and the row as it is.
void WarnUnreadable(const std::string& side, const std::string& failure) {
  ShowWarning(Tr(Texts::tr("Cannot read the design of the %1: the editor opens empty; the design in the database stays as "
                           "it is until you save.\n\n%2"),
                 MarkSideName(side), failure));
}
}  // namespace

std::string EditorCustomerId;
std::string EditorMarkId;
std::string EditorMarkSide;

DEFINE_CLASS(Tfmmd, TForm) {
  c.Field("Panel2", &Tfmmd::Panel2);
  c.Field("ToolBar1", &Tfmmd::ToolBar1);
  c.Field("b1", &Tfmmd::b1);
  c.Field("b2", &Tfmmd::b2);
  c.Field("b3", &Tfmmd::b3);
  c.Field("b4", &Tfmmd::b4);
  c.Field("Label2", &Tfmmd::Label2);
  c.Field("Panel1", &Tfmmd::Panel1);
  c.Field("Label1", &Tfmmd::Label1);
  c.Field("tshape21", &Tfmmd::tshape21);
  c.Field("MarkLine1", &Tfmmd::MarkLine1);
  c.Field("Barcode1", &Tfmmd::Barcode1);
  c.Field("MarkImage1", &Tfmmd::MarkImage1);
  c.Field("DBText1", &Tfmmd::DBText1);
  c.Field("DsnSwitch1", &Tfmmd::DsnSwitch1);
  c.Field("DsnStage1", &Tfmmd::DsnStage1);
  c.Field("DsnDpRegister1", &Tfmmd::DsnDpRegister1);
  c.Field("DsnSelect1", &Tfmmd::DsnSelect1);
  c.Field("DsnInspector1", &Tfmmd::DsnInspector1);
  c.Field("ActionList1", &Tfmmd::ActionList1);
  c.Field("acshape", &Tfmmd::acshape);
  c.Field("acsavemd", &Tfmmd::acsavemd);
  c.Field("acloadmd", &Tfmmd::acloadmd);
  c.Field("acedit", &Tfmmd::acedit);
  c.Field("pop", &Tfmmd::pop);
  c.Field("outmenu", &Tfmmd::outmenu);
  c.Field("N3", &Tfmmd::N3);
  c.Field("FontDialog1", &Tfmmd::FontDialog1);
  c.Field("ColorDialog1", &Tfmmd::ColorDialog1);
  c.Field("tbmd", &Tfmmd::tbmd);
  c.Field("tbvmd", &Tfmmd::tbvmd);
  c.Method("FormClose", &Tfmmd::FormClose);
  c.Method("aceditExecute", &Tfmmd::aceditExecute);
  c.Method("acshapeExecute", &Tfmmd::acshapeExecute);
  c.Method("DsnStage1ControlCreate", &Tfmmd::DsnStage1ControlCreate);
  c.Method("DsnStage1ControlPasted", &Tfmmd::DsnStage1ControlPasted);
  c.Method("FormActivate", &Tfmmd::FormActivate);
  c.Method("DsnInspector1BtnClick", &Tfmmd::DsnInspector1BtnClick);
  c.Method("acsavemdExecute", &Tfmmd::acsavemdExecute);
  c.Method("OutputClick", &Tfmmd::OutputClick);
  c.Method("RowButtonClick", &Tfmmd::RowButtonClick);
  c.Method("acloadmdExecute", &Tfmmd::acloadmdExecute);
  c.Method("FormShow", &Tfmmd::FormShow);
  c.Method("FormCreate", &Tfmmd::FormCreate);
}

void Tfmmd::FormCreate(TObject*) {
  markSide_ = EditorMarkSide;
  customerId_ = EditorCustomerId;
  markId_ = EditorMarkId;
  // A stored mark may come from another clerk's program, a paste from anywhere: either may hold
  // only mark elements.
  DsnStage1->SetReadPolicy(MarkReadPolicy());
  savedRevision_ = DsnStage1->Revision();
  history_ = New<TDsnHistory>(DsnStage1, DsnDpRegister1);
  DsnStage1->OnElementsChanged = [self = TWeak<Tfmmd>(this)] {
    if (self && self->history_) self->history_->Commit();
  };
  AddAlignItems();
  // A caption or a barcode's data may hold the shipment's values: the property window lists them.
  DsnInspector1->InsertProps = {"Caption", "data"};
  DsnInspector1->OnInsertTexts = [](const std::string&) {
    std::vector<std::string> texts{"{n}", "{N}"};
    try {
      for (const std::string& column : ShipmentColumns()) texts.push_back("{" + column + "}");
    } catch (const std::exception& e) {
      ShowWarning(Tr(Texts::tr("Cannot read the fields of the shipments; only the carton numbers can be put in.\n\n%1"), WithAdvice(e)));
    }
    return texts;
  };
}

// The stored mark is loaded when the window is first shown; showing it again later must not throw
// away what the user has designed since.
void Tfmmd::FormShow(TObject*) {
  if (loaded_) return;
  loaded_ = true;
  acloadmd->Execute();
}

void Tfmmd::FormActivate(TObject*) {}

// The inspector's "..." button. The field's name and the colour come back as the value, which the
// inspector then writes to every target (a colour as a decimal number); a font is copied to every
// target here, since the inspector cannot write a font from its text.
void Tfmmd::DsnInspector1BtnClick(TObject*, TSelectedComponents* targets, const std::string& propName,
                                  std::string& value) {
  if (propName == "DataField") {
    // The field's name becomes the first target's caption too, so the element shows which field
    // it reads; Cancel links none.
    if (!ChooseField(value)) return;
    // The caption and the field the property window writes next are one step.
    DsnStage1->BeginStep(Tr(Texts::tr("Linked field")));
    if (auto* first = ClassCast<TControl>(targets->Items(0))) {
      first->SetCaption(value);
      DsnStage1->ElementsChanged();
    }
  }
  if (propName == "Color" || propName == "linecolor") {
    // The dialog opens on the colour shown, when the targets agree on one.
    try {
      if (!value.empty()) ColorDialog1->SetColor(static_cast<TColor>(std::stol(value)));
    } catch (const std::exception&) {
    }
    if (ColorDialog1->Execute()) {
      value = std::to_string(ColorDialog1->Color());
      DsnStage1->BeginStep(propName == "Color" ? Tr(Texts::tr("Colour")) : Tr(Texts::tr("Line colour")));
    }
  }
  if (propName == "picture") {
    std::string bytes;
    if (!ChoosePictureFile(bytes)) return;
    for (int i = 0; i < targets->Count(); ++i)
      if (auto* image = ClassCast<TMarkImage>(targets->Items(i))) image->SetPictureBytes(bytes);
    DsnStage1->ElementsChanged(Tr(Texts::tr("Picture")));
    if (auto* first = ClassCast<TMarkImage>(targets->Items(0))) value = first->picture();
  }
  if (propName == "Font") {
    if (TFont* font = FontOf(targets->Items(0))) FontDialog1->SetFont(font);
    if (!FontDialog1->Execute()) return;
    for (int i = 0; i < targets->Count(); ++i)
      if (TFont* font = FontOf(targets->Items(i))) font->Assign(FontDialog1->Font());
    DsnStage1->ElementsChanged(Tr(Texts::tr("Font")));
  }
}

// Closing an editor destroys it.
void Tfmmd::FormClose(TObject*, TCloseAction& action) {
  if (DsnStage1 && DsnStage1->DesignActive() && DsnSwitch1) DsnSwitch1->StopDesign();
  action = caFree;
}

// The edit-mode command: the switch turns design mode on or off, the tool button shows which.
void Tfmmd::aceditExecute(TObject*) {
  if (!DsnSwitch1 || !DsnStage1) return;
  const bool on = !DsnStage1->DesignActive();
  if (on) {
    if (fmmain) fmmain->PlaceInspector(DsnInspector1);
    DsnSwitch1->StartDesign();
  } else {
    DsnSwitch1->StopDesign();
  }
  if (b1) b1->SetDown(DsnStage1 && DsnStage1->DesignActive());
  // The data texts show their field links while designing, and the chosen row's values after.
  if (rowsSource_) ShowLiveValues();
}

// An element drawn from the palette: its context menu, and how a new element looks at first.
void Tfmmd::DsnStage1ControlCreate(TObject*, TComponent* component) {
  auto* control = ClassCast<TControl>(component);
  if (!control) return;
  control->SetPopupMenu(pop);
  if (auto* label = ClassCast<TLabel>(control)) {
    label->SetCaption(NewLabelCaption);
    label->SetTransparent(true);
  }
  if (ClassCast<tshape2>(control)) control->SetCaption("");
  if (auto* text = ClassCast<TDBText>(control)) {
    text->SetCaption("連結欄位:未設定");
    text->Font()->SetColor(clGray);
  }
  // A new picture asks for its file once the drawing is over.
  if (auto* image = ClassCast<TMarkImage>(control))
    QTimer::singleShot(0, [image = TWeak<TMarkImage>(image), self = TWeak<Tfmmd>(this)] {
      std::string bytes;
      if (!image || !self || !self->ChoosePictureFile(bytes) || !image || !self) return;
      image->SetPictureBytes(bytes);
      self->DsnStage1->ElementsChanged(Tr(Texts::tr("Picture")));
    });
}

bool Tfmmd::ChoosePictureFile(std::string& bytes) {
  auto* dialog = New<TOpenDialog>(this);
  const TWeak<TOpenDialog> dialogAlive(dialog);
  const TWeak<Tfmmd> alive(this);
  dialog->SetTitle(Tr(Texts::tr("Choose a picture")));
  dialog->SetFilter(Tr(Texts::tr("Pictures (*.png;*.jpg;*.jpeg;*.svg)|*.png;*.jpg;*.jpeg;*.svg|All files (*.*)|*.*")));
  const bool chosen = dialog->Execute();
  const std::string file = dialogAlive ? dialog->FileName() : std::string();
  if (dialogAlive) dialog->Free();
  if (!alive || !chosen) return false;
  try {
    bytes = ReadPictureFile(file);
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("This picture cannot be used; nothing changed.\n\n%1"), std::string(e.what())));
    return false;
  }
  return true;
}

// A pasted element is a copy: it keeps its caption, data field and look, and only gets this
// editor's context menu, whichever editor it was copied from.
void Tfmmd::DsnStage1ControlPasted(TObject*, TComponent* component) {
  if (auto* control = ClassCast<TControl>(component)) control->SetPopupMenu(pop);
}

// "設定形狀": the shape dialog on a copy of the one selected shape label's settings, copied back
// only when the user confirms.
void Tfmmd::acshapeExecute(TObject*) {
  if (!DsnStage1) return;
  if (DsnStage1->SelectedCount() > 1) {
    ShowWarning(Tr(Texts::tr("Select a single element to set its shape")));
    return;
  }
  const TWeak<tshape2> element = ClassCast<tshape2>(DsnStage1->SelectedItem(0));
  if (!element) return;
  auto* dialog = New<Tfmsetup>(this);
  TScopeExit freeDialog([dialog = TWeak<Tfmsetup>(dialog)] {
    if (dialog) dialog->Free();
  });
  CopyShapeSettings(*element, *dialog->shape);
  // The element may go while the dialog is open (its editor closed under it).
  if (dialog->ShowModal() != mrOk || !element) return;
  const std::string before = ElementText(*element);
  CopyShapeSettings(*dialog->shape, *element);
  if (ElementText(*element) != before) DsnStage1->ElementsChanged(Tr(Texts::tr("Set shape")));
  DsnStage1->RefreshTargets();
}

namespace {
// The one field link dialog of both editors, made on first use by the editor that needs it and
// kept with that editor; the other editor makes a new one once that editor is gone.
TWeak<Tfmfield> keptFieldDialog;
}  // namespace

bool Tfmmd::ChooseField(std::string& field) {
  if (!keptFieldDialog) {
    try {
      keptFieldDialog = New<Tfmfield>(this);
    } catch (const std::exception& e) {
      ShowWarning(Tr(Texts::tr("Cannot read the list of fields to link; the field did not change.\n\n%1"), WithAdvice(e)));
      return false;
    }
  }
  keptFieldDialog->ShowModal();
  if (!keptFieldDialog) return false;
  field = keptFieldDialog->SelectedField();
  return true;
}

namespace {

// The editor's source of live values: off while the stage is being designed, when the data texts
// show their field links.
class TLiveValuesSource : public TDataSource {
 public:
  TWeak<TDsnStage> Stage;
  bool Enabled() const override { return TDataSource::Enabled() && Stage && !Stage->DesignActive(); }
};

}  // namespace

void Tfmmd::RowButtonClick(TObject*) {
  // All the customer's rows in one query, listed under their shipments.
  TQuery* rows = New<TQuery>(nullptr);
  std::vector<std::pair<std::string, std::string>> listed;  // shipment, the row as the menu shows it
  try {
    SelectShipmentRows(*rows, customerId_, "");
    rows->Open();
    const int bill = rows->FieldByName(kBillColumn)->Index();
    const int packing = rows->FieldByName("PACKING單號")->Index();
    const int product = rows->FieldByName("產品編號")->Index();
    for (int row = 1; row <= rows->RecordCount(); ++row) {
      rows->SetRecNo(row);
      listed.emplace_back(FieldValueText(rows->Value(bill), false), FieldValueText(rows->Value(packing), false) +
                                                                        "  " + FieldValueText(rows->Value(product), false));
    }
  } catch (const std::exception& e) {
    rows->Free();
    ShowWarning(Tr(Texts::tr("Cannot read this customer's export documents:\n%1"), WithAdvice(e)));
    return;
  }
  rows->Free();
  if (!rowMenu_) rowMenu_ = New<TPopupMenu>(this);
  while (rowMenu_->Items()->Count() > 0) rowMenu_->Items()->Items(0)->Free();
  TWeak<Tfmmd> self(this);
  auto add = [self](TMenuItem* parent, const std::string& caption, const std::string& bill, int row) {
    auto* item = New<TMenuItem>(parent);
    item->SetCaption(caption);
    if (row >= 0)
      item->OnClick.Bind([self, bill, row](TObject*) {
        if (self) self->ChooseRow(bill, row);
      });
    parent->Add(item);
    return item;
  };
  add(rowMenu_->Items(), Tr(Texts::tr("No row")), "", 0);
  TMenuItem* shipment = nullptr;
  int number = 0;
  for (size_t i = 0; i < listed.size(); ++i) {
    const std::string& bill = listed[i].first;
    if (i == 0 || bill != listed[i - 1].first) {
      shipment = add(rowMenu_->Items(), bill, bill, -1);
      number = 0;
    }
    ++number;
    add(shipment, std::to_string(number) + ". " + listed[i].second, bill, number);
  }
  const TPoint below = b4 ? b4->ClientToScreen({0, b4->Height()}) : ClientToScreen({0, 0});
  rowMenu_->Popup(below.X, below.Y);
}

void Tfmmd::ChooseRow(const std::string& bill, int row) {
  if (bill.empty()) {
    if (rows_) rows_->Close();
    ShowLiveValues();
    return;
  }
  if (!rows_) {
    rows_ = New<TQuery>(this);
    auto* source = New<TLiveValuesSource>(this);
    source->Stage = DsnStage1;
    rowsSource_ = source;
    rowsSource_->SetDataSet(rows_);
  }
  try {
    SelectShipmentRows(*rows_, customerId_, bill);
    rows_->Open();
    rows_->SetRecNo(row);
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("Cannot read the rows of the export document %1:\n%2"), bill, WithAdvice(e)));
  }
  ShowLiveValues();
}

void Tfmmd::ShowLiveValues() {
  if (!DsnStage1) return;
  for (int i = 0; i < DsnStage1->ControlCount(); ++i)
    if (auto* text = dynamic_cast<TDBText*>(DsnStage1->Controls(i))) text->SetDataSource(rowsSource_);
  if (rowsSource_) rowsSource_->DataSetChanged();
  DsnStage1->Invalidate();
}

bool Tfmmd::LabelRowNumbers(int& position, int& count) const {
  if (!rows_ || !rows_->Active() || rows_->RecNo() == 0 || !DsnStage1 || DsnStage1->DesignActive()) return false;
  position = rows_->RecNo();
  count = rows_->RecordCount();
  return true;
}

std::optional<std::string> Tfmmd::LabelFieldValue(const std::string& name) const {
  if (!rows_ || !rows_->Active()) return std::nullopt;
  return CurrentFieldText(*rows_, name);
}

void Tfmmd::OutputClick(TObject* sender) {
  if (auto* item = dynamic_cast<TComponent*>(sender)) RunMarkOutput(static_cast<TOutputKind>(item->Tag()), markSide_);
}

std::string Tfmmd::CurrentDesign() {
  TMemoryStream stream;
  DsnStage1->SaveToStream(stream);
  return stream.Bytes();
}

void Tfmmd::Destroy() {
  FreeAndNil(history_);
  TForm::Destroy();
}

void Tfmmd::ClearStage() {
  for (int i = DsnStage1->ControlCount() - 1; i >= 0; --i) DsnStage1->Controls(i)->Free();
}

std::string Tfmmd::ElementText(TControl& element) {
  TMemoryStream stream;
  DsnStage1->WriteControl(stream, &element);
  return stream.Bytes();
}

void Tfmmd::acsavemdExecute(TObject*) { SaveMark(); }

// Without a customer or mark number every such start would share one row keyed by empty numbers,
// and each would overwrite the others' design.
bool Tfmmd::CheckMarkKey() {
  const auto blank = [](const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; };
  if (!blank(customerId_) && !blank(markId_)) return true;
  ShowWarning(Tr(Texts::tr("No customer number or mark number is given: the design of the %1 cannot be saved. Start the "
                           "program again with a customer number and a mark number, for example: markedit C001 M01"),
                 MarkSideName(markSide_)));
  return false;
}

bool Tfmmd::SaveMark(bool endDesign) {
  if (!CheckMarkKey()) return false;
  TWeak<Tfmmd> self(this);
  if (endDesign && DsnStage1->DesignActive()) acedit->Execute();
  if (!self) return false;
  // The row is written only while it still holds what this editor read; when another clerk's
  // save came between, the clerk here decides, and an overwrite again expects what was found.
  std::optional<std::string> expected = storedRow_;
  std::string failure;
  for (;;) {
    try {
      // A change still to be recorded is recorded first: its revision is the one saved.
      if (history_) history_->Commit();
      const std::string design = CurrentDesign();
      const uint64_t revision = DsnStage1->Revision();
      const TMarkSaveResult result = SaveMarkIfUnchanged({customerId_, markId_, markSide_}, design, expected);
      if (result.Saved) {
        storedRow_ = design;
        savedRevision_ = revision;
        return true;
      }
      expected = result.Found;
    } catch (const std::exception& e) {
      failure = WithAdvice(e);
      break;
    }
    if (!ResolveOtherSave(expected) || !self) return false;
  }
  ShowWarning(Tr(Texts::tr("Cannot save the design of the %1. The design stays on the screen; the one in the database did "
                           "not change.\n\n%2"),
                 MarkSideName(markSide_), failure));
  return false;
}

bool Tfmmd::ResolveOtherSave(const std::optional<std::string>& found) {
  const std::string side = MarkSideName(markSide_);
  std::string text;
  if (!found) text = Tr(Texts::tr("Someone deleted the design of the %1 from the database after this editor read it."), side);
  else if (!storedRow_) text = Tr(Texts::tr("Someone saved a design of the %1 in the database that this editor did not read."), side);
  else text = Tr(Texts::tr("Someone changed and saved the design of the %1 after this editor read it."), side);
  text += "\n\n" + Tr(Texts::tr("Overwrite: put this editor's design in the place of the one in the database.")) + "\n";
  text += (found ? Tr(Texts::tr("Load theirs: drop this editor's changes and show the design in the database."))
                 : Tr(Texts::tr("Load theirs: drop this editor's changes and clear the stage."))) +
          "\n";
  text += Tr(Texts::tr("Cancel: do not save this time; the design stays on the screen."));
  TWeak<Tfmmd> self(this);
  const TOtherSaveAnswer answer = AskAboutOtherSave(text);
  if (!self) return false;
  if (answer == oaOverwrite) return true;
  if (answer == oaLoadTheirs) {
    DsnStage1->BeginStep(Tr(Texts::tr("Load theirs")));
    ShowStoredMark(found);
  }
  return false;
}

void Tfmmd::ImportDesign(const std::string& design) {
  DsnStage1->BeginStep(Tr(Texts::tr("Import mark file")));
  if (design.empty()) {
    ClearStage();
    return;
  }
  TMemoryStream stream(design);
  DsnStage1->LoadFromStream(stream);
}

void Tfmmd::ShowStoredMark(const std::optional<std::string>& row) {
  bool failed = false;
  std::string failure;
  try {
    if (!row || row->empty()) {
      ClearStage();
    } else {
      TMemoryStream stream(*row);
      DsnStage1->LoadFromStream(stream);
    }
  } catch (const std::exception& e) {
    failed = true;
    failure = WithAdvice(e);
    ClearStage();
  }
  storedRow_ = row;
  savedRevision_ = DsnStage1->Revision();
  if (rowsSource_) ShowLiveValues();
  if (failed) WarnUnreadable(markSide_, failure);
  else if (!DsnStage1->SkippedProperties().empty())
    ShowWarning(Tr(Texts::tr("Some properties of the %1 cannot be read and were passed over; the rest opened as usual, and "
                             "saving does not write those properties back.\n\n%2"),
                   MarkSideName(markSide_), SkippedList(DsnStage1->SkippedProperties())));
  if (!failed) WarnOfPictures();
}

void Tfmmd::WarnOfPictures() {
  std::string list;
  for (int i = 0; i < DsnStage1->ControlCount(); ++i)
    if (auto* image = ClassCast<TMarkImage>(DsnStage1->Controls(i)); image && !image->Problem().empty())
      list += "\n" + image->Name() + "：" + image->Problem();
  if (!list.empty())
    ShowWarning(Tr(Texts::tr("Pictures of the %1 cannot be shown: crossed boxes stand in for them, and saving keeps them as "
                             "they are.\n%2"),
                   MarkSideName(markSide_), list));
}

// A row that cannot be read leaves the stage empty and the row as it is: it is replaced only when
// the user saves.
void Tfmmd::acloadmdExecute(TObject*) {
  std::optional<std::string> row;
  try {
    row = ReadMark({customerId_, markId_, markSide_});
  } catch (const std::exception& e) {
    ClearStage();
    storedRow_.reset();
    savedRevision_ = DsnStage1->Revision();
    history_->Reset();
    WarnUnreadable(markSide_, WithAdvice(e));
    return;
  }
  ShowStoredMark(row);
  // What is read from the database starts the history.
  history_->Reset();
}

bool Tfmmd::Modified() {
  // A change whose step is still to be recorded may turn out to be none.
  if (history_) history_->Commit();
  return DsnStage1->Revision() != savedRevision_;
}

bool Tfmmd::Undo() {
  if (!history_ || !history_->Undo()) return false;
  if (rowsSource_) ShowLiveValues();
  return true;
}

bool Tfmmd::Redo() {
  if (!history_ || !history_->Redo()) return false;
  if (rowsSource_) ShowLiveValues();
  return true;
}

void Tfmmd::AddAlignItems() {
  if (!pop) return;
  auto* separator = New<TMenuItem>(this);
  separator->SetCaption("-");
  pop->Items()->Add(separator);
  auto* submenu = New<TMenuItem>(this);
  submenu->SetCaption(Tr(Texts::tr("Align")));
  pop->Items()->Add(submenu);
  // The commands are made as the menu first opens (the design menu takes this handler over), and
  // follow the selection each time.
  pop->OnPopup.Bind([self = TWeak<Tfmmd>(this), submenu = TWeak<TMenuItem>(submenu)](TObject*) {
    if (!self || !submenu || !self->DsnDpRegister1) return;
    if (submenu->Count() == 0)
      FillAlignMenu(*submenu, self.get(), [self](TMenuItem& item, TAlignCommand command) {
        item.OnClick.Bind([self, command](TObject*) {
          if (self && self->DsnDpRegister1) self->DsnDpRegister1->AlignSelection(command);
        });
      });
    for (int i = 0; i < submenu->Count(); ++i) {
      TMenuItem* item = submenu->Items(i);
      if (!item->IsLine()) item->SetEnabled(self->DsnDpRegister1->CanAlign(static_cast<TAlignCommand>(item->Tag())));
    }
  });
}

bool Tfmmd::CloseQuery() {
  if (!TForm::CloseQuery()) return false;
  if (!Modified()) return true;
  TWeak<Tfmmd> self(this);
  const TSaveAnswer answer = AskToSave(Tr(Texts::tr("The design of the %1 has changed. Save it?"), MarkSideName(markSide_)));
  if (!self) return false;
  switch (answer) {
    case saYes: return SaveMark();
    case saNo: return true;
    case saCancel: break;
  }
  return false;
}
