#include "design/inspector/DsnSpctr.h"

#include <algorithm>

#include "design/inspector/DsnProp.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Glyphs.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"

namespace {

// The names of the steps the Edit menu can undo.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Steps)
};

}  // namespace

// ---- settings ----

DEFINE_CLASS(TShowProps, TPersistent) {
  c.Prop("aName", &TShowProps::aName, &TShowProps::aName);
  c.Prop("aCaption", &TShowProps::aCaption, &TShowProps::aCaption);
  c.Prop("aColor", &TShowProps::aColor, &TShowProps::aColor);
  c.Prop("aTop", &TShowProps::aTop, &TShowProps::aTop);
  c.Prop("aLeft", &TShowProps::aLeft, &TShowProps::aLeft);
  c.Prop("aWidth", &TShowProps::aWidth, &TShowProps::aWidth);
  c.Prop("aHeight", &TShowProps::aHeight, &TShowProps::aHeight);
  c.Prop("aFont", &TShowProps::aFont, &TShowProps::aFont);
  c.Prop("aNameCp", &TShowProps::aNameCp, &TShowProps::aNameCp);
  c.Prop("aCaptionCp", &TShowProps::aCaptionCp, &TShowProps::aCaptionCp);
  c.Prop("aColorCp", &TShowProps::aColorCp, &TShowProps::aColorCp);
  c.Prop("aTopCp", &TShowProps::aTopCp, &TShowProps::aTopCp);
  c.Prop("aLeftCp", &TShowProps::aLeftCp, &TShowProps::aLeftCp);
  c.Prop("aWidthCp", &TShowProps::aWidthCp, &TShowProps::aWidthCp);
  c.Prop("aHeightCp", &TShowProps::aHeightCp, &TShowProps::aHeightCp);
  c.Prop("aFontCp", &TShowProps::aFontCp, &TShowProps::aFontCp);
}

DEFINE_CLASS(TInspectorPos, TPersistent) {
  c.Prop("Top", &TInspectorPos::Top, &TInspectorPos::Top);
  c.Prop("Left", &TInspectorPos::Left, &TInspectorPos::Left);
  c.Prop("Width", &TInspectorPos::Width, &TInspectorPos::Width);
  c.Prop("Height", &TInspectorPos::Height, &TInspectorPos::Height);
}

DEFINE_CLASS(TGridCp, TPersistent) {
  c.Prop("PropCp", &TGridCp::PropCp, &TGridCp::PropCp);
  c.Prop("ValueCp", &TGridCp::ValueCp, &TGridCp::ValueCp);
  c.Prop("PropWid", &TGridCp::PropWid, &TGridCp::PropWid);
  c.Prop("ValueWid", &TGridCp::ValueWid, &TGridCp::ValueWid);
}

DEFINE_CLASS(TInspctHlpBtn, TPersistent) {
  c.Prop("Visible", &TInspctHlpBtn::Visible, &TInspctHlpBtn::Visible);
  c.Prop("HelpContext", &TInspctHlpBtn::HelpContext, &TInspctHlpBtn::HelpContext);
  c.Prop("Caption", &TInspctHlpBtn::Caption, &TInspctHlpBtn::Caption);
}

namespace {
// Copies every published property of a settings object of the same class.
template <class T>
void AssignFrom(T& self, TPersistent* source) {
  if (!ClassCast<T>(source)) {
    self.TPersistent::Assign(source);
    return;
  }
  for (const TPropInfo* prop : T::StaticClass().Props()) {
    if (prop->GetStr) SetStrProp(&self, *prop, GetStrProp(source, *prop));
    else SetOrdProp(&self, *prop, GetOrdProp(source, *prop));
  }
}
}  // namespace

void TShowProps::Assign(TPersistent* source) { AssignFrom(*this, source); }
void TInspectorPos::Assign(TPersistent* source) { AssignFrom(*this, source); }
void TGridCp::Assign(TPersistent* source) { AssignFrom(*this, source); }
void TInspctHlpBtn::Assign(TPersistent* source) { AssignFrom(*this, source); }

// ---- the inspector ----

