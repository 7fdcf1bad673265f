#include "phonebook/AvatarArt.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <array>
#include <cmath>
#include <functional>

namespace linkora {
namespace {

// ---- Palette ----
const QColor kInk(0x2B, 0x1D, 0x16);  // outlines and eyes
const QColor kMouthRed(0xB0, 0x30, 0x30);
const QColor kLipRed(0xD0, 0x40, 0x50);
const QColor kTongue(0xF0, 0x80, 0x90);
const QColor kBlush(0xFF, 0xB0, 0xB0);
const QColor kGold(0xC8, 0x98, 0x20);

// Where the parts sit inside the 53 x 53 head pictures: the face's box, and
// the boxes the eye and mouth pictures cover.
const QRectF kFace(8.5, 12.0, 36.0, 40.0);
constexpr double kEyeY = 31.0;  // centre line of the eyes in head coordinates
constexpr double kHeadCx = 26.5;

QImage Blank(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QPen Outline(const QColor& colour, double width = 1.4) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// Paints on a fresh white picture with antialiasing.
template <typename Draw>
QImage Paint(int width, int height, Draw&& draw) {
  QImage image = Blank(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  p.end();
  return image;
}

// ---- Frame (311), 60 x 110 ----
QImage Frame() {
  return Paint(60, 110, [](QPainter& p) {
    p.setPen(Outline(QColor(0x5A, 0x7F, 0xB0), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, 58, 108), 7, 7);
    p.setPen(Outline(QColor(0xA8, 0xC0, 0xE0), 1.0));
    p.drawRoundedRect(QRectF(3.5, 3.5, 53, 103), 5, 5);
    // A soft floor under the figure.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xDD, 0xE4, 0xEE));
    p.drawEllipse(QRectF(12, 100, 36, 6));
  });
}

// ---- Faces (part 3: 211..218), 53 x 53 ----
struct FaceStyle {
  QColor skin;
  int shape;  // 0 round, 1 oval, 2 wide, 3 long, 4 square jaw, 5 narrow chin
  bool blush;
};

const std::array<FaceStyle, 8> kFaces = {{
    {QColor(0xFF, 0xE0, 0xC8), 0, false},
    {QColor(0xFD, 0xD5, 0xB1), 1, false},
    {QColor(0xF1, 0xC2, 0x7D), 2, false},
    {QColor(0xE0, 0xAC, 0x69), 3, false},
    {QColor(0xFF, 0xDB, 0xAC), 4, false},
    {QColor(0xD9, 0xA0, 0x66), 5, false},
    {QColor(0xFF, 0xE4, 0xD0), 0, true},
    {QColor(0xF3, 0xC9, 0xA0), 2, true},
}};

QPainterPath FaceOutline(int shape) {
  QPainterPath path;
  switch (shape) {
    case 1:
      path.addEllipse(QRectF(10, 12, 33, 41));
      break;
    case 2:
      path.addEllipse(QRectF(6.5, 13, 40, 39));
      break;
    case 3:
      path.addEllipse(QRectF(11, 10, 31, 43));
      break;
    case 4:
      path.addRoundedRect(QRectF(9.5, 12, 34, 40), 13, 11);
      break;
    case 5: {
      path.moveTo(kHeadCx, 52.5);
      path.cubicTo(14, 48, 8.5, 38, 8.5, 29);
      path.cubicTo(8.5, 17, 17, 12, kHeadCx, 12);
      path.cubicTo(36, 12, 44.5, 17, 44.5, 29);
      path.cubicTo(44.5, 38, 39, 48, kHeadCx, 52.5);
      break;
    }
    default:
      path.addEllipse(kFace);
      break;
  }
  return path;
}

QImage Face(int index) {
  const FaceStyle& style = kFaces[static_cast<std::size_t>(index)];
  return Paint(53, 53, [&](QPainter& p) {
    p.setPen(Outline(kInk));
    p.setBrush(style.skin);
    // Ears first, so the face covers their inner edge.
    const double earX = style.shape == 2 ? 4.0 : 6.0;
    p.drawEllipse(QRectF(earX, 27, 7, 10));
    p.drawEllipse(QRectF(53 - earX - 7, 27, 7, 10));
    p.drawPath(FaceOutline(style.shape));
    if (style.blush) {
      p.setPen(Qt::NoPen);
      p.setBrush(kBlush);
      p.drawEllipse(QRectF(12, 38, 7, 4));
      p.drawEllipse(QRectF(34, 38, 7, 4));
    }
  });
}

// ---- Eyes (part 4: 190..210), 29 x 15 ----
// The two eyes are centred at (7.5, 7.5) and (21.5, 7.5).
void EyePair(QPainter& p,
             const std::function<void(QPainter&, double cx, double cy, int side)>& one) {
  one(p, 7.5, 8.0, 0);
  one(p, 21.5, 8.0, 1);
}

void Dot(QPainter& p, double cx, double cy, double r, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QPointF(cx, cy), r, r);
}

void Arc(QPainter& p, double cx, double cy, double w, double h, bool up, const QColor& colour,
         double width = 1.5) {
  p.setPen(Outline(colour, width));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  path.moveTo(cx - w / 2, cy);
  path.quadTo(cx, up ? cy - h : cy + h, cx + w / 2, cy);
  p.drawPath(path);
}

void OpenEye(QPainter& p, double cx, double cy, double rx, double ry, const QColor& iris,
             double irisR, double lookX) {
  p.setPen(Outline(kInk, 1.1));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(cx, cy), rx, ry);
  Dot(p, cx + lookX, cy + 0.5, irisR, iris);
  if (iris != kInk) {
    Dot(p, cx + lookX, cy + 0.5, irisR * 0.45, kInk);
  }
}

void Heart(QPainter& p, double cx, double cy, double size, const QColor& colour) {
  QPainterPath path;
  path.moveTo(cx, cy + size * 0.8);
  path.cubicTo(cx - size * 1.2, cy, cx - size * 0.6, cy - size * 0.9, cx, cy - size * 0.3);
  path.cubicTo(cx + size * 0.6, cy - size * 0.9, cx + size * 1.2, cy, cx, cy + size * 0.8);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(path);
}

void Star(QPainter& p, double cx, double cy, double r, const QColor& colour) {
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    const double angle = -M_PI / 2 + i * M_PI / 5;
    const double radius = (i % 2 == 0) ? r : r * 0.45;
    star << QPointF(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPolygon(star);
}

QImage Eyes(int index) {
  return Paint(29, 15, [&](QPainter& p) {
    switch (index) {
      case 0:
        EyePair(p, [](QPainter& q, double x, double y, int) { Dot(q, x, y, 2.0, kInk); });
        break;
      case 1:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 4.5, 3.5, kInk, 2.0, 0);
        });
        break;
      case 2:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 5.0, 5.0, kInk, 3.0, 0);
          Dot(q, x + 1.2, y - 0.8, 1.0, Qt::white);
        });
        break;
      case 3:
        EyePair(p,
                [](QPainter& q, double x, double y, int) { Arc(q, x, y + 1.5, 8, 5, true, kInk); });
        break;
      case 4:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          q.setPen(Outline(kInk, 1.6));
          q.drawLine(QPointF(x - 4, y + 1), QPointF(x + 4, y + 1));
        });
        break;
      case 5:
        EyePair(p, [](QPainter& q, double x, double y, int side) {
          if (side == 0) {
            OpenEye(q, x, y, 4.5, 3.5, kInk, 2.0, 0);
          } else {
            Arc(q, x, y + 1.5, 8, 4, true, kInk);
          }
        });
        break;
      case 6:
        EyePair(p, [](QPainter& q, double x, double y, int side) {
          OpenEye(q, x, y + 1, 4.5, 3.5, kInk, 2.2, 0);
          q.setPen(Outline(kInk, 1.0));
          const double dir = side == 0 ? -1 : 1;
          q.drawLine(QPointF(x + dir * 3, y - 2), QPointF(x + dir * 5.5, y - 4.5));
          q.drawLine(QPointF(x + dir * 1, y - 2.5), QPointF(x + dir * 2.5, y - 5.5));
        });
        break;
      case 7:
        EyePair(p, [](QPainter& q, double x, double y, int side) {
          Dot(q, x, y + 2, 2.0, kInk);
          q.setPen(Outline(kInk, 1.6));
          const double dir = side == 0 ? 1 : -1;
          q.drawLine(QPointF(x - dir * 4, y - 4), QPointF(x + dir * 3, y - 1));
        });
        break;
      case 8:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 5.0, 5.0, kInk, 1.3, 0);
        });
        break;
      case 9:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 4.5, 3.5, kInk, 2.0, -2.0);
        });
        break;
      case 10:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 4.5, 3.5, kInk, 2.0, 2.0);
        });
        break;
      case 11:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          q.setPen(Outline(kInk, 1.6));
          q.drawLine(QPointF(x - 3, y - 3), QPointF(x + 3, y + 3));
          q.drawLine(QPointF(x - 3, y + 3), QPointF(x + 3, y - 3));
        });
        break;
      case 12:
        EyePair(p, [](QPainter& q, double x, double y, int side) {
          Dot(q, x, y + 2, 2.0, kInk);
          q.setPen(Outline(kInk, 1.4));
          const double dir = side == 0 ? 1 : -1;
          q.drawLine(QPointF(x - dir * 4, y - 2), QPointF(x + dir * 3, y - 5));
        });
        break;
      case 13:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 5.0, 4.0, QColor(0x30, 0x60, 0xC0), 2.6, 0);
        });
        break;
      case 14:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 5.0, 4.0, QColor(0x30, 0x90, 0x50), 2.6, 0);
        });
        break;
      case 15:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          OpenEye(q, x, y, 5.0, 4.0, QColor(0x80, 0x50, 0x20), 2.6, 0);
        });
        break;
      case 16:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          Heart(q, x, y, 4.0, QColor(0xD0, 0x20, 0x40));
        });
        break;
      case 17:
        EyePair(p, [](QPainter& q, double x, double y, int) { Star(q, x, y, 4.5, kInk); });
        break;
      case 18:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          q.setPen(Outline(kInk, 1.1));
          q.setBrush(Qt::white);
          q.drawEllipse(QPointF(x, y), 5.0, 1.8);
          Dot(q, x, y, 1.5, kInk);
        });
        break;
      case 19:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          Dot(q, x, y + 2, 2.2, kInk);
          q.setPen(Outline(kInk, 2.4));
          q.drawLine(QPointF(x - 4, y - 3.5), QPointF(x + 4, y - 3.5));
        });
        break;
      default:
        EyePair(p, [](QPainter& q, double x, double y, int) {
          Arc(q, x, y - 1, 7, 5, true, kInk, 1.8);
          Arc(q, x, y + 3, 5, 2, true, kInk, 1.0);
        });
        break;
    }
  });
}

