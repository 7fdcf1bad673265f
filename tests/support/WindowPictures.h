#pragma once

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <optional>
#include <string>

#include "shell/WindowPicture.h"

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

// Writes a framed picture of the window into the folder.
inline bool SaveWindowPicture(QWidget& window, const QString& folder, const QString& name) {
  return FramedWindowPicture(window).save(folder + '/' + name, "PNG");
}

}  // namespace linkora::test
