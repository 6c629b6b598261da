#include "platform/controls/Application.h"

#include <QApplication>
#include <QWidget>

#include "platform/controls/Form.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Texts.h"
#include "platform/stream/Reader.h"
#include "platform/win/ErrorBoundary.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Style.h"

DEFINE_CLASS(TApplication, TComponent) {}

TApplication* Application = nullptr;

TApplication* ApplicationInstance() {
  if (!Application) Application = New<TApplication>(nullptr);
  return Application;
}

void TApplication::Create(TComponent* owner) {
  TComponent::Create(owner);
  // Every window procedure and every posted message ends its errors here.
  SetExceptionHandler([this](std::exception_ptr error) { HandleException(error); });
  // References to another window by name ("fmmain.DsnPanel1") find the application's forms.
  RegisterFindGlobalComponentProc([this](std::string_view name) -> TComponent* {
    for (TComponent* c : ComponentList())
      if (dynamic_cast<TCustomForm*>(c) && SameText(c->Name(), name)) return c;
    return nullptr;
  });
}

void TApplication::Destroy() {
  SetExceptionHandler(nullptr);
  RegisterFindGlobalComponentProc(nullptr);
  if (Application == this) Application = nullptr;
  TComponent::Destroy();
}

void TApplication::Initialize() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw Exception("The application needs a display");
  UseDeferredIconStyle();
  if (title_.empty()) title_ = QCoreApplication::applicationName().toStdString();
}

void TApplication::Run() {
  if (!mainForm_) return;
  mainForm_->Show();
  while (!terminated_ && mainForm_ && mainForm_->Showing()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    DispatchPostedMessages();
  }
}

void TApplication::ProcessMessages() {
  QCoreApplication::processEvents();
  DispatchPostedMessages();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (mainForm_ && mainForm_->HandleAllocated()) WindowWidget(mainForm_->Handle())->hide();
}

void TApplication::HandleException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    if (OnException) OnException(this, e);
    else ShowException(e);
  } catch (...) {
    ShowException(Exception("Unknown error"));
  }
}

void TApplication::ShowException(const std::exception& error) {
  std::string message = error.what();
  if (!message.empty() && message.back() != '.') message += '.';
  MessageBox(0, message, title_, MB_OK | MB_ICONSTOP);
}
