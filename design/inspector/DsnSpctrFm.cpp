// The inspector's window: the grid of common properties and the editors placed over it.

#include "design/inspector/DsnProp.h"
#include "design/inspector/DsnSpctr.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/IntegerConsts.h"
#include "platform/rtl/ScopedRollback.h"
#include "platform/rtl/StringList.h"
#include "platform/win/ErrorBoundary.h"
#include "platform/win/Windows.h"

namespace {
// Posted to the window to show an error of a commit made while the selection changed.
constexpr UINT IM_SHOWERROR = WM_USER + 0x2F0;
// Where a parked edit box waits: outside the client area, and far outside once hidden.
constexpr int kParked = -200;
constexpr int kHidden = -2000;
}  // namespace

DEFINE_CLASS(TInspectorFm, TForm) {}

void TInspectorFm::Create(TComponent* owner) {
  TForm::Create(owner);
  SetBounds(253, 108, 230, 438);
  SetColor(clBtnFace);
  Font()->SetName("細明體");
  Font()->SetCharset(CHINESEBIG5_CHARSET);
  Font()->SetHeight(-13);
  BuildControls();
  OnCreate.Bind([this](TObject* sender) { HideNameColumn(sender); });
  OnDeactivate.Bind([this](TObject* sender) { CommitChangedValue(sender); });
}

void TInspectorFm::BuildControls() {
  Panel3 = New<TPanel>(this);
  Panel3->SetParent(this);
  Panel3->SetAlign(alTop);
  Panel3->SetHeight(33);
  Panel3->SetBevelOuter(bvNone);

  ComboBox1 = New<TComboBox>(this);
  ComboBox1->SetParent(Panel3);
  ComboBox1->SetBounds(5, 6, 173, 24);
  ComboBox1->SetStyle(csDropDownList);
  ComboBox1->OnChange.Bind([this](TObject* sender) { SelectListedComponent(sender); });
  ComboBox1->OnDropDown.Bind([this](TObject* sender) { SelectListedComponent(sender); });

  Panel1 = New<TPanel>(this);
  Panel1->SetParent(this);
  Panel1->SetAlign(alBottom);
  Panel1->SetHeight(30);
  Panel1->SetBevelOuter(bvNone);
  Panel1->Hide();

  HelpBtn = New<TBitBtn>(this);
  HelpBtn->SetParent(Panel1);
  HelpBtn->SetBounds(4, 4, 105, 25);
  HelpBtn->SetKind(bkHelp);

  StringGrid1 = New<TStringGrid>(this);
  StringGrid1->SetParent(this);
  StringGrid1->SetAlign(alClient);
  StringGrid1->SetColor(clBtnFace);
  StringGrid1->SetColCount(kColumnCount);
  StringGrid1->SetFixedCols(0);
  StringGrid1->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                                       goColSizing});
  StringGrid1->SetScrollBars(ssVertical);
  StringGrid1->OnMouseDown.Bind([this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    PlaceEditorOnPressedRow(sender, button, shift, x, y);
  });

  // The editors stand above the grid, parked outside the client area until a row needs one.
  Edit1 = New<TEdit>(this);
  Edit1->SetParent(this);
  Edit1->SetBounds(kParked, 240, 89, 24);
  Edit1->Font()->SetHeight(-16);
  Edit1->OnExit.Bind([this](TObject* sender) { CommitChangedValue(sender); });
  Edit1->OnKeyDown.Bind(
      [this](TObject* sender, uint16_t& key, TShiftState shift) { CommitOrRevertOnKey(sender, key, shift); });

  Panel2 = New<TPanel>(this);
  Panel2->SetParent(this);
  Panel2->SetBounds(-96, 48, 25, 25);
  Panel2->SetCaption("");

  SpeedButton1 = New<TSpeedButton>(this);
  SpeedButton1->SetParent(Panel2);
  SpeedButton1->SetBounds(0, 0, 25, 25);
  SpeedButton1->OnClick.Bind([this](TObject* sender) { OpenValueDialog(sender); });

  Panel4 = New<TPanel>(this);
  Panel4->SetParent(this);
  Panel4->SetBounds(-96, 80, 25, 25);
  Panel4->SetCaption("");
  Panel4->Hide();

  SpeedButton2 = New<TSpeedButton>(this);
  SpeedButton2->SetParent(Panel4);
  SpeedButton2->SetBounds(0, 0, 25, 25);
  SpeedButton2->SetCaption("{}");
  SpeedButton2->OnClick.Bind([this](TObject* sender) { OpenInsertList(sender); });
  InsertMenu = New<TPopupMenu>(this);

  ComboBox2 = New<TComboBox>(this);
  ComboBox2->SetParent(this);
  ComboBox2->SetBounds(kParked, 131, 81, 24);
  ComboBox2->SetStyle(csDropDown);
  ComboBox2->Font()->SetHeight(-16);
  ComboBox2->SetItemHeight(16);
  ComboBox2->OnChange.Bind([this](TObject* sender) { ChooseListedValue(sender); });
  ComboBox2->OnExit.Bind([this](TObject* sender) { CommitChangedValue(sender); });
  ComboBox2->OnKeyDown.Bind(
      [this](TObject* sender, uint16_t& key, TShiftState shift) { CommitOrRevertOnKey(sender, key, shift); });
}

