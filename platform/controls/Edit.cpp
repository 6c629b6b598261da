#include "platform/controls/Edit.h"

#include <QLineEdit>

#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TEdit, TNativeControl) {
  c.Prop("Color", &TEdit::Color, &TEdit::SetColor).Type(ColorType()).Default(clWindow).Stored(&TEdit::IsColorStored);
  c.Prop("Enabled", &TEdit::Enabled, &TEdit::SetEnabled).Default(true);
  c.Prop("Font", &TEdit::Font, &TEdit::SetFont).Stored(&TEdit::IsFontStored);
  c.Prop("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
  c.Prop("ParentColor", &TEdit::ParentColor, &TEdit::SetParentColor).Default(false);
  c.Prop("ParentFont", &TEdit::ParentFont, &TEdit::SetParentFont).Default(true);
  c.Prop("PopupMenu", &TEdit::PopupMenu, &TEdit::SetPopupMenu);
  c.Prop("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
  c.Prop("Text", &TEdit::Text, &TEdit::SetText);
  c.Prop("Visible", &TEdit::Visible, &TEdit::SetVisible).Default(true);
  c.Event("OnChange", &TEdit::OnChange);
  c.Event("OnClick", &TEdit::OnClick);
  c.Event("OnDblClick", &TEdit::OnDblClick);
  c.Event("OnEnter", &TEdit::OnEnter);
  c.Event("OnExit", &TEdit::OnExit);
  c.Event("OnKeyDown", &TEdit::OnKeyDown);
  c.Event("OnKeyPress", &TEdit::OnKeyPress);
  c.Event("OnKeyUp", &TEdit::OnKeyUp);
  c.Event("OnMouseDown", &TEdit::OnMouseDown);
  c.Event("OnMouseMove", &TEdit::OnMouseMove);
  c.Event("OnMouseUp", &TEdit::OnMouseUp);
}

namespace {
// Qt's own limit, which it also takes for "none".
constexpr int kNoLimit = 32767;
}  // namespace

void TEdit::Create(TComponent* owner) {
  TNativeControl::Create(owner);
  SetBounds(0, 0, 121, 21);
}

QWidget* TEdit::CreateWidget() {
  edit_ = new QLineEdit();
  QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this](const QString& text) {
    FromWidget([&] { TControl::SetText(text.toStdString()); });
  });
  return edit_;
}

void TEdit::CreateWnd() {
  TNativeControl::CreateWnd();
  WidgetChange change(*this);
  edit_->setMaxLength(maxLength_ > 0 ? maxLength_ : kNoLimit);
  edit_->setReadOnly(readOnly_);
  // The window's default cursor would hide the I-beam the line edit shows over its text.
  if (Cursor() == crDefault) edit_->setCursor(Qt::IBeamCursor);
  PushText();
}

void TEdit::DestroyWnd() {
  edit_ = nullptr;
  TNativeControl::DestroyWnd();
}

QLineEdit* TEdit::Editor() {
  HandleNeeded();
  return edit_;
}

void TEdit::SetMaxLength(int v) {
  v = std::max(v, 0);
  if (maxLength_ == v) return;
  maxLength_ = v;
  if (!edit_) return;
  {
    WidgetChange change(*this);
    edit_->setMaxLength(v > 0 ? v : kNoLimit);
  }
  PushText();
}

void TEdit::SetReadOnly(bool v) {
  if (readOnly_ == v) return;
  readOnly_ = v;
  if (edit_) edit_->setReadOnly(v);
}

void TEdit::PushText() {
  if (!edit_) return;
  QString text = QString::fromStdString(Text());
  if (edit_->text() != text) {
    WidgetChange change(*this);
    edit_->setText(text);
  }
  if (std::string kept = edit_->text().toStdString(); kept != Text()) TControl::SetText(kept);
}

int TEdit::SelStart() {
  QLineEdit* edit = Editor();
  return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void TEdit::SetSelStart(int v) {
  QLineEdit* edit = Editor();
  edit->deselect();
  edit->setCursorPosition(v);
}

int TEdit::SelLength() { return static_cast<int>(Editor()->selectedText().size()); }

void TEdit::SetSelLength(int v) {
  QLineEdit* edit = Editor();
  edit->setSelection(SelStart(), std::max(v, 0));
}

std::string TEdit::SelText() { return Editor()->selectedText().toStdString(); }

void TEdit::SetSelText(const std::string& v) {
  // Insert is the user's path: the text changes through the widget's signal.
  Editor()->insert(QString::fromStdString(v));
}

void TEdit::SelectAll() { Editor()->selectAll(); }

void TEdit::Dispatch(TMessage& message) {
  if (message.Msg != CM_TEXTCHANGED) {
    TNativeControl::Dispatch(message);
    return;
  }
  std::string text = Text();
  PushText();
  // When the widget kept less, that shorter text has been reported already.
  if (Text() == text) Change();
}
