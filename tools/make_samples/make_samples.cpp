// Draws the sample pictures children find in the picture folder: one file
// of every kind the program reads.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

#include "picture_writers.h"

using namespace pastel::test;

namespace {

// Few flat colours, so the palette files stay exact.
const QVector<QRgb> kColours = {
    qRgb(255, 255, 255), qRgb(0, 0, 0),       qRgb(255, 210, 0), qRgb(255, 120, 0),
    qRgb(230, 40, 40),   qRgb(255, 150, 200), qRgb(60, 170, 60), qRgb(20, 110, 30),
    qRgb(120, 200, 255), qRgb(30, 80, 200),   qRgb(150, 90, 40), qRgb(200, 200, 200),
    qRgb(160, 60, 200),  qRgb(255, 240, 180), qRgb(90, 90, 90),  qRgb(250, 250, 120)};
enum {
  White,
  Black,
  Yellow,
  Orange,
  Red,
  Pink,
  Green,
  DarkGreen,
  Sky,
  Blue,
  Brown,
  Grey,
  Purple,
  Cream,
  DarkGrey,
  Lemon
};

QColor c(int i) { return QColor(kColours[i]); }

QImage canvas(int w, int h, int ground) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c(ground));
  return img;
}

void shape(QPainter& p, int fill, int line = Black, int width = 3) {
  p.setBrush(c(fill));
  p.setPen(QPen(c(line), width));
}

QImage sun() {
  QImage img = canvas(240, 180, Sky);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(120, 90);
  shape(p, Orange, Orange);
  for (int i = 0; i < 12; ++i) {
    p.drawPolygon(QPolygonF({QPointF(-8, -55), QPointF(8, -55), QPointF(0, -85)}));
    p.rotate(30);
  }
  shape(p, Yellow, Orange);
  p.drawEllipse(QPointF(0, 0), 50, 50);
  shape(p, Black, Black, 1);
  p.drawEllipse(QPointF(-17, -10), 6, 8);
  p.drawEllipse(QPointF(17, -10), 6, 8);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c(Red), 5, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(-25, -15, 50, 45), 200 * 16, 140 * 16);
  return img;
}

QImage flower() {
  QImage img = canvas(200, 260, Cream);
  QPainter p(&img);
  shape(p, Green, DarkGreen);
  p.drawRect(95, 120, 10, 130);
  p.drawEllipse(QRectF(105, 170, 50, 22));
  p.drawEllipse(QRectF(45, 150, 50, 22));
  shape(p, Pink, Red);
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3;
    p.drawEllipse(QPointF(100 + 38 * std::cos(a), 90 + 38 * std::sin(a)), 26, 26);
  }
  shape(p, Yellow, Orange);
  p.drawEllipse(QPointF(100, 90), 24, 24);
  return img;
}

QImage fish() {
  QImage img = canvas(260, 160, Sky);
  QPainter p(&img);
  shape(p, Blue, Blue);
  for (int x = 20; x < 260; x += 60) p.drawEllipse(QPointF(x, 150), 40, 14);
  shape(p, Orange, Red);
  p.drawPolygon(QPolygon({QPoint(190, 80), QPoint(245, 40), QPoint(245, 120)}));
  p.drawEllipse(QRect(40, 35, 170, 90));
  shape(p, White, Black, 2);
  p.drawEllipse(QPoint(80, 70), 12, 12);
  shape(p, Black, Black, 1);
  p.drawEllipse(QPoint(83, 70), 5, 5);
  shape(p, Yellow, Red, 2);
  p.drawEllipse(QRect(120, 50, 30, 60));
  return img;
}

QImage car() {
  QImage img = canvas(280, 160, White);
  QPainter p(&img);
  shape(p, Grey, DarkGrey);
  p.drawRect(0, 130, 280, 30);
  shape(p, Red, Black);
  p.drawRect(30, 70, 220, 50);
  p.drawPolygon(QPolygon({QPoint(75, 70), QPoint(100, 30), QPoint(190, 30), QPoint(215, 70)}));
  shape(p, Sky, Black, 2);
  p.drawPolygon(QPolygon({QPoint(90, 66), QPoint(106, 38), QPoint(140, 38), QPoint(140, 66)}));
  p.drawPolygon(QPolygon({QPoint(150, 66), QPoint(150, 38), QPoint(184, 38), QPoint(202, 66)}));
  shape(p, Black, Black);
  p.drawEllipse(QPoint(80, 122), 22, 22);
  p.drawEllipse(QPoint(200, 122), 22, 22);
  shape(p, Grey, Grey);
  p.drawEllipse(QPoint(80, 122), 8, 8);
  p.drawEllipse(QPoint(200, 122), 8, 8);
  shape(p, Yellow, Orange, 1);
  p.drawEllipse(QPoint(242, 86), 7, 7);
  return img;
}

QImage house() {
  QImage img = canvas(240, 220, Sky);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  shape(p, Green, Green);
  p.drawRect(0, 190, 240, 30);
  shape(p, Cream, Brown);
  p.drawRect(50, 100, 140, 95);
  shape(p, Red, Brown);
  p.drawPolygon(QPolygon({QPoint(35, 105), QPoint(120, 35), QPoint(205, 105)}));
  shape(p, Brown, Black);
  p.drawRect(105, 140, 30, 55);
  shape(p, Lemon, Brown);
  p.drawRect(62, 118, 30, 28);
  p.drawRect(148, 118, 30, 28);
  return img;
}