void TInspectorFm::HideNameColumn(TObject*) { StringGrid1->SetColWidths(kNameColumn, 0); }

bool TInspectorFm::IsButtonProp(const std::string& name) const {
  for (int i = 0; ButtonProps && i < ButtonProps->Count(); ++i)
    if (ButtonProps->Get(i) == name) return true;
  return false;
}

std::string TInspectorFm::SelectedCell(int column) const { return StringGrid1->Cells(column, StringGrid1->Row()); }

void TInspectorFm::PutEditorAway(int left) {
  Edit1->SetLeft(left);
  editorRow_ = kNoRow;
  Panel2->Hide();
  Panel4->Hide();
  ComboBox2->Hide();
}

void TInspectorFm::PlaceEditor(int row, bool focus) {
  if (row < 0) {
    // Disabled first: an edit box that loses the focus this way still commits from its row.
    Edit1->SetEnabled(false);
    PutEditorAway(kHidden);
    return;
  }
  const TRect cell = StringGrid1->CellRect(kValueColumn, row);
  const int x = cell.Left + StringGrid1->Left();
  const int y = cell.Top + StringGrid1->Top();
  const int w = StringGrid1->ColWidths(kValueColumn);
  const int h = StringGrid1->RowHeights(row);
  const std::string name = StringGrid1->Cells(kNameColumn, row);
  const bool isButton = IsButtonProp(name);

  TMultiProps* props = Inspector ? Inspector->Props() : nullptr;
  TComponent* first = props ? props->FirstTarget() : nullptr;
  if (!first) return;
  editedProp_ = name;
  editorRow_ = row;

  const TPropInfo* prop = first->ClassType().FindProp(name);
  if (prop && prop->Kind() == tkEnumeration) {
    TStrings* items = ComboBox2->Items();
    items->BeginUpdate();
    items->Clear();
    for (const std::string& value : prop->PropType->EnumNames) items->Add(value);
    items->EndUpdate();
    ComboBox2->SetBounds(x, y + 2, w + 3, h + 3);
    ComboBox2->SetText(StringGrid1->Cells(kValueColumn, row));
    ComboBox2->Show();
    Edit1->SetBounds(1500, 500, 10, 10);
    Edit1->Hide();
  } else {
    ComboBox2->Hide();
    Edit1->Show();
    Edit1->SetEnabled(true);
  }
  if (!isButton && Edit1->Visible() && Inspector->HasInsertTexts(name)) {
    Panel4->SetBounds(x + w - 23, y + 2, 25, h);
    Panel4->Show();
  } else {
    Panel4->Hide();
  }
  if (isButton) {
    // The edit box shows the value under the button; only the button changes it.
    Edit1->Show();
    Panel2->SetBounds(x + w - 23, y + 2, 25, h);
    Panel2->Show();
    ComboBox2->Hide();
    Edit1->SetEnabled(false);
  } else {
    Panel2->Hide();
    Edit1->SetEnabled(true);
    if (Edit1->Visible() && focus) Edit1->SetFocus();
  }
  Edit1->SetBounds(x, y, w + 3, h + 3);
  Edit1->SetText(StringGrid1->Cells(kValueColumn, row));
  Edit1->SelectAll();
  shownText_ = Edit1->Text();
}

