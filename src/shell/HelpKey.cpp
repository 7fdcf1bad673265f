#include "shell/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include "shell/HelpDialog.h"

namespace linkora {

HelpKey::HelpKey(std::function<void()> open, QObject* parent)
    : QObject(parent), open_(std::move(open)) {}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  // Only the widget's own key event counts: the window system's copy of the
  // same key press reaches the window first.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() != QEvent::KeyPress || widget == nullptr ||
      !static_cast<QKeyEvent*>(event)->matches(QKeySequence::HelpContents)) {
    return QObject::eventFilter(watched, event);
  }
  if (dynamic_cast<HelpDialog*>(widget->window()) == nullptr) {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();  // an open menu closes before the help comes up
    }
    open_();
  }
  return true;
}

}  // namespace linkora