QImage tree() {
  QImage img = canvas(320, 240, Sky);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  shape(p, Green, Green);
  p.drawRect(0, 200, 320, 40);
  shape(p, Brown, Brown);
  p.drawRect(145, 120, 30, 90);
  shape(p, DarkGreen, DarkGreen);
  p.drawEllipse(QPointF(160, 95), 80, 65);
  shape(p, Red, Red, 1);
  for (QPointF a : {QPointF(125, 80), QPointF(180, 70), QPointF(150, 120), QPointF(200, 110)})
    p.drawEllipse(a, 9, 9);
  shape(p, White, White, 1);
  p.drawEllipse(QPointF(50, 40), 30, 14);
  p.drawEllipse(QPointF(75, 35), 22, 14);
  return img;
}

QImage balloons() {
  QImage img = canvas(240, 300, Cream);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const int colours[] = {Red, Blue, Yellow, Purple, Green};
  for (int i = 0; i < 5; ++i) {
    const QPointF at(50 + i * 35, 70 + (i % 2) * 40);
    p.setPen(QPen(c(DarkGrey), 2));
    p.drawLine(at + QPointF(0, 40), QPointF(120, 280));
    shape(p, colours[i], colours[i], 1);
    p.drawEllipse(at, 30, 40);
  }
  return img;
}

QImage star() {
  QImage img = canvas(200, 200, Blue);
  QPainter p(&img);
  shape(p, Yellow, Orange);
  QPolygonF s;
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? 35 : 85;
    s << QPointF(100 + r * std::cos(a), 105 + r * std::sin(a));
  }
  p.drawPolygon(s);
  return img;
}

QImage palette(const QImage& img) {
  return img.convertToFormat(QImage::Format_Indexed8, kColours, Qt::ThresholdDither);
}

QByteArray encoded(const QImage& img, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, format, quality);
  return bytes;
}

// libwmf's gd device draws ellipses unfilled: circles go as polygons.
QVector<QPoint> circle(int cx, int cy, int r, double from = 0, double to = 2 * M_PI) {
  QVector<QPoint> pts;
  for (int i = 0; i <= 48; ++i) {
    const double a = from + (to - from) * i / 48;
    pts << QPoint(cx + int(std::lround(r * std::cos(a))), cy - int(std::lround(r * std::sin(a))));
  }
  return pts;
}

QByteArray rainbowWmf() {
  // 3 x 2 inches at 1440 units per inch.
  WmfWriter w(4320, 2880, 1440);
  w.pen(kColours[Sky], 1);
  w.brush(kColours[Sky]);
  w.rectangle(0, 0, 4320, 2880);
  const int bands[] = {Red, Orange, Yellow, Green, Blue, Purple, Sky};
  for (int i = 0; i < 7; ++i) {
    const int r = 1900 - i * 180;
    w.pen(kColours[bands[i]], 1);
    w.brush(kColours[bands[i]]);
    w.polygon(circle(2160, 2600, r, 0, M_PI));
  }
  w.pen(kColours[Green], 1);
  w.brush(kColours[Green]);
  w.rectangle(0, 2500, 4320, 2880);
  return w.finish();
}

QByteArray boatWmf() {
  WmfWriter w(2880, 2160, 1440);
  w.pen(kColours[Sky], 1);
  w.brush(kColours[Sky]);
  w.rectangle(0, 0, 2880, 2160);
  w.pen(kColours[Blue], 1);
  w.brush(kColours[Blue]);
  w.rectangle(0, 1600, 2880, 2160);
  w.pen(kColours[Black], 20);
  w.brush(kColours[Brown]);
  w.polygon({QPoint(500, 1450), QPoint(2380, 1450), QPoint(2050, 1800), QPoint(830, 1800)});
  w.brush(kColours[White]);
  w.polygon({QPoint(1440, 300), QPoint(1440, 1350), QPoint(700, 1350)});
  w.brush(kColours[Red]);
  w.polygon({QPoint(1500, 500), QPoint(1500, 1350), QPoint(2100, 1350)});
  w.brush(kColours[Yellow]);
  w.polygon(circle(2500, 350, 200));
  return w.finish();
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_samples FOLDER\n");
    return 2;
  }
  QDir out(QString::fromLocal8Bit(argv[1]));
  out.mkpath(".");
  const QList<QPair<QString, QByteArray>> files = {
      {"taiyou.bmp", encoded(sun(), "BMP")},
      {"ohana.BMP", bmp8File(palette(flower()))},
      {"sakana.rle", rleBmpFile(palette(fish()), false)},
      {"kuruma.bmp", rleBmpFile(palette(car()), true)},
      {"ouchi.dib", encoded(house(), "BMP")},
      {"ki.jpg", encoded(tree(), "JPEG", 85)},
      {"fuusen.JPG", encoded(balloons(), "JPEG", 85)},
      {"hoshi.gif", gifFile(palette(star()))},
      {"niji.wmf", rainbowWmf()},
      {"fune.WMF", boatWmf()},
  };
  for (const auto& [name, bytes] : files) {
    QFile f(out.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
      return 1;
    }
  }
  return 0;
}
