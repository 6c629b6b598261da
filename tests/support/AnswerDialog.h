#pragma once
// Answers the next modal dialog of class D once it is up, from the event loop, as a user would
// while the dialog runs modally. Gives up after a few seconds, so that a dialog that never comes
// leaves no timer behind.

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

template <class D>
void AnswerNextDialog(std::function<void(D*)> answer) {
  auto* timer = new QTimer();
  timer->setInterval(10);
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, ticks, answer] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!dialog && ++*ticks < 500) return;
    timer->stop();
    timer->deleteLater();
    if (dialog) answer(dialog);
  });
  timer->start();
}
