#include "shell/WindowPicture.h"

#include <QApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "shell/Artwork.h"

namespace linkora {

QImage FramedWindowPicture(QWidget& window) {
  window.ensurePolished();
  const QPixmap body = window.grab();
  constexpr int kCaption = 26;
  QImage image(body.width() + 2, body.height() + kCaption + 1, QImage::Format_ARGB32);
  image.fill(QColor(0x2F, 0x4F, 0x7F));
  QPainter p(&image);
  QLinearGradient caption(0, 0, 0, kCaption);
  caption.setColorAt(0, QColor(0x4F, 0x8C, 0xE8));
  caption.setColorAt(1, QColor(0x2F, 0x6B, 0xC8));
  p.fillRect(QRect(1, 1, body.width(), kCaption - 1), caption);
  p.drawImage(QRect(5, 5, 16, 16), ProgramIconImage(16));
  QFont font = QApplication::font();
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(26, 1, body.width() - 30, kCaption - 1), Qt::AlignVCenter | Qt::AlignLeft,
             window.windowTitle());
  p.drawPixmap(1, kCaption, body);
  return image;
}

bool SavePicture(const QImage& image, const QString& file) {
  if (!image.save(file, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
  }
  std::printf("%s\n", qPrintable(file));
  return true;
}

}  // namespace linkora
