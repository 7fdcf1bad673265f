#pragma once

#include <QObject>
#include <functional>

namespace linkora {

// F1 opens the help from every window and dialog of the program: installed
// once on the application, it sees the key before any window does.
class HelpKey final : public QObject {
 public:
  // `open` is called for each F1 outside the help window itself.
  explicit HelpKey(std::function<void()> open, QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> open_;
};

}  // namespace linkora
