#pragma once
// The application object: creates the forms, runs the event loop until the main form closes, and
// is the default error display of every window procedure.

#include <exception>
#include <string>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TCustomForm;

using TExceptionEvent = TEvent<TObject*, const std::exception&>;

class TApplication : public TComponent {
  DECLARE_CLASS(TApplication)

 public:
  void Create(TComponent* owner) override;

  // Checks that the GUI is there (a QApplication must exist); raises Exception otherwise.
  void Initialize();
  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    reference = New<T>(this);
    if (!mainForm_) mainForm_ = reference;
  }
  // Shows the main form and runs the event loop until it closes or Terminate is called.
  void Run();
  // Delivers pending events and posted messages.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // The default error display: OnException when assigned, else ShowException.
  void HandleException(std::exception_ptr error);
  // A modal error box with the message.
  void ShowException(const std::exception& error);
  TExceptionEvent OnException;

 protected:
  void Destroy() override;

 private:
  TCustomForm* mainForm_ = nullptr;
  std::string title_;
  bool terminated_ = false;
};

// The program's application object; made on first use of ApplicationInstance().
extern TApplication* Application;
TApplication* ApplicationInstance();