DEFINE_CLASS(TDsnInspector, TCustomInspector) {
  c.Prop("SelfProps", &TDsnInspector::SelfProps, &TDsnInspector::SetSelfProps);
  c.Prop("BtnProps", &TDsnInspector::BtnProps, &TDsnInspector::SetBtnProps);
  c.Prop("OutProps", &TDsnInspector::OutProps, &TDsnInspector::SetOutProps);
  c.Event("OnBtnClick", &TDsnInspector::OnBtnClick);
  c.Prop("ShowProps", &TDsnInspector::ShowProps, &TDsnInspector::SetShowProps);
  c.Prop("ShowCombo", &TDsnInspector::ShowCombo, &TDsnInspector::SetShowCombo);
  c.Prop("StayOnTop", &TDsnInspector::StayOnTop, &TDsnInspector::SetStayOnTop);
  c.Prop("HelpButton", &TDsnInspector::HelpButton, &TDsnInspector::SetHelpButton);
  c.Prop("Position", &TDsnInspector::Position, &TDsnInspector::SetPosition);
  c.Prop("BtnGlyph", &TDsnInspector::BtnGlyph, &TDsnInspector::SetBtnGlyph);
  c.Prop("BtnGlyphName", &TDsnInspector::BtnGlyphName, &TDsnInspector::SetBtnGlyphName);
  c.Prop("Caption", &TDsnInspector::Caption, &TDsnInspector::SetCaption);
  c.Prop("Grid", &TDsnInspector::Grid, &TDsnInspector::SetGrid);
  c.Hears(opRemove);
}

void TDsnInspector::Create(TComponent* owner) {
  TCustomInspector::Create(owner);
  showProps_ = New<TShowProps>();
  position_ = New<TInspectorPos>();
  helpButton_ = New<TInspctHlpBtn>();
  grid_ = New<TGridCp>();
  btnGlyph_ = New<TBitmap>();
}

void TDsnInspector::Destroy() {
  CloseWindow();
  FreeAndNil(showProps_);
  FreeAndNil(position_);
  FreeAndNil(helpButton_);
  FreeAndNil(grid_);
  FreeAndNil(btnGlyph_);
  TCustomInspector::Destroy();
}

void TDsnInspector::SetBtnGlyph(TBitmap* value) { btnGlyph_->Assign(value); }

void TDsnInspector::SetCaption(const std::string& value) {
  caption_ = value;
  if (window_) window_->SetCaption(value);
}

TMultiProps* TDsnInspector::Props() const { return props_.get(); }

void TDsnInspector::PropsLinked(TReceiveTargets* props) { props_ = ClassCast<TMultiProps>(props); }

void TDsnInspector::OpenWindow() {
  if (window_) return;
  window_ = New<TInspectorFm>(nullptr);
  window_->FreeNotification(this);
  window_->ButtonProps = BtnProps();
  SetWindowBounds(position_->Left, position_->Top, position_->Width, position_->Height);
  TStringGrid* grid = window_->StringGrid1;
  grid->SetColWidths(TInspectorFm::kCaptionColumn, grid_->PropWid);
  grid->SetColWidths(TInspectorFm::kValueColumn, grid_->ValueWid);
  window_->SetFormStyle(stayOnTop_ ? fsStayOnTop : fsNormal);
  window_->Inspector = this;
  grid->SetCells(TInspectorFm::kCaptionColumn, TInspectorFm::kHeaderRow, grid_->PropCp);
  grid->SetCells(TInspectorFm::kValueColumn, TInspectorFm::kHeaderRow, grid_->ValueCp);
  grid->SetRowCount(TInspectorFm::kHeaderRow + 1);
  window_->SpeedButton1->SetGlyph(btnGlyph_);
  window_->SpeedButton1->SetGlyphName(btnGlyphName_);
  // Without a picture the button says what it does.
  window_->SpeedButton1->SetCaption(btnGlyph_->Empty() && !GlyphExists(btnGlyphName_) ? "..." : "");
  window_->Panel3->Hide();
  window_->Panel1->SetVisible(helpButton_->Visible);
  window_->HelpBtn->SetHelpContext(helpButton_->HelpContext);
  window_->HelpBtn->SetCaption(helpButton_->Caption);
  window_->SetCaption(caption_);
  window_->Show();
}

void TDsnInspector::CloseWindow() { FreeAndNil(window_); }

void TDsnInspector::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == window_) window_ = nullptr;
  TCustomInspector::Notification(component, operation);
}

void TDsnInspector::SetWindowBounds(int left, int top, int width, int height) {
  if (window_) window_->SetBounds(left, top, width, height);
}

void TDsnInspector::ApplyValue(const std::string& propName, const std::string& value) {
  TMultiProps* props = Props();
  if (!props) return;
  ApplyPropValue(props->Targets(), propName, value);
  if (TDsnStage* stage = Stage()) stage->ElementsChanged(Tr(Texts::tr("Change %1"), RowCaption(propName)));
  PostRefreshToStage();
  props->RecalcValues();
}