void TInspectorFm::PlaceEditorOnPressedRow(TObject*, TMouseButton, TShiftState, int, int) {
  const int row = StringGrid1->Row();
  if (row > kHeaderRow) PlaceEditor(row, true);
}

void TInspectorFm::Commit(bool always) {
  if (committing_ || !Inspector || editorRow_ == kNoRow || editedProp_.empty()) return;
  if (SelectedCell(kNameColumn) != editedProp_) return;
  const std::string text = Edit1->Text();
  if (!always && text == shownText_) return;
  TScopedRollback<bool> busy(committing_, true);
  // A refused text is reported once; leaving the editor again does not repeat it.
  shownText_ = text;
  Inspector->ApplyValue(editedProp_, text);
}

void TInspectorFm::CommitBeforeChange() {
  try {
    Commit(false);
  } catch (const std::exception& error) {
    // The selection is changing under way; the message waits until that is over.
    pendingError_ = error.what();
    PostMessage(Handle(), IM_SHOWERROR, 0, 0);
  }
}

void TInspectorFm::Dispatch(TMessage& message) {
  if (message.Msg == IM_SHOWERROR) {
    message.Result = 0;
    if (pendingError_.empty()) return;
    std::string text;
    text.swap(pendingError_);
    ReportException(std::make_exception_ptr(Exception(text)));
    return;
  }
  TForm::Dispatch(message);
}

void TInspectorFm::CommitChangedValue(TObject*) { Commit(false); }

void TInspectorFm::CommitOrRevertOnKey(TObject*, uint16_t& key, TShiftState) {
  if (key == VK_RETURN) {
    key = 0;
    Commit(true);
  } else if (key == VK_ESCAPE) {
    key = 0;
    const std::string shown = SelectedCell(kValueColumn);
    Edit1->SetText(shown);
    if (ComboBox2->Visible()) ComboBox2->SetText(shown);
    Edit1->SelectAll();
    shownText_ = shown;
  }
}

void TInspectorFm::ChooseListedValue(TObject*) {
  Edit1->SetText(ComboBox2->Text());
  // A value chosen, or typed to its end, applies at once; a name still being typed waits for Enter
  // or for the editor to be left.
  if (ComboBox2->Items()->IndexOf(ComboBox2->Text()) >= 0) Commit(false);
}

void TInspectorFm::OpenValueDialog(TObject*) {
  if (!Inspector || !Inspector->OnBtnClick) return;
  const TWeak<TInspectorFm> alive(this);
  const std::string name = SelectedCell(kNameColumn);
  std::string value = Edit1->Text();
  TDsnInspector* inspector = Inspector;
  inspector->ButtonClick(name, value);
  // The handler's dialog may have ended design mode, and with it this window.
  if (!alive) return;
  Edit1->SetText(value);
  shownText_ = value;
  inspector->ApplyValue(name, value);
}

void TInspectorFm::OpenInsertList(TObject*) {
  if (!Inspector || !Inspector->OnInsertTexts || editorRow_ == kNoRow) return;
  const TWeak<TInspectorFm> alive(this);
  const std::vector<std::string> texts = Inspector->OnInsertTexts(editedProp_);
  if (!alive || texts.empty()) return;
  while (InsertMenu->Items()->Count() > 0) InsertMenu->Items()->Items(0)->Free();
  for (const std::string& text : texts) {
    auto* item = New<TMenuItem>(InsertMenu);
    item->SetCaption(text);
    // Put in where the caret is, in place of a selection; the edit box commits as typing does.
    item->OnClick.Bind([this, text](TObject*) {
      Edit1->SetSelText(text);
      if (Edit1->CanFocus()) Edit1->SetFocus();
    });
    InsertMenu->Items()->Add(item);
  }
  const TPoint at = Panel4->ClientToScreen({0, Panel4->Height()});
  InsertMenu->Popup(at.X, at.Y);
}

void TInspectorFm::SelectListedComponent(TObject*) {
  const int index = ComboBox1->ItemIndex();
  if (index < 0 || !Inspector) return;
  auto* component = ClassCast<TComponent>(ComboBox1->Items()->Objects(index));
  if (!component) return;
  Inspector->SelectComponent(component);
  PutEditorAway(kParked);
}
