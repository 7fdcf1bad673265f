#include "shell/FunctionButton.h"

#include <QPainter>
#include <QPen>

namespace linkora {

FunctionButton::FunctionButton(QWidget* parent) : QPushButton(parent) {
  setFlat(true);
  setAutoDefault(false);  // Enter never presses a function button
  setFocusPolicy(Qt::StrongFocus);
}

void FunctionButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  if (!hasFocus()) {
    return;
  }
  // A light line under a dark dotted one shows on any part of the picture.
  QPainter painter(this);
  const QRect frame = rect().adjusted(2, 2, -3, -3);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(frame);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
  painter.drawRect(frame);
  painter.drawRect(frame.adjusted(1, 1, -1, -1));
}

}  // namespace linkora
