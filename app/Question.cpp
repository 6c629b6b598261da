#include "app/Question.h"
#include "platform/rtl/Tr.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace {

// The answers questions offer.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Questions)
};

TQuestionHook& Hook() {
  static TQuestionHook hook;
  return hook;
}

}  // namespace

int AskQuestion(const std::string& text, const std::vector<std::string>& buttons, int cancelIndex) {
  if (const TQuestionHook hook = Hook()) return hook(text, buttons);
  if (buttons.empty() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return cancelIndex;
  QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), QString::fromStdString(text));
  box.setWindowModality(Qt::ApplicationModal);
  std::vector<QPushButton*> pushed;
  for (size_t i = 0; i < buttons.size(); ++i) {
    // The roles only place the buttons; the answer is the button itself. ActionRole keeps Qt from
    // reordering them by the desktop's conventions.
    pushed.push_back(box.addButton(QString::fromStdString(buttons[i]), QMessageBox::ActionRole));
    if (static_cast<int>(i) == cancelIndex) box.setEscapeButton(pushed.back());
  }
  box.setDefaultButton(pushed.front());
  box.exec();
  for (size_t i = 0; i < pushed.size(); ++i)
    if (box.clickedButton() == pushed[i]) return static_cast<int>(i);
  return cancelIndex;
}

void SetQuestionHook(TQuestionHook hook) { Hook() = std::move(hook); }

TSaveAnswer AskToSave(const std::string& text) {
  switch (AskQuestion(text, {Tr(Texts::tr("Yes")), Tr(Texts::tr("No")), Tr(Texts::tr("Cancel"))}, saCancel)) {
    case saYes: return saYes;
    case saNo: return saNo;
    default: return saCancel;
  }
}

TOtherSaveAnswer AskAboutOtherSave(const std::string& text) {
  switch (AskQuestion(text, {Tr(Texts::tr("Overwrite")), Tr(Texts::tr("Load theirs")), Tr(Texts::tr("Cancel"))}, oaCancel)) {
    case oaOverwrite: return oaOverwrite;
    case oaLoadTheirs: return oaLoadTheirs;
    default: return oaCancel;
  }
}
