#include "app/Pictures.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>
#include <QtMath>
#include <array>

namespace veltra::app::pictures {

namespace {

const QColor Field(0x24, 0x40, 0x5f);
const QColor BodyTop(0xff, 0xc8, 0x2e);
const QColor BodyBottom(0xf0, 0x9e, 0x00);
const QColor Stripe(0xc8, 0x10, 0x2e);
const QColor Glass(0xcf, 0xe6, 0xf5);
const QColor GlassShade(0x8f, 0xb8, 0xd6);
const QColor Tyre(0x1e, 0x1e, 0x1e);
const QColor Hub(0xb0, 0xb6, 0xbc);
const QColor LitSegment(0x39, 0xe7, 0x5f);
const QColor DarkSegment(0x14, 0x30, 0x1c);

QFont sansFont(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// Drawn for the screen's pixels, not scaled up afterwards: at 150% a picture
// of the logical size would be blurred. The painters draw in logical units,
// which the image's pixel ratio turns into device pixels.
QImage blankImage(int width, int height, const QColor& fill) {
  const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  QImage image(qCeil(width * ratio), qCeil(height * ratio), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(fill);
  return image;
}

// A bus seen from its side, facing right, standing on y = bottom.
void drawBusSide(QPainter& painter, const QRectF& body) {
  QPainterPath bodyPath;
  bodyPath.addRoundedRect(body, 18, 18);
  QLinearGradient paint(body.topLeft(), body.bottomLeft());
  paint.setColorAt(0, BodyTop);
  paint.setColorAt(1, BodyBottom);
  painter.fillPath(bodyPath, paint);

  painter.save();
  painter.setClipPath(bodyPath);
  painter.fillRect(QRectF(body.left(), body.bottom() - 30, body.width(), 9), Stripe);
  const std::array<double, 2> wheelX = {body.left() + 68, body.right() - 78};
  for (double x : wheelX) {
    painter.setBrush(QColor(0x2a, 0x2a, 0x2a));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(x, body.bottom()), 32, 32);
  }
  painter.restore();

  QLinearGradient glass(0, body.top() + 16, 0, body.top() + 58);
  glass.setColorAt(0, Glass);
  glass.setColorAt(1, GlassShade);
  painter.setPen(Qt::NoPen);
  painter.setBrush(glass);
  for (int i = 0; i < 6; ++i)
    painter.drawRoundedRect(QRectF(body.left() + 22 + i * 48, body.top() + 16, 40, 42), 5, 5);
  // The door, glazed almost to the floor, and the raked windscreen.
  painter.drawRoundedRect(QRectF(body.right() - 58, body.top() + 16, 26, 64), 4, 4);
  painter.drawPolygon(QPolygonF(
      {QPointF(body.right() - 26, body.top() + 16), QPointF(body.right() - 8, body.top() + 16),
       QPointF(body.right() - 2, body.top() + 62), QPointF(body.right() - 26, body.top() + 62)}));

  painter.setBrush(QColor(0xff, 0xf6, 0xc8));
  painter.drawRoundedRect(QRectF(body.right() - 9, body.bottom() - 22, 7, 10), 2, 2);
  painter.setBrush(QColor(0xe0, 0x30, 0x30));
  painter.drawRoundedRect(QRectF(body.left() + 2, body.bottom() - 22, 6, 10), 2, 2);

  for (double x : wheelX) {
    painter.setBrush(Tyre);
    painter.drawEllipse(QPointF(x, body.bottom()), 26, 26);
    painter.setBrush(Hub);
    painter.drawEllipse(QPointF(x, body.bottom()), 11, 11);
  }
}

QImage drawBackground() {
  QImage image = blankImage(600, 380, Field);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  // The halo fades into the field well inside the edges, so the picture's
  // border is the field colour and the picture melts into the window.
  QRadialGradient halo(QPointF(300, 190), 290);
  halo.setColorAt(0, QColor(0x3c, 0x68, 0x93));
  halo.setColorAt(1, Field);
  QBrush haloBrush(halo);
  // Squeezed to an ellipse that ends inside the picture on every side.
  haloBrush.setTransform(
      QTransform().translate(300, 190).scale(1, 180.0 / 290).translate(-300, -190));
  painter.fillRect(image.rect(), haloBrush);

  painter.setPen(Qt::white);
  painter.setFont(sansFont(60, true));
  painter.drawText(QRectF(0, 28, 600, 80), Qt::AlignCenter, QStringLiteral("VELTRA"));

  drawBusSide(painter, QRectF(110, 148, 380, 114));
  painter.fillRect(QRectF(60, 289, 480, 3), QColor(0x8f, 0xa6, 0xbd));
  for (int x = 80; x < 520; x += 40)
    painter.fillRect(QRectF(x, 300, 20, 2), QColor(0x6f, 0x88, 0xa2));

  painter.setPen(QColor(0xdc, 0xe6, 0xf0));
  painter.setFont(sansFont(19, false));
  painter.drawText(QRectF(0, 318, 600, 34), Qt::AlignCenter,
                   QStringLiteral("Rilevazione Parco Bus - Regione Ombrena"));
  return image;
}

// Seven-segment digits: a to g clockwise from the top, g in the middle.
constexpr int DigitWidth = 32;
constexpr int DigitHeight = 52;
constexpr int SegmentThickness = 6;
constexpr std::array<unsigned, 10> SegmentsOf = {0x3f, 0x06, 0x5b, 0x4f, 0x66,
                                                 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

QPolygonF horizontalSegment(double left, double right, double y) {
  const double h = SegmentThickness / 2.0;
  return QPolygonF({QPointF(left, y), QPointF(left + h, y - h), QPointF(right - h, y - h),
                    QPointF(right, y), QPointF(right - h, y + h), QPointF(left + h, y + h)});
}

QPolygonF verticalSegment(double x, double top, double bottom) {
  const double h = SegmentThickness / 2.0;
  return QPolygonF({QPointF(x, top), QPointF(x + h, top + h), QPointF(x + h, bottom - h),
                    QPointF(x, bottom), QPointF(x - h, bottom - h), QPointF(x - h, top + h)});
}

QImage drawDigit(int d) {
  QImage image = blankImage(DigitWidth, DigitHeight, Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const double left = 7, right = DigitWidth - 7, top = 7, middle = DigitHeight / 2.0,
               bottom = DigitHeight - 7, gap = 1.5;
  const std::array<QPolygonF, 7> segments = {
      horizontalSegment(left + gap, right - gap, top),
      verticalSegment(right, top + gap, middle - gap),
      verticalSegment(right, middle + gap, bottom - gap),
      horizontalSegment(left + gap, right - gap, bottom),
      verticalSegment(left, middle + gap, bottom - gap),
      verticalSegment(left, top + gap, middle - gap),
      horizontalSegment(left + gap, right - gap, middle),
  };
  for (size_t s = 0; s < segments.size(); ++s) {
    painter.setBrush((SegmentsOf[d] >> s) & 1u ? LitSegment : DarkSegment);
    painter.drawPolygon(segments[s]);
  }
  return image;
}

QImage drawSeparator() {
  QImage image = blankImage(14, DigitHeight, Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(LitSegment);
  painter.drawEllipse(QPointF(7, DigitHeight * 0.34), 3.5, 3.5);
  painter.drawEllipse(QPointF(7, DigitHeight * 0.66), 3.5, 3.5);
  return image;
}

// The front of a bus on the field colour, drawn on a 64-unit square.
QImage drawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Field);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
  painter.setBrush(Tyre);
  painter.drawRoundedRect(QRectF(15, 46, 9, 9), 2, 2);
  painter.drawRoundedRect(QRectF(40, 46, 9, 9), 2, 2);
  painter.setBrush(BodyTop);
  painter.drawRoundedRect(QRectF(12, 10, 40, 40), 7, 7);
  painter.setBrush(Glass);
  painter.drawRoundedRect(QRectF(16, 17, 32, 16), 3, 3);
  painter.setBrush(Stripe);
  painter.drawRect(QRectF(12, 36, 40, 3));
  painter.setBrush(QColor(0xff, 0xf6, 0xc8));
  painter.drawEllipse(QPointF(19, 44), 3, 3);
  painter.drawEllipse(QPointF(45, 44), 3, 3);
  return image;
}

}  // namespace

QIcon applicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(drawIcon(size)));
  return icon;
}

const QImage& background() {
  static const QImage image = drawBackground();
  return image;
}

const QImage& digit(int d) {
  static const std::array<QImage, 10> images = [] {
    std::array<QImage, 10> all;
    for (int i = 0; i < 10; ++i) all[i] = drawDigit(i);
    return all;
  }();
  return images.at(static_cast<size_t>(d));
}

const QImage& separator() {
  static const QImage image = drawSeparator();
  return image;
}

}  // namespace veltra::app::pictures
