// SPDX-License-Identifier: MIT
#pragma once
// Helpers of the page and dialog tests: a message seam that records what would be shown, and
// a way to act on the next modal dialog.

#include "ui/message_box.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kelvast::ui::test {

// Records every message instead of showing it; Yes/No questions get Answer.
class TRecordedMessages : public TMessageSeam {
 public:
  struct TMessage {
    QString Caption;
    QString Text;
    TMsgIcon Icon;
  };

  void Show(QWidget*, const QString& caption, const QString& text, TMsgIcon icon) override {
    Shown.push_back({caption, text, icon});
  }
  bool AskYesNo(QWidget*, const QString& caption, const QString& text, TMsgIcon icon) override {
    Shown.push_back({caption, text, icon});
    return Answer;
  }

  QList<TMessage> Shown;
  bool Answer = false;
};

// Installs the recorder for the lifetime of the guard.
class TMessageCapture {
 public:
  TMessageCapture() { SetMessageSeam(&Messages); }
  ~TMessageCapture() { SetMessageSeam(nullptr); }
  TRecordedMessages Messages;
};

// Calls action with the next modal dialog as soon as it is shown. The action must close the
// dialog (accept, reject or close), so it should record what it finds and leave the checks to
// the test after the dialog has returned.
inline void OnNextModal(std::function<void(QDialog*)> action) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    action(dialog);
  });
  poll->start();
}

// A user's double-click: press and release, then the double-click event and its release.
// QTest::mouseDClick alone sends only the double-click event, which item views take for a
// plain press.
inline void DoubleClick(QWidget* widget, QPoint pos) {
  QTest::mousePress(widget, Qt::LeftButton, {}, pos);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
  QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

// Types text key by key; characters outside ASCII, which QTest cannot turn into key presses,
// are inserted as an input method would.
template <class TEdit>
void TypeText(TEdit* edit, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(edit, c.toLatin1());
    else
      edit->insert(QString(c));
  }
}

}  // namespace kelvast::ui::test