bool TDsnInspector::HasInsertTexts(const std::string& propName) const {
  return OnInsertTexts && std::find(InsertProps.begin(), InsertProps.end(), propName) != InsertProps.end();
}

std::string TDsnInspector::RowCaption(const std::string& propName) const {
  if (window_) {
    TStringGrid* grid = window_->StringGrid1;
    for (int row = TInspectorFm::kHeaderRow + 1; row < grid->RowCount(); ++row)
      if (grid->Cells(TInspectorFm::kNameColumn, row) == propName) return grid->Cells(TInspectorFm::kCaptionColumn, row);
  }
  return propName;
}

void TDsnInspector::ButtonClick(const std::string& propName, std::string& value) {
  TMultiProps* props = Props();
  TSelectedComponents targets;
  if (props) targets.AddAll(props->Targets());
  OnBtnClick(this, &targets, propName, value);
}

void TDsnInspector::RefreshGrid() {
  TMultiProps* props = Props();
  if (!window_ || !props) return;
  const TNameList& names = props->CommonNames();
  const TNameList& values = props->CommonValues();
  if (names.size() != values.size()) return;
  TStringGrid* grid = window_->StringGrid1;
  // The rows of the properties follow the header, in the order of the names.
  const int firstRow = TInspectorFm::kHeaderRow + 1;
  const int rows = firstRow + static_cast<int>(names.size());
  grid->SetRowCount(rows);
  // The header stays a header whenever there is a row below it.
  if (rows > firstRow) grid->SetFixedRows(firstRow);
  // The editor goes back to the row of the property it was placed for, if the targets still have it.
  const std::string& edited = window_->EditedProp();
  int found = TInspectorFm::kNoRow;
  for (int r = firstRow; r < rows; ++r) {
    const size_t i = static_cast<size_t>(r - firstRow);
    grid->SetCells(TInspectorFm::kCaptionColumn, r, CaptionOfName(names[i], props->PropNames(), props->PropCaptions()));
    grid->SetCells(TInspectorFm::kValueColumn, r, values[i]);
    grid->SetCells(TInspectorFm::kNameColumn, r, names[i]);
    if (found == TInspectorFm::kNoRow && !edited.empty() && SameText(names[i], edited)) found = r;
  }
  window_->PlaceEditor(found, false);
  if (found != TInspectorFm::kNoRow) grid->SetRow(found);
  if (!window_->Visible()) window_->Show();
}

void TDsnInspector::GetShownProps(TNameList& names, TNameList& captions) {
  struct Standard {
    const char* name;
    bool shown;
    const std::string& caption;
  };
  const TShowProps& s = *showProps_;
  const Standard standard[] = {
      {"Caption", s.aCaption, s.aCaptionCp}, {"Color", s.aColor, s.aColorCp}, {"Font", s.aFont, s.aFontCp},
      {"Height", s.aHeight, s.aHeightCp},    {"Left", s.aLeft, s.aLeftCp},    {"Name", s.aName, s.aNameCp},
      {"Top", s.aTop, s.aTopCp},             {"Width", s.aWidth, s.aWidthCp},
  };
  std::string text;
  for (const Standard& entry : standard) {
    if (!entry.shown) continue;
    text += entry.name;
    if (!entry.caption.empty()) text += "|" + entry.caption;
    text += "\n";
  }
  for (int i = 0; i < SelfProps()->Count(); ++i) text += SelfProps()->Get(i) + "\n";
  // A caption holding a line break makes two lines.
  TStringList* lines = New<TStringList>();
  lines->SetText(text);
  SplitNameCaption(*lines, names, captions);
  lines->Free();
}

TReceiveTargets* TDsnInspector::CreateMultiProps() {
  auto* props = New<TMultiProps>();
  props->SetInspector(this);
  TNameList names;
  TNameList captions;
  GetShownProps(names, captions);
  props->SetPropNames(names);
  props->SetPropCaptions(captions);
  props->SetOutNames(LinesOf(*GetOutProps()));
  return props;
}

void TDsnInspector::RefreshMultiProps(TReceiveTargets* props, bool show) {
  auto* multi = ClassCast<TMultiProps>(props);
  if (!multi) return;
  if (show) multi->TargetsChanged();
  else multi->RecalcValues();
}

void TDsnInspector::TargetsChanging() {
  if (window_) window_->CommitBeforeChange();
}
