#include "shell/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QtMath>
#include <array>
#include <cmath>

#include "resources/ShellTexts.h"
#include "shell/QtText.h"

namespace linkora {
namespace {

// One palette for every picture: a clear sky blue, warm accents, soft white.
const QColor kSkyTop(0x5A, 0xB4, 0xF0);
const QColor kSkyBottom(0xD8, 0xF0, 0xFF);
const QColor kNavy(0x1F, 0x3A, 0x68);
const QColor kAccent(0xFF, 0x9F, 0x43);
const QColor kLeaf(0x4C, 0xC3, 0x8A);
const QColor kRose(0xF2, 0x6D, 0x8C);
const QColor kViolet(0x8E, 0x7C, 0xF0);
const QColor kPaper(0xFF, 0xFD, 0xF7);

QFont PictureFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("NanumGothic"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// The handset: a rounded body, a lit screen and a small keypad.
void DrawHandset(QPainter& p, const QRectF& body, const QString& screenText) {
  p.save();
  QLinearGradient shell(body.topLeft(), body.bottomRight());
  shell.setColorAt(0, QColor(0x3B, 0x4A, 0x63));
  shell.setColorAt(1, kNavy);
  p.setPen(QPen(QColor(0x14, 0x22, 0x3C), 2));
  p.setBrush(shell);
  p.drawRoundedRect(body, body.width() * 0.18, body.width() * 0.18);

  // antenna
  p.setBrush(kNavy);
  p.drawRoundedRect(QRectF(body.right() - body.width() * 0.28, body.top() - body.height() * 0.12,
                           body.width() * 0.1, body.height() * 0.14),
                    3, 3);

  const QRectF screen(body.left() + body.width() * 0.12, body.top() + body.height() * 0.1,
                      body.width() * 0.76, body.height() * 0.36);
  QLinearGradient glow(screen.topLeft(), screen.bottomLeft());
  glow.setColorAt(0, QColor(0xE8, 0xFF, 0xF4));
  glow.setColorAt(1, QColor(0xA8, 0xE6, 0xCF));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawRoundedRect(screen, 4, 4);
  p.setPen(kNavy);
  p.setFont(PictureFont(static_cast<int>(screen.height() * 0.22), true));
  p.drawText(screen, Qt::AlignCenter, screenText);

  // keypad: 3 x 4 round keys
  const double keyTop = screen.bottom() + body.height() * 0.08;
  const double keyW = body.width() * 0.18;
  const double keyH = body.height() * 0.07;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) {
      const QRectF key(body.left() + body.width() * 0.15 + col * body.width() * 0.26,
                       keyTop + row * body.height() * 0.11, keyW, keyH);
      p.setBrush(row == 0 && col != 1 ? kAccent : QColor(0xE6, 0xEE, 0xF8));
      p.drawRoundedRect(key, keyH / 2, keyH / 2);
    }
  }
  p.restore();
}

// The PC: a monitor on a stand.
void DrawMonitor(QPainter& p, const QRectF& frame) {
  p.save();
  p.setPen(QPen(QColor(0x14, 0x22, 0x3C), 2));
  p.setBrush(QColor(0xEE, 0xF2, 0xF7));
  p.drawRoundedRect(frame, 6, 6);
  const QRectF screen = frame.adjusted(6, 6, -6, -6);
  QLinearGradient glass(screen.topLeft(), screen.bottomRight());
  glass.setColorAt(0, QColor(0x8F, 0xD3, 0xFF));
  glass.setColorAt(1, QColor(0x4F, 0x8C, 0xE8));
  p.setPen(Qt::NoPen);
  p.setBrush(glass);
  p.drawRoundedRect(screen, 3, 3);
  // little cards on the screen: the data being copied
  p.setBrush(kPaper);
  for (int i = 0; i < 3; ++i) {
    p.drawRoundedRect(QRectF(screen.left() + 8 + i * (screen.width() - 16) / 3.0,
                             screen.top() + screen.height() * 0.3, (screen.width() - 16) / 3.0 - 6,
                             screen.height() * 0.45),
                      2, 2);
  }
  p.setPen(QPen(QColor(0x14, 0x22, 0x3C), 2));
  p.setBrush(QColor(0xC9, 0xD3, 0xE0));
  const double cx = frame.center().x();
  p.drawRect(QRectF(cx - 6, frame.bottom(), 12, 10));
  p.drawRoundedRect(QRectF(cx - 26, frame.bottom() + 10, 52, 7), 3, 3);
  p.restore();
}

void DrawSparkle(QPainter& p, QPointF c, double r, const QColor& color) {
  QPainterPath star;
  star.moveTo(c.x(), c.y() - r);
  star.quadTo(c, QPointF(c.x() + r, c.y()));
  star.quadTo(c, QPointF(c.x(), c.y() + r));
  star.quadTo(c, QPointF(c.x() - r, c.y()));
  star.quadTo(c, QPointF(c.x(), c.y() - r));
  p.fillPath(star, color);
}

// The symbol of one function, drawn into a square.
void DrawSymbol(QPainter& p, FunctionPicture picture, const QRectF& box) {
  p.save();
  p.setPen(QPen(kNavy, 1.6));
  const double w = box.width();
  const double h = box.height();
  switch (picture) {
    case FunctionPicture::Phonebook: {
      // a closed book with a person on the cover
      const QRectF cover(box.left() + w * 0.18, box.top() + h * 0.05, w * 0.64, h * 0.9);
      p.setBrush(kAccent);
      p.drawRoundedRect(cover, 3, 3);
      p.setBrush(kPaper);
      p.drawRect(QRectF(cover.right() - 4, cover.top() + 3, 4, cover.height() - 6));
      p.setBrush(kPaper);
      p.setPen(Qt::NoPen);
      p.drawEllipse(QPointF(cover.center().x() - 2, cover.top() + h * 0.32), w * 0.1, w * 0.1);
      p.drawChord(
          QRectF(cover.center().x() - 2 - w * 0.2, cover.top() + h * 0.48, w * 0.4, h * 0.36), 0,
          180 * 16);
      break;
    }
    case FunctionPicture::Scheduler: {
      // a calendar page with a ring binding and a marked day
      const QRectF page(box.left() + w * 0.1, box.top() + h * 0.12, w * 0.8, h * 0.8);
      p.setBrush(kPaper);
      p.drawRoundedRect(page, 3, 3);
      p.setBrush(kRose);
      p.drawRoundedRect(QRectF(page.left(), page.top(), page.width(), page.height() * 0.28), 3, 3);
      p.setBrush(kNavy);
      for (int i = 0; i < 2; ++i) {
        p.drawRoundedRect(QRectF(page.left() + page.width() * (0.25 + 0.4 * i),
                                 page.top() - h * 0.09, w * 0.08, h * 0.17),
                          2, 2);
      }
      p.setPen(Qt::NoPen);
      for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
          const bool marked = row == 1 && col == 2;
          p.setBrush(marked ? kAccent : QColor(0xC9, 0xD6, 0xE8));
          p.drawRect(QRectF(page.left() + page.width() * (0.1 + 0.21 * col),
                            page.top() + page.height() * (0.38 + 0.2 * row), page.width() * 0.15,
                            page.height() * 0.13));
        }
      }
      break;
    }
    case FunctionPicture::Messages: {
      // a speech bubble with three dots
      QPainterPath bubble;
      const QRectF round(box.left() + w * 0.06, box.top() + h * 0.12, w * 0.88, h * 0.62);
      bubble.addRoundedRect(round, h * 0.16, h * 0.16);
      QPainterPath tail;
      tail.moveTo(round.left() + w * 0.2, round.bottom() - 2);
      tail.lineTo(round.left() + w * 0.14, box.bottom() - h * 0.06);
      tail.lineTo(round.left() + w * 0.42, round.bottom() - 2);
      tail.closeSubpath();
      p.setBrush(kLeaf);
      p.drawPath(bubble.united(tail));
      p.setPen(Qt::NoPen);
      p.setBrush(kPaper);
      for (int i = 0; i < 3; ++i) {
        p.drawEllipse(QPointF(round.left() + round.width() * (0.28 + 0.22 * i), round.center().y()),
                      w * 0.07, w * 0.07);
      }
      break;
    }
    case FunctionPicture::Media: {
      // a picture frame with a mountain, and a music note in front
      const QRectF frame(box.left() + w * 0.04, box.top() + h * 0.08, w * 0.7, h * 0.62);
      p.setBrush(kPaper);
      p.drawRoundedRect(frame, 3, 3);
      QPainterPath hill;
      hill.moveTo(frame.left() + 3, frame.bottom() - 3);
      hill.lineTo(frame.left() + frame.width() * 0.38, frame.top() + frame.height() * 0.38);
      hill.lineTo(frame.left() + frame.width() * 0.6, frame.top() + frame.height() * 0.62);
      hill.lineTo(frame.left() + frame.width() * 0.75, frame.top() + frame.height() * 0.48);
      hill.lineTo(frame.right() - 3, frame.bottom() - 3);
      hill.closeSubpath();
      p.fillPath(hill, kLeaf);
      p.setPen(Qt::NoPen);
      p.setBrush(kAccent);
      p.drawEllipse(
          QPointF(frame.right() - frame.width() * 0.22, frame.top() + frame.height() * 0.25),
          w * 0.06, w * 0.06);
      // note
      p.setBrush(kViolet);
      p.setPen(QPen(kNavy, 1.4));
      const QPointF head(box.left() + w * 0.7, box.bottom() - h * 0.12);
      p.drawEllipse(head, w * 0.12, h * 0.09);
      p.drawRect(QRectF(head.x() + w * 0.09, box.top() + h * 0.3, w * 0.05, h * 0.55));
      QPainterPath flag;
      flag.moveTo(head.x() + w * 0.14, box.top() + h * 0.3);
      flag.quadTo(head.x() + w * 0.3, box.top() + h * 0.36, head.x() + w * 0.26,
                  box.top() + h * 0.52);
      flag.quadTo(head.x() + w * 0.24, box.top() + h * 0.42, head.x() + w * 0.14,
                  box.top() + h * 0.42);
      p.drawPath(flag);
      break;
    }
  }
  p.restore();
}

