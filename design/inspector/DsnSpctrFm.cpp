// The inspector's window: the grid of common properties and the editors placed over it.

#include "design/inspector/DsnProp.h"
#include "design/inspector/DsnSpctr.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
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
  OnCreate.Bind([this](TObject* sender) { FormCreate(sender); });
  OnDeactivate.Bind([this](TObject* sender) { Edit1Exit(sender); });
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
  ComboBox1->OnChange.Bind([this](TObject* sender) { ComboBox1Change(sender); });
  ComboBox1->OnDropDown.Bind([this](TObject* sender) { ComboBox1Change(sender); });

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
  StringGrid1->SetColCount(3);
  StringGrid1->SetFixedCols(0);
  StringGrid1->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                                       goColSizing});
  StringGrid1->SetScrollBars(ssVertical);
  StringGrid1->OnMouseDown.Bind([this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    StringGrid1MouseDown(sender, button, shift, x, y);
  });

  // The editors stand above the grid, parked outside the client area until a row needs one.
  Edit1 = New<TEdit>(this);
  Edit1->SetParent(this);
  Edit1->SetBounds(kParked, 240, 89, 24);
  Edit1->Font()->SetHeight(-16);
  Edit1->OnExit.Bind([this](TObject* sender) { Edit1Exit(sender); });
  Edit1->OnKeyDown.Bind([this](TObject* sender, uint16_t& key, TShiftState shift) { Edit1KeyDown(sender, key, shift); });

  Panel2 = New<TPanel>(this);
  Panel2->SetParent(this);
  Panel2->SetBounds(-96, 48, 25, 25);
  Panel2->SetCaption("");

  SpeedButton1 = New<TSpeedButton>(this);
  SpeedButton1->SetParent(Panel2);
  SpeedButton1->SetBounds(0, 0, 25, 25);
  SpeedButton1->OnClick.Bind([this](TObject* sender) { SpeedButton1Click(sender); });

  ComboBox2 = New<TComboBox>(this);
  ComboBox2->SetParent(this);
  ComboBox2->SetBounds(kParked, 131, 81, 24);
  ComboBox2->SetStyle(csDropDown);
  ComboBox2->Font()->SetHeight(-16);
  ComboBox2->SetItemHeight(16);
  ComboBox2->OnChange.Bind([this](TObject* sender) { ComboBox2Change(sender); });
  ComboBox2->OnExit.Bind([this](TObject* sender) { Edit1Exit(sender); });
  ComboBox2->OnKeyDown.Bind([this](TObject* sender, uint16_t& key, TShiftState shift) { Edit1KeyDown(sender, key, shift); });
}

void TInspectorFm::FormCreate(TObject*) {
  StringGrid1->SetColWidths(0, 0);
  CurrentProp.clear();
}

void TInspectorFm::PlaceEditor(int row, bool focus) {
  if (row < 0) {
    Edit1->SetEnabled(false);
    Edit1->SetLeft(kHidden);
    Panel2->Hide();
    ComboBox2->Hide();
    return;
  }
  const TRect cell = StringGrid1->CellRect(2, row);
  const int x = cell.Left + StringGrid1->Left();
  const int y = cell.Top + StringGrid1->Top();
  const int w = StringGrid1->ColWidths(2);
  const int h = StringGrid1->RowHeights(row);
  const std::string name = StringGrid1->Cells(0, row);
  bool isButton = false;
  for (int i = 0; ButtonProps && i < ButtonProps->Count() && !isButton; ++i) isButton = ButtonProps->Get(i) == name;

  TMultiProps* props = Inspector ? Inspector->Props() : nullptr;
  TComponent* first = nullptr;
  if (props)
    for (TComponent* target : props->Targets())
      if ((first = target)) break;
  if (!first) return;
  CurrentProp = name;

  const TPropInfo* prop = first->ClassType().FindProp(CurrentProp);
  if (prop && prop->Kind() == tkEnumeration) {
    TStrings* items = ComboBox2->Items();
    items->BeginUpdate();
    items->Clear();
    for (const std::string& value : prop->PropType->EnumNames) items->Add(value);
    items->EndUpdate();
    ComboBox2->SetBounds(x, y + 2, w + 3, h + 3);
    ComboBox2->SetText(StringGrid1->Cells(2, row));
    ComboBox2->Show();
    Edit1->SetBounds(1500, 500, 10, 10);
    Edit1->Hide();
  } else {
    ComboBox2->Hide();
    Edit1->Show();
    Edit1->SetEnabled(true);
  }
  if (isButton) {
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
  Edit1->SetText(StringGrid1->Cells(2, row));
  Edit1->SelectAll();
  shownText_ = Edit1->Text();
}

void TInspectorFm::StringGrid1MouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  const int row = StringGrid1->Row();
  if (row > 0) PlaceEditor(row, true);
}

void TInspectorFm::Commit(bool always) {
  if (committing_ || !Inspector || Edit1->Left() < 0 || CurrentProp.empty()) return;
  if (StringGrid1->Cells(0, StringGrid1->Row()) != CurrentProp) return;
  const std::string text = Edit1->Text();
  if (!always && text == shownText_) return;
  TScopedRollback<bool> busy(committing_, true);
  // A refused text is reported once; leaving the editor again does not repeat it.
  shownText_ = text;
  Inspector->ApplyValue(CurrentProp, text);
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

void TInspectorFm::Edit1Exit(TObject*) { Commit(false); }

void TInspectorFm::Edit1KeyDown(TObject*, uint16_t& key, TShiftState) {
  if (key == VK_RETURN) {
    key = 0;
    Commit(true);
  } else if (key == VK_ESCAPE) {
    key = 0;
    const std::string shown = StringGrid1->Cells(2, StringGrid1->Row());
    Edit1->SetText(shown);
    if (ComboBox2->Visible()) ComboBox2->SetText(shown);
    Edit1->SelectAll();
    shownText_ = shown;
  }
}

void TInspectorFm::ComboBox2Change(TObject*) {
  Edit1->SetText(ComboBox2->Text());
  // A value chosen, or typed to its end, applies at once; a name still being typed waits for Enter
  // or for the editor to be left.
  if (ComboBox2->Items()->IndexOf(ComboBox2->Text()) >= 0) Commit(false);
}

void TInspectorFm::SpeedButton1Click(TObject*) {
  if (!Inspector || !Inspector->OnBtnClick) return;
  const TWeak<TInspectorFm> alive(this);
  const std::string name = StringGrid1->Cells(0, StringGrid1->Row());
  std::string value = Edit1->Text();
  TDsnInspector* inspector = Inspector;
  inspector->ButtonClick(name, value);
  // The handler's dialog may have ended design mode, and with it this window.
  if (!alive) return;
  Edit1->SetText(value);
  shownText_ = value;
  inspector->ApplyValue(name, value);
}

void TInspectorFm::ComboBox1Change(TObject*) {
  const int index = ComboBox1->ItemIndex();
  if (index < 0 || !Inspector) return;
  auto* component = ClassCast<TComponent>(ComboBox1->Items()->Objects(index));
  if (!component) return;
  Inspector->SelectComponent(component);
  Edit1->SetLeft(kParked);
  Panel2->Hide();
  ComboBox2->Hide();
}
