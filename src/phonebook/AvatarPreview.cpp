#include "phonebook/AvatarPreview.h"

#include <QPainter>

#include "phonebook/AvatarArt.h"
#include "phonebook/AvatarLayout.h"

namespace linkora {

AvatarPreview::AvatarPreview(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("avatarPreview"));
  setFixedSize(kAvatarFrame.width, kAvatarFrame.height);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void AvatarPreview::SetParts(const AvatarParts& parts) {
  if (parts != parts_) {
    parts_ = parts;
    update();
  }
}

void AvatarPreview::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), ComposeAvatar(parts_));
}

}  // namespace linkora
