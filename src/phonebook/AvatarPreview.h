#pragma once

#include <QWidget>

#include "phonebook/PhonebookEntry.h"

namespace linkora {

// The composed avatar as a control of its own, the frame's size: the frame
// with the seven part pictures ANDed over it. Being a control keeps the
// surrounding frames' drawing off the picture.
class AvatarPreview final : public QWidget {
 public:
  explicit AvatarPreview(QWidget* parent = nullptr);

  void SetParts(const AvatarParts& parts);
  const AvatarParts& Parts() const { return parts_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  AvatarParts parts_{};
};

}  // namespace linkora
