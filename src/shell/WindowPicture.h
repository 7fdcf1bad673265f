#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace linkora {

// A picture of a window for people to look at (the screenshots of the
// project): the window drawn as it is, under a plain caption bar with the
// program icon and the window's title, since offscreen windows have none.
QImage FramedWindowPicture(QWidget& window);

// Writes an image as PNG; says on stderr what failed, on stdout what was written.
bool SavePicture(const QImage& image, const QString& file);

}  // namespace linkora
