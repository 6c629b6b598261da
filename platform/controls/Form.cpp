#include "platform/controls/Form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/controls/Application.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TCustomForm, TWinControl) {}

DEFINE_CLASS(TForm, TCustomForm) {
  c.Prop("Caption", &TForm::Caption, &TForm::SetCaption);
  c.Prop("Color", &TForm::Color, &TForm::SetColor).Type(ColorType()).Default(clBtnFace);
  c.Prop("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
  c.Prop("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
  c.Prop("Font", &TForm::Font, &TForm::SetFont);
  c.Prop("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned);
  c.Prop("Visible", &TForm::Visible, &TControl::SetVisible).Default(false);
  c.Event("OnClose", &TForm::OnClose);
  c.Event("OnCloseQuery", &TForm::OnCloseQuery);
  c.Event("OnCreate", &TForm::OnCreate);
  c.Event("OnDestroy", &TForm::OnDestroy);
  c.Event("OnHide", &TForm::OnHide);
  c.Event("OnShow", &TForm::OnShow);
}

namespace {
// The form's top-level widget: the window manager's close button asks the form.
class FormWidget : public QWidget {
 public:
  explicit FormWidget(TCustomForm* form) : QWidget(nullptr, Qt::Window), form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    try {
      form_->Close();
    } catch (...) {
      HandleControlException(std::current_exception());
    }
  }

 private:
  TCustomForm* form_;
};
}  // namespace

void TCustomForm::Create(TComponent* owner) {
  TWinControl::Create(owner);
  TWinControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  OnCreate(this);
}

void TCustomForm::Destroy() {
  OnDestroy(this);
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  TWinControl::Destroy();
}

QWidget* TCustomForm::CreateWidget() { return new FormWidget(this); }

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  WindowWidget(Handle())->setWindowTitle(QString::fromStdString(Caption()));
}

bool TCustomForm::Showing() const {
  return HandleAllocated() && WindowWidget(const_cast<TCustomForm*>(this)->Handle())->isVisible();
}

void TCustomForm::SetVisible(bool v) {
  if (Visible() == v) return;
  TWinControl::SetVisible(v);
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
  QWidget* w = WindowWidget(Handle());
  if (v) {
    if (!placed_ && position_ == poScreenCenter && QGuiApplication::primaryScreen()) {
      QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
      SetBounds(screen.x() + (screen.width() - Width()) / 2, screen.y() + (screen.height() - Height()) / 2,
                Width(), Height());
    }
    placed_ = true;
    w->show();
    DoShow();
  } else {
    w->hide();
    DoHide();
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  OnClose(this, action);
  if (Application && Application->MainForm() == this && action != caNone) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: SetVisible(false); break;
    case caMinimize: WindowWidget(Handle())->showMinimized(); break;
    case caFree: Release(); break;
    case caNone: break;
  }
}

void TCustomForm::Release() {
  // Freed from the event loop: the handler that asked may still be running on it.
  QObject* context = WindowWidget(Handle());
  QMetaObject::invokeMethod(context, [this] { Free(); }, Qt::QueuedConnection);
}

void TCustomForm::Dispatch(TMessage& message) {
  if (message.Msg == CM_TEXTCHANGED && HandleAllocated())
    WindowWidget(Handle())->setWindowTitle(QString::fromStdString(Caption()));
  TWinControl::Dispatch(message);
}
