#include "design/palette/DsnPanel.h"

#include <algorithm>
#include <memory>
#include <string>

#include "design/DsnPropText.h"
#include "design/palette/PaletteBitmaps.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/PostedRefs.h"
#include "platform/rtl/Texts.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

DEFINE_CLASS(TDsnPanel, TCustomCmpPlt) {
  // Without defaults, so a stored palette always carries them.
  c.Prop("BtnWidth", &TDsnPanel::BtnWidth, &TDsnPanel::SetBtnWidth);
  c.Prop("BtnHeight", &TDsnPanel::BtnHeight, &TDsnPanel::SetBtnHeight);
  c.Prop("BtnCaption", &TDsnPanel::BtnCaption, &TDsnPanel::SetBtnCaption);
}

DEFINE_CLASS(TDsnButton, TSpeedButton) {}

DEFINE_CLASS(TArrowButton, TSpeedButton) {}

void RegisterPaletteClasses() {
  for (const TClassInfo* cls : {&TDsnPanel::StaticClass(), &TDsnButton::StaticClass(), &TArrowButton::StaticClass()})
    RegisterClass(*cls);
}

namespace {

// What the stream's short strings hold.
constexpr size_t kShortStringBytes = 255;

// The text cut to a short string's length, without splitting a character.
std::string ShortString(const std::string& text) {
  if (text.size() <= kShortStringBytes) return text;
  size_t end = 0;
  while (end < text.size()) {
    size_t next = end + DecodeUtf8(std::string_view(text).substr(end)).length;
    if (next > kShortStringBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

// The first of base1, base2, … that no component of `owner` is named.
std::string FreeName(const TComponent* owner, const std::string& base) {
  return FirstFreeName(*owner, nullptr, [&base](int i) { return NumberedName(base, i); });
}

// A prototype's button picture: the one named after its class, else the general one.
QImage GlyphForClass(const std::string& className) {
  QImage glyph = PaletteBitmap(UpperCase(className));
  return glyph.isNull() ? PaletteBitmap("TCOMPONENT") : glyph;
}

}  // namespace

// ---- TDsnPanel: the register's side ----

void TDsnPanel::SetActive(bool value) {
  if (value) {
    if (arrowButton_) {
      arrowButton_->SetDown(true);
      arrowButton_->SetEnabled(true);
    }
    // Bound again on every activation: the prototypes may have changed since.
    for (TDsnButton* button : buttons_) {
      button->SetGene(Owner() ? Owner()->FindComponent(button->GeneName()) : nullptr);
      button->SetEnabled(true);
    }
  } else {
    if (arrowButton_) arrowButton_->SetEnabled(false);
    for (TDsnButton* button : buttons_) button->SetEnabled(false);
  }
}

void TDsnPanel::SetGene(TComponent* value) {
  // Any arrow button stands for "none", also one the palette was not told about.
  if (value == arrowButton_ || dynamic_cast<TArrowButton*>(value)) value = nullptr;
  if (gene_ == value) return;
  gene_ = value;
  if (gene_) FreeNotification(gene_);
}

void TDsnPanel::SetArrowButton(TArrowButton* value) {
  if (!value || value == arrowButton_) return;
  arrowButton_ = value;
  FreeNotification(value);
}

void TDsnPanel::AttachArrowButton(TControl* arrow) {
  auto* button = dynamic_cast<TArrowButton*>(arrow);
  if (!button) return;
  SetArrowButton(button);
  button->SetPalette(this);
}

void TDsnPanel::ResetToArrow() {
  if (arrowButton_) arrowButton_->SetDown(true);  // the group raises the other buttons
}

void TDsnPanel::AddButton(TDsnButton* button) {
  if (!button || buttons_.IndexOf(button) >= 0) return;
  buttons_.Add(button);
  FreeNotification(button);
}

void TDsnPanel::Destroy() {
  buttons_.Clear();  // the buttons themselves go with the window
  TCustomCmpPlt::Destroy();
}

void TDsnPanel::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == gene_) gene_ = nullptr;
    if (component == arrowButton_) arrowButton_ = nullptr;
    for (int i = buttons_.Count() - 1; i >= 0; --i)
      if (static_cast<TComponent*>(buttons_[i]) == component) buttons_.Delete(i);
  }
  TCustomCmpPlt::Notification(component, operation);
}