QString PictureName(FunctionPicture picture) {
  switch (picture) {
    case FunctionPicture::Phonebook:
      return ToQt(texts::kPhonebookButton);
    case FunctionPicture::Scheduler:
      return ToQt(texts::kSchedulerButton);
    case FunctionPicture::Messages:
      return ToQt(texts::kMessagesButton);
    case FunctionPicture::Media:
      return ToQt(texts::kMediaButton);
  }
  return {};
}

QColor TileColor(FunctionPicture picture) {
  switch (picture) {
    case FunctionPicture::Phonebook:
      return QColor(0xFF, 0xEE, 0xD6);
    case FunctionPicture::Scheduler:
      return QColor(0xFF, 0xE3, 0xEA);
    case FunctionPicture::Messages:
      return QColor(0xDD, 0xF6, 0xE9);
    case FunctionPicture::Media:
      return QColor(0xE8, 0xE4, 0xFF);
  }
  return kPaper;
}

// An arrow head at the end of an arc (angle in degrees, counted as Qt counts
// them), pointing on clockwise.
void DrawArrowHead(QPainter& p, QPointF center, double radius, double degrees) {
  const double a = qDegreesToRadians(degrees);
  const QPointF radial(std::cos(a), -std::sin(a));
  const QPointF along(std::sin(a), std::cos(a));
  const QPointF at = center + radius * radial;
  QPainterPath head;
  head.moveTo(at + 8 * along);
  head.lineTo(at - 4 * along + 5 * radial);
  head.lineTo(at - 4 * along - 5 * radial);
  head.closeSubpath();
  p.drawPath(head);
}

}  // namespace