// ---- Mouths (part 5: 250..270), 29 x 11 ----
QImage Mouth(int index) {
  return Paint(29, 11, [&](QPainter& p) {
    const double cx = 14.5;
    switch (index) {
      case 0:
        Arc(p, cx, 4, 10, 4, false, kInk);
        break;
      case 1: {
        QPainterPath path;
        path.moveTo(cx - 7, 3);
        path.quadTo(cx, 13, cx + 7, 3);
        path.closeSubpath();
        p.setPen(Outline(kInk, 1.0));
        p.setBrush(kMouthRed);
        p.drawPath(path);
        break;
      }
      case 2:
        p.setPen(Outline(kInk, 1.5));
        p.drawLine(QPointF(cx - 5, 5.5), QPointF(cx + 5, 5.5));
        break;
      case 3:
        p.setPen(Outline(kInk, 1.2));
        p.setBrush(kMouthRed);
        p.drawEllipse(QPointF(cx, 5.5), 2.2, 2.2);
        break;
      case 4:
        Arc(p, cx, 8, 10, 4, true, kInk);
        break;
      case 5:
        p.setPen(Outline(kInk, 1.1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(cx - 7, 2.5, 14, 6), 2.5, 2.5);
        p.drawLine(QPointF(cx - 7, 5.5), QPointF(cx + 7, 5.5));
        for (double x = cx - 3.5; x <= cx + 3.6; x += 3.5) {
          p.drawLine(QPointF(x, 2.5), QPointF(x, 8.5));
        }
        break;
      case 6:
        Arc(p, cx, 3, 12, 4, false, kInk);
        p.setPen(Outline(kInk, 0.8));
        p.setBrush(kTongue);
        p.drawChord(QRectF(cx - 3, 1.5, 6, 8), 180 * 16, 180 * 16);
        break;
      case 7: {
        QPainterPath path;
        path.moveTo(cx - 5, 5.5);
        path.cubicTo(cx - 1, 6.5, cx + 3, 6, cx + 6, 3);
        p.setPen(Outline(kInk, 1.5));
        p.drawPath(path);
        break;
      }
      case 8:
        p.setPen(Outline(QColor(0x90, 0x20, 0x30), 0.8));
        p.setBrush(kLipRed);
        p.drawEllipse(QPointF(cx, 5.5), 5.5, 2.6);
        p.drawLine(QPointF(cx - 5, 5.5), QPointF(cx + 5, 5.5));
        break;
      case 9: {
        QPainterPath path;
        path.moveTo(cx - 7, 5.5);
        path.cubicTo(cx - 5, 2.5, cx - 2, 8.5, cx, 5.5);
        path.cubicTo(cx + 2, 2.5, cx + 5, 8.5, cx + 7, 5.5);
        p.setPen(Outline(kInk, 1.3));
        p.drawPath(path);
        break;
      }
      case 10:
        p.setPen(Outline(kInk, 1.2));
        p.setBrush(kMouthRed);
        p.drawEllipse(QPointF(cx, 5.5), 3.5, 4.5);
        break;
      case 11: {
        QPainterPath path;
        path.moveTo(cx - 6, 3.5);
        path.quadTo(cx - 3, 8, cx, 4);
        path.quadTo(cx + 3, 8, cx + 6, 3.5);
        p.setPen(Outline(kInk, 1.3));
        p.drawPath(path);
        break;
      }
      case 12:
        Arc(p, cx, 4.5, 6, 2.5, false, kInk, 1.3);
        break;
      case 13: {
        QPainterPath path;
        path.moveTo(cx - 9, 2);
        path.lineTo(cx + 9, 2);
        path.quadTo(cx, 16, cx - 9, 2);
        p.setPen(Outline(kInk, 1.0));
        p.setBrush(kMouthRed);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(kTongue);
        p.drawEllipse(QPointF(cx, 7.5), 3.5, 1.8);
        break;
      }
      case 14:
        Heart(p, cx, 5.5, 3.2, kLipRed);
        break;
      case 15: {
        QPolygonF zigzag;
        for (int i = 0; i <= 6; ++i) {
          zigzag << QPointF(cx - 7 + i * 7.0 / 3, (i % 2 == 0) ? 6.5 : 4.0);
        }
        p.setPen(Outline(kInk, 1.3));
        p.drawPolyline(zigzag);
        break;
      }
      case 16:
        p.setPen(Outline(QColor(0x90, 0x20, 0x30), 0.8));
        p.setBrush(QColor(0xF0, 0x90, 0xA0));
        p.drawChord(QRectF(cx - 6, -1, 12, 9), 180 * 16, 180 * 16);
        break;
      case 17:
        Dot(p, cx, 5.5, 1.6, kInk);
        break;
      case 18:
        Arc(p, cx, 4, 12, 4.5, false, kInk);
        Dot(p, cx - 7.5, 3.5, 0.9, kInk);
        Dot(p, cx + 7.5, 3.5, 0.9, kInk);
        break;
      case 19:
        p.setPen(Outline(kInk, 1.4));
        p.drawLine(QPointF(cx - 4, 6), QPointF(cx + 4, 6));
        p.drawLine(QPointF(cx + 4, 6), QPointF(cx + 6, 4.5));
        break;
      default:
        Arc(p, cx, 3, 12, 4, false, kInk);
        p.setPen(Outline(kInk, 0.9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(cx - 2.5, 3.8, 2.5, 3));
        p.drawRect(QRectF(cx, 3.8, 2.5, 3));
        break;
    }
  });
}

// ---- Hair (part 6: 220..242), 53 x 53 ----
const std::array<QColor, 6> kHairColours = {
    QColor(0x22, 0x1C, 0x1A),  // black
    QColor(0x4A, 0x2C, 0x17),  // dark brown
    QColor(0x7B, 0x4A, 0x22),  // brown
    QColor(0xE0, 0xB8, 0x50),  // blonde
    QColor(0xB0, 0x40, 0x1A),  // red
    QColor(0x8A, 0x8A, 0x8A),  // grey
};

// The top of the head, covering the face down to the fringe line.
QPainterPath Crop(double fringeY) {
  QPainterPath path;
  path.moveTo(7, 30);
  path.cubicTo(5, 12, 16, 6, kHeadCx, 6);
  path.cubicTo(37, 6, 48, 12, 46, 30);
  path.lineTo(43, 30);
  path.cubicTo(42, 24, 40, fringeY, 34, fringeY);
  path.lineTo(19, fringeY);
  path.cubicTo(13, fringeY, 11, 24, 10, 30);
  path.closeSubpath();
  return path;
}

QImage Hair(int index) {
  if (index == 0) {
    return Blank(53, 53);  // no hair drawn
  }
  struct Style {
    int shape;
    int colour;
  };
  static const std::array<Style, 22> kStyles = {{
      {0, 0},  {1, 2}, {2, 0}, {3, 3}, {4, 1}, {5, 4}, {6, 2}, {7, 0}, {8, 3}, {9, 5},  {10, 1},
      {11, 4}, {0, 3}, {1, 0}, {2, 4}, {3, 2}, {4, 5}, {6, 0}, {7, 3}, {8, 2}, {10, 0}, {11, 1},
  }};
  const Style& style = kStyles[static_cast<std::size_t>(index - 1)];
  const QColor colour = kHairColours[static_cast<std::size_t>(style.colour)];
  return Paint(53, 53, [&](QPainter& p) {
    p.setPen(Outline(colour.darker(150), 1.0));
    p.setBrush(colour);
    switch (style.shape) {
      case 0:  // short crop
        p.drawPath(Crop(18));
        break;
      case 1: {  // spiky
        p.drawPath(Crop(19));
        QPolygonF spikes;
        spikes << QPointF(8, 20);
        for (int i = 0; i < 7; ++i) {
          spikes << QPointF(10 + i * 5.5, 3 + (i % 2) * 2) << QPointF(12.5 + i * 5.5, 12);
        }
        spikes << QPointF(46, 20);
        p.drawPolygon(spikes);
        break;
      }
      case 2: {  // bob
        QPainterPath path = Crop(19);
        path.addRoundedRect(QRectF(5, 18, 8, 28), 4, 4);
        path.addRoundedRect(QRectF(40, 18, 8, 28), 4, 4);
        p.drawPath(path.simplified());
        break;
      }
      case 3: {  // long
        QPainterPath path = Crop(17);
        path.addRoundedRect(QRectF(3, 18, 9, 35), 4, 4);
        path.addRoundedRect(QRectF(41, 18, 9, 35), 4, 4);
        p.drawPath(path.simplified());
        break;
      }
      case 4: {  // side part with a sweeping fringe
        p.drawPath(Crop(16));
        QPainterPath fringe;
        fringe.moveTo(12, 16);
        fringe.cubicTo(20, 12, 30, 14, 42, 26);
        fringe.cubicTo(34, 18, 26, 17, 12, 22);
        fringe.closeSubpath();
        p.drawPath(fringe);
        break;
      }
      case 5:  // mohawk
        p.drawRoundedRect(QRectF(22, 0, 9, 20), 4, 4);
        p.drawRect(QRectF(8, 24, 3, 6));
        p.drawRect(QRectF(42, 24, 3, 6));
        break;
      case 6:  // curly
        for (int i = 0; i < 8; ++i) {
          const double angle = M_PI + i * M_PI / 7;
          p.drawEllipse(QPointF(kHeadCx + 19 * std::cos(angle), 24 + 17 * std::sin(angle)), 5.5,
                        5.5);
        }
        p.drawEllipse(QPointF(kHeadCx, 12), 9, 6);
        break;
      case 7:  // bun
        p.drawEllipse(QPointF(kHeadCx, 5), 6, 5);
        p.drawPath(Crop(17));
        break;
      case 8:  // pigtails
        p.drawEllipse(QPointF(5, 20), 5, 7);
        p.drawEllipse(QPointF(48, 20), 5, 7);
        p.drawPath(Crop(17));
        break;
      case 9:  // bald with side tufts
        p.drawEllipse(QPointF(8.5, 24), 3.5, 6);
        p.drawEllipse(QPointF(44.5, 24), 3.5, 6);
        break;
      case 10: {  // bowl cut
        QPainterPath bowl;
        bowl.moveTo(6, 26);
        bowl.cubicTo(5, 9, 16, 5, kHeadCx, 5);
        bowl.cubicTo(37, 5, 48, 9, 47, 26);
        bowl.lineTo(47, 23);
        bowl.lineTo(6, 23);
        bowl.closeSubpath();
        p.drawPath(bowl);
        break;
      }
      default: {  // ponytail
        QPainterPath tail;
        tail.moveTo(42, 12);
        tail.cubicTo(54, 14, 52, 34, 47, 44);
        tail.cubicTo(46, 32, 46, 22, 40, 16);
        tail.closeSubpath();
        p.drawPath(tail);
        p.drawPath(Crop(17));
        break;
      }
    }
  });
}

// ---- Accessories (part 7: 170..187), 53 x 53 ----
QImage Accessory(int index) {
  return Paint(53, 53, [&](QPainter& p) {
    const double ey = kEyeY;
    switch (index) {
      case 0:
        break;  // none
      case 1:   // round glasses
        p.setPen(Outline(kInk, 1.3));
        p.drawEllipse(QPointF(19.5, ey), 6, 6);
        p.drawEllipse(QPointF(33.5, ey), 6, 6);
        p.drawLine(QPointF(25.5, ey), QPointF(27.5, ey));
        p.drawLine(QPointF(13.5, ey - 1), QPointF(9, ey - 2));
        p.drawLine(QPointF(39.5, ey - 1), QPointF(44, ey - 2));
        break;
      case 2:  // square glasses
        p.setPen(Outline(QColor(0x20, 0x30, 0x60), 1.5));
        p.drawRect(QRectF(13, ey - 4.5, 12, 9));
        p.drawRect(QRectF(28, ey - 4.5, 12, 9));
        p.drawLine(QPointF(25, ey - 1), QPointF(28, ey - 1));
        break;
      case 3: {  // sunglasses
        p.setPen(Outline(kInk, 1.2));
        p.setBrush(QColor(0x30, 0x30, 0x38));
        QPainterPath lenses;
        lenses.addRoundedRect(QRectF(12, ey - 4, 13, 9), 4, 4);
        lenses.addRoundedRect(QRectF(28, ey - 4, 13, 9), 4, 4);
        p.drawPath(lenses);
        p.drawLine(QPointF(25, ey - 2), QPointF(28, ey - 2));
        break;
      }
      case 4: {  // cap
        p.setPen(Outline(QColor(0x10, 0x30, 0x70), 1.0));
        p.setBrush(QColor(0x30, 0x60, 0xC0));
        p.drawChord(QRectF(8, 3, 37, 30), 0, 180 * 16);
        p.drawRoundedRect(QRectF(26, 15, 24, 4), 2, 2);
        Dot(p, kHeadCx, 4, 1.8, QColor(0x10, 0x30, 0x70));
        break;
      }
      case 5:  // beanie
        p.setPen(Outline(QColor(0x70, 0x10, 0x10), 1.0));
        p.setBrush(QColor(0xC0, 0x30, 0x30));
        p.drawChord(QRectF(8, 2, 37, 32), 0, 180 * 16);
        p.drawRect(QRectF(7, 15, 39, 6));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(kHeadCx, 2.5), 3, 2.5);
        break;
      case 6: {  // bow
        const QColor pink(0xE0, 0x50, 0x90);
        p.setPen(Outline(pink.darker(140), 1.0));
        p.setBrush(pink);
        QPolygonF left, right;
        left << QPointF(36, 10) << QPointF(29, 4) << QPointF(29, 16);
        right << QPointF(36, 10) << QPointF(43, 4) << QPointF(43, 16);
        p.drawPolygon(left);
        p.drawPolygon(right);
        p.drawEllipse(QPointF(36, 10), 2.2, 2.2);
        break;
      }
      case 7:  // headband
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD0, 0x30, 0x30));
        p.drawRoundedRect(QRectF(9, 14, 35, 4), 2, 2);
        break;
      case 8: {  // crown
        QPolygonF crown;
        crown << QPointF(14, 14) << QPointF(14, 4) << QPointF(20, 9) << QPointF(kHeadCx, 1)
              << QPointF(33, 9) << QPointF(39, 4) << QPointF(39, 14);
        p.setPen(Outline(kGold.darker(140), 1.0));
        p.setBrush(kGold);
        p.drawPolygon(crown);
        Dot(p, kHeadCx, 10, 1.6, QColor(0xC0, 0x20, 0x30));
        break;
      }
      case 9:  // earrings
        Dot(p, 8.5, 38.5, 2.0, kGold);
        Dot(p, 44.5, 38.5, 2.0, kGold);
        break;
      case 10: {  // flower clip
        const QColor petal(0xF0, 0x70, 0x20);
        for (int i = 0; i < 5; ++i) {
          const double angle = i * 2 * M_PI / 5;
          Dot(p, 14 + 3.5 * std::cos(angle), 13 + 3.5 * std::sin(angle), 2.6, petal);
        }
        Dot(p, 14, 13, 2.0, QColor(0xE0, 0xC0, 0x20));
        break;
      }
      case 11:  // headphones
        p.setPen(Outline(QColor(0x30, 0x30, 0x30), 2.5));
        p.drawArc(QRectF(6, 5, 41, 44), 20 * 16, 140 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x40, 0x40, 0x40));
        p.drawRoundedRect(QRectF(3, 24, 7, 13), 3, 3);
        p.drawRoundedRect(QRectF(43, 24, 7, 13), 3, 3);
        break;
      case 12: {  // moustache
        QPainterPath path;
        path.moveTo(kHeadCx, 41);
        path.cubicTo(22, 38, 17, 40, 17, 44);
        path.cubicTo(21, 43, 24, 43, kHeadCx, 43);
        path.cubicTo(29, 43, 32, 43, 36, 44);
        path.cubicTo(36, 40, 31, 38, kHeadCx, 41);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3A, 0x26, 0x18));
        p.drawPath(path);
        break;
      }
      case 13: {  // beard
        QPainterPath path;
        path.moveTo(10, 36);
        path.cubicTo(12, 54, 41, 54, 43, 36);
        path.cubicTo(40, 46, 33, 44, kHeadCx, 44);
        path.cubicTo(20, 44, 13, 46, 10, 36);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x5A, 0x3A, 0x20));
        p.drawPath(path);
        break;
      }
      case 14: {  // party hat
        QPolygonF hat;
        hat << QPointF(17, 15) << QPointF(kHeadCx + 3, 0) << QPointF(36, 15);
        p.setPen(Outline(QColor(0x20, 0x60, 0x30), 1.0));
        p.setBrush(QColor(0x40, 0xB0, 0x60));
        p.drawPolygon(hat);
        Dot(p, kHeadCx + 3, 1.5, 2.0, QColor(0xE0, 0x40, 0x40));
        break;
      }
      case 15:  // top hat
        p.setPen(Outline(kInk, 1.0));
        p.setBrush(QColor(0x28, 0x28, 0x30));
        p.drawRect(QRectF(16, 0, 21, 14));
        p.drawRoundedRect(QRectF(9, 13, 35, 4), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xA0, 0x20, 0x30));
        p.drawRect(QRectF(16.5, 10, 20, 3));
        break;
      case 16:  // sticking plaster
        p.save();
        p.translate(37, 41);
        p.rotate(-30);
        p.setPen(Outline(QColor(0xB0, 0x80, 0x50), 0.8));
        p.setBrush(QColor(0xF0, 0xC8, 0x90));
        p.drawRoundedRect(QRectF(-5, -1.8, 10, 3.6), 1.5, 1.5);
        p.restore();
        break;
      default: {  // graduation cap
        QPolygonF board;
        board << QPointF(kHeadCx, 2) << QPointF(48, 9) << QPointF(kHeadCx, 16) << QPointF(5, 9);
        p.setPen(Outline(kInk, 1.0));
        p.setBrush(QColor(0x20, 0x20, 0x28));
        p.drawRect(QRectF(14, 10, 25, 7));
        p.drawPolygon(board);
        p.setPen(Outline(kGold, 1.2));
        p.drawLine(QPointF(kHeadCx, 9), QPointF(44, 12));
        p.drawLine(QPointF(44, 12), QPointF(44, 20));
        break;
      }
    }
  });
}