// ---- TDsnPanel: composition ----

void TDsnPanel::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_CONTROLCHANGE:
      TCustomCmpPlt::Dispatch(message);
      ControlChange(reinterpret_cast<TControl*>(message.WParam), message.LParam != 0);
      return;
    case DM_DEPOSITCONTROL:
      DepositMessage(message);
      return;
    default:
      break;
  }
  TCustomCmpPlt::Dispatch(message);
}

void TDsnPanel::ControlChange(TControl* control, bool inserted) {
  // A palette that is going deposits nothing and has no window left to post to.
  if (!control || ComponentState().Contains(csDestroying)) return;
  auto* button = dynamic_cast<TDsnButton*>(control);
  if (!button && !dynamic_cast<TArrowButton*>(control))
    PostMessage(Handle(), DM_DEPOSITCONTROL, PostableRef(control), 0);
  if (button && !inserted && Designing()) FreePrototypeOf(button);
}

void TDsnPanel::FreePrototypeOf(TDsnButton* button) {
  // Only a deleted button takes its prototype along; one moved elsewhere keeps it.
  if (!button->ComponentState().Contains(csDestroying) || !Owner()) return;
  TComponent* prototype = Owner()->FindComponent(button->GeneName());
  if (!prototype || prototype == button) return;
  // A name that leads to the palette or to a control holding it names no prototype.
  if (auto* container = dynamic_cast<TWinControl*>(prototype); container && container->ContainsControl(this))
    return;
  prototype->Free();
}

TControl* TDsnPanel::ChildFromParam(WPARAM param) const {
  TControl* control = TakePostedRef<TControl>(param);
  return control && control->Parent() == this ? control : nullptr;
}

void TDsnPanel::DepositMessage(const TMessage& message) {
  // Each deposit moves the control off the palette, which posts one more message for it; that
  // one finds the control gone and restores DepositPending. A control removed or freed before its
  // message arrived is skipped the same way, and a control still on the palette is deposited
  // whatever came before, so two drops in a row both become prototypes.
  TControl* control = ChildFromParam(message.WParam);
  if (!control) {
    depositPending_ = true;
    return;
  }
  depositPending_ = false;
  if (Designing()) Deposit(control);
}

void TDsnPanel::Deposit(TControl* control) {
  // Prototypes are found by name among the owner's components: without an owner there are none.
  TComponent* owner = Owner();
  if (!owner) return;
  TWinControl* deposit = DepositPanel();
  if (!deposit) return;
  EnsureArrowButton();

  control->SetParent(deposit);
  // "Dpst_" and the class name, with as many "X" appended as it takes to be free.
  const std::string prototype = "Dpst_" + control->ClassName();
  control->SetName(FirstFreeName(*owner, control, [&prototype](int x) { return prototype + std::string(x, 'X'); }, 0));
  control->SetBounds(0, 0, 50, 50);

  auto* button = New<TDsnButton>(owner);
  button->SetParent(this);
  button->SetPalette(this);
  button->SetGene(control);
  button->SetGeneName(control->Name());
  button->SetName(FreeName(owner, "DsnButton"));
  const QImage glyph = GlyphForClass(control->ClassName());
  if (!glyph.isNull()) button->Glyph()->SetImage(glyph);
  if (btnCaption_) {
    const std::string upper = UpperCase(control->ClassName());
    button->SetCaption(upper.empty() ? upper : upper.substr(1));
  }
  button->SetLayout(blGlyphTop);
  PlaceButton(button);
}

TWinControl* TDsnPanel::DepositPanel() {
  // A component of that name that is no container leaves nowhere to deposit.
  if (TComponent* existing = Owner()->FindComponent("DsnDpstPanel")) return dynamic_cast<TWinControl*>(existing);
  auto* panel = New<TPanel>(Owner());
  panel->SetParent(Parent());
  panel->SetName("DsnDpstPanel");
  panel->SetBounds(-100, -100, 50, 50);  // outside the visible area
  return panel;
}