QImage MainPicture() {
  QImage image(kMainPictureWidth, kMainPictureHeight, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient sky(0, 0, 0, kMainPictureHeight);
  sky.setColorAt(0, kSkyTop);
  sky.setColorAt(0.65, kSkyBottom);
  sky.setColorAt(1, QColor(0xF4, 0xFA, 0xFF));
  p.fillRect(image.rect(), sky);

  // soft clouds
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 170));
  for (const auto& [x, y, r] : std::array<std::array<double, 3>, 5>{
           {{40, 112, 16}, {60, 104, 22}, {82, 112, 15}, {200, 150, 14}, {218, 144, 19}}}) {
    p.drawEllipse(QPointF(x, y), r, r * 0.75);
  }

  // name and models
  p.setPen(Qt::white);
  p.setFont(PictureFont(38, true));
  p.drawText(QRectF(0, 16, kMainPictureWidth, 48), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("Linkora"));
  p.setFont(PictureFont(13, true));
  p.setPen(kNavy);
  p.drawText(QRectF(0, 62, kMainPictureWidth, 20), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("RX-2100 / RX-3100"));

  // the link: a dashed cable with data dots between handset and PC
  const QRectF phone(34, 158, 74, 150);
  const QRectF monitor(140, 196, 104, 74);
  QPainterPath cable;
  cable.moveTo(phone.center().x(), phone.bottom());
  cable.cubicTo(phone.center().x(), phone.bottom() + 44, monitor.center().x(),
                monitor.bottom() + 52, monitor.center().x(), monitor.bottom() + 17);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kNavy, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(cable);
  p.setPen(Qt::NoPen);
  for (int i = 1; i < 6; ++i) {
    p.setBrush(i % 2 == 0 ? kAccent : kLeaf);
    p.drawEllipse(cable.pointAtPercent(i / 6.0), 4.5, 4.5);
  }

  DrawMonitor(p, monitor);
  DrawHandset(p, phone, QStringLiteral("Linkora"));
  DrawSparkle(p, QPointF(128, 176), 9, kAccent);
  DrawSparkle(p, QPointF(236, 184), 6, Qt::white);
  DrawSparkle(p, QPointF(22, 144), 6, Qt::white);

  // a friendly line at the bottom
  p.setPen(kNavy);
  p.setFont(PictureFont(14, true));
  p.drawText(QRectF(0, kMainPictureHeight - 46, kMainPictureWidth, 22), Qt::AlignCenter,
             QStringLiteral("내 휴대폰과 PC를 하나로"));
  return image;
}

