#pragma once

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <optional>
#include <string>

namespace linkora::test {

// Pictures of windows for people to look at: written only when
// LINKORA_SCREENSHOT_DIR names a folder (scripts/screenshots.sh sets it).
inline std::optional<QString> ScreenshotFolder() {
  const char* folder = std::getenv("LINKORA_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0') {
    return std::nullopt;
  }
  return QString::fromLocal8Bit(folder);
}

// The window with a plain caption bar above it, so that its title shows.
inline bool SaveWindowPicture(QWidget& window, const QString& folder, const QString& name) {
  window.ensurePolished();
  const QPixmap body = window.grab();
  constexpr int kCaption = 26;
  QImage image(body.width() + 2, body.height() + kCaption + 1, QImage::Format_ARGB32);
  image.fill(QColor(0x2F, 0x4F, 0x7F));
  QPainter painter(&image);
  painter.fillRect(QRect(1, 1, body.width(), kCaption - 1), QColor(0x3F, 0x7C, 0xD8));
  QFont font = QApplication::font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 1, body.width() - 12, kCaption - 1), Qt::AlignVCenter | Qt::AlignLeft,
                   window.windowTitle());
  painter.drawPixmap(1, kCaption, body);
  painter.end();
  return image.save(folder + '/' + name, "PNG");
}

}  // namespace linkora::test
