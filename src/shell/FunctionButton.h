#pragma once

#include <QPushButton>

namespace linkora {

// One of the main window's four picture buttons. The picture fills the whole
// button, so the style's own focus mark would not show; this button draws a
// frame inside its edge while it has the keyboard focus.
class FunctionButton final : public QPushButton {
 public:
  explicit FunctionButton(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace linkora