QImage ButtonPicture(FunctionPicture picture) {
  QImage image(kButtonPictureWidth, kButtonPictureHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  const QRectF tile(1.5, 1.5, kButtonPictureWidth - 3, kButtonPictureHeight - 3);
  QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
  fill.setColorAt(0, Qt::white);
  fill.setColorAt(1, TileColor(picture));
  p.setPen(QPen(QColor(0xB8, 0xC8, 0xDC), 1));
  p.setBrush(fill);
  p.drawRoundedRect(tile, 9, 9);

  DrawSymbol(p, picture, QRectF(17, 6, 33, 36));

  p.setPen(kNavy);
  p.setFont(PictureFont(11, true));
  p.drawText(QRectF(0, 45, kButtonPictureWidth, 17), Qt::AlignCenter, PictureName(picture));
  return image;
}

QImage ProgramIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);

  QLinearGradient fill(0, 0, 0, 64);
  fill.setColorAt(0, kSkyTop);
  fill.setColorAt(1, QColor(0x2F, 0x7B, 0xD8));
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);

  // two arrows circling a handset: the sync
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(10, 10, 44, 44), 30 * 16, 120 * 16);
  p.drawArc(QRectF(10, 10, 44, 44), 210 * 16, 120 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  DrawArrowHead(p, QPointF(32, 32), 22, 30);
  DrawArrowHead(p, QPointF(32, 32), 22, 210);

  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(24, 17, 16, 30), 4, 4);
  p.setBrush(QColor(0xA8, 0xE6, 0xCF));
  p.drawRoundedRect(QRectF(27, 21, 10, 9), 1.5, 1.5);
  p.setBrush(kNavy);
  for (int i = 0; i < 3; ++i) {
    p.drawEllipse(QPointF(28.5 + i * 3.5, 35), 1.2, 1.2);
    p.drawEllipse(QPointF(28.5 + i * 3.5, 40), 1.2, 1.2);
  }
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
  }
  return icon;
}

}  // namespace linkora
