#pragma once
#include <QStringList>

#include "canvas/lines.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "canvas/poster.h"
#include "steps/wizard.h"

namespace pastel::bench {

// The poster a child makes for the printing benchmarks, through the
// handlers: strokes, the ten photos of `folder` (`names`) and ten words,
// ending in step 4.
inline void makeChildsPoster(Poster& p, const QString& folder, const QStringList& names) {
  // Step 1: a paper colour and zigzag strokes along its foot, below the
  // photos.
  p.form.paper.setBackColor(rgb(0xff, 0xf0, 0xc8));
  p.form.command13.backColor = rgb(0x30, 0x60, 0xe0);
  setBrushSize(p, 6);
  for (int s = 0; s < 3; ++s) {
    penPress(p, p.form.paper, 600, 6700.0f + 250 * s);
    for (int x = 600; x < 10000; x += 60)
      penMove(p, p.form.paper, float(x), 6700.0f + 250 * s + 200 * float((x / 600) % 2));
    penRelease(p);
  }
  nextFrom1(p);
  // Step 2: each photo picked from the strip and dragged onto the paper.
  p.pictureFolderPath = folder + "/";
  loadPictureStrip(p, names);
  for (int k = 0; k < 10; ++k) {
    floatPhotoSlot(p, k, 0, 0);
    pressPhoto(p, k);
    Element& e = p.form.image3[size_t(k)];
    movePhoto(p, k, true, 300.0f + 1700 * float(k % 5) - e.left,
              3000.0f + 3300 * float(k / 5) - e.top);
    releasePhoto(p, k);
  }
  nextFrom2(p);
  // Step 3: ten words laid over and between the photos.
  static const char* words[] = {"なつやすみ", "うみ",     "すいか", "はなび", "かぶとむし",
                                "プール",     "あさがお", "そら",   "くも",   "たのしい"};
  for (int i = 0; i < 10; ++i) {
    Element& w = p.form.text1[size_t(i)];
    w.caption = QString::fromUtf8(words[i]);
    w.left = 500 + float(i % 5) * 1800;
    w.top = 5700 + float(i / 5) * 3200;
    w.foreColor = i % 2 ? rgb(0xc0, 0, 0) : rgb(0, 0, 0x80);
  }
  nextFrom3(p);
}

}  // namespace pastel::bench
