#pragma once
#include <QPainter>

#include "canvas/poster.h"
#include "steps/wizard.h"

namespace pastel::test {

// A photo-like picture: colour gradients and fine stripes, decoded size
// 1400 x 1000 as the strip loads placed photos.
inline PictureRef samplePhoto(int seed) {
  QImage img(1400, 1000, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient g(0, 0, 1400, 1000);
  g.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 160, 230));
  g.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 200, 120));
  p.fillRect(img.rect(), g);
  p.setPen(QPen(Qt::white, 6));
  for (int x = 0; x < 1400; x += 40) p.drawLine(x, 0, x + 300, 1000);
  p.end();
  auto pic = std::make_shared<Picture>();
  pic->image = img;
  pic->widthHiMetric = 1400 * 2540 / 96;
  pic->heightHiMetric = 1000 * 2540 / 96;
  return pic;
}

// Step 4 of a finished poster: a coloured paper, ten photos and ten words
// on it.
inline void makeSamplePoster(Poster& p) {
  p.form.paper.setBackColor(rgb(0xff, 0xff, 0xc0));
  nextFrom1(p);
  nextFrom2(p);
  static const char* words[] = {"なつやすみ", "うみ",     "すいか", "はなび", "かぶとむし",
                                "プール",     "あさがお", "そら",   "くも",   "たのしい"};
  for (int i = 0; i < 10; ++i) {
    Element& e = p.form.image3[size_t(i)];
    e.left = 300 + float(i % 5) * 2000;
    e.top = 2900 + float(i / 5) * 2000;
    e.width = 1785;
    e.height = 1340;
    e.visible = true;
    e.picture = samplePhoto(i);
    p.photoEnlarged[size_t(i)] = 1;
    Element& w = p.form.text1[size_t(i)];
    w.caption = QString::fromUtf8(words[i]);
    w.left = 400 + float(i % 2) * 4500;
    w.top = 7000 + float(i / 2) * 650;
    w.fontSize = 14 + float(i % 3) * 2;
    w.foreColor = i % 2 ? rgb(0xc0, 0, 0) : rgb(0, 0, 0x80);
  }
  nextFrom3(p);
}

}  // namespace pastel::test
