#include "platform/controls/StdActns.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <functional>

#include "platform/controls/Form.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TEditAction, TCustomAction) {}
DEFINE_CLASS(TEditCut, TEditAction) {}
DEFINE_CLASS(TEditCopy, TEditAction) {}
DEFINE_CLASS(TEditPaste, TEditAction) {}
DEFINE_CLASS(TWindowAction, TCustomAction) {}
DEFINE_CLASS(TWindowClose, TWindowAction) {}
DEFINE_CLASS(TWindowCascade, TWindowAction) {}
DEFINE_CLASS(TWindowTileHorizontal, TWindowAction) {}
DEFINE_CLASS(TWindowTileVertical, TWindowAction) {}
DEFINE_CLASS(TWindowMinimizeAll, TWindowAction) {}
DEFINE_CLASS(TWindowArrange, TWindowAction) {}

namespace {

// What the edit actions ask of an edit box, for the three kinds of Qt edit.
struct EditOps {
  bool HasSelection = false;
  bool ReadOnly = false;
  std::function<void()> Cut, Copy, Paste;
};

template <class TextEdit>
EditOps TextEditOps(TextEdit* edit) {
  return {edit->textCursor().hasSelection(), edit->isReadOnly(), [edit] { edit->cut(); },
          [edit] { edit->copy(); }, [edit] { edit->paste(); }};
}

EditOps OpsOf(QWidget* widget) {
  if (auto* line = qobject_cast<QLineEdit*>(widget))
    return {line->hasSelectedText(), line->isReadOnly(), [line] { line->cut(); }, [line] { line->copy(); },
            [line] { line->paste(); }};
  if (auto* text = qobject_cast<QTextEdit*>(widget)) return TextEditOps(text);
  if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) return TextEditOps(plain);
  return {};
}

bool ClipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasText();
}

void SetStandard(TCustomAction* action, const char* caption, const char* hint, TShortCut shortCut = 0) {
  action->SetCaption(caption);
  action->SetHint(hint);
  action->SetShortCut(shortCut);
}

}  // namespace

// ---- edit actions ----

QWidget* TEditAction::FocusedEdit() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  QWidget* focus = QApplication::focusWidget();
  // A text edit holds the focus itself, for its viewport.
  if (focus && (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
                qobject_cast<QPlainTextEdit*>(focus)))
    return focus;
  return nullptr;
}

bool TEditAction::UpdateOnTarget() {
  QWidget* edit = FocusedEdit();
  if (!edit) return false;
  SetEnabled(CanAct(edit));
  return true;
}

bool TEditAction::ExecuteOnTarget() {
  QWidget* edit = FocusedEdit();
  if (!edit || !CanAct(edit)) return false;
  Act(edit);
  return true;
}

void TEditCut::Create(TComponent* owner) {
  TEditAction::Create(owner);
  SetStandard(this, "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", scCtrl | 'X');
}

bool TEditCut::CanAct(QWidget* edit) const {
  EditOps ops = OpsOf(edit);
  return ops.HasSelection && !ops.ReadOnly;
}

void TEditCut::Act(QWidget* edit) { OpsOf(edit).Cut(); }

void TEditCopy::Create(TComponent* owner) {
  TEditAction::Create(owner);
  SetStandard(this, "&Copy", "Copy|Copies the selection and puts it on the Clipboard", scCtrl | 'C');
}

bool TEditCopy::CanAct(QWidget* edit) const { return OpsOf(edit).HasSelection; }

void TEditCopy::Act(QWidget* edit) { OpsOf(edit).Copy(); }

void TEditPaste::Create(TComponent* owner) {
  TEditAction::Create(owner);
  SetStandard(this, "&Paste", "Paste|Inserts the Clipboard contents", scCtrl | 'V');
}

bool TEditPaste::CanAct(QWidget* edit) const { return !OpsOf(edit).ReadOnly && ClipboardHasText(); }

void TEditPaste::Act(QWidget* edit) { OpsOf(edit).Paste(); }

// ---- window actions ----

TCustomForm* TWindowAction::Frame() const {
  auto* form = dynamic_cast<TCustomForm*>(ActionList() ? ActionList()->Owner() : Owner());
  return form && form->FormStyle() == fsMDIForm ? form : nullptr;
}

bool TWindowAction::UpdateOnTarget() {
  TCustomForm* frame = Frame();
  if (!frame) return false;
  SetEnabled(CanAct(frame));
  return true;
}

bool TWindowAction::ExecuteOnTarget() {
  TCustomForm* frame = Frame();
  if (!frame) return false;
  if (CanAct(frame)) Act(frame);
  return true;
}

bool TWindowAction::CanAct(TCustomForm* frame) const { return frame->MDIChildCount() > 0; }

void TWindowClose::Create(TComponent* owner) {
  TWindowAction::Create(owner);
  SetStandard(this, "C&lose", "Close|Closes the active window");
}

bool TWindowClose::CanAct(TCustomForm* frame) const { return frame->ActiveMDIChild() != nullptr; }

// Closed as a form, so that the child may refuse or free itself.
void TWindowClose::Act(TCustomForm* frame) { frame->ActiveMDIChild()->Close(); }

void TWindowCascade::Create(TComponent* owner) {
  TWindowAction::Create(owner);
  SetStandard(this, "&Cascade", "Cascade|Arranges the windows so they overlap");
}

void TWindowCascade::Act(TCustomForm* frame) { frame->Cascade(); }

void TWindowTileHorizontal::Create(TComponent* owner) {
  TWindowAction::Create(owner);
  SetStandard(this, "Tile &Horizontally", "Tile Horizontal|Arranges the windows one above the other");
}

void TWindowTileHorizontal::Act(TCustomForm* frame) { frame->TileHorizontal(); }

void TWindowTileVertical::Create(TComponent* owner) {
  TWindowAction::Create(owner);
  SetStandard(this, "&Tile Vertically", "Tile Vertical|Arranges the windows side by side");
}

void TWindowTileVertical::Act(TCustomForm* frame) { frame->TileVertical(); }

void TWindowMinimizeAll::Create(TComponent* owner) {
  TWindowAction::Create(owner);
  SetStandard(this, "&Minimize All", "Minimize All|Minimizes all the windows");
}

void TWindowMinimizeAll::Act(TCustomForm* frame) { frame->MinimizeAll(); }

void TWindowArrange::Create(TComponent* owner) {
  TWindowAction::Create(owner);
  SetStandard(this, "&Arrange", "Arrange|Arranges the icons of minimized windows");
}

void TWindowArrange::Act(TCustomForm* frame) { frame->ArrangeIcons(); }