// ---- Bodies (part 1: 271..287), 53 x 50 ----
QPainterPath Torso() {
  QPainterPath path;
  path.moveTo(3, 50);
  path.lineTo(3, 22);
  path.cubicTo(3, 12, 10, 8, 19, 6);
  path.lineTo(34, 6);
  path.cubicTo(43, 8, 50, 12, 50, 22);
  path.lineTo(50, 50);
  path.closeSubpath();
  return path;
}

QImage Body(int index) {
  struct Clothes {
    QColor colour;
    int style;  // 0 plain, 1 stripes, 2 suit, 3 hoodie, 4 dress, 5 sailor, 6 v-neck,
                // 7 overalls, 8 jersey, 9 dots, 10 tank, 11 jacket, 12 turtleneck
  };
  static const std::array<Clothes, 17> kClothes = {{
      {QColor(0xFF, 0xFF, 0xFF), 0},
      {QColor(0xE0, 0x50, 0x50), 0},
      {QColor(0x50, 0x80, 0xD0), 0},
      {QColor(0x60, 0xB0, 0x60), 0},
      {QColor(0xF0, 0xD0, 0x50), 0},
      {QColor(0xFF, 0xFF, 0xFF), 1},
      {QColor(0x50, 0x50, 0x58), 2},
      {QColor(0x90, 0x60, 0xC0), 3},
      {QColor(0xF0, 0x90, 0xB0), 4},
      {QColor(0xFF, 0xFF, 0xFF), 5},
      {QColor(0xF0, 0x90, 0x40), 6},
      {QColor(0xFF, 0xFF, 0xFF), 7},
      {QColor(0x40, 0xA0, 0x70), 8},
      {QColor(0x90, 0xC8, 0xF0), 9},
      {QColor(0x30, 0x30, 0x30), 10},
      {QColor(0x8A, 0x5A, 0x30), 11},
      {QColor(0x30, 0x90, 0x90), 12},
  }};
  const Clothes& clothes = kClothes[static_cast<std::size_t>(index)];
  return Paint(53, 50, [&](QPainter& p) {
    const QPen edge = Outline(
        clothes.colour == Qt::white ? QColor(0x80, 0x80, 0x80) : clothes.colour.darker(160), 1.2);
    p.setPen(edge);
    p.setBrush(clothes.colour);
    p.drawPath(Torso());
    p.setClipPath(Torso());
    const QColor navy(0x20, 0x30, 0x60);
    switch (clothes.style) {
      case 1:
        p.setPen(Qt::NoPen);
        p.setBrush(navy);
        for (double y = 12; y < 50; y += 7) {
          p.drawRect(QRectF(0, y, 53, 3));
        }
        break;
      case 2: {
        QPolygonF shirt;
        shirt << QPointF(19, 6) << QPointF(kHeadCx, 30) << QPointF(34, 6);
        p.setBrush(Qt::white);
        p.drawPolygon(shirt);
        p.setPen(Outline(QColor(0x20, 0x20, 0x24), 1.0));
        p.drawLine(QPointF(19, 6), QPointF(24, 34));
        p.drawLine(QPointF(34, 6), QPointF(29, 34));
        break;
      }
      case 3:
        p.setPen(Outline(clothes.colour.darker(170), 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(13, -4, 27, 18), 180 * 16, 180 * 16);
        p.drawLine(QPointF(22, 13), QPointF(22, 22));
        p.drawLine(QPointF(31, 13), QPointF(31, 22));
        p.drawRoundedRect(QRectF(15, 32, 23, 10), 3, 3);
        break;
      case 4: {
        p.setPen(Outline(clothes.colour.darker(150), 1.0));
        p.setBrush(Qt::white);
        p.drawChord(QRectF(17, 0, 19, 14), 180 * 16, 180 * 16);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(10, 30), QPointF(43, 30));
        break;
      }
      case 5: {
        QPolygonF collar;
        collar << QPointF(8, 10) << QPointF(kHeadCx, 28) << QPointF(45, 10) << QPointF(34, 6)
               << QPointF(kHeadCx, 16) << QPointF(19, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(navy);
        p.drawPolygon(collar);
        p.setBrush(QColor(0xC0, 0x20, 0x30));
        QPolygonF knot;
        knot << QPointF(23, 26) << QPointF(30, 26) << QPointF(kHeadCx, 33);
        p.drawPolygon(knot);
        break;
      }
      case 6: {
        QPolygonF neck;
        neck << QPointF(19, 5) << QPointF(kHeadCx, 20) << QPointF(34, 5);
        p.setPen(Outline(clothes.colour.darker(170), 1.3));
        p.setBrush(Qt::white);
        p.drawPolygon(neck);
        break;
      }
      case 7:
        p.setPen(Outline(QColor(0x20, 0x40, 0x80), 1.0));
        p.setBrush(QColor(0x40, 0x70, 0xC0));
        p.drawRect(QRectF(12, 28, 29, 24));
        p.drawRect(QRectF(13, 6, 4, 24));
        p.drawRect(QRectF(36, 6, 4, 24));
        Dot(p, 15, 28, 1.5, kGold);
        Dot(p, 38, 28, 1.5, kGold);
        break;
      case 8:
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0, 20, 53, 4));
        p.drawRect(QRectF(3, 10, 6, 40));
        p.drawRect(QRectF(44, 10, 6, 40));
        break;
      case 9:
        for (double y = 14; y < 50; y += 8) {
          for (double x = 8 + (static_cast<int>(y) % 16 == 6 ? 4 : 0); x < 50; x += 9) {
            Dot(p, x, y, 1.8, navy);
          }
        }
        break;
      case 10:
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(kHeadCx, 4), 10, 12);
        p.drawRect(QRectF(0, 4, 12, 50));
        p.drawRect(QRectF(41, 4, 12, 50));
        p.setPen(Outline(QColor(0x90, 0x90, 0x90), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(12, 12), QPointF(12, 50));
        p.drawLine(QPointF(41, 12), QPointF(41, 50));
        break;
      case 11:
        p.setPen(Outline(clothes.colour.darker(180), 1.2));
        p.drawLine(QPointF(kHeadCx, 6), QPointF(kHeadCx, 50));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(9, 34, 8, 6));
        p.drawRect(QRectF(36, 34, 8, 6));
        p.setBrush(QColor(0xD0, 0xC0, 0xA0));
        p.drawRoundedRect(QRectF(16, 3, 21, 6), 2, 2);
        break;
      case 12:
        p.setPen(Outline(clothes.colour.darker(160), 1.0));
        p.setBrush(clothes.colour.lighter(115));
        p.drawRoundedRect(QRectF(17, 1, 19, 10), 3, 3);
        for (double x = 20; x < 35; x += 3) {
          p.drawLine(QPointF(x, 2), QPointF(x, 10));
        }
        break;
      default: {  // plain t-shirt: a round neck
        p.setPen(Outline(
            clothes.colour == Qt::white ? QColor(0x80, 0x80, 0x80) : clothes.colour.darker(160),
            1.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(19, -2, 15, 14), 180 * 16, 180 * 16);
        p.drawLine(QPointF(11, 26), QPointF(11, 50));
        p.drawLine(QPointF(42, 26), QPointF(42, 50));
        break;
      }
    }
  });
}

