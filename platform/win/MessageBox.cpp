#include "platform/win/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

TMessageBoxHook& Hook() {
  static TMessageBoxHook hook;
  return hook;
}

struct Choice {
  QMessageBox::StandardButton button;
  int id;
};

// The buttons of each button set in the order MB_DEFBUTTONn counts them.
const std::vector<Choice>& Buttons(UINT type) {
  static const std::vector<std::vector<Choice>> sets = {
      {{QMessageBox::Ok, IDOK}},
      {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}},
      {{QMessageBox::Abort, IDABORT},
       {QMessageBox::Retry, IDRETRY},
       {QMessageBox::Ignore, IDIGNORE}},
      {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}},
      {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}},
      {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}},
  };
  static const std::vector<Choice> none;
  const UINT set = type & MB_TYPEMASK;
  return set < sets.size() ? sets[set] : none;
}

QMessageBox::Icon IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// A default beyond the set's buttons falls back to the first, as the platform's boxes do.
const Choice& DefaultChoice(const std::vector<Choice>& buttons, UINT type) {
  const size_t index = (type & MB_DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

int Show(HWND owner, const std::string& text, const std::string& caption, UINT type,
         const std::vector<Choice>& buttons) {
  QMessageBox box(IconOf(type), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::NoButton, owner ? WindowWidget(owner) : nullptr);
  box.setWindowModality(Qt::ApplicationModal);
  QMessageBox::StandardButtons set;
  for (const Choice& choice : buttons) set |= choice.button;
  box.setStandardButtons(set);
  const Choice& initial = DefaultChoice(buttons, type);
  box.setDefaultButton(initial.button);
  if (set.testFlag(QMessageBox::Cancel)) box.setEscapeButton(QMessageBox::Cancel);
  if (buttons.size() == 1) box.setEscapeButton(buttons.front().button);
  box.exec();
  const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
  for (const Choice& choice : buttons) {
    if (choice.button == clicked) return choice.id;
  }
  // Closed without a button (the application quit under it): the safest answer.
  return set.testFlag(QMessageBox::Cancel) ? IDCANCEL : initial.id;
}

}  // namespace

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  const std::vector<Choice>& buttons = Buttons(type);
  if (buttons.empty()) return 0;
  if (const TMessageBoxHook hook = Hook()) return hook(text, caption, type);
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return DefaultChoice(buttons, type).id;
  }
  return Show(owner, text, caption, type, buttons);
}

void SetMessageBoxHook(TMessageBoxHook hook) { Hook() = std::move(hook); }