void TDsnPanel::EnsureArrowButton() {
  for (int i = 0; i < ControlCount(); ++i) {
    if (auto* arrow = dynamic_cast<TArrowButton*>(Controls(i))) {
      if (!arrowButton_) SetArrowButton(arrow);
      return;
    }
  }
  auto* arrow = New<TArrowButton>(Owner());
  arrow->SetParent(this);
  arrow->SetName(FreeName(Owner(), "ArrowButton"));
  SetArrowButton(arrow);
  arrow->SetPalette(this);
  arrow->SetBounds(8, 8, btnWidth_, btnHeight_);
  const QImage glyph = PaletteBitmap("ARROWBUTTON");
  if (!glyph.isNull()) arrow->Glyph()->SetImage(glyph);
  arrow->SetGroupIndex(kPaletteGroupIndex);
}

int TDsnPanel::PaletteButtonCount() const {
  int count = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TDsnButton*>(Controls(i)) || dynamic_cast<TArrowButton*>(Controls(i))) ++count;
  return count;
}

void TDsnPanel::PlaceButton(TSpeedButton* button) {
  if (Width() < btnWidth_) SetWidth(btnWidth_ + 24);
  // Rows of as many buttons as fit side by side (at least one), filled from the upper left; the
  // arrow button holds the first cell. A width below one pixel counts as one.
  const int cellWidth = std::max(1, btnWidth_);
  const int columns = std::max(1, Width() / cellWidth);
  const int cell = PaletteButtonCount() - 1;
  const int row = cell / columns, column = cell % columns;
  button->SetBounds(btnWidth_ * column + 8, btnHeight_ * row + 8, btnWidth_, btnHeight_);
  button->SetGroupIndex(kPaletteGroupIndex);
}

// ---- TDsnButton ----

void TDsnButton::SetGene(TComponent* value) {
  if (gene_ == value) return;
  gene_ = value;
  if (gene_) FreeNotification(gene_);
}

void TDsnButton::SetPalette(TDsnPanel* value) {
  if (palette_ == value) return;
  palette_ = value;
  if (palette_) FreeNotification(palette_);
}

void TDsnButton::SetGeneName(const std::string& value) { geneName_ = ShortString(value); }

void TDsnButton::Click() {
  const TWeak<TDsnButton> alive(this);
  TSpeedButton::Click();  // OnClick: the main window's label texts; it may free the button
  if (!alive || !Down() || !palette_) return;
  if (gene_) {
    palette_->SetGene(gene_);
  } else {
    // Nothing to create from: back to selecting, and no earlier choice stays behind.
    palette_->ResetToArrow();
    palette_->SetGene(nullptr);
  }
}

void TDsnButton::DefineProperties(TFiler* filer) {
  TSpeedButton::DefineProperties(filer);
  filer->DefineProperty(
      "GeneName", [this](TReader& reader) { SetGeneName(reader.ReadString()); },
      [this](TWriter& writer) { writer.WriteString(geneName_); }, true);
}

void TDsnButton::Loaded() {
  TSpeedButton::Loaded();
  SetEnabled(false);
  // Only a button read into a palette belongs to one.
  SetPalette(dynamic_cast<TDsnPanel*>(Parent()));
  if (palette_) palette_->AddButton(this);
}

void TDsnButton::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == gene_) gene_ = nullptr;
    if (component == palette_) palette_ = nullptr;
  }
  TSpeedButton::Notification(component, operation);
}

// ---- TArrowButton ----

void TArrowButton::SetPalette(TCustomCmpPlt* value) {
  if (!value || value == palette_) return;
  palette_ = value;
  FreeNotification(value);
}

void TArrowButton::Click() {
  const TWeak<TArrowButton> alive(this);
  TSpeedButton::Click();
  if (!!alive && Down() && palette_) palette_->SetGene(this);
}

void TArrowButton::Loaded() {
  TSpeedButton::Loaded();
  SetAllowAllUp(false);
  SetEnabled(false);
}

void TArrowButton::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == palette_) palette_ = nullptr;
  TSpeedButton::Notification(component, operation);
}