// ---- Things worn on the body (part 2: 290..307), 53 x 50 ----
QImage BodyDecoration(int index) {
  return Paint(53, 50, [&](QPainter& p) {
    const QColor darkRed(0x90, 0x18, 0x20);
    const QColor darkGreen(0x20, 0x60, 0x30);
    switch (index) {
      case 0:
        break;   // nothing
      case 1: {  // necktie
        QPolygonF tie;
        tie << QPointF(24, 7) << QPointF(29, 7) << QPointF(28, 11) << QPointF(31, 32)
            << QPointF(kHeadCx, 37) << QPointF(22, 32) << QPointF(25, 11);
        p.setPen(Outline(darkRed.darker(150), 0.8));
        p.setBrush(darkRed);
        p.drawPolygon(tie);
        break;
      }
      case 2: {  // bow tie
        QPolygonF bow;
        bow << QPointF(kHeadCx, 10) << QPointF(19, 6) << QPointF(19, 14) << QPointF(kHeadCx, 10)
            << QPointF(34, 6) << QPointF(34, 14);
        p.setPen(Outline(kInk, 0.8));
        p.setBrush(QColor(0x20, 0x20, 0x20));
        p.drawPolygon(bow, Qt::WindingFill);
        break;
      }
      case 3:  // buttons
        for (double y = 16; y < 46; y += 9) {
          Dot(p, kHeadCx, y, 1.8, kInk);
        }
        break;
      case 4:
        Heart(p, 37, 20, 4.5, QColor(0xC0, 0x20, 0x30));
        break;
      case 5:
        Star(p, 37, 20, 5.5, QColor(0xB0, 0x80, 0x10));
        break;
      case 6:  // scarf
        p.setPen(Outline(darkGreen.darker(150), 0.8));
        p.setBrush(darkGreen);
        p.drawRoundedRect(QRectF(13, 4, 27, 7), 3, 3);
        p.drawRoundedRect(QRectF(30, 8, 7, 20), 2, 2);
        break;
      case 7:  // necklace
        for (int i = 0; i <= 8; ++i) {
          const double angle = M_PI * (0.15 + 0.7 * i / 8.0);
          Dot(p, kHeadCx + 10 * std::cos(angle), 6 + 11 * std::sin(angle), 1.2, kGold);
        }
        break;
      case 8:  // pocket
        p.setPen(Outline(QColor(0x40, 0x40, 0x50), 1.0));
        p.drawRect(QRectF(33, 18, 9, 9));
        p.drawLine(QPointF(33, 20.5), QPointF(42, 20.5));
        break;
      case 9:  // name tag
        p.setPen(Outline(QColor(0x30, 0x50, 0x90), 1.0));
        p.drawRoundedRect(QRectF(31, 16, 13, 8), 1.5, 1.5);
        p.drawLine(QPointF(33, 21), QPointF(42, 21));
        break;
      case 10:  // medal
        p.setPen(Outline(QColor(0x20, 0x40, 0x90), 2.0));
        p.drawLine(QPointF(20, 6), QPointF(kHeadCx, 24));
        p.drawLine(QPointF(33, 6), QPointF(kHeadCx, 24));
        Dot(p, kHeadCx, 28, 4.5, kGold);
        break;
      case 11:  // braces
        p.setPen(Outline(QColor(0x50, 0x20, 0x20), 2.2));
        p.drawLine(QPointF(16, 7), QPointF(18, 50));
        p.drawLine(QPointF(37, 7), QPointF(35, 50));
        break;
      case 12:  // backpack straps
        p.setPen(Outline(QColor(0x30, 0x30, 0x30), 3.0));
        p.drawLine(QPointF(12, 10), QPointF(14, 40));
        p.drawLine(QPointF(41, 10), QPointF(39, 40));
        break;
      case 13: {  // flower on the chest
        const QColor petal(0xC0, 0x30, 0x80);
        for (int i = 0; i < 5; ++i) {
          const double angle = i * 2 * M_PI / 5;
          Dot(p, 36 + 3 * std::cos(angle), 20 + 3 * std::sin(angle), 2.3, petal);
        }
        Dot(p, 36, 20, 1.6, QColor(0xC0, 0xA0, 0x10));
        break;
      }
      case 14:  // camera on a strap
        p.setPen(Outline(kInk, 1.2));
        p.drawLine(QPointF(18, 6), QPointF(kHeadCx, 28));
        p.drawLine(QPointF(35, 6), QPointF(kHeadCx, 28));
        p.setBrush(QColor(0x30, 0x30, 0x30));
        p.drawRoundedRect(QRectF(19, 27, 15, 10), 2, 2);
        p.setBrush(QColor(0x80, 0x80, 0x90));
        p.drawEllipse(QPointF(kHeadCx, 32), 3, 3);
        break;
      case 15:  // belt
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x40, 0x28, 0x18));
        p.drawRect(QRectF(3, 40, 47, 5));
        p.setPen(Outline(kGold, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(23.5, 39.5, 6, 6));
        break;
      case 16:  // pendant
        p.setPen(Outline(QColor(0x70, 0x70, 0x70), 0.8));
        p.drawLine(QPointF(19, 6), QPointF(kHeadCx, 17));
        p.drawLine(QPointF(34, 6), QPointF(kHeadCx, 17));
        Heart(p, kHeadCx, 19, 2.8, QColor(0xC0, 0x20, 0x30));
        break;
      default: {  // lightning badge
        QPolygonF bolt;
        bolt << QPointF(29, 12) << QPointF(22, 26) << QPointF(27, 26) << QPointF(24, 38)
             << QPointF(32, 22) << QPointF(27, 22) << QPointF(31, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD0, 0xA0, 0x10));
        p.drawPolygon(bolt);
        break;
      }
    }
  });
}

}  // namespace

QImage AvatarArtPicture(int number) {
  if (number == kAvatarFrame.picture) {
    return Frame();
  }
  for (const AvatarPartLayout& layout : kAvatarPartLayouts) {
    const int value = number - layout.base;
    if (value < 0 || value > layout.count) {
      continue;
    }
    switch (layout.part) {
      case 1:
        return Body(value);
      case 2:
        return BodyDecoration(value);
      case 3:
        return Face(value);
      case 4:
        return Eyes(value);
      case 5:
        return Mouth(value);
      case 6:
        return Hair(value);
      default:
        return Accessory(value);
    }
  }
  return {};
}

void AndCompose(QImage& target, const QImage& picture, QPoint at) {
  if (picture.isNull()) {
    return;
  }
  target = target.convertToFormat(QImage::Format_RGB32);
  const QImage source = picture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y) {
    const int ty = at.y() + y;
    if (ty < 0 || ty >= target.height()) {
      continue;
    }
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(target.scanLine(ty));
    for (int x = 0; x < source.width(); ++x) {
      const int tx = at.x() + x;
      if (tx >= 0 && tx < target.width()) {
        out[tx] = (out[tx] & in[x]) | 0xFF000000u;
      }
    }
  }
}

QImage ComposeAvatar(const AvatarParts& parts) {
  QImage avatar = AvatarArtPicture(kAvatarFrame.picture);
  for (const AvatarPartLayout& layout : kAvatarPartLayouts) {
    const int picture =
        AvatarPicture(layout.part, parts[static_cast<std::size_t>(layout.part - 1)]);
    if (picture == 0) {
      continue;
    }
    AndCompose(
        avatar, AvatarArtPicture(picture),
        QPoint(layout.windowX - kAvatarFrame.windowX, layout.windowY - kAvatarFrame.windowY));
  }
  return avatar;
}

}  // namespace linkora
